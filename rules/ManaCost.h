// The one value type in which the rules count mana: a cost, a pool, a production or a colour set (a colour is
// in the set when its counter is non-zero). The counter order is fixed by the card file's cost text.
#pragma once

#include <cstdint>

struct ManaCost {
    std::int32_t generic = 0;
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;
    std::int32_t black = 0;
    std::int32_t white = 0;

    ManaCost() = default;
    ManaCost(std::int32_t g, std::int32_t r, std::int32_t gr, std::int32_t u, std::int32_t b, std::int32_t w)
        : generic(g), red(r), green(gr), blue(u), black(b), white(w)
    {
    }

    ManaCost& Clear() { return *this = ManaCost(); }
    static void ClearIfSet(ManaCost* cost)
    {
        if (cost != nullptr)
            cost->Clear();
    }
    int Total() const { return generic + red + green + blue + black + white; }
    ManaCost& Add(const ManaCost& other)
    {
        generic += other.generic;
        red += other.red;
        green += other.green;
        blue += other.blue;
        black += other.black;
        white += other.white;
        return *this;
    }
    // Counter by counter.
    ManaCost& Subtract(const ManaCost& other)
    {
        generic -= other.generic;
        red -= other.red;
        green -= other.green;
        blue -= other.blue;
        black -= other.black;
        white -= other.white;
        return *this;
    }
    ManaCost Negated() const { return ManaCost(-generic, -red, -green, -blue, -black, -white); }
    // Zeroes each counter whose counterpart in the filter is zero (generic included).
    ManaCost& KeepCoveredColours(const ManaCost& filter)
    {
        if (filter.generic == 0)
            generic = 0;
        if (filter.red == 0)
            red = 0;
        if (filter.green == 0)
            green = 0;
        if (filter.blue == 0)
            blue = 0;
        if (filter.black == 0)
            black = 0;
        if (filter.white == 0)
            white = 0;
        return *this;
    }
    // Counter by counter in the fixed order, generic first.
    std::int32_t& At(int index) { return (&generic)[index]; }
    std::int32_t At(int index) const { return (&generic)[index]; }
    bool HasColour() const { return red != 0 || green != 0 || blue != 0 || black != 0 || white != 0; }
    bool Equals(const ManaCost& other) const { return *this == other; }
    bool operator==(const ManaCost&) const = default;
};

// Counter by counter the supply holds what the cost asks; no colour stands in for another or for generic.
inline bool IsCostCoveredBy(const ManaCost& cost, const ManaCost& supply)
{
    return supply.generic >= cost.generic && supply.red >= cost.red && supply.green >= cost.green &&
           supply.blue >= cost.blue && supply.black >= cost.black && supply.white >= cost.white;
}

// The filtered copy, for callers that keep the original.
inline ManaCost KeepCoveredColours(ManaCost value, const ManaCost& filter)
{
    return value.KeepCoveredColours(filter);
}

// a / b rounded up; data can give a divisor of 0 or below, which gives 0.
inline int DivideRoundUp(int a, int b)
{
    if (b <= 0)
        return 0;
    return a / b + (a % b != 0 ? 1 : 0);
}
