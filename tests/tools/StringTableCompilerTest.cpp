#include "tools/StringTableCompiler.h"

#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Repeat(std::string_view unit, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += unit;
    return text;
}

// An entry whose text lines are given; each line followed by "\n".
std::string Entry(std::string_view key, std::initializer_list<std::string> lines)
{
    std::string text = std::string(key) + "\n";
    for (const std::string& line : lines)
        text += line + "\n";
    return text + "zzzz\n";
}

class StringTableCompilerTest : public ::testing::Test {
protected:
    bool Compile(std::string_view source)
    {
        m_dir.Write("strings.en.txt", source);
        return datac::CompileStringTableFile(SourcePath(), OutPath(), m_diagnostics);
    }

    std::string SourcePath() const { return m_dir.File("strings.en.txt"); }
    std::string OutPath() const { return m_dir.File("out/data_en/res_str_phys_u.txt"); }

    test::TempDir m_dir;
    datac::Diagnostics m_diagnostics;
};

TEST_F(StringTableCompilerTest, WritesEntriesAsUtf16LeWithByteOrderMarkAndCrLf)
{
    // Comments and blank lines between entries vanish, the key is trimmed, text lines stay as they are
    // (empty ones and '#' ones too), and a code point past U+FFFF becomes a surrogate pair.
    ASSERT_TRUE(Compile("# comment\n\n  STR_Clef \t\nA \xC3\xA9\n\n#2G \xF0\x9D\x84\x9E\nzzzz\n"));
    const std::vector<std::uint8_t> expected = {
        0xFF, 0xFE,
        'S', 0, 'T', 0, 'R', 0, '_', 0, 'C', 0, 'l', 0, 'e', 0, 'f', 0, 0x0D, 0, 0x0A, 0,
        'A', 0, ' ', 0, 0xE9, 0, 0x0D, 0, 0x0A, 0,
        0x0D, 0, 0x0A, 0,
        '#', 0, '2', 0, 'G', 0, ' ', 0, 0x34, 0xD8, 0x1E, 0xDD, 0x0D, 0, 0x0A, 0,
        'z', 0, 'z', 0, 'z', 0, 'z', 0, 0x0D, 0, 0x0A, 0,
    };
    EXPECT_EQ(ReadBytes(OutPath()), expected);
    EXPECT_TRUE(m_diagnostics.Messages().empty());
}

TEST_F(StringTableCompilerTest, SourceWithByteOrderMarkAndCrLfGivesTheSameFile)
{
    ASSERT_TRUE(Compile("\xEF\xBB\xBFSTR_OK\r\nOK\r\nzzzz\r\nSTR_Empty\r\nzzzz\r\n"));
    EXPECT_EQ(ReadBytes(OutPath()), test::Utf16Le("STR_OK\r\nOK\r\nzzzz\r\nSTR_Empty\r\nzzzz\r\n"));
}

TEST_F(StringTableCompilerTest, RewritesTheOutputOnlyWhenItChanges)
{
    ASSERT_TRUE(Compile(Entry("STR_OK", {"OK"})));
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(OutPath(), old);

    ASSERT_TRUE(Compile(Entry("STR_OK", {"OK"})));
    EXPECT_EQ(fs::last_write_time(OutPath()), old);

    ASSERT_TRUE(Compile(Entry("STR_OK", {"Okay"})));
    EXPECT_EQ(ReadBytes(OutPath()), test::Utf16Le("STR_OK\r\nOkay\r\nzzzz\r\n"));
    // The temporary file of the atomic write is gone.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(OutPath()).parent_path()), fs::directory_iterator()), 1);
}

TEST_F(StringTableCompilerTest, SourceWithErrorsLeavesTheOldOutput)
{
    ASSERT_TRUE(Compile(Entry("STR_OK", {"OK"})));
    EXPECT_FALSE(Compile("STR_OK\nOkay\n"));
    EXPECT_EQ(ReadBytes(OutPath()), test::Utf16Le("STR_OK\r\nOK\r\nzzzz\r\n"));
}

TEST_F(StringTableCompilerTest, MissingSourceIsAnError)
{
    EXPECT_FALSE(datac::CompileStringTableFile(m_dir.File("none.txt"), OutPath(), m_diagnostics));
    ASSERT_EQ(m_diagnostics.Messages().size(), 1u);
    EXPECT_EQ(m_diagnostics.Messages()[0], m_dir.File("none.txt") + ": cannot be read");
    EXPECT_FALSE(fs::exists(OutPath()));
}

// ---- Limits: the largest accepted sizes, then every error with the line it names --------------------------

struct AcceptedCase {
    const char* name;
    std::string source;
};

// Test names in ctest show the case's name instead of its bytes.
void PrintTo(const AcceptedCase& acceptedCase, std::ostream* out)
{
    *out << acceptedCase.name;
}

class StringTableAcceptedTest : public StringTableCompilerTest, public ::testing::WithParamInterface<AcceptedCase> {
};

TEST_P(StringTableAcceptedTest, Compiles)
{
    EXPECT_TRUE(Compile(GetParam().source));
    EXPECT_TRUE(m_diagnostics.Messages().empty()) << m_diagnostics.Messages().front();
}

// Joined lengths: plain lines gain a blank, FMT_ lines " |" (an empty one "|"), PRE_ lines CR LF; the
// trailing ones are stripped.
const AcceptedCase ACCEPTED_CASES[] = {
    {"KeyOf255Units", Entry(std::string(255, 'K'), {"x"})},
    {"KeyOf255UnitsWithSurrogatePairs", Entry("K" + Repeat("\xF0\x9D\x84\x9E", 127), {"x"})},
    {"PlainTextOf1539Units", Entry("STR_Long", {std::string(1000, 'a'), std::string(538, 'b')})},
    {"FormattedTextOf1539Units", Entry("FMT_Long", {std::string(1000, 'a'), "", std::string(536, 'b')})},
    {"PreTextOf1539Units", Entry("PRE_Long", {std::string(1000, 'a'), std::string(537, 'b')})},
    {"TextLineOf1017Units", Entry("STR_Line", {std::string(1017, 'a')})},
    {"EmptyText", "STR_Empty\nzzzz\n"},
    {"EndLineWithTrailingBlanks", "STR_A\nx\nzzzz  \n"},
    {"EmptySource", ""},
};

INSTANTIATE_TEST_SUITE_P(Limits, StringTableAcceptedTest, ::testing::ValuesIn(ACCEPTED_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    std::string source;
    int line;
    const char* fragment;
};

void PrintTo(const ErrorCase& errorCase, std::ostream* out)
{
    *out << errorCase.name;
}

class StringTableErrorTest : public StringTableCompilerTest, public ::testing::WithParamInterface<ErrorCase> {
};

TEST_P(StringTableErrorTest, ReportsFileAndLineAndWritesNothing)
{
    const ErrorCase& error = GetParam();
    EXPECT_FALSE(Compile(error.source));
    const std::string where = SourcePath() + ":" + std::to_string(error.line) + ": ";
    bool found = false;
    for (const std::string& message : m_diagnostics.Messages())
        found = found || (message.starts_with(where) && message.find(error.fragment) != std::string::npos);
    EXPECT_TRUE(found) << "expected \"" << where << "..." << error.fragment << "\"; got "
                       << (m_diagnostics.Messages().empty() ? "nothing" : m_diagnostics.Messages().front());
    EXPECT_FALSE(fs::exists(OutPath()));
}

const ErrorCase ERROR_CASES[] = {
    {"KeyOf256Units", "# c\n" + Entry(std::string(256, 'K'), {"x"}), 2, "256 units"},
    {"KeyOf256UnitsWithSurrogatePairs", Entry(Repeat("\xF0\x9D\x84\x9E", 128), {"x"}), 1, "256 units"},
    {"PlainTextOf1540Units", Entry("STR_Long", {std::string(1000, 'a'), std::string(539, 'b')}), 1, "1540 units"},
    {"FormattedTextOf1540Units", Entry("FMT_Long", {std::string(1000, 'a'), "", std::string(537, 'b')}), 1,
     "1540 units"},
    {"PreTextOf1540Units", Entry("PRE_Long", {std::string(1000, 'a'), std::string(538, 'b')}), 1, "1540 units"},
    {"TextLineOf1018Units", Entry("STR_Line", {std::string(1018, 'a')}), 2, "1018 units"},
    {"DuplicateKey", Entry("STR_A", {"x"}) + "\n" + Entry("STR_A", {"y"}), 5, "duplicate key 'STR_A' (first at line 1)"},
    {"KeyWithInnerBlank", Entry("STR OK", {"x"}), 1, "white space"},
    {"KeyWithInnerTab", Entry("STR\tOK", {"x"}), 1, "white space"},
    {"EntryWithoutEndLine", Entry("STR_A", {"x"}) + "\nSTR_B\ny\n", 5, "'STR_B' has no end line"},
    {"TextLineBeginningWithEndMarker", "STR_A\nzzzzz\nzzzz\n", 2, "may not begin with 'zzzz'"},
    {"EndLineOutsideAnEntry", Entry("STR_A", {"x"}) + "zzzz\n", 4, "outside an entry"},
    {"InvalidContinuationByte", Entry("STR_A", {"bad \xC3\x28 byte"}), 2, "invalid UTF-8"},
    {"OverlongForm", Entry("STR_A", {"\xC0\xAF"}), 2, "invalid UTF-8"},
    {"EncodedSurrogate", Entry("STR_A", {"\xED\xA0\x80"}), 2, "invalid UTF-8"},
    {"PastLastCodePoint", Entry("STR_A", {"\xF4\x90\x80\x80"}), 2, "invalid UTF-8"},
    {"TruncatedAtEndOfFile", Entry("STR_A", {"x"}) + "STR_B\n\xE2\x82", 5, "invalid UTF-8"},
    {"InvalidByteInKey", Entry("STR_\xFF", {"x"}), 1, "invalid UTF-8"},
};

INSTANTIATE_TEST_SUITE_P(Errors, StringTableErrorTest, ::testing::ValuesIn(ERROR_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
