// Helpers shared by the test programs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace test {

// A fresh folder under the system's temporary folder, removed with everything in it when the object dies.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path() + "/" + relative.
    std::string File(std::string_view relative) const;
    // Writes bytes to a file below the folder, creating its parent folders.
    void Write(std::string_view relative, const std::vector<std::uint8_t>& bytes) const;
    void Write(std::string_view relative, std::string_view bytes) const;

private:
    std::string m_path;
};

// UTF-16LE bytes of a UTF-8 text, with a byte-order mark when asked.
std::vector<std::uint8_t> Utf16Le(std::string_view utf8, bool withBom = true);

// Runs the program's code with the current folder set to a folder, restoring the old one afterwards.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::string& path);
    ~ScopedCurrentFolder();

private:
    std::string m_previous;
};

// Points the registry store at a fresh temporary folder for the object's lifetime.
class ScopedRegistry {
public:
    ScopedRegistry();
    ~ScopedRegistry();
    const std::string& Folder() const { return m_dir.Path(); }

private:
    TempDir m_dir;
    std::string m_previous;
};

// Collects the program's debugger output for the object's lifetime.
class ScopedLog {
public:
    ScopedLog();
    ~ScopedLog();
    ScopedLog(const ScopedLog&) = delete;
    ScopedLog& operator=(const ScopedLog&) = delete;
    const std::string& Text() const;
    // How often text occurs in the output.
    int Count(std::string_view text) const;
};

// A virtual X display for tests of the SDL2 window. Started on a free display number; Available() is false
// when Xvfb is not installed or did not come up. With a screen folder, Xvfb keeps its screen there as a file.
// Killed with the object.
class ScopedXvfb {
public:
    explicit ScopedXvfb(int width = 1024, int height = 768, int depth = 16, const std::string& screenFolder = {});
    ~ScopedXvfb();
    ScopedXvfb(const ScopedXvfb&) = delete;
    ScopedXvfb& operator=(const ScopedXvfb&) = delete;

    static bool Installed();
    bool Available() const { return m_pid > 0; }
    // The value for DISPLAY, such as ":57".
    const std::string& Display() const { return m_display; }

private:
    int m_pid = -1;
    std::string m_display;
};

// Starts a program with extra environment entries (they replace the inherited ones of the same name; DISPLAY
// is never inherited), in a working folder (empty: the current one), its standard output sent to a file when
// one is named. The process id, or -1.
int SpawnProgram(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& extraEnv, const std::string& workingFolder = {},
                 const std::string& outputFile = {});
// The exit code once the program ends (128 + the signal when killed), or -1 after seconds, when it is killed.
int WaitProgramExit(int pid, int seconds);
// True while the process (not necessarily a child) runs; an unreaped one that has ended counts as gone.
bool ProcessAlive(int pid);
// The first line a program writes to its standard output (xdotool's answers); empty when it fails.
std::string CaptureLine(const std::vector<std::string>& command, const std::vector<std::string>& env,
                        const TempDir& scratch);

// Keeps every shared library loaded now in the process until it exits. SDL unloads the libraries of its video
// back end when it quits; what they kept to the end is then reported by LeakSanitizer as leaked from no known
// library, so its suppressions, which name libraries, cannot match it.
void KeepLoadedLibrariesUntilExit();

} // namespace test
