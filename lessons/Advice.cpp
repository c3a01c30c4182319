#include "lessons/Advice.h"

#include "cards/CardActor.h"
#include "cards/CardEnums.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/TableFlowState.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "gamestate/PhysicalAdviceState.h"
#include "lessons/PlayerResponse.h"
#include "rules/BoardQueries.h"
#include "rules/SpellStack.h"

#include <string>

namespace {

constexpr int ADVANCED = 2;
constexpr int KIND_ERROR = 11;
constexpr int KIND_OPPONENT_SPELL = 20;
constexpr int KIND_COMBAT_DAMAGE = 22;
constexpr int KIND_GANG_BLOCK = 29;
constexpr int CPU = 1;
constexpr int BLOCKER_SLOTS = 40;

// Memory the drivers do not share: the last combat announced and the gang blocks explained.
int s_LastCombatSide = -1;
int s_LastCombatTurn = -1;
int s_ExplainedGangBlocks = 0;

PhysicalAdviceState& Memory()
{
    return GetPhysicalAdviceState();
}

void PlayVoice(const char16_t* clip, int maxTimes)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(clip, maxTimes, true);
}

void StopVoices()
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

// A priority card-specific dialog, the learner's own response, a parked card or the card drawn by hand all come
// before the advice.
bool IsAdviceHeldBack()
{
    return IsPriorityDialogShown() || HasPriorityDialogQueued() || GetCanPlayNowFlag() != 0 ||
           GetCardBeingPaid() != nullptr || GetUnaffordableCard() != nullptr || GetMistimedCard() != nullptr ||
           GetTableFlow().cardDrawnByHand != nullptr;
}

// The box leaves the display and is deleted; the voices play on.
void DropLessonBox()
{
    if (GameDisplay* const display = GetGameDisplay())
        display->UnregisterWindow(GetLessonBox());
    DeleteLessonBox();
}

std::u16string Text(const char16_t* key, std::initializer_list<std::u16string_view> args)
{
    const char16_t* const format = GetString(key);
    return format != nullptr ? FormatString(format, args) : std::u16string();
}

const char16_t* Name(const CardActor* card)
{
    const char16_t* const name = card != nullptr ? card->GetNameField() : nullptr;
    return name != nullptr ? name : u"";
}

bool IsHumanActor(const Actor* actor)
{
    return actor != nullptr && actor == FindActorByName(u"player");
}

bool IsCpuActor(const Actor* actor)
{
    return actor != nullptr && actor == FindActorByName(u"cpuplayer");
}

const char16_t* TargetTypeClip(const CardActor& target)
{
    switch (target.GetCardType()) {
    case CT_LAND:
        return u"vo_phys\\adv_oppspell_land.wav";
    case CT_CREATURE:
        return u"vo_phys\\adv_oppspell_cr.wav";
    case CT_ARTIFACT:
        return u"vo_phys\\adv_oppspell_art.wav";
    case CT_ENCHANT:
        return u"vo_phys\\adv_oppspell_ench.wav";
    default:
        return nullptr;
    }
}

struct SpellAdviceText {
    std::u16string text;
    const char16_t* clip = nullptr;
};

bool IsUntargeted(const EffectSpec* effect)
{
    return effect == nullptr || !effect->needsTarget || effect->targetIsGroup || effect->targetOnResolve;
}

SpellAdviceText SpellText(const StackEntry& entry, const EffectSpec* effect)
{
    const CardActor& card = *entry.card;
    const CardActor* const target = entry.targetCard;
    const char16_t* const name = Name(&card);
    if (target != nullptr && target->GetCardType() == CT_CREATURE && target->GetOwner() == 0 && effect != nullptr &&
        effect->effectType == EFFECT_COUNTER)
        return {Text(u"PHYS_STACK_OPPSPELL_COUNTER_CR", {name}), u"vo_phys\\adv_oppspell_remvsoul.wav"};
    if (IsUntargeted(effect)) {
        const bool creature = card.GetCardType() == CT_CREATURE;
        return {Text(u"PHYS_STACK_OPPSPELL_UNTARGETED", {name}),
                creature ? u"vo_phys\\adv_oppcreature.wav" : u"vo_phys\\adv_oppspell.wav"};
    }
    if (IsCpuActor(entry.targetPlayer))
        return {Text(u"PHYS_STACK_OPPSPELL_TARGET_SELF", {name}), u"vo_phys\\adv_oppspell.wav"};
    if (IsHumanActor(entry.targetPlayer))
        return {Text(u"PHYS_STACK_OPPSPELL_TARGET_YOU", {name}), u"vo_phys\\adv_oppspell_you.wav"};
    if (target != nullptr) {
        const char16_t* const key =
            target->GetOwner() == CPU ? u"PHYS_STACK_OPPSPELL_TARGET_OWN" : u"PHYS_STACK_OPPSPELL_TARGET_YOUR";
        return {Text(key, {Name(target), name}), TargetTypeClip(*target)};
    }
    return {};
}

SpellAdviceText AbilityText(const StackEntry& entry, const EffectSpec* effect)
{
    const char16_t* const clip = u"vo_phys\\adv_oppability.wav";
    const char16_t* const name = Name(entry.card);
    const CardActor* const target = entry.targetCard;
    if (IsUntargeted(effect))
        return {Text(u"PHYS_STACK_OPPABILITY", {name}), clip};
    if (IsHumanActor(entry.targetPlayer))
        return {Text(u"PHYS_STACK_OPPABILITY_TARGET_YOU", {name}), clip};
    if (target != nullptr && target->GetOwner() == 0)
        return {Text(u"PHYS_STACK_OPPABILITY_TARGET_YOUR", {Name(target), name}), clip};
    if (target != nullptr && target->GetOwner() == CPU)
        return {Text(u"PHYS_STACK_OPPABILITY", {name}), clip};
    return {};
}

// The OK button, and in the advanced lesson the respond button, greyed out while the learner has nothing to
// respond with.
void AddAnswerButtons(LessonBoxContent& content)
{
    content.buttons.push_back(u"STR_OK");
    if (s_GameMode != ADVANCED)
        return;
    content.buttons.push_back(u"PHYSDLG_BUTTON_Respond");
    if (!CanPlayerRespond(0))
        content.disabled.push_back(1);
}

int TurnOfSide(int side)
{
    return side == 0 ? s_HumanTurnCount : GetCpuPhysicalTurnWords().turnNumber;
}

// The n-th attacker of the side with more than one blocker, in actor order.
CardActor* FindGangBlockedAttacker(int side, int n)
{
    for (CardActor* const card : GetCardActors()) {
        if (card->GetOwner() != side || !card->IsAttacking() || card->CountBlockers() <= 1)
            continue;
        if (n-- == 0)
            return card;
    }
    return nullptr;
}

} // namespace

bool ShowOpponentSpellAdvice(const StackEntry* entry, int* answer)
{
    if (entry == nullptr || entry->card == nullptr)
        return true;
    PhysicalAdviceState& memory = Memory();
    if (entry->card != memory.lastAdvisedOpponentSpell) {
        memory.opponentSpellAdvice = false;
        memory.lastAdvisedOpponentSpell = entry->card;
    }
    if (IsAdviceHeldBack() || GetShownLessonBox(KIND_ERROR) != nullptr)
        return false;
    int result = -1;
    if (entry->card->GetOwner() != CPU) {
        result = -1;
    } else if (memory.opponentSpellAdvice) {
        result = 1;
    } else {
        if (const Messagebox* const box = GetShownLessonBox(KIND_OPPONENT_SPELL)) {
            const int pressed = box->GetAnswer();
            if (pressed == 0) {
                DropLessonBox();
                if (answer != nullptr)
                    *answer = 0;
                return true;
            }
            if (pressed == 1) {
                DropLessonBox();
                SetCanPlayNowFlag(1);
                memory.opponentSpellAdvice = true;
            }
            return false;
        }
        const EffectSpec* const effect =
            entry->isAbility ? (entry->card->GetAbility() != nullptr ? &entry->card->GetAbility()->effect : nullptr)
                             : entry->card->GetSpellEffect();
        const SpellAdviceText advice = entry->isAbility ? AbilityText(*entry, effect) : SpellText(*entry, effect);
        LessonBoxContent content;
        content.kind = KIND_OPPONENT_SPELL;
        content.width = 320;
        content.height = 200;
        content.builtText = advice.text;
        AddAnswerButtons(content);
        Messagebox* const box = ShowLessonBox(content);
        // Fitted to its longest line, the box is measured again so that its height follows the unwrapped text.
        box->FitWidthToLines(nullptr);
        box->AutoSize();
        if (advice.clip != nullptr && (entry->isAbility || entry->card != GetPhysicalAdviceState().lastSpokenOpponentCard)) {
            PlayVoice(advice.clip, -1);
            GetPhysicalAdviceState().lastSpokenOpponentCard = entry->card;
        }
        memory.opponentSpellAdvice = false;
        return false;
    }
    if (answer != nullptr)
        *answer = result;
    return true;
}

bool ShowMultipleBlockersAdvice(int side)
{
    if (side == 0)
        return true;
    if (const Messagebox* const box = GetShownLessonBox(KIND_GANG_BLOCK)) {
        if (box->GetAnswer() >= 0) {
            GetGameDisplay()->UnregisterWindow(GetLessonBox());
            StopVoices();
        }
        return false;
    }
    const CardActor* const attacker = FindGangBlockedAttacker(side, s_ExplainedGangBlocks);
    if (attacker == nullptr)
        return true;
    std::u16string text = Text(u"PHYSDLG_MoreThanOneBlocker1", {Name(attacker)});
    text += u'\n';
    for (int slot = 0; slot < BLOCKER_SLOTS; ++slot) {
        const CardActor* const blocker = attacker->GetBlocker(slot);
        if (blocker == nullptr)
            continue;
        const int damage = blocker->GetPendingDamage();
        const char16_t* const word = GetPluralString(u"STR_damage", damage);
        text += u'\n';
        text += Text(u"PHYSDLG_MoreThanOneBlocker2", {Name(blocker), IntToWString(damage), word != nullptr ? word : u""});
    }
    LessonBoxContent content;
    content.kind = KIND_GANG_BLOCK;
    content.width = 360;
    content.height = 200;
    content.builtText = text;
    content.buttons.push_back(u"STR_OK");
    Messagebox* const box = ShowLessonBox(content);
    box->FitWidthToLines(nullptr);
    box->AutoSize();
    PlayVoice(u"vo_phys\\MoreThanOneBlocker.wav", 1);
    ++s_ExplainedGangBlocks;
    return false;
}

bool ShowCombatDamageAdvice(int side, int* answer)
{
    if (s_GameMode != ADVANCED) {
        if (answer != nullptr)
            *answer = 1;
        return true;
    }
    PhysicalAdviceState& memory = Memory();
    if (side != s_LastCombatSide || TurnOfSide(side) != s_LastCombatTurn) {
        s_LastCombatSide = side;
        s_LastCombatTurn = TurnOfSide(side);
        memory.combatAdviceAnswer = false;
        PostDialogEvent(EV_COMBAT_DAMAGE, nullptr);
    }
    if (IsAdviceHeldBack())
        return false;
    if (memory.combatAdviceAnswer) {
        if (answer != nullptr)
            *answer = 1;
        return true;
    }
    if (const Messagebox* const box = GetShownLessonBox(KIND_COMBAT_DAMAGE)) {
        const int pressed = box->GetAnswer();
        if (pressed == 0) {
            CloseLessonBox();
            if (answer != nullptr)
                *answer = 0;
            return true;
        }
        if (pressed == 1) {
            CloseLessonBox();
            SetCanPlayNowFlag(1);
            memory.combatAdviceAnswer = true;
        }
        return false;
    }
    LessonBoxContent content;
    content.kind = KIND_COMBAT_DAMAGE;
    content.width = 340;
    content.height = 200;
    content.textKey = side == 0 ? u"PHYSDLG_CreaturesDealCombatDamage" : u"PHYSDLG_CreaturesDealCombatDamage_CPU";
    AddAnswerButtons(content);
    PlayVoice(u"vo_phys\\CreaturesDealCombatDamage.wav", 1);
    ShowLessonBox(content);
    return false;
}

void ClearStackAdviceMemory()
{
    PhysicalAdviceState& memory = Memory();
    memory.lastAdvisedOpponentSpell = nullptr;
    memory.opponentSpellAdvice = false;
    memory.combatAdviceAnswer = false;
}

void ResetExplainedGangBlocks()
{
    s_ExplainedGangBlocks = 0;
}

void ResetStackAdvice()
{
    ClearStackAdviceMemory();
    ResetExplainedGangBlocks();
    GetPhysicalAdviceState().lastSpokenOpponentCard = nullptr;
    s_LastCombatSide = -1;
    s_LastCombatTurn = -1;
}
