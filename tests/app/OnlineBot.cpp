#include "tests/app/OnlineBot.h"

#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "cards/CardWindows.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"
#include "lessons/OnlineTurnState.h"
#include "lessons/PhysicalTurnState.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "screens/CoinToss.h"

#include <algorithm>

namespace test {

namespace {

// A message window with that text is on the screen.
bool IsMessageShown(std::u16string_view key)
{
    const std::u16string_view text = KeyText(key);
    for (const OldDialog* dialog : GetGameDisplay()->m_RegisteredMessageDialogs)
        if (!dialog->IsHidden() && dialog->GetText() == text)
            return true;
    return false;
}

constexpr int FIELD_ZONE = 15;
constexpr int BUTTON_YES = 0;
constexpr int BUTTON_NO = 1;
// Frames between two clicks, as a person pauses; the table also needs a frame to take each click.
constexpr int PAUSE_FRAMES = 6;

void QueueMouse(plat::EventType type, int x, int y)
{
    plat::Event event;
    event.type = type;
    event.button = plat::BUTTON_LEFT;
    // The program scales client pixels to the back buffer's.
    int width = 0;
    int height = 0;
    plat::GetClientSize(width, height);
    event.x = x * width / s_ScreenRect.Width();
    event.y = y * height / s_ScreenRect.Height();
    plat::headless::QueueEvent(event);
}

bool IsOwnHandCard(const CardActor* card)
{
    return card != nullptr && card->GetOwner() == 0 && card->IsHeld() && !card->IsInLibrary() && card->IsNotLeaving();
}

// The card windows of the learner's hand as they lie on the screen, left to right as the GUI lists them.
std::vector<const GUI_Window*> HandWindows()
{
    std::vector<const GUI_Window*> hand;
    std::vector<const CardActor*> seen;
    for (const GUI_Window* window : GetGUIManager()->GetWindows()) {
        const CardActor* const card = GetCardWindowActor(window);
        if (window->IsHidden() || GetCardWindowActor(window) == GetCloseUpWindow()->GetCardActor() || !IsOwnHandCard(card) ||
            std::find(seen.begin(), seen.end(), card) != seen.end())
            continue;
        seen.push_back(card);
        hand.push_back(window);
    }
    return hand;
}

} // namespace

void OnlineBot::Click(int x, int y)
{
    m_Pending = {Point{x, y}, Point{x, y}, Point{x, y}};
    m_Phase = 0;
    ++m_Clicks;
}

void OnlineBot::Step()
{
    if (!m_Pending.empty()) {
        const Point p = m_Pending.front();
        m_Pending.erase(m_Pending.begin());
        static constexpr plat::EventType ORDER[] = {plat::EventType::MouseMove, plat::EventType::ButtonDown,
                                                    plat::EventType::ButtonUp};
        QueueMouse(ORDER[m_Phase++], p.x, p.y);
        if (m_Pending.empty())
            m_Wait = PAUSE_FRAMES;
        return;
    }
    if (m_Wait > 0) {
        --m_Wait;
        return;
    }
    if (ClickMessageWindowButton() || AnswerDice() || DiscardOrPlayLand())
        return;
    // Nothing else to do: the right-most button of the message field passes, keeps, or says OK.
    PressFieldButton(0);
}

bool OnlineBot::ClickMessageWindowButton()
{
    for (const OldDialog* dialog : GetGameDisplay()->m_RegisteredMessageDialogs) {
        const OldButton* const button = dialog->GetButtonA();
        // A window shown without buttons keeps its old button object, detached.
        if (button == nullptr || dialog->IsHidden() || button->IsHidden() || button->GetParent() != dialog)
            continue;
        Click((button->GetLeft() + button->GetRight()) / 2, (button->GetTop() + button->GetBottom()) / 2);
        return true;
    }
    return false;
}

// While the dice are on the table: the winner goes first (Yes), the loser acknowledges (the only button).
bool OnlineBot::AnswerDice()
{
    if (FindActorByName(u"cointoss") == nullptr)
        return false;
    PressFieldButton(GetHumanDieValue() > GetCpuDieValue() ? 1 : 0);
    return true;
}

bool OnlineBot::DiscardOrPlayLand()
{
    if (!s_HumanTurn || s_MulliganState != 1)
        return false;
    const std::vector<const GUI_Window*> hand = HandWindows();
    // The hand peeks in at the bottom of the table: click the part that shows.
    const auto clickWindow = [this](const GUI_Window* w) {
        Click((w->GetLeft() + w->GetRight()) / 2, (w->GetTop() + (s_ClientHeight > 0 ? std::min(w->GetBottom(), s_ClientHeight - 1) : w->GetBottom())) / 2);
    };
    if (hand.size() > 7 && IsMessageShown(u"ONL_YouDiscardText")) {
        clickWindow(hand.front());
        return true;
    }
    if (m_LandTurn == s_TurnNumber)
        return false;
    for (const GUI_Window* w : hand) {
        if (GetCardWindowActor(w)->IsLand()) {
            m_LandTurn = s_TurnNumber;
            ++m_LandsPlayed;
            clickWindow(w);
            return true;
        }
    }
    return false;
}

void OnlineBot::PressFieldButton(int fromRight)
{
    const GameDisplay& display = *GetGameDisplay();
    const RasterRect& field = display.GetZoneRectByIndex(FIELD_ZONE);
    const Raster& raster = *GetRaster();
    const int noWidth = raster.GetTextureWidth(display.m_FixedButtons[BUTTON_NO]);
    const int height = raster.GetTextureHeight(display.m_FixedButtons[BUTTON_NO]);
    const int yesWidth = raster.GetTextureWidth(display.m_FixedButtons[BUTTON_YES]);
    const int y = field.bottom - 3 - height / 2;
    const int right = field.right - 3 - noWidth / 2;
    Click(fromRight == 0 ? right : field.right - 3 - noWidth - 3 - yesWidth / 2, y);
}

} // namespace test
