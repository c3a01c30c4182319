#include "engine/core/PrivateHeap.h"

#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

class PrivateHeapTest : public ::testing::Test {
protected:
    void SetUp() override { CreatePrivateHeap(); }
    void TearDown() override { DestroyPrivateHeap(); }

    std::u16string PathOf(const char* name) const { return plat::FromUtf8(m_dir.File(name)); }

    test::TempDir m_dir;
};

TEST_F(PrivateHeapTest, AllocationsAreZeroedAndStopAtTheMaximum)
{
    auto* first = static_cast<unsigned char*>(PrivateAlloc(100));
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(first[i], 0);
    }
    EXPECT_NE(PrivateAlloc(0), nullptr);
    EXPECT_EQ(PrivateAlloc(PRIVATE_HEAP_MAXIMUM_SIZE), nullptr);
    EXPECT_EQ(PrivateAlloc(static_cast<std::size_t>(-1)), nullptr);

    // Fill the heap: the allocation that would pass the maximum fails, smaller ones still fit.
    const std::size_t chunk = 500000;
    int chunks = 0;
    while (PrivateAlloc(chunk) != nullptr) {
        ++chunks;
    }
    EXPECT_EQ(chunks, 6);
    EXPECT_LE(PrivateHeapUsed(), PRIVATE_HEAP_MAXIMUM_SIZE);
    EXPECT_NE(PrivateAlloc(1000), nullptr);

    ResetPrivateHeap();
    EXPECT_EQ(PrivateHeapUsed(), 0u);
    EXPECT_NE(PrivateAlloc(chunk), nullptr);

    DestroyPrivateHeap();
    EXPECT_EQ(PrivateAlloc(16), nullptr);
}

TEST_F(PrivateHeapTest, ReadWholeFileAddsTwoZeroBytes)
{
    m_dir.Write("empty.txt", std::string_view());
    m_dir.Write("ten.txt", test::Utf16Le("abcd"));  // BOM + 4 units = 10 bytes
    for (const bool runtimeHeap : {false, true}) {
        std::size_t size = 99;
        auto* empty = static_cast<unsigned char*>(ReadWholeFile(PathOf("empty.txt"), runtimeHeap, &size));
        ASSERT_NE(empty, nullptr);
        EXPECT_EQ(size, 0u);
        EXPECT_EQ(empty[0], 0);
        EXPECT_EQ(empty[1], 0);

        auto* ten = static_cast<char16_t*>(ReadWholeFile(PathOf("ten.txt"), runtimeHeap, &size));
        ASSERT_NE(ten, nullptr);
        EXPECT_EQ(size, 10u);
        EXPECT_EQ(ten[0], 0xFEFF);
        EXPECT_EQ(std::u16string_view(ten + 1), u"abcd");
        EXPECT_EQ(ten[5], 0);

        if (runtimeHeap) {
            std::free(empty);
            std::free(ten);
        }
    }
    EXPECT_EQ(ReadWholeFile(PathOf("ten.txt"), false, nullptr) != nullptr, true);
}

TEST_F(PrivateHeapTest, ReadWholeFileFailuresGiveNullAndSizeZero)
{
    std::size_t size = 99;
    EXPECT_EQ(ReadWholeFile(PathOf("missing.txt"), false, &size), nullptr);
    EXPECT_EQ(size, 0u);

    // A file larger than the private heap can hold fails the same way; the run-time heap still takes it.
    m_dir.Write("big.bin", std::string(PRIVATE_HEAP_MAXIMUM_SIZE, 'x'));
    size = 99;
    EXPECT_EQ(ReadWholeFile(PathOf("big.bin"), false, &size), nullptr);
    EXPECT_EQ(size, 0u);
    void* big = ReadWholeFile(PathOf("big.bin"), true, &size);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(size, PRIVATE_HEAP_MAXIMUM_SIZE);
    std::free(big);

    // No heap at all: a failure too.
    DestroyPrivateHeap();
    size = 99;
    EXPECT_EQ(ReadWholeFile(PathOf("big.bin"), false, &size), nullptr);
    EXPECT_EQ(size, 0u);
}

} // namespace
