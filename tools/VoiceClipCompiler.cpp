#include "tools/VoiceClipCompiler.h"

#include "tools/OutputFile.h"
#include "tools/SourceText.h"
#include "tools/Utf16Text.h"
#include "tools/WaveData.h"

#include "platform/Platform.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <thread>

namespace datac {

namespace {

// Part of every cache name: a change of voice or of the conversion speaks every clip again.
constexpr std::string_view VOICE_SETTINGS = "espeak-ng -v en-us -s 155 -p 45 | 11025 Hz 8-bit mono v1";
constexpr char SPEAK_COMMAND[] = "espeak-ng -v en-us -s 155 -p 45";
constexpr std::string_view FORMATTED_PREFIX = "FMT_";
constexpr std::string_view WAVE_EXTENSION = ".wav";
// 8-bit samples this close to the midpoint count as silence.
constexpr int SILENCE_THRESHOLD = 1;
// Characters that would need more than double quotes in a shell command.
constexpr std::string_view SHELL_UNSAFE = "\"$`\\";

struct SymbolWord {
    char16_t symbol;
    const char* word;
};

const SymbolWord SYMBOL_WORDS[] = {
    {u'W', "white"}, {u'U', "blue"}, {u'B', "black"}, {u'R', "red"},   {u'G', "green"},
    {u'1', "one"},   {u'2', "two"},  {u'3', "three"}, {u'4', "four"},  {u'5', "five"},
    {u'6', "six"},   {u'7', "seven"}, {u'8', "eight"}, {u'X', "X"},     {u'T', "tap"},
};

std::uint64_t Fnv1a(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char ch : text) {
        hash ^= static_cast<unsigned char>(ch);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(std::uint64_t value)
{
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(value));
    return buffer;
}

std::u16string SymbolRunWords(std::u16string_view run)
{
    std::u16string words;
    for (const char16_t ch : run) {
        for (const SymbolWord& entry : SYMBOL_WORDS) {
            if (entry.symbol == ch) {
                words += u' ';
                words += plat::FromUtf8(entry.word);
            }
        }
    }
    return words + u' ';
}

bool ReadText(const std::string& path, std::string& out, Diagnostics& diagnostics)
{
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(plat::FromUtf8(path), bytes)) {
        diagnostics.Error(path, "cannot be read");
        return false;
    }
    out.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    return WriteIfChanged(path, bytes) != WriteResult::Failed;
}

struct SpeakJob {
    std::string words;
    std::string cachePath;
    std::string failure;
};

// Speaks one job into its cache file; runs on a worker thread and touches nothing shared but the job.
void Speak(SpeakJob& job)
{
    const std::string textPath = job.cachePath + ".txt";
    const std::string rawPath = job.cachePath + ".espeak.wav";
    if (!WriteBytes(textPath, std::vector<std::uint8_t>(job.words.begin(), job.words.end()))) {
        job.failure = "cannot write " + textPath;
        return;
    }
    const std::string command =
        std::string(SPEAK_COMMAND) + " -f \"" + textPath + "\" -w \"" + rawPath + "\" 2>/dev/null";
    const int status = std::system(command.c_str());
    std::vector<std::uint8_t> raw;
    const bool read = status == 0 && plat::ReadFileBytes(plat::FromUtf8(rawPath), raw);
    plat::RemoveFile(plat::FromUtf8(textPath));
    plat::RemoveFile(plat::FromUtf8(rawPath));
    if (!read) {
        job.failure = "espeak-ng could not speak it (is espeak-ng installed? scripts/setup.sh installs it)";
        return;
    }
    MonoSound sound;
    std::string reason;
    if (!ReadPcmWave(raw, sound, reason)) {
        job.failure = "espeak-ng gave an unusable wave: " + reason;
        return;
    }
    if (sound.samples.empty()) {
        job.failure = "espeak-ng gave no sound";
        return;
    }
    if (!WriteBytes(job.cachePath, CanonicalWave(Resample(sound, VOICE_SAMPLE_RATE), 8)))
        job.failure = "cannot write " + job.cachePath;
}

void SpeakAll(std::vector<SpeakJob>& jobs)
{
    const unsigned workers = std::max(2u, std::thread::hardware_concurrency());
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < std::min<std::size_t>(workers, jobs.size()); ++i) {
        threads.emplace_back([&jobs, &next] {
            for (std::size_t index = next++; index < jobs.size(); index = next++)
                Speak(jobs[index]);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
}

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); });
    return text;
}

void CheckAgainstList(const std::vector<ClipSource>& clips, const std::vector<std::string>& required,
                      const std::string& listName, Diagnostics& diagnostics)
{
    std::set<std::string> defined;
    for (const ClipSource& clip : clips)
        defined.insert(Lowered(clip.clip) + std::string(WAVE_EXTENSION));
    std::set<std::string> listed;
    for (const std::string& name : required) {
        listed.insert(Lowered(name));
        if (!defined.contains(Lowered(name)))
            diagnostics.Error(listName, "the program plays '" + name + "', but no voice source gives its words");
    }
    for (const ClipSource& clip : clips) {
        if (!listed.contains(Lowered(clip.clip) + std::string(WAVE_EXTENSION)))
            diagnostics.Error(clip.sourceName, clip.line,
                              "clip '" + clip.clip + "' is played by nobody (add it to the clip list if it is)");
    }
}

} // namespace

bool ReadClipList(const std::string& path, std::vector<std::string>& out, Diagnostics& diagnostics)
{
    std::string text;
    if (!ReadText(path, text, diagnostics))
        return false;
    std::string_view rest = text;
    std::string_view line;
    while (NextSourceLine(rest, line)) {
        const std::string name = TrimBlanks(line);
        if (!name.empty() && !name.starts_with('#'))
            out.push_back(name);
    }
    return true;
}

bool ParseClipSources(std::string_view sourceName, std::string_view text, std::vector<ClipSource>& out,
                      Diagnostics& diagnostics)
{
    const std::size_t errorsBefore = diagnostics.Messages().size();
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    int number = 0;
    std::string_view line;
    while (NextSourceLine(text, line)) {
        ++number;
        const std::string trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed.starts_with('#'))
            continue;
        const std::size_t split = trimmed.find_first_of(" \t");
        ClipSource clip;
        clip.sourceName = std::string(sourceName);
        clip.line = number;
        clip.clip = trimmed.substr(0, split);
        const std::string rest = split == std::string::npos ? std::string() : TrimBlanks(trimmed.substr(split));
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
            clip.literal = rest.substr(1, rest.size() - 2);
        else if (!rest.empty() && rest.find_first_of(" \t\"") == std::string::npos)
            clip.key = rest;
        if (clip.key.empty() && TrimBlanks(clip.literal).empty()) {
            diagnostics.Error(sourceName, number, "clip '" + clip.clip + "' needs a string key or words in quotes");
            continue;
        }
        out.push_back(std::move(clip));
    }
    return diagnostics.Messages().size() == errorsBefore;
}

std::string SpokenWords(std::u16string_view text, bool formatted)
{
    std::u16string flat;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch == u'\r' || ch == u'\n' || ch == u'\t') {
            flat.push_back(u' ');
        } else if (formatted && (ch == u'~' || ch == u'*' || ch == u'^')) {
            continue;
        } else if (formatted && (ch == u'|' || ch == u'\\')) {
            flat.push_back(u' ');
        } else if (formatted && ch == u'#') {
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != u' ' && std::u16string_view(u"~*^|\\").find(text[end]) ==
                                                                 std::u16string_view::npos)
                ++end;
            flat += SymbolRunWords(text.substr(i + 1, end - i - 1));
            i = end - 1;
        } else {
            flat.push_back(ch);
        }
    }
    std::string words;
    bool blank = true;
    for (const char ch : plat::ToUtf8(flat)) {
        const bool isBlank = ch == ' ';
        if (isBlank && blank)
            continue;
        words.push_back(ch);
        blank = isBlank;
    }
    return TrimBlanks(words);
}

bool IsFragment(std::string_view words)
{
    return !words.empty() && std::string_view(".!?").find(words.back()) == std::string_view::npos;
}

std::string ClipOutputPath(const std::string& installFolder, const std::string& languageFolder,
                           const std::string& clip)
{
    if (clip.empty() || clip.find('/') != std::string::npos || clip.find("..") != std::string::npos ||
        clip.ends_with('\\'))
        return {};
    std::string relative = clip;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::string lower = Lowered(relative.substr(0, 5));
    // As the voice queue resolves it: "data\" is the install folder's, anything else the language folder's.
    if (lower != "data/")
        relative = languageFolder + "/" + relative;
    return installFolder + "/" + relative + std::string(WAVE_EXTENSION);
}

bool CompileVoiceClips(const std::vector<std::string>& sourcePaths, const std::vector<StringEntry>& strings,
                       const std::string& installFolder, const std::string& languageFolder,
                       const std::string& cacheFolder, Diagnostics& diagnostics, VoiceRun* run,
                       const std::vector<std::string>* required)
{
    const std::size_t errorsBefore = diagnostics.Messages().size();
    std::vector<ClipSource> clips;
    for (const std::string& path : sourcePaths) {
        std::string text;
        if (ReadText(path, text, diagnostics))
            ParseClipSources(path, text, clips, diagnostics);
    }
    if (required != nullptr)
        CheckAgainstList(clips, *required, "data/lists/voice-clips.txt", diagnostics);
    if (cacheFolder.find_first_of(SHELL_UNSAFE) != std::string::npos) {
        diagnostics.Error(cacheFolder, "the voice cache folder's path may not hold '\"', '$', '`' or '\\'");
        return false;
    }
    if (!plat::MakeDirectories(plat::FromUtf8(cacheFolder))) {
        diagnostics.Error(cacheFolder, "cannot be created");
        return false;
    }

    std::map<std::string, const StringEntry*, std::less<>> byKey;
    for (const StringEntry& entry : strings)
        byKey.emplace(entry.keyUtf8, &entry);

    struct Output {
        const ClipSource* source;
        std::string path;
        std::string cachePath;
        bool fragment;
    };
    std::vector<Output> outputs;
    std::map<std::string, const ClipSource*> seen;
    std::set<std::string> queued;
    std::vector<SpeakJob> jobs;
    for (const ClipSource& clip : clips) {
        const auto [first, isNew] = seen.emplace(Lowered(clip.clip), &clip);
        if (!isNew) {
            diagnostics.Error(clip.sourceName, clip.line,
                              "clip '" + clip.clip + "' is defined twice (first at " + first->second->sourceName +
                                  ":" + std::to_string(first->second->line) + "; names differing in case are one file)");
            continue;
        }
        const std::string path = ClipOutputPath(installFolder, languageFolder, clip.clip);
        if (path.empty()) {
            diagnostics.Error(clip.sourceName, clip.line, "clip name '" + clip.clip + "' is not a usable path");
            continue;
        }
        std::u16string text = plat::FromUtf8(clip.literal);
        if (!clip.key.empty()) {
            const auto entry = byKey.find(clip.key);
            if (entry == byKey.end()) {
                diagnostics.Error(clip.sourceName, clip.line,
                                  "clip '" + clip.clip + "': no text has the key '" + clip.key + "'");
                continue;
            }
            text = entry->second->text;
        }
        if (text.find(u'%') != std::u16string::npos) {
            diagnostics.Error(clip.sourceName, clip.line,
                              "clip '" + clip.clip + "': its words hold a placeholder, which a recording cannot "
                                                     "say; give the words to speak in quotes");
            continue;
        }
        const std::string words = SpokenWords(text, clip.key.starts_with(FORMATTED_PREFIX));
        const std::string cachePath =
            cacheFolder + "/" + Hex(Fnv1a(std::string(VOICE_SETTINGS) + "\n" + words)) + std::string(WAVE_EXTENSION);
        outputs.push_back({&clip, path, cachePath, IsFragment(words)});
        if (!plat::IsReadable(plat::FromUtf8(cachePath)) && queued.insert(cachePath).second)
            jobs.push_back({words, cachePath, {}});
    }

    SpeakAll(jobs);
    std::map<std::string, std::string> failures;
    for (const SpeakJob& job : jobs) {
        if (!job.failure.empty())
            failures.emplace(job.cachePath, job.failure);
    }

    for (const Output& output : outputs) {
        const auto failure = failures.find(output.cachePath);
        if (failure != failures.end()) {
            diagnostics.Error(output.source->sourceName, output.source->line,
                              "clip '" + output.source->clip + "' cannot be made: " + failure->second);
            continue;
        }
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(plat::FromUtf8(output.cachePath), bytes)) {
            diagnostics.Error(output.cachePath, "cannot be read");
            continue;
        }
        if (output.fragment)
            bytes = TrimTrailingSilence(bytes, VOICE_SAMPLE_RATE * FRAGMENT_TAIL_MS / 1000, SILENCE_THRESHOLD);
        if (WriteIfChanged(output.path, bytes) == WriteResult::Failed)
            diagnostics.Error(output.path, "cannot be written");
    }
    if (run != nullptr) {
        run->clips = outputs.size();
        run->spoken = jobs.size();
    }
    return diagnostics.Messages().size() == errorsBefore;
}

} // namespace datac
