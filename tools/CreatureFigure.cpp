#include "tools/CreatureFigure.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace datac {

namespace {

// Draws in the figure's units, shifted and scaled for figures that stand in a group.
class Pen {
public:
    Pen(ArtSketch& sketch, const FigureInk& ink) : body(ink.body), detail(ink.detail), glow(ink.glow), m_sketch(sketch) {}

    void At(int dx, int dy, int percent)
    {
        m_dx = dx;
        m_dy = dy;
        m_percent = percent;
    }
    void O(int cx, int cy, int rx, int ry) { O(cx, cy, rx, ry, body); }
    void O(int cx, int cy, int rx, int ry, const std::string& colour)
    {
        m_sketch.Oval(X(cx), Y(cy), std::max(1, rx * m_percent / 100), std::max(1, ry * m_percent / 100), colour);
    }
    void B(int x0, int y0, int x1, int y1) { B(x0, y0, x1, y1, body); }
    void B(int x0, int y0, int x1, int y1, const std::string& colour) { m_sketch.Box(X(x0), Y(y0), X(x1), Y(y1), colour); }
    void P(std::initializer_list<int> corners) { P(corners, body); }
    void P(std::initializer_list<int> corners, const std::string& colour)
    {
        std::vector<int> moved(corners);
        for (std::size_t i = 0; i + 1 < moved.size(); i += 2) {
            moved[i] = X(moved[i]);
            moved[i + 1] = Y(moved[i + 1]);
        }
        m_sketch.Shape(moved, colour);
    }
    void Poly(const std::vector<int>& corners)
    {
        std::vector<int> moved(corners);
        for (std::size_t i = 0; i + 1 < moved.size(); i += 2) {
            moved[i] = X(moved[i]);
            moved[i + 1] = Y(moved[i + 1]);
        }
        m_sketch.Shape(moved, body);
    }
    // A limb from one joint to the next, t units to either side.
    void L(int x0, int y0, int x1, int y1, int t) { L(x0, y0, x1, y1, t, body); }
    void L(int x0, int y0, int x1, int y1, int t, const std::string& colour)
    {
        if (std::abs(x1 - x0) >= std::abs(y1 - y0))
            P({x0, y0 - t, x1, y1 - t, x1, y1 + t, x0, y0 + t}, colour);
        else
            P({x0 - t, y0, x0 + t, y0, x1 + t, y1, x1 - t, y1}, colour);
    }

    const std::string body;
    const std::string detail;
    const std::string glow;

private:
    int X(int units) const { return m_dx + units * m_percent / 100; }
    int Y(int units) const { return m_dy + units * m_percent / 100; }

    ArtSketch& m_sketch;
    int m_dx = 0;
    int m_dy = 0;
    int m_percent = 100;
};

// A person standing: legs, torso, neck and head, w units to either side at the shoulders.
void Person(Pen& p, int w = 12, int spread = 0, bool head = true)
{
    p.P({-7, 44, -1, 44, -4 - spread, 0, -10 - spread, 0});
    p.P({1, 44, 7, 44, 10 + spread, 0, 4 + spread, 0});
    p.P({-w, 72, w, 72, w * 2 / 3, 42, -w * 2 / 3, 42});
    p.B(-3, 70, 3, 76);
    if (head)
        p.O(0, 80, 6, 7);
}

void Robe(Pen& p, int hem = 18)
{
    p.P({-10, 72, 10, 72, hem, 0, -hem, 0});
    p.B(-3, 70, 3, 76);
}

// A horse: body, four legs, neck and head facing forward.
void Horse(Pen& p)
{
    p.O(0, 46, 26, 12);
    p.B(-22, 0, -17, 42);
    p.B(-13, 0, -8, 42);
    p.B(12, 0, 17, 42);
    p.B(20, 0, 25, 42);
    p.P({16, 52, 26, 46, 36, 74, 28, 80});
    p.P({28, 82, 36, 80, 48, 66, 44, 61, 30, 70});
    p.P({29, 80, 31, 90, 34, 80});
    p.P({-24, 52, -36, 42, -34, 18, -28, 40});
}

// A four-legged beast of the given body half-length and leg length, head drawn by the caller.
void Quadruped(Pen& p, int half, int legs, int girth)
{
    p.O(0, legs + girth / 2, half, girth / 2);
    const int thick = std::max(4, half / 5);
    p.B(-half + 4, 0, -half + 4 + thick, legs + 4);
    p.B(-half / 2, 0, -half / 2 + thick, legs + 4);
    p.B(half / 2 - thick, 0, half / 2, legs + 4);
    p.B(half - 4 - thick, 0, half - 4, legs + 4);
}

void Knight(Pen& p)
{
    Person(p, 12);
    p.B(-6, 76, 7, 90);
    p.B(1, 81, 7, 83, p.detail);
    p.P({-2, 90, 3, 90, -9, 100, -13, 96}, p.detail);
    p.L(9, 70, 17, 80, 3);
    p.B(15, 78, 19, 104, p.detail);
    p.B(10, 78, 24, 82);
    p.P({2, 68, 22, 68, 22, 50, 12, 34, 2, 50});
    p.O(12, 56, 4, 5, p.detail);
}

void Soldier(Pen& p)
{
    Person(p, 12);
    p.O(0, 85, 8, 5);
    p.B(-8, 82, 8, 85);
    p.B(20, 0, 22, 96);
    p.P({17, 96, 25, 96, 21, 106}, p.detail);
    p.L(8, 70, 20, 58, 3);
    p.O(9, 52, 11, 13, p.detail);
    p.O(9, 52, 3, 3);
}

void Paladin(Pen& p)
{
    p.P({-11, 72, 8, 72, 0, 4, -30, 0});
    Person(p, 12);
    p.L(9, 70, 16, 84, 3);
    p.B(14, 74, 17, 102);
    p.B(7, 94, 25, 104, p.detail);
    p.O(0, 60, 4, 5, p.detail);
}

void Warden(Pen& p)
{
    Person(p, 13);
    p.P({-7, 78, 7, 78, 5, 92, 0, 97, -5, 92});
    p.B(-20, 0, -17, 104);
    p.P({-17, 96, -5, 92, -5, 80, -17, 84}, p.detail);
    p.P({-20, 104, -17, 104, -18, 112}, p.detail);
    p.L(-9, 70, -18, 62, 3);
    p.O(8, 40, 3, 4, p.detail);
}

void Duelist(Pen& p)
{
    p.P({-6, 44, 0, 44, -20, 0, -27, 0});
    p.P({0, 44, 7, 44, 24, 20, 22, 0, 15, 0, 17, 18});
    p.P({-10, 72, 12, 74, 8, 42, -8, 42});
    p.O(3, 80, 6, 7);
    p.O(3, 88, 14, 2);
    p.O(3, 91, 6, 4);
    p.P({-2, 92, -18, 102, -15, 96}, p.detail);
    p.L(8, 70, 26, 74, 2);
    p.B(24, 73, 62, 75, p.detail);
    p.L(-8, 70, -18, 86, 2);
}

void Cleric(Pen& p)
{
    Robe(p, 20);
    p.P({-8, 74, 8, 74, 7, 86, 0, 95, -7, 86});
    p.O(2, 81, 4, 5, p.detail);
    p.O(22, 96, 9, 9, p.glow);
    p.B(20, 0, 23, 94);
    p.O(21, 96, 6, 6, p.detail);
    p.L(8, 68, 20, 62, 3);
}

void Wizard(Pen& p)
{
    Robe(p, 18);
    p.O(0, 78, 6, 7);
    p.P({-3, 76, 5, 76, 1, 60}, p.detail);
    p.O(0, 84, 15, 3);
    p.P({-8, 85, 8, 85, 0, 98, -12, 104});
    p.O(-19, 94, 13, 13, p.glow);
    p.B(-21, 0, -17, 92);
    p.O(-19, 95, 5, 5, p.detail);
    p.L(-8, 68, -19, 60, 3);
}

void Monk(Pen& p)
{
    Person(p, 12, 8, false);
    p.O(0, 80, 7, 8);
    p.B(-9, 42, 9, 47, p.detail);
    p.B(-38, 58, 38, 62);
    p.L(-9, 70, -16, 60, 3);
    p.L(9, 70, 16, 60, 3);
    p.O(0, 80, 3, 2, p.detail);
}

void Shaman(Pen& p)
{
    p.B(-8, 0, -3, 24);
    p.B(3, 0, 8, 24);
    p.P({-13, 72, 13, 72, 17, 18, 12, 24, 6, 16, 0, 24, -6, 16, -12, 24, -17, 18});
    p.B(-3, 70, 3, 76);
    p.O(0, 80, 6, 7);
    p.P({-3, 86, -16, 98, -12, 102}, p.detail);
    p.P({-1, 87, -3, 106, 2, 106}, p.detail);
    p.P({2, 86, 12, 102, 16, 98}, p.detail);
    p.B(20, 0, 23, 90);
    p.O(21, 92, 6, 6, p.detail);
    p.O(19, 93, 1, 1);
    p.O(23, 93, 1, 1);
    p.L(8, 68, 20, 62, 3);
}

void Archer(Pen& p)
{
    Person(p, 11);
    p.P({-10, 56, -6, 58, -14, 84, -18, 82});
    p.P({-18, 82, -14, 84, -18, 92}, p.detail);
    p.L(-6, 70, 6, 62, 2);
    p.L(9, 70, 24, 62, 2);
    p.P({18, 34, 25, 46, 29, 62, 25, 78, 18, 90, 21, 90, 28, 78, 32, 62, 28, 46, 21, 34});
    p.B(18, 34, 19, 90, p.detail);
    p.B(4, 61, 32, 63, p.detail);
    p.P({32, 58, 38, 62, 32, 66}, p.detail);
}

void Elf(Pen& p)
{
    p.P({-9, 72, 9, 72, 2, 8, -24, 4});
    Person(p, 9);
    p.P({-6, 86, 6, 86, 4, 78, -12, 58, -10, 78});
    p.P({-3, 82, -16, 94, -5, 78});
    p.P({3, 82, 15, 92, 5, 78});
    p.B(16, 0, 18, 100);
    p.P({17, 96, 22, 104, 17, 116, 12, 104}, p.detail);
    p.L(7, 68, 17, 60, 2);
}

void Assassin(Pen& p)
{
    p.P({-10, 40, 0, 40, -12, 18, -4, 0, -12, 0, -20, 18});
    p.P({0, 40, 10, 40, 18, 20, 14, 0, 8, 0, 10, 20});
    p.P({-10, 40, 4, 72, -22, 58, -28, 28});
    p.P({-10, 40, 8, 40, 20, 66, 4, 72});
    p.P({6, 68, 22, 70, 26, 80, 16, 90, 4, 80});
    p.O(19, 78, 2, 1, p.detail);
    p.L(16, 62, 32, 54, 2);
    p.B(32, 52, 46, 55, p.detail);
    p.L(6, 62, -8, 50, 2);
    p.B(-20, 48, -8, 51, p.detail);
}

void Goblin(Pen& p)
{
    p.P({-8, 30, -2, 30, -6, 0, -12, 0});
    p.P({2, 30, 8, 30, 12, 0, 6, 0});
    p.P({-12, 30, 10, 30, 14, 56, -8, 58});
    p.O(8, 66, 11, 10);
    p.P({0, 70, -20, 86, -4, 64});
    p.P({14, 70, 28, 84, 16, 64});
    p.P({17, 68, 28, 60, 17, 62});
    p.O(12, 69, 2, 2, p.detail);
    p.B(22, 0, 24, 92);
    p.P({19, 92, 27, 92, 23, 102}, p.detail);
    p.L(8, 50, 22, 44, 3);
}

void Ogre(Pen& p)
{
    p.P({-14, 30, -2, 30, -4, 0, -16, 0});
    p.P({2, 30, 14, 30, 16, 0, 4, 0});
    p.O(0, 46, 22, 24);
    p.P({-20, 58, 20, 58, 16, 76, -16, 76});
    p.O(3, 80, 7, 7);
    p.B(-18, 36, 18, 40, p.detail);
    p.P({10, 70, 15, 74, -18, 102, -26, 96});
    p.O(-22, 99, 9, 9);
    p.L(16, 66, 12, 76, 4);
    p.O(6, 82, 1, 1, p.detail);
}

void Giant(Pen& p)
{
    p.P({-12, 40, -2, 40, -8, 0, -18, 0});
    p.P({2, 40, 12, 40, 18, 0, 8, 0});
    p.P({-18, 70, 18, 70, 12, 38, -12, 38});
    p.O(0, 76, 6, 7);
    p.L(-16, 68, -12, 88, 4);
    p.L(16, 68, 12, 88, 4);
    p.P({-22, 88, -8, 84, 10, 86, 22, 92, 20, 104, 6, 110, -12, 108, -24, 100});
    p.O(-8, 102, 4, 2, p.detail);
}

void Troll(Pen& p)
{
    p.P({-10, 30, -2, 30, -6, 0, -14, 0});
    p.P({2, 30, 10, 30, 14, 0, 6, 0});
    p.P({-14, 30, 12, 30, 22, 64, 6, 80, -12, 66});
    p.O(20, 68, 8, 7);
    p.P({26, 70, 36, 62, 26, 64});
    p.P({21, 62, 25, 62, 26, 55}, p.detail);
    p.L(14, 64, 28, 4, 4);
    p.L(-6, 66, -16, 6, 4);
    p.P({2, 78, 10, 92, 12, 76});
    p.O(22, 71, 1, 1, p.detail);
}

void Minotaur(Pen& p)
{
    Person(p, 14, 2, false);
    p.O(2, 80, 8, 8);
    p.O(9, 76, 5, 4);
    p.P({-6, 84, -18, 92, -20, 102, -14, 90, -4, 88}, p.detail);
    p.P({8, 84, 20, 92, 22, 102, 16, 90, 6, 88}, p.detail);
    p.O(5, 82, 1, 1, p.detail);
    p.L(10, 70, 28, 62, 4);
    p.B(27, 6, 30, 96);
    p.P({28, 92, 42, 100, 42, 78, 28, 86}, p.detail);
    p.P({29, 92, 15, 100, 15, 78, 29, 86}, p.detail);
}

void Barbarian(Pen& p)
{
    Person(p, 13, 4);
    p.P({-7, 86, 6, 86, 4, 78, -12, 62, -10, 80});
    p.P({-9, 44, 9, 44, 11, 32, -11, 32}, p.detail);
    p.P({4, 62, 9, 66, -26, 106, -31, 102}, p.detail);
    p.P({0, 68, 10, 58, 13, 61, 3, 71});
    p.L(10, 70, 6, 62, 3);
}

void Berserker(Pen& p)
{
    Person(p, 13, 6);
    p.P({-8, 82, -16, 94, -4, 88, 0, 100, 4, 88, 14, 94, 8, 82});
    p.L(-10, 70, -20, 92, 3);
    p.L(10, 70, 20, 92, 3);
    p.B(-23, 84, -19, 106);
    p.B(19, 84, 23, 106);
    p.P({-21, 104, -34, 110, -34, 94, -21, 98}, p.detail);
    p.P({21, 104, 34, 110, 34, 94, 21, 98}, p.detail);
}

void Raider(Pen& p)
{
    Person(p, 12);
    p.O(0, 84, 8, 5);
    p.P({-6, 86, -15, 98, -10, 86}, p.detail);
    p.P({6, 86, 15, 98, 10, 86}, p.detail);
    p.O(12, 52, 12, 13, p.detail);
    p.O(12, 52, 3, 3);
    p.L(-10, 70, -18, 84, 3);
    p.B(-21, 76, -17, 102);
    p.P({-18, 100, -5, 106, -5, 88, -18, 94}, p.detail);
}

void Zombie(Pen& p)
{
    p.P({-8, 42, -2, 42, -8, 0, -14, 0});
    p.P({2, 42, 8, 42, 6, 0, 0, 0});
    p.P({-10, 42, 8, 42, 18, 72, -2, 76});
    p.P({-10, 44, 8, 44, 10, 32, 4, 38, 0, 30, -4, 38, -10, 32});
    p.O(14, 80, 7, 7);
    p.L(12, 70, 42, 66, 3);
    p.L(6, 64, 38, 58, 3);
    p.O(17, 81, 1, 1, p.detail);
}

void Skeleton(Pen& p)
{
    p.O(0, 84, 7, 8);
    p.O(3, 85, 2, 2, p.detail);
    p.B(-2, 42, 2, 78);
    for (int y = 54; y <= 72; y += 6)
        p.B(-10, y, 10, y + 3);
    p.O(0, 44, 8, 4);
    p.L(-4, 44, -9, 0, 2);
    p.L(4, 44, 9, 0, 2);
    p.L(-10, 74, -15, 46, 2);
    p.L(10, 74, 18, 58, 2);
    p.B(17, 54, 20, 96, p.detail);
    p.B(13, 56, 24, 59);
}

void Ghoul(Pen& p, bool tombstone)
{
    if (tombstone) {
        p.B(-44, 0, -24, 56);
        p.O(-34, 56, 10, 10);
    }
    p.P({-10, 36, 0, 36, -14, 16, -6, 0, -14, 0, -22, 16});
    p.P({0, 36, 10, 36, 14, 16, 10, 0, 4, 0, 6, 16});
    p.P({-10, 36, 10, 36, 20, 66, 2, 76});
    p.O(18, 74, 8, 7);
    p.P({20, 68, 30, 66, 22, 64}, p.detail);
    p.O(21, 76, 1, 1, p.detail);
    p.L(14, 64, 30, 82, 3);
    p.P({28, 80, 34, 94, 32, 82, 40, 90, 31, 78}, p.detail);
    p.L(4, 62, -6, 78, 3);
    p.P({-6, 76, -12, 90, -4, 80}, p.detail);
}

void Ghouls(Pen& p)
{
    p.At(-24, 0, 80);
    Ghoul(p, false);
    p.At(14, 0, 100);
    Ghoul(p, false);
}

void Vampire(Pen& p)
{
    p.B(-8, 0, -2, 14);
    p.B(2, 0, 8, 14);
    p.P({0, 76, -38, 82, -30, 62, -36, 40, -24, 48, -20, 24, -8, 34, 0, 10, 8, 34, 20, 24, 24, 48, 36, 40, 30, 62, 38, 82});
    p.O(0, 82, 6, 7);
    p.P({-10, 76, -7, 94, -3, 78});
    p.P({10, 76, 7, 94, 3, 78});
    p.O(-2, 83, 1, 1, p.detail);
    p.O(2, 83, 1, 1, p.detail);
}

void Nightstalker(Pen& p)
{
    p.P({-6, 80, 10, 80, 18, 60, 14, 0, -16, 0, -12, 50});
    p.P({-4, 78, 12, 78, 18, 92, 6, 102, -2, 92});
    p.O(11, 88, 3, 1, p.detail);
    p.L(12, 66, 32, 60, 2);
    p.P({32, 63, 46, 66, 32, 60}, p.detail);
    p.P({32, 60, 44, 54, 32, 57}, p.detail);
}

void Shade(Pen& p)
{
    p.O(0, 62, 30, 40, p.glow);
    p.P({-12, 78, 12, 78, 14, 60, 6, 40, 12, 18, -2, 30, -8, 14, -10, 40, -16, 62});
    p.O(0, 86, 9, 10);
    p.O(-3, 87, 2, 2, p.detail);
    p.O(4, 87, 2, 2, p.detail);
    p.P({10, 74, 30, 64, 26, 58, 12, 66});
    p.P({-10, 74, -28, 66, -24, 60, -12, 66});
}

void Phantom(Pen& p)
{
    p.P({0, 100, 12, 90, 16, 70, 32, 62, 20, 56, 18, 30, 12, 14, 6, 24, 0, 8, -6, 24, -12, 14, -18, 30, -20, 56,
         -32, 62, -16, 70, -12, 90},
        p.body + "d0");
    p.O(2, 82, 6, 7, p.glow);
    p.O(0, 83, 2, 2, p.detail);
    p.O(5, 83, 2, 2, p.detail);
}

void Horror(Pen& p)
{
    p.P({-14, 32, -6, 32, -22, 2, -34, 6});
    p.P({-4, 30, 4, 30, 2, 0, -8, 0});
    p.P({6, 32, 14, 32, 32, 4, 24, 0});
    p.P({14, 40, 20, 46, 40, 30, 42, 20});
    p.P({-16, 64, -10, 70, -18, 96, -26, 100, -22, 90});
    p.P({12, 66, 18, 62, 30, 84, 26, 92});
    p.O(0, 50, 22, 26);
    p.O(4, 58, 9, 7, p.detail);
    p.O(6, 58, 3, 6);
    p.P({-10, 38, 12, 38, 2, 32}, p.detail);
}

void Illusion(Pen& p)
{
    const std::string light = p.detail + "b0";
    for (const int shift : {-18, 18}) {
        p.At(shift, 4, 92);
        Person(p, 11);
        p.L(9, 70, 18, 92, 3, p.glow);
    }
    p.At(0, 0, 100);
    p.P({-7, 44, -1, 44, -4, 0, -10, 0}, light);
    p.P({1, 44, 7, 44, 10, 0, 4, 0}, light);
    p.P({-12, 72, 12, 72, 8, 42, -8, 42}, light);
    p.O(0, 80, 6, 7, light);
    p.L(-10, 70, -20, 92, 3, light);
    p.L(10, 70, 20, 92, 3, light);
}

void Merfolk(Pen& p)
{
    p.P({-8, 44, 8, 44, 6, 24, -4, 10, -20, 4, -14, 12, -8, 24});
    p.P({-18, 6, -30, 18, -36, 4, -24, 0});
    p.P({-11, 72, 11, 72, 8, 42, -8, 42});
    p.B(-3, 70, 3, 76);
    p.O(0, 80, 6, 7);
    p.P({-5, 86, -20, 70, -16, 64, -6, 76});
    p.B(18, 0, 20, 98);
    p.P({12, 92, 26, 92, 26, 106, 23, 106, 23, 96, 20, 96, 20, 108, 18, 108, 18, 96, 15, 96, 15, 106, 12, 106},
        p.detail);
    p.L(8, 68, 18, 58, 3);
}

void CloudSpirit(Pen& p)
{
    for (const int x : {-22, -12, 12, 22})
        p.B(x, 12 + (x & 7), x + 2, 50, p.glow);
    p.P({-12, 52, 12, 52, 4, 30, 8, 12, -2, 24, -8, 36});
    p.O(-20, 66, 18, 14);
    p.O(0, 82, 22, 18);
    p.O(20, 68, 18, 14);
    p.O(0, 60, 30, 12);
    p.O(-7, 76, 3, 3, p.detail);
    p.O(7, 76, 3, 3, p.detail);
    p.O(0, 66, 6, 2, p.detail);
}

void Sprites(Pen& p)
{
    const int places[][2] = {{-22, 26}, {14, 56}, {-8, 86}};
    for (const auto& at : places) {
        const int x = at[0];
        const int y = at[1];
        p.O(x, y, 16, 16, p.glow);
        p.P({x, y + 2, x - 18, y + 18, x - 14, y - 4}, p.body + "c0");
        p.P({x, y + 2, x + 18, y + 18, x + 14, y - 4}, p.body + "c0");
        p.O(x, y, 4, 8);
        p.O(x, y + 12, 4, 4);
        p.O(x, y, 2, 2, p.detail);
    }
}

void Angel(Pen& p)
{
    p.P({-4, 70, -38, 102, -42, 84, -32, 56, -16, 44});
    p.P({4, 70, 38, 102, 42, 84, 32, 56, 16, 44});
    Robe(p, 16);
    p.O(0, 80, 6, 7);
    p.O(0, 92, 9, 2, p.detail);
}

void Golem(Pen& p)
{
    p.B(-14, 0, -4, 36);
    p.B(4, 0, 14, 36);
    p.B(-18, 36, 18, 72);
    p.B(-7, 72, 7, 86);
    p.B(-26, 40, -18, 70);
    p.B(18, 40, 26, 70);
    p.B(-29, 28, -15, 42);
    p.B(15, 28, 29, 42);
    p.B(-5, 78, -2, 81, p.detail);
    p.B(2, 78, 5, 81, p.detail);
    p.O(0, 56, 4, 4, p.detail);
}

void Construct(Pen& p)
{
    p.L(-6, 40, -24, 0, 3);
    p.L(6, 40, 24, 0, 3);
    p.L(0, 40, 0, 0, 3);
    p.O(0, 54, 20, 16);
    p.O(0, 54, 10, 10, p.detail);
    p.O(0, 54, 4, 4);
    p.O(0, 74, 10, 8);
    p.O(4, 76, 3, 3, p.detail);
    p.L(18, 58, 34, 70, 3);
    p.P({34, 70, 42, 80, 37, 68, 44, 62});
    p.B(-1, 80, 1, 94);
    p.O(0, 96, 3, 3, p.detail);
}

void Guardian(Pen& p)
{
    Person(p, 13);
    p.P({-7, 78, 7, 78, 7, 90, 0, 97, -7, 90});
    p.B(0, 84, 7, 86, p.detail);
    p.B(-19, 0, -16, 100);
    p.P({-20, 100, -15, 100, -17, 110}, p.detail);
    p.P({6, 80, 26, 80, 26, 14, 16, 4, 6, 14});
    p.O(16, 50, 4, 7, p.detail);
}

void Shieldbearers(Pen& p)
{
    for (const int dx : {-30, 0, 30}) {
        p.B(dx + 9, 56, dx + 11, 104);
        p.P({dx + 7, 104, dx + 13, 104, dx + 10, 112}, p.detail);
        p.O(dx, 88, 7, 7);
        p.B(dx - 7, 84, dx + 7, 87);
        p.B(dx - 8, 0, dx - 3, 12);
        p.B(dx + 3, 0, dx + 8, 12);
        p.P({dx - 12, 80, dx + 12, 80, dx + 12, 14, dx, 6, dx - 12, 14});
        p.O(dx, 46, 4, 6, p.detail);
    }
}

void Wall(Pen& p)
{
    for (int row = 0; row < 4; ++row) {
        for (int brick = 0; brick < 5; ++brick) {
            const int x = -46 + brick * 19 + (row % 2) * 9;
            p.B(x, row * 20 + 1, std::min(x + 17, 50), row * 20 + 19);
        }
    }
    for (const int x : {-46, -22, 2, 26})
        p.B(x, 80, x + 14, 94);
    p.B(-46, 40, 50, 42, p.detail);
}

void Treefolk(Pen& p)
{
    p.P({-14, 50, 14, 50, 18, 0, 6, 0, 0, 20, -6, 0, -18, 0});
    p.B(-12, 44, 12, 74);
    p.L(10, 66, 32, 80, 3);
    p.L(-10, 66, -30, 78, 3);
    p.O(-16, 84, 16, 12);
    p.O(16, 86, 16, 12);
    p.O(0, 94, 18, 10);
    p.O(-4, 62, 2, 2, p.detail);
    p.O(5, 62, 2, 2, p.detail);
    p.B(-4, 52, 5, 54, p.detail);
}

void Elemental(Pen& p)
{
    p.O(0, 52, 38, 50, p.glow);
    p.P({-20, 0, 20, 0, 26, 24, 18, 42, 32, 56, 22, 62, 28, 88, 14, 74, 8, 102, 0, 80, -8, 96, -12, 72, -28, 84,
         -22, 60, -32, 50, -18, 38, -26, 20});
    p.P({-10, 6, 10, 6, 12, 28, 6, 46, 0, 66, -6, 46, -12, 28}, p.detail + "c0");
    p.O(-5, 62, 3, 2, p.detail);
    p.O(5, 62, 3, 2, p.detail);
}

void Salamander(Pen& p)
{
    p.P({-44, 0, -10, 0, -6, 8, -30, 10, -44, 22, -48, 10});
    p.P({-14, 0, 8, 0, 18, 40, 10, 56, 0, 50, -12, 16});
    p.L(-6, 10, -14, 0, 3);
    p.L(8, 10, 14, 0, 3);
    p.L(12, 42, 26, 30, 3);
    p.P({10, 52, 18, 44, 30, 70, 22, 78, 14, 70});
    p.O(28, 76, 9, 5);
    p.O(30, 78, 1, 1, p.detail);
    p.P({4, 46, -2, 62, 8, 54, 6, 72, 14, 60, 14, 80, 20, 66}, p.detail);
}

void Drake(Pen& p)
{
    p.P({-10, 46, 0, 46, -14, 92, -28, 84, -36, 70});
    p.O(0, 40, 24, 9);
    p.P({-20, 40, -24, 46, -52, 32, -48, 26});
    p.P({18, 44, 24, 38, 38, 58, 32, 64});
    p.O(38, 64, 8, 5);
    p.P({42, 62, 52, 60, 42, 58});
    p.O(40, 66, 1, 1, p.detail);
    p.P({-4, 46, 8, 46, 22, 98, 4, 86, -6, 94, -10, 76, -22, 80});
}

void Dragon(Pen& p)
{
    p.P({-6, 48, 10, 50, 6, 100, -10, 86, -24, 94, -26, 72, -38, 66});
    p.B(-24, 0, -17, 32);
    p.B(-12, 0, -5, 30);
    p.B(12, 0, 19, 32);
    p.B(22, 0, 29, 30);
    p.O(0, 38, 32, 14);
    p.P({-26, 36, -30, 44, -62, 16, -66, 2, -54, 14});
    p.P({20, 44, 30, 40, 42, 70, 34, 76});
    p.O(42, 76, 10, 6);
    p.P({38, 80, 30, 92, 36, 80});
    p.P({50, 74, 70, 82, 66, 68}, p.detail);
    p.O(44, 78, 1, 1, p.detail);
}

void Bat(Pen& p)
{
    for (const int side : {-1, 1}) {
        p.P({0, 76, side * 12, 86, side * 48, 100, side * 46, 70, side * 38, 62, side * 32, 46, side * 22, 58,
             side * 14, 38, side * 6, 56});
        p.P({side * 3, 86, side * 6, 98, side, 88});
        p.B(side * 2, 26, side * 4, 40);
    }
    p.O(0, 58, 8, 18);
    p.O(0, 80, 6, 6);
    p.O(-2, 81, 1, 1, p.detail);
    p.O(2, 81, 1, 1, p.detail);
}

void Bird(Pen& p)
{
    p.P({-6, 64, 8, 64, -4, 100, -22, 94});
    p.O(0, 60, 18, 8);
    p.O(18, 66, 6, 6);
    p.P({22, 68, 32, 64, 22, 62}, p.detail);
    p.O(19, 67, 1, 1, p.detail);
    p.P({-16, 60, -34, 70, -34, 50});
    p.P({-4, 56, 8, 56, -2, 28, -14, 34});
}

void Pegasus(Pen& p)
{
    Horse(p);
    p.P({-10, 54, 10, 54, 2, 102, -14, 98, -30, 84});
    p.O(38, 74, 1, 1, p.detail);
}

void Nightmare(Pen& p)
{
    Horse(p);
    p.P({16, 54, 22, 64, 16, 70, 28, 80, 22, 88, 32, 94, 30, 78, 26, 56}, p.detail);
    p.P({-24, 52, -40, 60, -30, 48, -40, 40, -28, 42}, p.detail);
    p.O(38, 72, 2, 2, p.detail);
}

void Griffin(Pen& p)
{
    p.P({-6, 50, 10, 50, 6, 102, -8, 94, -22, 98, -26, 76});
    Quadruped(p, 26, 24, 30);
    p.P({-24, 44, -40, 60, -43, 56, -26, 40});
    p.O(-42, 58, 4, 4);
    p.P({12, 46, 26, 44, 30, 66, 18, 68});
    p.O(26, 72, 9, 8);
    p.P({33, 76, 46, 68, 33, 66}, p.detail);
    p.O(28, 74, 1, 1, p.detail);
}

void Sphinx(Pen& p)
{
    p.P({-16, 28, 6, 36, -6, 86, -20, 98, -28, 70});
    p.O(-4, 20, 30, 12);
    p.B(14, 0, 42, 8);
    p.O(-24, 20, 12, 14);
    p.P({-34, 14, -48, 4, -46, 0, -32, 8});
    p.P({14, 26, 28, 26, 26, 58, 16, 58});
    p.O(22, 66, 7, 8);
    p.P({12, 72, 32, 72, 32, 50, 28, 50, 27, 62, 17, 62, 16, 50, 12, 50});
    p.B(12, 70, 32, 72, p.detail);
    p.O(25, 65, 1, 1, p.detail);
}

void Lion(Pen& p)
{
    Quadruped(p, 26, 32, 24);
    p.P({-24, 44, -40, 56, -42, 52, -26, 40});
    p.O(-42, 56, 4, 5);
    // A ragged mane around the head is what tells a lion from the other beasts.
    constexpr int COS[] = {100, 87, 50, 0, -50, -87, -100, -87, -50, 0, 50, 87};
    constexpr int SIN[] = {0, 50, 87, 100, 87, 50, 0, -50, -87, -100, -87, -50};
    std::vector<int> mane;
    for (int i = 0; i < 12; ++i) {
        mane.insert(mane.end(), {24 + COS[i] * 20 / 100, 58 + SIN[i] * 22 / 100});
        const int j = (i + 1) % 12;
        mane.insert(mane.end(), {24 + (COS[i] + COS[j]) * 8 / 100, 58 + (SIN[i] + SIN[j]) * 9 / 100});
    }
    p.Poly(mane);
    p.O(32, 56, 8, 8);
    p.O(34, 58, 1, 1, p.detail);
}

void Bear(Pen& p)
{
    p.P({-14, 40, -2, 40, -4, 0, -16, 0});
    p.P({0, 40, 12, 40, 14, 0, 2, 0});
    p.O(0, 52, 18, 26);
    p.O(6, 84, 10, 9);
    p.O(0, 93, 3, 3);
    p.O(12, 93, 3, 3);
    p.O(15, 80, 6, 4);
    p.O(10, 86, 1, 1, p.detail);
    p.L(8, 68, 26, 86, 5);
    p.L(-8, 68, -20, 84, 5);
    p.P({24, 86, 30, 96, 28, 86, 34, 90, 26, 82}, p.detail);
}

void Boar(Pen& p)
{
    p.P({-24, 50, -18, 66, -12, 56, -6, 72, 0, 58, 6, 70, 12, 56, 18, 62, 22, 48});
    Quadruped(p, 30, 20, 40);
    p.P({22, 52, 46, 34, 42, 22, 20, 26});
    p.P({38, 28, 48, 38, 42, 24}, p.detail);
    p.O(30, 44, 1, 1, p.detail);
    p.P({-28, 44, -36, 50, -30, 40});
}

void Wolf(Pen& p)
{
    Quadruped(p, 24, 36, 18);
    p.P({-22, 48, -38, 42, -42, 30, -30, 40});
    p.P({16, 50, 24, 46, 32, 72, 24, 74});
    p.O(30, 76, 6, 5);
    p.P({32, 78, 42, 90, 36, 74});
    p.P({26, 80, 26, 90, 30, 81});
    p.O(31, 77, 1, 1, p.detail);
}

void Wolves(Pen& p)
{
    p.At(-22, 0, 78);
    Wolf(p);
    p.At(12, 0, 100);
    Wolf(p);
}

void Rhino(Pen& p)
{
    Quadruped(p, 32, 24, 40);
    p.P({26, 54, 50, 40, 48, 26, 26, 30});
    p.P({44, 38, 54, 62, 40, 42}, p.detail);
    p.P({36, 46, 40, 56, 34, 48}, p.detail);
    p.P({26, 56, 28, 66, 32, 56});
    p.O(36, 46, 1, 1, p.detail);
}

void Elk(Pen& p)
{
    Quadruped(p, 24, 42, 20);
    p.P({16, 56, 24, 52, 30, 74, 22, 76});
    p.O(30, 76, 7, 5);
    p.O(38, 72, 4, 3);
    p.P({26, 80, 18, 100, 22, 100, 26, 90, 30, 102, 33, 98, 29, 86, 36, 90, 38, 86, 30, 78}, p.detail);
    p.O(31, 78, 1, 1, p.detail);
}

void Behemoth(Pen& p)
{
    p.P({-30, 62, -24, 82, -18, 66, -10, 88, -2, 72, 6, 90, 12, 72, 20, 82, 24, 64});
    Quadruped(p, 36, 26, 44);
    p.O(38, 40, 12, 12);
    p.P({42, 32, 58, 28, 46, 24}, p.detail);
    p.O(42, 44, 2, 2, p.detail);
}

void Rat(Pen& p)
{
    p.P({-10, 22, -34, 8, -46, 20, -44, 24, -34, 14, -12, 28});
    p.O(0, 40, 14, 22);
    p.B(-10, 0, 6, 8);
    p.O(8, 66, 8, 7);
    p.P({12, 70, 26, 64, 12, 60});
    p.O(4, 76, 4, 5);
    p.O(12, 68, 1, 1, p.detail);
    p.L(6, 50, 18, 44, 2);
}

void RatSwarm(Pen& p)
{
    const int places[][2] = {{-30, 0}, {-4, 0}, {22, 0}, {-18, 16}, {10, 16}, {-6, 32}, {16, 48}, {-10, 62}};
    int turn = 0;
    for (const auto& at : places) {
        const int x = at[0];
        const int y = at[1];
        const int side = (turn++ % 2 == 0) ? 1 : -1;
        p.P({x - side * 8, y + 4, x - side * 24, y + 2, x - side * 24, y + 5});
        p.O(x, y + 7, 11, 7);
        p.O(x + side * 10, y + 10, 5, 4);
        p.O(x + side * 7, y + 15, 2, 3);
        p.O(x + side * 12, y + 11, 1, 1, p.detail);
    }
}

void Spider(Pen& p)
{
    p.B(-7, 54, -6, 100, p.glow);
    const int legs[][4] = {{-34, 76, -48, 0}, {-18, 82, -28, 0}, {14, 82, 22, 0}, {30, 76, 44, 0}};
    for (const auto& leg : legs) {
        p.L(leg[0] > 0 ? 6 : -10, 48, leg[0], leg[1], 2);
        p.L(leg[0], leg[1], leg[2], leg[3], 2);
    }
    p.O(-8, 46, 16, 13);
    p.O(12, 42, 8, 7);
    p.O(16, 44, 1, 1, p.detail);
    p.O(14, 46, 1, 1, p.detail);
}

void Crab(Pen& p)
{
    for (const int side : {-1, 1}) {
        for (int leg = 0; leg < 3; ++leg) {
            p.L(side * (12 + leg * 5), 22, side * (30 + leg * 6), 12, 2);
            p.L(side * (30 + leg * 6), 12, side * (34 + leg * 6), 0, 2);
        }
        p.L(side * 18, 34, side * 28, 58, 4);
        p.P({side * 28, 54, side * 42, 70, side * 36, 86, side * 30, 74, side * 22, 82, side * 20, 66});
        p.B(side * 4, 36, side * 6, 48);
        p.O(side * 5, 49, 2, 2, p.detail);
    }
    p.O(0, 26, 26, 14);
}

void Turtle(Pen& p)
{
    p.B(-30, 0, -20, 18);
    p.B(20, 0, 30, 18);
    p.P({-38, 14, 38, 14, 36, 40, 24, 62, 0, 72, -24, 62, -36, 40});
    p.O(0, 44, 9, 9, p.glow);
    p.O(-20, 36, 7, 7, p.glow);
    p.O(20, 36, 7, 7, p.glow);
    p.P({34, 22, 42, 18, 54, 48, 46, 52});
    p.O(52, 52, 9, 7);
    p.O(55, 54, 1, 1, p.detail);
    p.P({-38, 16, -46, 10, -36, 12});
}

void Serpent(Pen& p)
{
    p.O(0, 12, 30, 12);
    p.O(-2, 28, 22, 10);
    p.P({2, 30, 14, 30, 18, 70, 10, 80, 2, 72});
    p.O(12, 82, 10, 8);
    p.O(15, 84, 1, 1, p.detail);
    p.P({21, 80, 30, 82, 30, 78}, p.detail);
}

void SeaSerpent(Pen& p)
{
    p.O(-44, 8, 10, 14);
    p.O(-20, 8, 11, 18);
    p.P({6, 2, 22, 2, 30, 60, 42, 82, 32, 90, 20, 62});
    p.O(40, 86, 11, 7);
    p.P({48, 84, 58, 80, 48, 80}, p.detail);
    p.O(42, 88, 1, 1, p.detail);
    p.P({16, 40, 10, 52, 20, 56, 16, 68, 26, 72}, p.detail);
    p.B(-60, 0, 60, 5, p.glow);
}

void Leviathan(Pen& p)
{
    p.B(14, 70, 16, 92, p.glow);
    p.O(15, 94, 9, 6, p.glow);
    p.P({-50, 0, -40, 34, -10, 64, 20, 72, 44, 52, 56, 24, 52, 0});
    p.P({-50, 2, -64, 24, -74, 16, -60, 0});
    p.P({0, 60, 6, 84, 14, 66});
    p.O(38, 42, 3, 3, p.detail);
    p.B(-74, 0, 74, 6, p.glow);
}

void Wurm(Pen& p)
{
    // A ringed body rising from the earth and bending forward into an open maw.
    p.O(0, 0, 36, 10);
    const int rings[][3] = {{0, 8, 17}, {3, 24, 16}, {1, 40, 15}, {4, 56, 14}, {10, 70, 13}, {20, 82, 12}};
    for (const auto& ring : rings) {
        p.O(ring[0], ring[1], ring[2], 10);
        p.B(ring[0] - ring[2] + 3, ring[1] + 8, ring[0] + ring[2] - 3, ring[1] + 9, p.glow);
    }
    p.O(32, 88, 14, 11);
    p.P({38, 94, 56, 104, 56, 72, 38, 82}, p.detail);
    p.P({44, 98, 48, 92, 50, 100});
    p.P({44, 78, 48, 84, 50, 76});
    p.O(30, 94, 2, 2, p.detail);
}

void Person(Pen& p)
{
    Person(p, 12);
    p.L(9, 70, 14, 46, 3);
    p.L(-9, 70, -14, 46, 3);
}

struct Figure {
    std::string_view name;
    std::vector<std::string_view> kinds;  // words of the type line it depicts, the longest first
    int halfWidth;
    void (*draw)(Pen&);
};

// Before its shorter namesakes: "Sea Serpent" before "Serpent", "Rat Swarm" before "Rat", "Ghouls" before "Ghoul".
const std::vector<Figure>& Figures()
{
    static const std::vector<Figure> s_figures = {
        {"sea serpent", {"Sea Serpent"}, 60, SeaSerpent},
        {"rat swarm", {"Rat Swarm"}, 36, RatSwarm},
        {"cloud spirit", {"Cloud Spirit"}, 38, CloudSpirit},
        {"ghouls", {"Ghouls"}, 44, Ghouls},
        {"wolves", {"Wolves"}, 56, Wolves},
        {"shieldbearers", {"Shieldbearers"}, 44, Shieldbearers},
        {"knight", {"Knight"}, 26, Knight},
        {"soldier", {"Soldier"}, 26, Soldier},
        {"paladin", {"Paladin"}, 32, Paladin},
        {"warden", {"Warden"}, 24, Warden},
        {"duelist", {"Duelist"}, 62, Duelist},
        {"cleric", {"Cleric"}, 32, Cleric},
        {"wizard", {"Wizard"}, 32, Wizard},
        {"monk", {"Monk"}, 38, Monk},
        {"shaman", {"Shaman"}, 28, Shaman},
        {"archer", {"Archer"}, 38, Archer},
        {"elf", {"Elf"}, 26, Elf},
        {"assassin", {"Assassin"}, 46, Assassin},
        {"goblin", {"Goblin"}, 28, Goblin},
        {"ogre", {"Ogre"}, 32, Ogre},
        {"giant", {"Giant"}, 24, Giant},
        {"troll", {"Troll"}, 36, Troll},
        {"minotaur", {"Minotaur"}, 42, Minotaur},
        {"barbarian", {"Barbarian"}, 32, Barbarian},
        {"berserker", {"Berserker"}, 34, Berserker},
        {"raider", {"Raider"}, 24, Raider},
        {"zombie", {"Zombie"}, 42, Zombie},
        {"skeleton", {"Skeleton"}, 24, Skeleton},
        {"ghoul", {"Ghoul"}, 44, [](Pen& p) { Ghoul(p, true); }},
        {"vampire", {"Vampire"}, 38, Vampire},
        {"nightstalker", {"Nightstalker"}, 46, Nightstalker},
        {"shade", {"Shade"}, 30, Shade},
        {"phantom", {"Phantom"}, 32, Phantom},
        {"horror", {"Horror"}, 42, Horror},
        {"illusion", {"Illusion"}, 40, Illusion},
        {"merfolk", {"Merfolk"}, 36, Merfolk},
        {"sprites", {"Sprites"}, 36, Sprites},
        {"angel", {"Angel"}, 42, Angel},
        {"golem", {"Golem"}, 30, Golem},
        {"construct", {"Construct"}, 44, Construct},
        {"guardian", {"Guardian"}, 26, Guardian},
        {"wall", {"Wall"}, 50, Wall},
        {"treefolk", {"Treefolk"}, 32, Treefolk},
        {"elemental", {"Elemental"}, 42, Elemental},
        {"salamander", {"Salamander"}, 48, Salamander},
        {"drake", {"Drake"}, 54, Drake},
        {"dragon", {"Dragon"}, 70, Dragon},
        {"bat", {"Bat"}, 48, Bat},
        {"bird", {"Bird"}, 34, Bird},
        {"pegasus", {"Pegasus"}, 48, Pegasus},
        {"nightmare", {"Nightmare"}, 48, Nightmare},
        {"griffin", {"Griffin"}, 44, Griffin},
        {"sphinx", {"Sphinx"}, 48, Sphinx},
        {"lion", {"Lion"}, 44, Lion},
        {"bear", {"Bear"}, 30, Bear},
        {"boar", {"Boar"}, 48, Boar},
        {"wolf", {"Wolf"}, 44, Wolf},
        {"rhino", {"Rhino"}, 54, Rhino},
        {"elk", {"Elk"}, 40, Elk},
        {"behemoth", {"Behemoth"}, 58, Behemoth},
        {"rat", {"Rat"}, 46, Rat},
        {"spider", {"Spider"}, 32, Spider},
        {"crab", {"Crab"}, 42, Crab},
        {"turtle", {"Turtle", "Tortoise"}, 60, Turtle},
        {"serpent", {"Serpent"}, 32, Serpent},
        {"leviathan", {"Leviathan"}, 74, Leviathan},
        {"wurm", {"Wurm"}, 36, Wurm},
        {"person", {}, 16, Person},
    };
    return s_figures;
}

const Figure& FigureNamed(const std::string& name)
{
    const std::vector<Figure>& figures = Figures();
    const auto found = std::find_if(figures.begin(), figures.end(), [&](const Figure& figure) { return figure.name == name; });
    return found != figures.end() ? *found : figures.back();
}

} // namespace

std::string CreatureFigureOf(const std::string& type)
{
    // Only the kinds after the dash: "Artifact Creature - Golem".
    const std::size_t dash = type.find(" - ");
    const std::string kinds = dash == std::string::npos ? std::string() : type.substr(dash + 3);
    for (const Figure& figure : Figures()) {
        for (const std::string_view kind : figure.kinds) {
            if (kinds.find(kind) != std::string::npos)
                return std::string(figure.name);
        }
    }
    return "person";
}

int CreatureFigureHalfWidth(const std::string& figure)
{
    return FigureNamed(figure).halfWidth;
}

void DrawCreatureFigure(ArtSketch& sketch, const std::string& figure, const FigureInk& ink)
{
    Pen pen(sketch, ink);
    FigureNamed(figure).draw(pen);
}

} // namespace datac
