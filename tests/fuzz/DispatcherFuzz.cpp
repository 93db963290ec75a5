// Random sequences of host calls with correctly sized buffers: every opcode a host may send,
// any index, value and opt, interleaved with parameter changes and audio.
#include "tests/fuzz/FuzzedInstance.h"

namespace {

// Room for whatever an opcode writes: the longest text field is 64 bytes; records are larger.
struct Scratch {
    alignas(16) char bytes[4096];
};

// Opcodes whose value is a pointer (speaker arrangements in and out).
bool valueIsPointer(VstInt32 opcode) {
    return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fuzz::Bytes bytes(data, size);
    Fuzz::Instance instance;
    AEffect* effect = instance.effect;
    Scratch scratch, arrangement = {};
    while (bytes.Left() > 0) {
        const std::uint8_t action = bytes.Byte();
        if (action < 16) {
            effect->setParameter(effect, bytes.Byte() % 8 - 1, bytes.Float());
        } else if (action < 24) {
            (void)effect->getParameter(effect, bytes.Byte() % 8 - 1);
        } else if (action < 32) {
            instance.Render(bytes.Byte() * 2);
        } else {
            const VstInt32 opcode = bytes.Byte() % 80;
            // Closing ends the instance; events have their own target; an editor needs a
            // window of the host's.
            if (opcode == effClose || opcode == effProcessEvents || opcode == effEditOpen) continue;
            const VstInt32 index = static_cast<std::int8_t>(bytes.Byte());
            VstIntPtr value = static_cast<std::int16_t>(bytes.Int32());
            if (valueIsPointer(opcode)) value = reinterpret_cast<VstIntPtr>(arrangement.bytes);
            const float opt = bytes.Float();
            std::memset(scratch.bytes, 0, sizeof(scratch.bytes));
            // Texts given to the plug-in are terminated inside the buffer.
            const std::size_t text = bytes.Byte() % 64;
            for (std::size_t i = 0; i < text; ++i)
                scratch.bytes[i] = static_cast<char>(bytes.Byte() | 1);
            void* ptr = (action & 1) != 0 ? nullptr : scratch.bytes;
            if (opcode == effSetChunk) {
                // A chunk's size is what the buffer holds.
                instance.Dispatch(opcode, index,
                                  (action & 2) != 0 ? static_cast<VstIntPtr>(text) : 0, ptr, opt);
            } else if (opcode == effSetSampleRate) {
                instance.Dispatch(effMainsChanged, 0, 0);
                instance.Dispatch(opcode, index, value, ptr, opt);
                instance.Dispatch(effMainsChanged, 0, 1);
            } else {
                instance.Dispatch(opcode, index, value, ptr, opt);
            }
        }
    }
    instance.Render(64);
    return 0;
}
