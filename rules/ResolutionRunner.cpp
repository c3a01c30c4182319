// The running of a paused resolution: once a frame the prompt advances by its step word, shows its text in the
// stack's window (physical lesson) or the message field (online lesson), plays its voice, waits for the learner
// and finally hands the stack back.
#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/CardWindows.h"
#include "cards/LibraryDialog.h"
#include "cards/LifeToken.h"
#include "cards/MessagePrompts.h"
#include "cards/TableScene.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/AdviceState.h"
#include "gamestate/LessonState.h"
#include "gamestate/RulesLessonCalls.h"
#include "gamestate/TableFlowState.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "rules/Decks.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/ResolutionPrompts.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr int SOUND_SHUFFLE = 20;
constexpr int LESSON_TAG_SORCERY = 14;
constexpr int LESSON_TAG_HIDES_STACK = 11;
constexpr float ARROW_DEPTH_OFFSET = 15.0f;
constexpr float PILE_GLOW_DEPTH = 20000.0f;
constexpr float TARGET_GLOW_DEPTH = 100.0f;
constexpr int FIELD_NO_BUTTON = 0;
constexpr int FIELD_OK = 1;
constexpr int FIELD_CANCEL = 3;
constexpr int BUTTONS_OK = 0;
constexpr int BUTTONS_CANCEL = 1;

std::unique_ptr<Messagebox> s_pStackWindow;
int s_PromptCardsLeft = 0;
bool s_OppDamageKilled = false;
bool s_OwnDamageKilled = false;
bool s_OwnDamageSurvived = false;
CardActor* s_pSpentSorcery = nullptr;
std::u16string s_PromptTextBuffer;
std::u16string s_LastVoice;
int s_Row = 0;

PlayerState& Human()
{
    return *GetPlayerState(PLAYER_HUMAN);
}

PlayerState& Cpu()
{
    return *GetPlayerState(PLAYER_CPU);
}

bool ButtonPressed()
{
    return s_pStackWindow != nullptr && s_pStackWindow->GetAnswer() >= 0;
}

std::u16string NameOf(const CardActor* card)
{
    const char16_t* const name = card != nullptr ? card->GetNameField() : nullptr;
    return name != nullptr ? std::u16string(name) : std::u16string();
}

void PlayVoice(const char16_t* voice)
{
    if (voice == nullptr)
        return;
    s_LastVoice = voice;
    if (HintRegistry* const registry = GetHintRegistry())
        registry->PlayVoiceLimited(voice, -1, true);
}

RasterRect CardRectOf(const CardActor* card)
{
    RasterRect rect{};
    if (card != nullptr)
        GetGameDisplay()->GetCardRect(card, rect, false);
    return rect;
}

int CentreX(const RasterRect& r)
{
    return r.left + (r.right - r.left) / 2;
}

int CentreY(const RasterRect& r)
{
    return r.top + (r.bottom - r.top) / 2;
}

void GlowAround(const RasterRect& rect, float depth)
{
    GetGameDisplay()->DrawHoverGlow(rect, depth, 255, 255, 255, false);
}

void GlowAroundCard(const CardActor* card, float depth)
{
    if (card != nullptr)
        GlowAround(CardRectOf(card), depth);
}

// Starts the human's life token on its way from the previous life.
void StartHumanLifeChange()
{
    ChangeLifeTotal(GetLifeToken(PLAYER_HUMAN), 1, Human().m_PreviousLife);
}

bool HumanTokenReady()
{
    const LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    return token == nullptr || token->IsReady();
}

bool CpuTokenIdle()
{
    const LifeToken* const token = GetLifeToken(PLAYER_CPU);
    return token == nullptr || token->IsIdle();
}

int HumanHandCount()
{
    int count = 0;
    for (int i = 0; i < GetActorCount(); ++i) {
        const CardActor* const card = AsCardActor(GetActorAt(i));
        if (card != nullptr && card->GetOwner() == PLAYER_HUMAN && card->IsHeld() && !card->IsInLibrary() &&
            card->IsNotLeaving())
            ++count;
    }
    return count;
}

bool LandLeftInHumanLibrary()
{
    const PlayerState& human = Human();
    const int end = std::min(human.m_LibraryCount, LIBRARY_CAPACITY);
    for (int i = std::max(0, human.m_NextDrawIndex); i < end; ++i) {
        const int id = human.m_Library[static_cast<std::size_t>(i)];
        if (id >= 0 && id < CD_NUMBER_OF_CARD_DEFS && g_CardDefs[id].IsLand())
            return true;
    }
    return false;
}

int CardsLeftInHumanLibrary()
{
    return std::max(0, Human().m_LibraryCount - Human().m_NextDrawIndex);
}

// Text of the key formatted with the arguments into the buffer; the window gets a copy.
void SetPromptText(Messagebox& window, const char16_t* key, std::initializer_list<std::u16string_view> args)
{
    const char16_t* const text = key != nullptr ? GetString(key) : nullptr;
    s_PromptTextBuffer = text != nullptr ? FormatString(text, args) : std::u16string(key != nullptr ? key : u"");
    window.CopyText(s_PromptTextBuffer);
}

void ShowOnline(const std::u16string& text, int kind, bool* clicked)
{
    std::u16string& owner = OnlinePromptOwner();
    owner = text;
    const int answer = GetGameDisplay()->ShowMessagePrompt(owner, kind);
    if (clicked != nullptr)
        *clicked = answer == 1;
}

std::u16string Num(int value)
{
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string StringOf(const char16_t* key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? std::u16string(text) : std::u16string(key);
}

} // namespace

bool IsOnlinePromptShowing()
{
    return !OnlinePromptOwner().empty() && OnlinePromptOwner() == s_PromptTextBuffer;
}

const std::u16string& GetLastPromptVoice()
{
    return s_LastVoice;
}

void ClearLastPromptVoice()
{
    s_LastVoice.clear();
}

CardActor* GetSpentSorcery()
{
    return s_pSpentSorcery;
}

void ForgetSpentSorcery(const Actor* actor)
{
    if (actor != nullptr && static_cast<const Actor*>(s_pSpentSorcery) == actor)
        s_pSpentSorcery = nullptr;
}

int CountCardsStillInLibrary()
{
    int count = 0;
    for (int i = 0; i < GetActorCount(); ++i) {
        const CardActor* const card = AsCardActor(GetActorAt(i));
        if (card != nullptr && card->GetOwner() == PLAYER_HUMAN && card->IsInLibrary() &&
            card->m_DeckCardMarker != 0 && card->m_DealMark == 0)
            ++count;
    }
    return count;
}

Messagebox* SpellStack::GetWindow() const
{
    return s_pStackWindow.get();
}

bool SpellStack::IsWindowUp() const
{
    return s_pStackWindow != nullptr && GetGameDisplay()->IsWindowRegistered(s_pStackWindow.get());
}

void SpellStack::CloseWindow()
{
    if (!IsWindowUp())
        return;
    GetGameDisplay()->UnregisterWindow(s_pStackWindow.get());
    s_pStackWindow->Reset();
    s_pStackWindow->ClearClickedButton();
}

void SpellStack::OpenPromptWindow()
{
    m_SorceryArrowsShown = 0;
    m_DestroyArrowsShown = 0;
    m_DestroyArrowDrawn = false;
    m_PromptMode = 0;
    s_pSpentSorcery = nullptr;
    if (s_pStackWindow == nullptr)
        s_pStackWindow = std::make_unique<Messagebox>(DIALOG_KIND_MESSAGEBOX);
}

void SpellStack::DeletePromptWindows()
{
    CloseLibraryList();
    if (s_pStackWindow == nullptr)
        return;
    // The display and the toolkit only refer to the window: both forget it before it goes.
    GameDisplay* const display = GetGameDisplay();
    if (display->IsWindowRegistered(s_pStackWindow.get()))
        display->UnregisterWindow(s_pStackWindow.get());
    GetGUIManager()->UnregisterWindow(s_pStackWindow.get());
    s_pStackWindow.reset();
}

void SpellStack::EndResolution(bool sendAway)
{
    if (m_DestroyArrowDrawn)
        ++m_DestroyArrowsShown;
    m_DestroyArrowDrawn = false;
    m_ResolutionPaused = false;
    m_PausedWord = 0;
    m_PromptState = 0;
    m_PromptCard = nullptr;
    m_PromptCode = STACK_PROMPT_NONE;
    if (IsOnlinePromptShowing())
        OnlinePromptOwner().clear();
    s_PromptTextBuffer.clear();
    s_PromptCardsLeft = 0;
    s_Row = 0;
    if (m_Physical != 0)
        m_PromptMode = 2;
    if (HintRegistry* const registry = GetHintRegistry())
        registry->StopVoices();
    CardActor* const card = m_ResolvingCard;
    // A spent sorcery or instant kept on the table while the prompt ran now goes.
    if (sendAway && card != nullptr && !card->IsPermanentType() && card->IsNotLeaving() && !card->IsHeld()) {
        const bool lost = card->GetOwner() == PLAYER_HUMAN && Human().HasLost();
        card->LeavePlay(lost ? LEAVE_SACRIFICE : LEAVE_NO_REGENERATION);
    }
    m_ResolvingCard = nullptr;
    m_ResolvingEffect = nullptr;
    m_ResolvingTarget = nullptr;
    m_ResolvingTargetCard = nullptr;
    m_ResolvingTargetPlayer = nullptr;
    m_ResolvingIsAbility = false;
    m_LandSearch = false;
}

namespace {

// The basic game's spell explanation opens: text, voice and buttons of its row. False when it ended at once.
bool OpenBasicRow(SpellStack& stack, Messagebox& window, const ResolutionPromptText& prompt)
{
    const EffectSpec& effect = *stack.m_ResolvingEffect;
    switch (prompt.row) {
    case 5:
        Cpu().m_CardsToDraw = effect.drawAmt;
        break;
    case 6:
        if (stack.m_ResolvingTargetCard != nullptr && stack.m_ResolvingTargetPlayer == nullptr) {
            s_OppDamageKilled = !stack.m_ResolvingTargetCard->IsNotLeaving();
            if (!s_OppDamageKilled) {
                stack.EndResolution(true);
                return false;
            }
        }
        break;
    case 8:
        StartHumanLifeChange();
        stack.m_PausedWord = 2;
        return true;
    case 9: {
        CardActor* const chosen = AsCardActor(stack.m_ResolvingCard->GetChosenTarget());
        if (effect.discardAmt == 1 && chosen != nullptr)
            chosen->LeavePlay(LEAVE_DISCARD);
        else
            stack.CpuDiscardAtRandom(effect.discardAmt);
        break;
    }
    case 10:
        if (const CardActor* const target = stack.m_ResolvingTargetCard;
            target != nullptr && stack.m_ResolvingTargetPlayer == nullptr) {
            s_OwnDamageKilled = !target->IsNotLeaving();
            s_OwnDamageSurvived = target->IsNotLeaving();
        }
        break;
    default:
        break;
    }
    window.Reset();
    window.ClearClickedButton();
    if (prompt.okButton)
        window.CreateButtons(BUTTONS_OK);
    if (prompt.row == 5)
        window.SetButtonDisabled(0, true);
    PlayVoice(prompt.voice);
    s_PromptTextBuffer = prompt.key != nullptr ? prompt.key : u"";
    stack.m_PromptMode = 1;
    return true;
}

// The amount a basic row's text shows.
int RowAmount(const EffectSpec& effect, int row)
{
    switch (row) {
    case 4:
        return effect.modLifeAmt;
    case 5:
        return effect.drawAmt;
    case 9:
        return effect.discardAmt;
    default:
        return effect.damageAmt;
    }
}

// Later steps of a basic row: waits as the row says, then ends.
void StepBasicRow(SpellStack& stack, Messagebox& window)
{
    const int humanLife = Human().GetLife();
    const int cpuLife = Cpu().GetLife();
    const bool pressed = ButtonPressed();
    switch (s_Row) {
    case 1:
    case 3:
        GlowAroundCard(stack.m_ResolvingTargetCard, s_Row == 3 ? TARGET_GLOW_DEPTH
                                                                : (stack.m_ResolvingTargetCard != nullptr
                                                                       ? stack.m_ResolvingTargetCard->m_Position.z
                                                                       : 0.0f));
        if (CountPendingCards(PLAYER_HUMAN) == 0)
            stack.EndResolution(true);
        return;
    case 2:
        if (humanLife < 1 ? pressed : HumanTokenReady() && CpuTokenIdle())
            stack.EndResolution(true);
        return;
    case 4:
        if (window.GetButtonCount() > 0)
            window.SetButtonDisabled(0, !CpuTokenIdle());
        if (pressed)
            stack.EndResolution(true);
        return;
    case 5:
        if (stack.m_PausedWord == 2) {
            if (Cpu().HasLost()) {
                stack.EndResolution(true);
            } else if (g_RulesLessonCalls.IsHandAnimationBusy == nullptr || !g_RulesLessonCalls.IsHandAnimationBusy()) {
                if (window.GetButtonCount() > 0)
                    window.SetButtonDisabled(0, false);
                stack.m_PausedWord = 3;
            }
        } else if (pressed) {
            stack.EndResolution(true);
        }
        return;
    case 6:
        if (s_OppDamageKilled) {
            GlowAroundCard(stack.m_ResolvingTargetCard, stack.m_ResolvingTargetCard != nullptr
                                                            ? stack.m_ResolvingTargetCard->m_Position.z
                                                            : 0.0f);
            if (CountPendingCards(PLAYER_HUMAN) == 0) {
                s_OppDamageKilled = false;
                stack.EndResolution(true);
            }
            return;
        }
        if (humanLife < 1) {
            if (pressed)
                stack.EndResolution(true);
            return;
        }
        if (!HumanTokenReady()) {
            StartHumanLifeChange();
            stack.EndResolution(true);
        } else if (pressed) {
            stack.EndResolution(true);
        }
        return;
    case 7:
        if (cpuLife < 1) {
            if (pressed)
                stack.EndResolution(true);
        } else if (!HumanTokenReady()) {
            StartHumanLifeChange();
            stack.EndResolution(true);
        }
        return;
    case 8:
        if (HumanTokenReady())
            stack.EndResolution(true);
        return;
    case 9: {
        RasterRect pile{};
        GetGameDisplay()->GetOpponentGraveyardRect(pile, false);
        GlowAround(pile, PILE_GLOW_DEPTH);
        if (window.GetButtonCount() > 0)
            window.SetButtonDisabled(0, g_RulesLessonCalls.IsHandDemoBusy != nullptr &&
                                            g_RulesLessonCalls.IsHandDemoBusy());
        if (pressed)
            stack.EndResolution(true);
        return;
    }
    case 10: {
        bool done = false;
        if (!s_OwnDamageKilled && !s_OwnDamageSurvived)
            done = cpuLife < 1 ? pressed : GetCurrentVoice() == 0 || pressed;
        else
            done = (s_OwnDamageKilled && GetCurrentVoice() == 0) || pressed;
        if (done) {
            s_OwnDamageKilled = false;
            s_OwnDamageSurvived = false;
            stack.EndResolution(true);
        }
        return;
    }
    default:
        return;
    }
}

void PhysicalDrawDiscard(SpellStack& stack, Messagebox& window)
{
    const EffectSpec& effect = *stack.m_ResolvingEffect;
    const bool human = stack.m_ResolvingTargetPlayer != nullptr &&
                       stack.m_ResolvingTargetPlayer == FindActorByName(u"player");
    const std::u16string name = NameOf(stack.m_ResolvingCard);
    switch (stack.m_PausedWord) {
    case 1:
        if (effect.drawAmt == 0) {
            stack.m_PausedWord = 3;
            return;
        }
        if (human) {
            s_PromptCardsLeft = effect.drawAmt;
            const ResolutionPromptText prompt = GetDrawPrompt(stack.m_ResolvingIsAbility, effect.drawAmt);
            PlayVoice(prompt.voice);
            window.ClearButtons();
            SetPromptText(window, prompt.key, {name, Num(effect.drawAmt)});
            stack.m_PromptMode = 1;
        } else {
            Cpu().m_CardsToDraw = effect.drawAmt;
        }
        stack.m_PausedWord = 2;
        return;
    case 2:
        if (!human) {
            if (g_RulesLessonCalls.IsDrawHandAtRest == nullptr || g_RulesLessonCalls.IsDrawHandAtRest())
                stack.m_PausedWord = 3;
            return;
        }
        if (CountCardsStillInLibrary() != 0)
            return;
        if (s_PromptCardsLeft == 0) {
            stack.m_PausedWord = 3;
            return;
        }
        if (PlayerState& record = Human(); record.m_NextDrawIndex < std::min(record.m_LibraryCount, LIBRARY_CAPACITY)) {
            CardActor* const card =
                CreateCardActor(record.m_Library[static_cast<std::size_t>(record.m_NextDrawIndex)], PLAYER_HUMAN);
            ++record.m_NextDrawIndex;
            --s_PromptCardsLeft;
            if (card != nullptr) {
                // It lies on the pile until the learner drags it to the hand.
                card->SetInLibrary(true);
                card->m_DeckCardMarker = 1;
                RasterRect pile{};
                GetGameDisplay()->GetPlayerLibraryRect(pile, true);
                card->m_Position.x = static_cast<float>(pile.left);
                card->m_Position.y = static_cast<float>(pile.top);
                card->m_TargetPoint.x = card->m_Position.x;
                card->m_TargetPoint.y = card->m_Position.y;
                card->m_PreviousPosition = card->m_Position;
                GetTableFlow().cardDrawnByHand = card;
            }
        } else {
            record.SetDrewFromEmptyLibrary(true);
            stack.EndResolution(true);
        }
        return;
    case 3:
        if (effect.discardAmt == 0) {
            stack.EndResolution(true);
            return;
        }
        if (!human) {
            CardActor* const chosen = AsCardActor(stack.m_ResolvingCard->GetChosenTarget());
            if (stack.m_ResolvingCard->GetId() == CD_PRAILGAST && chosen != nullptr) {
                chosen->LeavePlay(LEAVE_DISCARD);
            } else {
                stack.CpuDiscardAtRandom(effect.discardAmt);
                if (stack.m_ResolvingCard->GetOwner() == PLAYER_HUMAN && !stack.m_ResolvingIsAbility)
                    PlayVoice(u"vo_phys\\basic_spell_oppdiscard.wav");
            }
        } else {
            stack.m_PromptCard = nullptr;
            s_PromptCardsLeft = std::min(effect.discardAmt, HumanHandCount());
            const ResolutionPromptText prompt = GetDiscardPrompt(stack.m_ResolvingCard->GetOwner() == PLAYER_CPU,
                                                                 stack.m_ResolvingIsAbility, s_PromptCardsLeft);
            PlayVoice(prompt.voice);
            window.ClearButtons();
            SetPromptText(window, prompt.key, {name, Num(s_PromptCardsLeft)});
            stack.m_PromptMode = 1;
        }
        stack.m_PausedWord = 4;
        return;
    default:
        if (human && s_PromptCardsLeft != 0) {
            CardActor* const dropped = stack.m_PromptCard;
            if (dropped != nullptr && dropped->GetOwner() == PLAYER_HUMAN && dropped->IsHeld()) {
                dropped->LeavePlay(LEAVE_DISCARD);
                stack.m_PromptCard = nullptr;
                --s_PromptCardsLeft;
            }
        } else if (human || g_RulesLessonCalls.AreHandDemosIdle == nullptr || g_RulesLessonCalls.AreHandDemosIdle()) {
            stack.EndResolution(true);
        }
        return;
    }
}

void PhysicalHumanSearch(SpellStack& stack, Messagebox& window)
{
    switch (stack.m_PausedWord) {
    case 1:
        stack.m_ResolvingTargetCard = nullptr;
        window.Reset();
        window.ClearClickedButton();
        if (!LandLeftInHumanLibrary())
            window.CreateButtons(BUTTONS_CANCEL);
        SetPromptText(window, u"PHYS_PROMPT_ZOLAKSAR_SEARCH", {});
        PlayVoice(u"vo_phys\\basic_spell_zolaksar01.wav");
        stack.m_PromptMode = 1;
        stack.OpenLibraryList(PLAYER_HUMAN, 40, true);
        stack.m_PausedWord = 2;
        return;
    case 2: {
        if (ButtonPressed()) {
            stack.CloseLibraryList();
            stack.EndResolution(true);
            return;
        }
        CardActor* const card = stack.m_ResolvingTargetCard;
        if (card == nullptr)
            return;
        card->SetInLibrary(false);
        card->SetHeld(false);
        card->SetExitMove(0);
        card->SetTapState(stack.m_ResolvingEffect->raiseTutorType == RAISETUTOR_TOPLAYTAPPED ? TAP_TAPPED
                                                                                            : TAP_READY);
        stack.CloseLibraryList();
        if (CardsLeftInHumanLibrary() == 0) {
            stack.EndResolution(true);
            return;
        }
        window.ClearButtons();
        SetPromptText(window, u"PRE_PHYS_PROMPT_ZOLAKSAR_SHUFFLE", {});
        stack.m_PromptMode = 1;
        PlayVoice(u"vo_phys\\basic_spell_zolaksar02.wav");
        stack.m_PausedWord = 3;
        return;
    }
    default: {
        GameDisplay& display = *GetGameDisplay();
        RasterRect pile{};
        display.GetPlayerLibraryRect(pile, false);
        GlowAround(pile, PILE_GLOW_DEPTH);
        const RasterRect from{window.GetLeft(), window.GetTop(), window.GetRight(), window.GetBottom()};
        const int fx = CentreX(from);
        const int fy = CentreY(from);
        const int ex = CentreX(pile);
        const int ey = CentreY(pile);
        display.DrawCurvedArrow(fx, fy, fx + (ex - fx) / 2, fy, ex, ey, 0.5f, 1.0f, 1.0f, 1.0f, 0.5f, false, true, 16,
                                window.GetDepth() + ARROW_DEPTH_OFFSET);
        const bool overPile = MouseState.x >= pile.left && MouseState.x < pile.right && MouseState.y >= pile.top &&
                              MouseState.y < pile.bottom;
        if (MouseState.leftClicked != 0 && overPile && GetGUIManager()->GetWindowAt(MouseState.x, MouseState.y) == nullptr) {
            MouseState.leftClicked = 0;
            PlayEffect(SOUND_SHUFFLE, 255, 0, 0, 0, nullptr);
            ShuffleRestOfHumanLibrary();
            stack.EndResolution(true);
        }
        return;
    }
    }
}

void PhysicalCpuSearch(SpellStack& stack, Messagebox& window)
{
    const EffectSpec& effect = *stack.m_ResolvingEffect;
    const int kind = effect.raiseTutorType;
    if (kind != RAISETUTOR_TOPLAY && kind != RAISETUTOR_TOPLAYTAPPED) {
        stack.EndResolution(true);
        return;
    }
    CardActor* const land = stack.m_ResolvingTargetCard;
    switch (stack.m_PausedWord) {
    case 1:
        if (s_GameMode == 1 && stack.m_ResolvingCard->GetId() == CD_ZOLAKSAR) {
            window.Reset();
            window.ClearClickedButton();
            SetPromptText(window, u"PHYS_BASIC_OPPSPELL_ZOLAKSAR", {});
            window.AutoSize();
            GetGameDisplay()->PlaceAdviceWindow(&window);
            stack.m_PromptMode = 1;
        }
        if (stack.m_ResolvingTarget != nullptr && stack.m_ResolvingTarget->type == TT_LAND &&
            stack.CpuSearchLibraryForLand(stack.m_ResolvingTarget->color, kind == RAISETUTOR_TOPLAYTAPPED))
            stack.m_PausedWord = 2;
        else
            stack.EndResolution(true);
        return;
    case 2:
        if ((g_RulesLessonCalls.IsDrawHandAtRest == nullptr || g_RulesLessonCalls.IsDrawHandAtRest()) &&
            land != nullptr) {
            land->SetHeld(false);
            stack.m_PausedWord = 3;
        }
        return;
    case 3:
        if (g_RulesLessonCalls.AreHandDemosIdle == nullptr || g_RulesLessonCalls.AreHandDemosIdle()) {
            if (land != nullptr)
                land->SetTapState(TAP_TAPPED);
            stack.m_PausedWord = 4;
        }
        return;
    default:
        ShuffleRestOfCpuLibrary();
        PlayEffect(SOUND_SHUFFLE, 255, 0, 0, 0, nullptr);
        stack.EndResolution(true);
        return;
    }
}

void OnlineDrawDiscard(SpellStack& stack)
{
    const EffectSpec& effect = *stack.m_ResolvingEffect;
    switch (stack.m_PausedWord) {
    case 1:
        stack.m_PromptCard = nullptr;
        s_PromptCardsLeft = 0;
        if (g_RulesLessonCalls.DrawPendingCards == nullptr || g_RulesLessonCalls.DrawPendingCards() == 0) {
            if (Human().HasLost())
                stack.EndResolution(true);
            else
                stack.m_PausedWord = 2;
        }
        return;
    case 2:
        if (effect.discardAmt == 0) {
            stack.EndResolution(true);
            return;
        }
        s_PromptCardsLeft = std::min(effect.discardAmt, HumanHandCount());
        stack.m_PausedWord = 3;
        return;
    default: {
        if (s_PromptCardsLeft == 0) {
            stack.EndResolution(true);
            return;
        }
        const char16_t* const key = GetOnlineDiscardKey(s_PromptCardsLeft);
        const char16_t* const format = GetString(key);
        s_PromptTextBuffer = FormatString(format != nullptr ? format : key,
                                          {NameOf(stack.m_ResolvingCard), Num(s_PromptCardsLeft)});
        ShowOnline(s_PromptTextBuffer, FIELD_NO_BUTTON, nullptr);
        CardActor* const dropped = stack.m_PromptCard;
        if (dropped != nullptr && dropped->GetOwner() == PLAYER_HUMAN && dropped->IsHeld()) {
            dropped->LeavePlay(LEAVE_DISCARD);
            stack.m_PromptCard = nullptr;
            --s_PromptCardsLeft;
        }
        return;
    }
    }
}

int LibraryOwner(const SpellStack& stack)
{
    return stack.m_ResolvingCard != nullptr ? stack.m_ResolvingCard->GetOwner() : PLAYER_HUMAN;
}

void OnlineLookAtTop(SpellStack& stack)
{
    const int owner = LibraryOwner(stack);
    if (stack.m_PausedWord == 1) {
        stack.OpenLibraryList(owner, 1, false);
        s_PromptTextBuffer = StringOf(u"STACK_OK_TO_CONTINUE");
        bool clicked = false;
        ShowOnline(s_PromptTextBuffer, FIELD_OK, &clicked);
        if (!clicked)
            return;
        PlayerState& record = *GetPlayerState(owner);
        CardActor* card = nullptr;
        if (record.m_NextDrawIndex < std::min(record.m_LibraryCount, LIBRARY_CAPACITY)) {
            card = CreateCardActor(record.m_Library[static_cast<std::size_t>(record.m_NextDrawIndex)], owner);
            ++record.m_NextDrawIndex;
        }
        stack.m_ResolvingTargetCard = card;
        if (card != nullptr && card->GetCardType() == CT_CREATURE) {
            stack.m_PausedWord = 2;
            return;
        }
        if (card != nullptr)
            card->LeavePlay(LEAVE_NO_REGENERATION);
        stack.CloseLibraryList();
        stack.EndResolution(false);
        return;
    }
    if (CardActor* const card = stack.m_ResolvingTargetCard) {
        card->SetInLibrary(false);
        card->SetHeld(false);
        card->m_PaidState = 1;
        card->SetExitMove(0);
        card->SetTapState(TAP_NEW);
    }
    stack.CloseLibraryList();
    stack.EndResolution(false);
}

void OnlineSearch(SpellStack& stack)
{
    if (LibraryOwner(stack) != PLAYER_HUMAN) {
        stack.EndResolution(false);
        return;
    }
    const int kind = stack.m_ResolvingEffect->raiseTutorType;
    if (stack.m_PausedWord == 1) {
        stack.m_ResolvingTargetCard = nullptr;
        stack.OpenLibraryList(PLAYER_HUMAN, 40, true);
        stack.m_PausedWord = 2;
        return;
    }
    s_PromptTextBuffer = StringOf(kind == RAISETUTOR_TOHAND ? u"ONL_TUTOR_TOHAND" : u"ONL_TUTOR_TOPLAY");
    bool cancelled = false;
    ShowOnline(s_PromptTextBuffer, FIELD_CANCEL, &cancelled);
    CardActor* const card = stack.m_ResolvingTargetCard;
    if (card == nullptr) {
        if (cancelled) {
            stack.CloseLibraryList();
            stack.EndResolution(false);
        }
        return;
    }
    card->SetInLibrary(false);
    card->SetExitMove(0);
    if (kind == RAISETUTOR_TOHAND) {
        card->SetHeld(true);
        card->SetTapState(TAP_OFF_TABLE);
    } else {
        card->SetHeld(false);
        card->SetTapState(kind == RAISETUTOR_TOPLAYTAPPED ? TAP_TAPPED : TAP_READY);
        if (!card->IsLand())
            card->m_PaidState = 1;
    }
    ShuffleRestOfHumanLibrary();
    stack.CloseLibraryList();
    stack.EndResolution(false);
}

void OnlineSpy(SpellStack& stack)
{
    const EffectSpec& effect = *stack.m_ResolvingEffect;
    const Actor* const chosen = stack.m_ResolvingCard->GetChosenTarget();
    const int player = chosen != nullptr && chosen == FindActorByName(u"player") ? PLAYER_HUMAN : PLAYER_CPU;
    if (!stack.IsLibraryListOpen()) {
        stack.OpenLibraryList(player, effect.spyAmt, effect.spyRearrange);
        if (LibraryDialog* const list = stack.GetLibraryList())
            list->SetGridSize(effect.spyAmt, 1);
        if (Messagebox* const window = stack.GetWindow())
            GetGameDisplay()->PlaceAdviceWindow(window);
    }
    s_PromptTextBuffer = StringOf(u"STACK_OK_TO_CONTINUE");
    bool clicked = false;
    ShowOnline(s_PromptTextBuffer, FIELD_OK, &clicked);
    if (clicked) {
        stack.CloseLibraryList();
        stack.EndResolution(false);
    }
}

void RunPhysical(SpellStack& stack, Messagebox& window)
{
    const EffectSpec& effect = *stack.m_ResolvingEffect;
    const int step = stack.m_PausedWord;
    // The destroyed-card arrow, shown once a game in the basic game.
    stack.m_DestroyArrowDrawn = false;
    if (const CardActor* const target = stack.m_ResolvingTargetCard;
        s_GameMode == 1 && stack.m_DestroyArrowsShown == 0 && target != nullptr &&
        target->GetOwner() == PLAYER_HUMAN && target->IsExitMoveBackward()) {
        const RasterRect from = CardRectOf(target);
        RasterRect pile{};
        GetGameDisplay()->GetPlayerGraveyardRect(pile, false);
        const int sx = CentreX(from);
        const int sy = CentreY(from);
        const int ex = CentreX(pile);
        const int ey = CentreY(pile);
        GetGameDisplay()->DrawCurvedArrow(sx, sy, sx + (ex - sx) / 2, sy + (ey - sy) / 2, ex, ey, 0.0f, 1.0f, 1.0f,
                                          1.0f, 0.5f, false, true, 16, target->m_Position.z + ARROW_DEPTH_OFFSET);
        stack.m_DestroyArrowDrawn = true;
    }
    bool handled = false;
    if (s_GameMode == 1 && !stack.m_ResolvingIsAbility) {
        if (step == 1) {
            const ResolutionPromptText prompt = GetBasicSpellPrompt(stack);
            s_Row = prompt.row;
            if (s_Row != 0) {
                handled = true;
                if (!OpenBasicRow(stack, window, prompt))
                    return;
            }
        } else if (s_Row != 0) {
            handled = true;
            StepBasicRow(stack, window);
            if (!stack.IsPaused())
                return;
        }
    }
    if (step == 1 && stack.m_PromptMode == 1 && handled) {
        if (s_PromptTextBuffer.empty()) {
            stack.EndResolution(true);
            return;
        }
        const std::u16string key = s_PromptTextBuffer;
        const char16_t* const text = GetString(key.c_str());
        const CardActor* const target = stack.m_ResolvingTargetCard;
        const std::u16string targetName = stack.m_ResolvingTargetPlayer == nullptr ? NameOf(target) : u"";
        s_PromptTextBuffer =
            FormatString(text != nullptr ? text : key,
                         {NameOf(stack.m_ResolvingCard), targetName, Num(RowAmount(effect, s_Row)),
                          Num(Human().m_PreviousLife), Num(Human().GetLife()),
                          Num(Cpu().m_PreviousLife),
                          Num(target != nullptr && stack.m_ResolvingTargetPlayer == nullptr
                                          ? target->GetStats().toughness
                                          : 0)});
        window.CopyText(s_PromptTextBuffer);
        window.AutoSize();
        stack.m_PausedWord = 2;
    }
    if (!handled && stack.m_PromptMode != 1) {
        const bool own = stack.m_ResolvingCard->GetOwner() == PLAYER_HUMAN;
        switch (effect.effectType) {
        case EFFECT_DRAWDISCARD:
        case EFFECT_OPPONENTDISCARD:
            PhysicalDrawDiscard(stack, window);
            break;
        case EFFECT_TUTOR:
            if (own)
                PhysicalHumanSearch(stack, window);
            else
                PhysicalCpuSearch(stack, window);
            break;
        default:
            // No prompt of its own would ever release the stack.
            stack.EndResolution(true);
            break;
        }
    }
}

void ApplyWindowRequest(SpellStack& stack, Messagebox& window)
{
    GameDisplay& display = *GetGameDisplay();
    if (stack.m_PromptMode == 1) {
        if (stack.IsWindowUp())
            display.UnregisterWindow(&window);
        if (g_RulesLessonCalls.IsLessonBoxShowing != nullptr && g_RulesLessonCalls.IsLessonBoxShowing() &&
            g_RulesLessonCalls.CloseLessonBox != nullptr)
            g_RulesLessonCalls.CloseLessonBox();
        window.AutoSize();
        if (!stack.IsLibraryListOpen())
            display.PlaceAdviceWindow(&window);
        display.RegisterWindow(&window);
        stack.m_PromptMode = 0;
    } else if (stack.m_PromptMode == 2) {
        stack.CloseWindow();
        stack.m_PromptMode = 0;
    }
}

// The kind of the lesson box on screen; -1 while none is shown.
int ShownLessonBoxKind()
{
    const RulesLessonCalls& lesson = g_RulesLessonCalls;
    const bool shown = lesson.IsLessonBoxShowing != nullptr && lesson.IsLessonBoxShowing();
    return shown ? GetLessonBox()->GetKindNumber() : -1;
}

} // namespace

void SpellStack::RunResolutionPrompts()
{
    const GameDisplay* const display = GetGameDisplay();
    // The spent-sorcery arrow, shown once a game in the basic game.
    if (m_Physical != 0 && s_GameMode == 1 && m_SorceryArrowsShown == 0 && ShownLessonBoxKind() == LESSON_TAG_SORCERY) {
        if (CardActor* const sorcery = FindPendingSorcery()) {
            s_pSpentSorcery = sorcery;
            const RasterRect from = CardRectOf(sorcery);
            RasterRect pile{};
            display->GetPlayerGraveyardRect(pile, false);
            const int sx = CentreX(from);
            const int sy = CentreY(from);
            display->DrawCurvedArrow(sx, sy, sx + (CentreX(pile) - sx) / 2, sy, CentreX(pile), CentreY(pile), 0.5f,
                                     1.0f, 1.0f, 1.0f, 0.5f, false, true, 16,
                                     sorcery->m_Position.z + ARROW_DEPTH_OFFSET);
        } else if (s_pSpentSorcery != nullptr && s_pSpentSorcery->IsExitMoveForward()) {
            s_pSpentSorcery = nullptr;
            ++m_SorceryArrowsShown;
        }
    }
    if (!IsPaused())
        return;
    // A resolution without its card or effect has nothing to show.
    if (m_ResolvingCard == nullptr || m_ResolvingEffect == nullptr) {
        EndResolution(false);
        return;
    }
    if (m_Physical != 0) {
        if (s_pStackWindow == nullptr)
            OpenPromptWindow();
        Messagebox& window = *s_pStackWindow;
        RunPhysical(*this, window);
        ApplyWindowRequest(*this, window);
    } else {
        switch (m_ResolvingEffect->effectType) {
        case EFFECT_DRAWDISCARD:
        case EFFECT_OPPONENTDISCARD:
            OnlineDrawDiscard(*this);
            break;
        case EFFECT_TUTOR:
            if (m_ResolvingEffect->raiseTutorType == RAISETUTOR_LIBTOP_TARGETTOPLAY)
                OnlineLookAtTop(*this);
            else
                OnlineSearch(*this);
            break;
        case EFFECT_SPY:
            OnlineSpy(*this);
            break;
        default:
            EndResolution(true);
            break;
        }
    }
    if (!IsPaused() || !IsWindowUp())
        return;
    const bool hide = ShownLessonBoxKind() == LESSON_TAG_HIDES_STACK || IsAdviceBlocked() ||
                      IsGraveyardDialogOpen(PLAYER_HUMAN) || IsGraveyardDialogOpen(PLAYER_CPU);
    s_pStackWindow->SetHidden(hide);
}
