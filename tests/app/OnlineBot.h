// A scripted learner for the online lesson. Each frame it looks at what a person sees (message windows and their
// buttons, the message field's buttons and payment symbols, the dice, the cards in its hand and on the table, the
// phase) and acts only by queuing mouse events.
#pragma once

#include <array>
#include <string>
#include <vector>

class CardActor;
class GUI_Window;

namespace test {

// The kinds of prompt the learner answers.
enum class Prompt {
    Toss,          // the dice: go first or acknowledge (once a game)
    Window,        // a message window's button
    Field,         // the message field's button (pass, keep, OK) when the press moved the game on
    Payment,       // a land or pool symbol clicked, or the payment cancelled
    HandDiscard,   // the end of turn's discard down to seven
    SpellDiscard,  // a card chosen to discard to a resolving spell
    LibraryLook,   // a library list shown by a spell, closed with OK
    SpellMode,     // the advice box's question of a spell with two modes
    Target,        // a target for the learner's instant: a player's panel, a card, or Cancel when none fits
    Advice,        // the advice box's OK (a page turned, an explanation read)
    Count
};
const char* PromptName(Prompt kind);

class OnlineBot {
public:
    // Once before every frame: queues the next event of the click under way, or chooses the next click.
    void Step();
    // Lands only: the learner plays lands and passes; it never casts, attacks or blocks, so a test may set up
    // the table's creatures and blocks itself.
    void SetLandsOnly(bool landsOnly) { m_LandsOnly = landsOnly; }
    // A quick hand moves onto the point and presses in the same frame, as a real mouse often does; by default
    // the move, the press and the release each take a frame.
    void SetMoveAndPressTogether(bool together) { m_MoveAndPressTogether = together; }
    // In the opponent's main phase and end step the learner also casts every instant its lands pay for, once per card
    // and turn.
    void SetCastsInstants(bool casts) { m_CastsInstants = casts; }
    int Clicks() const { return m_Clicks; }
    int LandsPlayed() const { return m_LandsPlayed; }
    // Creatures whose cast the bot started by clicking them in the hand.
    int CastsStarted() const { return m_CastsStarted; }
    int InstantsStarted() const { return m_InstantsStarted; }
    // Target choices given up with the field's Cancel because nothing on the table fitted.
    int TargetsCancelled() const { return m_TargetsCancelled; }
    // Clicks on the learner's own lands while a payment was open.
    int LandsTappedToPay() const { return m_LandsTappedToPay; }
    // Clicks on a symbol of the learner's mana pool while generic mana was owed.
    int PoolRowsClicked() const { return m_PoolRowsClicked; }
    int AttackersDeclared() const { return m_AttackersDeclared; }
    int BlocksTried() const { return m_BlocksTried; }
    int Discards() const { return m_Discards; }
    int Answered(Prompt kind) const { return m_Answered[static_cast<std::size_t>(kind)]; }

    // For a test that stages a moment: one click queued, played by the next Steps.
    bool ClickCardNow(const CardActor* card) { return ClickCard(card); }
    void ClickZoneNow(int zone) { ClickZone(zone); }
    void PressFieldButtonNow(int fromRight) { PressFieldButton(fromRight); }
    bool ClickAdviceButtonNow(int index);
    bool ClickPending() const { return !m_Pending.empty(); }

private:
    struct Point {
        int x;
        int y;
    };
    void Click(int x, int y);
    bool ClickWindow(const GUI_Window* window);
    bool ClickCard(const CardActor* card);
    bool ClickMessageWindowButton();
    bool AnswerDice();
    bool Discard();
    bool DiscardToSpell();
    bool CloseLibraryLook();
    void Answer(Prompt kind) { ++m_Answered[static_cast<std::size_t>(kind)]; }
    bool PlayLand();
    bool PayWithLand();
    bool ClickPoolRow();
    bool CastCreature();
    bool CastInstant();
    bool AnswerSpellMode();
    bool AnswerAdvice();
    bool ChooseSpellTarget();
    void ClickZone(int zone);
    bool DeclareAttacker();
    bool Block();
    void PressFieldButton(int fromRight);

    bool m_LandsOnly = false;
    bool m_CastsInstants = false;
    int m_InstantsStarted = 0;
    int m_TargetsCancelled = 0;
    int m_ModesAnswered = 0;
    bool m_MoveAndPressTogether = false;
    std::vector<Point> m_Pending;
    std::vector<const CardActor*> m_Tried;
    int m_Phase = 0;
    int m_Clicks = 0;
    int m_LandsPlayed = 0;
    int m_CastsStarted = 0;
    int m_LandsTappedToPay = 0;
    int m_PoolRowsClicked = 0;
    int m_AttackersDeclared = 0;
    int m_BlocksTried = 0;
    int m_Discards = 0;
    int m_Wait = 0;
    int m_LandTurn = -1;
    int m_CastTurn = -1;
    int m_BlockTurn = -1;
    int m_TriedTurn = -1;
    std::array<int, static_cast<std::size_t>(Prompt::Count)> m_Answered{};
    // What the table showed when the field's button was last pressed; empty when no press waits for its effect.
    std::string m_FieldPressedAt;
    bool m_TossAnswered = false;
};

} // namespace test
