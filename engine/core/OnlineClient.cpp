#include "engine/core/OnlineClient.h"

#include "engine/core/QuitRequest.h"
#include "platform/Platform.h"

#include <string_view>
#include <utility>

namespace {

constexpr plat::Hive ONLINE_CLIENT_HIVE = plat::Hive::CurrentUser;
constexpr std::u16string_view ONLINE_CLIENT_KEY = u"Software\\Varrow Online";
constexpr std::u16string_view ONLINE_CLIENT_VALUE = u"InstallationDirectory";
constexpr std::u16string_view ONLINE_CLIENT_PROGRAM = u"varrow.exe";

bool EndsWithSeparator(std::u16string_view folder)
{
    return !folder.empty() && (folder.back() == u'\\' || folder.back() == u'/');
}

} // namespace

bool GetOnlineClientFolder(std::u16string* folder)
{
    std::u16string text;
    if (!plat::RegGetString(ONLINE_CLIENT_HIVE, ONLINE_CLIENT_KEY, ONLINE_CLIENT_VALUE, text))
        return false;
    // The stored text is a terminated string: it ends at its first terminator.
    text.resize(std::u16string_view(text.c_str()).size());
    // A folder too long for the buffer is not found, as the read fails for it.
    if (text.size() >= ONLINE_CLIENT_FOLDER_CAPACITY)
        return false;
    if (folder != nullptr)
        *folder = std::move(text);
    return true;
}

bool LaunchOnlineClient()
{
    std::u16string path;
    if (!GetOnlineClientFolder(&path))
        return false;
    // An empty folder would leave a bare name to be looked up on the PATH, and an address would be opened by
    // whatever handles it: neither is the installed client.
    if (path.empty() || path.find(u"://") != std::u16string::npos)
        return false;
    if (!EndsWithSeparator(path))
        path += u'\\';
    path += ONLINE_CLIENT_PROGRAM;
    if (!plat::ShellOpen(path))
        return false;
    PostQuitMessage(0);
    return true;
}
