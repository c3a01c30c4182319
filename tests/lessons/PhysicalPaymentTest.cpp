#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "gui/GUI_Event.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "lessons/Advice.h"
#include "lessons/LessonBox.h"
#include "lessons/LessonBoxCard.h"
#include "lessons/PhysicalPayment.h"
#include "rules/ManaPool.h"
#include "rules/TableSelection.h"
#include "tests/lessons/LessonFixture.h"

namespace {

using lessontest::LessonTest;

constexpr int CREATURE_ID = 30;
constexpr int ABILITY_ID = 40;

class PhysicalPaymentTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(2);
        GetSpellStack().Reset(1);
        GetSpellStack().OpenWindow();
    }

    void TearDown() override
    {
        SetMistimedCard(nullptr);
        LessonTest::TearDown();
    }

    // The learner dropped the creature and pays for it with the mana now in the pool.
    CardActor* StartSpell(const ManaCost& pool)
    {
        CardActor* const card = Card(CREATURE_ID, PLAYER_HUMAN, true);
        card->SetHeld(false);
        Human().m_ManaPool = pool;
        GetTableSelection().pendingSpell = card;
        SetSpellPaymentUnderWay(true);
        return card;
    }

    // A creature whose ability pumps a target creature; the cost type is the case's.
    CardActor* StartAbility(int costType, int step)
    {
        CARD& def = g_CardDefs[ABILITY_ID];
        def.m_Ability.costType = costType;
        def.m_Ability.cost = ManaCost(1, 0, 0, 0, 0, 0);
        def.m_Ability.effect.effectType = EFFECT_DAMAGE;
        def.m_Ability.effect.damageAmt = 1;
        CardActor* const card = Card(ABILITY_ID, PLAYER_HUMAN);
        TableSelection& selection = GetTableSelection();
        selection.pendingAbility = card;
        selection.abilityStep = step;
        return card;
    }
};

TEST_F(PhysicalPaymentTest, ExactPoolCastsAndMistakesWait)
{
    struct Case {
        ManaCost pool;
        bool cast;
    };
    const ManaCost cost = g_CardDefs[CREATURE_ID].m_Cost;
    ManaCost extra = cost;
    extra.generic += 1;
    const Case cases[] = {{cost, true}, {ManaCost(), false}, {extra, false}};
    for (const Case& c : cases) {
        CardActor* const card = StartSpell(c.pool);
        UpdatePhysicalPayment();
        EXPECT_EQ(GetSpellStack().GetCount() == 1, c.cast) << c.pool.Total();
        EXPECT_EQ(GetTableSelection().pendingSpell == nullptr, c.cast);
        EXPECT_EQ(IsSpellPaymentUnderWay(), !c.cast);
        GetSpellStack().Reset(1);
        GetSpellStack().OpenWindow();
        GetTableSelection().pendingSpell = nullptr;
        RemoveActor(card);
        PurgeRemovedActors();
    }
}

TEST_F(PhysicalPaymentTest, PaymentBoxDoneCastsAndCancelReturnsTheCardToTheHand)
{
    const ManaCost cost = g_CardDefs[CREATURE_ID].m_Cost;
    CardActor* card = StartSpell(cost);
    Messagebox* box = ShowBox(8);
    UpdatePhysicalPayment();
    EXPECT_EQ(GetSpellStack().GetCount(), 0) << "an unanswered box waits";
    Click(box, 0);
    UpdatePhysicalPayment();
    EXPECT_EQ(GetSpellStack().GetCount(), 1);
    EXPECT_EQ(GetLessonBox(), nullptr);
    EXPECT_EQ(GetTableSelection().pendingSpell, nullptr);

    GetSpellStack().Reset(1);
    card = StartSpell(ManaCost());
    box = ShowBox(8);
    Click(box, 1);
    UpdatePhysicalPayment();
    EXPECT_EQ(GetSpellStack().GetCount(), 0);
    EXPECT_TRUE(card->IsHeld());
    EXPECT_EQ(GetTableSelection().pendingSpell, nullptr);
    EXPECT_EQ(GetLessonBox(), nullptr);
}

TEST_F(PhysicalPaymentTest, NothingMovesWhileAdviceIsBlocked)
{
    StartSpell(g_CardDefs[CREATURE_ID].m_Cost);
    CardActor parked;
    SetMistimedCard(&parked);
    UpdatePhysicalPayment();
    EXPECT_EQ(GetSpellStack().GetCount(), 0);
    EXPECT_NE(GetTableSelection().pendingSpell, nullptr);
    SetMistimedCard(nullptr);
}

TEST_F(PhysicalPaymentTest, SacrificeCostPromptsAfterTheManaAndWaitsForTheCardToLeave)
{
    CardActor* const card = StartAbility(COSTTYPE_TAPSAC, ABILITY_PAY);
    Human().m_ManaPool = ManaCost(1, 0, 0, 0, 0, 0);
    UpdatePhysicalPayment();
    EXPECT_EQ(GetTableSelection().abilityStep, ABILITY_ACTIVATE);

    UpdatePhysicalPayment();
    Messagebox* const prompt = GetShownLessonBox(55);
    ASSERT_NE(prompt, nullptr);
    for (int frame = 0; frame < 3; ++frame)
        UpdatePhysicalPayment();
    EXPECT_EQ(GetTableSelection().pendingAbility, card) << "waits while the card stays on the table";
    EXPECT_EQ(GetShownLessonBox(55), prompt);

    card->SetExitMove(1);
    UpdatePhysicalPayment();
    EXPECT_EQ(GetTableSelection().pendingAbility, nullptr);
    EXPECT_EQ(GetLessonBox(), nullptr);
    EXPECT_EQ(GetSpellStack().GetCount(), 1);
}

// A new prompt opens at the advice position; one that takes over an error box drops that box's buttons and link.
TEST_F(PhysicalPaymentTest, SacrificePromptIsPlacedWhenNewAndResetWhenItTakesABoxOver)
{
    for (const bool takesOver : {false, true}) {
        SCOPED_TRACE(takesOver ? "takes an error box over" : "new");
        ForgetLessonBoxPlace();
        if (takesOver)
            ShowErrorBoxWithLink();
        StartAbility(COSTTYPE_SACRIFICE, ABILITY_ACTIVATE);
        UpdatePhysicalPayment();
        Messagebox* const prompt = GetShownLessonBox(55);
        ASSERT_NE(prompt, nullptr);
        EXPECT_EQ(prompt->GetButtonCount(), 1) << "Cancel only";
        EXPECT_EQ(prompt->GetExtraWindowCount(), 0);
        if (!takesOver)
            EXPECT_TRUE(IsAtAdvicePosition(prompt));
        GetTableSelection() = TableSelection();
        DeleteLessonBox();
    }
}

// Draws the box alone with the card's face one plain colour: the pixels inside the card's window that show that
// colour, none when it is the box's own colour beside the window.
int CardPixelsDrawn(Messagebox& box, const GUI_Window& window)
{
    static const std::vector<std::uint16_t> face(static_cast<std::size_t>(8 * 8), 0x03E0);
    CardActor* const card = GetLessonBoxCard(box);
    if (card == nullptr)
        return 0;
    card->m_Texture = GetGameDisplay()->CreateTextureFromPixels(face.data(), 8, 8, 0);
    Raster& raster = *GetRaster();
    raster.SetActive(true);
    raster.BeginFrame();
    raster.ClearBackBuffer(0);
    box.Draw();
    raster.Invalidate();
    raster.EndFrame();
    const PixelTarget target = raster.BackBuffer();
    const auto pixel = [&target](int x, int y) {
        return target.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(target.pitch) +
                             static_cast<std::size_t>(x)];
    };
    const int middleX = (window.GetLeft() + window.GetRight()) / 2;
    const int middleY = (window.GetTop() + window.GetBottom()) / 2;
    const std::uint16_t drawn = pixel(middleX, middleY);
    if (drawn == pixel(window.GetLeft() - 2, window.GetTop()))
        return 0;
    int count = 0;
    for (int y = window.GetTop(); y < window.GetBottom(); ++y) {
        for (int x = window.GetLeft(); x < window.GetRight(); ++x)
            count += pixel(x, y) == drawn;
    }
    return count;
}

// The prompt shows the card whose ability is paid between its text and its Cancel button; advice that takes the box
// over shows no card, and a prompt that takes a box over keeps that box's place.
TEST_F(PhysicalPaymentTest, SacrificePromptShowsTheAbilitysCard)
{
    AddString(u"STR_Cancel", u"Give up");
    // Dialogs keep inside the screen: this one needs its size.
    const RasterRect savedScreen = s_ScreenRect;
    s_ScreenRect = RasterRect{0, 0, 800, 600};
    ForgetLessonBoxPlace();
    CardActor* const card = StartAbility(COSTTYPE_SACRIFICE, ABILITY_ACTIVATE);
    UpdatePhysicalPayment();
    Messagebox* const prompt = GetShownLessonBox(55);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(GetLessonBoxCard(*prompt), card);
    ASSERT_EQ(prompt->GetButtonCount(), 1);
    EXPECT_EQ(prompt->GetButton(0)->GetText(), u"Give up");
    const GUI_Window* shown = nullptr;
    for (const GUI_Window* const child : prompt->GetChildren()) {
        if (child->GetKind() == 7)
            shown = child;
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_GE(shown->GetLeft(), prompt->GetLeft());
    EXPECT_LE(shown->GetRight(), prompt->GetRight());
    EXPECT_GE(shown->GetTop(), prompt->GetTop());
    EXPECT_LE(shown->GetBottom(), prompt->GetButton(0)->GetTop()) << "the card stands above the button";
    EXPECT_EQ(shown->GetWidth(), GetGameDisplay()->GetCardWidth());
    EXPECT_EQ(CardPixelsDrawn(*prompt, *shown), shown->GetWidth() * shown->GetHeight()) << "the card's face shows";

    // Other advice in the same box lets the card go.
    LessonBoxContent other;
    other.kind = 11;
    other.builtText = u"Not now.";
    ShowLessonBox(other);
    EXPECT_EQ(GetLessonBoxCard(*prompt), nullptr);

    // The prompt again over that box: the box stays where it is.
    prompt->MoveTo(prompt->GetLeft() - 40, prompt->GetTop() + 30, true);
    const int left = prompt->GetLeft();
    const int top = prompt->GetTop();
    UpdatePhysicalPayment();
    ASSERT_EQ(GetShownLessonBox(55), prompt);
    EXPECT_EQ(prompt->GetLeft(), left);
    EXPECT_EQ(prompt->GetTop(), top);
    EXPECT_EQ(GetLessonBoxCard(*prompt), card);
    GetTableSelection() = TableSelection();
    DeleteLessonBox();
    ClearStringTables();
    s_ScreenRect = savedScreen;
}

TEST_F(PhysicalPaymentTest, SacrificePromptCancelUndoesTheAbility)
{
    CardActor* const card = StartAbility(COSTTYPE_SACRIFICE, ABILITY_ACTIVATE);
    UpdatePhysicalPayment();
    Messagebox* const prompt = GetShownLessonBox(55);
    ASSERT_NE(prompt, nullptr);
    Click(prompt, 0);
    UpdatePhysicalPayment();
    EXPECT_EQ(GetLessonBox(), nullptr);
    EXPECT_EQ(GetSpellStack().GetCount(), 0);
    EXPECT_TRUE(card->IsNotLeaving());
}

TEST_F(PhysicalPaymentTest, AbilityWithoutSacrificeGoesOnTheStackOncePaid)
{
    StartAbility(COSTTYPE_NOTAP, ABILITY_PAY);
    Human().m_ManaPool = ManaCost(1, 0, 0, 0, 0, 0);
    UpdatePhysicalPayment();
    UpdatePhysicalPayment();
    EXPECT_EQ(GetTableSelection().pendingAbility, nullptr);
    EXPECT_EQ(GetSpellStack().GetCount(), 1);
}

} // namespace
