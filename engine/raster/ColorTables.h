// The two tables blended triangles use: every 16-bit pixel reduced to a 9-bit colour (3 bits per channel), and
// the mean of every pair of 9-bit colours as a pixel of the back buffer's format.
#pragma once

#include <cstdint>
#include <memory>

constexpr int COLOR_MAP_SIZE = 65536;
constexpr int COLOR_INDEX_COUNT = 512;

class ColorTables {
public:
    ColorTables();

    void Build(bool is565);
    bool Is565() const { return m_Is565; }

    std::uint16_t Index333(std::uint16_t pixel) const { return m_ColorMap333[pixel]; }
    std::uint16_t Blend(std::uint16_t first, std::uint16_t second) const
    {
        return m_BlendTable[m_ColorMap333[first] * COLOR_INDEX_COUNT + m_ColorMap333[second]];
    }
    const std::uint16_t* ColorMap333() const { return m_ColorMap333.get(); }
    const std::uint16_t* BlendTable() const { return m_BlendTable.get(); }

private:
    std::unique_ptr<std::uint16_t[]> m_ColorMap333;
    std::unique_ptr<std::uint16_t[]> m_BlendTable;
    bool m_Is565 = true;
};
