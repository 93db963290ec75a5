// The edit controller: the parameters as the table describes them, plus bypass and program
// change, the program list, and the MIDI bindings the state carries. No editor yet: hosts show
// their generic panel. Every call comes on the host's user-interface thread; the document
// model is never processed.
//
// Plain values: a list parameter's plain value is its entry's index (as VST3 counts discrete
// steps); a continuous one's is its normalised value.
#include <algorithm>
#include <cmath>
#include <string>

#include "effect/x64/ParameterTable.h"
#include "vst3/ComObject.h"
#include "vst3/x64/Plugin.h"
#include "vst3/x64/State.h"
#include "vst3/x64/Text.h"

namespace QuellinCorvane::Vst3Plugin {
namespace {

using namespace Vst3;

constexpr int32 kParameterInfoCount = kParameterCount + 2;

bool isTableId(ParamID id) {
    return id < static_cast<ParamID>(kParameterCount);
}

int32 stepCountOf(ParamID id) {
    if (id == kBypassId) return 1;
    if (id == kProgramId) return kProgramCount - 1;
    if (isTableId(id) && kParameterRows[id].kind == ParameterRow::Kind::Choice)
        return kChoiceCount - 1;
    return 0;
}

bool known(ParamID id) {
    return isTableId(id) || id == kBypassId || id == kProgramId;
}

class EditController final
    : public ComObject<EditController, IEditController, IUnitInfo, IMidiMapping, IConnectionPoint> {
public:
    ~EditController() { setComponentHandler(nullptr); }

    // IPluginBase
    tresult VST3_API initialize(FUnknown*) override { return kResultOk; }
    tresult VST3_API terminate() override { return setComponentHandler(nullptr); }

    // IEditController
    tresult VST3_API setComponentState(IBStream* state) override {
        Bytes bytes;
        if (!ReadStream(state, bytes) || !LoadState(document, bytes)) return kResultFalse;
        return kResultOk;
    }
    // The controller keeps nothing of its own.
    tresult VST3_API setState(IBStream*) override { return kResultOk; }
    tresult VST3_API getState(IBStream*) override { return kResultOk; }
    int32 VST3_API getParameterCount() override { return kParameterInfoCount; }
    tresult VST3_API getParameterInfo(int32 index, ParameterInfo& info) override;
    tresult VST3_API getParamStringByValue(ParamID id, ParamValue value, String128 string) override;
    tresult VST3_API getParamValueByString(ParamID id, TChar* string, ParamValue& value) override;
    ParamValue VST3_API normalizedParamToPlain(ParamID id, ParamValue value) override {
        const int32 steps = stepCountOf(id);
        return steps == 0 ? value : DiscreteIndex(value, steps);
    }
    ParamValue VST3_API plainParamToNormalized(ParamID id, ParamValue plain) override {
        const int32 steps = stepCountOf(id);
        if (steps == 0 || std::isnan(plain)) return plain;
        return std::clamp(plain, 0.0, static_cast<double>(steps)) / steps;
    }
    ParamValue VST3_API getParamNormalized(ParamID id) override {
        // A state may hold NaN or values beyond 0..1; the effect reads them as the nearest end.
        if (isTableId(id))
            return UsableValue(document.GetParameterValue(static_cast<VstInt32>(id)));
        if (id == kBypassId) return bypass;
        if (id == kProgramId)
            return static_cast<double>(document.GetSelectedProgramIndex()) / (kProgramCount - 1);
        return 0.0;
    }
    // NaN and unknown IDs are refused; other values are limited to 0..1.
    tresult VST3_API setParamNormalized(ParamID id, ParamValue value) override;
    tresult VST3_API setComponentHandler(IComponentHandler* newHandler) override {
        if (newHandler != nullptr) newHandler->addRef();
        if (handler != nullptr) handler->release();
        handler = newHandler;
        return kResultOk;
    }
    IPlugView* VST3_API createView(FIDString) override { return nullptr; }

    // IUnitInfo: the root unit, with the bank as its program list.
    int32 VST3_API getUnitCount() override { return 1; }
    tresult VST3_API getUnitInfo(int32 index, UnitInfo& info) override {
        if (index != 0) return kInvalidArgument;
        info = {};
        info.id = kRootUnitId;
        info.parentUnitId = kNoParentUnitId;
        CopyText(info.name, 128, "Root");
        info.programListId = kProgramListId;
        return kResultOk;
    }
    int32 VST3_API getProgramListCount() override { return 1; }
    tresult VST3_API getProgramListInfo(int32 index, ProgramListInfo& info) override {
        if (index != 0) return kInvalidArgument;
        info = {};
        info.id = kProgramListId;
        CopyText(info.name, 128, "Programs");
        info.programCount = kProgramCount;
        return kResultOk;
    }
    tresult VST3_API getProgramName(ProgramListID list, int32 program, String128 name) override {
        if (list != kProgramListId || program < 0 || program >= kProgramCount || name == nullptr)
            return kInvalidArgument;
        CopyText(name, 128, document.ProgramName(program));
        return kResultOk;
    }
    tresult VST3_API getProgramInfo(ProgramListID, int32, CString, String128) override {
        return kResultFalse;
    }
    tresult VST3_API hasProgramPitchNames(ProgramListID, int32) override { return kResultFalse; }
    tresult VST3_API getProgramPitchName(ProgramListID, int32, int16, String128) override {
        return kResultFalse;
    }
    UnitID VST3_API getSelectedUnit() override { return kRootUnitId; }
    tresult VST3_API selectUnit(UnitID unit) override {
        return unit == kRootUnitId ? kResultOk : kInvalidArgument;
    }
    tresult VST3_API getUnitByBus(MediaType, BusDirection, int32, int32, UnitID& unit) override {
        unit = kRootUnitId;
        return kResultOk;
    }
    tresult VST3_API setUnitProgramData(int32, int32, IBStream*) override {
        return kNotImplemented;
    }

    // IMidiMapping: the bindings learned in the VST 2.x plug-in, as the state carries them.
    tresult VST3_API getMidiControllerAssignment(int32 bus, int16, CtrlNumber number,
                                                 ParamID& id) override {
        if (bus != 0 || !document.IsControllerMapped(number)) return kResultFalse;
        const VstInt32 parameter = document.ControllerToParameter(number);
        if (parameter >= kParameterCount) return kResultFalse;
        id = static_cast<ParamID>(parameter);
        return kResultTrue;
    }

    // IConnectionPoint: nothing is exchanged with the processor yet.
    tresult VST3_API connect(IConnectionPoint* other) override {
        return other != nullptr ? kResultOk : kInvalidArgument;
    }
    tresult VST3_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult VST3_API notify(IMessage*) override { return kResultOk; }

private:
    QuellinCorvaneModel document;
    double bypass = 0.0;
    IComponentHandler* handler = nullptr;  // a reference held
};

tresult VST3_API EditController::getParameterInfo(int32 index, ParameterInfo& info) {
    if (index < 0 || index >= kParameterInfoCount) return kInvalidArgument;
    info = {};
    info.unitId = kRootUnitId;
    if (index < kParameterCount) {
        const ParameterRow& row = kParameterRows[index];
        info.id = static_cast<ParamID>(index);
        CopyText(info.title, 128, row.name);
        CopyText(info.shortTitle, 128, row.shortName);
        CopyText(info.units, 128, row.unit);
        info.defaultNormalizedValue = row.defaultValue;
        info.flags = ParameterInfo::kCanAutomate;
        if (row.kind == ParameterRow::Kind::Choice) info.flags |= ParameterInfo::kIsList;
    } else if (index == kParameterCount) {
        info.id = kBypassId;
        CopyText(info.title, 128, "Bypass");
        CopyText(info.shortTitle, 128, "Bypass");
        info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass;
    } else {
        info.id = kProgramId;
        CopyText(info.title, 128, "Program");
        CopyText(info.shortTitle, 128, "Program");
        info.flags = ParameterInfo::kIsProgramChange | ParameterInfo::kIsList;
    }
    info.stepCount = stepCountOf(info.id);
    return kResultOk;
}

tresult VST3_API EditController::getParamStringByValue(ParamID id, ParamValue value,
                                                       String128 string) {
    if (string == nullptr || !known(id)) return kInvalidArgument;
    if (isTableId(id))
        CopyText(string, 128, kParameterRows[id].display(static_cast<float>(value)).text);
    else if (id == kBypassId)
        CopyText(string, 128, DiscreteIndex(value, 1) == 1 ? "On" : "Off");
    else
        CopyText(string, 128, document.ProgramName(DiscreteIndex(value, kProgramCount - 1)));
    return kResultOk;
}

// The table's texts ("120 Hz", "-24 dB", "both"); "on"/"off" for the bypass; a program's
// name or its number from 1.
tresult VST3_API EditController::getParamValueByString(ParamID id, TChar* string,
                                                       ParamValue& value) {
    if (string == nullptr || !known(id)) return kInvalidArgument;
    const std::string text = ToAscii(string);
    if (isTableId(id)) {
        float normalised = 0.0f;
        std::string error;
        if (!ParseParameterText(kParameterRows[id], text, normalised, error)) return kResultFalse;
        value = normalised;
        return kResultOk;
    }
    if (id == kBypassId) {
        if (SameWords(text, "on") || SameWords(text, "1"))
            value = 1.0;
        else if (SameWords(text, "off") || SameWords(text, "0"))
            value = 0.0;
        else
            return kResultFalse;
        return kResultOk;
    }
    for (int32 p = 0; p < kProgramCount; ++p) {
        if (SameWords(text, document.ProgramName(p)) || SameWords(text, std::to_string(p + 1))) {
            value = static_cast<double>(p) / (kProgramCount - 1);
            return kResultOk;
        }
    }
    return kResultFalse;
}

tresult VST3_API EditController::setParamNormalized(ParamID id, ParamValue value) {
    if (!known(id) || std::isnan(value)) return kInvalidArgument;
    value = std::clamp(value, 0.0, 1.0);
    if (isTableId(id)) {
        document.SetParameterValue(static_cast<VstInt32>(id), static_cast<float>(value));
    } else if (id == kBypassId) {
        bypass = value;
    } else {
        const int32 program = DiscreteIndex(value, kProgramCount - 1);
        if (program != document.GetSelectedProgramIndex()) {
            document.SetSelectedProgramIndex(program);
            // The effect's values are now the new program's.
            if (handler != nullptr) handler->restartComponent(kParamValuesChanged);
        }
    }
    return kResultOk;
}

}  // namespace

FUnknown* CreateController() {
    return static_cast<IEditController*>(new EditController());
}

}  // namespace QuellinCorvane::Vst3Plugin
