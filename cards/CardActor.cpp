#include "cards/CardActor.h"

#include "cards/TableInput.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/Wave.h"
#include "gamestate/LessonState.h"
#include "gamestate/TableLessonCalls.h"
#include "rules/BoardQueries.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

namespace {

constexpr int FULL_VOLUME = 255;

const std::u16string& EmptyText()
{
    static const std::u16string s_empty;
    return s_empty;
}

template <typename Record>
const Record* EmptyRecord()
{
    static const Record s_record{};
    return &s_record;
}

bool IsAura(const CardActor* card)
{
    return card != nullptr && card->GetCardType() == CT_ENCHANT &&
           card->GetSpellEffect()->effectType == EFFECT_ENCHANT;
}

// Each keyword byte set in source is set in target.
void AddKeywords(CreatureStats& target, const CreatureStats& source)
{
    bool* const targetBytes[] = {&target.hasCannotBlock, &target.hasFearAttack, &target.mustAttack,
                                 &target.isUnblockable,  &target.flying,        &target.flyBlock,
                                 &target.trample,        &target.firstStrike,   &target.cannotAttack,
                                 &target.noTapAttack,    &target.haste,         &target.isWall};
    const bool sourceBytes[] = {source.hasCannotBlock, source.hasFearAttack, source.mustAttack, source.isUnblockable,
                                source.flying,         source.flyBlock,      source.trample,    source.firstStrike,
                                source.cannotAttack,   source.noTapAttack,   source.haste,      source.isWall};
    for (std::size_t i = 0; i < std::size(sourceBytes); ++i) {
        if (sourceBytes[i])
            *targetBytes[i] = true;
    }
}


} // namespace

CardActor::CardActor() : Actor(ACTOR_TYPE_CARD)
{
}

void CardActor::CopyForPreview(const CardActor& source)
{
    if (&source == this)
        return;
    SetName(source.GetName());
    m_Position = source.m_Position;
    m_TargetPoint = source.m_TargetPoint;
    m_Rotation = source.m_Rotation;
    m_Scale = source.m_Scale;
    m_Flags = source.m_Flags | ACTOR_FLAG_PREVIEW_COPY;
    m_State = source.m_State;
    m_Stats = source.m_Stats;
    m_pCard = source.m_pCard;
    m_pOwnerRecord = source.m_pOwnerRecord;
    m_Owner = source.m_Owner;
    m_TapState = source.m_TapState;
    m_ExitMove = source.m_ExitMove;
    m_Held = source.m_Held;
    m_Blocked = source.m_Blocked;
    m_Attacking = source.m_Attacking;
    m_PumpCount = source.m_PumpCount;
    m_Damage = source.m_Damage;
    m_PendingDamage = source.m_PendingDamage;
    m_Shields = source.m_Shields;
    m_RegenerationShield = source.m_RegenerationShield;
    m_NoRegeneration = source.m_NoRegeneration;
    m_PaidMana = source.m_PaidMana;
    m_StackIndex = source.m_StackIndex;
    m_SummoningSick = source.m_SummoningSick;
    m_Attachments = source.m_Attachments;
    m_pHost = source.m_pHost;
    m_Blockers = source.m_Blockers;
    m_pBlockedAttacker = source.m_pBlockedAttacker;
    m_SortKey = source.m_SortKey;
    m_Cost = source.m_Cost;
    m_pChosenTarget = source.m_pChosenTarget;
    m_InLibrary = source.m_InLibrary;
    m_Dragging = source.m_Dragging;
    m_DragOffsetX = source.m_DragOffsetX;
    m_DragOffsetY = source.m_DragOffsetY;
    m_ManaReady = source.m_ManaReady;
    m_PlayedMark = source.m_PlayedMark;
    m_OnStack = source.m_OnStack;
    m_DeckCardMarker = source.m_DeckCardMarker;
    m_DealMark = source.m_DealMark;
    m_GenericOwed = source.m_GenericOwed;
    m_PaidState = source.m_PaidState;
    m_InputState = source.m_InputState;
    m_PromptByte = source.m_PromptByte;
    m_LessonTag = source.m_LessonTag;
    m_FlyingUntilEndOfTurn = source.m_FlyingUntilEndOfTurn;
    m_SkipNextUntap = source.m_SkipNextUntap;
    m_Texture = source.m_Texture;
    m_TextureRotated = source.m_TextureRotated;
    m_DrawnBefore = source.m_DrawnBefore;
    m_DrawAnimation = source.m_DrawAnimation;
    m_AnimationWord = source.m_AnimationWord;
    m_BeingDragged = source.m_BeingDragged;
    m_Arrived = source.m_Arrived;
    m_EasingStopped = source.m_EasingStopped;
    m_DragStartX = source.m_DragStartX;
    m_DragStartY = source.m_DragStartY;
    m_HomeX = source.m_HomeX;
    m_HomeY = source.m_HomeY;
    m_KeptWidth = source.m_KeptWidth;
    m_KeptHeight = source.m_KeptHeight;
}

void CardActor::ForgetLink(const Actor* card)
{
    if (card == nullptr)
        return;
    const auto forget = [card](CardActor*& link) {
        if (link != nullptr && static_cast<const Actor*>(link) == card)
            link = nullptr;
    };
    for (CardActor*& attachment : m_Attachments)
        forget(attachment);
    for (CardActor*& blocker : m_Blockers)
        forget(blocker);
    forget(m_pHost);
    forget(m_pBlockedAttacker);
    if (m_pChosenTarget == card)
        m_pChosenTarget = nullptr;
}

// ---- CardBase ----------------------------------------------------------------------------------------------

const char16_t* CardActor::GetNameField() const
{
    return m_pCard != nullptr ? m_pCard->GetNameField() : nullptr;
}

const char16_t* CardActor::GetIdName() const
{
    return m_pCard != nullptr ? m_pCard->GetIdName() : nullptr;
}

const char16_t* CardActor::GetTypeLine() const
{
    return m_pCard != nullptr ? m_pCard->GetTypeLine() : nullptr;
}

int CardActor::GetId() const
{
    return m_pCard != nullptr ? m_pCard->GetId() : 0;
}

const ManaCost* CardActor::GetManaCounters() const
{
    return m_pCard != nullptr ? m_pCard->GetManaCounters() : EmptyRecord<ManaCost>();
}

bool CardActor::IsXSpell() const
{
    return m_pCard != nullptr && m_pCard->IsXSpell();
}

int CardActor::GetCardType() const
{
    return m_pCard != nullptr ? m_pCard->GetCardType() : 0;
}

int CardActor::GetSubType() const
{
    return m_pCard != nullptr ? m_pCard->GetSubType() : 0;
}

bool CardActor::IsEnchantOffensive() const
{
    return m_pCard != nullptr && m_pCard->IsEnchantOffensive();
}

int CardActor::GetRarity() const
{
    return m_pCard != nullptr ? m_pCard->GetRarity() : 0;
}

const CreatureStats* CardActor::GetCreatureStats() const
{
    return m_pCard != nullptr ? m_pCard->GetCreatureStats() : EmptyRecord<CreatureStats>();
}

const TargetSpec* CardActor::GetSpellTarget() const
{
    return m_pCard != nullptr ? m_pCard->GetSpellTarget() : EmptyRecord<TargetSpec>();
}

const EffectSpec* CardActor::GetSpellEffect() const
{
    return m_pCard != nullptr ? m_pCard->GetSpellEffect() : EmptyRecord<EffectSpec>();
}

const CardAbility* CardActor::GetAbility() const
{
    return m_pCard != nullptr ? m_pCard->GetAbility() : EmptyRecord<CardAbility>();
}

const std::u16string& CardActor::GetArtist() const
{
    return m_pCard != nullptr ? m_pCard->GetArtist() : EmptyText();
}

const std::u16string& CardActor::GetLargeArt() const
{
    return m_pCard != nullptr ? m_pCard->GetLargeArt() : EmptyText();
}

const std::u16string& CardActor::GetCostText() const
{
    return m_pCard != nullptr ? m_pCard->GetCostText() : EmptyText();
}

const std::u16string& CardActor::GetTypeText() const
{
    return m_pCard != nullptr ? m_pCard->GetTypeText() : EmptyText();
}

const std::u16string& CardActor::GetText() const
{
    return m_pCard != nullptr ? m_pCard->GetText() : EmptyText();
}

const std::u16string& CardActor::GetEffectText() const
{
    return m_pCard != nullptr ? m_pCard->GetEffectText() : EmptyText();
}

const std::u16string& CardActor::GetFlavorText() const
{
    return m_pCard != nullptr ? m_pCard->GetFlavorText() : EmptyText();
}

const std::u16string& CardActor::GetSmallCardPath() const
{
    return m_pCard != nullptr ? m_pCard->GetSmallCardPath() : EmptyText();
}

bool CardActor::HasActivatedAbility() const
{
    return m_pCard != nullptr && m_pCard->HasActivatedAbility();
}

bool CardActor::HasStaticAbility() const
{
    return m_pCard != nullptr && m_pCard->HasStaticAbility();
}

bool CardActor::IsBasicLand0() const
{
    return m_pCard != nullptr && m_pCard->IsBasicLand0();
}

bool CardActor::IsBasicLand1() const
{
    return m_pCard != nullptr && m_pCard->IsBasicLand1();
}

bool CardActor::IsBasicLand2() const
{
    return m_pCard != nullptr && m_pCard->IsBasicLand2();
}

bool CardActor::IsBasicLand3() const
{
    return m_pCard != nullptr && m_pCard->IsBasicLand3();
}

bool CardActor::IsBasicLand4() const
{
    return m_pCard != nullptr && m_pCard->IsBasicLand4();
}

int CardActor::GetBasicLandKind() const
{
    return m_pCard != nullptr ? m_pCard->GetBasicLandKind() : 0;
}

bool CardActor::IsLand() const
{
    return m_pCard != nullptr && m_pCard->IsLand();
}

bool CardActor::IsPermanentType() const
{
    return m_pCard != nullptr && m_pCard->IsPermanentType();
}

int CardActor::GetColorIndex() const
{
    return m_pCard != nullptr ? m_pCard->GetColorIndex() : 0;
}

int CardActor::GetColoredAmount(bool abilityCost) const
{
    return m_pCard != nullptr ? m_pCard->GetColoredAmount(abilityCost) : 0;
}

// ---- Operations ----------------------------------------------------------------------------------------------

void CardActor::SetCard(const CARD* card)
{
    m_pCard = card;
    if (card != nullptr) {
        m_Stats = *card->GetCreatureStats();
        m_Cost = *card->GetManaCounters();
        BindFaceTextures(card->GetIdName());
    }
}

// The faces are the small images that loadcard entered under the card's identifier and its "_r" name; a card
// not loaded has none and draws no face.
void CardActor::BindFaceTextures(const char16_t* idName)
{
    const auto texture = [](const std::u16string& name) {
        const TextureNameValue entry = GetTextureEntry(name);
        return entry.kind == TextureNameValue::Kind::Texture ? entry.texture : -1;
    };
    const std::u16string name = idName != nullptr ? idName : u"";
    m_Texture = name.empty() ? -1 : texture(name);
    m_TextureRotated = name.empty() ? -1 : texture(name + u"_r");
}

void CardActor::AttachCard(CardActor* card)
{
    if (card == nullptr || std::find(m_Attachments.begin(), m_Attachments.end(), card) != m_Attachments.end())
        return;
    const auto free = std::find(m_Attachments.begin(), m_Attachments.end(), nullptr);
    if (free == m_Attachments.end())
        return;
    *free = card;
    if (IsAura(card))
        card->m_pHost = this;
}

void CardActor::DetachCard(CardActor* card)
{
    if (card == nullptr) {
        m_Attachments[0] = nullptr;
        return;
    }
    const auto slot = std::find(m_Attachments.begin(), m_Attachments.end(), card);
    if (slot != m_Attachments.end())
        *slot = nullptr;
}

void CardActor::AddBlocker(CardActor* blocker)
{
    if (blocker == nullptr || std::find(m_Blockers.begin(), m_Blockers.end(), blocker) != m_Blockers.end())
        return;
    const auto free = std::find(m_Blockers.begin(), m_Blockers.end(), nullptr);
    if (free == m_Blockers.end())
        return;
    *free = blocker;
    blocker->m_pBlockedAttacker = this;
}

void CardActor::RemoveBlocker(CardActor* blocker)
{
    if (blocker == nullptr) {
        m_Blockers[0] = nullptr;
        return;
    }
    const auto slot = std::find(m_Blockers.begin(), m_Blockers.end(), blocker);
    if (slot != m_Blockers.end())
        *slot = nullptr;
    blocker->m_pBlockedAttacker = nullptr;
}

int CardActor::CountBlockers() const
{
    return static_cast<int>(CARD_SLOT_COUNT - std::count(m_Blockers.begin(), m_Blockers.end(), nullptr));
}

void CardActor::SortBlockers(bool includeDamage, bool ascending)
{
    const auto key = [includeDamage](const CardActor* blocker) {
        int value = blocker->GetCreatureStats()->toughness;
        if (includeDamage)
            value += blocker->m_Shields - blocker->m_Damage;
        return value;
    };
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (int i = 0; i + 1 < CARD_SLOT_COUNT; ++i) {
            CardActor*& first = m_Blockers[i];
            CardActor*& second = m_Blockers[i + 1];
            bool swap = false;
            if (first == nullptr) {
                swap = second != nullptr;
            } else if (second != nullptr) {
                const int a = key(first);
                const int b = key(second);
                const int powerA = first->GetCreatureStats()->power;
                const int powerB = second->GetCreatureStats()->power;
                swap = ascending ? (a > b || (a == b && powerA > powerB)) : (a < b || (a == b && powerA < powerB));
            }
            if (swap) {
                std::swap(first, second);
                swapped = true;
            }
        }
    }
}

bool CardActor::ResolveDamage()
{
    const int damage = m_Damage;
    const int shields = m_Shields;
    m_Damage = std::max(damage - shields, 0);
    m_Shields = std::max(shields - damage, 0);
    if (m_Damage < m_Stats.toughness)
        return true;
    return !LeavePlay(m_NoRegeneration ? LEAVE_NO_REGENERATION : LEAVE_DESTROY);
}

int CardActor::CanLeavePlay(int reason)
{
    // A card on its way out is never sent out again, whatever the reason: a second exit would list it twice.
    if (!IsHeld() && m_ExitMove != 0)
        return LEAVE_NOTHING;
    if (reason == LEAVE_DESTROY && m_RegenerationShield && !m_NoRegeneration && CanAct() && m_Stats.toughness > 0) {
        m_RegenerationShield = false;
        m_Attacking = false;
        m_pBlockedAttacker = nullptr;
        m_Blockers[0] = nullptr;
        m_Damage = 0;
        SetTapState(TAP_TAPPED);
        return LEAVE_REGENERATED;
    }
    m_ExitMove = (m_Owner == PLAYER_HUMAN && (reason == LEAVE_SACRIFICE || reason == LEAVE_DISCARD)) ? 1 : -1;
    if (GetCardType() == CT_ENCHANT && m_pHost != nullptr) {
        CardActor* const host = m_pHost;
        host->DetachCard(this);
        if (reason != LEAVE_FOLLOW_HOST)
            m_pHost = nullptr;
        host->UpdatePowerToughness(false);
    }
    if (reason == LEAVE_DISCARD) {
        SetHeld(false);
        SetInLibrary(false);
    } else {
        ClearPlayState(false);
    }
    return m_ExitMove;
}

bool CardActor::LeavePlay(int reason)
{
    switch (CanLeavePlay(reason)) {
    case 1:
        PutCardIntoGraveyard(this);
        return true;
    case LEAVE_NOTHING:
        return false;
    case LEAVE_REGENERATED:
        PlayEffect(SOUND_REGENERATE, FULL_VOLUME, 0, 0, 0, nullptr);
        return false;
    default:
        AddPendingCard(this);
        if (m_Owner == PLAYER_HUMAN && reason == LEAVE_COUNTERED)
            g_CounteredCard = this;
        return true;
    }
}

void CardActor::ClearPlayState(bool full)
{
    m_Damage = 0;
    m_Shields = 0;
    m_SummoningSick = false;
    m_RegenerationShield = false;
    m_NoRegeneration = false;
    m_StackIndex = -1;
    m_State = 0;
    m_StackWord = -1;
    if (GetCardType() == CT_CREATURE) {
        // An attacker that leaves releases its blockers, so no blocker keeps a link to a card gone from combat.
        for (CardActor*& blocker : m_Blockers) {
            if (blocker != nullptr && blocker->m_pBlockedAttacker == this)
                blocker->m_pBlockedAttacker = nullptr;
            blocker = nullptr;
        }
        // A blocker that leaves is dropped from its attacker's list; the attacker stays blocked.
        if (m_pBlockedAttacker != nullptr)
            m_pBlockedAttacker->RemoveBlocker(this);
        m_pBlockedAttacker = nullptr;
    }
    // Off the table a card is in no combat.
    m_Attacking = false;
    m_Blocked = false;
    const int reason = m_ExitMove == -1 ? LEAVE_FOLLOW_HOST : LEAVE_SACRIFICE;
    // Leaving detaches the aura from this card's list, so walk a copy.
    const auto attachments = m_Attachments;
    for (CardActor* const attachment : attachments) {
        if (attachment != nullptr && attachment->GetCardType() == CT_ENCHANT && attachment->m_pHost == this)
            attachment->LeavePlay(reason);
    }
    if (full) {
        m_Held = 1;
        m_TapState = TAP_OFF_TABLE;
        m_PlayedMark = 0;
    }
}

bool CardActor::HasFlyingFromOwnAbility() const
{
    const EffectSpec& ability = GetAbility()->effect;
    return !GetCreatureStats()->flying && m_Stats.flying && ability.effectType == EFFECT_ADDFLYING &&
           ability.duration == DURATION_TURN;
}

void CardActor::AddAbilityModifiers(const CardActor& source, int& power, int& toughness) const
{
    const EffectSpec& ability = source.GetAbility()->effect;
    switch (ability.effectType) {
    case EFFECT_PTMOD_STATIC:
        power += ability.powerModAmt;
        toughness += ability.toughModAmt;
        break;
    case EFFECT_PTMOD_MANAPUMP:
        power += ability.powerModAmt * source.m_PumpCount;
        toughness += ability.toughModAmt * source.m_PumpCount;
        break;
    case EFFECT_PTMOD_LANDGROWTH:
        if (const PlayerState* const record = source.m_pOwnerRecord) {
            const int lands = KeepCoveredColours(record->m_LandColours, ability.ptModLandColor).Total();
            power += ability.powerModAmt * lands;
            toughness += ability.toughModAmt * lands;
        }
        break;
    default:
        break;
    }
}

void CardActor::UpdatePowerToughness(bool full)
{
    const bool ownFlying = HasFlyingFromOwnAbility();
    const bool isCreature = GetCardType() == CT_CREATURE;
    if (isCreature)
        m_Stats = *GetCreatureStats();
    if (full) {
        const auto clear = [](CardActor& card) {
            card.m_Damage = 0;
            card.m_Shields = 0;
            card.m_Blocked = false;
            card.m_RegenerationShield = false;
            card.m_NoRegeneration = false;
            card.m_PumpCount = 0;
            card.m_FlyingUntilEndOfTurn = false;
        };
        clear(*this);
        for (CardActor* const attachment : m_Attachments) {
            if (attachment != nullptr)
                clear(*attachment);
        }
    } else if (ownFlying || m_FlyingUntilEndOfTurn) {
        m_Stats.flying = true;
    }
    if (!CanAct())
        return;
    if (m_pOwnerRecord != nullptr)
        AddKeywords(m_Stats, m_pOwnerRecord->m_CreatureBonus);
    const auto attachments = m_Attachments;
    for (CardActor* const attachment : attachments) {
        if (attachment == nullptr)
            continue;
        const EffectSpec& spell = *attachment->GetSpellEffect();
        const EffectSpec& ability = attachment->GetAbility()->effect;
        if (full) {
            if (spell.duration == DURATION_TURN ||
                (ability.duration == DURATION_TURN && spell.effectType != EFFECT_ENCHANT)) {
                DetachCard(attachment);
                continue;
            }
            if (spell.duration < DURATION_PERMANENT && ability.duration < DURATION_PERMANENT)
                continue;
        }
        if (spell.effectType == EFFECT_MODCREATURE || ability.effectType == EFFECT_MODCREATURE)
            AddKeywords(m_Stats, *attachment->GetCreatureStats());
    }
    if (!isCreature)
        return;
    int power = m_pOwnerRecord != nullptr ? m_pOwnerRecord->m_CreatureBonus.power : 0;
    int toughness = m_pOwnerRecord != nullptr ? m_pOwnerRecord->m_CreatureBonus.toughness : 0;
    AddAbilityModifiers(*this, power, toughness);
    for (CardActor* const attachment : m_Attachments) {
        if (attachment == nullptr)
            continue;
        if (attachment->GetCardType() != CT_ENCHANT) {
            const EffectSpec& spell = *attachment->GetSpellEffect();
            if (spell.effectType == EFFECT_PTMOD_STATIC) {
                power += spell.powerModAmt;
                toughness += spell.toughModAmt;
            }
        } else if (attachment->m_pHost == this && attachment->IsNotLeaving()) {
            AddAbilityModifiers(*attachment, power, toughness);
        }
    }
    m_Stats.power = GetCreatureStats()->power + power;
    m_Stats.toughness = GetCreatureStats()->toughness + toughness;
    if (m_Stats.toughness <= 0)
        LeavePlay(LEAVE_NO_REGENERATION);
}

CardActor* CardActor::FindActivatableSource(CardActor** out, int effectTypeFilter)
{
    if (HasActivatedAbility()) {
        if (out != nullptr)
            *out = (GetCardType() == CT_ENCHANT && m_pHost != nullptr) ? m_pHost : this;
        return this;
    }
    if (!HasAttachedAura(false))
        return nullptr;
    for (CardActor* const attachment : m_Attachments) {
        if (attachment != nullptr && attachment->HasActivatedAbility() &&
            (effectTypeFilter == 0 || attachment->GetAbility()->effect.effectType == effectTypeFilter)) {
            if (out != nullptr)
                *out = this;
            return attachment;
        }
    }
    return nullptr;
}

bool CardActor::IsEnchantedBy(const CardActor* card, bool onlyStaying) const
{
    if (!IsAura(card) || card->m_pHost != this || CountAttachedAuras(onlyStaying) == 0)
        return false;
    if (!onlyStaying)
        return true;
    return std::find(m_Attachments.begin(), m_Attachments.end(), card) != m_Attachments.end() &&
           card->IsNotLeaving();
}

bool CardActor::HasAttachedAura(bool onlyOwnStaying) const
{
    return CountAttachedAuras(onlyOwnStaying) > 0;
}

int CardActor::CountAttachedAuras(bool onlyOwnStaying) const
{
    int count = 0;
    for (const CardActor* const attachment : m_Attachments) {
        if (IsAura(attachment) && (!onlyOwnStaying || (attachment->m_pHost == this && attachment->IsNotLeaving())))
            ++count;
    }
    return count;
}

void CardActor::SetHeld(bool held)
{
    const int previous = m_Held;
    m_Held = held ? 1 : 0;
    if (m_Held != previous)
        OnZoneChanged();
}

void CardActor::SetInLibrary(bool inLibrary)
{
    const bool previous = m_InLibrary;
    m_InLibrary = inLibrary;
    if (m_InLibrary != previous)
        OnZoneChanged();
}

void CardActor::OnZoneChanged()
{
    if (m_InLibrary)
        return;
    if (m_Owner == PLAYER_HUMAN) {
        if (!IsHeld()) {
            QueueActorToFront(this);
            NotifyCardHeldChanged(PLAYER_HUMAN, this);
        } else {
            ShowFirstAppearanceTip(this);
        }
    } else if (m_Owner == PLAYER_CPU && !IsHeld()) {
        NotifyCardHeldChanged(PLAYER_CPU, this);
    }
}

void CardActor::BeginDrag(int mouseX, int mouseY)
{
    if (GetDraggedCard() != nullptr)
        return;
    if (!m_Dragging) {
        m_Dragging = true;
        SetDraggedCard(this);
    }
    m_DragOffsetX = mouseX - static_cast<int>(m_Position.x);
    m_DragOffsetY = mouseY - static_cast<int>(m_Position.y);
}

void CardActor::EndDrag()
{
    if (m_Dragging)
        m_Dragging = false;
    if (g_TableLessonCalls.HandleCardDropPhysical != nullptr)
        g_TableLessonCalls.HandleCardDropPhysical(this);
}

void CardActor::SetTapState(int tapState)
{
    m_TapState = tapState;
    if (tapState == TAP_READY)
        m_ManaReady = false;
}

bool CardActor::IsTappedManaSource() const
{
    return m_TapState == TAP_TAPPED && GetAbility()->effect.effectType == EFFECT_PRODUCEMANA &&
           (IsLand() || m_ManaReady);
}

bool CardActor::CanAct() const
{
    return !IsHeld() && IsNotLeaving() && !m_SummoningSick && !m_InLibrary && !m_OnStack &&
           m_TapState != TAP_OFF_TABLE && (m_PlayedMark != 0 || GetCardType() == CT_LAND);
}

int CardActor::GetRemainingToughness(bool ignoreShields, bool withPending) const
{
    int remaining = m_Stats.toughness - m_Damage;
    if (!ignoreShields)
        remaining += m_Shields;
    if (withPending)
        remaining -= m_PendingDamage;
    return std::max(remaining, 0);
}

CardActor* CardActor::GetAttachment(int slot) const
{
    return slot >= 0 && slot < CARD_SLOT_COUNT ? m_Attachments[slot] : nullptr;
}

CardActor* CardActor::GetBlocker(int slot) const
{
    return slot >= 0 && slot < CARD_SLOT_COUNT ? m_Blockers[slot] : nullptr;
}

Actor* NewCardActor()
{
    return new (std::nothrow) CardActor();
}

CardActor* AsCardActor(Actor* actor)
{
    return actor != nullptr && actor->GetType() == ACTOR_TYPE_CARD ? static_cast<CardActor*>(actor) : nullptr;
}

const CardActor* AsCardActor(const Actor* actor)
{
    return actor != nullptr && actor->GetType() == ACTOR_TYPE_CARD ? static_cast<const CardActor*>(actor) : nullptr;
}
