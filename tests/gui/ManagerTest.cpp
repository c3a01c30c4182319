// GUI_Manager and GUI_Interface: routing, hover, capture, the platform's events, screens, skins, deferred deletion.
#include "tests/gui/GuiFixture.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_Interface.h"

#include <climits>

namespace {

using guitest::GuiFixture;
using guitest::RecordingWindow;

class ManagerTest : public GuiFixture {};

TEST_F(ManagerTest, InputGoesToCaptureThenActiveScreenThenScreensThenWindowsLastToFirst)
{
    std::vector<std::string> log;
    GUI_Manager* const manager = GetGUIManager();
    GUI_Interface screenA;
    GUI_Interface screenB;
    auto* inA = new RecordingWindow(&log, "a", 0, 0, 10, 10);
    auto* inB = new RecordingWindow(&log, "b", 0, 0, 10, 10);
    screenA.AddWindow(inA);
    screenB.AddWindow(inB);
    RecordingWindow first(&log, "first", 0, 0, 10, 10);
    RecordingWindow second(&log, "second", 0, 0, 10, 10);
    manager->AddInterface(&screenA);
    manager->AddInterface(&screenB);
    manager->RegisterWindow(&first);
    manager->RegisterWindow(&second);
    inA->m_bTakes = inB->m_bTakes = first.m_bTakes = second.m_bTakes = false;
    const GUI_InputEvent down = Mouse(GUI_MOUSE_LEFT_DOWN, 5, 5);

    struct Case {
        const char* what;
        void (*set)(GUI_Manager&, GUI_Interface&, GUI_Interface&, GUI_Window&);
        bool interfacesOnly;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"screens in order, then windows last to first", [](GUI_Manager&, GUI_Interface&, GUI_Interface&, GUI_Window&) {},
         false, {"input a", "input b", "input second", "input first"}},
        {"screens only", [](GUI_Manager&, GUI_Interface&, GUI_Interface&, GUI_Window&) {}, true, {"input a", "input b"}},
        {"active screen alone",
         [](GUI_Manager& m, GUI_Interface&, GUI_Interface& b, GUI_Window&) { m.SetActiveInterface(&b); }, false,
         {"input b"}},
        {"capture screen",
         [](GUI_Manager&, GUI_Interface& a, GUI_Interface&, GUI_Window&) { a.SetCapture(a.GetWindows()[0]); }, false,
         {"input a"}},
        {"capture window", [](GUI_Manager& m, GUI_Interface&, GUI_Interface&, GUI_Window& w) { m.SetCapture(&w); },
         false, {"input first"}},
    };
    for (const Case& c : cases) {
        manager->ReleaseCapture();
        manager->SetActiveInterface(nullptr);
        c.set(*manager, screenA, screenB, first);
        log.clear();
        EXPECT_FALSE(manager->DispatchEvent(down, c.interfacesOnly));
        // Capture changes log their losses; only the inputs count here.
        std::vector<std::string> inputs;
        for (const std::string& line : log) {
            if (line.starts_with("input"))
                inputs.push_back(line);
        }
        EXPECT_EQ(inputs, c.expected) << c.what;
    }
    manager->ReleaseCapture();
    manager->UnregisterWindow(&first);
    manager->UnregisterWindow(&second);
}

TEST_F(ManagerTest, HoverLeavesTheOldWindowBeforeEnteringTheNewAndClearsOutsideTheClient)
{
    std::vector<std::string> log;
    GUI_Manager* const manager = GetGUIManager();
    RecordingWindow left(&log, "left", 0, 0, 50, 50);
    RecordingWindow right(&log, "right", 50, 0, 100, 50);
    manager->RegisterWindow(&left);
    manager->RegisterWindow(&right);
    MoveTo(10, 10);
    MoveTo(60, 10);
    MoveTo(-5, 10);
    std::vector<std::string> hover;
    for (const std::string& line : log) {
        if (!line.starts_with("input"))
            hover.push_back(line);
    }
    EXPECT_EQ(hover, (std::vector<std::string>{"enter left", "leave left", "enter right", "leave right"}));
    EXPECT_EQ(manager->GetHoverWindow(), nullptr);
    manager->UnregisterWindow(&left);
    manager->UnregisterWindow(&right);
}

TEST_F(ManagerTest, PlatformEventsBecomeToolkitEventsWithTheirKeyBits)
{
    struct Case {
        plat::EventType type;
        int button;
        std::uint32_t held;
        bool translated;
        int code;
        std::uint32_t keys;
    };
    const Case cases[] = {
        {plat::EventType::MouseMove, 0, plat::MK_LBUTTON | plat::MK_SHIFT, true, GUI_MOUSE_MOVE, GUI_KEY_LBUTTON | GUI_KEY_SHIFT},
        {plat::EventType::ButtonDown, plat::BUTTON_LEFT, plat::MK_CONTROL, true, GUI_MOUSE_LEFT_DOWN, GUI_KEY_CTRL},
        // A double click is a second press.
        {plat::EventType::DoubleClick, plat::BUTTON_LEFT, 0, true, GUI_MOUSE_LEFT_DOWN, 0},
        {plat::EventType::ButtonUp, plat::BUTTON_RIGHT, plat::MK_RBUTTON, true, GUI_MOUSE_RIGHT_UP, GUI_KEY_RBUTTON},
        {plat::EventType::ButtonDown, plat::BUTTON_MIDDLE, plat::MK_MBUTTON, true, GUI_MOUSE_MIDDLE_DOWN, GUI_KEY_MBUTTON},
        {plat::EventType::Wheel, 0, 0, false, 0, 0},
        {plat::EventType::KeyDown, 0, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        plat::Event event;
        event.type = c.type;
        event.button = c.button;
        event.keyState = c.held;
        event.x = -7;
        event.y = 70000;
        GUI_InputEvent out;
        EXPECT_EQ(GUI_Manager::TranslateMouseMessage(event, out), c.translated) << static_cast<int>(c.type);
        if (!c.translated)
            continue;
        EXPECT_EQ(out.code, c.code);
        EXPECT_EQ(out.keys, c.keys);
        EXPECT_EQ(out.x, -7);
        EXPECT_EQ(out.y, 70000);
    }
}

TEST_F(ManagerTest, LosingActivationReleasesTheCaptureAndTheButtonLearnsOfIt)
{
    GUI_Manager* const manager = GetGUIManager();
    GUI_Interface screen;
    auto* button = new GUI_Button();
    button->SetRect(10, 10, 60, 40, true);
    screen.AddWindow(button);
    manager->AddInterface(&screen);
    manager->DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 20, 20));
    EXPECT_TRUE(button->IsCaptured());
    EXPECT_TRUE(plat::headless::MouseCaptured());
    plat::Event off;
    off.type = plat::EventType::Activate;
    off.active = 0;
    manager->HandleWindowMessage(off, false);
    EXPECT_FALSE(button->IsCaptured());
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(plat::headless::MouseCaptured());
    EXPECT_EQ(manager->GetCaptureWindow(), nullptr);
}

TEST_F(ManagerTest, RefreshMouseCarriesTheHeldKeysInSeparateBits)
{
    GUI_Manager* const manager = GetGUIManager();
    struct KeyProbe : GUI_Window {
        KeyProbe() : GUI_Window(0, 0, 100, 100) {}
        bool HandleInput(const GUI_InputEvent& event) override
        {
            keys = event.keys;
            return true;
        }
        std::uint32_t keys = 0;
    } probe;
    manager->RegisterWindow(&probe);
    plat::Event shift;
    shift.type = plat::EventType::KeyDown;
    shift.key = plat::KEY_SHIFT;
    plat::headless::QueueEvent(shift);
    shift.key = plat::KEY_CONTROL;
    plat::headless::QueueEvent(shift);
    plat::Event taken;
    while (plat::PollEvent(taken)) {
    }
    plat::headless::SetCursorPos(5, 5);
    manager->RefreshMouse();
    EXPECT_EQ(probe.keys, GUI_KEY_SHIFT | GUI_KEY_CTRL);
    manager->UnregisterWindow(&probe);
}

TEST_F(ManagerTest, ScreensRemovedLaterStayUntilTheNextUpdateAndSkinsAreShared)
{
    GUI_Manager* const manager = GetGUIManager();
    GUI_Interface screen;
    manager->AddInterface(&screen);
    EXPECT_TRUE(manager->RemoveInterface(&screen, false));
    EXPECT_TRUE(manager->HasInterface(&screen));
    manager->Update();
    EXPECT_FALSE(manager->HasInterface(&screen));
    EXPECT_FALSE(manager->RemoveInterface(&screen, true));

    WriteSkin("s.skn", "KEY value\n");
    GUI_Skin* const one = manager->GetSkin(u"s.skn");
    GUI_Skin* const two = manager->GetSkin(u"s.skn");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one, two);
    EXPECT_EQ(one->m_RefCount, 2);
    EXPECT_TRUE(manager->ReleaseSkin(one));
    EXPECT_EQ(manager->GetSkinCount(), 1u);
    EXPECT_TRUE(manager->ReleaseSkin(one));
    EXPECT_EQ(manager->GetSkinCount(), 0u);
    EXPECT_FALSE(manager->ReleaseSkin(nullptr));
    EXPECT_EQ(manager->GetSkin(u"missing.skn"), nullptr);
    EXPECT_EQ(manager->GetSkinCount(), 0u);
}

TEST_F(ManagerTest, AWindowDeletedByItsOwnHandlerGoesAfterTheDispatchAndLeavesNoReference)
{
    GUI_Manager* const manager = GetGUIManager();
    struct SelfDeleting : GUI_Window {
        SelfDeleting() : GUI_Window(0, 0, 50, 50) {}
        bool HandleInput(const GUI_InputEvent&) override
        {
            GetGUIManager()->UnregisterWindow(this);
            GetGUIManager()->DeleteWindowLater(this);
            return true;
        }
    };
    auto* window = new SelfDeleting();
    manager->RegisterWindow(window);
    MoveTo(10, 10);
    EXPECT_EQ(manager->GetHoverWindow(), nullptr);
    EXPECT_TRUE(manager->GetWindows().empty());
    // A screen's window deleted by its owner while hovered and captured leaves nothing dangling.
    GUI_Interface screen;
    auto* button = new GUI_Button();
    button->SetRect(0, 0, 50, 50, true);
    screen.AddWindow(button);
    manager->AddInterface(&screen);
    MoveTo(10, 10);
    manager->DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 10, 10));
    EXPECT_EQ(manager->GetCaptureWindow(), button);
    delete button;
    EXPECT_EQ(manager->GetCaptureWindow(), nullptr);
    EXPECT_EQ(manager->GetHoverWindow(), nullptr);
    EXPECT_TRUE(screen.GetWindows().empty());
    MoveTo(20, 20);
}

TEST_F(ManagerTest, UnregisteringMarkedWindowsReleasesThePlatformCapture)
{
    GUI_Manager* const manager = GetGUIManager();
    GUI_Button box;
    box.SetRect(0, 0, 40, 40, true);
    manager->RegisterWindow(&box, true);
    manager->DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, 5, 5));
    EXPECT_TRUE(plat::headless::MouseCaptured());
    manager->UnregisterMarkedWindows();
    EXPECT_FALSE(plat::headless::MouseCaptured());
    EXPECT_EQ(manager->GetCaptureWindow(), nullptr);
    EXPECT_FALSE(manager->IsRegistered(&box));
}

TEST_F(ManagerTest, ScreenBoundsAndMembership)
{
    GUI_Interface empty;
    int l = 0, t = 0, r = 0, b = 0;
    empty.GetBounds(l, t, r, b);
    EXPECT_EQ(l, INT_MAX);
    EXPECT_EQ(t, INT_MAX);
    EXPECT_EQ(r, -INT_MAX);
    EXPECT_EQ(b, -INT_MAX);
    GUI_Interface first;
    GUI_Interface second;
    auto* window = new GUI_Window(5, 6, 7, 8);
    first.AddWindow(window);
    second.AddWindow(window);
    EXPECT_TRUE(first.GetWindows().empty());
    EXPECT_EQ(window->GetInterface(), &second);
    second.GetBounds(l, t, r, b);
    EXPECT_EQ(l, 5);
    EXPECT_EQ(b, 8);
}

} // namespace
