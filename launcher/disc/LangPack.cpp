// The disc's language-pack installer of its folder's language. The one language shipped, English, comes with
// the installation itself, so there is nothing to add: it reports success.
#include "platform/Platform.h"

#include <cstdio>

int main()
{
    const std::string folder = plat::ExecutableFolder();
    std::printf("langpack: the %s language pack is installed\n", folder.substr(folder.rfind('/') + 1).c_str());
    return 0;
}
