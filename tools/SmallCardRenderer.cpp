#include "tools/SmallCardRenderer.h"

#include "tools/ContentHash.h"
#include "tools/HeadlessScene.h"
#include "tools/OutputFile.h"
#include "tools/SourceText.h"

#include "cards/Card.h"
#include "cards/CardCommands.h"
#include "cards/CardDatabase.h"
#include "cards/CardIds.h"
#include "cards/TableScene.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"
#include "platform/PlatformFont.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <sstream>
#include <string_view>
#include <vector>

namespace datac {

namespace {

// Raise when the composition of the small card changes, so that the cached images are drawn again.
constexpr char SMALL_CARD_VERSION[] = "small card 1";
constexpr char CARD_FILE[] = "data_en/cards_phys_u.cfg";
constexpr char CACHE_PACK[] = "smallcards.pack";
// The images every small card is composed from, besides its own picture.
constexpr std::string_view SHARED_FOLDERS[] = {"data/frames", "data/symbols", "data/fonts"};

std::string Hex(std::uint64_t value)
{
    static constexpr char DIGITS[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = DIGITS[value & 15];
    return text;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    plat::ReadFileBytes(plat::FromUtf8(path), bytes);
    return bytes;
}

std::string Native(std::u16string_view gamePath)
{
    std::string path = plat::ToUtf8(gamePath);
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

// Everything shared by the cards: the frames, symbols and fonts of the install folder and the system faces the
// font table names.
std::uint64_t SharedHash(const std::string& install)
{
    std::uint64_t hash = ContentHash(SMALL_CARD_VERSION, ToolHash());
    for (const std::string_view folder : SHARED_FOLDERS) {
        for (const std::string& path : SourceFiles(install + "/" + std::string(folder), "")) {
            hash = ContentHash(path.substr(install.size()), hash);
            hash = ContentHash(ReadBytes(path), hash);
        }
    }
    const std::vector<std::uint8_t> table = ReadBytes(install + "/data/fonts/fonts.cfg");
    const std::string text(table.begin(), table.end());
    for (std::size_t end = text.find(".ttf"); end != std::string::npos; end = text.find(".ttf", end + 1)) {
        std::size_t start = end;
        while (start > 0 && text[start - 1] != ' ' && text[start - 1] != ',' && text[start - 1] != '=' &&
               text[start - 1] != '\n')
            --start;
        hash = ContentHash(ReadBytes(plat::SystemFontFolder() + "/" + text.substr(start, end + 4 - start)), hash);
    }
    return hash;
}

// The card's block of the card file (UTF-16 units), from its definecard line to its _end, as bytes to hash.
std::string_view CardBlock(std::u16string_view cardFile, std::u16string_view idName)
{
    const std::u16string marker = u"definecard " + std::u16string(idName);
    std::size_t start = cardFile.find(marker);
    // CD_X must not match the start of CD_X2.
    while (start != std::u16string_view::npos && start + marker.size() < cardFile.size() &&
           cardFile[start + marker.size()] != u'\r' && cardFile[start + marker.size()] != u'\n')
        start = cardFile.find(marker, start + 1);
    if (start == std::u16string_view::npos)
        return {};
    const std::size_t end = cardFile.find(u"_end", start);
    const std::u16string_view block =
        cardFile.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
    return std::string_view(reinterpret_cast<const char*>(block.data()), block.size() * sizeof(char16_t));
}

std::u16string CardFileText(const std::vector<std::uint8_t>& bytes)
{
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    return text;
}

// The cache: one file of entries "<key> <upright size> <turned size>\n" followed by the two images, so that a
// build writes (and flushes) one file rather than two per card.
using CachePack = std::map<std::string, std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>>>;

CachePack ReadPack(const std::string& path)
{
    CachePack pack;
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto lineEnd = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(), '\n');
        std::istringstream header(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at), lineEnd));
        std::string key;
        std::size_t upright = 0, turned = 0;
        if (!(header >> key >> upright >> turned))
            return {};
        at = static_cast<std::size_t>(lineEnd - bytes.begin()) + 1;
        if (lineEnd == bytes.end() || bytes.size() - at < upright + turned)
            return {};  // a damaged pack is drawn again
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        pack[key] = {std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(upright)),
                     std::vector<std::uint8_t>(first + static_cast<std::ptrdiff_t>(upright),
                                               first + static_cast<std::ptrdiff_t>(upright + turned))};
        at += upright + turned;
    }
    return pack;
}

std::vector<std::uint8_t> PackBytes(const CachePack& pack)
{
    std::vector<std::uint8_t> bytes;
    for (const auto& [key, images] : pack) {
        const std::string header =
            key + " " + std::to_string(images.first.size()) + " " + std::to_string(images.second.size()) + "\n";
        bytes.insert(bytes.end(), header.begin(), header.end());
        bytes.insert(bytes.end(), images.first.begin(), images.first.end());
        bytes.insert(bytes.end(), images.second.begin(), images.second.end());
    }
    return bytes;
}

} // namespace

bool RenderSmallCards(const std::string& installFolder, const std::string& cacheFolder, Diagnostics& diagnostics,
                      SmallCardRun* run)
{
    const std::string install = AbsolutePath(installFolder);
    const std::string cache = cacheFolder.empty() ? std::string() : AbsolutePath(cacheFolder);
    const std::vector<std::uint8_t> cardFile = ReadBytes(install + "/" + CARD_FILE);
    if (cardFile.empty()) {
        diagnostics.Error(install + "/" + CARD_FILE, "cannot be read: no small cards are drawn");
        return false;
    }
    const std::u16string cardText = CardFileText(cardFile);
    const std::uint64_t shared = SharedHash(install);

    HeadlessScene scene(install);
    if (!scene.Ready()) {
        diagnostics.Error(install, "the headless display does not start: no small cards are drawn");
        return false;
    }
    BuildCardVocabulary();
    if (!LoadCardFile()) {
        diagnostics.Error(install + "/" + CARD_FILE, "does not load");
        return false;
    }

    struct Pending {
        std::u16string idName;
        std::string upright;  // install-relative, '/'
        std::string turned;
        std::string cacheKey;
    };
    const std::string packPath = cache.empty() ? std::string() : cache + "/" + CACHE_PACK;
    const CachePack cachedPack = packPath.empty() ? CachePack() : ReadPack(packPath);
    CachePack pack;  // what this build made or used: entries of removed or changed cards drop out
    std::vector<Pending> pending;
    std::size_t cards = 0;
    std::uint64_t inputs = shared;  // every card's key in card order
    for (int id = 1; id < CD_NUMBER_OF_CARD_DEFS; ++id) {
        const CARD& card = g_CardDefs[static_cast<std::size_t>(id)];
        if (card.GetId() != id || card.GetSmallCardPath().empty())
            continue;
        ++cards;
        const std::u16string idName(GetCardIdName(id));
        Pending item{idName, Native(card.GetSmallCardPath()), {}, {}};
        const std::size_t dot = item.upright.rfind('.');
        item.turned = item.upright.substr(0, dot) + "_r" + item.upright.substr(dot);
        std::uint64_t hash = ContentHash(CardBlock(cardText, idName), shared);
        hash = ContentHash(ReadBytes(install + "/" + Native(card.GetLargeArt())), hash);
        item.cacheKey = Hex(hash);
        inputs = ContentHash(item.cacheKey, inputs);
        const auto cached = cachedPack.find(item.cacheKey);
        if (cached != cachedPack.end() && !cached->second.first.empty() && !cached->second.second.empty()) {
            if (WriteIfChanged(install + "/" + item.upright, cached->second.first) == WriteResult::Failed ||
                WriteIfChanged(install + "/" + item.turned, cached->second.second) == WriteResult::Failed)
                diagnostics.Error(install + "/" + item.upright, "cannot be written");
            pack.insert(*cached);
            continue;
        }
        // loadcard composes the images it does not find.
        plat::RemoveFile(plat::FromUtf8(item.upright));
        plat::RemoveFile(plat::FromUtf8(item.turned));
        pending.push_back(std::move(item));
    }
    if (run != nullptr)
        *run = SmallCardRun{cards, pending.size(), inputs};
    const auto savePack = [&] {
        if (!packPath.empty() && WriteIfChanged(packPath, PackBytes(pack)) == WriteResult::Failed)
            diagnostics.Error(packPath, "cannot be written");
    };
    if (pending.empty()) {
        savePack();
        return !diagnostics.HasErrors();
    }

    std::u16string script;
    for (const Pending& item : pending)
        script += u"loadcard " + item.idName + u"\n";
    LoadSmallCardSymbols();
    RunScriptFile(script.c_str());

    bool ok = true;
    for (const Pending& item : pending) {
        const std::vector<std::uint8_t> upright = ReadBytes(install + "/" + item.upright);
        const std::vector<std::uint8_t> turned = ReadBytes(install + "/" + item.turned);
        if (upright.empty() || turned.empty() || GetTextureByName(item.idName) <= 0) {
            diagnostics.Error(install + "/" + item.upright, "the small card was not composed");
            ok = false;
            continue;
        }
        pack[item.cacheKey] = {upright, turned};
    }
    savePack();
    return ok;
}

} // namespace datac
