#include "cards/CardActor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "gui/GUI_Window.h"
#include "rules/PlayerState.h"
#include "tests/engine/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace {

struct Size {
    int width;
    int height;
};

struct ZoneCase {
    int zone;
    RasterRect rect;
};

RasterRect R(int left, int top, int right, int bottom)
{
    RasterRect rect;
    rect.left = left;
    rect.top = top;
    rect.right = right;
    rect.bottom = bottom;
    return rect;
}

std::string Describe(const RasterRect& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// The table on a display whose images are made in the test: borders, panels, the card back, a die frame, the
// phase icons and the phase background, each of one size.
class PlayMatLayoutTest : public test::SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        MarkIntroEnded();
        GameDisplay& display = *GetGameDisplay();
        display.m_ZoneImages.fill(-1);
        const std::map<int, Size> zoneImages = {
            {36, {800, 20}}, {38, {800, 10}}, {41, {800, 10}}, {39, {8, 500}}, {40, {8, 500}},
            {46, {4, 4}},    {47, {4, 4}},    {48, {4, 4}},    {49, {4, 4}},   {50, {8, 8}},
            {51, {8, 8}},    {52, {8, 8}},    {53, {8, 8}},    {2, {185, 65}}, {3, {185, 65}},
            {6, {185, 105}}, {7, {185, 105}}, {10, {30, 20}},  {11, {30, 20}},
        };
        for (const auto& [zone, size] : zoneImages)
            display.SetZoneImage(zone, Image(size));
        display.m_SmallCardBack = Image({40, 56});
        display.m_FirstDieFrame = Image({32, 32});
        display.m_PhaseBackgroundGold = Image({202, 150});
        for (int& icon : display.m_PhaseIcons)
            icon = Image({24, 20});
        for (int player = 0; player < 2; ++player)
            *GetPlayerState(player) = PlayerState();
    }

    void TearDown() override
    {
        s_GameMode = 0;
        GetGameDisplay()->m_TableSlots = {};
        SceneFixture::TearDown();
    }

    int Image(Size size)
    {
        m_pixels.push_back(std::make_unique<std::vector<std::uint16_t>>(
            static_cast<std::size_t>(size.width * size.height), std::uint16_t{0x1234}));
        return GetGameDisplay()->CreateTextureFromPixels(m_pixels.back()->data(), size.width, size.height, 0);
    }

    static void Layout(int mode, int width, int height)
    {
        s_GameMode = mode;
        s_ClientWidth = width;
        s_ClientHeight = height;
        GetGameDisplay()->LayoutPlayMat();
    }

    static void ExpectZones(const std::vector<ZoneCase>& cases)
    {
        for (const ZoneCase& c : cases) {
            EXPECT_EQ(Describe(GetGameDisplay()->GetZoneRectByIndex(c.zone)), Describe(c.rect)) << "zone " << c.zone;
        }
    }

    std::vector<std::unique_ptr<std::vector<std::uint16_t>>> m_pixels;
};

TEST_F(PlayMatLayoutTest, PhysicalTableAt800x600)
{
    Layout(1, 800, 600);
    const GameDisplay& d = *GetGameDisplay();
    ExpectZones({
        {36, R(0, 0, 800, 0)},       {37, R(0, 540, 800, 600)},   {38, R(0, 0, 800, 10)},
        {41, R(0, 530, 800, 540)},   {39, R(0, 10, 8, 530)},      {40, R(792, 10, 800, 530)},
        {44, R(8, 10, 104, 530)},    {45, R(108, 14, 788, 526)},  {14, R(8, 10, 210, 530)},
        {8, R(210, 478, 640, 530)},  {9, R(210, 370, 792, 478)},  {12, R(210, 10, 792, 270)},
        {13, R(210, 270, 792, 530)}, {2, R(8, 10, 193, 75)},      {3, R(210, 465, 395, 530)},
        {6, R(210, 75, 193, 180)},   {7, R(210, 348, 395, 453)},  {1, R(509, 414, 792, 530)},
        {0, R(509, 10, 792, 126)},   {18, R(210, 10, 792, 270)},  {27, R(210, 270, 792, 530)},
    });
    EXPECT_EQ(d.GetZoneKind(37), 0);
    EXPECT_EQ(d.GetZoneKind(2), 4);
    EXPECT_EQ(d.GetZoneKind(9), 0);
    EXPECT_EQ(d.m_RowUnit, 160);
    EXPECT_EQ(d.m_StackHeight, 115 + 21);
    // The preview stands 6 pixels above the phase background; the condensed bar hides icons 5 to 9.
    EXPECT_EQ(Describe(d.m_PhaseBackground), Describe(R(8, 380, 210, 530)));
    EXPECT_EQ(Describe(d.m_PreviewRect), Describe(R(13, 98, 205, 374)));
    EXPECT_EQ(Describe(d.m_PhaseRects[0]), Describe(R(26, 412, 198, 429)));
    EXPECT_EQ(Describe(d.m_PhaseRects[4]), Describe(R(26, 480, 198, 497)));
    EXPECT_EQ(Describe(d.m_PhaseRects[7]), Describe(R(-1, 497, -1, 497)));
    EXPECT_EQ(Describe(d.m_PhaseRects[11]), Describe(R(26, 514, 198, 531)));
    EXPECT_EQ(d.m_HandSlots[2].x, 210 + 142 + 5);

    RasterRect rect;
    d.GetPlayAreaRect(rect);
    EXPECT_EQ(Describe(rect), Describe(R(215, 275, 792, 409)));
    d.GetPlayerLandArea(rect);
    EXPECT_EQ(Describe(rect), Describe(R(215, 414, 509, 529)));
    d.GetOpponentPlayArea(rect);
    EXPECT_EQ(Describe(rect), Describe(R(215, 131, 792, 265)));
    d.GetOpponentLandArea(rect);
    EXPECT_EQ(Describe(rect), Describe(R(215, 12, 509, 126)));
    d.GetPlayerLibraryRect(rect, false);
    EXPECT_EQ(Describe(rect), Describe(R(646, 425, 686, 481)));
    GetPlayerState(PLAYER_HUMAN)->m_LibraryCount = 17;
    d.GetPlayerLibraryRect(rect, true);
    EXPECT_EQ(rect.top, 425 - 4);
    d.GetOpponentLibraryRect(rect, false);
    EXPECT_EQ(Describe(rect), Describe(R(589, 19, 629, 75)));
    d.GetPlayerGraveyardRect(rect, false);
    EXPECT_EQ(Describe(rect), Describe(R(718, 424, 758, 480)));
    d.GetOpponentGraveyardRect(rect, false);
    EXPECT_EQ(Describe(rect), Describe(R(515, 18, 555, 74)));
}

TEST_F(PlayMatLayoutTest, RowHeightsAt480And481AndLargerClients)
{
    struct Case {
        int mode, width, height, rowUnit, stackHeight, largeLayout;
        float scale;
    };
    const Case cases[] = {
        {1, 800, 480, 120, 115, 2, 1.0f}, {1, 800, 481, 160, 115, 2, 1.0f},  {3, 1024, 675, 160, 150, 0, 0.7f},
        {3, 1024, 676, 160, 150, 2, 1.0f}, {3, 1280, 1024, 160, 212, 2, 1.0f}, {1, 1024, 675, 160, 150, 2, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " mode " + std::to_string(c.mode));
        Layout(c.mode, c.width, c.height);
        const GameDisplay& d = *GetGameDisplay();
        EXPECT_EQ(d.m_RowUnit, c.rowUnit);
        EXPECT_EQ(d.m_StackHeight, c.stackHeight);
        EXPECT_EQ(d.m_LargeLayout, c.largeLayout);
        EXPECT_FLOAT_EQ(d.m_MatScale, c.scale);
    }
    Layout(1, 800, 480);
    ExpectZones({{8, R(210, 398, 640, 410)}, {9, R(210, 290, 792, 398)}, {13, R(210, 210, 792, 410)}});
    Layout(1, 800, 481);
    ExpectZones({{8, R(210, 359, 640, 411)}, {9, R(210, 251, 792, 359)}, {13, R(210, 210, 792, 411)}});
}

TEST_F(PlayMatLayoutTest, OnlineTableSmallAndLargeLayouts)
{
    Layout(3, 1024, 676);
    ExpectZones({
        {36, R(0, 0, 1024, 18)},     {37, R(0, 666, 1024, 676)},   {14, R(8, 28, 200, 656)},
        {8, R(200, 604, 803, 656)},  {9, R(200, 496, 1016, 604)},  {17, R(803, 604, 1016, 656)},
        {12, R(200, 28, 1016, 262)}, {13, R(200, 262, 1016, 496)}, {5, R(200, 262, 1016, 496)},
        {2, R(200, 28, 385, 93)},    {3, R(200, 431, 385, 496)},   {6, R(200, 93, 385, 198)},
        {7, R(200, 326, 385, 431)},  {4, R(200, 28, 385, 198)},    {18, R(385, 28, 1016, 262)},
        {27, R(385, 262, 1016, 496)}, {15, R(8, 309, 200, 389)},
    });
    EXPECT_EQ(GetGameDisplay()->GetZoneKind(37), 2);
    EXPECT_EQ(Describe(GetGameDisplay()->m_PreviewRect), Describe(R(8, 28, 200, 304)));

    Layout(3, 1024, 675);
    ExpectZones({
        {12, R(200, 28, 1016, 261)}, {2, R(200, 28, 329, 73)},    {3, R(200, 450, 329, 495)},
        {6, R(200, 73, 329, 146)},   {7, R(200, 377, 329, 450)},  {18, R(200, 28, 1016, 261)},
        {27, R(329, 261, 1016, 495)},
    });
    RasterRect library;
    GetGameDisplay()->GetPlayerLibraryRect(library, false);
    EXPECT_EQ(Describe(library), Describe(R(221, 382, 233, 397)));
}

TEST_F(PlayMatLayoutTest, AZoneWithoutAnImageHasNoSize)
{
    GetGameDisplay()->SetZoneImage(38, -1);
    GetGameDisplay()->SetZoneImage(2, 0);
    Layout(1, 800, 600);
    ExpectZones({{38, R(0, 0, 800, 0)}, {2, R(8, 0, 8, 0)}, {42, R(6, 0, 6, 0)}});
}

TEST_F(PlayMatLayoutTest, CornerIconsHideOffTheTableOnLaterScreens)
{
    GameDisplay& d = *GetGameDisplay();
    d.m_SceneTag = 0;
    d.m_ScreenId = 11;
    Layout(0, 800, 600);
    EXPECT_EQ(d.GetZoneKind(42), 0);
    EXPECT_EQ(d.GetZoneKind(43), 0);
    EXPECT_EQ(d.GetZoneKind(10), 0);
    d.m_ScreenId = 10;
    Layout(0, 800, 600);
    EXPECT_EQ(d.GetZoneKind(42), 4);
}

TEST_F(PlayMatLayoutTest, NineForestsTakeThreeHalfColumns)
{
    GameDisplay& d = *GetGameDisplay();
    PlayerTableSlots& human = d.m_TableSlots[0];
    human.landGroupCount = 1;
    human.landGroupSizes[0] = 9;
    Layout(1, 800, 600);
    // Full limit: 2 columns of depth 8 fit only at 34x51; half limit: 3 columns of depth 4 at 51x76.
    EXPECT_EQ(human.stackLimit, 4);
    EXPECT_EQ(human.landColumns, 3);
    EXPECT_EQ(human.pileWidth, 51);
    EXPECT_EQ(human.pileHeight, 76);
    EXPECT_FLOAT_EQ(human.landSlots[1].x, 215.0f + 98.0f);
    EXPECT_FLOAT_EQ(human.landSlots[2].y, 414.0f);
    EXPECT_FLOAT_EQ(human.landSlots[2].depth, 500.0f);
    // Without land groups nothing shrinks.
    EXPECT_EQ(d.m_TableSlots[1].landColumns, 0);
    EXPECT_EQ(d.m_TableSlots[1].pileWidth, 66);
    EXPECT_EQ(d.m_TableSlots[1].pileHeight, 98);
}

TEST_F(PlayMatLayoutTest, PermanentsShrinkIntoIndentedRowsAndStopAtTheSmallestSize)
{
    GameDisplay& d = *GetGameDisplay();
    d.m_TableSlots[0].permanentCount = 4;
    d.m_TableSlots[1].permanentCount = 3;
    Layout(1, 800, 600);
    const PlayerTableSlots& human = d.m_TableSlots[0];
    EXPECT_EQ(human.permanentWidth, 66);
    EXPECT_FALSE(human.indented);
    // Human rows grow upward from the bottom of the play area, CPU rows downward from its top.
    EXPECT_FLOAT_EQ(human.permanentSlots[0].y, 409.0f - 98.0f - 12.0f);
    EXPECT_FLOAT_EQ(human.permanentSlots[3].x, 215.0f + 3.0f * 100.0f);
    EXPECT_FLOAT_EQ(d.m_TableSlots[1].permanentSlots[2].y, 131.0f + 12.0f);

    d.m_TableSlots[0].permanentCount = 12;
    Layout(1, 800, 600);
    EXPECT_TRUE(human.indented);
    EXPECT_LT(human.permanentHeight, 98);
    EXPECT_GT(human.permanentSlots[11].depth, 200.0f);

    // A tiny window cannot hold 40 cards: the smallest size, every card a slot, all overlapping.
    d.m_TableSlots[0].permanentCount = 40;
    Layout(1, 300, 260);
    EXPECT_EQ(human.permanentWidth, MIN_CARD_WIDTH);
    EXPECT_EQ(human.permanentHeight, MIN_CARD_HEIGHT);
    EXPECT_GT(human.permanentSlots[39].depth, 200.0f);
}

TEST_F(PlayMatLayoutTest, OnlinePermanentSlots)
{
    GameDisplay& d = *GetGameDisplay();
    d.m_TableSlots[0].permanentCount = 9;
    d.m_TableSlots[1].permanentCount = 2;
    Layout(3, 1024, 676);
    const PlayerTableSlots& human = d.m_TableSlots[0];
    // 9 permanents start with 2 rows of 8 and narrow to 5 columns.
    EXPECT_EQ(human.onlineColumns, 5);
    EXPECT_EQ(human.permanentHeight, 92);
    EXPECT_EQ(human.permanentWidth, 62);
    EXPECT_EQ(human.onlineSlots[0].x, 390);
    EXPECT_EQ(human.onlineSlots[0].y, 272);
    EXPECT_EQ(human.onlineSlots[8].x, 390 + 3 * 117);
    EXPECT_EQ(human.onlineSlots[8].y, 272 + 117);
    // Height 98 gives width 66.
    EXPECT_EQ(d.m_TableSlots[1].permanentHeight, 98);
    EXPECT_EQ(d.m_TableSlots[1].permanentWidth, 66);
}

TEST_F(PlayMatLayoutTest, CardDrawSizeAndRectangle)
{
    GameDisplay& d = *GetGameDisplay();
    PlayerTableSlots& human = d.m_TableSlots[0];
    human.landGroupCount = 1;
    human.landGroupSizes[0] = 9;
    human.permanentCount = 12;
    Layout(1, 800, 600);
    CARD land;
    land.m_CardType = CT_LAND;
    CARD creature;
    creature.m_CardType = CT_CREATURE;
    CARD aura;
    aura.m_CardType = CT_ENCHANT;
    aura.m_SpellEffect.effectType = EFFECT_ENCHANT;
    CardActor forest;
    forest.SetCard(&land);
    forest.SetInLibrary(false);
    forest.SetTapState(TAP_TAPPED);
    int width = 0;
    int height = 0;
    d.GetCardDrawSize(&forest, width, height, false);
    EXPECT_EQ(width, 76);
    EXPECT_EQ(height, 51);
    d.GetCardDrawSize(&forest, width, height, true);
    EXPECT_EQ(width, 51);
    forest.m_Flags |= ACTOR_FLAG_KEEP_UPRIGHT;
    d.GetCardDrawSize(&forest, width, height, false);
    EXPECT_EQ(width, 51);
    forest.SetHeld(true);
    d.GetCardDrawSize(&forest, width, height, false);
    EXPECT_EQ(width, 66);

    CardActor bear;
    bear.SetCard(&creature);
    bear.SetInLibrary(false);
    bear.SetTapState(TAP_READY);
    CardActor first;
    CardActor second;
    first.SetCard(&aura);
    second.SetCard(&aura);
    bear.AttachCard(&first);
    bear.AttachCard(&second);
    bear.m_Position.Set(100.7f, 50.2f, 0.0f);
    RasterRect rect;
    d.GetCardRect(&bear, rect, false);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 50 + 12);
    EXPECT_EQ(rect.Width(), human.permanentWidth);

    // Dragged: the size runs from the table size at home to the kept size at the drag's start point and stays
    // there beyond it; a drag that starts at home has the kept size.
    bear.m_Dragging = true;
    bear.m_HomeX = 100;
    bear.m_HomeY = 50;
    bear.m_DragStartX = 200;
    bear.m_DragStartY = 50;
    bear.m_KeptWidth = 66;
    bear.m_KeptHeight = 98;
    bear.m_Position.Set(100.0f, 50.0f, 0.0f);
    d.GetCardDrawSize(&bear, width, height, false);
    EXPECT_EQ(width, human.permanentWidth);
    bear.m_Position.Set(200.0f, 50.0f, 0.0f);
    d.GetCardDrawSize(&bear, width, height, false);
    EXPECT_EQ(width, 66);
    bear.m_Position.Set(400.0f, 50.0f, 0.0f);
    d.GetCardDrawSize(&bear, width, height, false);
    EXPECT_EQ(width, 66);
    bear.m_DragStartX = 100;
    d.GetCardDrawSize(&bear, width, height, false);
    EXPECT_EQ(width, 66);
    EXPECT_EQ(height, 98);
}

// A window whose rectangle setter keeps it on an 800x600 screen, as dialogs' setters do.
class OnScreenWindow : public GUI_Window {
public:
    OnScreenWindow(int left, int top, int right, int bottom) : GUI_Window(GUI_KIND_WINDOW)
    {
        SetRect(left, top, right, bottom, false);
    }
    void SetRect(int left, int top, int right, int bottom, bool layout) override
    {
        const int dx = left < 0 ? -left : (right > 800 ? 800 - right : 0);
        const int dy = top < 0 ? -top : (bottom > 600 ? 600 - bottom : 0);
        GUI_Window::SetRect(left + dx, top + dy, right + dx, bottom + dy, layout);
    }
};

TEST_F(PlayMatLayoutTest, ABoxMovesOffACardAboveBelowLeftOrRightElseBack)
{
    GameDisplay& d = *GetGameDisplay();
    Layout(1, 800, 600);
    CARD creature;
    creature.m_CardType = CT_CREATURE;
    CardActor card;
    card.SetCard(&creature);
    card.SetHeld(true);  // drawn at the base size, 66 by 98

    struct Case {
        float cardX, cardY;
        int left, top, right, bottom;
        int wantLeft, wantTop;
    };
    const Case cases[] = {
        {300, 200, 310, 250, 410, 300, 310, 150},  // above: the window's bottom at the card's top
        {300, 0, 310, 50, 410, 100, 310, 98},      // no room above: below
        {300, 0, 310, 50, 410, 590, 200, 50},      // too tall for either (pushed back on screen): left, at its own top
        {20, 0, 30, 50, 130, 590, 86, 50},         // no room on the left either: right
        {300, 200, 500, 500, 560, 540, 500, 500},  // already clear: stays
        {300, 200, 0, 5, 800, 595, 0, 5},          // no place clears the card: back where it was
    };
    for (const Case& c : cases) {
        card.m_Position.Set(c.cardX, c.cardY, 0.0f);
        OnScreenWindow window(c.left, c.top, c.right, c.bottom);
        d.CardsOverlap(&window, &card);
        EXPECT_EQ(window.GetLeft(), c.wantLeft) << c.cardX << "," << c.cardY << " " << c.top;
        EXPECT_EQ(window.GetTop(), c.wantTop) << c.cardX << "," << c.cardY << " " << c.top;
        EXPECT_EQ(window.GetWidth(), c.right - c.left);
        EXPECT_EQ(window.GetHeight(), c.bottom - c.top);
    }
}

} // namespace
