// The dialogs each physical lesson arms, in their order, and how they reach the screen through the manager: the
// first sight of a card, a dialog queued twice, a shown one destroyed with the set, the online lesson.
#include "tests/lessons/CardDialogFixture.h"

#include "lessons/AdvancedCardPrompts.h"
#include "lessons/CardDialogRoster.h"
#include "lessons/CardDialogs.h"

#include <typeinfo>
#include <vector>

namespace {

using lessontest::CardDialogTest;

struct Armed {
    const char* type;
    int cardId;
    int owner;
    int limit;
    bool modal;
};

std::vector<Armed> ArmedDialogs()
{
    std::vector<Armed> armed;
    for (int i = 0; i < CountArmedDialogs(); ++i) {
        const CardSpecificDialog& dialog = *GetArmedDialog(i);
        armed.push_back({typeid(dialog).name(), dialog.GetCardId(), dialog.GetOwner(), dialog.GetLimit(),
                         dialog.IsModal()});
    }
    return armed;
}

template <class T>
const char* Name()
{
    return typeid(T).name();
}

void ExpectRoster(const std::vector<Armed>& expected)
{
    const std::vector<Armed> armed = ArmedDialogs();
    ASSERT_EQ(armed.size(), expected.size());
    for (std::size_t i = 0; i < armed.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(armed[i].type, expected[i].type);
        EXPECT_EQ(armed[i].cardId, expected[i].cardId);
        EXPECT_EQ(armed[i].owner, expected[i].owner);
        EXPECT_EQ(armed[i].limit, expected[i].limit);
        EXPECT_EQ(armed[i].modal, expected[i].modal);
    }
}

TEST_F(CardDialogTest, TheBasicLessonArmsItsFourteenDialogsInOrder)
{
    SetMode(1);
    BuildCardSpecificDialogs();
    using Play = CanPlayCardDialog;
    ExpectRoster({
        {Name<BasicCreaturePlayedDialog>(), 0, 0, -1, true},
        {Name<CanPlayCardForWinDialog>(), CD_DOVANRIC, 0, -1, false},
        {Name<CanPlayCardForWinDialog>(), CD_VEKINDAL, 0, -1, false},
        {Name<CanPlayCardForWinDialog>(), CD_DRAUMBER, 0, -1, false},
        {Name<DovanricReminderDialog>(), CD_DOVANRIC, 0, -1, false},
        {Name<CanPlayCardToKillWoundedCreatureDialog>(), CD_DOVANRIC, 0, -1, false},
        {Name<Play>(), CD_VEKINDAL, 0, 1, false},
        {Name<Play>(), CD_DRAUMBER, 0, 1, false},
        {Name<Play>(), CD_GALUMSK, 0, 1, false},
        {Name<CanPlayCardToGainLifeDialog>(), CD_GALURWYN, 0, 1, false},
        {Name<Play>(), CD_NODUMBER, 0, 1, false},
        {Name<CanPlayCardToDiscardCardsDialog>(), CD_ESKINRIC, 0, 1, false},
        {Name<Play>(), CD_PELOTDRE, 0, 1, false},
        {Name<Play>(), CD_ZOLAKSAR, 0, 1, false},
    });
    // No clip file in the language folder: the could-play prompts take the common fallback, the others keep
    // their own name.
    EXPECT_TRUE(GetArmedDialog(0)->GetVoices().empty());
    EXPECT_EQ(GetArmedDialog(1)->GetVoices(),
              std::vector<std::u16string>{u"vo_phys\\basic_cardspecific_playcardtowin.wav"});
    EXPECT_EQ(GetArmedDialog(6)->GetVoices(), std::vector<std::u16string>{u"vo_phys\\basic_playsorcery.wav"});
    EXPECT_EQ(GetArmedDialog(4)->GetButtonCount(), 2) << "Dovanric's reminder: cast it, or attack";

    // Building again replaces the set; the online lesson and the menus have none.
    BuildCardSpecificDialogs();
    EXPECT_EQ(CountArmedDialogs(), 14);
    for (const int mode : {0, 3, 4}) {
        SetMode(mode);
        BuildCardSpecificDialogs();
        EXPECT_EQ(CountArmedDialogs(), 0) << mode;
    }
}

TEST_F(CardDialogTest, TheAdvancedLessonArmsTwentyThreeFirstSightsThenTwentyOneNamedDialogs)
{
    BuildCardSpecificDialogs();
    ASSERT_EQ(CountArmedDialogs(), 44);
    std::vector<Armed> expected;
    for (const CardSpecificDialogRow& row : FIRST_APPEARANCE_ROWS)
        expected.push_back({Name<FirstAppearanceDialog>(), row.cardId, row.owner, 1, true});
    const std::vector<Armed> named = {
        {Name<CanTapCelisberToPlayCardDialog>(), CD_CELISBER, 0, 1, true},
        {Name<CanSaveTavengastDialog>(), CD_TAVENGAST, 0, 1, true},
        {Name<CanPlaySelevmarDialog>(), CD_SELEVMAR, 0, 1, true},
        {Name<CanPlayKelolvinDialog>(), CD_KELOLVIN, 0, 1, false},
        {Name<CanPlayPrailgastDialog1>(), CD_PRAILGAST, 0, 1, true},
        {Name<CanPlayPrailgastDialog2>(), CD_PRAILGAST, 0, 1, true},
        {Name<CanPlayHosurberDialog>(), CD_HOSURBER, 0, 1, true},
        {Name<CanPumpBelunvinDialog>(), CD_BELUNVIN, 0, -1, false},
        {Name<CanSaveBelunvinDialog>(), CD_BELUNVIN, 0, 1, true},
        {Name<CanPlayCardAtEndOfCPUTurnDialog>(), CD_FALARSAR, 0, 1, true},
        {Name<CanActivateNesismarDialog>(), CD_NESISMAR, 0, -1, false},
        {Name<CanPlaySavotnelDialog>(), CD_SAVOTNEL, 0, -1, true},
        {Name<CanPlayToredberDialog>(), CD_TOREDBER, 0, 1, true},
        {Name<CanPlayCardAtEndOfCPUTurnDialog>(), CD_WENARWYN, 0, 1, true},
        {Name<CanActivateDraisnelDialog1>(), CD_DRAISNEL, 0, 1, true},
        {Name<CanActivateDraisnelDialog2>(), CD_DRAISNEL, 0, 1, true},
        {Name<CanActivateDraisnelDialog3>(), CD_DRAISNEL, 0, 1, true},
        {Name<CanActivateRalevthDialog>(), CD_RALEVTH, 0, 1, true},
        {Name<FlyingBlockDialog>(), 0, 0, 1, true},
        {Name<FlyingBlockDialog>(), 0, 1, 1, false},
        {Name<PlayedLumottonDialog>(), CD_LUMOTTON, -1, 1, true},
    };
    expected.insert(expected.end(), named.begin(), named.end());
    ExpectRoster(expected);

    // Row 14: Nesismar for the learner, four links in word order; a row without a clip speaks an empty name.
    const CardSpecificDialog& nesismar = *GetArmedDialog(13);
    EXPECT_EQ(KeyOf(nesismar), u"PHYSDLG_CARDSPECIFIC_NESISMAR1");
    EXPECT_EQ(LinksOf(nesismar), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_EQ(nesismar.GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_cardspecific_nesismar.wav"});
    EXPECT_EQ(GetArmedDialog(1)->GetVoices(), std::vector<std::u16string>{u""});
    EXPECT_EQ(GetArmedDialog(23)->GetVoices(), std::vector<std::u16string>{u"vo_phys\\adv_celisber_taphint.wav"});
    EXPECT_TRUE(GetArmedDialog(24)->GetVoices().empty()) << "Tavengast's voice comes when it fires";
    EXPECT_EQ(GetArmedDialog(41)->GetVoices(), std::vector<std::u16string>{u"vo_phys\\CardSpecific_FlyingBlock1.wav"});
}

TEST_F(CardDialogTest, AFirstSightFiresForItsCardAndOwnerAndShowsModallyAtTheAdvicePosition)
{
    BuildCardSpecificDialogs();
    CardActor* const cpuNesismar = Card(CD_NESISMAR, PLAYER_CPU);
    PostDialogEvent(EV_CARD_FIRST_SEEN, cpuNesismar);
    ASSERT_TRUE(HasPriorityDialogQueued());
    ASSERT_TRUE(UpdateDialogQueue());
    CardSpecificDialog* const shown = GetCurrentDialog();
    EXPECT_EQ(KeyOf(*shown), u"PHYSDLG_CARDSPECIFIC_NESISMAR2");
    EXPECT_TRUE(IsPriorityDialogShown());
    EXPECT_FALSE(HasPriorityDialogQueued()) << "the learner's Nesismar row stays armed";

    // The advice position: the right edge of the opponent's area, at its top.
    RasterRect area;
    GetGameDisplay()->GetOpponentPlayArea(area);
    EXPECT_EQ(shown->GetRight(), area.right - 5);
    EXPECT_EQ(shown->GetTop(), area.top);

    Click(shown, 0);
    EXPECT_FALSE(UpdateDialogQueue());
    EXPECT_EQ(GetCurrentDialog(), nullptr);
    EXPECT_EQ(CountArmedDialogs(), 43) << "retired after its one firing";
    PostDialogEvent(EV_CARD_FIRST_SEEN, cpuNesismar);
    EXPECT_FALSE(HasPriorityDialogQueued());
    PostDialogEvent(EV_CARD_FIRST_SEEN, Card(CD_NESISMAR, PLAYER_HUMAN));
    EXPECT_TRUE(HasPriorityDialogQueued());
}

TEST_F(CardDialogTest, ADialogQueuedTwiceIsAnsweredEntryByEntry)
{
    SetMode(1);
    CardActor* const mavolnel = Card(CD_MAVOLNEL, PLAYER_HUMAN);
    CardActor* const wenunmel = Card(CD_WENUNMEL, PLAYER_HUMAN);
    BuildCardSpecificDialogs();
    PostDialogEvent(EV_CARD_PLAYED, mavolnel);
    PostDialogEvent(EV_CARD_PLAYED, wenunmel);
    ASSERT_TRUE(UpdateDialogQueue());
    CardSpecificDialog* const dialog = GetCurrentDialog();
    // One box, queued twice: it carries the text of its last firing both times.
    EXPECT_EQ(KeyOf(*dialog), u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_WENUNMEL");
    Click(dialog, 0);
    ASSERT_TRUE(UpdateDialogQueue());
    EXPECT_EQ(GetCurrentDialog(), dialog);
    EXPECT_FALSE(dialog->IsAnswered()) << "shown again, it waits for its own answer";
    EXPECT_TRUE(UpdateDialogQueue());
    Click(dialog, 0);
    EXPECT_FALSE(UpdateDialogQueue());
}

TEST_F(CardDialogTest, AShownDialogDestroyedWithTheSetLeavesTheDisplayAndTheOnlineLessonChangesNothing)
{
    BuildCardSpecificDialogs();
    PostDialogEvent(EV_CARD_FIRST_SEEN, Card(CD_TAVENGAST, PLAYER_HUMAN));
    ASSERT_TRUE(UpdateDialogQueue());
    CardSpecificDialog* const shown = GetCurrentDialog();
    ASSERT_TRUE(GetGameDisplay()->IsWindowRegistered(shown));
    DestroyAllDialogs();
    EXPECT_EQ(GetCurrentDialog(), nullptr);
    for (const GUI_Window* const window : GetGameDisplay()->GetGameWindows())
        EXPECT_NE(window, shown);
    EXPECT_EQ(CountArmedDialogs(), 0);

    BuildCardSpecificDialogs();
    SetMode(3);
    PostDialogEvent(EV_CARD_FIRST_SEEN, Card(CD_SELEVMAR, PLAYER_CPU));
    EXPECT_FALSE(HasPriorityDialogQueued());
    EXPECT_FALSE(UpdateDialogQueue());
    EXPECT_EQ(CountArmedDialogs(), 44);
}

} // namespace
