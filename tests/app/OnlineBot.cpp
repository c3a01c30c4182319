#include "tests/app/OnlineBot.h"

#include "cards/CardActor.h"
#include "cards/CardWindow.h"
#include "cards/CardWindows.h"
#include "cards/LibraryDialog.h"
#include "cards/MessagePrompts.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "engine/core/StringTable.h"
#include "lessons/OnlineAdvisor.h"
#include "lessons/OnlineTurnServices.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/Targets.h"
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
constexpr int CPU_PANEL_ZONE = 2;
constexpr int HUMAN_PANEL_ZONE = 3;
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

bool IsOwnCreatureOnTable(const CardActor* card)
{
    return card->GetOwner() == 0 && card->GetCardType() == CT_CREATURE && !card->IsHeld() && card->IsNotLeaving() &&
           !card->IsOnStack() && card->GetTapState() != TAP_OFF_TABLE;
}

bool IsOwnReadyLand(const CardActor* card)
{
    return card->GetOwner() == 0 && card->IsLand() && !card->IsHeld() && card->IsNotLeaving() &&
           card->GetTapState() == TAP_READY;
}

// The colours a land gives, as printed on it.
const ManaCost& Produces(const CardActor* land)
{
    return land->GetAbility()->effect.manaProduced;
}

// Covers the coloured symbols first with lands of that colour, then the generic part with whatever is left.
bool LandsCover(const ManaCost& cost)
{
    std::vector<const CardActor*> lands;
    for (const CardActor* const card : GetCardActors())
        if (IsOwnReadyLand(card))
            lands.push_back(card);
    for (int colour = 1; colour < 6; ++colour) {
        for (int need = cost.At(colour); need > 0; --need) {
            const auto it = std::find_if(lands.begin(), lands.end(),
                                         [colour](const CardActor* land) { return Produces(land).At(colour) > 0; });
            if (it == lands.end())
                return false;
            lands.erase(it);
        }
    }
    return static_cast<int>(lands.size()) >= cost.generic;
}

bool IsCpuInMainOrEnd()
{
    const Actor* const cpu = FindActorByName(u"cpuplayer");
    return cpu != nullptr && (cpu->GetState() == 5 || cpu->GetState() == 18);
}

int HumanState()
{
    const Actor* const human = FindActorByName(u"player");
    return human == nullptr ? -1 : human->GetState();
}

// The message field shows the text of that key, its %0 and %1 filled in: the part after its last placeholder
// is what the field's text ends with.
bool FieldShows(std::u16string_view key)
{
    std::u16string_view tail = KeyText(key);
    for (std::size_t at = tail.find(u'%'); at != std::u16string_view::npos; at = tail.find(u'%'))
        tail.remove_prefix(std::min(at + 2, tail.size()));
    const std::u16string& field = OnlinePromptOwner();
    return !field.empty() && field.size() >= tail.size() && field.ends_with(tail);
}

// What a person sees change on the table when a press of the field's button was taken.
std::string Situation()
{
    const Actor* const cpu = FindActorByName(u"cpuplayer");
    return std::to_string(s_TurnNumber) + "/" + std::to_string(HumanState()) + "/" +
           std::to_string(cpu != nullptr ? cpu->GetState() : -1) + "/" + std::to_string(s_MulliganState) + "/" +
           std::to_string(GetSpellStack().GetCount()) + "/" + std::to_string(GetSpellStack().IsPaused()) + "/" +
           std::to_string(s_HumanBlockStep) + "/" + std::to_string(s_CpuBlockStep) + "/" +
           std::to_string(FindActorByName(u"cointoss") != nullptr);
}

bool LibraryListShown()
{
    for (const GUI_Window* const window : GetGUIManager()->GetWindows())
        if (dynamic_cast<const LibraryDialog*>(window) != nullptr && !window->IsHidden())
            return true;
    return false;
}

} // namespace

const char* PromptName(Prompt kind)
{
    static constexpr const char* NAMES[] = {"toss",         "window",        "field",        "payment",
                                            "hand discard", "spell discard", "library look", "spell mode",
                                            "target",       "advice"};
    return NAMES[static_cast<std::size_t>(kind)];
}

void OnlineBot::Click(int x, int y)
{
    m_Pending = {Point{x, y}, Point{x, y}, Point{x, y}};
    m_Phase = 0;
    ++m_Clicks;
}

// Cards overlap (lands of a kind lie in a pile, the hand peeks in at the bottom): click a point where this card
// shows on top, the middle of its window when that shows, else the first such point on a coarse grid.
bool OnlineBot::ClickWindow(const GUI_Window* w)
{
    const CardActor* const card = GetCardWindowActor(w);
    const int bottom = s_ClientHeight > 0 ? std::min(w->GetBottom(), s_ClientHeight - 1) : w->GetBottom();
    const auto shows = [card, w](int x, int y) {
        const GUI_Window* const top = GetGUIManager()->GetWindowAt(x, y);
        return top == w || (card != nullptr && GetCardWindowActor(top) == card);
    };
    const int midX = (w->GetLeft() + w->GetRight()) / 2;
    const int midY = (w->GetTop() + bottom) / 2;
    if (shows(midX, midY)) {
        Click(midX, midY);
        return true;
    }
    constexpr int GRID = 4;
    for (int y = w->GetTop() + GRID / 2; y < bottom; y += GRID) {
        for (int x = w->GetLeft() + GRID / 2; x < w->GetRight(); x += GRID) {
            if (shows(x, y)) {
                Click(x, y);
                return true;
            }
        }
    }
    return false;
}

bool OnlineBot::ClickCard(const CardActor* card)
{
    for (const GUI_Window* const window : GetGUIManager()->GetWindows()) {
        if (!window->IsHidden() && GetCardWindowActor(window) == card && card != GetCloseUpWindow()->GetCardActor() &&
            ClickWindow(window))
            return true;
    }
    return false;
}

void OnlineBot::Step()
{
    if (!m_Pending.empty()) {
        static constexpr plat::EventType ORDER[] = {plat::EventType::MouseMove, plat::EventType::ButtonDown,
                                                    plat::EventType::ButtonUp};
        do {
            const Point p = m_Pending.front();
            m_Pending.erase(m_Pending.begin());
            QueueMouse(ORDER[m_Phase++ % 3], p.x, p.y);
        } while (m_MoveAndPressTogether && m_Phase % 3 == 1 && !m_Pending.empty());
        if (m_Pending.empty())
            m_Wait = PAUSE_FRAMES;
        return;
    }
    if (m_Wait > 0) {
        --m_Wait;
        return;
    }
    if (m_TriedTurn != s_TurnNumber) {
        m_TriedTurn = s_TurnNumber;
        m_Tried.clear();
    }
    if (!m_FieldPressedAt.empty()) {
        if (Situation() != m_FieldPressedAt)
            Answer(Prompt::Field);
        m_FieldPressedAt.clear();
    }
    if (ClickMessageWindowButton() || AnswerDice() || Discard() || DiscardToSpell() || CloseLibraryLook() ||
        AnswerSpellMode() || AnswerAdvice() || ChooseSpellTarget() || PayWithLand() || (!m_LandsOnly && Block()))
        return;
    if (s_HumanTurn && s_MulliganState == 1 && HumanState() == 5 && (PlayLand() || (!m_LandsOnly && CastCreature())))
        return;
    // The learner's instants are taken in the opponent's turn: in its own the table waits for the idle opponent.
    if (m_CastsInstants && !s_HumanTurn && s_MulliganState == 1 && IsCpuInMainOrEnd() && CastInstant())
        return;
    if (s_HumanTurn && HumanState() == 7 && !m_LandsOnly && DeclareAttacker())
        return;
    // Nothing else to do: the right-most button of the message field passes, keeps, or says OK.
    m_FieldPressedAt = Situation();
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
        Answer(Prompt::Window);
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
    if (!m_TossAnswered)
        Answer(Prompt::Toss);
    m_TossAnswered = true;
    return true;
}

bool OnlineBot::Discard()
{
    const std::vector<const GUI_Window*> hand = HandWindows();
    if (hand.size() <= 7 || !IsMessageShown(u"ONL_YouDiscardText"))
        return false;
    if (!ClickWindow(hand.front()))
        return false;
    ++m_Discards;
    Answer(Prompt::HandDiscard);
    return true;
}

// A resolving spell asks for cards from the hand: the field says so, and a click on a hand card gives one.
bool OnlineBot::DiscardToSpell()
{
    if (!FieldShows(u"ONL_PROMPT_DISCARD_1") && !FieldShows(u"ONL_PROMPT_DISCARD_N"))
        return false;
    for (const GUI_Window* const w : HandWindows()) {
        if (ClickWindow(w)) {
            Answer(Prompt::SpellDiscard);
            return true;
        }
    }
    return false;
}

// A spell shows cards of a library in a list: the field's OK closes it.
bool OnlineBot::CloseLibraryLook()
{
    if (!LibraryListShown() || !FieldShows(u"STACK_OK_TO_CONTINUE"))
        return false;
    PressFieldButton(0);
    Answer(Prompt::LibraryLook);
    return true;
}

bool OnlineBot::PlayLand()
{
    if (m_LandTurn == s_TurnNumber)
        return false;
    for (const GUI_Window* w : HandWindows()) {
        if (GetCardWindowActor(w)->IsLand() && ClickWindow(w)) {
            m_LandTurn = s_TurnNumber;
            ++m_LandsPlayed;
            return true;
        }
    }
    return false;
}

// The payment prompt shows what is still owed: tap a land of a colour still wanted, else any for the generic
// part; with nothing that fits, cancel.
bool OnlineBot::PayWithLand()
{
    const PaymentState& payment = GetPaymentState();
    if (!payment.paying)
        return false;
    // Every step below is one answer: a land, a pool symbol, or the cancel.
    Answer(Prompt::Payment);
    const ManaCost& owed = payment.outstanding;
    const auto wanted = [&owed](const CardActor* land) {
        for (int colour = 1; colour < 6; ++colour)
            if (owed.At(colour) > 0 && Produces(land).At(colour) > 0)
                return true;
        return false;
    };
    for (const CardActor* const card : GetCardActors()) {
        if (IsOwnReadyLand(card) && wanted(card) && ClickCard(card)) {
            ++m_LandsTappedToPay;
            return true;
        }
    }
    // Only generic owed and mana in the pool: a person clicks a number shown in the pool before tapping more.
    if (!owed.HasColour() && owed.generic > 0 && ClickPoolRow())
        return true;
    for (const CardActor* const card : GetCardActors()) {
        if (owed.generic > 0 && IsOwnReadyLand(card) && ClickCard(card)) {
            ++m_LandsTappedToPay;
            return true;
        }
    }
    PressFieldButton(0);
    return true;
}

// The pool on the learner's status panel shows a count beside each symbol it holds: click the first one shown.
bool OnlineBot::ClickPoolRow()
{
    const ManaCost& pool = GetPlayerState(0)->m_ManaPool;
    const int shown[6] = {pool.white, pool.blue, pool.black, pool.red, pool.green, pool.generic};
    const auto& boxes = GetGameDisplay()->m_CounterBoxes[0];
    for (std::size_t row = 0; row < 6; ++row) {
        if (shown[row] <= 0)
            continue;
        Click((boxes[row].left + boxes[row].right) / 2, (boxes[row].top + boxes[row].bottom) / 2);
        ++m_PoolRowsClicked;
        return true;
    }
    return false;
}

// The first creature in the hand its untapped lands can pay for, once per card and turn.
bool OnlineBot::CastCreature()
{
    for (const GUI_Window* w : HandWindows()) {
        const CardActor* const card = GetCardWindowActor(w);
        if (card->GetCardType() != CT_CREATURE || !LandsCover(card->GetCost()) ||
            std::find(m_Tried.begin(), m_Tried.end(), card) != m_Tried.end())
            continue;
        m_Tried.push_back(card);
        if (!ClickWindow(w))
            continue;
        ++m_CastsStarted;
        return true;
    }
    return false;
}

// The first instant in the hand its untapped lands can pay for, once per card and turn.
bool OnlineBot::CastInstant()
{
    if (GetTableSelection().pendingSpell != nullptr || GetSpellStack().GetCount() != 0 || GetPaymentState().paying)
        return false;
    for (const GUI_Window* w : HandWindows()) {
        const CardActor* const card = GetCardWindowActor(w);
        if (card->GetCardType() != CT_INSTANT || !LandsCover(card->GetCost()) ||
            std::find(m_Tried.begin(), m_Tried.end(), card) != m_Tried.end())
            continue;
        m_Tried.push_back(card);
        if (!ClickWindow(w))
            continue;
        ++m_InstantsStarted;
        return true;
    }
    return false;
}

// The advice box asks which mode the spell takes: the first time the first answer, then the other, in turn.
bool OnlineBot::AnswerSpellMode()
{
    const Messagebox* const box = GetOnlineAdviceBox();
    if (box == nullptr || box->GetButtonCount() != 2)
        return false;
    ClickAdviceButtonNow(m_ModesAnswered++ % 2);
    Answer(Prompt::SpellMode);
    return true;
}

// The advice box with its one OK button is read and closed; a Cancel is left alone, the field's prompts go on.
bool OnlineBot::AnswerAdvice()
{
    const Messagebox* const box = GetOnlineAdviceBox();
    if (box == nullptr || box->GetButtonCount() != 1)
        return false;
    const char16_t* const cancel = GetString(u"STR_Cancel");
    if (cancel != nullptr && box->GetButton(0)->GetText() == cancel)
        return false;
    ClickAdviceButtonNow(0);
    Answer(Prompt::Advice);
    return true;
}

bool OnlineBot::ClickAdviceButtonNow(int index)
{
    const Messagebox* const box = GetOnlineAdviceBox();
    if (box == nullptr || index >= box->GetButtonCount())
        return false;
    const TextButton* const button = box->GetButton(index);
    Click((button->GetLeft() + button->GetRight()) / 2, (button->GetTop() + button->GetBottom()) / 2);
    return true;
}

void OnlineBot::ClickZone(int zone)
{
    const RasterRect& r = GetGameDisplay()->GetZoneRectByIndex(zone);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// The field asks for the target of the learner's instant: a player it may aim at (the opponent first), else a card
// on the table the rules accept (the opponent's first), else Cancel.
bool OnlineBot::ChooseSpellTarget()
{
    CardActor* const spell = GetTableSelection().pendingSpell;
    if (spell == nullptr || spell->GetChosenTarget() != nullptr || !FieldShows(u"ONL_CHOOSE_TARGET"))
        return false;
    Answer(Prompt::Target);
    const TargetSpec& target = *spell->GetSpellTarget();
    const bool helps = spell->GetState() == 1 || spell->GetState() == 2;
    if (target.opponent && !helps) {
        ClickZone(CPU_PANEL_ZONE);
        return true;
    }
    if (target.caster) {
        ClickZone(HUMAN_PANEL_ZONE);
        return true;
    }
    for (const int owner : {PLAYER_CPU, PLAYER_HUMAN}) {
        for (CardActor* const card : GetCardActors()) {
            if (card->GetOwner() == owner && !card->IsHeld() &&
                ChooseTarget(spell, card, false, true, false, nullptr) == card && ClickCard(card))
                return true;
        }
    }
    ++m_TargetsCancelled;
    PressFieldButton(0);
    return true;
}

// Every creature that can attack, one click each; then the field button ends the declaration.
bool OnlineBot::DeclareAttacker()
{
    for (const CardActor* const card : GetCardActors()) {
        if (!IsOwnCreatureOnTable(card) || card->GetTapState() != TAP_READY || card->IsAttacking() ||
            card->IsSummoningSick() || card->GetStats().cannotAttack ||
            std::find(m_Tried.begin(), m_Tried.end(), card) != m_Tried.end())
            continue;
        m_Tried.push_back(card);
        if (ClickCard(card)) {
            ++m_AttackersDeclared;
            return true;
        }
    }
    return false;
}

// Once per CPU attack: the biggest attacker gets the first untapped creature able to stop it.
bool OnlineBot::Block()
{
    if (s_HumanBlockStep != 1 || !s_HumanBlockingEntered || m_BlockTurn == s_TurnNumber)
        return false;
    const CardActor* attacker = nullptr;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == 1 && card->IsAttacking() && !card->IsHeld() &&
            (attacker == nullptr || card->GetStats().power > attacker->GetStats().power))
            attacker = card;
    }
    m_BlockTurn = s_TurnNumber;
    if (attacker == nullptr)
        return false;
    for (const CardActor* const card : GetCardActors()) {
        const CreatureStats& stats = card->GetStats();
        if (!IsOwnCreatureOnTable(card) || card->GetTapState() == TAP_TAPPED || stats.hasCannotBlock ||
            (attacker->GetStats().flying && !stats.flying && !stats.flyBlock) || attacker->GetStats().isUnblockable)
            continue;
        if (!ClickCard(card))
            continue;
        // The second click lands on the attacker once the first has picked the blocker.
        const std::vector<Point> first = m_Pending;
        if (!ClickCard(attacker)) {
            m_Pending = first;
            return true;
        }
        std::vector<Point> both = first;
        both.insert(both.end(), m_Pending.begin(), m_Pending.end());
        m_Pending = both;
        ++m_BlocksTried;
        return true;
    }
    return false;
}

void OnlineBot::PressFieldButton(int fromRight)
{
    const GameDisplay& display = *GetGameDisplay();
    // Before the scene has loaded its buttons there is nothing to press.
    if (display.m_FixedButtons[BUTTON_NO] < 0 || display.m_FixedButtons[BUTTON_YES] < 0)
        return;
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
