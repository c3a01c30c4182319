#include "rules/SpellStack.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/GameLog.h"
#include "cards/LifeToken.h"
#include "cards/TableScene.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/FrameState.h"
#include "engine/sound/Wave.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhaseStops.h"
#include "gamestate/TurnFlags.h"
#include "gui/DialogManager.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CombatResults.h"
#include "rules/CpuPayment.h"
#include "rules/CpuResponse.h"
#include "rules/Decks.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/ResolutionPrompts.h"
#include "rules/StackPrompts.h"
#include "rules/Targets.h"

#include <string>

namespace {

constexpr int FULL_VOLUME = 255;
constexpr int SOUND_DAMAGE = 9;
constexpr int SOUND_SEARCHED_LAND = 20;
constexpr int SOUND_TAP = 21;
constexpr int SOUND_FIZZLE = 71;
constexpr int SOUND_GAIN_LIFE = 73;
constexpr int SOUND_RETURN = 75;
constexpr int SOUND_COUNTER = 76;
constexpr int SOUND_PUMP = 79;
constexpr int SOUND_SORCERY = 81;
constexpr int LESSON_EVENT_CAST = 16;
constexpr int CPU_STATE_WAITS[] = {5, 21, 0, 1};

SpellStack s_Stack;

void Sound(int slot)
{
    PlayEffect(slot, FULL_VOLUME, 0, 0, 0, nullptr);
}

bool InPlay(const CardActor* card)
{
    return card != nullptr && card->CanAct();
}

std::u16string Text(const char16_t* key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? std::u16string(text) : std::u16string();
}

std::u16string NameOf(const CardActor* card)
{
    const char16_t* const name = card != nullptr ? card->GetNameField() : nullptr;
    return name != nullptr ? std::u16string(name) : std::u16string();
}

} // namespace

bool IsSpellEntry(const StackEntry& entry)
{
    return entry.card != nullptr && !entry.isAbility && entry.combatDamageKind == 0;
}

SpellStack& GetSpellStack()
{
    return s_Stack;
}

void SpellStack::LookUpActors()
{
    m_PlayerActor = FindActorByName(u"player");
    m_CpuActor = FindActorByName(u"cpuplayer");
}

int SpellStack::SideOf(const Actor* playerActor) const
{
    if (playerActor == nullptr)
        return -1;
    if (playerActor == m_PlayerActor)
        return PLAYER_HUMAN;
    if (playerActor == m_CpuActor)
        return PLAYER_CPU;
    return -1;
}

Actor* SpellStack::ActorOf(int side) const
{
    return side == PLAYER_HUMAN ? m_PlayerActor : side == PLAYER_CPU ? m_CpuActor : nullptr;
}

void SpellStack::SetCountdown(int frames)
{
    m_Countdown = m_Physical != 0 ? frames / 10 : frames;
}

bool SpellStack::TickCountdown()
{
    if (m_Countdown == 0)
        return false;
    --m_Countdown;
    if (m_Countdown > 0)
        return true;
    if (m_State == STACK_OPEN)
        m_State = STACK_RESOLVE;
    return false;
}

void SpellStack::CastSpell(CardActor* card, CardActor* targetCard, Actor* targetPlayer, bool writeLog, bool isAbility)
{
    if (m_Count >= STACK_CAPACITY) {
        plat::OutputDebugStringA("SpellStack: a push onto a full stack is refused\n");
        return;
    }
    ResetCpuTappedMana();
    m_PromptState = 6;
    StackEntry& entry = m_Entries[m_Count];
    entry = StackEntry{card, targetCard, targetPlayer, isAbility, 0};
    if (card != nullptr) {
        card->SetStackIndex(m_Count);
        const bool human = card->GetOwner() == PLAYER_HUMAN;
        if (!isAbility) {
            if (m_Physical == 0 || human)
                Sound(SOUND_TAP);
            const EffectSpec& effect = *card->GetSpellEffect();
            const TargetSpec& target = *card->GetSpellTarget();
            if (effect.effectType == EFFECT_MODLIFE_XATTACKERS)
                card->GetPaidMana().generic = CountAttackingCreatures(1 - card->GetOwner());
            if (targetPlayer == nullptr && !effect.needsTarget && !effect.targetOnResolve && !effect.targetIsGroup) {
                if (target.caster)
                    entry.targetPlayer = ActorOf(card->GetOwner());
                else if (target.opponent)
                    entry.targetPlayer = ActorOf(1 - card->GetOwner());
            }
            // A counter without a target takes the spell just below; an ability or combat damage is no spell.
            if (effect.effectType == EFFECT_COUNTER && targetCard == nullptr && m_Count > 0 &&
                IsSpellEntry(m_Entries[m_Count - 1]))
                entry.targetCard = m_Entries[m_Count - 1].card;
            card->SetHeld(false);
            card->SetOnStack(true);
            card->SetPlayedMark(1);
            if (human) {
                SetCountdown(m_Physical != 0 && card->GetCardType() == CT_SORCERY ? 500 : 100);
                if (card->GetCardType() == CT_INSTANT) {
                    m_State = STACK_HUMAN_ACTS;
                    SetCanPlayNowFlag(1);
                }
            } else {
                m_State = STACK_CPU_ACTS;
                m_Countdown = 0;
            }
            if (writeLog && m_Physical == 0)
                WriteCastLog(entry, effect, false);
        } else if (m_Physical != 0 && human) {
            SetCanPlayNowFlag(1);
        }
        PostDialogEvent(LESSON_EVENT_CAST, card);
    }
    ++m_Count;
}

void SpellStack::WriteCastLog(const StackEntry& entry, const EffectSpec& effect, bool isAbility)
{
    const CardActor* const card = entry.card;
    const int caster = card->GetOwner();
    const std::u16string casterWord = Text(caster == PLAYER_HUMAN ? u"ONL_GL_Player" : u"ONL_GL_Opponent");
    const std::u16string name = NameOf(card);
    std::u16string line;
    const bool aimsAtCard = entry.targetCard != nullptr && (effect.needsTarget || (!isAbility && effect.effectType == EFFECT_COUNTER));
    if (!aimsAtCard) {
        const int targetSide = SideOf(entry.targetPlayer);
        if (entry.targetPlayer == nullptr || !effect.needsTarget || targetSide == caster) {
            line = FormatString(Text(isAbility ? u"ONL_GL_PlaysAbility" : u"ONL_GL_Plays"), {casterWord, name});
        } else {
            const std::u16string target = Text(targetSide == PLAYER_HUMAN ? u"ONL_GL_Player" : u"ONL_GL_Opponent");
            line = FormatString(Text(isAbility ? u"ONL_GL_PlaysAbilityAgainst" : u"ONL_GL_PlaysAgainst"),
                                {casterWord, name, target});
        }
    } else if (entry.targetCard->GetOwner() == caster) {
        line = FormatString(Text(isAbility ? u"ONL_GL_PlaysAbilityOn" : u"ONL_GL_PlaysOn"),
                            {casterWord, name, NameOf(entry.targetCard)});
    } else {
        const std::u16string owner =
            Text(entry.targetCard->GetOwner() == PLAYER_HUMAN ? u"ONL_GL_Players" : u"ONL_GL_Opponents");
        line = FormatString(Text(isAbility ? u"ONL_GL_PlaysAbilityAgainstOwned" : u"ONL_GL_PlaysOnOwned"),
                            {casterWord, name, owner, NameOf(entry.targetCard)});
    }
    GameLog::Add(true, u"%0", {line});
}

void SpellStack::ActivateAbility(CardActor* card, CardActor* targetCard, Actor* targetPlayer, bool writeLog)
{
    const int before = m_Count;
    CastSpell(card, targetCard, targetPlayer, false, true);
    if (m_Count == before || card == nullptr)
        return;
    card->SetOnStack(false);
    SetCountdown(100);
    m_State = card->GetOwner() == PLAYER_HUMAN ? STACK_HUMAN_ACTS : STACK_CPU_ACTS;
    m_PromptState = 6;
    StackEntry& entry = m_Entries[m_Count - 1];
    const CardAbility& ability = *card->GetAbility();
    if (targetPlayer == nullptr && !ability.effect.needsTarget && !ability.effect.targetOnResolve &&
        !ability.effect.targetIsGroup) {
        if (ability.target.caster)
            entry.targetPlayer = ActorOf(card->GetOwner());
        else if (ability.target.opponent)
            entry.targetPlayer = ActorOf(1 - card->GetOwner());
        if (ability.target.type == TT_SELF)
            entry.targetCard = card;
        else if (ability.target.type == TT_ENCHANTEE)
            entry.targetCard = card->GetHost();
    }
    if (writeLog && m_Physical == 0)
        WriteCastLog(entry, ability.effect, true);
}

void SpellStack::PushCombatDamage(int side, int kind)
{
    const int before = m_Count;
    CastSpell(nullptr, nullptr, ActorOf(side), false, false);
    if (m_Count == before)
        return;
    m_Entries[m_Count - 1].combatDamageKind = kind;
    m_State = STACK_OPEN;
    m_PromptState = 0;
    const bool defenderMayAnswer = PhaseStop::Get(side, 6) ||
                                   CanAffordCard(FindCardActor(CD_WENORTH, PLAYER_HUMAN, nullptr), false, false) ||
                                   (side == PLAYER_CPU &&
                                    CanAffordCard(FindCardActor(CD_NESURGAST, PLAYER_HUMAN, nullptr), false, false)) ||
                                   (s_GameMode == 4 && HasUsableAbility(PLAYER_HUMAN));
    if (defenderMayAnswer) {
        m_State = side == PLAYER_HUMAN ? STACK_HUMAN_ACTS : STACK_CPU_ACTS;
        m_PromptState = 6;
        if (m_Physical == 0 && side == PLAYER_CPU)
            m_Countdown = 0;
        else
            SetCountdown(100);
    } else {
        SetCountdown(100);
    }
}

void SpellStack::Update()
{
    if (!m_Active)
        return;
    if (m_PlayerActor == nullptr || m_CpuActor == nullptr)
        LookUpActors();
    if (m_PlayerActor == nullptr || m_CpuActor == nullptr)
        return;
    if (GetPlayerState(PLAYER_HUMAN)->HasLost() || GetPlayerState(PLAYER_CPU)->HasLost())
        return;
    const bool running = TickCountdown();
    if (running) {
        if (m_Physical != 0 && m_Countdown < 10 && m_Count > 0) {
            const StackEntry& top = m_Entries[m_Count - 1];
            if (top.card != nullptr && top.card->GetOwner() == PLAYER_HUMAN && !top.isAbility)
                CpuRespond(true);
        }
    } else if (m_State == STACK_RESOLVE) {
        Resolve();
        if (m_Count == 0)
            m_State = STACK_OPEN;
        return;
    }
    if (m_State == STACK_HUMAN_ACTS || m_State == STACK_CPU_ACTS)
        return;
    const bool second = TickCountdown();
    bool waiting = false;
    if (!second && m_State == STACK_OPEN && !IsOnlinePromptShowing() && s_HumanTurn) {
        const int cpuState = m_CpuActor->GetState();
        for (const int state : CPU_STATE_WAITS)
            waiting = waiting || cpuState == state;
    }
    m_PromptState = waiting ? (GetOnlineAdviceNumber() > 999 ? 4 : 5) : 0;
}

void SpellStack::RemoveEntry(int index)
{
    if (index < 0 || index >= m_Count)
        return;
    StackEntry& entry = m_Entries[index];
    if (entry.card != nullptr) {
        entry.card->SetOnStack(false);
        entry.card->SetStackIndex(-1);
        entry.card->m_StackWord = -1;
    }
    entry = StackEntry();
    --m_Count;
    if (m_Count == 0)
        ApplyStaticAbilities();
}

void SpellStack::ReplaceWithAbility(const StackEntry& entry, bool online)
{
    const StackEntry saved = entry;
    RemoveEntry(m_Count - 1);
    ActivateAbility(saved.card, saved.targetCard, saved.targetPlayer, false);
    if (saved.card == nullptr)
        return;
    const bool human = saved.card->GetOwner() == PLAYER_HUMAN;
    if (online) {
        m_State = human ? STACK_HUMAN_ACTS : STACK_CPU_ACTS;
        m_PromptState = human ? 2 : 3;
    } else if (!human) {
        m_State = STACK_OPEN;
        SetCountdown(100);
    }
}

void SpellStack::Pause()
{
    m_ResolutionPaused = true;
    m_PausedWord = 1;
    if (m_PromptCode == STACK_PROMPT_NONE)
        m_PromptCode = STACK_PROMPT_OTHER;
}

void SpellStack::Resolve()
{
    for (;;) {
        if (m_Count == 0 || m_State != STACK_RESOLVE) {
            if (m_Count == 0)
                Reset(m_Physical);
            return;
        }
        StackEntry& top = m_Entries[m_Count - 1];
        if (m_Physical != 0 && !IsLifeTokenReady())
            return;
        if (IsPaused() && m_ResolvingCard != nullptr)
            return;
        if (GetPlayerState(PLAYER_HUMAN)->HasLost() || GetPlayerState(PLAYER_CPU)->HasLost()) {
            Reset(m_Physical);
            return;
        }
        if (top.combatDamageKind == 0) {
            CardActor* const card = top.card;
            // An entry without a card is never made; if one appears it goes rather than loop.
            if (card == nullptr) {
                RemoveEntry(m_Count - 1);
                continue;
            }
            if (!top.isAbility) {
                if (card->IsHeldOrLeaving()) {
                    RemoveEntry(m_Count - 1);
                    return;
                }
                const bool ready = card->GetCardType() != CT_CREATURE || card->GetStats().haste;
                card->SetTapState(ready ? TAP_READY : TAP_NEW);
            }
            m_ResolvingCard = card;
            m_ResolvingIsAbility = top.isAbility;
            m_ResolvingEffect = top.isAbility ? &card->GetAbility()->effect : card->GetSpellEffect();
            m_ResolvingTarget = top.isAbility ? &card->GetAbility()->target : card->GetSpellTarget();
            m_ResolvingTargetCard = top.targetCard;
            m_ResolvingTargetPlayer = top.targetPlayer;
            const int effectType = m_ResolvingEffect->effectType;
            if (IsTargetInItsZone())
                RunHandler(effectType);
            else
                ResolveWithoutTarget(effectType);
            if (!top.isAbility && effectType == EFFECT_ADDABILITYTOSTACK)
                ReplaceWithAbility(top, m_Physical == 0);
            else
                RemoveEntry(m_Count - 1);
            if (top.isAbility || card->IsPermanentType())
                continue;
            if (m_Physical != 0 && IsPaused())
                continue;
            card->LeavePlay(LEAVE_NO_REGENERATION);
            continue;
        }
        if (m_Physical != 0 && (CountPendingCards(PLAYER_HUMAN) != 0 || !IsLifeTokenReady()))
            return;
        const int side = top.targetPlayer == m_PlayerActor ? PLAYER_HUMAN : PLAYER_CPU;
        const int kind = top.combatDamageKind;
        if (m_Physical != 0 && kind == 1)
            if (Actor* const attacker = ActorOf(side))
                attacker->SetState(13);
        DealCombatDamage(side);
        if (m_Physical != 0)
            QueueCombatResults();
        if (kind == 1)
            EndCombat();
        RemoveEntry(m_Count - 1);
    }
}

void SpellStack::ForgetCard(const CardActor* card)
{
    ForgetCombatResultCard(card);
    if (card == nullptr) {
        m_ResolutionPaused = false;
        m_PausedWord = 0;
        m_LandSearch = false;
        m_PromptCode = STACK_PROMPT_NONE;
    }
    for (StackEntry& entry : m_Entries) {
        if (card != nullptr && entry.card == card)
            entry.card = nullptr;
        if (card != nullptr && entry.targetCard == card)
            entry.targetCard = nullptr;
    }
    if (card == nullptr || m_ResolvingCard == card) {
        m_ResolvingCard = nullptr;
        m_ResolvingEffect = nullptr;
        m_ResolvingTarget = nullptr;
        m_ResolvingIsAbility = false;
    }
    if (card == nullptr || m_ResolvingTargetCard == card)
        m_ResolvingTargetCard = nullptr;
    if (card == nullptr)
        m_ResolvingTargetPlayer = nullptr;
    if (m_HoveredAbility == card)
        m_HoveredAbility = nullptr;
    if (card == nullptr || m_PromptCard == card)
        m_PromptCard = nullptr;
}

void SpellStack::ForgetPlayerActor(const Actor* actor)
{
    if (actor == nullptr)
        return;
    if (m_PlayerActor == actor)
        m_PlayerActor = nullptr;
    if (m_CpuActor == actor)
        m_CpuActor = nullptr;
    for (StackEntry& entry : m_Entries) {
        if (entry.targetPlayer == actor)
            entry.targetPlayer = nullptr;
    }
    if (m_ResolvingTargetPlayer == actor)
        m_ResolvingTargetPlayer = nullptr;
}

void SpellStack::Reset(int physical)
{
    for (StackEntry& entry : m_Entries)
        entry = StackEntry();
    m_Physical = physical;
    m_Count = 0;
    m_PromptState = 0;
    m_State = STACK_OPEN;
    m_Countdown = 0;
    m_HoveredAbility = nullptr;
    LookUpActors();
}

void SpellStack::OpenWindow()
{
    m_Active = true;
    OpenPromptWindow();
}

void SpellStack::Shutdown()
{
    DeletePromptWindows();
    m_Active = false;
    m_PlayerActor = nullptr;
    m_CpuActor = nullptr;
}

CardActor* SpellStack::GetTopCard() const
{
    return m_Count > 0 ? m_Entries[m_Count - 1].card : nullptr;
}

StackEntry* SpellStack::GetTopEntry()
{
    return m_Count > 0 ? &m_Entries[m_Count - 1] : nullptr;
}

StackEntry* SpellStack::GetEntry(int index)
{
    return index >= 0 && index < m_Count ? &m_Entries[index] : nullptr;
}

bool SpellStack::IsSpellOnStack(const CardActor* card) const
{
    if (card == nullptr || !card->IsOnStack())
        return false;
    for (int i = 0; i < m_Count; ++i) {
        if (m_Entries[i].card == card && IsSpellEntry(m_Entries[i]))
            return true;
    }
    return false;
}

StackEntry* SpellStack::FindEntry(const CardActor* card, const Actor* target)
{
    if (card == nullptr && target == nullptr)
        return nullptr;
    for (int i = 0; i < m_Count; ++i) {
        StackEntry& entry = m_Entries[i];
        if ((card != nullptr && entry.card == card) ||
            (target != nullptr && (entry.targetCard == target || entry.targetPlayer == target)))
            return &entry;
    }
    return nullptr;
}

bool SpellStack::HasEntryOfPlayer(int owner, bool respondingOnly) const
{
    for (int i = 0; i < m_Count; ++i) {
        const StackEntry& entry = m_Entries[i];
        if (entry.card == nullptr || entry.card->GetOwner() != owner)
            continue;
        if (!respondingOnly || entry.isAbility || entry.card->GetCardType() == CT_INSTANT)
            return true;
    }
    return false;
}

int SpellStack::GetTopController() const
{
    if (m_State != STACK_OPEN || m_Count == 0)
        return m_State;
    const StackEntry& top = m_Entries[m_Count - 1];
    if (top.card != nullptr)
        return top.card->GetOwner() == PLAYER_HUMAN ? STACK_HUMAN_ACTS : STACK_CPU_ACTS;
    return s_HumanTurn ? STACK_CPU_ACTS : STACK_HUMAN_ACTS;
}

int SpellStack::GetPendingDamage(const Actor* target, bool includeCurrent) const
{
    if (target == nullptr)
        return 0;
    const CardActor* const card = AsCardActor(target);
    int sum = 0;
    if (includeCurrent) {
        if (card != nullptr)
            sum = card->GetPendingDamage();
        else if (const PlayerState* const record = GetPlayerState(SideOf(target)))
            sum = record->m_DamageThisTurn;
    }
    for (const StackEntry& entry : m_Entries) {
        if (entry.card == nullptr)
            continue;
        const bool aims = card != nullptr ? entry.targetCard == card : entry.targetPlayer == target;
        const EffectSpec& effect = entry.isAbility ? entry.card->GetAbility()->effect : *entry.card->GetSpellEffect();
        if (aims && effect.effectType == EFFECT_DAMAGE)
            sum += effect.damageAmt;
    }
    return sum;
}

PendingPump SpellStack::GetPendingPump(const CardActor* card) const
{
    PendingPump pump;
    for (const StackEntry& entry : m_Entries) {
        if (entry.card == nullptr || entry.targetCard == nullptr || entry.targetCard != card)
            continue;
        const EffectSpec& effect = entry.card->GetAbility()->effect;
        if (effect.effectType == EFFECT_PTMOD_MANAPUMP) {
            pump.power += effect.powerModAmt;
            pump.toughness += effect.toughModAmt;
        }
    }
    return pump;
}

// ---- Resolution ----------------------------------------------------------------------------------------------

int SpellStack::Amount(int base)
{
    CardActor* const card = m_ResolvingCard;
    if (m_ResolvingIsAbility || card == nullptr || !card->IsXSpell())
        return base;
    const int x = card->GetPaidMana().Total();
    card->GetPaidMana().Clear();
    return base * x;
}

void SpellStack::Fizzle()
{
    if (!m_ResolvingIsAbility)
        Sound(SOUND_FIZZLE);
}

bool SpellStack::IsTargetInItsZone() const
{
    const CardActor* const target = m_ResolvingTargetCard;
    if (target == nullptr || m_ResolvingTarget == nullptr)
        return true;
    switch (m_ResolvingTarget->state) {
    case INPLAY:
    case TAPPED:
    case UNTAPPED:
    case ATTACKING:
    case BLOCKING:
    case ATTACKING_OR_BLOCKING:
    case ATTACKING_UNBLOCKED:
    case ENCHANTED:
    case SUMMONING_SICKNESS:
        return target->CanAct();
    case GRAVEYARD:
        return target->IsExitMoveForward();
    case ON_STACK:
        return IsSpellOnStack(target);
    case LIBRARY:
        return target->IsInLibrary();
    case HAND:
        return target->IsHeld() && !target->IsInLibrary();
    default:
        // A record that names no zone: the handler decides.
        return true;
    }
}

void SpellStack::ResolveWithoutTarget(int effectType)
{
    m_ResolvingTargetCard = nullptr;
    // An aura with nothing to enchant still goes to the graveyard.
    if (effectType == EFFECT_ENCHANT)
        HandleEnchant();
    else
        Fizzle();
}

void SpellStack::RunHandler(int effectType)
{
    switch (effectType) {
    case EFFECT_ENCHANT:
        HandleEnchant();
        break;
    case EFFECT_DAMAGE:
        HandleDamage();
        break;
    case EFFECT_PTMOD_STATIC:
        HandleAttachToTargets(true);
        break;
    case EFFECT_PTMOD_MANAPUMP:
        HandleManaPump();
        break;
    case EFFECT_MODLIFE:
        HandleModLife();
        break;
    case EFFECT_MODLIFE_XATTACKERS:
        HandleModLifeXAttackers();
        break;
    case EFFECT_DRAINLIFE:
        HandleDrainLife();
        break;
    case EFFECT_PREVENTDAMAGE:
        HandlePreventDamage();
        break;
    case EFFECT_GAINLIFEORPREVENTDAMAGE:
        HandleGainLifeOrPrevent();
        break;
    case EFFECT_DRAWDISCARD:
    case EFFECT_OPPONENTDISCARD:
        HandleDrawDiscard();
        break;
    case EFFECT_RAISE:
        HandleRaise();
        break;
    case EFFECT_TUTOR:
    case EFFECT_SPY:
        m_PromptCode = STACK_PROMPT_LIBRARY;
        Pause();
        break;
    case EFFECT_COUNTER:
        HandleCounter();
        break;
    case EFFECT_DESTROY:
        HandleDestroy();
        break;
    case EFFECT_DESTROY_GAINLIFE_P:
        HandleDestroyGainLife(true);
        break;
    case EFFECT_DESTROY_GAINLIFE_T:
        HandleDestroyGainLife(false);
        break;
    case EFFECT_UNSUMMON:
        HandleUnsummon();
        break;
    case EFFECT_TAP:
        HandleTap();
        break;
    case EFFECT_REGENERATE:
        HandleRegenerate();
        break;
    case EFFECT_MODCREATURE:
        HandleAttachToTargets(false);
        break;
    case EFFECT_ADDFLYING:
        HandleAddFlying();
        break;
    default:
        // None, land growth, remove from game, untap, the mana effects and the ability hand-over have no handler.
        break;
    }
}

void SpellStack::HandleEnchant()
{
    CardActor* const target = m_ResolvingTargetCard;
    if (InPlay(target)) {
        target->AttachCard(m_ResolvingCard);
        target->UpdatePowerToughness(false);
        return;
    }
    m_ResolvingCard->LeavePlay(LEAVE_NO_REGENERATION);
    Sound(SOUND_FIZZLE);
}

namespace {

void DamageCard(CardActor& card, int amount, bool noRegen)
{
    if (noRegen)
        card.SetNoRegeneration(true);
    card.AddDamage(amount);
    card.ResolveDamage();
}

// The accepted cards of a group, in list order.
std::vector<CardActor*> GroupTargets(CardActor* source, bool isAbility)
{
    std::vector<CardActor*> group;
    for (CardActor* const card : GetCardActors()) {
        if (card->CanAct() && ChooseTarget(source, card, isAbility, true, false, nullptr) != nullptr)
            group.push_back(card);
    }
    return group;
}

} // namespace

void SpellStack::HandleDamage()
{
    const EffectSpec& effect = *m_ResolvingEffect;
    const int amount = Amount(effect.damageAmt);
    const int caster = m_ResolvingCard->GetOwner();
    if (effect.targetIsGroup) {
        for (CardActor* const card : GroupTargets(m_ResolvingCard, m_ResolvingIsAbility))
            DamageCard(*card, amount, effect.noRegen);
        Sound(SOUND_DAMAGE);
        return;
    }
    if (InPlay(m_ResolvingTargetCard)) {
        DamageCard(*m_ResolvingTargetCard, amount, effect.noRegen);
        if (m_ResolvingTargetCard->IsNotLeaving())
            Sound(SOUND_DAMAGE);
        if (s_GameMode == 1)
            Pause();
        return;
    }
    const int side = SideOf(m_ResolvingTargetPlayer);
    if (side == PLAYER_HUMAN) {
        PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
        const int previous = human.GetLife();
        if (human.TakeDamage(amount, true) > 0) {
            Sound(SOUND_DAMAGE);
            if (s_GameMode == 2 || (s_GameMode == 1 && caster == PLAYER_HUMAN)) {
                ShowHumanLifeChange(0, previous);
            } else if (s_GameMode == 1) {
                MarkLifeTokenChanged();
                Pause();
            }
        }
        return;
    }
    if (side == PLAYER_CPU) {
        if (GetPlayerState(PLAYER_CPU)->TakeDamage(amount, true) > 0)
            Sound(SOUND_DAMAGE);
        if (s_GameMode == 1)
            Pause();
        return;
    }
    Fizzle();
}

void SpellStack::HandleAttachToTargets(bool sounds)
{
    if (m_ResolvingEffect->targetIsGroup) {
        for (CardActor* const card : GroupTargets(m_ResolvingCard, m_ResolvingIsAbility)) {
            card->AttachCard(m_ResolvingCard);
            card->UpdatePowerToughness(false);
        }
        if (sounds)
            Sound(SOUND_SORCERY);
        return;
    }
    if (InPlay(m_ResolvingTargetCard)) {
        m_ResolvingTargetCard->AttachCard(m_ResolvingCard);
        m_ResolvingTargetCard->UpdatePowerToughness(false);
        if (sounds)
            Sound(SOUND_PUMP);
        return;
    }
    Fizzle();
}

void SpellStack::HandleManaPump()
{
    CardActor* const card = m_ResolvingCard;
    CardActor* const pumped = card->GetCardType() == CT_ENCHANT ? card->GetHost() : card;
    if (pumped == nullptr || !pumped->IsNotLeaving())
        return;
    card->SetPumpCount(card->GetPumpCount() + 1);
    Sound(SOUND_PUMP);
    (card->GetHost() != nullptr ? card->GetHost() : card)->UpdatePowerToughness(false);
}

void SpellStack::HandleModLife()
{
    const int amount = Amount(m_ResolvingEffect->modLifeAmt);
    const int side = SideOf(m_ResolvingTargetPlayer);
    if (side < 0) {
        Fizzle();
        return;
    }
    PlayerState& record = *GetPlayerState(side);
    const int previous = record.GetLife();
    record.ChangeLife(amount);
    Sound(amount > 0 ? SOUND_GAIN_LIFE : SOUND_SORCERY);
    if (amount == 0)
        return;
    if (side == PLAYER_HUMAN && s_GameMode == 2) {
        ShowHumanLifeChange(1, previous);
    } else if (s_GameMode == 1) {
        if (side == PLAYER_HUMAN)
            MarkLifeTokenChanged();
        Pause();
    }
}

void SpellStack::HandleModLifeXAttackers()
{
    CardActor* const card = m_ResolvingCard;
    const int amount = m_ResolvingEffect->modLifeAmt * card->GetPaidMana().generic;
    card->GetPaidMana().generic = 0;
    const int side = SideOf(m_ResolvingTargetPlayer);
    if (side < 0) {
        Fizzle();
        return;
    }
    PlayerState& record = *GetPlayerState(side);
    const int previous = record.GetLife();
    record.ChangeLife(amount);
    if (side == PLAYER_HUMAN && amount != 0 && m_Physical != 0)
        ShowHumanLifeChange(1, previous);
}

void SpellStack::HandleDrainLife()
{
    const EffectSpec& effect = *m_ResolvingEffect;
    const int amount = Amount(effect.drainLifeAmt);
    const int caster = m_ResolvingCard->GetOwner();
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    if (InPlay(m_ResolvingTargetCard)) {
        DamageCard(*m_ResolvingTargetCard, amount, effect.noRegen);
        PlayerState& record = *GetPlayerState(caster);
        const int previous = record.GetLife();
        record.ChangeLife(amount);
        if (m_Physical != 0 && amount != 0 && caster == PLAYER_HUMAN)
            ShowHumanLifeChange(1, previous);
        return;
    }
    const int side = SideOf(m_ResolvingTargetPlayer);
    if (side == PLAYER_HUMAN) {
        if (caster == PLAYER_HUMAN) {
            Sound(SOUND_FIZZLE);
            return;
        }
        const int previous = human.GetLife();
        const int dealt = effect.drainIsDamage ? human.TakeDamage(amount, true) : human.TakeDamage(amount, false);
        cpu.ChangeLife(amount);
        if (dealt > 0 && s_GameMode == 2) {
            ShowHumanLifeChange(effect.drainIsDamage ? 0 : 1, previous);
        } else if (dealt > 0 && s_GameMode == 1) {
            MarkLifeTokenChanged();
            Pause();
        }
        return;
    }
    if (side == PLAYER_CPU) {
        effect.drainIsDamage ? cpu.TakeDamage(amount, true) : cpu.TakeDamage(amount, false);
        const int previous = human.GetLife();
        human.ChangeLife(amount);
        if (amount != 0 && s_GameMode == 2) {
            ShowHumanLifeChange(1, previous);
        } else if (amount != 0 && s_GameMode == 1) {
            MarkLifeTokenChanged();
            Pause();
        }
        return;
    }
    Fizzle();
}

void SpellStack::HandlePreventDamage()
{
    const int amount = Amount(m_ResolvingEffect->preventDmgAmt);
    bool aimed = false;
    if (InPlay(m_ResolvingTargetCard)) {
        m_ResolvingTargetCard->SetShields(m_ResolvingTargetCard->GetShields() + amount);
        aimed = true;
    }
    if (PlayerState* const record = GetPlayerState(SideOf(m_ResolvingTargetPlayer))) {
        record->m_PreventDamage += amount;
        aimed = true;
    }
    if (!aimed)
        Fizzle();
}

void SpellStack::HandleGainLifeOrPrevent()
{
    const int choice = m_ResolvingCard->GetState();
    // Both amounts take X; the paid mana is read once.
    const int x = !m_ResolvingIsAbility && m_ResolvingCard->IsXSpell() ? m_ResolvingCard->GetPaidMana().Total() : 1;
    if (!m_ResolvingIsAbility && m_ResolvingCard->IsXSpell())
        m_ResolvingCard->GetPaidMana().Clear();
    const int life = choice == 1 ? m_ResolvingEffect->modLifeAmt * x : 0;
    const int prevent = choice == 2 ? m_ResolvingEffect->preventDmgAmt * x : 0;
    bool aimed = false;
    if (InPlay(m_ResolvingTargetCard)) {
        m_ResolvingTargetCard->SetShields(m_ResolvingTargetCard->GetShields() + prevent);
        aimed = true;
    }
    const int side = SideOf(m_ResolvingTargetPlayer);
    if (PlayerState* const record = GetPlayerState(side)) {
        record->m_PreventDamage += prevent;
        const int previous = record->GetLife();
        record->ChangeLife(life);
        if (side == PLAYER_HUMAN && s_GameMode == 2 && life != 0)
            ShowHumanLifeChange(1, previous);
        aimed = true;
    }
    if (!aimed)
        Fizzle();
}

void SpellStack::HandleDrawDiscard()
{
    const EffectSpec& effect = *m_ResolvingEffect;
    const int side = SideOf(m_ResolvingTargetPlayer);
    if (side == PLAYER_HUMAN) {
        Pause();
        if (m_Physical == 0)
            GetPlayerState(PLAYER_HUMAN)->m_CardsToDraw = effect.drawAmt;
        return;
    }
    if (side != PLAYER_CPU)
        return;
    if (effect.drawAmt == 0) {
        if (effect.discardAmt != 0) {
            if (m_Physical != 0)
                Pause();
            else
                CpuDiscardAtRandom(effect.discardAmt);
        }
        return;
    }
    if (m_Physical != 0) {
        Pause();
        return;
    }
    PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    for (int i = 0; i < effect.drawAmt; ++i) {
        if (cpu.m_NextDrawIndex >= cpu.m_LibraryCount) {
            cpu.SetDrewFromEmptyLibrary(true);
            break;
        }
        CardActor* const card = CreateCardActor(cpu.m_Library[static_cast<std::size_t>(cpu.m_NextDrawIndex)], PLAYER_CPU);
        ++cpu.m_NextDrawIndex;
        if (card == nullptr)
            continue;
        card->SetHeld(true);
        card->SetInLibrary(false);
        SetCpuLastDrawTime(plat::TimeGetTime());
    }
}

void SpellStack::HandleRaise()
{
    CardActor* const card = m_ResolvingTargetCard;
    if (card == nullptr)
        return;
    switch (m_ResolvingEffect->raiseTutorType) {
    case RAISETUTOR_TOHAND:
        card->SetTapState(TAP_OFF_TABLE);
        card->SetExitMove(0);
        card->SetHeld(true);
        card->SetPlayedMark(0);
        Sound(SOUND_RETURN);
        break;
    case RAISETUTOR_TOPLAY:
    case RAISETUTOR_TOPLAYTAPPED:
        // Only a creature turns or is new to the table; another permanent comes back untapped.
        if (card->GetCardType() == CT_CREATURE)
            card->SetTapState(m_ResolvingEffect->raiseTutorType == RAISETUTOR_TOPLAY ? TAP_NEW : TAP_TAPPED);
        else
            card->SetTapState(TAP_READY);
        card->SetExitMove(0);
        card->SetHeld(false);
        card->SetPlayedMark(1);
        Sound(SOUND_RETURN);
        break;
    default:
        break;
    }
    RemoveFromGraveyard(card);
}

void SpellStack::HandleCounter()
{
    CardActor* const target = m_ResolvingTargetCard;
    // Only a spell still on the stack can be countered; a permanent in play never is.
    if (!IsSpellOnStack(target) || m_ResolvingEffect == nullptr || m_ResolvingCard == nullptr ||
        !m_ResolvingCard->IsNotLeaving()) {
        Sound(SOUND_FIZZLE);
        return;
    }
    const ManaCost& sink = m_ResolvingEffect->counterManaSink;
    bool countered = true;
    if (sink.Total() > 0) {
        if (target->GetOwner() == PLAYER_CPU) {
            if (CanPay(PLAYER_CPU, sink, false)) {
                const int sources = PayCpuCost(sink);
                if (m_Physical == 0)
                    GameLog::Add(true, Text(u"ONL_GL_OppPaysManaSink"), {IntToWString(sources), NameOf(m_ResolvingCard)});
                countered = false;
            }
        } else {
            countered = false;
        }
    }
    if (countered) {
        target->LeavePlay(LEAVE_COUNTERED);
        Sound(SOUND_COUNTER);
    } else {
        Sound(SOUND_FIZZLE);
    }
}

void SpellStack::HandleDestroy()
{
    const EffectSpec& effect = *m_ResolvingEffect;
    const int reason = effect.noRegen ? LEAVE_NO_REGENERATION : LEAVE_DESTROY;
    if (effect.targetIsGroup) {
        for (CardActor* const card : GroupTargets(m_ResolvingCard, m_ResolvingIsAbility))
            card->LeavePlay(reason);
        return;
    }
    CardActor* const target = m_ResolvingTargetCard;
    if (!InPlay(target)) {
        Fizzle();
        return;
    }
    const bool willRegenerate = target->HasRegenerationShield() && !target->IsNoRegeneration();
    const bool left = target->LeavePlay(reason);
    if (!left && !willRegenerate)
        Sound(SOUND_FIZZLE);
    if (left && s_GameMode == 1 && target->GetOwner() == PLAYER_CPU &&
        (target->GetId() == CD_GALUMSK || target->GetId() == CD_NODUMBER))
        Pause();
}

void SpellStack::HandleDestroyGainLife(bool byPower)
{
    const EffectSpec& effect = *m_ResolvingEffect;
    CardActor* const target = m_ResolvingTargetCard;
    if (!InPlay(target)) {
        Fizzle();
        return;
    }
    const int gain = effect.modLifeAmt * (byPower ? target->GetStats().power : target->GetStats().toughness);
    const bool willRegenerate = target->HasRegenerationShield() && !target->IsNoRegeneration();
    const bool left = target->LeavePlay(effect.noRegen ? LEAVE_NO_REGENERATION : LEAVE_DESTROY);
    if (gain > 0) {
        const int caster = m_ResolvingCard->GetOwner();
        PlayerState& record = *GetPlayerState(caster);
        const int previous = record.GetLife();
        record.ChangeLife(gain);
        if (m_Physical != 0 && caster == PLAYER_HUMAN)
            ShowHumanLifeChange(1, previous);
    }
    if (!left && !willRegenerate)
        Sound(SOUND_FIZZLE);
}

void SpellStack::HandleUnsummon()
{
    if (m_ResolvingCard != nullptr && InPlay(m_ResolvingTargetCard)) {
        m_ResolvingTargetCard->ClearPlayState(true);
        Sound(SOUND_RETURN);
        return;
    }
    Fizzle();
}

void SpellStack::HandleTap()
{
    if (m_ResolvingCard != nullptr && InPlay(m_ResolvingTargetCard)) {
        m_ResolvingTargetCard->SetTapState(TAP_TAPPED);
        Sound(SOUND_TAP);
    }
}

void SpellStack::HandleRegenerate()
{
    CardActor* const target = m_ResolvingTargetCard;
    if (m_ResolvingCard == nullptr || !InPlay(target))
        return;
    if (target->IsNoRegeneration())
        Fizzle();
    else
        target->SetRegenerationShield(true);
}

void SpellStack::HandleAddFlying()
{
    // The chosen creature flies until end of turn; without one the card itself does.
    CardActor* const target = m_ResolvingTargetCard;
    if (InPlay(target) && target->GetCardType() == CT_CREATURE) {
        target->SetFlyingUntilEndOfTurn(true);
        target->UpdatePowerToughness(false);
    } else if (InPlay(m_ResolvingCard)) {
        m_ResolvingCard->SetFlyingUntilEndOfTurn(true);
        m_ResolvingCard->UpdatePowerToughness(false);
    }
}

bool SpellStack::CpuSearchLibraryForLand(const ManaCost& colours, bool tapped)
{
    PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    int found = -1;
    for (int i = cpu.m_NextDrawIndex; i < cpu.m_LibraryCount && i < LIBRARY_CAPACITY; ++i) {
        const int id = cpu.m_Library[static_cast<std::size_t>(i)];
        if (id <= 0 || id >= CD_NUMBER_OF_CARD_DEFS || g_CardDefs[id].GetCardType() != CT_LAND)
            continue;
        if (KeepCoveredColours(g_CardDefs[id].GetAbility()->effect.manaProduced, colours).HasColour()) {
            found = i;
            break;
        }
    }
    if (found < 0)
        return false;
    std::swap(cpu.m_Library[static_cast<std::size_t>(found)], cpu.m_Library[static_cast<std::size_t>(cpu.m_NextDrawIndex)]);
    if (m_Physical != 0) {
        m_ResolvingTargetCard = nullptr;
        m_LandSearch = true;
        cpu.m_CardsToDraw = 1;
        return true;
    }
    CardActor* const land = CreateCardActor(cpu.m_Library[static_cast<std::size_t>(cpu.m_NextDrawIndex)], PLAYER_CPU);
    ++cpu.m_NextDrawIndex;
    if (land != nullptr) {
        m_ResolvingTargetCard = land;
        land->SetTapState(tapped ? TAP_TAPPED : TAP_READY);
        land->SetOwner(PLAYER_CPU);
        land->SetInLibrary(false);
        land->SetHeld(false);
    }
    ShuffleRestOfCpuLibrary();
    UpdateCpuAvailableMana();
    Sound(SOUND_SEARCHED_LAND);
    return true;
}

void SpellStack::CpuDiscardAtRandom(int count)
{
    for (int discarded = 0; discarded < count;) {
        std::vector<CardActor*> hand;
        for (CardActor* const card : GetCardActors()) {
            if (card->GetOwner() == PLAYER_CPU && card->IsHeld() && card->IsNotLeaving())
                hand.push_back(card);
        }
        const int n = static_cast<int>(hand.size());
        if (n == 0)
            return;
        const int k = plat::Rand() % n;
        CardActor* chosen = nullptr;
        for (int i = 0; i < n; ++i) {
            if (i + 1 >= k && hand[static_cast<std::size_t>(i)]->m_DeckCardMarker == 0) {
                chosen = hand[static_cast<std::size_t>(i)];
                break;
            }
        }
        // Only library cards left: nothing can be discarded.
        if (chosen == nullptr)
            return;
        chosen->LeavePlay(LEAVE_DISCARD);
        ++discarded;
    }
}

bool SpellStack::IsMouseOverStack() const
{
    if (m_Physical != 0)
        return false;
    const StackArea area = GetStackArea();
    return MouseState.x < area.right && MouseState.y > area.top;
}
