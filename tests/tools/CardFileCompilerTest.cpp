#include "tools/CardFileCompiler.h"

#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

// Until card records are compiled the file must still be one the card reader accepts: a byte-order mark, then
// comment lines only.
TEST(CardFileCompilerTest, WritesCommentLinesInUtf16LeWithByteOrderMark)
{
    const test::TempDir dir;
    datac::Diagnostics diagnostics;
    const std::string path = dir.File("out/data_en/cards_phys_u.cfg");
    ASSERT_TRUE(datac::CompileCardFile(path, diagnostics));

    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GE(bytes.size(), 8u);
    ASSERT_EQ(bytes.size() % 2, 0u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    bool lineStart = true;
    for (std::size_t i = 2; i < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (lineStart) {
            EXPECT_EQ(unit, u';') << "at byte " << i;
        }
        lineStart = unit == u'\n';
    }
    EXPECT_TRUE(lineStart) << "the last line has no line end";
    EXPECT_TRUE(diagnostics.Messages().empty());
}

} // namespace
