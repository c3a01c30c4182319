#include "cards/CardDatabase.h"

#include "cards/CardEnums.h"
#include "cards/CardIds.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char16_t BYTE_ORDER_MARK = 0xFEFF;
constexpr std::u16string_view DEFINE_CARD_WORD = u"definecard";

// The text of a UTF-16LE file as whole units. The file's size decides nothing about how far the runner reads:
// an odd last byte is dropped and the copy is terminated.
std::u16string UnitsOf(const std::uint8_t* bytes, std::size_t size)
{
    std::u16string text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text;
}

} // namespace

void BuildCardVocabulary()
{
    BuildCardNameMap();
    BuildCardEnumMaps();
}

void LoadCardDatabase()
{
    BuildCardVocabulary();
    LoadCardFile();
}

bool CardFileHasEntries(std::u16string_view path)
{
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(path, bytes))
        return false;
    const std::u16string text = UnitsOf(bytes.data(), bytes.size());
    const std::size_t start = (!text.empty() && text.front() == BYTE_ORDER_MARK) ? 1 : 0;
    ScriptSetCursor(text.c_str() + start);
    bool found = false;
    for (std::u16string token = ScriptNextToken(); !token.empty() && !found; token = ScriptNextToken())
        found = token == DEFINE_CARD_WORD;
    ScriptSetCursor(nullptr);
    return found;
}

bool LoadCardFile()
{
    const LanguageManager& language = *GetLanguageManager();
    const std::u16string imageFolder = language.GetLocalizedPath(CARD_IMAGE_FOLDER);
    if (!imageFolder.empty())
        plat::MakeDirectories(imageFolder);

    const std::u16string path = language.GetLocalizedPath(CARD_FILE_NAME);
    if (path.empty())
        return false;
    std::size_t size = 0;
    void* const data = ReadWholeFile(path, true, &size);
    if (data == nullptr)
        return false;
    std::u16string text = UnitsOf(static_cast<const std::uint8_t*>(data), size);
    std::free(data);

    // The mark is skipped only when it is there, so a file saved without one loses no character.
    const std::size_t start = (!text.empty() && text.front() == BYTE_ORDER_MARK) ? 1 : 0;
    RunScriptFile(text.c_str() + start);
    return true;
}

ManaCost ParseManaCost(std::u16string_view text)
{
    if (text == u"ANY")
        return ManaCost(1, 1, 1, 1, 1, 1);
    ManaCost cost;
    for (const char16_t ch : text) {
        switch (ch) {
        case u'R': case u'r': ++cost.red; break;
        case u'G': case u'g': ++cost.green; break;
        case u'U': case u'u': ++cost.blue; break;
        case u'B': case u'b': ++cost.black; break;
        case u'W': case u'w': ++cost.white; break;
        default:
            if (ch >= u'0' && ch <= u'8')
                cost.generic += ch - u'0';
            break;
        }
    }
    return cost;
}
