// Program and bank chunks as hosts hand them back from projects and preset files: any bytes.
// A chunk that loads must leave an instance that renders sane audio and writes a chunk that
// loads again into a fresh instance with the same bytes.
#include "tests/fuzz/FuzzedInstance.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fuzz::Bytes bytes(data, size);
    const bool preset = (bytes.Byte() & 1) != 0;
    // A private copy, so an overread past the chunk is ASan's to catch.
    std::vector<std::uint8_t> chunk(bytes.Rest(), bytes.Rest() + bytes.Left());
    Fuzz::Instance instance;
    const VstIntPtr loaded =
        instance.Dispatch(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(chunk.size()),
                          chunk.empty() ? nullptr : chunk.data());
    instance.Render(64);
    if (loaded == 0) return 0;

    void* stored = nullptr;
    const VstIntPtr length = instance.Dispatch(effGetChunk, preset ? 1 : 0, 0, &stored);
    if (length <= 0 || stored == nullptr) std::abort();
    const std::vector<std::uint8_t> first(static_cast<std::uint8_t*>(stored),
                                          static_cast<std::uint8_t*>(stored) + length);
    Fuzz::Instance fresh;
    std::vector<std::uint8_t> copy = first;
    if (fresh.Dispatch(effSetChunk, preset ? 1 : 0, length, copy.data()) != 1) std::abort();
    void* again = nullptr;
    const VstIntPtr againLength = fresh.Dispatch(effGetChunk, preset ? 1 : 0, 0, &again);
    if (againLength != length || std::memcmp(again, first.data(), first.size()) != 0) std::abort();
    return 0;
}
