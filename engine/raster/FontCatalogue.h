// The face table: which TrueType file stands for each face name the raster's fonts ask for ("Arial", "Times New
// Roman", "Small Fonts", ...) and which face the font search finds for a character set. Read from
// data\fonts\fonts.cfg of the install folder; when that file cannot be read, a built-in table of the system's
// DejaVu faces is used and the fallback is logged.
#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Where a face's styles live: regular, bold, italic, bold italic (file names; empty when the face has none).
struct FontFaceFiles {
    std::array<std::u16string, 4> files;
};

// A file to open and the styles the rasteriser must synthesise because the file lacks them.
struct ResolvedFace {
    std::u16string path;
    bool embolden = false;
    bool slant = false;
};

class FontCatalogue {
public:
    // Reads the table from the text of a fonts.cfg (UTF-8, or UTF-16LE with a byte-order mark); lines it does not
    // understand are skipped. False when no face line was found.
    bool Parse(const std::vector<std::uint8_t>& bytes);
    void UseBuiltIn();

    // Face names compare without case; an empty or unknown name takes the face for its family (0x10 roman:
    // "Times New Roman", otherwise "Arial").
    ResolvedFace Resolve(std::u16string_view face, int pitchAndFamily, bool bold, bool italic) const;
    bool HasFace(std::u16string_view face) const;
    // The face the font search finds for a character set; empty when none.
    std::u16string FoundFace(int charset) const;

private:
    const FontFaceFiles* Find(std::u16string_view face) const;

    std::vector<std::pair<std::u16string, FontFaceFiles>> m_Faces;
    std::map<int, std::u16string> m_FoundFaces;
};

// The catalogue in use, loaded on first use from data\fonts\fonts.cfg (or built in).
const FontCatalogue& GetFontCatalogue();
// Loads the catalogue again from the given file (tests, language switches after an install).
void ReloadFontCatalogue(std::u16string_view path);
// Where a face file is opened from: data\fonts\ when the file is there, else the system's font folder.
std::u16string FontFilePath(std::u16string_view fileName);
