#include "cards/TableDrawing.h"

#include "cards/CardIds.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/HandAnimationLists.h"
#include "rules/CombatLinks.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "tests/cards/TableBehaviourFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

using tabletest::TableBehaviourTest;

struct Size {
    int width;
    int height;
};

// The table laid out at 800 x 600 on images made in the test, with card definitions by kind.
class TableDrawingTest : public TableBehaviourTest {
protected:
    void SetUp() override
    {
        TableBehaviourTest::SetUp();
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
        for (int& icon : display.m_PhaseIcons)
            icon = Image({24, 20});
        for (int player = 0; player < 2; ++player)
            *GetPlayerState(player) = PlayerState();
        display.m_TableSlots = {};
        display.LayoutPlayMat();
        ResetTableDrawing();
        s_FramesPerSecond = 60.0f;
        Define(m_Forest, CT_LAND, CD_FOREST1);
        Define(m_Plains, CT_LAND, CD_PLAINS1);
        Define(m_Swamp, CT_LAND, CD_SWAMP1);
        Define(m_Mountain, CT_LAND, CD_MOUNTAIN1);
        Define(m_OtherLand, CT_LAND, 0);
        Define(m_Creature, CT_CREATURE, 0);
        Define(m_Sorcery, CT_SORCERY, 0);
        Define(m_Aura, CT_ENCHANT, 0);
        m_Aura.m_SpellEffect.effectType = EFFECT_ENCHANT;
    }

    void TearDown() override
    {
        GetGameDisplay()->m_TableSlots = {};
        ResetTableDrawing();
        TableBehaviourTest::TearDown();
    }

    static void Define(CARD& card, int type, int id)
    {
        card.m_CardType = type;
        card.m_Id = id;
    }

    int Image(Size size)
    {
        m_Pixels.push_back(std::make_unique<std::vector<std::uint16_t>>(
            static_cast<std::size_t>(size.width * size.height), std::uint16_t{0x1234}));
        return GetGameDisplay()->CreateTextureFromPixels(m_Pixels.back()->data(), size.width, size.height, 0);
    }

    static CardActor* OnTable(const CARD& definition, int owner = PLAYER_HUMAN, int tapState = TAP_READY)
    {
        CardActor* const card = NewCard(owner);
        card->SetCard(&definition);
        card->SetInLibrary(false);
        card->SetTapState(tapState);
        // Laid on the table, not played: no CPU hand is to carry it.
        std::erase(GetCpuPlayedCards(), card);
        card->m_Flags &= ~(ACTOR_FLAG_AWAITING_HAND | ACTOR_FLAG_CPU_REVEALED | ACTOR_FLAG_HOLD_POSITION);
        return card;
    }

    static std::vector<CardActor*> Many(int count, const CARD& definition, int owner = PLAYER_HUMAN)
    {
        std::vector<CardActor*> cards;
        for (int i = 0; i < count; ++i)
            cards.push_back(OnTable(definition, owner));
        return cards;
    }

    static const TableCardDraw* Drawn(const CardActor* card)
    {
        for (const TableCardDraw& entry : GetTableCardsDrawn()) {
            if (entry.card == card)
                return &entry;
        }
        return nullptr;
    }

    static void ExpectTarget(const CardActor* card, float x, float y, float z, const char* what)
    {
        EXPECT_FLOAT_EQ(card->m_TargetPoint.x, x) << what;
        EXPECT_FLOAT_EQ(card->m_TargetPoint.y, y) << what;
        EXPECT_FLOAT_EQ(card->m_TargetPoint.z, z) << what;
    }

    CARD m_Forest;
    CARD m_Plains;
    CARD m_Swamp;
    CARD m_Mountain;
    CARD m_OtherLand;
    CARD m_Creature;
    CARD m_Sorcery;
    CARD m_Aura;
    std::vector<std::unique_ptr<std::vector<std::uint16_t>>> m_Pixels;
};

TEST_F(TableDrawingTest, LandsFillTheirKindsColumnsInOrderOfFirstAppearance)
{
    // The human's land area starts at (215, 414); 9 Plains take half columns of depth 4, 98 px apart, each land
    // 5 px right and 8 px down from the one before. Forests seen first come before the Plains, whose kind number
    // is lower.
    const std::vector<CardActor*> forests = Many(2, m_Forest);
    const std::vector<CardActor*> plains = Many(9, m_Plains);
    const std::vector<CardActor*> cpuSwamps = Many(7, m_Swamp, PLAYER_CPU);
    DrawPhysicalTable();
    const PlayerTableSlots& human = GetGameDisplay()->m_TableSlots[0];
    const PlayerTableSlots& cpu = GetGameDisplay()->m_TableSlots[1];
    ASSERT_EQ(human.stackLimit, 4);
    ASSERT_EQ(human.landColumns, 4);
    const float pitch = human.landSlots[1].x - human.landSlots[0].x;
    struct Case {
        const CardActor* card;
        int column;
        int row;
    };
    const Case cases[] = {
        {forests[0], 0, 0}, {forests[1], 0, 1}, {plains[0], 1, 0}, {plains[3], 1, 3},
        {plains[4], 2, 0},  {plains[7], 2, 3},  {plains[8], 3, 0},
    };
    for (const Case& c : cases) {
        ExpectTarget(c.card, 215.0f + pitch * static_cast<float>(c.column) + 5.0f * static_cast<float>(c.row),
                     414.0f + 8.0f * static_cast<float>(c.row), 500.0f,
                     ("human column " + std::to_string(c.column) + " row " + std::to_string(c.row)).c_str());
    }
    // The CPU's columns do not step sideways; 7 Swamps take columns of 3.
    ASSERT_EQ(cpu.stackLimit, 3);
    ExpectTarget(cpuSwamps[5], cpu.landSlots[1].x, cpu.landSlots[1].y + 2.0f * 8.0f, 500.0f, "cpu column 1 row 2");
    ExpectTarget(cpuSwamps[6], cpu.landSlots[2].x, cpu.landSlots[2].y, 500.0f, "cpu third column");
}

TEST_F(TableDrawingTest, PermanentsTakeSlotsInOrderAndSpellsSitAside)
{
    CardActor* const bear = OnTable(m_Creature);
    CardActor* const spell = OnTable(m_Sorcery);
    CardActor* const cpuSpell = OnTable(m_Sorcery, PLAYER_CPU);
    CardActor* const host = OnTable(m_Creature);
    CardActor* const aura = OnTable(m_Aura);
    host->AttachCard(aura);
    DrawPhysicalTable();
    const PlayerTableSlots& human = GetGameDisplay()->m_TableSlots[0];
    const PlayerTableSlots& cpu = GetGameDisplay()->m_TableSlots[1];
    // The aura on its host takes no slot of its own: three human permanents.
    EXPECT_EQ(human.permanentCount, 3);
    EXPECT_EQ(cpu.permanentCount, 1);
    ExpectTarget(bear, human.permanentSlots[0].x, human.permanentSlots[0].y, 200.0f, "first slot");
    ExpectTarget(spell, human.permanentSlots[1].x + 8.0f, human.permanentSlots[1].y - 8.0f, 200.0f, "human spell");
    ExpectTarget(cpuSpell, cpu.permanentSlots[0].x + 8.0f, cpu.permanentSlots[0].y + 8.0f, 200.0f, "cpu spell");
    ExpectTarget(host, human.permanentSlots[2].x, human.permanentSlots[2].y, 200.0f, "host");
}

TEST_F(TableDrawingTest, SlotsPastTheLayoutsListsTakeTheLastEntry)
{
    // 41 creatures: the layout fills 40 slots; the last creature shares the 40th.
    const std::vector<CardActor*> creatures = Many(41, m_Creature);
    // A land of no basic kind still gets a column of its own.
    CardActor* const other = OnTable(m_OtherLand);
    CardActor* const forest = OnTable(m_Forest);
    DrawPhysicalTable();
    const PlayerTableSlots& human = GetGameDisplay()->m_TableSlots[0];
    ExpectTarget(creatures[40], human.permanentSlots[39].x, human.permanentSlots[39].y, human.permanentSlots[39].depth,
                 "41st creature");
    EXPECT_EQ(human.landColumns, 2);
    EXPECT_FLOAT_EQ(other->m_TargetPoint.x, human.landSlots[0].x);
    EXPECT_FLOAT_EQ(forest->m_TargetPoint.x, human.landSlots[1].x);

    // Lands beyond the columns of the last layout (its inputs tampered with) stay in the last column.
    GetGameDisplay()->m_TableSlots[0].landColumns = 1;
    GetGameDisplay()->m_TableSlots[0].landSlots[1].x = -1000.0f;
    DrawPhysicalTable();
    EXPECT_FLOAT_EQ(forest->m_TargetPoint.x, human.landSlots[0].x);
}

TEST_F(TableDrawingTest, LayoutRunsAgainOnlyWhenACountChanges)
{
    Many(3, m_Forest);
    CardActor* const bear = OnTable(m_Creature);
    DrawPhysicalTable();
    PlayerTableSlots& human = GetGameDisplay()->m_TableSlots[0];
    const float realX = human.permanentSlots[0].x;
    human.permanentSlots[0].x = 1.0f;
    DrawPhysicalTable();
    EXPECT_FLOAT_EQ(bear->m_TargetPoint.x, 1.0f) << "same counts: the slots of the last layout";
    OnTable(m_Forest);
    DrawPhysicalTable();
    EXPECT_FLOAT_EQ(bear->m_TargetPoint.x, realX) << "a land more: laid out again";
    human.permanentSlots[0].x = 1.0f;
    OnTable(m_Creature, PLAYER_CPU);
    DrawPhysicalTable();
    EXPECT_FLOAT_EQ(bear->m_TargetPoint.x, realX) << "the CPU's count changed";
}

TEST_F(TableDrawingTest, CardsLeavingHeldOrElsewhereAreNotPlaced)
{
    CardActor* const forward = OnTable(m_Creature);
    forward->SetExitMove(1);
    CardActor* const held = OnTable(m_Creature);
    held->SetHeld(true);
    CardActor* const library = OnTable(m_Creature);
    library->SetInLibrary(true);
    CardActor* const arrived = OnTable(m_Creature);
    arrived->m_Arrived = true;
    CardActor* const stopped = OnTable(m_Creature);
    stopped->SetExitMove(-1);
    stopped->m_EasingStopped = true;
    CardActor* const backward = OnTable(m_Creature);
    backward->SetExitMove(-1);
    CardActor* const drawnByHand = OnTable(m_Creature);
    GetTableFlow().cardDrawnByHand = drawnByHand;
    const Vector3 untouched(-5.0f, -5.0f, 5.0f);
    for (CardActor* card : {forward, held, library, arrived, stopped, drawnByHand})
        card->m_TargetPoint = untouched;
    DrawPhysicalTable();
    for (const CardActor* card : {forward, held, library, arrived, stopped, drawnByHand}) {
        EXPECT_FLOAT_EQ(card->m_TargetPoint.x, untouched.x);
    }
    // Counted: the stopped card leaving backward and the one still easing; the card drawn by hand is not.
    const PlayerTableSlots& human = GetGameDisplay()->m_TableSlots[0];
    EXPECT_EQ(human.permanentCount, 2);
    ExpectTarget(backward, human.permanentSlots[0].x, human.permanentSlots[0].y, 200.0f, "leaving backward");
    EXPECT_EQ(Drawn(forward), nullptr);
    EXPECT_EQ(Drawn(held), nullptr);
    EXPECT_NE(Drawn(stopped), nullptr);
}

TEST_F(TableDrawingTest, DrawingOrderAndDepthRotationAndAuraShift)
{
    CardActor* const land = OnTable(m_Forest);
    CardActor* const bear = OnTable(m_Creature);
    CardActor* const dragged = OnTable(m_Creature);
    CardActor* const follower = OnTable(m_Creature, PLAYER_CPU);
    CardActor* const special = OnTable(m_Creature);
    CardActor* const tapped = OnTable(m_Creature, PLAYER_HUMAN, TAP_TAPPED);
    CardActor* const upright = OnTable(m_Creature, PLAYER_HUMAN, TAP_TAPPED);
    upright->m_Flags |= ACTOR_FLAG_KEEP_UPRIGHT;
    CardActor* const enchanted = OnTable(m_Creature);
    enchanted->AttachCard(OnTable(m_Aura));
    enchanted->AttachCard(OnTable(m_Aura));
    SetDraggedCard(dragged);
    GetTableFlow().followSlots[0] = follower;
    GetTableFlow().pendingSlots[2] = special;
    for (CardActor* card : {land, bear, dragged, follower, special, tapped, upright, enchanted})
        card->m_Position.Set(100.0f, 50.0f, 0.0f);
    DrawPhysicalTable();

    const std::vector<TableCardDraw>& drawn = GetTableCardsDrawn();
    ASSERT_EQ(drawn.size(), 8u);
    for (std::size_t i = 1; i < drawn.size(); ++i)
        EXPECT_LE(drawn[i - 1].depth, drawn[i].depth) << "front first";
    struct Case {
        const CardActor* card;
        float depth;
        bool turned;
        float y;
    };
    const Case cases[] = {
        {dragged, 8.0f, false, 50.0f},   {follower, 8.0f, false, 50.0f}, {special, 199.0f, false, 50.0f},
        {bear, 200.0f, false, 50.0f},    {tapped, 200.0f, true, 50.0f},  {upright, 200.0f, false, 50.0f},
        {enchanted, 200.0f, false, 62.0f}, {land, 500.0f, false, 50.0f},
    };
    for (const Case& c : cases) {
        const TableCardDraw* const entry = Drawn(c.card);
        ASSERT_NE(entry, nullptr);
        EXPECT_FLOAT_EQ(entry->depth, c.depth);
        EXPECT_EQ(entry->turned, c.turned);
        EXPECT_FLOAT_EQ(entry->y, c.y) << "two auras: 12 px lower";
        EXPECT_FLOAT_EQ(c.card->m_Rotation.z, c.turned ? 1.570795f : 0.0f);
    }
    // The special slot card keeps the target the lesson gave it.
    EXPECT_FLOAT_EQ(special->m_TargetPoint.x, 0.0f);
}

TEST_F(TableDrawingTest, SpellsSparkleEveryFrameAtThirtyFourFramesPerSecond)
{
    CardActor* const spell = OnTable(m_Sorcery);
    spell->SetPlayedMark(1);
    spell->SetTapState(TAP_NEW);
    s_FramesPerSecond = 34.0f;
    plat::SeedRand(7);
    for (int frame = 1; frame <= 3; ++frame) {
        DrawPhysicalTable();
        int sparkles = 0;
        for (int i = 0; i < GetActorCount(); ++i)
            sparkles += std::u16string_view(GetActorAt(i)->GetName()) == u"sparkle" ? 1 : 0;
        EXPECT_EQ(sparkles, frame);
    }
    const Actor* const last = FindActorByName(u"sparkle");
    EXPECT_GE(last->m_Lifetime, 8);
    EXPECT_LT(last->m_Lifetime, 28);
    // The chosen card's sparks last one frame; a tapped spell throws none.
    GetTableFlow().onlineChosenCard = spell;
    DrawPhysicalTable();
    EXPECT_EQ(FindActorByName(u"sparkle")->m_Lifetime, 1);
    const int before = GetActorCount();
    spell->SetTapState(TAP_TAPPED);
    DrawPhysicalTable();
    EXPECT_EQ(GetActorCount(), before);
}

TEST_F(TableDrawingTest, OnlineGridTakesPermanentsFirstThenLandColumns)
{
    SetMode(3);
    GetGameDisplay()->LayoutPlayMat();
    ResetTableDrawing();
    // Kinds by their own card slots: Swamp and Mountain are two kinds, each with its own column of up to 5.
    const std::vector<CardActor*> swamps = Many(6, m_Swamp);
    CardActor* const mountain = OnTable(m_Mountain);
    CardActor* const bear = OnTable(m_Creature);
    CardActor* const spell = OnTable(m_Sorcery);
    CardActor* const enchanted = OnTable(m_Creature);
    enchanted->AttachCard(OnTable(m_Aura));
    spell->m_TargetPoint.Set(-5.0f, -5.0f, 0.0f);
    DrawOnlineTable();
    const PlayerTableSlots& human = GetGameDisplay()->m_TableSlots[0];
    // Two creatures, two Swamp columns, one Mountain column.
    ASSERT_EQ(human.permanentCount, 5);
    struct Case {
        const CardActor* card;
        int slot;
        int row;
    };
    const Case cases[] = {{bear, 0, 0}, {enchanted, 1, 0}, {swamps[0], 2, 0}, {swamps[4], 2, 4},
                          {swamps[5], 3, 0}, {mountain, 4, 0}};
    for (const Case& c : cases) {
        const MatPoint& point = human.onlineSlots[static_cast<std::size_t>(c.slot)];
        EXPECT_FLOAT_EQ(c.card->m_TargetPoint.x, static_cast<float>(point.x + 5 * c.row)) << "slot " << c.slot;
        EXPECT_FLOAT_EQ(c.card->m_TargetPoint.y, static_cast<float>(point.y + 5 * c.row)) << "slot " << c.slot;
    }
    // Spells are not shown on the online table.
    EXPECT_FLOAT_EQ(spell->m_TargetPoint.x, -5.0f);
    EXPECT_EQ(Drawn(spell), nullptr);
}

} // namespace

namespace {

// Online, an aura shows above its host whether the host is tapped or not: the host is drawn 6 px lower, where its
// window lies, and the mouse finds the aura in the band above it.
TEST_F(TableDrawingTest, OnlineAurasShowOnUprightAndTappedHosts)
{
    SetMode(3);
    GetGameDisplay()->LayoutPlayMat();
    m_Aura.m_SpellEffect.duration = DURATION_PERMANENT;
    for (const int tapState : {TAP_READY, TAP_TAPPED}) {
        SCOPED_TRACE(tapState == TAP_READY ? "upright" : "tapped");
        ResetTableDrawing();
        CardActor* const host = OnTable(m_Creature, PLAYER_HUMAN, tapState);
        CardActor* const aura = OnTable(m_Aura);
        host->AttachCard(aura);
        DrawOnlineTable();
        host->m_Position = host->m_TargetPoint;
        RebuildCardWindows();
        DrawOnlineTable();
        const TableCardDraw* const drawn = Drawn(host);
        ASSERT_NE(drawn, nullptr);
        EXPECT_FLOAT_EQ(drawn->y, host->m_TargetPoint.y + 6.0f);
        EXPECT_FLOAT_EQ(aura->m_Position.y, drawn->y - 12.0f);
        const GUI_Window* const window =
            GetGUIManager()->GetWindowAt(static_cast<int>(aura->m_Position.x) + 4, static_cast<int>(aura->m_Position.y) + 4);
        EXPECT_EQ(GetCardWindowActor(window), aura);
    }
}

// The mouse finds a physical table card where it shows, tapped or not; a card held by the mouse gets no window.
TEST_F(TableDrawingTest, PhysicalTableCardsGetAWindowWhereTheyShow)
{
    CardActor* const bear = OnTable(m_Creature);
    CardActor* const tapped = OnTable(m_Forest, PLAYER_CPU, TAP_TAPPED);
    CardActor* const held = OnTable(m_Creature);
    held->BeginDrag(0, 0);
    // Each card stands at the place the layout gives it.
    DrawPhysicalTable();
    for (CardActor* const card : {bear, tapped})
        card->m_Position = card->m_TargetPoint;
    RebuildCardWindows();
    DrawPhysicalTable();
    for (const CardActor* const card : {bear, tapped}) {
        const TableCardDraw* const drawn = Drawn(card);
        ASSERT_NE(drawn, nullptr);
        const GUI_Window* const window =
            GetGUIManager()->GetWindowAt(static_cast<int>(drawn->x) + 4, static_cast<int>(drawn->y) + 4);
        EXPECT_EQ(GetCardWindowActor(window), card);
    }
    EXPECT_EQ(GetCardWindowCount(), 2);
    held->EndDrag();
}

} // namespace

namespace {

// Online, the blockers of an attacker show stacked on it, each 5 px higher than the one before and in front of
// it, and the mouse finds each there; their own positions stay.
TEST_F(TableDrawingTest, OnlineBlockersAreStackedOnTheirAttacker)
{
    SetMode(3);
    GetGameDisplay()->LayoutPlayMat();
    ResetTableDrawing();
    CardActor* const attacker = OnTable(m_Creature, PLAYER_CPU);
    attacker->m_Position.Set(400.0f, 200.0f, 20.0f);
    CardActor* const first = OnTable(m_Creature);
    CardActor* const second = OnTable(m_Creature);
    for (CardActor* const blocker : {first, second}) {
        blocker->m_Position.Set(100.0f, 400.0f, 20.0f);
        attacker->AddBlocker(blocker);
        blocker->SetBlockedAttacker(attacker);
    }
    DrawOnlineTable();
    EXPECT_FLOAT_EQ(first->m_Position.y, 400.0f);
    // The second blocker lies 5 px above the first and in front: its window is found at its top edge.
    EXPECT_EQ(GetCardWindowActor(GetGUIManager()->GetWindowAt(404, 200 - 10 + 2)), second);
    EXPECT_EQ(GetCardWindowActor(GetGUIManager()->GetWindowAt(404, 200 - 5 + 2)), second);
    GetGUIManager()->UnregisterWindow(GetGUIManager()->GetWindowAt(404, 200 - 10 + 2));
    EXPECT_EQ(GetCardWindowActor(GetGUIManager()->GetWindowAt(404, 200 - 5 + 2)), first);
}

} // namespace

namespace {

// Online, each card the table places is recorded at its slot, so a blocker resting there with the mouse over it
// hides its link to the attacker, as the mouse over an attacker hides its links.
TEST_F(TableDrawingTest, OnlinePlacedCardsAreRecordedAndAHoveredBlockerDrawsNoLink)
{
    SetMode(3);
    GetGameDisplay()->LayoutPlayMat();
    ResetTableDrawing();
    CardActor* const attacker = OnTable(m_Creature, PLAYER_CPU);
    CardActor* const blocker = OnTable(m_Creature);
    attacker->SetAttacking(true);
    attacker->AddBlocker(blocker);
    blocker->SetBlockedAttacker(attacker);
    DrawOnlineTable();
    for (CardActor* const card : {attacker, blocker})
        card->m_Position = card->m_TargetPoint;
    DrawOnlineTable();
    const std::vector<PlacedCardRecord>& records = GetGameDisplay()->m_PlacedCards;
    const auto record = std::find_if(records.begin(), records.end(),
                                     [blocker](const PlacedCardRecord& r) { return r.card == blocker; });
    ASSERT_NE(record, records.end());
    EXPECT_FLOAT_EQ(record->x, blocker->m_Position.x);
    EXPECT_FLOAT_EQ(record->y, blocker->m_Position.y);
    MouseState.x = static_cast<int>(record->x) + 4;
    MouseState.y = static_cast<int>(record->y) + 4;
    EXPECT_FALSE(ShouldDrawBlockLink(blocker));
    MouseState.x = 0;
    MouseState.y = 0;
    EXPECT_TRUE(ShouldDrawBlockLink(blocker));
}

} // namespace

namespace {

// Online, the CPU's spell waiting on the stack stands at the stack row's end, right of the log, whole on the
// screen, and the mouse finds it there; a resolved spell leaves the row.
TEST_F(TableDrawingTest, OnlineStackRowShowsTheSpellOnTheStack)
{
    SetMode(3);
    GameDisplay& display = *GetGameDisplay();
    display.LayoutPlayMat();
    ResetTableDrawing();
    SpellStack& stack = GetSpellStack();
    stack.Reset(0);
    CardActor* const spell = OnTable(m_Sorcery, PLAYER_CPU);
    spell->m_Texture = Image({66, 98});
    stack.CastSpell(spell, nullptr, nullptr, false, false);
    ASSERT_EQ(stack.GetTopCard(), spell);
    DrawOnlineTable();
    const RasterRect& end = display.GetZoneRectByIndex(17);
    const int x = end.right - 10;
    const int y = end.bottom - 10;
    EXPECT_EQ(GetCardWindowActor(GetGUIManager()->GetWindowAt(x, y)), spell);
    EXPECT_LE(end.bottom, s_ClientHeight);
    EXPECT_GE(end.left, display.GetZoneRectByIndex(8).right) << "the row's end lies right of the log";

    stack.Reset(0);
    RebuildCardWindows();
    DrawOnlineTable();
    EXPECT_EQ(GetCardWindowActor(GetGUIManager()->GetWindowAt(x, y)), nullptr);
}

} // namespace
