#include "lessons/OnlineSentences.h"

#include "cards/Card.h"
#include "cards/CardIds.h"
#include "engine/core/TextHelpers.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/LessonState.h"

#include <array>
#include <cstddef>
#include <vector>

namespace {

constexpr std::u16string_view CLIP_FOLDER = u"data\\wavsonl\\";
constexpr std::u16string_view CLIP_EXTENSION = u".wav";
constexpr int FIRST_NUMBER_CLIP = 1;
constexpr int LAST_NUMBER_CLIP = 20;
constexpr int COLOUR_COUNT = 5;

// By colour index: black, red, green, blue, white.
constexpr std::array<const char16_t*, COLOUR_COUNT> COLOUR_CLIPS = {u"m202", u"m203", u"m204", u"m201", u"m200"};
constexpr std::array<const char16_t*, COLOUR_COUNT> SECOND_COLOUR_CLIPS = {u"m212", u"m213", u"m214", u"m211",
                                                                          u"m210"};
constexpr std::array<const char16_t*, COLOUR_COUNT> LAND_CLIPS = {u"c020", u"c026", u"c033", u"c013", u"c006"};

struct CardClip {
    int cardId;
    const char16_t* clip;
};

constexpr CardClip CARD_CLIPS[] = {
    {CD_TORUMMAR, u"c001"},  {CD_WENUNMEL, u"c002"}, {CD_SELOLBER, u"c003"}, {CD_NESURGAST, u"c004"},
    {CD_WENORTH, u"c005"},   {CD_JORISMAR, u"c007"}, {CD_CASUNSK, u"c008"},  {CD_ESKILGAST, u"c009"},
    {CD_TAVEVVIN, u"c010"},  {CD_FENORTON, u"c011"}, {CD_ESKARMAR, u"c012"}, {CD_NODOTRIC, u"c014"},
    {CD_BRAISWYN, u"c015"},  {CD_CASINDRE, u"c016"}, {CD_MAVOLNEL, u"c017"}, {CD_FENEVDAL, u"c018"},
    {CD_FALARSAR, u"c019"},  {CD_KAVANRIK, u"c021"}, {CD_ISTUMRIC, u"c022"}, {CD_CELARNEL, u"c023"},
    {CD_VORENTON, u"c024"},  {CD_SAVOTNEL, u"c025"}, {CD_KAVORVIN, u"c027"}, {CD_NODUNNEL, u"c028"},
    {CD_LORORMEL, u"c029"},  {CD_SAVENTH, u"c030"},  {CD_ROSOTSK, u"c031"},  {CD_PRAUNRIK, u"c032"},
};

// The basic land kinds in the order they are tested: Plains, Island, Swamp, Mountain, Forest.
constexpr std::array<const char16_t*, 5> BASIC_LAND_CLIPS = {u"c006", u"c013", u"c020", u"c026", u"c033"};

// The once-only explanations: G = 0; G = 1 and C = 1; G = 1 and C > 1; G > 1 and C = 1; G > 1 and C > 1.
std::array<bool, 5> s_Explained = {};

// The advice ids that stay up while a can't-block explanation shows: the block advices among them.
constexpr int KEPT_ADVICE_IDS[] = {50, 58, 59, 60, 61, 1001};

bool s_bCloseBlock = false;

std::u16string ClipPath(std::u16string_view name, std::u16string_view suffix)
{
    std::u16string path(CLIP_FOLDER);
    path += name;
    path += suffix;
    path += CLIP_EXTENSION;
    return path;
}

std::optional<std::u16string> ColourClip(const std::array<const char16_t*, COLOUR_COUNT>& table, int colorIndex,
                                         std::u16string_view suffix)
{
    if (colorIndex < 0 || colorIndex >= COLOUR_COUNT)
        return std::nullopt;
    return ClipPath(table[static_cast<std::size_t>(colorIndex)], suffix);
}

// A sentence's clips in order; a missing clip (a number above 20) is simply not said.
class Sentence {
public:
    explicit Sentence(int colorIndex) : m_ColorIndex(colorIndex) {}

    Sentence& Fixed(std::u16string_view name)
    {
        m_Clips.push_back(ClipPath(name, u""));
        return *this;
    }
    Sentence& Number(int n, std::u16string_view suffix) { return Add(NumberClipPath(n, suffix)); }
    Sentence& Colour(std::u16string_view suffix) { return Add(ColourClip(COLOUR_CLIPS, m_ColorIndex, suffix)); }
    Sentence& SecondColour(std::u16string_view suffix)
    {
        return Add(ColourClip(SECOND_COLOUR_CLIPS, m_ColorIndex, suffix));
    }
    Sentence& Land(std::u16string_view suffix) { return Add(ColourClip(LAND_CLIPS, m_ColorIndex, suffix)); }
    Sentence& Link() { return Fixed(u"m300b"); }

    // The first clip replaces whatever was being said.
    void Speak() const
    {
        bool first = true;
        for (const std::u16string& clip : m_Clips) {
            QueueVoice(clip.c_str(), first);
            first = false;
        }
    }

private:
    Sentence& Add(std::optional<std::u16string> clip)
    {
        if (clip)
            m_Clips.push_back(std::move(*clip));
        return *this;
    }

    int m_ColorIndex;
    std::vector<std::u16string> m_Clips;
};

void SpeakNoGeneric(int colorIndex)
{
    Sentence(colorIndex)
        .Fixed(u"b660").Colour(u"b").Fixed(u"b661").Colour(u"a").Fixed(u"b662").Colour(u"b").Fixed(u"b663")
        .Land(u"b").Fixed(u"b664")
        .Speak();
}

void SpeakOneGenericOneColoured(int colorIndex)
{
    Sentence(colorIndex)
        .Fixed(u"b670").Number(1, u"b").Link().Colour(u"b").Fixed(u"b671").Number(1, u"b").Link().Colour(u"a")
        .Fixed(u"b672").Colour(u"a").Fixed(u"b673").Land(u"b").Fixed(u"b674").Number(1, u"a").Fixed(u"b675")
        .Land(u"a").Fixed(u"b676")
        .Speak();
}

void SpeakOneGenericManyColoured(int c, int colorIndex)
{
    Sentence(colorIndex)
        .Fixed(u"b690").Number(1, u"b").Link().Number(c, u"a").Colour(u"b").Fixed(u"b691").Number(1, u"b").Link()
        .Number(c, u"b").Colour(u"a").Fixed(u"b692").Number(c, u"a").Colour(u"b").Fixed(u"b693").Land(u"b")
        .Fixed(u"b694").Number(1, u"a").Fixed(u"b695").Land(u"a").Fixed(u"b696")
        .Speak();
}

void SpeakManyGenericOneColoured(int g, int colorIndex)
{
    Sentence(colorIndex)
        .Fixed(u"b680").Number(g, u"b").Link().Colour(u"b").Fixed(u"b681").Number(g, u"a").Link().Colour(u"a")
        .Fixed(u"b682").Number(g + 1, u"a").Fixed(u"b683").Colour(u"a").Fixed(u"b684").SecondColour(u"b")
        .Fixed(u"b685").Number(g, u"a").Fixed(u"b686").Number(g, u"b").Fixed(u"b687").Land(u"a").Fixed(u"b688")
        .Speak();
}

void SpeakManyGenericManyColoured(int g, int c, int colorIndex)
{
    Sentence(colorIndex)
        .Fixed(u"b700").Number(g, u"b").Link().Number(c, u"a").Colour(u"b").Fixed(u"b701").Number(g, u"a").Link()
        .Number(c, u"b").Colour(u"a").Fixed(u"b702").Number(g + c, u"a").Fixed(u"b703").Number(c, u"a")
        .Colour(u"a").Fixed(u"b704").Number(c, u"a").SecondColour(u"b").Fixed(u"b705").Number(g, u"a")
        .Fixed(u"b706").Number(g, u"b").Fixed(u"b707").SecondColour(u"a").Fixed(u"b708")
        .Speak();
}

// Marks the explanation said; false when it was said before.
bool TakeOnce(std::size_t index)
{
    if (s_Explained[index])
        return false;
    s_Explained[index] = true;
    return true;
}

} // namespace

std::optional<std::u16string> NumberClipPath(int n, std::u16string_view suffix)
{
    if (n < FIRST_NUMBER_CLIP || n > LAST_NUMBER_CLIP)
        return std::nullopt;
    std::u16string name = u"m1";
    if (n < 10)
        name += u'0';
    name += IntToWString(n);
    return ClipPath(name, suffix);
}

std::optional<std::u16string> CardClipPath(int cardId, std::u16string_view suffix)
{
    for (const CardClip& entry : CARD_CLIPS) {
        if (entry.cardId == cardId)
            return ClipPath(entry.clip, suffix);
    }
    if (cardId <= CD_INVALID || cardId >= CD_NUMBER_OF_CARD_DEFS)
        return std::nullopt;
    const CARD& card = g_CardDefs[cardId];
    const bool kinds[] = {card.IsBasicLand0(), card.IsBasicLand1(), card.IsBasicLand2(), card.IsBasicLand3(),
                          card.IsBasicLand4()};
    for (std::size_t kind = 0; kind < BASIC_LAND_CLIPS.size(); ++kind) {
        if (kinds[kind])
            return ClipPath(BASIC_LAND_CLIPS[kind], suffix);
    }
    return std::nullopt;
}

void ExplainManaCostOnce(int g, int c, int colorIndex)
{
    if (g == 0) {
        if (TakeOnce(0))
            SpeakNoGeneric(colorIndex);
    } else if (g == 1) {
        if (c == 1 && TakeOnce(1))
            SpeakOneGenericOneColoured(colorIndex);
        else if (c > 1 && TakeOnce(2))
            SpeakOneGenericManyColoured(c, colorIndex);
    } else if (g > 1) {
        if (c == 1 && TakeOnce(3))
            SpeakManyGenericOneColoured(g, colorIndex);
        else if (c > 1 && TakeOnce(4))
            SpeakManyGenericManyColoured(g, c, colorIndex);
    }
}

bool MayCloseAdvice()
{
    return MayCloseAdviceNumber(GetOnlineAdviceNumber());
}

bool MayCloseAdviceNumber(int advice)
{
    if (!s_bCloseBlock)
        return true;
    for (const int kept : KEPT_ADVICE_IDS) {
        if (advice == kept)
            return false;
    }
    return true;
}

void ResetOnlineSentences()
{
    s_Explained.fill(false);
}

bool IsCloseBlockRaised()
{
    return s_bCloseBlock;
}

void SetCloseBlock(bool raised)
{
    s_bCloseBlock = raised;
}
