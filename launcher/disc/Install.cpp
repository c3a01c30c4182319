// The disc's installer, run by Dorvane from a data-language folder ("English/install Dorvane.exe"): it records
// the installation in the settings store that Tessel reads. "install /X" removes those values again.
// The program files themselves stay where the build laid them out.
#include "engine/core/RegistrySettings.h"
#include "platform/Platform.h"

#include <cstdio>
#include <string_view>

namespace {

// The folder of the built Tessel, fixed when the disc is built.
constexpr char INSTALL_FOLDER[] = TESSEL_INSTALL_FOLDER;
constexpr int INSTALL_TYPE_FULL = 1;

std::u16string OwnFolderName()
{
    const std::string folder = plat::ExecutableFolder();
    return plat::FromUtf8(folder.substr(folder.rfind('/') + 1));
}

} // namespace

int main(int argc, char** argv)
{
    const bool uninstall = argc > 1 && (std::string_view(argv[1]) == "/X" || std::string_view(argv[1]) == "/x");
    const auto hive = plat::Hive::LocalMachine;
    if (uninstall) {
        for (const char16_t* name : {u"InstallPath", u"InstallLang", u"InstallType"})
            plat::RegDeleteValue(hive, REGISTRY_PRODUCT_KEY, name);
        std::printf("install: the tutorial is no longer installed\n");
        return 0;
    }
    const bool written = plat::RegSetString(hive, REGISTRY_PRODUCT_KEY, u"InstallPath", plat::FromUtf8(INSTALL_FOLDER)) &&
                         plat::RegSetString(hive, REGISTRY_PRODUCT_KEY, u"InstallLang", OwnFolderName()) &&
                         plat::RegSetDword(hive, REGISTRY_PRODUCT_KEY, u"InstallType", INSTALL_TYPE_FULL);
    if (!written) {
        std::fprintf(stderr, "install: the settings store in %s cannot be written\n", plat::ConfigFolder().c_str());
        return 1;
    }
    std::printf("install: the tutorial is installed in %s\n", INSTALL_FOLDER);
    return 0;
}
