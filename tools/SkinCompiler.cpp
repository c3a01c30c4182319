#include "tools/SkinCompiler.h"

#include "gui/GUI_Skin.h"
#include "platform/Platform.h"
#include "tools/OutputFile.h"
#include "tools/SourceText.h"

#include <filesystem>

namespace datac {

namespace {

constexpr std::string_view SKIN_SUFFIX = ".skn.txt";
constexpr std::string_view SKIN_OUT_FOLDER = "GUI/Skins/";

bool IsPieceKey(std::u16string_view key)
{
    for (const std::u16string_view known : WINDOW_PIECE_KEYS) {
        if (key == known)
            return true;
    }
    for (const auto& look : BUTTON_PIECE_KEYS) {
        for (const std::u16string_view known : look) {
            if (key == known)
                return true;
        }
    }
    return false;
}

bool IsAlphaKey(std::u16string_view key)
{
    if (key == WINDOW_BORDER_ALPHAENABLE || key == WINDOW_BG_ALPHAENABLE)
        return true;
    for (int look = 0; look < LOOK_COUNT; ++look) {
        if (key == BUTTON_BORDER_ALPHA_KEYS[look] || key == BUTTON_BG_ALPHA_KEYS[look])
            return true;
    }
    return false;
}

bool IsInteger(std::string_view token)
{
    std::size_t i = token.starts_with('-') ? 1 : 0;
    if (i >= token.size())
        return false;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9')
            return false;
    }
    return true;
}

std::vector<std::string> Tokens(std::string_view text)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while ((pos = text.find_first_not_of(" \t", pos)) != std::string_view::npos) {
        const std::size_t end = text.find_first_of(" \t", pos);
        out.emplace_back(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        pos = end;
    }
    return out;
}

void AppendUtf16(std::vector<std::uint8_t>& out, std::u16string_view text)
{
    for (const char16_t unit : text) {
        out.push_back(static_cast<std::uint8_t>(unit));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

} // namespace

bool CompileSkin(std::string_view source, const std::string& fileName, std::vector<std::uint8_t>& out,
                 Diagnostics& diagnostics)
{
    const std::size_t errorsBefore = diagnostics.Messages().size();
    if (!CheckUtf8Source(source, fileName, diagnostics))
        return false;
    out = {0xFF, 0xFE};
    AppendUtf16(out, u"GSKNV1.0\r\n");
    std::string_view line;
    int number = 0;
    while (NextSourceLine(source, line)) {
        ++number;
        const std::string text = TrimBlanks(line);
        if (text.empty() || text.starts_with("//"))
            continue;
        // The reader cuts a longer line.
        if (plat::FromUtf8(text).size() > SKIN_LINE_MAX) {
            diagnostics.Error(fileName, number, "a line holds at most " + std::to_string(SKIN_LINE_MAX) + " units");
            continue;
        }
        const std::vector<std::string> tokens = Tokens(text);
        const std::u16string key = plat::FromUtf8(tokens[0]);
        if (tokens.size() < 2) {
            diagnostics.Error(fileName, number, "key " + tokens[0] + " has no value");
            continue;
        }
        if (IsPieceKey(key)) {
            if (tokens.size() > 8)
                diagnostics.Error(fileName, number, "a piece takes an image and at most six numbers");
            if (LeavesDataFolder(tokens[1]))
                diagnostics.Error(fileName, number, "the image " + tokens[1] + " leaves the data folder");
            for (std::size_t i = 2; i < tokens.size(); ++i) {
                if (!IsInteger(tokens[i]))
                    diagnostics.Error(fileName, number, "'" + tokens[i] + "' is not a whole number");
            }
        } else if (IsAlphaKey(key)) {
            if (tokens.size() != 2 || !IsInteger(tokens[1]))
                diagnostics.Error(fileName, number, "an alpha key takes one whole number");
        } else {
            diagnostics.Error(fileName, number, "unknown skin key " + tokens[0]);
            continue;
        }
        AppendUtf16(out, plat::FromUtf8(text));
        AppendUtf16(out, u"\r\n");
    }
    return diagnostics.Messages().size() == errorsBefore;
}

bool CompileSkinFiles(const std::vector<std::string>& sources, const std::string& outFolder, Diagnostics& diagnostics)
{
    bool ok = true;
    for (const std::string& path : sources) {
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(plat::FromUtf8(path), bytes)) {
            diagnostics.Error(path, "cannot be read");
            ok = false;
            continue;
        }
        std::vector<std::uint8_t> compiled;
        if (!CompileSkin(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path, compiled,
                         diagnostics)) {
            ok = false;
            continue;
        }
        std::string name = std::filesystem::path(path).filename().string();
        name.resize(name.size() - SKIN_SUFFIX.size());
        const std::string target = outFolder + "/" + std::string(SKIN_OUT_FOLDER) + name + ".skn";
        if (WriteIfChanged(target, compiled) == WriteResult::Failed) {
            diagnostics.Error(target, "cannot be written");
            ok = false;
        }
    }
    return ok;
}

} // namespace datac
