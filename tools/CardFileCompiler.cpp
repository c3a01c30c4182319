#include "tools/CardFileCompiler.h"

#include "cards/Card.h"
#include "cards/CardDatabase.h"
#include "cards/CardEnums.h"
#include "cards/CardIds.h"
#include "cards/CardKeys.h"
#include "engine/core/TextHelpers.h"
#include "platform/Platform.h"
#include "tools/OutputFile.h"
#include "tools/Utf16Text.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <optional>

namespace datac {

namespace {

// What the card face can show of a cost: one generic symbol (1-8), X, and the points of one colour, at most
// five symbols in all.
constexpr int MAX_COST_SYMBOLS = 5;
constexpr int MAX_GENERIC_SYMBOL = 8;
constexpr std::u16string_view SYMBOL_LETTERS = u"WUBRG12345678XT_";
// Only a style marker ends symbol style: the line breaks "|" and "\" keep the style they find.
constexpr std::u16string_view STYLE_MARKERS = u"~*^#";
// Markers of formatted text that a name or a type line must not hold (both go into pop-up text).
constexpr std::u16string_view FORMAT_MARKERS = u"~*^#|\\";
constexpr std::u16string_view BMP_EXTENSION = u".bmp";

struct Value {
    std::u16string text;
    int line = 0;
};

struct Block {
    int id = 0;
    std::string source;
    int line = 0;
    std::array<std::optional<Value>, CARD_KEY_COUNT> values;
};

std::string Narrow(std::u16string_view text)
{
    return plat::ToUtf8(text);
}

std::string_view TrimAscii(std::string_view text)
{
    const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix)
{
    return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// The display name every card carries: its identifier's word, capitalised ("CD_FOREST3" is "Forest").
std::u16string DisplayNameOf(int id)
{
    std::u16string word(GetCardIdName(id) + 3);
    while (!word.empty() && word.back() >= u'0' && word.back() <= u'9')
        word.pop_back();
    for (std::size_t i = 1; i < word.size(); ++i)
        word[i] = LowerCaseChar(word[i]);
    return word;
}

class CardCompiler {
public:
    explicit CardCompiler(Diagnostics& diagnostics) : m_Diagnostics(diagnostics) {}

    void ReadSource(const CardSource& source);
    bool Finish(std::vector<std::uint8_t>& out);

private:
    void Error(const std::string& source, int line, const std::string& message)
    {
        m_Diagnostics.Error(source, line, message);
        m_Failed = true;
    }
    void StartBlock(const CardSource& source, int line, std::string_view header);
    void ReadKeyLine(const CardSource& source, int line, std::string_view text);
    void CheckValue(const std::string& source, int line, int slot, const std::u16string& value);
    void CheckFormattedText(const std::string& source, int line, std::u16string_view key, std::u16string_view text);
    void CheckBlock(const Block& block);
    void CheckCost(const Block& block, const Value& cost);
    static const Value* Get(const Block& block, int slot)
    {
        return block.values[slot] ? &*block.values[slot] : nullptr;
    }
    void WriteBlock(const Block& block, Utf16LeFile& file) const;

    Diagnostics& m_Diagnostics;
    std::map<int, Block> m_Blocks;
    Block* m_Current = nullptr;
    bool m_Failed = false;
};

void CardCompiler::ReadSource(const CardSource& source)
{
    m_Current = nullptr;
    std::string_view rest = source.text;
    int line = 0;
    while (!rest.empty()) {
        ++line;
        const std::size_t end = rest.find('\n');
        const std::string_view raw = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::string_view text = TrimAscii(raw);
        if (text.empty() || text.front() == '#')
            continue;
        if (text.front() == '[')
            StartBlock(source, line, text);
        else
            ReadKeyLine(source, line, text);
    }
}

void CardCompiler::StartBlock(const CardSource& source, int line, std::string_view header)
{
    m_Current = nullptr;
    if (header.size() < 3 || header.back() != ']') {
        Error(source.name, line, "a card header is \"[CD_NAME]\"");
        return;
    }
    const std::string idText(TrimAscii(header.substr(1, header.size() - 2)));
    const int id = GetCardIdByName(plat::FromUtf8(idText));
    if (id == CD_INVALID) {
        Error(source.name, line, "unknown card identifier \"" + idText + "\"");
        return;
    }
    const auto existing = m_Blocks.find(id);
    if (existing != m_Blocks.end()) {
        Error(source.name, line,
              idText + " is defined twice (first at " + existing->second.source + ":" +
                  std::to_string(existing->second.line) + ")");
        return;
    }
    Block& block = m_Blocks[id];
    block.id = id;
    block.source = source.name;
    block.line = line;
    m_Current = &block;
}

void CardCompiler::ReadKeyLine(const CardSource& source, int line, std::string_view text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        Error(source.name, line, "expected \"Key = Value\"");
        return;
    }
    if (m_Current == nullptr) {
        Error(source.name, line, "a key line outside a card (a card starts with \"[CD_NAME]\")");
        return;
    }
    const std::string key(TrimAscii(text.substr(0, equals)));
    const int slot = LookupCardKey(plat::FromUtf8(key));
    if (slot < 0) {
        Error(source.name, line, "unknown key \"" + key + "\"");
        return;
    }
    const std::string spelled = Narrow(GetCardKeyName(slot));
    if (key != spelled) {
        Error(source.name, line, "write the key as \"" + spelled + "\"");
        return;
    }
    if (GetCardKeyKind(slot) == CardKeyKind::Ignored) {
        Error(source.name, line, "\"" + key + "\" is read but not used by the program: say it with the ability keys");
        return;
    }
    if (m_Current->values[slot]) {
        Error(source.name, line, "\"" + key + "\" is given twice in this card");
        return;
    }
    std::u16string value;
    if (!DecodeUtf8(TrimAscii(text.substr(equals + 1)), value)) {
        Error(source.name, line, "the value is not valid UTF-8");
        return;
    }
    if (value.empty()) {
        Error(source.name, line, "empty value (write NULL for an empty text)");
        return;
    }
    CheckValue(source.name, line, slot, value);
    m_Current->values[slot] = Value{value, line};
}

void CardCompiler::CheckValue(const std::string& source, int line, int slot, const std::u16string& value)
{
    const std::u16string keyName = GetCardKeyName(slot);
    const std::string key = Narrow(keyName);
    for (const char16_t unit : value) {
        if (unit < 0x20) {
            Error(source, line, "a control character in the value of " + key);
            return;
        }
    }
    const bool isNull = value == u"NULL";
    switch (GetCardKeyKind(slot)) {
    case CardKeyKind::Integer: {
        int number = 0;
        if (!ParseWStringInt(value, number))
            Error(source, line, key + " takes a whole number, not \"" + Narrow(value) + "\"");
        break;
    }
    case CardKeyKind::Flag:
        if (value != u"0" && value != u"1")
            Error(source, line, key + " takes 0 or 1, not \"" + Narrow(value) + "\"");
        break;
    case CardKeyKind::Mana:
        if (isNull || value == u"ANY")
            break;
        for (const char16_t ch : value) {
            if (std::u16string_view(u"012345678RGUBWX").find(ch) == std::u16string_view::npos) {
                Error(source, line, key + " takes digits 0-8, the letters R G U B W and X, or ANY: \"" +
                                        Narrow(value) + "\"");
                break;
            }
        }
        break;
    case CardKeyKind::Enum: {
        int number = 0;
        if (!FindEnumValue(GetCardKeyFamily(slot), value, number))
            Error(source, line, "\"" + Narrow(value) + "\" is not a name that " + key + " takes");
        else if (number < 0)
            Error(source, line, "\"" + Narrow(value) + "\" stores -1 in " + key + ": leave the key out instead");
        break;
    }
    case CardKeyKind::TypeBits: {
        std::u16string_view rest = value;
        while (true) {
            const std::size_t bar = rest.find(u'|');
            std::u16string piece(rest.substr(0, bar));
            TrimWString(piece, piece, u" \t");
            int bits = 0;
            if (!FindEnumValue(FAMILY_TARGET_TYPE, piece, bits))
                Error(source, line, "\"" + Narrow(piece) + "\" is not a TT_ name");
            if (bar == std::u16string_view::npos)
                break;
            rest.remove_prefix(bar + 1);
        }
        break;
    }
    case CardKeyKind::Text:
        if (isNull)
            break;
        if (slot == KEY_NAME || slot == KEY_TYPE) {
            if (value.size() > static_cast<std::size_t>(CARD_NAME_LENGTH))
                Error(source, line, key + " is longer than " + std::to_string(CARD_NAME_LENGTH) + " units");
            if (value.find_first_of(FORMAT_MARKERS) != std::u16string::npos)
                Error(source, line, key + " must not hold the text markers ~ * ^ # | \\");
        }
        if (slot == KEY_LARGE_ART || slot == KEY_SMALL_CARD) {
            if (!EndsWithNoCase(value, BMP_EXTENSION))
                Error(source, line, key + " names a .bmp image");
        }
        if (slot == KEY_TEXT || slot == KEY_EFFECT_TEXT || slot == KEY_FLAVOR_TEXT)
            CheckFormattedText(source, line, keyName, value);
        break;
    default:
        break;
    }
}

// A symbol run ("#" and symbol letters) must end at the end of the text or at a blank followed by a style
// marker; anything else would be drawn as symbols.
void CardCompiler::CheckFormattedText(const std::string& source, int line, std::u16string_view key,
                                      std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'#')
            continue;
        std::size_t end = i + 1;
        while (end < text.size() && SYMBOL_LETTERS.find(text[end]) != std::u16string_view::npos)
            ++end;
        bool closed = end > i + 1;
        if (closed && end < text.size()) {
            std::size_t next = end;
            if (text[next] == u' ')
                ++next;
            closed = next < text.size() && STYLE_MARKERS.find(text[next]) != std::u16string_view::npos;
        }
        if (!closed) {
            Error(source, line,
                  Narrow(key) + ": a symbol run needs symbol letters (W U B R G 1-8 X T _) and must end with a "
                                "blank and a style marker, as in \"#T ~:\"");
            return;
        }
        i = end;
    }
}

void CardCompiler::CheckCost(const Block& block, const Value& cost)
{
    const std::u16string& text = cost.text;
    const Value* xSpell = Get(block, KEY_IS_XSPELL);
    const bool hasX = text.find(u'X') != std::u16string::npos;
    if (hasX != (xSpell != nullptr && xSpell->text == u"1"))
        Error(block.source, cost.line, "a cost with X needs IsXSpell = 1, and IsXSpell = 1 needs an X in the cost");
    if (text == u"NULL")
        return;
    if (text == u"ANY") {
        Error(block.source, cost.line, "ANY is a colour set, not a cost the card face can show");
        return;
    }
    const ManaCost mana = ParseManaCost(text);
    const auto isDigit = [](char16_t ch) { return ch >= u'0' && ch <= u'9'; };
    const std::size_t digits = std::count_if(text.begin(), text.end(), isDigit);
    const std::size_t xs = std::count(text.begin(), text.end(), u'X');
    const int colours = (mana.white > 0) + (mana.blue > 0) + (mana.black > 0) + (mana.red > 0) + (mana.green > 0);
    const int colourPoints = mana.white + mana.blue + mana.black + mana.red + mana.green;
    if (digits > 1 || xs > 1 || text.find(u'0') != std::u16string::npos || mana.generic > MAX_GENERIC_SYMBOL) {
        Error(block.source, cost.line, "the card face shows one generic symbol of 1 to 8 and at most one X");
        return;
    }
    if (colours > 1)
        Error(block.source, cost.line, "the card face shows only one colour: use one colour letter");
    if (static_cast<int>(xs) + (mana.generic > 0 ? 1 : 0) + colourPoints > MAX_COST_SYMBOLS)
        Error(block.source, cost.line,
              "the card face shows at most " + std::to_string(MAX_COST_SYMBOLS) + " cost symbols");
}

void CardCompiler::CheckBlock(const Block& block)
{
    const std::string idText = Narrow(GetCardIdName(block.id));
    const auto require = [&](int slot) {
        if (!block.values[slot])
            Error(block.source, block.line, idText + " needs " + Narrow(GetCardKeyName(slot)));
        return block.values[slot].has_value();
    };
    if (require(KEY_NAME) && block.values[KEY_NAME]->text != DisplayNameOf(block.id))
        Error(block.source, block.values[KEY_NAME]->line,
              "the name of " + idText + " is \"" + Narrow(DisplayNameOf(block.id)) + "\"");
    require(KEY_TYPE);
    require(KEY_CARD_TYPE);
    require(KEY_RARITY);
    require(KEY_ARTIST);
    if (require(KEY_COST))
        CheckCost(block, *block.values[KEY_COST]);
    const Value* cardType = Get(block, KEY_CARD_TYPE);
    const Value* subType = Get(block, KEY_CARD_SUB_TYPE);
    const bool creature = (cardType != nullptr && cardType->text == u"CT_CREATURE") ||
                          (subType != nullptr && subType->text == u"ARTIFACT_CREATURE");
    if (creature) {
        require(KEY_POWER);
        require(KEY_TOUGHNESS);
    }
}

void CardCompiler::WriteBlock(const Block& block, Utf16LeFile& file) const
{
    const std::u16string idName = GetCardIdName(block.id);
    file.AppendLine(u"definecard " + idName);
    for (int slot = 0; slot < CARD_KEY_COUNT; ++slot) {
        std::u16string value;
        if (block.values[slot])
            value = block.values[slot]->text;
        else if (slot == KEY_SMALL_CARD)
            value = u"cards\\" + idName + u".bmp";
        else if (slot == KEY_LARGE_ART)
            value = u"data\\cardart\\" + idName + u".bmp";
        else if (slot == KEY_TEXT && (block.values[KEY_EFFECT_TEXT] || block.values[KEY_FLAVOR_TEXT]))
            value = !block.values[KEY_FLAVOR_TEXT] ? u"%0" : !block.values[KEY_EFFECT_TEXT] ? u"^%1" : u"%0 |\\^%1";
        if (!value.empty())
            file.AppendLine(std::u16string(GetCardKeyName(slot)) + u" = " + value);
    }
    file.AppendLine(u"_end");
    file.AppendLine(u"");
}

bool CardCompiler::Finish(std::vector<std::uint8_t>& out)
{
    for (const auto& [id, block] : m_Blocks)
        CheckBlock(block);
    for (int id = FIRST_CARD_ID; id <= LAST_CARD_ID; ++id) {
        if (m_Blocks.find(id) == m_Blocks.end()) {
            m_Diagnostics.Error("data/cards", Narrow(GetCardIdName(id)) + " is not defined");
            m_Failed = true;
        }
    }
    if (m_Failed)
        return false;

    Utf16LeFile file;
    file.AppendLine(u"; Card definitions, generated by tessel_datac from data/cards. Edit the sources, not this file.");
    file.AppendLine(u"");
    for (const auto& [id, block] : m_Blocks)
        WriteBlock(block, file);
    out = file.Bytes();
    return true;
}

} // namespace

bool CompileCardSources(const std::vector<CardSource>& sources, std::vector<std::uint8_t>& out,
                        Diagnostics& diagnostics)
{
    out.clear();
    BuildCardVocabulary();
    CardCompiler compiler(diagnostics);
    for (const CardSource& source : sources)
        compiler.ReadSource(source);
    return compiler.Finish(out);
}

bool CompileCardFile(const std::string& sourceFolder, const std::string& outPath, Diagnostics& diagnostics)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(sourceFolder, error)) {
        if (entry.is_regular_file() && entry.path().extension() == CARD_SOURCE_EXTENSION)
            paths.push_back(entry.path().string());
    }
    if (error) {
        diagnostics.Error(sourceFolder, "cannot be read");
        return false;
    }
    std::sort(paths.begin(), paths.end());

    std::vector<CardSource> sources;
    bool readable = true;
    for (const std::string& path : paths) {
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(plat::FromUtf8(path), bytes)) {
            diagnostics.Error(path, "cannot be read");
            readable = false;
            continue;
        }
        sources.push_back({path, std::string(bytes.begin(), bytes.end())});
    }
    std::vector<std::uint8_t> out;
    if (!CompileCardSources(sources, out, diagnostics) || !readable)
        return false;
    if (WriteIfChanged(outPath, out) == WriteResult::Failed) {
        diagnostics.Error(outPath, "cannot be written");
        return false;
    }
    return true;
}

} // namespace datac
