// The spell stack: every spell, activated ability and combat-damage step passes through it. A cast pushes an
// entry and opens a response window counted in frames; when it closes the stack resolves from the top through the
// effect handlers. One stack, reached through GetSpellStack.
#pragma once

#include <cstdint>

class Actor;
class CardActor;
class LibraryDialog;
class Messagebox;
struct EffectSpec;
struct TargetSpec;

constexpr int STACK_CAPACITY = 40;

// The priority word.
constexpr int STACK_OPEN = 0;
constexpr int STACK_HUMAN_ACTS = 1;
constexpr int STACK_CPU_ACTS = 2;
constexpr int STACK_RESOLVE = 3;

// The prompt code of a paused resolution.
constexpr int STACK_PROMPT_NONE = 0;
constexpr int STACK_PROMPT_LIBRARY = 2;
constexpr int STACK_PROMPT_OTHER = 1112;

struct StackEntry {
    CardActor* card = nullptr;
    CardActor* targetCard = nullptr;
    Actor* targetPlayer = nullptr;
    bool isAbility = false;
    int combatDamageKind = 0;  // 0 spell or ability, 1 regular, 2 first strike
};

// A card cast as a spell: not an ability of a card on the table, not a combat-damage step.
bool IsSpellEntry(const StackEntry& entry);

struct PendingPump {
    int power = 0;
    int toughness = 0;
};

class SpellStack {
public:
    void CastSpell(CardActor* card, CardActor* targetCard, Actor* targetPlayer, bool writeLog, bool isAbility);
    void ActivateAbility(CardActor* card, CardActor* targetCard, Actor* targetPlayer, bool writeLog);
    void PushCombatDamage(int attackingSide, int kind);
    void SetCountdown(int frames);
    bool TickCountdown();
    void Update();
    void Resolve();
    void RemoveEntry(int index);
    void ReplaceWithAbility(const StackEntry& entry, bool online);
    // The resolution prompts hand the stack back: the pause and the resolving block are cleared; with sendAway a
    // spent sorcery or instant goes out of play.
    void EndResolution(bool sendAway = true);

    // A removed card leaves every entry and the resolving block; null clears the resolving block and the pause.
    void ForgetCard(const CardActor* card);
    // A removed player actor is no longer a side nor a target.
    void ForgetPlayerActor(const Actor* actor);
    void Reset(int physical);
    void OpenWindow();
    void Shutdown();
    void Draw();
    // Decides whether the waiting entry may resolve now; when it may, the stack goes on to resolve.
    void ConfirmPrompt();
    // One step of a paused resolution's prompts.
    void RunResolutionPrompts();
    // 0 nothing, 1 show the window with its new text at the end of this frame, 2 hide it.
    void SetPromptMode(int mode) { m_PromptMode = mode; }
    int GetPromptMode() const { return m_PromptMode; }
    // The prompts' message window, made when the stack opens.
    Messagebox* GetWindow() const;
    bool IsWindowUp() const;
    // Unregisters the window and resets its buttons.
    void CloseWindow();
    // The library list of searches and looks.
    LibraryDialog* GetLibraryList() const;
    bool IsLibraryListOpen() const;
    void OpenLibraryList(int player, int count, bool choosing);
    void CloseLibraryList();
    void RelayoutLibraryList();

    int GetCount() const { return m_Count; }
    bool IsActive() const { return m_Active; }
    CardActor* GetTopCard() const;
    StackEntry* GetTopEntry();
    StackEntry* GetEntry(int index);
    StackEntry* FindEntry(const CardActor* card, const Actor* target);
    // The card stands on the stack as a spell, not as the source of an ability.
    bool IsSpellOnStack(const CardActor* card) const;
    bool HasEntryOfPlayer(int owner, bool respondingOnly) const;
    int GetTopController() const;
    int GetPendingDamage(const Actor* target, bool includeCurrent) const;
    PendingPump GetPendingPump(const CardActor* card) const;
    // False in the physical lesson, which shows no stack area.
    bool IsMouseOverStack() const;
    bool IsPaused() const { return m_ResolutionPaused && m_PausedWord != 0; }
    // The entry being resolved: its card and whether it is an ability.
    CardActor* GetResolvingCard() const { return m_ResolvingCard; }
    bool IsResolvingAbility() const { return m_ResolvingIsAbility; }
    // The effect of the spell or ability being resolved; null when none.
    const EffectSpec* GetResolvingEffect() const { return m_ResolvingEffect; }

    // The CPU's library search for a land and its random discard.
    bool CpuSearchLibraryForLand(const struct ManaCost& colours, bool tapped);
    void CpuDiscardAtRandom(int count);

    int m_State = STACK_OPEN;
    int m_PromptState = 0;
    int m_Countdown = 0;
    int m_Physical = 1;
    int m_PromptCode = STACK_PROMPT_NONE;
    bool m_Active = false;
    bool m_ResolutionPaused = false;
    int m_PausedWord = 0;
    bool m_LandSearch = false;
    bool m_CpuHasNoEntry = false;
    int m_PromptMode = 0;
    // The card the learner dropped to be discarded.
    CardActor* m_PromptCard = nullptr;
    int m_SorceryArrowsShown = 0;
    int m_DestroyArrowsShown = 0;
    bool m_DestroyArrowDrawn = false;
    Actor* m_PlayerActor = nullptr;
    Actor* m_CpuActor = nullptr;
    CardActor* m_HoveredAbility = nullptr;
    StackEntry m_Entries[STACK_CAPACITY];
    int m_Count = 0;
    // The resolving block.
    CardActor* m_ResolvingCard = nullptr;
    const EffectSpec* m_ResolvingEffect = nullptr;
    const TargetSpec* m_ResolvingTarget = nullptr;
    CardActor* m_ResolvingTargetCard = nullptr;
    Actor* m_ResolvingTargetPlayer = nullptr;
    bool m_ResolvingIsAbility = false;

private:
    // The window made at a scene load (the arrow counts start again); both windows deleted at exit.
    void OpenPromptWindow();
    void DeletePromptWindows();
    void Pause();
    // Whether the resolving target card is still in the zone its target record names (in play, a graveyard, the
    // stack, a library or a hand); a record that names none, or no target card, passes.
    bool IsTargetInItsZone() const;
    // A target gone from its zone: the entry does nothing beyond what a spell without a target does.
    void ResolveWithoutTarget(int effectType);
    void RunHandler(int effectType);
    int Amount(int base);
    void Fizzle();
    void LookUpActors();
    int SideOf(const Actor* playerActor) const;
    Actor* ActorOf(int side) const;
    void WriteCastLog(const StackEntry& entry, const EffectSpec& effect, bool isAbility);
    // Effect handlers.
    void HandleEnchant();
    void HandleDamage();
    void HandleAttachToTargets(bool sounds);
    void HandleManaPump();
    void HandleModLife();
    void HandleModLifeXAttackers();
    void HandleDrainLife();
    void HandlePreventDamage();
    void HandleGainLifeOrPrevent();
    void HandleDrawDiscard();
    void HandleRaise();
    void HandleCounter();
    void HandleDestroy();
    void HandleDestroyGainLife(bool byPower);
    void HandleUnsummon();
    void HandleTap();
    void HandleRegenerate();
    void HandleAddFlying();
};

SpellStack& GetSpellStack();
