// The SDL2 backend: a real window, mouse and keyboard, frames shown through a streaming texture of the back
// buffer's own 16-bit format. Display modes are reported, never switched.
#include "platform/AudioDevice.h"
#include "platform/Backend.h"

#include <SDL.h>

#include <cstdlib>
#include <deque>

namespace plat {

namespace {

int ToVirtualKey(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return KEY_F1 + (key - SDLK_F1);
    switch (key) {
    case SDLK_BACKSPACE: return KEY_BACK;
    case SDLK_TAB: return KEY_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return KEY_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return KEY_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return KEY_CONTROL;
    case SDLK_ESCAPE: return KEY_ESCAPE;
    case SDLK_SPACE: return KEY_SPACE;
    case SDLK_PAGEUP: return KEY_PRIOR;
    case SDLK_PAGEDOWN: return KEY_NEXT;
    case SDLK_END: return KEY_END;
    case SDLK_HOME: return KEY_HOME;
    case SDLK_LEFT: return KEY_LEFT;
    case SDLK_UP: return KEY_UP;
    case SDLK_RIGHT: return KEY_RIGHT;
    case SDLK_DOWN: return KEY_DOWN;
    case SDLK_DELETE: return KEY_DELETE;
    case SDLK_BACKQUOTE: return KEY_OEM_3;
    default: return 0;
    }
}

// Keys that type a control character as well as pressing a key, as a character message would carry them.
char16_t ControlCharacter(SDL_Keycode key)
{
    switch (key) {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_ESCAPE: return 27;
    default: return 0;
    }
}

int ToButton(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return BUTTON_LEFT;
    case SDL_BUTTON_RIGHT: return BUTTON_RIGHT;
    case SDL_BUTTON_MIDDLE: return BUTTON_MIDDLE;
    default: return 0;
    }
}

std::uint32_t HeldState()
{
    int x = 0;
    int y = 0;
    const Uint32 buttons = SDL_GetMouseState(&x, &y);
    const SDL_Keymod mods = SDL_GetModState();
    std::uint32_t state = 0;
    if (buttons & SDL_BUTTON(SDL_BUTTON_LEFT))
        state |= MK_LBUTTON;
    if (buttons & SDL_BUTTON(SDL_BUTTON_RIGHT))
        state |= MK_RBUTTON;
    if (buttons & SDL_BUTTON(SDL_BUTTON_MIDDLE))
        state |= MK_MBUTTON;
    if (mods & KMOD_SHIFT)
        state |= MK_SHIFT;
    if (mods & KMOD_CTRL)
        state |= MK_CONTROL;
    return state;
}

class SdlBackend final : public Backend {
public:
    bool Start() override
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            OutputDebugStringA(std::string("SDL could not start: ") + SDL_GetError() + "\n");
            return false;
        }
        return true;
    }

    void Stop() override
    {
        for (SDL_Cursor** cursor : {&m_arrowCursor, &m_handCursor}) {
            if (*cursor != nullptr)
                SDL_FreeCursor(*cursor);
            *cursor = nullptr;
        }
        DestroyWindow();
        audio_device::Close();
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        SDL_Quit();
    }

    std::uint32_t Time() override { return MonotonicMilliseconds(); }

    void Sleep(std::uint32_t ms) override { SDL_Delay(ms); }

    void LocalClock(int& hours, int& minutes, int& seconds) override { WallClock(hours, minutes, seconds); }

    int ShowMessageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t flags) override
    {
        const std::string message = ToUtf8(text);
        const std::string title = ToUtf8(caption);
        OutputDebugStringA(title + ": " + message + "\n");

        std::vector<SDL_MessageBoxButtonData> buttons;
        switch (flags & 0xF) {
        case MB_OKCANCEL:
            buttons = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
                       {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"}};
            break;
        case MB_YESNO:
            buttons = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
                       {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"}};
            break;
        default:
            buttons = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"}};
            break;
        }
        Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
        if ((flags & 0xF0) == MB_ICONERROR)
            kind = SDL_MESSAGEBOX_ERROR;
        else if ((flags & 0xF0) == MB_ICONEXCLAMATION)
            kind = SDL_MESSAGEBOX_WARNING;

        SDL_MessageBoxData data{};
        data.flags = kind;
        data.window = m_window;
        data.title = title.c_str();
        data.message = message.c_str();
        data.numbuttons = static_cast<int>(buttons.size());
        data.buttons = buttons.data();
        int chosen = buttons.front().buttonid;
        if (SDL_ShowMessageBox(&data, &chosen) != 0) {
            OutputDebugStringA(std::string("SDL could not show the message box: ") + SDL_GetError() + "\n");
            chosen = -1;
        }
        if (chosen < 0) {
            // No box could be shown, or it was closed: the escape button's answer.
            chosen = buttons.back().buttonid;
        }
        return chosen;
    }

    int SpawnAndWait(std::u16string_view program, const std::vector<std::u16string>& args) override
    {
        std::vector<std::string> native;
        for (const std::u16string& arg : args)
            native.push_back(ToUtf8(arg));
        return SpawnProcessAndWait(NativePath(program), native);
    }

    bool ShellOpen(std::u16string_view target) override
    {
        const std::string native = ToUtf8(target);
        const bool isAddress = native.find("://") != std::string::npos;
        if (isAddress)
            return SpawnProcessDetached("xdg-open", {native});
        return SpawnProcessDetached(NativePath(target), {});
    }

    bool StartProcess(std::u16string_view program, const std::vector<std::u16string>& args,
                      std::u16string_view workingFolder) override
    {
        std::vector<std::string> native;
        for (const std::u16string& arg : args)
            native.push_back(ToUtf8(arg));
        return SpawnProcessDetached(NativePath(program), native,
                                    workingFolder.empty() ? std::string() : NativePath(workingFolder));
    }

    bool OpenFolder(std::u16string_view folder) override
    {
        return IsDirectory(folder) && SpawnProcessDetached("xdg-open", {NativePath(folder)});
    }

    void SystemLocale(std::u16string& languageName, int& codePage) override
    {
        const std::string locale = SystemLocaleString();
        languageName = LanguageNameFromLocale(locale);
        codePage = AnsiCodePageFromLocale(locale);
    }

    std::u16string LocaleLanguageName() override
    {
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* value = std::getenv(variable);
            if (value != nullptr && *value != '\0')
                return LanguageNameFromLocale(value);
        }
        return u"English";
    }

    bool DesktopMode(DisplayMode& out) override
    {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
            return false;
        out = Sixteen(mode.w, mode.h, mode.refresh_rate);
        return true;
    }

    bool EnumMode(int index, DisplayMode& out) override
    {
        SDL_DisplayMode mode{};
        if (index >= SDL_GetNumDisplayModes(0) || SDL_GetDisplayMode(0, index, &mode) != 0)
            return false;
        out = Sixteen(mode.w, mode.h, mode.refresh_rate);
        return true;
    }

    bool ChangeMode(const DisplayMode&) override { return true; }
    bool DeviceAvailable() override { return true; }

    ScreenMetrics Metrics() override
    {
        ScreenMetrics metrics{};
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
            metrics.width = mode.w;
            metrics.height = mode.h;
        }
        SDL_Rect usable{};
        if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
            metrics.fullScreenWidth = usable.w;
            metrics.fullScreenHeight = usable.h;
        } else {
            metrics.fullScreenWidth = metrics.width;
            metrics.fullScreenHeight = metrics.height;
        }
        return metrics;
    }

    std::uint32_t MultimediaVersion() override { return 0x700; }

    bool CreateWindow(const WindowDesc& desc) override
    {
        DestroyWindow();
        Uint32 flags = desc.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
        if (desc.resizable)
            flags |= SDL_WINDOW_RESIZABLE;
        if (desc.maximized && desc.maximizeBox)
            flags |= SDL_WINDOW_MAXIMIZED;
        const int x = desc.centred ? SDL_WINDOWPOS_CENTERED : desc.x;
        const int y = desc.centred ? SDL_WINDOWPOS_CENTERED : desc.y;
        m_window = SDL_CreateWindow(ToUtf8(desc.title).c_str(), x, y, desc.width, desc.height, flags);
        if (m_window == nullptr) {
            OutputDebugStringA(std::string("SDL could not create the window: ") + SDL_GetError() + "\n");
            return false;
        }
        if (desc.resizable)
            SDL_SetWindowMinimumSize(m_window, 800, 600);
        SetIcon(desc);
        // The frame is already drawn in software; the software renderer only converts and copies it, and needs
        // no graphics driver.
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
        SDL_StartTextInput();
        return m_renderer != nullptr;
    }

    void DestroyWindow() override
    {
        if (m_texture != nullptr)
            SDL_DestroyTexture(m_texture);
        if (m_renderer != nullptr)
            SDL_DestroyRenderer(m_renderer);
        if (m_window != nullptr)
            SDL_DestroyWindow(m_window);
        m_texture = nullptr;
        m_renderer = nullptr;
        m_window = nullptr;
        m_textureWidth = m_textureHeight = 0;
    }

    bool HasWindow() override { return m_window != nullptr; }

    void Minimize(bool minimize) override
    {
        if (m_window == nullptr)
            return;
        if (minimize)
            SDL_MinimizeWindow(m_window);
        else
            SDL_RestoreWindow(m_window);
    }

    void SetTitle(std::u16string_view title) override
    {
        if (m_window != nullptr)
            SDL_SetWindowTitle(m_window, ToUtf8(title).c_str());
    }

    void Show(bool show) override
    {
        if (m_window == nullptr)
            return;
        if (show)
            SDL_ShowWindow(m_window);
        else
            SDL_HideWindow(m_window);
    }

    void Raise() override
    {
        if (m_window == nullptr)
            return;
        if (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MINIMIZED)
            SDL_RestoreWindow(m_window);
        SDL_RaiseWindow(m_window);
    }

    // What CreateWindow would be asked for to put the window back: SDL sizes a window by its client area, but a
    // window manager places the frame's corner at the position asked for, so the corner is the client's less the
    // frame's left and top borders (none when the manager does not tell them).
    Rect WindowRect() override
    {
        if (m_window == nullptr)
            return {};
        int x = 0;
        int y = 0;
        int w = 0;
        int h = 0;
        SDL_GetWindowPosition(m_window, &x, &y);
        SDL_GetWindowSize(m_window, &w, &h);
        int top = 0;
        int left = 0;
        if (SDL_GetWindowBordersSize(m_window, &top, &left, nullptr, nullptr) == 0) {
            x -= left;
            y -= top;
        }
        return {x, y, x + w, y + h};
    }

    void ClientSize(int& width, int& height) override
    {
        width = height = 0;
        if (m_window != nullptr)
            SDL_GetWindowSize(m_window, &width, &height);
    }

    bool IsMaximized() override
    {
        return m_window != nullptr && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MAXIMIZED) != 0;
    }

    void SetCapture(bool capture) override { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }
    void SetCursorVisible(bool show) override { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

    void SetCursorShape(CursorShape shape) override
    {
        SDL_Cursor*& cursor = shape == CursorShape::Hand ? m_handCursor : m_arrowCursor;
        if (cursor == nullptr)
            cursor = SDL_CreateSystemCursor(shape == CursorShape::Hand ? SDL_SYSTEM_CURSOR_HAND : SDL_SYSTEM_CURSOR_ARROW);
        if (cursor != nullptr)
            SDL_SetCursor(cursor);
    }

    std::uint32_t HeldKeys() override { return HeldState(); }

    void CursorPos(int& x, int& y) override
    {
        int globalX = 0;
        int globalY = 0;
        SDL_GetGlobalMouseState(&globalX, &globalY);
        int windowX = 0;
        int windowY = 0;
        if (m_window != nullptr)
            SDL_GetWindowPosition(m_window, &windowX, &windowY);
        x = globalX - windowX;
        y = globalY - windowY;
    }

    bool Poll(Event& out) override
    {
        ReapDetachedProcesses();
        if (!m_pending.empty())
            return TakePending(out);
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            Translate(event);
            if (!m_pending.empty())
                return TakePending(out);
        }
        return false;
    }

    bool Wait(Event& out) override
    {
        while (m_pending.empty()) {
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, 100) != 0)
                Translate(event);
            ReapDetachedProcesses();
        }
        return TakePending(out);
    }

    void Post(const Event& event) override { m_pending.push_back(event); }

    void Present(const std::uint16_t* pixels, int width, int height, int pitchBytes, PixelFormat format) override
    {
        if (m_renderer == nullptr)
            return;
        const Uint32 sdlFormat = format == PixelFormat::Rgb565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB555;
        if (m_texture == nullptr || width != m_textureWidth || height != m_textureHeight || sdlFormat != m_format) {
            if (m_texture != nullptr)
                SDL_DestroyTexture(m_texture);
            m_texture = SDL_CreateTexture(m_renderer, sdlFormat, SDL_TEXTUREACCESS_STREAMING, width, height);
            m_textureWidth = width;
            m_textureHeight = height;
            m_format = sdlFormat;
            if (m_texture == nullptr)
                return;
        }
        SDL_UpdateTexture(m_texture, nullptr, pixels, pitchBytes);
        SDL_RenderClear(m_renderer);
        // The frame is drawn at its own size in the top left corner, as the client area shows the back buffer.
        const SDL_Rect target{0, 0, width, height};
        SDL_RenderCopy(m_renderer, m_texture, nullptr, &target);
        SDL_RenderPresent(m_renderer);
    }

private:
    void SetIcon(const WindowDesc& desc)
    {
        const auto pixelCount = static_cast<std::size_t>(desc.iconWidth) * static_cast<std::size_t>(desc.iconHeight);
        if (desc.iconWidth <= 0 || desc.iconHeight <= 0 || desc.iconPixels.size() != pixelCount)
            return;
        std::vector<std::uint32_t> pixels(desc.iconPixels);
        for (std::uint32_t& pixel : pixels)
            pixel |= 0xFF000000u;
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), desc.iconWidth, desc.iconHeight, 32,
                                                                  desc.iconWidth * 4, SDL_PIXELFORMAT_ARGB8888);
        if (surface == nullptr)
            return;
        SDL_SetWindowIcon(m_window, surface);
        SDL_FreeSurface(surface);
    }

    static DisplayMode Sixteen(int width, int height, int refresh)
    {
        return {width, height, 16, refresh, 0xF800, 0x07E0, 0x001F};
    }

    bool TakePending(Event& out)
    {
        out = m_pending.front();
        m_pending.pop_front();
        return true;
    }

    void Translate(const SDL_Event& event)
    {
        Event out;
        switch (event.type) {
        case SDL_QUIT:
            out.type = EventType::Quit;
            break;
        case SDL_MOUSEMOTION:
            out.type = EventType::MouseMove;
            out.x = event.motion.x;
            out.y = event.motion.y;
            out.keyState = HeldState();
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            out.button = ToButton(event.button.button);
            if (out.button == 0)
                return;
            out.type = event.type == SDL_MOUSEBUTTONUP ? EventType::ButtonUp
                       : event.button.clicks >= 2 ? EventType::DoubleClick
                                                  : EventType::ButtonDown;
            out.x = event.button.x;
            out.y = event.button.y;
            out.keyState = HeldState();
            break;
        case SDL_MOUSEWHEEL: {
            out.type = EventType::Wheel;
            out.wheel = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            int x = 0;
            int y = 0;
            SDL_GetMouseState(&x, &y);
            out.x = x;
            out.y = y;
            out.keyState = HeldState();
            break;
        }
        case SDL_TEXTINPUT:
            for (const char16_t unit : FromUtf8(event.text.text)) {
                Event character;
                character.type = EventType::Char;
                character.ch = unit;
                m_pending.push_back(character);
            }
            return;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            out.type = event.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
            out.key = ToVirtualKey(event.key.keysym.sym);
            if (out.key == 0)
                return;
            m_pending.push_back(out);
            if (event.type == SDL_KEYDOWN) {
                if (const char16_t control = ControlCharacter(event.key.keysym.sym); control != 0) {
                    Event character;
                    character.type = EventType::Char;
                    character.ch = control;
                    m_pending.push_back(character);
                } else if ((event.key.keysym.mod & KMOD_CTRL) && out.key >= 'A' && out.key <= 'Z') {
                    Event character;
                    character.type = EventType::Char;
                    character.ch = static_cast<char16_t>(out.key - 'A' + 1);
                    m_pending.push_back(character);
                }
            }
            return;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
            case SDL_WINDOWEVENT_FOCUS_GAINED:
            case SDL_WINDOWEVENT_FOCUS_LOST:
                out.type = EventType::Activate;
                out.active = event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ? 1 : 0;
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                out.type = EventType::Size;
                out.width = event.window.data1;
                out.height = event.window.data2;
                out.sizeType = IsMaximized() ? 2 : 0;
                break;
            case SDL_WINDOWEVENT_MINIMIZED:
                out.type = EventType::Size;
                out.sizeType = 1;
                break;
            case SDL_WINDOWEVENT_MAXIMIZED:
            case SDL_WINDOWEVENT_RESTORED:
                out.type = EventType::Size;
                ClientSize(out.width, out.height);
                out.sizeType = event.window.event == SDL_WINDOWEVENT_MAXIMIZED ? 2 : 0;
                break;
            case SDL_WINDOWEVENT_MOVED:
                out.type = EventType::Move;
                out.x = event.window.data1;
                out.y = event.window.data2;
                break;
            case SDL_WINDOWEVENT_EXPOSED:
                out.type = EventType::Paint;
                break;
            case SDL_WINDOWEVENT_CLOSE:
                out.type = EventType::Quit;
                break;
            default:
                return;
            }
            break;
        default:
            return;
        }
        m_pending.push_back(out);
    }

    SDL_Window* m_window = nullptr;
    SDL_Cursor* m_arrowCursor = nullptr;
    SDL_Cursor* m_handCursor = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int m_textureWidth = 0;
    int m_textureHeight = 0;
    Uint32 m_format = 0;
    std::deque<Event> m_pending;
};

} // namespace

std::unique_ptr<Backend> MakeSdlBackend()
{
    return std::make_unique<SdlBackend>();
}

} // namespace plat
