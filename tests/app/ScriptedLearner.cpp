#include "tests/app/ScriptedLearner.h"

#include "tests/app/AppFixture.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/AdviceState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnFlags.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "gui/WordBalloon.h"
#include "lessons/CpuPhysicalTurn.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/PlayerState.h"

namespace test {

namespace {

// Frames the learner waits after a gesture before it looks again, as a person would read the answer.
constexpr int LOOK_AGAIN_FRAMES = 6;

bool IsShown(const GUI_Window* window)
{
    const GameDisplay* const display = GetGameDisplay();
    return window != nullptr && display != nullptr && display->IsWindowRegistered(window) && !window->IsHidden();
}

bool Centre(const GUI_Window* window, int& x, int& y)
{
    if (window == nullptr)
        return false;
    x = (window->GetLeft() + window->GetRight()) / 2;
    y = (window->GetTop() + window->GetBottom()) / 2;
    return true;
}

bool HasAssignedBlocker()
{
    for (const CardActor* const card : GetCardActors())
        if (card->GetOwner() == PLAYER_HUMAN && card->GetBlockedAttacker() != nullptr)
            return true;
    return false;
}

// Which button a person would press: attack when the box offers it and a creature can, block when blocking is
// done, otherwise the first enabled button, End Turn over Attack when nobody can attack.
int ChooseButton(const Messagebox& box)
{
    const int count = box.GetButtonCount();
    const int kind = box.GetKindNumber();
    int choice = 0;
    if (kind == 4 && count > 1)
        choice = CountAbleAttackers(PLAYER_HUMAN) > 0 ? 0 : 1;
    else if (kind == 24 && count > 1)
        choice = HasAssignedBlocker() ? 0 : 1;
    else if (kind == 49 && count > 1)
        choice = CountAttackingCreatures(PLAYER_HUMAN) > 0 ? 0 : 1;
    if (choice < count && box.IsButtonDisabled(choice))
        choice = choice == 0 ? 1 : 0;
    return choice < count ? choice : -1;
}

} // namespace

void ScriptedLearner::Click(int x, int y)
{
    m_Gesture = {{0, x, y}, {1, x, y}, {2, x, y}};
    m_Next = 0;
}

void ScriptedLearner::Drag(int fromX, int fromY, int toX, int toY)
{
    m_Gesture = {{0, fromX, fromY}, {1, fromX, fromY}};
    for (int step = 1; step <= 6; ++step)
        m_Gesture.push_back({0, fromX + (toX - fromX) * step / 6, fromY + (toY - fromY) * step / 6});
    m_Gesture.push_back({2, toX, toY});
    m_Next = 0;
}

bool ScriptedLearner::AnswerDialog()
{
    const CardSpecificDialog* const dialog = GetCurrentDialog();
    if (!IsShown(dialog) || dialog->GetButtonCount() == 0)
        return false;
    int x = 0;
    int y = 0;
    if (!Centre(dialog->GetButton(0), x, y))
        return false;
    ++m_Answered[-2];
    Click(x, y);
    return true;
}

bool ScriptedLearner::AnswerBalloon()
{
    const WordBalloon* const balloon = GetCpuTurnBalloon();
    if (!IsShown(balloon) || balloon->GetButtonCount() == 0 || balloon->GetAnswer() >= 0)
        return false;
    int x = 0;
    int y = 0;
    if (!Centre(balloon->GetButton(0), x, y))
        return false;
    ++m_Answered[-1];
    Click(x, y);
    return true;
}

bool ScriptedLearner::AnswerLessonBox()
{
    if (!IsLessonBoxShowing())
        return false;
    const Messagebox& box = *GetLessonBox();
    if (box.GetAnswer() >= 0)
        return false;
    const int button = ChooseButton(box);
    int x = 0;
    int y = 0;
    if (button < 0 || !Centre(box.GetButton(button), x, y))
        return false;
    ++m_Answered[box.GetKindNumber()];
    Click(x, y);
    return true;
}

bool ScriptedLearner::PlaceLifeToken()
{
    const LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    if (token == nullptr || token->actor == nullptr || token->actor->GetState() != TOKEN_PLACING)
        return false;
    const RasterRect cell = GetLifeTrackCell(PLAYER_HUMAN, GetPlayerState(PLAYER_HUMAN)->GetLife());
    Drag((token->rect.left + token->rect.right) / 2, (token->rect.top + token->rect.bottom) / 2,
         (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    return true;
}

// In the draw step the card waiting on the library pile is dragged down into the hand.
bool ScriptedLearner::DrawCard()
{
    const Actor* const human = GetHumanPlayerActor();
    const GameDisplay* const display = GetGameDisplay();
    const CardActor* const drawn = GetTableFlow().cardDrawnByHand;
    if (!s_HumanTurn || human == nullptr || human->GetState() != 2 || display == nullptr || drawn == nullptr)
        return false;
    const int x = static_cast<int>(drawn->m_Position.x) + 20;
    const int y = static_cast<int>(drawn->m_Position.y) + 20;
    ++m_Draws;
    Drag(x, y, display->m_Width / 2, display->m_Height - 40);
    return true;
}

void ScriptedLearner::Step()
{
    if (m_Next < m_Gesture.size()) {
        const Event& e = m_Gesture[m_Next++];
        const plat::EventType type = e.type == 0   ? plat::EventType::MouseMove
                                     : e.type == 1 ? plat::EventType::ButtonDown
                                                   : plat::EventType::ButtonUp;
        QueueLeftMouse(type, e.x, e.y);
        if (m_Next == m_Gesture.size())
            m_Cooldown = LOOK_AGAIN_FRAMES;
        return;
    }
    if (m_Cooldown > 0) {
        --m_Cooldown;
        return;
    }
    if (AnswerDialog() || PlaceLifeToken() || AnswerBalloon() || AnswerLessonBox() || DrawCard())
        Step();
}

} // namespace test
