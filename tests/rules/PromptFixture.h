// Rules tests whose prompts read the string table: the private heap that holds its texts, entries added by the
// test, and the target prompt and string tables cleared after each case.
#pragma once

#include "engine/core/PrivateHeap.h"
#include "engine/core/StringTable.h"
#include "gui/GUI_Event.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "rules/TargetPrompt.h"
#include "rules/Targets.h"
#include "tests/rules/RulesFixture.h"

namespace rulestest {

class PromptTest : public RulesTest {
protected:
    void SetUp() override
    {
        CreatePrivateHeap();
        RulesTest::SetUp();
    }

    void TearDown() override
    {
        ClearTargetChoiceState();
        RulesTest::TearDown();
        ClearStringTables();
        DestroyPrivateHeap();
    }

    // The learner presses a button of a message box.
    static void Press(Messagebox* box, int index)
    {
        ASSERT_NE(box, nullptr);
        ASSERT_LT(index, box->GetButtonCount());
        GUI_InputEvent command;
        command.type = GUI_EVENT_COMMAND;
        command.sender = box->GetButton(index);
        box->HandleInput(command);
    }
};

} // namespace rulestest
