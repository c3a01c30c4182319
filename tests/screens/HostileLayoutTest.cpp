// Layout files that are not what the screens expect: wrong window kinds, missing required windows, zero sizes,
// damaged streams. Each screen comes up without a crash; a damaged stream is reported naming its file.
#include "gui/GUI_Label.h"
#include "screens/AdvancedConceptsInterface.h"
#include "screens/ExplainInterface.h"
#include "screens/LanguageSelectInterface.h"
#include "screens/MessageBoxInterface.h"
#include "screens/SlideshowInterface.h"
#include "tests/screens/ScreenFixture.h"

namespace {

class HostileLayoutTest : public screentest::ScreenTest {
protected:
    // Shows every screen id, the overlays and a refresh of each, with clicks on every named button.
    void Exercise()
    {
        GameDisplay& display = *GetGameDisplay();
        for (const int id : {1, 2, 4, 17, 18, 19, 20, 21, 22, 23, 24, 1}) {
            display.SetScreen(id, false);
            Frame();
            GetGUIManager()->Resize(1024, 768);
            if (id == 19)
                static_cast<AdvancedConceptsInterface*>(GetCachedScreen(ScreenSlot::AdvancedConcepts))->ShowTopic(2);
            if (id == 20) {
                GetExplainScreen()->SetPage(1);
                GetExplainScreen()->Update();
            }
            if (id == 22)
                GetSlideshowScreen()->SetSlide(3);
            Frame();
        }
        LanguageSelectInterface choice;
        choice.Setup(1);
        choice.Refresh();
        MessageBoxInterface box;
        box.SetText(u"FMT_X");
        box.SetButtons(3);
        box.ArrangeButtons(1, 5);
        box.Refresh();
    }
};

TEST_F(HostileLayoutTest, WrongKindsAndMissingWindowsAreSkipped)
{
    // Every named window of the screens made a plain window, or a label where a button is looked for.
    const std::string plain =
        "screen\n"
        "window name=picSlide rect=0,0,100,100\n"
        "window name=lblExplain rect=0,100,100,200\n"
        "window name=lblPage rect=0,0,10,10\n"
        "label name=btnScrollUp rect=0,0,10,10\n"
        "label name=btnScrollDown rect=0,0,10,10\n"
        "window name=btnScrollThumb rect=0,0,10,10\n"
        "label name=chkLanguageSelect rect=0,0,10,10\n"
        "window name=btnLangEN rect=0,0,10,10\n"
        "window name=lblText rect=0,0,10,10\n"
        "label name=btnBasic rect=0,0,10,10\n";
    for (const char* name : {"PhysicalOnlyMain", "PhysOnlyMain_LS", "OnlineMain", "LearnMore", "VarrowLinks",
                             "MoreAboutOnline", "AdvConcepts", "Explain", "Slideshow", "Language", "MessageBox"})
        WriteLayout(name, plain);
    GetRegistrySettings()->SetInt(u"InstallType", 1, REGISTRY_PRODUCT_KEY);
    Exercise();
    // The label in place of the checkbox is no checkbox: the offer is off.
    EXPECT_EQ(GetRegistrySettings()->GetInt(u"showlangselect"), 0);
}

TEST_F(HostileLayoutTest, EmptyScreensAndZeroSizesShowNothing)
{
    const std::string zero =
        "screen\n"
        "window name=winBkg rect=10,10,10,10 anchor=1,1 stretch=1,1\n"
        "  window name=winMessageBox rect=10,10,10,10 anchor=3,3\n"
        "    textbutton name=btnLangEN rect=10,10,10,10 anchor=1,1\n"
        "    textbutton name=btnButton1 rect=10,10,10,10\n"
        "    label name=lblText rect=10,10,10,10\n"
        "picture name=picSlide rect=10,10,10,10\n"
        "label name=lblExplain rect=10,10,10,10\n"
        "label name=lblPage rect=10,10,10,10\n"
        "button name=btnScrollBG rect=10,10,10,10\n"
        "button name=btnScrollThumb rect=10,10,10,10\n";
    for (const char* name : {"AdvConcepts", "Explain", "Slideshow", "Language", "MessageBox", "LearnMore"})
        WriteLayout(name, zero);
    // And some with no windows at all.
    for (const char* name : {"PhysicalOnlyMain", "OnlineMain", "VarrowLinks", "MoreAboutOnline"})
        WriteLayout(name, "screen\n");
    Exercise();
}

TEST_F(HostileLayoutTest, DamagedAndMissingFilesGiveEmptyScreensAndNameTheFile)
{
    // A cut stream, random bytes, a stream claiming far more than it holds, and a file that is not there.
    std::vector<std::uint8_t> shipped;
    ASSERT_TRUE(plat::ReadFileBytes(u"data/GUI/Interfaces/Explain.GUI", shipped));
    m_dir.Write("data/GUI/Interfaces/Explain.GUI", std::vector<std::uint8_t>(shipped.begin(), shipped.begin() + shipped.size() / 2));
    std::vector<std::uint8_t> noise(4096);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 131 + 7);
    m_dir.Write("data/GUI/Interfaces/Slideshow.GUI", noise);
    std::vector<std::uint8_t> huge(shipped.begin(), shipped.begin() + std::min<std::size_t>(shipped.size(), 16));
    for (int i = 0; i < 64; ++i)
        huge.push_back(0xFF);
    m_dir.Write("data/GUI/Interfaces/AdvConcepts.GUI", huge);
    std::filesystem::remove(m_dir.File("data/GUI/Interfaces/LearnMore.GUI"));
    const test::ScopedLog log;
    Exercise();
    EXPECT_GE(log.Count("Explain.GUI"), 1);
    EXPECT_GE(log.Count("Slideshow.GUI"), 1);
    EXPECT_GE(log.Count("AdvConcepts.GUI"), 1);
    GetGameDisplay()->SetScreen(4, false);
    EXPECT_TRUE(GetCachedScreen(ScreenSlot::LearnMore)->GetWindows().empty());
}

} // namespace
