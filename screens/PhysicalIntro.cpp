#include "screens/PhysicalIntro.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/AdviceState.h"
#include "gamestate/LessonState.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "gui/GUI_TextButton.h"
#include "gui/TextButton.h"
#include "gui/WordBalloon.h"
#include "lessons/LessonBox.h"
#include "lessons/LessonQueries.h"
#include "lessons/UntapDrawPrompts.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "screens/IntroCards.h"
#include "screens/IntroDice.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint32_t BUTTON_TEXT = 0xFFFFFF;
constexpr std::uint32_t BUTTON_HIGHLIGHT = 0xF8F8E0;
constexpr int BUTTON_FONT = 8;
constexpr int CLICK_EFFECT = 20;
constexpr int FULL_VOLUME = 255;
constexpr float POINTER_SPEED = 300.0f;
constexpr float POINTER_DEPTH = 150.0f;
constexpr int POINTER_OFF_Y = -350;
constexpr std::uint32_t POINTER_PRESS_MS = 500;
constexpr std::uint32_t DEAL_INTERVAL_MS = 70;
constexpr std::uint32_t UNFOLD_MS = 300;
constexpr std::uint32_t CUT_MS = 250;
constexpr int GRID_COLUMNS = 8;
constexpr int GRID_ROWS = 5;
constexpr int GRID_MARGIN = 10;
constexpr int MAT_SLIDE = 200;
constexpr float MAT_SPEED = 300.0f;
constexpr int LIFE_START = 20;
constexpr std::uint16_t NO_COLOUR = 0;

GameDisplay& Display()
{
    return *GetGameDisplay();
}

// The table's client size, as the table clamps cards to it.
int ScreenWidth()
{
    return s_ClientWidth > 0 ? s_ClientWidth : Display().m_Width;
}

int ScreenHeight()
{
    return s_ClientHeight > 0 ? s_ClientHeight : Display().m_Height;
}

void Voice(const char16_t* first, const char16_t* second = nullptr)
{
    QueueVoice(first, true);
    if (second != nullptr)
        QueueVoice(second, false);
}

bool ClickPending()
{
    return MouseState.leftClicked != 0 && MouseState.clickConsumed == 0;
}

void ConsumeClick()
{
    MouseState.leftClicked = 0;
    MouseState.clickConsumed = 1;
}

// An intro card's rectangle: a library card is the size of its pile, a dealt card the size of a card.
RasterRect CardRect(const CardActor* card, bool library = true)
{
    RasterRect rect{};
    if (card == nullptr)
        return rect;
    if (!library) {
        Display().GetCardRect(card, rect, true);
        return rect;
    }
    RasterRect pile;
    Display().GetPlayerLibraryRect(pile, false);
    const int x = static_cast<int>(card->m_Position.x);
    const int y = static_cast<int>(card->m_Position.y);
    return RasterRect{x, y, x + std::max(pile.Width(), 1), y + std::max(pile.Height(), 1)};
}

bool ClickedOn(const RasterRect& rect)
{
    return ClickPending() && IsInsideRect(rect, MouseState.x, MouseState.y) &&
           GetGUIManager()->GetWindowAt(MouseState.x, MouseState.y) == nullptr;
}

RasterRect LibraryPile(int player)
{
    RasterRect rect;
    if (player == PLAYER_HUMAN)
        Display().GetPlayerLibraryRect(rect, false);
    else
        Display().GetOpponentLibraryRect(rect, false);
    return rect;
}

RasterRect MatRect(int player)
{
    RasterRect rect;
    if (player == PLAYER_HUMAN)
        Display().GetPlayAreaRect(rect);
    else
        Display().GetOpponentPlayArea(rect);
    return rect;
}

void PlaceCardOnPile(CardActor* card, int player)
{
    if (card == nullptr)
        return;
    const RasterRect pile = LibraryPile(player);
    GlideCard(card, pile.left, pile.top, true);
}

CardActor* MakeIntroCard(int id, int owner)
{
    CardActor* const card = CreateCardActor(id, owner);
    if (card == nullptr)
        return nullptr;
    card->SetOwner(owner);
    card->SetHeld(false);
    card->SetInLibrary(true);
    card->m_Position.x = -100.0f;
    card->m_Position.y = -100.0f;
    return card;
}

// The intro's cards lie outside the table's layout, which would place them as permanents: the intro draws them.
void TakeOutOfLibrary(CardActor* card)
{
    card->SetInLibrary(false);
    card->SetHeld(false);
    card->SetTapState(TAP_OFF_TABLE);
}

// The card type the hand explanation's link highlights: creatures, sorceries, lands.
int CardTypeOfLink(int tag)
{
    switch (tag) {
    case 8:
        return 1;
    case 9:
        return 4;
    default:
        return 0;
    }
}

struct ColourWords {
    const char16_t* land;
    const char16_t* colour;
};

ColourWords WordsOfColour(int colour)
{
    switch (colour) {
    case COLOUR_WHITE:
        return {u"STR_Plains", u"STR_white"};
    case COLOUR_BLUE:
        return {u"STR_Islands", u"STR_blue"};
    case COLOUR_BLACK:
        return {u"STR_Swamps", u"STR_black"};
    case COLOUR_RED:
        return {u"STR_Mountains", u"STR_red"};
    default:
        return {u"STR_Forests", u"STR_green"};
    }
}

std::u16string_view Text(const char16_t* key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? std::u16string_view(text) : std::u16string_view(key);
}

} // namespace

Intro_Physical::Intro_Physical() = default;

Intro_Physical::~Intro_Physical()
{
    Reset();
    m_Step = -1;
}

bool Intro_Physical::IsAdvanced()
{
    return s_GameMode > 1;
}

void Intro_Physical::Reset()
{
    SpriteList* const list = FindSpriteList();
    const auto unlist = [list](std::unique_ptr<Sprite>& sprite) {
        if (sprite != nullptr && list != nullptr)
            list->Remove(sprite.get());
        sprite.reset();
    };
    m_MatUnfold[0] = m_MatUnfold[1] = 0;
    for (int player = 0; player < 2; ++player) {
        unlist(m_CutSprites[player]);
        unlist(m_DieSprites[player]);
        m_Cuts[player] = IntroCut{};
    }
    for (std::unique_ptr<Sprite>& back : m_FlyingBacks)
        unlist(back);
    m_FlyingBacks.clear();
    unlist(m_Pointer.sprite);
    m_Pointer = IntroPointer{};
    m_Pointer.phase = 0;
    for (CardActor* const card : m_IntroCards)
        if (IsActorRegistered(card) && card != m_pHumanLibraryCard)
            RemoveActor(card);
    m_IntroCards.clear();
    for (CardActor* const card : {m_pHumanLibraryCard, m_pCpuLibraryCard})
        if (card != nullptr && IsActorRegistered(card))
            RemoveActor(card);
    m_pHumanLibraryCard = nullptr;
    m_pCpuLibraryCard = nullptr;
    m_pRedrawCard = nullptr;
    m_RedrawState = 0;
    m_CpuHandSize = 7;
    m_Step = -1;
    CloseBox();
    delete m_pBox;
    m_pBox = nullptr;
    if (m_pBalloon != nullptr && GetGameDisplay() != nullptr && Display().IsWindowRegistered(m_pBalloon))
        Display().UnregisterWindow(m_pBalloon);
    delete m_pBalloon;
    m_pBalloon = nullptr;
}

void Intro_Physical::ShowBox(int width, int height, const char16_t* key, bool formatted, int buttons)
{
    CloseBox();
    m_pBox->Reset();
    m_pBox->SetKind(9);
    m_pBox->SetScaledSize(width, height);
    if (formatted) {
        m_pBox->SetTextBlock(GetFormattedText(key), true, buttons != BOX_NONE, buttons == BOX_CHOICE ? 2 : 1, 0);
    } else {
        m_pBox->SetText(GetString(key), false, false);
        m_pBox->AutoSize();
    }
    if (buttons == BOX_OK)
        m_pBox->CreateButtons(0);
    if (buttons == BOX_CHOICE) {
        for (const char16_t* const label : {u"PHYSDLG_BUTTON_Mulligan", u"PHYSDLG_BUTTON_KeepCards"})
            m_pBox->AddButton(Text(label).data(), BUTTON_TEXT, BUTTON_HIGHLIGHT, BUTTON_HIGHLIGHT, BUTTON_FONT, -1, -1);
        m_pBox->MakeButtonsSameWidth();
    }
    GameDisplay& display = Display();
    m_pBox->MoveTo((ScreenWidth() - m_pBox->GetWidth()) / 2, (ScreenHeight() - m_pBox->GetHeight()) / 2, true);
    display.RegisterWindow(m_pBox);
    m_bBoxHidden = false;
}

void Intro_Physical::ShowChoiceBox(const char16_t* key)
{
    ShowBox(380, 200, key, true, BOX_CHOICE);
}

void Intro_Physical::AddOkButton()
{
    if (m_pBox == nullptr)
        return;
    m_pBox->CreateButtons(0);
    m_pBox->RelayoutButtons();
    if (!Display().IsWindowRegistered(m_pBox) && !m_bBoxHidden)
        Display().RegisterWindow(m_pBox);
}

void Intro_Physical::CloseBox()
{
    if (m_pBox != nullptr && GetGameDisplay() != nullptr && Display().IsWindowRegistered(m_pBox))
        Display().UnregisterWindow(m_pBox);
    m_bBoxHidden = false;
}

void Intro_Physical::KeepBoxBesideLessonBox()
{
    if (m_pBox == nullptr)
        return;
    const bool lessonBox = IsLessonBoxShowing();
    if (lessonBox && Display().IsWindowRegistered(m_pBox)) {
        Display().UnregisterWindow(m_pBox);
        m_bBoxHidden = true;
    } else if (!lessonBox && m_bBoxHidden) {
        Display().RegisterWindow(m_pBox);
        m_bBoxHidden = false;
    }
}

int Intro_Physical::TakeAnswer()
{
    KeepBoxBesideLessonBox();
    GameDisplay& display = Display();
    // Only a box on the display answers: a balloon answered at an earlier step keeps its answer.
    const bool boxUp = m_pBox != nullptr && (display.IsWindowRegistered(m_pBox) || m_bBoxHidden);
    const bool balloonUp = m_pBalloon != nullptr && display.IsWindowRegistered(m_pBalloon);
    int answer = ANSWER_NONE;
    if (s_bSkipIntro)
        answer = ANSWER_SKIPPED;
    else if (boxUp && m_pBox->GetAnswer() >= 0)
        answer = m_pBox->GetAnswer();
    else if (balloonUp && m_pBalloon->GetAnswer() >= 0)
        answer = m_pBalloon->GetAnswer();
    if (answer == ANSWER_NONE)
        return ANSWER_NONE;
    CloseBox();
    if (balloonUp)
        display.UnregisterWindow(m_pBalloon);
    if (m_pBox != nullptr)
        m_pBox->ClearClickedButton();
    if (m_pBalloon != nullptr)
        m_pBalloon->ClearClickedButton();
    return answer;
}

void Intro_Physical::StartPointerGroup(int firstPhase, int x, int y)
{
    if (m_Pointer.sprite == nullptr) {
        m_Pointer.sprite = std::make_unique<Sprite>();
        m_Pointer.sprite->SetPosition(x, POINTER_OFF_Y);
    }
    Sprite& sprite = *m_Pointer.sprite;
    sprite.SetTexture(GetTextureByName(u"hand_up"));
    sprite.SetColorKeyed(true);
    sprite.SetSyncWindow(false);
    sprite.SetDepth(POINTER_DEPTH);
    sprite.SetSpeed(POINTER_SPEED);
    sprite.SetStartTime(plat::TimeGetTime());
    // The finger sits near the image's left edge: the image is placed so that the finger lands on the target.
    sprite.SetTarget(x - 10, y - 10);
    if (!sprite.IsListed())
        GetSpriteList()->Add(&sprite);
    m_Pointer.phase = firstPhase;
    m_Pointer.targetX = x;
    m_Pointer.targetY = y;
}

void Intro_Physical::StepPointer()
{
    if (m_Pointer.sprite == nullptr || m_Pointer.phase <= 0)
        return;
    Sprite& sprite = *m_Pointer.sprite;
    const std::uint32_t now = plat::TimeGetTime();
    switch ((m_Pointer.phase - 1) % 4) {
    case 0:
        if (!sprite.IsAtTarget(2) && !s_bSkipIntro)
            return;
        sprite.SetTexture(GetTextureByName(u"hand_down"));
        PlayEffect(CLICK_EFFECT, FULL_VOLUME, 0, 0, 0, nullptr);
        m_Pointer.pressTime = now;
        ++m_Pointer.phase;
        return;
    case 1:
        if (m_Pointer.carried != nullptr) {
            const RasterRect pile = LibraryPile(PLAYER_CPU);
            sprite.SetTarget(pile.left - 10, pile.top - 10);
            GlideCard(m_Pointer.carried, sprite.GetX() + 10, sprite.GetY() + 10, false);
            if (!sprite.IsAtTarget(2) && !s_bSkipIntro)
                return;
            RemoveActor(m_Pointer.carried);
            if (m_Pointer.carried == m_pCpuLibraryCard)
                m_pCpuLibraryCard = nullptr;
            m_Pointer.carried = nullptr;
        } else if (now - m_Pointer.pressTime < POINTER_PRESS_MS && !s_bSkipIntro) {
            return;
        }
        sprite.SetTexture(GetTextureByName(u"hand_up"));
        sprite.SetTarget(sprite.GetX(), POINTER_OFF_Y);
        sprite.SetStartTime(now);
        ++m_Pointer.phase;
        return;
    case 2:
        if (!sprite.IsAtTarget(2) && !s_bSkipIntro && sprite.GetY() + sprite.GetHeight() > 0)
            return;
        if (SpriteList* const list = FindSpriteList())
            list->Remove(&sprite);
        ++m_Pointer.phase;
        return;
    default:
        return;
    }
}

bool Intro_Physical::Advance()
{
    if (s_bSkipIntro) {
        if (SpriteList* const list = FindSpriteList())
            for (Sprite* const sprite : list->GetSprites())
                sprite->SetPosition(sprite->GetTargetX(), sprite->GetTargetY());
    }
    if (GetQuitWarningBox() != nullptr)
        return true;
    const bool ending = m_Step == 69;
    RunStep();
    return !ending;
}

void Intro_Physical::SetUpStart()
{
    Reset();
    m_Step = 0;
    m_Pointer.phase = 1;
    m_pBox = new Messagebox(DIALOG_KIND_MESSAGEBOX);
    m_pBalloon = new WordBalloon();
    const PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    m_pCpuLibraryCard = MakeIntroCard(cpu.m_Library[0], PLAYER_CPU);
    const PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    std::vector<int> positions;
    for (int i = 0; i < std::min(human.m_LibraryCount, LIBRARY_CAPACITY); ++i)
        positions.push_back(i);
    const int count = IsAdvanced() ? 1 : static_cast<int>(positions.size());
    for (int i = 0; i < count && !positions.empty(); ++i) {
        const auto pick = static_cast<std::size_t>(plat::Rand()) % positions.size();
        const int id = human.m_Library[static_cast<std::size_t>(positions[pick])];
        positions.erase(positions.begin() + static_cast<std::ptrdiff_t>(pick));
        if (CardActor* const card = MakeIntroCard(id, PLAYER_HUMAN))
            m_IntroCards.push_back(card);
    }
    m_StepTime = plat::TimeGetTime();
    m_DealtCards = 0;
    if (!IsAdvanced()) {
        m_Step = 1;
        return;
    }
    if (!m_IntroCards.empty()) {
        m_pHumanLibraryCard = m_IntroCards.back();
        m_IntroCards.pop_back();
    }
    for (const int player : {PLAYER_HUMAN, PLAYER_CPU}) {
        CardActor* const card = player == PLAYER_HUMAN ? m_pHumanLibraryCard : m_pCpuLibraryCard;
        if (card == nullptr)
            continue;
        TakeOutOfLibrary(card);
        PlaceCardOnPile(card, player);
    }
    s_bLayoutChanged = true;
    m_Step = 8;
}

// The grid the basic game deals the deck into: 8 columns by 5 rows above the hand's band.
void Intro_Physical::GridPosition(int index, int& x, int& y) const
{
    const GameDisplay& display = Display();
    RasterRect band;
    display.GetHandAreaRect(band);
    const int bottom = band.top > GRID_MARGIN ? band.top : ScreenHeight();
    const int cellWidth = (ScreenWidth() - GRID_MARGIN) / GRID_COLUMNS;
    const int cellHeight = (bottom - GRID_MARGIN) / GRID_ROWS;
    x = GRID_MARGIN + (index % GRID_COLUMNS) * cellWidth;
    y = GRID_MARGIN + (index / GRID_COLUMNS % GRID_ROWS) * cellHeight;
}

void Intro_Physical::DealDeck()
{
    const bool all = s_bSkipIntro || (m_pBox != nullptr && m_pBox->GetAnswer() >= 0);
    if (all)
        CloseBox();
    const std::uint32_t now = plat::TimeGetTime();
    const int total = static_cast<int>(m_IntroCards.size());
    while (m_DealtCards < total && (all || now - m_StepTime >= DEAL_INTERVAL_MS)) {
        CardActor* const card = m_IntroCards[static_cast<std::size_t>(m_DealtCards)];
        TakeOutOfLibrary(card);
        int x = 0;
        int y = 0;
        GridPosition(m_DealtCards, x, y);
        GlideCard(card, x, y, true);
        ++m_DealtCards;
        m_StepTime += DEAL_INTERVAL_MS;
        if (!all)
            break;
    }
    if (m_DealtCards >= total)
        m_Step = 3;
}

// Every dealt card glides onto the learner's pile, card k one pixel higher per five cards; true when all lie there.
bool Intro_Physical::GatherDeck()
{
    const RasterRect pile = LibraryPile(PLAYER_HUMAN);
    bool all = true;
    for (std::size_t k = 0; k < m_IntroCards.size(); ++k)
        all = GlideCard(m_IntroCards[k], pile.left, pile.top - static_cast<int>((k + 3) / 5), s_bSkipIntro) && all;
    return all;
}

bool Intro_Physical::BoxDone() const
{
    return s_bSkipIntro || m_pBox == nullptr || !Display().IsWindowRegistered(m_pBox) || m_pBox->GetAnswer() >= 0;
}

void Intro_Physical::StartCut(int player)
{
    IntroCut& cut = m_Cuts[player];
    if (cut.state != 3 && m_CutStarted[player])
        return;
    m_CutStarted[player] = true;
    cut.state = 0;
    cut.startTime = plat::TimeGetTime();
}

void Intro_Physical::StepCuts()
{
    const std::uint32_t now = plat::TimeGetTime();
    for (IntroCut& cut : m_Cuts) {
        if (cut.state >= 3)
            continue;
        if (s_bSkipIntro || now - cut.startTime >= CUT_MS) {
            ++cut.state;
            cut.startTime = now;
        }
    }
}

bool Intro_Physical::CutsDone() const
{
    return m_CutStarted[0] && m_CutStarted[1] && m_Cuts[0].state == 3 && m_Cuts[1].state == 3;
}

void Intro_Physical::StepMats()
{
    const std::uint32_t now = plat::TimeGetTime();
    for (int player = 0; player < 2; ++player) {
        const int step = static_cast<int>(MAT_SPEED / 30.0f);
        int& offset = m_MatOffset[player];
        offset = s_bSkipIntro ? 0 : (offset > 0 ? std::max(0, offset - step) : std::min(0, offset + step));
        if (m_MatUnfolding[player] && m_MatUnfold[player] < 3 && (s_bSkipIntro || now - m_UnfoldTime[player] >= UNFOLD_MS)) {
            ++m_MatUnfold[player];
            m_UnfoldTime[player] = now;
        }
    }
}

void Intro_Physical::StartUnfold(int player)
{
    if (m_MatUnfolding[player])
        return;
    m_MatUnfolding[player] = true;
    m_UnfoldTime[player] = plat::TimeGetTime();
}

// The learner drags the library card: a press on it picks it up, it follows the mouse, and a release over the pile
// ends the wait (elsewhere it stays where it was let go, clamped to the screen).
bool Intro_Physical::DragHumanLibrary()
{
    CardActor* const card = m_pHumanLibraryCard;
    if (card == nullptr)
        return true;
    const RasterRect pile = LibraryPile(PLAYER_HUMAN);
    if (s_bSkipIntro)
        return true;
    if (!m_bHumanLibraryDragged) {
        if (MouseState.leftHeld != 0 && ClickPending() && IsInsideRect(CardRect(card), MouseState.x, MouseState.y)) {
            ConsumeClick();
            m_bHumanLibraryDragged = true;
            m_DragOffsetX = MouseState.x - static_cast<int>(card->m_Position.x);
            m_DragOffsetY = MouseState.y - static_cast<int>(card->m_Position.y);
        }
        return false;
    }
    const GameDisplay& display = Display();
    const RasterRect rect = CardRect(card);
    const int x = std::clamp(MouseState.x - m_DragOffsetX, 0, std::max(0, ScreenWidth() - rect.Width()));
    const int y = std::clamp(MouseState.y - m_DragOffsetY, 0, std::max(0, ScreenHeight() - rect.Height()));
    GlideCard(card, x, y, true);
    if (MouseState.leftHeld != 0)
        return false;
    m_bHumanLibraryDragged = false;
    return RectsOverlap(CardRect(card), pile);
}

bool Intro_Physical::IsTokenPlaced(int player) const
{
    const LifeToken* const token = GetLifeToken(player);
    if (token == nullptr || token->actor == nullptr)
        return true;
    return (token->actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) == 0 && token->actor->GetState() == TOKEN_SETTLED &&
           token->dragState == 0;
}

void Intro_Physical::PlaceTokenAtStart(int player)
{
    LifeToken* const token = GetLifeToken(player);
    // A token places itself at its start on its first frame: it is set on the track only after that.
    if (token == nullptr || token->actor == nullptr || (token->actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0)
        return;
    int x = 0;
    int y = 0;
    GetLifeTokenTarget(player, LIFE_START, x, y);
    token->actor->m_Position = Vector3{static_cast<float>(x), static_cast<float>(y), token->actor->m_Position.z};
    token->actor->m_TargetPoint = token->actor->m_Position;
    token->rect = RasterRect{x, y, x + LIFE_TOKEN_SIZE, y + LIFE_TOKEN_SIZE};
    token->shownLife = LIFE_START;
    token->dragState = 0;
    token->actor->SetState(TOKEN_SETTLED);
}

void Intro_Physical::SetUpDice()
{
    const IntroDiceFaces faces = RollIntroDice(IsAdvanced());
    const GameDisplay& display = Display();
    m_Dice[0] = IntroDie{faces.humanStart, faces.human, 0, 0, display.m_DieBoxes[0].left + 65,
                         display.m_DieBoxes[0].top + 5};
    m_Dice[1] = IntroDie{faces.cpuStart, faces.cpu, 0, 0, display.m_DieBoxes[1].left, display.m_DieBoxes[1].top};
    m_bDiceShown = true;
}

void Intro_Physical::RollDie(int player)
{
    IntroDie& die = m_Dice[player];
    if (die.state != 0)
        return;
    die.state = 1;
    die.startTime = plat::TimeGetTime();
    if (player == PLAYER_HUMAN) {
        die.x = Display().m_DieBoxes[0].left;
        die.y = Display().m_DieBoxes[0].top;
    }
}

void Intro_Physical::StepDice()
{
    const std::uint32_t now = plat::TimeGetTime();
    for (IntroDie& die : m_Dice) {
        if (die.state == 0 || die.state == 3)
            continue;
        if (s_bSkipIntro) {
            die.state = 3;
            continue;
        }
        if (now - die.startTime >= DIE_ROLL_MS) {
            ++die.state;
            die.startTime = now;
        }
    }
}

int Intro_Physical::DieFrame(const IntroDie& die, int& face) const
{
    const float t = std::min(1.0f, static_cast<float>(plat::TimeGetTime() - die.startTime) / DIE_ROLL_MS);
    switch (die.state) {
    case 1:
        face = die.startFace;
        return 14 - static_cast<int>(14.0f * t);
    case 2:
        face = die.finalFace;
        return static_cast<int>(14.0f * t);
    case 3:
        face = die.finalFace;
        return 14;
    default:
        face = die.startFace;
        return 14;
    }
}

void Intro_Physical::ShowHandExplanation()
{
    const ColourWords first = WordsOfColour(GetDeckColour(PLAYER_HUMAN));
    const ColourWords second = WordsOfColour(GetSecondDeckColour());
    std::u16string text =
        FormatString(Text(u"INTRO_YourHand_fmt"), {Text(first.land), Text(first.colour), Text(second.land), Text(second.colour)});
    // The text's line breaks are written as '|'.
    std::replace(text.begin(), text.end(), u'|', u'\n');
    CloseBox();
    m_pBox->Reset();
    m_pBox->SetKind(9);
    m_pBox->SetScaledSize(400, 280);
    m_pBox->CopyText(text);
    m_pBox->AutoSize();
    for (const int link : {8, 9, 10})
        AddExplanationLinkLabel(m_pBox, link);
    m_pBox->CreateButtons(0);
    m_pBox->AutoSize();
    GameDisplay& display = Display();
    m_pBox->MoveTo((ScreenWidth() - m_pBox->GetWidth()) / 2, (ScreenHeight() - m_pBox->GetHeight()) / 2, true);
    display.RegisterWindow(m_pBox);
    if (IsAdvanced())
        StopVoiceQueue();
    else
        Voice(u"vo_phys\\basic_intro13.wav");
}

void Intro_Physical::TintHandLinks()
{
    int over = -1;
    for (const int tag : {8, 9, 10}) {
        const GUI_TextButton* const link = m_pBox->FindExtraWindowByTag(tag);
        if (link != nullptr && MouseState.x >= link->GetLeft() && MouseState.x < link->GetRight() &&
            MouseState.y >= link->GetTop() && MouseState.y < link->GetBottom())
            over = tag;
    }
    for (const int tag : {8, 9, 10})
        SetWindowColor(m_pBox->FindExtraWindowByTag(tag), 0, tag == over ? 255 : 192, 128, 255);
    m_HoveredLink = over;
    s_HighlightedCardType = over < 0 ? -1 : CardTypeOfLink(over);
}

// A box placed as the close-up window's: its top 2 pixels below the window's, centred on it.
void Intro_Physical::PlaceBoxOnPreview()
{
    const RasterRect& preview = Display().m_PreviewRect;
    m_pBox->MoveTo(preview.left + (preview.Width() - m_pBox->GetWidth()) / 2, preview.top + 2, true);
}

void Intro_Physical::ShowBalloon(int width, int height, const char16_t* key, std::initializer_list<const char16_t*> buttons)
{
    CloseBox();
    WordBalloon& balloon = *m_pBalloon;
    if (Display().IsWindowRegistered(&balloon))
        Display().UnregisterWindow(&balloon);
    balloon.Reset();
    balloon.SetKind(9);
    balloon.SetPointerSide(1);
    balloon.SetScaledSize(width, height);
    balloon.SetText(GetString(key), false, false);
    for (const char16_t* const label : buttons)
        balloon.AddButton(Text(label).data(), BUTTON_TEXT, BUTTON_HIGHLIGHT, BUTTON_HIGHLIGHT, BUTTON_FONT, -1, -1);
    balloon.MakeButtonsSameWidth();
    balloon.AutoSize();
    PositionLessonBox(&balloon);
    Display().RegisterWindow(&balloon);
}

void Intro_Physical::FinishDice()
{
    m_bDiceShown = false;
    SetFirstPlayer(m_bCpuFirst ? 1 : 0);
}

void Intro_Physical::EndIntro()
{
    StopVoiceQueue();
    for (CardActor* const card : m_IntroCards)
        if (IsActorRegistered(card))
            RemoveActor(card);
    m_IntroCards.clear();
    for (CardActor** const card : {&m_pHumanLibraryCard, &m_pCpuLibraryCard}) {
        if (*card != nullptr && IsActorRegistered(*card))
            RemoveActor(*card);
        *card = nullptr;
    }
    CloseBox();
    SetFirstPlayer(m_bCpuFirst ? 1 : 0);
    m_Step = PHYSICAL_INTRO_END;
    for (CardActor* const card : GetCardActors())
        if (card->GetOwner() == PLAYER_HUMAN && card->IsHeld() && !card->IsInLibrary())
            ShowFirstAppearanceTip(card);
}

void Intro_Physical::RunStep()
{
    if (m_Step < 0)
        return;
    StepPointer();
    StepCuts();
    StepMats();
    StepDice();
    if (m_Step >= 43 && m_Step <= 68) {
        RunMulliganStep();
        return;
    }
    const bool advanced = IsAdvanced();
    switch (m_Step) {
    case 0:
        SetUpStart();
        return;
    case 1:
        ShowBox(230, 200, u"FMT_INTRO_ShowPlayerDeck", true, BOX_OK);
        Voice(u"vo_phys\\basic_intro01.wav");
        m_StepTime = plat::TimeGetTime();
        m_Step = 2;
        return;
    case 2:
        DealDeck();
        return;
    case 3:
        if (!BoxDone())
            return;
        CloseBox();
        m_Step = 4;
        return;
    case 4: {
        if (!GatherDeck())
            return;
        if (!m_IntroCards.empty()) {
            m_pHumanLibraryCard = m_IntroCards.back();
            m_IntroCards.pop_back();
        }
        for (CardActor* const card : m_IntroCards)
            RemoveActor(card);
        m_IntroCards.clear();
        if (m_pCpuLibraryCard != nullptr)
            TakeOutOfLibrary(m_pCpuLibraryCard);
        m_Step = 5;
        return;
    }
    case 5:
        ShowBox(240, 200, u"INTRO_ShowCPUDeck", false, BOX_OK);
        Voice(u"vo_phys\\basic_intro02.wav");
        m_Step = 6;
        return;
    case 6: {
        if (m_pBox->GetAnswer() >= 0)
            CloseBox();
        const RasterRect pile = LibraryPile(PLAYER_CPU);
        if (m_pCpuLibraryCard != nullptr && !GlideCard(m_pCpuLibraryCard, pile.left, pile.top, s_bSkipIntro))
            return;
        m_Step = 7;
        return;
    }
    case 7:
        if (!BoxDone())
            return;
        CloseBox();
        m_Step = 8;
        return;
    case 8: {
        const RasterRect pile = LibraryPile(PLAYER_CPU);
        StartPointerGroup(1, pile.left + pile.Width() / 2, pile.top + pile.Height() / 2);
        ShowBox(240, 200, advanced ? u"INTRO_ShufflePlayerDeck_PhysicalAdvanced" : u"INTRO_ShufflePlayerDeck_PhysicalBasic",
                false, BOX_NONE);
        Voice(u"vo_phys\\basic_intro03.wav");
        m_Step = 9;
        return;
    }
    case 9:
        if (!s_bSkipIntro && !ClickedOn(CardRect(m_pHumanLibraryCard)))
            return;
        ConsumeClick();
        PlayEffect(CLICK_EFFECT, FULL_VOLUME, 0, 0, 0, nullptr);
        CloseBox();
        m_Step = 10;
        return;
    case 10:
        if (m_Pointer.phase < 4)
            return;
        m_Step = 11;
        [[fallthrough]];
    case 11: {
        const RasterRect pile = LibraryPile(PLAYER_HUMAN);
        StartPointerGroup(5, pile.left + pile.Width() / 2, pile.top + pile.Height() / 2);
        ShowBox(240, 200, u"INTRO_CutDecks", false, BOX_NONE);
        Voice(u"vo_phys\\basic_intro04.wav");
        m_Step = 12;
        [[fallthrough]];
    }
    case 12:
        if (m_Pointer.phase > 5)
            StartCut(PLAYER_HUMAN);
        if (!s_bSkipIntro && !ClickedOn(CardRect(m_pCpuLibraryCard)))
            return;
        ConsumeClick();
        StartCut(PLAYER_HUMAN);
        StartCut(PLAYER_CPU);
        CloseBox();
        m_Step = 13;
        return;
    case 13:
        if (m_Pointer.phase < 8 || !CutsDone())
            return;
        if (advanced) {
            m_Step = 17;
            return;
        }
        m_MatOffset[PLAYER_HUMAN] = -(MatRect(PLAYER_HUMAN).right + MAT_SLIDE);
        m_MatOffset[PLAYER_CPU] = ScreenWidth() + MAT_SLIDE - MatRect(PLAYER_CPU).left;
        m_bMatsShown = true;
        m_Step = 14;
        return;
    case 14: {
        if (m_MatOffset[0] != 0 || m_MatOffset[1] != 0)
            return;
        const RasterRect mat = MatRect(PLAYER_CPU);
        StartPointerGroup(9, mat.left + mat.Width() / 2, mat.top + mat.Height() / 2);
        ShowBox(240, 200, u"INTRO_ClickOnPlaymat", false, BOX_NONE);
        Voice(u"vo_phys\\basic_intro05.wav");
        m_Step = 15;
        return;
    }
    case 15:
        if (m_Pointer.phase > 9)
            StartUnfold(PLAYER_CPU);
        if (!s_bSkipIntro && !ClickedOn(MatRect(PLAYER_HUMAN)))
            return;
        ConsumeClick();
        StartUnfold(PLAYER_CPU);
        StartUnfold(PLAYER_HUMAN);
        CloseBox();
        m_Step = 16;
        return;
    case 16:
        if (m_Pointer.phase < 12 || m_MatUnfold[0] != 3 || m_MatUnfold[1] != 3)
            return;
        m_Step = 17;
        return;
    case 17: {
        const RasterRect pile = LibraryPile(PLAYER_CPU);
        StartPointerGroup(13, static_cast<int>(m_pCpuLibraryCard != nullptr ? m_pCpuLibraryCard->m_Position.x : pile.left) + 20,
                          static_cast<int>(m_pCpuLibraryCard != nullptr ? m_pCpuLibraryCard->m_Position.y : pile.top) + 20);
        m_Pointer.carried = m_pCpuLibraryCard;
        ShowBox(240, 200, u"INTRO_DragLibrary", false, BOX_NONE);
        Voice(u"vo_phys\\basic_intro06.wav");
        m_bHumanLibraryDragged = false;
        m_Step = 18;
        return;
    }
    case 18:
        if (!DragHumanLibrary())
            return;
        CloseBox();
        m_Step = 19;
        return;
    case 19: {
        const RasterRect pile = LibraryPile(PLAYER_HUMAN);
        if (m_pHumanLibraryCard != nullptr) {
            if (!GlideCard(m_pHumanLibraryCard, pile.left, pile.top, s_bSkipIntro))
                return;
            RemoveActor(m_pHumanLibraryCard);
            m_pHumanLibraryCard = nullptr;
        }
        if (m_Pointer.phase < 16)
            return;
        s_bLayoutChanged = true;
        m_Step = 20;
        return;
    }
    case 20: {
        ShowBox(280, 200, advanced ? u"INTRO_DragLifeToken" : u"FMT_INTRO_DragLifeToken", !advanced, BOX_NONE);
        // Up and left of the corner of the human's mat where its life track begins, clear of the token.
        const RasterRect track = GetLifeTrackCell(PLAYER_HUMAN, LIFE_START);
        m_pBox->MoveTo(std::max(0, track.left - 330), std::max(0, track.top - 200), true);
        Voice(u"vo_phys\\basic_intro07a.wav", advanced ? nullptr : u"vo_phys\\basic_intro07b.wav");
        m_Step = 21;
        return;
    }
    case 21:
        if (s_bSkipIntro)
            PlaceTokenAtStart(PLAYER_HUMAN);
        if (!IsTokenPlaced(PLAYER_HUMAN))
            return;
        CloseBox();
        m_Step = 22;
        return;
    case 22:
        if (s_bSkipIntro)
            PlaceTokenAtStart(PLAYER_CPU);
        if (!IsTokenPlaced(PLAYER_CPU))
            return;
        s_bLayoutChanged = true;
        m_Step = advanced ? 27 : 23;
        return;
    case 23: {
        ShowBox(240, 200, u"FMT_INTRO_PartsOfTurn", true, BOX_OK);
        const RasterRect& bar = Display().m_PhaseBackground;
        m_pBox->MoveTo(bar.left + (bar.Width() - 200) / 2, bar.top + 2, true);
        Voice(u"vo_phys\\basic_intro08.wav");
        m_Step = 24;
        return;
    }
    case 24:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        s_bLayoutChanged = true;
        m_Step = 25;
        return;
    case 25:
        ShowBox(240, 200, u"FMT_INTRO_CloseUpWindow", true, BOX_OK);
        PlaceBoxOnPreview();
        Voice(u"vo_phys\\basic_intro09.wav");
        m_Step = 26;
        return;
    case 26:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        m_Step = 27;
        return;
    case 27: {
        SetUpDice();
        StartPointerGroup(17, m_Dice[1].x + 20, m_Dice[1].y + 20);
        ShowBox(200, 150, advanced ? u"INTRO_DieRoll_PhysicalAdvanced" : u"INTRO_DieRoll_PhysicalBasic", false, BOX_NONE);
        Voice(u"vo_phys\\basic_intro10.wav");
        m_Step = 28;
        [[fallthrough]];
    }
    case 28: {
        if (m_Pointer.phase > 17)
            RollDie(PLAYER_CPU);
        const RasterRect die{m_Dice[0].x, m_Dice[0].y, m_Dice[0].x + DIE_SIZE, m_Dice[0].y + DIE_SIZE};
        if (!s_bSkipIntro && !ClickedOn(die))
            return;
        ConsumeClick();
        CloseBox();
        RollDie(PLAYER_HUMAN);
        RollDie(PLAYER_CPU);
        m_Step = 29;
        return;
    }
    case 29:
        if (m_Pointer.phase < 20 || m_Dice[0].state != 3 || m_Dice[1].state != 3)
            return;
        s_bLayoutChanged = true;
        if (m_Dice[1].finalFace < m_Dice[0].finalFace) {
            m_Step = 30;
        } else {
            m_bCpuFirst = CpuBeginsAfterWinning(advanced);
            m_Step = 32;
        }
        return;
    case 30:
        ShowBalloon(240, 160, u"PRE_INTRO_YouWonDieRoll", {u"STR_Yes", u"STR_No"});
        Voice(u"vo_phys\\adv_intro_YouWonRoll.wav");
        m_Step = 31;
        return;
    case 31: {
        const int answer = TakeAnswer();
        if (answer == ANSWER_NONE)
            return;
        m_bCpuFirst = answer == 1;
        FinishDice();
        s_bLayoutChanged = true;
        m_Step = 34;
        return;
    }
    case 32:
        if (!advanced) {
            ShowBalloon(240, 160, u"PRE_INTRO_CPUWonDieRoll_PhysicalBasic", {u"STR_OK"});
            Voice(u"vo_phys\\basic_intro_OppPlayFirst.wav");
        } else {
            ShowBox(240, 160, m_bCpuFirst ? u"INTRO_CPUWonDieRoll_CPUFirst" : u"INTRO_CPUWonDieRoll_PlayerFirst", false,
                    BOX_OK);
            Voice(m_bCpuFirst ? u"vo_phys\\adv_intro_OppPlayFirst.wav" : u"vo_phys\\adv_intro_OppDrawFirst.wav");
        }
        m_Step = 33;
        return;
    case 33:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        FinishDice();
        m_Step = 34;
        return;
    case 34:
        ShowBox(400, 100, u"FMT_INTRO_DrawCards", true, BOX_NONE);
        Voice(u"vo_phys\\basic_intro11a.wav", u"vo_phys\\basic_intro11b.wav");
        Display().m_LibraryHighlight = true;
        m_Step = 35;
        return;
    case 35:
        KeepBoxBesideLessonBox();
        if (s_bSkipIntro)
            TakeDeckCardsIntoHand();
        if (CountDeckMarkedCards() > 0)
            return;
        Display().m_LibraryHighlight = false;
        CloseBox();
        m_Step = 36;
        return;
    case 36:
        if (CountCpuHand() <= 6) {
            if (!s_bSkipIntro && !IsCpuOpeningHandDealt())
                return;
            RemoveCpuHand();
            StartCpuHandDeal(m_CpuHandSize);
            return;
        }
        s_bLayoutChanged = true;
        m_Step = advanced ? 43 : 37;
        return;
    case 37:
        ShowBox(240, 200, u"INTRO_Pointer", false, BOX_OK);
        PlaceBoxOnPreview();
        Voice(u"vo_phys\\basic_intro12.wav");
        m_Step = 38;
        return;
    case 38:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        m_Step = 39;
        return;
    case 39:
        ShowHandExplanation();
        m_Step = 40;
        return;
    case 40:
        TintHandLinks();
        if (TakeAnswer() == ANSWER_NONE)
            return;
        s_HighlightedCardType = -1;
        m_Step = 41;
        return;
    case 41:
        ShowBox(320, 280, u"INTRO_SortingYourHand", false, BOX_OK);
        Voice(u"vo_phys\\intro_SortingYourHand.wav");
        m_Step = 42;
        return;
    case 42:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        m_Step = 69;
        return;
    case 69:
        EndIntro();
        return;
    default:
        return;
    }
}

int s_HighlightedCardType = -1;

void Intro_Physical::DrawStepHighlight()
{
    GameDisplay& display = Display();
    const auto glow = [&display](const RasterRect& rect, float depth) {
        display.DrawHoverGlow(rect, depth, 0, 255, 0, false);
    };
    DrawTablePieces();
    switch (m_Step) {
    case 9:
        glow(CardRect(m_pHumanLibraryCard), 300.0f);
        break;
    case 12:
        glow(CardRect(m_pCpuLibraryCard), 300.0f);
        break;
    case 15:
        glow(MatRect(PLAYER_HUMAN), 300.0f);
        break;
    case 18:
        if (!m_bHumanLibraryDragged && m_pHumanLibraryCard != nullptr)
            display.DrawLinkBetweenRects(CardRect(m_pHumanLibraryCard), LibraryPile(PLAYER_HUMAN), 0.0f, 1.0f, 0.0f,
                                         false, true, 6, 300.0f);
        break;
    case 21:
        DrawLifeTokenGuide();
        break;
    case 28:
        glow(RasterRect{m_Dice[0].x, m_Dice[0].y, m_Dice[0].x + DIE_SIZE, m_Dice[0].y + DIE_SIZE}, 100.0f);
        break;
    case 34:
    case 35:
        if (!IsAdviceBlocked() && MouseState.leftHeld == 0)
            display.DrawFrameAroundRect(LibraryPile(PLAYER_HUMAN), 900.0f, display.MakeColor(0, 255, 0, 255), false, 2);
        break;
    default:
        break;
    }
}

// The pieces only the intro shows: the mats before they lie unfolded, the cut halves and the dice.
void Intro_Physical::DrawTablePieces()
{
    GameDisplay& display = Display();
    if (m_bMatsShown) {
        for (int player = 0; player < 2; ++player) {
            if (m_MatUnfold[player] == 3)
                continue;
            RasterRect mat = MatRect(player);
            mat.left += m_MatOffset[player];
            mat.right += m_MatOffset[player];
            // Folded in three: a third of the mat shows, then two, then all.
            const int shown = mat.Height() * (m_MatUnfold[player] + 1) / 3;
            display.DrawFrameRect(mat.left, mat.bottom - std::min(shown, mat.Height()), mat.right, mat.bottom, 199.0f,
                                  display.MakeColor(24, 72, 40, 255), true, 0);
            display.DrawFrameRect(mat.left, mat.bottom - std::min(shown, mat.Height()), mat.right, mat.bottom, 198.0f,
                                  display.MakeColor(200, 180, 120, 255), false, 2);
        }
    }
    for (const CardActor* const card : m_IntroCards)
        if (IsActorRegistered(card) && card->m_Position.x > -50.0f)
            display.DrawTexture(card->m_Texture, card->m_Position.x, card->m_Position.y, 400.0f, 0, 0);
    for (const CardActor* const card : {m_pHumanLibraryCard, m_pCpuLibraryCard})
        if (card != nullptr && card->m_Position.x > -50.0f)
            display.DrawTexture(display.m_SmallCardBack, card->m_Position.x, card->m_Position.y,
                                card == m_Pointer.carried ? 140.0f : 300.0f, 0, 0);
    const int back = display.m_SmallCardBack;
    for (int player = 0; player < 2; ++player) {
        const IntroCut& cut = m_Cuts[player];
        const CardActor* const card = player == PLAYER_HUMAN ? m_pHumanLibraryCard : m_pCpuLibraryCard;
        if (cut.state >= 3 || card == nullptr || back <= 0)
            continue;
        const RasterRect rect = CardRect(card);
        const int lift = cut.state == 1 ? 4 : 0;
        display.DrawTexture(back, static_cast<float>(rect.left), static_cast<float>(rect.top - lift), 500.0f, 0, 0);
    }
    if (!m_bDiceShown)
        return;
    for (const IntroDie& die : m_Dice) {
        int face = 0;
        const int frame = DieFrame(die, face);
        display.DrawTexture(display.m_DieFrames[static_cast<std::size_t>(std::clamp(face, 0, 5))]
                                               [static_cast<std::size_t>(std::clamp(frame, 0, 14))],
                            static_cast<float>(die.x), static_cast<float>(die.y), 500.0f, 0, 0);
    }
}

void Intro_Physical::DrawLifeTokenGuide()
{
    const LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    // A token not yet laid out has no place to point from.
    if (token == nullptr || IsTokenPlaced(PLAYER_HUMAN) || token->rect.Width() <= 0)
        return;
    GameDisplay& display = Display();
    const RasterRect cell = GetLifeTrackCell(PLAYER_HUMAN, LIFE_START);
    display.DrawHoverGlow(token->rect, 300.0f, 0, 255, 0, false);
    const int sx = (token->rect.left + token->rect.right) / 2;
    const int sy = (token->rect.top + token->rect.bottom) / 2;
    const int ex = (cell.left + cell.right) / 2;
    const int ey = (cell.top + cell.bottom) / 2;
    display.DrawCurvedArrow(sx, sy, (sx + ex) / 2, (sy + ey) / 2, ex, ey, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, false, true,
                            LIFE_TOKEN_SIZE / 2, 300.0f);
}

void Intro_Physical::LayoutStep()
{
    if (m_Step < 0 || m_Step >= PHYSICAL_INTRO_END)
        return;
    if (m_Step >= 2 && m_Step <= 3) {
        for (int k = 0; k < m_DealtCards && k < static_cast<int>(m_IntroCards.size()); ++k) {
            int x = 0;
            int y = 0;
            GridPosition(k, x, y);
            GlideCard(m_IntroCards[static_cast<std::size_t>(k)], x, y, true);
        }
    }
    if (m_pHumanLibraryCard != nullptr && !m_bHumanLibraryDragged && m_Step < 18)
        PlaceCardOnPile(m_pHumanLibraryCard, PLAYER_HUMAN);
    if (m_pCpuLibraryCard != nullptr && m_Pointer.carried == nullptr && m_Step >= 7)
        PlaceCardOnPile(m_pCpuLibraryCard, PLAYER_CPU);
    if (m_bDiceShown) {
        const GameDisplay& display = Display();
        m_Dice[1].x = display.m_DieBoxes[1].left;
        m_Dice[1].y = display.m_DieBoxes[1].top;
        const int offset = m_Dice[0].state == 0 ? 65 : 0;
        m_Dice[0].x = display.m_DieBoxes[0].left + offset;
        m_Dice[0].y = display.m_DieBoxes[0].top + (m_Dice[0].state == 0 ? 5 : 0);
    }
}
