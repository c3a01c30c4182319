// A fixture for tests that fill the card table: English, the script commands, an empty table before and after,
// and the debugger output captured in Log().
#pragma once

#include "cards/Card.h"
#include "cards/CardDatabase.h"
#include "cards/TableScene.h"
#include "engine/core/LanguageManager.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <string>

namespace cardtest {

inline std::string& Log()
{
    static std::string s_log;
    return s_log;
}

inline void CaptureLog(std::string_view text)
{
    Log() += text;
}

class CardTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
        InitScriptCommands();
        BuildCardVocabulary();
        for (CARD& card : g_CardDefs)
            card = CARD();
        ReleaseCardOverlays();
        Log().clear();
        m_PreviousSink = plat::SetLogSink(&CaptureLog);
    }

    void TearDown() override
    {
        plat::SetLogSink(m_PreviousSink);
        // The overlays that loadcard made point into the definitions and the texts emptied here.
        ReleaseCardOverlays();
        for (CARD& card : g_CardDefs)
            card = CARD();
        DeleteLanguageManager();
    }

    plat::LogSink m_PreviousSink = nullptr;
};

} // namespace cardtest
