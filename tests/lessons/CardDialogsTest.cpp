// When the dialogs of both physical lessons fire, with which text and modality: the could-play prompts of the
// basic lesson, Dovanric's reminder, the flyer and the plain creatures, Lumotton.
#include "tests/lessons/CardDialogFixture.h"

#include "lessons/CardDialogs.h"

#include <functional>
#include <memory>

namespace {

using lessontest::CardDialogTest;

constexpr int MOUNTAIN = 1;

class BasicDialogsTest : public CardDialogTest {
protected:
    void SetUp() override
    {
        CardDialogTest::SetUp();
        SetMode(1);
        // Vekindal drains 3, Galurwyn gains 4, Eskinric makes the opponent discard, Dovanric deals 2 (to a
        // creature or a player, as the card says).
        Spell(CD_VEKINDAL, CT_SORCERY, 3, EFFECT_DRAINLIFE);
        Spell(CD_GALURWYN, CT_SORCERY, 0, EFFECT_MODLIFE).m_SpellEffect.modLifeAmt = 4;
        Spell(CD_ESKINRIC, CT_SORCERY, 0, EFFECT_OPPONENTDISCARD).m_SpellEffect.discardAmt = 2;
        CARD& dovanric = Spell(CD_DOVANRIC, CT_SORCERY, 2);
        dovanric.m_SpellTarget.caster = true;
        dovanric.m_SpellTarget.opponent = true;
    }
};

TEST_F(BasicDialogsTest, ACouldPlayPromptComesInTheSecondMainPhaseOncePerPhase)
{
    CanPlayCardDialog dialog(CD_VEKINDAL, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOSTEALLIFE", {}, 1);
    EXPECT_FALSE(dialog.IsModal());
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOSTEALLIFE");
    EXPECT_EQ(ValuesOf(dialog), u"N|0|0|0|0") << "name, then damage, life, discard and draw amounts";
    Card(CD_VEKINDAL, PLAYER_HUMAN, true);
    EXPECT_FALSE(dialog.TestEvent(EV_MAIN2_CHECK, nullptr)) << "no mana for it";
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);

    struct Step {
        int event;
        bool fires;
    };
    const Step steps[] = {
        {EV_MAIN1_BEGIN, false}, {EV_MAIN1_CHECK, false}, {EV_MAIN2_BEGIN, false}, {EV_MAIN2_CHECK, true},
        {EV_MAIN2_CHECK, false},  // once per phase
        {EV_MAIN1_BEGIN, false},  {EV_MAIN2_CHECK, true},
    };
    for (const Step& s : steps)
        EXPECT_EQ(dialog.TestEvent(s.event, nullptr), s.fires) << s.event;
}

TEST_F(BasicDialogsTest, AQueuedPromptIsDroppedOnceItsCardCannotBePlayedAndAShownOneWhenAnotherCardIsPlayed)
{
    CanPlayCardDialog dialog(CD_VEKINDAL, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOSTEALLIFE", {}, 1);
    CardActor* const vekindal = Card(CD_VEKINDAL, PLAYER_HUMAN, true);
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);
    CardActor* const land = Card(MOUNTAIN, PLAYER_HUMAN, true);
    CardActor* const creature = Card(30, PLAYER_HUMAN, false);
    CardActor* const cpuCard = Card(30, PLAYER_CPU, false);

    // Waiting in a queue: only its own card's fate counts.
    EXPECT_FALSE(dialog.TestCardEvent(EV_CARD_PLAYED, creature));
    EXPECT_FALSE(dialog.TestCardEvent(EV_MAIN2_CHECK, creature)) << "not an event of a played card";
    vekindal->SetExitMove(1);
    EXPECT_TRUE(dialog.TestCardEvent(EV_ABILITY_ACTIVATION, creature));
    EXPECT_FALSE(dialog.TestCardEvent(EV_CARD_PLAYED, cpuCard)) << "the other side's card";

    // On screen: any card but a land that its owner plays.
    GetGameDisplay()->RegisterWindow(&dialog);
    EXPECT_FALSE(dialog.TestCardEvent(EV_CARD_PLAYED, land));
    EXPECT_TRUE(dialog.TestCardEvent(EV_CARD_PLAYED, creature));
    GetGameDisplay()->UnregisterWindow(&dialog);
}

TEST_F(BasicDialogsTest, TheGainLifePromptSpeaksOfGoingOverTwentyFromSeventeenLife)
{
    CanPlayCardToGainLifeDialog dialog(CD_GALURWYN, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE",
                                       u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE_OVER20", {}, 1);
    Card(CD_GALURWYN, PLAYER_HUMAN, true);
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);
    struct Case {
        int life;
        const char16_t* key;
    };
    const Case cases[] = {{5, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE"},
                          {16, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE"},
                          {17, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE_OVER20"},
                          {20, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE_OVER20"}};
    for (const Case& c : cases) {
        Human().SetLife(c.life, false);
        dialog.TestEvent(EV_MAIN2_BEGIN, nullptr);
        ASSERT_TRUE(dialog.TestEvent(EV_MAIN2_CHECK, nullptr)) << c.life;
        EXPECT_EQ(KeyOf(dialog), c.key) << c.life;
        EXPECT_EQ(ValuesOf(dialog), u"N|0|4|0|0");
    }
}

TEST_F(BasicDialogsTest, TheDiscardPromptCountsTheCpusCardsAndStaysSilentForThePhaseWhenItHasNone)
{
    CanPlayCardToDiscardCardsDialog dialog(CD_ESKINRIC, 0, u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODISCARDCARDS",
                                           u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODISCARDLASTCARD", {}, 1);
    Card(CD_ESKINRIC, PLAYER_HUMAN, true);
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);
    EXPECT_FALSE(dialog.TestEvent(EV_MAIN2_CHECK, nullptr)) << "the CPU holds nothing";
    Card(30, PLAYER_CPU, true);
    EXPECT_FALSE(dialog.TestEvent(EV_MAIN2_CHECK, nullptr)) << "silent for the rest of the phase";
    dialog.TestEvent(EV_MAIN2_BEGIN, nullptr);
    ASSERT_TRUE(dialog.TestEvent(EV_MAIN2_CHECK, nullptr));
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODISCARDLASTCARD");
    EXPECT_EQ(ValuesOf(dialog), u"N|0|0|2|0");
    Card(31, PLAYER_CPU, true);
    dialog.TestEvent(EV_MAIN2_BEGIN, nullptr);
    ASSERT_TRUE(dialog.TestEvent(EV_MAIN2_CHECK, nullptr));
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODISCARDCARDS");
}

TEST_F(BasicDialogsTest, TheWinAndWoundedCreaturePromptsComeInEitherMainPhase)
{
    CanPlayCardForWinDialog win(CD_DOVANRIC, -1);
    CanPlayCardToKillWoundedCreatureDialog wounded(CD_DOVANRIC, CD_BRAANDRE, -1);
    Creature(CD_BRAANDRE, 3, 3);
    Card(CD_DOVANRIC, PLAYER_HUMAN, true);
    CardActor* const braandre = Card(CD_BRAANDRE, PLAYER_CPU);
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);

    Cpu().SetLife(3, false);
    EXPECT_FALSE(win.TestEvent(EV_MAIN1_CHECK, nullptr)) << "3 life, 2 damage";
    Cpu().SetLife(2, false);
    ASSERT_TRUE(win.TestEvent(EV_MAIN1_CHECK, nullptr));
    EXPECT_EQ(KeyOf(win), u"PHYSDLG_CARDSPECIFIC_PLAYCARDFORWIN");
    EXPECT_EQ(ValuesOf(win).substr(0, 3), u"2|N");
    EXPECT_FALSE(win.TestEvent(EV_MAIN2_CHECK, nullptr)) << "once until the next main phase begins";
    win.TestEvent(EV_MAIN2_BEGIN, nullptr);
    EXPECT_TRUE(win.TestEvent(EV_MAIN2_CHECK, nullptr));

    EXPECT_FALSE(wounded.TestEvent(EV_MAIN1_CHECK, nullptr)) << "Braandre unhurt";
    braandre->SetDamage(1);
    ASSERT_TRUE(wounded.TestEvent(EV_MAIN1_CHECK, nullptr));
    EXPECT_EQ(KeyOf(wounded), u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOKILLWOUNDEDCREATURE");
    EXPECT_EQ(ValuesOf(wounded).substr(0, 4), u"N|3|");
    EXPECT_FALSE(wounded.IsModal());
}

TEST_F(BasicDialogsTest, DovanricsReminderAsksBeforeAnAttackIntoABlockerItCouldDestroy)
{
    DovanricReminderDialog dialog(-1);
    ASSERT_EQ(dialog.GetButtonCount(), 2);
    Card(CD_DOVANRIC, PLAYER_HUMAN, true);
    Lands(PLAYER_HUMAN, MOUNTAIN, 1);
    Creature(40, 2, 2);
    Creature(41, 1, 3);
    Card(40, PLAYER_CPU);
    EXPECT_FALSE(dialog.TestEvent(EV_GO_TO_COMBAT, nullptr)) << "nothing to attack with";
    Card(41, PLAYER_HUMAN);
    EXPECT_FALSE(dialog.TestEvent(EV_MAIN1_CHECK, nullptr));
    ASSERT_TRUE(dialog.TestEvent(EV_GO_TO_COMBAT, nullptr));

    // Attack: the learner's actor steps into combat; Cast It leaves it in the main phase.
    GetGameDisplay()->RegisterWindow(&dialog);
    Click(&dialog, 0);
    EXPECT_EQ(m_human->GetState(), 5);
    GetGameDisplay()->UnregisterWindow(&dialog);
    GetGameDisplay()->RegisterWindow(&dialog);
    Click(&dialog, 1);
    EXPECT_TRUE(dialog.IsAnswered());
    EXPECT_EQ(m_human->GetState(), 6);
    GetGameDisplay()->UnregisterWindow(&dialog);
}

TEST_F(BasicDialogsTest, AFlyerThatOnlyAFlyerCouldBlockIsExplainedInEitherAttack)
{
    FlyingBlockDialog human(0, 1);
    FlyingBlockDialog cpu(1, 1);
    EXPECT_TRUE(human.IsModal());
    EXPECT_FALSE(cpu.IsModal());
    EXPECT_EQ(KeyOf(cpu), u"PHYSDLG_CARDSPECIFIC_FLYINGBLOCK2");
    Creature(40, 2, 2).m_Stats.flying = true;
    Creature(41, 2, 2);
    CardActor* const flyer = Card(40, PLAYER_HUMAN);
    Card(41, PLAYER_CPU);
    EXPECT_FALSE(human.TestEvent(EV_HUMAN_ATTACKER_DECLARED, nullptr)) << "not attacking";
    flyer->SetAttacking(true);
    EXPECT_TRUE(human.TestEvent(EV_HUMAN_ATTACKER_DECLARED, nullptr));
    EXPECT_FALSE(human.TestEvent(EV_CPU_ATTACKS, nullptr));
    EXPECT_FALSE(cpu.TestEvent(EV_CPU_ATTACKS, nullptr)) << "the CPU has no attacking flyer";
}

TEST_F(BasicDialogsTest, PlainCreaturesAreExplainedWhileTheirWordsAreNew)
{
    BasicCreaturePlayedDialog dialog;
    EXPECT_TRUE(dialog.IsModal());
    struct Play {
        int id;
        int owner;
        const char16_t* key;  // null: no firing
        const char16_t* voice;
    };
    // Powerful: Vekakdre, Zolorsar, Zolenrik, Braandre; tough: Mavunth, Draaknel; Tavevsar and Zolenrik have two
    // texts each.
    const Play plays[] = {
        {CD_MAVOLNEL, 0, u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_MAVOLNEL", u"vo_phys\\basic_CastSpell_Vanilla.wav"},
        {CD_MAVOLNEL, 1, nullptr, nullptr},  // the CPU's
        {CD_VEKAKDRE, 0, u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_VEKAKDRE", u"vo_phys\\basic_CastSpell_Powerful.wav"},
        {CD_ZOLENRIK, 0, u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_ZOLENRIK2", u"vo_phys\\basic_CastSpell_Zolenrik_alt.wav"},
        {CD_MAVUNTH, 0, u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_MAVUNTH", u"vo_phys\\basic_CastSpell_Tough.wav"},
        {CD_DRAAKNEL, 0, nullptr, nullptr},  // the second tough one
        {CD_ZOLORSAR, 0, nullptr, nullptr},  // the third powerful one
        {CD_TAVEVSAR, 0, u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_TAVEVSAR2", u"vo_phys\\basic_CastSpell_Tavevsar_alt.wav"},
        {CD_WENUNMEL, 0, nullptr, nullptr},  // the seventh plain one
        {40, 0, nullptr, nullptr},           // not a plain creature of the basic game
    };
    for (const Play& p : plays) {
        CardActor* const card = Card(p.id, p.owner);
        const bool fired = dialog.TestEvent(EV_CARD_PLAYED, card);
        EXPECT_EQ(fired, p.key != nullptr) << p.id;
        if (fired) {
            EXPECT_EQ(KeyOf(dialog), p.key);
            EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{p.voice});
        }
    }
    EXPECT_EQ(dialog.GetPlainCount(), 8);
    EXPECT_EQ(dialog.GetPowerfulCount(), 3);
    EXPECT_EQ(dialog.GetToughCount(), 2);
    EXPECT_FALSE(dialog.IsExhausted()) << "it never retires";

    // Their first texts while the counts are low; a leaving card or a missing text gives nothing.
    BasicCreaturePlayedDialog fresh;
    ASSERT_TRUE(fresh.TestEvent(EV_CARD_PLAYED, Card(CD_TAVEVSAR, 0)));
    EXPECT_EQ(KeyOf(fresh), u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_TAVEVSAR1");
    ASSERT_TRUE(fresh.TestEvent(EV_CARD_PLAYED, Card(CD_ZOLENRIK, 0)));
    EXPECT_EQ(KeyOf(fresh), u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_ZOLENRIK1");
    EXPECT_EQ(fresh.GetVoices(), std::vector<std::u16string>{u"vo_phys\\basic_CastSpell_Zolenrik.wav"});
    CardActor* const leaving = Card(CD_JORISMAR, 0);
    leaving->SetExitMove(1);
    EXPECT_FALSE(fresh.TestEvent(EV_CARD_PLAYED, leaving));
    EXPECT_FALSE(fresh.TestEvent(EV_CARD_PLAYED, Card(CD_ISTUMRIC, 0))) << "no text for Istumric here";
    EXPECT_FALSE(fresh.TestEvent(EV_CARD_FIRST_SEEN, Card(CD_JORISMAR, 0)));
}

TEST_F(BasicDialogsTest, LumottonIsExplainedForEitherSide)
{
    PlayedLumottonDialog dialog;
    EXPECT_EQ(LinksOf(dialog), (std::vector<int>{0, 3}));
    EXPECT_FALSE(dialog.TestEvent(EV_CARD_PLAYED, Card(40, 0)));
    ASSERT_TRUE(dialog.TestEvent(EV_CARD_PLAYED, Card(CD_LUMOTTON, 1)));
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_LUMOTTON2");
    EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_cardspecific_lumotton_opp.wav"});
    ASSERT_TRUE(dialog.TestEvent(EV_CARD_PLAYED, Card(CD_LUMOTTON, 0)));
    EXPECT_EQ(KeyOf(dialog), u"PHYSDLG_CARDSPECIFIC_LUMOTTON1");
    EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_cardspecific_lumotton.wav"});
}

} // namespace
