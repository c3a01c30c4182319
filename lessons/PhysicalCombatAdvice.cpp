#include "lessons/PhysicalCombatAdvice.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/LessonState.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TurnAdviceState.h"
#include "gui/Messagebox.h"
#include "gui/WordBalloon.h"
#include "lessons/CardTapPhysical.h"
#include "lessons/CombatAdvice.h"
#include "lessons/LessonBox.h"
#include "lessons/OpponentBalloon.h"
#include "lessons/PlayerResponse.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuResponse.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TargetPrompt.h"

#include <string>
#include <vector>

namespace {

constexpr int KIND_BLOCKS_NEXT = 23;
constexpr int KIND_BLOCKS_ASSIGN = 24;
constexpr int KIND_BLOCKS_MISCLICK = 25;
constexpr int KIND_NO_BLOCKERS = 26;
constexpr int KIND_BLOCK_PROMPT = 27;
constexpr int KIND_DAMAGE_WAIT = 30;
constexpr int KIND_DAMAGE_RESULT = 31;
constexpr int KIND_DAMAGE_NOTE = 32;
constexpr int KIND_BLOCKERS_1 = 46;
constexpr int KIND_BLOCKERS_2 = 47;
constexpr int KIND_NO_CPU_BLOCKERS = 48;
constexpr int KIND_DECLARE = 49;
constexpr int KIND_DONE_WITHOUT_ATTACKERS = 50;
constexpr int KIND_ATTACK_ANSWER = 51;
constexpr int KIND_SUMMON_SICK = 52;
constexpr int KIND_CANNOT_ATTACK = 53;
constexpr int KIND_MUST_ATTACK = 54;
constexpr int BALLOON_ANNOUNCE = 56;
constexpr int BALLOON_CPU_BLOCKS = 58;
constexpr int BALLOON_DECLARED = 59;
constexpr int PHASE_COMBAT = 5;
constexpr int PHASE_ATTACKERS = 7;
constexpr int MAX_LISTED_BLOCKERS = 40;

TurnAdviceState& Advice()
{
    return GetTurnAdviceState();
}

bool IsBasic()
{
    return s_GameMode == 1;
}

void StopVoices()
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

void PlayVoice(const char16_t* voice, bool stopFirst = true)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(voice, 1, stopFirst);
}

std::u16string Text(const char16_t* key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? std::u16string(text) : std::u16string();
}

const Messagebox* ShownBox()
{
    return IsLessonBoxShowing() ? GetLessonBox() : nullptr;
}

int ShownKind()
{
    const Messagebox* const box = ShownBox();
    return box != nullptr ? box->GetKindNumber() : -2;
}

int ShownAnswer()
{
    const Messagebox* const box = ShownBox();
    return box != nullptr ? box->GetAnswer() : -1;
}

void UnregisterBox()
{
    Messagebox* const box = GetLessonBox();
    if (GameDisplay* const display = GetGameDisplay();
        box != nullptr && display != nullptr && display->IsWindowRegistered(box)) {
        display->UnregisterWindow(box);
        box->ClearClickedButton();
    }
}

bool IsStackBusy()
{
    const SpellStack& stack = GetSpellStack();
    return stack.GetTopController() != 0 || stack.m_PromptCode != 0 || stack.IsPaused();
}

void SetPhaseMarker(int phase)
{
    if (GameDisplay* const display = GetGameDisplay())
        display->m_CurrentPhase = phase;
}

std::vector<CardActor*> CreaturesOf(int player)
{
    std::vector<CardActor*> creatures;
    for (CardActor* const card : GetCardActors())
        if (card->GetOwner() == player && card->GetCardType() == CT_CREATURE && card->IsNotLeaving() &&
            !card->IsHeld() && !card->IsInLibrary())
            creatures.push_back(card);
    return creatures;
}

std::vector<CardActor*> Attackers(int player)
{
    std::vector<CardActor*> attackers;
    for (CardActor* const card : CreaturesOf(player))
        if (card->IsAttacking() && card->CanAct())
            attackers.push_back(card);
    return attackers;
}

const char16_t* Name(const CardActor* card)
{
    const char16_t* const name = card != nullptr ? card->GetNameField() : nullptr;
    return name != nullptr ? name : u"";
}

// The CPU could block one of the learner's creatures.
bool CanCpuBlockAny()
{
    for (const CardActor* const creature : CreaturesOf(PLAYER_HUMAN))
        if (CanPlayerBlockAttacker(PLAYER_CPU, creature))
            return true;
    return false;
}

// The blocking step is over: the CPU's driver goes on to combat damage.
void SettleCpuAttack()
{
    s_HumanBlockStep = 3;
    if (Actor* const cpu = const_cast<Actor*>(GetCpuPlayerActor()); cpu != nullptr && cpu->m_BehaviourData == 2)
        cpu->m_BehaviourData = 3;
}

void AcceptCpuAttackers()
{
    StopVoices();
    TurnAdviceState& advice = Advice();
    advice.attackersDeclared = true;
    SetPhaseMarker(PHASE_ATTACKERS);
    s_HumanBlockStep = 1;
    advice.respondedInCombat = false;
    advice.noBlockersShown = false;
}

void RequestResponse()
{
    StopVoices();
    SetCanPlayNowFlag(1);
    Advice().respondedInCombat = false;
}

// ---- A: the learner's attack -------------------------------------------------------------------------------------

bool HumanHasAttacker()
{
    return CountAttackingCreatures(PLAYER_HUMAN) > 0;
}

// Sets result and returns true when a shown box was handled.
bool AnswerAttackBox(bool& result)
{
    const int kind = ShownKind();
    const int answer = ShownAnswer();
    switch (kind) {
    case KIND_BLOCKERS_1:
    case KIND_BLOCKERS_2:
    case KIND_NO_CPU_BLOCKERS:
        if (answer >= 0 || HumanHasAttacker()) {
            ++Advice().adviceCount[static_cast<std::size_t>(kind)];
            if (kind == KIND_BLOCKERS_1 && HumanHasAttacker())
                ++Advice().adviceCount[KIND_BLOCKERS_2];
            CloseLessonBox();
        }
        result = true;
        return true;
    case KIND_CANNOT_ATTACK:
    case KIND_SUMMON_SICK:
        result = answer >= 0;
        if (result) {
            CloseLessonBox();
            SetRefusedAttacker(nullptr);
        }
        return true;
    case KIND_MUST_ATTACK:
        if (CountMustAttackCreatures(PLAYER_HUMAN, nullptr) == 0)
            CloseLessonBox();
        result = true;
        return true;
    case KIND_DONE_WITHOUT_ATTACKERS:
        if (answer >= 0 || HumanHasAttacker())
            CloseLessonBox();
        result = true;
        return true;
    case KIND_DECLARE:
        result = true;
        return true;
    default:
        return false;
    }
}

struct AttackAdvice {
    int kind = -1;
    const char16_t* key = nullptr;
    const char16_t* voice = nullptr;
};

AttackAdvice ChooseAttackAdvice()
{
    const auto& count = Advice().adviceCount;
    const AttackAdvice declare{KIND_DECLARE, u"PHYS_ATTACK_Declare",
                               HumanHasAttacker() ? nullptr : u"vo_phys\\AttackDeclare.wav"};
    if (!IsBasic())
        return declare;
    const bool canBlock = CanCpuBlockAny();
    if (count[KIND_BLOCKERS_1] == 0 && canBlock)
        return {KIND_BLOCKERS_1, u"PHYS_ATTACK_Blockers1", u"vo_phys\\basic_attack_block1.wav"};
    if (count[KIND_BLOCKERS_2] == 0 && count[KIND_BLOCKERS_1] > 0 && canBlock)
        return {KIND_BLOCKERS_2, u"PHYS_ATTACK_Blockers2", u"vo_phys\\basic_attack_block2.wav"};
    if (count[KIND_NO_CPU_BLOCKERS] == 0 && !canBlock)
        return {KIND_NO_CPU_BLOCKERS, u"PHYS_ATTACK_NoBlockers", u"vo_phys\\basic_attack_noblock.wav"};
    return declare;
}

int CountPossibleAttackers()
{
    int count = CountAbleAttackers(PLAYER_HUMAN);
    for (const CardActor* const creature : CreaturesOf(PLAYER_HUMAN))
        if (creature->GetTapState() == TAP_NEW)
            ++count;
    return count;
}

bool ShowRefusedAttackerBox(const CardActor& card, bool wasShown)
{
    LessonBoxContent content;
    content.width = 330;
    content.height = 240;
    content.buttons = {u"STR_OK"};
    const char16_t* voice = nullptr;
    if (card.GetStats().cannotAttack) {
        content.kind = KIND_CANNOT_ATTACK;
        content.textKey = u"PHYS_ATTACK_Selevmar";
        content.explanationLink = 0;
        voice = u"vo_phys\\adv_Attack_Selevmar.wav";
    } else {
        content.kind = KIND_SUMMON_SICK;
        content.builtText = FormatString(Text(u"PHYS_ATTACK_SummonSick"), {Name(&card)});
        voice = u"vo_phys\\Attack_SummonSick.wav";
    }
    ShowLessonBox(content);
    if (wasShown)
        return true;
    PlayVoice(voice);
    return false;
}

bool ShowAttackAdvice()
{
    const bool wasShown = IsLessonBoxShowing();
    if (const CardActor* const refused = GetRefusedAttacker())
        return ShowRefusedAttackerBox(*refused, wasShown);
    if (CountPossibleAttackers() == 0) {
        StopVoices();
        CloseLessonBox();
        return true;
    }
    const AttackAdvice advice = ChooseAttackAdvice();
    LessonBoxContent content;
    content.kind = advice.kind;
    content.width = 330;
    content.height = 240;
    content.textKey = advice.key;
    if (advice.kind == KIND_DECLARE)
        content.buttons = {u"PHYSDLG_BUTTON_DoneAttacking", u"PHYSDLG_BUTTON_NoAttackers"};
    else
        content.buttons = {u"PHYSDLG_BUTTON_Next"};
    Messagebox* const box = ShowLessonBox(content);
    if (advice.kind == KIND_DECLARE) {
        box->Layout(3, 5);
        box->AutoSize();
    }
    if (wasShown)
        return true;
    if (advice.voice != nullptr)
        PlayVoice(advice.voice);
    else
        StopVoices();
    return advice.kind == KIND_DECLARE;
}

void ShowAttackAnswerPrompt()
{
    if (GetCanPlayNowFlag() != 0 || IsStackBusy() || ShownKind() == KIND_ATTACK_ANSWER || !HumanHasAttacker())
        return;
    CloseLessonBox();
    LessonBoxContent content;
    content.kind = KIND_ATTACK_ANSWER;
    content.width = 330;
    content.height = 240;
    content.textKey = u"PHYSDLG_PlayerAttack_IA_Prompt";
    content.buttons = {u"PHYSDLG_BUTTON_Pass"};
    if (!IsBasic()) {
        content.buttons.push_back(u"PHYSDLG_BUTTON_Respond");
        if (!CanPlayerRespond(PLAYER_HUMAN))
            content.disabled = {1};
    }
    ShowLessonBox(content);
    PlayVoice(u"vo_phys\\adv_Attack_IAPrompt.wav");
}

// ---- B: the CPU's blocks -------------------------------------------------------------------------------------------

bool IsTableBusy()
{
    return IsStackBusy() || IsTargetPromptOpen() || GetPaymentState().paying || GetCardBeingPaid() != nullptr ||
           !IsLifeTokenReady();
}

void ShowCpuBlocksBalloon()
{
    std::vector<CardActor*> blockers;
    for (CardActor* const creature : CreaturesOf(PLAYER_CPU))
        if (IsAbleToBlock(creature) && static_cast<int>(blockers.size()) < MAX_LISTED_BLOCKERS)
            blockers.push_back(creature);
    int pairs = 0;
    for (const CardActor* const attacker : Attackers(PLAYER_HUMAN))
        for (const CardActor* const blocker : blockers)
            if (CanBlockWith(blocker, GetCombatFlags(attacker)))
                ++pairs;
    OpponentBalloonContent content;
    content.kind = BALLOON_CPU_BLOCKS;
    content.width = 300;
    content.height = 200;
    content.respondButton = !IsBasic();
    std::vector<const char16_t*> voices;
    if (pairs == 0) {
        content.text = Text(u"PHYSDLG_OpponentDeclareBlockers_NoBlockers");
        voices = {u"vo_phys\\opp_block_noblockers.wav"};
    } else {
        std::u16string lines;
        int blocking = 0;
        for (const CardActor* const blocker : blockers) {
            const CardActor* const attacker = blocker->GetBlockedAttacker();
            if (attacker == nullptr)
                continue;
            ++blocking;
            if (IsBasic())
                lines += FormatString(Text(u"PHYSDLG_BASIC_OpponentDeclareBlockers1"), {Name(blocker), Name(attacker)}) +
                         u"\n";
        }
        if (blocking == 0) {
            content.text = Text(u"PHYSDLG_OpponentDeclareBlockers_NoBlock");
            voices = {u"vo_phys\\opp_block_noassign.wav"};
        } else if (IsBasic()) {
            content.widthLines = lines;
            content.text = lines + Text(u"PHYSDLG_BASIC_OpponentDeclareBlockers2");
            voices = {u"vo_phys\\opp_block_assign.wav", u"vo_phys\\opp_block_damage.wav"};
        } else {
            content.text = Text(u"PHYSDLG_OpponentDeclareBlockers");
            voices = {u"vo_phys\\opp_block_assign.wav"};
        }
    }
    ShowOpponentBalloon(content);
    if (!AreCardDialogsQuiet())
        return;
    for (std::size_t i = 0; i < voices.size(); ++i)
        PlayVoice(voices[i], i == 0);
}

// ---- C: blocking advice --------------------------------------------------------------------------------------------

bool HasAssignedBlocker()
{
    for (const CardActor* const creature : CreaturesOf(PLAYER_HUMAN))
        if (creature->GetBlockedAttacker() != nullptr)
            return true;
    return false;
}

void RemoveHumanBlocks()
{
    for (CardActor* const creature : CreaturesOf(PLAYER_HUMAN))
        if (creature->GetBlockedAttacker() != nullptr)
            RemoveBlockerAssignment(creature);
}

void FinishBlocking()
{
    if (IsBasic()) {
        SettleCpuAttack();
        return;
    }
    s_HumanBlockStep = 2;
    if (!CpuRespond(false))
        ShowBlockInstantPrompt();
}

// Sets result and returns true when a shown box was handled.
bool AnswerBlockBox(bool& result)
{
    const int kind = ShownKind();
    if (kind < KIND_BLOCKS_NEXT || kind > KIND_NO_BLOCKERS)
        return false;
    const int answer = ShownAnswer();
    if (answer < 0) {
        result = kind != KIND_NO_BLOCKERS;
        if ((kind == KIND_BLOCKS_NEXT || kind == KIND_BLOCKS_MISCLICK) && HasAssignedBlocker()) {
            StopVoices();
            UnregisterBox();
            ++Advice().blockAdviceStep;
        }
        return true;
    }
    StopVoices();
    UnregisterBox();
    result = false;
    if (kind == KIND_BLOCKS_NEXT) {
        ++Advice().blockAdviceStep;
        return true;
    }
    if (kind == KIND_BLOCKS_MISCLICK)
        return true;
    if (kind == KIND_BLOCKS_ASSIGN && answer == 1)
        RemoveHumanBlocks();
    if (kind == KIND_BLOCKS_ASSIGN && answer == 0 && !HasAssignedBlocker()) {
        LessonBoxContent content;
        content.kind = KIND_BLOCKS_MISCLICK;
        content.textKey = u"PHYSDLG_AssignBlockers_Misclick_Done";
        content.buttons = {u"STR_OK"};
        ShowLessonBox(content);
        PlayVoice(u"vo_phys\\assignblock_misclick_done.wav");
        return true;
    }
    FinishBlocking();
    return true;
}

struct BlockText {
    bool several;
    bool secondPage;
    bool tapped;
    const char16_t* key;
    const char16_t* voice;
};

constexpr BlockText BLOCK_TEXTS[] = {
    {false, false, true, u"PRE_PHYSDLG_BASIC_AssignBlockers_OneAttacker_YesTapped1",
     u"vo_phys\\basic_AssignBlockers_OneAttacker1_tapped.wav"},
    {false, false, false, u"PRE_PHYSDLG_BASIC_AssignBlockers_OneAttacker_NoTapped1",
     u"vo_phys\\basic_AssignBlockers_OneAttacker1.wav"},
    {false, true, true, u"PRE_PHYSDLG_BASIC_AssignBlockers_OneAttacker_YesTapped2",
     u"vo_phys\\basic_AssignBlockers_OneAttacker3_tapped.wav"},
    {false, true, false, u"PRE_PHYSDLG_BASIC_AssignBlockers_OneAttacker_NoTapped2",
     u"vo_phys\\basic_AssignBlockers_OneAttacker3.wav"},
    {true, false, true, u"PRE_PHYSDLG_BASIC_AssignBlockers_MultipleAttackers_YesTapped1",
     u"vo_phys\\basic_AssignBlockers_MultipleAttackers1_tapped.wav"},
    {true, false, false, u"PRE_PHYSDLG_BASIC_AssignBlockers_MultipleAttackers_NoTapped1",
     u"vo_phys\\basic_AssignBlockers_MultipleAttackers1.wav"},
    {true, true, true, u"PRE_PHYSDLG_BASIC_AssignBlockers_MultipleAttackers_YesTapped2",
     u"vo_phys\\basic_AssignBlockers_MultipleAttackers3_tapped.wav"},
    {true, true, false, u"PRE_PHYSDLG_BASIC_AssignBlockers_MultipleAttackers_NoTapped2",
     u"vo_phys\\basic_AssignBlockers_MultipleAttackers3.wav"},
};

std::u16string DamageWord(int power)
{
    const char16_t* const word = GetPluralString(u"STR_damage", power);
    return word != nullptr ? std::u16string(word) : std::u16string();
}

bool ShowBlockAdvice()
{
    const std::vector<CardActor*> attackers = Attackers(PLAYER_CPU);
    const int count = static_cast<int>(attackers.size());
    if (count == 0) {
        s_HumanBlockStep = 0;
        return false;
    }
    int power = 0;
    bool anyFlying = false;
    for (const CardActor* const attacker : attackers) {
        power += attacker->GetStats().power;
        anyFlying = anyFlying || (GetCombatFlags(attacker) & 2) != 0;
    }
    bool possible = false;
    bool cannotBlock = false;
    for (const CardActor* const attacker : attackers) {
        for (const CardActor* const creature : CreaturesOf(PLAYER_HUMAN)) {
            if (IsAbleToBlock(creature) && CanBlockWith(creature, GetCombatFlags(attacker)))
                possible = true;
            else if (IsBasic() && creature->GetTapState() != TAP_TAPPED && creature->CanAct())
                cannotBlock = true;
        }
    }
    const std::u16string powerText = IntToWString(power);
    const std::u16string damage = DamageWord(power);
    LessonBoxContent content;
    content.width = 346;
    content.height = 200;
    const char16_t* voice = nullptr;
    bool stopFirst = true;
    if (!possible) {
        const char16_t* key = u"PHYSDLG_NoAvailableBlockers";
        voice = u"vo_phys\\NoAvailableBlockers.wav";
        if (IsBasic()) {
            key = cannotBlock ? u"PHYSDLG_BASIC_PrepareForPain2" : u"PHYSDLG_BASIC_PrepareForPain1";
            voice = cannotBlock ? u"vo_phys\\basic_PrepareForPain2.wav" : u"vo_phys\\basic_PrepareForPain1.wav";
        }
        content.kind = KIND_NO_BLOCKERS;
        content.builtText = FormatString(Text(key), {powerText, damage});
        content.buttons = {u"STR_OK"};
        Advice().noBlockersShown = true;
    } else if (IsBasic() && (count == 1 || !anyFlying)) {
        int tapped = 0;
        for (const CardActor* const creature : CreaturesOf(PLAYER_HUMAN))
            if (creature->GetTapState() == TAP_TAPPED)
                ++tapped;
        const bool secondPage = Advice().blockAdviceStep > 0;
        for (const BlockText& row : BLOCK_TEXTS) {
            if (row.several != (count > 1) || row.secondPage != secondPage || row.tapped != (tapped > 0))
                continue;
            content.builtText = FormatString(Text(row.key), {Name(attackers.back()), powerText, damage});
            voice = secondPage && HasAssignedBlocker() ? nullptr : row.voice;
            stopFirst = !secondPage;
        }
        content.kind = secondPage ? KIND_BLOCKS_ASSIGN : KIND_BLOCKS_NEXT;
        content.buttons = secondPage ? std::vector<const char16_t*>{u"PHYSDLG_BUTTON_DoneBlocking",
                                                                     u"PHYSDLG_BUTTON_NoBlockers"}
                                     : std::vector<const char16_t*>{u"PHYSDLG_BUTTON_Next"};
    } else {
        content.kind = KIND_BLOCKS_ASSIGN;
        content.textKey = u"PHYSDLG_AssignBlockers";
        voice = HasAssignedBlocker() ? nullptr : u"vo_phys\\AssignBlockers.wav";
        content.buttons = {u"PHYSDLG_BUTTON_DoneBlocking", u"PHYSDLG_BUTTON_NoBlockers"};
    }
    const int before = GetLessonBox() != nullptr ? GetLessonBox()->GetKindNumber() : -2;
    if (before == KIND_BLOCKS_NEXT || before == 33 || before == 11)
        content.placing = LessonBoxPlacing::OnlyNew;
    Messagebox* const box = ShowLessonBox(content);
    if (content.kind == KIND_BLOCKS_ASSIGN) {
        box->Layout(3, 5);
        box->AutoSize();
    }
    if (voice != nullptr)
        PlayVoice(voice, stopFirst);
    return false;
}

// ---- F: combat damage --------------------------------------------------------------------------------------------

bool AdviseDamageResult()
{
    TurnAdviceState& advice = Advice();
    const CardActor* const card = advice.flyingCard;
    const bool pressed = ShownAnswer() >= 0;
    if (card == nullptr) {
        if (pressed)
            UnregisterBox();
        return false;
    }
    if (card->IsNotLeaving() && card->CanAct()) {
        if (pressed) {
            advice.flyingCard = nullptr;
            UnregisterBox();
        }
        return false;
    }
    if (card->IsExitMoveBackward()) {
        if (!pressed)
            return false;
        LessonBoxContent content;
        content.kind = KIND_DAMAGE_RESULT;
        content.builtText = FormatString(Text(u"PHYSDLG_BASIC_1ON1_ERROR_CreatureIsDestroyed"),
                                         {Name(card), IntToWString(card->GetStats().toughness),
                                          IntToWString(advice.combatBoxDamage), DamageWord(advice.combatBoxDamage)});
        content.buttons = {u"STR_OK"};
        ShowLessonBox(content);
        advice.flying = true;
        if (HintRegistry* const hints = GetHintRegistry())
            hints->PlayVoiceLimited(u"vo_phys\\BASIC_1ON1_ERROR_CreatureIsDestroyed.wav", -1, true);
        return false;
    }
    if (card->IsExitMoveForward() || !IsCardInCombatSet(card)) {
        advice.flyingCard = nullptr;
        advice.flying = false;
        UnregisterBox();
    }
    return false;
}

} // namespace

bool IsHumanAttackUnderWay()
{
    const Actor* const human = GetHumanPlayerActor();
    return human != nullptr && human->GetState() == 7 && (s_CpuBlockStep == 1 || s_CpuBlockStep == 2);
}

bool IsCpuAttackUnderWay()
{
    const Actor* const cpu = GetCpuPlayerActor();
    return cpu != nullptr && cpu->GetState() == 7 && s_HumanBlockStep == 1;
}

bool AdviseHumanAttack(Actor* /*human*/)
{
    if (s_AttackStep >= 2) {
        // Only while the answer is awaited: at 3 the attack is settled and the driver moves on.
        if (s_AttackStep == 2)
            ShowAttackAnswerPrompt();
        return true;
    }
    bool result = true;
    if (IsLessonBoxShowing() && AnswerAttackBox(result))
        return result;
    return ShowAttackAdvice();
}

bool ExplainCpuBlocks(int side)
{
    if (IsTableBusy())
        return true;
    if (s_CpuBlockStep != 2 || !HumanHasAttacker())
        return true;
    if (side == PLAYER_CPU)
        return false;
    TurnAdviceState& advice = Advice();
    if (GetShownOpponentBalloon(BALLOON_CPU_BLOCKS) != nullptr) {
        const int answer = GetOpponentBalloonAnswer(BALLOON_CPU_BLOCKS);
        if (answer == 0) {
            StopVoices();
            const bool responded = CpuRespond(false);
            DeleteOpponentBalloon();
            if (responded)
                return false;
            s_CpuBlockStep = 3;
            return true;
        }
        if (answer == 1) {
            RequestResponse();
            DeleteOpponentBalloon();
        }
        return false;
    }
    if (advice.respondedInCombat) {
        s_CpuBlockStep = 3;
        return true;
    }
    ShowCpuBlocksBalloon();
    return false;
}

bool AdviseBlockers(int side)
{
    if (side == PLAYER_CPU)
        return false;
    bool result = true;
    if (AnswerBlockBox(result))
        return result;
    return ShowBlockAdvice();
}

bool AnnounceCpuAttack(Actor* cpu)
{
    if (IsStackBusy())
        return false;
    const bool decided = GetPlayerState(PLAYER_CPU)->m_TurnFlag;
    const bool able = CountAbleAttackers(PLAYER_CPU) > 0;
    if (decided || cpu->m_BehaviourData != 0 || !able)
        return true;
    TurnAdviceState& advice = Advice();
    if (advice.respondedInCombat) {
        advice.attackersDeclared = false;
        SetPhaseMarker(PHASE_COMBAT);
        return true;
    }
    if (WordBalloon* const balloon = GetShownOpponentBalloon(BALLOON_ANNOUNCE);
        balloon != nullptr && balloon->GetPointerSide() == POINTER_TOP_LEFT) {
        const int answer = balloon->GetAnswer();
        if (answer == 0) {
            UnregisterOpponentBalloon();
            advice.attackersDeclared = false;
            SetPhaseMarker(PHASE_COMBAT);
            return true;
        }
        if (answer == 1) {
            UnregisterOpponentBalloon();
            RequestResponse();
        }
        return !able;
    }
    OpponentBalloonContent content;
    content.kind = BALLOON_ANNOUNCE;
    content.width = 270;
    content.text = Text(u"PHYSDLG_OpponentStartsAttack");
    content.respondButton = !IsBasic();
    ShowOpponentBalloon(content);
    if (AreCardDialogsQuiet())
        PlayVoice(u"vo_phys\\opp_combat_start.wav");
    return false;
}

bool DeclareCpuAttack(Actor* cpu)
{
    if (GetCanPlayNowFlag() != 0 || IsStackBusy())
        return false;
    TurnAdviceState& advice = Advice();
    const bool decided = GetPlayerState(PLAYER_CPU)->m_TurnFlag;
    if ((s_HumanBlockStep == 0 || s_HumanBlockStep == 3) && cpu->m_BehaviourData == 2 && decided) {
        if (GetShownOpponentBalloon(BALLOON_DECLARED) != nullptr) {
            const int answer = GetOpponentBalloonAnswer(BALLOON_DECLARED);
            if (answer == 0) {
                AcceptCpuAttackers();
                DeleteOpponentBalloon();
                return true;
            }
            if (answer == 1) {
                RequestResponse();
                DeleteOpponentBalloon();
            }
            return false;
        }
        if (advice.respondedInCombat || CountAttackingCreatures(PLAYER_CPU) == 0) {
            AcceptCpuAttackers();
            return true;
        }
        OpponentBalloonContent content;
        content.kind = BALLOON_DECLARED;
        content.text = Text(u"PHYSDLG_OpponentDeclaresAttackers");
        content.respondButton = !IsBasic();
        content.centreWhenNew = true;
        ShowOpponentBalloon(content);
        if (AreCardDialogsQuiet())
            PlayVoice(u"vo_phys\\opp_attack_decl.wav");
        return false;
    }
    if (s_HumanBlockStep == 2) {
        if (IsBasic()) {
            SettleCpuAttack();
            return true;
        }
        const Messagebox* const prompt = GetShownLessonBox(KIND_BLOCK_PROMPT);
        if (prompt == nullptr) {
            ShowBlockInstantPrompt();
            return false;
        }
        const int answer = prompt->GetAnswer();
        if (answer == 0) {
            CloseLessonBox();
            if (CpuRespond(false))
                return false;
            SettleCpuAttack();
            return true;
        }
        if (answer == 1) {
            CloseLessonBox();
            RequestResponse();
            advice.attackersDeclared = false;
        }
        return false;
    }
    return true;
}

bool AdviseCombatDamage(int side)
{
    if (Messagebox* const note = GetShownLessonBox(KIND_DAMAGE_NOTE)) {
        if (note->GetAnswer() < 0)
            return false;
        Advice().flyingCard = nullptr;
        UnregisterBox();
    }
    // A closed box is kept for reuse: only a shown one holds the damage step.
    const int kind = IsLessonBoxShowing() ? GetLessonBox()->GetKindNumber() : -2;
    if (kind != KIND_DAMAGE_WAIT && kind != KIND_DAMAGE_RESULT)
        return !ShowCombatResult(side);
    if (kind == KIND_DAMAGE_WAIT) {
        Messagebox* const box = GetLessonBox();
        const bool nothingPending = CountPendingCards(PLAYER_HUMAN) == 0 && CountPendingCards(PLAYER_CPU) == 0;
        if (nothingPending && (box->GetButtonCount() == 0 || box->GetAnswer() >= 0))
            UnregisterBox();
        else if (box->GetButtonCount() > 0 && nothingPending && box->IsButtonDisabled(0))
            box->SetButtonDisabled(0, false);
        return false;
    }
    return AdviseDamageResult();
}
