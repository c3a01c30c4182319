#include "lessons/CombatAdvice.h"

#include "cards/CardActor.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/CardMoveState.h"
#include "gamestate/PhysicalAdviceState.h"
#include "gui/Messagebox.h"
#include "lessons/HandDemos.h"
#include "lessons/LessonBox.h"
#include "lessons/PlayerResponse.h"
#include "rules/CombatResults.h"
#include "rules/PendingCards.h"

#include <string>

namespace {

constexpr int BASIC = 1;
constexpr int ADVANCED = 2;
constexpr int KIND_BLOCK_PROMPT = 27;
constexpr int KIND_RESULT = 30;
constexpr int KIND_RESULT_WITH_CARD = 31;
// The blocker's marks on the table: it was dealt damage, and it dealt damage back.
constexpr int BLOCKER_HIT = 1;
constexpr int BLOCKER_HIT_BACK = 2;

void KeepResultCard(const CombatResultCard& record)
{
    CardMoveState& moves = GetCardMoveState();
    moves.damageBoxCreature = record.card;
    moves.damageBoxAmount = record.damage;
}

bool IsCardLeaving(const CardActor* card)
{
    return !card->IsNotLeaving();
}

void PlayVoice(const char16_t* clip, int maxTimes)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(clip, maxTimes, true);
}

const char16_t* Name(const CardActor* card)
{
    const char16_t* const name = card != nullptr ? card->GetNameField() : nullptr;
    return name != nullptr ? name : u"";
}

std::u16string DamageWord(int amount)
{
    const char16_t* const word = GetPluralString(u"STR_damage", amount);
    return word != nullptr ? word : u"";
}

// Creatures on their way to the graveyard wait there for the learner's hand (or the bury hand).
void ParkIfBuried(CardActor* card)
{
    if (card != nullptr && card->IsExitMoveBackward())
        AddPendingCard(card);
}

enum class Dead { None, Some, All };

struct ResultKey {
    const char16_t* key = nullptr;
    const char16_t* clip = nullptr;
};

// The basic lesson's one-on-one texts and clips: survives/none, survives/kill, dies/none, trade.
ResultKey BasicOneOnOneKey(bool humanAttacked, bool attackerDies, bool blockerDies)
{
    const char16_t* const kill = u"vo_phys\\basic_1on1Combat_Kill.wav";
    const char16_t* const noKill = u"vo_phys\\basic_1on1Combat_NoKill.wav";
    if (!attackerDies && !blockerDies)
        return {humanAttacked ? u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_BOUNCE" : u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_BOUNCE",
                u"vo_phys\\basic_1on1Combat_nokill.wav"};
    if (!attackerDies)
        return {humanAttacked ? u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_KILL" : u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_KILL",
                humanAttacked ? kill : noKill};
    if (!blockerDies)
        return {humanAttacked ? u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_DIE" : u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_DIE",
                humanAttacked ? noKill : kill};
    return {humanAttacked ? u"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_TRADE" : u"PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_TRADE",
            u"vo_phys\\basic_1on1Combat_kill.wav"};
}

ResultKey OneBlockerKey(bool humanAttacked, bool attackerDies, bool blockerDies)
{
    if (!attackerDies && !blockerDies)
        return {u"PHYSDLG_BLOCKED_ATT_BOUNCE"};
    if (!attackerDies)
        return {humanAttacked ? u"PHYSDLG_BLOCKED_ATT_KILL_P" : u"PHYSDLG_BLOCKED_ATT_KILL_C"};
    if (!blockerDies)
        return {humanAttacked ? u"PHYSDLG_BLOCKED_ATT_DIE_P" : u"PHYSDLG_BLOCKED_ATT_DIE_C"};
    return {humanAttacked ? u"PHYSDLG_BLOCKED_ATT_TRADE_P" : u"PHYSDLG_BLOCKED_ATT_TRADE_C"};
}

ResultKey GangBlockKey(bool humanAttacked, bool attackerDies, Dead dead)
{
    const bool p = humanAttacked;
    if (!attackerDies) {
        switch (dead) {
        case Dead::None:
            return {u"PHYSDLG_GANGBLOCKED_ATT_BOUNCE"};
        case Dead::Some:
            return {p ? u"PHYSDLG_GANGBLOCKED_ATT_KILLSOME_P" : u"PHYSDLG_GANGBLOCKED_ATT_KILLSOME_C"};
        case Dead::All:
            return {p ? u"PHYSDLG_GANGBLOCKED_ATT_KILLALL_P" : u"PHYSDLG_GANGBLOCKED_ATT_KILLALL_C"};
        }
    }
    switch (dead) {
    case Dead::None:
        return {p ? u"PHYSDLG_GANGBLOCKED_ATT_DIE_P" : u"PHYSDLG_GANGBLOCKED_ATT_DIE_C"};
    case Dead::Some:
        return {p ? u"PHYSDLG_GANGBLOCKED_ATT_TRADESOME_P" : u"PHYSDLG_GANGBLOCKED_ATT_TRADESOME_C"};
    case Dead::All:
        return {p ? u"PHYSDLG_GANGBLOCKED_ATT_TRADEALL_P" : u"PHYSDLG_GANGBLOCKED_ATT_TRADEALL_C"};
    }
    return {};
}

bool UsesDeadList(std::u16string_view key)
{
    return key == u"PHYSDLG_GANGBLOCKED_ATT_KILLSOME_C" || key == u"PHYSDLG_GANGBLOCKED_ATT_TRADESOME_C";
}

// The queue ran dry: the dead among the creatures hit wait for their owners, and the lists start over.
void ParkCreaturesHit()
{
    for (int player = 0; player < 2; ++player) {
        std::vector<CardActor*>& hit = GetCreaturesHitInCombat(player);
        for (CardActor* const card : hit)
            ParkIfBuried(card);
        hit.clear();
    }
}

// Kind 30 or 31, placed when new or when it showed another advice; the OK of kind 30 waits for the CPU's dead.
void ShowResultBox(int kind, const std::u16string& text, const CombatResultCard& record)
{
    Messagebox* box = GetLessonBox();
    bool place = box == nullptr;
    if (box == nullptr) {
        box = new Messagebox(DIALOG_KIND_MESSAGEBOX);
        SetLessonBox(box);
    } else {
        const int shown = box->GetKindNumber();
        place = shown != KIND_RESULT && shown != KIND_RESULT_WITH_CARD;
    }
    GameDisplay* const display = GetGameDisplay();
    if (place && display != nullptr)
        display->PlaceAdviceWindow(box);
    box->Reset();
    GetCardMoveState().survivingCreature = nullptr;
    box->SetKind(kind);
    if (kind == KIND_RESULT_WITH_CARD) {
        box->SetScaledSize(400, 200);
        const char16_t* const label = GetString(u"PHYSDLG_BUTTON_CreatureSurvives");
        box->AddButton(label != nullptr ? label : u"", 0xFFFFFF, 0xF8F8E0, 0xF8F8E0, MESSAGEBOX_BUTTON_FONT, -1, -1);
        KeepResultCard(record);
    } else {
        box->SetScaledSize(355, 200);
        KeepResultCard(CombatResultCard{});
        if (CountPendingCards(0) == 0) {
            box->CreateButtons(0);
            box->SetButtonDisabled(0, CountPendingCards(1) != 0 || !CpuListEmpty());
        }
    }
    box->CopyText(text);
    box->AutoSize();
    if (display != nullptr)
        display->RegisterWindow(box);
}

} // namespace

void ShowBlockInstantPrompt()
{
    LessonBoxContent content;
    content.kind = KIND_BLOCK_PROMPT;
    content.width = 320;
    content.height = 200;
    content.textKey = u"PHYSDLG_PlayerBlock_IA_Prompt";
    content.placing = LessonBoxPlacing::OnlyNew;
    content.buttons.push_back(u"PHYSDLG_BUTTON_Pass");
    if (s_GameMode == ADVANCED) {
        content.buttons.push_back(u"PHYSDLG_BUTTON_Respond");
        if (!CanPlayerRespond(0))
            content.disabled.push_back(1);
    }
    ShowLessonBox(content);
    PlayVoice(u"vo_phys\\adv_BlockIA_Prompt.wav", 1);
}

bool IsBlockPromptShowing()
{
    return GetShownLessonBox(KIND_BLOCK_PROMPT) != nullptr;
}

bool ShowCombatResult(int side)
{
    PhysicalAdviceState& marks = GetPhysicalAdviceState();
    marks.combatSet.clear();
    marks.combatMap.clear();
    std::deque<CombatResult>& queue = GetCombatResultQueue();
    if (queue.empty()) {
        ParkCreaturesHit();
        return false;
    }
    const CombatResult result = queue.front();
    queue.pop_front();
    CardActor* const attacker = result.attacker;
    ParkIfBuried(attacker);
    if (!attacker->IsExitMoveForward())
        marks.combatSet.insert(attacker);
    int dying = 0;
    std::u16string deadList;
    for (const CombatResultBlocker& entry : result.blockers) {
        CardActor* const blocker = entry.blocker;
        if (IsCardLeaving(blocker)) {
            ++dying;
            const char16_t* const format = GetString(u"PHYSDLG_GANGBLOCKLIST_DEAD");
            deadList += u"\r\n";
            deadList += format != nullptr ? FormatString(format, {Name(blocker)}) : std::u16string();
        }
        ParkIfBuried(blocker);
        marks.combatMap[blocker] = (entry.damageTaken > 0 ? BLOCKER_HIT : 0) | (entry.damageDealt > 0 ? BLOCKER_HIT_BACK : 0);
    }
    if (attacker->IsExitMoveForward())
        return false;

    const bool humanAttacked = side == 0;
    const int blockers = static_cast<int>(result.blockers.size());
    const CombatResultBlocker& last = result.blockers.back();
    const bool basicOneOnOne = s_GameMode == BASIC && blockers == 1;
    ResultKey chosen;
    if (blockers > 1) {
        const Dead dead = dying == 0 ? Dead::None : dying == blockers ? Dead::All : Dead::Some;
        chosen = GangBlockKey(humanAttacked, IsCardLeaving(attacker), dead);
    } else if (last.damageTaken > 0 && !last.blocker->IsExitMoveForward() &&
               (attacker->IsNotLeaving() || attacker->IsExitMoveBackward())) {
        const bool attackerDies = attacker->IsExitMoveBackward();
        chosen = basicOneOnOne ? BasicOneOnOneKey(humanAttacked, attackerDies, dying > 0)
                               : OneBlockerKey(humanAttacked, attackerDies, dying > 0);
    }
    if (chosen.key == nullptr) {
        marks.combatSet.clear();
        marks.combatMap.clear();
        return true;
    }

    const int blockerDamage = last.damageTaken;
    const int attackerDamage = result.damageTaken;
    const std::u16string second =
        blockers == 1 ? std::u16string(Name(last.blocker)) : UsesDeadList(chosen.key) ? deadList : std::u16string();
    const char16_t* const format = GetString(chosen.key);
    const std::u16string text =
        format == nullptr ? std::u16string()
                          : FormatString(format, {Name(attacker), second, IntToWString(blockerDamage),
                                                  IntToWString(attackerDamage), IntToWString(blockerDamage + 1),
                                                  IntToWString(attackerDamage + 1), DamageWord(blockerDamage),
                                                  DamageWord(attackerDamage)});
    if (basicOneOnOne) {
        const CombatResultCard record = humanAttacked ? CombatResultCard{attacker, attackerDamage}
                                                      : CombatResultCard{last.blocker, blockerDamage};
        ShowResultBox(KIND_RESULT_WITH_CARD, text, record);
    } else {
        ShowResultBox(KIND_RESULT, text, CombatResultCard{});
    }
    if (chosen.clip != nullptr)
        PlayVoice(chosen.clip, -1);
    return true;
}

CombatResultCard GetCombatResultCard()
{
    const CardMoveState& moves = GetCardMoveState();
    return CombatResultCard{moves.damageBoxCreature, moves.damageBoxAmount};
}

void ClearCombatResultCard()
{
    KeepResultCard(CombatResultCard{});
}

CardActor* GetSurvivingCreature()
{
    return GetCardMoveState().survivingCreature;
}

void SetSurvivingCreature(CardActor* card)
{
    GetCardMoveState().survivingCreature = card;
}

void ResetCombatAdvice()
{
    ClearCombatResultCard();
    GetCardMoveState().survivingCreature = nullptr;
}
