#include "screens/CoinToss.h"

#include "cards/GameLog.h"
#include "cards/TableEffects.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/PhysicalTurnState.h"
#include "lessons/OnlineTurnServices.h"
#include "platform/Platform.h"
#include "gamestate/Intro.h"
#include "screens/IntroDice.h"

#include <algorithm>
#include <cstdint>

namespace {

enum TossState {
    TOSS_ROLL = 0,
    TOSS_ROLLING = 1,
    TOSS_RESULT = 2,
    TOSS_START = 3,
    TOSS_DONE = 5,
};

constexpr int DIE_SIDES = 5;
constexpr int LAST_ROLL_FRAME = 13;
constexpr std::uint32_t ROLL_FRAME_MS = 50;
constexpr float DIE_DEPTH = 500.0f;

struct CoinTossWords {
    int rollFrame = 0;
    std::uint32_t nextFrameTime = 0;
    bool rollStarted = false;
    bool resultVoiceQueued = false;
    bool notePending = false;
    int noteWindow = -1;
    int resultWindow = -1;
};

CoinTossWords s_Toss;

void ConsumeClick()
{
    MouseState.leftClicked = 0;
    MouseState.clickConsumed = 1;
}

void Log(std::u16string_view key)
{
    GameLog::Add(true, KeyText(key), {});
}

void DrawDice(GameDisplay& display, int frame)
{
    const int dice[2] = {s_HumanDieValue, s_CpuDieValue};
    for (int player = 0; player < 2; ++player) {
        const auto face = static_cast<std::size_t>(std::clamp(dice[player] - 1, 0, 5));
        const auto strip = static_cast<std::size_t>(std::clamp(frame, 0, 14));
        const RasterRect& box = display.m_DieBoxes[static_cast<std::size_t>(player)];
        display.DrawTexture(display.m_DieFrames[face][strip], static_cast<float>(box.left),
                            static_cast<float>(box.top), DIE_DEPTH, 0, 0);
    }
}

void Roll(Actor* actor)
{
    s_HumanDieValue = plat::Rand() % DIE_SIDES + 1;
    s_CpuDieValue = plat::Rand() % DIE_SIDES + 1;
    // A tie goes to the learner.
    if (s_HumanDieValue == s_CpuDieValue)
        ++s_HumanDieValue;
    actor->m_BehaviourData = GetTextureByName(u"coin");
    actor->SetState(TOSS_ROLLING);
    s_Toss.rollStarted = true;
    s_Toss.rollFrame = 0;
    s_Toss.nextFrameTime = plat::TimeGetTime() + ROLL_FRAME_MS;
    s_Toss.resultVoiceQueued = false;
}

void Rolling(Actor* actor, GameDisplay& display)
{
    const std::uint32_t now = plat::TimeGetTime();
    if (now > s_Toss.nextFrameTime) {
        ++s_Toss.rollFrame;
        s_Toss.nextFrameTime = now + ROLL_FRAME_MS;
    }
    if (s_Toss.rollFrame > LAST_ROLL_FRAME) {
        actor->SetState(TOSS_RESULT);
        s_Toss.notePending = true;
        // The note is placed once, then may be dragged where the learner likes.
        s_bLayoutChanged = true;
    }
    DrawDice(display, std::min(s_Toss.rollFrame, LAST_ROLL_FRAME));
}

// The note that the real game decides the first player the same way; true while it waits for its button.
bool ShowRealGameNote(GameDisplay& display)
{
    if (!s_Toss.notePending)
        return false;
    const auto [id, answer] = display.GetLastButtonEvent();
    if (s_Toss.noteWindow >= 0 && id == s_Toss.noteWindow && answer != 0) {
        s_Toss.noteWindow = -1;
        StopVoiceQueue();
        s_Toss.notePending = false;
        return false;
    }
    const bool place = s_bLayoutChanged;
    s_bLayoutChanged = false;
    s_Toss.noteWindow = display.AddMessageWindow(0, 100, KeyText(u"ONL_RealGameText"), 320, 160, nullptr, place,
                                                 display.m_Width - 330, display.m_Height / 2 - 160, 1, u"psok",
                                                 u"psokmo", nullptr, 30, 0, 0);
    return true;
}

// 0 while the learner has not answered; 1 the learner begins (or lost), 2 the learner chose to go second.
int AskWhoBegins(GameDisplay& display)
{
    if (s_HumanDieValue < s_CpuDieValue) {
        if (!s_Toss.resultVoiceQueued) {
            s_Toss.resultVoiceQueued = true;
            QueueVoice(u"data\\wavsonl\\b013.wav", false);
            Log(u"ONL_GL_OppChoosesFirst");
        }
        int answer = display.DrawTextureInRect(KeyText(u"ONL_YouLostDieRoll"), 1);
        if (ShowOnlineWindow(s_Toss.resultWindow, KeyText(u"ONL_OpponentGoesFirst"), 320, 160, 1))
            answer = 1;
        return answer;
    }
    if (!s_Toss.resultVoiceQueued) {
        s_Toss.resultVoiceQueued = true;
        QueueVoice(u"data\\wavsonl\\b012.wav", false);
    }
    const int answer = display.DrawTextureInRect(KeyText(u"ONL_YouWonDieRoll"), 2);
    ShowOnlineWindow(s_Toss.resultWindow, KeyText(u"ONL_YouWonDieRoll"), 320, 160, 0);
    return answer;
}

void StartGame(Actor* actor, int answer)
{
    StopVoiceQueue();
    ConsumeClick();
    const bool humanLost = s_HumanDieValue < s_CpuDieValue;
    Actor* const player = FindActorByName(u"player");
    if (humanLost || answer == 2) {
        if (!humanLost)
            Log(u"ONL_GL_PlayerChoosesSecond");
        HandTurnTo(1);
        // The CPU begins and skips its first draw.
        s_CpuSkipNextDraw = true;
        if (player != nullptr)
            player->SetState(0);
    } else {
        Log(u"ONL_GL_PlayerChoosesFirst");
        HandTurnTo(0);
        if (player != nullptr)
            player->SetState(20);
    }
    for (int side = 0; side < 2; ++side)
        SpawnActor(u"lifeglobe", side, LifeGlobeBehaviour, 0, 0, 0, 0, 0, 0);
    s_Toss.resultWindow = -1;
    actor->SetState(TOSS_DONE);
    RemoveActor(actor);
}

void Result(Actor* actor, GameDisplay& display)
{
    DrawDice(display, LAST_ROLL_FRAME);
    if (ShowRealGameNote(display) || !IsOnlineLesson())
        return;
    const int answer = AskWhoBegins(display);
    if (answer != 0)
        StartGame(actor, answer);
}

} // namespace

void CoinTossBehaviour(Actor* actor)
{
    GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return;
    if (display->m_bQuitConfirmed)
        s_Toss.notePending = false;
    if (display->m_bQuitPromptOpen)
        return;
    if ((actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0) {
        actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        actor->m_Flags |= ACTOR_FLAG_COIN_TOSS;
        actor->m_Position = Vector3{268.0f, 640.0f, 10.0f};
        actor->m_Velocity.y = -20.0f;
        s_Toss = CoinTossWords{};
        actor->SetState(TOSS_START);
        if (IsOnlineLesson())
            QueueVoice(u"data\\wavsonl\\b011.wav", true);
        else
            PlayStream(u"data\\vowavs\\020.wav");
    }
    switch (actor->GetState()) {
    case TOSS_START:
        actor->m_BehaviourData = GetTextureByName(u"coin");
        actor->SetState(TOSS_ROLL);
        break;
    case TOSS_ROLL:
        Roll(actor);
        break;
    case TOSS_ROLLING:
        Rolling(actor, *display);
        break;
    case TOSS_RESULT:
        Result(actor, *display);
        break;
    default:
        break;
    }
}

int GetHumanDieValue()
{
    return s_HumanDieValue;
}

int GetCpuDieValue()
{
    return s_CpuDieValue;
}
