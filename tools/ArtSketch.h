// The drawing lines of one generated picture (tools/ArtCompiler.h), written either in pixels or in the units of a
// figure placed on the picture: 100 units are the figure's height, x grows the way it faces and y upwards from
// the ground it stands on. The pixels the figure's solid lines cover are kept (a faint glow around it is no part
// of it), so a composer knows how much of the picture its subject fills.
#pragma once

#include "tools/ArtCanvas.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace datac {

class ArtSketch {
public:
    ArtSketch(int width, int height) : m_width(width), m_height(height) {}

    // In pixels of the picture.
    void Line(const std::string& text);
    void Rect(int x, int y, int w, int h, const std::string& colour);
    void Ellipse(int x, int y, int w, int h, const std::string& colour);
    void Poly(const std::vector<int>& corners, const std::string& colour);

    // The figure's place: its centre line at x, its feet on ground, height pixels tall, facing left if mirrored.
    void Place(int x, int ground, int height, bool mirrored);
    // In the figure's units: an ellipse by its centre and radii, a box by two corners, an outline by its corners.
    void Oval(int cx, int cy, int rx, int ry, const std::string& colour);
    void Box(int x0, int y0, int x1, int y1, const std::string& colour);
    void Shape(std::initializer_list<int> corners, const std::string& colour);
    void Shape(const std::vector<int>& corners, const std::string& colour);

    // What the figure's solid lines (alpha of half or more) cover, clipped to the picture; empty while it has none.
    ArtRect FigureBounds() const;
    const std::string& Text() const { return m_text; }

private:
    int PixelX(int units) const;
    int PixelY(int units) const;
    void Cover(int x0, int y0, int x1, int y1);

    int m_width;
    int m_height;
    std::string m_text;
    int m_x = 0;
    int m_ground = 0;
    int m_scale = 100;
    bool m_mirrored = false;
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;  // covered pixels, right and bottom exclusive
    bool m_covered = false;
};

} // namespace datac
