// Voice-over clips: each clip the lessons play is spoken from its text by espeak-ng and stored as an 11025 Hz,
// 8-bit, mono PCM wave, so that the voice queue's length estimate (size × 1024 / 11250 + 100 ms) fits it.
//
// Sources (data/voice/*.txt, UTF-8): one clip a line, "<clip> <text>", where <clip> is the path the program
// plays without ".wav" ("vo_phys\basic_intro01" lies in the language folder, "data\wavsonl\b003" in the
// install folder) and <text> is a string key, whose text is spoken, or words in double quotes. Words with a
// placeholder are an error: a recording cannot know what fills it, and a text cut down to its other sentences
// loses its point, so such a clip says its own words in quotes. Words that do not end a sentence make a
// fragment, which the advisor joins to other clips: its silence at the end is cut to FRAGMENT_TAIL_MS. '#'
// starts a comment line.
//
// Speech is cached by content in a cache folder, so a rebuild speaks only the clips whose words changed.
#pragma once

#include "tools/Diagnostics.h"
#include "tools/StringTableCompiler.h"

#include <string>
#include <string_view>
#include <vector>

namespace datac {

// The pause a fragment keeps at its end; the voice queue adds its own 100 ms between clips.
constexpr int FRAGMENT_TAIL_MS = 50;

struct ClipSource {
    std::string clip;
    std::string key;     // empty for quoted words
    std::string literal; // the quoted words
    std::string sourceName;
    int line = 0;
};

struct VoiceRun {
    std::size_t clips = 0;
    std::size_t spoken = 0; // clips not found in the cache
};

bool ParseClipSources(std::string_view sourceName, std::string_view text, std::vector<ClipSource>& out,
                      Diagnostics& diagnostics);

// The words espeak-ng is given for a text: markers and line breaks become blanks, '#' symbol runs become words.
// formatted: the text is in the formatted-text language.
std::string SpokenWords(std::u16string_view text, bool formatted);
// Words that stop short of a sentence's end, spoken between other clips.
bool IsFragment(std::string_view words);

// The output file of a clip under the install folder (native '/' path), or empty when the clip name is unusable.
std::string ClipOutputPath(const std::string& installFolder, const std::string& languageFolder,
                           const std::string& clip);

// The clips the program plays (data/lists/voice-clips.txt): one a line, as the program names it with ".wav";
// '#' starts a comment line.
bool ReadClipList(const std::string& path, std::vector<std::string>& out, Diagnostics& diagnostics);

// required, when given, is the list of clips the program plays: a listed clip without words, and words for a
// clip nobody plays, are errors (names compare without case, as the file layer finds them).
bool CompileVoiceClips(const std::vector<std::string>& sourcePaths, const std::vector<StringEntry>& strings,
                       const std::string& installFolder, const std::string& languageFolder,
                       const std::string& cacheFolder, Diagnostics& diagnostics, VoiceRun* run = nullptr,
                       const std::vector<std::string>* required = nullptr);

} // namespace datac
