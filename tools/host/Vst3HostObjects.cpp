#include "tools/host/Vst3HostObjects.h"

#include <algorithm>
#include <cstring>

namespace Vst3Host {

std::string narrow(const char16* text, int capacity) {
    std::string s;
    for (int i = 0; text != nullptr && i < capacity && text[i] != 0; ++i)
        s += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    return s;
}

void widen(const std::string& text, String128 out) {
    std::size_t n = 0;
    for (; n < text.size() && n < 127; ++n) out[n] = static_cast<unsigned char>(text[n]);
    out[n] = 0;
}

tresult MemoryStream::read(void* buffer, int32 count, int32* got) {
    if (buffer == nullptr || count < 0) return kInvalidArgument;
    const int64 left = static_cast<int64>(bytes.size()) - at;
    const auto n = static_cast<int32>(std::max<int64>(0, std::min<int64>(count, left)));
    if (n > 0) std::memcpy(buffer, bytes.data() + at, static_cast<std::size_t>(n));
    at += n;
    if (got != nullptr) *got = n;
    return kResultOk;
}

tresult MemoryStream::write(void* buffer, int32 count, int32* written) {
    if (buffer == nullptr || count < 0) return kInvalidArgument;
    const auto end = static_cast<std::size_t>(at + count);
    if (end > bytes.size()) bytes.resize(end);
    if (count > 0) std::memcpy(bytes.data() + at, buffer, static_cast<std::size_t>(count));
    at += count;
    if (written != nullptr) *written = count;
    return kResultOk;
}

tresult MemoryStream::seek(int64 pos, int32 mode, int64* result) {
    const int64 base = mode == kIBSeekSet   ? 0
                       : mode == kIBSeekCur ? at
                       : mode == kIBSeekEnd ? static_cast<int64>(bytes.size())
                                            : -1;
    if (base < 0 || base + pos < 0) return kInvalidArgument;
    at = base + pos;
    if (result != nullptr) *result = at;
    return kResultOk;
}

tresult MemoryStream::tell(int64* pos) {
    if (pos == nullptr) return kInvalidArgument;
    *pos = at;
    return kResultOk;
}

tresult ParamValueQueue::getPoint(int32 index, int32& offset, ParamValue& value) {
    if (index < 0 || index >= count) return kInvalidArgument;
    offset = points[static_cast<std::size_t>(index)].offset;
    value = points[static_cast<std::size_t>(index)].value;
    return kResultOk;
}

tresult ParamValueQueue::addPoint(int32 offset, ParamValue value, int32& index) {
    int32 at = 0;
    while (at < count && points[static_cast<std::size_t>(at)].offset < offset) ++at;
    if (at < count && points[static_cast<std::size_t>(at)].offset == offset) {
        points[static_cast<std::size_t>(at)].value = value;
    } else {
        if (count == kCapacity) return kResultFalse;
        std::copy_backward(points.begin() + at, points.begin() + count, points.begin() + count + 1);
        points[static_cast<std::size_t>(at)] = {offset, value};
        ++count;
    }
    index = at;
    return kResultOk;
}

bool ParamValueQueue::append(int32 offset, ParamValue value) {
    if (count == kCapacity) return false;
    points[static_cast<std::size_t>(count++)] = {offset, value};
    return true;
}

IParamValueQueue* ParameterChanges::getParameterData(int32 index) {
    return index >= 0 && index < count ? &queues[static_cast<std::size_t>(index)] : nullptr;
}

IParamValueQueue* ParameterChanges::addParameterData(const ParamID& id, int32& index) {
    for (index = 0; index < count; ++index) {
        if (queues[static_cast<std::size_t>(index)].getParameterId() == id)
            return &queues[static_cast<std::size_t>(index)];
    }
    if (count == kCapacity) return nullptr;
    queues[static_cast<std::size_t>(count)].reset(id);
    index = count++;
    return &queues[static_cast<std::size_t>(index)];
}

bool ParameterChanges::add(ParamID id, int32 offset, ParamValue value) {
    int32 index = 0;
    auto* queue = static_cast<ParamValueQueue*>(addParameterData(id, index));
    return queue != nullptr && queue->append(offset, value);
}

}  // namespace Vst3Host
