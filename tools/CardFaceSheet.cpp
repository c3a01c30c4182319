#include "tools/CardFaceSheet.h"

#include "tools/ContactSheet.h"
#include "tools/ContentHash.h"
#include "tools/HeadlessScene.h"
#include "tools/OutputFile.h"
#include "tools/SourceText.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardDatabase.h"
#include "cards/CardIds.h"
#include "cards/CardOverLay.h"
#include "cards/TableScene.h"
#include "engine/raster/Raster.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

#include <array>
#include <memory>

namespace datac {

namespace {

constexpr int SHEET_WIDTH = 1600;
constexpr int LARGE_WIDTH = 192;
constexpr int LARGE_HEIGHT = 276;
constexpr int FRAME_COLUMNS = 4;  // large faces per pass of the 800x600 back buffer
constexpr int FRAME_ROWS = 2;
constexpr int CELL = 200;
constexpr std::uint16_t GROUND_565 = 0x4229;
constexpr std::array<std::u16string_view, 6> BORDERS = {u"bk", u"rd", u"gr", u"bu", u"wt", u"art"};
constexpr std::array<std::u16string_view, 3> FAMILIES = {u"bl", u"cr", u"nc"};
constexpr std::array<std::u16string_view, 6> SUFFIXES = {u"b", u"r", u"g", u"u", u"w", u"a"};

// The large frames and borders the faces are drawn in, on top of what the small cards are made from.
std::string InputsKey(const std::string& install, std::uint64_t smallCardInputs)
{
    std::uint64_t hash = smallCardInputs;
    for (const std::string& path : SourceFiles(install + "/data/table", ".bmp")) {
        const std::string name = path.substr(path.rfind('/') + 1);
        if (!name.starts_with("crd_") && !name.starts_with("fxborder_"))
            continue;
        std::vector<std::uint8_t> bytes;
        plat::ReadFileBytes(plat::FromUtf8(path), bytes);
        hash = ContentHash(bytes, ContentHash(name, hash));
    }
    return std::to_string(hash);
}

// The frame and border textures the level scripts enter before their first card.
std::u16string FrameScript()
{
    std::u16string script;
    for (const std::u16string_view border : BORDERS) {
        for (const std::u16string_view small : {u"", u"s"}) {
            const std::u16string name = u"fxborder_" + std::u16string(small) + std::u16string(border);
            script += u"loadbmp " + name + u" data\\table\\" + name + u".bmp\n";
        }
    }
    for (const std::u16string_view family : FAMILIES) {
        for (const std::u16string_view suffix : SUFFIXES) {
            if (suffix == u"a" && family == u"bl")
                continue;
            const std::u16string name = u"crd_" + std::u16string(family) + u"_" + std::u16string(suffix) + u"_lg";
            script += u"loadbmp " + name + u" data\\table\\" + name + u".bmp\n";
        }
    }
    return script;
}

std::uint32_t Rgb(std::uint16_t pixel, bool is565)
{
    const std::uint32_t r = is565 ? pixel >> 11 & 31 : pixel >> 10 & 31;
    const std::uint32_t g = is565 ? (pixel >> 5 & 63) << 2 : (pixel >> 5 & 31) << 3;
    const std::uint32_t b = pixel & 31;
    return r << 19 | g << 8 | b << 3;
}

} // namespace

bool WriteCardFaceSheet(const std::string& installFolderGiven, std::uint64_t smallCardInputs,
                        const std::string& sheetPathGiven, Diagnostics& diagnostics, bool* drawn)
{
    const std::string installFolder = AbsolutePath(installFolderGiven);
    const std::string sheetPath = AbsolutePath(sheetPathGiven);
    if (drawn != nullptr)
        *drawn = false;
    const std::string keyPath = sheetPath + ".key";
    const std::string key = InputsKey(installFolder, smallCardInputs);
    std::vector<std::uint8_t> oldKey;
    if (plat::IsReadable(plat::FromUtf8(sheetPath)) && plat::ReadFileBytes(plat::FromUtf8(keyPath), oldKey) &&
        std::string(oldKey.begin(), oldKey.end()) == key)
        return true;

    std::vector<SheetPicture> pictures;
    std::vector<const CARD*> cards;
    {
        HeadlessScene scene(installFolder);
        BuildCardVocabulary();
        if (!scene.Ready() || !LoadCardFile()) {
            diagnostics.Error(installFolder + "/data_en", "the card file does not load: no card face sheet");
            return false;
        }
        LoadLargeCardSymbols();
        LoadSmallCardSymbols();
        std::u16string script = FrameScript();
        for (int id = 1; id < CD_NUMBER_OF_CARD_DEFS; ++id) {
            if (g_CardDefs[static_cast<std::size_t>(id)].GetId() == id) {
                cards.push_back(&g_CardDefs[static_cast<std::size_t>(id)]);
                script += u"loadcard " + std::u16string(GetCardIdName(id)) + u"\n";
            }
        }
        RunScriptFile(script.c_str());
        for (const CARD* card : cards) {
            SheetPicture picture;
            if (ReadSheetPicture(installFolder + "/data_en/cards/" + plat::ToUtf8(GetCardIdName(card->GetId())) + ".bmp",
                                 picture))
                pictures.push_back(std::move(picture));
        }
        // A row break between the small cards and the large faces.
        pictures.push_back(SheetPicture{SHEET_WIDTH - 8, 1, std::vector<std::uint32_t>(SHEET_WIDTH - 8, 0xFFFFFF)});

        Raster& raster = *GetRaster();
        raster.SetActive(true);
        constexpr std::size_t PER_FRAME = FRAME_COLUMNS * FRAME_ROWS;
        for (std::size_t first = 0; first < cards.size(); first += PER_FRAME) {
            // The rules text is laid out on the first frame it is asked for and drawn from the next, as at the table.
            for (int pass = 0; pass < 2; ++pass) {
                raster.BeginFrame();
                raster.ClearBackBuffer(GROUND_565);
                std::vector<std::unique_ptr<CardActor>> actors;
                for (std::size_t i = first; i < std::min(cards.size(), first + PER_FRAME); ++i) {
                    CardOverLay* const overlay = GetCardOverlay(*cards[i]);
                    if (overlay == nullptr)
                        continue;
                    actors.push_back(std::make_unique<CardActor>());
                    actors.back()->SetCard(cards[i]);
                    const int x = static_cast<int>((i - first) % FRAME_COLUMNS) * CELL;
                    const int y = static_cast<int>((i - first) / FRAME_COLUMNS) * (LARGE_HEIGHT + 4);
                    overlay->Draw(RasterRect{x, y, x + LARGE_WIDTH, y + LARGE_HEIGHT}, actors.back().get(),
                                  OVERLAY_LARGE_FACE, 100.0f);
                }
                raster.Invalidate();
                raster.EndFrame();
            }
            const PixelTarget target = raster.BackBuffer();
            for (std::size_t i = first; i < std::min(cards.size(), first + PER_FRAME); ++i) {
                const int x = static_cast<int>((i - first) % FRAME_COLUMNS) * CELL;
                const int y = static_cast<int>((i - first) / FRAME_COLUMNS) * (LARGE_HEIGHT + 4);
                SheetPicture face{LARGE_WIDTH, LARGE_HEIGHT, {}};
                for (int py = 0; py < LARGE_HEIGHT && y + py < target.height; ++py) {
                    for (int px = 0; px < LARGE_WIDTH && x + px < target.width; ++px)
                        face.pixels.push_back(Rgb(
                            target.pixels[static_cast<std::size_t>(y + py) * static_cast<std::size_t>(target.pitch) +
                                          static_cast<std::size_t>(x + px)],
                            target.is565));
                }
                pictures.push_back(std::move(face));
            }
        }
    }
    if (!WritePictureSheet(pictures, SHEET_WIDTH, sheetPath, diagnostics))
        return false;
    if (WriteIfChanged(keyPath, std::vector<std::uint8_t>(key.begin(), key.end())) == WriteResult::Failed)
        diagnostics.Error(keyPath, "cannot be written");
    if (drawn != nullptr)
        *drawn = true;
    return true;
}

} // namespace datac
