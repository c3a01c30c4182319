// The mulligan dialogue that closes the advanced game's intro: each side in turn may put its hand back and draw one
// card fewer, the CPU by its rule, the learner by a choice; it begins with the side that plays first and ends when
// both have kept.
#include "screens/MulliganDialogue.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardEnums.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/AdviceState.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"
#include "screens/IntroCards.h"
#include "screens/PhysicalIntro.h"

#include <algorithm>

namespace {

constexpr int BOX_WIDTH = 380;
constexpr int BOX_HEIGHT = 200;
constexpr int NO_MULLIGAN_HAND = 4;
constexpr int LOOK_AHEAD = 9;
constexpr int BACK_SPACING = 9;
constexpr float BACK_SPEED = 1000.0f;
constexpr float BACK_DEPTH = 500.0f;
constexpr int FOLLOW_SPACING = 2;
constexpr int CLICK_EFFECT = 20;
constexpr int FULL_VOLUME = 255;

bool CardIs(int id, int type)
{
    return id > 0 && id < CD_NUMBER_OF_CARD_DEFS && g_CardDefs[id].GetCardType() == type;
}

int CountType(const int* ids, int count, int type)
{
    return static_cast<int>(std::count_if(ids, ids + count, [type](int id) { return CardIs(id, type); }));
}

void Voice(const char16_t* first, const char16_t* second)
{
    QueueVoice(first, true);
    if (second != nullptr)
        QueueVoice(second, false);
}

// The sound stream slot is free once the queued clips have been spoken (at once with sound off or no clip).
bool IsVoiceSlotFree()
{
    return VoiceQueueLength() == 0 && GetCurrentVoice() == 0;
}

} // namespace

bool CpuTakesMulligan(const int* libraryIds, int libraryCount, int handSize, bool cpuFirst)
{
    if (handSize <= NO_MULLIGAN_HAND)
        return false;
    const int seen = std::clamp(libraryCount, 0, LOOK_AHEAD);
    const int first = std::clamp(cpuFirst ? handSize : handSize + 1, 0, seen);
    const bool keep = CountType(libraryIds, first, CT_LAND) >= 1 && CountType(libraryIds, seen, CT_LAND) >= 2 &&
                      CountType(libraryIds, seen, CT_CREATURE) >= 2;
    return !keep;
}

bool Intro_Physical::CpuDecidesMulligan() const
{
    const PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    return CpuTakesMulligan(cpu.m_Library.data(), std::min(cpu.m_LibraryCount, LIBRARY_CAPACITY), m_CpuHandSize,
                            m_bCpuFirst);
}

bool Intro_Physical::AnimateCpuMulligan()
{
    GameDisplay& display = *GetGameDisplay();
    switch (m_CpuMulliganState) {
    case 0: {
        const RasterRect& hand = display.m_CpuHandRect;
        StartPointerGroup(21, hand.left + hand.Width() / 2, hand.top + hand.Height() / 2);
        m_CpuMulliganState = 1;
        return false;
    }
    case 1: {
        StepPointer();
        if (m_Pointer.phase < 22)
            return false;
        RasterRect library;
        display.GetOpponentLibraryRect(library, false);
        const int count = RemoveCpuHand();
        const RasterRect& hand = display.m_CpuHandRect;
        for (int i = 0; i < count; ++i) {
            auto back = std::make_unique<Sprite>();
            back->SetTexture(GetTextureByName(u"cardback"));
            back->SetPosition(hand.left + 5 + i * BACK_SPACING, hand.top + 5);
            back->SetTarget(library.left, library.top);
            back->SetSpeed(BACK_SPEED);
            back->SetStartTime(plat::TimeGetTime());
            back->SetDepth(BACK_DEPTH);
            GetSpriteList()->Add(back.get());
            m_FlyingBacks.push_back(std::move(back));
        }
        m_CpuMulliganState = 2;
        return false;
    }
    case 2:
        StepPointer();
        std::erase_if(m_FlyingBacks, [](const std::unique_ptr<Sprite>& back) {
            if (!back->IsAtTarget(2))
                return false;
            GetSpriteList()->Remove(back.get());
            return true;
        });
        if (m_FlyingBacks.empty() && m_Pointer.phase == 24)
            m_CpuMulliganState = 3;
        return false;
    case 3: {
        RasterRect library;
        display.GetOpponentLibraryRect(library, false);
        StartPointerGroup(1, library.left + library.Width() / 2, library.top + library.Height() / 2);
        m_CpuMulliganState = 4;
        return false;
    }
    case 4:
        StepPointer();
        if (m_Pointer.phase != 4)
            return false;
        ShuffleCpuLibrary();
        m_CpuMulliganState = 5;
        return false;
    case 5:
        --m_CpuHandSize;
        StartCpuHandDeal(m_CpuHandSize);
        m_CpuMulliganState = 6;
        return false;
    case 6:
        if (!IsCpuHandDealt())
            return false;
        m_CpuMulliganState = 7;
        return true;
    default:
        return true;
    }
}

bool Intro_Physical::AnimateHumanRedraw()
{
    GameDisplay& display = *GetGameDisplay();
    RasterRect pile;
    display.GetPlayerLibraryRect(pile, false);
    switch (m_RedrawState) {
    case 0:
        m_RedrawState = s_OpeningHandSize < 1 ? 6 : 1;
        return m_RedrawState == 6;
    case 1: {
        if (s_bSkipIntro) {
            SendHumanHandToPile(pile, true);
            m_RedrawState = 3;
            return false;
        }
        if (MouseState.leftClicked == 0 || IsAdviceBlocked())
            return false;
        CardActor* const card = FindHumanHandCardAt(MouseState.x, MouseState.y);
        if (card == nullptr)
            return false;
        m_pRedrawCard = card;
        m_RedrawState = 2;
        return false;
    }
    case 2: {
        if (MouseState.leftHeld != 0) {
            FollowDraggedCard(m_pRedrawCard, MouseState.x, MouseState.y, FOLLOW_SPACING);
            return false;
        }
        RasterRect rect;
        display.GetCardRect(m_pRedrawCard, rect, true);
        const bool overPile = RectsOverlap(rect, pile);
        if (!overPile) {
            m_RedrawState = 1;
            return false;
        }
        SendHumanHandToPile(pile, false);
        m_RedrawState = 3;
        return false;
    }
    case 3:
        if (RemoveHumanHandAtPile(pile, s_bSkipIntro) > 0)
            return false;
        m_pRedrawCard = nullptr;
        --s_OpeningHandSize;
        m_RedrawState = 4;
        return false;
    case 4: {
        const bool clicked = MouseState.leftClicked != 0 && IsInsideRect(pile, MouseState.x, MouseState.y) &&
                             GetGUIManager()->GetWindowAt(MouseState.x, MouseState.y) == nullptr &&
                             !IsAdviceBlocked();
        if (!clicked && !s_bSkipIntro)
            return false;
        MouseState.leftClicked = 0;
        MouseState.clickConsumed = 1;
        PlayEffect(CLICK_EFFECT, FULL_VOLUME, 0, 0, 0, nullptr);
        ShuffleHumanLibrary();
        CreateLibraryActors();
        display.m_LibraryHighlight = true;
        m_RedrawState = s_OpeningHandSize < 1 ? 6 : 5;
        return m_RedrawState == 6;
    }
    case 5:
        KeepBoxBesideLessonBox();
        if (s_bSkipIntro)
            TakeDeckCardsIntoHand();
        if (CountDeckMarkedCards() > 0)
            return false;
        display.m_LibraryHighlight = false;
        m_RedrawState = 6;
        return true;
    default:
        return true;
    }
}

void Intro_Physical::RunMulliganStep()
{
    // Where the CPU decides, its choice names the next step: mulligan or keep.
    const auto cpuDecides = [this](int mulligan, int keep) { m_Step = CpuDecidesMulligan() ? mulligan : keep; };
    // A choice passed by the learner or the skip: true when the learner asked for a mulligan.
    const auto learnerMulligan = [](int answer) { return answer == 0 && !s_bSkipIntro; };
    switch (m_Step) {
    case 43:
        m_bHumanDecided = false;
        m_bCpuDecided = false;
        if (!m_bCpuFirst)
            m_Step = 61;
        else
            cpuDecides(46, 44);
        return;
    case 44:
        ShowBox(BOX_WIDTH, BOX_HEIGHT, u"FMT_INTRO_MULLIGAN_CPU_NO", true, BOX_OK);
        Voice(u"vo_phys\\adv_mulligan1a.wav", u"vo_phys\\adv_mulligan1b_no.wav");
        m_Step = 45;
        return;
    case 45:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        m_bCpuDecided = true;
        m_Step = 55;
        return;
    case 46:
        ShowBox(BOX_WIDTH, BOX_HEIGHT, u"FMT_INTRO_MULLIGAN_CPU_YES", true, BOX_NONE);
        Voice(u"vo_phys\\adv_mulligan1a.wav", nullptr);
        m_Step = 47;
        return;
    case 47:
        if (!IsVoiceSlotFree() && !s_bSkipIntro)
            return;
        Voice(u"vo_phys\\adv_mulligan1b_yes.wav", nullptr);
        m_CpuMulliganState = 0;
        m_Step = 48;
        [[fallthrough]];
    case 48:
    case 53:
    case 66:
        if (!AnimateCpuMulligan())
            return;
        AddOkButton();
        ++m_Step;
        return;
    case 49:
    case 67:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        cpuDecides(52, 50);
        return;
    case 50:
        ShowBox(BOX_WIDTH, BOX_HEIGHT, u"FMT_INTRO_MULLIGAN_CPU_ANOTHER_NO", true, BOX_OK);
        Voice(u"vo_phys\\adv_mulligan2a.wav", u"vo_phys\\adv_mulligan2b_no.wav");
        m_Step = 51;
        return;
    case 51:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        m_bCpuDecided = true;
        m_Step = m_bHumanDecided ? 68 : 55;
        return;
    case 52:
        ShowBox(BOX_WIDTH, BOX_HEIGHT, u"FMT_INTRO_MULLIGAN_CPU_ANOTHER_YES", true, BOX_NONE);
        if (m_CpuHandSize == 6)
            Voice(u"vo_phys\\adv_mulligan2a.wav", u"vo_phys\\adv_mulligan2b_yes.wav");
        else
            StopVoiceQueue();
        m_CpuMulliganState = 0;
        m_Step = 53;
        return;
    case 54:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        if (m_CpuHandSize < 1) {
            m_bCpuDecided = true;
            m_Step = m_bHumanDecided ? 68 : 55;
            return;
        }
        cpuDecides(52, 50);
        return;
    case 55:
        ShowChoiceBox(u"FMT_INTRO_MULLIGAN_CPU_PLAYER");
        Voice(u"vo_phys\\adv_mulligan3a.wav", u"vo_phys\\adv_mulligan3b.wav");
        m_Step = 56;
        return;
    case 56:
    case 60: {
        const int answer = TakeAnswer();
        if (answer == ANSWER_NONE)
            return;
        if (learnerMulligan(answer)) {
            m_Step = 57;
            return;
        }
        m_bHumanDecided = true;
        if (!m_bCpuDecided)
            cpuDecides(65, 63);
        else
            m_Step = 68;
        return;
    }
    case 57: {
        const bool last = s_OpeningHandSize < 2;
        ShowBox(BOX_WIDTH, BOX_HEIGHT, last ? u"FMT_INTRO_MULLIGAN_PLAYER_YES_FINAL" : u"FMT_INTRO_MULLIGAN_PLAYER_YES",
                true, BOX_NONE);
        m_RedrawState = 0;
        if (last)
            Voice(u"vo_phys\\adv_mulligan4_nodraw.wav", nullptr);
        else if (s_OpeningHandSize == 7)
            Voice(u"vo_phys\\adv_mulligan4.wav", nullptr);
        else
            StopVoiceQueue();
        m_Step = 58;
        return;
    }
    case 58:
        if (!AnimateHumanRedraw())
            return;
        CloseBox();
        if (s_OpeningHandSize >= 1) {
            m_Step = 59;
            return;
        }
        m_bHumanDecided = true;
        if (!m_bCpuDecided)
            cpuDecides(65, 63);
        else
            m_Step = 68;
        return;
    case 59:
        ShowChoiceBox(u"FMT_INTRO_MULLIGAN_PLAYER_ANOTHER");
        if (s_OpeningHandSize == 6)
            Voice(u"vo_phys\\adv_mulligan5a.wav", u"vo_phys\\adv_mulligan5b.wav");
        else
            StopVoiceQueue();
        m_Step = 60;
        return;
    case 61:
        ShowChoiceBox(u"FMT_INTRO_MULLIGAN_PLAYER");
        Voice(u"vo_phys\\adv_mulligan6.wav", u"vo_phys\\adv_mulligan3b.wav");
        m_Step = 62;
        return;
    case 62: {
        const int answer = TakeAnswer();
        if (answer == ANSWER_NONE)
            return;
        if (learnerMulligan(answer)) {
            m_Step = 57;
            return;
        }
        m_bHumanDecided = true;
        cpuDecides(65, 63);
        return;
    }
    case 63:
        ShowBox(BOX_WIDTH, BOX_HEIGHT, u"FMT_INTRO_MULLIGAN_PLAYER_CPU_NO", true, BOX_OK);
        Voice(u"vo_phys\\adv_mulligan7_no.wav", nullptr);
        m_Step = 64;
        return;
    case 64:
        if (TakeAnswer() == ANSWER_NONE)
            return;
        m_Step = 68;
        return;
    case 65:
        ShowBox(BOX_WIDTH, BOX_HEIGHT, u"FMT_INTRO_MULLIGAN_PLAYER_CPU_YES", true, BOX_NONE);
        Voice(u"vo_phys\\adv_mulligan7_yes.wav", nullptr);
        m_CpuMulliganState = 0;
        m_Step = 66;
        return;
    default:
        s_bLayoutChanged = true;
        m_Step = 69;
        return;
    }
}
