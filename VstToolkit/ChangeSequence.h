// A sequence count for values that one thread changes in groups while another thread reads
// them without waiting (a sequence lock). The count is odd while a group of changes is under
// way; a reader that finds it odd, or finds it moved while it read, knows its reads may mix two
// states and leaves them unused.
//
// The values themselves are atomics: the writer stores them with release order and the reader
// loads them with acquire order, so a reader that saw a new value also sees the count move.
// Neither side ever waits for the other.
#pragma once

#include <atomic>
#include <cstdint>

namespace VstToolkit {

class ChangeSequence {
public:
    // Writer thread only. Nested Begin/End pairs form one group.
    void Begin() {
        if (depth++ == 0)
            count.store(count.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    }
    void End() {
        if (--depth == 0)
            count.store(count.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }

    // Reader thread: take the count, read with acquire loads, then ask whether the reads
    // belong to one state.
    std::uint32_t ReadBegin() const { return count.load(std::memory_order_acquire); }
    bool ReadValid(std::uint32_t begin) const {
        return (begin & 1u) == 0 && count.load(std::memory_order_relaxed) == begin;
    }

private:
    // Written by the writer thread, read by the reader thread.
    std::atomic<std::uint32_t> count{0};
    int depth = 0;  // writer thread only
};

// Begin/End for a scope, on a ChangeSequence or anything that groups changes the same way.
template <typename Changes>
class ChangeGroup {
public:
    explicit ChangeGroup(Changes& changes) : sequence(changes) { sequence.Begin(); }
    ~ChangeGroup() { sequence.End(); }
    ChangeGroup(const ChangeGroup&) = delete;
    ChangeGroup& operator=(const ChangeGroup&) = delete;

private:
    Changes& sequence;
};

}  // namespace VstToolkit
