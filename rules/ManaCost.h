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
    int Total() const { return generic + red + green + blue + black + white; }
    bool Equals(const ManaCost& other) const { return *this == other; }
    bool operator==(const ManaCost&) const = default;
};
