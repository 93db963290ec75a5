// How changes made on the user-interface thread reach the state the audio thread renders with,
// without either thread waiting for the other.
//
// The user-interface thread stores a new value where both threads can read it (an atomic),
// then stamps its item: a parameter, the sample rate or a program change. Stamps are made
// inside groups (Begin/End, nested pairs form one) around changes that only make sense
// together. At the start of a block the audio thread takes every item stamped since its last
// take, reads its current value and hands the changes over in the order they were made; while
// a group is under way it takes nothing and renders on with what it has. An item stamped twice
// is handed over once, with the value it holds, at the place of its latest stamp.
//
// Everything is allocated at construction; Take allocates nothing.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "VstToolkit/ChangeSequence.h"

namespace VstToolkit {

class RenderHandOver {
public:
    explicit RenderHandOver(int parameterCount);
    RenderHandOver(const RenderHandOver&) = delete;
    RenderHandOver& operator=(const RenderHandOver&) = delete;

    // User-interface thread (or any thread before the audio thread shares the object).
    void Begin() { changes.Begin(); }
    void End() { changes.End(); }
    void StampParameter(int index) { Stamp(index); }
    void StampEveryParameter();
    void StampSampleRate() { Stamp(RateItem()); }
    void StampProgramChange() { Stamp(ProgramItem()); }

    // Audio thread. The target reads GetParameterValue(index) and GetSampleRate() while the
    // changes are collected, then takes them through ApplyProgramChange(),
    // ApplyParameterValue(index, value) and ApplySampleRate(rate), as Model's render-state
    // hooks do. False, handing over nothing, while a group is under way or when one began
    // while the values were read.
    template <typename Target>
    bool Take(Target& target) {
        std::uint32_t begin;
        const int count = CollectStamped(begin);
        if (count < 0) return false;
        for (int i = 0; i < count; ++i) {
            Pending& change = pending[i];
            change.value = change.item < parameterCount ? target.GetParameterValue(change.item)
                           : change.item == RateItem()  ? target.GetSampleRate()
                                                        : 0.0f;
        }
        if (!Commit(begin, count)) return false;
        for (int i = 0; i < count; ++i) {
            const Pending& change = pending[i];
            if (change.item < parameterCount)
                target.ApplyParameterValue(change.item, change.value);
            else if (change.item == RateItem())
                target.ApplySampleRate(change.value);
            else
                target.ApplyProgramChange();
        }
        return true;
    }

private:
    struct Pending {
        int item;
        std::uint64_t stamp;
        float value;
    };

    // Items 0 to parameterCount - 1 are the parameters.
    int RateItem() const { return parameterCount; }
    int ProgramItem() const { return parameterCount + 1; }
    void Stamp(int item);
    // The items stamped since the last take, in stamp order, into pending; -1 while a group is
    // under way.
    int CollectStamped(std::uint32_t& begin);
    // Whether the reads since CollectStamped belong to one state; if so they count as taken.
    bool Commit(std::uint32_t begin, int count);

    const int parameterCount;
    ChangeSequence changes;
    // Written by the user-interface thread, read by the audio thread.
    std::unique_ptr<std::atomic<std::uint64_t>[]> stamps;
    std::uint64_t lastStamp = 0;             // user-interface thread only
    std::unique_ptr<std::uint64_t[]> taken;  // audio thread only: the stamps already handed over
    std::unique_ptr<Pending[]> pending;      // audio thread only: scratch space for one take
};

}  // namespace VstToolkit
