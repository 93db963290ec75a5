#include "tests/stress/InterfaceThread.h"

#include <sstream>

namespace Stress {

namespace {

constexpr std::size_t kExamples = 8;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

InterfaceThread::InterfaceThread(const VstHost::PluginLibrary& loaded, VstHost::Host& hammered,
                                 const Reference& learned, const Vocabulary& vocabulary,
                                 Scenario what, std::uint32_t seed)
    : library(loaded),
      host(hammered),
      reference(learned),
      words(vocabulary),
      scenario(what),
      random(seed * 2654435761u + 1u) {}

std::uint64_t InterfaceThread::callOnce() {
    step();
    return ++calls;
}

void InterfaceThread::fill(HammerReport& report) const {
    report.interfaceCalls = calls;
    report.displayFailures = displayFailures;
    report.valueFailures = valueFailures;
    report.nameFailures = nameFailures;
    report.chunkFailures = chunkFailures;
    report.examples.insert(report.examples.end(), examples.begin(), examples.end());
}

void InterfaceThread::fail(std::uint64_t& counter, const std::string& what) {
    ++counter;
    if (examples.size() < kExamples) examples.push_back(what);
}

void InterfaceThread::step() {
    if (scenario == Scenario::Cutoff) {
        host.setParameter(1, words.grid[random.below(static_cast<int>(words.grid.size()))]);
        return;
    }
    // Weights out of 100: parameter traffic dominates, as it does while a user works a knob.
    const int pick = random.below(100);
    if (pick < 35) return setParameter();
    if (pick < 45) return checkParameter();
    if (pick < 65) return checkDisplay();
    if (pick < 70) return selectProgram();
    if (pick < 80) return renameProgram();
    if (pick < 85) return roundTrip(true);
    if (pick < 88) return roundTrip(false);
    host.dispatch(effEditIdle);
}

void InterfaceThread::setParameter() {
    // Half the changes go to the cutoff, whose coefficients the audio thread reads per sample.
    const int parameter = random.below(2) == 0 ? 1 : random.below(reference.parameterCount());
    host.setParameter(parameter, words.grid[random.below(static_cast<int>(words.grid.size()))]);
}

void InterfaceThread::checkParameter() {
    const int parameter = random.below(reference.parameterCount());
    const float value = host.getParameter(parameter);
    if (!reference.chunks().valueAllowed(parameter, value)) {
        std::ostringstream text;
        text.precision(9);
        text << "getParameter(" << parameter << ") answered " << value << ", a value nothing set";
        fail(valueFailures, text.str());
    }
}

void InterfaceThread::checkDisplay() {
    const int parameter = random.below(reference.parameterCount());
    const VstHost::FieldText display = host.getString(effGetParamDisplay, parameter, 8);
    if (!display.ok() || !reference.displayAllowed(parameter, display.text)) {
        fail(displayFailures,
             "display of parameter " + std::to_string(parameter) + " was " + quoted(display.text) +
                 (display.ok() ? ", which no single value shows" : ", written outside its field"));
    }
}

void InterfaceThread::selectProgram() {
    host.dispatch(effSetProgram, 0, random.below(reference.programCount()));
}

void InterfaceThread::renameProgram() {
    const std::string& name = words.names[random.below(static_cast<int>(words.names.size()))];
    char field[kProgramNameSize * 4] = {};
    name.copy(field, sizeof field - 1);
    host.dispatch(effSetProgramName, 0, 0, field);
    const VstHost::FieldText shown = host.getString(effGetProgramName, 0, kProgramNameSize);
    if (!shown.ok() || !reference.nameAllowed(shown.text))
        fail(nameFailures, "program name read back as " + quoted(shown.text));
}

// A chunk taken during processing must be one the plug-in could have written at some single
// moment, load into a fresh instance that then writes the same bytes, and load back.
void InterfaceThread::roundTrip(bool program) {
    const char* kind = program ? "program" : "bank";
    const Bytes chunk = readChunk(host, program);
    const std::string broken = reference.chunks().check(chunk, program);
    if (!broken.empty()) return fail(chunkFailures, std::string(kind) + " chunk: " + broken);
    if (!loadsIntoFreshInstance(chunk, program)) return;
    if (writeChunk(host, chunk, program) != 1)
        fail(chunkFailures, std::string(kind) + " chunk refused when loaded back");
}

bool InterfaceThread::loadsIntoFreshInstance(const Bytes& chunk, bool program) {
    const char* kind = program ? "program" : "bank";
    VstHost::Host fresh;
    if (!fresh.open(library)) {
        fail(chunkFailures, "no fresh instance: " + fresh.error());
        return false;
    }
    if (writeChunk(fresh, chunk, program) != 1) {
        fail(chunkFailures, std::string(kind) + " chunk refused by a fresh instance");
        return false;
    }
    if (readChunk(fresh, program) != chunk) {
        fail(chunkFailures,
             std::string(kind) + " chunk comes back different from a fresh instance");
        return false;
    }
    return true;
}

}  // namespace Stress
