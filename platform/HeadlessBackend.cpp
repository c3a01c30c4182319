// The headless backend: no window and no devices. Whatever the system would report comes from controls that
// tests and scripted runs set (platform/Headless.h); frames are kept for reading.
#include "platform/Backend.h"
#include "platform/Headless.h"

#include <deque>

namespace plat {

namespace {

constexpr DisplayMode DEFAULT_DESKTOP = {1024, 768, 16, 60, 0xF800, 0x07E0, 0x001F};

struct HeadlessState {
    DisplayMode desktop = DEFAULT_DESKTOP;
    bool desktopKnown = true;
    std::vector<DisplayMode> modes = {DEFAULT_DESKTOP};
    std::vector<DisplayMode> modeChanges;
    bool deviceAvailable = true;
    ScreenMetrics metrics = {1024, 768, 1024, 740};
    std::uint32_t multimediaVersion = 0x700;
    std::u16string localeName = u"English";
    std::u16string systemLocaleName = u"English";
    int systemCodePage = 1252;
    std::uint32_t time = 0;

    std::deque<int> messageBoxAnswers;
    std::vector<headless::MessageBoxRecord> messageBoxes;
    std::deque<int> spawnResults;
    headless::SpawnHook spawnHook = nullptr;
    std::vector<headless::SpawnRecord> spawns;

    std::deque<Event> events;
    int cursorX = 0;
    int cursorY = 0;
    bool captured = false;
    bool cursorShown = true;
    CursorShape cursorShape = CursorShape::Arrow;
    // Buttons and modifier keys as the taken events left them.
    std::uint32_t heldKeys = 0;

    bool hasWindow = false;
    bool visible = false;
    bool maximized = false;
    bool minimized = false;
    WindowDesc window;
    std::u16string title;
    int raiseCount = 0;

    headless::Frame frame;
};

std::uint32_t ButtonBit(int button)
{
    switch (button) {
    case BUTTON_LEFT:
        return MK_LBUTTON;
    case BUTTON_RIGHT:
        return MK_RBUTTON;
    case BUTTON_MIDDLE:
        return MK_MBUTTON;
    default:
        return 0;
    }
}

std::uint32_t KeyBit(int key)
{
    return key == KEY_SHIFT ? MK_SHIFT : key == KEY_CONTROL ? MK_CONTROL : 0;
}

void TrackHeldKeys(std::uint32_t& held, const Event& event)
{
    switch (event.type) {
    case EventType::ButtonDown:
    case EventType::DoubleClick:
        held |= ButtonBit(event.button);
        break;
    case EventType::ButtonUp:
        held &= ~ButtonBit(event.button);
        break;
    case EventType::KeyDown:
        held |= KeyBit(event.key);
        break;
    case EventType::KeyUp:
        held &= ~KeyBit(event.key);
        break;
    default:
        break;
    }
}

HeadlessState& State()
{
    static HeadlessState s_state;
    return s_state;
}

int NextSpawnResult(std::u16string_view program)
{
    HeadlessState& state = State();
    if (!state.spawnResults.empty()) {
        const int result = state.spawnResults.front();
        state.spawnResults.pop_front();
        return result;
    }
    if (state.spawnHook != nullptr)
        return state.spawnHook(state.spawns.back());
    return IsReadable(program) ? 0 : -1;
}

class HeadlessBackend final : public Backend {
public:
    bool Start() override { return true; }
    void Stop() override
    {
        State().hasWindow = false;
        State().visible = false;
    }

    std::uint32_t Time() override { return State().time; }
    void Sleep(std::uint32_t ms) override { State().time += ms; }
    // The stepped clock counted from midnight, so that a replayed run shows the same times.
    void LocalClock(int& hours, int& minutes, int& seconds) override
    {
        const std::uint32_t daySeconds = State().time / 1000u % 86400u;
        hours = static_cast<int>(daySeconds / 3600u);
        minutes = static_cast<int>(daySeconds / 60u % 60u);
        seconds = static_cast<int>(daySeconds % 60u);
    }

    int ShowMessageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t flags) override
    {
        HeadlessState& state = State();
        state.messageBoxes.push_back({std::u16string(text), std::u16string(caption), flags});
        // Nobody sees a headless box: what it says goes to the log, as the real backend's does too.
        OutputDebugStringA(ToUtf8(caption) + ": " + ToUtf8(text) + "\n");
        if (!state.messageBoxAnswers.empty()) {
            const int answer = state.messageBoxAnswers.front();
            state.messageBoxAnswers.pop_front();
            return answer;
        }
        return (flags & 0xF) == MB_YESNO ? IDYES : IDOK;
    }

    int SpawnAndWait(std::u16string_view program, const std::vector<std::u16string>& args) override
    {
        Record(program, args, true, {}, false);
        return NextSpawnResult(program);
    }

    bool ShellOpen(std::u16string_view target) override
    {
        Record(target, {}, false, {}, false);
        return NextSpawnResult(target) >= 0;
    }

    bool StartProcess(std::u16string_view program, const std::vector<std::u16string>& args,
                      std::u16string_view workingFolder) override
    {
        Record(program, args, false, workingFolder, false);
        return NextSpawnResult(program) >= 0;
    }

    bool OpenFolder(std::u16string_view folder) override
    {
        Record(folder, {}, false, {}, true);
        HeadlessState& state = State();
        if (!state.spawnResults.empty() || state.spawnHook != nullptr)
            return NextSpawnResult(folder) >= 0;
        return IsDirectory(folder);
    }

    std::u16string LocaleLanguageName() override { return State().localeName; }

    void SystemLocale(std::u16string& languageName, int& codePage) override
    {
        languageName = State().systemLocaleName;
        codePage = State().systemCodePage;
    }

    bool DesktopMode(DisplayMode& out) override
    {
        if (!State().desktopKnown)
            return false;
        out = State().desktop;
        return true;
    }

    bool EnumMode(int index, DisplayMode& out) override
    {
        const std::vector<DisplayMode>& modes = State().modes;
        if (index < 0 || static_cast<std::size_t>(index) >= modes.size())
            return false;
        out = modes[static_cast<std::size_t>(index)];
        return true;
    }

    bool ChangeMode(const DisplayMode& mode) override
    {
        State().modeChanges.push_back(mode);
        return true;
    }

    bool DeviceAvailable() override { return State().deviceAvailable; }
    ScreenMetrics Metrics() override { return State().metrics; }
    std::uint32_t MultimediaVersion() override { return State().multimediaVersion; }

    bool CreateWindow(const WindowDesc& desc) override
    {
        HeadlessState& state = State();
        state.hasWindow = true;
        state.window = desc;
        state.title = desc.title;
        state.visible = desc.visible;
        state.maximized = desc.maximized;
        state.minimized = false;
        return true;
    }

    void DestroyWindow() override
    {
        State().hasWindow = false;
        State().visible = false;
        State().minimized = false;
    }

    bool HasWindow() override { return State().hasWindow; }
    void SetTitle(std::u16string_view title) override { State().title = std::u16string(title); }
    void Show(bool show) override { State().visible = State().hasWindow && show; }
    void Raise() override { ++State().raiseCount; }
    void Minimize(bool minimize) override { State().minimized = State().hasWindow && minimize; }

    Rect WindowRect() override
    {
        const WindowDesc& desc = State().window;
        return {desc.x, desc.y, desc.x + desc.width, desc.y + desc.height};
    }

    void ClientSize(int& width, int& height) override
    {
        width = State().window.width;
        height = State().window.height;
    }

    bool IsMaximized() override { return State().maximized; }
    void SetCapture(bool capture) override { State().captured = capture; }
    void SetCursorVisible(bool show) override { State().cursorShown = show; }
    void SetCursorShape(CursorShape shape) override { State().cursorShape = shape; }

    void CursorPos(int& x, int& y) override
    {
        x = State().cursorX;
        y = State().cursorY;
    }

    std::uint32_t HeldKeys() override { return State().heldKeys; }

    bool Poll(Event& out) override
    {
        HeadlessState& state = State();
        if (state.events.empty())
            return false;
        out = state.events.front();
        state.events.pop_front();
        switch (out.type) {
        case EventType::MouseMove:
        case EventType::ButtonDown:
        case EventType::ButtonUp:
        case EventType::DoubleClick:
            state.cursorX = out.x;
            state.cursorY = out.y;
            TrackHeldKeys(state.heldKeys, out);
            // A mouse event carries what is held once it has happened, as the real window's do.
            out.keyState |= state.heldKeys;
            break;
        case EventType::KeyDown:
        case EventType::KeyUp:
            TrackHeldKeys(state.heldKeys, out);
            break;
        case EventType::Size:
            state.window.width = out.width;
            state.window.height = out.height;
            state.maximized = out.sizeType == 2;
            break;
        default:
            break;
        }
        return true;
    }

    bool Wait(Event& out) override { return Poll(out); }
    void Post(const Event& event) override { State().events.push_back(event); }

    void Present(const std::uint16_t* pixels, int width, int height, int pitchBytes, PixelFormat format) override
    {
        headless::Frame& frame = State().frame;
        frame.width = width;
        frame.height = height;
        frame.format = format;
        frame.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        const auto* row = reinterpret_cast<const std::uint8_t*>(pixels);
        for (int y = 0; y < height; ++y) {
            const auto* source = reinterpret_cast<const std::uint16_t*>(row + static_cast<std::size_t>(y) * pitchBytes);
            std::copy(source, source + width, frame.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
        }
        ++frame.serial;
    }

private:
    static void Record(std::u16string_view program, const std::vector<std::u16string>& args, bool wait,
                       std::u16string_view workingFolder, bool folder)
    {
        HeadlessState& state = State();
        state.spawns.push_back(
            {std::u16string(program), args, wait, std::u16string(workingFolder), folder, state.minimized});
    }
};

} // namespace

std::unique_ptr<Backend> MakeHeadlessBackend()
{
    return std::make_unique<HeadlessBackend>();
}

namespace headless {

void Reset()
{
    State() = HeadlessState{};
    ResetAudio();
}

void SetDesktopMode(const DisplayMode& mode, bool known)
{
    State().desktop = mode;
    State().desktopKnown = known;
}

void SetDisplayModes(const std::vector<DisplayMode>& modes)
{
    State().modes = modes;
}

const std::vector<DisplayMode>& ModeChanges()
{
    return State().modeChanges;
}

void SetDisplayDeviceAvailable(bool available)
{
    State().deviceAvailable = available;
}

void SetScreenMetrics(const ScreenMetrics& metrics)
{
    State().metrics = metrics;
}

void SetMultimediaVersion(std::uint32_t version)
{
    State().multimediaVersion = version;
}

void SetUserLocaleLanguageName(std::u16string name)
{
    State().localeName = std::move(name);
}

void SetSystemLocale(std::u16string languageName, int codePage)
{
    State().systemLocaleName = std::move(languageName);
    State().systemCodePage = codePage;
}

void SetTime(std::uint32_t ms)
{
    State().time = ms;
}

void AdvanceTime(std::uint32_t ms)
{
    State().time += ms;
}

void QueueMessageBoxAnswer(int answer)
{
    State().messageBoxAnswers.push_back(answer);
}

const std::vector<MessageBoxRecord>& MessageBoxes()
{
    return State().messageBoxes;
}

void QueueSpawnResult(int exitCodeOrMinusOne)
{
    State().spawnResults.push_back(exitCodeOrMinusOne);
}

void SetSpawnHook(SpawnHook hook)
{
    State().spawnHook = hook;
}

const std::vector<SpawnRecord>& Spawns()
{
    return State().spawns;
}

void QueueEvent(const Event& event)
{
    State().events.push_back(event);
}

std::size_t PendingEvents()
{
    return State().events.size();
}

void SetCursorPos(int x, int y)
{
    State().cursorX = x;
    State().cursorY = y;
}

bool MouseCaptured()
{
    return State().captured;
}

bool CursorShown()
{
    return State().cursorShown;
}

CursorShape CurrentCursorShape()
{
    return State().cursorShape;
}

bool WindowVisible()
{
    return State().visible;
}

std::u16string WindowTitle()
{
    return State().title;
}

WindowDesc LastWindowDesc()
{
    return State().window;
}

bool WindowMinimized()
{
    return State().minimized;
}

int RaiseCount()
{
    return State().raiseCount;
}

const Frame& LastFrame()
{
    return State().frame;
}

bool SaveFrameBmp(const Frame& frame, const std::string& nativePath)
{
    if (frame.width <= 0 || frame.height <= 0)
        return false;
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(frame.width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(frame.height);
    std::vector<std::uint8_t> bmp(54 + imageBytes, 0);
    auto put16 = [&bmp](std::size_t at, std::uint32_t v) {
        bmp[at] = static_cast<std::uint8_t>(v);
        bmp[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&put16](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(frame.width));
    put32(22, static_cast<std::uint32_t>(frame.height));
    put16(26, 1);
    put16(28, 24);
    put32(34, imageBytes);
    const bool is565 = frame.format == PixelFormat::Rgb565;
    for (int y = 0; y < frame.height; ++y) {
        std::uint8_t* out = bmp.data() + 54 + static_cast<std::size_t>(frame.height - 1 - y) * rowBytes;
        for (int x = 0; x < frame.width; ++x) {
            const std::uint16_t p = frame.pixels[static_cast<std::size_t>(y) * frame.width + x];
            const std::uint32_t r = is565 ? (p >> 11) & 31 : (p >> 10) & 31;
            const std::uint32_t g = is565 ? (p >> 5) & 63 : (p >> 5) & 31;
            const std::uint32_t b = p & 31;
            out[x * 3 + 0] = static_cast<std::uint8_t>(b * 255 / 31);
            out[x * 3 + 1] = static_cast<std::uint8_t>(is565 ? g * 255 / 63 : g * 255 / 31);
            out[x * 3 + 2] = static_cast<std::uint8_t>(r * 255 / 31);
        }
    }
    return WriteFileAtomic(FromUtf8(nativePath), bmp.data(), bmp.size());
}

} // namespace headless

} // namespace plat
