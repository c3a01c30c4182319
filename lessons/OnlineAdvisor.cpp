#include "lessons/OnlineAdvisor.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/OnlineAdviceWords.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/TurnFlags.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "lessons/CpuOnlineTurn.h"
#include "lessons/HumanOnlineTurn.h"
#include "lessons/OnlineAdviceFamilies.h"
#include "lessons/OnlineSentences.h"
#include "rules/BoardQueries.h"
#include "rules/GameQueries.h"
#include "rules/HumanPayment.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"

#include <memory>

namespace {

constexpr int ADVICE_UNTAP_EXPLAINED = 999;
constexpr int ADVICE_ABILITY_LEARNER = 1001;
constexpr int ADVICE_MANA_BURN = 1010;
constexpr int ADVICE_CHOOSE_MANA = 1020;
constexpr int MIN_BOX_HEIGHT = 140;
constexpr int STEP_BAR_ATTACK = 6;
constexpr float ARROW_WIDTH = 70.0f;
constexpr float ARROW_ABOVE = 22.0f;
constexpr float ARROW_BELOW = 21.0f;
constexpr float ARROW_DEPTH = 20.0f;

std::unique_ptr<Messagebox> s_pAdviceBox;
// The box keeps a pointer to this text: the advice text is owned here for as long as the box shows it.
std::u16string s_BoxText;
bool s_ArrowOn = false;
int s_ArrowX = 0;
int s_ArrowY = 0;

bool IsBoxUp()
{
    const GameDisplay* const display = GetGameDisplay();
    return s_pAdviceBox != nullptr && display != nullptr && display->IsWindowRegistered(s_pAdviceBox.get());
}

void TakeBoxOff()
{
    if (IsBoxUp())
        GetGameDisplay()->UnregisterWindow(s_pAdviceBox.get());
    s_ArrowOn = false;
}

void SetAdviceNumber(OnlineAdvisorState& m, int number)
{
    m.advice = number;
    g_OnlineAdviceNumber = number;
}

void Speak(const std::vector<std::u16string>& clips)
{
    for (std::size_t i = 0; i < clips.size(); ++i)
        QueueVoice(clips[i].c_str(), i == 0);
}

void AddChoiceButtons(Messagebox& box)
{
    for (const char16_t* const key : {u"STR_GainLife", u"STR_PreventDamage"})
        box.AddButton(GetString(key), PackColour(255, 255, 255), PackColour(224, 248, 248), PackColour(36, 83, 83),
                      MESSAGEBOX_BUTTON_FONT, -1, -1);
    box.MakeButtonsSameWidth();
}

void BuildBox(const Advice& a, OnlineAdvisorState& m)
{
    if (s_pAdviceBox == nullptr)
        s_pAdviceBox = std::make_unique<Messagebox>(DIALOG_KIND_MESSAGEBOX);
    Messagebox& box = *s_pAdviceBox;
    GameDisplay* const display = GetGameDisplay();
    TakeBoxOff();
    box.Reset();
    box.ClearButtons();
    box.SetScaledSize(a.width, a.height);
    s_BoxText = AdviceText(a);
    if (a.record != nullptr && !a.choice) {
        box.SetTextBlock(a.record, true, a.ok || a.cancel, a.ok || a.cancel ? 1 : 0, 0);
    } else {
        box.SetText(s_BoxText.c_str(), false, false);
    }
    if (a.choice)
        AddChoiceButtons(box);
    else if (a.ok)
        box.CreateButtons(0);
    else if (a.cancel)
        box.CreateButtons(1);
    box.AutoSize();
    if (box.GetHeight() < MIN_BOX_HEIGHT)
        box.SetRect(box.GetLeft(), box.GetTop(), box.GetRight(), box.GetTop() + MIN_BOX_HEIGHT, true);
    if (m.moveBox || a.moveBox) {
        m.moveBox = false;
        const int x = static_cast<int>(static_cast<float>(display->m_Width - ADVICE_BOX_WIDTH) / 1.5f);
        const int y = static_cast<int>(static_cast<float>(display->m_Height - ADVICE_BOX_HEIGHT) / 2.0f);
        box.MoveTo(x, y, true);
    }
    display->PlaceAdviceWindow(&box);
    display->RegisterWindow(&box);
}

// What showing the advice does to the game besides the box.
void ApplySideEffects(const Advice& a)
{
    if (a.burnsPool)
        ApplyManaBurn(PLAYER_HUMAN);
    if (a.skipsBlocking && s_HumanBlockStep < 2) {
        s_HumanBlockStep = 2;
        if (GetCpuCombatStep() < 3)
            SetCpuCombatStep(3);
    }
    if (a.explainsAttack) {
        s_bAttackExplained = true;
        if (GameDisplay* const display = GetGameDisplay())
            display->m_CurrentPhase = STEP_BAR_ATTACK;
    }
}

void PlaceArrow(const Advice& a)
{
    s_ArrowOn = a.arrow;
    if (!a.arrow)
        return;
    if (a.arrowPlaced) {
        s_ArrowX = a.arrowX;
        s_ArrowY = a.arrowY;
        return;
    }
    RasterRect area;
    GetGameDisplay()->GetPlayAreaRect(area);
    s_ArrowX = area.right - 42;
    s_ArrowY = area.bottom - 16;
}

// Shows the chosen advice. Advice equal to the one on screen leaves the box as it is: no re-layout, no voice.
void Show(const Advice& a, OnlineAdvisorState& m)
{
    const bool same = IsBoxUp() && IsSameAdvice(a, m.shown);
    SetAdviceNumber(m, a.number);
    m.busy = m.busy || a.busy;
    if (same)
        return;
    m.shown = a;
    Speak(a.voice);
    if (a.costGeneric >= 0)
        ExplainManaCostOnce(a.costGeneric, a.costColored, a.costColour);
    ApplySideEffects(a);
    PlaceArrow(a);
    BuildBox(a, m);
}

void DrawArrow()
{
    Raster* const raster = GetRaster();
    const int texture = GetTextureByName(u"hintarrow");
    if (!s_ArrowOn || raster == nullptr || texture <= 0)
        return;
    const float x = static_cast<float>(s_ArrowX);
    const float y = static_cast<float>(s_ArrowY);
    raster->DrawTextureEx(texture, x - ARROW_WIDTH, y - ARROW_ABOVE, x, y + ARROW_BELOW, ARROW_DEPTH, PRIM_COLOR_KEY);
}

// ---- Answers ------------------------------------------------------------------------------------------------

void TurnPage(OnlineAdvisorState& m, bool answered)
{
    if (m.page > 1)
        --m.page;
    if (m.page != 1)
        return;
    (void)answered;
    s_bAttackExplained = true;
    if (GameDisplay* const display = GetGameDisplay())
        display->m_CurrentPhase = STEP_BAR_ATTACK;
}

void AnswerOk(OnlineAdvisorState& m, bool answered)
{
    const int n = m.advice;
    if ((n >= 1 && n <= 3) || n == ADVICE_UNTAP_EXPLAINED)
        m.untapSummary = 0;
    else if (n >= 10 && n <= 13)
        m.remindersDone = true;
    else if (n == 14 || n == 15)
        m.endMainDone = true;
    else if (n == 43 || n == 44)
        TurnPage(m, answered);
    else if (n >= 83 && n <= 89) {
        if (m.watchedCard != nullptr)
            m.watchedCard->SetState(0);
        m.watchedCard = nullptr;
    } else if (n == ADVICE_MANA_BURN) {
        SetAdviceNumber(m, 0);
        m.pendingManaBurn = 0;
    }
}

void Close(OnlineAdvisorState& m)
{
    s_pAdviceBox->ClearClickedButton();
    m.answered = true;
    m.redraw = true;
    m.busy = false;
    TakeBoxOff();
}

void HandleAnswer(OnlineAdvisorState& m, CardActor* advised)
{
    if (s_pAdviceBox == nullptr)
        return;
    const int answer = IsBoxUp() ? s_pAdviceBox->GetAnswer() : -1;
    if (m.shown.choice) {
        if (answer < 0)
            return;
        if (advised != nullptr && advised->GetId() == CD_WENORTH && advised->GetState() == 0)
            advised->SetState(answer + 1);
        Close(m);
        return;
    }
    if ((m.advice == 43 || m.advice == 44) && m.page > 1 && s_bAttackExplained) {
        m.redraw = true;
        m.page = 1;
    }
    const bool hasOk = m.shown.ok;
    if (!(hasOk && m.redraw) && answer < 0)
        return;
    if (hasOk)
        AnswerOk(m, answer >= 0);
    else if (advised != nullptr)
        CancelAdvisedPayment();
    Close(m);
}

// ---- Choosing the colour of extra mana -------------------------------------------------------------------------

void UpdateChooseManaPrompt(OnlineAdvisorState& m)
{
    if (m.chooseManaCount <= 0)
        return;
    Advice a;
    a.number = ADVICE_CHOOSE_MANA;
    a.key = u"ONL_CHOOSE_MANA";
    a.args = {IntToWString(m.chooseManaCount)};
    a.ok = false;
    a.height = 200;
    a.busy = true;
    Show(a, m);
    const int row = GetClickedPoolRow();
    if (row < 10 || row > 14)
        return;
    // Rows 10-14: white, blue, black, red, green.
    static constexpr int COUNTERS[5] = {5, 3, 4, 1, 2};
    ++GetPlayerState(PLAYER_HUMAN)->m_ManaPool.At(COUNTERS[row - 10]);
    UpdateHumanAvailableMana();
    if (--m.chooseManaCount > 0)
        return;
    m.busy = false;
    m.redraw = true;
    GetSpellStack().m_PromptCode = m.savedPromptCode;
    SetAdviceNumber(m, 0);
    TakeBoxOff();
}

// ---- The frame ----------------------------------------------------------------------------------------------

bool GameIsOver()
{
    return GetPlayerState(PLAYER_HUMAN)->HasLost() || GetPlayerState(PLAYER_CPU)->HasLost();
}

// Items before a new situation is looked at; false when the frame stops here.
bool PassGates(OnlineAdvisorState& m, CardActor* advised, const AdviceSituation& s)
{
    UpdateChooseManaPrompt(m);
    const bool closeBlocked = s_bCloseBlock && (m.advice == 50 || (m.advice >= 58 && m.advice <= 61) ||
                                                m.advice == ADVICE_ABILITY_LEARNER);
    if (m.advice != 0 && MayCloseAdvice() && !closeBlocked)
        HandleAnswer(m, advised);
    DrawArrow();
    if (s.turnNumber == 0 && s.humanTurn && s.activeStep == 0 && GetPlayerState(PLAYER_HUMAN)->m_CardsToDraw > 0)
        m.drawSkipped = false;
    if (m.advice >= 58 && m.advice <= 61 && !m.blockBudgetTaken && CountBlockersOfPlayer(PLAYER_HUMAN) >= 1) {
        int& budget = m.blockBudgets[static_cast<std::size_t>(m.advice - 58)];
        budget = std::max(budget - 1, 0);
        m.blockBudgetTaken = true;
    }
    if (!DetectSituationChange(m.redraw) || m.advice == ADVICE_MANA_BURN)
        return false;
    if (s.activeStep == STEP_END && m.busy)
        m.dirty = true;
    if (m.busy && m.dirty && m.advice < ADVICE_ABILITY_LEARNER) {
        m.busy = false;
        m.dirty = false;
        m.watchedCard = nullptr;
        m.untapSummary = 0;
    }
    if (m.busy)
        return false;
    m.dirty = false;
    return true;
}

// The learner's creature that was just paid for is watched until it has resolved.
void WatchNewCreature(OnlineAdvisorState& m, const AdviceSituation& s)
{
    const CardActor* const top = s.topCard;
    if (top != nullptr && top->GetOwner() == PLAYER_HUMAN && top->GetCardType() == CT_CREATURE)
        m.watchedCard = const_cast<CardActor*>(top);
}

void NewSituation(OnlineAdvisorState& m)
{
    AdviceSituation s = TakeAdviceSituation();
    WatchNewCreature(m, s);
    s.watchedCard = m.watchedCard;
    if (AdviceChoice burn = AdviseManaBurn(s, m)) {
        m.lastActiveStep = s.activeStep;
        m.lastAdvice = m.advice;
        Show(*burn, m);
        return;
    }
    m.lastActiveStep = s.activeStep;
    ++m.situations;
    m.redraw = false;
    m.chooseManaCount = 0;
    if (s.turnNumber != m.turnNumber) {
        ResetOnlineAdvisor(false);
        s = TakeAdviceSituation();
    }
    m.lastAdvice = m.advice;
    SetAdviceNumber(m, 0);
    AdviceChoice choice = ChooseAdvice(s, m);
    if (!choice || choice->number == 0) {
        StopVoiceQueue();
        m.shown = Advice();
        TakeBoxOff();
        return;
    }
    if (m.answered && IsSameAdvice(*choice, m.shown)) {
        SetAdviceNumber(m, choice->number);
        TakeBoxOff();
        return;
    }
    m.answered = false;
    if (!(IsBoxUp() && IsSameAdvice(*choice, m.shown)))
        StopVoiceQueue();
    Show(*choice, m);
}

} // namespace

void OnlineAdvisor()
{
    if (!IsOnlineLesson() || GetGameDisplay() == nullptr)
        return;
    GameDisplay* const display = GetGameDisplay();
    if (!s_bAdvisorOn || display->m_bQuitPromptOpen || display->m_bQuitConfirmed)
        return;
    OnlineAdvisorState& m = GetOnlineAdvisorState();
    if (GameIsOver()) {
        StopVoiceQueue();
        s_bAdvisorOn = false;
        TakeBoxOff();
        return;
    }
    if (FindPlayerActor(0) == nullptr || FindPlayerActor(1) == nullptr)
        return;
    const AdviceSituation s = TakeAdviceSituation();
    if (!PassGates(m, s.advisedCard, s))
        return;
    NewSituation(m);
}

Messagebox* GetOnlineAdviceBox()
{
    return IsBoxUp() ? s_pAdviceBox.get() : nullptr;
}

int GetOnlineAdvice()
{
    return GetOnlineAdvisorState().advice;
}

void DeleteOnlineAdviceBox()
{
    TakeBoxOff();
    OnlineAdvisorState& m = GetOnlineAdvisorState();
    SetAdviceNumber(m, 0);
    m.shown = Advice();
    if (s_pAdviceBox == nullptr)
        return;
    if (GUI_Manager* const manager = GetGUIManager())
        manager->UnregisterWindow(s_pAdviceBox.get());
    s_pAdviceBox.reset();
}

void ResetOnlineAdvisor(bool full)
{
    OnlineAdvisorState& m = GetOnlineAdvisorState();
    const int pool = GetPlayerState(PLAYER_HUMAN)->m_ManaPool.Total();
    TakeBoxOff();
    if (full) {
        ResetAdvisorGame();
        ResetOnlineAdviceWords();
    } else {
        if (pool > 0)
            m.pendingManaBurn = pool;
        ResetAdvisorTurn();
    }
    SetAdviceNumber(m, 0);
    m.turnNumber = s_TurnNumber;
    m.landsAtTurnStart = CountLandsInPlay(PLAYER_HUMAN);
}

void CancelAdvisedPayment()
{
    CardActor* const card = GetAdvisedCard();
    if (card == nullptr)
        return;
    CancelPaymentOnCard(card);
    TableSelection& selection = GetTableSelection();
    if (selection.pendingSpell == card) {
        selection.pendingSpell = nullptr;
        selection.spellPayment = false;
    }
    ForgetHumanCastingCard();
}

void ForgetAdvisedActor(const Actor* actor)
{
    OnlineAdvisorState& m = GetOnlineAdvisorState();
    if (actor == nullptr)
        return;
    if (static_cast<const Actor*>(m.watchedCard) == actor)
        m.watchedCard = nullptr;
    if (static_cast<const Actor*>(m.bestCreatureAfter) == actor)
        m.bestCreatureAfter = nullptr;
    if (static_cast<const Actor*>(m.killableAfter) == actor)
        m.killableAfter = nullptr;
}

void BeginChooseMana(const CardActor* land)
{
    const int auras = CountBrailmelAuras(land);
    if (auras <= 0)
        return;
    OnlineAdvisorState& m = GetOnlineAdvisorState();
    m.chooseManaCount = auras;
    m.savedPromptCode = GetSpellStack().m_PromptCode;
    SetAdviceNumber(m, ADVICE_CHOOSE_MANA);
    m.busy = true;
}
