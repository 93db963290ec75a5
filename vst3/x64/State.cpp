#include "vst3/x64/State.h"

#include <cstdint>
#include <cstring>

namespace QuellinCorvane::Vst3Plugin {
namespace {

constexpr std::size_t kMaxStateBytes = 4u << 20;
constexpr char kTrailerTag[4] = {'Q', 'C', 'p', 'g'};
constexpr std::int32_t kTrailerVersion = 1;
constexpr std::size_t kTrailerBytes = 12;
// Where the chunk's size sits in the preset containers: after the common 28 bytes, a program
// has its parameter count and 28-byte name, a bank its program count and 128 reserved bytes.
constexpr std::size_t kProgramChunkSizeAt = 56;
constexpr std::size_t kBankChunkSizeAt = 156;
constexpr std::size_t kBankCurrentProgramAt = 28;

std::int32_t bigEndian(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>((std::uint32_t{b[at]} << 24) |
                                     (std::uint32_t{b[at + 1]} << 16) |
                                     (std::uint32_t{b[at + 2]} << 8) | std::uint32_t{b[at + 3]});
}

std::int32_t littleEndian(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) |
                                     (std::uint32_t{b[at + 2]} << 16) |
                                     (std::uint32_t{b[at + 3]} << 24));
}

void appendLittleEndian(Bytes& b, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) b.push_back(static_cast<unsigned char>(v >> shift));
}

bool tagAt(const Bytes& b, std::size_t at, const char* tag) {
    return b.size() >= at + 4 && std::memcmp(b.data() + at, tag, 4) == 0;
}

enum class Kind { Bank, Program, Either };

// A chunk inside the bytes, with what the container or trailer says about the selection.
struct Payload {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    Kind kind = Kind::Either;
    int program = -1;  // -1: keep the selection
};

bool unwrap(const Bytes& b, Payload& payload) {
    if (tagAt(b, 0, "CcnK")) {
        const bool bank = tagAt(b, 8, "FBCh");
        if (!bank && !tagAt(b, 8, "FPCh")) return false;
        const std::size_t sizeAt = bank ? kBankChunkSizeAt : kProgramChunkSizeAt;
        if (b.size() < sizeAt + 4 || bigEndian(b, 16) != kUniqueId) return false;
        const std::int32_t size = bigEndian(b, sizeAt);
        if (size <= 0 || static_cast<std::size_t>(size) > b.size() - sizeAt - 4) return false;
        payload = {b.data() + sizeAt + 4, static_cast<std::size_t>(size),
                   bank ? Kind::Bank : Kind::Program, -1};
        if (bank && bigEndian(b, 12) >= 2) payload.program = bigEndian(b, kBankCurrentProgramAt);
        return true;
    }
    payload = {b.data(), b.size(), Kind::Either, -1};
    const std::size_t end = b.size() - kTrailerBytes;
    if (b.size() >= kTrailerBytes && tagAt(b, end, kTrailerTag) &&
        littleEndian(b, end + 4) == kTrailerVersion) {
        payload = {b.data(), end, Kind::Bank, littleEndian(b, end + 8)};
    }
    return !b.empty();
}

// Whether the model took the chunk; read tells how many bytes it read.
bool deserialize(QuellinCorvaneModel& model, const Payload& payload, Kind kind,
                 VstInt32* read = nullptr) {
    VstToolkit::ChunkReader reader(payload.data, static_cast<VstInt32>(payload.size));
    const bool taken = kind == Kind::Bank ? model.DeserializeBank(reader)
                                          : model.DeserializeSelectedProgram(reader);
    if (read != nullptr) *read = reader.Position();
    return taken;
}

// A program chunk's length, and a bank's without its MIDI bindings: the 32-bit build writes
// banks that end after the programs.
struct ChunkSizes {
    std::size_t program;
    std::size_t bankWithoutBindings;
};

ChunkSizes chunkSizes() {
    QuellinCorvaneModel model;
    VstToolkit::ChunkBuffer chunk;
    model.SerializeSelectedProgram(chunk);
    const auto program = static_cast<std::size_t>(chunk.Length());
    chunk.Clear();
    model.SerializeBank(chunk);
    // A new model has no bindings: one zero byte per parameter closes its bank.
    return {program, static_cast<std::size_t>(chunk.Length() - model.GetParameterCount())};
}

}  // namespace

bool ReadStream(Vst3::IBStream* stream, Bytes& bytes) {
    bytes.clear();
    if (stream == nullptr) return false;
    unsigned char block[4096];
    for (;;) {
        Vst3::int32 got = 0;
        if (stream->read(block, sizeof(block), &got) != Vst3::kResultOk) return !bytes.empty();
        if (got <= 0) return true;
        if (got > static_cast<Vst3::int32>(sizeof(block))) return false;
        bytes.insert(bytes.end(), block, block + got);
        if (bytes.size() > kMaxStateBytes) return false;
    }
}

bool WriteStream(Vst3::IBStream* stream, const Bytes& bytes) {
    if (stream == nullptr) return false;
    Vst3::int32 written = 0;
    const auto size = static_cast<Vst3::int32>(bytes.size());
    return stream->write(const_cast<unsigned char*>(bytes.data()), size, &written) ==
               Vst3::kResultOk &&
           written == size;
}

Bytes SaveState(VstToolkit::Model& model) {
    VstToolkit::ChunkBuffer chunk;
    // As the VST 2.x plug-in's getChunk does: again while a learned controller changed a value
    // during the write, bounded against a host that floods it.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::uint32_t begin = model.BeginStableRead();
        chunk.Clear();
        model.SerializeBank(chunk);
        if (model.EndStableRead(begin)) break;
    }
    Bytes bytes(chunk.Data(), chunk.Data() + chunk.Length());
    bytes.insert(bytes.end(), kTrailerTag, kTrailerTag + 4);
    appendLittleEndian(bytes, kTrailerVersion);
    appendLittleEndian(bytes, model.GetSelectedProgramIndex());
    return bytes;
}

bool LoadState(QuellinCorvaneModel& model, const Bytes& bytes) {
    Payload payload;
    if (!unwrap(bytes, payload)) return false;
    // The Model reads a chunk as it goes, so a chunk cut short would leave it half loaded: a
    // scratch model reads it first, and only a chunk it takes reaches the real one.
    static const ChunkSizes sizes = chunkSizes();
    Kind kind = payload.kind;
    {
        QuellinCorvaneModel scratch;
        if (kind != Kind::Program) {
            // A bank is read to its last byte: bytes left over are a damaged trailer or
            // something else's data.
            VstInt32 read = 0;
            const bool taken = deserialize(scratch, payload, Kind::Bank, &read);
            if (static_cast<std::size_t>(read) == payload.size &&
                (taken || payload.size == sizes.bankWithoutBindings)) {
                // A bank without bindings loads its programs and clears the bindings, as the
                // VST 2.x plug-in does with it.
                kind = Kind::Bank;
            } else if (kind == Kind::Either && payload.size == sizes.program) {
                // A bare program chunk has its one length: a longer one is a bank cut short.
                kind = Kind::Program;
            } else {
                return false;
            }
        }
        if (kind == Kind::Program && !deserialize(scratch, payload, kind)) return false;
    }
    deserialize(model, payload, kind);
    if (payload.program >= 0 && payload.program < model.GetProgramCount())
        model.SetSelectedProgramIndex(payload.program);
    return true;
}

}  // namespace QuellinCorvane::Vst3Plugin
