// The program's own card file, compiled by the build, read through the real loader: it defines every card
// without a fault, reads the same twice, and gives every deck card of every lesson what the rules, lessons and
// CPU expect of it.
#include "cards/Card.h"
#include "cards/CardDatabase.h"
#include "engine/core/LanguageManager.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"
#include "tests/cards/CardTableFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

std::u16string WordOf(int id)
{
    std::u16string word(GetCardIdName(id) + 3);
    while (!word.empty() && word.back() >= u'0' && word.back() <= u'9')
        word.pop_back();
    for (std::size_t i = 1; i < word.size(); ++i)
        word[i] = static_cast<char16_t>(word[i] - u'A' + u'a');
    return word;
}

class CardDatabaseTest : public cardtest::CardTableTest {
protected:
    void LoadGameCards()
    {
        const test::ScopedCurrentFolder folder(TESSEL_GAME_DIR);
        ASSERT_TRUE(plat::IsReadable(u"data_en\\cards_phys_u.cfg")) << "the build compiles the card file";
        LoadCardDatabase();
    }

};

bool SameRecord(const CARD& a, const CARD& b)
{
    return a.m_Name == b.m_Name && a.m_IdName == b.m_IdName && a.m_TypeLine == b.m_TypeLine && a.m_Id == b.m_Id &&
           a.m_Cost == b.m_Cost && a.m_IsXSpell == b.m_IsXSpell && a.m_CardType == b.m_CardType &&
           a.m_SubType == b.m_SubType && a.m_EnchantIsOffensive == b.m_EnchantIsOffensive &&
           a.m_Rarity == b.m_Rarity && a.m_Stats == b.m_Stats && a.m_SpellTarget == b.m_SpellTarget &&
           a.m_SpellEffect == b.m_SpellEffect && a.m_Ability == b.m_Ability && a.m_Artist == b.m_Artist &&
           a.m_LargeArt == b.m_LargeArt && a.m_CostText == b.m_CostText && a.m_TypeText == b.m_TypeText &&
           a.m_Text == b.m_Text && a.m_EffectText == b.m_EffectText && a.m_FlavorText == b.m_FlavorText &&
           a.m_SmallCardPath == b.m_SmallCardPath;
}

// Enum fields that a mistyped name would have left at -1.
void ExpectNoStrayMinusOne(const TargetSpec& target, const EffectSpec& effect, int id, const char* record)
{
    EXPECT_GE(target.state, 0) << id << record;
    EXPECT_GE(target.owner, 0) << id << record;
    EXPECT_GE(target.type, 0) << id << record;
    EXPECT_GE(effect.effectType, 0) << id << record;
    EXPECT_GE(effect.duration, 0) << id << record;
    EXPECT_GE(effect.raiseTutorType, 0) << id << record;
}

TEST_F(CardDatabaseTest, CompiledCardFileDefinesEveryCardWithoutAFault)
{
    LoadGameCards();
    EXPECT_EQ(cardtest::Log().find("Invalid"), std::string::npos) << cardtest::Log();
    EXPECT_EQ(cardtest::Log().find("Missing _end"), std::string::npos) << cardtest::Log();
    EXPECT_EQ(g_CardDefs[CD_INVALID].GetId(), 0);
    for (int id = FIRST_CARD_ID; id <= LAST_CARD_ID; ++id) {
        const CARD& card = g_CardDefs[id];
        EXPECT_EQ(card.GetId(), id);
        EXPECT_EQ(std::u16string(card.GetIdName()), GetCardIdName(id));
        EXPECT_EQ(std::u16string(card.GetNameField()), WordOf(id)) << id;
        EXPECT_NE(card.GetCardType(), CT_NONE) << id;
        EXPECT_GE(card.GetRarity(), FREQ_COMMON) << id;
        EXPECT_GE(card.GetSubType(), SUBTYPE_NONE) << id;
        EXPECT_GE(card.GetAbility()->costType, COSTTYPE_NONE) << id;
        EXPECT_FALSE(card.GetTypeText().empty()) << id;
        EXPECT_FALSE(card.GetArtist().empty()) << id;
        EXPECT_EQ(card.GetSmallCardPath(), u"data_en\\cards\\" + std::u16string(GetCardIdName(id)) + u".bmp");
        EXPECT_TRUE(card.GetLargeArt().ends_with(u".bmp")) << id;
        ExpectNoStrayMinusOne(*card.GetSpellTarget(), *card.GetSpellEffect(), id, " spell");
        ExpectNoStrayMinusOne(card.GetAbility()->target, card.GetAbility()->effect, id, " ability");
    }
}

// The table draws an attachment only while its spell lasts permanently: an aura without it vanishes when cast.
TEST_F(CardDatabaseTest, EveryAuraLastsPermanently)
{
    LoadGameCards();
    int auras = 0;
    for (int id = FIRST_CARD_ID; id <= LAST_CARD_ID; ++id) {
        const CARD& card = g_CardDefs[id];
        if (card.GetCardType() != CT_ENCHANT || card.GetSpellEffect()->effectType != EFFECT_ENCHANT)
            continue;
        ++auras;
        EXPECT_EQ(card.GetSpellEffect()->duration, DURATION_PERMANENT) << id;
    }
    EXPECT_EQ(auras, 10);
}

TEST_F(CardDatabaseTest, LoadingTwiceGivesTheSameRecords)
{
    LoadGameCards();
    const std::vector<CARD> first(std::begin(g_CardDefs), std::end(g_CardDefs));
    LoadGameCards();
    for (int id = 0; id < CD_NUMBER_OF_CARD_DEFS; ++id)
        EXPECT_TRUE(SameRecord(first[id], g_CardDefs[id])) << id;
}

TEST_F(CardDatabaseTest, CardFileIsReadFromTheLanguageFolderWithOrWithoutItsMark)
{
    const test::TempDir dir;
    const test::ScopedCurrentFolder folder(dir.Path());
    BuildCardVocabulary();
    EXPECT_FALSE(LoadCardFile());
    EXPECT_EQ(g_CardDefs[CD_SELOLBER].GetId(), 0);

    // No byte-order mark, and an odd last byte: the first command is not lost and nothing reads past the end.
    std::vector<std::uint8_t> bytes = test::Utf16Le("definecard CD_SELOLBER\r\nName = Selolber\r\n_end\r\n", false);
    bytes.push_back('d');
    dir.Write("data_en/cards_phys_u.cfg", bytes);
    EXPECT_TRUE(LoadCardFile());
    EXPECT_EQ(std::u16string(g_CardDefs[CD_SELOLBER].GetNameField()), u"Selolber");
    EXPECT_TRUE(plat::IsDirectory(u"data_en\\cards"));

    dir.Write("data_en/cards_phys_u.cfg", test::Utf16Le("definecard CD_WENORTH\nName = Wenorth\n_end\n", true));
    EXPECT_TRUE(LoadCardFile());
    EXPECT_EQ(std::u16string(g_CardDefs[CD_WENORTH].GetNameField()), u"Wenorth");
    // Cards the file does not define keep what they had.
    EXPECT_EQ(std::u16string(g_CardDefs[CD_SELOLBER].GetNameField()), u"Selolber");
}

// ---- The deck lists of the four lessons, colour row by colour row (0 white, 1 blue, 2 black, 3 red, 4 green).

constexpr int DECK_COLOURS = 5;
using DeckRows = std::vector<std::vector<int>>;

struct Deck {
    const char* name;
    int coloursPerSide;
    bool cpuOnline;  // an online CPU deck: no Trample (it would mark the card as half-frozen)
    DeckRows rows;
};

const std::vector<int> PLAINS = {CD_PLAINS1, CD_PLAINS2, CD_PLAINS3, CD_PLAINS4};
const std::vector<int> ISLANDS = {CD_ISLAND1, CD_ISLAND2, CD_ISLAND3, CD_ISLAND4};
const std::vector<int> SWAMPS = {CD_SWAMP1, CD_SWAMP2, CD_SWAMP3, CD_SWAMP4};
const std::vector<int> MOUNTAINS = {CD_MOUNTAIN1, CD_MOUNTAIN2, CD_MOUNTAIN3, CD_MOUNTAIN4};
const std::vector<int> FORESTS = {CD_FOREST1, CD_FOREST2, CD_FOREST3, CD_FOREST4};
const std::vector<int>* const LANDS_BY_COLOUR[DECK_COLOURS] = {&PLAINS, &ISLANDS, &SWAMPS, &MOUNTAINS, &FORESTS};

DeckRows WithLands(DeckRows rows, bool skipMountain1 = false)
{
    for (int colour = 0; colour < DECK_COLOURS; ++colour) {
        for (const int land : *LANDS_BY_COLOUR[colour]) {
            if (!(skipMountain1 && land == CD_MOUNTAIN1))
                rows[colour].push_back(land);
        }
    }
    return rows;
}

const std::vector<Deck>& Decks()
{
    static const std::vector<Deck> decks = {
        {"M1 human", 2, false, WithLands({
             {CD_WENUNMEL, CD_SELOLBER, CD_GALURWYN, CD_NODUMBER},
             {CD_MAVUNTH, CD_ROSORWYN, CD_JORISMAR, CD_PELOTDRE},
             {CD_VEKAKDRE, CD_MAVOLNEL, CD_ESKINRIC, CD_VEKINDAL},
             {CD_TAVEVSAR, CD_ISTUMRIC, CD_ZOLENRIK, CD_DRAUMBER, CD_GALUMSK, CD_DOVANRIC},
             {CD_KAVORVIN, CD_DRAAKNEL, CD_BRAANDRE, CD_ZOLAKSAR},
         })},
        {"M1 CPU", 3, false, WithLands({
             {CD_WENUNMEL, CD_SELOLBER, CD_GALURWYN, CD_NODUMBER},
             {CD_MAVUNTH, CD_ROSORWYN, CD_JORISMAR, CD_PELOTDRE},
             {CD_VEKAKDRE, CD_MAVOLNEL, CD_ESKINRIC, CD_VEKINDAL},
             {CD_TAVEVSAR, CD_ISTUMRIC, CD_ZOLENRIK, CD_DRAUMBER, CD_DOVANRIC},
             {CD_KAVORVIN, CD_DRAAKNEL, CD_BRAANDRE, CD_ZOLAKSAR},
         })},
        {"M2 human", 2, false, WithLands({
             {CD_SELOLBER, CD_TAVENGAST, CD_HOSUNMEL, CD_GREURSK, CD_SELEVMAR, CD_KELOLVIN, CD_DRAISNEL, CD_RALEVTH},
             {CD_PRAUMGAST, CD_ISTUNBER, CD_PRAILGAST, CD_LUMOTTON, CD_TAVEVVIN, CD_HOSURBER},
             {CD_NODOTRIC, CD_VEKAKDRE, CD_BELUNVIN, CD_MAVOLNEL, CD_FALARSAR},
             {CD_TAVEVSAR, CD_ISTUMRIC, CD_ZOLENRIK, CD_NESISMAR, CD_SAVOTNEL, CD_DRAUMBER},
             {CD_KAVORVIN, CD_CELISBER, CD_BRAANDRE, CD_SAVENTH, CD_TOREDBER, CD_WENARWYN},
         })},
        {"M2 CPU", 3, false, WithLands({
             {CD_TAVENGAST, CD_HOSUNMEL, CD_GREURSK, CD_SELEVMAR, CD_KELOLVIN, CD_DRAISNEL, CD_RALEVTH},
             {CD_PRAUMGAST, CD_ISTUNBER, CD_PRAILGAST, CD_LUMOTTON, CD_TAVEVVIN, CD_HOSURBER},
             {CD_NODOTRIC, CD_VEKAKDRE, CD_BELUNVIN, CD_MAVOLNEL, CD_FALARSAR},
             {CD_TAVEVSAR, CD_ISTUMRIC, CD_ZOLENRIK, CD_NESISMAR, CD_SAVOTNEL},
             {CD_KAVORVIN, CD_CELISBER, CD_BRAANDRE, CD_SAVENTH, CD_TOREDBER, CD_WENARWYN},
         })},
        {"M3 human", 2, false, WithLands({
             {CD_TORUMMAR, CD_WENUNMEL, CD_SELOLBER, CD_NESURGAST, CD_WENORTH},
             {CD_JORISMAR, CD_CASUNSK, CD_ESKILGAST, CD_TAVEVVIN, CD_FENORTON, CD_ESKARMAR},
             {CD_NODOTRIC, CD_BRAISWYN, CD_CASINDRE, CD_MAVOLNEL, CD_FALARSAR},
             {CD_ISTUMRIC, CD_SAVOTNEL, CD_KAVANRIK, CD_CELARNEL, CD_VORENTON},
             {CD_KAVORVIN, CD_NODUNNEL, CD_LORORMEL, CD_SAVENTH, CD_ROSOTSK, CD_PRAUNRIK},
         }, true)},
        {"M3 CPU", 3, true, WithLands({
             {CD_TORUMMAR, CD_WENUNMEL, CD_SELOLBER, CD_NESURGAST, CD_WENORTH},
             {CD_JORISMAR, CD_CASUNSK, CD_ESKILGAST, CD_TAVEVVIN, CD_FENORTON, CD_ESKARMAR},
             {CD_NODOTRIC, CD_BRAISWYN, CD_CASINDRE, CD_MAVOLNEL, CD_FENEVDAL, CD_FALARSAR},
             {CD_KAVANRIK, CD_ISTUMRIC, CD_CELARNEL, CD_VORENTON, CD_SAVOTNEL},
             {CD_KAVORVIN, CD_LORORMEL, CD_SAVENTH, CD_ROSOTSK, CD_PRAUNRIK},
         }, true)},
        {"M4 human", 2, false, WithLands({
             {CD_PELINTON, CD_ULMILVIN, CD_TAVENGAST, CD_ZOLEDMAR, CD_CELAKBER, CD_CASUMWYN, CD_JAVINRIK, CD_DRAARTH,
              CD_FALEVVIN, CD_GALURWYN, CD_CASEVMEL, CD_FENANSAR},
             {CD_GREUMDRE, CD_LUMOLDAL, CD_JORAKMAR, CD_JAVILSAR, CD_PRAISRIK, CD_WENISMEL, CD_NESEDRIC, CD_NESUNMAR,
              CD_SAVEVNEL, CD_HOSURBER, CD_RALARMEL, CD_DRAISNEL},
             {CD_WENANSK, CD_VORUMTON, CD_VEKAKDRE, CD_BELUNVIN, CD_DOVORGAST, CD_KAVARGAST, CD_ESKOTMAR, CD_ESKINRIC,
              CD_JORINBER, CD_ULMENSAR, CD_QUELARVIN, CD_HOSEDMEL},
             {CD_TAVEDRIK, CD_VORUNDAL, CD_HALILTH, CD_BRAUNWYN, CD_MERENWYN, CD_BELURDRE, CD_LOREDDRE, CD_ZOLOTGAST,
              CD_DRAUMBER, CD_QUELAKDAL, CD_GALUMSK, CD_HALENMEL},
             {CD_ORBUNSAR, CD_NODURMAR, CD_TORURRIK, CD_JAVANMAR, CD_BRAANDRE, CD_SELOTRIC, CD_YAROLNEL, CD_CELILRIC,
              CD_CASISSK, CD_ZOLOLRIK, CD_GALEDTON},
         }, true)},
        {"M4 CPU", 3, true, WithLands({
             {CD_PELINTON, CD_ULMILVIN, CD_CELAKBER, CD_ZOLEDMAR, CD_CASUMWYN, CD_FALEVVIN, CD_GALURWYN, CD_JAVINRIK},
             {CD_GREUMDRE, CD_LUMOLDAL, CD_JORAKMAR, CD_WENISMEL, CD_NESEDRIC, CD_NESUNMAR, CD_HOSURBER, CD_DRAISNEL},
             {CD_WENANSK, CD_VORUMTON, CD_VEKAKDRE, CD_BELUNVIN, CD_KAVARGAST, CD_ULMENSAR, CD_ESKINRIC, CD_HOSEDMEL},
             {CD_TAVEDRIK, CD_VORUNDAL, CD_BRAUNWYN, CD_MERENWYN, CD_BELURDRE, CD_VORENTON, CD_GALUMSK, CD_HALENMEL},
             {CD_ORBUNSAR, CD_NODURMAR, CD_TORURRIK, CD_JAVANMAR, CD_SELOTRIC, CD_YAROLNEL, CD_ZOLOLRIK, CD_GALEDTON},
         }, true)},
    };
    return decks;
}

// The five colour counters of a cost as a set of deck colours (0 white ... 4 green).
std::set<int> DeckColoursOf(const ManaCost& cost)
{
    std::set<int> colours;
    const int counters[DECK_COLOURS] = {cost.white, cost.blue, cost.black, cost.red, cost.green};
    for (int colour = 0; colour < DECK_COLOURS; ++colour) {
        if (counters[colour] != 0)
            colours.insert(colour);
    }
    return colours;
}

constexpr int CARD_TARGET_BITS = TT_LAND | TT_CREATURE | TT_ARTIFACT | TT_ARTIFACT_CREATURE | TT_ENCHANTMENT;

// A record that aims at cards must let some card pass the owner, colour and state tests.
void ExpectCardTargetsPossible(const TargetSpec& target, int id, const char* record)
{
    if ((target.type & CARD_TARGET_BITS) == 0)
        return;
    EXPECT_GT(target.color.Total(), 0) << id << record << ": a zero TargetColor accepts no card";
    EXPECT_NE(target.state, NULL_STATE) << id << record;
    EXPECT_NE(target.owner, OWNER_NULL) << id << record;
}

void ExpectPlayable(const CARD& card, const std::set<int>& deckColours, bool cpuOnline, const std::string& where)
{
    const int id = card.GetId();
    ASSERT_NE(id, 0) << where << ": not defined";
    const std::set<int> colours = DeckColoursOf(*card.GetManaCounters());
    EXPECT_LE(colours.size(), 1u) << where << " " << id << ": one colour per card";
    for (const int colour : colours)
        EXPECT_TRUE(deckColours.count(colour)) << where << " " << id << " is off-colour";
    if (cpuOnline) {
        EXPECT_FALSE(card.GetCreatureStats()->trample) << where << " " << id;
    }

    const CardAbility& ability = *card.GetAbility();
    switch (card.GetCardType()) {
    case CT_LAND: {
        const int kind = card.GetBasicLandKind();
        ASSERT_GE(kind, 0) << where << " " << id;
        EXPECT_EQ(colours.size(), 1u) << where << " " << id << ": a land carries its colour in Cost";
        EXPECT_EQ(card.GetManaCounters()->Total(), 1) << id;
        EXPECT_EQ(ability.costType, COSTTYPE_TAP) << id;
        EXPECT_EQ(ability.cost.Total(), 0) << id;
        EXPECT_EQ(ability.effect.effectType, EFFECT_PRODUCEMANA) << id;
        EXPECT_EQ(ability.effect.manaProduced, *card.GetManaCounters()) << id;
        break;
    }
    case CT_CREATURE:
        EXPECT_GE(card.GetCreatureStats()->toughness, 1) << id;
        EXPECT_GE(card.GetCreatureStats()->power, 0) << id;
        // The attack rules know only CannotAttack; a wall that lacks it would attack.
        EXPECT_TRUE(!card.GetCreatureStats()->isWall || card.GetCreatureStats()->cannotAttack) << id;
        break;
    case CT_SORCERY:
    case CT_INSTANT:
        EXPECT_NE(card.GetSpellEffect()->effectType, EFFECT_NONE) << id;
        break;
    case CT_ENCHANT:
        EXPECT_GE(card.GetSubType(), ENCH_CREATURE) << id;
        if (card.GetSubType() == ENCH_CREATURE || card.GetSubType() == ENCH_LAND) {
            EXPECT_EQ(card.GetSpellEffect()->effectType, EFFECT_ENCHANT) << id;
            EXPECT_TRUE(card.GetSpellEffect()->needsTarget) << id;
        }
        break;
    case CT_ARTIFACT:
        EXPECT_TRUE(card.HasActivatedAbility()) << id;
        break;
    default:
        ADD_FAILURE() << where << " " << id << " has no card type";
    }
    if (card.GetCardType() != CT_LAND) {
        EXPECT_TRUE(card.GetManaCounters()->Total() > 0 || card.IsXSpell()) << id << ": no cost";
    }
    if (ability.costType != COSTTYPE_NONE) {
        EXPECT_NE(ability.effect.effectType, EFFECT_NONE) << id;
    }
    ExpectCardTargetsPossible(*card.GetSpellTarget(), id, " spell");
    ExpectCardTargetsPossible(ability.target, id, " ability");
}

TEST_F(CardDatabaseTest, EveryDeckCardOfEveryColourCombinationIsPlayable)
{
    LoadGameCards();
    for (const Deck& deck : Decks()) {
        // Every choice of two (human) or three (CPU) different colours.
        for (int mask = 0; mask < (1 << DECK_COLOURS); ++mask) {
            if (__builtin_popcount(mask) != deck.coloursPerSide)
                continue;
            std::set<int> colours;
            for (int colour = 0; colour < DECK_COLOURS; ++colour) {
                if (mask & (1 << colour))
                    colours.insert(colour);
            }
            for (const int colour : colours) {
                for (const int id : deck.rows[colour]) {
                    ExpectPlayable(g_CardDefs[id], colours, deck.cpuOnline,
                                   std::string(deck.name) + " colours " + std::to_string(mask));
                }
            }
        }
    }
}

// ---- What the rules change for each effect kind: the stack's handlers, the power and toughness recompute, the
// static abilities and the payment. A record whose kind no path applies does nothing in a game.

// How a record reaches the rules.
enum class Use {
    Spell,         // cast: resolved by its kind's handler (a permanent without one just enters play)
    Activated,     // an ability paid for and put on the stack
    ComesIntoPlay, // an ability that replaces the card's resolved spell on the stack, with no target of its own
    Static,        // a lasting ability, counted by the recompute or the static abilities
    Mana           // a mana ability: the payment uses it, it never reaches the stack
};

const char* UseName(Use use)
{
    constexpr const char* NAMES[] = {"spell", "activated ability", "comes-into-play ability", "static ability",
                                     "mana ability"};
    return NAMES[static_cast<int>(use)];
}

bool HasKeyword(const CreatureStats& s)
{
    return s.hasCannotBlock || s.hasFearAttack || s.mustAttack || s.isUnblockable || s.flying || s.flyBlock ||
           s.trample || s.firstStrike || s.cannotAttack || s.noTapAttack || s.haste || s.isWall;
}

bool IsAura(const CARD& card)
{
    return card.GetCardType() == CT_ENCHANT && card.GetSpellEffect()->effectType == EFFECT_ENCHANT;
}

// Empty when the rules change something with the record; otherwise why they do not.
std::string WhyNothingChanges(const CARD& card, Use use, const TargetSpec& t, const EffectSpec& e)
{
    // A card target is chosen (a comes-into-play ability has none to choose) or is the card itself or its host.
    const bool chooses = use != Use::ComesIntoPlay && (e.needsTarget || e.targetOnResolve || e.targetIsGroup);
    const bool aimsAtCard = (chooses && (t.type & CARD_TARGET_BITS) != 0) ||
                            (use != Use::Spell && (t.type == TT_SELF || t.type == TT_ENCHANTEE));
    const bool aimsAtPlayer = t.caster || t.opponent;
    const bool stack = use == Use::Spell || use == Use::Activated || use == Use::ComesIntoPlay;
    const bool creature = card.GetCardType() == CT_CREATURE;
    const bool ptChange = e.powerModAmt != 0 || e.toughModAmt != 0;
    const bool globalGroup = card.GetSubType() == ENCH_GLOBAL && e.targetIsGroup && (t.type & TT_CREATURE) != 0;
    switch (e.effectType) {
    case EFFECT_NONE:
        return use == Use::Spell && card.IsPermanentType() ? "" : "no effect";
    case EFFECT_ENCHANT:  // the aura is attached to its target
        return use == Use::Spell && card.GetCardType() == CT_ENCHANT && aimsAtCard ? "" : "attaches only an aura spell";
    case EFFECT_DAMAGE:
        if (!stack)
            return "damage is dealt only on the stack";
        return e.damageAmt > 0 && (aimsAtCard || aimsAtPlayer) ? "" : "no amount or nothing to hit";
    case EFFECT_PTMOD_STATIC:
        // The stack attaches the card: an attached card counts its spell's modifiers unless it is an enchantment,
        // and an enchantment counts only its ability for its own host.
        if (use == Use::Spell)
            return card.GetCardType() != CT_ENCHANT && ptChange && aimsAtCard ? "" : "no modifiers reach the target";
        if (use == Use::Static)
            return ptChange && (creature || IsAura(card) || globalGroup) ? "" : "nothing counts the modifiers";
        return "an attached card adds its spell's modifiers, never its ability's";
    case EFFECT_PTMOD_MANAPUMP:  // the pump count of the card itself, or of the aura for its host
        return use == Use::Activated && ptChange && (creature || IsAura(card)) ? "" : "nothing is pumped";
    case EFFECT_PTMOD_LANDGROWTH:  // counted by the recompute only
        return use == Use::Static && ptChange && e.ptModLandColor.Total() > 0 && (creature || IsAura(card))
                   ? ""
                   : "no handler; the recompute counts it only as a lasting ability of a creature or aura";
    case EFFECT_MODLIFE:
        return stack && e.modLifeAmt != 0 && aimsAtPlayer ? "" : "no amount or no player";
    case EFFECT_MODLIFE_XATTACKERS:  // the cast counts the attackers
        return use == Use::Spell && e.modLifeAmt != 0 && aimsAtPlayer ? "" : "only a spell counts attackers";
    case EFFECT_DRAINLIFE:
        return stack && e.drainLifeAmt > 0 && (aimsAtCard || aimsAtPlayer) ? "" : "no amount or nothing to drain";
    case EFFECT_PREVENTDAMAGE:
        return stack && e.preventDmgAmt > 0 && (aimsAtCard || aimsAtPlayer) ? "" : "no amount or nothing to shield";
    case EFFECT_GAINLIFEORPREVENTDAMAGE:
        return stack && e.modLifeAmt > 0 && e.preventDmgAmt > 0 && (aimsAtCard || aimsAtPlayer) ? "" : "no amounts";
    case EFFECT_DRAWDISCARD:
    case EFFECT_OPPONENTDISCARD:
        return stack && aimsAtPlayer && (e.drawAmt > 0 || e.discardAmt > 0) ? "" : "no player or no cards";
    case EFFECT_RAISE:
        return stack && aimsAtCard && t.state == GRAVEYARD && e.raiseTutorType >= RAISETUTOR_TOHAND &&
                       e.raiseTutorType <= RAISETUTOR_TOPLAYTAPPED
                   ? ""
                   : "no graveyard card or no destination";
    case EFFECT_TUTOR:
        // The resolution prompts search; the library list accepts what the target record allows.
        if (!stack || e.raiseTutorType < RAISETUTOR_TOHAND || e.raiseTutorType > RAISETUTOR_LIBTOP_TARGETTOPLAY)
            return "no search";
        return e.raiseTutorType == RAISETUTOR_LIBTOP_TARGETTOPLAY ||
                       ((t.type & CARD_TARGET_BITS) != 0 && t.state == LIBRARY && t.color.Total() > 0 &&
                        t.owner != OWNER_NULL)
                   ? ""
                   : "the library list accepts no card";
    case EFFECT_SPY:
        return stack && e.spyAmt > 0 ? "" : "no cards to look at";
    case EFFECT_COUNTER:
        return stack && aimsAtCard && t.state == ON_STACK ? "" : "no spell to counter";
    case EFFECT_DESTROY:
    case EFFECT_UNSUMMON:
    case EFFECT_TAP:
    case EFFECT_REGENERATE:
        return stack && aimsAtCard ? "" : "no card to act on";
    case EFFECT_DESTROY_GAINLIFE_P:
    case EFFECT_DESTROY_GAINLIFE_T:
        return stack && aimsAtCard && e.modLifeAmt > 0 ? "" : "no card or no life to gain";
    case EFFECT_PRODUCEMANA:  // the payment taps the source
        return use == Use::Mana && e.manaProduced.Total() > 0 ? "" : "mana comes only from a tap ability";
    case EFFECT_CHOOSEMANA:  // the payment adds a chosen colour for the enchanted land
        return use == Use::Mana && card.GetSubType() == ENCH_LAND && e.manaProduced.Total() > 0 ? ""
                                                                                                : "no land adds mana";
    case EFFECT_MODCREATURE:  // keyword bytes of the card's own statistics reach the host, the target or the group
        if (!HasKeyword(*card.GetCreatureStats()))
            return "the card gives no keyword";
        if (use == Use::Static)
            return IsAura(card) || globalGroup ? "" : "no creature takes the keywords";
        return stack && aimsAtCard ? "" : "no creature takes the keywords";
    case EFFECT_ADDFLYING:  // its target creature, or else the card itself, flies until the end of the turn
        return stack && use != Use::Spell && ((aimsAtCard && (t.type & TT_CREATURE) != 0) || creature)
                   ? ""
                   : "no creature gains flying";
    case EFFECT_ADDABILITYTOSTACK:
        return "only a permanent's spell puts its ability on the stack";
    default:  // EFFECT_REMOVEFROMGAME, EFFECT_UNTAP: no handler
        return "no handler applies this kind";
    }
}

TEST_F(CardDatabaseTest, EveryDeckCardsSpellAndAbilityChangeSomethingInTheRules)
{
    LoadGameCards();
    std::set<int> ids;
    for (const Deck& deck : Decks()) {
        for (const std::vector<int>& row : deck.rows)
            ids.insert(row.begin(), row.end());
    }
    EXPECT_EQ(ids.size(), 130u);
    std::vector<std::string> faults;
    const auto check = [&](const CARD& card, Use use, const TargetSpec& target, const EffectSpec& effect) {
        const std::string why = WhyNothingChanges(card, use, target, effect);
        if (!why.empty()) {
            faults.push_back(plat::ToUtf8(card.GetIdName()) + " " + UseName(use) + " of effect kind " +
                             std::to_string(effect.effectType) + ": " + why);
        }
    };
    for (const int id : ids) {
        const CARD& card = g_CardDefs[id];
        const CardAbility& ability = *card.GetAbility();
        const bool comesIntoPlay = card.GetSpellEffect()->effectType == EFFECT_ADDABILITYTOSTACK;
        if (card.GetCardType() != CT_LAND && !comesIntoPlay)
            check(card, Use::Spell, *card.GetSpellTarget(), *card.GetSpellEffect());
        if (ability.effect.effectType == EFFECT_NONE && ability.costType == COSTTYPE_NONE && !comesIntoPlay)
            continue;
        const int kind = ability.effect.effectType;
        const Use use = kind == EFFECT_PRODUCEMANA || kind == EFFECT_CHOOSEMANA ? Use::Mana
                        : comesIntoPlay                                        ? Use::ComesIntoPlay
                        : ability.costType != COSTTYPE_NONE                    ? Use::Activated
                        : card.HasStaticAbility()                              ? Use::Static
                                                                               : Use::Activated;
        if (use == Use::Activated && ability.costType == COSTTYPE_NONE) {
            faults.push_back(plat::ToUtf8(card.GetIdName()) + ": an ability that is neither paid for nor lasting");
            continue;
        }
        check(card, use, ability.target, ability.effect);
    }
    EXPECT_TRUE(faults.empty()) << faults.size() << " records change nothing:" << [&] {
        std::string text;
        for (const std::string& fault : faults)
            text += "\n  " + fault;
        return text;
    }();
}

// What single subsystems assume of particular cards, one row per fact.
TEST_F(CardDatabaseTest, CardsSingledOutByTheRulesHaveTheirShapes)
{
    LoadGameCards();
    struct Fact {
        int id;
        const char* what;
        std::function<bool(const CARD&)> holds;
    };
    const auto spell = [](const CARD& c) { return *c.GetSpellEffect(); };
    const auto spellTarget = [](const CARD& c) { return *c.GetSpellTarget(); };
    const auto ability = [](const CARD& c) { return *c.GetAbility(); };
    const auto stats = [](const CARD& c) { return *c.GetCreatureStats(); };
    const auto hostileBasic = [&](const CARD& c) {
        return spell(c).needsTarget && spellTarget(c).caster && spellTarget(c).opponent;
    };
    // The ability that replaces a resolved creature spell inherits the spell's targets, which a creature spell
    // never has: only an automatic target (a player, or the card itself) lets it do anything.
    const auto comesIntoPlayAimsItself = [&](const CARD& c) {
        const CardAbility a = ability(c);
        const bool automatic = !a.effect.needsTarget && !a.effect.targetOnResolve && !a.effect.targetIsGroup;
        return a.effect.effectType != EFFECT_NONE && !spell(c).needsTarget && automatic &&
               (a.target.caster || a.target.opponent || a.target.type == TT_SELF || a.target.type == TT_ENCHANTEE);
    };
    const std::vector<Fact> facts = {
        {CD_FALARSAR, "nonblack filter, no regeneration, destroy",
         [&](const CARD& c) {
             return spellTarget(c).color == ManaCost(1, 1, 1, 1, 0, 1) && spell(c).noRegen &&
                    spell(c).effectType == EFFECT_DESTROY && (spellTarget(c).type & TT_CREATURE) != 0;
         }},
        {CD_WENORTH, "gain 3 or prevent 3, targets creatures and players",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_GAINLIFEORPREVENTDAMAGE && spell(c).modLifeAmt == 3 &&
                    spell(c).preventDmgAmt == 3 && (spellTarget(c).type & TT_CREATURE) && spellTarget(c).caster &&
                    spellTarget(c).opponent;
         }},
        {CD_NESURGAST, "3 life per attacker, for the caster",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_MODLIFE_XATTACKERS && spell(c).modLifeAmt == 3 &&
                    spellTarget(c).caster && !spell(c).needsTarget;
         }},
        {CD_SAVOTNEL, "2 damage to creature or player",
         [&](const CARD& c) { return spell(c).effectType == EFFECT_DAMAGE && spell(c).damageAmt == 2 && hostileBasic(c); }},
        {CD_VORENTON, "4 damage to creature or player",
         [&](const CARD& c) { return spell(c).effectType == EFFECT_DAMAGE && spell(c).damageAmt == 4 && hostileBasic(c); }},
        {CD_TORUMMAR, "comes-into-play ability with an automatic target",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_ADDABILITYTOSTACK && comesIntoPlayAimsItself(c) &&
                    !c.HasActivatedAbility() && !c.HasStaticAbility();
         }},
        // Its advice shows while a library search holds the stack; the library list tests the target record.
        {CD_ROSOTSK, "comes into play: its controller searches the library for a land and puts it into play",
         [&](const CARD& c) {
             const CardAbility a = ability(c);
             return spell(c).effectType == EFFECT_ADDABILITYTOSTACK && a.effect.effectType == EFFECT_TUTOR &&
                    a.effect.raiseTutorType == RAISETUTOR_TOPLAY && !a.effect.needsTarget &&
                    a.target.type == TT_LAND && a.target.state == LIBRARY &&
                    a.target.color == ManaCost(1, 1, 1, 1, 1, 1) && a.target.owner == OWNER_SELF &&
                    !c.HasActivatedAbility() && !c.HasStaticAbility();
         }},
        {CD_ZOLEDMAR, "pay 1 and tap: 1 damage to target creature",
         [&](const CARD& c) {
             const CardAbility a = ability(c);
             return a.costType == COSTTYPE_TAP && a.cost == ManaCost(1, 0, 0, 0, 0, 0) &&
                    a.effect.effectType == EFFECT_DAMAGE && a.effect.damageAmt == 1 && a.effect.needsTarget &&
                    a.target.type == TT_CREATURE;
         }},
        {CD_YAROLNEL, "pay 1G: tap target creature",
         [&](const CARD& c) {
             const CardAbility a = ability(c);
             return a.costType == COSTTYPE_NOTAP && a.cost == ManaCost(1, 0, 1, 0, 0, 0) &&
                    a.effect.effectType == EFFECT_TAP && a.effect.needsTarget && a.target.type == TT_CREATURE;
         }},
        {CD_GALEDTON, "pay 1 and tap: target creature flies until end of turn",
         [&](const CARD& c) {
             const CardAbility a = ability(c);
             return a.costType == COSTTYPE_TAP && a.effect.effectType == EFFECT_ADDFLYING &&
                    a.effect.duration == DURATION_TURN && a.effect.needsTarget && a.target.type == TT_CREATURE;
         }},
        {CD_GALUMSK, "destroy target land of any colour",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_DESTROY && spellTarget(c).type == TT_LAND &&
                    spellTarget(c).color == ManaCost(1, 1, 1, 1, 1, 1) && spell(c).needsTarget;
         }},
        {CD_NODUMBER, "destroy target tapped creature",
         [&](const CARD& c) { return spell(c).effectType == EFFECT_DESTROY && spellTarget(c).state == TAPPED; }},
        {CD_KELOLVIN, "destroy target attacking creature, instant",
         [&](const CARD& c) {
             return c.GetCardType() == CT_INSTANT && spell(c).effectType == EFFECT_DESTROY &&
                    spellTarget(c).state == ATTACKING && spellTarget(c).type == TT_CREATURE;
         }},
        {CD_SAVEVNEL, "counter unless 3 is paid",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_COUNTER && spell(c).counterManaSink == ManaCost(3, 0, 0, 0, 0, 0) &&
                    spellTarget(c).state == ON_STACK;
         }},
        {CD_HOSURBER, "counter target creature spell",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_COUNTER && spellTarget(c).type == TT_CREATURE &&
                    spellTarget(c).state == ON_STACK;
         }},
        {CD_ZOLAKSAR, "search a land into play",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_TUTOR && spellTarget(c).type == TT_LAND &&
                    (spell(c).raiseTutorType == RAISETUTOR_TOPLAY || spell(c).raiseTutorType == RAISETUTOR_TOPLAYTAPPED) &&
                    spellTarget(c).color.Total() > 0;
         }},
        {CD_ESKINRIC, "target player discards",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_DRAWDISCARD && spell(c).drawAmt == 0 && spell(c).discardAmt >= 1 &&
                    hostileBasic(c);
         }},
        {CD_VEKINDAL, "drain life from target player",
         [&](const CARD& c) { return spell(c).effectType == EFFECT_DRAINLIFE && spell(c).drainLifeAmt > 0 && hostileBasic(c); }},
        {CD_DRAUMBER, "damage to creature or player",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_DAMAGE && hostileBasic(c) && (spellTarget(c).type & TT_CREATURE);
         }},
        {CD_DOVANRIC, "damage that finishes a wounded Braandre",
         [&](const CARD& c) {
             return spell(c).effectType == EFFECT_DAMAGE && hostileBasic(c) &&
                    spell(c).damageAmt < g_CardDefs[CD_BRAANDRE].GetCreatureStats()->toughness;
         }},
        {CD_PELOTDRE, "you draw cards",
         [&](const CARD& c) { return spell(c).effectType == EFFECT_DRAWDISCARD && spell(c).drawAmt >= 1 && spellTarget(c).caster; }},
        {CD_GALURWYN, "you gain 4 life",
         [&](const CARD& c) { return spell(c).effectType == EFFECT_MODLIFE && spell(c).modLifeAmt == 4 && spellTarget(c).caster; }},
        {CD_TAVEVSAR, "must attack", [&](const CARD& c) { return stats(c).mustAttack; }},
        {CD_CASUNSK, "unblockable", [&](const CARD& c) { return stats(c).isUnblockable; }},
        {CD_QUELINVIN, "unblockable", [&](const CARD& c) { return stats(c).isUnblockable; }},
        {CD_LUMARTON, "no Trample (the half-untap marker)", [&](const CARD& c) { return !stats(c).trample; }},
        {CD_CELISBER, "a creature that taps for green",
         [&](const CARD& c) {
             return c.GetCardType() == CT_CREATURE && ability(c).costType == COSTTYPE_TAP && ability(c).cost.Total() == 0 &&
                    ability(c).effect.effectType == EFFECT_PRODUCEMANA && ability(c).effect.manaProduced.green == 1;
         }},
        {CD_DRAISNEL, "colourless artifact: pay 3 and tap to deal damage",
         [&](const CARD& c) {
             return c.GetCardType() == CT_ARTIFACT && c.GetColorIndex() == 5 && ability(c).costType == COSTTYPE_TAP &&
                    ability(c).cost == ManaCost(3, 0, 0, 0, 0, 0) && ability(c).effect.effectType == EFFECT_DAMAGE &&
                    ability(c).effect.needsTarget;
         }},
        {CD_RALEVTH, "colourless artifact creature helping its controller",
         [&](const CARD& c) {
             return c.GetCardType() == CT_CREATURE && c.GetSubType() == ARTIFACT_CREATURE && c.GetColorIndex() == 5 &&
                    c.HasActivatedAbility() && ability(c).target.caster;
         }},
        {CD_HALENMEL, "artifact creature", [&](const CARD& c) { return c.GetSubType() == ARTIFACT_CREATURE; }},
        {CD_PRAILGAST, "tap: draw one, discard one",
         [&](const CARD& c) {
             return ability(c).costType == COSTTYPE_TAP && ability(c).effect.effectType == EFFECT_DRAWDISCARD &&
                    ability(c).effect.drawAmt == 1 && ability(c).effect.discardAmt == 1 && ability(c).target.caster;
         }},
        {CD_TAVENGAST, "white toughness pump",
         [&](const CARD& c) {
             return ability(c).effect.effectType == EFFECT_PTMOD_MANAPUMP && ability(c).costType == COSTTYPE_NOTAP &&
                    ability(c).cost.white == 1 && ability(c).effect.toughModAmt == 1;
         }},
        {CD_BELUNVIN, "black +1/+1 pump",
         [&](const CARD& c) {
             return ability(c).effect.effectType == EFFECT_PTMOD_MANAPUMP && ability(c).cost.black == 1 &&
                    ability(c).effect.powerModAmt == 1 && ability(c).effect.toughModAmt == 1;
         }},
        {CD_NESISMAR, "aura with a red pump for its host",
         [&](const CARD& c) {
             return c.GetSubType() == ENCH_CREATURE && ability(c).effect.effectType == EFFECT_PTMOD_MANAPUMP &&
                    ability(c).cost.red == 1 && ability(c).effect.powerModAmt == 1 && ability(c).target.type == TT_ENCHANTEE;
         }},
        {CD_TOREDBER, "aura growing with Forests",
         [&](const CARD& c) {
             return ability(c).effect.effectType == EFFECT_PTMOD_LANDGROWTH && ability(c).effect.ptModLandColor.green > 0 &&
                    ability(c).effect.duration == DURATION_PERMANENT && c.HasStaticAbility();
         }},
        {CD_LUMOTTON, "aura granting Flying",
         [&](const CARD& c) {
             return c.GetSubType() == ENCH_CREATURE && stats(c).flying && ability(c).effect.effectType == EFFECT_MODCREATURE &&
                    !c.IsEnchantOffensive();
         }},
        {CD_SELEVMAR, "offensive aura: cannot attack or block",
         [&](const CARD& c) {
             return c.IsEnchantOffensive() && stats(c).cannotAttack && stats(c).hasCannotBlock &&
                    ability(c).effect.effectType == EFFECT_MODCREATURE;
         }},
        {CD_QUELAKDAL, "aura granting first strike",
         [&](const CARD& c) { return stats(c).firstStrike && ability(c).effect.effectType == EFFECT_MODCREATURE; }},
        {CD_GREUMDRE, "sacrifice a land: flying this turn",
         [&](const CARD& c) {
             return ability(c).costType == COSTTYPE_SACTARGET && ability(c).effect.effectType == EFFECT_ADDFLYING &&
                    ability(c).effect.duration == DURATION_TURN && ability(c).target.type == TT_LAND;
         }},
        {CD_BRAILMEL, "land aura on its owner's lands",
         [&](const CARD& c) {
             return c.GetSubType() == ENCH_LAND && spell(c).effectType == EFFECT_ENCHANT && spellTarget(c).type == TT_LAND &&
                    spellTarget(c).owner == OWNER_SELF;
         }},
        {CD_DRAARTH, "global enchantment",
         [&](const CARD& c) { return c.GetSubType() == ENCH_GLOBAL && ability(c).effect.targetIsGroup && c.HasStaticAbility(); }},
        {CD_ZOLOLRIK, "X sorcery", [&](const CARD& c) { return c.IsXSpell() && c.GetCardType() == CT_SORCERY; }},
        {CD_ZOLOTGAST, "X sorcery", [&](const CARD& c) { return c.IsXSpell() && c.GetCardType() == CT_SORCERY; }},
        {CD_KAVARGAST, "Fear", [&](const CARD& c) { return stats(c).hasFearAttack; }},
        {CD_CASEVMEL, "Wall, tougher", [&](const CARD& c) { return stats(c).isWall && stats(c).toughness > stats(c).power; }},
        {CD_BELURDRE, "first strike, more power",
         [&](const CARD& c) { return stats(c).firstStrike && stats(c).power > stats(c).toughness; }},
        {CD_VORUNDAL, "haste, more power", [&](const CARD& c) { return stats(c).haste && stats(c).power > stats(c).toughness; }},
    };
    for (const Fact& fact : facts)
        EXPECT_TRUE(fact.holds(g_CardDefs[fact.id])) << plat::ToUtf8(GetCardIdName(fact.id)) << ": " << fact.what;

    // The basic lesson's plain, powerful and tough creatures.
    for (const int id : {CD_MAVOLNEL, CD_WENUNMEL, CD_JORISMAR, CD_KAVORVIN, CD_SELOLBER, CD_ISTUMRIC, CD_ROSORWYN})
        EXPECT_EQ(stats(g_CardDefs[id]).power, stats(g_CardDefs[id]).toughness) << id;
    for (const int id : {CD_VEKAKDRE, CD_ZOLORSAR, CD_ZOLENRIK, CD_BRAANDRE})
        EXPECT_GT(stats(g_CardDefs[id]).power, stats(g_CardDefs[id]).toughness) << id;
    for (const int id : {CD_MAVUNTH, CD_DRAAKNEL, CD_JAVINRIK, CD_NODURMAR, CD_WENISMEL, CD_JORAKMAR, CD_PELINTON})
        EXPECT_LT(stats(g_CardDefs[id]).power, stats(g_CardDefs[id]).toughness) << id;
    for (const int id : {CD_NODOTRIC, CD_TAVEVVIN, CD_HOSUNMEL, CD_GREURSK, CD_PRAUMGAST, CD_ISTUNBER})
        EXPECT_TRUE(stats(g_CardDefs[id]).flying) << id;
    // The key cards of the basic CPU deck are never creatures of cost 1 (such a deal is dealt again).
    for (const int id : {CD_SELOLBER, CD_KAVORVIN, CD_TAVEVSAR})
        EXPECT_GT(g_CardDefs[id].GetManaCounters()->Total(), 1) << id;
}

} // namespace
