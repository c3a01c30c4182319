// The game's message box: a movable, skinned dialog with a text, a row or column of standard buttons at its
// bottom, a stack of clickable extra windows above them, and an explanation window that opens beside it. Its
// owner shows it by registering it with the display and reads the answer back from it.
#pragma once

#include "gui/Dialog.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class ExplanatoryWindow;
class GUI_TextButton;
class TextButton;
struct FormattedText;

constexpr int MESSAGEBOX_FONT = 11;
constexpr int MESSAGEBOX_BUTTON_FONT = 8;
constexpr int MESSAGEBOX_MIN_BUTTON_WIDTH = 72;
constexpr int MESSAGEBOX_CLICK_EFFECT = 30;
// Window kind of the quit warning's box as its owner reads it.
constexpr int QUIT_WARNING_KIND = 11;

enum ExplanationSide { EXPLAIN_LEFT = 0, EXPLAIN_RIGHT = 1, EXPLAIN_ABOVE = 2, EXPLAIN_BELOW = 3 };

class Messagebox : public Dialog {
public:
    explicit Messagebox(std::uint32_t kind = DIALOG_KIND_MESSAGEBOX);
    ~Messagebox() override;

    void SetRect(int left, int top, int right, int bottom, bool layout) override;
    void Draw() override;
    bool HandleInput(const GUI_InputEvent& event) override;
    void RecalcLayout() override;
    void DrawFrame() override;

    // Colours are 0x00BBGGRR; width < 0 fits the text; position -1 (or out of range) appends.
    virtual TextButton* AddFormattedButton(FormattedText* record, std::uint32_t normal, std::uint32_t highlighted,
                                           std::uint32_t pressed, int font, int width, int position);
    virtual TextButton* AddButton(const char16_t* text, std::uint32_t normal, std::uint32_t highlighted,
                                  std::uint32_t pressed, int font, int width, int position);
    virtual GUI_TextButton* CreateTextButton(const char16_t* text, std::uint32_t normal, std::uint32_t highlighted,
                                             std::uint32_t pressed, int font, int position);
    // Sets 0 OK, 1 Cancel, 2 OK Cancel, 3 Yes No, 4 Yes No Cancel; any other set leaves no buttons.
    virtual void CreateButtons(int set);
    virtual void Layout(int arrangement, int spacing);
    virtual int GetButtonRowExtent(int count, int arrangement) const;
    virtual void DrawText();
    virtual std::unique_ptr<TextButton> NewButton();

    // ---- Text ----
    // The box always keeps its own copy (string tables are freed by every scene load); null: no text.
    void SetText(const char16_t* text, bool copy, bool owned);
    void CopyText(std::u16string_view text);
    bool HasText() const { return m_bHasText; }
    const std::u16string& GetText() const { return m_Text; }
    void SetTextBlock(FormattedText* record, bool resize, bool withButtonRow, int count, int arrangement);
    // The attached formatted text, fetched again by its key (records die with each scene load).
    FormattedText* GetTextBlock() const;
    void SetTextColor(int red, int green, int blue);
    void SetTextMargins(int left, int top, int right, int bottom);
    void SetTextRect(const RasterRect& rect);
    const RasterRect& GetTextRect() const { return m_TextRect; }
    void SetKind(int kind) { SetDialogKind(kind); }
    int GetKindNumber() const { return GetDialogKind(); }
    void SetFont(int font) { m_Font = font; }

    // ---- Size ----
    void SetScaledSize(int width, int height);
    void FitWidthToLines(const char16_t* text);
    void AutoSize();

    // ---- Standard buttons ----
    void ClearButtons();
    void MakeButtonsSameWidth();
    void SetButtonDisabled(int index, bool disabled);
    bool IsButtonDisabled(int index) const;
    TextButton* GetButton(int index) const;
    int GetButtonCount() const { return static_cast<int>(m_Buttons.size()); }
    void RelayoutButtons() { Layout(m_Arrangement, m_Spacing); }
    int GetArrangement() const { return m_Arrangement; }
    int GetSpacing() const { return m_Spacing; }

    // ---- Extra windows ----
    void ClearExtraWindows();
    GUI_TextButton* GetExtraWindow(int index) const;
    int GetExtraWindowCount() const { return static_cast<int>(m_ExtraWindows.size()); }
    GUI_TextButton* FindExtraWindowByTag(int tag) const;
    int GetExtraWindowsWidth() const;
    void ColorLinkLabels();

    // ---- Answers ----
    int GetAnswer() const { return m_Answer; }
    void ClearClickedButton() { m_Answer = -1; }
    int GetPressedButton() const { return m_ChosenExtraWindow; }
    void ClearPressedButton() { m_ChosenExtraWindow = -1; }

    // ---- Explanation ----
    void OpenExplanation(int link);
    void CloseExplanation();
    ExplanatoryWindow* GetExplanation() const { return m_pExplanation; }
    int GetExplanationSide() const { return m_ExplanationSide; }
    // sides: the remaining sides to try, ending with -1; null starts from the current side.
    void PlaceExplanation(const int* sides, int pass);

    void Reset();

    // Frame insets: frame piece sizes, or the skin's insets where a piece is missing.
    int GetInsetLeft() const;
    int GetInsetTop() const;
    int GetInsetRight() const;
    int GetInsetBottom() const;

protected:
    void SetTextColourPacked(std::uint32_t colour) { m_TextColour = colour; }
    // Detached windows are deleted now, or after the dispatch when a handler may still be running.
    static void DeleteDetached(GUI_Window* window);
    void InsertButton(TextButton* button, int position);
    TextButton* FinishButton(std::unique_ptr<TextButton> button, std::uint32_t normal, std::uint32_t highlighted,
                             std::uint32_t pressed, int font, int width, int position);

    std::u16string m_Text;
    bool m_bHasText = false;
    std::u16string m_TextBlockKey;
    FormattedText* m_pTextBlock = nullptr;
    RasterRect m_TextRect;
    int m_Spacing = 5;
    std::vector<TextButton*> m_Buttons;
    std::vector<GUI_TextButton*> m_ExtraWindows;
    int m_Margins[4] = {5, 5, 5, 5};
    int m_Arrangement = 1;
    int m_Answer = -1;
    int m_ChosenExtraWindow = -1;
    int m_Font = MESSAGEBOX_FONT;
    std::uint32_t m_TextColour = 0x00FFFFFF;
    std::array<int, 12> m_ButtonPieces{};
    ExplanatoryWindow* m_pExplanation = nullptr;
    int m_ExplanationSide = EXPLAIN_RIGHT;
};

// The normal text colour of a text button's label part.
void SetWindowColor(GUI_TextButton* window, int red, int green, int blue, int alpha);

// The quit-game warning: made and shown once until its owner answers and deletes it.
void ShowQuitWarning();
// The quit warning while it exists, else null; play waits while it is set.
Messagebox* GetQuitWarningBox();
// Hides and deletes the quit warning; the next request makes it again.
void DeleteQuitWarningBox();
