// The compiled data set in the build's install folder, checked with the program's own readers: every string key
// the program looks up is there in its form with the placeholders its callers fill, every formatted text
// parses, every voice clip and effect is there in the format its player expects.
#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "platform/Platform.h"
#include "platform/PlatformAudio.h"
#include "tests/TestSupport.h"
#include "tools/StringKeyList.h"
#include "tools/VoiceClipCompiler.h"
#include "tools/WaveData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

const std::string SOURCE_DATA = std::string(TESSEL_SOURCE_DIR) + "/data";
const std::string GAME = TESSEL_GAME_DIR;
// The speech engine's pace, with room on both sides; a cut clip falls far below.
constexpr double MIN_SECONDS_PER_WORD = 0.15;
constexpr double MAX_SECONDS_PER_WORD = 0.9;

std::string ReadUtf8(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lists names; "and N more" keeps a failure message readable.
std::string Names(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < 60; ++i)
        text += "\n  " + names[i];
    if (names.size() > 60)
        text += "\n  ... and " + std::to_string(names.size() - 60) + " more";
    return text;
}

std::uint32_t U32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint32_t U16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8);
}

struct CanonicalHeader {
    std::uint32_t channels, rate, byteRate, blockAlign, bits, dataSize;
};

// The 44-byte header exactly as the effect loader reads it in one block: no other chunk may come between.
bool ReadCanonicalHeader(const std::vector<std::uint8_t>& bytes, CanonicalHeader& out)
{
    if (bytes.size() < datac::WAVE_HEADER_BYTES)
        return false;
    const std::string tags(bytes.begin(), bytes.begin() + 16);
    if (tags.substr(0, 4) != "RIFF" || tags.substr(8, 8) != "WAVEfmt " || U32(bytes, 16) != 16 ||
        U16(bytes, 20) != 1 || std::string(bytes.begin() + 36, bytes.begin() + 40) != "data" ||
        U32(bytes, 4) != bytes.size() - 8)
        return false;
    out = {U16(bytes, 22), U32(bytes, 24), U32(bytes, 28), U16(bytes, 32), U16(bytes, 34), U32(bytes, 40)};
    return out.dataSize == bytes.size() - datac::WAVE_HEADER_BYTES;
}

class DataSetTest : public ::testing::Test {
protected:
    DataSetTest() : m_folder(GAME) {}

    void SetUp() override
    {
        CreatePrivateHeap();
        ClearStringTables();
        GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
        ASSERT_TRUE(LoadStringTables()) << "no string table under " << GAME;
    }

    void TearDown() override
    {
        ClearStringTables();
        DestroyPrivateHeap();
        DeleteLanguageManager();
    }

    static std::vector<datac::KeySpec> KeyList()
    {
        std::vector<datac::KeySpec> specs;
        datac::Diagnostics diagnostics;
        datac::ShippedKeyList(specs, diagnostics);
        EXPECT_TRUE(diagnostics.Messages().empty()) << diagnostics.Messages().front();
        EXPECT_GT(specs.size(), 800u);
        return specs;
    }

    // The compiled file's entries as raw text: key, then its lines joined by the program's rule.
    static std::map<std::u16string, std::u16string> CompiledTexts()
    {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(plat::ReadFileBytes(u"data_en\\res_str_phys_u.txt", bytes));
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        std::map<std::u16string, std::u16string> entries;
        std::u16string key;
        std::vector<std::u16string> lines;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find(u"\r\n", pos);
            if (end == std::u16string::npos)
                end = text.size();
            const std::u16string line = text.substr(pos, end - pos);
            pos = end + 2;
            if (key.empty()) {
                key = line;
            } else if (line.starts_with(u"zzzz")) {
                std::u16string joined;
                for (const std::u16string& part : lines)
                    joined += part + (key.starts_with(u"PRE_") ? u"\r\n" : key.starts_with(u"FMT_") ? u" |" : u" ");
                const std::size_t last = joined.find_last_not_of(u"\r\n |");
                joined.resize(last == std::u16string::npos ? 0 : last + 1);
                entries[key] = joined;
                key.clear();
                lines.clear();
            } else {
                lines.push_back(line);
            }
        }
        return entries;
    }

    test::ScopedCurrentFolder m_folder;
};

TEST_F(DataSetTest, EveryKeyIsThereInItsFormWithItsPlaceholders)
{
    const std::map<std::u16string, std::u16string> compiled = CompiledTexts();
    std::vector<std::string> missing;
    std::vector<std::string> faults;
    for (const datac::KeySpec& wanted : KeyList()) {
        const std::u16string key = plat::FromUtf8(wanted.key);
        const bool formatted = key.starts_with(u"FMT_");
        const std::u16string formattedKey = u"FMT_" + key;
        const bool asPlain = !formatted && GetString(key) != nullptr;
        const bool asFormatted = formatted ? GetFormattedText(key) != nullptr
                                           : wanted.alternativeFormatted && GetFormattedText(formattedKey) != nullptr;
        if (!asPlain && !asFormatted) {
            missing.push_back(wanted.key);
            continue;
        }
        // A plain key must not have landed in the formatted table, nor the other way round.
        if (formatted && GetString(key) != nullptr)
            faults.push_back(wanted.key + ": in the plain table");
        if (asPlain && asFormatted)
            faults.push_back(wanted.key + ": authored both plain and as FMT_");
        const auto entry = compiled.find(asPlain || formatted ? key : formattedKey);
        if (entry == compiled.end()) {
            faults.push_back(wanted.key + ": not in the compiled file");
            continue;
        }
        if (asPlain && entry->second != std::u16string(GetString(key)))
            faults.push_back(wanted.key + ": the reader joined its text differently");
        std::vector<std::string> textFaults;
        datac::CheckText(wanted, !asPlain, entry->second, textFaults);
        for (const std::string& fault : textFaults)
            faults.push_back(wanted.key + ": " + fault);
    }
    EXPECT_TRUE(missing.empty()) << missing.size() << " keys missing:" << Names(missing);
    EXPECT_TRUE(faults.empty()) << Names(faults);
}

// The game log's line when the CPU pays a counterspell's mana sink: %1 is the resolving counterspell, whose
// price the opponent pays so that its own spell stands.
TEST_F(DataSetTest, TheOpponentPaysTheCounterspellsPriceInTheGameLog)
{
    const char16_t* const text = GetString(u"ONL_GL_OppPaysManaSink");
    ASSERT_NE(text, nullptr);
    const std::u16string line = FormatString(text, {u"2", u"Savevnel"});
    EXPECT_NE(line.find(u"pay Savevnel's price"), std::u16string::npos) << plat::ToUtf8(line);
    EXPECT_NE(line.find(u"not countered"), std::u16string::npos) << plat::ToUtf8(line);
}

TEST_F(DataSetTest, EveryFormattedTextParsesIntoSegments)
{
    std::size_t formattedTexts = 0;
    std::vector<std::string> faults;
    for (const auto& [key, text] : CompiledTexts()) {
        if (!key.starts_with(u"FMT_"))
            continue;
        ++formattedTexts;
        const FormattedText* record = GetFormattedText(key);
        if (record == nullptr || (record->m_pFirst == nullptr && !text.empty())) {
            faults.push_back(plat::ToUtf8(key) + ": no segments");
            continue;
        }
        for (const FormattedSegment* segment = record->m_pFirst.get(); segment != nullptr;
             segment = segment->m_pNext.get()) {
            const bool symbolsInRange =
                segment->m_Style != SEGMENT_STYLE_SYMBOLS ||
                std::u16string_view(segment->m_Text).find_first_not_of(
                    u"\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10") == std::u16string_view::npos;
            if (!symbolsInRange)
                faults.push_back(plat::ToUtf8(key) + ": a symbol segment holds a code that is no symbol");
        }
    }
    EXPECT_GT(formattedTexts, 50u);
    EXPECT_TRUE(faults.empty()) << Names(faults);
}

TEST_F(DataSetTest, EveryVoiceClipIsThereAndLastsWhatTheQueueEstimates)
{
    std::vector<std::string> missing;
    std::vector<std::string> faults;
    std::istringstream list(ReadUtf8(SOURCE_DATA + "/lists/voice-clips.txt"));
    std::size_t clips = 0;
    for (std::string line; std::getline(list, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        ++clips;
        // As the voice queue resolves it: "data\" in the install folder, anything else in the language folder.
        const std::u16string path = plat::FromUtf8(line.starts_with("data\\") ? line : "data_en\\" + line);
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(path, bytes)) {
            missing.push_back(line);
            continue;
        }
        CanonicalHeader header{};
        if (!ReadCanonicalHeader(bytes, header) || header.channels != 1 || header.rate != 11025 || header.bits != 8 ||
            header.blockAlign != 1 || header.byteRate != 11025) {
            faults.push_back(line + ": not an 11025 Hz 8-bit mono PCM wave");
            continue;
        }
        // The queue starts the next clip when the estimate has run out: it must not cut the clip short, and
        // the gap after it is the fixed 100 ms plus well under one percent.
        const double realMs = header.dataSize * 1000.0 / 11025.0;
        const double estimateMs = EstimateVoiceLength(bytes.size());
        if (estimateMs < realMs + 90.0 || estimateMs > realMs * 1.005 + 110.0)
            faults.push_back(line + ": lasts " + std::to_string(realMs) + " ms, estimated " +
                             std::to_string(estimateMs));
    }
    EXPECT_GT(clips, 500u);
    EXPECT_TRUE(missing.empty()) << missing.size() << " clips missing:" << Names(missing);
    EXPECT_TRUE(faults.empty()) << Names(faults);
}

// The advisor joins fragments into sentences: a long pause after each would break them up.
TEST_F(DataSetTest, FragmentClipsEndWithAShortPause)
{
    std::vector<datac::ClipSource> clips;
    datac::Diagnostics diagnostics;
    for (const std::string source : {"/voice/clips.en.txt", "/voice/online.en.txt"})
        ASSERT_TRUE(datac::ParseClipSources(source, ReadUtf8(SOURCE_DATA + source), clips, diagnostics));
    std::size_t fragments = 0;
    std::vector<std::string> faults;
    for (const datac::ClipSource& clip : clips) {
        if (!clip.key.empty() || !datac::IsFragment(datac::SpokenWords(plat::FromUtf8(clip.literal), false)))
            continue;
        ++fragments;
        std::ifstream in(datac::ClipOutputPath(GAME, "data_en", clip.clip), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::size_t end = bytes.size();
        while (end > datac::WAVE_HEADER_BYTES && std::abs(static_cast<int>(bytes[end - 1]) - 128) <= 1)
            --end;
        const double pauseMs = static_cast<double>(bytes.size() - end) * 1000.0 / datac::VOICE_SAMPLE_RATE;
        if (bytes.size() <= datac::WAVE_HEADER_BYTES || pauseMs > datac::FRAGMENT_TAIL_MS + 1.0)
            faults.push_back(clip.clip + ": " + std::to_string(pauseMs) + " ms of silence at its end");
    }
    EXPECT_GT(fragments, 100u);
    EXPECT_TRUE(faults.empty()) << Names(faults);
}

// What each clip says, in lower case, as the speech engine is given it: its quoted words or its key's text.
std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return text;
}

// Clip name -> its spoken words in lower case.
std::map<std::string, std::string> SpokenClips(const std::map<std::u16string, std::u16string>& compiled)
{
    std::vector<datac::ClipSource> clips;
    datac::Diagnostics diagnostics;
    for (const std::string source : {"/voice/clips.en.txt", "/voice/online.en.txt"})
        EXPECT_TRUE(datac::ParseClipSources(source, ReadUtf8(SOURCE_DATA + source), clips, diagnostics));
    std::map<std::string, std::string> spoken;
    for (const datac::ClipSource& clip : clips) {
        std::string words = clip.literal;
        if (!clip.key.empty()) {
            const auto entry = compiled.find(plat::FromUtf8(clip.key));
            words = entry == compiled.end() ? "" : datac::SpokenWords(entry->second, clip.key.starts_with("FMT_"));
        }
        spoken[clip.clip] = Lower(words);
    }
    return spoken;
}

// A clip as the file layer finds it: names that differ only in case are one file.
std::map<std::string, std::string>::const_iterator FindClip(const std::map<std::string, std::string>& spoken,
                                                             const std::string& name)
{
    return std::find_if(spoken.begin(), spoken.end(),
                        [&](const auto& entry) { return Lower(entry.first) == Lower(name); });
}

std::vector<std::string> Sentences(const std::string& words)
{
    std::vector<std::string> sentences;
    std::string current;
    for (const char ch : words) {
        current += ch;
        if (ch == '.' || ch == '!' || ch == '?') {
            const std::size_t start = current.find_first_not_of(' ');
            if (start != std::string::npos)
                sentences.push_back(current.substr(start));
            current.clear();
        }
    }
    return sentences;
}

// A clip and the box it is played with must make one point: what the box asks the learner to do, the clip says,
// and neither says what the table does not do. Clips played one after the other never say a sentence twice.
TEST_F(DataSetTest, ClipsAgreeWithTheirBoxesAndPairsSayNoSentenceTwice)
{
    const std::map<std::u16string, std::u16string> compiled = CompiledTexts();
    const std::map<std::string, std::string> spoken = SpokenClips(compiled);
    struct Pair {
        const char* clip;
        const char* box;
        const char* says;    // both say it (empty: no check)
        const char* saysNot; // neither says it
    };
    const Pair pairs[] = {
        {"vo_phys\\AttackDeclare", "PHYS_ATTACK_Declare", "click it again", "drag"},
        {"vo_phys\\AttackDeclare_misclick_done", "PHYS_ATTACK_Declare_Misclick_Done", "click a creature", "drag"},
        {"vo_phys\\basic_tavevsar_MustAttack", "PHYS_BASIC_MustAttack_1", "to make it attack", "drag"},
        {"vo_phys\\basic_tavevsar_MustAttack_N", "PHYS_BASIC_MustAttack_N", "click each of them", "drag"},
        {"vo_phys\\ERROR_CantDropToAttack", "PHYSDLG_ERROR_CantDropToAttack", "click attack", "drag"},
        {"vo_phys\\basic_couldplay_zolaksar", "PHYSDLG_CARDSPECIFIC_PLAYCARDTOGETEXTRALAND", "on the table tapped", ""},
        {"vo_phys\\basic_spell_zolaksar01", "PHYS_PROMPT_ZOLAKSAR_SEARCH", "arrives tapped", ""},
        {"vo_phys\\basic_OppSpell_nodumber", "PHYS_BASIC_OPPSPELL_NODUMBER", "to your graveyard", "goes to your"},
        {"vo_phys\\basic_oppspell_galumsk", "PHYS_BASIC_OPPSPELL_GALUMSK", "drag it", "goes to your"},
        {"vo_phys\\basic_oppspell_damage_kill", "PHYS_BASIC_OPPSPELL_DAMAGE_DESTROY", "drag it", ""},
        {"vo_phys\\basic_oppspell_damage_killwounded", "PHYS_BASIC_OPPSPELL_DAMAGE_DESTROY_WOUNDED", "drag it", ""},
        // The fight clips follow who won, not the box, each name as the table of fights plays it: "NoKill" and
        // "nokill" are one file, heard after a bounce and after a fight the learner's creature lost; "Kill" and
        // "kill" one, after the learner's win and after a trade. No fight clip says "both survive", and the
        // bounce's clip claims no kill.
        {"vo_phys\\basic_1on1Combat_nokill", "PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_BOUNCE", "", "dealt enough"},
        {"vo_phys\\basic_1on1Combat_nokill", "PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_BOUNCE", "", "dealt enough"},
        {"vo_phys\\basic_1on1Combat_NoKill", "PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_DIE", "", "both survive"},
        {"vo_phys\\basic_1on1Combat_NoKill", "PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_KILL", "", "both survive"},
        {"vo_phys\\basic_1on1Combat_Kill", "PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_KILL", "destroy", "both survive"},
        {"vo_phys\\basic_1on1Combat_Kill", "PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_DIE", "destroy", "both survive"},
        {"vo_phys\\basic_1on1Combat_kill", "PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_TRADE", "destroy", "both survive"},
        {"vo_phys\\basic_1on1Combat_kill", "PRE_PHYSDLG_BASIC_OPPATTACK_1ON1_TRADE", "destroy", "both survive"},
        {"vo_phys\\prompt_spell_draw_N", "PHYS_PROMPT_SPELL_DRAW_N", "cards", "draw a card"},
        {"vo_phys\\prompt_oppspell_discard_N", "PHYS_PROMPT_OPPSPELL_DISCARD_N", "cards", "discard a card"},
        {"vo_phys\\prompt_oppspell_discard_1", "PHYS_PROMPT_OPPSPELL_DISCARD_1", "discard a card", "ability"},
        // The CPU's first clip comes before its decision, which may be a mulligan.
        {"vo_phys\\adv_mulligan1a", "FMT_INTRO_MULLIGAN_CPU_YES", "", "keep"},
        {"vo_phys\\adv_mulligan2a", "FMT_INTRO_MULLIGAN_CPU_ANOTHER_YES", "", "keep"},
        // The learner decides first here: the CPU has not decided yet.
        {"vo_phys\\adv_mulligan3b", "FMT_INTRO_MULLIGAN_PLAYER", "mulligan", "your turn to decide"},
    };
    for (const Pair& pair : pairs) {
        const auto clip = FindClip(spoken, pair.clip);
        const auto box = compiled.find(plat::FromUtf8(pair.box));
        ASSERT_NE(clip, spoken.end()) << pair.clip;
        ASSERT_NE(box, compiled.end()) << pair.box;
        std::string boxWords = datac::SpokenWords(box->second, std::string_view(pair.box).starts_with("FMT_"));
        std::transform(boxWords.begin(), boxWords.end(), boxWords.begin(),
                       [](unsigned char ch) { return std::tolower(ch); });
        for (const auto& [who, words] : {std::pair{pair.clip, clip->second}, std::pair{pair.box, boxWords}}) {
            if (*pair.says != 0) {
                EXPECT_NE(words.find(pair.says), std::string::npos) << who << " does not say '" << pair.says << "'";
            }
            if (*pair.saysNot != 0) {
                EXPECT_EQ(words.find(pair.saysNot), std::string::npos) << who << " says '" << pair.saysNot << "'";
            }
        }
    }
    // Played one after the other by the mulligan and draw steps.
    const std::pair<const char*, const char*> sequences[] = {
        {"vo_phys\\adv_mulligan1a", "vo_phys\\adv_mulligan1b_no"}, {"vo_phys\\adv_mulligan1a", "vo_phys\\adv_mulligan1b_yes"},
        {"vo_phys\\adv_mulligan2a", "vo_phys\\adv_mulligan2b_no"}, {"vo_phys\\adv_mulligan2a", "vo_phys\\adv_mulligan2b_yes"},
        {"vo_phys\\adv_mulligan3a", "vo_phys\\adv_mulligan3b"},    {"vo_phys\\adv_mulligan6", "vo_phys\\adv_mulligan3b"},
        {"vo_phys\\adv_mulligan5a", "vo_phys\\adv_mulligan5b"},    {"vo_phys\\basic_intro11a", "vo_phys\\basic_intro11b"},
    };
    for (const auto& [first, second] : sequences) {
        ASSERT_TRUE(spoken.contains(first) && spoken.contains(second)) << first << " " << second;
        const std::vector<std::string> later = Sentences(spoken.at(second));
        for (const std::string& sentence : Sentences(spoken.at(first)))
            EXPECT_EQ(std::find(later.begin(), later.end(), sentence), later.end())
                << first << " and " << second << " both say '" << sentence << "'";
    }
}

// A clip cut short by the speech engine or the trim lasts far less than its words take to say.
TEST_F(DataSetTest, EveryClipLastsAsLongAsItsWords)
{
    std::vector<std::string> faults;
    for (const auto& [clip, words] : SpokenClips(CompiledTexts())) {
        std::ifstream in(datac::ClipOutputPath(GAME, "data_en", clip), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::size_t count = 0;
        std::istringstream split(words);
        for (std::string word; split >> word;)
            count += std::any_of(word.begin(), word.end(), [](unsigned char ch) { return std::isalnum(ch); }) ? 1 : 0;
        if (count == 0)
            continue; // a pause, such as "."
        const double seconds = bytes.size() > datac::WAVE_HEADER_BYTES
                                   ? static_cast<double>(bytes.size() - datac::WAVE_HEADER_BYTES) /
                                         datac::VOICE_SAMPLE_RATE
                                   : 0.0;
        if (seconds < count * MIN_SECONDS_PER_WORD || seconds > count * MAX_SECONDS_PER_WORD + 1.0)
            faults.push_back(clip + ": " + std::to_string(count) + " words in " + std::to_string(seconds) + " s");
    }
    EXPECT_TRUE(faults.empty()) << Names(faults);
}

TEST_F(DataSetTest, EveryEffectSlotLoadsFromACanonicalWave)
{
    // The sound module's own table decides which slots exist: load them as start-up does.
    ASSERT_TRUE(InitSound());
    SetSoundOn(true);
    int loaded = 0;
    for (int slot = 0; slot < EFFECT_SLOT_COUNT; ++slot)
        loaded += IsEffectLoaded(slot) ? 1 : 0;
    SetSoundOn(true);
    ShutdownSound();
    SetSoundOn(false);
    plat::headless::ResetAudio();
    EXPECT_EQ(loaded, 48);

    std::vector<std::string> faults;
    std::size_t files = 0;
    for (const auto& item : std::filesystem::directory_iterator(GAME + "/data/sfx")) {
        std::ifstream in(item.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ++files;
        CanonicalHeader header{};
        if (!ReadCanonicalHeader(bytes, header) || header.channels != 1 || header.dataSize == 0 ||
            header.blockAlign != header.bits / 8 || header.byteRate != header.rate * header.blockAlign)
            faults.push_back(item.path().filename().string() + ": not a canonical mono PCM wave");
    }
    // 48 effects, the 4 streams that are no effect (cancel and discard are both) and the start-up voice.
    EXPECT_EQ(files, 53u);
    EXPECT_TRUE(faults.empty()) << Names(faults);
}

} // namespace
