#include "screens/WebPages.h"

#include "engine/core/LanguageManager.h"
#include "platform/Platform.h"

namespace {

const char16_t* PageFile(WebPage page)
{
    switch (page) {
    case WebPage::Game:
        return GetLanguageManager()->GetLanguageId() == 6 ? u"game_it.html" : u"game.html";
    case WebPage::Stores: return u"stores.html";
    case WebPage::Tournament: return u"tournaments.html";
    }
    return u"game.html";
}

} // namespace

std::u16string GetWebPageAddress(WebPage page)
{
    // The program runs in its install folder.
    std::string folder = plat::GetCurrentFolder();
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return u"file://" + plat::FromUtf8(folder) + u"/data/web/" + PageFile(page);
}

void OpenWebPage(WebPage page)
{
    const std::u16string address = GetWebPageAddress(page);
    if (!plat::ShellOpen(address))
        plat::OutputDebugString(u"The page " + address + u" could not be opened\n");
}
