#include "app/ScriptedRun.h"

#include "engine/core/QuitRequest.h"
#include "engine/raster/Raster.h"
#include "platform/Headless.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <sstream>

namespace {

constexpr std::uint32_t PACING_FRAME_MS = 16;
constexpr std::uint32_t INACTIVE_SLEEP_MS = 10;

struct KeyName {
    std::string_view name;
    int key;
};

constexpr std::array<KeyName, 19> KEY_NAMES = {{
    {"BACK", plat::KEY_BACK},     {"TAB", plat::KEY_TAB},       {"RETURN", plat::KEY_RETURN},
    {"ENTER", plat::KEY_RETURN},  {"SHIFT", plat::KEY_SHIFT},   {"CONTROL", plat::KEY_CONTROL},
    {"ESCAPE", plat::KEY_ESCAPE}, {"SPACE", plat::KEY_SPACE},   {"PRIOR", plat::KEY_PRIOR},
    {"NEXT", plat::KEY_NEXT},     {"END", plat::KEY_END},       {"HOME", plat::KEY_HOME},
    {"LEFT", plat::KEY_LEFT},     {"UP", plat::KEY_UP},         {"RIGHT", plat::KEY_RIGHT},
    {"DOWN", plat::KEY_DOWN},     {"DELETE", plat::KEY_DELETE}, {"F1", plat::KEY_F1},
    {"OEM_3", plat::KEY_OEM_3},
}};

struct ButtonName {
    std::string_view name;
    int button;
};

constexpr std::array<ButtonName, 3> BUTTON_NAMES = {{
    {"left", plat::BUTTON_LEFT}, {"right", plat::BUTTON_RIGHT}, {"middle", plat::BUTTON_MIDDLE}}};

bool ParseInt(const std::string& token, int& out)
{
    const char* const end = token.data() + token.size();
    const auto result = std::from_chars(token.data(), end, out);
    return result.ec == std::errc() && result.ptr == end;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); });
    return text;
}

bool ParseKey(const std::string& token, int& key)
{
    const std::string name = Upper(token);
    for (const KeyName& entry : KEY_NAMES) {
        if (entry.name == name) {
            key = entry.key;
            return true;
        }
    }
    return ParseInt(token, key) && key > 0 && key < 256;
}

bool ParseButton(const std::string& token, int& button)
{
    for (const ButtonName& entry : BUTTON_NAMES) {
        if (entry.name == token) {
            button = entry.button;
            return true;
        }
    }
    return false;
}

plat::Event CharEvent(char16_t ch)
{
    plat::Event event;
    event.type = plat::EventType::Char;
    event.ch = ch;
    return event;
}

// One line's actions; false with a reason on a bad line.
bool ParseLine(const std::vector<std::string>& words, int frame, const std::string& baseFolder,
               std::vector<ScriptedAction>& out, std::string& reason)
{
    const std::string& verb = words[1];
    const std::size_t argc = words.size() - 2;
    auto arg = [&](std::size_t i) -> const std::string& { return words[i + 2]; };
    auto add = [&](const plat::Event& event) {
        ScriptedAction action;
        action.frame = frame;
        action.event = event;
        out.push_back(action);
    };
    plat::Event event;
    if (verb == "move") {
        event.type = plat::EventType::MouseMove;
        if (argc != 2 || !ParseInt(arg(0), event.x) || !ParseInt(arg(1), event.y)) {
            reason = "move needs X Y";
            return false;
        }
        add(event);
    } else if (verb == "down" || verb == "up" || verb == "dblclick") {
        event.type = verb == "down" ? plat::EventType::ButtonDown
                     : verb == "up" ? plat::EventType::ButtonUp
                                    : plat::EventType::DoubleClick;
        if ((argc != 1 && argc != 3) || !ParseButton(arg(0), event.button)) {
            reason = verb + " needs left, right or middle, optionally followed by X Y";
            return false;
        }
        if (argc == 3) {
            if (!ParseInt(arg(1), event.x) || !ParseInt(arg(2), event.y)) {
                reason = verb + ": X and Y must be numbers";
                return false;
            }
        } else {
            event.x = event.y = -1;  // where the pointer is when the event is queued
        }
        add(event);
    } else if (verb == "wheel") {
        event.type = plat::EventType::Wheel;
        if (argc != 1 || !ParseInt(arg(0), event.wheel)) {
            reason = "wheel needs a number of notches";
            return false;
        }
        add(event);
    } else if (verb == "key" || verb == "keydown" || verb == "keyup") {
        int key = 0;
        if (argc != 1 || !ParseKey(arg(0), key)) {
            reason = verb + " needs a key name (ESCAPE, RETURN, LEFT, ...) or code";
            return false;
        }
        event.key = key;
        if (verb != "keyup") {
            event.type = plat::EventType::KeyDown;
            add(event);
        }
        if (verb != "keydown") {
            event.type = plat::EventType::KeyUp;
            add(event);
        }
    } else if (verb == "char") {
        if (argc != 1) {
            reason = "char needs one character or a character code";
            return false;
        }
        const std::u16string text = plat::FromUtf8(arg(0));
        int code = 0;
        if (text.size() == 1) {
            add(CharEvent(text[0]));
        } else if (ParseInt(arg(0), code) && code > 0 && code < 0x10000) {
            add(CharEvent(static_cast<char16_t>(code)));
        } else {
            reason = "char needs one character or a character code";
            return false;
        }
    } else if (verb == "text") {
        if (argc != 1) {
            reason = "text needs one word";
            return false;
        }
        for (const char16_t ch : plat::FromUtf8(arg(0))) {
            add(CharEvent(ch));
        }
    } else if (verb == "activate") {
        event.type = plat::EventType::Activate;
        if (argc != 1 || !ParseInt(arg(0), event.active) || (event.active != 0 && event.active != 1)) {
            reason = "activate needs 0 or 1";
            return false;
        }
        add(event);
    } else if (verb == "size") {
        event.type = plat::EventType::Size;
        if ((argc != 2 && argc != 3) || !ParseInt(arg(0), event.width) || !ParseInt(arg(1), event.height) ||
            event.width < 0 || event.height < 0) {
            reason = "size needs W H and optionally restored, minimized or maximized";
            return false;
        }
        if (argc == 3) {
            const std::string& type = arg(2);
            event.sizeType = type == "restored" ? SIZE_RESTORED
                             : type == "minimized" ? SIZE_MINIMIZED
                             : type == "maximized" ? SIZE_MAXIMIZED
                                                   : -1;
            if (event.sizeType < 0) {
                reason = "size type must be restored, minimized or maximized";
                return false;
            }
        }
        add(event);
    } else if (verb == "save") {
        if (argc != 1) {
            reason = "save needs a file name";
            return false;
        }
        // The window is repainted at that frame, so the frame saved is the one drawn then.
        event.type = plat::EventType::Paint;
        add(event);
        ScriptedAction action;
        action.frame = frame;
        action.save = true;
        action.path = arg(0).front() == '/' || baseFolder.empty() ? arg(0) : baseFolder + "/" + arg(0);
        out.push_back(action);
    } else if (verb == "quit") {
        if (argc != 0) {
            reason = "quit takes nothing";
            return false;
        }
        event.type = plat::EventType::Quit;
        add(event);
    } else {
        reason = "unknown action '" + verb + "'";
        return false;
    }
    return true;
}

} // namespace

bool ParseEventScript(std::string_view text, const std::string& baseFolder, EventScript& out, std::string& error)
{
    out.actions.clear();
    std::istringstream lines{std::string(text)};
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream wordStream(line);
        std::vector<std::string> words;
        for (std::string word; wordStream >> word;) {
            words.push_back(word);
        }
        if (words.empty() || words[0][0] == '#')
            continue;
        int frame = 0;
        std::string reason;
        if (words.size() < 2 || !ParseInt(words[0], frame) || frame < 0) {
            reason = "a line is '<frame> <action> [arguments]' with a frame of 0 or more";
        } else if (ParseLine(words, frame, baseFolder, out.actions, reason)) {
            continue;
        }
        error = "line " + std::to_string(number) + ": " + reason;
        out.actions.clear();
        return false;
    }
    std::stable_sort(out.actions.begin(), out.actions.end(),
                     [](const ScriptedAction& a, const ScriptedAction& b) { return a.frame < b.frame; });
    return true;
}

ScriptedRun::ScriptedRun(EventScript script, long maxFrames, std::uint32_t frameMs, bool drawEveryFrame)
    : m_Script(std::move(script)), m_MaxFrames(maxFrames), m_FrameMs(frameMs), m_DrawEveryFrame(drawEveryFrame)
{
}

void ScriptedRun::QueueEventsUpTo(int frame)
{
    while (m_NextEvent < m_Script.actions.size() && m_Script.actions[m_NextEvent].frame <= frame) {
        ScriptedAction& action = m_Script.actions[m_NextEvent++];
        if (action.save)
            continue;
        plat::Event event = action.event;
        // A button without a position happens where the pointer is.
        if ((event.type == plat::EventType::ButtonDown || event.type == plat::EventType::ButtonUp ||
             event.type == plat::EventType::DoubleClick) &&
            event.x == -1 && event.y == -1)
            plat::GetCursorPos(event.x, event.y);
        plat::headless::QueueEvent(event);
    }
}

void ScriptedRun::BeforePass(int frame)
{
    if (m_MaxFrames >= 0 && frame >= m_MaxFrames) {
        PostQuitMessage(0);
        return;
    }
    QueueEventsUpTo(frame);
    if (m_DrawEveryFrame)
        GetRaster()->Invalidate();
}

void ScriptedRun::AfterTick(int frame)
{
    while (m_NextSave < m_Script.actions.size() && m_Script.actions[m_NextSave].frame <= frame) {
        const ScriptedAction& action = m_Script.actions[m_NextSave++];
        if (!action.save)
            continue;
        if (action.frame != frame) {
            ++m_SkippedSaves;
            continue;
        }
        if (plat::headless::SaveFrameBmp(plat::headless::LastFrame(), action.path)) {
            ++m_Saved;
        } else {
            ++m_FailedSaves;
            plat::OutputDebugStringA("Tessel: could not save the frame as " + action.path + "\n");
        }
    }
    plat::headless::AdvanceTime(m_FrameMs);
}

int ScriptedRun::SavesNotWritten() const
{
    const auto unreached = std::count_if(m_Script.actions.begin() + static_cast<std::ptrdiff_t>(m_NextSave),
                                         m_Script.actions.end(), [](const ScriptedAction& a) { return a.save; });
    return m_FailedSaves + m_SkippedSaves + static_cast<int>(unreached);
}

// The window is inactive: no frame ticks, so the next scripted events come at once.
bool ScriptedRun::Wait()
{
    if (m_NextEvent >= m_Script.actions.size())
        return false;
    QueueEventsUpTo(m_Script.actions[m_NextEvent].frame);
    plat::headless::AdvanceTime(m_FrameMs);
    return true;
}

void RealTimePacing::BeforePass(int /*frame*/)
{
}

void RealTimePacing::AfterTick(int /*frame*/)
{
    const std::uint32_t now = plat::TimeGetTime();
    const std::uint32_t spent = now - m_LastTick;
    if (spent < PACING_FRAME_MS)
        plat::SleepMs(PACING_FRAME_MS - spent);
    m_LastTick = plat::TimeGetTime();
}

bool RealTimePacing::Wait()
{
    plat::SleepMs(INACTIVE_SLEEP_MS);
    return true;
}
