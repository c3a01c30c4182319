// Curved arrows and the link marks between cards and players.
#include "cards/Arrows.h"

#include "cards/CardActor.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/PlayerActors.h"

#include <algorithm>
#include <cmath>

namespace {

ArrowPoint operator+(ArrowPoint a, ArrowPoint b)
{
    return {a.x + b.x, a.y + b.y};
}

ArrowPoint operator-(ArrowPoint a, ArrowPoint b)
{
    return {a.x - b.x, a.y - b.y};
}

ArrowPoint operator*(ArrowPoint a, float s)
{
    return {a.x * s, a.y * s};
}

float Length(ArrowPoint a)
{
    return std::sqrt(a.x * a.x + a.y * a.y);
}

// A zero vector has no direction: the caller must not draw.
bool Unit(ArrowPoint a, ArrowPoint& out)
{
    const float length = Length(a);
    if (!(length > 0.0f) || !std::isfinite(length))
        return false;
    out = a * (1.0f / length);
    return true;
}

// How far a line from the rectangle's centre along the unit direction runs before it leaves the rectangle.
float CentreToEdge(const RasterRect& r, ArrowPoint dir)
{
    const float halfWidth = static_cast<float>(r.right - r.left) / 2.0f;
    const float halfHeight = static_cast<float>(r.bottom - r.top) / 2.0f;
    const float across = std::fabs(dir.x) > 0.0f ? halfWidth / std::fabs(dir.x) : halfHeight;
    const float down = std::fabs(dir.y) > 0.0f ? halfHeight / std::fabs(dir.y) : halfWidth;
    return std::min(across, down);
}

ArrowPoint LeftOf(ArrowPoint d)
{
    return {d.y, -d.x};
}

ArrowPoint RightOf(ArrowPoint d)
{
    return {-d.y, d.x};
}

ArrowPoint Bezier(ArrowPoint p0, ArrowPoint p1, ArrowPoint p3, float u)
{
    const float v = 1.0f - u;
    return p0 * (v * v * v) + p1 * (3.0f * u * v * v) + p3 * (3.0f * u * u * v) + p3 * (u * u * u);
}

ArrowPoint Mid(ArrowPoint a, ArrowPoint b)
{
    return (a + b) * 0.5f;
}

void QueueTriangle(Raster& raster, ArrowPoint a, ArrowPoint b, ArrowPoint c, float red, float green, float blue,
                   float depth)
{
    // The triangle primitive takes screen pixels: the back buffer is 16 bits, where the x scale is 1.0.
    TriangleVertices v;
    v.x0 = a.x;
    v.x1 = b.x;
    v.x2 = c.x;
    v.y0 = a.y;
    v.y1 = b.y;
    v.y2 = c.y;
    v.z0 = v.z1 = v.z2 = depth;
    v.r0 = v.r1 = v.r2 = red;
    v.g0 = v.g1 = v.g2 = green;
    v.b0 = v.b1 = v.b2 = blue;
    raster.SetRenderState(5, 1);
    raster.DrawTriangle(v);
    raster.SetRenderState(6, 1);
}

RasterRect ActorRect(const GameDisplay& display, const Actor* actor)
{
    RasterRect rect;
    if (actor->GetType() == ACTOR_TYPE_CARD) {
        const auto* card = static_cast<const CardActor*>(actor);
        if (card->IsExitMoveForward()) {
            if (card->GetOwner() == 1)
                display.GetOpponentGraveyardRect(rect, true);
            else
                display.GetPlayerGraveyardRect(rect, true);
        } else {
            display.GetCardRect(card, rect, false);
        }
        return rect;
    }
    if (actor == GetHumanPlayerActor())
        return display.GetZoneRectByIndex(IsOnlineLesson() ? 3 : 1);
    return display.GetZoneRectByIndex(2);
}

} // namespace

float FloatAtan2(float y, float x)
{
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
}

CurvedArrowGeometry ComputeCurvedArrow(ArrowPoint start, ArrowPoint pull, ArrowPoint end, float bend, bool startHead,
                                       bool endHead, int halfWidth)
{
    CurvedArrowGeometry g;
    const float w = static_cast<float>(halfWidth);
    const ArrowPoint m = start + (end - start) * 0.5f;
    const ArrowPoint k = m + (pull - m) * bend;
    ArrowPoint s = start;
    ArrowPoint e = end;
    ArrowPoint dir;
    if (startHead) {
        if (!Unit(k - s, dir))
            return g;
        s = s + dir * w;
    }
    if (endHead) {
        if (!Unit(k - e, dir))
            return g;
        e = e + dir * w;
    }
    ArrowPoint u1;
    ArrowPoint u2;
    if (!Unit(k - s, u1) || !Unit(e - k, u2))
        return g;
    const ArrowPoint e1 = u1 * w;
    const ArrowPoint e2 = u2 * w;
    const ArrowPoint l0 = s + LeftOf(e1);
    const ArrowPoint l1 = Mid(k + LeftOf(e1), k + LeftOf(e2));
    const ArrowPoint l3 = e + LeftOf(e2);
    const ArrowPoint r0 = s + RightOf(e1);
    const ArrowPoint r1 = Mid(k + RightOf(e1), k + RightOf(e2));
    const ArrowPoint r3 = e + RightOf(e2);
    for (int i = 0; i < ARROW_SAMPLES; ++i) {
        const float u = static_cast<float>(i) / static_cast<float>(ARROW_SAMPLES);
        g.left[static_cast<std::size_t>(i)] = Bezier(l0, l1, l3, u);
        g.right[static_cast<std::size_t>(i)] = Bezier(r0, r1, r3, u);
    }
    if (startHead) {
        ArrowPoint v;
        if (!Unit(s - Mid(g.left[1], g.right[1]), v))
            return g;
        g.startHead = {g.left[0] + ArrowPoint{-v.y, v.x} * (2.0f * w), g.right[0] + ArrowPoint{v.y, -v.x} * (2.0f * w),
                       s + v * (2.0f * w)};
        g.hasStartHead = true;
    }
    if (endHead) {
        ArrowPoint v;
        if (!Unit(e - Mid(g.left[62], g.right[62]), v))
            return g;
        g.endHead = {g.left[63] + ArrowPoint{v.y, -v.x} * (2.0f * w), e + v * (2.0f * w),
                     g.right[63] + ArrowPoint{-v.y, v.x} * (2.0f * w)};
        g.hasEndHead = true;
    }
    g.valid = true;
    return g;
}

void GameDisplay::DrawCurvedArrow(int sx, int sy, int px, int py, int ex, int ey, float bend, float red, float green,
                                  float blue, float /*spare*/, bool startHead, bool endHead, int halfWidth,
                                  float depth) const
{
    Raster* const raster = GetRaster();
    if (raster == nullptr)
        return;
    const auto P = [](int x, int y) { return ArrowPoint{static_cast<float>(x), static_cast<float>(y)}; };
    const CurvedArrowGeometry g = ComputeCurvedArrow(P(sx, sy), P(px, py), P(ex, ey), bend, startHead, endHead,
                                                     halfWidth);
    if (!g.valid)
        return;
    for (std::size_t i = 0; i + 1 < ARROW_SAMPLES; ++i) {
        QueueTriangle(*raster, g.right[i], g.left[i], g.right[i + 1], red, green, blue, depth);
        QueueTriangle(*raster, g.left[i], g.left[i + 1], g.right[i + 1], red, green, blue, depth);
    }
    if (g.hasStartHead)
        QueueTriangle(*raster, g.startHead[0], g.startHead[1], g.startHead[2], red, green, blue, depth);
    if (g.hasEndHead)
        QueueTriangle(*raster, g.endHead[0], g.endHead[1], g.endHead[2], red, green, blue, depth);
}

void GameDisplay::DrawLinkBetweenCards(const Actor* a, const Actor* b, float red, float green, float blue,
                                       bool startHead, bool endHead, int halfWidth, float depth) const
{
    if (a == nullptr || b == nullptr || a == b)
        return;
    DrawLinkBetweenRects(ActorRect(*this, a), ActorRect(*this, b), red, green, blue, startHead, endHead, halfWidth,
                         depth);
}

void GameDisplay::DrawLinkBetweenRects(const RasterRect& a, const RasterRect& b, float red, float green, float blue,
                                       bool startHead, bool endHead, int halfWidth, float depth) const
{
    const int overlapLeft = std::max(a.left, b.left);
    const int overlapRight = std::min(a.right, b.right);
    const int overlapTop = std::max(a.top, b.top);
    const int overlapBottom = std::min(a.bottom, b.bottom);
    if (overlapLeft < overlapRight && overlapTop < overlapBottom)
        return;
    const ArrowPoint ca{static_cast<float>(a.left + (a.right - a.left) / 2),
                        static_cast<float>(a.top + (a.bottom - a.top) / 2)};
    const ArrowPoint cb{static_cast<float>(b.left + (b.right - b.left) / 2),
                        static_cast<float>(b.top + (b.bottom - b.top) / 2)};
    ArrowPoint dir;
    if (!Unit(cb - ca, dir))
        return;
    // The link runs between the edges, and a head's tip, which reaches the half-width past its end, stops at the
    // edge: a head inside a card would cover its name, and a start inside it the label along its edge.
    const float endReach = endHead ? static_cast<float>(halfWidth) : 0.0f;
    const float startReach = startHead ? static_cast<float>(halfWidth) : 0.0f;
    const ArrowPoint f = cb - dir * (CentreToEdge(b, dir) + endReach);
    if (!Unit(ca - f, dir))
        return;
    const ArrowPoint g = ca - dir * (CentreToEdge(a, dir) + startReach);
    const ArrowPoint c = f - g;
    const float n = Length(c);
    ArrowPoint chat;
    if (!Unit(c, chat))
        return;
    const ArrowPoint p{chat.y, -chat.x};
    const float phi = FloatAtan2(chat.y, chat.x);
    const float theta = chat.y < 0.0f ? phi : -phi;
    const ArrowPoint mid = g + (f - g) * 0.5f;
    const ArrowPoint pull = mid + p * (-n * 0.25f * std::sin(2.0f * theta));
    DrawCurvedArrow(static_cast<int>(g.x), static_cast<int>(g.y), static_cast<int>(pull.x), static_cast<int>(pull.y),
                    static_cast<int>(f.x), static_cast<int>(f.y), 1.0f, red, green, blue, 0.5f, startHead, endHead,
                    halfWidth, depth);
}
