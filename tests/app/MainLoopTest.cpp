// The main loop, the frame tick, the scene load and the window procedure, inside a real headless run.
#include "tests/app/AppFixture.h"

#include "app/Console.h"
#include "cards/CameraBehaviour.h"
#include "cards/TableScene.h"
#include "engine/core/LanguageManager.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/VoiceQueue.h"
#include "gui/GUI_Manager.h"
#include "lessons/ActorTypes.h"
#include "gui/GUI_Window.h"
#include "lessons/LessonFlow.h"
#include "tests/engine/sound/WaveFixtures.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

plat::Event Make(plat::EventType type)
{
    plat::Event event;
    event.type = type;
    return event;
}

plat::Event Button(plat::EventType type, int button, int x = 10, int y = 10)
{
    plat::Event event = Make(type);
    event.button = button;
    event.x = x;
    event.y = y;
    return event;
}

void Queue(const plat::Event& event)
{
    plat::headless::QueueEvent(event);
}

// Passes until a frame is ticked (the first one loads the pending scene).
using test::TickOnce;

void RequestMode(int mode)
{
    s_RequestedGameMode = mode;
    s_GameMode = -1;
}

// A registered window that counts the mouse events and hover entries the toolkit gives it.
class ProbeWindow : public GUI_Window {
public:
    ProbeWindow() : GUI_Window(0, 0, 4000, 4000) { GetGUIManager()->RegisterWindow(this); }
    ~ProbeWindow() override { GetGUIManager()->UnregisterWindow(this); }
    bool HandleInput(const GUI_InputEvent& event) override
    {
        ++inputs;
        return GUI_Window::HandleInput(event);
    }
    void OnMouseEnter() override { ++entries; }
    void OnDeviceLost() override { ++devicesLost; }
    void ReloadTextures() override { ++reloads; }
    int inputs = 0;
    int entries = 0;
    int devicesLost = 0;
    int reloads = 0;
};

class MainLoopTest : public test::AppFixture {};

TEST_F(MainLoopTest, AFrameIsTickedOnlyWhenNoEventWaits)
{
    RunInside([] {
        TickOnce();  // the menus' scene
        EXPECT_EQ(s_GameMode, 0);
        const int frame = s_FrameCounter;
        for (int i = 0; i < 3; ++i) {
            plat::Event move = Make(plat::EventType::MouseMove);
            move.x = i;
            Queue(move);
        }
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(MainLoopPass(), LoopPass::Dispatched);
        }
        EXPECT_EQ(s_FrameCounter, frame);
        EXPECT_EQ(MainLoopPass(), LoopPass::Ticked);
        EXPECT_EQ(MainLoopPass(), LoopPass::Ticked);
        EXPECT_EQ(s_FrameCounter, frame + 2);
    });
}

TEST_F(MainLoopTest, AScriptedRunDrawsAndPresentsEveryFrameOnlyWhenAsked)
{
    constexpr long FRAMES = 30;
    const std::uint64_t first = plat::headless::LastFrame().serial;
    EXPECT_EQ(RunFrames(FRAMES), 0);
    const std::uint64_t exposedOnly = plat::headless::LastFrame().serial - first;
    EXPECT_LT(exposedOnly, static_cast<std::uint64_t>(FRAMES));

    const std::uint64_t second = plat::headless::LastFrame().serial;
    EXPECT_EQ(RunFrames(FRAMES, true), 0);
    EXPECT_EQ(plat::headless::LastFrame().serial - second, static_cast<std::uint64_t>(FRAMES));
}

TEST_F(MainLoopTest, NothingRunsWhileInactiveAndReactivationRefreshesTheMouse)
{
    RunInside([] {
        TickOnce();
        QueueVoice(u"data\\sfx\\none.wav", false);
        // A looping sound: the mixer waits with the loop while the window is inactive.
        const std::vector<std::int16_t> samples(100, 1000);
        plat::AudioBuffer tone = 0;
        ASSERT_EQ(plat::AudioCreateBuffer({1, plat::AUDIO_OUTPUT_RATE, 16, 2}, 200, tone), plat::AudioResult::Ok);
        ASSERT_EQ(plat::AudioWriteBuffer(tone, 0, samples.data(), 200), plat::AudioResult::Ok);
        ASSERT_EQ(plat::AudioPlay(tone, true), plat::AudioResult::Ok);
        plat::headless::MixAudio(30);
        const int frame = s_FrameCounter;
        plat::Event off = Make(plat::EventType::Activate);
        off.active = 0;
        Queue(off);
        EXPECT_EQ(MainLoopPass(), LoopPass::Dispatched);
        EXPECT_EQ(VoiceQueueLength(), 0u);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(MainLoopPass(), LoopPass::Idle);
        }
        EXPECT_EQ(s_FrameCounter, frame);
        EXPECT_EQ(plat::headless::MixAudio(500), std::vector<std::int16_t>(1000, 0));
        std::uint64_t played = 0;
        EXPECT_EQ(plat::AudioGetPlayedBytes(tone, played), plat::AudioResult::Ok);
        EXPECT_EQ(played, 60u);
        // The refresh's synthetic move finds the window under the pointer and enters it.
        ProbeWindow probe;
        plat::headless::SetCursorPos(20, 20);
        plat::Event on = Make(plat::EventType::Activate);
        on.active = 1;
        Queue(on);
        EXPECT_EQ(MainLoopPass(), LoopPass::Dispatched);
        EXPECT_EQ(plat::headless::MixAudio(1)[0], 1000);
        EXPECT_EQ(probe.entries, 1);
        EXPECT_EQ(MainLoopPass(), LoopPass::Ticked);
        plat::AudioReleaseBuffer(tone);
    });
}

// The camera runs the voice queue every frame: with no game scene (the menus) it runs without an actor.
TEST_F(MainLoopTest, VoiceClipsPlayInTheMenusAndUnderTheCamera)
{
    const std::vector<std::uint8_t> splash = test::ConstantWave({1, 11025, 8}, 160, 100);
    const std::vector<std::uint8_t> advice = test::ConstantWave({1, 11025, 8}, 160, 50);
    m_Game.Write("data_en/vo_phys/basic_splash_1a.wav", splash);
    m_Game.Write("data_en/vo_phys/advice.wav", advice);
    RunInside([&] {
        plat::headless::RecordStartedClips();
        TickOnce();  // the menus' scene queues the splash clip; the same frame starts it
        EXPECT_EQ(plat::headless::StartedClips(), std::vector<std::size_t>{splash.size()});

        RequestMode(1);
        TickOnce();
        Actor* camera = SpawnActor(u"camera", 0, FindBehaviour(u"camera"), 0, 0, 0, 0, 0, 0);
        ASSERT_NE(camera, nullptr);
        QueueVoice(u"vo_phys\\advice.wav", true);
        TickOnce();
        EXPECT_EQ(plat::headless::StartedClips(), (std::vector<std::size_t>{splash.size(), advice.size()}));
        EXPECT_NE(camera->m_Flags & ACTOR_FLAG_SUSPENDED, 0u) << "the frame tick alone runs the camera";

        // While a mode switch is pending the camera does nothing, not even the voice queue.
        QueueVoice(u"vo_phys\\advice.wav", true);
        s_RequestedGameMode = 2;
        CameraBehaviour(camera);
        EXPECT_EQ(plat::headless::StartedClips().size(), 2u);
        s_RequestedGameMode = s_GameMode;
        CameraBehaviour(camera);
        EXPECT_EQ(plat::headless::StartedClips().size(), 3u);
    });
}

TEST_F(MainLoopTest, AModeRequestLoadsItsSceneOnce)
{
    RunInside([] {
        EXPECT_EQ(s_GameMode, -1);
        TickOnce();
        EXPECT_EQ(s_GameMode, 0);
        EXPECT_EQ(GetGameDisplay()->m_SceneTag, 0);
        EXPECT_EQ(GetRegistrySettings()->GetInt(u"launchmode"), 0);
        // The splash screen follows a first launch.
        EXPECT_EQ(GetGameDisplay()->m_ScreenId, 11);
        EXPECT_EQ(plat::headless::WindowTitle(), u"Tessel Title");

        RequestMode(1);
        TickOnce();
        EXPECT_EQ(s_GameMode, 1);
        EXPECT_EQ(GetGameDisplay()->m_SceneTag, 1);
        EXPECT_FALSE(IsOnlineLesson());
        EXPECT_EQ(GetRegistrySettings()->GetInt(u"launchmode"), 1);
        // A marker in the texture-name map survives later frames: the scene is not loaded again.
        AddTextureName(u"marker", 5);
        TickOnce();
        TickOnce();
        EXPECT_EQ(GetTextureByName(u"marker"), 5);

        RequestMode(3);
        TickOnce();
        EXPECT_EQ(GetTextureByName(u"marker"), 0);
        EXPECT_TRUE(IsOnlineLesson());
        EXPECT_EQ(GetTableSceneFields().manaBarImages[0], -1);
    });
}

TEST_F(MainLoopTest, ALanguageChangeIsTakenUpAtTheNextSceneLoad)
{
    RunInside([] {
        TickOnce();
        GetLanguageManager()->SetLanguage(LANG_FRENCH, true);
        ASSERT_TRUE(GetLanguageManager()->HasChanged());
        TickOnce();  // the same mode: no scene load
        EXPECT_TRUE(GetLanguageManager()->HasChanged());
        RequestMode(0);
        TickOnce();
        EXPECT_FALSE(GetLanguageManager()->HasChanged());
        EXPECT_EQ(GetLanguageManager()->GetDataFolder(), u"data_fr\\");
    });
}

TEST_F(MainLoopTest, ASceneWhoseDisplayCannotStartIsNotLoaded)
{
    const int code = RunInside([] {
        plat::headless::SetDisplayDeviceAvailable(false);
        EXPECT_EQ(MainLoopPass(), LoopPass::Idle);
        EXPECT_EQ(s_GameMode, -1);
        EXPECT_EQ(s_bSceneReady, 0);
        EXPECT_EQ(s_FrameCounter, 0);
        EXPECT_EQ(MainLoopPass(), LoopPass::Quit);
    });
    EXPECT_EQ(code, 1);
    ASSERT_EQ(plat::headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(plat::headless::MessageBoxes()[0].caption, u"Initialization Error");
}

std::vector<int> s_ClicksSeen;

void RecordClicks(Actor* /*actor*/)
{
    s_ClicksSeen.push_back(MouseState.leftClicked);
}

TEST_F(MainLoopTest, AClickWithinOneFrameIsSeenForExactlyOneTick)
{
    s_ClicksSeen.clear();
    RunInside([] {
        RequestMode(1);
        TickOnce();
        SpawnActor(u"watcher", 0, RecordClicks, 0, 0, 0, 0, 0, 0);
        TickOnce();
        Queue(Button(plat::EventType::ButtonDown, plat::BUTTON_LEFT));
        Queue(Button(plat::EventType::ButtonUp, plat::BUTTON_LEFT));
        TickOnce();
        TickOnce();
        EXPECT_EQ(MouseState.leftHeld, 0);
    });
    EXPECT_EQ(s_ClicksSeen, (std::vector<int>{0, 1, 0}));
}

TEST_F(MainLoopTest, FrameStepIsFiniteAndAtLeastOne)
{
    struct Case {
        float fps;
        float step;
        int stepInt;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<Case> cases = {{0.0f, 1.0f, 1},  {-5.0f, 1.0f, 1}, {std::nanf(""), 1.0f, 1},
                                     {inf, 1.0f, 1},   {30.0f, 2.0f, 2}, {90.0f, 1.0f, 1},
                                     {60.0f, 1.0f, 1}, {24.0f, 2.5f, 2}, {1e-30f, 6e31f, std::numeric_limits<int>::max()}};
    RunInside([&cases] {
        TickOnce();
        for (const Case& c : cases) {
            s_FramesPerSecond = c.fps;
            TickOnce();
            EXPECT_FLOAT_EQ(s_FrameStep, c.step) << c.fps;
            EXPECT_EQ(s_FrameStepInt, c.stepInt) << c.fps;
        }
    });
}

TEST_F(MainLoopTest, WindowProcedureRecordsTheMouse)
{
    RunInside([] {
        TickOnce();
        // The toolkit is offered every event first.
        {
            ProbeWindow probe;
            plat::Event over = Make(plat::EventType::MouseMove);
            over.x = over.y = 30;
            MainWndProc(over);
            EXPECT_EQ(probe.inputs, 1);
        }
        // A captured drag left of and above the window stays negative.
        Queue(Button(plat::EventType::ButtonDown, plat::BUTTON_LEFT, 5, 5));
        plat::Event move = Make(plat::EventType::MouseMove);
        move.x = -30;
        move.y = -4;
        Queue(move);
        MainLoopPass();
        EXPECT_TRUE(plat::headless::MouseCaptured());
        MainLoopPass();
        EXPECT_EQ(MouseState.x, -30);
        EXPECT_EQ(MouseState.y, -4);

        // The right button's release keeps the capture while the left is held, and the left's releases it.
        Queue(Button(plat::EventType::ButtonDown, plat::BUTTON_RIGHT));
        Queue(Button(plat::EventType::ButtonUp, plat::BUTTON_RIGHT));
        MainLoopPass();
        MainLoopPass();
        EXPECT_TRUE(plat::headless::MouseCaptured());
        EXPECT_EQ(MouseState.rightClicked, 1);
        Queue(Button(plat::EventType::ButtonUp, plat::BUTTON_LEFT));
        MainLoopPass();
        EXPECT_FALSE(plat::headless::MouseCaptured());

        // Two wheel notches in one frame: the last one counts.
        plat::Event wheel = Make(plat::EventType::Wheel);
        wheel.wheel = 1;
        Queue(wheel);
        wheel.wheel = -2;
        Queue(wheel);
        MainLoopPass();
        MainLoopPass();
        EXPECT_EQ(MouseState.wheel, -2);
        TickOnce();
        EXPECT_EQ(MouseState.wheel, 0);
        EXPECT_EQ(MouseState.rightClicked, 0);

        // The middle button's release keeps the capture.
        Queue(Button(plat::EventType::ButtonDown, plat::BUTTON_MIDDLE));
        Queue(Button(plat::EventType::ButtonUp, plat::BUTTON_MIDDLE));
        MainLoopPass();
        MainLoopPass();
        EXPECT_TRUE(plat::headless::MouseCaptured());
        EXPECT_EQ(MouseState.middleHeld, 0);

        // Deactivation drops the held buttons and the capture.
        Queue(Button(plat::EventType::ButtonDown, plat::BUTTON_LEFT));
        plat::Event off = Make(plat::EventType::Activate);
        Queue(off);
        MainLoopPass();
        MainLoopPass();
        EXPECT_EQ(MouseState.leftHeld, 0);
        EXPECT_FALSE(plat::headless::MouseCaptured());
    });
}

TEST_F(MainLoopTest, TypedCharactersReachTheOpenConsoleAndCtrlUIsTheOnlineUndo)
{
    RunInside([] {
        TickOnce();
        plat::Event ch = Make(plat::EventType::Char);
        ch.ch = u'a';
        MainWndProc(ch);
        EXPECT_EQ(NextConsoleChar(), 0);  // not enabled
        s_bConsoleEnabled = true;
        ch.ch = u'`';
        MainWndProc(ch);
        EXPECT_TRUE(s_bConsoleOpen);
        ch.ch = u'a';
        MainWndProc(ch);
        ch.ch = 0x1E9;  // kept whole: the console decides what it can draw
        MainWndProc(ch);
        ch.ch = 21;
        MainWndProc(ch);
        EXPECT_EQ(NextConsoleChar(), 'a');
        EXPECT_EQ(NextConsoleChar(), 0x1E9);
        EXPECT_EQ(NextConsoleChar(), 0);
        EXPECT_FALSE(TakePaymentUndoRequest());  // physical lesson: dropped

        RequestMode(3);
        TickOnce();
        MainWndProc(ch);
        EXPECT_TRUE(TakePaymentUndoRequest());
        EXPECT_EQ(NextConsoleChar(), 0);
    });
}

TEST_F(MainLoopTest, AnOpenConsoleIsPresentedEveryFrameAndTakesItsEditingKeys)
{
    RunInside([] {
        TickOnce();
        TickOnce();
        // Nothing asked for a redraw: the frame is not presented again.
        const std::uint64_t shown = plat::headless::LastFrame().serial;
        TickOnce();
        EXPECT_EQ(plat::headless::LastFrame().serial, shown);

        s_bConsoleEnabled = true;
        plat::Event ch = Make(plat::EventType::Char);
        ch.ch = u'`';
        MainWndProc(ch);
        TickOnce();  // a new line
        for (const char16_t typed : {u'a', u'b'}) {
            ch.ch = typed;
            MainWndProc(ch);
        }
        plat::Event key = Make(plat::EventType::KeyDown);
        key.key = plat::KEY_LEFT;
        MainWndProc(key);
        // The pound sign has the End key's number: it neither moves the cursor nor, having no glyph, is text.
        for (const char16_t typed : {u'\u00A3', u'c'}) {
            ch.ch = typed;
            MainWndProc(ch);
        }
        key.key = plat::KEY_HOME;
        MainWndProc(key);
        key.key = plat::KEY_DELETE;
        MainWndProc(key);
        key.key = plat::KEY_F1;  // no editing key
        MainWndProc(key);
        const std::uint64_t before = plat::headless::LastFrame().serial;
        TickOnce();
        TickOnce();
        EXPECT_EQ(ConsoleLineText(GetConsole().input), u"cb");
        EXPECT_EQ(GetConsole().cursor, 0);
        EXPECT_EQ(plat::headless::LastFrame().serial, before + 2);
        // Closed, the editing keys go nowhere.
        ch.ch = u'`';
        MainWndProc(ch);
        key.key = plat::KEY_END;
        MainWndProc(key);
        EXPECT_EQ(NextConsoleChar(), 0);
    });
}

TEST_F(MainLoopTest, TheCursorIsAHandOverClickableWindowsAndWindowsReloadAfterADeviceLoss)
{
    RunInside([] {
        TickOnce();
        ProbeWindow backdrop;
        GUI_Window button(1);
        button.SetRect(100, 100, 140, 120, false);
        GetGUIManager()->RegisterWindow(&button);
        const auto moveTo = [](int x, int y) {
            plat::Event move = Make(plat::EventType::MouseMove);
            move.x = x;
            move.y = y;
            MainWndProc(move);
        };
        moveTo(110, 110);
        EXPECT_EQ(plat::headless::CurrentCursorShape(), plat::CursorShape::Hand);
        moveTo(20, 20);
        EXPECT_EQ(plat::headless::CurrentCursorShape(), plat::CursorShape::Arrow);

        // A button going away under a still mouse gives the arrow back through the manager's changed callback.
        moveTo(110, 110);
        plat::headless::SetCursorPos(110, 110);
        GetGUIManager()->UnregisterWindow(&button);
        GetGUIManager()->CallChangedCallback();
        EXPECT_EQ(plat::headless::CurrentCursorShape(), plat::CursorShape::Arrow);
        // Outside the client area nothing is chosen.
        EXPECT_FALSE(GetGameDisplay()->UpdateCursor(-1, 5, false));

        // The display's reload after a device loss reaches every registered window once.
        GetGameDisplay()->ReloadAllTextures();
        EXPECT_EQ(backdrop.devicesLost, 1);
        EXPECT_EQ(backdrop.reloads, 1);
    });
}

TEST_F(MainLoopTest, SizeAndMoveKeepTheWindowRectangles)
{
    RunInside([] {
        TickOnce();
        plat::Event size = Make(plat::EventType::Size);
        size.width = 900;
        size.height = 650;
        MainWndProc(size);
        EXPECT_EQ(s_ClientWidth, 900);
        EXPECT_EQ(s_WindowRect.right - s_WindowRect.left, 1004);  // the headless window takes it when polled
        size.sizeType = SIZE_MAXIMIZED;
        MainWndProc(size);
        EXPECT_EQ(s_bWinMax, 1);
        const plat::Rect before = s_WindowRect;
        MainWndProc(Make(plat::EventType::Move));
        EXPECT_EQ(s_RestoreRect.right, 0);  // maximised: the restore rectangle is kept
        size.sizeType = SIZE_RESTORED;
        MainWndProc(size);
        EXPECT_EQ(s_bWinMax, 0);
        MainWndProc(Make(plat::EventType::Move));
        EXPECT_EQ(s_RestoreRect.right, before.right);
    });
}

TEST_F(MainLoopTest, PhaseNamesAreCutTo37UnitsAndMissingKeysLeaveEmptySlots)
{
    RunInside([] {
        RequestMode(1);
        TickOnce();
        const auto& names = GetGameDisplay()->m_PhaseNames;
        EXPECT_EQ(std::u16string(names[0].data()), u"Untap");
        EXPECT_EQ(std::u16string(names[1].data()), u"");
        EXPECT_EQ(std::u16string(names[3].data()), u"Main");
        EXPECT_EQ(std::u16string(names[4].data()).size(), 37u);
        EXPECT_EQ(names[4][37], 0);
        EXPECT_EQ(std::u16string(names[11].data()), u"");  // PHYS_PHASE_EOT is not in the table
        RequestMode(4);
        TickOnce();
        EXPECT_EQ(std::u16string(names[0].data()), u"Untap step");
        EXPECT_EQ(std::u16string(names[1].data()), u"");
        // The phase bar reads the display's slots.
        EXPECT_EQ(GetGameDisplay()->m_PhaseNames, names);
    });
}

} // namespace
