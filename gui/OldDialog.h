// The older message dialog of the display's message windows: a framed plain or formatted text, optional
// selectable lines, one or two image buttons, or a row of a library's cards. It keeps a minimum size and is
// dragged by its title strip through the frame's mouse state.
#pragma once

#include "gui/Dialog.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class OldButton;

constexpr std::uint32_t OLD_DIALOG_KIND = 14;
constexpr int OLD_DIALOG_MIN_WIDTH = 224;
constexpr int OLD_DIALOG_MIN_HEIGHT = 220;
constexpr int OLD_DIALOG_TITLE_HEIGHT = 22;

// Button modes.
constexpr int OLD_DIALOG_ONE_BUTTON = 1;
constexpr int OLD_DIALOG_TWO_PART_BUTTON = 2;
constexpr int OLD_DIALOG_LIBRARY_ROW = 3;
constexpr int OLD_DIALOG_ARROWS = 4;

// What the dialog asks of the rules for its library rows; app/ fills it at start-up, an entry left null gives
// no cards.
struct OldDialogActions {
    // The texture of the card at the offset past the player's next draw; -1 past the library's end.
    int (*GetLibraryCardTexture)(int player, int offset) = nullptr;
    // The human's library list scroll position.
    int (*GetLibraryScroll)() = nullptr;
};
void SetOldDialogActions(const OldDialogActions& actions);

class OldDialog : public Dialog {
public:
    OldDialog();
    ~OldDialog() override;

    void Draw() override;

    // A copy; an empty text leaves none.
    void SetText(std::u16string_view text);
    // The string table's formatted record under the key (empty: none), drawn instead of the plain text; it is
    // fetched each time it is drawn since every scene load frees the records.
    void SetTextBlock(std::u16string_view key, bool roomForOk);
    // Null empties the lines.
    void SetLines(const std::vector<std::u16string>* lines);
    void SetSize(int width, int height, bool usePosition, int x, int y);
    void SetButtons(int mode, const char16_t* normal, const char16_t* highlighted, const char16_t* pressed,
                    std::uint32_t clickEffect, int player, int count);
    // The per-frame drag by the title strip; true while dragging.
    bool UpdateDrag();

    void SetMessageId(int id) { m_MessageId = id; }
    int GetMessageId() const { return m_MessageId; }
    // 0 none; the pressed part of the button, or in the arrow mode 1 left, 2 right.
    int GetAnswer() const { return m_Result; }
    const std::u16string& GetText() const { return m_Text; }
    const std::vector<std::u16string>& GetLines() const { return m_Lines; }
    // 1 + the index of the line under the mouse, 0 none.
    int GetHoveredLine() const { return m_HoveredLine; }
    bool IsDraggingTitle() const { return m_bTitleDragging; }
    bool WasDrawn() const { return m_bDrawn; }
    int GetMode() const { return m_Mode; }
    OldButton* GetButtonA() const { return m_pButtonA.get(); }
    OldButton* GetButtonB() const { return m_pButtonB.get(); }
    const RasterRect& GetTitleStrip() const { return m_TitleStrip; }

private:
    void DetachButtons();
    void DrawText();
    void DrawTextBlock();
    void DrawLines();
    void DrawLibraryRow(int player, int first, int count) const;
    RasterRect GetTextArea() const;
    void MoveWindowTo(int x, int y);
    void KeepInsideScreen();

    std::u16string m_Text;
    std::u16string m_TextBlockKey;
    RasterRect m_TextRect{0, 0, 0, 0};
    std::vector<std::u16string> m_Lines;
    int m_HoveredLine = -1;
    bool m_bRoomForOk = true;
    bool m_bTitleDragging = false;
    bool m_bSized = false;
    RasterRect m_TitleStrip{0, 0, 0, 0};
    int m_TitleOffsetX = 0;
    int m_TitleOffsetY = 0;
    bool m_bDrawn = false;
    // Children while a mode shows them; owned throughout.
    std::unique_ptr<OldButton> m_pButtonA;
    std::unique_ptr<OldButton> m_pButtonB;
    int m_Result = 0;
    int m_Mode = 0;
    int m_ModePlayer = 0;
    int m_ModeCount = 0;
    int m_MessageId = -1;
};
