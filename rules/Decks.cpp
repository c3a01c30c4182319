#include "rules/Decks.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/Intro.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

struct Run {
    int id;
    int count;
};
using Row = std::vector<int>;

Row Expand(std::initializer_list<Run> runs)
{
    Row row;
    for (const Run& run : runs)
        row.insert(row.end(), static_cast<std::size_t>(run.count), run.id);
    return row;
}

int s_HumanColours[2] = {COLOUR_WHITE, COLOUR_BLUE};
int s_CpuColours[3] = {COLOUR_BLACK, COLOUR_RED, COLOUR_GREEN};
int s_ForcedFirst[2] = {0, 0};
DeckList s_Decks[2] = {};
std::array<int, 7> s_ForcedHand{};
bool s_Redeal = false;
int s_HumanTurns = 0;
int s_HumanBonusCard = 0;

int Rand()
{
    return plat::Rand();
}

// The first basic land identifier of a colour.
int FirstLand(int colour)
{
    constexpr int LANDS[5] = {CD_PLAINS1, CD_ISLAND1, CD_SWAMP1, CD_MOUNTAIN1, CD_FOREST1};
    return LANDS[colour];
}

int RandomLand(int colour)
{
    return FirstLand(colour) + (Rand() & 3);
}

bool HasColour(const int* colours, int n, int colour)
{
    return std::find(colours, colours + n, colour) != colours + n;
}

const CARD* Definition(int id)
{
    return id > 0 && id < CD_NUMBER_OF_CARD_DEFS ? &g_CardDefs[id] : nullptr;
}

// Fills the deck in random order from the cards (all of them, up to 40).
void FillRandom(DeckList& deck, std::vector<int> cards, int from = 0)
{
    for (int i = from; i < DECK_SIZE && !cards.empty(); ++i) {
        const int k = Rand() % static_cast<int>(cards.size());
        deck[static_cast<std::size_t>(i)] = cards[static_cast<std::size_t>(k)];
        cards.erase(cards.begin() + k);
    }
}

bool TakeFirst(std::vector<int>& cards, int id)
{
    const auto found = std::find(cards.begin(), cards.end(), id);
    if (found == cards.end())
        return false;
    cards.erase(found);
    return true;
}

bool TakeFirstWhere(std::vector<int>& cards, int& out, bool (*test)(int, int), int arg)
{
    for (auto it = cards.begin(); it != cards.end(); ++it) {
        if (test(*it, arg)) {
            out = *it;
            cards.erase(it);
            return true;
        }
    }
    return false;
}

bool IsBasicLandOf(int id, int colour)
{
    return id >= FirstLand(colour) && id < FirstLand(colour) + 4;
}

// ---- Preset rows of the online lesson ------------------------------------------------------------------------

Row HumanRow(int mode, int colour)
{
    if (mode == 3) {
        switch (colour) {
        case COLOUR_WHITE:
            return Expand({{CD_TORUMMAR, 3}, {CD_WENUNMEL, 2}, {CD_SELOLBER, 4}, {CD_NESURGAST, 1}, {CD_WENORTH, 2},
                           {CD_PLAINS1, 2}, {CD_PLAINS2, 2}, {CD_PLAINS3, 2}, {CD_PLAINS4, 2}});
        case COLOUR_BLUE:
            return Expand({{CD_JORISMAR, 2}, {CD_CASUNSK, 1}, {CD_ESKILGAST, 2}, {CD_TAVEVVIN, 3}, {CD_FENORTON, 2},
                           {CD_ESKARMAR, 2}, {CD_ISLAND1, 2}, {CD_ISLAND2, 2}, {CD_ISLAND3, 2}, {CD_ISLAND4, 2}});
        case COLOUR_BLACK:
            return Expand({{CD_NODOTRIC, 2}, {CD_BRAISWYN, 2}, {CD_CASINDRE, 1}, {CD_MAVOLNEL, 3}, {CD_NODOTRIC, 1},
                           {CD_FALARSAR, 3}, {CD_SWAMP1, 2}, {CD_SWAMP2, 2}, {CD_SWAMP3, 2}, {CD_SWAMP4, 2}});
        case COLOUR_RED:
            return Expand({{CD_ISTUMRIC, 1}, {CD_SAVOTNEL, 1}, {CD_KAVANRIK, 2}, {CD_ISTUMRIC, 2}, {CD_CELARNEL, 2},
                           {CD_VORENTON, 1}, {CD_SAVOTNEL, 3}, {CD_MOUNTAIN4, 1}, {CD_MOUNTAIN2, 3},
                           {CD_MOUNTAIN3, 2}, {CD_MOUNTAIN4, 2}});
        default:
            return Expand({{CD_KAVORVIN, 3}, {CD_NODUNNEL, 1}, {CD_LORORMEL, 1}, {CD_SAVENTH, 1}, {CD_ROSOTSK, 3},
                           {CD_PRAUNRIK, 3}, {CD_FOREST1, 2}, {CD_FOREST2, 2}, {CD_FOREST3, 2}, {CD_FOREST4, 2}});
        }
    }
    switch (colour) {
    case COLOUR_WHITE:
        return Expand({{CD_PELINTON, 1}, {CD_ULMILVIN, 1}, {CD_TAVENGAST, 1}, {CD_ZOLEDMAR, 1}, {CD_CELAKBER, 1},
                       {CD_CASUMWYN, 1}, {CD_JAVINRIK, 1}, {CD_DRAARTH, 1}, {CD_FALEVVIN, 1}, {CD_GALURWYN, 1},
                       {CD_CASEVMEL, 1}, {CD_FENANSAR, 1}, {CD_PLAINS1, 2}, {CD_PLAINS2, 2}, {CD_PLAINS3, 2},
                       {CD_PLAINS4, 2}});
    case COLOUR_BLUE:
        return Expand({{CD_GREUMDRE, 1}, {CD_LUMOLDAL, 1}, {CD_JORAKMAR, 1}, {CD_JAVILSAR, 1}, {CD_PRAISRIK, 1},
                       {CD_WENISMEL, 1}, {CD_NESEDRIC, 1}, {CD_NESUNMAR, 1}, {CD_SAVEVNEL, 1}, {CD_HOSURBER, 1},
                       {CD_RALARMEL, 1}, {CD_DRAISNEL, 1}, {CD_ISLAND1, 2}, {CD_ISLAND2, 2}, {CD_ISLAND3, 2},
                       {CD_ISLAND4, 2}});
    case COLOUR_BLACK:
        return Expand({{CD_WENANSK, 1}, {CD_VORUMTON, 1}, {CD_VEKAKDRE, 1}, {CD_BELUNVIN, 1}, {CD_DOVORGAST, 1},
                       {CD_KAVARGAST, 1}, {CD_ESKOTMAR, 1}, {CD_ESKINRIC, 1}, {CD_JORINBER, 1}, {CD_ULMENSAR, 1},
                       {CD_QUELARVIN, 1}, {CD_HOSEDMEL, 1}, {CD_SWAMP1, 2}, {CD_SWAMP2, 2}, {CD_SWAMP3, 2},
                       {CD_SWAMP4, 2}});
    case COLOUR_RED:
        return Expand({{CD_TAVEDRIK, 1}, {CD_VORUNDAL, 1}, {CD_HALILTH, 1}, {CD_BRAUNWYN, 1}, {CD_MERENWYN, 1},
                       {CD_BELURDRE, 1}, {CD_LOREDDRE, 1}, {CD_ZOLOTGAST, 1}, {CD_DRAUMBER, 1}, {CD_QUELAKDAL, 1},
                       {CD_GALUMSK, 1}, {CD_HALENMEL, 1}, {CD_MOUNTAIN2, 1}, {CD_MOUNTAIN4, 1}, {CD_MOUNTAIN2, 2},
                       {CD_MOUNTAIN3, 2}, {CD_MOUNTAIN4, 2}});
    default:
        return Expand({{CD_ORBUNSAR, 1}, {CD_NODURMAR, 1}, {CD_TORURRIK, 1}, {CD_JAVANMAR, 1}, {CD_BRAANDRE, 1},
                       {CD_SELOTRIC, 1}, {CD_YAROLNEL, 1}, {CD_SELOTRIC, 1}, {CD_CELILRIC, 1}, {CD_CASISSK, 1},
                       {CD_ZOLOLRIK, 1}, {CD_GALEDTON, 1}, {CD_FOREST1, 2}, {CD_FOREST2, 2}, {CD_FOREST3, 2},
                       {CD_FOREST4, 2}});
    }
}

Row CpuRow(int mode, int colour)
{
    if (mode == 3) {
        switch (colour) {
        case COLOUR_WHITE:
            return Expand({{CD_TORUMMAR, 1}, {CD_WENUNMEL, 1}, {CD_SELOLBER, 2}, {CD_NESURGAST, 1}, {CD_WENORTH, 2},
                           {CD_PLAINS1, 2}, {CD_PLAINS2, 2}, {CD_PLAINS3, 1}, {CD_PLAINS4, 1}});
        case COLOUR_BLUE:
            return Expand({{CD_JORISMAR, 1}, {CD_CASUNSK, 1}, {CD_ESKILGAST, 1}, {CD_TAVEVVIN, 1}, {CD_FENORTON, 1},
                           {CD_ESKARMAR, 2}, {CD_ISLAND1, 2}, {CD_ISLAND2, 2}, {CD_ISLAND3, 1}, {CD_ISLAND4, 1}});
        case COLOUR_BLACK:
            return Expand({{CD_NODOTRIC, 1}, {CD_BRAISWYN, 1}, {CD_CASINDRE, 1}, {CD_MAVOLNEL, 1}, {CD_FENEVDAL, 1},
                           {CD_FALARSAR, 2}, {CD_SWAMP1, 2}, {CD_SWAMP2, 2}, {CD_SWAMP3, 1}, {CD_SWAMP4, 1}});
        case COLOUR_RED:
            return Expand({{CD_KAVANRIK, 2}, {CD_ISTUMRIC, 1}, {CD_CELARNEL, 1}, {CD_VORENTON, 1}, {CD_SAVOTNEL, 2},
                           {CD_MOUNTAIN2, 1}, {CD_MOUNTAIN4, 1}, {CD_MOUNTAIN2, 2}, {CD_MOUNTAIN3, 1},
                           {CD_MOUNTAIN4, 1}});
        default:
            return Expand({{CD_KAVORVIN, 2}, {CD_LORORMEL, 1}, {CD_SAVENTH, 1}, {CD_ROSOTSK, 1}, {CD_PRAUNRIK, 2},
                           {CD_FOREST1, 2}, {CD_FOREST2, 2}, {CD_FOREST3, 1}, {CD_FOREST4, 1}});
        }
    }
    switch (colour) {
    case COLOUR_WHITE:
        return Expand({{CD_PELINTON, 1}, {CD_ULMILVIN, 1}, {CD_CELAKBER, 1}, {CD_ZOLEDMAR, 1}, {CD_CASUMWYN, 1},
                       {CD_FALEVVIN, 1}, {CD_GALURWYN, 1}, {CD_JAVINRIK, 1}, {CD_PLAINS1, 1}, {CD_PLAINS2, 2},
                       {CD_PLAINS3, 1}, {CD_PLAINS4, 2}});
    case COLOUR_BLUE:
        return Expand({{CD_GREUMDRE, 1}, {CD_LUMOLDAL, 1}, {CD_JORAKMAR, 1}, {CD_WENISMEL, 1}, {CD_NESEDRIC, 1},
                       {CD_NESUNMAR, 1}, {CD_HOSURBER, 1}, {CD_DRAISNEL, 1}, {CD_ISLAND1, 1}, {CD_ISLAND2, 2},
                       {CD_ISLAND3, 1}, {CD_ISLAND4, 2}});
    case COLOUR_BLACK:
        return Expand({{CD_WENANSK, 1}, {CD_VORUMTON, 1}, {CD_VEKAKDRE, 1}, {CD_BELUNVIN, 1}, {CD_KAVARGAST, 1},
                       {CD_ULMENSAR, 1}, {CD_ESKINRIC, 1}, {CD_HOSEDMEL, 1}, {CD_SWAMP1, 1}, {CD_SWAMP2, 2},
                       {CD_SWAMP3, 1}, {CD_SWAMP4, 2}});
    case COLOUR_RED:
        return Expand({{CD_TAVEDRIK, 1}, {CD_VORUNDAL, 1}, {CD_BRAUNWYN, 1}, {CD_MERENWYN, 1}, {CD_BELURDRE, 1},
                       {CD_VORENTON, 1}, {CD_GALUMSK, 1}, {CD_HALENMEL, 1}, {CD_MOUNTAIN3, 1}, {CD_MOUNTAIN2, 2},
                       {CD_MOUNTAIN3, 1}, {CD_MOUNTAIN4, 2}});
    default:
        return Expand({{CD_ORBUNSAR, 1}, {CD_NODURMAR, 1}, {CD_TORURRIK, 1}, {CD_JAVANMAR, 1}, {CD_SELOTRIC, 1},
                       {CD_YAROLNEL, 1}, {CD_ZOLOLRIK, 1}, {CD_GALEDTON, 1}, {CD_FOREST1, 1}, {CD_FOREST2, 2},
                       {CD_FOREST3, 1}, {CD_FOREST4, 2}});
    }
}

void ShuffleLibrary(int player)
{
    PlayerState& record = *GetPlayerState(player);
    const DeckList& deck = s_Decks[player];
    record.m_LibraryCount = DECK_SIZE;
    if (s_GameMode == 1 && s_HumanTurns == 0) {
        std::copy(deck.begin(), deck.end(), record.m_Library.begin());
    } else {
        bool used[DECK_SIZE] = {};
        for (int i = 0; i < DECK_SIZE; ++i) {
            int k = Rand() % DECK_SIZE;
            while (used[k])
                k = Rand() % DECK_SIZE;
            used[k] = true;
            record.m_Library[static_cast<std::size_t>(i)] = deck[static_cast<std::size_t>(k)];
        }
    }
    if (player == PLAYER_HUMAN && s_GameMode == 3 && !s_Redeal) {
        for (int i = 0; i < 7; ++i) {
            for (int j = i; j < DECK_SIZE; ++j) {
                if (record.m_Library[static_cast<std::size_t>(j)] == s_ForcedHand[static_cast<std::size_t>(i)]) {
                    std::swap(record.m_Library[static_cast<std::size_t>(j)], record.m_Library[static_cast<std::size_t>(i)]);
                    break;
                }
            }
        }
    }
}

void ShuffleRest(int player)
{
    PlayerState& record = *GetPlayerState(player);
    const int from = std::clamp(record.m_NextDrawIndex, 0, DECK_SIZE);
    const int count = std::clamp(record.m_LibraryCount, 0, DECK_SIZE) - from;
    if (count <= 0)
        return;
    int scratch[DECK_SIZE];
    std::fill(std::begin(scratch), std::end(scratch), 255);
    for (int i = 0; i < count; ++i) {
        int slot = Rand() & 63;
        while (slot >= count || scratch[slot] != 255)
            slot = Rand() & 63;
        scratch[slot] = record.m_Library[static_cast<std::size_t>(from + i)];
    }
    std::copy(scratch, scratch + count, record.m_Library.begin() + from);
}

bool IsLandId(int id)
{
    const CARD* const card = Definition(id);
    return card != nullptr && card->GetCardType() == CT_LAND;
}

ManaCost LandColour(int id)
{
    ManaCost colour = *Definition(id)->GetManaCounters();
    colour.generic = 0;
    return colour;
}

// Lands among library positions [from, to): their count and whether they are of more than one colour.
void CountLands(const PlayerState& record, int from, int to, int& lands, bool& mixed)
{
    lands = 0;
    mixed = false;
    ManaCost reference;
    for (int i = from; i < to; ++i) {
        const int id = record.m_Library[static_cast<std::size_t>(i)];
        if (!IsLandId(id))
            continue;
        if (lands++ == 0)
            reference = LandColour(id);
        else if (!(LandColour(id) == reference))
            mixed = true;
    }
}

} // namespace

CardActor* SpawnCardActor(int id, int owner)
{
    Actor* const actor = CreateActor(ACTOR_TYPE_CARD);
    CardActor* const card = AsCardActor(actor);
    if (card == nullptr) {
        delete actor;
        return nullptr;
    }
    if (const CARD* const definition = Definition(id); definition != nullptr && definition->GetIdName() != nullptr &&
                                                       definition->GetIdName()[0] != 0)
        card->SetCard(definition);
    card->m_Flags = 2;
    card->m_Flags |= 1u << 13;
    card->m_Flags &= ~(1u << 19);
    card->m_Scale.Set(1.0f, 1.0f, 1.0f);
    card->m_Pivot[0] = 0.5f;
    card->m_Pivot[1] = 0.5f;
    card->m_Behaviour = LookUpBehaviour(u"card");
    card->SetBlocked(false);
    card->m_DeckCardMarker = 0;
    card->SetPlayedMark(0);
    card->SetTapState(TAP_OFF_TABLE);
    card->m_Held = 1;
    card->SetOwner(owner);
    card->SetExitMove(0);
    card->SetOwnerRecord(GetPlayerState(owner));
    if (owner == PLAYER_CPU)
        card->m_InLibrary = false;
    return card;
}

CardActor* CreateCardActor(int id, int owner)
{
    CardActor* const card = SpawnCardActor(id, owner);
    if (card != nullptr)
        RegisterActor(card);
    return card;
}

void SetChosenColours(int human1, int human2, int cpu1, int cpu2, int cpu3)
{
    s_HumanColours[0] = std::clamp(human1, 0, 4);
    s_HumanColours[1] = std::clamp(human2, 0, 4);
    s_CpuColours[0] = std::clamp(cpu1, 0, 4);
    s_CpuColours[1] = std::clamp(cpu2, 0, 4);
    s_CpuColours[2] = std::clamp(cpu3, 0, 4);
}

void SetForcedFirstCard(int player, int id)
{
    if (player == PLAYER_HUMAN || player == PLAYER_CPU)
        s_ForcedFirst[player] = id;
}

int GetForcedFirstCard(int player)
{
    return player == PLAYER_HUMAN || player == PLAYER_CPU ? s_ForcedFirst[player] : 0;
}

void BuildDeckFromRows(DeckList& deck, const int* row1, const int* row2, const int* row3)
{
    const int n = row3 == nullptr ? 20 : s_GameMode == 3 ? 13 : 14;
    std::vector<int> joined;
    for (const int* const row : {row1, row2, row3}) {
        if (row != nullptr)
            joined.insert(joined.end(), row, row + n);
    }
    if (row3 != nullptr && n == 13)
        joined.push_back(row3[12]);
    for (std::size_t i = 0; i < deck.size(); ++i)
        deck[i] = i < joined.size() ? joined[i] : 0;
}

void SetupOpeningHandMode3(int colour1, int colour2)
{
    constexpr int PICKS[5][3] = {{CD_SELOLBER, CD_WENORTH, CD_PLAINS1},
                                 {CD_ESKILGAST, CD_ESKARMAR, CD_ISLAND1},
                                 {CD_NODOTRIC, CD_FALARSAR, CD_SWAMP1},
                                 {CD_ISTUMRIC, CD_SAVOTNEL, CD_MOUNTAIN2},
                                 {CD_KAVORVIN, CD_PRAUNRIK, CD_FOREST1}};
    colour1 = std::clamp(colour1, 0, 4);
    colour2 = std::clamp(colour2, 0, 4);
    for (int i = 0; i < 3; ++i) {
        s_ForcedHand[static_cast<std::size_t>(i)] = PICKS[colour1][i];
        s_ForcedHand[static_cast<std::size_t>(i + 3)] = PICKS[colour2][i];
    }
    const auto either = [&](int c) { return colour1 == c || colour2 == c; };
    int land = CD_MOUNTAIN3;
    if (either(COLOUR_GREEN))
        land = CD_FOREST3;
    else if (either(COLOUR_BLUE))
        land = CD_ISLAND3;
    else if (colour1 == COLOUR_BLACK)
        land = CD_SWAMP3;
    else if (colour1 == COLOUR_WHITE)
        land = CD_PLAINS3;
    s_ForcedHand[6] = land;
    for (int i = 0; i < 7; ++i)
        std::swap(s_ForcedHand[static_cast<std::size_t>(i)], s_ForcedHand[static_cast<std::size_t>(Rand() % 7)]);
}

const std::array<int, 7>& GetForcedOpeningHand()
{
    return s_ForcedHand;
}

void ShuffleHumanLibrary()
{
    ShuffleLibrary(PLAYER_HUMAN);
}

void ShuffleCpuLibrary()
{
    ShuffleLibrary(PLAYER_CPU);
}

void ShuffleRestOfHumanLibrary()
{
    ShuffleRest(PLAYER_HUMAN);
}

void ShuffleRestOfCpuLibrary()
{
    ShuffleRest(PLAYER_CPU);
}

bool NeedsRedeal(int side)
{
    const PlayerState* const record = GetPlayerState(side);
    if (record == nullptr)
        return false;
    int lands = 0;
    bool mixed = false;
    CountLands(*record, 0, 7, lands, mixed);
    if (lands < 2 || !mixed || lands > 3)
        return true;
    CountLands(*record, 7, 11, lands, mixed);
    return lands < 2 || !mixed;
}

void CreateLibraryActors()
{
    for (int i = 0; i < LIBRARY_ACTOR_CAPACITY; ++i) {
        if (CardActor* const old = GetLibraryActor(i); old != nullptr && IsActorRegistered(old))
            RemoveActor(old);
    }
    ClearLibraryActors();
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    const int size = std::clamp(s_OpeningHandSize, 0, DECK_SIZE);
    for (int i = size - 1; i >= 0; --i) {
        const int id = i == 0 && s_ForcedFirst[PLAYER_HUMAN] != 0 ? s_ForcedFirst[PLAYER_HUMAN]
                                                                  : human.m_Library[static_cast<std::size_t>(i)];
        CardActor* const card = CreateCardActor(id, PLAYER_HUMAN);
        if (card == nullptr)
            continue;
        card->m_Held = 1;
        card->m_InLibrary = true;
        card->m_DeckCardMarker = 1;
        card->m_DealMark = 1;
        SetLibraryActor(i, card);
    }
    human.m_NextDrawIndex = size;
}

void DealCpuOpeningHand()
{
    PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    for (int i = 0; i < 7; ++i) {
        const int id = i == 0 && s_ForcedFirst[PLAYER_CPU] != 0 ? s_ForcedFirst[PLAYER_CPU]
                                                                : cpu.m_Library[static_cast<std::size_t>(i)];
        if (CardActor* const card = CreateCardActor(id, PLAYER_CPU)) {
            card->m_Held = 1;
            card->m_InLibrary = false;
            card->SetOwner(PLAYER_CPU);
        }
    }
    cpu.m_NextDrawIndex = 7;
}

int CountDeckMarkedCards()
{
    int count = 0;
    for (const CardActor* const card : GetCardActors()) {
        if (card->m_DeckCardMarker != 0)
            ++count;
    }
    return count;
}

void SetupDecks()
{
    DeckList& deck = s_Decks[PLAYER_HUMAN];
    if (IsOnlineLesson()) {
        if (s_GameMode == 3)
            SetupOpeningHandMode3(s_HumanColours[0], s_HumanColours[1]);
        const Row row1 = HumanRow(s_GameMode, s_HumanColours[0]);
        const Row row2 = HumanRow(s_GameMode, s_HumanColours[1]);
        BuildDeckFromRows(deck, row1.data(), row2.data(), nullptr);
        // A deal that never passes keeps the last one.
        for (int tries = 0; tries < DEAL_TRIES; ++tries) {
            ShuffleHumanLibrary();
            if (!NeedsRedeal(PLAYER_HUMAN))
                break;
        }
    } else {
        if (s_GameMode == 1)
            BuildHumanDeckBasic(deck);
        else
            BuildHumanDeckAdvanced(deck);
        ShuffleHumanLibrary();
    }
    CreateLibraryActors();
}

void SetupCpuDeck()
{
    DeckList& deck = s_Decks[PLAYER_CPU];
    if (IsOnlineLesson()) {
        const Row row1 = CpuRow(s_GameMode, s_CpuColours[0]);
        const Row row2 = CpuRow(s_GameMode, s_CpuColours[1]);
        const Row row3 = CpuRow(s_GameMode, s_CpuColours[2]);
        BuildDeckFromRows(deck, row1.data(), row2.data(), row3.data());
        for (int tries = 0; tries < DEAL_TRIES; ++tries) {
            ShuffleCpuLibrary();
            if (!NeedsRedeal(PLAYER_CPU))
                break;
        }
        DealCpuOpeningHand();
    } else {
        if (s_GameMode == 1)
            BuildCpuDeckBasic(deck);
        else
            BuildCpuDeckAdvanced(deck);
        ShuffleCpuLibrary();
    }
}

// ---- Physical-lesson builders --------------------------------------------------------------------------------

namespace {

Row BasicCards(int colour, bool human)
{
    if (human) {
        switch (colour) {
        case COLOUR_WHITE:
            return Expand({{CD_WENUNMEL, 3}, {CD_SELOLBER, 3}, {CD_GALURWYN, 3}, {CD_NODUMBER, 3}});
        case COLOUR_BLUE:
            return Expand({{CD_MAVUNTH, 3}, {CD_ROSORWYN, 3}, {CD_JORISMAR, 3}, {CD_PELOTDRE, 3}});
        case COLOUR_BLACK:
            return Expand({{CD_VEKAKDRE, 4}, {CD_MAVOLNEL, 4}, {CD_ESKINRIC, 2}, {CD_VEKINDAL, 2}});
        case COLOUR_RED:
            return Expand({{CD_TAVEVSAR, 4}, {CD_ISTUMRIC, 3}, {CD_ZOLENRIK, 1}, {CD_DRAUMBER, 1}, {CD_GALUMSK, 1},
                           {CD_DOVANRIC, 2}});
        default:
            return Expand({{CD_KAVORVIN, 3}, {CD_DRAAKNEL, 3}, {CD_BRAANDRE, 3}, {CD_ZOLAKSAR, 3}});
        }
    }
    switch (colour) {
    case COLOUR_WHITE:
        return Expand({{CD_WENUNMEL, 1}, {CD_SELOLBER, 2}, {CD_GALURWYN, 2}, {CD_NODUMBER, 2}});
    case COLOUR_BLUE:
        return Expand({{CD_MAVUNTH, 2}, {CD_ROSORWYN, 2}, {CD_JORISMAR, 2}, {CD_PELOTDRE, 1}});
    case COLOUR_BLACK:
        return Expand({{CD_VEKAKDRE, 2}, {CD_MAVOLNEL, 2}, {CD_ESKINRIC, 1}, {CD_VEKINDAL, 2}});
    case COLOUR_RED:
        return Expand({{CD_TAVEVSAR, 2}, {CD_ISTUMRIC, 1}, {CD_ZOLENRIK, 1}, {CD_DRAUMBER, 1}, {CD_ISTUMRIC, 1},
                       {CD_DOVANRIC, 1}});
    default:
        return Expand({{CD_KAVORVIN, 2}, {CD_DRAAKNEL, 2}, {CD_BRAANDRE, 1}, {CD_ZOLAKSAR, 2}});
    }
}

Row AdvancedCards(int colour, bool human)
{
    if (human) {
        switch (colour) {
        case COLOUR_WHITE:
            return Expand({{CD_SELOLBER, 2}, {CD_TAVENGAST, 1}, {CD_HOSUNMEL, 2}, {CD_GREURSK, 3}, {CD_SELEVMAR, 1},
                           {CD_KELOLVIN, 3}});
        case COLOUR_BLUE:
            return Expand({{CD_PRAUMGAST, 2}, {CD_ISTUNBER, 2}, {CD_PRAILGAST, 2}, {CD_LUMOTTON, 1}, {CD_TAVEVVIN, 2},
                           {CD_HOSURBER, 3}});
        case COLOUR_BLACK:
            return Expand({{CD_NODOTRIC, 3}, {CD_VEKAKDRE, 2}, {CD_BELUNVIN, 2}, {CD_MAVOLNEL, 2}, {CD_FALARSAR, 3}});
        case COLOUR_RED:
            return Expand({{CD_TAVEVSAR, 3}, {CD_ISTUMRIC, 3}, {CD_ZOLENRIK, 1}, {CD_NESISMAR, 1}, {CD_SAVOTNEL, 3},
                           {CD_DRAUMBER, 1}});
        default:
            return Expand({{CD_KAVORVIN, 2}, {CD_CELISBER, 4}, {CD_BRAANDRE, 2}, {CD_SAVENTH, 2}, {CD_TOREDBER, 1},
                           {CD_WENARWYN, 1}});
        }
    }
    switch (colour) {
    case COLOUR_WHITE:
        return Expand({{CD_TAVENGAST, 1}, {CD_HOSUNMEL, 2}, {CD_GREURSK, 2}, {CD_SELEVMAR, 1}, {CD_KELOLVIN, 2}});
    case COLOUR_BLUE:
        return Expand({{CD_PRAUMGAST, 1}, {CD_ISTUNBER, 1}, {CD_PRAILGAST, 1}, {CD_LUMOTTON, 1}, {CD_TAVEVVIN, 2},
                       {CD_HOSURBER, 2}});
    case COLOUR_BLACK:
        return Expand({{CD_NODOTRIC, 1}, {CD_VEKAKDRE, 2}, {CD_BELUNVIN, 2}, {CD_MAVOLNEL, 1}, {CD_FALARSAR, 2}});
    case COLOUR_RED:
        return Expand({{CD_TAVEVSAR, 1}, {CD_ISTUMRIC, 2}, {CD_ZOLENRIK, 1}, {CD_NESISMAR, 1}, {CD_SAVOTNEL, 3}});
    default:
        return Expand({{CD_KAVORVIN, 1}, {CD_CELISBER, 3}, {CD_BRAANDRE, 1}, {CD_SAVENTH, 1}, {CD_TOREDBER, 1},
                       {CD_WENARWYN, 1}});
    }
}

void AddLands(Row& cards, int colour, int count)
{
    for (int i = 0; i < count; ++i)
        cards.push_back(RandomLand(colour));
}

} // namespace

void BuildHumanDeckBasic(DeckList& deck)
{
    const int c1 = s_HumanColours[0];
    const int c2 = s_HumanColours[1];
    Row cards;
    for (const int colour : {c1, c2}) {
        AddLands(cards, colour, 8);
        const Row own = BasicCards(colour, true);
        cards.insert(cards.end(), own.begin(), own.end());
    }
    constexpr int LEAD[5] = {CD_SELOLBER, CD_MAVUNTH, CD_MAVOLNEL, CD_TAVEVSAR, CD_KAVORVIN};
    constexpr int FOLLOW[5] = {CD_GALURWYN, CD_PELOTDRE, CD_ESKINRIC, CD_DOVANRIC, CD_ZOLAKSAR};
    const auto either = [&](int c) { return c1 == c || c2 == c; };
    const int extraColour = either(COLOUR_GREEN) ? COLOUR_GREEN
                            : either(COLOUR_BLACK) ? COLOUR_BLACK
                            : either(COLOUR_RED)   ? COLOUR_RED
                                                   : COLOUR_BLUE;
    deck.fill(0);
    const auto takeCard = [&](int position, int id) {
        if (TakeFirst(cards, id))
            deck[static_cast<std::size_t>(position)] = id;
    };
    const auto takeLand = [&](int position, int colour) {
        int id = 0;
        if (TakeFirstWhere(cards, id, IsBasicLandOf, colour))
            deck[static_cast<std::size_t>(position)] = id;
    };
    takeCard(0, LEAD[c1]);
    takeLand(1, c2);
    takeCard(2, FOLLOW[c2]);
    takeLand(3, c1);
    takeLand(4, extraColour);
    takeCard(5, LEAD[c2]);
    takeCard(6, FOLLOW[c1]);
    // A position the built cards could not fill takes from the rest in order, so no slot stays empty.
    for (int position = 0; position < 7; ++position) {
        if (deck[static_cast<std::size_t>(position)] == 0 && !cards.empty()) {
            deck[static_cast<std::size_t>(position)] = cards.front();
            cards.erase(cards.begin());
        }
    }
    FillRandom(deck, cards, 7);
}

void BuildCpuDeckBasic(DeckList& deck)
{
    const int* const colours = s_CpuColours;
    Row cards;
    for (int i = 0; i < 3; ++i) {
        AddLands(cards, colours[i], 6);
        const Row own = BasicCards(colours[i], false);
        cards.insert(cards.end(), own.begin(), own.end());
    }
    const bool green = HasColour(colours, 3, COLOUR_GREEN);
    const bool white = HasColour(colours, 3, COLOUR_WHITE);
    const bool black = HasColour(colours, 3, COLOUR_BLACK);
    const bool red = HasColour(colours, 3, COLOUR_RED);
    cards.push_back(RandomLand(green ? COLOUR_GREEN : !black ? COLOUR_BLUE : COLOUR_BLACK));
    // Deal until the seven hold 2-4 basic lands, no one-mana creature and the key card after its land.
    for (int tries = 0; tries < DEAL_TRIES; ++tries) {
        FillRandom(deck, cards);
        int lands = 0;
        bool cheapCreature = false;
        bool key = false;
        bool plainsSeen = false;
        bool forestSeen = false;
        bool mountainSeen = false;
        for (int i = 0; i < 7; ++i) {
            const int id = deck[static_cast<std::size_t>(i)];
            bool isBasic = false;
            for (int c = 0; c < 5; ++c)
                isBasic = isBasic || IsBasicLandOf(id, c);
            if (isBasic)
                ++lands;
            plainsSeen = plainsSeen || IsBasicLandOf(id, COLOUR_WHITE);
            forestSeen = forestSeen || IsBasicLandOf(id, COLOUR_GREEN);
            mountainSeen = mountainSeen || IsBasicLandOf(id, COLOUR_RED);
            const CARD* const card = Definition(id);
            if (card != nullptr && card->GetCardType() == CT_CREATURE && card->GetManaCounters()->Total() == 1)
                cheapCreature = true;
            if (white && id == CD_SELOLBER && plainsSeen)
                key = true;
            else if (!white && green && id == CD_KAVORVIN && forestSeen)
                key = true;
            else if (!white && !green && red && id == CD_TAVEVSAR && mountainSeen)
                key = true;
        }
        if (lands >= 2 && lands <= 4 && !cheapCreature && key)
            return;
    }
}

void BuildHumanDeckAdvanced(DeckList& deck)
{
    const int c1 = s_HumanColours[0];
    const int c2 = s_HumanColours[1];
    Row cards;
    for (const int colour : {c1, c2}) {
        const Row own = AdvancedCards(colour, true);
        cards.insert(cards.end(), own.begin(), own.end());
        AddLands(cards, colour, 8);
    }
    const auto either = [&](int c) { return c1 == c || c2 == c; };
    if (either(COLOUR_GREEN))
        TakeFirst(cards, CD_SAVENTH);
    else if (either(COLOUR_RED))
        TakeFirst(cards, CD_TAVEVSAR);
    else if (either(COLOUR_BLACK))
        TakeFirst(cards, CD_MAVOLNEL);
    else if (either(COLOUR_BLUE))
        TakeFirst(cards, CD_PRAUMGAST);
    s_HumanBonusCard = (Rand() & 1) == 1 ? CD_DRAISNEL : CD_RALEVTH;
    cards.push_back(s_HumanBonusCard);
    deck.fill(0);
    FillRandom(deck, cards);
}

void BuildCpuDeckAdvanced(DeckList& deck)
{
    Row cards;
    for (int i = 0; i < 3; ++i) {
        const Row own = AdvancedCards(s_CpuColours[i], false);
        cards.insert(cards.end(), own.begin(), own.end());
        AddLands(cards, s_CpuColours[i], 6);
    }
    std::vector<int> pool(s_CpuColours, s_CpuColours + 3);
    int order[3];
    for (int& colour : order) {
        const int k = Rand() % static_cast<int>(pool.size());
        colour = pool[static_cast<std::size_t>(k)];
        pool.erase(pool.begin() + k);
    }
    const bool draisnel = s_HumanBonusCard == CD_DRAISNEL;
    constexpr int KEY_WITH[5] = {CD_KELOLVIN, CD_HOSURBER, CD_FALARSAR, CD_SAVOTNEL, CD_WENARWYN};
    constexpr int KEY_WITHOUT[5] = {CD_GREURSK, CD_PRAILGAST, CD_MAVOLNEL, CD_TAVEVSAR, CD_CELISBER};
    const int key = draisnel ? KEY_WITH[order[2]] : KEY_WITHOUT[order[2]];
    bool landA = false;
    bool landB = false;
    bool keyTaken = false;
    for (auto it = cards.begin(); it != cards.end();) {
        if (!landA && IsBasicLandOf(*it, order[0])) {
            landA = true;
            it = cards.erase(it);
        } else if (!landB && IsBasicLandOf(*it, order[1])) {
            landB = true;
            it = cards.erase(it);
        } else if (!keyTaken && *it == key) {
            keyTaken = true;
            it = cards.erase(it);
        } else {
            ++it;
        }
    }
    cards.push_back(draisnel ? CD_RALEVTH : CD_DRAISNEL);
    deck.fill(0);
    FillRandom(deck, cards);
}

const DeckList& GetDeckList(int player)
{
    return s_Decks[player == PLAYER_CPU ? 1 : 0];
}

int GetDeckColour(int player)
{
    return player == 0 ? s_HumanColours[0] : s_CpuColours[0];
}

int GetOpeningHandSize()
{
    return s_OpeningHandSize;
}

void SetOpeningHandSize(int size)
{
    s_OpeningHandSize = std::clamp(size, 0, 7);
}

void SetRedealFlag(bool redeal)
{
    s_Redeal = redeal;
}

void SetHumanTurnCounter(int turns)
{
    s_HumanTurns = turns;
}

void ResetDeckState()
{
    s_Decks[0].fill(0);
    s_Decks[1].fill(0);
    s_ForcedHand.fill(0);
    s_OpeningHandSize = 7;
    s_Redeal = false;
    s_HumanTurns = 0;
    s_HumanBonusCard = 0;
}
