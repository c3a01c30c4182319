// The balloon beside the opponent's panel in which the physical lesson explains the CPU's moves. It is the CPU
// driver's turn balloon: one window, kept by that driver, shown here with the explanation's kind and text.
#pragma once

#include <string>

class WordBalloon;

struct OpponentBalloonContent {
    int kind = -1;
    int width = 300;
    int height = 200;
    std::u16string text;
    // The advanced game adds Respond beside OK, greyed out when the learner has nothing to respond with.
    bool respondButton = false;
    bool okOnly = false;
    // A new balloon is centred on the screen before it is placed.
    bool centreWhenNew = false;
    // Fits the width to the text's longest line before the rest is appended.
    std::u16string widthLines;
};

// Fills and shows the balloon: made when missing, reset, kinded, sized, pointing at the opponent's panel, with
// text and buttons, auto-sized, placed and registered.
WordBalloon* ShowOpponentBalloon(const OpponentBalloonContent& content);
// The balloon when it is registered and shows that kind; else null.
WordBalloon* GetShownOpponentBalloon(int kind);
// The pressed button of a shown balloon of that kind, -1 while none.
int GetOpponentBalloonAnswer(int kind);
void DeleteOpponentBalloon();
void UnregisterOpponentBalloon();
// No card-specific dialog is shown or queued: the balloon's voices may play.
bool AreCardDialogsQuiet();
