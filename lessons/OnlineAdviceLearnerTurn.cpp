// The advice of the learner's own turn: the untap step, the attack, combat damage, the creature that has just
// resolved and the main phase.
#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/GameDisplay.h"
#include "lessons/OnlineAdviceFamilies.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuAttack.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <array>

namespace {

constexpr int INSTANT_BIT = 16;
constexpr int CREATURE_BIT = 1;

// Card names that read as plurals take the plural text.
bool IsPluralCardName(int id)
{
    static constexpr std::array<int, 5> PLURAL = {22, 154, 190, 218, 236};
    return std::find(PLURAL.begin(), PLURAL.end(), id) != PLURAL.end();
}

Advice Make(int number, std::u16string_view key, int height)
{
    Advice a;
    a.number = number;
    a.key = key;
    a.height = height;
    return a;
}

bool IsLearnerAttacker(const CardActor& c)
{
    return c.GetOwner() == PLAYER_HUMAN && c.GetCardType() == CT_CREATURE && c.IsAttacking() && c.IsNotLeaving();
}

// ---- The attack ---------------------------------------------------------------------------------------------

bool OpponentCouldBlockAnAttacker()
{
    for (const CardActor* c : GetCardActors())
        if (c->GetOwner() == PLAYER_HUMAN && IsAbleToAttack(c) && CanPlayerBlockAttacker(PLAYER_CPU, c))
            return true;
    return false;
}

// The page of advice 43 or 44 now due; the budget falls as the first page is shown.
Advice AttackPage(const AdviceSituation& s, OnlineAdvisorState& m, int number)
{
    const bool isNew = IsNewAdvice(m, number) || m.page != m.pageSpoken;
    if (!isNew && m.shown.number == number)
        return *KeepShown(m);
    int& budget = number == 43 ? m.blockingExplanationBudget : m.defencelessOpponentBudget;
    const int firstPage = number == 43 ? 3 : 2;
    Advice a = Make(number, u"", ADVICE_BOX_HEIGHT);
    a.busy = true;
    if (m.page == firstPage) {
        a.key = number == 43 ? u"ONL_ExplainBlocking1" : u"ONL_DefenselessOpponent1";
        if (isNew) {
            a.voice.push_back(OnlineClip(number == 43 ? u"b110" : u"b120"));
            if (number == 43)
                a.voice.push_back(OnlineClip(u"b111"));
            --budget;
        }
    } else if (m.page == 2) {
        a.key = u"ONL_ExplainBlocking2";
        if (isNew)
            a.voice.push_back(OnlineClip(u"b112"));
    } else {
        a.key = number == 43 ? u"ONL_ExplainBlocking3" : u"ONL_DefenselessOpponent2";
        if (isNew)
            a.voice.push_back(OnlineClip(number == 43 ? u"b113" : u"B121"));
        a.ok = false;
        a.explainsAttack = budget == 0;
        const CardActor* const attacker = s.singledOutAttacker;
        if (attacker != nullptr && attacker->IsAttacking()) {
            const bool flier = attacker->GetStats().flying;
            bool& explained = m.attackerExplained[flier ? 1 : 0];
            if (!explained && (flier || attacker->GetStats().isUnblockable)) {
                explained = true;
                a.key = flier ? u"ONL_Attacker_Flying" : u"ONL_Attacker_Unblockable";
                a.args = {ActorName(attacker)};
                a.height = 200;
                a.ok = true;
                a.voice.clear();
                if (flier) {
                    a.voice.push_back(OnlineClip(u"b130"));
                    AddCardClip(a, attacker->GetId(), u"a");
                    a.voice.push_back(OnlineClip(u"b131"));
                } else if (attacker->GetId() == CD_CASUNSK) {
                    a.voice.push_back(OnlineClip(u"b140"));
                }
            }
        }
    }
    m.pageSpoken = m.page;
    return a;
}

AdviceChoice BeforeAttack(const AdviceSituation& s, OnlineAdvisorState& m)
{
    int position = m.sicknessCursor.Position();
    if (const CardActor* const sick = FindNextSickHumanCreature(position)) {
        m.sicknessCursor.SetPosition(position);
        Advice a = Make(42, u"ONL_ExplainSummoningSickness", 200);
        a.args = {ActorName(sick)};
        a.busy = true;
        if (IsNewAdvice(m, 42)) {
            a.voice.push_back(OnlineClip(u"b100"));
            AddCardClip(a, sick->GetId(), u"b");
            a.voice.push_back(OnlineClip(u"b101"));
            a.voice.push_back(OnlineClip(u"b102"));
        }
        return a;
    }
    m.sicknessCursor.SetPosition(position);
    if ((m.lastAdvice == 43 || m.lastAdvice == 44) && m.page >= 1)
        return AttackPage(s, m, m.lastAdvice);
    if (CountAbleAttackers(PLAYER_HUMAN) == 0)
        return std::nullopt;
    const int number = OpponentCouldBlockAnAttacker() ? 43 : 44;
    const int budget = number == 43 ? m.blockingExplanationBudget : m.defencelessOpponentBudget;
    m.page = budget != 0 ? (number == 43 ? 3 : 2) : 1;
    m.pageSpoken = 0;
    return AttackPage(s, m, number);
}

// 47 or 51: the instants the learner may play now that the attack is declared or blocked.
AdviceChoice CombatInstants(OnlineAdvisorState& m, int number, bool noBlocks)
{
    int& budget = number == 47 ? m.attackInstantsBudget : m.blockInstantsBudget;
    const bool isNew = IsNewAdvice(m, number);
    if (!isNew && m.shown.number == number)
        return KeepShown(m);
    if (budget == 0)
        return std::nullopt;
    const bool first = budget == 3;
    Advice a = Make(number, u"", 200);
    a.ok = false;
    if ((FindCardActorByState(PLAYER_HUMAN) & INSTANT_BIT) != 0) {
        if (number == 47)
            a.key = first ? u"ONL_AttackDeclaredInst1" : u"ONL_CombatInstants1";
        else
            a.key = noBlocks ? u"ONL_OPP_NOBLOCK1" : (first ? u"ONL_DeclBlockInst1" : u"ONL_CombatInstants1");
        if (first && isNew)
            a.voice.push_back(number == 47 ? OnlineClip(u"b150") : OnlineClip(u"DeclBlockInst1"));
    } else {
        a.arrow = true;
        if (number == 47)
            a.key = first ? u"ONL_AttackDeclaredInst2" : u"ONL_CombatInstants2";
        else
            a.key = noBlocks ? u"ONL_OPP_NOBLOCK2" : (first ? u"ONL_DeclBlockInst2" : u"ONL_CombatInstants2");
        if (first && isNew)
            a.voice.push_back(number == 47 ? OnlineClip(u"b160") : OnlineClip(u"b250"));
    }
    if (isNew)
        --budget;
    return a;
}

// 48: a pump of Praunrik would win a combat of the learner's attacker.
AdviceChoice PumpReminder(OnlineAdvisorState& m)
{
    if (AffordableLearnerCard(CD_PRAUNRIK) == nullptr)
        return std::nullopt;
    const std::vector<CardActor*> cards = GetCardActors();
    int position = m.pumpCursor.Position();
    for (; position < static_cast<int>(cards.size()); ++position) {
        const CardActor* const c = cards[static_cast<std::size_t>(position)];
        if (!IsLearnerAttacker(*c))
            continue;
        bool worth = c->CountBlockers() == 0 && !c->IsBlocked();
        if (const CardActor* const blocker = c->GetBlocker(0); blocker != nullptr) {
            const int margin = blocker->GetStats().toughness + blocker->GetShields() -
                               (c->GetStats().power + blocker->GetDamage());
            worth = margin >= 1 && margin <= 3;
        }
        if (!worth)
            continue;
        m.pumpCursor.SetPosition(position);
        Advice a = Make(48, u"ONL_PraunrikReminder", 200);
        a.args = {ActorName(c)};
        if (IsNewAdvice(m, 48)) {
            a.voice.push_back(OnlineClip(u"b180"));
            AddCardClip(a, c->GetId(), u"a");
            a.voice.push_back(OnlineClip(u"b181"));
        }
        return a;
    }
    m.pumpCursor.SetPosition(position);
    return std::nullopt;
}

// ---- The main phase -----------------------------------------------------------------------------------------

int PlayerLifeAndShield(int player)
{
    const PlayerState& p = *GetPlayerState(player);
    return p.GetLife() + p.m_PreventDamage;
}

AdviceChoice InstantWins(OnlineAdvisorState& m, int allowed)
{
    static constexpr std::array<int, 2> IDS = {CD_SAVOTNEL, CD_VORENTON};
    for (std::size_t i = 0; i < IDS.size(); ++i) {
        const CardActor* const card = AffordableLearnerCard(IDS[i]);
        const int life = GetPlayerState(PLAYER_CPU)->GetLife();
        if (card == nullptr || PlayerLifeAndShield(PLAYER_CPU) > card->GetSpellEffect()->damageAmt)
            continue;
        if (!IsNewAdvice(m, 21) && m.shown.number == 21 && m.shown.args.front() == ActorName(card))
            return KeepShown(m);
        if (m.instantWinsOffered[i] >= allowed)
            continue;
        ++m.instantWinsOffered[i];
        Advice a = Make(21, u"ONL_InstantWins", 160);
        a.args = {ActorName(card), IntToWString(life)};
        if (IsNewAdvice(m, 21)) {
            static constexpr const char16_t* SAVOTNEL[] = {u"b034", u"b035"};
            static constexpr const char16_t* VORENTON[] = {u"b039", u"b038", u"b037", u"b036"};
            if (IDS[i] == CD_SAVOTNEL && life >= 1 && life <= 2)
                a.voice.push_back(OnlineClip(SAVOTNEL[life - 1]));
            else if (IDS[i] == CD_VORENTON && life >= 1 && life <= 4)
                a.voice.push_back(OnlineClip(VORENTON[life - 1]));
        }
        return a;
    }
    return std::nullopt;
}

AdviceChoice PlayLand(const AdviceSituation& s, OnlineAdvisorState& m, int& budget, int voiceAbove)
{
    if (s.landPlayed || !HumanHasLandInHand())
        return std::nullopt;
    if (!IsNewAdvice(m, 7) && m.shown.number == 7)
        return KeepShown(m);
    if (budget <= 0 || m.landAdvisedThisTurn)
        return std::nullopt;
    Advice a = Make(7, budget > 1 ? u"ONL_PlayLand" : u"ONL_PlayLand2", 160);
    a.busy = true;
    if (IsNewAdvice(m, 7)) {
        if (budget > voiceAbove)
            a.voice.push_back(OnlineClip(u"b051"));
        --budget;
        m.landAdvisedThisTurn = true;
    }
    return a;
}

AdviceChoice Reminders(OnlineAdvisorState& m)
{
    if (m.remindersDone || CountAbleAttackers(PLAYER_HUMAN) == 0)
        return std::nullopt;
    struct Reminder {
        int id;
        int number;
        const char16_t* key;
        const char16_t* clip;
        bool kills;
    };
    static constexpr Reminder REMINDERS[] = {
        {CD_SAVOTNEL, 12, u"ONL_SavotnelReminder", u"b055", true},
        {CD_FALARSAR, 11, u"ONL_FalarsarReminder", u"b053", false},
        {CD_VORENTON, 13, u"ONL_VorentonReminder", u"b054", true},
        {CD_ESKARMAR, 10, u"ONL_EskarmarReminder", u"b052", false},
    };
    for (const Reminder& r : REMINDERS) {
        const CardActor* const card = AffordableLearnerCard(r.id);
        if (card == nullptr)
            continue;
        if (r.kills ? !HasKillableTarget(card, true, true) : !HasRemovableTarget(card, true, true))
            continue;
        Advice a = Make(r.number, r.key, 160);
        if (IsNewAdvice(m, r.number))
            a.voice.push_back(OnlineClip(r.clip));
        return a;
    }
    return std::nullopt;
}

AdviceChoice EndOfMain(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (m.endMainDone)
        return std::nullopt;
    if (CountAbleAttackers(PLAYER_HUMAN) == 0) {
        m.endMainDone = true;
        return std::nullopt;
    }
    const int mask = FindCardActorByState(PLAYER_HUMAN);
    Advice a;
    if ((mask & CREATURE_BIT) != 0)
        a = Make(14, u"ONL_EndPrecombatMain1", ADVICE_BOX_HEIGHT);
    else if (mask != 0 || (!s.landPlayed && HumanHasLandInHand()))
        a = Make(15, u"ONL_EndPrecombatMain2", ADVICE_BOX_HEIGHT);
    else
        a = Make(15, u"ONL_EndPrecombatMain3", ADVICE_BOX_HEIGHT);
    a.ok = false;
    return a;
}

AdviceChoice KillableCreature(OnlineAdvisorState& m, int owner, bool spoken)
{
    static constexpr std::array<int, 2> IDS = {CD_SAVOTNEL, CD_VORENTON};
    for (const int id : IDS) {
        const CardActor* const card = AffordableLearnerCard(id);
        if (card == nullptr)
            continue;
        const CardActor* const creature =
            FindKillableCreature(true, card->GetSpellEffect()->damageAmt, owner, nullptr, true);
        if (creature == nullptr || creature->GetDamage() <= 0)
            continue;
        Advice a = Make(17, u"ONL_InstantFinishesCreature", 200);
        a.args = {ActorName(card), ActorName(creature), IntToWString(creature->GetDamage())};
        if (spoken && IsNewAdvice(m, 17)) {
            const bool vorenton = id == CD_VORENTON;
            a.voice.push_back(OnlineClip(vorenton ? u"b380" : u"b390"));
            AddNumberClip(a, creature->GetDamage(), u"a");
            a.voice.push_back(OnlineClip(vorenton ? u"b381" : u"b391"));
            AddCardClip(a, creature->GetId(), u"a");
            a.voice.push_back(OnlineClip(vorenton ? u"b382" : u"b392"));
        }
        return a;
    }
    return std::nullopt;
}

} // namespace

AdviceChoice AdviseKillableCreature(OnlineAdvisorState& m, int owner, bool spoken)
{
    return KillableCreature(m, owner, spoken);
}

AdviceChoice AdviseCombatInstants(OnlineAdvisorState& m, int number, bool noBlocks)
{
    return CombatInstants(m, number, noBlocks);
}

AdviceChoice AdviseUntap(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (!s.humanTurn || s.activeStep != STEP_UNTAP)
        return std::nullopt;
    static constexpr std::array<int, 4> NUMBERS = {4, 1, 2, 3};
    static constexpr std::array<const char16_t*, 4> KEYS = {u"ONL_NothingToUntap", u"ONL_UntapLands",
                                                           u"ONL_UntapCreatures", u"ONL_UntapLandsandCreatures"};
    static constexpr std::array<const char16_t*, 4> CLIPS = {nullptr, u"b028", u"b029", u"b030"};
    const std::size_t kind = static_cast<std::size_t>(s.untapSummary & 3);
    const int number = NUMBERS[kind];
    bool& shown = m.untapShown[static_cast<std::size_t>(number - 1)];
    const bool isNew = IsNewAdvice(m, number);
    if (shown && isNew)
        return std::nullopt;
    Advice a = Make(number, KEYS[kind], 160);
    a.busy = true;
    if (isNew) {
        shown = true;
        if (CLIPS[kind] != nullptr)
            a.voice.push_back(OnlineClip(CLIPS[kind]));
    }
    return a;
}

AdviceChoice AdviseLearnerAttack(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (!s.humanTurn || s.activeStep != STEP_COMBAT)
        return std::nullopt;
    if (s.blocksAgainstLearner == 0 && s.attackStep < 2)
        return BeforeAttack(s, m);
    if (s.blocksAgainstLearner == 0)
        return CombatInstants(m, 47, false);
    if (!s.Stop(0, 5))
        return std::nullopt;
    if (AdviceChoice pump = PumpReminder(m))
        return pump;
    if (m.attackInstantsBudget != 0 || (m.lastAdvice == 47 && m.shown.number == 47))
        return CombatInstants(m, 47, false);
    const bool noBlocks = CountBlockersOfPlayer(PLAYER_CPU) == 0 && CountAbleBlockers(PLAYER_CPU) > 0;
    return CombatInstants(m, 51, noBlocks);
}

AdviceChoice ExplainCombatDamage(const AdviceSituation& s, OnlineAdvisorState& m)
{
    const int defender = s.humanTurn ? PLAYER_CPU : PLAYER_HUMAN;
    const PlayerState& d = *GetPlayerState(defender);
    const int amount = d.m_DamageThisTurn - d.m_PreventDamage;
    if (amount <= 0)
        return std::nullopt;
    if (!IsNewAdvice(m, 102) && m.shown.number == 102)
        return KeepShown(m);
    if (m.combatDamageExplained)
        return std::nullopt;
    m.combatDamageExplained = true;
    Advice a = Make(102, defender == PLAYER_CPU ? u"ONL_DamageToOpponent" : u"ONL_DamageToPlayer", 160);
    a.busy = true;
    a.args = {IntToWString(amount), u""};
    bool& first = m.firstDamage[static_cast<std::size_t>(defender)];
    if (!first) {
        first = true;
        a.args[1] = KeyString(defender == PLAYER_CPU ? u"ONL_FirstCombatDamage_O" : u"ONL_FirstCombatDamage_P");
        if (const GameDisplay* const display = GetGameDisplay()) {
            const RasterRect& life = display->m_LifeRects[static_cast<std::size_t>(defender)];
            a.arrow = true;
            a.arrowPlaced = true;
            a.arrowX = life.right - 30;
            a.arrowY = life.bottom - 8;
        }
    }
    return a;
}

AdviceChoice AdviseCombatDamage(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (s.activeStep != STEP_DAMAGE && s.activeStep != STEP_FIRST_STRIKE_DAMAGE)
        return std::nullopt;
    int position = 0;
    if (s.humanTurn) {
        for (const CardActor* c = FindAttackerWithDamage(PLAYER_HUMAN, position); c != nullptr;
             c = FindAttackerWithDamage(PLAYER_HUMAN, position)) {
            const int amount = c->GetDamage() + c->GetPendingDamage() - c->GetShields();
            if (amount <= 0)
                continue;
            Advice a = Make(57, u"ONL_DamageToAttackers", 160);
            a.args = {ActorName(c), IntToWString(amount)};
            a.busy = true;
            return a;
        }
    } else if (const CardActor* const blocker = FindBlockerWithDamage(PLAYER_HUMAN, position)) {
        Advice a = Make(76, u"ONL_DamageToBlockers", 160);
        a.args = {ActorName(blocker)};
        a.busy = true;
        return a;
    }
    return ExplainCombatDamage(s, m);
}

AdviceChoice AdviseResolvedCreature(const AdviceSituation& s, OnlineAdvisorState& m)
{
    const CardActor* const card = s.watchedCard;
    if (card == nullptr || s.advisedCard != nullptr || card->IsHeld() || card->GetTapState() == TAP_OFF_TABLE ||
        !card->IsNotLeaving() || card->IsOnStack())
        return std::nullopt;
    const int id = card->GetId();
    const std::vector<std::u16string> args = {ActorName(card), IntToWString(card->GetStats().power),
                                              IntToWString(card->GetStats().toughness)};
    auto resolved = [&](int number, std::u16string_view key, int width, int height) {
        Advice a = Make(number, key, height);
        a.width = width;
        a.args = args;
        return a;
    };
    const bool isNew = m.lastAdvice < 80 || m.lastAdvice > 87;
    if (!isNew && m.shown.number >= 80 && m.shown.number <= 87)
        return KeepShown(m);
    auto count = [&](std::size_t slot) {
        if (isNew)
            ++m.resolvedCounts[slot];
        return m.resolvedCounts[slot];
    };
    const SpellStack& stack = GetSpellStack();
    if (id == CD_TORUMMAR) {
        const CardActor* const r = stack.GetResolvingCard();
        if (s.promptCode == 0 && stack.IsResolvingAbility() && r != nullptr && r->GetId() == CD_TORUMMAR) {
            Advice a = resolved(80, u"ONL_Torummar_Cast", ADVICE_BOX_WIDTH, ADVICE_BOX_HEIGHT);
            if (IsNewAdvice(m, 80))
                a.voice.push_back(OnlineClip(u"b710"));
            return a;
        }
        const int n = count(0);
        if (n <= 1)
            return resolved(83, u"ONL_Torummar_Resolved2", 360, 300);
        if (n <= 3)
            return resolved(85, u"ONL_GENERIC_RESOLVED2", ADVICE_BOX_WIDTH, 200);
        return std::nullopt;
    }
    if (id == CD_ROSOTSK) {
        const CardActor* const r = stack.GetResolvingCard();
        if (s.promptCode == 0 && stack.IsResolvingAbility() && r != nullptr && r->GetId() == CD_ROSOTSK) {
            Advice a = resolved(81, u"ONL_Rosotsk_Cast", ADVICE_BOX_WIDTH, ADVICE_BOX_HEIGHT);
            if (IsNewAdvice(m, 81))
                a.voice.push_back(OnlineClip(u"b730"));
            return a;
        }
        if (s.promptCode == 2) {
            Advice a = resolved(82, u"ONL_Rosotsk_Ability", ADVICE_BOX_WIDTH, ADVICE_BOX_HEIGHT);
            a.moveBox = true;
            if (IsNewAdvice(m, 82))
                a.voice.push_back(OnlineClip(u"b740"));
            return a;
        }
        const int n = count(1);
        if (n <= 1)
            return resolved(84, u"ONL_Rosotsk_Resolved2", 360, 260);
        if (n <= 3)
            return resolved(85, u"ONL_GENERIC_RESOLVED1", ADVICE_BOX_WIDTH, 160);
        return std::nullopt;
    }
    static constexpr std::array<int, 6> SPECIAL = {CD_ESKILGAST, CD_TAVEVVIN, CD_NODOTRIC,
                                                   CD_CASINDRE,  CD_BRAISWYN, CD_CASUNSK};
    if (std::find(SPECIAL.begin(), SPECIAL.end(), id) != SPECIAL.end()) {
        const int n = count(2);
        if (n <= 1)
            return resolved(87, u"ONL_SpecialCreature_Resolved2", 360, 300);
        if (n <= 3)
            return resolved(85, u"ONL_GENERIC_RESOLVED2", ADVICE_BOX_WIDTH, 200);
        return std::nullopt;
    }
    if (card->GetStats().hasCannotBlock) {
        if (count(3) <= 1)
            return resolved(86, u"ONL_NonBlocker_Resolved2", 360, 280);
        return resolved(85, u"ONL_GENERIC_RESOLVED2", ADVICE_BOX_WIDTH, 200);
    }
    if (isNew && m.vanillaBudget <= 0)
        return std::nullopt;
    if (isNew)
        --m.vanillaBudget;
    if (m.vanillaBudget >= 3)
        return resolved(85, IsPluralCardName(id) ? u"ONL_Vanilla_Resolved_Plural" : u"ONL_Vanilla_Resolved2", 360, 260);
    return resolved(85, u"ONL_GENERIC_RESOLVED1", ADVICE_BOX_WIDTH, 160);
}

AdviceChoice AdviseLearnerMain(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (!s.humanTurn || s.activeStep != STEP_MAIN)
        return std::nullopt;
    if (AdviceChoice resolved = AdviseResolvedCreature(s, m))
        return resolved;
    if (s.advisedCard != nullptr || s.paying || s.stackCount != 0)
        return std::nullopt;
    if (!s.postCombat) {
        if (s.landPlayed)
            m.drawStepShown = true;
        else if (!IsNewAdvice(m, 5) && m.shown.number == 5)
            return KeepShown(m);
        if (!m.drawStepShown) {
            Advice a = Make(5, m.drawSkipped ? u"ONL_SkippedDrawStep" : u"ONL_FirstDrawStep", 160);
            if (IsNewAdvice(m, 5)) {
                m.drawStepShown = true;
                a.voice.push_back(OnlineClip(m.drawSkipped ? u"b031" : u"b032"));
            }
            return a;
        }
        if (AdviceChoice wins = InstantWins(m, 1))
            return wins;
        if (AdviceChoice land = PlayLand(s, m, m.firstLandBudget, 1))
            return land;
        if (AdviceChoice reminder = Reminders(m))
            return reminder;
        return EndOfMain(s, m);
    }
    if (AdviceChoice wins = InstantWins(m, 2))
        return wins;
    const bool skipped = !GetPlayerState(PLAYER_HUMAN)->IsAttackDeclared() && CountAbleAttackers(PLAYER_HUMAN) > 0;
    if (skipped && !IsNewAdvice(m, 16) && m.shown.number == 16)
        return KeepShown(m);
    if (!m.skippedCombatDone && m.skippedCombatBudget > 0 && skipped) {
        Advice a = Make(16, u"ONL_SkippedCombat", 200);
        if (IsNewAdvice(m, 16)) {
            a.voice.push_back(OnlineClip(u"b400"));
            --m.skippedCombatBudget;
            m.skippedCombatDone = true;
        }
        return a;
    }
    if (AdviceChoice kill = KillableCreature(m, PLAYER_CPU, false))
        return kill;
    if (AdviceChoice land = PlayLand(s, m, m.secondLandBudget, 3))
        return land;
    if (const CardActor* const best = FindBestCreatureToPlay(PLAYER_HUMAN, m.bestCreatureAfter)) {
        Advice a = Make(19, u"ONL_PlayBestCreature", 200);
        a.args = {ActorName(best)};
        a.busy = true;
        return a;
    }
    return std::nullopt;
}
