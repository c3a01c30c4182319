// Images drawn from readable descriptions (data/**/art/*.art, UTF-8) into 24-bit .bmp files, cached by content.
//
//   # a comment
//   template <name> [<param> | <param>=<default>] ...    a named list of drawing lines; "$param" in its lines
//     <drawing lines>                                   is replaced by the value given to "use"
//   end
//   image <path>.bmp <width> <height>                   one image, its path under the output folder
//     <drawing lines>
//   end
//   image <path>.bmp <width> <height> use <template> <param>=<value> ...      an image of one template, one line
// A path ending in .chp gives a 16-bit pixel file, .spk a sprite pack; "frames=<n>" after the size cuts the
// canvas into n columns of equal width, one frame each (W is the whole strip). Opaque colours darker than the
// 16-bit formats keep are lifted to (8, 8, 8): exact black is the transparent colour key and nothing else, and
// a shape's edge over it is cut whole rather than blended towards black.
// A path may hold one group "{a,b,...}": the same picture is written once for each ("res_{en,fr}\1.bmp").
//
// Drawing lines (positions and sizes are integer expressions of numbers, W and H (the canvas size), + - * /
// and parentheses, written without blanks; colours are #rrggbb or #rrggbbaa, the last pair blending):
//   fill <colour>
//   rect <x> <y> <w> <h> <colour>
//   gradient <x> <y> <w> <h> <from> <to> [horizontal]       top to bottom unless horizontal
//   radial <x> <y> <w> <h> <inner> <outer>                  centre to edge of the inscribed ellipse
//   frame <x> <y> <w> <h> <colour> [<thickness>]
//   bevel <x> <y> <w> <h> <face> <light> <dark> [<thickness>] [sunken]
//   ellipse <x> <y> <w> <h> <colour>
//   poly <x1> <y1> <x2> <y2> <x3> <y3> ... <colour>          a filled outline of three or more corners
//   noise <x> <y> <w> <h> <amount> [<seed>]
//   text <x> <y> <w> <h> "<text>" [font=<DejaVu face>] [size=<px>] [colour=<colour>] [align=left|centre|right]
//        [shadow=<colour>]                                  '|' breaks the line; centred vertically in the box
//   origin <x> <y>                                          where the lines after it put 0 0 (to draw a part of
//                                                           a larger picture, such as a title over its backdrop)
//   use <template> <param>=<value> ...
// Values with blanks are written in double quotes. Templates are known from their definition on, also in the
// files read after it (files are read in name order).
#pragma once

#include "tools/Diagnostics.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace datac {

struct ArtImage {
    std::string path;  // relative to the output folder, with '/'
    std::vector<std::uint8_t> bmp;  // the file's bytes, whatever its kind
    std::string sourceName;
    int line = 0;
};

// Reads descriptions and draws their images; a faulty line is reported and its image left out. The cache
// folder (empty: none) keeps drawn images by the hash of their expanded description and faces.
class ArtCompiler {
public:
    explicit ArtCompiler(std::string cacheFolder = {});

    bool AddSource(std::string_view sourceName, std::string_view text, Diagnostics& diagnostics);
    const std::vector<ArtImage>& Images() const { return m_images; }
    // Images drawn rather than taken from the cache.
    std::size_t DrawnCount() const { return m_drawn; }

private:
    struct Template {
        std::vector<std::string> params;
        std::vector<std::string> defaults;  // "" with a flag below when required
        std::vector<bool> required;
        std::vector<std::pair<int, std::string>> lines;
        std::string sourceName;
    };
    struct Pending;

    bool Finish(Pending& image, Diagnostics& diagnostics);

    std::string m_cacheFolder;
    std::vector<std::pair<std::string, Template>> m_templates;
    std::vector<ArtImage> m_images;
    std::size_t m_drawn = 0;
};

// Every *.art file below sourceFolder's art folders; each image written under outputFolder when it changed.
// Generated sources (name, text) follow the files, so they may use the files' templates.
bool CompileArtFiles(const std::vector<std::string>& sourcePaths, const std::string& outputFolder,
                     const std::string& cacheFolder, Diagnostics& diagnostics,
                     const std::vector<std::pair<std::string, std::string>>& generated = {});

} // namespace datac
