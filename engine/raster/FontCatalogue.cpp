#include "engine/raster/FontCatalogue.h"

#include "engine/core/TextHelpers.h"
#include "platform/Platform.h"

#include <memory>

namespace {

constexpr std::u16string_view CATALOGUE_PATH = u"data\\fonts\\fonts.cfg";
constexpr std::u16string_view FONT_FOLDER = u"data\\fonts\\";
// Pitch-and-family bits of the roman (serif) family.
constexpr int FAMILY_MASK = 0xF0;
constexpr int FAMILY_ROMAN = 0x10;

// Kept in step with data/fonts/fonts.cfg.
constexpr std::string_view BUILT_IN_TABLE =
    "Arial = DejaVuSans.ttf, DejaVuSans-Bold.ttf, DejaVuSans-Oblique.ttf, DejaVuSans-BoldOblique.ttf\n"
    "Times New Roman = DejaVuSerif.ttf, DejaVuSerif-Bold.ttf, DejaVuSerif-Italic.ttf, DejaVuSerif-BoldItalic.ttf\n"
    "Small Fonts = DejaVuSansCondensed.ttf, DejaVuSansCondensed-Bold.ttf, DejaVuSansCondensed-Oblique.ttf, "
    "DejaVuSansCondensed-BoldOblique.ttf\n"
    "Lymphatic = DejaVuSerifCondensed.ttf, DejaVuSerifCondensed-Bold.ttf, DejaVuSerifCondensed-Italic.ttf, "
    "DejaVuSerifCondensed-BoldItalic.ttf\n"
    "Lymphatic-Italic = DejaVuSerifCondensed-Italic.ttf, DejaVuSerifCondensed-BoldItalic.ttf, "
    "DejaVuSerifCondensed-Italic.ttf, DejaVuSerifCondensed-BoldItalic.ttf\n"
    "MansonRegular = DejaVuSerif.ttf, DejaVuSerif-Bold.ttf, DejaVuSerif-Italic.ttf, DejaVuSerif-BoldItalic.ttf\n"
    "DejaVu Sans = DejaVuSans.ttf, DejaVuSans-Bold.ttf, DejaVuSans-Oblique.ttf, DejaVuSans-BoldOblique.ttf\n"
    "charset 204 = DejaVu Sans\n";

std::u16string Trim(std::u16string_view text)
{
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xFEFF; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    return std::u16string(text.substr(begin, end - begin));
}

std::u16string DecodeText(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        return text;
    }
    return plat::FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::unique_ptr<FontCatalogue> s_catalogue;

} // namespace

bool FontCatalogue::Parse(const std::vector<std::uint8_t>& bytes)
{
    m_Faces.clear();
    m_FoundFaces.clear();
    const std::u16string text = DecodeText(bytes);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(u'\n', pos);
        if (end == std::u16string::npos) {
            end = text.size();
        }
        const std::u16string line = Trim(std::u16string_view(text).substr(pos, end - pos));
        pos = end + 1;
        const std::size_t equals = line.find(u'=');
        if (line.empty() || line[0] == u'#' || equals == std::u16string::npos) {
            continue;
        }
        const std::u16string key = Trim(std::u16string_view(line).substr(0, equals));
        const std::u16string value = Trim(std::u16string_view(line).substr(equals + 1));
        if (key.empty() || value.empty()) {
            continue;
        }
        if (key.rfind(u"charset ", 0) == 0) {
            int charset = 0;
            if (ParseWStringInt(Trim(std::u16string_view(key).substr(8)), charset)) {
                m_FoundFaces[charset] = value;
            }
            continue;
        }
        FontFaceFiles files;
        std::size_t start = 0;
        for (std::size_t i = 0; i < files.files.size() && start <= value.size(); ++i) {
            std::size_t comma = value.find(u',', start);
            if (comma == std::u16string::npos) {
                comma = value.size();
            }
            files.files[i] = Trim(std::u16string_view(value).substr(start, comma - start));
            start = comma + 1;
        }
        if (!files.files[0].empty()) {
            m_Faces.emplace_back(key, files);
        }
    }
    return !m_Faces.empty();
}

void FontCatalogue::UseBuiltIn()
{
    Parse(std::vector<std::uint8_t>(BUILT_IN_TABLE.begin(), BUILT_IN_TABLE.end()));
}

const FontFaceFiles* FontCatalogue::Find(std::u16string_view face) const
{
    for (const auto& [name, files] : m_Faces) {
        if (EqualsNoCase(name, face)) {
            return &files;
        }
    }
    return nullptr;
}

bool FontCatalogue::HasFace(std::u16string_view face) const
{
    return Find(face) != nullptr;
}

ResolvedFace FontCatalogue::Resolve(std::u16string_view face, int pitchAndFamily, bool bold, bool italic) const
{
    const FontFaceFiles* files = Find(face);
    if (files == nullptr) {
        files = Find((pitchAndFamily & FAMILY_MASK) == FAMILY_ROMAN ? u"Times New Roman" : u"Arial");
    }
    ResolvedFace resolved;
    if (files == nullptr) {
        resolved.path = FontFilePath(u"DejaVuSans.ttf");
        resolved.embolden = bold;
        resolved.slant = italic;
        return resolved;
    }
    // Take the wanted style when the face has it, else synthesise what is missing from a style it has.
    const int wanted = (bold ? 1 : 0) + (italic ? 2 : 0);
    int chosen = wanted;
    if (files->files[chosen].empty()) {
        chosen = italic && !files->files[2].empty() ? 2 : (bold && !files->files[1].empty() ? 1 : 0);
    }
    resolved.path = FontFilePath(files->files[chosen]);
    resolved.embolden = bold && (chosen & 1) == 0;
    resolved.slant = italic && (chosen & 2) == 0;
    return resolved;
}

std::u16string FontCatalogue::FoundFace(int charset) const
{
    const auto it = m_FoundFaces.find(charset);
    return it == m_FoundFaces.end() ? std::u16string() : it->second;
}

const FontCatalogue& GetFontCatalogue()
{
    if (!s_catalogue) {
        ReloadFontCatalogue(CATALOGUE_PATH);
    }
    return *s_catalogue;
}

void ReloadFontCatalogue(std::u16string_view path)
{
    auto catalogue = std::make_unique<FontCatalogue>();
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(path, bytes) || !catalogue->Parse(bytes)) {
        plat::OutputDebugString(u"Font table " + std::u16string(path) +
                                u" not readable; using the system's DejaVu faces\n");
        catalogue->UseBuiltIn();
    }
    s_catalogue = std::move(catalogue);
}

std::u16string FontFilePath(std::u16string_view fileName)
{
    std::u16string local(FONT_FOLDER);
    local += fileName;
    if (plat::IsReadable(local)) {
        return local;
    }
    return plat::FromUtf8(plat::SystemFontFolder()) + u"/" + std::u16string(fileName);
}
