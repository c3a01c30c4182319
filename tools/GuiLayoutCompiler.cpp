#include "tools/GuiLayoutCompiler.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_Interface.h"
#include "gui/GUI_Label.h"
#include "gui/GUI_Picture.h"
#include "gui/GUI_TextButton.h"
#include "gui/GUI_Window.h"
#include "gui/LayoutRecords.h"
#include "platform/Platform.h"
#include "tools/OutputFile.h"
#include "tools/SourceText.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <memory>

namespace datac {

namespace {

constexpr std::string_view LAYOUT_SUFFIX = ".gui.txt";
constexpr std::string_view LAYOUT_OUT_FOLDER = "GUI/Interfaces/";

// Which kinds a field belongs to.
constexpr unsigned K_ALL = 0x1F;
constexpr unsigned K_LABEL = 0x2;
constexpr unsigned K_PICTURE = 0x4;
constexpr unsigned K_BUTTON = 0x8;
constexpr unsigned K_TEXTBUTTON = 0x10;

struct KindName {
    std::string_view name;
    unsigned bit;
};
constexpr KindName KINDS[] = {
    {"window", 0x1}, {"label", K_LABEL}, {"picture", K_PICTURE}, {"button", K_BUTTON}, {"textbutton", K_TEXTBUTTON},
};

std::unique_ptr<GUI_Window> MakeWindow(unsigned kind)
{
    switch (kind) {
    case K_LABEL:
        return std::make_unique<GUI_Label>();
    case K_PICTURE:
        return std::make_unique<GUI_Picture>();
    case K_BUTTON:
        return std::make_unique<GUI_Button>();
    case K_TEXTBUTTON:
        return std::make_unique<GUI_TextButton>();
    default:
        return std::make_unique<GUI_Window>(GUI_KIND_WINDOW);
    }
}

// ---- Values ---------------------------------------------------------------------------------------------------

bool Ints(std::string_view value, int* out, std::size_t count, std::string& error)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t comma = value.find(',');
        const std::string_view part = i + 1 < count ? value.substr(0, comma) : value;
        if ((i + 1 < count && comma == std::string_view::npos)) {
            error = "expects " + std::to_string(count) + " numbers separated by commas";
            return false;
        }
        const auto result = std::from_chars(part.data(), part.data() + part.size(), out[i]);
        if (result.ec != std::errc() || result.ptr != part.data() + part.size()) {
            error = "'" + std::string(part) + "' is not a whole number";
            return false;
        }
        if (i + 1 < count)
            value.remove_prefix(comma + 1);
    }
    return true;
}

bool Bool(std::string_view value, bool& out, std::string& error)
{
    if (value == "0" || value == "1") {
        out = value == "1";
        return true;
    }
    error = "expects 0 or 1";
    return false;
}

bool Colour(std::string_view value, GUI_Colour& out, std::string& error)
{
    int c[4] = {};
    if (!Ints(value, c, 4, error))
        return false;
    for (const int component : c) {
        if (component < 0 || component > 255) {
            error = "colour components lie in 0..255";
            return false;
        }
    }
    out = {static_cast<std::uint32_t>(c[0]), static_cast<std::uint32_t>(c[1]), static_cast<std::uint32_t>(c[2]),
           static_cast<std::uint32_t>(c[3])};
    return true;
}

bool BytePair(std::string_view value, std::uint8_t& a, std::uint8_t& b, std::string& error)
{
    int v[2] = {};
    if (!Ints(value, v, 2, error))
        return false;
    if (v[0] < 0 || v[0] > 255 || v[1] < 0 || v[1] > 255) {
        error = "expects numbers in 0..255";
        return false;
    }
    a = static_cast<std::uint8_t>(v[0]);
    b = static_cast<std::uint8_t>(v[1]);
    return true;
}

std::u16string Text(std::string_view value)
{
    return plat::FromUtf8(value);
}

// ---- Field tables -----------------------------------------------------------------------------------------------

using Apply = bool (*)(GUI_Window& w, int look, std::string_view value, std::string& error);

struct Field {
    std::string_view key;
    unsigned kinds;
    Apply apply;
};

GUI_Label& AsLabel(GUI_Window& w)
{
    return *WindowCast<GUI_Label>(&w);
}

GUI_Picture& AsPicture(GUI_Window& w)
{
    return *WindowCast<GUI_Picture>(&w);
}

GUI_Button& AsButton(GUI_Window& w)
{
    return *WindowCast<GUI_Button>(&w);
}

GUI_TextButton& AsTextButton(GUI_Window& w)
{
    return *WindowCast<GUI_TextButton>(&w);
}

const Field WINDOW_FIELDS[] = {
    {"name", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string&) { w.SetName(Text(v)); return true; }},
    {"kind", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int kind = 0;
         if (!Ints(v, &kind, 1, e))
             return false;
         if (kind < 0) {
             e = "expects a kind code of 0 or more";
             return false;
         }
         w.SetKind(static_cast<std::uint32_t>(kind));
         return true;
     }},
    {"rect", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int r[4] = {};
         if (!Ints(v, r, 4, e))
             return false;
         if (r[2] < r[0] || r[3] < r[1]) {
             e = "right and bottom must not lie left of or above left and top";
             return false;
         }
         w.SetRect(r[0], r[1], r[2], r[3], true);
         return true;
     }},
    {"transparent", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         bool b = false;
         return Bool(v, b, e) && (w.SetMouseTransparent(b), true);
     }},
    {"hidden", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         bool b = false;
         return Bool(v, b, e) && (w.SetHidden(b), true);
     }},
    {"border", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int mode = 0;
         if (!Ints(v, &mode, 1, e))
             return false;
         if (mode < BORDER_NONE || mode > BORDER_FRAME) {
             e = "border is 0 (none), 1 (skin) or 2 (frame)";
             return false;
         }
         w.SetBorderMode(mode);
         return true;
     }},
    {"inset", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int i[2] = {};
         return Ints(v, i, 2, e) && (w.SetFrameInset(i[0], i[1]), true);
     }},
    {"bordercolour", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         GUI_Colour c;
         return Colour(v, c, e) && (w.SetBorderColour(c), true);
     }},
    {"borderalpha", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         bool b = false;
         return Bool(v, b, e) && (w.SetBorderAlpha(b), true);
     }},
    {"skin", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string&) { w.SetSkin(Text(v), false, true); return true; }},
    {"background", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         bool b = false;
         return Bool(v, b, e) && (w.SetDrawBackground(b), true);
     }},
    {"bgimage", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string&) { w.SetBackgroundImage(Text(v), false); return true; }},
    {"secondcolour", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Colour(v, w.m_SecondColour, e); }},
    {"bgalpha", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         bool b = false;
         return Bool(v, b, e) && (w.SetBackgroundAlpha(b), true);
     }},
    {"anchor", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         return BytePair(v, w.m_HorizontalAnchor, w.m_VerticalAnchor, e);
     }},
    {"stretch", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int s[2] = {};
         if (!Ints(v, s, 2, e))
             return false;
         w.m_bStretchHorizontally = s[0] != 0;
         w.m_bStretchVertically = s[1] != 0;
         return true;
     }},
    {"language", K_ALL, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         bool b = false;
         return Bool(v, b, e) && (w.SetImagesFromLanguageFolder(b), true);
     }},

    // Labels and the label part of text buttons.
    {"text", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string&) { AsLabel(w).SetTextKeyOnly(Text(v)); return true; }},
    {"font", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int font = 0;
         return Ints(v, &font, 1, e) && (AsLabel(w).SetFont(font), true);
     }},
    {"colour", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         GUI_Colour c;
         return Colour(v, c, e) && (AsLabel(w).SetTextColour(c), true);
     }},
    {"flaga", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Bool(v, AsLabel(w).m_bFlagA, e); }},
    {"align", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int a[2] = {};
         return Ints(v, a, 2, e) && (AsLabel(w).SetAlignment(a[0], a[1]), true);
     }},
    {"valueb", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int n = 0;
         return Ints(v, &n, 1, e) && (AsLabel(w).m_ValueB = static_cast<std::uint32_t>(n), true);
     }},
    {"margins", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int m[4] = {};
         return Ints(v, m, 4, e) && (AsLabel(w).SetMargins(m[0], m[1], m[2], m[3]), true);
     }},
    {"flagc", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Bool(v, AsLabel(w).m_bFlagC, e); }},
    {"valued", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int n = 0;
         return Ints(v, &n, 1, e) && (AsLabel(w).m_ValueD = static_cast<std::uint32_t>(n), true);
     }},
    {"formatted", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         bool b = false;
         return Bool(v, b, e) && (AsLabel(w).SetFormatted(b), true);
     }},
    {"fit", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         bool b = false;
         return Bool(v, b, e) && (AsLabel(w).SetFitToText(b, false), true);
     }},
    {"shadow", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         bool b = false;
         return Bool(v, b, e) && (AsLabel(w).SetShadow(b), true);
     }},
    {"shadowcolour", K_LABEL | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         GUI_Colour c;
         return Colour(v, c, e) && (AsLabel(w).SetShadowColour(c), true);
     }},

    // Pictures.
    {"image", K_PICTURE, [](GUI_Window& w, int, std::string_view v, std::string&) { AsPicture(w).SetImage(Text(v), false); return true; }},
    {"colour", K_PICTURE, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Colour(v, AsPicture(w).m_Colour, e); }},
    {"alpha", K_PICTURE, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Bool(v, AsPicture(w).m_bAlpha, e); }},
    {"imagestretch", K_PICTURE, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int s[2] = {};
         if (!Ints(v, s, 2, e))
             return false;
         AsPicture(w).m_bImageStretchH = s[0] != 0;
         AsPicture(w).m_bImageStretchV = s[1] != 0;
         return true;
     }},
    {"imagealign", K_PICTURE, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int a[2] = {};
         if (!Ints(v, a, 2, e))
             return false;
         AsPicture(w).m_HorizontalAlignment = a[0];
         AsPicture(w).m_VerticalAlignment = a[1];
         return true;
     }},
    {"values", K_PICTURE, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int n[8] = {};
         if (!Ints(v, n, 8, e))
             return false;
         for (int i = 0; i < 8; ++i)
             AsPicture(w).m_StoredValues[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(n[i]);
         return true;
     }},
    {"imagelanguage", K_PICTURE, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Bool(v, AsPicture(w).m_bImageFromLanguage, e); }},

    // Buttons and the button part of text buttons.
    {"effect", K_BUTTON | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         int n = 0;
         return Ints(v, &n, 1, e) && (AsButton(w).SetClickEffect(static_cast<std::uint32_t>(n)), true);
     }},
    {"usemask", K_BUTTON | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Bool(v, AsButton(w).m_bUseHitMask, e); }},
    {"mask", K_BUTTON | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string&) { AsButton(w).LoadHitMask(Text(v), false); return true; }},
    {"maskstretch", K_BUTTON | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         return BytePair(v, AsButton(w).m_HitMaskStretchH, AsButton(w).m_HitMaskStretchV, e);
     }},
    {"masklanguage", K_BUTTON | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Bool(v, AsButton(w).m_bHitMaskFromLanguage, e); }},
    {"maskalign", K_BUTTON | K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) {
         return BytePair(v, AsButton(w).m_HitMaskAlignH, AsButton(w).m_HitMaskAlignV, e);
     }},

    // Text buttons.
    {"pressedcolour", K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Colour(v, AsTextButton(w).m_PressedTextColour, e); }},
    {"highlightcolour", K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Colour(v, AsTextButton(w).m_HighlightedTextColour, e); }},
    {"disabledcolour", K_TEXTBUTTON, [](GUI_Window& w, int, std::string_view v, std::string& e) { return Colour(v, AsTextButton(w).m_DisabledTextColour, e); }},
};

// The fields of each button look, after its prefix (up., down., over., disabled.).
const Field LOOK_FIELDS[] = {
    {"show", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) { return Bool(v, AsButton(w).GetLook(static_cast<ButtonLook>(look)).show, e); }},
    {"image", 0, [](GUI_Window& w, int look, std::string_view v, std::string&) { AsButton(w).GetLook(static_cast<ButtonLook>(look)).file = Text(v); return true; }},
    {"background", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) { return Colour(v, AsButton(w).GetLook(static_cast<ButtonLook>(look)).background, e); }},
    {"frame", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) { return Colour(v, AsButton(w).GetLook(static_cast<ButtonLook>(look)).frame, e); }},
    {"bgalpha", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) { return Bool(v, AsButton(w).GetLook(static_cast<ButtonLook>(look)).backgroundAlpha, e); }},
    {"borderalpha", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) { return Bool(v, AsButton(w).GetLook(static_cast<ButtonLook>(look)).borderAlpha, e); }},
    {"clip", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) { return Bool(v, AsButton(w).GetLook(static_cast<ButtonLook>(look)).clip, e); }},
    {"border", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) { return Bool(v, AsButton(w).GetLook(static_cast<ButtonLook>(look)).border, e); }},
    {"mode", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) {
         ButtonLookData& data = AsButton(w).GetLook(static_cast<ButtonLook>(look));
         return BytePair(v, data.modeH, data.modeV, e);
     }},
    {"language", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) { return Bool(v, AsButton(w).GetLook(static_cast<ButtonLook>(look)).fromLanguage, e); }},
    {"align", 0, [](GUI_Window& w, int look, std::string_view v, std::string& e) {
         ButtonLookData& data = AsButton(w).GetLook(static_cast<ButtonLook>(look));
         return BytePair(v, data.alignH, data.alignV, e);
     }},
};

constexpr std::string_view LOOK_PREFIXES[LOOK_COUNT] = {"up.", "down.", "over.", "disabled."};

// ---- Lines --------------------------------------------------------------------------------------------------------

struct Pair {
    std::string key;
    std::string value;
};

// key=value pairs; a value in double quotes may hold blanks. False with a reason on a malformed pair.
bool SplitPairs(std::string_view text, std::vector<Pair>& out, std::string& error)
{
    std::size_t pos = 0;
    while ((pos = text.find_first_not_of(" \t", pos)) != std::string_view::npos) {
        const std::size_t equals = text.find('=', pos);
        const std::size_t blank = text.find_first_of(" \t", pos);
        if (equals == std::string_view::npos || (blank != std::string_view::npos && blank < equals)) {
            error = "expected key=value at '" + std::string(text.substr(pos, blank == std::string_view::npos ? std::string_view::npos : blank - pos)) + "'";
            return false;
        }
        Pair pair;
        pair.key = std::string(text.substr(pos, equals - pos));
        pos = equals + 1;
        if (pos < text.size() && text[pos] == '"') {
            const std::size_t close = text.find('"', pos + 1);
            if (close == std::string_view::npos) {
                error = "a quoted value of " + pair.key + " has no closing quote";
                return false;
            }
            pair.value = std::string(text.substr(pos + 1, close - pos - 1));
            pos = close + 1;
        } else {
            const std::size_t end = text.find_first_of(" \t", pos);
            pair.value = std::string(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
            pos = end == std::string_view::npos ? text.size() : end;
        }
        out.push_back(std::move(pair));
    }
    return true;
}

// The fields that name a file under the data folder.
bool IsPathField(std::string_view key)
{
    return key == "skin" || key == "bgimage" || key == "image" || key == "mask" || key.ends_with(".image");
}

// What the loader would refuse or read otherwise is refused here, on its line.
bool CheckValue(const Pair& pair, std::string& error)
{
    if (plat::FromUtf8(pair.value).size() > RECORD_STRING_MAX) {
        error = "a text holds at most " + std::to_string(RECORD_STRING_MAX) + " units";
        return false;
    }
    if (IsPathField(pair.key) && LeavesDataFolder(pair.value)) {
        error = "the path " + pair.value + " leaves the data folder";
        return false;
    }
    return true;
}

bool ApplyField(GUI_Window& window, unsigned kind, const Pair& pair, std::string& error)
{
    if (!CheckValue(pair, error))
        return false;
    for (const Field& field : WINDOW_FIELDS) {
        if (field.key == pair.key && (field.kinds & kind) != 0)
            return field.apply(window, -1, pair.value, error);
    }
    if ((kind & (K_BUTTON | K_TEXTBUTTON)) != 0) {
        for (int look = 0; look < LOOK_COUNT; ++look) {
            if (!pair.key.starts_with(LOOK_PREFIXES[look]))
                continue;
            const std::string_view rest = std::string_view(pair.key).substr(LOOK_PREFIXES[look].size());
            for (const Field& field : LOOK_FIELDS) {
                if (field.key == rest)
                    return field.apply(window, look, pair.value, error);
            }
        }
    }
    error = "unknown field " + pair.key;
    return false;
}

struct Open {
    int indent;
    GUI_Window* window;
};

} // namespace

bool CompileGuiLayout(std::string_view source, const std::string& fileName, std::vector<std::uint8_t>& out,
                      Diagnostics& diagnostics)
{
    const std::size_t errorsBefore = diagnostics.Messages().size();
    if (!CheckUtf8Source(source, fileName, diagnostics))
        return false;
    GUI_Interface screen;
    bool sawScreen = false;
    std::vector<Open> open;
    std::string_view line;
    int number = 0;
    while (NextSourceLine(source, line)) {
        ++number;
        const std::string text = TrimBlanks(line);
        if (text.empty() || text.starts_with('#'))
            continue;
        if (line.find('\t') < line.find_first_not_of(" \t")) {
            diagnostics.Error(fileName, number, "indent with spaces, not tabs");
            continue;
        }
        const int indent = static_cast<int>(line.find_first_not_of(' '));
        const std::size_t kindEnd = text.find_first_of(" \t");
        const std::string kindName = text.substr(0, kindEnd);
        if (!sawScreen) {
            if (kindName != "screen" || kindEnd != std::string::npos)
                diagnostics.Error(fileName, number, "a layout begins with the line \"screen\"");
            sawScreen = true;
            continue;
        }
        unsigned kind = 0;
        for (const KindName& k : KINDS) {
            if (k.name == kindName)
                kind = k.bit;
        }
        if (kind == 0) {
            diagnostics.Error(fileName, number, "unknown window kind " + kindName);
            continue;
        }
        std::unique_ptr<GUI_Window> window = MakeWindow(kind);
        std::vector<Pair> pairs;
        std::string error;
        if (!SplitPairs(kindEnd == std::string::npos ? std::string_view() : std::string_view(text).substr(kindEnd), pairs,
                        error)) {
            diagnostics.Error(fileName, number, error);
            continue;
        }
        for (const Pair& pair : pairs) {
            if (!ApplyField(*window, kind, pair, error))
                diagnostics.Error(fileName, number, pair.key + ": " + error);
        }
        while (!open.empty() && open.back().indent >= indent)
            open.pop_back();
        if (open.size() > static_cast<std::size_t>(MAX_RECORD_NESTING)) {
            diagnostics.Error(fileName, number,
                              "a window nested " + std::to_string(open.size()) +
                                  " levels deep; the program keeps none deeper than " +
                                  std::to_string(MAX_RECORD_NESTING));
            continue;
        }
        GUI_Window* const raw = window.get();
        if (open.empty())
            screen.AddWindow(window.release());
        else
            open.back().window->AddChild(window.release());
        open.push_back({indent, raw});
    }
    if (!sawScreen)
        diagnostics.Error(fileName, std::max(number, 1), "ends without a \"screen\" line");
    RecordWriter writer;
    if (!screen.Save(writer))
        diagnostics.Error(fileName, "a text is longer than 32767 units");
    out = writer.Bytes();
    return diagnostics.Messages().size() == errorsBefore;
}

bool CompileGuiLayoutFiles(const std::vector<std::string>& sources, const std::string& outFolder,
                           Diagnostics& diagnostics)
{
    bool ok = true;
    for (const std::string& path : sources) {
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(plat::FromUtf8(path), bytes)) {
            diagnostics.Error(path, "cannot be read");
            ok = false;
            continue;
        }
        std::vector<std::uint8_t> compiled;
        if (!CompileGuiLayout(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path,
                              compiled, diagnostics)) {
            ok = false;
            continue;
        }
        std::string name = std::filesystem::path(path).filename().string();
        name.resize(name.size() - LAYOUT_SUFFIX.size());
        const std::string target = outFolder + "/" + std::string(LAYOUT_OUT_FOLDER) + name + ".GUI";
        if (WriteIfChanged(target, compiled) == WriteResult::Failed) {
            diagnostics.Error(target, "cannot be written");
            ok = false;
        }
    }
    return ok;
}

} // namespace datac
