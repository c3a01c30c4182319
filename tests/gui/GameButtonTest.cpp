#include "tests/gui/GameWindowFixture.h"

#include "gui/Messagebox.h"
#include "gui/OldButton.h"
#include "gui/QuitButton.h"
#include "gui/TextButton.h"

namespace {

constexpr std::uint32_t RED = 0xFF0000;
constexpr std::uint32_t GREEN = 0x00FF00;
constexpr std::uint32_t BLUE = 0x0000FF;
constexpr std::uint32_t YELLOW = 0xFFFF00;
constexpr std::uint32_t MAGENTA = 0xFF00FF;

class GameButtonTest : public guitest::GameWindowFixture {};

TEST_F(GameButtonTest, OldButtonShowsAndReportsThePartUnderThePointer)
{
    NamedImage("normal", 40, 20, RED);
    NamedImage("hover", 40, 20, GREEN);
    NamedImage("pressed", 40, 20, BLUE);
    NamedImage("rhover", 40, 20, YELLOW);
    NamedImage("rpressed", 40, 20, MAGENTA);
    struct Case {
        std::uint32_t mode;
        const char16_t* hover;
        int x;
        bool held;
        int part;
        std::uint32_t shown;
    };
    const Case cases[] = {
        {0, u"hover", 20, false, 1, GREEN},
        {0, u"hover", 20, true, 1, BLUE},
        {0, u"hover", 5, false, 0, RED},     // outside
        {0, u"hover", 50, false, 0, RED},    // right edge is outside
        {0, nullptr, 20, false, 0, RED},     // no hover image: never a part
        {1, u"hover", 29, false, 1, GREEN},  // last pixel of the left half
        {1, u"hover", 30, false, 2, YELLOW}, // left + half width is the right half
        {1, u"hover", 30, true, 2, MAGENTA},
        {1, u"hover", 29, true, 1, BLUE},
    };
    for (const Case& c : cases) {
        OldButton button;
        button.SetRect(10, 10, 50, 30, false);
        button.Set(c.mode, u"normal", c.hover, u"pressed", u"rhover", u"rpressed", 30);
        EXPECT_EQ(button.GetHalfWidth(), c.mode == 1 ? 20 : 0);
        GetGUIManager()->RegisterWindow(&button);
        MouseState.x = c.x;
        MouseState.y = 15;
        MouseState.leftHeld = c.held ? 1 : 0;
        BeginDrawing();
        button.Draw();
        EndDrawing();
        EXPECT_EQ(button.GetTag(), c.part) << "mode " << c.mode << " x " << c.x << " held " << c.held;
        EXPECT_EQ(PixelAt(10, 10), Colour(c.shown)) << "mode " << c.mode << " x " << c.x << " held " << c.held;
        EXPECT_EQ(button.GetClickEffect(), 30u);
    }
}

TEST_F(GameButtonTest, TextButtonTakesItsFacePiecesAndNeverShrinksBelowItsEnds)
{
    const std::pair<const char*, std::uint32_t> looks[] = {
        {"", RED}, {"_mo", GREEN}, {"_down", BLUE}, {"_disabled", YELLOW}};
    for (const auto& [suffix, colour] : looks) {
        NamedImage(std::string("physdlgbtn-l") + suffix, 6, 12, colour);
        NamedImage(std::string("physdlgbtn-c") + suffix, 30, 12, colour);
        NamedImage(std::string("physdlgbtn-r") + suffix, 5, 12, colour);
    }
    TextButton button;
    EXPECT_EQ(button.GetKind(), TEXT_BUTTON_KIND);
    EXPECT_EQ(button.GetWidth(), 30) << "built as wide as the centre piece";
    EXPECT_EQ(button.GetHeight(), 12);
    button.SetRect(20, 20, 25, 32, true);
    EXPECT_EQ(button.GetWidth(), 11) << "widened to both end pieces";

    // Pressed, then disabled while still pressed: the disabled look and colour win.
    button.SetRect(20, 20, 80, 32, true);
    GetGUIManager()->RegisterWindow(&button);
    MoveTo(40, 25);
    GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 40, 25, GUI_KEY_LBUTTON));
    ASSERT_TRUE(button.IsPressed());
    EXPECT_EQ(button.GetStateColour(), PackColour(240, 192, 192));
    BeginDrawing();
    button.Draw();
    EndDrawing();
    EXPECT_EQ(PixelAt(20, 20), Colour(BLUE));
    EXPECT_EQ(PixelAt(79, 20), Colour(BLUE)) << "the right piece ends at the right edge";
    button.SetDisabled(true);
    EXPECT_EQ(button.GetStateColour(), PackColour(192, 192, 192));
    BeginDrawing();
    button.Draw();
    EndDrawing();
    EXPECT_EQ(PixelAt(50, 20), Colour(YELLOW));
    GetGUIManager()->Clear();
}

TEST_F(GameButtonTest, TextButtonWithoutPiecesKeepsAnEmptyFaceAndItsText)
{
    TextButton button;
    EXPECT_EQ(button.GetWidth(), 0);
    button.SetText(nullptr);
    EXPECT_TRUE(button.GetText().empty());
    button.SetFormattedText(nullptr);
    button.SetText(u"OK");
    EXPECT_EQ(button.GetText(), u"OK");
    EXPECT_TRUE(button.GetFormattedKey().empty()) << "a plain text drops the formatted one";
    button.SetRect(0, 0, 60, 20, true);
    BeginDrawing();
    button.Draw();
    EndDrawing();
}

TEST_F(GameButtonTest, QuitButtonAnswersTheQuitCommandWhateverItsCase)
{
    QuitButton quit;
    for (const char16_t* name : {u"btnPhysQuit", u"BTNPHYSQUIT"}) {
        GUI_Button sender;
        sender.SetName(name);
        GUI_InputEvent command;
        command.type = GUI_EVENT_COMMAND;
        command.sender = &sender;
        EXPECT_TRUE(quit.HandleInput(command));
        EXPECT_NE(GetQuitWarningBox(), nullptr);
        DeleteQuitWarningBox();
    }
    GUI_Button other;
    other.SetName(u"btnOther");
    GUI_InputEvent command;
    command.type = GUI_EVENT_COMMAND;
    command.sender = &other;
    EXPECT_FALSE(quit.HandleInput(command));
    EXPECT_EQ(GetQuitWarningBox(), nullptr);
}

} // namespace
