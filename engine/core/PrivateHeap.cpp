#include "engine/core/PrivateHeap.h"

#include "platform/Platform.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t ALLOCATION_GRAIN = 16;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// An arena with a fixed budget. Each allocation is its own block so the sanitizers see its bounds; the budget
// gives the same exhaustion point as one region of the maximum size.
struct PrivateHeap {
    std::vector<std::unique_ptr<void, FreeDeleter>> m_Blocks;
    std::size_t m_Used = 0;
};

std::unique_ptr<PrivateHeap> s_Heap;

} // namespace

void CreatePrivateHeap()
{
    s_Heap = std::make_unique<PrivateHeap>();
    s_Heap->m_Blocks.reserve(1024);
}

void* PrivateAlloc(std::size_t size)
{
    if (!s_Heap || size > PRIVATE_HEAP_MAXIMUM_SIZE) {
        return nullptr;
    }
    const std::size_t charged = (size + ALLOCATION_GRAIN - 1) / ALLOCATION_GRAIN * ALLOCATION_GRAIN;
    if (charged > PRIVATE_HEAP_MAXIMUM_SIZE - s_Heap->m_Used) {
        return nullptr;
    }
    // A zero-byte request still gets a distinct block.
    void* block = std::calloc(size == 0 ? 1 : size, 1);
    if (block == nullptr) {
        return nullptr;
    }
    s_Heap->m_Blocks.emplace_back(block);
    s_Heap->m_Used += charged;
    return block;
}

void ResetPrivateHeap()
{
    DestroyPrivateHeap();
    CreatePrivateHeap();
}

void DestroyPrivateHeap()
{
    s_Heap.reset();
}

std::size_t PrivateHeapUsed()
{
    return s_Heap ? s_Heap->m_Used : 0;
}

void* ReadWholeFile(std::u16string_view path, bool useRuntimeHeap, std::size_t* sizeOut)
{
    if (sizeOut != nullptr) {
        *sizeOut = 0;
    }
    plat::File file;
    if (!file.Open(path, "rb")) {
        return nullptr;
    }
    const std::int64_t fileSize = file.Size();
    if (fileSize < 0 || static_cast<std::uint64_t>(fileSize) > SIZE_MAX - 2) {
        return nullptr;
    }
    const std::size_t size = static_cast<std::size_t>(fileSize);
    auto* buffer = static_cast<std::uint8_t*>(useRuntimeHeap ? std::malloc(size + 2) : PrivateAlloc(size + 2));
    if (buffer == nullptr) {
        return nullptr;
    }
    std::size_t got = 0;
    while (got < size) {
        const std::size_t n = file.Read(buffer + got, size - got);
        if (n == 0) {
            break;
        }
        got += n;
    }
    file.Close();
    // A file that shrank since its size was taken ends where the reading ended.
    buffer[got] = 0;
    buffer[got + 1] = 0;
    if (sizeOut != nullptr) {
        *sizeOut = got;
    }
    return buffer;
}
