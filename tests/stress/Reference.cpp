#include "tests/stress/Reference.h"

#include "tools/host/MidiEvents.h"

namespace Stress {

namespace {

constexpr VstInt32 kLearnBlock = 16;

// One short block, so queued events are dispatched.
void processBlock(VstHost::Host& host) {
    std::vector<float> in(kLearnBlock, 0.0f), outL(kLearnBlock), outR(kLearnBlock);
    host.processReplacing({in.data(), in.data()}, {outL.data(), outR.data()}, kLearnBlock,
                          kLearnBlock);
}

std::string nameField(const Bytes& programChunk) {
    return std::string(reinterpret_cast<const char*>(programChunk.data() + kChunkHeaderSize),
                       kProgramNameSize);
}

}  // namespace

Vocabulary defaultVocabulary() {
    Vocabulary words;
    for (int k = 0; k <= 127; ++k) words.grid.push_back(static_cast<float>(k) / 127.0f);
    words.names = {"Hammer A", "Hammer B", "Blank",
                   "",         "x",        "A name longer than any program name field"};
    return words;
}

std::size_t bankRecordsEnd(std::size_t programs, std::size_t parameters) {
    return kChunkHeaderSize + programs * (kProgramNameSize + 4 * parameters);
}

Bytes readChunk(VstHost::Host& host, bool program) {
    void* data = nullptr;
    const VstIntPtr size = host.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return Bytes(bytes, bytes + size);
}

VstIntPtr writeChunk(VstHost::Host& host, const Bytes& chunk, bool program) {
    // The plug-in may keep the pointer only for the call; a copy keeps the caller's bytes safe
    // from a plug-in that writes into them.
    Bytes copy = chunk;
    return host.dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(copy.size()),
                         copy.data());
}

bool Reference::displayAllowed(int parameter, const std::string& text) const {
    return parameter >= 0 && parameter < static_cast<int>(displays.size()) &&
           displays[parameter].count(text) != 0;
}

bool Reference::learn(const VstHost::PluginLibrary& library, const Vocabulary& words,
                      std::string& error) {
    VstHost::Host host;
    if (!host.open(library)) {
        error = host.error();
        return false;
    }
    AEffect* effect = host.effect();
    rules = ChunkRules{};
    rules.programCount = effect->numPrograms;
    rules.parameterCount = effect->numParams;
    displays.assign(effect->numParams, {});
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    host.dispatch(effSetBlockSize, 0, kLearnBlock);
    host.dispatch(effMainsChanged, 0, 1);

    // What a fresh instance shows counts too: its defaults, displays and name.
    for (int p = 0; p < rules.parameterCount; ++p) {
        rules.allowValue(p, host.getParameter(p));
        displays[p].insert(host.getString(effGetParamDisplay, p, 8).text);
        for (float value : words.grid) rules.allowValue(p, value);
    }
    const Bytes program = readChunk(host, true);
    if (program.size() < kChunkHeaderSize + kProgramNameSize) {
        error = "a fresh instance answers a program chunk of " + std::to_string(program.size()) +
                " bytes";
        return false;
    }
    rules.header.assign(program.begin(), program.begin() + kChunkHeaderSize);
    rules.nameFields.insert(nameField(program));
    nameTexts.insert(host.getString(effGetProgramName, 0, 24).text);

    if (!learnBank(host, words, error)) return false;
    if (binds) learnControllerValues(host, words);
    learnNames(host, words);
    // Every value either thread can set, as the plug-in displays it.
    for (int p = 0; p < rules.parameterCount; ++p) {
        for (std::uint32_t bits : rules.values[p]) {
            host.setParameter(p, floatFromBits(bits));
            displays[p].insert(host.getString(effGetParamDisplay, p, 8).text);
        }
    }
    return true;
}

bool Reference::learnBank(VstHost::Host& host, const Vocabulary& words, std::string& error) {
    const Bytes fresh = readChunk(host, false);
    const std::size_t end = bankRecordsEnd(rules.programCount, rules.parameterCount);
    if (fresh.size() < end) {
        error = "a fresh instance answers a bank chunk of " + std::to_string(fresh.size()) +
                " bytes, less than its " + std::to_string(rules.programCount) + " programs";
        return false;
    }
    // A binding section follows the programs only in the format that carries one: one byte
    // per parameter, 0 for none, or 1 and the controller number.
    binds = fresh.size() > end;
    if (!binds) return true;
    bank.assign(fresh.begin(), fresh.begin() + end);
    for (int p = 0; p < rules.parameterCount; ++p) {
        bank.push_back(1);
        bank.push_back(static_cast<std::uint8_t>(words.firstController + p));
    }
    if (writeChunk(host, bank, false) != 1) {
        error = "the plug-in refuses its own bank with controller bindings";
        return false;
    }
    const Bytes reread = readChunk(host, false);
    if (reread != bank) {
        error = "the plug-in does not give back the controller bindings it loaded";
        return false;
    }
    rules.bankTail.assign(bank.begin() + end, bank.end());
    return true;
}

// The values a controller produces are the plug-in's own conversion of 0..127; they are read
// back rather than computed.
void Reference::learnControllerValues(VstHost::Host& host, const Vocabulary& words) {
    for (int value = 0; value <= 127; ++value) {
        std::vector<VstMidiEvent> events;
        for (int p = 0; p < rules.parameterCount; ++p)
            events.push_back(VstHost::makeControlChange(0, 0, words.firstController + p, value));
        host.sendEvents(events);
        processBlock(host);
        for (int p = 0; p < rules.parameterCount; ++p) rules.allowValue(p, host.getParameter(p));
    }
    host.clearCalls();
}

void Reference::learnNames(VstHost::Host& host, const Vocabulary& words) {
    for (const std::string& name : words.names) {
        char field[kProgramNameSize * 4] = {};
        name.copy(field, sizeof field - 1);
        host.dispatch(effSetProgramName, 0, 0, field);
        nameTexts.insert(host.getString(effGetProgramName, 0, 24).text);
        rules.nameFields.insert(nameField(readChunk(host, true)));
    }
}

}  // namespace Stress
