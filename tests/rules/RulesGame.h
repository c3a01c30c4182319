// A whole game played through the rule functions only: the CPU's own choices for player 1 (land, plays and
// payment in both main phases, attackers, blocks that survive or kill by the fight tests) against a fixed policy
// for the learner (a land, casts paid from the pool with colours standing in for generic, attack with everything
// able, block with a creature that survives); combat damage through the stack, mana burn. The tests and the bench
// share it, on synthetic cards or on the compiled card file.
#pragma once

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/GameLog.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/TurnFlags.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuAttack.h"
#include "rules/CpuPayment.h"
#include "rules/CpuPlayChoice.h"
#include "rules/Decks.h"
#include "rules/GameGlobals.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace rulesgame {

constexpr int TURN_LIMIT = 400;

// Synthetic definitions for every identifier: ids 1-20 are the basic lands, every other id a creature whose
// colour, cost and strength follow from the id, some with flying, trample or first strike.
inline void DefineSyntheticCards()
{
    for (int id = 1; id < CD_NUMBER_OF_CARD_DEFS; ++id) {
        CARD& card = g_CardDefs[id];
        card = CARD();
        card.m_Id = id;
        card.m_IdName[0] = u'C';
        card.m_IdName[1] = static_cast<char16_t>(u'0' + id % 10);
        card.m_Name[0] = u'N';
        if (id <= 20) {
            // Mountain 1-4, Island 5-8, Plains 9-12, Forest 13-16, Swamp 17-20.
            constexpr int COUNTER[5] = {1, 3, 5, 2, 4};
            ManaCost colour;
            colour.At(COUNTER[(id - 1) / 4]) = 1;
            card.m_CardType = CT_LAND;
            card.m_Cost = colour;
            card.m_Ability.costType = COSTTYPE_TAP;
            card.m_Ability.effect.effectType = EFFECT_PRODUCEMANA;
            card.m_Ability.effect.manaProduced = colour;
            continue;
        }
        card.m_CardType = CT_CREATURE;
        card.m_Cost.generic = id % 3;
        card.m_Cost.At(1 + id % 5) = 1;
        card.m_Stats.power = 1 + id % 4;
        card.m_Stats.toughness = 1 + (id / 4) % 4;
        card.m_Stats.flying = id % 7 == 0;
        card.m_Stats.trample = id % 11 == 0;
        card.m_Stats.firstStrike = id % 13 == 0;
    }
}

// Every card in exactly one place, 40 per owner, pools never negative, tap states 0-3, blocker links symmetric,
// the stack within its capacity.
inline void CheckTable(const char* where, std::vector<std::string>& faults)
{
    int places[2] = {0, 0};
    for (int player = 0; player < 2; ++player) {
        const PlayerState& record = *GetPlayerState(player);
        places[player] += record.m_LibraryCount - record.m_NextDrawIndex;
        const ManaCost& pool = record.m_ManaPool;
        for (int i = 0; i < 6; ++i)
            if (pool.At(i) < 0)
                faults.push_back(std::string(where) + ": negative pool counter");
    }
    for (const CardActor* const card : GetCardActors()) {
        const int owner = card->GetOwner();
        if (owner != 0 && owner != 1)
            continue;
        int found = 0;
        if (card->IsHeld() && card->IsInLibrary())
            ++found;  // a dealt card not yet in hand counts with the library
        if (card->IsHeld() && !card->IsInLibrary() && card->IsNotLeaving())
            ++found;
        if (!card->IsHeld() && card->IsNotLeaving() && !card->IsOnStack() && card->GetTapState() != TAP_OFF_TABLE)
            ++found;
        if (card->IsOnStack() && card->IsNotLeaving() && !card->IsHeld() && card->GetTapState() == TAP_OFF_TABLE)
            ++found;
        if (card->IsExitMoveBackward())
            ++found;
        if (card->IsExitMoveForward()) {
            const PlayerState& record = *GetPlayerState(owner);
            int listed = 0;
            for (int i = 0; i < record.m_GraveyardCount; ++i)
                listed += record.m_Graveyard[static_cast<std::size_t>(i)] == card;
            if (listed == 1)
                ++found;
        }
        if (found != 1)
            faults.push_back(std::string(where) + ": card " + std::to_string(card->GetId()) + " in " +
                             std::to_string(found) + " places");
        ++places[owner];
        if (card->GetTapState() < 0 || card->GetTapState() > 3)
            faults.push_back(std::string(where) + ": tap state out of range");
        for (int slot = 0; slot < CARD_SLOT_COUNT; ++slot) {
            if (const CardActor* const blocker = card->GetBlocker(slot); blocker != nullptr &&
                                                                         blocker->GetBlockedAttacker() != card)
                faults.push_back(std::string(where) + ": one-sided block link");
        }
        if (const CardActor* const attacker = card->GetBlockedAttacker()) {
            bool listed = false;
            for (int slot = 0; slot < CARD_SLOT_COUNT; ++slot)
                listed = listed || attacker->GetBlocker(slot) == card;
            if (!listed)
                faults.push_back(std::string(where) + ": one-sided blocked-attacker link");
        }
    }
    // A dealt card still marked as in the library has its actor already: the library's range starts after it.
    for (int player = 0; player < 2; ++player) {
        if (places[player] != DECK_SIZE)
            faults.push_back(std::string(where) + ": player " + std::to_string(player) + " has " +
                             std::to_string(places[player]) + " cards");
    }
    const int count = GetSpellStack().GetCount();
    if (count < 0 || count > STACK_CAPACITY)
        faults.push_back(std::string(where) + ": stack count out of range");
}

struct Timings {
    double untap = 0, draw = 0, land = 0, cast = 0, combat = 0, burn = 0, checks = 0;
    // The part of the above the CPU spends choosing (land, plays, attackers, blocks).
    double cpu = 0;
};

class Game {
public:
    std::vector<std::string> journal;
    std::vector<std::string> faults;
    int turns = 0;
    bool humanLost = false;
    bool cpuLost = false;
    Timings* timings = nullptr;

    void Play(int mode, std::uint32_t seed, int colourA, int colourB)
    {
        s_GameMode = mode;
        plat::SeedRand(seed);
        DestroyAllActors();
        PurgeRemovedActors();
        ResetRulesState();
        ResetPhysicalTurnState();
        SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SpellStack& stack = GetSpellStack();
        stack.Reset(mode > 2 ? 0 : 1);
        SetChosenColours(colourA, colourB, (colourA + 2) % 5, (colourB + 2) % 5, (colourA + 4) % 5);
        SetupDecks();
        SetupCpuDeck();
        // The human's dealt cards go to the hand; the CPU draws its seven in the physical lesson.
        for (int i = 0; i < LIBRARY_ACTOR_CAPACITY; ++i) {
            if (CardActor* const card = GetLibraryActor(i)) {
                card->SetInLibrary(false);
                card->m_DealMark = 0;
            }
        }
        if (!IsOnlineLesson()) {
            for (int i = 0; i < 7; ++i)
                Draw(PLAYER_CPU);
        }
        Check("set-up");
        for (turns = 0; turns < TURN_LIMIT && !Over(); ++turns)
            Turn(turns % 2);
        if (!Over())
            faults.push_back("the game did not end");
        humanLost = GetPlayerState(PLAYER_HUMAN)->HasLost();
        cpuLost = GetPlayerState(PLAYER_CPU)->HasLost();
        DestroyAllActors();
        PurgeRemovedActors();
        s_GameMode = 0;
    }

private:
    using Clock = std::chrono::steady_clock;

    static bool Over()
    {
        return GetPlayerState(PLAYER_HUMAN)->HasLost() || GetPlayerState(PLAYER_CPU)->HasLost();
    }

    void Log(int player, const char* what, const CardActor* card = nullptr)
    {
        std::string line = std::to_string(turns) + (player == 0 ? " H " : " C ") + what;
        if (card != nullptr)
            line += " " + std::to_string(card->GetId());
        journal.push_back(line);
    }

    template <class Step>
    void Timed(double Timings::*part, Step step)
    {
        const auto start = Clock::now();
        step();
        if (timings != nullptr)
            timings->*part += std::chrono::duration<double>(Clock::now() - start).count();
    }

    void Draw(int player)
    {
        PlayerState& record = *GetPlayerState(player);
        if (record.m_NextDrawIndex >= record.m_LibraryCount) {
            record.SetDrewFromEmptyLibrary(true);
            Log(player, "decked");
            return;
        }
        CardActor* const card = CreateCardActor(record.m_Library[static_cast<std::size_t>(record.m_NextDrawIndex++)], player);
        if (card == nullptr)
            return;
        card->SetInLibrary(false);
        card->SetHeld(true);
        Log(player, "draws", card);
    }

    // Taps the player's ready lands for the cost into the pool and pays it; false (nothing tapped) when short.
    bool PayWithLands(int player, const ManaCost& cost)
    {
        if (player == PLAYER_HUMAN)
            UpdateHumanAvailableMana();
        else
            UpdateCpuAvailableMana();
        ManaCost available = GetAvailableMana(player);
        if (player == PLAYER_CPU)
            available.Add(GetPlayerState(player)->m_ManaPool);
        ManaCost owed = cost;
        for (int i = 1; i < 6; ++i) {
            if (available.At(i) < owed.At(i))
                return false;
            available.At(i) -= owed.At(i);
        }
        if (available.Total() < owed.generic)
            return false;
        // Coloured first, then whatever is left for generic; newest land first.
        std::vector<CardActor*> cards = GetCardActors();
        for (const bool generic : {false, true}) {
            for (auto it = cards.rbegin(); it != cards.rend(); ++it) {
                CardActor* const land = *it;
                if (land->GetOwner() != player || !land->IsLand() || !land->CanAct() || land->GetTapState() != TAP_READY)
                    continue;
                const ManaCost& production = GetManaProduction(*land);
                ManaCost& pool = GetPlayerState(player)->m_ManaPool;
                const bool wanted = generic ? pool.Total() < cost.Total()
                                            : KeepCoveredColours(production, owed).HasColour() &&
                                                  !IsCostCoveredBy(KeepCoveredColours(owed, production), pool);
                if (!wanted)
                    continue;
                land->SetTapState(TAP_TAPPED);
                AddToPlayerPool(production, player);
            }
        }
        // Generic is paid with whatever the pool holds, in the order generic, white, blue, black, red, green, as
        // the learner's payment takes it.
        ManaCost payment = cost;
        payment.generic = 0;
        ManaCost rest = GetPlayerState(player)->m_ManaPool;
        rest.Add(payment.Negated());
        for (int owed = cost.generic; owed > 0;) {
            int taken = 0;
            for (const int counter : {0, 5, 3, 4, 1, 2}) {
                if (rest.At(counter) > 0) {
                    --rest.At(counter);
                    ++payment.At(counter);
                    taken = 1;
                    break;
                }
            }
            if (taken == 0)
                break;
            owed -= taken;
        }
        return PayFromPlayerPool(payment, player);
    }

    void ResolveStack()
    {
        SpellStack& stack = GetSpellStack();
        for (int guard = 0; stack.GetCount() != 0 && guard < 100; ++guard) {
            stack.m_State = STACK_RESOLVE;
            stack.Resolve();
            if (stack.IsPaused())
                stack.EndResolution();
            PutLeavingCardsIntoGraveyard();
            Check("stack");
        }
        if (stack.GetCount() != 0)
            faults.push_back("the stack did not empty");
    }

    void Turn(int p)
    {
        HandTurnTo(p);
        Log(p, "turn");
        Timed(&Timings::untap, [&] {
            if (p == PLAYER_HUMAN)
                UntapHumanCards();
            else
                UntapCpuCards();
            ReadySickNonLands(p);
            for (CardActor* const card : GetCardActors())
                if (card->GetOwner() == p && card->GetTapState() == TAP_NEW)
                    card->SetTapState(TAP_READY);
        });
        Timed(&Timings::draw, [&] { Draw(p); });
        if (Over())
            return;
        Timed(&Timings::land, [&] {
            if (p == PLAYER_CPU) {
                CardActor* land = nullptr;
                Timed(&Timings::cpu, [&] { land = CpuChooseLandToPlay(); });
                if (land != nullptr) {
                    land->SetHeld(false);
                    land->SetTapState(TAP_READY);
                    land->SetPlayedMark(1);
                    Log(p, "land", land);
                }
                return;
            }
            for (CardActor* const card : GetCardActors()) {
                if (card->GetOwner() == p && card->IsHeld() && !card->IsInLibrary() && card->IsLand()) {
                    card->SetHeld(false);
                    card->SetTapState(TAP_READY);
                    card->SetPlayedMark(1);
                    Log(p, "land", card);
                    break;
                }
            }
        });
        s_PastCombat = false;
        Timed(&Timings::cast, [&] {
            if (p == PLAYER_CPU) {
                CpuMainPhase();
                return;
            }
            for (CardActor* const card : GetCardActors()) {
                if (card->GetOwner() != p || !card->IsHeld() || card->IsInLibrary() || card->IsLand() ||
                    !card->IsNotLeaving())
                    continue;
                if (!PayWithLands(p, card->GetCost()))
                    continue;
                Log(p, "casts", card);
                const int logged = GameLog::GetCount();
                GetSpellStack().CastSpell(card, nullptr, nullptr, true, false);
                if (GameLog::GetCount() != logged) {
                    // The line without its clock prefix.
                    const std::u16string_view line = GameLog::GetVisibleLine(std::min(GameLog::GetCount(), 4) - 1);
                    const std::u16string_view text = line.size() >= 10 ? line.substr(10) : line;
                    journal.push_back(std::string(text.begin(), text.end()));
                }
                ResolveStack();
            }
            // Whatever is left in the pool burns at the end of the phase (only the human's).
        });
        Timed(&Timings::burn, [&] {
            ApplyManaBurn(PLAYER_HUMAN);
            GetPlayerState(PLAYER_CPU)->m_ManaPool.Clear();
        });
        Timed(&Timings::combat, [&] { Combat(p); });
        s_PastCombat = true;
        if (p == PLAYER_CPU && !Over())
            Timed(&Timings::cast, [&] { CpuMainPhase(); });
        Timed(&Timings::burn, [&] { ApplyManaBurn(PLAYER_HUMAN); });
        Check("turn end");
    }

    // The CPU plays what it chooses, paying by tapping its sources, until it chooses nothing.
    void CpuMainPhase()
    {
        for (int guard = 0; guard < 40 && !Over(); ++guard) {
            CardActor* card = nullptr;
            CardActor* targetCard = nullptr;
            Actor* targetPlayer = nullptr;
            bool none = true;
            Timed(&Timings::cpu, [&] {
                none = CpuChoosePlay(CollectCpuPlayableCards(), card, targetCard, targetPlayer);
                if (!none && card != nullptr) {
                    ManaCost cost = card->GetCost();
                    if (card->IsXSpell())
                        cost.generic += card->GetPaidMana().generic;
                    PayCpuCost(cost);
                }
            });
            if (none || card == nullptr)
                return;
            Log(PLAYER_CPU, "casts", card);
            GetSpellStack().CastSpell(card, targetCard, targetPlayer, true, false);
            ResolveStack();
        }
    }

    // The CPU blocks where its creature survives or kills the attacker and survives.
    CardActor* CpuBlocker(const CardActor* attacker)
    {
        for (CardActor* const blocker : GetCardActors()) {
            if (blocker->GetOwner() == PLAYER_CPU && blocker->GetBlockedAttacker() == nullptr &&
                CanBlockWith(blocker, GetCombatFlags(attacker)) &&
                (SecondKillsFirstAndSurvives(attacker, blocker) || SecondSurvivesFirst(attacker, blocker)))
                return blocker;
        }
        return nullptr;
    }

    void Combat(int p)
    {
        if (p == PLAYER_CPU) {
            Timed(&Timings::cpu, [] { CpuDeclareAttackers(); });
            for (CardActor* const card : GetCardActors())
                if (card->GetOwner() == p && card->IsAttacking())
                    Log(p, "attacks", card);
        }
        for (CardActor* const card : GetCardActors()) {
            if (p == PLAYER_HUMAN && card->GetOwner() == p && IsAbleToAttack(card)) {
                card->SetAttacking(true);
                if (!card->GetStats().noTapAttack)
                    card->SetTapState(TAP_TAPPED);
                Log(p, "attacks", card);
            }
        }
        if (CountAttackingCreatures(p) == 0)
            return;
        for (CardActor* const attacker : GetCardActors()) {
            if (attacker->GetOwner() != p || !attacker->IsAttacking())
                continue;
            if (p == PLAYER_HUMAN) {
                CardActor* blocker = nullptr;
                Timed(&Timings::cpu, [&] { blocker = CpuBlocker(attacker); });
                if (blocker != nullptr) {
                    AssignBlocker(attacker, blocker);
                    Log(1 - p, "blocks", blocker);
                }
                continue;
            }
            for (CardActor* const blocker : GetCardActors()) {
                if (blocker->GetOwner() == 1 - p && blocker->GetBlockedAttacker() == nullptr &&
                    CanBlockWith(blocker, GetCombatFlags(attacker)) &&
                    blocker->GetStats().toughness > attacker->GetStats().power) {
                    AssignBlocker(attacker, blocker);
                    Log(1 - p, "blocks", blocker);
                    break;
                }
            }
        }
        Check("blocks");
        SpellStack& stack = GetSpellStack();
        if (AnyFirstStrikeInCombat()) {
            AssignCombatDamage(p, true);
            stack.PushCombatDamage(p, 2);
            ResolveStack();
        }
        AssignCombatDamage(p, false);
        stack.PushCombatDamage(p, 1);
        ResolveStack();
        // A game that ended in the first-strike step resets the stack before the regular damage.
        if (Over())
            return;
        for (const CardActor* const card : GetCardActors()) {
            if (card->CountBlockers() != 0 || card->GetBlockedAttacker() != nullptr || card->IsAttacking())
                faults.push_back("combat marks left after combat: card " + std::to_string(card->GetId()) + " blockers " +
                                 std::to_string(card->CountBlockers()) + " attacking " +
                                 std::to_string(card->IsAttacking()) + " stack " + std::to_string(stack.GetCount()));
        }
    }

    void Check(const char* where)
    {
        const std::size_t faultsBefore = faults.size();
        const auto start = Clock::now();
        CheckTable(where, faults);
        if (faults.size() != faultsBefore)
            Log(0, "fault");
        if (timings != nullptr)
            timings->checks += std::chrono::duration<double>(Clock::now() - start).count();
    }
};

// The journal: actions and game-log lines, one per line.
inline std::string Journal(const Game& game)
{
    std::string text;
    for (const std::string& line : game.journal)
        text += line + "\n";
    return text;
}

} // namespace rulesgame
