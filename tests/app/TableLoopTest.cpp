// Both lesson tables shown by the real frame loop with the shipped data at two window sizes: cards dealt into both
// hands and onto the table, then a hand card dragged, a table card hovered until its zoom and its text box show, a
// graveyard opened by a click on its pile and, at the physical table, the life token dragged onto its cell.
#include "tests/app/AppFixture.h"
#include "tests/cards/DealtCard.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardPicking.h"
#include "cards/CardWindow.h"
#include "cards/CardWindows.h"
#include "cards/CornerButtons.h"
#include "cards/GraveyardLists.h"
#include "cards/LifeToken.h"
#include "cards/TableInput.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/TurnFlags.h"
#include "gui/GUI_Manager.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"
#include "screens/CoinToss.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct TableCase {
    int mode;
    int width;
    int height;
};

class TableLoopTest : public test::AppFixture, public ::testing::WithParamInterface<TableCase> {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level01_u.cfg", "level03_u.cfg", "level04_u.cfg"});
        // A maximised window on a screen of the case's size: the client is the whole screen.
        const TableCase& c = GetParam();
        plat::headless::SetScreenMetrics({c.width, c.height, c.width, c.height});
        SetSetting(u"winmax", 1);
    }
};

using test::TickOnce;

// Frames of 20 ms on the stepped clock.
void RunFramesOf20(int frames)
{
    for (int i = 0; i < frames; ++i) {
        plat::headless::AdvanceTime(20);
        TickOnce();
    }
}

void Mouse(plat::EventType type, int x, int y)
{
    test::QueueLeftMouse(type, x, y);
    plat::headless::AdvanceTime(20);
    TickOnce();
}

void Click(int x, int y)
{
    Mouse(plat::EventType::MouseMove, x, y);
    Mouse(plat::EventType::ButtonDown, x, y);
    Mouse(plat::EventType::ButtonUp, x, y);
}

std::string FrameName(const char* step)
{
    const TableCase& c = TableLoopTest::GetParam();
    return std::string(c.mode <= 2 ? "physical" : "online") + std::to_string(c.mode) + "-" + std::to_string(c.width) + "x" +
           std::to_string(c.height) + "-" + step + ".bmp";
}

// A whole frame drawn, then saved when TESSEL_SAVE_FRAMES names a folder.
plat::headless::Frame DrawFrame(const char* step)
{
    GetRaster()->Invalidate();
    plat::headless::AdvanceTime(20);
    TickOnce();
    plat::headless::Frame frame = plat::headless::LastFrame();
    if (const char* const saveTo = std::getenv("TESSEL_SAVE_FRAMES"))
        plat::headless::SaveFrameBmp(frame, std::string(saveTo) + "/" + FrameName(step));
    return frame;
}

std::uint16_t PixelAt(const plat::headless::Frame& frame, int x, int y)
{
    EXPECT_TRUE(x >= 0 && y >= 0 && x < frame.width && y < frame.height) << x << "," << y;
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height)
        return 0;
    return frame.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) + static_cast<std::size_t>(x)];
}

// A 5-6-5 frame pixel within a few steps of a 24-bit colour.
bool NearColour(std::uint16_t pixel, int red, int green, int blue)
{
    const int r = (pixel >> 11 & 31) * 255 / 31;
    const int g = (pixel >> 5 & 63) * 255 / 63;
    const int b = (pixel & 31) * 255 / 31;
    return std::abs(r - red) <= 12 && std::abs(g - green) <= 12 && std::abs(b - blue) <= 12;
}

// How many pixels of the rectangle differ between two frames.
int ChangedPixels(const plat::headless::Frame& a, const plat::headless::Frame& b, const RasterRect& rect)
{
    int changed = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, a.height); ++y) {
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, a.width); ++x)
            changed += PixelAt(a, x, y) != PixelAt(b, x, y) ? 1 : 0;
    }
    return changed;
}

CardActor* Deal(int id, int owner, bool held)
{
    return test::DealCard(id, owner, held);
}

struct Dealt {
    std::vector<CardActor*> hand;
    std::vector<CardActor*> cpuHand;
    std::vector<CardActor*> table;
};

bool IsHandCard(const CardActor* card, int owner)
{
    return card != nullptr && card->GetOwner() == owner && card->IsHeld() && !card->IsInLibrary() &&
           card->IsNotLeaving();
}

// Cards from each side's library: two lands and two creatures of each side on the table. Both lessons have dealt
// their opening hands in their intros.
Dealt DealCards()
{
    Dealt dealt;
    for (CardActor* const card : GetCardActors()) {
        if (IsHandCard(card, 0))
            dealt.hand.push_back(card);
        else if (IsHandCard(card, 1))
            dealt.cpuHand.push_back(card);
    }
    for (int owner = 0; owner < 2; ++owner) {
        const PlayerState& player = *GetPlayerState(owner);
        std::vector<int> lands;
        std::vector<int> creatures;
        std::vector<int> others;
        for (const int id : player.m_Library) {
            if (id <= 0 || id >= CD_NUMBER_OF_CARD_DEFS)
                continue;
            const CARD& card = g_CardDefs[static_cast<std::size_t>(id)];
            (card.IsLand() ? lands : card.GetCardType() == CT_CREATURE ? creatures : others).push_back(id);
        }
        others.insert(others.end(), creatures.begin(), creatures.end());
        EXPECT_GE(lands.size(), 2u);
        EXPECT_GE(creatures.size(), 2u);
        if (lands.size() < 2 || creatures.size() < 2 || others.size() < 4)
            return dealt;
        for (int i = 0; i < 2; ++i) {
            dealt.table.push_back(Deal(lands[static_cast<std::size_t>(i)], owner, false));
            dealt.table.push_back(Deal(creatures[static_cast<std::size_t>(i)], owner, false));
        }
    }
    return dealt;
}

// A click on the message field's button, counted from the right.
void ClickFieldButton(int fromRight)
{
    const GameDisplay& display = *GetGameDisplay();
    const RasterRect field = display.GetZoneRectByIndex(15);
    const Raster& raster = *GetRaster();
    const int noWidth = raster.GetTextureWidth(display.m_FixedButtons[1]);
    const int height = raster.GetTextureHeight(display.m_FixedButtons[1]);
    const int yesWidth = raster.GetTextureWidth(display.m_FixedButtons[0]);
    const int y = field.bottom - 3 - height / 2;
    Click(fromRight == 0 ? field.right - 3 - noWidth / 2 : field.right - 3 - noWidth - 3 - yesWidth / 2, y);
    RunFramesOf20(6);
}

bool ClickMessageWindowButton()
{
    for (const OldDialog* const dialog : GetGameDisplay()->m_RegisteredMessageDialogs) {
        const OldButton* const button = dialog->GetButtonA();
        if (button == nullptr || dialog->IsHidden() || button->IsHidden() || button->GetParent() != dialog)
            continue;
        Click((button->GetLeft() + button->GetRight()) / 2, (button->GetTop() + button->GetBottom()) / 2);
        RunFramesOf20(6);
        return true;
    }
    return false;
}

// The online opening answered by clicks as a learner gives them: the lesson's windows, the dice (the winner goes
// first) and the mulligan question (keep).
void PlayOnlineOpening(bool& tossSeen)
{
    for (int i = 0; i < 400 && s_MulliganState != 1; ++i) {
        if (ClickMessageWindowButton())
            continue;
        const bool toss = FindActorByName(u"cointoss") != nullptr;
        tossSeen = tossSeen || toss;
        if (toss)
            ClickFieldButton(GetHumanDieValue() > GetCpuDieValue() ? 1 : 0);
        else if (tossSeen)
            ClickFieldButton(0);
        else
            RunFramesOf20(1);
    }
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

int CentreX(const RasterRect& r)
{
    return (r.left + r.right) / 2;
}

int CentreY(const RasterRect& r)
{
    return (r.top + r.bottom) / 2;
}

bool Inside(const RasterRect& outer, const RasterRect& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// A game of the mode begun as the menus begin one: the decks the intro builds for the colours chosen, a fixed seed,
// the table reset and its first frame.
void BeginGame(int mode)
{
    TickOnce();
    SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
    plat::SeedRand(7);
    ResetTable(mode);
    TickOnce();
    ASSERT_EQ(s_GameMode, mode);
}

TEST_P(TableLoopTest, CardsAreDraggedZoomedListedAndTheLifeTokenPlaced)
{
    const TableCase c = GetParam();
    RunInside([c] {
        ASSERT_NO_FATAL_FAILURE(BeginGame(c.mode));
        // The table fills the window's client.
        ASSERT_EQ(s_ClientWidth, c.width);
        ASSERT_EQ(s_ClientHeight, c.height);
        RunFramesOf20(60);
        const bool online = c.mode >= 3;
        if (online) {
            bool tossSeen = false;
            PlayOnlineOpening(tossSeen);
            EXPECT_TRUE(tossSeen);
            ASSERT_EQ(s_MulliganState, 1);
            DrawFrame("opening");
        }
        GameDisplay& display = *GetGameDisplay();
        const Dealt dealt = DealCards();
        ASSERT_GE(dealt.hand.size(), 4u);
        // The online table gives a card its window once it has reached its place.
        RunFramesOf20(60);

        const plat::headless::Frame table = DrawFrame("table");
        const RasterRect screen{0, 0, c.width, c.height};
        for (const CardActor* const card : dealt.table) {
            const RasterRect r = CardRect(*card);
            EXPECT_TRUE(Inside(screen, r)) << r.left << "," << r.top;
            EXPECT_NE(GetGUIManager()->GetWindowAt(CentreX(r), CentreY(r)), nullptr)
                << card->m_Position.x << "," << card->m_Position.y << " -> " << card->m_TargetPoint.x << ","
                << card->m_TargetPoint.y << " tap " << card->GetTapState() << " stopped " << card->m_EasingStopped;
        }
        // The human's hand lies in the hand area, each card in a window of its own.
        RasterRect handArea;
        display.GetHandAreaRect(handArea);
        for (const CardActor* const card : dealt.hand) {
            const RasterRect r = CardRect(*card);
            EXPECT_GE(r.top, handArea.top - 40) << r.top;
            EXPECT_EQ(GetCardWindowActor(GetGUIManager()->GetWindowAt(CentreX(r), CentreY(r))), card);
        }
        EXPECT_EQ(GetTableInput().cpuHandCount, static_cast<int>(dealt.cpuHand.size()));
        if (online) {
            // The portraits size both panels; the status panels and the cards on the table keep apart, and the
            // hand lies whole in its row.
            for (const int zone : {2, 3})
                EXPECT_GT(display.GetZoneRectByIndex(zone).Height(), 20) << "zone " << zone;
            for (const CardActor* const card : dealt.table) {
                const RasterRect r = CardRect(*card);
                for (const int zone : {2, 3, 6, 7}) {
                    const RasterRect& panel = display.GetZoneRectByIndex(zone);
                    EXPECT_FALSE(r.left < panel.right && panel.left < r.right && r.top < panel.bottom &&
                                 panel.top < r.bottom)
                        << "zone " << zone << " meets the card at " << r.left << "," << r.top;
                }
            }
            for (const CardActor* const card : dealt.hand)
                EXPECT_TRUE(Inside(display.GetZoneRectByIndex(9), CardRect(*card)));
            // The hand row's tiles and the stack row's show: neither is the black of the table.
            const RasterRect& handRow = display.GetZoneRectByIndex(9);
            EXPECT_NE(PixelAt(table, handRow.right - 3, handRow.top + 3), 0);
            EXPECT_NE(PixelAt(table, CentreX(display.GetZoneRectByIndex(8)), display.GetZoneRectByIndex(8).bottom - 2), 0);
            // Each portrait shows whole at both sizes (its shirt near the panel's bottom), with the player's life
            // written over it in white.
            for (int player = 0; player < 2; ++player) {
                const RasterRect& panel = display.GetZoneRectByIndex(player == 0 ? 3 : 2);
                const std::uint16_t shirt = PixelAt(table, CentreX(panel), panel.top + panel.Height() * 93 / 100);
                EXPECT_TRUE(player == 0 ? NearColour(shirt, 0x3a, 0x5a, 0x9a) : NearColour(shirt, 0x6a, 0x2a, 0x5a))
                    << "player " << player << " portrait cut off: " << shirt;
                int white = 0;
                const RasterRect& life = display.m_LifeRects[static_cast<std::size_t>(player)];
                for (int y = std::max(life.top, 0); y < std::min(life.bottom, table.height); ++y) {
                    for (int x = std::max(life.left, 0); x < std::min(life.right, table.width); ++x)
                        white += NearColour(PixelAt(table, x, y), 255, 255, 255) ? 1 : 0;
                }
                EXPECT_GT(white, 10) << "no life number on player " << player << "'s portrait";
            }
        }
        if (c.mode <= 2) {
            // The CPU's three backs lie on the opponent's background, beside the count.
            const RasterRect& cpuHand = display.m_CpuHandRect;
            EXPECT_EQ(cpuHand.left, display.GetZoneRectByIndex(2).right);
            EXPECT_EQ(cpuHand.top, display.GetZoneRectByIndex(2).top);
            EXPECT_GT(cpuHand.right - cpuHand.left, 5 + 9 * 2 + 36);
            const int backX = cpuHand.left + 5 + 9 * 2 + 30;
            EXPECT_NE(PixelAt(table, backX, cpuHand.top + 30), PixelAt(table, cpuHand.right - 4, cpuHand.top + 30));
        }

        // Drag the first hand card up onto the table and back.
        CardActor* const dragged = dealt.hand.front();
        const RasterRect home = CardRect(*dragged);
        Mouse(plat::EventType::MouseMove, CentreX(home), CentreY(home));
        Mouse(plat::EventType::ButtonDown, CentreX(home), CentreY(home));
        // The lesson's pick-up of a pressed hand card, as its tap handling does once the human may act.
        if (GetDraggedCard() == nullptr)
            dragged->BeginDrag(MouseState.x, MouseState.y);
        for (int step = 1; step <= 5; ++step)
            Mouse(plat::EventType::MouseMove, CentreX(home), CentreY(home) - 40 * step);
        EXPECT_EQ(GetDraggedCard(), dragged);
        const plat::headless::Frame drag = DrawFrame("drag");
        const RasterRect moved = CardRect(*dragged);
        EXPECT_LT(moved.top, home.top - 100);
        EXPECT_GT(ChangedPixels(table, drag, moved), (moved.right - moved.left) * (moved.bottom - moved.top) / 2);
        Mouse(plat::EventType::MouseMove, CentreX(home), CentreY(home));
        Mouse(plat::EventType::ButtonUp, CentreX(home), CentreY(home));
        RunFramesOf20(30);
        EXPECT_EQ(GetDraggedCard(), nullptr);
        // Online a press and release on a hand card is the learner's click on it, which the lesson answers.
        if (!online) {
            EXPECT_TRUE(dragged->IsHeld());
            EXPECT_LE(std::abs(CardRect(*dragged).left - home.left), 16);
        }

        // Rest on a table card of the CPU: nothing before 500 ms, the zoom after, the text box after 1000 ms.
        CardActor* const hovered = dealt.table.back();
        const RasterRect target = CardRect(*hovered);
        Mouse(plat::EventType::MouseMove, CentreX(target), CentreY(target));
        EXPECT_EQ(GetTableInput().hoveredCard, hovered);
        RunFramesOf20(22);
        EXPECT_FALSE(GetTableInput().zoomShown);
        RunFramesOf20(5);
        EXPECT_EQ(GetTableInput().hoveredCard, hovered);
        const plat::headless::Frame zoom = DrawFrame("zoom");
        if (c.mode <= 2) {
            EXPECT_TRUE(GetTableInput().zoomShown);
        }
        EXPECT_EQ(GetTableInput().focusedCard, hovered);
        EXPECT_GT(ChangedPixels(table, zoom, display.m_PreviewRect), 1000);
        if (online) {
            // The turn glow rims the side panel of the player whose turn it is; the status panel inside shows.
            const bool human = s_HumanTurn;
            const RasterRect& status = display.GetZoneRectByIndex(human ? 7 : 6);
            const int rimGreen = human ? 0x60 : 0xd0;
            int covered = 0;
            for (int y = status.top + 6; y < status.bottom - 6; ++y) {
                for (int x = status.left + 6; x < status.right - 6; ++x)
                    covered += NearColour(PixelAt(zoom, x, y), 0xff, rimGreen, 0x40) ? 1 : 0;
            }
            EXPECT_EQ(covered, 0) << "glow pixels over the " << (human ? "learner's" : "CPU's") << " status panel";
        }
        // The close-up window over the preview shows the still copy of the focused card.
        const RasterRect& preview = display.m_PreviewRect;
        EXPECT_EQ(GetCardWindowActor(GetGUIManager()->GetWindowAt(CentreX(preview), CentreY(preview))),
                  &GetPreviewCopy());
        EXPECT_EQ(GetPreviewCopy().GetId(), hovered->GetId());
        RunFramesOf20(30);
        const plat::headless::Frame popup = DrawFrame("popup");
        EXPECT_EQ(GetTableInput().focusedCard, hovered);

        // The human's graveyard, opened by a click on its pile.
        std::vector<CardActor*> buried;
        for (int i = 0; i < 3; ++i) {
            buried.push_back(Deal(GetPlayerState(0)->m_Library[static_cast<std::size_t>(10 + i)], 0, false));
            buried.back()->SetTapState(TAP_OFF_TABLE);
            GetPlayerState(0)->m_Graveyard[static_cast<std::size_t>(i)] = buried.back();
        }
        GetPlayerState(0)->m_GraveyardCount = 3;
        RunFramesOf20(5);
        RasterRect pile;
        if (c.mode <= 2) {
            display.GetPlayerGraveyardRect(pile, true);
        } else {
            const MatPoint at = display.m_PilePoints[2];
            pile = RasterRect{at.x, at.y, at.x + 20, at.y + 20};
        }
        Click(CentreX(pile), CentreY(pile));
        EXPECT_TRUE(online ? IsGraveyardListOpen(0) : IsGraveyardDialogOpen(0));
        const plat::headless::Frame graveyard = DrawFrame("graveyard");
        if (!online) {
            // The list has room for every buried card, each in a window of its own.
            for (const CardActor* const card : buried) {
                const RasterRect r = CardRect(*card);
                EXPECT_EQ(GetCardWindowActor(GetGUIManager()->GetWindowAt(CentreX(r), CentreY(r))), card)
                    << r.left << "," << r.top;
            }
        }
        if (online) {
            // The human's list covers the human's battlefield and leaves the portrait beside it alone; its cards
            // cascade down the list, each in a window of its own.
            const RasterRect& list = display.GetZoneRectByIndex(27);
            EXPECT_GT(ChangedPixels(popup, graveyard, list), 1000);
            EXPECT_GE(list.left, display.GetZoneRectByIndex(3).right);
            for (const CardActor* const card : buried) {
                const RasterRect r = CardRect(*card);
                EXPECT_TRUE(Inside(list, r)) << r.left << "," << r.top;
            }
            const RasterRect top = CardRect(*buried.back());
            EXPECT_EQ(GetCardWindowActor(GetGUIManager()->GetWindowAt(CentreX(top), CentreY(top))), buried.back());
        }
        Click(CentreX(pile), CentreY(pile));
        EXPECT_FALSE(online ? IsGraveyardListOpen(0) : IsGraveyardDialogOpen(0));

        // The physical table's life token, dragged onto the cell of 20 life.
        if (c.mode <= 2) {
            LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
            ASSERT_NE(token, nullptr);
            ASSERT_NE(token->actor, nullptr);
            const auto moveToken = [token](int life) {
                const RasterRect cell = GetLifeTrackCell(PLAYER_HUMAN, life);
                const RasterRect from = token->rect;
                Mouse(plat::EventType::MouseMove, CentreX(from), CentreY(from));
                Mouse(plat::EventType::ButtonDown, CentreX(from), CentreY(from));
                for (int step = 1; step <= 4; ++step)
                    Mouse(plat::EventType::MouseMove, CentreX(from) + (CentreX(cell) - CentreX(from)) * step / 4,
                          CentreY(from) + (CentreY(cell) - CentreY(from)) * step / 4);
                Mouse(plat::EventType::ButtonUp, CentreX(cell), CentreY(cell));
                RunFramesOf20(60);
            };
            moveToken(20);
            EXPECT_EQ(token->actor->GetState(), TOKEN_SETTLED);
            EXPECT_EQ(GetLifeAtTokenRect(PLAYER_HUMAN, token->rect), 20);
            // The CPU's hand has set its token on the cell of 20 and left the screen.
            const LifeToken* const cpu = GetLifeToken(PLAYER_CPU);
            ASSERT_NE(cpu, nullptr);
            EXPECT_EQ(cpu->actor->GetState(), TOKEN_SETTLED);
            EXPECT_EQ(GetLifeAtTokenRect(PLAYER_CPU, cpu->rect), 20);
            EXPECT_TRUE(cpu->IsIdle());
            const std::vector<Sprite*>& sprites = GetSpriteList()->GetSprites();
            EXPECT_EQ(std::find(sprites.begin(), sprites.end(), cpu->hand.get()), sprites.end());
            const plat::headless::Frame settled = DrawFrame("lifetoken");

            // A life change plays on the physical table without a portrait, before and after the layout that
            // closing the token's box brings: the panel's zone lies over the learner's lands.
            PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
            human.SetLife(17, false);
            ChangeLifeTotal(token, 0, 20);
            RunFramesOf20(60);
            RasterRect lands;
            display.GetPlayerLandArea(lands);
            EXPECT_EQ(ChangedPixels(settled, DrawFrame("lifechange"), lands), 0);
            moveToken(17);
            EXPECT_EQ(ChangedPixels(settled, DrawFrame("lifemoved"), lands), 0);
        }
        (void)popup;
    });
}

// A point where the card shows on top of the table, the first on a coarse grid over its windows.
bool PointOnCard(const CardActor* card, int& x, int& y)
{
    for (const GUI_Window* const window : GetGUIManager()->GetWindows()) {
        if (GetCardWindowActor(window) != card || window == GetCloseUpWindow())
            continue;
        for (y = window->GetTop() + 1; y < window->GetBottom(); y += 2) {
            for (x = window->GetLeft() + 1; x < window->GetRight(); x += 2) {
                if (GetCardWindowActor(GetGUIManager()->GetWindowAt(x, y)) == card)
                    return true;
            }
        }
    }
    return false;
}

std::vector<RasterRect> CardWindowRects(const CardActor* card)
{
    std::vector<RasterRect> rects;
    for (const GUI_Window* const window : GetGUIManager()->GetWindows()) {
        if (GetCardWindowActor(window) == card && window != GetCloseUpWindow())
            rects.push_back(RasterRect{window->GetLeft(), window->GetTop(), window->GetRight(), window->GetBottom()});
    }
    return rects;
}

// Two lands of a kind make a pile, the tapped one lying over the untapped one, which shows only as a strip. Resting
// on either, the text box that comes after a second covers neither card, so the strip stays there to be clicked.
class LandPileLoopTest : public TableLoopTest {};

TEST_P(LandPileLoopTest, TheTextBoxOfAPiledLandCoversNeitherCard)
{
    const TableCase c = GetParam();
    RunInside([c] {
        ASSERT_NO_FATAL_FAILURE(BeginGame(c.mode));
        RunFramesOf20(60);
        bool tossSeen = false;
        PlayOnlineOpening(tossSeen);
        ASSERT_EQ(s_MulliganState, 1);
        // Two basic lands of one kind from the learner's library.
        std::map<int, std::vector<int>> lands;
        for (const int id : GetPlayerState(0)->m_Library) {
            if (id > 0 && id < CD_NUMBER_OF_CARD_DEFS && g_CardDefs[static_cast<std::size_t>(id)].IsLand())
                lands[g_CardDefs[static_cast<std::size_t>(id)].GetBasicLandKind()].push_back(id);
        }
        const auto kind = std::find_if(lands.begin(), lands.end(),
                                       [](const auto& entry) { return entry.first >= 0 && entry.second.size() >= 2; });
        ASSERT_NE(kind, lands.end());
        CardActor* const under = Deal(kind->second[0], 0, false);
        CardActor* const over = Deal(kind->second[1], 0, false);
        RunFramesOf20(60);
        over->SetTapState(TAP_TAPPED);
        RunFramesOf20(10);
        const RasterRect pile = CardRect(*under);
        const RasterRect top = CardRect(*over);
        ASSERT_TRUE(pile.left < top.right && top.left < pile.right && pile.top < top.bottom && top.top < pile.bottom)
            << "the two lands do not lie in one pile";
        for (const CardActor* const rested : {under, over}) {
            SCOPED_TRACE(rested == under ? "resting on the untapped land" : "resting on the tapped land");
            int x = 0;
            int y = 0;
            ASSERT_TRUE(PointOnCard(rested, x, y));
            Mouse(plat::EventType::MouseMove, x, y);
            RunFramesOf20(10);
            ASSERT_EQ(GetTableInput().hoveredCard, rested);
            const plat::headless::Frame before = DrawFrame(rested == under ? "pile-under-resting" : "pile-over-resting");
            RunFramesOf20(50);
            EXPECT_TRUE(GetTableInput().popupShown);
            const plat::headless::Frame after = DrawFrame(rested == under ? "pile-under-popup" : "pile-over-popup");
            EXPECT_GT(ChangedPixels(before, after, RasterRect{0, 0, c.width, c.height}), 1000) << "no text box";
            for (const CardActor* const card : {under, over}) {
                for (const RasterRect& r : CardWindowRects(card))
                    EXPECT_EQ(ChangedPixels(before, after, r), 0)
                        << "the text box covers the " << (card == under ? "untapped" : "tapped") << " land";
            }
            Mouse(plat::EventType::MouseMove, 1, c.height / 2);
        }
    });
}

INSTANTIATE_TEST_SUITE_P(OnlineSizes, LandPileLoopTest,
                         ::testing::Values(TableCase{3, 800, 600}, TableCase{3, 1024, 768}),
                         [](const ::testing::TestParamInfo<TableCase>& info) {
                             return "Online" + std::to_string(info.param.mode) + "_" + std::to_string(info.param.width);
                         });

// The online table's corner buttons lie whole in the window at both sizes, and the quit button among them asks for
// the warning when a learner clicks it.
class CornerButtonsLoopTest : public TableLoopTest {};

TEST_P(CornerButtonsLoopTest, TheCornerButtonsLieInsideTheWindowAndTheQuitButtonAsks)
{
    const TableCase c = GetParam();
    RunInside([c] {
        ASSERT_NO_FATAL_FAILURE(BeginGame(c.mode));
        RunFramesOf20(10);
        const GameDisplay& display = *GetGameDisplay();
        const RasterRect client{0, 0, c.width, c.height};
        for (const int zone : {10, 11}) {
            const RasterRect& r = display.GetZoneRectByIndex(zone);
            EXPECT_GT(r.Height(), 0) << "zone " << zone;
            EXPECT_TRUE(Inside(client, r)) << "zone " << zone << " at " << r.left << "," << r.top << "," << r.right
                                           << "," << r.bottom;
        }
        const RasterRect quit = display.GetZoneRectByIndex(10);
        Click(CentreX(quit), CentreY(quit));
        EXPECT_TRUE(IsQuitPromptPending());
        RunFramesOf20(2);
        DrawFrame("quit-warning");
        ClearQuitPrompt();
    });
}

INSTANTIATE_TEST_SUITE_P(OnlineSizes, CornerButtonsLoopTest,
                         ::testing::Values(TableCase{3, 800, 600}, TableCase{3, 1024, 768}, TableCase{4, 800, 600}),
                         [](const ::testing::TestParamInfo<TableCase>& info) {
                             return "Online" + std::to_string(info.param.mode) + "_" + std::to_string(info.param.width);
                         });

INSTANTIATE_TEST_SUITE_P(BothLessons, TableLoopTest,
                         ::testing::Values(TableCase{1, 800, 600}, TableCase{1, 1024, 768}, TableCase{3, 800, 600},
                                           TableCase{3, 1024, 768}, TableCase{4, 800, 600}, TableCase{4, 1024, 768}),
                         [](const ::testing::TestParamInfo<TableCase>& info) {
                             return std::string(info.param.mode <= 2 ? "Physical" : "Online") +
                                    std::to_string(info.param.mode) + "_" + std::to_string(info.param.width);
                         });

} // namespace
