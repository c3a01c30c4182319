#include "tools/DiscCompiler.h"

#include "tools/ArtCompiler.h"
#include "tools/OutputFile.h"
#include "tools/SoundEffectCompiler.h"
#include "tools/SourceText.h"
#include "tools/Utf16Text.h"

#include "platform/Platform.h"


namespace datac {

namespace {

bool CompileStringTable(const std::string& source, const std::string& target, Diagnostics& diagnostics)
{
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(plat::FromUtf8(source), bytes)) {
        diagnostics.Error(source, "cannot be read");
        return false;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    Utf16LeFile file;
    std::string_view line;
    int number = 0;
    bool ok = true;
    while (NextSourceLine(text, line)) {
        ++number;
        std::u16string wide;
        if (!DecodeUtf8(line, wide)) {
            diagnostics.Error(source, number, "is not valid UTF-8");
            ok = false;
        }
        file.AppendLine(wide);
    }
    if (ok && WriteIfChanged(target, file.Bytes()) == WriteResult::Failed) {
        diagnostics.Error(target, "cannot be written");
        ok = false;
    }
    return ok;
}

} // namespace

bool CompileDisc(const std::string& sourceFolder, const std::string& discFolder, const std::string& cacheFolder,
                 Diagnostics& diagnostics)
{
    const std::string source = sourceFolder + "/" + DISC_SOURCE_FOLDER;
    bool ok = CompileArtFiles(SourceFiles(source + "/art", ".art"), discFolder, cacheFolder, diagnostics);
    ok = CompileSoundRecipes(SourceFiles(source, "sounds.txt"), discFolder, diagnostics) && ok;
    ok = CompileStringTable(source + "/" + DISC_STRING_TABLE, discFolder + "/" + DISC_STRING_TABLE, diagnostics) && ok;
    return ok;
}

} // namespace datac
