#include "tools/StringTableCompiler.h"

#include "tools/OutputFile.h"
#include "tools/SourceText.h"
#include "tools/Utf16Text.h"

#include "platform/Platform.h"

#include <map>

namespace datac {

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";
constexpr std::u16string_view END_LINE = u"zzzz";
constexpr std::u16string_view BLANKS = u" \t";
// A key is one word: the reader would fold inner white space into a blank and no lookup would find it.
constexpr std::u16string_view KEY_WHITE_SPACE = u" \t\v\f\r\u00A0\u3000";
constexpr char16_t COMMENT_MARK = u'#';

struct SourceLine {
    int number = 0;
    std::string utf8;
    std::u16string text;
};

struct Entry {
    std::string keyUtf8;
    std::u16string key;
    int keyLine = 0;
    std::vector<std::u16string> lines;
};

// Where a key was first defined, over all sources of one table.
struct KeyOrigin {
    std::string sourceName;
    int line = 0;
};
using KeyOrigins = std::map<std::u16string, KeyOrigin>;

// How the reader joins the text lines of an entry, chosen by the key's prefix (the empty prefix matches all).
struct JoinRule {
    std::u16string_view prefix;
    void (*appendLine)(std::u16string& text, std::u16string_view line);
};

void AppendWithLineEnd(std::u16string& text, std::u16string_view line)
{
    text.append(line);
    text.append(u"\r\n");
}

void AppendFormattedLine(std::u16string& text, std::u16string_view line)
{
    if (line.empty()) {
        text.push_back(u'|');
        return;
    }
    text.append(line);
    text.append(u" |");
}

void AppendPlainLine(std::u16string& text, std::u16string_view line)
{
    text.append(line);
    text.push_back(u' ');
}

const JoinRule JOIN_RULES[] = {
    {u"PRE_", &AppendWithLineEnd},
    {u"FMT_", &AppendFormattedLine},
    {u"", &AppendPlainLine},
};

// The entry's text as the reader builds it, trailing line ends, blanks and bars stripped.
std::u16string JoinedText(const Entry& entry)
{
    const JoinRule* rule = &JOIN_RULES[0];
    while (!entry.key.starts_with(rule->prefix))
        ++rule;
    std::u16string text;
    for (const std::u16string& line : entry.lines)
        rule->appendLine(text, line);
    const std::size_t last = text.find_last_not_of(u"\r\n |");
    text.resize(last == std::u16string::npos ? 0 : last + 1);
    return text;
}

std::u16string_view Trim(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(BLANKS);
    if (first == std::u16string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(BLANKS);
    return text.substr(first, last - first + 1);
}

std::vector<SourceLine> SplitLines(std::string_view source, std::string_view sourceName, Diagnostics& diagnostics)
{
    if (source.starts_with(UTF8_BOM))
        source.remove_prefix(UTF8_BOM.size());
    std::vector<SourceLine> lines;
    int number = 0;
    while (!source.empty()) {
        const std::size_t end = source.find('\n');
        std::string_view raw = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        if (raw.ends_with('\r'))
            raw.remove_suffix(1);
        SourceLine line;
        line.number = ++number;
        line.utf8 = std::string(raw);
        if (!DecodeUtf8(raw, line.text))
            diagnostics.Error(sourceName, line.number, "invalid UTF-8");
        lines.push_back(std::move(line));
    }
    return lines;
}

class Parser {
public:
    Parser(std::string_view sourceName, KeyOrigins& origins, Diagnostics& diagnostics)
        : m_sourceName(sourceName), m_firstLineOfKey(origins), m_diagnostics(diagnostics)
    {
    }

    void Parse(const std::vector<SourceLine>& lines)
    {
        for (const SourceLine& line : lines) {
            if (m_inEntry)
                TakeTextLine(line);
            else
                TakeLineBetweenEntries(line);
        }
        if (m_inEntry)
            Error(m_current.keyLine, "entry '" + m_current.keyUtf8 + "' has no end line 'zzzz'");
    }

    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    void Error(int line, const std::string& message) { m_diagnostics.Error(m_sourceName, line, message); }

    void TakeLineBetweenEntries(const SourceLine& line)
    {
        const std::u16string_view key = Trim(line.text);
        if (key.empty() || key.front() == COMMENT_MARK)
            return;
        if (key.starts_with(END_LINE)) {
            Error(line.number, "end line 'zzzz' outside an entry");
            return;
        }
        m_current = Entry();
        m_current.keyUtf8 = TrimBlanks(line.utf8);
        m_current.key = std::u16string(key);
        m_current.keyLine = line.number;
        m_inEntry = true;

        if (key.find_first_of(KEY_WHITE_SPACE) != std::u16string_view::npos)
            Error(line.number, "key '" + m_current.keyUtf8 + "' contains white space");
        if (key.size() > MAX_STRING_KEY_UNITS)
            Error(line.number, "key is " + std::to_string(key.size()) + " units long; at most " +
                                   std::to_string(MAX_STRING_KEY_UNITS) + " fit");
        const auto [first, isNew] =
            m_firstLineOfKey.emplace(m_current.key, KeyOrigin{std::string(m_sourceName), line.number});
        if (!isNew) {
            const KeyOrigin& origin = first->second;
            const std::string where = origin.sourceName == m_sourceName ? "" : origin.sourceName + ":";
            Error(line.number, "duplicate key '" + m_current.keyUtf8 + "' (first at " +
                                   (where.empty() ? "line " : where) + std::to_string(origin.line) + ")");
        }
    }

    void TakeTextLine(const SourceLine& line)
    {
        const std::u16string_view trimmed = Trim(line.text);
        if (trimmed == END_LINE) {
            EndEntry();
            return;
        }
        // The reader ends an entry at any line that begins with "zzzz".
        if (trimmed.starts_with(END_LINE)) {
            Error(line.number, "a text line may not begin with 'zzzz'");
            return;
        }
        if (line.text.size() > MAX_STRING_LINE_UNITS)
            Error(line.number, "text line is " + std::to_string(line.text.size()) + " units long; at most " +
                                   std::to_string(MAX_STRING_LINE_UNITS) + " fit");
        m_current.lines.push_back(line.text);
    }

    void EndEntry()
    {
        const std::size_t length = JoinedText(m_current).size();
        if (length > MAX_STRING_TEXT_UNITS)
            Error(m_current.keyLine, "text of '" + m_current.keyUtf8 + "' is " + std::to_string(length) +
                                         " units long after joining; at most " +
                                         std::to_string(MAX_STRING_TEXT_UNITS) + " fit");
        m_entries.push_back(std::move(m_current));
        m_inEntry = false;
    }

    std::string_view m_sourceName;
    KeyOrigins& m_firstLineOfKey;
    Diagnostics& m_diagnostics;
    std::vector<Entry> m_entries;
    Entry m_current;
    bool m_inEntry = false;
};

} // namespace

bool CompileStringSources(const std::vector<StringSource>& sources, std::vector<std::uint8_t>& out,
                          std::vector<StringEntry>& entries, Diagnostics& diagnostics)
{
    out.clear();
    entries.clear();
    const std::size_t errorsBefore = diagnostics.Messages().size();
    KeyOrigins origins;
    std::vector<Entry> parsed;
    std::vector<const StringSource*> sourceOfEntry;
    for (const StringSource& source : sources) {
        Parser parser(source.name, origins, diagnostics);
        parser.Parse(SplitLines(source.text, source.name, diagnostics));
        for (const Entry& entry : parser.Entries()) {
            parsed.push_back(entry);
            sourceOfEntry.push_back(&source);
        }
    }
    if (diagnostics.Messages().size() != errorsBefore)
        return false;

    Utf16LeFile file;
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        const Entry& entry = parsed[i];
        file.AppendLine(entry.key);
        for (const std::u16string& line : entry.lines)
            file.AppendLine(line);
        file.AppendLine(END_LINE);
        entries.push_back({entry.keyUtf8, entry.key, JoinedText(entry), sourceOfEntry[i]->name, entry.keyLine});
    }
    out = file.Bytes();
    return true;
}

bool CompileStringTable(std::string_view sourceName, std::string_view source, std::vector<std::uint8_t>& out,
                        Diagnostics& diagnostics)
{
    std::vector<StringEntry> entries;
    return CompileStringSources({{std::string(sourceName), std::string(source)}}, out, entries, diagnostics);
}

bool CompileStringTableFiles(const std::vector<std::string>& sourcePaths, const std::string& outPath,
                             std::vector<StringEntry>& entries, Diagnostics& diagnostics)
{
    std::vector<StringSource> sources;
    bool readAll = true;
    for (const std::string& path : sourcePaths) {
        std::vector<std::uint8_t> bytes;
        if (!plat::ReadFileBytes(plat::FromUtf8(path), bytes)) {
            diagnostics.Error(path, "cannot be read");
            readAll = false;
            continue;
        }
        sources.push_back({path, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size())});
    }
    std::vector<std::uint8_t> compiled;
    if (!CompileStringSources(sources, compiled, entries, diagnostics) || !readAll)
        return false;
    if (WriteIfChanged(outPath, compiled) == WriteResult::Failed) {
        diagnostics.Error(outPath, "cannot be written");
        return false;
    }
    return true;
}

bool CompileStringTableFile(const std::string& sourcePath, const std::string& outPath, Diagnostics& diagnostics)
{
    std::vector<StringEntry> entries;
    return CompileStringTableFiles({sourcePath}, outPath, entries, diagnostics);
}

} // namespace datac
