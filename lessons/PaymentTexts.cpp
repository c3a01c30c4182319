#include "lessons/PaymentTexts.h"

#include "cards/CardIds.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"

#include <array>
#include <cstddef>

namespace {

constexpr int TOPIC_COUNT = 32;
constexpr int BIT_LEARNER = 1;
constexpr int BIT_OPPONENT = 2;
constexpr int BIT_GENERAL = 4;
constexpr int MAX_SYMBOLS = 4;
// Colour index 5 stands for a land of any kind.
constexpr int ANY_LAND = 5;

constexpr std::array<char16_t, 5> COLOUR_LETTERS = {u'B', u'R', u'G', u'U', u'W'};
constexpr std::array<const char16_t*, 6> A_LAND_WORDS = {u"STR_aSwamp",  u"STR_aMountain", u"STR_aForest",
                                                         u"STR_anIsland", u"STR_aPlains",  u"STR_aland"};
constexpr std::array<const char16_t*, 6> LAND_WORDS = {u"STR_Swamp",  u"STR_Mountain", u"STR_Forest",
                                                       u"STR_Island", u"STR_Plain",    u"STR_land"};
constexpr std::array<const char16_t*, 6> LANDS_WORDS = {u"STR_Swamps",  u"STR_Mountains", u"STR_Forests",
                                                        u"STR_Islands", u"STR_Plains",    u"STR_lands"};

constexpr std::array<const char16_t*, TOPIC_COUNT> TOPIC_KEY_PARTS = {
    u"Artifact", u"ArtifactCr", u"Stop1",     u"Stop2",   u"CounterCr", u"CounterSp",  u"Stop1",    u"Stop2",
    u"EnchCr",   u"EnchGl",     u"EnchLand",  u"Fear",    u"FirstStr",  u"Haste",      u"Stop1",    u"Stop2",
    u"ManaAct",  u"ManaTapAct", u"PlayResx",  u"MorePower", u"PreventDmg", u"PumpAll", u"PumpP",    u"PumpT",
    u"Regen",    u"SacAct",     u"Sorc",      u"TapAct",  u"Tougher",   u"Wall",       u"XSpell",   u"ZeroTough",
};

constexpr int TOPIC_PREVENT_DAMAGE = 20;

bool IsStopTopic(int topic)
{
    return topic == 2 || topic == 3 || topic == 6 || topic == 7 || topic == 14 || topic == 15;
}

// A topic of a card's chain; general topics are explained once for every audience.
struct ChainTopic {
    int topic;
    bool general;
};

constexpr int MAX_CHAIN = 4;

struct ExplanationChain {
    int cardId;
    const char16_t* word;
    int count;
    std::array<ChainTopic, MAX_CHAIN> topics;
};

constexpr ChainTopic G(int topic)
{
    return {topic, true};
}

constexpr ChainTopic A(int topic)
{
    return {topic, false};
}

constexpr ExplanationChain CHAINS[] = {
    {CD_DRAUMBER, u"Draumber", 1, {G(26)}},
    {CD_CASEVMEL, u"Casevmel", 2, {G(29), G(28)}},
    {CD_NODURMAR, u"Nodurmar", 1, {G(28)}},
    {CD_BRAUNWYN, u"Braunwyn", 1, {G(13)}},
    {CD_BELURDRE, u"Belurdre", 2, {G(12), G(19)}},
    {CD_HOSURBER, u"Hosurber", 1, {A(4)}},
    {CD_ZOLOLRIK, u"Zololrik", 2, {G(26), A(30)}},
    {CD_CELILRIC, u"Celilric", 1, {G(26)}},
    {CD_DRAISNEL, u"Draisnel", 2, {G(0), A(17)}},
    {CD_HOSEDMEL, u"Hosedmel", 2, {G(0), A(17)}},
    {CD_NESUNMAR, u"Nesunmar", 1, {A(8)}},
    {CD_FENANSAR, u"Fenansar", 2, {G(0), A(18)}},
    {CD_CASUMWYN, u"Casumwyn", 2, {A(27), A(20)}},
    {CD_JAVINRIK, u"Javinrik", 1, {G(28)}},
    {CD_ZOLOTGAST, u"Zolotgast", 2, {G(26), A(30)}},
    {CD_WENISMEL, u"Wenismel", 2, {G(29), G(28)}},
    {CD_JORAKMAR, u"Jorakmar", 1, {G(28)}},
    {CD_ULMENSAR, u"Ulmensar", 1, {G(26)}},
    {CD_TAVEDRIK, u"Tavedrik", 1, {G(19)}},
    {CD_GALUMSK, u"Galumsk", 1, {G(26)}},
    {CD_VEKAKDRE, u"Vekakdre", 1, {G(19)}},
    {CD_VORUNDAL, u"Vorundal", 2, {G(13), G(19)}},
    {CD_ZOLORSAR, u"Zolorsar", 1, {G(19)}},
    {CD_ESKINRIC, u"Eskinric", 1, {G(26)}},
    {CD_HALENMEL, u"Halenmel", 2, {G(1), G(28)}},
    {CD_QUELARVIN, u"Quelarvin", 1, {A(8)}},
    {CD_PELINTON, u"Pelinton", 2, {G(28), A(23)}},
    {CD_ULMILVIN, u"Ulmilvin", 1, {A(27)}},
    {CD_TAVENGAST, u"Tavengast", 1, {A(23)}},
    {CD_ZOLEDMAR, u"Zoledmar", 3, {A(17), A(6), A(7)}},
    {CD_CELAKBER, u"Celakber", 1, {G(12)}},
    {CD_DRAARTH, u"Draarth", 1, {A(9)}},
    {CD_GALURWYN, u"Galurwyn", 1, {G(26)}},
    {CD_GREUMDRE, u"Greumdre", 3, {A(25), A(14), A(15)}},
    {CD_LUMOLDAL, u"Lumoldal", 1, {G(28)}},
    {CD_JAVILSAR, u"Javilsar", 1, {G(28)}},
    {CD_NESEDRIC, u"Nesedric", 1, {G(26)}},
    {CD_SAVEVNEL, u"Savevnel", 1, {A(5)}},
    {CD_RALARMEL, u"Ralarmel", 2, {G(9), A(16)}},
    {CD_WENANSK, u"Wenansk", 4, {G(29), G(19), A(16), G(24)}},
    {CD_VORUMTON, u"Vorumton", 1, {G(19)}},
    {CD_BELUNVIN, u"Belunvin", 1, {A(21)}},
    {CD_ESKOTMAR, u"Eskotmar", 1, {G(26)}},
    {CD_JORINBER, u"Jorinber", 2, {G(26), A(31)}},
    {CD_HALILTH, u"Halilth", 1, {A(27)}},
    {CD_MERENWYN, u"Merenwyn", 2, {G(28), A(22)}},
    {CD_LOREDDRE, u"Loreddre", 2, {G(29), G(28)}},
    {CD_QUELAKDAL, u"Quelakdal", 2, {A(8), G(12)}},
    {CD_ORBUNSAR, u"Orbunsar", 1, {G(28)}},
    {CD_TORURRIK, u"Torurrik", 2, {A(16), G(24)}},
    {CD_SELOTRIC, u"Selotric", 3, {G(29), G(28), A(27)}},
    {CD_YAROLNEL, u"Yarolnel", 2, {G(9), A(16)}},
    {CD_BRAILMEL, u"Brailmel", 1, {A(10)}},
    {CD_CASISSK, u"Casissk", 3, {A(8), A(16), G(24)}},
    {CD_GALEDTON, u"Galedton", 4, {G(0), A(17), A(2), A(3)}},
    {CD_FALEVVIN, u"Falevvin", 1, {A(8)}},
    {CD_KAVARGAST, u"Kavargast", 1, {G(11)}},
    {CD_JAVANMAR, u"Javanmar", 1, {G(28)}},
};

std::array<std::uint8_t, TOPIC_COUNT> s_Explained = {};
FormattedText* s_AdvisorRecord = nullptr;

const ExplanationChain* FindChain(int cardId)
{
    for (const ExplanationChain& chain : CHAINS) {
        if (chain.cardId == cardId)
            return &chain;
    }
    return nullptr;
}

std::u16string_view StringOrEmpty(const char16_t* key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

std::u16string SymbolString(int colorIndex, int colored)
{
    const int count = colored < 0 ? 0 : (colored > MAX_SYMBOLS ? MAX_SYMBOLS : colored);
    const bool known = colorIndex >= 0 && colorIndex < static_cast<int>(COLOUR_LETTERS.size());
    const char16_t letter = known ? COLOUR_LETTERS[static_cast<std::size_t>(colorIndex)] : u' ';
    return std::u16string(static_cast<std::size_t>(count), letter);
}

// The key ending and the bit a chain topic is explained with for the audience; none when it is not asked.
struct TopicAsk {
    bool asked = false;
    int bit = 0;
    const char16_t* ending = u"";
};

TopicAsk AskTopic(const ChainTopic& entry, int audience, bool inPlay)
{
    if (IsStopTopic(entry.topic) || entry.topic == TOPIC_PREVENT_DAMAGE) {
        if (audience != 1 || (IsStopTopic(entry.topic) && !inPlay))
            return {};
        return {true, BIT_LEARNER, u"_P"};
    }
    if (entry.general)
        return {true, BIT_GENERAL, u"_E"};
    return audience == 1 ? TopicAsk{true, BIT_LEARNER, u"_P"} : TopicAsk{true, BIT_OPPONENT, u"_O"};
}

} // namespace

std::int32_t HashText(std::u16string_view text)
{
    std::uint32_t hash = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        hash ^= static_cast<std::uint32_t>(text[i]) * static_cast<std::uint32_t>(i + 1);
    return static_cast<std::int32_t>(hash);
}

bool BuildPaymentText(int generic, int colorIndex, int colored, std::u16string_view text, FormattedText** out)
{
    const std::u16string key = u"PAY_" + IntToWString(generic) + u"_" + IntToWString(colored) +
                               IntToWString(colorIndex) + u"_" + IntToWString(HashText(text));
    FormattedText* record = GetFormattedText(key);
    if (record == nullptr) {
        const std::size_t words = colorIndex >= 0 && colorIndex <= ANY_LAND ? static_cast<std::size_t>(colorIndex)
                                                                             : static_cast<std::size_t>(ANY_LAND);
        const std::u16string symbols = SymbolString(colorIndex, colored);
        const std::u16string genericText = IntToWString(generic);
        const std::u16string coloredText = IntToWString(colored);
        const std::u16string totalText = IntToWString(generic + colored);
        const std::u16string_view plural = StringOrEmpty(LANDS_WORDS[words]);
        const std::u16string_view landWord = colored == 1 ? StringOrEmpty(LAND_WORDS[words]) : plural;
        const std::u16string filled = FormatString(
            text, {symbols, genericText, coloredText, totalText, landWord, StringOrEmpty(A_LAND_WORDS[words]), plural});
        record = AddFormattedText(key, filled);
    }
    if (out != nullptr)
        *out = record;
    return record != nullptr;
}

std::optional<std::u16string> PickAbilityExplanation(int cardId, int audience, bool inPlay)
{
    s_AdvisorRecord = nullptr;
    const ExplanationChain* const chain = FindChain(cardId);
    if (chain == nullptr || (audience != 1 && audience != 2))
        return std::nullopt;
    for (int i = 0; i < chain->count; ++i) {
        const ChainTopic& entry = chain->topics[static_cast<std::size_t>(i)];
        const TopicAsk ask = AskTopic(entry, audience, inPlay);
        if (!ask.asked || !IsAbilityUnexplained(entry.topic, ask.bit))
            continue;
        MarkAbilityExplained(entry.topic, ask.bit);
        const std::u16string key = std::u16string(chain->word) + u"_" +
                                   TOPIC_KEY_PARTS[static_cast<std::size_t>(entry.topic)] + ask.ending;
        if (const char16_t* const text = GetString(key))
            return std::u16string(text);
        s_AdvisorRecord = GetFormattedText(u"FMT_" + key);
        return std::nullopt;
    }
    return std::nullopt;
}

bool IsAbilityUnexplained(int topic, int bits)
{
    if (topic < 0 || topic >= TOPIC_COUNT)
        return false;
    return (s_Explained[static_cast<std::size_t>(topic)] & bits) == 0;
}

void MarkAbilityExplained(int topic, int bits)
{
    if (topic < 0 || topic >= TOPIC_COUNT)
        return;
    s_Explained[static_cast<std::size_t>(topic)] |= static_cast<std::uint8_t>(bits);
}

void ResetAbilityExplained()
{
    s_Explained.fill(0);
}

FormattedText* GetAdvisorFormattedRecord()
{
    return s_AdvisorRecord;
}

void SetAdvisorFormattedRecord(FormattedText* record)
{
    s_AdvisorRecord = record;
}
