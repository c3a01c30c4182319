#include "tools/ContactSheet.h"

#include "tools/ArtCanvas.h"
#include "tools/OutputFile.h"
#include "tools/SourceText.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cstdint>

namespace datac {

namespace {

constexpr int SHEET_WIDTH = 1600;
constexpr int GAP = 4;
constexpr std::uint32_t GROUND = 0x404448;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top
};

std::uint32_t Le(const std::vector<std::uint8_t>& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

// Only the forms the art step writes: 24-bit bottom-up .bmp, and the first frame of a .chp.
bool Read(const std::string& path, Picture& out)
{
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(plat::FromUtf8(path), bytes))
        return false;
    if (path.ends_with(".bmp")) {
        if (bytes.size() < 54 || Le(bytes, 28, 2) != 24)
            return false;
        out.width = static_cast<int>(Le(bytes, 18, 4));
        out.height = static_cast<int>(Le(bytes, 22, 4));
        const std::size_t row = (static_cast<std::size_t>(out.width) * 3 + 3) & ~std::size_t{3};
        const std::size_t start = Le(bytes, 10, 4);
        if (out.width <= 0 || out.height <= 0 || bytes.size() < start + row * out.height)
            return false;
        for (int y = 0; y < out.height; ++y) {
            for (int x = 0; x < out.width; ++x) {
                const std::size_t at = start + static_cast<std::size_t>(out.height - 1 - y) * row + x * 3;
                out.pixels.push_back(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16);
            }
        }
        return true;
    }
    if (bytes.size() < 10)
        return false;
    out.width = static_cast<int>(Le(bytes, 6, 2));
    out.height = static_cast<int>(Le(bytes, 8, 2));
    if (bytes.size() < 10 + static_cast<std::size_t>(out.width) * out.height * 2)
        return false;
    for (int i = 0; i < out.width * out.height; ++i) {
        const std::uint32_t pixel = Le(bytes, 10 + 2 * static_cast<std::size_t>(i), 2);
        out.pixels.push_back(((pixel >> 10) & 0x1F) << 19 | ((pixel >> 5) & 0x1F) << 11 | (pixel & 0x1F) << 3);
    }
    return true;
}

} // namespace

bool WriteContactSheet(const std::string& installFolder, const std::vector<std::string>& folders,
                       const std::string& sheetPath, Diagnostics& diagnostics)
{
    std::vector<Picture> pictures;
    for (const std::string& folder : folders) {
        for (const std::string& suffix : {std::string(".bmp"), std::string(".chp")}) {
            for (const std::string& path : SourceFiles(installFolder + "/" + folder, suffix)) {
                Picture picture;
                if (Read(path, picture) && picture.width <= SHEET_WIDTH)
                    pictures.push_back(std::move(picture));
            }
        }
    }
    // Rows of pictures, each row as high as its tallest.
    struct Placed {
        int x, y;
    };
    std::vector<Placed> places;
    int x = GAP, y = GAP, rowHeight = 0;
    for (const Picture& picture : pictures) {
        if (x + picture.width + GAP > SHEET_WIDTH) {
            x = GAP;
            y += rowHeight + GAP;
            rowHeight = 0;
        }
        places.push_back({x, y});
        x += picture.width + GAP;
        rowHeight = std::max(rowHeight, picture.height);
    }
    ArtCanvas sheet(SHEET_WIDTH, std::max(y + rowHeight + GAP, 1));
    sheet.Fill({0, 0, sheet.Width(), sheet.Height()}, {GROUND, 255});
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const Picture& picture = pictures[i];
        for (int py = 0; py < picture.height; ++py) {
            for (int px = 0; px < picture.width; ++px)
                sheet.Fill({places[i].x + px, places[i].y + py, 1, 1},
                           {picture.pixels[static_cast<std::size_t>(py) * picture.width + px], 255});
        }
    }
    if (WriteIfChanged(sheetPath, sheet.ToBmp()) == WriteResult::Failed) {
        diagnostics.Error(sheetPath, "cannot be written");
        return false;
    }
    return true;
}

} // namespace datac
