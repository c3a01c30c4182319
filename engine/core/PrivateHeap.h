// The private heap holds data that lives exactly as long as one scene (plain string-table texts, level scripts,
// files read whole). Nothing is freed one by one: the scene load throws the whole heap away and makes it anew.
#pragma once

#include <cstddef>
#include <string_view>

constexpr std::size_t PRIVATE_HEAP_INITIAL_SIZE = 640000;
constexpr std::size_t PRIVATE_HEAP_MAXIMUM_SIZE = 3072000;

// Start-up. Creating it again throws the old one away.
void CreatePrivateHeap();
// Zeroed memory, or nullptr when the heap does not exist or its maximum would be passed.
void* PrivateAlloc(std::size_t size);
// Every scene load: every pointer into the old heap becomes invalid.
void ResetPrivateHeap();
// Shutdown.
void DestroyPrivateHeap();
// Bytes handed out since the heap was made, counting each allocation rounded up to 16.
std::size_t PrivateHeapUsed();

// The whole file followed by two zero bytes, so a UTF-16 text read this way is always terminated. With
// useRuntimeHeap the buffer is the caller's (release it with std::free), else it lives in the private heap.
// sizeOut (when given) receives the bytes read. Any failure gives nullptr, size 0 and the file closed.
void* ReadWholeFile(std::u16string_view path, bool useRuntimeHeap, std::size_t* sizeOut);
