#include "engine/sound/WaveFile.h"
#include "tests/TestSupport.h"
#include "tests/engine/sound/WaveFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using test::PutLe16;
using test::PutLe32;
using test::PutTag;

std::u16string PathOf(const test::TempDir& dir, const char* name)
{
    return plat::FromUtf8(dir.File(name));
}

// A RIFF file of the given chunks (tag and body); odd bodies get their pad byte.
std::vector<std::uint8_t> RiffOf(const std::vector<std::pair<const char*, std::vector<std::uint8_t>>>& chunks)
{
    std::vector<std::uint8_t> body;
    PutTag(body, "WAVE");
    for (const auto& [tag, data] : chunks) {
        PutTag(body, tag);
        PutLe32(body, static_cast<std::uint32_t>(data.size()));
        body.insert(body.end(), data.begin(), data.end());
        if (data.size() % 2 != 0)
            body.push_back(0);
    }
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    PutLe32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<std::uint8_t> FormatChunk(std::uint16_t tag, std::uint32_t avgBytesPerSec, std::vector<std::uint8_t> extra = {})
{
    std::vector<std::uint8_t> out;
    PutLe16(out, tag);
    PutLe16(out, 1);
    PutLe32(out, 8000);
    PutLe32(out, avgBytesPerSec);
    PutLe16(out, 1);
    PutLe16(out, 8);
    if (tag != 1) {
        PutLe16(out, static_cast<std::uint32_t>(extra.size()));
        out.insert(out.end(), extra.begin(), extra.end());
    }
    return out;
}

TEST(WaveFileTest, OpenWalksPastOtherChunksAndReadsFormatAndData)
{
    const test::TempDir dir;
    const std::vector<std::uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    dir.Write("a.wav", RiffOf({{"LIST", {9, 9, 9}}, {"fmt ", FormatChunk(2, 4000, {7, 7})}, {"junk", {0}},
                               {"data", data}}));
    WaveFile wave;
    ASSERT_TRUE(wave.Open(PathOf(dir, "a.wav")));
    EXPECT_EQ(wave.Format().formatTag, 2);
    EXPECT_EQ(wave.Format().extra, (std::vector<std::uint8_t>{7, 7}));
    EXPECT_EQ(wave.DataSize(), 10u);
    EXPECT_EQ(wave.DurationMs(), 2u);   // 10 bytes at 4000 a second
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(wave.Read(buffer, 4), 4u);
    EXPECT_EQ(wave.Read(buffer + 4, 16), 6u);
    EXPECT_EQ(wave.Read(buffer, 16), 0u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), buffer));
    EXPECT_EQ(wave.BytesRead(), 10u);
    EXPECT_EQ(wave.LastError(), WaveError::None);
}

TEST(WaveFileTest, BadFilesAreRefused)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> notWave = RiffOf({{"fmt ", FormatChunk(1, 8000)}, {"data", {1}}});
    notWave[8] = 'X';
    std::vector<std::uint8_t> extraPastChunk = RiffOf({{"fmt ", FormatChunk(2, 8000, {1, 2})}, {"data", {1}}});
    extraPastChunk[36] = 200;   // the extra size claims more than the chunk holds
    const Case cases[] = {
        {"empty", {}},
        {"short", {'R', 'I', 'F', 'F', 0}},
        {"not WAVE", notWave},
        {"no fmt", RiffOf({{"data", {1}}})},
        {"fmt too short", RiffOf({{"fmt ", {1, 0, 1, 0}}, {"data", {1}}})},
        {"no data", RiffOf({{"fmt ", FormatChunk(1, 8000)}})},
        {"zero byte rate", RiffOf({{"fmt ", FormatChunk(1, 0)}, {"data", {1}}})},
        {"extra past its chunk", extraPastChunk},
    };
    const test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.Write("bad.wav", c.bytes);
        WaveFile wave;
        EXPECT_FALSE(wave.Open(PathOf(dir, "bad.wav")));
        std::uint8_t buffer[4];
        EXPECT_EQ(wave.Read(buffer, sizeof buffer), 0u);
    }
    WaveFile wave;
    EXPECT_FALSE(wave.Open(PathOf(dir, "missing.wav")));
    EXPECT_EQ(wave.LastError(), WaveError::CannotOpen);
}

TEST(WaveFileTest, ChunkSizesAreClampedToTheFile)
{
    std::vector<std::uint8_t> bytes = RiffOf({{"fmt ", FormatChunk(1, 8000)}, {"data", {1, 2, 3, 4}}});
    test::SetLe32At(bytes, 4, 0xFFFFFFF0);                     // RIFF size
    test::SetLe32At(bytes, bytes.size() - 8, 0xFFFFFFF0);      // data size
    const test::TempDir dir;
    dir.Write("big.wav", bytes);
    WaveFile wave;
    ASSERT_TRUE(wave.Open(PathOf(dir, "big.wav")));
    EXPECT_EQ(wave.DataSize(), 4u);
}

TEST(WaveFileTest, AFileThatEndsEarlyGivesTheBytesThatCame)
{
    const test::TempDir dir;
    // Larger than any read-ahead of the file layer.
    const std::vector<std::uint8_t> bytes = test::ConstantWave({1, 8000, 8}, 77, 200000);
    dir.Write("cut.wav", bytes);
    WaveFile wave;
    ASSERT_TRUE(wave.Open(PathOf(dir, "cut.wav")));
    std::filesystem::resize_file(dir.File("cut.wav"), 44 + 50000);
    std::vector<std::uint8_t> buffer(200000);
    EXPECT_EQ(wave.Read(buffer.data(), buffer.size()), 50000u);
    EXPECT_EQ(wave.LastError(), WaveError::CannotRead);
    EXPECT_EQ(buffer[49999], 77);
    EXPECT_EQ(wave.Read(buffer.data(), buffer.size()), 0u);
}

} // namespace
