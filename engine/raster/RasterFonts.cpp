// The raster's 20 fonts per language, and its text submitters, immediate text and measuring.
#include "engine/raster/RasterFonts.h"

#include "engine/raster/FontCatalogue.h"
#include "engine/raster/Raster.h"
#include "engine/raster/RasterFont.h"
#include "engine/raster/RasterText.h"
#include "platform/Platform.h"

#include <algorithm>

namespace {

constexpr int FONT_FALLBACK = 2;
constexpr int LANG_ENGLISH_ID = 1;
constexpr int LANG_KOREAN_ID = 11;
constexpr int FAMILY_ROMAN_VARIABLE = 0x12;
constexpr int FAMILY_SWISS_VARIABLE = 0x22;
constexpr int DEFAULT_SCREEN_WIDTH = 1024;

constexpr std::u16string_view FACE_ARIAL = u"Arial";
constexpr std::u16string_view FACE_TIMES = u"Times New Roman";
constexpr std::u16string_view FACE_SMALL = u"Small Fonts";
constexpr std::u16string_view FACE_HEADING = u"Lymphatic";
constexpr std::u16string_view FACE_HEADING_ITALIC = u"Lymphatic-Italic";
constexpr std::u16string_view FACE_TITLE = u"MansonRegular";

} // namespace

void SetupRasterFonts(int languageId, int charset, int flags)
{
    GetRaster()->SetFontLanguage(languageId, charset, (flags & RASTER_FONTS_NEWER_SYSTEM) != 0,
                                 (flags & RASTER_FONTS_SYSTEM_XP) != 0);
}

void Raster::SetFontLanguage(int languageId, int charset, bool newerSystem, bool systemXP)
{
    m_FontLanguage = SavedFontLanguage{languageId, charset, newerSystem, systemXP};
    DeleteFonts();
    CreateFonts();
}

void Raster::DeleteFonts()
{
    m_Fonts.fill(nullptr);
    m_OwnedFonts.clear();
}

void Raster::CreateFonts()
{
    const int L = m_FontLanguage.languageId;
    const bool newer = m_FontLanguage.newerSystem;
    const bool xp = m_FontLanguage.systemXP;
    const int screenWidth = plat::GetScreenMetrics().width > 0 ? plat::GetScreenMetrics().width : DEFAULT_SCREEN_WIDTH;
    const auto scaled = [screenWidth](int n) { return std::min(screenWidth * n / 1000, n); };

    FontDescription base;
    base.charset = m_FontLanguage.charset;
    // The font search runs only on systems that lack the language's faces.
    std::u16string found;
    if ((!xp && L > 8) || (!newer && L > 6)) {
        found = GetFontCatalogue().FoundFace(base.charset);
        base.face = found;
    }
    const bool westernFaces = xp || L < 7 || (newer && L < 8);
    if (westernFaces) {
        base.face = FACE_ARIAL;
    }
    const int s = (L < 8 || L == LANG_KOREAN_ID) ? 14 : 15;
    const int t = std::min(screenWidth * 18 / 1000, 18);
    const int h1 = L == LANG_ENGLISH_ID ? 18 : 17;
    const int h2 = L == LANG_ENGLISH_ID ? 20 : 18;
    const int h3 = L == LANG_ENGLISH_ID ? 23 : (L < 8 ? 21 : 20);
    const int w2 = L == LANG_ENGLISH_ID ? 0 : (scaled(h2) <= 17 ? 6 : 0);

    std::u16string headingRegular;
    std::u16string headingItalic;
    if (newer && L <= 6) {
        headingRegular = FACE_HEADING;
        headingItalic = FACE_HEADING_ITALIC;
    } else if (L < 7 || (newer && L < 8)) {
        headingRegular = headingItalic = FACE_TIMES;
    } else if (!found.empty()) {
        headingRegular = headingItalic = found;
    } else {
        headingRegular = headingItalic = base.face;
    }
    const bool italicFaceIsItalic = headingItalic == FACE_HEADING_ITALIC;

    // One row per distinct font; the slot numbers that share it follow.
    struct Row {
        int slot;
        int height;
        int width;
        int weight;
        bool italic;
        bool underline;
        std::u16string face;
        int pitchAndFamily;
        int charset;
    };
    std::vector<Row> rows;
    const auto add = [&](int slot, int height, int width, int weight, bool italic, bool underline,
                         std::u16string face, int family = 0, int charset = -1) {
        rows.push_back(Row{slot, height, width, weight, italic, underline, std::move(face), family,
                           charset < 0 ? base.charset : charset});
    };
    const bool korean = L == LANG_KOREAN_ID;
    add(1, 20, 6, FONT_WEIGHT_NORMAL, false, false, base.face);
    add(4, s, 0, FONT_WEIGHT_NORMAL, false, false, base.face);
    add(5, s, 0, FONT_WEIGHT_BOLD, false, false, base.face);
    if (korean) {
        add(6, s - 1, 0, FONT_WEIGHT_NORMAL, false, false, u"", FAMILY_ROMAN_VARIABLE);
        add(7, t, 0, FONT_WEIGHT_NORMAL, false, true, found, FAMILY_SWISS_VARIABLE);
    } else {
        add(6, s - 1, 0, FONT_WEIGHT_NORMAL, true, false, base.face);
        add(7, t, 0, FONT_WEIGHT_NORMAL, false, true, base.face);
    }
    add(8, scaled(h1), 0, FONT_WEIGHT_BOLD, false, false, headingRegular);
    add(9, scaled(h1), scaled(h1) / 2, FONT_WEIGHT_BOLD, true, false, headingRegular);
    add(10, scaled(h1) - 1, 0, FONT_WEIGHT_BOLD, !italicFaceIsItalic, false, headingItalic);
    add(11, scaled(h2), w2, FONT_WEIGHT_NORMAL, false, false, headingRegular);
    add(12, scaled(h2), w2, FONT_WEIGHT_BOLD, false, false, headingRegular);
    add(13, scaled(h2), w2, FONT_WEIGHT_NORMAL, !italicFaceIsItalic, false, headingItalic);
    const std::u16string face14 = korean ? u"" : (westernFaces ? std::u16string(FACE_TIMES) : base.face);
    const int family14 = korean ? FAMILY_ROMAN_VARIABLE : 0;
    add(14, h3, 0, FONT_WEIGHT_NORMAL, false, false, face14, family14);
    add(15, h3, 0, FONT_WEIGHT_BOLD, false, false, face14, family14);
    add(16, h3, 0, FONT_WEIGHT_BOLD, true, false, face14, family14);
    const bool titleFaces = newer && L <= 6;
    if (titleFaces) {
        const int title = L == LANG_ENGLISH_ID ? 26 : 24;
        add(17, title, 0, FONT_WEIGHT_NORMAL, false, false, std::u16string(FACE_TITLE));
        add(18, title, 0, FONT_WEIGHT_BOLD, false, false, std::u16string(FACE_TITLE));
        add(19, title, 0, FONT_WEIGHT_NORMAL, true, false, std::u16string(FACE_TITLE));
    }
    add(3, L < 7 ? 9 : 14, 0, FONT_WEIGHT_NORMAL, false, false,
        std::u16string(L < 7 ? FACE_SMALL : FACE_ARIAL), 0, 0);

    for (const Row& row : rows) {
        FontDescription description;
        description.height = row.height;
        description.width = row.width;
        description.weight = row.weight;
        description.italic = row.italic;
        description.underline = row.underline;
        description.face = row.face;
        description.pitchAndFamily = row.pitchAndFamily;
        description.charset = row.charset;
        std::unique_ptr<RasterFont> font = RasterFont::Create(description);
        if (font) {
            m_Fonts[static_cast<std::size_t>(row.slot)] = font.get();
            m_OwnedFonts.push_back(std::move(font));
        }
    }
    m_Fonts[0] = m_Fonts[4];
    m_Fonts[2] = m_Fonts[11];
    if (!titleFaces) {
        m_Fonts[17] = m_Fonts[14];
        m_Fonts[18] = m_Fonts[15];
        m_Fonts[19] = m_Fonts[16];
    }
}

const RasterFont* Raster::GetFont(int font) const
{
    if (font < 0 || font >= RASTER_FONT_COUNT) {
        font = FONT_FALLBACK;
    }
    return m_Fonts[static_cast<std::size_t>(font)];
}

bool Raster::MeasureText(std::u16string_view text, int font, int& width, int& height, int& ascent) const
{
    const RasterFont* f = GetFont(font);
    if (f == nullptr) {
        return false;
    }
    width = TextLineWidth(*f, text);
    height = f->Height() + f->Metrics().externalLeading;
    ascent = f->Ascent();
    return true;
}

int Raster::GetFontHeight(int font) const
{
    const RasterFont* f = GetFont(font);
    return f == nullptr ? 0 : f->Height();
}

// ---- Text submitters -----------------------------------------------------------------------------------------

bool Raster::DrawText(const char16_t* text, const RasterRect& rect, int alignment, int font, std::uint32_t colour,
                      bool allowOverhang)
{
    if (text == nullptr) {
        return false;
    }
    return DrawText(std::u16string_view(text), rect, alignment, font, colour, allowOverhang);
}

bool Raster::DrawText(std::u16string_view text, const RasterRect& rect, int alignment, int font, std::uint32_t colour,
                      bool allowOverhang)
{
    if (!m_BackBuffer || m_QueuedCount >= MAX_QUEUED_PRIMITIVES) {
        return false;
    }
    DrawPrimitive record;
    record.flags = PRIM_TEXT | (allowOverhang ? PRIM_TEXT_OVERHANG : 0U);
    record.item = static_cast<std::int32_t>(m_TextStore.size());
    record.textLength = static_cast<std::int32_t>(text.size());
    record.x0 = static_cast<float>(rect.left);
    record.y0 = static_cast<float>(rect.top);
    record.x1 = static_cast<float>(rect.right);
    record.y1 = static_cast<float>(rect.bottom);
    record.w0 = static_cast<float>(font);
    record.w1 = static_cast<float>(colour & 0xFFFFFF);
    record.w2 = static_cast<float>(alignment);
    if (QueuePrimitive(record, static_cast<float>(m_TextDepth))) {
        m_TextStore.append(text);
    }
    return true;
}

bool Raster::DrawTextAt(std::u16string_view text, int x, int y, int font, std::uint32_t colour)
{
    return DrawText(text, RasterRect{x, y, -1, -1}, 0, font, colour, true);
}

bool Raster::DrawTextNow(std::u16string_view text, const RasterRect& rect, RasterRect* outRect, int alignment,
                         int font)
{
    DrawPrimitive record;
    record.flags = PRIM_TEXT;
    record.x0 = static_cast<float>(rect.left);
    record.y0 = static_cast<float>(rect.top);
    record.x1 = static_cast<float>(rect.right);
    record.y1 = static_cast<float>(rect.bottom);
    record.w0 = static_cast<float>(font);
    record.w1 = 0.0f;
    record.w2 = static_cast<float>(alignment);
    if (outRect == nullptr && !m_BackBuffer) {
        return false;
    }
    if (outRect == nullptr) {
        ResolvePendingClear(nullptr);
    }
    DrawTextPrimitive(text, record, outRect, BackBuffer());
    return true;
}

void Raster::DrawTextPrimitive(std::u16string_view text, const DrawPrimitive& record, RasterRect* outRect,
                               const PixelTarget& target) const
{
    const float fontNumber = record.w0;
    const int font =
        fontNumber >= 0.0f && fontNumber < RASTER_FONT_COUNT ? static_cast<int>(fontNumber) : FONT_FALLBACK;
    const RasterFont* f = GetFont(font);
    RasterRect rect{TruncCoordinate(record.x0), TruncCoordinate(record.y0), TruncCoordinate(record.x1),
                    TruncCoordinate(record.y1)};
    const int alignment = TruncCoordinate(record.w2);
    std::uint32_t format = TextFormatForAlignment(alignment, rect.right);
    if (outRect != nullptr) {
        format |= TEXT_CALCRECT;
    }
    // A first glyph that reaches left of its pen is moved right so that it is not cut off.
    if ((record.flags & PRIM_TEXT_OVERHANG) != 0 && !text.empty() && f != nullptr) {
        const int overhang = FirstGlyphOverhang(*f, text);
        if (overhang < 0) {
            format |= TEXT_NOCLIP;
            rect.left -= overhang;
            rect.right -= overhang;
        }
    }
    const std::uint32_t colour = static_cast<std::uint32_t>(record.w1);
    RenderText(f, text, rect, format, colour, &target, outRect);
}
