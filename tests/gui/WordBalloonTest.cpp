// WordBalloon: the pointer in place of a corner, no dragging, buttons enabled by the game's situation, and the
// pointer image released and reloaded with the balloon.
#include "tests/gui/MessageboxFixture.h"

#include "gui/WordBalloon.h"

namespace {

using guitest::MessageboxFixture;

constexpr int CORNER = 6;
constexpr int POINTER_W = 16;
constexpr int POINTER_H = 12;

bool s_Changed = false;
bool s_Busy = false;
bool s_CanRespond = false;

class WordBalloonTest : public MessageboxFixture {
protected:
    void SetUp() override
    {
        MessageboxFixture::SetUp();
        m_savedQueries = GetWordBalloonQueries();
        for (const char* name : {"lt", "t", "rt", "l", "r", "lb", "b", "rb"}) {
            WriteImage(std::string(name) + ".bmp", CORNER, CORNER, 0x2040A0);
        }
        WriteSkin("GUI/Skins/WordBalloon.skn",
                  "WINDOW_BORDER_LT lt.bmp\nWINDOW_BORDER_T t.bmp\nWINDOW_BORDER_RT rt.bmp\nWINDOW_BORDER_L l.bmp\n"
                  "WINDOW_BORDER_R r.bmp\nWINDOW_BORDER_LB lb.bmp\nWINDOW_BORDER_B b.bmp\nWINDOW_BORDER_RB rb.bmp\n");
        WriteImage("borders/WordBalloon_RBPtr.bmp", POINTER_W, POINTER_H, 0xFFFFFF);
        WriteImage("borders/WordBalloon_LTPtr.bmp", POINTER_W, POINTER_H, 0xFFFF00);
        WordBalloonQueries queries;
        queries.IsSituationChanged = [] { return s_Changed; };
        queries.IsTaggedActorBusy = [](const Messagebox*) { return s_Busy; };
        queries.CanPlayerRespond = [](int) { return s_CanRespond; };
        SetWordBalloonQueries(queries);
        AddString(u"PHYSDLG_BUTTON_Respond", u"Respond");
        s_Changed = s_Busy = s_CanRespond = false;
    }
    void TearDown() override
    {
        // Later suites run with the program's own wiring.
        SetWordBalloonQueries(m_savedQueries);
        MessageboxFixture::TearDown();
    }
    static const GUI_ImageElement* Piece(const WordBalloon& balloon, int piece)
    {
        return balloon.GetPieces()[piece].element.get();
    }

private:
    WordBalloonQueries m_savedQueries;
};

TEST_F(WordBalloonTest, ThePointerReplacesItsCornerAndMovesWithTheSide)
{
    WordBalloon balloon;
    balloon.SetRect(100, 100, 200, 160, true);
    ASSERT_NE(Piece(balloon, PIECE_LT), nullptr);
    const TextureRecord& cornerRecord = GetGameDisplay()->GetTextureRecord(Piece(balloon, PIECE_LT)->GetTexture());
    ASSERT_NE(cornerRecord.name, nullptr);
    const std::u16string cornerName = *cornerRecord.name;
    const int d = POINTER_W - CORNER;

    balloon.SetPointerSide(POINTER_TOP_LEFT);
    const int pointer = balloon.GetPointerTexture();
    ASSERT_GE(pointer, 0);
    struct Expected {
        int piece, x, y, width, height;
    };
    const Expected topLeft[] = {
        {PIECE_LT, 100 - d, 100, POINTER_W, POINTER_H},
        {PIECE_T, 100 + CORNER, 100, 100 - 2 * CORNER, CORNER},
        // The left edge, drawn after the corner, starts below the taller pointer.
        {PIECE_L, 100, 100 + POINTER_H, CORNER, 60 - CORNER - POINTER_H},
    };
    for (int pass = 0; pass < 2; ++pass) {  // a second layout gives the same places
        for (const Expected& e : topLeft) {
            const GUI_ImageElement* const element = Piece(balloon, e.piece);
            EXPECT_EQ(element->GetX(), e.x) << e.piece;
            EXPECT_EQ(element->GetY(), e.y) << e.piece;
            EXPECT_EQ(element->GetWidth(), e.width) << e.piece;
            EXPECT_EQ(element->GetHeight(), e.height) << e.piece;
        }
        balloon.SetRect(100, 100, 200, 160, true);
    }
    EXPECT_EQ(Piece(balloon, PIECE_LT)->GetTexture(), pointer);

    // The same side again loads nothing.
    balloon.SetPointerSide(POINTER_TOP_LEFT);
    EXPECT_EQ(balloon.GetPointerTexture(), pointer);

    // To the bottom-right: the top-left corner comes back from the skin.
    balloon.SetPointerSide(POINTER_BOTTOM_RIGHT);
    const TextureRecord& restored = GetGameDisplay()->GetTextureRecord(Piece(balloon, PIECE_LT)->GetTexture());
    ASSERT_NE(restored.name, nullptr);
    EXPECT_EQ(*restored.name, cornerName);
    EXPECT_EQ(Piece(balloon, PIECE_LT)->GetWidth(), CORNER);
    EXPECT_EQ(Piece(balloon, PIECE_LT)->GetX(), 100);
    const GUI_ImageElement* const rb = Piece(balloon, PIECE_RB);
    EXPECT_EQ(rb->GetTexture(), balloon.GetPointerTexture());
    EXPECT_EQ(rb->GetX(), 200 - CORNER);
    EXPECT_EQ(rb->GetY(), 160 - POINTER_H);
    EXPECT_EQ(rb->GetWidth(), POINTER_W);
    EXPECT_EQ(Piece(balloon, PIECE_B)->GetWidth(), Piece(balloon, PIECE_T)->GetWidth() + d);

    // After a device loss the pointer stays on its corner.
    balloon.ReloadTextures();
    EXPECT_EQ(Piece(balloon, PIECE_RB)->GetX(), 200 - CORNER);
    EXPECT_EQ(Piece(balloon, PIECE_RB)->GetTexture(), balloon.GetPointerTexture());

    balloon.SetPointerSide(POINTER_NONE);
    EXPECT_EQ(balloon.GetPointerTexture(), -1);
}

TEST_F(WordBalloonTest, DeletingTheBalloonReleasesItsPointer)
{
    auto balloon = std::make_unique<WordBalloon>();
    balloon->SetPointerSide(POINTER_TOP_LEFT);
    const int pointer = balloon->GetPointerTexture();
    ASSERT_GE(pointer, 0);
    EXPECT_GT(GetGameDisplay()->GetTextureRecord(pointer).references, 0);
    balloon.reset();
    EXPECT_EQ(GetGameDisplay()->GetTextureRecord(pointer).references, 0);
}

TEST_F(WordBalloonTest, ABalloonCannotBeDragged)
{
    WordBalloon balloon;
    balloon.SetRect(50, 50, 200, 120, true);
    balloon.CreateButtons(0);
    GetGameDisplay()->RegisterWindow(&balloon);
    EXPECT_EQ(balloon.GetDragArea().Width(), 0);
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 60, 52, GUI_KEY_LBUTTON));
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_MOVE, 120, 100, GUI_KEY_LBUTTON));
    EXPECT_EQ(balloon.GetLeft(), 50);
    EXPECT_EQ(balloon.GetButton(0)->GetNormalColour(), PackColour(255, 255, 255));
    EXPECT_EQ(balloon.GetButton(0)->GetPressedColour(), PackColour(64, 64, 0));
    GetGameDisplay()->UnregisterWindow(&balloon);
}

TEST_F(WordBalloonTest, ButtonsFollowTheSituation)
{
    WordBalloon balloon;
    balloon.SetRect(0, 0, 200, 100, true);
    balloon.AddButton(GetString(u"PHYSDLG_BUTTON_Respond"), 0, 0, 0, 8, -1, -1);
    balloon.AddButton(u"Next", 0, 0, 0, 8, -1, -1);
    struct Case {
        bool changed, busy, canRespond;
        bool respondDisabled, nextDisabled;
    };
    const Case cases[] = {
        {true, false, false, true, false},
        {false, false, true, true, false},  // no change reported: nothing is looked at
        {true, false, true, false, false},
        {true, true, true, true, true},
        {true, false, true, false, false},
    };
    for (const Case& c : cases) {
        s_Changed = c.changed;
        s_Busy = c.busy;
        s_CanRespond = c.canRespond;
        balloon.Update();
        EXPECT_EQ(balloon.IsButtonDisabled(0), c.respondDisabled);
        EXPECT_EQ(balloon.IsButtonDisabled(1), c.nextDisabled);
        EXPECT_EQ(balloon.IsDisabled(), c.busy);
    }
}

} // namespace
