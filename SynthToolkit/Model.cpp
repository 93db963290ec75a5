#include "SynthToolkit/Model.h"

#include <cmath>
#include <cstring>

#include "vst/TextTools.h"

namespace SynthToolkit {
namespace {

using Platform::ScopedLock;

// NaN keeps what was there; everything else is pulled into 0..1.
float normalised(float v, float previous) {
    if (std::isnan(v)) return previous;
    if (v < 0.0f) return 0.0f;
    if (v > 1.0f) return 1.0f;
    return v;
}

// Reads a whole text field and compares it, as a string of at most N characters, with the
// stored one.
template <std::size_t N>
bool readMatchingText(ChunkReader& reader, const char (&expected)[N]) {
    char field[N] = {};
    if (reader.read(field, static_cast<int>(N)) != static_cast<int>(N)) return false;
    return std::strncmp(field, expected, N) == 0;
}

}  // namespace

Model::Model(const char* effectName, const char* vendor, const char* product, int vendorVersion,
             int programCount, Midi::IMessageProvider* messageProvider)
    : version(vendorVersion),
      provider(messageProvider),
      programNames(static_cast<std::size_t>(programCount > 0 ? programCount : 1)) {
    VstText::ReplaceField(effectNameField, effectName);
    VstText::ReplaceField(vendorField, vendor);
    VstText::ReplaceField(productField, product);
    if (provider != nullptr) provider->addControllerObserver(this);
    for (ProgramName& name : programNames) VstText::ReplaceField(name.data(), "Blank", name.size());
}

Model::~Model() {
    ScopedLock hold(modelLock);
    if (provider != nullptr) provider->removeControllerObserver(this);
}

void Model::controllerChanged(int, int controller, int value) {
    const int entry = mappedParameter(controller);
    if (entry == kNone || entry >= parameterCount()) return;
    setParameterValue(entry, static_cast<float>(value) * (1.0f / 127.0f));
    notifyParameterChanged(nullptr, entry);
}

void Model::addGroup(Parameters::IParameterGroup* group) {
    if (group != nullptr) groups.push_back(group);
}

void Model::addObserver(IModelObserver* observer) {
    ScopedLock hold(modelLock);
    observers.add(observer);
}

void Model::removeObserver(IModelObserver* observer) {
    ScopedLock hold(modelLock);
    observers.removeAll(observer);
}

Parameters::IParameterGroup* Model::groupOf(int& i) const {
    if (i < 0) return nullptr;
    for (Parameters::IParameterGroup* group : groups) {
        const int count = group->parameterCount();
        if (i < count) return group;
        i -= count;
    }
    return nullptr;
}

int Model::parameterCount() const {
    int count = 0;
    for (const Parameters::IParameterGroup* group : groups) count += group->parameterCount();
    return count;
}

float Model::parameterValue(int i) const {
    const Parameters::IParameterGroup* group = groupOf(i);
    return group != nullptr ? group->value(i) : 0.0f;
}

void Model::setParameterValue(int i, float v) {
    ScopedLock hold(modelLock);
    if (Parameters::IParameterGroup* group = groupOf(i))
        group->setValue(i, normalised(v, group->value(i)));
}

void Model::resetParameter(int i) {
    ScopedLock hold(modelLock);
    if (Parameters::IParameterGroup* group = groupOf(i)) group->resetToDefault(i);
}

const char* Model::parameterShortName(int i) const {
    const Parameters::IParameterGroup* group = groupOf(i);
    return group != nullptr ? group->parameterShortName(i) : "";
}

const char* Model::parameterLongName(int i) const {
    const Parameters::IParameterGroup* group = groupOf(i);
    return group != nullptr ? group->parameterLongName(i) : "";
}

const char* Model::parameterLabel(int i) const {
    const Parameters::IParameterGroup* group = groupOf(i);
    return group != nullptr ? group->parameterLabel(i) : "";
}

const char* Model::parameterDisplayText(int i) const {
    const Parameters::IParameterGroup* group = groupOf(i);
    return group != nullptr ? group->parameterDisplayText(i) : "";
}

const char* Model::groupShortName(int i) const {
    const Parameters::IParameterGroup* group = groupOf(i);
    return group != nullptr ? group->shortName() : "";
}

void Model::selectProgram(int program) {
    if (program < 0 || program >= programCount()) return;
    ScopedLock hold(modelLock);
    current = program;
    for (Parameters::IParameterGroup* group : groups) group->selectProgram(program);
}

const char* Model::programName(int program) const {
    return program >= 0 && program < programCount()
               ? programNames[static_cast<std::size_t>(program)].data()
               : "";
}

void Model::setCurrentProgramName(const char* text) {
    if (text == nullptr) return;
    ProgramName& name = programNames[static_cast<std::size_t>(current)];
    VstText::ReplaceField(name.data(), text, name.size());
}

void Model::notifyParameterChanged(IModelObserver* except, int i) {
    ScopedLock hold(modelLock);
    observers.forEach([except, i](IModelObserver* o) {
        if (o != except) o->parameterChanged(i);
    });
}

void Model::notifyModelChanged() {
    ScopedLock hold(modelLock);
    observers.forEach([](IModelObserver* o) { o->modelChanged(); });
}

void Model::processLocked(float** inputs, float** outputs, int frames) {
    ScopedLock hold(modelLock);
    process(inputs, outputs, frames);
}

void Model::writeHeader(ChunkWriter& writer) const {
    writer.append(effectNameField, kEffectNameLength);
    writer.append(vendorField, kVendorLength);
    writer.append(productField, kProductLength);
    writer.appendInt32(version);
}

bool Model::readHeader(ChunkReader& reader) const {
    // The version is only checked for being there: both formats of this family share the
    // layout, so older and newer versions read alike.
    std::int32_t chunkVersion;
    return readMatchingText(reader, effectNameField) && readMatchingText(reader, vendorField) &&
           readMatchingText(reader, productField) && reader.readInt32(chunkVersion);
}

bool Model::readProgramName(ChunkReader& reader, int program) {
    ProgramName field{};
    if (reader.read(field.data(), kProgramNameLength) != kProgramNameLength) return false;
    field[kProgramNameLength - 1] = '\0';  // a stored name is always a string
    programNames[static_cast<std::size_t>(program)] = field;
    return true;
}

void Model::storeValue(int program, int i, float v) {
    ScopedLock hold(modelLock);
    int local = i;
    Parameters::IParameterGroup* group = groupOf(local);
    if (group == nullptr) return;
    group->setValueOfProgram(program, local, normalised(v, group->valueOfProgram(program, local)));
}

void Model::writeProgram(ChunkWriter& writer) {
    writeHeader(writer);
    writer.append(programNames[static_cast<std::size_t>(current)].data(), kProgramNameLength);
    const int count = parameterCount();
    for (int i = 0; i < count; ++i) writer.appendFloat(parameterValue(i));
}

bool Model::readProgram(ChunkReader& reader) {
    if (!readHeader(reader) || !readProgramName(reader, current)) return false;
    const int count = parameterCount();
    for (int i = 0; i < count; ++i) {
        float v;
        if (!reader.readFloat(v)) return false;
        storeValue(current, i, v);
    }
    return true;
}

void Model::writeBank(ChunkWriter& writer) {
    writeHeader(writer);
    const int count = parameterCount();
    for (int p = 0; p < programCount(); ++p) {
        writer.append(programNames[static_cast<std::size_t>(p)].data(), kProgramNameLength);
        for (int i = 0; i < count; ++i) {
            int local = i;
            const Parameters::IParameterGroup* group = groupOf(local);
            writer.appendFloat(group->valueOfProgram(p, local));
        }
    }
}

bool Model::readBank(ChunkReader& reader) {
    if (!readHeader(reader)) return false;
    const int count = parameterCount();
    for (int p = 0; p < programCount(); ++p) {
        if (!readProgramName(reader, p)) return false;
        for (int i = 0; i < count; ++i) {
            float v;
            if (!reader.readFloat(v)) return false;
            storeValue(p, i, v);
        }
    }
    return true;
}

}  // namespace SynthToolkit
