// Every service the program takes from the operating system. Nothing above platform/ includes an SDL,
// FreeType or POSIX header; it calls these functions. Both backends (SDL2 and headless) fill the same
// interface at Init; the rest of the program never asks which one runs.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// ---- Start and stop -------------------------------------------------------------------------------------

enum class BackendKind { Headless, Sdl };

// Starts the chosen backend; false when it cannot start (no display for SDL2). Idempotent per kind.
bool Init(BackendKind kind);
// Closes the window and the backend; the file-backed services keep working.
void Shutdown();
BackendKind CurrentBackend();

// ---- Text at the edge ------------------------------------------------------------------------------------

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::u16string FromUtf8(std::string_view text);

// ---- Files and folders -------------------------------------------------------------------------------------

// Paths use '\' as the data writes them. They become '/' here; a component that does not exist with that exact
// case is matched without regard to case within its folder. Relative paths are relative to the current folder.
std::string NativePath(std::u16string_view path);
// True when the file exists and can be opened for reading.
bool IsReadable(std::u16string_view path);
bool IsDirectory(std::u16string_view path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool MakeDirectories(std::u16string_view path);
bool RemoveFile(std::u16string_view path);
// The whole file; false (and out emptied) when it cannot be read.
bool ReadFileBytes(std::u16string_view path, std::vector<std::uint8_t>& out);
// Writes through a temporary file, flush and rename: readers see the old or the new content, never a mix.
bool WriteFileAtomic(std::u16string_view path, const void* data, std::size_t size);
// The process's current folder (UTF-8, native form) and changing it.
std::string GetCurrentFolder();
bool SetCurrentFolder(const std::string& nativePath);
// The folder that holds the running executable (native form, no trailing '/').
std::string ExecutableFolder();

// A file opened for reading or writing ("rb", "wb", "ab", "r+b"), closed by its destructor.
class File {
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    bool Open(std::u16string_view path, const char* mode);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }
    // Bytes read; 0 at the end or on error.
    std::size_t Read(void* buffer, std::size_t size);
    std::size_t Write(const void* buffer, std::size_t size);
    // origin: 0 start, 1 current, 2 end.
    bool Seek(std::int64_t offset, int origin);
    std::int64_t Tell() const;
    // The file's size in bytes, -1 on error; the position is kept.
    std::int64_t Size() const;

private:
    void* m_handle = nullptr;
};

// ---- Registry store ---------------------------------------------------------------------------------------

// Two hives, each one file in the user's configuration folder. Key paths compare without regard to case.
// Values are 32-bit numbers or strings. Every write is one atomic replace of the file. A missing file reads as
// empty; a file that exists but cannot be read reads as empty and refuses writes; a damaged file reads as empty
// and is kept as "<file>.damaged" by the next write; a hand-edited file that parses is used.
enum class Hive { LocalMachine, CurrentUser };
enum class RegType { None, Dword, String };

// The folder that holds the store (native form): $TESSEL_CONFIG_HOME, else $XDG_CONFIG_HOME/tessel,
// else ~/.config/tessel. Tests point it at a temporary folder.
std::string ConfigFolder();
void SetConfigFolder(const std::string& nativePath);
// The file that holds a hive (native form).
std::string RegStorePath(Hive hive);

// Opens or creates a key; created tells whether it did not exist before. False when the store cannot be written.
bool RegCreateKey(Hive hive, std::u16string_view key, bool* created);
bool RegKeyExists(Hive hive, std::u16string_view key);
// The value's type, RegType::None when the key or value is missing.
RegType RegValueType(Hive hive, std::u16string_view key, std::u16string_view name);
bool RegGetDword(Hive hive, std::u16string_view key, std::u16string_view name, std::uint32_t& out);
bool RegGetString(Hive hive, std::u16string_view key, std::u16string_view name, std::u16string& out);
// Writes create the key when it is missing.
bool RegSetDword(Hive hive, std::u16string_view key, std::u16string_view name, std::uint32_t value);
bool RegSetString(Hive hive, std::u16string_view key, std::u16string_view name, std::u16string_view value);
struct RegDword {
    std::u16string_view name;
    std::uint32_t value;
};
// A group of numbers in one atomic replace; nothing is written when the key exists and every value already holds.
bool RegSetDwords(Hive hive, std::u16string_view key, std::span<const RegDword> values);
bool RegDeleteValue(Hive hive, std::u16string_view key, std::u16string_view name);

// ---- Time, random numbers, debugger output, assertions ----------------------------------------------------

// Milliseconds of the system-wide monotonic clock; wraps at 2^32. Headless: the clock the test steps.
std::uint32_t TimeGetTime();
// The local wall-clock time of day. Headless: the stepped clock counted from midnight.
void GetLocalClock(int& hours, int& minutes, int& seconds);
// Sleeps; headless advances its clock instead.
void SleepMs(std::uint32_t ms);

// The project's one generator with rand()'s contract: 0 to 32767.
int Rand();
void SeedRand(std::uint32_t seed);

// Debugger output. The default sink writes UTF-8 to stderr.
void OutputDebugString(std::u16string_view text);
void OutputDebugStringA(std::string_view text);
using LogSink = void (*)(std::string_view utf8);
// Returns the previous sink; nullptr restores the default.
LogSink SetLogSink(LogSink sink);

// Called by TESSEL_ASSERT on failure. The default handler logs "file(line): Assertion failed: expr" once per
// place and returns, and the code after the assertion returns its failure value; tests install a handler that
// fails the test instead.
using AssertHandler = void (*)(const char* file, int line, const char* expr);
AssertHandler SetAssertHandler(AssertHandler handler);
void AssertFailed(const char* file, int line, const char* expr);

// ---- Message boxes ----------------------------------------------------------------------------------------

constexpr std::uint32_t MB_OK = 0x0;
constexpr std::uint32_t MB_OKCANCEL = 0x1;
constexpr std::uint32_t MB_YESNO = 0x4;
constexpr std::uint32_t MB_ICONERROR = 0x10;
constexpr std::uint32_t MB_ICONQUESTION = 0x20;
constexpr std::uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr std::uint32_t MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// A modal box with the buttons of flags; returns the button chosen (IDOK, IDCANCEL, IDYES, IDNO).
int MessageBox(std::u16string_view text, std::u16string_view caption, std::uint32_t flags);

// ---- Child processes --------------------------------------------------------------------------------------

// Runs a program (the '\' path rules apply) with its arguments and waits for it. Returns its exit code,
// or -1 when it could not be started.
int SpawnAndWait(std::u16string_view program, const std::vector<std::u16string>& args);
// Starts a program or opens a document without waiting; false when it could not be started.
bool ShellOpen(std::u16string_view target);
// Starts a program with its arguments in a working folder (empty: the current one) without waiting; false when
// it could not be started.
bool StartProcess(std::u16string_view program, const std::vector<std::u16string>& args,
                  std::u16string_view workingFolder);
// Shows a folder in the desktop's file manager (xdg-open); false when it is no folder or nothing opens it.
bool OpenFolder(std::u16string_view folder);

// ---- System facts -----------------------------------------------------------------------------------------

// The English name of the user's language ("French", "German", ...), from the locale; "English" when unknown.
std::u16string UserLocaleLanguageName();
// The system's locale (the system locale file, not the user's variables): its language's English name and the
// ANSI code page a system of that language would use (1252 for Western languages, 1251 Cyrillic, 936, 949, ...).
std::u16string SystemLocaleLanguageName();
int SystemAnsiCodePage();

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int refreshHz = 0;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
};
// The desktop as the back buffer sees it: its size with the 16-bit 5-6-5 format. False when unknown.
bool GetDesktopMode(DisplayMode& out);
// The index-th mode of the display; false past the last.
bool EnumDisplayMode(int index, DisplayMode& out);
// Modes are never switched here: records the request and reports success.
bool ChangeDisplayMode(const DisplayMode& mode);
// Whether a display device for the raster can be opened (the stand-in for creating the DirectDraw object).
bool DisplayDeviceAvailable();

struct ScreenMetrics {
    int width = 0;            // the whole screen
    int height = 0;
    int fullScreenWidth = 0;  // the area a maximised window's client can take
    int fullScreenHeight = 0;
};
ScreenMetrics GetScreenMetrics();

// The multimedia version the platform offers, coded as the old DirectX probe codes it (0x700 and below).
std::uint32_t MultimediaVersion();

// ---- Single instance --------------------------------------------------------------------------------------

// Takes the program-wide lock; false when another instance holds it.
bool AcquireInstanceLock(std::string_view name);
void ReleaseInstanceLock();
// Asks the instance holding the lock to come to the front.
void RequestRaiseRunningInstance(std::string_view name);
// True once when another instance asked this one to come to the front.
bool TakeRaiseRequest();

// ---- Window, input and frames ------------------------------------------------------------------------------

struct WindowDesc {
    std::u16string title;
    int x = 0;
    int y = 0;
    int width = 800;
    int height = 600;
    bool resizable = true;
    bool maximizeBox = true;
    bool maximized = false;
    bool visible = true;
    // Placed in the middle of the desktop (x and y are then ignored).
    bool centred = false;
    // The window's icon as 0x00RRGGBB pixels by rows from the top; none when empty.
    int iconWidth = 0;
    int iconHeight = 0;
    std::vector<std::uint32_t> iconPixels;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

bool CreateMainWindow(const WindowDesc& desc);
void DestroyMainWindow();
bool HasMainWindow();
void SetWindowTitle(std::u16string_view title);
void ShowMainWindow(bool show);
void RaiseMainWindow();
// Minimises the window to the task bar, and shows it normally again.
void MinimizeMainWindow();
void RestoreMainWindow();
// Where the window is, as CreateMainWindow takes it: the position asked for (the frame's corner under a window
// manager, which places the frame there) and the client area's size, so a rectangle saved at exit places the
// window exactly where it was at the next start.
Rect GetWindowRect();
void GetClientSize(int& width, int& height);
bool IsWindowMaximized();
void SetMouseCapture(bool capture);
void ShowCursor(bool show);
// The pointer's look over the client area: the arrow, or the pointing hand over things that can be clicked.
enum class CursorShape { Arrow, Hand };
void SetCursorShape(CursorShape shape);
// The pointer in client coordinates (may be negative or past the client while captured).
void GetCursorPos(int& x, int& y);
// The mouse buttons and the Shift and Ctrl keys held now, as MK_ bits.
std::uint32_t GetHeldKeys();

enum class EventType {
    None,
    Quit,        // the user asked to close the window
    MouseMove,
    ButtonDown,
    ButtonUp,
    DoubleClick,
    Wheel,       // wheel: notches, positive away from the user
    Char,        // ch: a typed character
    KeyDown,     // key: a key code below
    KeyUp,
    Activate,    // active: 0 or 1
    Size,        // width, height; sizeType 0 restored, 1 minimised, 2 maximised
    Move,
    Paint,
    Command      // a message the program posted to itself
};

enum MouseButton { BUTTON_LEFT = 1, BUTTON_RIGHT = 2, BUTTON_MIDDLE = 3 };

// Key codes (the virtual-key numbers the program's handlers compare with).
enum KeyCode {
    KEY_BACK = 0x08, KEY_TAB = 0x09, KEY_RETURN = 0x0D, KEY_SHIFT = 0x10, KEY_CONTROL = 0x11,
    KEY_ESCAPE = 0x1B, KEY_SPACE = 0x20, KEY_PRIOR = 0x21, KEY_NEXT = 0x22, KEY_END = 0x23, KEY_HOME = 0x24,
    KEY_LEFT = 0x25, KEY_UP = 0x26, KEY_RIGHT = 0x27, KEY_DOWN = 0x28, KEY_DELETE = 0x2E,
    KEY_F1 = 0x70, KEY_OEM_3 = 0xC0
};

// Held-state bits carried by mouse events.
constexpr std::uint32_t MK_LBUTTON = 0x1;
constexpr std::uint32_t MK_RBUTTON = 0x2;
constexpr std::uint32_t MK_SHIFT = 0x4;
constexpr std::uint32_t MK_CONTROL = 0x8;
constexpr std::uint32_t MK_MBUTTON = 0x10;

struct Event {
    EventType type = EventType::None;
    int x = 0;
    int y = 0;
    int button = 0;
    int wheel = 0;
    char16_t ch = 0;
    int key = 0;
    int active = 0;
    int width = 0;
    int height = 0;
    int sizeType = 0;
    std::uint32_t keyState = 0;
};

// The next waiting event; false when none waits.
bool PollEvent(Event& out);
// Waits for the next event (headless: false when its script is exhausted).
bool WaitEvent(Event& out);
// Queues an event for this program (the stand-in for posting a message to its own window).
void PostEvent(const Event& event);

enum class PixelFormat { Rgb565, Rgb555 };
// Shows a frame of 16-bit pixels; pitch is in bytes. Headless keeps it for the test to read.
void PresentFrame(const std::uint16_t* pixels, int width, int height, int pitchBytes, PixelFormat format);

} // namespace plat

// Text rasterised with FreeType, and the sound mixer: the same interface, kept in files of their own.
#include "platform/PlatformAudio.h"
#include "platform/PlatformFont.h"

// Names the source file and the expression on failure.
#define TESSEL_ASSERT(expr) \
    do { if (!(expr)) ::plat::AssertFailed(__FILE__, __LINE__, #expr); } while (0)
