// GUI_Window: the tree, hit finding and input order, the nine-piece layout of a skin, sizes, and skins.
#include "tests/gui/GuiFixture.h"

#include "gui/GUI_Skin.h"

#include <climits>
#include <memory>

namespace {

using guitest::GuiFixture;
using guitest::RecordingWindow;

class WindowTest : public GuiFixture {};

TEST_F(WindowTest, AddChildMovesAWindowAndFindChildSearchesDepthFirstIgnoringCase)
{
    GUI_Window a(0, 0, 10, 10);
    GUI_Window b(0, 0, 10, 10);
    auto* child = new GUI_Window(0, 0, 5, 5);
    child->SetName(u"Child");
    a.AddChild(child);
    b.AddChild(child);
    EXPECT_EQ(child->GetParent(), &b);
    EXPECT_TRUE(a.GetChildren().empty());
    EXPECT_EQ(b.GetChildren().size(), 1u);

    // "first" holds a grandchild named "x"; "second" is named "x" itself: the child is tested before its subtree,
    // and the earlier child's subtree before the later child.
    GUI_Window root(0, 0, 10, 10);
    auto* first = new GUI_Window(0, 0, 5, 5);
    auto* grandchild = new GUI_Window(GUI_KIND_BUTTON);
    grandchild->SetName(u"X");
    first->AddChild(grandchild);
    auto* second = new GUI_Window(0, 0, 5, 5);
    second->SetName(u"x");
    root.AddChild(first);
    root.AddChild(second);
    EXPECT_EQ(root.FindChild(u"x"), grandchild);
    EXPECT_EQ(root.FindChild(u"X", GUI_KIND_WINDOW), second);
    EXPECT_EQ(root.FindChild(u"missing"), nullptr);
    EXPECT_TRUE(root.IsAncestorOf(grandchild, true));
    EXPECT_FALSE(root.IsAncestorOf(grandchild, false));
}

TEST_F(WindowTest, FindWindowAtTakesTheLatestChildFirstAndSkipsWhatCannotBeHit)
{
    struct Case {
        const char* what;
        void (*change)(GUI_Window& root, GUI_Window& early, GUI_Window& late);
        bool skipTransparent;
        bool excludeLate;
        const char* expected;  // "root", "early", "late" or "none"
    };
    const Case cases[] = {
        {"latest child first", [](GUI_Window&, GUI_Window&, GUI_Window&) {}, true, false, "late"},
        {"hidden late", [](GUI_Window&, GUI_Window&, GUI_Window& l) { l.SetHidden(true); }, true, false, "early"},
        {"disabled late", [](GUI_Window&, GUI_Window&, GUI_Window& l) { l.SetDisabled(true); }, true, false, "early"},
        {"transparent late skipped", [](GUI_Window&, GUI_Window&, GUI_Window& l) { l.SetMouseTransparent(true); }, true, false, "early"},
        {"transparent late kept", [](GUI_Window&, GUI_Window&, GUI_Window& l) { l.SetMouseTransparent(true); }, false, false, "late"},
        {"excluded late", [](GUI_Window&, GUI_Window&, GUI_Window&) {}, true, true, "early"},
        // The children of a hidden window are looked at before the window itself is rejected.
        {"hidden root", [](GUI_Window& r, GUI_Window&, GUI_Window&) { r.SetHidden(true); }, true, false, "late"},
        {"all children gone",
         [](GUI_Window&, GUI_Window& e, GUI_Window& l) {
             e.SetHidden(true);
             l.SetHidden(true);
         },
         true, false, "root"},
    };
    for (const Case& c : cases) {
        GUI_Window root(0, 0, 100, 100);
        auto* early = new GUI_Window(10, 10, 50, 50);
        auto* late = new GUI_Window(10, 10, 50, 50);
        root.AddChild(early);
        root.AddChild(late);
        c.change(root, *early, *late);
        std::set<GUI_Window*> excluded;
        if (c.excludeLate)
            excluded.insert(late);
        GUI_Window* const hit = root.FindWindowAt(20, 20, c.skipTransparent, &excluded);
        const std::string name = hit == &root ? "root" : hit == early ? "early" : hit == late ? "late" : "none";
        EXPECT_EQ(name, c.expected) << c.what;
    }
}

TEST_F(WindowTest, HandleInputOffersTheEarliestChildFirstAndSwallowsMouseEventsOverItself)
{
    std::vector<std::string> log;
    GUI_Window root(0, 0, 100, 100);
    auto* early = new RecordingWindow(&log, "early", 10, 10, 50, 50);
    auto* late = new RecordingWindow(&log, "late", 10, 10, 50, 50);
    auto* hidden = new RecordingWindow(&log, "hidden", 10, 10, 50, 50);
    auto* elsewhere = new RecordingWindow(&log, "elsewhere", 60, 60, 90, 90);
    hidden->SetHidden(true);
    early->m_bTakes = false;
    root.AddChild(early);
    root.AddChild(hidden);
    root.AddChild(late);
    root.AddChild(elsewhere);
    EXPECT_TRUE(root.HandleInput(GuiFixture::Mouse(GUI_MOUSE_LEFT_DOWN, 20, 20)));
    EXPECT_EQ(log, (std::vector<std::string>{"input early", "input late"}));

    // Outside every child, the window itself swallows codes 0 to 12 over it; not when transparent or hidden.
    log.clear();
    EXPECT_TRUE(root.HandleInput(GuiFixture::Mouse(GUI_MOUSE_MOVE, 95, 5)));
    EXPECT_FALSE(root.HandleInput(GuiFixture::Mouse(13, 95, 5)));
    EXPECT_FALSE(root.HandleInput(GuiFixture::Mouse(GUI_MOUSE_MOVE, 150, 5)));
    root.SetMouseTransparent(true);
    EXPECT_FALSE(root.HandleInput(GuiFixture::Mouse(GUI_MOUSE_MOVE, 95, 5)));
    root.SetHidden(true);
    EXPECT_FALSE(root.HandleInput(GuiFixture::Mouse(GUI_MOUSE_MOVE, 20, 20)));
    EXPECT_TRUE(log.empty());
}

TEST_F(WindowTest, MoveByWithRecursionMovesEveryDescendant)
{
    GUI_Window root(0, 0, 100, 100);
    auto* child = new GUI_Window(10, 10, 20, 20);
    auto* grandchild = new GUI_Window(12, 12, 14, 14);
    child->AddChild(grandchild);
    root.AddChild(child);
    root.MoveTo(5, -3, true);
    EXPECT_EQ(root.GetLeft(), 5);
    EXPECT_EQ(child->GetLeft(), 15);
    EXPECT_EQ(child->GetTop(), 7);
    EXPECT_EQ(grandchild->GetRight(), 19);
    EXPECT_EQ(grandchild->GetBottom(), 11);
    root.MoveBy(1, 1, false);
    EXPECT_EQ(child->GetLeft(), 15);
}

// A skin of known piece sizes: corners 6 x 5 (LT, RT) and 7 x 4 (LB, RB), edges 3 wide or 2 high, a centre.
class NinePieceTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        WriteImage("lt.bmp", 6, 5, 0xFF0000);
        WriteImage("rt.bmp", 6, 5, 0x00FF00);
        WriteImage("lb.bmp", 7, 4, 0x0000FF);
        WriteImage("rb.bmp", 7, 4, 0xFFFF00);
        WriteImage("t.bmp", 1, 2, 0x00FFFF);
        WriteImage("b.bmp", 1, 3, 0xFF00FF);
        WriteImage("l.bmp", 3, 1, 0x808080);
        WriteImage("r.bmp", 4, 1, 0x404040);
        WriteImage("c.bmp", 2, 2, 0xFFFFFF);
    }

    void WriteFullSkin(bool corners)
    {
        std::string lines = "WINDOW_BORDER_T t.bmp 1 0\nWINDOW_BORDER_B b.bmp 1 0\nWINDOW_BORDER_L l.bmp 0 1\n"
                            "WINDOW_BORDER_R r.bmp 0 1 1 0 0 0\nWINDOW_CENTER c.bmp 1 1 0 0 0 -1\n";
        if (corners)
            lines += "WINDOW_BORDER_LT lt.bmp\nWINDOW_BORDER_RT rt.bmp\nWINDOW_BORDER_LB lb.bmp\nWINDOW_BORDER_RB rb.bmp\n";
        else
            lines += "WINDOW_BORDER_LT NULL\n";
        WriteSkin("skin.skn", lines);
    }

    struct Placed {
        int piece;
        int x, y, width, height;
    };

    static void ExpectPieces(const GUI_Window& window, const std::vector<Placed>& expected)
    {
        for (const Placed& p : expected) {
            const GUI_ImageElement* element = window.GetPieces()[p.piece].element.get();
            ASSERT_NE(element, nullptr) << p.piece;
            EXPECT_EQ(element->GetX(), p.x) << p.piece;
            EXPECT_EQ(element->GetY(), p.y) << p.piece;
            EXPECT_EQ(element->GetWidth(), p.width) << p.piece;
            EXPECT_EQ(element->GetHeight(), p.height) << p.piece;
        }
    }
};

TEST_F(NinePieceTest, SetRectPlacesEveryPieceWithCorners)
{
    WriteFullSkin(true);
    GUI_Window window(GUI_KIND_WINDOW);
    window.SetRect(100, 50, 200, 120, true);
    window.SetSkin(u"skin.skn", true, false);
    int l = 0, t = 0, r = 0, b = 0;
    window.GetSkinInsets(l, t, r, b);
    // The smallest piece of each side.
    EXPECT_EQ(l, 3);
    EXPECT_EQ(t, 2);
    EXPECT_EQ(r, 4);
    EXPECT_EQ(b, 3);
    ExpectPieces(window, {
                             {PIECE_LT, 100, 50, 6, 5},
                             {PIECE_T, 106, 50, 100 - 6 - 6, 2},
                             {PIECE_RT, 194, 50, 6, 5},
                             {PIECE_L, 100, 55, 3, 70 - 5 - 4},
                             {PIECE_R, 196 + 1, 55, 4, 70 - 5 - 4},
                             {PIECE_LB, 100, 116, 7, 4},
                             {PIECE_B, 107, 117, 100 - 7 - 7, 3},
                             {PIECE_RB, 193, 116, 7, 4},
                             // The client rectangle less the insets, with the centre's height adjustment of -1.
                             {PIECE_CENTER, 103, 52, 100 - 3 - 4, 70 - 2 - 3 - 1},
                         });
    int minW = 0, minH = 0;
    window.GetMinSize(minW, minH);
    EXPECT_EQ(minW, 7 + 1 + 7);
    EXPECT_EQ(minH, 5 + 1 + 4);
    int maxW = 0, maxH = 0;
    window.GetMaxSize(maxW, maxH);
    // Stretched edges leave both directions unbounded.
    EXPECT_EQ(maxW, INT_MAX);
    EXPECT_EQ(maxH, INT_MAX);
}

TEST_F(NinePieceTest, EdgesSpanTheWholeSideWithoutCorners)
{
    WriteFullSkin(false);
    GUI_Window window(GUI_KIND_WINDOW);
    window.SetRect(10, 20, 60, 50, true);
    window.SetSkin(u"skin.skn", true, false);
    EXPECT_EQ(window.GetPieces()[PIECE_LT].element, nullptr);
    ExpectPieces(window, {
                             {PIECE_T, 10, 20, 50, 2},
                             {PIECE_L, 10, 20, 3, 30},
                             {PIECE_B, 10, 47, 50, 3},
                         });
}

TEST_F(NinePieceTest, MinAndMaxSizesByBorderMode)
{
    WriteSkin("fixed.skn", "WINDOW_BORDER_LT lt.bmp\nWINDOW_BORDER_RT rt.bmp\nWINDOW_BORDER_LB lb.bmp\n"
                           "WINDOW_BORDER_RB rb.bmp\nWINDOW_BORDER_T t.bmp\n");
    GUI_Window window(GUI_KIND_WINDOW);
    window.SetRect(0, 0, 40, 40, true);
    window.SetSkin(u"fixed.skn", true, false);
    int w = 0, h = 0;
    window.GetMaxSize(w, h);
    // Every piece at natural size: the column maxima (7 + 1 + 7) and row maxima (5 + 0 + 4).
    EXPECT_EQ(w, 7 + 1 + 7);
    EXPECT_EQ(h, 5 + 4);
    window.SetBorderMode(BORDER_FRAME);
    window.SetFrameInset(2, 3);
    window.GetMinSize(w, h);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 7);
    window.GetMaxSize(w, h);
    EXPECT_EQ(w, INT_MAX);
    window.SetBorderMode(BORDER_NONE);
    window.GetMinSize(w, h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
}

TEST_F(NinePieceTest, ClientRectOfAWindowNarrowerThanItsInsetsIsEmpty)
{
    WriteFullSkin(true);
    GUI_Window window(GUI_KIND_WINDOW);
    window.SetRect(0, 0, 5, 4, true);
    window.SetSkin(u"skin.skn", true, false);
    int x = 0, y = 0, w = 0, h = 0;
    window.GetClientRect(x, y, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST_F(NinePieceTest, SetSkinReloadsOnlyWhenForcedAndReplacesEveryPiece)
{
    WriteFullSkin(true);
    WriteSkin("edges.skn", "WINDOW_BORDER_T t.bmp 1 0\n");
    GUI_Window window(GUI_KIND_WINDOW);
    window.SetRect(0, 0, 50, 50, true);
    window.SetSkin(u"skin.skn", true, false);
    GUI_Manager* const manager = GetGUIManager();
    EXPECT_EQ(manager->FindSkin(u"skin.skn")->m_RefCount, 1);
    window.SetSkin(u"SKIN.skn", true, false);
    EXPECT_EQ(manager->FindSkin(u"skin.skn")->m_RefCount, 1);
    window.SetSkin(u"skin.skn", true, true);
    EXPECT_EQ(manager->FindSkin(u"skin.skn")->m_RefCount, 1);
    // A skin without corners leaves none of the old corners behind.
    window.SetSkin(u"edges.skn", true, false);
    EXPECT_EQ(manager->FindSkin(u"skin.skn"), nullptr);
    EXPECT_EQ(window.GetPieces()[PIECE_LT].element, nullptr);
    EXPECT_NE(window.GetPieces()[PIECE_T].element, nullptr);
    // A skin that cannot be read: no pieces, zero insets.
    window.SetSkin(u"missing.skn", true, false);
    int l = 1, t = 1, r = 1, b = 1;
    window.GetSkinInsets(l, t, r, b);
    EXPECT_EQ(l + t + r + b, 0);
    EXPECT_EQ(window.GetPieces()[PIECE_T].element, nullptr);
}

TEST_F(WindowTest, SkinLinesAndVersions)
{
    struct Case {
        const char* text;
        const char* key;
        std::u16string expected;
        bool reads;
    };
    const Case cases[] = {
        {"GSKNV1.0\nWINDOW_CENTER\tcentre.bmp 1 2\n", "WINDOW_CENTER", u"centre.bmp 1 2", true},
        {"GSKNV1.0\r\n  KEY   value  \r\n", "KEY", u"value", true},
        {"GSKNV1.0\n// KEY value\n", "KEY", u"", true},
        {"GSKNV1.0\nKEY\n", "KEY", u"", true},
        {"GSKNV1.0\nKEY first\nKEY second\n", "KEY", u"second", true},
        {"GSKNV1.1\nKEY value\n", "KEY", u"", false},
        {"GSKXV1.0\nKEY value\n", "KEY", u"", false},
        {"GSKNV1.", "KEY", u"", false},  // fewer than 16 bytes after the mark
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = test::Utf16Le(c.text);
        GUI_Skin skin;
        EXPECT_EQ(skin.Parse(bytes.data(), bytes.size()), c.reads) << c.text;
        std::u16string key;
        for (const char* p = c.key; *p; ++p)
            key += static_cast<char16_t>(*p);
        EXPECT_EQ(skin.Lookup(key), c.expected) << c.text;
    }
    // An odd byte count ignores the last half unit.
    std::vector<std::uint8_t> odd = test::Utf16Le("GSKNV1.0\nKEY ab");
    odd.push_back('c');
    GUI_Skin skin;
    ASSERT_TRUE(skin.Parse(odd.data(), odd.size()));
    EXPECT_EQ(skin.Lookup(u"KEY"), u"ab");
    const SkinPieceValue piece = ParseSkinPieceValue(u"img.bmp 2 1 -3 4");
    EXPECT_EQ(piece.file, u"img.bmp");
    EXPECT_EQ(piece.modeX, 2);
    EXPECT_EQ(piece.modeY, 1);
    EXPECT_EQ(piece.dx, -3);
    EXPECT_EQ(piece.dy, 4);
    EXPECT_EQ(piece.dw, 0);
    EXPECT_FALSE(ParseSkinPieceValue(u"null 1 1").HasImage());
}

TEST_F(WindowTest, HostBindingFallsBackAndBuildsPaths)
{
    std::vector<std::u16string> asked;
    static std::vector<std::u16string>* s_asked = nullptr;
    s_asked = &asked;
    GUI_System::SetLoadBitmapFunction([](std::u16string_view path) {
        s_asked->emplace_back(path);
        return 7;
    });
    GUI_System::SetDataDirectory(u"no-such-folder");
    EXPECT_EQ(GUI_System::LoadBitmap(u"buttons\\ScrollUp.bmp", false), 7);
    m_dir.Write("data/x", std::string("x"));
    GUI_System::SetDataDirectory(u"data");
    GUI_System::LoadBitmap(u"buttons\\ScrollUp.bmp", false);
    ASSERT_EQ(asked.size(), 2u);
    // A folder that does not exist keeps its relative path; one that exists becomes a full path.
    EXPECT_EQ(asked[0], u"no-such-folder\\buttons\\ScrollUp.bmp");
    EXPECT_EQ(asked[1], plat::FromUtf8(plat::GetCurrentFolder()) + u"/data\\buttons\\ScrollUp.bmp");
    // Without a string callback the key is the text.
    EXPECT_EQ(GUI_System::GetString(u"STR_OK"), u"STR_OK");
    EXPECT_EQ(GUI_System::GetFormattedText(u"FMT_X"), nullptr);
}

} // namespace
