// Level scripts and command files: the tokenizer, the sections, the command map and the texture-name map
// through which the program finds images by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Tokens are cut to this many units (the rest of an over-long token is skipped).
constexpr std::size_t SCRIPT_TOKEN_CAPACITY = 128;

// A texture-name map entry: a texture identifier, or file data held in the private heap (load, loadramtexture).
struct TextureNameValue {
    enum class Kind { None, Texture, Data };
    Kind kind = Kind::None;
    int texture = 0;
    const void* data = nullptr;
    std::size_t size = 0;
};

// A command word and the handler that pulls its arguments from the script cursor.
using ScriptCommand = void (*)();
struct ScriptCommandEntry {
    const char16_t* word;
    ScriptCommand handler;
};

// The script-command table of the game (the card file's commands): app/ binds it at start-up, and every
// InitScriptCommands enters its commands after the scene's own.
void SetGameScriptCommands(std::span<const ScriptCommandEntry> commands);

// Reads the file (into the private heap) and runs it with sections; false when it cannot be read.
bool RunLevelScript(std::u16string_view path);
// Runs a zero-terminated text without sections: tokens naming commands run them, all others are skipped.
void RunScriptFile(const char16_t* text);
// Empties the texture-name map and the command map and fills the command map.
void InitScriptCommands();
// Both section enables ("[INIT]" and "[DATA]"); the scene loader sets both before running a level script.
void SetScriptSections(bool init, bool data);

// The next token at the cursor, comment lines skipped; empty at the end of the text.
std::u16string ScriptNextToken();
// The next token as a decimal integer (optional sign; no digits gives 0).
int ScriptReadInt();
// Separators skipped, then everything up to the line end; the cursor stays on the line end.
std::u16string ScriptReadRestOfLine();
// Points the cursor at a text of its own (the console tokenizes its command lines this way).
void ScriptSetCursor(const char16_t* text);
// Where the cursor stands; ScriptSetCursor with it gives a line back to the commands that follow.
const char16_t* ScriptGetCursor();

// Names are lower-cased on entry and on lookup.
void AddTextureName(std::u16string_view name, int texture);
void AddTextureData(std::u16string_view name, const void* data, std::size_t size);
bool RemoveTextureName(std::u16string_view name);
// The texture identifier entered under the name, 0 when there is none (texture 0 is the scene's transparent one).
int GetTextureByName(std::u16string_view name);
// The full entry, Kind::None when there is none.
TextureNameValue GetTextureEntry(std::u16string_view name);

// The texture identifier "slide1" was last loaded into by loadbmp or loadchop.
int GetSlideTexture();
