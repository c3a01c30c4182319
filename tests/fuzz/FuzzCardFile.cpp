// libFuzzer target over the card file's reader: any bytes run as a card file through the definecard and
// loadcard commands must never read outside a buffer, and every record stored must be that of its own card.
#include "cards/Card.h"
#include "cards/CardCommands.h"
#include "cards/CardDatabase.h"
#include "engine/core/LanguageManager.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The runner's own loop, restricted to the two card commands so that no other command loads files or spawns
// actors from random input.
void RunCardCommands(const char16_t* text)
{
    ScriptSetCursor(text);
    for (std::u16string token = ScriptNextToken(); !token.empty(); token = ScriptNextToken()) {
        if (token == u"definecard")
            Parse_DefineCard();
        else if (token == u"loadcard")
            Parse_LoadCard();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    plat::Init(plat::BackendKind::Headless);
    // Quiet: bad names and unknown identifiers are reported to the log.
    plat::SetLogSink([](std::string_view) {});
    GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
    BuildCardVocabulary();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // As the card file's loader decodes it: whole little-endian units, terminated, the mark skipped.
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    const std::size_t start = (!text.empty() && text.front() == 0xFEFF) ? 1 : 0;
    RunCardCommands(text.c_str() + start);

    for (int id = 0; id < CD_NUMBER_OF_CARD_DEFS; ++id) {
        const int stored = g_CardDefs[id].GetId();
        if (stored != 0 && stored != id)
            std::abort();
        g_CardDefs[id] = CARD();
    }
    return 0;
}
