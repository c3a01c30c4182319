#include "engine/scene/ScriptParser.h"

#include "engine/core/PrivateHeap.h"
#include "engine/core/TextHelpers.h"
#include "engine/core/UndecodableFile.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/SpritePack.h"
#include "platform/Platform.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <map>
#include <span>
#include <vector>

namespace {

constexpr float DEGREES_TO_RADIANS = 0.01745328f;

const char16_t s_EmptyText[1] = {0};
const char16_t* s_Cursor = s_EmptyText;
bool s_InitEnabled = false;
bool s_DataEnabled = false;
int s_SlideTexture = 0;
std::map<std::u16string, ScriptCommand, std::less<>> s_Commands;
std::map<std::u16string, TextureNameValue, std::less<>> s_TextureNames;
// The game's own commands (the card file's), bound at start-up.
std::span<const ScriptCommandEntry> s_GameCommands;

bool IsSeparator(char16_t ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == u'\v' || ch == u'\f' || ch == u',' ||
           ch == 0xFEFF;
}

bool IsCommentChar(char16_t ch)
{
    return ch == u';' || ch == u'#' || ch == u'*';
}

bool IsSingleCharToken(char16_t ch)
{
    return ch == u'=' || IsCommentChar(ch);
}

bool IsLineEnd(char16_t ch)
{
    return ch == 0 || ch == u'\r' || ch == u'\n';
}

// Tokens longer than the capacity keep their first units; the rest of the token is skipped.
std::u16string ScanToken()
{
    while (*s_Cursor != 0 && IsSeparator(*s_Cursor)) {
        ++s_Cursor;
    }
    std::u16string token;
    if (*s_Cursor == 0) {
        return token;
    }
    if (IsSingleCharToken(*s_Cursor)) {
        token.push_back(*s_Cursor++);
        return token;
    }
    while (*s_Cursor != 0 && !IsSeparator(*s_Cursor) && !IsSingleCharToken(*s_Cursor)) {
        if (token.size() < SCRIPT_TOKEN_CAPACITY - 1) {
            token.push_back(*s_Cursor);
        }
        ++s_Cursor;
    }
    return token;
}

void SkipToLineEnd()
{
    while (!IsLineEnd(*s_Cursor)) {
        ++s_Cursor;
    }
}

std::u16string LowerCased(std::u16string_view name)
{
    std::u16string lower(name);
    LowerCaseWString(lower);
    return lower;
}

// The cursor of an outer script survives a command that runs a script of its own.
class SavedCursor {
public:
    SavedCursor() : m_Saved(s_Cursor) {}
    ~SavedCursor() { s_Cursor = m_Saved; }
    SavedCursor(const SavedCursor&) = delete;
    SavedCursor& operator=(const SavedCursor&) = delete;

private:
    const char16_t* m_Saved;
};

// ---- Commands ------------------------------------------------------------------------------------------------------

// Files read whole into the runtime heap for one command.
struct FileData {
    void* data = nullptr;
    std::size_t size = 0;

    explicit FileData(std::u16string_view path) { data = ReadWholeFile(path, true, &size); }
    ~FileData() { std::free(data); }
    FileData(const FileData&) = delete;
    FileData& operator=(const FileData&) = delete;
};

void Command_Load()
{
    const std::u16string name = ScriptNextToken();
    const std::u16string path = ScriptNextToken();
    std::size_t size = 0;
    const void* data = ReadWholeFile(path, false, &size);
    AddTextureData(name, data, size);
}

// A pack whose count promises frames but none of which lies within the file holds no image to read; a count of
// 0 or less is a pack without frames, as the data may mean it.
void ReportUnreadablePack(std::u16string_view path, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    const bool promisesFrames =
        size < 4 || static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                              static_cast<std::uint32_t>(bytes[3]) << 24) > 0;
    if (promisesFrames) {
        ReportUndecodableFile(path, "a sprite pack");
    }
}

void Command_LoadSprite()
{
    const std::u16string name = ScriptNextToken();
    const std::u16string path = ScriptNextToken();
    const int flags = ScriptReadInt();
    std::size_t size = 0;
    const void* data = ReadWholeFile(path, false, &size);
    if (data == nullptr) {
        return;
    }
    const std::vector<SpriteFrame> frames = ReadSpriteFrames(static_cast<const std::uint8_t*>(data), size);
    if (frames.empty()) {
        ReportUnreadablePack(path, data, size);
        AddTextureName(name, -1);
        return;
    }
    // A first frame that cannot be made enters nothing; later frames must not stand in for it.
    const int first = GetGameDisplay()->CreateTextureFromPixels(frames[0].pixels, frames[0].width, frames[0].height,
                                                                flags);
    if (first < 0) {
        return;
    }
    for (std::size_t f = 1; f < frames.size(); ++f) {
        GetGameDisplay()->CreateTextureFromPixels(frames[f].pixels, frames[f].width, frames[f].height, flags);
    }
    AddTextureName(name, first);
}

void Command_LoadRamTexture()
{
    const std::u16string name = ScriptNextToken();
    const std::u16string path = ScriptNextToken();
    std::size_t size = 0;
    const void* data = ReadWholeFile(path, false, &size);
    if (data == nullptr) {
        return;
    }
    const std::vector<SpriteFrame> frames = ReadSpriteFrames(static_cast<const std::uint8_t*>(data), size);
    if (frames.empty()) {
        ReportUnreadablePack(path, data, size);
        return;
    }
    const SpriteFrame& last = frames.back();
    AddTextureData(name, last.pixels, static_cast<std::size_t>(last.width) * last.height * 2);
}

void Command_Spawn()
{
    const std::u16string name = ScriptNextToken();
    const int spawnValue = ScriptReadInt();
    const std::u16string typeName = ScriptNextToken();
    std::array<int, 6> values{};
    for (int& value : values) {
        value = ScriptReadInt();
    }
    SpawnActor(name, spawnValue, LookUpBehaviour(typeName), static_cast<float>(values[0]),
               static_cast<float>(values[1]), static_cast<float>(values[2]),
               static_cast<float>(values[3]) * DEGREES_TO_RADIANS, static_cast<float>(values[4]) * DEGREES_TO_RADIANS,
               static_cast<float>(values[5]) * DEGREES_TO_RADIANS);
}

// The glyph textures reload from the font data, so it stays in the private heap for the scene.
void Command_LoadFont()
{
    const std::u16string path = ScriptNextToken();
    const int count = ScriptReadInt();
    std::size_t size = 0;
    const void* data = ReadWholeFile(path, false, &size);
    if (data != nullptr) {
        GetGameDisplay()->LoadFont8(data, size, count);
        if (GetGameDisplay()->m_Font8 < 0) {
            ReportUndecodableFile(path, "a glyph font");
        }
    }
}

void Command_LoadBackground()
{
    const std::u16string path1 = ScriptNextToken();
    const std::u16string path2 = ScriptNextToken();
    const FileData first(path1);
    const FileData second(path2);
    if (first.data != nullptr && second.data != nullptr) {
        GetGameDisplay()->LoadBackground(first.data, first.size, path1, second.data, second.size, path2);
    }
}

using FontLoader = void (GameDisplay::*)(const void*, std::size_t, int);

// slot is the display's font the loader fills: -1 after it when the file held no glyph.
void LoadGameFontWith(FontLoader loader, int GameDisplay::*slot)
{
    const std::u16string path = ScriptNextToken();
    const int count = ScriptReadInt();
    std::size_t size = 0;
    const void* data = ReadWholeFile(path, false, &size);
    if (data != nullptr) {
        GameDisplay* const display = GetGameDisplay();
        (display->*loader)(data, size, count);
        if (display->*slot < 0) {
            ReportUndecodableFile(path, "a glyph font");
        }
    }
}

void Command_LoadGameFont()
{
    LoadGameFontWith(&GameDisplay::LoadGameFont, &GameDisplay::m_GameFont);
}

void Command_LoadGameFont2()
{
    LoadGameFontWith(&GameDisplay::LoadGameFont2, &GameDisplay::m_GameFont2);
}

void Command_LoadBigGameFont()
{
    LoadGameFontWith(&GameDisplay::LoadBigGameFont, &GameDisplay::m_BigGameFont);
}

void Command_LoadBigGameFont2()
{
    LoadGameFontWith(&GameDisplay::LoadBigGameFont2, &GameDisplay::m_BigGameFont2);
}

void Command_LoadChop()
{
    const std::u16string name = ScriptNextToken();
    const std::u16string path = ScriptNextToken();
    const FileData file(path);
    int id = 0;
    if (file.data != nullptr) {
        id = GetGameDisplay()->LoadChpFrames(file.data, file.size, path);
        AddTextureName(name, id);
    }
    if (name == u"slide1") {
        s_SlideTexture = id;
    }
}

void Command_LoadBmp()
{
    const std::u16string name = ScriptNextToken();
    const std::u16string path = ScriptNextToken();
    const int id = GetGameDisplay()->LoadBitmapTexture(path);
    if (id < 0) {
        return;
    }
    AddTextureName(name, id);
    if (name == u"slide1") {
        s_SlideTexture = id;
    }
}

constexpr std::array<ScriptCommandEntry, 12> s_CommandTable = {{
    {u"load", Command_Load},
    {u"loadsprite", Command_LoadSprite},
    {u"loadramtexture", Command_LoadRamTexture},
    {u"spawn", Command_Spawn},
    {u"loadfont", Command_LoadFont},
    {u"loadbackground", Command_LoadBackground},
    {u"loadgamefont", Command_LoadGameFont},
    {u"loadgamefont2", Command_LoadGameFont2},
    {u"loadbiggamefont", Command_LoadBigGameFont},
    {u"loadbiggamefont2", Command_LoadBigGameFont2},
    {u"loadchop", Command_LoadChop},
    {u"loadbmp", Command_LoadBmp},
}};

ScriptCommand FindCommand(std::u16string_view word)
{
    const auto found = s_Commands.find(word);
    return found == s_Commands.end() ? nullptr : found->second;
}

// Lines are counted only as far as the cursor has come, once over the whole text.
class LineCounter {
public:
    explicit LineCounter(const char16_t* text) : m_Counted(text) {}

    int LineAt(const char16_t* cursor)
    {
        for (; m_Counted < cursor; ++m_Counted)
            m_Line += *m_Counted == u'\n' ? 1 : 0;
        return m_Line;
    }

private:
    const char16_t* m_Counted;
    int m_Line = 1;
};

// A word that is no command is skipped; a mistyped command would otherwise leave its scene silently short.
void ReportSkippedToken(LineCounter& lines, std::u16string_view token)
{
    plat::OutputDebugString(u"Script: line " + IntToWString(lines.LineAt(s_Cursor)) + u": \"" +
                            std::u16string(token) + u"\" is no command; skipped\n");
}

void RunWithSections(const char16_t* text)
{
    const SavedCursor saved;
    s_Cursor = text;
    LineCounter lines(text);
    bool run = true;
    for (std::u16string token = ScriptNextToken(); !token.empty(); token = ScriptNextToken()) {
        if (EqualsNoCase(token, u"[DATA]")) {
            run = s_DataEnabled;
            continue;
        }
        if (EqualsNoCase(token, u"[INIT]")) {
            run = s_InitEnabled;
            continue;
        }
        if (!run) {
            continue;
        }
        const ScriptCommand command = FindCommand(token);
        if (command != nullptr) {
            command();
        }
        // A setting "name = value" is consumed whole and has no effect.
        const char16_t* const beforeLookAhead = s_Cursor;
        if (ScriptNextToken() == u"=") {
            ScriptNextToken();
            continue;
        }
        s_Cursor = beforeLookAhead;
        if (command == nullptr) {
            ReportSkippedToken(lines, token);
        }
    }
}

} // namespace

bool RunLevelScript(std::u16string_view path)
{
    std::size_t size = 0;
    const void* data = ReadWholeFile(path, false, &size);
    if (data == nullptr) {
        return false;
    }
    // Decoded as little-endian units into a terminated text of our own (the file may have an odd length).
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(bytes[i * 2] | (bytes[i * 2 + 1] << 8));
    }
    RunWithSections(text.c_str());
    return true;
}

void RunScriptFile(const char16_t* text)
{
    if (text == nullptr) {
        return;
    }
    const SavedCursor saved;
    s_Cursor = text;
    LineCounter lines(text);
    for (std::u16string token = ScriptNextToken(); !token.empty(); token = ScriptNextToken()) {
        if (const ScriptCommand command = FindCommand(token)) {
            command();
            continue;
        }
        ReportSkippedToken(lines, token);
    }
}

void InitScriptCommands()
{
    s_TextureNames.clear();
    s_Commands.clear();
    for (const ScriptCommandEntry& entry : s_CommandTable) {
        s_Commands.emplace(entry.word, entry.handler);
    }
    for (const ScriptCommandEntry& entry : s_GameCommands) {
        s_Commands.emplace(entry.word, entry.handler);
    }
}

void SetGameScriptCommands(std::span<const ScriptCommandEntry> commands)
{
    s_GameCommands = commands;
}

void SetScriptSections(bool init, bool data)
{
    s_InitEnabled = init;
    s_DataEnabled = data;
}

std::u16string ScriptNextToken()
{
    std::u16string token = ScanToken();
    while (!token.empty() && IsCommentChar(token[0])) {
        SkipToLineEnd();
        token = ScanToken();
    }
    return token;
}

int ScriptReadInt()
{
    const std::u16string token = ScriptNextToken();
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == u'+' || token[i] == u'-')) {
        negative = token[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < token.size() && token[i] >= u'0' && token[i] <= u'9'; ++i) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (token[i] - u'0');
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

std::u16string ScriptReadRestOfLine()
{
    while (*s_Cursor != 0 && IsSeparator(*s_Cursor)) {
        ++s_Cursor;
    }
    const char16_t* const start = s_Cursor;
    SkipToLineEnd();
    return std::u16string(start, s_Cursor);
}

void ScriptSetCursor(const char16_t* text)
{
    s_Cursor = text != nullptr ? text : s_EmptyText;
}

const char16_t* ScriptGetCursor()
{
    return s_Cursor;
}

void AddTextureName(std::u16string_view name, int texture)
{
    TextureNameValue value;
    value.kind = TextureNameValue::Kind::Texture;
    value.texture = texture;
    s_TextureNames[LowerCased(name)] = value;
}

void AddTextureData(std::u16string_view name, const void* data, std::size_t size)
{
    TextureNameValue value;
    value.kind = TextureNameValue::Kind::Data;
    value.data = data;
    value.size = size;
    s_TextureNames[LowerCased(name)] = value;
}

bool RemoveTextureName(std::u16string_view name)
{
    const auto found = s_TextureNames.find(LowerCased(name));
    if (found == s_TextureNames.end()) {
        return false;
    }
    s_TextureNames.erase(found);
    return true;
}

int GetTextureByName(std::u16string_view name)
{
    const TextureNameValue value = GetTextureEntry(name);
    return value.kind == TextureNameValue::Kind::Texture ? value.texture : 0;
}

TextureNameValue GetTextureEntry(std::u16string_view name)
{
    const auto found = s_TextureNames.find(LowerCased(name));
    return found == s_TextureNames.end() ? TextureNameValue{} : found->second;
}

int GetSlideTexture()
{
    return s_SlideTexture;
}
