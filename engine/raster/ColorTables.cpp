#include "engine/raster/ColorTables.h"

ColorTables::ColorTables()
    : m_ColorMap333(std::make_unique<std::uint16_t[]>(COLOR_MAP_SIZE)),
      m_BlendTable(std::make_unique<std::uint16_t[]>(COLOR_INDEX_COUNT * COLOR_INDEX_COUNT))
{
    Build(true);
}

void ColorTables::Build(bool is565)
{
    m_Is565 = is565;
    // The top three bits of each channel.
    const int redShift = is565 ? 13 : 12;
    const int greenShift = is565 ? 8 : 7;
    for (int p = 0; p < COLOR_MAP_SIZE; ++p) {
        const int r = (p >> redShift) & 7;
        const int g = (p >> greenShift) & 7;
        const int b = (p >> 2) & 7;
        m_ColorMap333[p] = static_cast<std::uint16_t>(r * 64 + g * 8 + b);
    }
    // Each channel of the mean is 2 x (a + b): the mean of two 3-bit values widened to 5 bits.
    const int packRed = is565 ? 11 : 10;
    const int packGreen = is565 ? 6 : 5;
    for (int a = 0; a < COLOR_INDEX_COUNT; ++a) {
        for (int b = 0; b < COLOR_INDEX_COUNT; ++b) {
            const int r = 2 * (((a >> 6) & 7) + ((b >> 6) & 7));
            const int g = 2 * (((a >> 3) & 7) + ((b >> 3) & 7));
            const int bl = 2 * ((a & 7) + (b & 7));
            m_BlendTable[a * COLOR_INDEX_COUNT + b] =
                static_cast<std::uint16_t>((r << packRed) | (g << packGreen) | bl);
        }
    }
}
