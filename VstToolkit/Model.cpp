#include "VstToolkit/Model.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>

#include "VstToolkit/Controller.h"
#include "vst/TextTools.h"
#include "vst/platform/Trace.h"

using Platform::Trace;

namespace VstToolkit {
namespace {

// Ordered comparison, so a NaN from the host never counts as a change.
bool differs(double a, double b) {
    return a < b || a > b;
}

}  // namespace

Model::Model(const PluginDescription& description) : renderChanges(description.parameterCount) {
    Trace("Model::Model\r\n");
    VstText::ReplaceField(effectName, description.effectName);
    VstText::ReplaceField(vendorString, description.vendorString);
    VstText::ReplaceField(productString, description.productString);
    uniqueId = description.uniqueId;
    vendorVersion = description.vendorVersion;
    pluginCategory = description.category;
    programCount = description.programCount;
    parameterCount = description.parameterCount;
    inputCount = description.inputCount;
    outputCount = description.outputCount;

    programNames.resize(static_cast<std::size_t>(programCount));
    for (auto& name : programNames)
        VstText::ReplaceField(name.text, description.initialProgramName);
    programValues = std::make_unique<std::atomic<float>[]>(
        static_cast<std::size_t>(programCount) * static_cast<std::size_t>(parameterCount));
    const auto parameters = static_cast<std::size_t>(parameterCount);
    parameterShortNames.resize(parameters);
    parameterLongNames.resize(parameters);
    parameterLabels.resize(parameters);
    parameterDisplays = std::make_unique<std::atomic<std::uint64_t>[]>(parameters);
    parameterDefaults.resize(parameters);
    for (VstInt32 i = 0; i < parameterCount; ++i) {
        const ParameterInfo& info = description.parameters[i];
        VstText::ReplaceField(parameterShortNames[i].text, info.shortName);
        VstText::ReplaceField(parameterLongNames[i].text, info.name);
        VstText::ReplaceField(parameterLabels[i].text, info.unit);
        SetParameterDisplay(i, "");
        parameterDefaults[i] = info.defaultValue;
        for (VstInt32 p = 0; p < programCount; ++p) StoreValue(p, i, info.defaultValue);
    }
    ClearMidiControllerMap();

    // The render state starts as a change to program 0: the effect's constructor takes it
    // with SyncRenderState once its own fields are set.
    renderChanges.StampProgramChange();
    renderChanges.StampEveryParameter();
}

Model::~Model() {
    Trace("Model::~Model\r\n");
}

void Model::SetController(Controller* owner) {
    Trace("Model::SetController\r\n");
    controller = owner;
    observer = owner;
}

const char* Model::GetEffectName() const {
    Trace("Model::GetEffectName\r\n");
    return effectName;
}

const char* Model::GetVendorString() const {
    Trace("Model::GetVendorString\r\n");
    return vendorString;
}

const char* Model::GetProductString() const {
    Trace("Model::GetProductString\r\n");
    return productString;
}

VstInt32 Model::GetUniqueId() const {
    Trace("Model::GetUniqueId\r\n");
    return uniqueId;
}

VstInt32 Model::GetVendorVersion() const {
    Trace("Model::GetVendorVersion\r\n");
    return vendorVersion;
}

VstInt32 Model::GetPluginCategory() const {
    Trace("Model::GetPluginCategory\r\n");
    return pluginCategory;
}

VstInt32 Model::GetProgramCount() const {
    Trace("Model::GetProgramCount\r\n");
    return programCount;
}

VstInt32 Model::GetInputCount() const {
    Trace("Model::GetInputCount\r\n");
    return inputCount;
}

VstInt32 Model::GetOutputCount() const {
    Trace("Model::GetOutputCount\r\n");
    return outputCount;
}

void Model::SetSelectedProgramIndex(VstInt32 index) {
    Trace("Model::SetSelectedProgramIndex\r\n");
    ChangeGroup group(renderChanges);
    const VstInt32 previous = GetSelectedProgramIndex();
    selectedProgram.store(index, std::memory_order_release);
    // The audio thread clears the filter memory, then takes every value of the new program.
    renderChanges.StampProgramChange();
    renderChanges.StampEveryParameter();
    OnSelectedProgramChanged(previous, index);
}

void Model::SetSelectedProgramName(const char* name) {
    Trace("Model::SetSelectedProgramName\r\n");
    VstText::ReplaceField(programNames[GetSelectedProgramIndex()].text, name);
}

void Model::SetParameterValue(VstInt32 index, float value) {
    Trace("Model::SetParameterValue\r\n");
    ChangeGroup group(renderChanges);
    const VstInt32 program = GetSelectedProgramIndex();
    const float previous = ProgramValue(program, index);
    StoreValue(program, index, value);
    renderChanges.StampParameter(index);
    OnParameterValueChanged(index, previous, value);
}

void Model::SetParameterValueFromAudio(VstInt32 index, float value) {
    {
        ChangeGroup group(audioChanges);
        const VstInt32 program = GetSelectedProgramIndex();
        const float previous = ProgramValue(program, index);
        StoreValue(program, index, value);
        OnParameterValueChanged(index, previous, value);
    }
    ApplyParameterValue(index, value);
}

bool Model::SyncRenderState() {
    return renderChanges.Take(*this);
}

std::uint32_t Model::BeginStableRead() const {
    std::uint32_t begin = audioChanges.ReadBegin();
    // The audio thread's groups are a few stores long and never wait.
    while ((begin & 1u) != 0) {
        std::this_thread::yield();
        begin = audioChanges.ReadBegin();
    }
    return begin;
}

const char* Model::GetParameterShortName(VstInt32 index) const {
    Trace("Model::GetParameterShortName\r\n");
    return parameterShortNames[index].text;
}

const char* Model::GetParameterLongName(VstInt32 index) const {
    Trace("Model::GetParameterLongName\r\n");
    return parameterLongNames[index].text;
}

void Model::SetParameterDisplay(VstInt32 index, const char* text) {
    Trace("Model::SetParameterDisplay\r\n");
    DisplayText display;
    VstText::ReplaceField(display.text, text);
    std::uint64_t bits;
    static_assert(sizeof(bits) == sizeof(display.text), "a display text is one 8-byte store");
    std::memcpy(&bits, display.text, sizeof(bits));
    parameterDisplays[index].store(bits, std::memory_order_release);
}

DisplayText Model::GetParameterDisplay(VstInt32 index) const {
    const std::uint64_t bits = parameterDisplays[index].load(std::memory_order_acquire);
    DisplayText display;
    std::memcpy(display.text, &bits, sizeof(bits));
    return display;
}

void Model::SetIntegerParameterDisplay(VstInt32 index, VstInt32 value) {
    Trace("Model::SetIntegerParameterDisplay\r\n");
    char text[32];
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
    SetParameterDisplay(index, text);
}

void Model::SetFloatParameterDisplay(VstInt32 index, float value) {
    Trace("Model::SetFloatParameterDisplay\r\n");
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f", static_cast<double>(value));
    SetParameterDisplay(index, text);
}

VstInt32 Model::NormalizedFloatToSelection(float value, VstInt32 count) {
    Trace("Model::NormalizedFloatToSelection\r\n");
    if (count <= 0) return 0;
    const float scaled = value * static_cast<float>(count);
    if (!(scaled > 0.0f)) return 0;  // also NaN
    if (scaled >= static_cast<float>(count)) return count - 1;
    return static_cast<VstInt32>(scaled);
}

void Model::SetSampleRate(float rate) {
    Trace("Model::SetSampleRate\r\n");
    const float previous = GetSampleRate();
    if (!(rate > 0.0f) || !std::isfinite(rate) || !differs(rate, previous)) return;
    ChangeGroup group(renderChanges);
    sampleRate.store(rate, std::memory_order_release);
    renderChanges.StampSampleRate();
    OnSampleRateChanged(previous, rate);
}

void Model::SetTempo(double bpm) {
    if (!differs(bpm, tempo)) return;
    const double previous = tempo;
    tempo = bpm;
    OnTempoChanged(previous, bpm);
}

void Model::SetPosition(double quarterNotes) {
    if (!differs(quarterNotes, position)) return;
    const double previous = position;
    position = quarterNotes;
    OnPositionChanged(previous, quarterNotes);
}

void Model::SetTransportPlaying(bool playing) {
    if (playing == transportPlaying) return;
    transportPlaying = playing;
    OnTransportChanged(playing);
}

void Model::SetTimeSignature(VstInt32 numerator, VstInt32 denominator) {
    if (numerator == timeSignatureNumerator && denominator == timeSignatureDenominator) return;
    const VstInt32 previousNumerator = timeSignatureNumerator;
    const VstInt32 previousDenominator = timeSignatureDenominator;
    timeSignatureNumerator = numerator;
    timeSignatureDenominator = denominator;
    OnTimeSignatureChanged(previousNumerator, previousDenominator, numerator, denominator);
}

}  // namespace VstToolkit
