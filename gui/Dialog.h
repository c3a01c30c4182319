// The base of the game's floating windows: a kind number its owner keeps, a nine-piece frame of registry
// textures, dragging by a drag area, staying inside the screen, and a layout pass before the next draw.
#pragma once

#include "gui/GUI_Window.h"

#include <array>

// Window kind of the game's message boxes.
constexpr std::uint32_t DIALOG_KIND_MESSAGEBOX = 9;

// Frame pieces, in the order SetFrameTextures takes them.
enum DialogFramePiece {
    FRAME_LT,
    FRAME_RT,
    FRAME_LB,
    FRAME_RB,
    FRAME_TOP,
    FRAME_BOTTOM,
    FRAME_LEFT,
    FRAME_RIGHT,
    FRAME_CENTRE,
    FRAME_PIECE_COUNT
};

class Dialog : public GUI_Window {
public:
    explicit Dialog(std::uint32_t kind);
    // A dialog deleted while shown leaves the window registry first.
    ~Dialog() override;

    void SetRect(int left, int top, int right, int bottom, bool layout) override;
    void Draw() override;
    bool HandleInput(const GUI_InputEvent& event) override;
    void OnCaptureLost() override { m_bDragging = false; }

    virtual void RecalcLayout() { m_bNeedsLayout = true; }
    // The window registry hides a dialog through this.
    virtual void OnUnregistered() {}
    virtual void DrawFrame();

    void SetFrameTextures(int lt, int rt, int lb, int rb, int top, int bottom, int left, int right, int centre);
    int GetFrameTexture(int piece) const { return m_Frame[piece]; }
    // Null: no dragging.
    void SetDragArea(const RasterRect* area);
    const RasterRect& GetDragArea() const { return m_DragArea; }
    void CenterOnScreen();

    void SetDialogKind(int kind) { m_DialogKind = kind; }
    int GetDialogKind() const { return m_DialogKind; }
    bool IsDragging() const { return m_bDragging; }
    bool NeedsLayout() const { return m_bNeedsLayout; }

protected:
    // False when hidden; otherwise lays the dialog out first when it asked for it.
    bool PrepareDraw();
    // Size of a frame piece's texture; 0 for no piece.
    int FramePieceWidth(int piece) const;
    int FramePieceHeight(int piece) const;

    int m_DialogKind = -1;
    std::array<int, FRAME_PIECE_COUNT> m_Frame;
    RasterRect m_DragArea{0, 0, -1, -1};
    bool m_bDragging = false;
    int m_DragOffsetX = 0;
    int m_DragOffsetY = 0;
    bool m_bNeedsLayout = true;
};
