#include "VstToolkit/RenderHandOver.h"

namespace VstToolkit {

RenderHandOver::RenderHandOver(int parameters) : parameterCount(parameters) {
    const auto items = static_cast<std::size_t>(ProgramItem()) + 1;
    stamps = std::make_unique<std::atomic<std::uint64_t>[]>(items);
    taken = std::make_unique<std::uint64_t[]>(items);
    pending = std::make_unique<Pending[]>(items);
}

void RenderHandOver::StampEveryParameter() {
    for (int i = 0; i < parameterCount; ++i) Stamp(i);
}

void RenderHandOver::Stamp(int item) {
    stamps[item].store(++lastStamp, std::memory_order_release);
}

int RenderHandOver::CollectStamped(std::uint32_t& begin) {
    begin = changes.ReadBegin();
    if ((begin & 1u) != 0) return -1;
    int count = 0;
    for (int item = 0; item <= ProgramItem(); ++item) {
        const std::uint64_t stamp = stamps[item].load(std::memory_order_acquire);
        if (stamp == taken[item]) continue;
        // Insertion by stamp: at most a few dozen items, and no allocation.
        int at = count++;
        for (; at > 0 && pending[at - 1].stamp > stamp; --at) pending[at] = pending[at - 1];
        pending[at] = {item, stamp, 0.0f};
    }
    return count;
}

bool RenderHandOver::Commit(std::uint32_t begin, int count) {
    if (!changes.ReadValid(begin)) return false;
    for (int i = 0; i < count; ++i) taken[pending[i].item] = pending[i].stamp;
    return true;
}

}  // namespace VstToolkit
