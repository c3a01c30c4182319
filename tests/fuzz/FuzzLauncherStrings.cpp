// libFuzzer target over the launcher's string-table reader: any file reads without fault, and every text
// looked up, with the prompt filled, is whole.
#include "launcher/LauncherStringTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LauncherStringTable table;
    table.LoadFromBytes(data, size);
    [[maybe_unused]] static volatile std::size_t s_sink;
    for (const int code : {1, 2, 3, 8, 9, 11}) {
        for (const char16_t* key : {u"STR_INSTALL_PROMPT", u"str_english", u"", u"K"}) {
            const std::u16string text = LauncherText(table, code, key);
            s_sink = FillPrompt(text, text).size();
        }
    }
    return 0;
}
