#include "screens/StandInIntro.h"

#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/sound/VoiceQueue.h"
#include "lessons/DrawingHand.h"
#include "lessons/UntapDrawPrompts.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"

#include <vector>

namespace {

class StandInIntro : public CIntro {
public:
    bool Advance() override
    {
        if (m_Ended)
            return false;
        if (!IsOnlineLesson())
            LeaveTheTable();
        m_Ended = true;
        if (!IsOnlineLesson())
            RaiseTips();
        return false;
    }
    void DrawStepHighlight() override {}
    bool IsRunning() override { return !m_Ended; }
    bool IsFinished() override { return m_Ended; }
    void LayoutStep() override {}
    void Reset() override {}
    bool IntroGate7() override { return true; }
    bool IntroGate8() override { return true; }
    bool IntroGate9() override { return true; }
    bool IntroGate10() override { return true; }
    bool IntroGate11() override { return true; }
    bool IntroGate12() override { return true; }
    bool IntroGate13() override { return true; }
    bool IntroGate14() override { return true; }
    bool IntroGate15() override { return true; }
    bool IntroGate16() override { return true; }
    bool IntroGate17() override { return true; }
    bool IntroGate18() override { return false; }
    bool IntroGate19() override { return false; }
    bool IntroGate20() override { return IsOnlineLesson(); }
    bool IntroGate21() override { return IsOnlineLesson(); }
    bool IntroGate22() override { return IsOnlineLesson(); }
    bool IntroGate23() override { return IsOnlineLesson(); }
    bool IntroGate24() override { return IsOnlineLesson(); }
    bool IntroGate25() override { return IsOnlineLesson(); }
    bool IntroGate26() override { return IsOnlineLesson(); }

private:
    // As the full intro's draw step does when skipped: every deck-marked card of the learner leaves the library
    // and is held.
    static void HoldOpeningHand()
    {
        for (CardActor* const card : GetCardActors()) {
            if (card->m_DeckCardMarker == 0 || card->GetOwner() != PLAYER_HUMAN)
                continue;
            card->m_InLibrary = false;
            card->m_Held = 1;
            card->m_DeckCardMarker = 0;
        }
    }

    // 1 when the CPU plays first: always in the basic game; in the advanced game by the die, the winner of the
    // roll choosing to begin (the learner always does; the CPU on an odd draw).
    static int ChooseFirstPlayer()
    {
        if (s_GameMode != 2)
            return 1;
        const StandInDice dice = RollStandInDice();
        if (dice.human > dice.cpu)
            return 0;
        return (plat::Rand() & 1) != 0 ? 1 : 0;
    }

    static void LeaveTheTable()
    {
        HoldOpeningHand();
        // At once: the runs that use this intro look only at what follows the deal.
        DealCpuOpeningHand();
        StartHandAnimation(0);
        const int cpuFirst = ChooseFirstPlayer();
        StopVoiceQueue();
        SetFirstPlayer(cpuFirst);
    }

    static void RaiseTips()
    {
        std::vector<CardActor*> held;
        for (CardActor* const card : GetCardActors())
            if (card->GetOwner() == PLAYER_HUMAN && card->IsHeld() && !card->IsInLibrary())
                held.push_back(card);
        for (CardActor* const card : held)
            ShowFirstAppearanceTip(card);
    }

    bool m_Ended = false;
};

} // namespace

CIntro* CreateStandInIntro()
{
    return new StandInIntro();
}

StandInDice RollStandInDice()
{
    StandInDice dice;
    do {
        dice.human = plat::Rand() % 6 + 1;
        dice.cpu = plat::Rand() % 6 + 1;
    } while (dice.human == dice.cpu);
    return dice;
}
