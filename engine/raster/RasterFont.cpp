#include "engine/raster/RasterFont.h"

#include "engine/raster/FontCatalogue.h"

std::unique_ptr<RasterFont> RasterFont::Create(const FontDescription& description)
{
    const bool bold = description.weight >= FONT_WEIGHT_BOLD_FROM;
    const ResolvedFace resolved =
        GetFontCatalogue().Resolve(description.face, description.pitchAndFamily, bold, description.italic);
    plat::FontRequest request;
    request.file = resolved.path;
    request.cellHeight = description.height;
    request.averageWidth = description.width;
    request.embolden = resolved.embolden;
    request.slant = resolved.slant;
    plat::FontHandle handle = plat::OpenFont(request);
    if (handle == 0) {
        // The table named a file that is not there: the system's sans face still gives text.
        request.file = FontFilePath(u"DejaVuSans.ttf");
        request.embolden = bold;
        request.slant = description.italic;
        handle = plat::OpenFont(request);
        if (handle == 0) {
            plat::OutputDebugString(u"No font file for face \"" + description.face + u"\"\n");
            return nullptr;
        }
        plat::OutputDebugString(u"Font file " + resolved.path + u" not readable; using DejaVuSans.ttf\n");
    }
    return std::unique_ptr<RasterFont>(new RasterFont(description, handle));
}

RasterFont::RasterFont(const FontDescription& description, plat::FontHandle handle)
    : m_Description(description), m_Handle(handle)
{
    plat::GetFontMetrics(handle, m_Metrics);
}

RasterFont::~RasterFont()
{
    plat::CloseFont(m_Handle);
}

plat::Glyph RasterFont::GlyphOf(char32_t codePoint) const
{
    if (codePoint < CACHED_GLYPHS) {
        if (!m_GlyphCached[codePoint]) {
            plat::GetGlyph(m_Handle, codePoint, m_Glyphs[codePoint]);
            m_GlyphCached[codePoint] = true;
        }
        return m_Glyphs[codePoint];
    }
    plat::Glyph glyph;
    plat::GetGlyph(m_Handle, codePoint, glyph);
    return glyph;
}
