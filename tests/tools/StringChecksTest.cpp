#include "tools/SoundEffectCompiler.h"
#include "tools/StringKeyList.h"
#include "tools/StringTableCompiler.h"
#include "tools/VoiceClipCompiler.h"
#include "tools/WaveData.h"

#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

bool HasMessage(const datac::Diagnostics& diagnostics, std::string_view fragment)
{
    for (const std::string& message : diagnostics.Messages()) {
        if (message.find(fragment) != std::string::npos)
            return true;
    }
    return false;
}

TEST(StringChecksTest, KeyDefinedInTwoSourcesIsAnError)
{
    datac::Diagnostics diagnostics;
    std::vector<std::uint8_t> out;
    std::vector<datac::StringEntry> entries;
    EXPECT_FALSE(datac::CompileStringSources({{"a.en.txt", "STR_A\nx\nzzzz\n"}, {"b.en.txt", "\nSTR_A\ny\nzzzz\n"}},
                                             out, entries, diagnostics));
    EXPECT_TRUE(HasMessage(diagnostics, "b.en.txt:2: duplicate key 'STR_A' (first at a.en.txt:1)"));
    EXPECT_TRUE(out.empty());
}

TEST(StringChecksTest, TextsAreCheckedAgainstWhatTheirCallersFill)
{
    const std::string list = "STR_Life %0 %1?\nSTR_Count %d\nPAY_T fmtlang %0\nSTR_Ability altfmt\nSTR_Phase max=5\n";
    std::vector<datac::KeySpec> specs;
    datac::Diagnostics diagnostics;
    ASSERT_TRUE(datac::ParseKeyList("keys.txt", list, specs, diagnostics));
    const std::vector<datac::StringEntry> entries = {
        {"STR_Life", u"STR_Life", u"You have %1 life, not %2.", "s.txt", 1},
        {"STR_Count", u"STR_Count", u"%d cards, 100%", "s.txt", 4},
        {"PAY_T", u"PAY_T", u"Pay #%0: now", "s.txt", 7},
        {"FMT_STR_Ability", u"FMT_STR_Ability", u"Fine", "s.txt", 10},
        {"STR_Phase", u"STR_Phase", u"Too long", "s.txt", 13},
        {"STR_Unknown", u"STR_Unknown", u"x", "s.txt", 16},
    };
    std::vector<std::string> missing;
    datac::CheckEntries(specs, entries, diagnostics, &missing);
    EXPECT_TRUE(HasMessage(diagnostics, "s.txt:1: text of 'STR_Life' shows %2, which no caller fills"));
    EXPECT_TRUE(HasMessage(diagnostics, "s.txt:4: text of 'STR_Count' may hold one '%d' and no other '%'"));
    EXPECT_TRUE(HasMessage(diagnostics, "s.txt:7: text of 'PAY_T' symbol run holds ':'"));
    EXPECT_TRUE(HasMessage(diagnostics, "s.txt:13: text of 'STR_Phase' is 8 characters long"));
    EXPECT_TRUE(HasMessage(diagnostics, "s.txt:16: no caller looks up 'STR_Unknown'"));
    EXPECT_FALSE(HasMessage(diagnostics, "STR_Ability"));
    EXPECT_EQ(diagnostics.Messages().size(), 5u);
    EXPECT_TRUE(missing.empty());
}

TEST(StringChecksTest, SpokenWordsDropMarkers)
{
    EXPECT_EQ(datac::SpokenWords(u"*Tap* ~it for #2G ~now.| Go!", true), "Tap it for two green now. Go!");
    EXPECT_EQ(datac::SpokenWords(u"Line one\r\nline two.", false), "Line one line two.");
    EXPECT_TRUE(datac::IsFragment("Cast Praunrik on"));
    EXPECT_TRUE(datac::IsFragment(". That means you need"));
    EXPECT_FALSE(datac::IsFragment("to make it stronger."));
    EXPECT_FALSE(datac::IsFragment("Go!"));
}

// Keys with the arguments their callers pass (a name, a count that can be 1, a number), as the key list must
// give them, and texts that break or keep them.
TEST(StringChecksTest, TextsShowOnlyWhatTheirCallersPassAndCountsReadRight)
{
    struct Case {
        const char* key;
        const char* marks;
        const char16_t* text;
        const char* fault; // empty: the text is accepted
    };
    const Case cases[] = {
        {"PHYS_BASIC_MustAttack_1", "%0", u"%0 must attack every turn if it can.", ""},
        {"PHYS_BASIC_MustAttack_1", "%0", u"Tavevsar must attack every turn.", ""},
        {"PHYS_ATTACK_Declare", "", u"Click %0 to attack.", "shows %0, which no caller fills"},
        {"PHYS_TappedWrongLand_N", "fmtlang %1n %0? %2? %3? %4? %5? %6?", u"Tap exactly %1 lands to pay #%1 ~.",
         "reads '1 lands' when its count %1 is 1"},
        {"PHYS_TappedWrongLand_N", "fmtlang %1n %0? %2? %3? %4? %5? %6?",
         u"Tap exactly %1 of your lands to pay #%1 ~.", ""},
        {"ONL_GL_OppPaysManaSink", "%0n %1", u"Opponent taps %0 lands to counter %1.", "reads '1 lands'"},
        {"ONL_GL_OppPaysManaSink", "%0n %1", u"Opponent pays %0 mana against %1.", ""},
        {"PHYS_PROMPT_SPELL_DRAW_N", "%1 %0?", u"%0 lets you draw %1 cards.", ""},
        {"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_DIE", "%0 %1 %2? %3? %4? %5? %6? %7?",
         u"%1 dealt %3 %7 to %0. %1 survives.", ""},
        {"PRE_PHYSDLG_BASIC_PLAYERATTACK_1ON1_DIE", "%0 %1 %2? %3? %4? %5? %6? %7?", u"%0 lost %8 life.",
         "shows %8, which no caller fills"},
    };
    datac::Diagnostics diagnostics;
    std::vector<datac::KeySpec> shipped;
    ASSERT_TRUE(datac::ShippedKeyList(shipped, diagnostics));
    for (const Case& c : cases) {
        std::vector<datac::KeySpec> specs;
        ASSERT_TRUE(datac::ParseKeyList("keys.txt", std::string(c.key) + " " + c.marks + "\n", specs, diagnostics));
        const datac::KeySpec& wanted = specs.front();
        std::vector<std::string> faults;
        datac::CheckText(wanted, false, c.text, faults);
        std::string all;
        for (const std::string& fault : faults)
            all += fault + "; ";
        if (*c.fault == 0) {
            EXPECT_TRUE(faults.empty()) << c.key << ": " << all;
        } else {
            EXPECT_NE(all.find(c.fault), std::string::npos) << c.key << ": " << all;
        }
        // The shipped list passes the same arguments for the key.
        const auto listed = std::find_if(shipped.begin(), shipped.end(),
                                         [&](const datac::KeySpec& s) { return s.key == c.key; });
        ASSERT_NE(listed, shipped.end()) << c.key;
        EXPECT_EQ(listed->required, wanted.required) << c.key;
        EXPECT_EQ(listed->optional, wanted.optional) << c.key;
        EXPECT_EQ(listed->counts, wanted.counts) << c.key;
    }
}

// Over every key of the tool's table: a text may show each placeholder its caller fills and may leave them all
// out, and is refused for one its caller does not fill; a printf key's text holds its one conversion or none, and
// is refused for any other.
TEST(StringChecksTest, EveryKeyRefusesWhatItsCallerDoesNotPass)
{
    std::vector<datac::KeySpec> table;
    datac::Diagnostics diagnostics;
    ASSERT_TRUE(datac::ShippedKeyList(table, diagnostics)) << diagnostics.Messages().front();
    ASSERT_GT(table.size(), 800u);
    const auto faultsOf = [](const datac::KeySpec& wanted, const std::u16string& text) {
        std::vector<std::string> faults;
        datac::CheckText(wanted, false, text, faults);
        std::string all;
        for (const std::string& fault : faults)
            all += fault + "; ";
        return all;
    };
    int printfKeys = 0;
    int passingKeys = 0;
    for (const datac::KeySpec& wanted : table) {
        const char* const key = wanted.key.c_str();
        EXPECT_EQ(faultsOf(wanted, u"Plain words."), "") << key << ": leaving every argument out";
        if (wanted.printfConversion != 0) {
            ++printfKeys;
            const char16_t own = static_cast<char16_t>(wanted.printfConversion);
            const char16_t other = own == u'd' ? u's' : u'd';
            EXPECT_EQ(faultsOf(wanted, std::u16string(u"Now %") + own + u" more."), "") << key;
            EXPECT_NE(faultsOf(wanted, std::u16string(u"Now %") + other + u" more."), "") << key;
            EXPECT_NE(faultsOf(wanted, std::u16string(u"Now %") + own + u" of %0."), "") << key;
            EXPECT_NE(faultsOf(wanted, std::u16string(u"Now %") + own + u", 100%."), "") << key;
            continue;
        }
        const unsigned passed = wanted.required | wanted.optional;
        passingKeys += passed != 0 ? 1 : 0;
        for (int n = 0; n < datac::MAX_PLACEHOLDERS; ++n) {
            const std::u16string text = u"At %" + std::u16string(1, static_cast<char16_t>(u'0' + n)) + u".";
            if ((passed & (1u << n)) != 0)
                EXPECT_EQ(faultsOf(wanted, text), "") << key << " %" << n;
            else
                EXPECT_NE(faultsOf(wanted, text).find("which no caller fills"), std::string::npos) << key << " %" << n;
        }
    }
    // The printf texts of the too-many-cards box and the ability payment are in the table as such.
    EXPECT_EQ(printfKeys, 3);
    EXPECT_GT(passingKeys, 200);
}

// A recording cannot say what fills a placeholder, and a text cut down to its other sentences loses its point
// ("Use its ability once to save it."): such a clip must give its own words.
TEST(StringChecksTest, ClipsWhoseWordsHoldAPlaceholderAreRefused)
{
    const test::TempDir dir;
    dir.Write("clips.txt", "vo_phys\\save PROMPT\ndata\\wavsonl\\x \"Cast %0 now.\"\n");
    const std::vector<datac::StringEntry> strings = {
        {"PROMPT", u"PROMPT", u"Belunvin is about to be destroyed by %0 damage. Use its ability once to save it.",
         "s.txt", 1},
    };
    datac::Diagnostics diagnostics;
    EXPECT_FALSE(datac::CompileVoiceClips({dir.File("clips.txt")}, strings, dir.File("game"), "data_en",
                                          dir.File("cache"), diagnostics));
    EXPECT_TRUE(HasMessage(diagnostics, "clips.txt:1: clip 'vo_phys\\save': its words hold a placeholder"));
    EXPECT_TRUE(HasMessage(diagnostics, "clips.txt:2: clip 'data\\wavsonl\\x': its words hold a placeholder"));
    EXPECT_FALSE(plat::IsReadable(plat::FromUtf8(dir.File("game/data_en/vo_phys/save.wav"))));
}

TEST(StringChecksTest, TrailingSilenceIsCutToWhatIsAsked)
{
    datac::MonoSound sound{datac::VOICE_SAMPLE_RATE, std::vector<float>(100, 0.5f)};
    sound.samples.resize(1100, 0.0f);
    const std::vector<std::uint8_t> wave = datac::CanonicalWave(sound, 8);
    const std::vector<std::uint8_t> trimmed = datac::TrimTrailingSilence(wave, 50, 1);
    ASSERT_EQ(trimmed.size(), datac::WAVE_HEADER_BYTES + 150);
    datac::MonoSound read;
    std::string reason;
    ASSERT_TRUE(datac::ReadPcmWave(trimmed, read, reason)) << reason;
    EXPECT_EQ(read.samples.size(), 150u);
    EXPECT_EQ(trimmed[4] | (trimmed[5] << 8), 36 + 150);
    // Less silence than asked for stays, and what is no canonical 8-bit wave is left alone.
    EXPECT_EQ(datac::TrimTrailingSilence(wave, 5000, 1), wave);
    const std::vector<std::uint8_t> wide = datac::CanonicalWave(sound, 16);
    EXPECT_EQ(datac::TrimTrailingSilence(wide, 50, 1), wide);
}

TEST(StringChecksTest, ClipSourcesNeedAKeyOrQuotedWords)
{
    std::vector<datac::ClipSource> clips;
    datac::Diagnostics diagnostics;
    EXPECT_FALSE(datac::ParseClipSources("clips.txt", "# c\nvo_phys\\a STR_A\ndata\\wavsonl\\b \"Hi there\"\nvo_phys\\c\n",
                                         clips, diagnostics));
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_EQ(clips[0].key, "STR_A");
    EXPECT_EQ(clips[1].literal, "Hi there");
    EXPECT_TRUE(HasMessage(diagnostics, "clips.txt:4: clip 'vo_phys\\c' needs"));
    EXPECT_EQ(datac::ClipOutputPath("/g", "data_en", "vo_phys\\a"), "/g/data_en/vo_phys/a.wav");
    EXPECT_EQ(datac::ClipOutputPath("/g", "data_en", "data\\wavsonl\\b"), "/g/data/wavsonl/b.wav");
    EXPECT_EQ(datac::ClipOutputPath("/g", "data_en", "..\\x"), "");
}

} // namespace


namespace {

TEST(SoundRecipeTest, RecipesGiveCanonicalWavesAndBadLayersAreRefused)
{
    datac::MonoSound sound;
    std::string reason;
    ASSERT_TRUE(datac::SynthesizeRecipe(100, {"sine:440:220:0.5", "noise:0.2", "notes:600:0.3:C4,-,F#5", "decay:30"},
                                        sound, reason));
    EXPECT_EQ(sound.sampleRate, datac::EFFECT_SAMPLE_RATE);
    EXPECT_EQ(sound.samples.size(), 2205u);
    const std::vector<std::uint8_t> wave = datac::CanonicalWave(sound, 16);
    ASSERT_EQ(wave.size(), datac::WAVE_HEADER_BYTES + 2 * 2205);
    EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(std::string(wave.begin() + 36, wave.begin() + 40), "data");

    // Reading back and resampling to the voice rate halves the samples.
    datac::MonoSound read;
    ASSERT_TRUE(datac::ReadPcmWave(wave, read, reason)) << reason;
    EXPECT_EQ(datac::Resample(read, datac::VOICE_SAMPLE_RATE).samples.size(), 1102u);

    for (const char* bad : {"sine:440:0.5", "hum:3", "notes:100:0.5:H4", "sine:0:440:0.5"})
        EXPECT_FALSE(datac::SynthesizeRecipe(100, {bad}, sound, reason)) << bad;
    EXPECT_FALSE(datac::SynthesizeRecipe(0, {}, sound, reason));
}

} // namespace
