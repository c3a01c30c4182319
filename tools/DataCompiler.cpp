// tessel_datac: compiles the readable sources under data/ into the runtime files of the install folder.
//   tessel_datac --source <repo>/data --out <install folder> [--cache <folder>] [--disc <disc folder>]
// The cache keeps spoken voice clips and drawn images by content (default: the install folder's name + ".cache").
// Every error is printed as "file:line: message"; any error gives a non-zero exit and leaves the output it
// concerns unwritten. Files whose content does not change are not touched.
#include "tools/ArtCompiler.h"
#include "tools/CardArt.h"
#include "tools/CardFaceSheet.h"
#include "tools/CardFileCompiler.h"
#include "tools/ContactSheet.h"
#include "tools/DiscCompiler.h"
#include "tools/Diagnostics.h"
#include "tools/GuiLayoutCompiler.h"
#include "tools/LevelScriptCompiler.h"
#include "tools/OutputFile.h"
#include "tools/SkinCompiler.h"
#include "tools/SmallCardRenderer.h"
#include "tools/SoundEffectCompiler.h"
#include "tools/SourceText.h"
#include "tools/StringKeyList.h"
#include "tools/StringTableCompiler.h"
#include "tools/VoiceClipCompiler.h"

#include "platform/Platform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int EXIT_ERRORS = 1;
constexpr int EXIT_USAGE = 2;

// English is the one language the data set ships so far. Every file of a source folder with the suffix is
// read, in name order.
constexpr char STRING_FOLDER[] = "strings";
constexpr char STRING_SUFFIX[] = ".en.txt";
constexpr char VOICE_FOLDER[] = "voice";
constexpr char CLIP_LIST[] = "lists/voice-clips.txt";
constexpr char VOICE_SUFFIX[] = ".en.txt";
constexpr char SOUND_FOLDER[] = "sounds";
constexpr char SOUND_SUFFIX[] = ".txt";
constexpr char CARD_FOLDER[] = "cards";
constexpr char LANGUAGE_FOLDER[] = "data_en";
// The raster's face table goes to data\fonts\ as it is written.
constexpr char FONT_TABLE[] = "fonts/fonts.cfg";
constexpr char FONT_TABLE_OUT[] = "data/fonts/fonts.cfg";
constexpr char DEFAULT_CACHE_SUFFIX[] = ".cache";
constexpr char GUI_LAYOUT_FOLDER[] = "gui/interfaces";
constexpr char GUI_LAYOUT_SUFFIX[] = ".gui.txt";
constexpr char GUI_SKIN_FOLDER[] = "gui/skins";
constexpr char GUI_SKIN_SUFFIX[] = ".skn.txt";
constexpr char LEVEL_FOLDER[] = "levels";
// The pages about the game that the information screens open in the browser, shipped as they stand.
constexpr char WEB_FOLDER[] = "web";
constexpr char WEB_SUFFIX[] = ".html";
constexpr char WEB_OUT_FOLDER[] = "data/web";

struct Folders {
    std::string source;
    std::string out;
    std::string cache;
    std::string disc;  // empty: no disc folder is laid out
};

// What the steps hand on: the string step's entries feed the checks and the voice clips.
struct Build {
    Folders folders;
    std::vector<datac::StringEntry> strings;
    bool stringsCompiled = false;
};

using datac::SourceFiles;

bool CompileStrings(Build& build, datac::Diagnostics& diagnostics)
{
    const std::vector<std::string> sources = SourceFiles(build.folders.source + "/" + STRING_FOLDER, STRING_SUFFIX);
    if (sources.empty()) {
        diagnostics.Error(build.folders.source + "/" + STRING_FOLDER, "holds no string source (*.en.txt)");
        return false;
    }
    build.stringsCompiled = datac::CompileStringTableFiles(
        sources, build.folders.out + "/" + LANGUAGE_FOLDER + "/" + datac::STRING_TABLE_FILE_NAME, build.strings,
        diagnostics);
    return build.stringsCompiled;
}

// Placeholders, printf formats, formatted-text markers and lengths against what the callers expect. Keys of
// the list that no source defines yet are the data test's business, not an error here.
bool CheckStrings(Build& build, datac::Diagnostics& diagnostics)
{
    if (!build.stringsCompiled)
        return false;
    std::vector<datac::KeySpec> specs;
    if (!datac::ShippedKeyList(specs, diagnostics))
        return false;
    const std::size_t errorsBefore = diagnostics.Messages().size();
    datac::CheckEntries(specs, build.strings, diagnostics);
    return diagnostics.Messages().size() == errorsBefore;
}

bool CompileVoice(Build& build, datac::Diagnostics& diagnostics)
{
    if (!build.stringsCompiled)
        return false;
    std::vector<std::string> required;
    if (!datac::ReadClipList(build.folders.source + "/" + CLIP_LIST, required, diagnostics))
        return false;
    const auto start = std::chrono::steady_clock::now();
    datac::VoiceRun run;
    const bool compiled = datac::CompileVoiceClips(
        SourceFiles(build.folders.source + "/" + VOICE_FOLDER, VOICE_SUFFIX), build.strings, build.folders.out,
        LANGUAGE_FOLDER, build.folders.cache + "/voice", diagnostics, &run, &required);
    if (run.spoken > 0) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        std::printf("tessel_datac: spoke %zu of %zu voice clips in %.1f s\n", run.spoken, run.clips,
                    static_cast<double>(elapsed.count()) / 1000.0);
    }
    return compiled;
}

bool CompileSounds(Build& build, datac::Diagnostics& diagnostics)
{
    return datac::CompileSoundRecipes(SourceFiles(build.folders.source + "/" + SOUND_FOLDER, SOUND_SUFFIX),
                                      build.folders.out, diagnostics);
}

bool CompileCards(Build& build, datac::Diagnostics& diagnostics)
{
    return datac::CompileCardFile(build.folders.source + "/" + CARD_FOLDER,
                                  build.folders.out + "/" + LANGUAGE_FOLDER + "/" + datac::CARD_FILE_NAME, diagnostics);
}

bool CopyFontTable(Build& build, datac::Diagnostics& diagnostics)
{
    const std::string source = build.folders.source + "/" + FONT_TABLE;
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(plat::FromUtf8(source), bytes)) {
        diagnostics.Error(source, "cannot be read");
        return false;
    }
    if (datac::WriteIfChanged(build.folders.out + "/" + FONT_TABLE_OUT, bytes) == datac::WriteResult::Failed) {
        diagnostics.Error(build.folders.out + "/" + FONT_TABLE_OUT, "cannot be written");
        return false;
    }
    return true;
}

bool CopyWebPages(Build& build, datac::Diagnostics& diagnostics)
{
    bool ok = true;
    for (const std::string& source : SourceFiles(build.folders.source + "/" + WEB_FOLDER, WEB_SUFFIX)) {
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(plat::FromUtf8(source), bytes)) {
            diagnostics.Error(source, "cannot be read");
            ok = false;
            continue;
        }
        const std::string target = build.folders.out + "/" + WEB_OUT_FOLDER + source.substr(source.find_last_of('/'));
        if (datac::WriteIfChanged(target, bytes) == datac::WriteResult::Failed) {
            diagnostics.Error(target, "cannot be written");
            ok = false;
        }
    }
    return ok;
}

bool CompileArt(Build& build, datac::Diagnostics& diagnostics)
{
    // Every card's picture is composed from its source; the card step reports faults in those sources.
    std::vector<datac::CardArtFacts> cards;
    for (const std::string& path : SourceFiles(build.folders.source + "/" + CARD_FOLDER, datac::CARD_SOURCE_EXTENSION)) {
        std::vector<std::uint8_t> bytes;
        if (plat::ReadFileBytes(plat::FromUtf8(path), bytes)) {
            const std::vector<datac::CardArtFacts> read = datac::ReadCardArtFacts(std::string(bytes.begin(), bytes.end()));
            cards.insert(cards.end(), read.begin(), read.end());
        }
    }
    const auto start = std::chrono::steady_clock::now();
    const bool ok = datac::CompileArtFiles(SourceFiles(build.folders.source + "/art", ".art"), build.folders.out,
                                           build.folders.cache + "/art", diagnostics,
                                           {{"card pictures", datac::CardArtSource(cards)}});
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("tessel_datac: art step %.1f s\n", static_cast<double>(elapsed.count()) / 1000.0);
    // Beside the cache, never in the install folder: the whole drawn set in one picture for a person to judge.
    const std::vector<std::string> sheetFolders = {"data/table",   "data/frames", "data/buttons", "data/avatars",
                                                   "data/symbols", "data/icons",  "data/player",  "data/cardart"};
    return datac::WriteContactSheet(build.folders.out, sheetFolders, build.folders.cache + "/contact-sheet.bmp",
                                    diagnostics) &&
           ok;
}

// After the card file and the images: the game's own composition draws every card's small images from them.
bool CompileSmallCards(Build& build, datac::Diagnostics& diagnostics)
{
    const auto start = std::chrono::steady_clock::now();
    datac::SmallCardRun run;
    const bool ok = datac::RenderSmallCards(build.folders.out, build.folders.cache, diagnostics, &run);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("tessel_datac: small cards: drew %zu of %zu in %.1f s\n", run.rendered, run.cards,
                static_cast<double>(elapsed.count()) / 1000.0);
    // Beside the cache: every face small and large, for a person to judge.
    bool sheetDrawn = false;
    const bool sheet = ok && datac::WriteCardFaceSheet(build.folders.out, run.inputs, build.folders.cache + "/card-faces.bmp",
                                                       diagnostics, &sheetDrawn);
    if (sheetDrawn) {
        const auto total = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        std::printf("tessel_datac: card face sheet drawn; small cards and sheet %.1f s\n",
                    static_cast<double>(total.count()) / 1000.0);
    }
    return ok && sheet;
}

bool CompileLevels(Build& build, datac::Diagnostics& diagnostics)
{
    return datac::CompileLevelScripts(build.folders.source + "/" + LEVEL_FOLDER, build.folders.out, diagnostics);
}

bool CompileDiscFolder(Build& build, datac::Diagnostics& diagnostics)
{
    return build.folders.disc.empty() ||
           datac::CompileDisc(build.folders.source, build.folders.disc, build.folders.cache + "/art", diagnostics);
}

bool CompileGuiLayouts(Build& build, datac::Diagnostics& diagnostics)
{
    return datac::CompileGuiLayoutFiles(
        SourceFiles(build.folders.source + "/" + GUI_LAYOUT_FOLDER, GUI_LAYOUT_SUFFIX), build.folders.out + "/data",
        diagnostics);
}

bool CompileGuiSkins(Build& build, datac::Diagnostics& diagnostics)
{
    return datac::CompileSkinFiles(SourceFiles(build.folders.source + "/" + GUI_SKIN_FOLDER, GUI_SKIN_SUFFIX),
                                   build.folders.out + "/data", diagnostics);
}

// Each step runs even after another failed, so that one run reports every error (a step that needs an earlier
// one's result skips quietly when that failed).
using CompileStep = bool (*)(Build& build, datac::Diagnostics& diagnostics);
const CompileStep COMPILE_STEPS[] = {
    &CompileStrings, &CheckStrings, &CompileVoice, &CompileSounds, &CompileCards, &CopyFontTable, &CopyWebPages, &CompileArt,
    &CompileSmallCards, &CompileGuiLayouts, &CompileGuiSkins, &CompileLevels, &CompileDiscFolder,
};

std::string WithoutTrailingSlash(std::string_view path)
{
    while (path.size() > 1 && path.ends_with('/'))
        path.remove_suffix(1);
    return std::string(path);
}

bool ParseArguments(int argc, char** argv, Folders& folders)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc)
            return false;
        if (option == "--source")
            folders.source = WithoutTrailingSlash(argv[++i]);
        else if (option == "--out")
            folders.out = WithoutTrailingSlash(argv[++i]);
        else if (option == "--cache")
            folders.cache = WithoutTrailingSlash(argv[++i]);
        else if (option == "--disc")
            folders.disc = WithoutTrailingSlash(argv[++i]);
        else
            return false;
    }
    if (folders.cache.empty() && !folders.out.empty())
        folders.cache = folders.out + DEFAULT_CACHE_SUFFIX;
    return !folders.source.empty() && !folders.out.empty();
}

} // namespace

int main(int argc, char** argv)
{
    Build build;
    if (!ParseArguments(argc, argv, build.folders)) {
        std::fprintf(stderr, "usage: tessel_datac --source <data folder> --out <install folder> [--cache <folder>]"
                             " [--disc <folder>]\n");
        return EXIT_USAGE;
    }

    datac::Diagnostics diagnostics;
    for (const CompileStep step : COMPILE_STEPS)
        step(build, diagnostics);

    for (const std::string& message : diagnostics.Messages())
        std::fprintf(stderr, "%s\n", message.c_str());
    if (diagnostics.HasErrors()) {
        std::fprintf(stderr, "tessel_datac: %zu error(s)\n", diagnostics.Messages().size());
        return EXIT_ERRORS;
    }
    return 0;
}
