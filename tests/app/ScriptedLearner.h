// A scripted learner for the physical lesson. Each frame it looks at what a person sees (the card dialogs, the
// lesson box with its kind and buttons, the opponent's balloon, the life token, the library pile in the draw step)
// and acts only by queuing mouse events: it reads and answers every box, places its life token, draws by dragging
// the top card of its library, attacks when the main-phase box offers it and it has attackers, blocks as asked and
// otherwise ends the turn.
#pragma once

#include <map>
#include <vector>

namespace test {

class ScriptedLearner {
public:
    // Once before every frame: queues the next event of the gesture under way, or chooses the next gesture.
    void Step();
    // Lesson boxes answered, by kind (-1 the opponent's balloon, -2 a card dialog).
    const std::map<int, int>& Answered() const { return m_Answered; }
    int Draws() const { return m_Draws; }

private:
    struct Event {
        int type;  // 0 move, 1 press, 2 release
        int x;
        int y;
    };
    void Click(int x, int y);
    void Drag(int fromX, int fromY, int toX, int toY);
    bool AnswerDialog();
    bool AnswerBalloon();
    bool AnswerLessonBox();
    bool PlaceLifeToken();
    bool DrawCard();

    std::vector<Event> m_Gesture;
    std::size_t m_Next = 0;
    std::map<int, int> m_Answered;
    int m_Draws = 0;
    int m_Cooldown = 0;
};

} // namespace test
