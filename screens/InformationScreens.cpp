#include "screens/InformationScreens.h"

#include "engine/scene/GameDisplay.h"
#include "screens/WebPages.h"

LearnMoreInterface::LearnMoreInterface()
{
    LoadFromFile(u"GUI\\Interfaces\\LearnMore.GUI");
}

bool LearnMoreInterface::HandleInput(const GUI_InputEvent& event)
{
    if (IsCommand(event)) {
        PlayClickEffect(event);
        struct Entry {
            std::u16string_view name;
            int screen;
        };
        static constexpr Entry ENTRIES[] = {
            {u"btnAbout", 22}, {u"btnAdvanced", 19}, {u"btnBuilding", 23}, {u"btnLinks", 17}, {u"btnCredits", 24},
        };
        for (const Entry& entry : ENTRIES) {
            if (SenderIs(event, entry.name)) {
                GetGameDisplay()->SetScreen(entry.screen, true);
                return true;
            }
        }
        if (SenderIs(event, u"btnBack")) {
            GoBack();
            return true;
        }
    }
    return GameInterface::HandleInput(event);
}

VarrowLinksInterface::VarrowLinksInterface()
{
    LoadFromFile(u"GUI\\Interfaces\\VarrowLinks.GUI");
}

bool VarrowLinksInterface::HandleInput(const GUI_InputEvent& event)
{
    if (IsCommand(event)) {
        PlayClickEffect(event);
        if (SenderIs(event, u"btnVarrow")) {
            OpenWebPage(WebPage::Game);
            return true;
        }
        if (SenderIs(event, u"btnStores")) {
            OpenWebPage(WebPage::Stores);
            return true;
        }
        if (SenderIs(event, u"btnTournament")) {
            OpenWebPage(WebPage::Tournament);
            return true;
        }
        if (SenderIs(event, u"btnBack")) {
            GoBack();
            return true;
        }
    }
    return GameInterface::HandleInput(event);
}

MoreAboutOnlineInterface::MoreAboutOnlineInterface()
{
    LoadFromFile(u"GUI\\Interfaces\\MoreAboutOnline.GUI");
}

bool MoreAboutOnlineInterface::HandleInput(const GUI_InputEvent& event)
{
    if (IsCommand(event)) {
        PlayClickEffect(event);
        if (SenderIs(event, u"btnDeckEditor") || SenderIs(event, u"btnCollection")) {
            GetGameDisplay()->SetScreen(3, true);
            return true;
        }
        if (SenderIs(event, u"btnBack")) {
            GoBack();
            return true;
        }
    }
    return GameInterface::HandleInput(event);
}
