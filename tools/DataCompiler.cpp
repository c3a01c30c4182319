// tessel_datac: compiles the readable sources under data/ into the runtime files of the install folder.
//   tessel_datac --source <repo>/data --out <install folder>
// Every error is printed as "file:line: message"; any error gives a non-zero exit and leaves the output it
// concerns unwritten. Files whose content does not change are not touched.
#include "tools/CardFileCompiler.h"
#include "tools/Diagnostics.h"
#include "tools/StringTableCompiler.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr int EXIT_ERRORS = 1;
constexpr int EXIT_USAGE = 2;

// English is the one language the data set ships so far.
constexpr char STRING_SOURCE[] = "strings/strings.en.txt";
constexpr char LANGUAGE_FOLDER[] = "data_en";

struct Folders {
    std::string source;
    std::string out;
};

bool CompileStrings(const Folders& folders, datac::Diagnostics& diagnostics)
{
    return datac::CompileStringTableFile(folders.source + "/" + STRING_SOURCE,
                                         folders.out + "/" + LANGUAGE_FOLDER + "/" + datac::STRING_TABLE_FILE_NAME,
                                         diagnostics);
}

bool CompileCards(const Folders& folders, datac::Diagnostics& diagnostics)
{
    return datac::CompileCardFile(folders.out + "/" + LANGUAGE_FOLDER + "/" + datac::CARD_FILE_NAME, diagnostics);
}

// Each step runs even after another failed, so that one run reports every error.
using CompileStep = bool (*)(const Folders& folders, datac::Diagnostics& diagnostics);
const CompileStep COMPILE_STEPS[] = {
    &CompileStrings,
    &CompileCards,
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
        else
            return false;
    }
    return !folders.source.empty() && !folders.out.empty();
}

} // namespace

int main(int argc, char** argv)
{
    Folders folders;
    if (!ParseArguments(argc, argv, folders)) {
        std::fprintf(stderr, "usage: tessel_datac --source <data folder> --out <install folder>\n");
        return EXIT_USAGE;
    }

    datac::Diagnostics diagnostics;
    for (const CompileStep step : COMPILE_STEPS)
        step(folders, diagnostics);

    for (const std::string& message : diagnostics.Messages())
        std::fprintf(stderr, "%s\n", message.c_str());
    if (diagnostics.HasErrors()) {
        std::fprintf(stderr, "tessel_datac: %zu error(s)\n", diagnostics.Messages().size());
        return EXIT_ERRORS;
    }
    return 0;
}
