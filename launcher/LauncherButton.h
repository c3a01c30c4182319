// One picture button of the launcher: up to three pictures (normal, hover, installed), a place in the client
// area, and the state it shows. A disabled or empty button is neither drawn nor hit.
#pragma once

#include "engine/core/BitmapFile.h"

#include <memory>

struct LauncherRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum LauncherButtonState { BUTTON_NORMAL = 0, BUTTON_HOVER = 1, BUTTON_INSTALLED = 2 };

// The launcher's pictures: decoded .bmp files, 0x00RRGGBB rows from the top.
using LauncherBitmap = std::unique_ptr<RasterBitmap>;

class LauncherButton {
public:
    // The button's width and height follow picture 0.
    void SetBitmap(int index, LauncherBitmap bitmap);
    void SetPosition(int left, int top);
    void SetRightAligned(int right, int top);
    void SetState(int state);
    void SetDisabled(bool disabled);
    void SetInstalled(bool installed);

    LauncherRect GetRect() const;
    bool NeedsRedraw() const;
    // Edges count as inside.
    bool HitTest(int x, int y) const;
    bool IntersectsRect(const LauncherRect& rect) const;
    // The picture of the current state; null when that picture is missing.
    const RasterBitmap* CurrentBitmap() const;
    // Marks the current state as drawn.
    void MarkDrawn() { m_PreviousState = m_State; }
    void ReleaseBitmaps();

    bool IsEnabled() const { return !m_bDisabled; }
    bool IsEmpty() const { return !m_Bitmaps[0]; }
    bool IsInstalled() const { return m_bInstalled; }
    int GetState() const { return m_State; }

private:
    LauncherBitmap m_Bitmaps[3];
    int m_Left = 0;
    int m_Top = 0;
    int m_Width = 0;
    int m_Height = 0;
    int m_State = BUTTON_NORMAL;
    int m_PreviousState = -1;
    bool m_bDisabled = false;
    bool m_bInstalled = false;
};
