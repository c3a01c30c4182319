// The physical lesson in the real frame loop with the shipped data, drawn at its telling moments: the opening
// deal, a spell on the stack, a combat with a blocker and the end of the game. The lesson's intro and advice that
// would deal the learner's hand and the CPU's drawn cards are staged here; the turn drivers do the rest. The
// frames are saved when TESSEL_SAVE_FRAMES names a folder.
#include "tests/app/AppFixture.h"
#include "tests/cards/DealtCard.h"

#include "app/Console.h"
#include "engine/core/QuitRequest.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableInput.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gui/GUI_TextButton.h"
#include "gui/TextButton.h"
#include "gui/Sprite.h"
#include "gui/GUI_Event.h"
#include "gui/Messagebox.h"
#include "gui/WordBalloon.h"
#include "lessons/Advice.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/DrawingHand.h"
#include "lessons/HandDemos.h"
#include "lessons/LessonBox.h"
#include "lessons/UntapDrawPrompts.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuPayment.h"
#include "rules/Decks.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct MomentsCase {
    int mode;
    int width;
    int height;
};

class PhysicalMomentsTest : public test::AppFixture, public ::testing::WithParamInterface<MomentsCase> {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level01_u.cfg", "level02_u.cfg"});
        const MomentsCase& c = GetParam();
        plat::headless::SetScreenMetrics({c.width, c.height, c.width, c.height});
        SetSetting(u"winmax", 1);
    }
};

using Frame = plat::headless::Frame;

// Frames a moment is left to settle (cards easing in, labels appearing) before it is drawn.
constexpr int SETTLE_FRAMES = 8;

void Tick(bool draw = false)
{
    if (draw)
        GetRaster()->Invalidate();
    plat::headless::AdvanceTime(17);
    test::TickOnce();
}

// Ticks until the condition holds; false when it never did.
bool TickUntil(const std::function<bool()>& done, int maxFrames)
{
    for (int i = 0; i < maxFrames; ++i) {
        if (done())
            return true;
        Tick();
    }
    return done();
}

Frame DrawFrame(const char* moment)
{
    Tick(true);
    Frame frame = plat::headless::LastFrame();
    if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES")) {
        const MomentsCase& c = PhysicalMomentsTest::GetParam();
        plat::headless::SaveFrameBmp(frame, std::string(folder) + "/physical" + std::to_string(c.mode) + "-" +
                                                std::to_string(c.width) + "-" + moment + ".bmp");
    }
    return frame;
}

std::uint16_t PixelAt(const Frame& frame, int x, int y)
{
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height)
        return 0;
    return frame.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) + static_cast<std::size_t>(x)];
}

// How many pixels of the rectangle differ between two frames.
int ChangedPixels(const Frame& a, const Frame& b, const RasterRect& rect)
{
    int changed = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, a.height); ++y) {
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, a.width); ++x)
            changed += PixelAt(a, x, y) != PixelAt(b, x, y) ? 1 : 0;
    }
    return changed;
}

int BlackPixels(const Frame& frame, const RasterRect& rect)
{
    int black = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, frame.height); ++y) {
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, frame.width); ++x)
            black += PixelAt(frame, x, y) == 0 ? 1 : 0;
    }
    return black;
}

// Pixels of the 5-6-5 frame whose three channels are all near full.
int WhitePixels(const Frame& frame, const RasterRect& rect)
{
    int count = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, frame.height); ++y) {
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, frame.width); ++x) {
            const std::uint16_t p = PixelAt(frame, x, y);
            count += ((p >> 11) & 31) >= 28 && ((p >> 5) & 63) >= 56 && (p & 31) >= 28 ? 1 : 0;
        }
    }
    return count;
}

// Pixels near the colour (5-6-5 channels within 3 of the colour's).
int PixelsNear(const Frame& frame, const RasterRect& rect, int red, int green, int blue)
{
    int count = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, frame.height); ++y) {
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, frame.width); ++x) {
            const std::uint16_t p = PixelAt(frame, x, y);
            count += std::abs(((p >> 11) & 31) - (red >> 3)) <= 3 && std::abs(((p >> 5) & 63) - (green >> 2)) <= 3 &&
                             std::abs((p & 31) - (blue >> 3)) <= 3
                         ? 1
                         : 0;
        }
    }
    return count;
}

int Area(const RasterRect& r)
{
    return std::max(0, r.right - r.left) * std::max(0, r.bottom - r.top);
}

RasterRect CardRect(const CardActor& card)
{
    int width = 0;
    int height = 0;
    GetGameDisplay()->GetCardDrawSize(&card, width, height, false);
    const int x = static_cast<int>(card.m_Position.x);
    const int y = static_cast<int>(card.m_Position.y);
    return RasterRect{x, y, x + width, y + height};
}

void Mouse(plat::EventType type, int x, int y)
{
    test::QueueLeftMouse(type, x, y);
    Tick();
}

// The learner drags the life token onto the cell of its life, as the lesson asks at the start and after each
// change.
void MoveLifeToken(int life)
{
    LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    ASSERT_NE(token, nullptr);
    const RasterRect cell = GetLifeTrackCell(PLAYER_HUMAN, life);
    const int fx = (token->rect.left + token->rect.right) / 2;
    const int fy = (token->rect.top + token->rect.bottom) / 2;
    const int cx = (cell.left + cell.right) / 2;
    const int cy = (cell.top + cell.bottom) / 2;
    Mouse(plat::EventType::MouseMove, fx, fy);
    Mouse(plat::EventType::ButtonDown, fx, fy);
    for (int step = 1; step <= 4; ++step)
        Mouse(plat::EventType::MouseMove, fx + (cx - fx) * step / 4, fy + (cy - fy) * step / 4);
    Mouse(plat::EventType::ButtonUp, cx, cy);
    ASSERT_TRUE(TickUntil([token] { return token->IsReady(); }, 120));
}

// The learner reads each card dialog that comes up and presses its OK; the CPU's side waits while one is up.
void AnswerCardDialogs()
{
    for (int i = 0; i < 20; ++i) {
        const CardSpecificDialog* const dialog = GetCurrentDialog();
        if (dialog == nullptr || (!IsPriorityDialogShown() && !IsNormalDialogShown()))
            return;
        const GUI_Window& ok = *dialog->GetButton(0);
        const int x = (ok.GetLeft() + ok.GetRight()) / 2;
        const int y = (ok.GetTop() + ok.GetBottom()) / 2;
        Mouse(plat::EventType::MouseMove, x, y);
        Mouse(plat::EventType::ButtonDown, x, y);
        Mouse(plat::EventType::ButtonUp, x, y);
        Tick();
    }
}

// Drawn turned: a tapped card lies on its side.
bool IsDrawnTurned(const CardActor& card)
{
    const RasterRect r = CardRect(card);
    return r.right - r.left > r.bottom - r.top;
}

bool IsLifeTokenMisplaced()
{
    const LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    // The token takes no drag while either player waits in state 13.
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    return token != nullptr && token->actor != nullptr && token->actor->GetState() == TOKEN_MISPLACED &&
           token->IsIdle() && human != nullptr && cpu != nullptr && human->GetState() != 13 &&
           cpu->GetState() != 13;
}

CardActor* Deal(int id, int owner, bool held)
{
    return test::DealCard(id, owner, held);
}

bool IsCreature(int id)
{
    return id > 0 && id < CD_NUMBER_OF_CARD_DEFS && g_CardDefs[static_cast<std::size_t>(id)].GetCardType() == CT_CREATURE;
}

bool IsLand(int id)
{
    return id > 0 && id < CD_NUMBER_OF_CARD_DEFS && g_CardDefs[static_cast<std::size_t>(id)].IsLand();
}

int Cost(int id)
{
    return g_CardDefs[static_cast<std::size_t>(id)].GetManaCounters()->Total();
}

// The land gives mana of a colour the card's cost asks for.
bool PaysFor(int land, int card)
{
    if (!IsLand(land))
        return false;
    const ManaCost& gives = *g_CardDefs[static_cast<std::size_t>(land)].GetManaCounters();
    const ManaCost& asks = *g_CardDefs[static_cast<std::size_t>(card)].GetManaCounters();
    return (gives.red > 0 && asks.red > 0) || (gives.green > 0 && asks.green > 0) ||
           (gives.blue > 0 && asks.blue > 0) || (gives.black > 0 && asks.black > 0) ||
           (gives.white > 0 && asks.white > 0);
}

// Takes the first library entry from the next draw on that passes the test: it is swapped to the next draw and
// drawn. 0 when none does.
int DrawFirst(int owner, const std::function<bool(int)>& keep)
{
    PlayerState& record = *GetPlayerState(owner);
    for (int i = record.m_NextDrawIndex; i < record.m_LibraryCount; ++i) {
        const int id = record.m_Library[static_cast<std::size_t>(i)];
        if (!keep(id))
            continue;
        std::swap(record.m_Library[static_cast<std::size_t>(i)],
                  record.m_Library[static_cast<std::size_t>(record.m_NextDrawIndex)]);
        ++record.m_NextDrawIndex;
        return id;
    }
    return 0;
}

// The cheapest creature left in the owner's library.
int CheapestCreature(int owner)
{
    const PlayerState& record = *GetPlayerState(owner);
    int best = 0;
    for (int i = record.m_NextDrawIndex; i < record.m_LibraryCount; ++i) {
        const int id = record.m_Library[static_cast<std::size_t>(i)];
        if (IsCreature(id) && (best == 0 || Cost(id) < Cost(best)))
            best = id;
    }
    return best;
}

bool AnswerLessonBox(int kind);

// The learner reads the CPU's announcement of its attack and presses OK, as the balloon asks.
void AnswerAttackAnnouncement()
{
    WordBalloon* const balloon = GetCpuTurnBalloon();
    if (balloon == nullptr || !GetGameDisplay()->IsWindowRegistered(balloon) || balloon->GetKindNumber() != 56)
        return;
    const GUI_Window& ok = *balloon->GetButton(0);
    const int x = (ok.GetLeft() + ok.GetRight()) / 2;
    const int y = (ok.GetTop() + ok.GetBottom()) / 2;
    Mouse(plat::EventType::MouseMove, x, y);
    Mouse(plat::EventType::ButtonDown, x, y);
    Mouse(plat::EventType::ButtonUp, x, y);
}

// One frame of the table with the learner's part that the lesson asks for: the card dialogs read, the CPU's
// attack announcement acknowledged, the advanced lesson's notice before the CPU's combat damage read, the
// combat's outcome read, and the life token kept on its cell.
// Dead creatures leave at once, as the learner's clean-up and the CPU's bury hand (not built yet) would take them.
void TickTable()
{
    ClearPendingCards();
    AnswerCardDialogs();
    AnswerAttackAnnouncement();
    AnswerLessonBox(22);
    AnswerLessonBox(30);
    // The basic lesson's one-on-one result box closes only on its button, even once the dead are buried.
    AnswerLessonBox(31);
    if (IsLifeTokenMisplaced())
        MoveLifeToken(GetPlayerState(PLAYER_HUMAN)->GetLife());
    Tick();
}

// The learner reads a lesson box of that kind and clicks its OK; false when none is up.
bool AnswerLessonBox(int kind)
{
    Messagebox* const advice = GetShownLessonBox(kind);
    if (advice == nullptr)
        return false;
    GUI_InputEvent ok;
    ok.type = GUI_EVENT_COMMAND;
    ok.sender = advice->GetButton(0);
    advice->HandleInput(ok);
    return true;
}

// The advice on a CPU spell or ability.
bool AnswerSpellAdvice()
{
    return AnswerLessonBox(20);
}

bool TickTableUntil(const std::function<bool()>& done)
{
    for (int i = 0; i < 1500; ++i) {
        if (done())
            return true;
        TickTable();
    }
    return done();
}

TEST_P(PhysicalMomentsTest, TheDealASpellACombatWithABlockerAndTheEndAreShown)
{
    const MomentsCase c = GetParam();
    RunInside([c] {
        Tick();
        SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
        plat::SeedRand(5);
        ResetTable(c.mode);
        Tick();
        ASSERT_EQ(s_GameMode, c.mode);
        ASSERT_TRUE(TickUntil([] { return GetCpuPlayerActor() != nullptr && GetHumanPlayerActor() != nullptr; }, 60));
        // The moments below follow the CPU's first turn: it begins whatever the advanced game's die said.
        SetFirstPlayer(1);
        for (int i = 0; i < 30; ++i)
            Tick();
        const Frame empty = DrawFrame("empty");
        // The phase bar names the steps of the turn in white, the lit one in its own colour.
        const GameDisplay& shown = *GetGameDisplay();
        const RasterRect& unlit = shown.m_PhaseRects[shown.m_CurrentPhase == 0 ? 2 : 0];
        EXPECT_GT(WhitePixels(empty, unlit), 10) << "no phase name";
        // The CPU's token asks for the learner's once its own pause is over.
        // The learner's token may already ask while the intro runs; the CPU's asks for it again when its own is
        // placed, so the learner places it then.
        ASSERT_TRUE(TickUntil(
            [] {
                return GetLifeToken(PLAYER_CPU)->actor->GetState() != TOKEN_WAITING &&
                       GetLifeToken(PLAYER_HUMAN)->actor->GetState() == TOKEN_PLACING;
            },
            600));
        MoveLifeToken(20);

        // Before its first turn the cheapest creature of the CPU's library joins its hand so that it has a spell
        // to cast. Lands and creatures already on the table give the CPU mana and attackers and the learner blockers.
        PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
        const int cpuCreature = CheapestCreature(PLAYER_CPU);
        ASSERT_NE(cpuCreature, 0);
        CardActor* const cpuSpell =
            Deal(DrawFirst(PLAYER_CPU, [&](int card) { return card == cpuCreature; }), PLAYER_CPU, true);
        ASSERT_NE(cpuSpell, nullptr);
        cpu.m_CardsToDraw = 0;
        // The drawing hand has taken the top of the library for the CPU's hand, so the lands are chosen to pay
        // for the creature.
        for (int i = 0; i < 4; ++i)
            ASSERT_NE(Deal(DrawFirst(PLAYER_CPU, [&](int card) { return PaysFor(card, cpuCreature); }), PLAYER_CPU,
                           false),
                      nullptr);
        std::vector<CardActor*> cpuAttackers;
        for (int i = 0; i < 2; ++i)
            cpuAttackers.push_back(Deal(DrawFirst(PLAYER_CPU, IsCreature), PLAYER_CPU, false));
        for (int i = 0; i < 2; ++i)
            Deal(DrawFirst(PLAYER_HUMAN, IsLand), PLAYER_HUMAN, false);
        std::vector<CardActor*> blockers;
        for (int i = 0; i < 2; ++i)
            blockers.push_back(Deal(DrawFirst(PLAYER_HUMAN, IsCreature), PLAYER_HUMAN, false));
        // The deal: the intro has put the learner's opening seven in the hand; the drawing hand deals the
        // CPU's, one back after another.
        PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
        std::vector<CardActor*> hand;
        for (CardActor* const card : GetCardActors())
            if (card->GetOwner() == PLAYER_HUMAN && card->IsHeld() && !card->IsInLibrary())
                hand.push_back(card);
        ASSERT_EQ(hand.size(), 7u);
        // The stand-in intro deals the CPU's opening hand at once; dealt again by the drawing hand, it shows the hand.
        GetPlayerState(PLAYER_CPU)->m_NextDrawIndex = 0;
        StartHandAnimation(7);
        // The learner's driver greets the new hand with its card dialogs; the deal goes on once they are read.
        ASSERT_TRUE(TickUntil(
            [] {
                AnswerCardDialogs();
                return GetDrawHandState() == 2 && GetCardBacksDealt() >= 4;
            },
            600));
        const Frame deal = DrawFrame("deal");
        Sprite const* const drawHand = GetDrawHandSprite();
        ASSERT_NE(drawHand, nullptr);
        // The hand shows over the CPU's library, and the black around it is keyed out: the table shows there.
        const RasterRect handRect{drawHand->GetX(), std::max(0, drawHand->GetY()),
                                  drawHand->GetX() + drawHand->GetWidth(), drawHand->GetY() + drawHand->GetHeight()};
        EXPECT_GT(handRect.bottom, 20);
        EXPECT_GT(ChangedPixels(empty, deal, handRect), Area(handRect) / 4);
        EXPECT_LT(BlackPixels(deal, handRect) - BlackPixels(empty, handRect), Area(handRect) / 10);
        for (CardActor* card : hand) {
            const RasterRect r = CardRect(*card);
            EXPECT_GT(ChangedPixels(empty, deal, r), Area(r) / 2) << r.left << "," << r.top;
        }
        ASSERT_TRUE(TickUntil([] { return GetDrawHandState() >= 4 && GetCardBacksInFlight() == 0; }, 600));
        // The CPU keeps only the creature it was given: the spells of its dealt hand would change what it casts
        // before and after combat.
        std::vector<CardActor*> dealtToCpu;
        for (CardActor* const card : GetCardActors())
            if (card->GetOwner() == PLAYER_CPU && card->IsHeld() && !card->IsInLibrary() && card != cpuSpell)
                dealtToCpu.push_back(card);
        for (CardActor* const card : dealtToCpu)
            RemoveActor(card);

        // The held cards rest with their tops showing below the table; the mouse on one lifts the whole hand
        // into view, the pointed card at once and its neighbours in a ripple, and they sink back when it leaves.
        const int restTop = static_cast<int>(hand[3]->m_Position.y);
        EXPECT_LT(restTop, c.height);
        Mouse(plat::EventType::MouseMove, static_cast<int>(hand[3]->m_Position.x) + 30, (restTop + c.height) / 2);
        for (int i = 0; i < 60; ++i)
            Tick();
        const Frame raised = DrawFrame("hover");
        for (const CardActor* card : hand) {
            const RasterRect r = CardRect(*card);
            EXPECT_LE(r.bottom, c.height) << "a raised card shows whole: " << r.left << "," << r.top;
            EXPECT_LT(r.top, restTop);
            EXPECT_GT(ChangedPixels(deal, raised, r), Area(r) / 2) << r.left << "," << r.top;
        }
        Mouse(plat::EventType::MouseMove, c.width / 2, c.height / 3);
        for (int i = 0; i < 60; ++i)
            Tick();
        for (const CardActor* card : hand)
            EXPECT_EQ(static_cast<int>(card->m_Position.y), restTop);

        Actor* const cpuActor = FindActorByName(u"cpuplayer");
        ASSERT_NE(cpuActor, nullptr);

        // The CPU's turn runs on: it attacks first and holds its creature back for after combat. While the
        // learner chooses blockers the first attacker is blocked by the first creature that can; the turn advice
        // then lets the attack go on.
        ASSERT_TRUE(TickTableUntil(
            [cpuActor] { return cpuActor->GetState() == CPU_STEP_ATTACK && cpuActor->m_BehaviourData == 2; }));
        CardActor* attacker = nullptr;
        CardActor* blocker = nullptr;
        for (CardActor* const a : cpuAttackers) {
            for (CardActor* const b : blockers) {
                if (attacker == nullptr && a->IsAttacking() && CanBlockWith(b, GetCombatFlags(a))) {
                    AssignBlocker(a, b);
                    attacker = a;
                    blocker = b;
                }
            }
        }
        ASSERT_NE(attacker, nullptr);
        // The advice holds the learner's blocking step while the blocks are being made.
        s_HumanBlockStep = 1;
        ASSERT_TRUE(TickUntil([] { return AreHandDemosIdle(); }, 600)) << "the taps are played back";
        for (int i = 0; i < SETTLE_FRAMES; ++i)
            Tick();
        const Frame combat = DrawFrame("combat");
        EXPECT_EQ(blocker->GetBlockedAttacker(), attacker);
        EXPECT_TRUE(attacker->IsAttacking());
        for (const CardActor* const card : {attacker, blocker}) {
            const RasterRect r = CardRect(*card);
            EXPECT_GT(ChangedPixels(empty, combat, r), Area(r) / 2) << r.left << "," << r.top;
        }
        // Every attacker lies turned with its label; the blocker carries its own, and a link joins the pair.
        for (const CardActor* const card : cpuAttackers) {
            if (!card->IsAttacking())
                continue;
            EXPECT_TRUE(IsDrawnTurned(*card)) << "an attacker is tapped";
            const RasterRect r = CardRect(*card);
            EXPECT_GT(PixelsNear(combat, RasterRect{r.left, r.top, r.right, r.top + 16}, 255, 255, 0), 10)
                << "no Attacking label";
        }
        // "Blocking" stands on the blocker's power/toughness box (row 85 of the face's 98), leaving the box clear,
        // and the link's head stops at its top edge, leaving its name clear.
        const RasterRect blockerRect = CardRect(*blocker);
        const int ptTop = blockerRect.top + blockerRect.Height() * 85 / 98;
        EXPECT_GT(PixelsNear(combat, RasterRect{blockerRect.left, ptTop - 16, blockerRect.right, ptTop}, 255, 255, 0),
                  10)
            << "no Blocking label";
        EXPECT_EQ(PixelsNear(combat, RasterRect{blockerRect.left, ptTop + 1, blockerRect.right, blockerRect.bottom},
                             255, 255, 0),
                  0)
            << "the Blocking label covers the power and toughness";
        EXPECT_EQ(PixelsNear(combat, RasterRect{blockerRect.left, blockerRect.top, blockerRect.right, blockerRect.top + 12},
                             204, 204, 0),
                  0)
            << "the link's head covers the blocker's name";
        const RasterRect attackerRect = CardRect(*attacker);
        const RasterRect between{std::min(attackerRect.left, blockerRect.left) - 40, attackerRect.bottom,
                                 std::max(attackerRect.right, blockerRect.right) + 40, blockerRect.top};
        EXPECT_GT(PixelsNear(combat, between, 204, 204, 0), 50) << "no link between the attacker and its blocker";
        s_HumanBlockStep = 3;
        cpuActor->m_BehaviourData = 3;

        // After combat the learner reads the advice on the CPU's spell while it waits on the stack.
        const int cpuHandBefore = GetTableInput().cpuHandCount;
        // The advice box on the CPU's spell holds it on the stack until the learner answers; the advice on an
        // ability the CPU uses on the way is read and answered.
        ASSERT_TRUE(TickTableUntil([] {
            const StackEntry* const top = GetSpellStack().GetTopEntry();
            if (top != nullptr && top->isAbility)
                AnswerSpellAdvice();
            return GetShownLessonBox(20) != nullptr && top != nullptr && !top->isAbility;
        }));
        ASSERT_TRUE(TickUntil([] { return AreHandDemosIdle(); }, 600)) << "the taps are played back";
        for (int i = 0; i < SETTLE_FRAMES; ++i)
            Tick();
        DrawFrame("spell");
        const CardActor* const spell = GetSpellStack().GetTopCard();
        ASSERT_NE(spell, nullptr);
        EXPECT_EQ(spell->GetOwner(), PLAYER_CPU);
        EXPECT_FALSE(spell->IsHeld());
        EXPECT_EQ(GetTableInput().cpuHandCount, cpuHandBefore - 1);
        // The lands that paid for it lie turned.
        int tappedLands = 0;
        for (int i = 0; i < GetActorCount(); ++i) {
            const CardActor* const card = AsCardActor(GetActorAt(i));
            if (card == nullptr || card->GetOwner() != PLAYER_CPU || !card->IsLand() || card->IsHeld() ||
                card->GetTapState() != TAP_TAPPED)
                continue;
            ++tappedLands;
            EXPECT_TRUE(IsDrawnTurned(*card)) << "a land the CPU paid with shows untapped";
        }
        EXPECT_GE(tappedLands, Cost(spell->GetId()));
        ASSERT_TRUE(AnswerSpellAdvice()) << "no advice on the CPU's spell";

        // The CPU ends its turn with its balloon to the learner, who reads any further advice on the way.
        ASSERT_TRUE(TickTableUntil([] {
            AnswerSpellAdvice();
            return GetCpuTurnBalloon() != nullptr;
        }));

        // The end: the learner's life goes to 0 and the token is told of the change.
        const int previous = human.GetLife();
        human.SetLife(0, false);
        ChangeLifeTotal(GetLifeToken(PLAYER_HUMAN), 0, previous);
        for (int i = 0; i < SETTLE_FRAMES; ++i)
            Tick();
        const Frame end = DrawFrame("end");
        EXPECT_TRUE(human.HasLost());
        // The balloon is open: both library counts still show in white on their piles.
        RasterRect library;
        GetGameDisplay()->GetPlayerLibraryRect(library, false);
        EXPECT_GT(WhitePixels(end, RasterRect{library.left, library.top, library.left + 30, library.top + 20}), 10)
            << "no count on the learner's library";
        GetGameDisplay()->GetOpponentLibraryRect(library, false);
        EXPECT_GT(WhitePixels(end, RasterRect{library.left, library.top, library.left + 30, library.top + 20}), 10)
            << "no count on the CPU's library";
        EXPECT_EQ(s_GameMode, c.mode);
    });
    // The CPU's turn balloon was shown: the shutdown released it while the display was still there.
    EXPECT_EQ(GetCpuTurnBalloon(), nullptr);
}

// The console's setlife in the lesson opens the token's box; the program is closed with it still up. Shutdown
// takes the tokens with the display and the actors: nothing of them is reached afterwards.
TEST_P(PhysicalMomentsTest, ALifeBoxStillOpenAtShutdownGoesWithTheTable)
{
    const MomentsCase c = GetParam();
    SetSetting(u"consoleenabled", 1);
    RunInside([c] {
        Tick();
        ResetTable(c.mode);
        Tick();
        ASSERT_TRUE(TickUntil([] { return GetCpuPlayerActor() != nullptr && GetHumanPlayerActor() != nullptr; }, 60));
        // The learner's token may already ask while the intro runs; the CPU's asks for it again when its own is
        // placed, so the learner places it then.
        ASSERT_TRUE(TickUntil(
            [] {
                return GetLifeToken(PLAYER_CPU)->actor->GetState() != TOKEN_WAITING &&
                       GetLifeToken(PLAYER_HUMAN)->actor->GetState() == TOKEN_PLACING;
            },
            600));
        MoveLifeToken(20);
        for (const char16_t ch : std::u16string(u"`setlife 17\r")) {
            plat::Event typed;
            typed.type = plat::EventType::Char;
            typed.ch = ch;
            plat::headless::QueueEvent(typed);
        }
        ASSERT_TRUE(TickUntil([] { return GetLifeToken(PLAYER_HUMAN)->IsBoxShown(); }, 30));
        EXPECT_EQ(GetPlayerState(PLAYER_HUMAN)->GetLife(), 17);
        PostQuitMessage(0);
    });
    s_bConsoleOpen = false;
    EXPECT_EQ(GetLifeToken(PLAYER_HUMAN), nullptr);
    EXPECT_TRUE(IsLifeTokenReady()) << "no token holds anything back";
}

INSTANTIATE_TEST_SUITE_P(BothGames, PhysicalMomentsTest,
                         ::testing::Values(MomentsCase{1, 800, 600}, MomentsCase{2, 1024, 768}),
                         [](const ::testing::TestParamInfo<MomentsCase>& info) {
                             return "Mode" + std::to_string(info.param.mode) + "_" + std::to_string(info.param.width);
                         });

} // namespace
