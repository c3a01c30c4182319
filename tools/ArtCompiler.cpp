#include "tools/ArtCompiler.h"

#include "tools/ArtCanvas.h"
#include "tools/ContentHash.h"
#include "tools/OutputFile.h"
#include "tools/SourceText.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

namespace datac {

namespace {

// Part of every cache name: a change of the drawing code draws every image again.
constexpr std::string_view ART_VERSION = "art 3";
constexpr int MAX_SIDE = 4096;
constexpr int MAX_TEMPLATE_DEPTH = 8;
constexpr char DEFAULT_FACE[] = "DejaVuSans";

struct Token {
    std::string text;
    bool quoted = false;   // it held a quoted part
    bool literal = false;  // it began with a quote: never an option, whatever it holds
};

// Splits at blanks; double quotes group (and are dropped), also after "key=".
bool Tokenize(std::string_view line, std::vector<Token>& out, std::string& error)
{
    out.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        Token token;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            if (line[i] == '"') {
                token.literal = token.literal || token.text.empty();
                const std::size_t close = line.find('"', i + 1);
                if (close == std::string_view::npos) {
                    error = "a quote is not closed";
                    return false;
                }
                token.text += line.substr(i + 1, close - i - 1);
                token.quoted = true;
                i = close + 1;
            } else {
                token.text += line[i++];
            }
        }
        out.push_back(std::move(token));
    }
    return true;
}

std::uint64_t Fnv1a(std::string_view text, std::uint64_t hash = 14695981039346656037ull)
{
    for (const char ch : text) {
        hash ^= static_cast<unsigned char>(ch);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(std::uint64_t value)
{
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(value));
    return buffer;
}

// Integer expressions of numbers, W, H, + - * / and parentheses.
class Expression {
public:
    Expression(std::string_view text, int width, int height) : m_text(text), m_width(width), m_height(height) {}

    std::optional<int> Evaluate()
    {
        const std::optional<long long> value = Sum();
        if (!value || m_at != m_text.size() || *value < -1000000 || *value > 1000000)
            return std::nullopt;
        return static_cast<int>(*value);
    }

private:
    std::optional<long long> Sum()
    {
        std::optional<long long> value = Product();
        while (value && m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-')) {
            const char op = m_text[m_at++];
            const std::optional<long long> right = Product();
            if (!right)
                return std::nullopt;
            value = op == '+' ? *value + *right : *value - *right;
        }
        return value;
    }

    std::optional<long long> Product()
    {
        std::optional<long long> value = Unit();
        while (value && m_at < m_text.size() && (m_text[m_at] == '*' || m_text[m_at] == '/')) {
            const char op = m_text[m_at++];
            const std::optional<long long> right = Unit();
            if (!right || (op == '/' && *right == 0))
                return std::nullopt;
            value = op == '*' ? *value * *right : *value / *right;
        }
        return value;
    }

    std::optional<long long> Unit()
    {
        if (m_at >= m_text.size() || ++m_depth > 32)
            return std::nullopt;
        const char ch = m_text[m_at];
        if (ch == '-') {
            ++m_at;
            const std::optional<long long> value = Unit();
            return value ? std::optional<long long>(-*value) : std::nullopt;
        }
        if (ch == '(') {
            ++m_at;
            const std::optional<long long> value = Sum();
            if (!value || m_at >= m_text.size() || m_text[m_at] != ')')
                return std::nullopt;
            ++m_at;
            return value;
        }
        if (ch == 'W' || ch == 'H') {
            ++m_at;
            return ch == 'W' ? m_width : m_height;
        }
        long long value = 0;
        const std::size_t start = m_at;
        while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9' && value < 10000000)
            value = value * 10 + (m_text[m_at++] - '0');
        if (m_at == start)
            return std::nullopt;
        return value;
    }

    std::string_view m_text;
    int m_width;
    int m_height;
    std::size_t m_at = 0;
    int m_depth = 0;
};

std::optional<ArtColour> ParseColour(std::string_view text)
{
    if (!text.starts_with('#') || (text.size() != 7 && text.size() != 9))
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char ch = text[i];
        const int digit = ch >= '0' && ch <= '9'   ? ch - '0'
                          : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                          : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                   : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    if (text.size() == 7)
        return ArtColour{value, 255};
    return ArtColour{value >> 8, static_cast<int>(value & 0xFF)};
}

bool FaceNameIsPlain(std::string_view name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char ch) {
        return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-';
    });
}

std::string FacePath(std::string_view name)
{
    return plat::SystemFontFolder() + "/" + std::string(name) + ".ttf";
}

// One expanded drawing line: its tokens and where it came from.
struct DrawLine {
    std::vector<Token> tokens;
    std::string sourceName;
    int line = 0;
};

// Draws one line; false with a reason.
class Painter {
public:
    explicit Painter(ArtCanvas& canvas) : m_canvas(canvas) {}

    bool Draw(const std::vector<Token>& tokens, std::string& error)
    {
        m_options.clear();
        m_positional.clear();
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            const std::size_t equals = tokens[i].text.find('=');
            if (equals != std::string::npos && equals > 0 && !tokens[i].literal)
                m_options[tokens[i].text.substr(0, equals)] = tokens[i].text.substr(equals + 1);
            else
                m_positional.push_back(tokens[i].text);
        }
        const std::string& kind = tokens[0].text;
        if (kind == "fill")
            return Need(1, 1, error) && Colour(0, error) &&
                   (m_canvas.Fill({0, 0, W(), H()}, *m_colour), true);
        if (kind == "rect")
            return Need(5, 5, error) && Box(error) && Colour(4, error) && (m_canvas.Fill(m_box, *m_colour), true);
        if (kind == "gradient") {
            if (!Need(6, 7, error) || !Box(error) || !Colour(4, error))
                return false;
            const ArtColour from = *m_colour;
            if (!Colour(5, error))
                return false;
            const bool horizontal = m_positional.size() == 7 && m_positional[6] == "horizontal";
            if (m_positional.size() == 7 && !horizontal)
                return Fail(error, "expected 'horizontal', not '" + m_positional[6] + "'");
            m_canvas.Gradient(m_box, from, *m_colour, horizontal);
            return true;
        }
        if (kind == "radial") {
            if (!Need(6, 6, error) || !Box(error) || !Colour(4, error))
                return false;
            const ArtColour inner = *m_colour;
            return Colour(5, error) && (m_canvas.Radial(m_box, inner, *m_colour), true);
        }
        if (kind == "frame") {
            int thickness = 1;
            return Need(5, 6, error) && Box(error) && Colour(4, error) && Number(5, 1, thickness, error) &&
                   (m_canvas.Frame(m_box, *m_colour, thickness), true);
        }
        if (kind == "bevel")
            return DrawBevel(error);
        if (kind == "ellipse")
            return Need(5, 5, error) && Box(error) && Colour(4, error) && (m_canvas.Ellipse(m_box, *m_colour), true);
        if (kind == "poly") {
            if (m_positional.size() < 7 || m_positional.size() % 2 == 0)
                return Fail(error, "expected three or more corners (x y) and a colour");
            std::vector<int> corners(m_positional.size() - 1);
            for (std::size_t i = 0; i < corners.size(); ++i) {
                if (!Evaluate(m_positional[i], corners[i], error))
                    return false;
                corners[i] += i % 2 == 0 ? m_originX : m_originY;
            }
            return Colour(m_positional.size() - 1, error) && (m_canvas.Polygon(corners, *m_colour), true);
        }
        if (kind == "noise") {
            int amount = 0;
            int seed = 1;
            return Need(5, 6, error) && Box(error) && Number(4, 0, amount, error) && Number(5, 1, seed, error) &&
                   (m_canvas.Noise(m_box, std::min(amount, 255), static_cast<std::uint32_t>(seed)), true);
        }
        if (kind == "text")
            return DrawText(error);
        if (kind == "origin")
            return Need(2, 2, error) && Evaluate(m_positional[0], m_originX, error) &&
                   Evaluate(m_positional[1], m_originY, error);
        return Fail(error, "unknown drawing '" + kind + "'");
    }

    // The faces the line uses, for the cache name.
    static std::string FaceOf(const std::vector<Token>& tokens)
    {
        if (tokens.empty() || tokens[0].text != "text")
            return {};
        for (const Token& token : tokens) {
            if (token.text.starts_with("font="))
                return token.text.substr(5);
        }
        return DEFAULT_FACE;
    }

private:
    int W() const { return m_canvas.Width(); }
    int H() const { return m_canvas.Height(); }

    static bool Fail(std::string& error, std::string reason)
    {
        error = std::move(reason);
        return false;
    }

    bool Need(std::size_t least, std::size_t most, std::string& error) const
    {
        if (m_positional.size() >= least && m_positional.size() <= most)
            return true;
        error = "expected " + std::to_string(least) + (most > least ? " to " + std::to_string(most) : "") +
                " values, found " + std::to_string(m_positional.size());
        return false;
    }

    bool Number(std::size_t index, int fallback, int& out, std::string& error) const
    {
        if (index >= m_positional.size()) {
            out = fallback;
            return true;
        }
        return Evaluate(m_positional[index], out, error);
    }

    bool Evaluate(const std::string& text, int& out, std::string& error) const
    {
        const std::optional<int> value = Expression(text, W(), H()).Evaluate();
        if (!value)
            return Fail(error, "'" + text + "' is no number or expression of W and H");
        out = *value;
        return true;
    }

    bool Box(std::string& error)
    {
        if (!Evaluate(m_positional[0], m_box.x, error) || !Evaluate(m_positional[1], m_box.y, error) ||
            !Evaluate(m_positional[2], m_box.width, error) || !Evaluate(m_positional[3], m_box.height, error))
            return false;
        m_box.x += m_originX;
        m_box.y += m_originY;
        return true;
    }

    bool Colour(std::size_t index, std::string& error)
    {
        m_colour = ParseColour(m_positional[index]);
        return m_colour ? true : Fail(error, "'" + m_positional[index] + "' is no colour (#rrggbb or #rrggbbaa)");
    }

    bool DrawBevel(std::string& error)
    {
        if (!Need(7, 9, error) || !Box(error) || !Colour(4, error))
            return false;
        const ArtColour face = *m_colour;
        if (!Colour(5, error))
            return false;
        const ArtColour light = *m_colour;
        if (!Colour(6, error))
            return false;
        int thickness = 2;
        bool sunken = false;
        for (std::size_t i = 7; i < m_positional.size(); ++i) {
            if (m_positional[i] == "sunken")
                sunken = true;
            else if (!Evaluate(m_positional[i], thickness, error))
                return false;
        }
        m_canvas.Bevel(m_box, face, light, *m_colour, thickness, sunken);
        return true;
    }

    bool DrawText(std::string& error)
    {
        if (!Need(5, 5, error) || !Box(error))
            return false;
        ArtTextStyle style;
        style.colour = {0, 255};
        std::string face = DEFAULT_FACE;
        for (const auto& [key, value] : m_options) {
            if (key == "font") {
                face = value;
            } else if (key == "size") {
                if (!Evaluate(value, style.size, error))
                    return false;
            } else if (key == "colour" || key == "shadow") {
                const std::optional<ArtColour> colour = ParseColour(value);
                if (!colour)
                    return Fail(error, "'" + value + "' is no colour (#rrggbb or #rrggbbaa)");
                (key == "colour" ? style.colour : style.shadowColour) = *colour;
                style.shadow = style.shadow || key == "shadow";
            } else if (key == "align") {
                if (value != "left" && value != "centre" && value != "right")
                    return Fail(error, "align is left, centre or right");
                style.align = value == "left" ? TextAlign::Left : value == "right" ? TextAlign::Right : TextAlign::Centre;
            } else {
                return Fail(error, "unknown text option '" + key + "'");
            }
        }
        if (!FaceNameIsPlain(face))
            return Fail(error, "font names a DejaVu face such as DejaVuSans-Bold");
        if (style.size < 4 || style.size > 512)
            return Fail(error, "size lies between 4 and 512");
        style.fontFile = FacePath(face);
        if (!m_canvas.Text(m_box, plat::FromUtf8(m_positional[4]), style))
            return Fail(error, "the face '" + face + "' cannot be opened (" + style.fontFile + ")");
        return true;
    }

    ArtCanvas& m_canvas;
    std::map<std::string, std::string> m_options;
    std::vector<std::string> m_positional;
    ArtRect m_box;
    std::optional<ArtColour> m_colour;
    int m_originX = 0;
    int m_originY = 0;
};

std::string FaceHash(const std::string& face)
{
    static std::map<std::string, std::string> s_hashes;
    const auto found = s_hashes.find(face);
    if (found != s_hashes.end())
        return found->second;
    std::vector<std::uint8_t> bytes;
    plat::ReadFileBytes(plat::FromUtf8(FacePath(face)), bytes);
    const std::string hash =
        Hex(Fnv1a(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
    s_hashes.emplace(face, hash);
    return hash;
}

// "res_{en,fr}\\134.bmp" names res_en/134.bmp and res_fr/134.bmp: one picture for several folders.
std::vector<std::string> ExpandBraces(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::size_t open = path.find('{');
    const std::size_t close = path.find('}', open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos)
        return {path};
    std::vector<std::string> paths;
    std::size_t start = open + 1;
    while (start <= close) {
        std::size_t end = path.find(',', start);
        if (end == std::string::npos || end > close)
            end = close;
        paths.push_back(path.substr(0, open) + path.substr(start, end - start) + path.substr(close + 1));
        start = end + 1;
    }
    return paths;
}

std::string Extension(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

bool PathIsUsable(const std::string& path)
{
    const std::string extension = Extension(path);
    return !path.empty() && (extension == ".bmp" || extension == ".chp" || extension == ".spk") && path.find("..") == std::string::npos && path[0] != '/' &&
           path.find_first_of("{},") == std::string::npos;
}

} // namespace

struct ArtCompiler::Pending {
    std::vector<std::string> paths;
    int width = 0;
    int height = 0;
    int frames = 1;  // columns of the canvas, each one frame of a .chp or sprite pack
    std::string sourceName;
    int line = 0;
    std::vector<std::pair<int, std::string>> body;
};

ArtCompiler::ArtCompiler(std::string cacheFolder) : m_cacheFolder(std::move(cacheFolder)) {}

bool ArtCompiler::AddSource(std::string_view sourceName, std::string_view text, Diagnostics& diagnostics)
{
    const std::size_t errorsBefore = diagnostics.Messages().size();
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::string name(sourceName);
    std::optional<Pending> image;
    std::optional<std::pair<std::string, Template>> definition;
    int number = 0;
    std::string_view raw;
    while (NextSourceLine(text, raw)) {
        ++number;
        const std::string line = TrimBlanks(raw);
        if (line.empty() || line.starts_with('#'))
            continue;
        std::vector<Token> tokens;
        std::string error;
        if (!Tokenize(line, tokens, error)) {
            diagnostics.Error(name, number, error);
            continue;
        }
        const std::string& word = tokens[0].text;
        if (image || definition) {
            if (word == "end" && tokens.size() == 1) {
                if (image)
                    Finish(*image, diagnostics);
                else
                    m_templates.push_back(std::move(*definition));
                image.reset();
                definition.reset();
            } else if (word == "image" || word == "template") {
                diagnostics.Error(name, number, "'" + word + "' inside a block: the block above lacks its 'end'");
            } else {
                (image ? image->body : definition->second.lines).emplace_back(number, line);
            }
            continue;
        }
        if (word == "template" && tokens.size() >= 2) {
            Template made;
            made.sourceName = name;
            for (std::size_t i = 2; i < tokens.size(); ++i) {
                const std::size_t equals = tokens[i].text.find('=');
                made.params.push_back(tokens[i].text.substr(0, equals));
                made.defaults.push_back(equals == std::string::npos ? std::string() : tokens[i].text.substr(equals + 1));
                made.required.push_back(equals == std::string::npos);
            }
            definition.emplace(tokens[1].text, std::move(made));
        } else if (word == "image" && tokens.size() >= 4) {
            Pending pending;
            pending.paths = ExpandBraces(tokens[1].text);
            pending.sourceName = name;
            pending.line = number;
            const std::optional<int> width = Expression(tokens[2].text, 0, 0).Evaluate();
            const std::optional<int> height = Expression(tokens[3].text, 0, 0).Evaluate();
            if (!std::all_of(pending.paths.begin(), pending.paths.end(), PathIsUsable) || !width || !height || *width <= 0 || *height <= 0 ||
                *width > MAX_SIDE || *height > MAX_SIDE) {
                diagnostics.Error(name, number, "expected 'image <path>.bmp <width> <height>' (sides 1 to 4096)");
                continue;
            }
            pending.width = *width;
            pending.height = *height;
            std::size_t next = 4;
            if (tokens.size() > next && tokens[next].text.starts_with("frames=")) {
                const std::optional<int> frames = Expression(tokens[next].text.substr(7), 0, 0).Evaluate();
                const std::string extension = Extension(pending.paths.front());
                if (!frames || *frames < 1 || pending.width % *frames != 0 || extension == ".bmp") {
                    diagnostics.Error(name, number, "frames=<n> divides the width of a .chp or .spk image");
                    continue;
                }
                pending.frames = *frames;
                ++next;
            }
            if (std::any_of(pending.paths.begin(), pending.paths.end(), [&](const std::string& path) {
                    return Extension(path) != Extension(pending.paths.front());
                })) {
                diagnostics.Error(name, number, "the paths of one image share their kind");
                continue;
            }
            if (tokens.size() > next) {
                // The one-line form: the rest of the line is the image's one drawing line.
                const std::size_t at = line.find(tokens[next].text == "use" ? " use " : tokens[next].text);
                pending.body.emplace_back(number, TrimBlanks(line.substr(at)));
                Finish(pending, diagnostics);
                continue;
            }
            image = std::move(pending);
        } else {
            diagnostics.Error(name, number, "expected 'image <path>.bmp <width> <height>' or 'template <name>'");
        }
    }
    if (image || definition)
        diagnostics.Error(name, number, "the last block lacks its 'end'");
    return diagnostics.Messages().size() == errorsBefore;
}

bool ArtCompiler::Finish(Pending& image, Diagnostics& diagnostics)
{
    // Expand the templates into plain drawing lines.
    std::vector<DrawLine> lines;
    bool ok = true;
    std::vector<std::tuple<std::string, int, std::string, int>> work;  // source, line, text, depth
    for (auto it = image.body.rbegin(); it != image.body.rend(); ++it)
        work.emplace_back(image.sourceName, it->first, it->second, 0);
    while (!work.empty()) {
        auto [source, number, text, depth] = work.back();
        work.pop_back();
        std::vector<Token> tokens;
        std::string error;
        if (!Tokenize(text, tokens, error)) {
            diagnostics.Error(source, number, error);
            ok = false;
            continue;
        }
        if (tokens.empty())
            continue;
        if (tokens[0].text != "use") {
            lines.push_back({std::move(tokens), source, number});
            continue;
        }
        const auto found = tokens.size() < 2 ? m_templates.end()
                                             : std::find_if(m_templates.begin(), m_templates.end(),
                                                            [&](const auto& entry) { return entry.first == tokens[1].text; });
        if (found == m_templates.end() || depth >= MAX_TEMPLATE_DEPTH) {
            diagnostics.Error(source, number,
                              found == m_templates.end() ? "no template is called '" + (tokens.size() < 2 ? std::string() : tokens[1].text) + "'"
                                                         : "templates nest too deep");
            ok = false;
            continue;
        }
        const Template& used = found->second;
        std::vector<std::string> values = used.defaults;
        std::vector<bool> given(values.size(), false);
        for (std::size_t i = 2; i < tokens.size(); ++i) {
            const std::size_t equals = tokens[i].text.find('=');
            const std::string key = tokens[i].text.substr(0, equals);
            const auto param = std::find(used.params.begin(), used.params.end(), key);
            if (equals == std::string::npos || param == used.params.end()) {
                diagnostics.Error(source, number, "template '" + found->first + "' has no parameter '" + key + "'");
                ok = false;
                continue;
            }
            const auto index = static_cast<std::size_t>(param - used.params.begin());
            values[index] = tokens[i].text.substr(equals + 1);
            given[index] = true;
        }
        for (std::size_t i = 0; i < used.params.size(); ++i) {
            if (used.required[i] && !given[i]) {
                diagnostics.Error(source, number, "template '" + found->first + "' needs '" + used.params[i] + "='");
                ok = false;
            }
        }
        // Longer names first, so that $label is not taken for $l.
        std::vector<std::size_t> order(used.params.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return used.params[a].size() > used.params[b].size(); });
        for (auto it = used.lines.rbegin(); it != used.lines.rend(); ++it) {
            std::string expanded = it->second;
            for (const std::size_t i : order) {
                const std::string marker = "$" + used.params[i];
                for (std::size_t at = expanded.find(marker); at != std::string::npos;
                     at = expanded.find(marker, at + values[i].size()))
                    expanded.replace(at, marker.size(), values[i]);
            }
            work.emplace_back(used.sourceName, it->first, expanded, depth + 1);
        }
    }
    if (!ok)
        return false;

    const std::string extension = Extension(image.paths.front());
    std::string key = std::string(ART_VERSION) + " " + std::to_string(ToolHash()) + "\n" +
                      std::to_string(image.width) + "x" + std::to_string(image.height) + extension + "/" +
                      std::to_string(image.frames);
    for (const DrawLine& line : lines) {
        key += "\n";
        for (const Token& token : line.tokens)
            key += (token.quoted ? "\"" : "") + token.text + (token.quoted ? "\" " : " ");
        const std::string face = Painter::FaceOf(line.tokens);
        if (!face.empty() && FaceNameIsPlain(face))
            key += FaceHash(face);
    }
    const std::string cachePath = m_cacheFolder.empty() ? std::string() : m_cacheFolder + "/" + Hex(Fnv1a(key)) + extension;
    ArtImage out{{}, {}, image.sourceName, image.line};
    const auto keep = [&] {
        for (const std::string& path : image.paths) {
            out.path = path;
            m_images.push_back(out);
        }
    };
    if (!cachePath.empty() && plat::ReadFileBytes(plat::FromUtf8(cachePath), out.bmp) && out.bmp.size() > 10) {
        keep();
        return true;
    }

    ArtCanvas canvas(image.width, image.height);
    Painter painter(canvas);
    for (const DrawLine& line : lines) {
        std::string error;
        if (!painter.Draw(line.tokens, error)) {
            diagnostics.Error(line.sourceName, line.line, error);
            ok = false;
        }
    }
    if (!ok)
        return false;
    canvas.KeepOffKey();
    out.bmp = extension == ".chp" ? canvas.ToChp(image.frames)
              : extension == ".spk" ? canvas.ToSpritePack(image.frames)
                                    : canvas.ToBmp();
    ++m_drawn;
    if (!cachePath.empty() && WriteIfChanged(cachePath, out.bmp) == WriteResult::Failed)
        diagnostics.Error(cachePath, "cannot be written");
    keep();
    return true;
}

bool CompileArtFiles(const std::vector<std::string>& sourcePaths, const std::string& outputFolder,
                     const std::string& cacheFolder, Diagnostics& diagnostics,
                     const std::vector<std::pair<std::string, std::string>>& generated)
{
    const std::size_t errorsBefore = diagnostics.Messages().size();
    ArtCompiler compiler(cacheFolder);
    for (const std::string& path : sourcePaths) {
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(plat::FromUtf8(path), bytes)) {
            diagnostics.Error(path, "cannot be read");
            continue;
        }
        compiler.AddSource(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                           diagnostics);
    }
    for (const auto& [name, text] : generated)
        compiler.AddSource(name, text, diagnostics);
    std::map<std::string, const ArtImage*> written;
    for (const ArtImage& image : compiler.Images()) {
        const auto [first, isNew] = written.emplace(image.path, &image);
        if (!isNew) {
            diagnostics.Error(image.sourceName, image.line,
                              "'" + image.path + "' is drawn twice (first at " + first->second->sourceName + ":" +
                                  std::to_string(first->second->line) + ")");
            continue;
        }
        if (WriteIfChanged(outputFolder + "/" + image.path, image.bmp) == WriteResult::Failed)
            diagnostics.Error(outputFolder + "/" + image.path, "cannot be written");
    }
    return diagnostics.Messages().size() == errorsBefore;
}

} // namespace datac
