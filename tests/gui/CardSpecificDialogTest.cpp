// The card-specific dialogs' base: what the constructor puts in the box, the limit, the voice fallback and the
// clips spoken when the box is refreshed.
#include "tests/gui/MessageboxFixture.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "gui/CardSpecificDialog.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using guitest::MessageboxFixture;

class PlainDialog : public CardSpecificDialog {
public:
    PlainDialog(const char16_t* key, std::span<const int> links, int limit)
        : CardSpecificDialog(12, -1, key, links, limit)
    {
    }
    bool IsModal() const override { return false; }
};

class CardSpecificDialogTest : public MessageboxFixture {
protected:
    void SetUp() override
    {
        MessageboxFixture::SetUp();
        // Room for the box's full width.
        s_ScreenRect = RasterRect{0, 0, 800, 600};
        ClearHintPlayCounts();
        StopVoiceQueue();
        AddString(u"ADVICE", u"A flyer can only be blocked by a flyer.");
    }
    void TearDown() override
    {
        StopVoiceQueue();
        ClearHintPlayCounts();
        MessageboxFixture::TearDown();
    }
    // A clip file in the current language's folder.
    void WriteLocalizedClip(const std::string& name) const
    {
        std::string folder = plat::ToUtf8(GetLanguageManager()->GetDataFolder());
        std::replace(folder.begin(), folder.end(), '\\', '/');
        Write(folder + name, std::vector<std::uint8_t>(64, 0));
    }
};

TEST_F(CardSpecificDialogTest, TheConstructorGivesKindSizeTextAndOneLabelPerLinkWithACaption)
{
    ExplanatoryWindow().SetExplanation(4);  // link 4 seen before
    const int links[] = {3, 0, 4, 40};     // 0 has no caption here, 40 is no link
    PlainDialog dialog(u"ADVICE", links, 1);
    EXPECT_EQ(dialog.GetKindNumber(), CARD_DIALOG_KIND);
    EXPECT_EQ(dialog.GetWidth(),
              static_cast<int>(static_cast<float>(CARD_DIALOG_WIDTH) * GetLanguageManager()->GetTextScale()));
    EXPECT_EQ(dialog.GetText(), u"A flyer can only be blocked by a flyer.");
    EXPECT_EQ(dialog.GetButtonCount(), 0) << "each dialog gives its own buttons";
    EXPECT_EQ(dialog.GetCardId(), 12);
    EXPECT_EQ(dialog.GetOwner(), -1);
    EXPECT_TRUE(dialog.GetVoices().empty());
    ASSERT_EQ(dialog.GetExtraWindowCount(), 2);
    EXPECT_EQ(dialog.GetExtraWindow(0)->GetTag(), 3);
    EXPECT_EQ(dialog.GetExtraWindow(0)->GetTextColour(), (GUI_Colour{255, 192, 0, 255}));
    EXPECT_EQ(dialog.GetExtraWindow(1)->GetTag(), 4);
    EXPECT_EQ(dialog.GetExtraWindow(1)->GetTextColour(), (GUI_Colour{0, 160, 224, 255}));

    const int more[] = {5};
    dialog.AddLinkButtons(more, 1);
    ASSERT_EQ(dialog.GetExtraWindowCount(), 3);
    EXPECT_EQ(dialog.GetExtraWindow(2)->GetTag(), 5);

    // A missing key leaves the box without text; a formatted key attaches the formatted record.
    PlainDialog missing(u"NO_SUCH_KEY", {}, 1);
    EXPECT_FALSE(missing.HasText());
    AddFormattedText(u"FMT_ADVICE", u"Tap *Celisber ~for mana.");
    PlainDialog formatted(u"FMT_ADVICE", {}, 1);
    EXPECT_NE(formatted.GetTextBlock(), nullptr);
    EXPECT_FALSE(formatted.HasText());
}

TEST_F(CardSpecificDialogTest, TheLimitCountsFiringsAndANegativeLimitNeverRetires)
{
    struct Case {
        int limit;
        int fired;
        bool exhausted;
    };
    const Case cases[] = {{1, 0, false}, {1, 1, true}, {2, 1, false}, {2, 2, true},
                          {0, 0, true},  {-1, 0, false}, {-1, 50, false}};
    for (const Case& c : cases) {
        PlainDialog dialog(nullptr, {}, c.limit);
        for (int i = 0; i < c.fired; ++i)
            dialog.IncShownCount();
        EXPECT_EQ(dialog.GetShownCount(), c.fired);
        EXPECT_EQ(dialog.IsExhausted(), c.exhausted) << c.limit << " after " << c.fired;
        EXPECT_FALSE(dialog.IsReservedSlot());
        EXPECT_FALSE(dialog.TestEvent(0, nullptr));
        EXPECT_FALSE(dialog.TestCardEvent(5, nullptr));
    }
}

TEST_F(CardSpecificDialogTest, SetVoiceFallsBackWhenTheLanguageFolderLacksTheClip)
{
    WriteLocalizedClip("vo_phys/present.wav");
    const std::u16string tooLong = u"vo_phys\\" + std::u16string(VOICE_PATH_BUFFER, u'x') + u".wav";
    struct Case {
        std::u16string voice;
        std::u16string fallback;
        std::u16string kept;
    };
    const Case cases[] = {
        {u"vo_phys\\present.wav", u"vo_phys\\fallback.wav", u"vo_phys\\present.wav"},
        {u"vo_phys\\PRESENT.wav", u"vo_phys\\fallback.wav", u"vo_phys\\PRESENT.wav"},  // found without case
        {u"vo_phys\\absent.wav", u"vo_phys\\fallback.wav", u"vo_phys\\fallback.wav"},
        {u"vo_phys\\absent.wav", u"", u"vo_phys\\absent.wav"},  // no fallback: kept unchecked
        {tooLong, u"vo_phys\\fallback.wav", u"vo_phys\\fallback.wav"},
        {u"", u"", u""},
    };
    for (const Case& c : cases) {
        PlainDialog dialog(nullptr, {}, 1);
        dialog.SetVoice(c.voice, c.fallback);
        EXPECT_EQ(dialog.GetVoices(), std::vector<std::u16string>{c.kept});
    }
    PlainDialog dialog(nullptr, {}, 1);
    dialog.SetVoice(u"vo_phys\\a.wav", u"");
    dialog.SetVoice(u"vo_phys\\b.wav", u"");
    EXPECT_EQ(dialog.GetVoices().size(), 2u);
    dialog.ClearVoices();
    EXPECT_TRUE(dialog.GetVoices().empty());
}

TEST_F(CardSpecificDialogTest, RefreshSpeaksEachClipOnceAndStopsTheQueueForTheFirstEvenWhenRefused)
{
    PlainDialog dialog(u"ADVICE", {}, 1);
    dialog.SetVoice(u"vo_phys\\first.wav", u"");
    dialog.SetVoice(u"vo_phys\\second.wav", u"");
    QueueVoice(u"data\\other.wav", false);
    dialog.Refresh();
    // Each clip started this way replaces what is queued: the last one waits.
    EXPECT_EQ(VoiceQueueLength(), 1u);

    QueueVoice(u"data\\other.wav", false);
    ASSERT_EQ(VoiceQueueLength(), 2u);
    dialog.Refresh();
    EXPECT_EQ(VoiceQueueLength(), 0u) << "both clips heard before, the queue stopped all the same";

    // A dialog without clips leaves the queue alone; one whose list holds an empty name stops it.
    PlainDialog silent(u"ADVICE", {}, 1);
    QueueVoice(u"data\\other.wav", false);
    silent.Refresh();
    EXPECT_EQ(VoiceQueueLength(), 1u);
    silent.SetVoice(u"", u"");
    silent.Refresh();
    QueueVoice(u"data\\other.wav", true);
    ASSERT_EQ(VoiceQueueLength(), 1u);
    silent.Refresh();
    EXPECT_EQ(VoiceQueueLength(), 0u);

    // The counts are cleared when an actor enters state 0: the clips are heard again.
    ClearHintPlayCounts();
    dialog.Refresh();
    EXPECT_EQ(VoiceQueueLength(), 1u);
}

TEST_F(CardSpecificDialogTest, AnAnswerIsTheIndexOfThePressedButton)
{
    PlainDialog dialog(u"ADVICE", {}, 1);
    dialog.SetRect(0, 0, 200, 120, true);
    dialog.CreateButtons(2);
    GetGameDisplay()->RegisterWindow(&dialog);
    EXPECT_FALSE(dialog.IsAnswered());
    ClickWindow(dialog.GetButton(1));
    EXPECT_TRUE(dialog.IsAnswered());
    EXPECT_EQ(dialog.GetAnswer(), 1);
    GetGameDisplay()->UnregisterWindow(&dialog);
}

} // namespace
