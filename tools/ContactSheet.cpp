#include "tools/ContactSheet.h"

#include "tools/ContentHash.h"
#include "tools/OutputFile.h"
#include "tools/SourceText.h"

#include "platform/Platform.h"

#include <algorithm>

namespace datac {

namespace {

constexpr int SHEET_WIDTH = 1600;
constexpr int GAP = 4;
constexpr std::uint32_t GROUND = 0x404448;
constexpr std::size_t BMP_HEADER_SIZE = 54;

std::uint32_t Le(const std::vector<std::uint8_t>& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

void PutLe(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i, value >>= 8)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
}

} // namespace

bool ReadSheetPicture(const std::string& path, SheetPicture& out)
{
    std::vector<std::uint8_t> bytes;
    return plat::ReadFileBytes(plat::FromUtf8(path), bytes) && DecodeSheetPicture(path, bytes, out);
}

bool DecodeSheetPicture(const std::string& path, const std::vector<std::uint8_t>& bytes, SheetPicture& out)
{
    out = SheetPicture{};
    if (path.ends_with(".bmp")) {
        if (bytes.size() < BMP_HEADER_SIZE || Le(bytes, 28, 2) != 24)
            return false;
        out.width = static_cast<int>(Le(bytes, 18, 4));
        out.height = static_cast<int>(Le(bytes, 22, 4));
        const std::size_t row = (static_cast<std::size_t>(out.width) * 3 + 3) & ~std::size_t{3};
        const std::size_t start = Le(bytes, 10, 4);
        if (out.width <= 0 || out.height <= 0 || bytes.size() < start + row * static_cast<std::size_t>(out.height))
            return false;
        out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
        for (int y = 0; y < out.height; ++y) {
            for (int x = 0; x < out.width; ++x) {
                const std::size_t at = start + static_cast<std::size_t>(out.height - 1 - y) * row +
                                       static_cast<std::size_t>(x) * 3;
                out.pixels.push_back(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16);
            }
        }
        return true;
    }
    if (bytes.size() < 10)
        return false;
    out.width = static_cast<int>(Le(bytes, 6, 2));
    out.height = static_cast<int>(Le(bytes, 8, 2));
    const std::size_t count = static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height);
    if (bytes.size() < 10 + count * 2)
        return false;
    out.pixels.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t pixel = Le(bytes, 10 + 2 * i, 2);
        out.pixels.push_back(((pixel >> 10) & 0x1F) << 19 | ((pixel >> 5) & 0x1F) << 11 | (pixel & 0x1F) << 3);
    }
    return true;
}

bool WritePictureSheet(const std::vector<SheetPicture>& pictures, int width, const std::string& sheetPath,
                       Diagnostics& diagnostics)
{
    struct Placed {
        const SheetPicture* picture;
        int x, y;
    };
    std::vector<Placed> places;
    int x = GAP, y = GAP, rowHeight = 0;
    for (const SheetPicture& picture : pictures) {
        if (picture.width + 2 * GAP > width || picture.pixels.size() <
                                                   static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height))
            continue;
        if (x + picture.width + GAP > width) {
            x = GAP;
            y += rowHeight + GAP;
            rowHeight = 0;
        }
        places.push_back({&picture, x, y});
        x += picture.width + GAP;
        rowHeight = std::max(rowHeight, picture.height);
    }
    const int height = std::max(y + rowHeight + GAP, 1);
    std::vector<std::uint32_t> sheet(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), GROUND);
    for (const Placed& place : places) {
        for (int py = 0; py < place.picture->height; ++py)
            std::copy_n(place.picture->pixels.begin() + static_cast<std::ptrdiff_t>(py) * place.picture->width,
                        place.picture->width,
                        sheet.begin() + static_cast<std::ptrdiff_t>(place.y + py) * width + place.x);
    }
    const std::size_t row = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> bmp(BMP_HEADER_SIZE + row * static_cast<std::size_t>(height), 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLe(bmp, 2, static_cast<std::uint32_t>(bmp.size()), 4);
    PutLe(bmp, 10, BMP_HEADER_SIZE, 4);
    PutLe(bmp, 14, 40, 4);
    PutLe(bmp, 18, static_cast<std::uint32_t>(width), 4);
    PutLe(bmp, 22, static_cast<std::uint32_t>(height), 4);
    PutLe(bmp, 26, 1, 2);
    PutLe(bmp, 28, 24, 2);
    for (int sy = 0; sy < height; ++sy) {
        std::uint8_t* out = &bmp[BMP_HEADER_SIZE + static_cast<std::size_t>(height - 1 - sy) * row];
        for (int sx = 0; sx < width; ++sx, out += 3) {
            const std::uint32_t pixel = sheet[static_cast<std::size_t>(sy) * static_cast<std::size_t>(width) +
                                              static_cast<std::size_t>(sx)];
            out[0] = static_cast<std::uint8_t>(pixel);
            out[1] = static_cast<std::uint8_t>(pixel >> 8);
            out[2] = static_cast<std::uint8_t>(pixel >> 16);
        }
    }
    if (WriteIfChanged(sheetPath, bmp) == WriteResult::Failed) {
        diagnostics.Error(sheetPath, "cannot be written");
        return false;
    }
    return true;
}

bool WriteContactSheet(const std::string& installFolder, const std::vector<std::string>& folders,
                       const std::string& sheetPath, Diagnostics& diagnostics)
{
    // Composed again only when a file it shows changed.
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    std::uint64_t hash = CONTENT_HASH_START;
    for (const std::string& folder : folders) {
        for (const std::string& suffix : {std::string(".bmp"), std::string(".chp")}) {
            for (const std::string& path : SourceFiles(installFolder + "/" + folder, suffix)) {
                std::vector<std::uint8_t> bytes;
                if (!plat::ReadFileBytes(plat::FromUtf8(path), bytes))
                    continue;
                hash = ContentHash(bytes, ContentHash(path.substr(installFolder.size()), hash));
                files.emplace_back(path, std::move(bytes));
            }
        }
    }
    const std::string key = std::to_string(hash);
    const std::string keyPath = sheetPath + ".key";
    std::vector<std::uint8_t> oldKey;
    if (plat::IsReadable(plat::FromUtf8(sheetPath)) && plat::ReadFileBytes(plat::FromUtf8(keyPath), oldKey) &&
        std::string(oldKey.begin(), oldKey.end()) == key)
        return true;
    std::vector<SheetPicture> pictures;
    for (const auto& [path, bytes] : files) {
        SheetPicture picture;
        if (DecodeSheetPicture(path, bytes, picture))
            pictures.push_back(std::move(picture));
    }
    if (!WritePictureSheet(pictures, SHEET_WIDTH, sheetPath, diagnostics))
        return false;
    if (WriteIfChanged(keyPath, std::vector<std::uint8_t>(key.begin(), key.end())) == WriteResult::Failed) {
        diagnostics.Error(keyPath, "cannot be written");
        return false;
    }
    return true;
}

} // namespace datac
