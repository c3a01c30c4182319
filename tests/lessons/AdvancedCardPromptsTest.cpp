// The advanced lesson's card prompts on small boards: the pump counts that a creature needs to survive against
// what the learner can pay, each prompt flag of Savotnel, Belunvin and Nesismar used up once, the last-chance
// prompts while the learner answers a spell, and the prompts for a card in hand at its moment.
#include "tests/lessons/CardDialogFixture.h"

#include "lessons/AdvancedCardPrompts.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/SpellStack.h"

#include <vector>

namespace {

using lessontest::CardDialogTest;

constexpr int MOUNTAIN = 1;
constexpr int FOREST = 13;
constexpr int SWAMP = 17;
constexpr int RED = 1;
constexpr int BLACK = 4;

class AdvancedPromptsTest : public CardDialogTest {
protected:
    void TearDown() override
    {
        GetSpellStack().m_Count = 0;
        CardDialogTest::TearDown();
    }
    // Every card leaves the table: a clean board for the next case.
    static void SweepBoard()
    {
        for (CardActor* const card : GetCardActors())
            card->SetExitMove(1);
        RecountMana();
    }
};

TEST_F(AdvancedPromptsTest, APumpToSavePromptNeedsEveryPumpToBePayable)
{
    Creature(CD_TAVENGAST, 2, 2, BLACK);
    GivePump(CD_TAVENGAST, BLACK);
    struct Case {
        int damage;
        int swamps;
        bool responding;
        const char16_t* key;  // null: no prompt
        const char16_t* values;
    };
    const Case cases[] = {
        {1, 2, false, nullptr, nullptr},  // not doomed
        {2, 0, false, nullptr, nullptr},  // doomed, nothing to pump with
        {2, 1, false, u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT", u"2|1|"},
        {3, 1, false, nullptr, nullptr},  // two pumps, one swamp
        {3, 2, false, u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT_MoreThanOnce", u"3|2|"},
        {2, 1, true, u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT_Responding", u"2|1|"},
        {4, 3, true, u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT_MoreThanOnce_Responding", u"4|3|"},
    };
    for (const Case& c : cases) {
        SweepBoard();
        Card(CD_TAVENGAST, PLAYER_HUMAN)->SetDamage(c.damage);
        Lands(PLAYER_HUMAN, SWAMP, c.swamps);
        SetCanPlayNowFlag(c.responding ? 1 : 0);
        CanSaveTavengastDialog dialog(1);
        EXPECT_FALSE(dialog.TestEvent(EV_CPU_END_OF_TURN, nullptr));
        const bool fired = dialog.TestEvent(c.damage % 2 == 0 ? EV_SPELL_CAST : EV_COMBAT_DAMAGE, nullptr);
        ASSERT_EQ(fired, c.key != nullptr) << c.damage << " damage, " << c.swamps << " swamps";
        if (!fired)
            continue;
        EXPECT_EQ(KeyOf(dialog), c.key);
        EXPECT_EQ(ValuesOf(dialog).substr(0, 4), c.values);
        EXPECT_EQ(dialog.GetButtonCount(), 1);
        EXPECT_EQ(LinksOf(dialog), c.responding ? std::vector<int>{2} : (std::vector<int>{5, 2}));
        EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{c.responding
                                                                      ? u"vo_phys\\adv_tavengast_pumptosave_resp.wav"
                                                                      : u"vo_phys\\adv_tavengast_pumptosave.wav"});
    }
}

TEST_F(AdvancedPromptsTest, SavotnelPromptsForAWoundedCreatureThenForABlockerAndNeverWithNothingToSay)
{
    CARD& savotnel = Spell(CD_SAVOTNEL, CT_INSTANT, 2);
    savotnel.m_SpellTarget.caster = true;
    savotnel.m_SpellTarget.opponent = true;
    Creature(40, 1, 3);
    Creature(41, 1, 2);
    Creature(42, 1, 1);
    CanPlaySavotnelDialog dialog;
    EXPECT_TRUE(dialog.IsModal());
    Card(CD_SAVOTNEL, PLAYER_HUMAN, true);
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);
    Card(42, PLAYER_HUMAN);  // the learner's attacker
    CardActor* const tapped = Card(41, PLAYER_CPU);
    tapped->SetTapState(TAP_TAPPED);
    EXPECT_FALSE(dialog.TestEvent(EV_CPU_END_OF_TURN, nullptr)) << "no wounded creature, no blocker it kills";
    CardActor* const wounded = Card(40, PLAYER_CPU);
    wounded->SetDamage(1);
    ASSERT_TRUE(dialog.TestEvent(EV_CPU_END_OF_TURN, nullptr)) << "both could apply: the wounded one first";
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_SAVOTNELPROMPT2");
    EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_couldplay_savotnel_wounded.wav"});
    EXPECT_FALSE(dialog.IsExhausted());
    wounded->SetTapState(TAP_TAPPED);
    EXPECT_FALSE(dialog.TestEvent(EV_CPU_END_OF_TURN, nullptr)) << "no blocker it kills";
    tapped->SetTapState(TAP_READY);
    ASSERT_TRUE(dialog.TestEvent(EV_CPU_END_OF_TURN, nullptr));
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_SAVOTNELPROMPT1");
    EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_couldplay_savotnel.wav"});
    EXPECT_EQ(LinksOf(dialog), std::vector<int>{5});
    EXPECT_TRUE(dialog.IsExhausted());
    EXPECT_FALSE(dialog.TestEvent(EV_CPU_END_OF_TURN, nullptr));
}

TEST_F(AdvancedPromptsTest, BelunvinsPumpPromptsComeOnceEachInTheLearnersAttack)
{
    Creature(CD_BELUNVIN, 2, 2, BLACK);
    GivePump(CD_BELUNVIN, BLACK);
    Creature(40, 3, 3);
    CanPumpBelunvinDialog dialog;
    EXPECT_FALSE(dialog.IsModal());
    EXPECT_EQ(LinksOf(dialog), (std::vector<int>{5, 2}));
    CardActor* const belunvin = Card(CD_BELUNVIN, PLAYER_HUMAN);
    belunvin->SetAttacking(true);
    Cpu().SetLife(4, false);
    EXPECT_FALSE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr)) << "no black mana";
    Lands(PLAYER_HUMAN, SWAMP, 2);
    HandTurnTo(1);
    EXPECT_FALSE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr)) << "the CPU's turn";
    HandTurnTo(0);
    EXPECT_FALSE(dialog.TestEvent(EV_CPU_ATTACKS, nullptr));
    ASSERT_TRUE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr)) << "4 life, 2 power, 2 black";
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPTYESWIN");
    EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_belunvin_pumptowin.wav"});
    EXPECT_EQ(dialog.GetButtonCount(), 1);
    EXPECT_FALSE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr)) << "unblocked: never the fight prompt";

    // Blocked by a 3/3: one pump short of surviving it and killing it.
    CardActor* const blocker = Card(40, PLAYER_CPU);
    AssignBlocker(belunvin, blocker);
    ASSERT_TRUE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr));
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPT1");
    EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_belunvin_pumpfordamage.wav"});
    EXPECT_TRUE(dialog.IsExhausted());
    EXPECT_FALSE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr));
}

TEST_F(AdvancedPromptsTest, NesismarsThreePromptsComeOnceEach)
{
    Def(CD_NESISMAR).m_CardType = CT_ENCHANT;
    GivePump(CD_NESISMAR, RED);
    Creature(40, 2, 2);
    Creature(41, 3, 3);
    CanActivateNesismarDialog dialog;
    CardActor* const host = Card(40, PLAYER_HUMAN);
    CardActor* const nesismar = Card(CD_NESISMAR, PLAYER_HUMAN);
    nesismar->SetHost(host);
    host->SetAttacking(true);
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);
    Cpu().SetLife(3, false);

    ASSERT_TRUE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr)) << "3 life, 2 power, 1 red";
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_NESISMARPROMPTYESWIN");
    EXPECT_EQ(LinksOf(dialog), (std::vector<int>{5, 2, 1}));
    EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_nesismar_pumptowin.wav"});
    ASSERT_TRUE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr)) << "unblocked: more damage";
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_ACTIVATINGNESISMAR");
    EXPECT_EQ(ValuesOf(dialog).substr(0, 2), u"N|");
    EXPECT_EQ(LinksOf(dialog), std::vector<int>{5});
    EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_nesismar_pumpfordamage.wav"});
    EXPECT_FALSE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr));
    EXPECT_FALSE(dialog.IsExhausted());
    AssignBlocker(host, Card(41, PLAYER_CPU));
    ASSERT_TRUE(dialog.TestEvent(EV_CPU_BLOCKS_DECLARED, nullptr)) << "one pump kills the 3/3 blocker";
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_ACTIVATINGNESISMAR");
    EXPECT_TRUE(dialog.IsExhausted());
}

TEST_F(AdvancedPromptsTest, LastChancePromptsTakeTheirRespondingTextWhileTheLearnerAnswersASpell)
{
    Creature(CD_PRAILGAST, 1, 1);
    GivePump(CD_PRAILGAST, RED);
    Creature(CD_RALEVTH, 1, 2);
    GivePump(CD_RALEVTH, RED);
    Creature(CD_DRAISNEL, 1, 1);
    GivePump(CD_DRAISNEL, RED);
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);
    CardActor* const prailgast = Card(CD_PRAILGAST, PLAYER_HUMAN);
    CardActor* const ralevth = Card(CD_RALEVTH, PLAYER_HUMAN);
    CardActor* const draisnel = Card(CD_DRAISNEL, PLAYER_HUMAN);

    CanPlayPrailgastDialog2 prailgastPrompt(1);
    CanActivateRalevthDialog ralevthPrompt(1);
    CanActivateDraisnelDialog2 draisnelPrompt(1);
    EXPECT_FALSE(prailgastPrompt.TestEvent(EV_SPELL_CAST, nullptr)) << "not doomed";
    EXPECT_FALSE(ralevthPrompt.TestEvent(EV_COMBAT_DAMAGE, nullptr));
    EXPECT_FALSE(draisnelPrompt.TestEvent(EV_SPELL_CAST, nullptr)) << "no spell aims at it";

    prailgast->SetDamage(1);
    ralevth->SetPendingDamage(2);
    // A CPU spell aimed at Draisnel.
    CardActor* const bolt = Card(CD_SAVOTNEL, PLAYER_CPU, true);
    SpellStack& stack = GetSpellStack();
    stack.m_Entries[stack.m_Count++] = StackEntry{bolt, draisnel, nullptr, false, 0};
    for (const bool responding : {false, true}) {
        SetCanPlayNowFlag(responding ? 1 : 0);
        ASSERT_TRUE(prailgastPrompt.TestEvent(EV_SPELL_CAST, nullptr));
        EXPECT_EQ(KeyOf(prailgastPrompt), responding ? u"PHYSDLG_CARDSPECIFIC_PRAILGASTPROMPT2_Responding"
                                                     : u"PHYSDLG_CARDSPECIFIC_PRAILGASTPROMPT2");
        EXPECT_EQ(LinksOf(prailgastPrompt), responding ? std::vector<int>{} : std::vector<int>{5});
        EXPECT_EQ(prailgastPrompt.GetVoices(),
                  std::vector<std::u16string>{responding ? u"vo_phys\\adv_prailgast_lastchance_resp.wav"
                                                         : u"vo_phys\\adv_prailgast_lastchance.wav"});

        ASSERT_TRUE(ralevthPrompt.TestEvent(EV_COMBAT_DAMAGE, nullptr));
        EXPECT_EQ(KeyOf(ralevthPrompt), responding ? u"PHYSDLG_CARDSPECIFIC_RALEVTHPROMPT_Responding"
                                                   : u"PHYSDLG_CARDSPECIFIC_RALEVTHPROMPT");
        EXPECT_EQ(LinksOf(ralevthPrompt), responding ? std::vector<int>{5} : (std::vector<int>{4, 5}));
        EXPECT_EQ(ralevthPrompt.GetButtonCount(), 1);

        ASSERT_TRUE(draisnelPrompt.TestEvent(EV_SPELL_CAST, nullptr));
        EXPECT_EQ(KeyOf(draisnelPrompt), responding ? u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT2_Responding"
                                                    : u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT2");
        EXPECT_EQ(LinksOf(draisnelPrompt), responding ? std::vector<int>{4} : (std::vector<int>{4, 5}));
        EXPECT_EQ(draisnelPrompt.GetVoices(),
                  std::vector<std::u16string>{responding ? u"vo_phys\\adv_draisnel_lastchance_resp.wav"
                                                         : u"vo_phys\\adv_draisnel_lastchance.wav"});
    }
    // A tapped creature cannot use its ability any more.
    prailgast->SetTapState(TAP_TAPPED);
    EXPECT_FALSE(prailgastPrompt.TestEvent(EV_SPELL_CAST, nullptr));
}

TEST_F(AdvancedPromptsTest, CardsInHandArePromptedAtTheirMoment)
{
    Spell(CD_SELEVMAR, CT_ENCHANT, 0, EFFECT_NONE);
    Spell(CD_KELOLVIN, CT_INSTANT, 0, EFFECT_NONE);
    Spell(CD_HOSURBER, CT_INSTANT, 0, EFFECT_NONE);
    Creature(40, 2, 2);
    CanPlaySelevmarDialog selevmar(1);
    CanPlayKelolvinDialog kelolvin(1);
    CanPlayHosurberDialog hosurber(1);
    EXPECT_EQ(LinksOf(selevmar), std::vector<int>{1});
    EXPECT_EQ(LinksOf(kelolvin), std::vector<int>{5});
    EXPECT_EQ(KeyOf(hosurber), u"PHYSDLG_CARDSPECIFIC_HOSURBERPROMPT");
    EXPECT_FALSE(kelolvin.IsModal());
    Card(CD_SELEVMAR, PLAYER_HUMAN, true);
    Card(CD_KELOLVIN, PLAYER_HUMAN, true);
    Card(CD_HOSURBER, PLAYER_HUMAN, true);
    CardActor* const cpuCreature = Card(40, PLAYER_CPU);
    EXPECT_FALSE(selevmar.TestEvent(EV_HUMAN_MAIN_PHASE_ENDS, nullptr)) << "no mana";
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);

    EXPECT_TRUE(selevmar.TestEvent(EV_HUMAN_MAIN_PHASE_ENDS, nullptr));
    EXPECT_FALSE(selevmar.TestEvent(EV_CPU_END_OF_TURN, nullptr));
    EXPECT_TRUE(hosurber.TestEvent(EV_CARD_PLAYED, cpuCreature));
    EXPECT_FALSE(hosurber.TestEvent(EV_CARD_PLAYED, Card(40, PLAYER_HUMAN))) << "the learner's own creature";
    EXPECT_FALSE(kelolvin.TestEvent(EV_CPU_ATTACKS, nullptr)) << "one attacker against one blocker";
    cpuCreature->SetAttacking(true);
    Card(40, PLAYER_CPU)->SetAttacking(true);
    EXPECT_TRUE(kelolvin.TestEvent(EV_CPU_ATTACKS, nullptr)) << "two attackers, one blocker";
}

TEST_F(AdvancedPromptsTest, AbilitiesAtTheEndOfTheCpusTurnAndCelisbersMana)
{
    Creature(CD_PRAILGAST, 1, 1);
    GivePump(CD_PRAILGAST, RED);
    Creature(CD_DRAISNEL, 1, 1);
    GivePump(CD_DRAISNEL, RED);
    Def(CD_DRAISNEL).m_Ability.effect.effectType = EFFECT_DAMAGE;
    Def(CD_DRAISNEL).m_Ability.effect.damageAmt = 1;
    Creature(40, 1, 2);
    CanPlayPrailgastDialog1 prailgast(1);
    CanActivateDraisnelDialog1 draisnel1(1);
    CanActivateDraisnelDialog3 draisnel3(1);
    Card(CD_PRAILGAST, PLAYER_HUMAN);
    Card(CD_DRAISNEL, PLAYER_HUMAN);
    EXPECT_FALSE(prailgast.TestEvent(EV_CPU_END_OF_TURN, nullptr)) << "no mana";
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);
    EXPECT_TRUE(prailgast.TestEvent(EV_CPU_END_OF_TURN, nullptr));
    ASSERT_TRUE(draisnel1.TestEvent(EV_CPU_END_OF_TURN, nullptr));
    EXPECT_EQ(KeyOf(draisnel1), u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT1");
    EXPECT_EQ(LinksOf(draisnel1), std::vector<int>{5});
    CardActor* const wounded = Card(40, PLAYER_CPU);
    EXPECT_FALSE(draisnel3.TestEvent(EV_CPU_END_OF_TURN, nullptr)) << "1 damage does not finish a 1/2";
    wounded->SetDamage(1);
    ASSERT_TRUE(draisnel3.TestEvent(EV_CPU_END_OF_TURN, nullptr));
    EXPECT_EQ(KeyOf(draisnel3), u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT3");

    // Celisber: a card the lands alone cannot pay, but the lands and Celisber's mana can.
    Creature(CD_CELISBER, 0, 1, 2);
    CardAbility& mana = Def(CD_CELISBER).m_Ability;
    mana = CardAbility();
    mana.costType = COSTTYPE_TAP;
    mana.effect.effectType = EFFECT_PRODUCEMANA;
    mana.effect.manaProduced = ManaCost(0, 0, 1, 0, 0, 0);
    Spell(41, CT_SORCERY, 0, EFFECT_NONE).m_Cost = ManaCost(1, 1, 0, 0, 0, 0);
    CanTapCelisberToPlayCardDialog celisber(1);
    EXPECT_TRUE(celisber.IsModal());
    Card(41, PLAYER_HUMAN, true);
    CardActor* const tree = Card(CD_CELISBER, PLAYER_HUMAN);
    RecountMana();
    tree->SetTapState(TAP_TAPPED);
    EXPECT_FALSE(celisber.TestEvent(EV_MAIN1_CHECK, nullptr)) << "Celisber is tapped";
    tree->SetTapState(TAP_READY);
    RecountMana();
    EXPECT_FALSE(celisber.TestEvent(EV_MAIN1_BEGIN, nullptr));
    ASSERT_TRUE(celisber.TestEvent(EV_MAIN2_CHECK, nullptr));
    EXPECT_EQ(KeyOf(celisber), u"PHYSDLG_CARDSPECIFIC_CELISBERPROMPT");
    EXPECT_EQ(ValuesOf(celisber).substr(0, 2), u"N|");
}

TEST_F(AdvancedPromptsTest, ToredbersPumpIsPromptedWhenAnAttackerWouldGetThroughOrWinItsFight)
{
    Spell(CD_TOREDBER, CT_INSTANT, 0, EFFECT_NONE).m_Cost = ManaCost(0, 0, 1, 0, 0, 0);
    Creature(40, 2, 2);
    Creature(41, 1, 3);
    Creature(42, 2, 4);
    CanPlayToredberDialog dialog(1);
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_TOREDBERPROMPT");
    Card(CD_TOREDBER, PLAYER_HUMAN, true);
    Lands(PLAYER_HUMAN, FOREST, 1);
    GetPlayerState(PLAYER_HUMAN)->m_LandColours = ManaCost(0, 0, 1, 0, 0, 0);
    EXPECT_FALSE(dialog.TestEvent(EV_MAIN1_CHECK, nullptr)) << "no attacker";
    Card(40, PLAYER_HUMAN);
    ASSERT_TRUE(dialog.TestEvent(EV_MAIN1_CHECK, nullptr)) << "nothing can block it";
    EXPECT_FALSE(dialog.TestEvent(EV_MAIN1_CHECK, nullptr)) << "once per first main phase";
    EXPECT_FALSE(dialog.TestEvent(EV_MAIN2_BEGIN, nullptr));
    EXPECT_FALSE(dialog.TestEvent(EV_MAIN2_CHECK, nullptr)) << "never in the second";

    dialog.TestEvent(EV_MAIN1_BEGIN, nullptr);
    CardActor* const wall = Card(42, PLAYER_CPU);
    EXPECT_FALSE(dialog.TestEvent(EV_MAIN1_CHECK, nullptr)) << "2+1 does not kill the 2/4";
    wall->SetExitMove(1);
    Card(41, PLAYER_CPU);
    EXPECT_TRUE(dialog.TestEvent(EV_MAIN1_CHECK, nullptr)) << "the 1/3 dies to 2+1 and deals 1 to 2+1";
}

} // namespace
