// The menus' overlays: the language choice's arrangements and answers, the message box's button sets,
// widths and arrangements, and both centred on the screen.
#include "gui/GUI_Label.h"
#include "screens/LanguageSelectInterface.h"
#include "screens/MessageBoxInterface.h"
#include "tests/screens/ScreenFixture.h"

#include <algorithm>

namespace {

class OverlayTest : public screentest::ScreenTest {
protected:
    // Shows an overlay as the menus do: added and active.
    static void Show(GameInterface& overlay)
    {
        overlay.SetHidden(false);
        GetGUIManager()->AddInterface(&overlay);
        GetGUIManager()->SetActiveInterface(&overlay);
        Frame();
    }
    static GUI_Window* In(GameInterface& overlay, std::u16string_view name)
    {
        return overlay.FindWindow(name, GUI_KIND_ANY);
    }
};

TEST_F(OverlayTest, TheLanguageChoiceShowsTheSetOfItsInstallKind)
{
    struct Case {
        int kind;
        std::vector<const char16_t*> shown;
        int height;
    };
    const std::vector<const char16_t*> all = {u"btnLangEN", u"btnLangCS", u"btnLangDE", u"btnLangES", u"btnLangFR",
                                              u"btnLangIT", u"btnLangPT", u"btnLangKR", u"btnLangRU"};
    const Case cases[] = {
        {1, {u"btnLangEN", u"btnLangCS", u"btnLangDE", u"btnLangES", u"btnLangFR", u"btnLangIT", u"btnLangPT"}, 296},
        {2, {u"btnLangEN", u"btnLangCS", u"btnLangKR"}, 146},
        {3, {u"btnLangEN", u"btnLangRU"}, 112},
    };
    for (const Case& c : cases) {
        LanguageSelectInterface choice;
        Show(choice);
        choice.Setup(c.kind);
        GUI_Window* const box = In(choice, u"winMessageBox");
        EXPECT_EQ(box->GetWidth(), 235) << c.kind;
        EXPECT_EQ(box->GetHeight(), c.height) << c.kind;
        // Centred on the 800x600 screen.
        EXPECT_EQ(box->GetLeft(), (800 - 235) / 2) << c.kind;
        EXPECT_EQ(box->GetTop(), (600 - c.height) / 2) << c.kind;
        const GUI_Window* const english = In(choice, u"btnLangEN");
        const int step = english->GetHeight() + 12;
        int row = 0;
        for (const char16_t* name : all) {
            const bool shown = std::find(c.shown.begin(), c.shown.end(), std::u16string_view(name)) != c.shown.end();
            const GUI_Window* const button = In(choice, name);
            EXPECT_EQ(!button->IsHidden(), shown) << c.kind << " " << plat::ToUtf8(name);
            if (shown) {
                // Shown buttons lie in rows below English in the order of the set, inside the box.
                EXPECT_EQ(button->GetTop(), english->GetTop() + row * step) << c.kind << " " << plat::ToUtf8(name);
                EXPECT_EQ(button->GetLeft(), english->GetLeft());
                EXPECT_LE(button->GetBottom(), box->GetBottom()) << c.kind << " " << plat::ToUtf8(name);
                ++row;
            }
        }
        GetGUIManager()->RemoveInterface(&choice, true);
    }
}

TEST_F(OverlayTest, LanguageAnswersAndTheChineseId)
{
    struct Case {
        int kind;
        const char16_t* button;
        int language;
    };
    const Case cases[] = {{1, u"btnLangEN", 1}, {1, u"btnLangCS", 9},  {2, u"btnLangCS", 10}, {1, u"btnLangDE", 3},
                          {1, u"btnLangES", 4}, {1, u"btnLangFR", 2},  {1, u"btnLangIT", 6},  {1, u"btnLangPT", 5},
                          {2, u"btnLangKR", 11}, {3, u"btnLangRU", 7}};
    LanguageSelectInterface choice;
    Show(choice);
    for (const Case& c : cases) {
        choice.Setup(c.kind);
        GUI_InputEvent command;
        command.type = GUI_EVENT_COMMAND;
        command.sender = In(choice, c.button);
        EXPECT_TRUE(choice.HandleInput(command));
        EXPECT_EQ(choice.m_Result, c.language) << plat::ToUtf8(c.button);
        // Reactivating clears the answer.
        choice.OnActivate();
        EXPECT_EQ(choice.m_Result, -1);
    }
    GetGUIManager()->RemoveInterface(&choice, true);
    // Only the install's type 2 makes Chinese traditional.
    EXPECT_EQ(GetChineseLanguageId(), 9);
    GetRegistrySettings()->SetInt(u"InstallType", 2, REGISTRY_PRODUCT_KEY);
    EXPECT_EQ(GetChineseLanguageId(), 10);
}

TEST_F(OverlayTest, MessageBoxButtonSetsAndTheirArrangements)
{
    struct Case {
        int kind;
        std::vector<std::string> keys;
    };
    const Case cases[] = {
        {0, {"STR_OK"}},
        {1, {"STR_Cancel"}},
        {2, {"STR_Yes", "STR_No"}},
        {3, {"STR_Yes", "STR_No", "STR_Cancel"}},
    };
    MessageBoxInterface box;
    Show(box);
    const std::u16string names[3] = {u"btnButton1", u"btnButton2", u"btnButton3"};
    for (const Case& c : cases) {
        box.SetButtons(c.kind);
        for (std::size_t i = 0; i < 3; ++i) {
            auto* const button = WindowCast<GUI_Label>(In(box, names[i]));
            EXPECT_EQ(!In(box, names[i])->IsHidden(), i < c.keys.size()) << c.kind << " " << i;
            if (i < c.keys.size()) {
                EXPECT_EQ(plat::ToUtf8(button->GetTextID()), c.keys[i]);
            }
        }
    }
    // A kind outside the table changes nothing.
    box.SetButtons(9);
    EXPECT_FALSE(In(box, u"btnButton3")->IsHidden());

    // Every shown button takes the last one's width.
    box.SetButtons(2);
    GUI_Window* const first = In(box, u"btnButton1");
    GUI_Window* const second = In(box, u"btnButton2");
    second->SetSize(140, second->GetHeight());
    box.FitButtons();
    EXPECT_EQ(first->GetWidth(), 140);
    EXPECT_EQ(second->GetWidth(), 140);

    // The arrangements within the box's client area, on its base line 5 above the bottom.
    GUI_Window* const frame = In(box, u"winMessageBox");
    int x0 = 0;
    int y0 = 0;
    int w = 0;
    int h = 0;
    frame->GetClientRect(x0, y0, w, h);
    int x1 = x0 + w;
    int y1 = y0 + h;
    frame->FromClient(x0, y0);
    frame->FromClient(x1, y1);
    const int base = y1 - 5;
    const int bh = first->GetHeight();
    struct Arrangement {
        int arrangement;
        int firstLeft;
        int firstTop;
        int secondLeft;
        int secondTop;
    };
    const int pair = 140 + 5 + 140;
    const Arrangement arrangements[] = {
        {0, x0, base - bh, x0 + 145, base - bh},
        {1, x0 + (x1 - x0 - pair) / 2, base - bh, x0 + (x1 - x0 - pair) / 2 + 145, base - bh},
        {2, x1 - 145 - 140, base - bh, x1 - 140, base - bh},
        {3, x0, base - bh, x0, base - bh - 5 - bh},
        {4, x1 - 140, base - bh - 5 - bh, x1 - 140, base - bh},
    };
    for (const Arrangement& a : arrangements) {
        box.ArrangeButtons(a.arrangement, 5);
        EXPECT_EQ(first->GetLeft(), a.firstLeft) << a.arrangement;
        EXPECT_EQ(first->GetTop(), a.firstTop) << a.arrangement;
        EXPECT_EQ(second->GetLeft(), a.secondLeft) << a.arrangement;
        EXPECT_EQ(second->GetTop(), a.secondTop) << a.arrangement;
    }
    EXPECT_EQ(box.m_Arrangement, 4);

    // The text comes from the formatted table; answers by button.
    box.SetText(u"FMT_ConfirmLaunchVarrowOnline");
    auto* const text = WindowCast<GUI_Label>(In(box, u"lblText"));
    EXPECT_TRUE(text->IsFormatted());
    EXPECT_EQ(plat::ToUtf8(text->GetTextID()), "FMT_ConfirmLaunchVarrowOnline");
    Click(u"btnButton2");
    EXPECT_EQ(box.m_Result, 1);
    box.OnAdded();
    EXPECT_EQ(box.m_Result, -1);
    GetGUIManager()->RemoveInterface(&box, true);
}

TEST_F(OverlayTest, OverlaysCoverTheScreenAndStayCentredWhenItChanges)
{
    MessageBoxInterface box;
    Show(box);
    box.OnResize(1024, 768);
    EXPECT_EQ(In(box, u"winBkg")->GetWidth(), 1024);
    EXPECT_EQ(In(box, u"winBkg")->GetHeight(), 768);
    // Centred on the raster's screen, which is still 800x600.
    const GUI_Window* const frame = In(box, u"winMessageBox");
    EXPECT_EQ(frame->GetLeft(), (800 - frame->GetWidth()) / 2);
    EXPECT_EQ(frame->GetTop(), (600 - frame->GetHeight()) / 2);
    GetGUIManager()->RemoveInterface(&box, true);
}

} // namespace
