// The control port's atom sequence as a host or a misbehaving panel might send it: a raw body
// behind a well-formed header, or events built from the bytes (MIDI of any size, objects with
// any keys and values, sizes that lie), in a buffer of exactly the size the sequence claims so
// ASan sees any read beyond it. After each run the notify port holds a sequence that stays
// within its capacity, and the output is sane.
#include <lv2/atom/util.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/fuzz/Lv2Rig.h"

namespace {

using namespace Lv2Fuzz;

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t next() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
};

class SequenceWriter {
public:
    std::vector<std::uint8_t> body;  // the sequence body after its unit and pad

    template <typename T>
    void put(const T& value) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
        body.insert(body.end(), bytes, bytes + sizeof value);
    }
    void pad() { body.resize(lv2_atom_pad_size(static_cast<std::uint32_t>(body.size()))); }
    void patchSize(std::size_t at, std::uint32_t size) { std::memcpy(&body[at], &size, 4); }
};

// Events from the bytes: [time] [kind] [size] and a body of that kind, while bytes last.
void buildEvents(Reader& in, Rig& rig, SequenceWriter& out) {
    const LV2_URID types[] = {rig.uris(LV2_ATOM__Int), rig.uris(LV2_ATOM__Float),
                              rig.uris(LV2_ATOM__Vector), rig.uris(LV2_ATOM__Object), 0};
    const LV2_URID objectTypes[] = {rig.uris(kStartLearningUri),
                                    rig.uris(kCancelLearningUri),
                                    rig.uris(kForgetUri),
                                    rig.uris(kClearAllUri),
                                    rig.uris(kGetBindingsUri),
                                    rig.uris(kBindingsUri),
                                    0};
    const LV2_URID keys[] = {rig.uris(kParameterKeyUri), rig.uris(kControllerKeyUri),
                             rig.uris(kBindingsKeyUri), 0};
    const LV2_URID midi = rig.uris(LV2_MIDI__MidiEvent), object = rig.uris(LV2_ATOM__Object);
    while (in.size > 0) {
        out.put(static_cast<std::int64_t>(static_cast<std::int8_t>(in.next())) * 4);
        const std::uint8_t kind = in.next();
        const std::size_t sizeAt = out.body.size();
        const std::uint8_t size = in.next();
        const bool lie = kind & 0x80;  // keep the size from the bytes, whatever follows
        out.put(std::uint32_t{size});
        const std::size_t start = out.body.size() + 4;
        if (kind % 3 == 0) {
            out.put(midi);
            for (int i = 0; i < size && in.size > 0; ++i) out.put(in.next());
        } else if (kind % 3 == 1) {
            out.put(object);
            out.put(std::uint32_t{0});
            out.put(objectTypes[in.next() % 7]);
            for (int p = in.next() % 4; p > 0 && in.size > 0; --p) {
                out.put(keys[in.next() % 4]);
                out.put(std::uint32_t{0});
                const std::uint8_t valueSize = in.next();
                out.put(static_cast<std::uint32_t>(valueSize % 16));
                out.put(types[in.next() % 5]);
                for (int i = 0; i < valueSize % 16; ++i) out.put(in.next());
                out.pad();
            }
        } else {
            out.put(types[in.next() % 5]);
            for (int i = 0; i < size && in.size > 0; ++i) out.put(in.next());
        }
        if (!lie) out.patchSize(sizeAt, static_cast<std::uint32_t>(out.body.size() - start));
        out.pad();
    }
}

// The notify sequence, walked within the capacity the plug-in was given: every event, object
// and property inside it.
void checkNotify(const std::uint8_t* port, std::uint32_t capacity, LV2_URID sequence,
                 LV2_URID object) {
    const auto* seq = reinterpret_cast<const LV2_Atom_Sequence*>(port);
    if (seq->atom.type != sequence || sizeof(LV2_Atom) + seq->atom.size > capacity ||
        seq->atom.size < sizeof(LV2_Atom_Sequence_Body))
        std::abort();
    std::uint32_t at = sizeof(LV2_Atom_Sequence);
    const std::uint32_t end = sizeof(LV2_Atom) + seq->atom.size;
    while (at < end) {
        if (end - at < sizeof(LV2_Atom_Event)) std::abort();
        const auto* event = reinterpret_cast<const LV2_Atom_Event*>(port + at);
        if (event->body.size > end - at - sizeof(LV2_Atom_Event)) std::abort();
        if (event->body.type == object) {
            const auto* obj = reinterpret_cast<const LV2_Atom_Object*>(&event->body);
            if (obj->atom.size < sizeof(LV2_Atom_Object_Body)) std::abort();
            std::uint32_t offset = sizeof(LV2_Atom_Object_Body);
            while (offset < obj->atom.size) {
                const auto* property = reinterpret_cast<const LV2_Atom_Property_Body*>(
                    reinterpret_cast<const std::uint8_t*>(&obj->body) + offset);
                if (obj->atom.size - offset < sizeof(LV2_Atom_Property_Body) ||
                    property->value.size > obj->atom.size - offset - sizeof(LV2_Atom_Property_Body))
                    std::abort();
                offset += lv2_atom_pad_size(static_cast<std::uint32_t>(
                    sizeof(LV2_Atom_Property_Body) + property->value.size));
            }
        }
        at += lv2_atom_pad_size(
            static_cast<std::uint32_t>(sizeof(LV2_Atom_Event) + event->body.size));
    }
}

}  // namespace

// Layout: [frames, 2 bytes] [mode: raw body or built events] [notify capacity] the rest.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    Rig rig;
    const std::uint32_t frames = (data[0] | data[1] << 8) % (Rig::kMaxFrames + 1);
    const bool raw = data[2] & 1;
    // The plug-in budgets the atom's size, the capacity less the atom's header: the smallest
    // capacity here leaves room for an empty sequence within that.
    const std::uint32_t capacity = sizeof(LV2_Atom) + sizeof(LV2_Atom_Sequence) + 16u * data[3];
    Reader in{data + 4, size - 4};
    SequenceWriter events;
    if (raw)
        events.body.assign(in.data, in.data + in.size);
    else
        buildEvents(in, rig, events);

    // Exactly the claimed size: header, unit and pad, then the events.
    const LV2_URID sequence = rig.uris(LV2_ATOM__Sequence);
    std::vector<std::uint8_t> control(sizeof(LV2_Atom_Sequence) + events.body.size());
    LV2_Atom_Sequence head{};
    head.atom = {static_cast<std::uint32_t>(sizeof(LV2_Atom_Sequence_Body) + events.body.size()),
                 sequence};
    std::memcpy(control.data(), &head, sizeof head);
    std::copy(events.body.begin(), events.body.end(), control.begin() + sizeof head);
    std::vector<std::uint8_t> notify(capacity);
    rig.plugin->Connect(kControlPort, control.data());
    rig.plugin->Connect(kNotifyPort, notify.data());
    rig.plugin->Activate();
    for (int pass = 0; pass < 2; ++pass) {
        // As hosts do: the capacity in the atom's size, before every run.
        const LV2_Atom room{capacity - static_cast<std::uint32_t>(sizeof(LV2_Atom)),
                            rig.uris(LV2_ATOM__Chunk)};
        std::memcpy(notify.data(), &room, sizeof room);
        rig.run(frames);
        checkNotify(notify.data(), capacity, sequence, rig.uris(LV2_ATOM__Object));
    }
    return 0;
}
