// The speech balloon of the CPU opponent and the lesson's short texts: a message box with its own skin, white
// text, tight margins, no dragging, and a pointer image in place of one corner of its border.
#pragma once

#include "gui/Messagebox.h"

constexpr std::uint32_t WORD_BALLOON_KIND = 13;

enum BalloonPointerSide { POINTER_NONE = -1, POINTER_BOTTOM_RIGHT = 0, POINTER_TOP_LEFT = 1 };

// What a balloon asks of the game each frame; app/ fills it at start-up. Null entries: nothing changes.
struct WordBalloonQueries {
    bool (*IsSituationChanged)() = nullptr;
    // The balloon must wait (its advice is blocked or a card-specific dialog is up).
    bool (*IsTaggedActorBusy)(const Messagebox* balloon) = nullptr;
    bool (*CanPlayerRespond)(int player) = nullptr;
};
void SetWordBalloonQueries(const WordBalloonQueries& queries);
const WordBalloonQueries& GetWordBalloonQueries();

class WordBalloon : public Messagebox {
public:
    WordBalloon();
    ~WordBalloon() override;

    void SetRect(int left, int top, int right, int bottom, bool layout) override;
    void Update() override;
    void ReloadTextures() override;
    void RecalcLayout() override;
    void CreateButtons(int set) override;
    std::unique_ptr<TextButton> NewButton() override;

    void SetPointerSide(int side);
    int GetPointerSide() const { return m_PointerSide; }
    int GetPointerTexture() const { return m_PointerTexture; }

private:
    void AttachPointer();
    void PlacePointer();

    int m_PointerSide = POINTER_NONE;
    int m_PointerTexture = -1;
    int m_ReplacedCornerWidth = 0;
};
