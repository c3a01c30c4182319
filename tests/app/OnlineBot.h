// A scripted learner for the online lesson. Each frame it looks at what a person sees (message windows and their
// buttons, the message field's buttons, the dice, the cards in its hand) and acts only by queuing mouse events.
#pragma once

#include <vector>

class CardActor;

namespace test {

class OnlineBot {
public:
    // Once before every frame: queues the next event of the click under way, or chooses the next click.
    void Step();
    int Clicks() const { return m_Clicks; }
    int LandsPlayed() const { return m_LandsPlayed; }

private:
    struct Point {
        int x;
        int y;
    };
    void Click(int x, int y);
    bool ClickMessageWindowButton();
    bool AnswerDice();
    bool DiscardOrPlayLand();
    void PressFieldButton(int fromRight);

    std::vector<Point> m_Pending;
    int m_Phase = 0;
    int m_Clicks = 0;
    int m_LandsPlayed = 0;
    int m_Wait = 0;
    int m_LandTurn = -1;
};

} // namespace test
