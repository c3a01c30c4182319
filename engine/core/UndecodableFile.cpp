#include "engine/core/UndecodableFile.h"

#include "platform/Platform.h"

#include <set>
#include <string>
#include <utility>

namespace {

std::set<std::u16string, std::less<>> s_Reported;

} // namespace

void ReportUndecodableFile(std::u16string_view path, std::string_view kind)
{
    // A relative path names another file in another folder.
    std::u16string file = std::u16string(path);
    if (!path.starts_with(u'/'))
        file = plat::FromUtf8(plat::GetCurrentFolder()) + u"/" + file;
    if (!s_Reported.insert(std::move(file)).second)
        return;
    plat::OutputDebugStringA("Tessel: " + plat::ToUtf8(path) + " cannot be decoded as " + std::string(kind) +
                             "; not loaded\n");
}
