// Messagebox: button arrangements, sizing, answers read back, the explanation window's placement and lifetime,
// the quit warning, and hostile texts.
#include "tests/gui/MessageboxFixture.h"

#include "engine/core/LanguageManager.h"
#include "engine/raster/Raster.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"
#include "gui/WordBalloon.h"

namespace {

using guitest::BUTTON_HEIGHT;
using guitest::MessageboxFixture;

class MessageboxTest : public MessageboxFixture {};

const std::uint32_t WHITE = PackColour(255, 255, 255);

TEST_F(MessageboxTest, LayoutPlacesButtonsAndExtraWindowsForEveryArrangement)
{
    struct Case {
        int arrangement;
        int okLeft, okTop, cancelLeft, cancelTop;
        int extraBottom;  // the extra window's bottom edge
    };
    // Text rectangle (5, 5, 295, 195); OK 80 wide, Cancel 100 wide, both 20 high, spacing 5.
    const Case cases[] = {
        {0, 5, 175, 90, 175, 167},
        {1, 110, 175, 195, 175, 167},
        {2, 5, 150, 5, 175, 187},
        {3, 215, 150, 195, 175, 187},
        {4, 110, 150, 100, 175, 187},
        {5, 215, 175, 195, 5, 187},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arrangement);
        auto box = MakeBox(0, 0, 300, 200);
        box->AddButton(u"OK", WHITE, WHITE, WHITE, 8, 80, -1);
        box->AddButton(u"Cancel", WHITE, WHITE, WHITE, 8, 100, -1);
        GUI_TextButton* const extra = box->CreateTextButton(u"link", WHITE, WHITE, WHITE, 7, -1);
        box->Layout(c.arrangement, 5);
        const TextButton* const ok = box->GetButton(0);
        const TextButton* const cancel = box->GetButton(1);
        EXPECT_EQ(ok->GetLeft(), c.okLeft);
        EXPECT_EQ(ok->GetTop(), c.okTop);
        EXPECT_EQ(cancel->GetLeft(), c.cancelLeft);
        EXPECT_EQ(cancel->GetTop(), c.cancelTop);
        EXPECT_EQ(ok->GetHeight(), BUTTON_HEIGHT);
        EXPECT_EQ(extra->GetLeft(), 15);
        EXPECT_EQ(extra->GetBottom(), c.extraBottom);
    }
}

TEST_F(MessageboxTest, ButtonRowExtentAndAutoSizeAddUpTheParts)
{
    struct Case {
        int arrangement;
        int buttons;
        int extent;
    };
    const Case cases[] = {{0, 2, 28}, {1, 1, 28}, {2, 2, 45}, {3, 1, 20}, {4, 3, 70}, {5, 2, 0}, {9, 2, 0}, {1, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arrangement);
        auto box = MakeBox(0, 0, 300, 10);
        EXPECT_EQ(box->GetButtonRowExtent(c.buttons, c.arrangement), c.extent);
        for (int i = 0; i < c.buttons; ++i) {
            box->AddButton(u"B", WHITE, WHITE, WHITE, 8, -1, -1);
        }
        box->Layout(c.arrangement, 5);
        // No text: the current height is the text height.
        box->AutoSize();
        EXPECT_EQ(box->GetHeight(), 10 + c.extent + 10);
        EXPECT_EQ(box->GetWidth(), 300);
    }

    // A plain text: its measured height, margins and the button row.
    auto box = MakeBox(0, 0, 200, 10);
    box->SetText(u"One line", false, false);
    box->CreateButtons(0);
    box->AutoSize();
    RasterRect measured;
    GetRaster()->DrawTextNow(u"One line", box->GetTextRect(), &measured, 0, MESSAGEBOX_FONT);
    EXPECT_GT(measured.Height(), 0);
    EXPECT_EQ(box->GetHeight(), measured.Height() + BUTTON_HEIGHT + 8 + 10);
    // The button row stays at the bottom after sizing.
    EXPECT_EQ(box->GetButton(0)->GetBottom(), box->GetBottom() - 5);

    // Extra windows: their heights, the spacing between them and 4 more.
    auto links = MakeBox(0, 0, 200, 10);
    GUI_TextButton* const a = links->CreateTextButton(u"a", WHITE, WHITE, WHITE, 7, -1);
    GUI_TextButton* const b = links->CreateTextButton(u"b", WHITE, WHITE, WHITE, 7, -1);
    links->AutoSize();
    EXPECT_EQ(links->GetHeight(), 10 + a->GetHeight() + 5 + b->GetHeight() + 4 + 10);
}

TEST_F(MessageboxTest, FitWidthToLinesTakesTheWidestLine)
{
    int wide = 0, narrow = 0, h = 0, a = 0;
    GetRaster()->MeasureText(u"a much longer line", MESSAGEBOX_FONT, wide, h, a);
    GetRaster()->MeasureText(u"short", MESSAGEBOX_FONT, narrow, h, a);
    struct Case {
        const char16_t* text;
        int width;
    };
    const Case cases[] = {
        {u"short\na much longer line", wide + 10},
        {u"a much longer line\n\rshort", wide + 10},
        {u"short", narrow + 10},
        {u"", 10},
    };
    for (const Case& c : cases) {
        auto box = MakeBox(20, 20, 300, 120);
        box->FitWidthToLines(c.text);
        EXPECT_EQ(box->GetWidth(), c.width);
        EXPECT_EQ(box->GetLeft(), 20);
        EXPECT_EQ(box->GetHeight(), 100);
    }
    // Null measures the box's own text.
    auto box = MakeBox(0, 0, 300, 100);
    box->SetText(u"short", false, false);
    box->FitWidthToLines(nullptr);
    EXPECT_EQ(box->GetWidth(), narrow + 10);
}

TEST_F(MessageboxTest, CreateButtonsMakesTheSetsOfOneWidth)
{
    struct Case {
        int set;
        std::vector<std::u16string> texts;
    };
    const Case cases[] = {
        {0, {u"OK"}},
        {1, {u"Cancel"}},
        {2, {u"OK", u"Cancel"}},
        {3, {u"Yes", u"No"}},
        {4, {u"Yes", u"No", u"Cancel"}},
        {5, {}},
        {-1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        auto box = MakeBox(0, 0, 300, 200);
        box->CreateButtons(2);
        box->CreateButtons(c.set);
        ASSERT_EQ(box->GetButtonCount(), static_cast<int>(c.texts.size()));
        ASSERT_EQ(box->GetChildren().size(), c.texts.size());
        for (int i = 0; i < box->GetButtonCount(); ++i) {
            EXPECT_EQ(box->GetButton(i)->GetText(), c.texts[static_cast<std::size_t>(i)]);
            EXPECT_EQ(box->GetButton(i)->GetTag(), i);
            EXPECT_EQ(box->GetButton(i)->GetWidth(), box->GetButton(0)->GetWidth());
            EXPECT_GE(box->GetButton(i)->GetWidth(), MESSAGEBOX_MIN_BUTTON_WIDTH);
        }
    }
    // A long label fits its text; the others take its width.
    auto box = MakeBox(0, 0, 300, 200);
    box->AddButton(u"Yes", WHITE, WHITE, WHITE, 8, -1, -1);
    box->AddButton(u"A rather long label for a button", WHITE, WHITE, WHITE, 8, -1, 0);
    int w = 0, h = 0, a = 0;
    GetRaster()->MeasureText(u"A rather long label for a button", 8, w, h, a);
    EXPECT_EQ(box->GetButton(0)->GetWidth(), w + 32);
    EXPECT_EQ(box->GetButton(0)->GetTag(), 1);  // the number of buttons before it
    EXPECT_EQ(box->GetButton(1)->GetWidth(), MESSAGEBOX_MIN_BUTTON_WIDTH);
    box->MakeButtonsSameWidth();
    EXPECT_EQ(box->GetButton(1)->GetWidth(), w + 32);
}

TEST_F(MessageboxTest, ClicksAreReadBackAndShowingAgainClearsThem)
{
    auto box = MakeBox(10, 10, 300, 200);
    box->CreateButtons(4);
    GUI_TextButton* const link = box->CreateTextButton(u"a link", WHITE, WHITE, WHITE, 7, -1);
    link->SetTag(17);
    GameDisplay* const display = GetGameDisplay();
    display->RegisterWindow(box.get());

    struct Case {
        int button;  // -1: the link
        int answer;
        int pressed;
    };
    const Case cases[] = {{1, 1, -1}, {2, 2, -1}, {0, 0, -1}, {-1, -1, 17}};
    for (const Case& c : cases) {
        display->UnregisterWindow(box.get());
        display->RegisterWindow(box.get());
        EXPECT_EQ(box->GetAnswer(), -1);
        EXPECT_EQ(box->GetPressedButton(), -1);
        ClickWindow(c.button >= 0 ? static_cast<GUI_Window*>(box->GetButton(c.button)) : link);
        EXPECT_EQ(box->GetAnswer(), c.answer) << c.button;
        EXPECT_EQ(box->GetPressedButton(), c.pressed) << c.button;
    }
    box->ClearPressedButton();
    EXPECT_EQ(box->GetPressedButton(), -1);

    // A disabled button gives no answer.
    box->SetButtonDisabled(1, true);
    EXPECT_TRUE(box->IsButtonDisabled(1));
    ClickWindow(box->GetButton(1));
    EXPECT_EQ(box->GetAnswer(), -1);

    // Reset keeps the text and the size and drops buttons, links and the answer.
    box->SetText(u"kept", false, false);
    box->SetKind(42);
    box->Reset();
    EXPECT_EQ(box->GetButtonCount(), 0);
    EXPECT_EQ(box->GetExtraWindowCount(), 0);
    EXPECT_TRUE(box->GetChildren().empty());
    EXPECT_EQ(box->GetText(), u"kept");
    EXPECT_EQ(box->GetKindNumber(), 42);
    EXPECT_EQ(box->GetWidth(), 290);
    display->UnregisterWindow(box.get());
}

TEST_F(MessageboxTest, ScaledSizeFollowsTheLanguage)
{
    auto box = MakeBox(0, 0, 10, 10);
    GetLanguageManager()->SetLanguage(LANG_FRENCH, false);
    s_ScreenRect = {0, 0, 800, 600};
    box->SetScaledSize(300, 200);
    EXPECT_EQ(box->GetWidth(), 375);
    EXPECT_EQ(box->GetHeight(), 200);
    GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
    box->SetScaledSize(300, 200);
    EXPECT_EQ(box->GetWidth(), 300);
}

TEST_F(MessageboxTest, TheBoxKeepsItsOwnCopyOfTheText)
{
    auto box = MakeBox(0, 0, 100, 100);
    std::u16string text = u"copied";
    box->SetText(text.c_str(), false, false);
    text.assign(u"changed");
    EXPECT_EQ(box->GetText(), u"copied");
    box->SetText(nullptr, false, false);
    EXPECT_FALSE(box->HasText());
    box->CopyText(u"");
    EXPECT_FALSE(box->HasText());
}

TEST_F(MessageboxTest, ExplanationIsPlacedOnTheFirstSideThatFits)
{
    struct Case {
        const char* what;
        RasterRect box;
        int side;
        bool fullWidth;
    };
    // Screen 320 x 240; the explanation starts as wide as the larger free side.
    const Case cases[] = {
        {"room on the right", {0, 0, 100, 100}, EXPLAIN_RIGHT, false},
        {"no room on the right: below before left", {200, 0, 320, 100}, EXPLAIN_BELOW, false},
        {"room on the left only", {200, 0, 320, 240}, EXPLAIN_LEFT, false},
        {"no side room: full width below", {10, 0, 310, 60}, EXPLAIN_BELOW, true},
        {"no side room, none below: above", {10, 180, 310, 240}, EXPLAIN_ABOVE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto box = MakeBox(c.box.left, c.box.top, c.box.right, c.box.bottom);
        box->OpenExplanation(3);
        const ExplanatoryWindow* const w = box->GetExplanation();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(box->GetExplanationSide(), c.side);
        switch (c.side) {
        case EXPLAIN_RIGHT: EXPECT_EQ(w->GetLeft(), box->GetRight()); break;
        case EXPLAIN_LEFT: EXPECT_EQ(w->GetRight(), box->GetLeft()); break;
        case EXPLAIN_BELOW: EXPECT_EQ(w->GetTop(), box->GetBottom()); break;
        default: EXPECT_EQ(w->GetBottom(), box->GetTop()); break;
        }
        if (c.fullWidth) {
            EXPECT_EQ(w->GetWidth(), guitest::SCREEN_WIDTH);
        }
        EXPECT_GE(w->GetLeft(), 0);
        EXPECT_LE(w->GetRight(), guitest::SCREEN_WIDTH);
        EXPECT_EQ(w->GetParent(), box.get());
        // Moving the box takes the explanation along.
        box->MoveBy(0, 0, true);
        EXPECT_EQ(box->GetExplanationSide(), c.side);
    }
}

TEST_F(MessageboxTest, ExplanationWindowsShowTheirLinksAndCloseFromTheirOwnOk)
{
    auto box = MakeBox(0, 0, 120, 120);
    GameDisplay* const display = GetGameDisplay();
    display->RegisterWindow(box.get());

    struct Case {
        int link;
        std::vector<std::u16string> links;
        std::u16string text;
    };
    const Case cases[] = {
        {5, {u"Instants", u"Activated abilities"}, u"You may answer a spell with a spell of your own."},
        {3, {}, u"A flyer can only be blocked by flyers."},
        {7, {u"Activated abilities"}, u"Artifacts are colourless."},  // link 0's caption has no text
        {10, {}, u"Show me the lands"},                                 // caption as its text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        box->OpenExplanation(c.link);
        const ExplanatoryWindow* const w = box->GetExplanation();
        ASSERT_NE(w, nullptr);
        ASSERT_EQ(w->GetExtraWindowCount(), static_cast<int>(c.links.size()));
        for (int i = 0; i < w->GetExtraWindowCount(); ++i) {
            EXPECT_EQ(w->GetExtraWindow(i)->GetResolvedText(), c.links[static_cast<std::size_t>(i)]);
        }
        EXPECT_EQ(w->GetText(), c.text);
        EXPECT_EQ(w->GetButtonCount(), 1);
        EXPECT_GE(w->GetWidth(), w->GetExtraWindowsWidth());
        EXPECT_TRUE(IsExplanationLinkVisited(c.link));
    }

    // Navigating from 4 to 5 through the link, inside the link's own click: both are visited and 4 shows
    // in the visited colour in 5's window.
    ResetExplanationLinksVisited();
    box->OpenExplanation(4);
    ExplanatoryWindow* w = box->GetExplanation();
    ASSERT_EQ(w->GetExtraWindowCount(), 1);
    ClickWindow(w->GetExtraWindow(0));
    ASSERT_EQ(box->GetExplanation(), w);  // the same window, refilled
    EXPECT_TRUE(IsExplanationLinkVisited(4));
    EXPECT_TRUE(IsExplanationLinkVisited(5));
    ASSERT_EQ(w->GetExtraWindowCount(), 2);
    EXPECT_EQ(w->GetExtraWindow(0)->GetTag(), 4);
    EXPECT_EQ(w->GetExtraWindow(0)->GetTextColour(), (GUI_Colour{224, 160, 0, 255}));
    EXPECT_EQ(w->GetExtraWindow(1)->GetTextColour(), (GUI_Colour{160, 0, 0, 255}));
    EXPECT_EQ(w->GetPressedButton(), -1);

    // OK deletes the window from inside its own click.
    ClickWindow(w->GetButton(0));
    EXPECT_EQ(box->GetExplanation(), nullptr);
    EXPECT_TRUE(box->GetChildren().empty());
    EXPECT_EQ(box->GetAnswer(), -1);  // the explanation's OK is not the box's answer
    display->UnregisterWindow(box.get());

    // A box deleted with its explanation open deletes it once.
    box->OpenExplanation(5);
    box.reset();
}

TEST_F(MessageboxTest, LinkLabelsAreColouredByTheirVisitedState)
{
    auto box = MakeBox(0, 0, 200, 200);
    GUI_TextButton* const seen = box->CreateTextButton(u"seen", WHITE, WHITE, WHITE, 7, -1);
    GUI_TextButton* const fresh = box->CreateTextButton(u"fresh", WHITE, WHITE, WHITE, 7, -1);
    seen->SetTag(3);
    fresh->SetTag(6);
    box->OpenExplanation(3);
    box->ColorLinkLabels();
    EXPECT_EQ(seen->GetTextColour(), (GUI_Colour{0, 160, 224, 255}));
    EXPECT_EQ(fresh->GetTextColour(), (GUI_Colour{255, 192, 0, 255}));
    EXPECT_EQ(box->FindExtraWindowByTag(6), fresh);
    EXPECT_EQ(box->FindExtraWindowByTag(99), nullptr);
}

TEST_F(MessageboxTest, TheQuitWarningIsShownOnceAnsweredAndDeleted)
{
    ShowQuitWarning();
    Messagebox* const box = GetQuitWarningBox();
    ASSERT_NE(box, nullptr);
    ShowQuitWarning();
    EXPECT_EQ(GetQuitWarningBox(), box);
    EXPECT_TRUE(GetGameDisplay()->IsWindowRegistered(box));
    EXPECT_EQ(box->GetKindNumber(), QUIT_WARNING_KIND);
    EXPECT_EQ(box->GetText(), u"Do you really want to quit the game?");
    ASSERT_EQ(box->GetButtonCount(), 2);
    EXPECT_EQ(box->GetButton(0)->GetText(), u"Yes");
    // Centred.
    EXPECT_EQ(box->GetLeft(), (guitest::SCREEN_WIDTH - box->GetWidth()) / 2);
    ClickWindow(box->GetButton(1));
    EXPECT_EQ(box->GetAnswer(), 1);
    DeleteQuitWarningBox();
    EXPECT_EQ(GetQuitWarningBox(), nullptr);
    EXPECT_TRUE(GetGUIManager()->GetWindows().empty());
}

// Every box kind with each hostile text: on screen, nothing drawn outside it (the text is cut at its edges), its
// answer button on screen and clickable; a missing key shows no text.
TEST_F(MessageboxTest, HostileTextsLeaveEveryBoxOnScreenAndAnswerable)
{
    const std::u16string wide(2000, u'x');
    std::u16string lines;
    for (int i = 0; i < 200; ++i) {
        lines += u"line of text\n";
    }
    struct Text {
        const char* what;
        const char16_t* text;  // null: a missing key
    };
    const Text texts[] = {
        {"empty", u""},
        {"taller than the screen", lines.c_str()},
        {"one word wider than the box", wide.c_str()},
        {"missing key", GetString(u"NO_SUCH_KEY")},
    };
    WriteImage("ok.bmp", 30, 16, 0x00FF00);
    AddTextureName(u"psok", GetGameDisplay()->LoadBitmapTexture(u"ok.bmp"));
    Raster* const raster = GetRaster();
    const std::uint16_t backdrop = raster->MakeColor(30, 110, 40, 255);
    const auto drawAlone = [&](GUI_Window& box) {
        raster->BeginFrame();
        raster->ClearBackBuffer(backdrop);
        box.Draw();
        raster->Invalidate();
        raster->EndFrame();
        const PixelTarget target = raster->BackBuffer();
        int outside = 0;
        for (int y = 0; y < target.height; ++y) {
            for (int x = 0; x < target.width; ++x) {
                const bool inBox = x >= box.GetLeft() && x < box.GetRight() && y >= box.GetTop() && y < box.GetBottom();
                outside += !inBox && target.pixels[static_cast<std::size_t>(y * target.width + x)] != backdrop ? 1 : 0;
            }
        }
        return outside;
    };
    const auto expectOnScreen = [](const GUI_Window& window) {
        EXPECT_GE(window.GetLeft(), 0);
        EXPECT_GE(window.GetTop(), 0);
        EXPECT_LE(window.GetRight(), guitest::SCREEN_WIDTH);
        EXPECT_LE(window.GetBottom(), guitest::SCREEN_HEIGHT);
    };

    for (const Text& t : texts) {
        SCOPED_TRACE(t.what);
        std::vector<std::unique_ptr<Messagebox>> boxes;
        boxes.push_back(MakeBox(50, 50, 250, 100));
        boxes.push_back(std::make_unique<WordBalloon>());
        boxes.back()->SetRect(50, 50, 250, 100, true);
        for (const std::unique_ptr<Messagebox>& box : boxes) {
            SCOPED_TRACE(box->GetKind());
            box->SetText(t.text, false, false);
            if (t.text == nullptr) {
                EXPECT_TRUE(box->GetText().empty());
            }
            box->CreateButtons(2);
            box->AutoSize();
            box->CenterOnScreen();
            expectOnScreen(*box);
            const TextButton* const cancel = box->GetButton(1);
            expectOnScreen(*cancel);
            EXPECT_GE(cancel->GetTop(), box->GetTop());
            GetGameDisplay()->RegisterWindow(box.get());
            EXPECT_EQ(drawAlone(*box), 0);
            ClickWindow(cancel);
            EXPECT_EQ(box->GetAnswer(), 1);
            GetGameDisplay()->UnregisterWindow(box.get());
        }

        // The old dialog keeps the size it is given and cuts its text to it.
        OldDialog dialog;
        dialog.SetSize(240, 120, true, 600, 400);
        dialog.SetText(t.text != nullptr ? t.text : u"");
        dialog.SetButtons(OLD_DIALOG_ONE_BUTTON, u"psok", u"psok", nullptr, 0, 0, 0);
        expectOnScreen(dialog);
        const OldButton* const ok = dialog.GetButtonA();
        ASSERT_NE(ok, nullptr);
        expectOnScreen(*ok);
        GetGUIManager()->RegisterWindow(&dialog);
        MouseState.x = ok->GetLeft() + 2;
        MouseState.y = ok->GetTop() + 2;
        MouseState.leftHeld = 1;
        EXPECT_EQ(drawAlone(dialog), 0);
        EXPECT_NE(dialog.GetAnswer(), 0);
        MouseState = MouseRecord{};
        GetGUIManager()->UnregisterWindow(&dialog);
    }
    RemoveTextureName(u"psok");
}

} // namespace
