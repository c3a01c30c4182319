// The intro of the physical lesson: the decks shown and gathered, shuffle and cut with the pointer hand acting the
// CPU's part, the mats, the library and life tokens dragged into place, the parts of a turn, the die roll, the
// opening hand, and then the hand explained (basic game) or the mulligan dialogue (advanced game). One step machine
// of 70 steps; its step answers the intro gates.
#pragma once

#include "gamestate/Intro.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class CardActor;
class Messagebox;
class Sprite;
class WordBalloon;

// A die's strip plays over this long, backwards then forwards; the die image's size.
constexpr std::uint32_t DIE_ROLL_MS = 1000;
constexpr int DIE_SIZE = 48;
// The card type the table highlights while the hand explanation's link is under the mouse (-1 none).
extern int s_HighlightedCardType;

// The step that means ended.
constexpr int PHYSICAL_INTRO_END = 70;
// The buttons a box of the intro gets: none, the standard OK, or the mulligan choice.
constexpr int BOX_NONE = 0;
constexpr int BOX_OK = 1;
constexpr int BOX_CHOICE = 2;
// TakeAnswer while no button has been pressed; the skip answers ANSWER_SKIPPED.
constexpr int ANSWER_NONE = -1;
constexpr int ANSWER_SKIPPED = 1000;

// The pointer hand that acts the CPU's part. Its phases run in groups of four: glide to the target (4k+1),
// pressed for a moment (4k+2), leave upward (4k+3), rest off the screen (4k+4) until the next group starts.
struct IntroPointer {
    std::unique_ptr<Sprite> sprite;
    int phase = 1;
    std::uint32_t pressTime = 0;
    // The drag group carries this card to the CPU's pile instead of leaving at once.
    CardActor* carried = nullptr;
    int targetX = 0;
    int targetY = 0;
};

// One die of the roll: start face, final face (0-5), state 0 waiting, 1 unrolling the start face, 2 rolling to the
// final face, 3 resting; its start time and place.
struct IntroDie {
    int startFace = 0;
    int finalFace = 0;
    int state = 0;
    std::uint32_t startTime = 0;
    int x = 0;
    int y = 0;
};

// The cut of one library: states 0 lifting, 1 lifted and sent back, 2 returned, 3 done.
struct IntroCut {
    int state = 3;
    std::uint32_t startTime = 0;
};

class Intro_Physical : public CIntro {
public:
    Intro_Physical();
    ~Intro_Physical() override;

    bool Advance() override;
    void DrawStepHighlight() override;
    bool IsRunning() override { return m_Step >= 0 && m_Step < PHYSICAL_INTRO_END; }
    bool IsFinished() override { return m_Step == PHYSICAL_INTRO_END; }
    void LayoutStep() override;
    void Reset() override;
    bool IntroGate7() override { return m_Step >= 21; }
    bool IntroGate8() override { return IsAdvanced() || m_Step >= 24; }
    bool IntroGate9() override { return IsAdvanced() || m_Step >= 26; }
    bool IntroGate10() override { return m_Step >= 4; }
    bool IntroGate11() override { return IsAdvanced() || m_MatUnfold[0] == 3; }
    bool IntroGate12() override { return IsAdvanced() || m_MatUnfold[1] == 3; }
    bool IntroGate13() override { return m_Step >= 19 && m_pHumanLibraryCard == nullptr; }
    bool IntroGate14() override { return m_Step >= 20 || m_Pointer.phase >= 15; }
    bool IntroGate15() override { return m_Step >= 35; }
    bool IntroGate16() override { return true; }
    bool IntroGate17() override { return IntroGate9(); }
    bool IntroGate18() override { return m_Step == 35 || m_RedrawState == 5; }
    bool IntroGate19() override { return m_RedrawState == 2; }
    bool IntroGate20() override { return false; }
    bool IntroGate21() override { return false; }
    bool IntroGate22() override { return false; }
    bool IntroGate23() override { return false; }
    bool IntroGate24() override { return false; }
    bool IntroGate25() override { return false; }
    bool IntroGate26() override { return false; }

    static bool IsAdvanced();

    // The mulligan dialogue, steps 43 to 68 (its own file).
    void RunMulliganStep();
    // The CPU's mulligan rule applied to the CPU's library and the intro's words.
    bool CpuDecidesMulligan() const;
    // Sub-states 0-7 of the CPU's mulligan on the table; true when done.
    bool AnimateCpuMulligan();
    // Sub-states 0-6 of the human's redraw; true when done.
    bool AnimateHumanRedraw();

    int m_Step = 0;
    Messagebox* m_pBox = nullptr;
    WordBalloon* m_pBalloon = nullptr;
    // The dealt deck of the basic game (owned by the actor registry; removed at the end).
    std::vector<CardActor*> m_IntroCards;
    CardActor* m_pHumanLibraryCard = nullptr;
    CardActor* m_pCpuLibraryCard = nullptr;
    IntroPointer m_Pointer;
    std::unique_ptr<Sprite> m_Mats[2];
    int m_MatUnfold[2] = {0, 0};
    std::unique_ptr<Sprite> m_CutSprites[2];
    IntroCut m_Cuts[2];
    IntroDie m_Dice[2];
    std::unique_ptr<Sprite> m_DieSprites[2];
    bool m_bCpuFirst = true;
    bool m_bHumanLibraryDragged = false;
    std::uint32_t m_StepTime = 0;
    int m_DealtCards = 0;
    // Mulligan words.
    int m_CpuHandSize = 7;
    bool m_bHumanDecided = false;
    bool m_bCpuDecided = false;
    int m_CpuMulliganState = 0;
    int m_RedrawState = 0;
    CardActor* m_pRedrawCard = nullptr;
    std::vector<std::unique_ptr<Sprite>> m_FlyingBacks;
    // The hand explanation's link button the mouse was last over (-1 none).
    int m_HoveredLink = -1;
    // True while the box has been hidden for a lesson box.
    bool m_bBoxHidden = false;

    // The two dice, the mats and the cuts as the steps leave them.
    int m_MatOffset[2] = {0, 0};
    bool m_MatUnfolding[2] = {false, false};
    std::uint32_t m_UnfoldTime[2] = {0, 0};
    bool m_bMatsShown = false;
    bool m_CutStarted[2] = {false, false};
    bool m_bDiceShown = false;
    int m_DragOffsetX = 0;
    int m_DragOffsetY = 0;

    void RunStep();
    void SetUpStart();
    void GridPosition(int index, int& x, int& y) const;
    void DealDeck();
    bool GatherDeck();
    bool BoxDone() const;
    void StartCut(int player);
    void StepCuts();
    bool CutsDone() const;
    void StepMats();
    void StartUnfold(int player);
    bool DragHumanLibrary();
    bool IsTokenPlaced(int player) const;
    void PlaceTokenAtStart(int player);
    void SetUpDice();
    void RollDie(int player);
    void StepDice();
    // The frame of the die's strip to show now; face is set to the strip's face.
    int DieFrame(const IntroDie& die, int& face) const;
    void ShowHandExplanation();
    void TintHandLinks();
    void PlaceBoxOnPreview();
    void ShowBalloon(int width, int height, const char16_t* key, std::initializer_list<const char16_t*> buttons);
    void FinishDice();
    void DrawTablePieces();
    void DrawLifeTokenGuide();
    void EndIntro();

    // Box helpers shared with the mulligan.
    void ShowBox(int width, int height, const char16_t* key, bool formatted, int buttons);
    void ShowChoiceBox(const char16_t* key);
    void AddOkButton();
    // A pressed button's index, or -1; skipping counts as the first button. The box leaves the display.
    int TakeAnswer();
    void CloseBox();
    void KeepBoxBesideLessonBox();
    void StartPointerGroup(int firstPhase, int x, int y);
    void StepPointer();
};

