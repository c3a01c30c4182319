// One card in a running game: an actor of the registry (type 1) bound to its card definition, carrying what the
// card is in this game: owner, zone, tap state, combat, damage and shields, what is attached to it, the drag.
#pragma once

#include "cards/Card.h"
#include "engine/scene/Actor.h"

#include <array>

struct PlayerState;

constexpr int CARD_SLOT_COUNT = 40;
constexpr int SORT_KEY_LAST = 999999;

// Tap states.
constexpr int TAP_OFF_TABLE = 0;
constexpr int TAP_TAPPED = 1;
constexpr int TAP_NEW = 2;  // on the table this turn, summoning-sick
constexpr int TAP_READY = 3;

// Why a card leaves play.
enum LeaveReason : int {
    LEAVE_DESTROY = 0,
    LEAVE_NO_REGENERATION = 1,
    LEAVE_SACRIFICE = 2,
    LEAVE_FOLLOW_HOST = 3,
    LEAVE_DISCARD = 4,
    LEAVE_COUNTERED = 5,
};
// CanLeavePlay's answers besides the exit moves -1 and +1.
constexpr int LEAVE_REGENERATED = 0;
constexpr int LEAVE_NOTHING = 6;

constexpr int SOUND_REGENERATE = 80;

class CardActor : public Actor, public CardBase {
public:
    CardActor();
    ~CardActor() override = default;

    // ---- CardBase: forwarded to the bound definition; zero, empty or null without one ---------------------
    const char16_t* GetNameField() const override;
    const char16_t* GetIdName() const override;
    const char16_t* GetTypeLine() const override;
    int GetId() const override;
    const ManaCost* GetManaCounters() const override;
    bool IsXSpell() const override;
    int GetCardType() const override;
    int GetSubType() const override;
    bool IsEnchantOffensive() const override;
    int GetRarity() const override;
    // The definition's statistics; the current ones are GetStats.
    const CreatureStats* GetCreatureStats() const override;
    const TargetSpec* GetSpellTarget() const override;
    const EffectSpec* GetSpellEffect() const override;
    const CardAbility* GetAbility() const override;
    const std::u16string& GetArtist() const override;
    const std::u16string& GetLargeArt() const override;
    const std::u16string& GetCostText() const override;
    const std::u16string& GetTypeText() const override;
    const std::u16string& GetText() const override;
    const std::u16string& GetEffectText() const override;
    const std::u16string& GetFlavorText() const override;
    const std::u16string& GetSmallCardPath() const override;
    bool HasActivatedAbility() const override;
    bool HasStaticAbility() const override;
    bool IsBasicLand0() const override;
    bool IsBasicLand1() const override;
    bool IsBasicLand2() const override;
    bool IsBasicLand3() const override;
    bool IsBasicLand4() const override;
    int GetBasicLandKind() const override;
    bool IsLand() const override;
    bool IsPermanentType() const override;
    int GetColorIndex() const override;
    int GetColoredAmount(bool abilityCost) const override;

    // ---- Operations ----------------------------------------------------------------------------------------
    // Binds the definition and, for a real one, copies its statistics and cost.
    void SetCard(const CARD* card);
    const CARD* GetCard() const { return m_pCard; }
    // A card already attached, or a full list, is ignored. An aura attached this way gets this card as host.
    void AttachCard(CardActor* card);
    // Null empties slot 0.
    void DetachCard(CardActor* card);
    // A blocker already listed, or a full list, is ignored.
    void AddBlocker(CardActor* blocker);
    // Null empties slot 0 without touching a link.
    void RemoveBlocker(CardActor* blocker);
    int CountBlockers() const;
    // Filled slots first, keyed on the definition's toughness (plus shields minus damage when asked), ties by
    // the definition's power.
    void SortBlockers(bool includeDamage, bool ascending);
    // Nets damage against shields; true while the card stays (lethal damage it regenerated from included).
    bool ResolveDamage();
    // True when the card left (or is on its way out); false when nothing happened or it regenerated.
    bool LeavePlay(int reason);
    // -1 or +1 the exit move, 0 regenerated, 6 nothing to do.
    int CanLeavePlay(int reason);
    void ClearPlayState(bool full);
    void UpdatePowerToughness(bool full);
    // The card whose activated ability can be used: this one, or its first aura with such an ability of the
    // effect type (0 any). out gets the card that pays (the host of an enchantment, else this card).
    CardActor* FindActivatableSource(CardActor** out, int effectTypeFilter);
    CardActor* CanActivate(CardActor** out, int effectTypeFilter) { return FindActivatableSource(out, effectTypeFilter); }
    bool IsEnchantedBy(const CardActor* card, bool onlyStaying) const;
    bool HasAttachedAura(bool onlyOwnStaying) const;
    int CountAttachedAuras(bool onlyOwnStaying) const;
    // The upright and turned faces entered under the card's identifier name; -1 when not loaded.
    void BindFaceTextures(const char16_t* idName);
    void SetHeld(bool held);
    void SetInLibrary(bool inLibrary);
    // Makes this card a still image of another, for the preview: every game field, the place and the flags, with
    // the preview-copy flag set. The links to other cards are kept; ForgetLink drops one that goes away.
    void CopyForPreview(const CardActor& source);
    // Every link of this card to that one (host, attachment, blocker, attacker, target) is cleared.
    void ForgetLink(const Actor* card);
    // Starts the mouse drag unless the table already drags a card.
    void BeginDrag(int mouseX, int mouseY);
    void EndDrag();
    // Setting 3 (untapped) clears the mana-ready byte.
    void SetTapState(int tapState);
    bool IsTappedManaSource() const;
    bool CanAct() const;
    // Toughness plus shields (unless ignored) minus damage (and pending damage when asked), never below 0.
    int GetRemainingToughness(bool ignoreShields, bool withPending) const;

    // ---- Plain accessors -----------------------------------------------------------------------------------
    int GetOwner() const { return m_Owner; }
    void SetOwner(int owner) { m_Owner = owner; }
    PlayerState* GetOwnerRecord() const { return m_pOwnerRecord; }
    void SetOwnerRecord(PlayerState* record) { m_pOwnerRecord = record; }
    int GetTapState() const { return m_TapState; }
    int GetExitMove() const { return m_ExitMove; }
    void SetExitMove(int exitMove) { m_ExitMove = exitMove; }
    bool IsNotLeaving() const { return m_ExitMove == 0; }
    bool IsExitMoveForward() const { return m_ExitMove == 1; }
    bool IsExitMoveBackward() const { return m_ExitMove < 0; }
    bool IsHeld() const { return m_Held != 0; }
    bool IsHeldOrLeaving() const { return m_Held != 0 || m_ExitMove != 0; }
    bool IsInLibrary() const { return m_InLibrary; }
    bool IsBlocked() const { return m_Blocked; }
    void SetBlocked(bool blocked) { m_Blocked = blocked; }
    bool IsAttacking() const { return m_Attacking; }
    void SetAttacking(bool attacking) { m_Attacking = attacking; }
    int GetPumpCount() const { return m_PumpCount; }
    void SetPumpCount(int count) { m_PumpCount = count; }
    int GetDamage() const { return m_Damage; }
    void SetDamage(int damage) { m_Damage = damage; }
    void AddDamage(int damage) { m_Damage += damage; }
    int GetPendingDamage() const { return m_PendingDamage; }
    void SetPendingDamage(int damage) { m_PendingDamage = damage; }
    int GetShields() const { return m_Shields; }
    void SetShields(int shields) { m_Shields = shields; }
    bool HasRegenerationShield() const { return m_RegenerationShield; }
    void SetRegenerationShield(bool shield) { m_RegenerationShield = shield; }
    bool IsNoRegeneration() const { return m_NoRegeneration; }
    void SetNoRegeneration(bool value) { m_NoRegeneration = value; }
    ManaCost& GetPaidMana() { return m_PaidMana; }
    const ManaCost& GetPaidMana() const { return m_PaidMana; }
    int GetStackIndex() const { return m_StackIndex; }
    void SetStackIndex(int index) { m_StackIndex = index; }
    bool IsOnStack() const { return m_OnStack; }
    void SetOnStack(bool onStack) { m_OnStack = onStack; }
    // Nothing sets it: summoning sickness is tap state 2.
    bool IsSummoningSick() const { return m_SummoningSick; }
    CardActor* GetAttachment(int slot) const;
    CardActor* GetHost() const { return m_pHost; }
    void SetHost(CardActor* host) { m_pHost = host; }
    CardActor* GetBlocker(int slot) const;
    CardActor* GetBlockedAttacker() const { return m_pBlockedAttacker; }
    void SetBlockedAttacker(CardActor* attacker) { m_pBlockedAttacker = attacker; }
    int GetSortKey() const { return m_SortKey; }
    void SetSortKey(int key) { m_SortKey = key; }
    const ManaCost& GetCost() const { return m_Cost; }
    Actor* GetChosenTarget() const { return m_pChosenTarget; }
    void SetChosenTarget(Actor* target) { m_pChosenTarget = target; }
    bool IsDragging() const { return m_Dragging; }
    void GetDragOffset(int& x, int& y) const
    {
        x = m_DragOffsetX;
        y = m_DragOffsetY;
    }
    bool IsManaReady() const { return m_ManaReady; }
    void SetManaReady(bool ready) { m_ManaReady = ready; }
    const CreatureStats& GetStats() const { return m_Stats; }
    CreatureStats& GetStats() { return m_Stats; }
    int GetPlayedMark() const { return m_PlayedMark; }
    void SetPlayedMark(int mark) { m_PlayedMark = mark; }
    int GetLessonTag() const { return m_LessonTag; }
    void SetLessonTag(int tag) { m_LessonTag = tag; }
    bool IsFlyingUntilEndOfTurn() const { return m_FlyingUntilEndOfTurn; }
    void SetFlyingUntilEndOfTurn(bool flying) { m_FlyingUntilEndOfTurn = flying; }

    // ---- Fields --------------------------------------------------------------------------------------------
    CreatureStats m_Stats;
    const CARD* m_pCard = nullptr;
    PlayerState* m_pOwnerRecord = nullptr;
    int m_Owner = 0;
    int m_TapState = TAP_OFF_TABLE;
    int m_ExitMove = 0;
    int m_Held = 0;
    bool m_Blocked = false;
    bool m_Attacking = false;
    int m_PumpCount = 0;
    int m_Damage = 0;
    int m_PendingDamage = 0;
    int m_Shields = 0;
    bool m_RegenerationShield = false;
    bool m_NoRegeneration = false;
    ManaCost m_PaidMana;
    int m_StackIndex = -1;  // the spell-stack entry the card stands in
    bool m_SummoningSick = false;
    std::array<CardActor*, CARD_SLOT_COUNT> m_Attachments{};
    CardActor* m_pHost = nullptr;
    std::array<CardActor*, CARD_SLOT_COUNT> m_Blockers{};
    CardActor* m_pBlockedAttacker = nullptr;
    int m_SortKey = SORT_KEY_LAST;
    ManaCost m_Cost;
    Actor* m_pChosenTarget = nullptr;
    bool m_InLibrary = true;
    bool m_Dragging = false;
    int m_DragOffsetX = 0;
    int m_DragOffsetY = 0;
    bool m_ManaReady = false;
    // 1 once the rules cast the card or put it into play (the may-act word).
    int m_PlayedMark = 0;
    bool m_OnStack = false;
    int m_DeckCardMarker = 0;
    int m_DealMark = 0;  // dealt into the opening hand, not yet placed
    int m_GenericOwed = -1;
    int m_PaidState = 0;
    int m_InputState = 0;
    bool m_PromptByte = false;
    int m_LessonTag = 0;
    bool m_FlyingUntilEndOfTurn = false;
    // Lumarton untaps only every second time: set as it untaps, cleared as it stays tapped.
    bool m_SkipNextUntap = false;
    // The table's drawing and movement.
    int m_Texture = -1;
    int m_TextureRotated = -1;  // the "_r" image
    bool m_DrawnBefore = false;
    int m_DrawAnimation = 0;
    int m_AnimationWord = 0;
    bool m_BeingDragged = false;  // dragged by the table input, face down
    bool m_Arrived = false;
    bool m_EasingStopped = false;
    int m_DragStartX = 0;
    int m_DragStartY = 0;
    int m_HomeX = 0;
    int m_HomeY = 0;
    int m_KeptWidth = 0;
    int m_KeptHeight = 0;

private:
    // The hand and the lesson hear of a card leaving or entering its owner's hand.
    void OnZoneChanged();
    bool HasFlyingFromOwnAbility() const;
    void AddAbilityModifiers(const CardActor& source, int& power, int& toughness) const;
};

// Makes an unregistered card actor without a definition (the registry's CreateActor(1)); null when out of memory.
Actor* NewCardActor();
// The actor as a card actor, or null when it is not one.
CardActor* AsCardActor(Actor* actor);
const CardActor* AsCardActor(const Actor* actor);
