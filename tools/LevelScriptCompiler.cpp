#include "tools/LevelScriptCompiler.h"

#include "tools/OutputFile.h"
#include "tools/SourceText.h"
#include "tools/Utf16Text.h"

#include "platform/Platform.h"

namespace datac {

namespace {

constexpr char INCLUDE[] = "include ";
constexpr int MAX_INCLUDE_DEPTH = 4;
// The script tokenizer keeps tokens in a fixed buffer.
constexpr std::size_t MAX_TOKEN = 127;

bool Expand(const std::string& sourceName, const std::string& text,
            const std::function<bool(const std::string&, std::string&)>& readInclude, int depth,
            Utf16LeFile& file, Diagnostics& diagnostics)
{
    bool ok = true;
    std::string_view rest = text;
    std::string_view raw;
    int number = 0;
    while (NextSourceLine(rest, raw)) {
        ++number;
        const std::string line = TrimBlanks(raw);
        if (line.starts_with(INCLUDE)) {
            const std::string name = TrimBlanks(line.substr(sizeof INCLUDE - 1));
            std::string included;
            if (depth >= MAX_INCLUDE_DEPTH || name.find_first_of("/\\") != std::string::npos ||
                !readInclude(name, included)) {
                diagnostics.Error(sourceName, number, "cannot include '" + name + "'");
                ok = false;
                continue;
            }
            ok = Expand(name, included, readInclude, depth + 1, file, diagnostics) && ok;
            continue;
        }
        // Tokens end at blanks and commas; a long one would overrun the reader's buffer.
        std::size_t run = 0;
        for (const char ch : line) {
            run = (ch == ' ' || ch == '\t' || ch == ',') ? 0 : run + 1;
            if (run > MAX_TOKEN) {
                diagnostics.Error(sourceName, number, "a token is longer than 127 characters");
                ok = false;
                break;
            }
        }
        std::u16string wide;
        if (!DecodeUtf8(line, wide)) {
            diagnostics.Error(sourceName, number, "is not UTF-8");
            ok = false;
        }
        file.AppendLine(wide);
    }
    return ok;
}

} // namespace

bool CompileLevelScript(const std::string& sourceName, const std::string& text,
                        const std::function<bool(const std::string&, std::string&)>& readInclude,
                        std::vector<std::uint8_t>& out, Diagnostics& diagnostics)
{
    Utf16LeFile file;
    if (!Expand(sourceName, text, readInclude, 0, file, diagnostics))
        return false;
    out = file.Bytes();
    return true;
}

bool CompileLevelScripts(const std::string& sourceFolder, const std::string& outFolder, Diagnostics& diagnostics)
{
    const auto read = [](const std::string& path, std::string& text) {
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(plat::FromUtf8(path), bytes))
            return false;
        text.assign(bytes.begin(), bytes.end());
        return true;
    };
    const auto readInclude = [&](const std::string& name, std::string& text) {
        return read(sourceFolder + "/" + name, text);
    };
    bool ok = true;
    for (const std::string& path : SourceFiles(sourceFolder, LEVEL_SCRIPT_SUFFIX)) {
        std::string text;
        std::vector<std::uint8_t> bytes;
        if (!read(path, text)) {
            diagnostics.Error(path, "cannot be read");
            ok = false;
            continue;
        }
        if (!CompileLevelScript(path, text, readInclude, bytes, diagnostics)) {
            ok = false;
            continue;
        }
        const std::string name = path.substr(path.find_last_of('/') + 1);
        if (WriteIfChanged(outFolder + "/" + name, bytes) == WriteResult::Failed) {
            diagnostics.Error(outFolder + "/" + name, "cannot be written");
            ok = false;
        }
    }
    return ok;
}

} // namespace datac
