// GameDisplay's screen switch: the screen-id table, the cache of screen objects and the return screen.
#include "screens/ScreenSwitch.h"

#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "screens/AdvancedConceptsInterface.h"
#include "screens/ExplainInterface.h"
#include "screens/InformationScreens.h"
#include "screens/OnlineMainInterface.h"
#include "screens/PhysicalMainInterface.h"
#include "screens/SlideshowInterface.h"

#include <array>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t SLOT_COUNT = static_cast<std::size_t>(ScreenSlot::Count);
// The slots a switch deletes when it leaves them, in the order it deletes them.
constexpr ScreenSlot DELETABLE[] = {ScreenSlot::PhysicalMain, ScreenSlot::OnlineMain,      ScreenSlot::LearnMore,
                                    ScreenSlot::Links,        ScreenSlot::MoreAboutOnline, ScreenSlot::AdvancedConcepts};

std::array<std::unique_ptr<GameInterface>, SLOT_COUNT> s_Screens;
std::vector<std::unique_ptr<GameInterface>> s_Dropped;

std::unique_ptr<GameInterface>& Slot(ScreenSlot slot)
{
    return s_Screens[static_cast<std::size_t>(slot)];
}

std::unique_ptr<GameInterface> Create(ScreenSlot slot)
{
    switch (slot) {
    case ScreenSlot::PhysicalMain: return std::make_unique<PhysicalMainInterface>();
    case ScreenSlot::OnlineMain: return std::make_unique<OnlineMainInterface>();
    case ScreenSlot::LearnMore: return std::make_unique<LearnMoreInterface>();
    case ScreenSlot::Links: return std::make_unique<VarrowLinksInterface>();
    case ScreenSlot::MoreAboutOnline: return std::make_unique<MoreAboutOnlineInterface>();
    case ScreenSlot::AdvancedConcepts: return std::make_unique<AdvancedConceptsInterface>();
    case ScreenSlot::Explain: return std::make_unique<ExplainInterface>();
    case ScreenSlot::Slideshow: return std::make_unique<SlideshowInterface>();
    case ScreenSlot::Count: break;
    }
    return nullptr;
}

// The slot an id shows, false for ids without a screen object.
bool SlotOfScreen(int id, ScreenSlot& slot)
{
    switch (id) {
    case 1: slot = ScreenSlot::PhysicalMain; return true;
    case 2: slot = ScreenSlot::OnlineMain; return true;
    case 4: slot = ScreenSlot::LearnMore; return true;
    case 17: slot = ScreenSlot::Links; return true;
    case 18: slot = ScreenSlot::MoreAboutOnline; return true;
    case 19: slot = ScreenSlot::AdvancedConcepts; return true;
    case 20:
    case 21: slot = ScreenSlot::Explain; return true;
    case 22:
    case 23:
    case 24: slot = ScreenSlot::Slideshow; return true;
    default: return false;
    }
}

} // namespace

GameInterface* GetCachedScreen(ScreenSlot slot)
{
    return slot == ScreenSlot::Count ? nullptr : Slot(slot).get();
}

ExplainInterface* GetExplainScreen()
{
    return static_cast<ExplainInterface*>(Slot(ScreenSlot::Explain).get());
}

SlideshowInterface* GetSlideshowScreen()
{
    return static_cast<SlideshowInterface*>(Slot(ScreenSlot::Slideshow).get());
}

int CountDroppedScreens()
{
    return static_cast<int>(s_Dropped.size());
}

void FlushDroppedScreens()
{
    GUI_Manager* const manager = GUI_System::GetManager();
    if (manager != nullptr && manager->IsDispatching())
        return;
    // A dropped screen's destructor may drop no further screens; take the list first all the same.
    std::vector<std::unique_ptr<GameInterface>> dropped;
    dropped.swap(s_Dropped);
    dropped.clear();
}

void DeleteAllScreens()
{
    GUI_Manager* const manager = GUI_System::GetManager();
    for (std::unique_ptr<GameInterface>& screen : s_Screens) {
        if (screen && manager != nullptr && manager->HasInterface(screen.get()))
            manager->RemoveInterface(screen.get(), true);
        if (screen)
            s_Dropped.push_back(std::move(screen));
    }
    FlushDroppedScreens();
}

void GameDisplay::SetScreen(int screenId, bool keepReturn)
{
    if (keepReturn)
        m_ReturnScreenId = m_ScreenId;
    m_ScreenId = screenId;
    GUI_Manager* const manager = GetGUIManager();
    manager->RemoveAllInterfaces();
    ScreenSlot slot{};
    // While a game's scene runs the menus stay away: the table is what shows.
    if (m_SceneTag == 0 && SlotOfScreen(screenId, slot)) {
        std::unique_ptr<GameInterface>& screen = Slot(slot);
        if (!screen)
            screen = Create(slot);
        manager->AddInterface(screen.get());
        if (screenId == 20 || screenId == 21)
            GetExplainScreen()->SetTopic(screenId - 20);
        else if (screenId >= 22 && screenId <= 24)
            GetSlideshowScreen()->SetShow(screenId - 22);
    }
    for (const ScreenSlot deletable : DELETABLE) {
        std::unique_ptr<GameInterface>& screen = Slot(deletable);
        if (screen && !manager->HasInterface(screen.get()))
            s_Dropped.push_back(std::move(screen));
    }
    // A switch from a screen's own handler leaves that screen on the stack: it goes after the dispatch.
    FlushDroppedScreens();
}

void GameDisplay::SetReturnScreen(int screenId)
{
    m_ReturnScreenId = screenId;
}

int GameDisplay::GetReturnScreen() const
{
    return m_ReturnScreenId;
}

int GameDisplay::GetScreen() const
{
    return m_ScreenId;
}
