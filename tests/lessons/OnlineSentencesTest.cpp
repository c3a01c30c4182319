#include "cards/Card.h"
#include "cards/CardIds.h"
#include "engine/sound/VoiceQueue.h"
#include "lessons/OnlineSentences.h"
#include "tests/rules/RulesGame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class OnlineSentencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetVoiceQueue();
        SetVoiceMuted(false);
        ResetOnlineSentences();
        SetCloseBlock(false);
    }
    void TearDown() override
    {
        ResetVoiceQueue();
        ResetOnlineSentences();
        SetCloseBlock(false);
        for (CARD& card : g_CardDefs)
            card = CARD();
    }

    // The queued clips by name: "b660", "m204b"...
    static std::vector<std::u16string> Queued()
    {
        std::vector<std::u16string> names;
        const std::u16string folder = u"data\\wavsonl\\";
        for (std::size_t i = 0; i < VoiceQueueLength(); ++i) {
            const std::u16string path = GetQueuedVoicePath(i);
            EXPECT_EQ(path.substr(0, folder.size()), folder);
            EXPECT_EQ(path.substr(path.size() - 4), u".wav");
            names.push_back(path.substr(folder.size(), path.size() - folder.size() - 4));
        }
        return names;
    }

    // Speaks the cost and takes what was queued, leaving the queue empty.
    static std::vector<std::u16string> Say(int g, int c, int colour)
    {
        ResetVoiceQueue();
        ExplainManaCostOnce(g, c, colour);
        std::vector<std::u16string> names = Queued();
        ResetVoiceQueue();
        return names;
    }

    using Clips = std::vector<std::u16string>;
};

TEST_F(OnlineSentencesTest, NumberClipPaths)
{
    for (int n = 1; n <= 20; ++n) {
        const std::u16string two = n < 10 ? u"0" + std::u16string(1, static_cast<char16_t>(u'0' + n))
                                          : std::u16string{static_cast<char16_t>(u'0' + n / 10),
                                                           static_cast<char16_t>(u'0' + n % 10)};
        EXPECT_EQ(NumberClipPath(n, u"a"), u"data\\wavsonl\\m1" + two + u"a.wav") << n;
    }
    EXPECT_EQ(NumberClipPath(7, u"a"), u"data\\wavsonl\\m107a.wav");
    EXPECT_EQ(NumberClipPath(12, u"b"), u"data\\wavsonl\\m112b.wav");
    for (const int n : {0, -1, 21, 1000})
        EXPECT_FALSE(NumberClipPath(n, u"a").has_value()) << n;
    // Each path is the caller's own: a later call does not change an earlier answer.
    const std::optional<std::u16string> first = NumberClipPath(1, u"b");
    (void)NumberClipPath(2, u"a");
    EXPECT_EQ(first, u"data\\wavsonl\\m101b.wav");
}

TEST_F(OnlineSentencesTest, CardClipPathsOfNamedCardsAndBasicLands)
{
    rulesgame::DefineSyntheticCards();
    const std::pair<int, const char16_t*> named[] = {
        {CD_TORUMMAR, u"c001"},  {CD_WENUNMEL, u"c002"}, {CD_SELOLBER, u"c003"}, {CD_NESURGAST, u"c004"},
        {CD_WENORTH, u"c005"},   {CD_JORISMAR, u"c007"}, {CD_CASUNSK, u"c008"},  {CD_ESKILGAST, u"c009"},
        {CD_TAVEVVIN, u"c010"},  {CD_FENORTON, u"c011"}, {CD_ESKARMAR, u"c012"}, {CD_NODOTRIC, u"c014"},
        {CD_BRAISWYN, u"c015"},  {CD_CASINDRE, u"c016"}, {CD_MAVOLNEL, u"c017"}, {CD_FENEVDAL, u"c018"},
        {CD_FALARSAR, u"c019"},  {CD_KAVANRIK, u"c021"}, {CD_ISTUMRIC, u"c022"}, {CD_CELARNEL, u"c023"},
        {CD_VORENTON, u"c024"},  {CD_SAVOTNEL, u"c025"}, {CD_KAVORVIN, u"c027"}, {CD_NODUNNEL, u"c028"},
        {CD_LORORMEL, u"c029"},  {CD_SAVENTH, u"c030"},  {CD_ROSOTSK, u"c031"},  {CD_PRAUNRIK, u"c032"},
    };
    for (const auto& [id, clip] : named)
        EXPECT_EQ(CardClipPath(id, u"b"), u"data\\wavsonl\\" + std::u16string(clip) + u"b.wav") << id;
    // Mountain 1-4, Island 5-8, Plains 9-12, Forest 13-16, Swamp 17-20.
    const char16_t* const lands[] = {u"c026", u"c013", u"c006", u"c033", u"c020"};
    for (int id = CD_MOUNTAIN1; id <= CD_SWAMP4; ++id)
        EXPECT_EQ(CardClipPath(id, u"a"), u"data\\wavsonl\\" + std::u16string(lands[(id - 1) / 4]) + u"a.wav") << id;
    for (const int id : {0, static_cast<int>(CD_DRAISNEL), 271, 272, -5})
        EXPECT_FALSE(CardClipPath(id, u"a").has_value()) << id;
}

TEST_F(OnlineSentencesTest, EachSentenceClipByClip)
{
    // Green: colour m204, second colour m214, land c033; white: m200, m210, c006.
    EXPECT_EQ(Say(0, 2, 2), (Clips{u"b660", u"m204b", u"b661", u"m204a", u"b662", u"m204b", u"b663", u"c033b",
                                   u"b664"}));
    EXPECT_EQ(Say(1, 1, 4), (Clips{u"b670", u"m101b", u"m300b", u"m200b", u"b671", u"m101b", u"m300b", u"m200a",
                                   u"b672", u"m200a", u"b673", u"c006b", u"b674", u"m101a", u"b675", u"c006a",
                                   u"b676"}));
    EXPECT_EQ(Say(1, 3, 2), (Clips{u"b690", u"m101b", u"m300b", u"m103a", u"m204b", u"b691", u"m101b", u"m300b",
                                   u"m103b", u"m204a", u"b692", u"m103a", u"m204b", u"b693", u"c033b", u"b694",
                                   u"m101a", u"b695", u"c033a", u"b696"}));
    EXPECT_EQ(Say(2, 1, 2), (Clips{u"b680", u"m102b", u"m300b", u"m204b", u"b681", u"m102a", u"m300b", u"m204a",
                                   u"b682", u"m103a", u"b683", u"m204a", u"b684", u"m214b", u"b685", u"m102a",
                                   u"b686", u"m102b", u"b687", u"c033a", u"b688"}));
    EXPECT_EQ(Say(3, 2, 0), (Clips{u"b700", u"m103b", u"m300b", u"m102a", u"m202b", u"b701", u"m103a", u"m300b",
                                   u"m102b", u"m202a", u"b702", u"m105a", u"b703", u"m102a", u"m202a", u"b704",
                                   u"m102a", u"m212b", u"b705", u"m103a", u"b706", u"m103b", u"b707", u"m212a",
                                   u"b708"}));
}

TEST_F(OnlineSentencesTest, EachExplanationOncePerGame)
{
    QueueVoice(u"data\\wavsonl\\b999.wav", false);
    ExplainManaCostOnce(2, 1, 2);
    EXPECT_EQ(Queued().front(), u"b680") << "the sentence replaces whatever was said";
    EXPECT_EQ(Say(2, 1, 2), Clips{}) << "said once";
    EXPECT_EQ(Say(5, 1, 3), Clips{}) << "the same shape in another colour";
    EXPECT_EQ(Say(1, 2, 2).size(), 20u) << "another shape is still said";
    EXPECT_EQ(Say(3, 0, 5), Clips{}) << "no coloured part";
    EXPECT_EQ(Say(0, 1, 1).size(), 9u);
    EXPECT_EQ(Say(0, 0, -1), Clips{}) << "the no-generic sentence is said once, whatever C";

    // Numbers above 20 are not said; the rest of the sentence is.
    const Clips long_ = Say(15, 7, 1);
    EXPECT_EQ(long_.size(), 24u);
    EXPECT_EQ(long_[11], u"b703") << "no clip for 22";
    EXPECT_EQ(long_[10], u"b702");

    ResetOnlineSentences();
    EXPECT_EQ(Say(2, 1, 2).size(), 21u) << "a new game says it again";

    // Muted, nothing is queued, yet the explanation counts as said.
    ResetOnlineSentences();
    SetVoiceMuted(true);
    ExplainManaCostOnce(0, 1, 3);
    SetVoiceMuted(false);
    EXPECT_EQ(VoiceQueueLength(), 0u);
}

TEST_F(OnlineSentencesTest, BlockAdvicesStayUpWhileTheCloseBlockFlagIsRaised)
{
    for (const int advice : {0, 1, 49, 50, 57, 58, 59, 60, 61, 62, 1000, 1001})
        EXPECT_TRUE(MayCloseAdviceNumber(advice)) << advice;
    SetCloseBlock(true);
    for (const int advice : {50, 58, 59, 60, 61, 1001})
        EXPECT_FALSE(MayCloseAdviceNumber(advice)) << advice;
    for (const int advice : {0, 1, 49, 57, 62, 1000})
        EXPECT_TRUE(MayCloseAdviceNumber(advice)) << advice;
    // The next frame step clears the flag and the block advice is handled again.
    SetCloseBlock(false);
    EXPECT_TRUE(MayCloseAdviceNumber(58));
}

} // namespace
