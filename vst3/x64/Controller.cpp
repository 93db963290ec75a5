// The edit controller: the parameters as the table describes them, plus bypass and program
// change, the program list, the MIDI bindings the state carries, and the editor. Every call
// comes on the host's user-interface thread.
//
// The document is the VST 2.x framework's Controller with its model, which is never processed
// (VstToolkit/DocumentController.h): the editor's automation and the begin and end of a drag
// become the host's performEdit, beginEdit and endEdit. The model's MIDI learn actions go to the
// processor as messages; what the processor learned comes back as a change of kLearnedId.
//
// Plain values: a list parameter's plain value is its entry's index (as VST3 counts discrete
// steps); a continuous one's is its normalised value.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "VstToolkit/DocumentController.h"
#include "effect/x64/ParameterTable.h"
#include "vst/x64/QuellinCorvaneEditor.h"
#include "vst3/ComObject.h"
#include "vst3/x64/Plugin.h"
#include "vst3/x64/State.h"
#include "vst3/x64/Text.h"
#include "vst3/x64/View.h"

namespace QuellinCorvane::Vst3Plugin {
namespace {

using namespace Vst3;

// The table's, bypass, program, the learned report, then the controllers'.
constexpr int32 kParameterInfoCount = kParameterCount + 3 + kControllerIdCount;

bool isTableId(ParamID id) {
    return id < static_cast<ParamID>(kParameterCount);
}

bool isControllerId(ParamID id) {
    return id >= kFirstControllerId && id < kFirstControllerId + kControllerIdCount;
}

int32 stepCountOf(ParamID id) {
    if (id == kBypassId) return 1;
    if (id == kProgramId) return kProgramCount - 1;
    if (isTableId(id) && kParameterRows[id].kind == ParameterRow::Kind::Choice)
        return kChoiceCount - 1;
    return 0;
}

// Parameters with texts and values of their own.
bool known(ParamID id) {
    return isTableId(id) || id == kBypassId || id == kProgramId;
}

class EditController final
    : public ComObject<EditController, IEditController, IUnitInfo, IMidiMapping, IConnectionPoint>,
      public VstToolkit::ModelObserver,
      public VstToolkit::DocumentEdits,
      public ViewOwner {
public:
    EditController()
        : document(new QuellinCorvaneModel()),
          effect(VstToolkit::MakeDocumentController(document, *this)) {
        document->SetObserver(this);
        if (AEffEditor* editor = CreateEditor(effect.get(), document)) effect->setEditor(editor);
    }
    ~EditController() { terminate(); }

    // DocumentEdits: edits in the editor, of the table's parameters only.
    bool OnDocumentAutomate(VstInt32 index, float value) override {
        if (!editable(index)) return false;
        handler->performEdit(static_cast<ParamID>(index), value);
        return true;
    }
    bool OnDocumentBeginEdit(VstInt32 index) override {
        return editable(index) && handler->beginEdit(static_cast<ParamID>(index)) == kResultOk;
    }
    bool OnDocumentEndEdit(VstInt32 index) override {
        return editable(index) && handler->endEdit(static_cast<ParamID>(index)) == kResultOk;
    }

    // IPluginBase
    tresult VST3_API initialize(FUnknown* context) override {
        void* found = nullptr;
        if (context != nullptr && host == nullptr &&
            context->queryInterface(IHostApplication::iid.bytes, &found) == kResultOk)
            host = static_cast<IHostApplication*>(found);
        return kResultOk;
    }
    tresult VST3_API terminate() override {
        setComponentHandler(nullptr);
        disconnect(peer);
        if (host != nullptr) host->release();
        host = nullptr;
        return kResultOk;
    }

    // IEditController
    tresult VST3_API setComponentState(IBStream* state) override {
        Bytes bytes;
        if (!ReadStream(state, bytes) || !LoadState(*document, bytes)) return kResultFalse;
        effect->UpdateViewParameters();
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
            return UsableValue(document->GetParameterValue(static_cast<VstInt32>(id)));
        if (id == kBypassId) return bypass;
        if (id == kProgramId)
            return static_cast<double>(document->GetSelectedProgramIndex()) / (kProgramCount - 1);
        return 0.0;
    }
    // NaN and unknown IDs are refused; other values are limited to 0..1. The controllers'
    // parameters are taken and ignored: the processor plays them.
    tresult VST3_API setParamNormalized(ParamID id, ParamValue value) override;
    tresult VST3_API setComponentHandler(IComponentHandler* newHandler) override {
        if (newHandler != nullptr) newHandler->addRef();
        if (handler != nullptr) handler->release();
        handler = newHandler;
        return kResultOk;
    }
    // One view at a time, of the one editor.
    IPlugView* VST3_API createView(FIDString name) override {
        if (name == nullptr || std::string(name) != ViewType::kEditor || viewExists ||
            effect->getEditor() == nullptr)
            return nullptr;
        viewExists = true;
        return CreateView(effect->getEditor(), this);
    }

    // ViewOwner
    FUnknown* Object() override { return static_cast<IEditController*>(this); }
    void OnViewDestroyed() override { viewExists = false; }

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
        CopyText(name, 128, document->ProgramName(program));
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

    // IMidiMapping: every controller on every channel of the event bus goes to the processor,
    // whose model learns and plays the bindings as the VST 2.x plug-in's does.
    tresult VST3_API getMidiControllerAssignment(int32 bus, int16, CtrlNumber number,
                                                 ParamID& id) override {
        if (bus != 0 || number < 0 || number >= kControllerIdCount) return kResultFalse;
        id = kFirstControllerId + static_cast<ParamID>(number);
        return kResultTrue;
    }

    // IConnectionPoint: the processor, to which the editor's MIDI learn actions go.
    tresult VST3_API connect(IConnectionPoint* other) override {
        if (other == nullptr) return kInvalidArgument;
        other->addRef();
        disconnect(peer);
        peer = other;
        return kResultOk;
    }
    tresult VST3_API disconnect(IConnectionPoint* other) override {
        if (other == nullptr || other != peer) return kResultFalse;
        peer->release();
        peer = nullptr;
        return kResultOk;
    }
    tresult VST3_API notify(IMessage*) override { return kResultOk; }

    // ModelObserver: the document is never processed; its MIDI learn actions, the editor's,
    // are the processor's to carry out as well.
    void OnModelParameterValueChanged(VstInt32, float, VstInt32) override {}
    void OnModelMidiLearned(VstInt32, VstInt32, VstInt32) override {}
    void OnModelMidiLearnCommand(const VstToolkit::MidiLearnCommand& command) override;

private:
    bool editable(VstInt32 index) const {
        return handler != nullptr && index >= 0 && isTableId(static_cast<ParamID>(index));
    }

    QuellinCorvaneModel* document;                   // owned by effect
    std::unique_ptr<VstToolkit::Controller> effect;  // with the editor
    double bypass = 0.0;
    IComponentHandler* handler = nullptr;  // a reference held
    IHostApplication* host = nullptr;      // from initialize; a reference held
    IConnectionPoint* peer = nullptr;      // a reference held while connected
    bool viewExists = false;
};

void EditController::OnModelMidiLearnCommand(const VstToolkit::MidiLearnCommand& command) {
    if (host == nullptr || peer == nullptr) return;
    void* made = nullptr;
    TUID messageId;
    std::memcpy(messageId, IMessage::iid.bytes, sizeof(TUID));
    if (host->createInstance(messageId, messageId, &made) != kResultOk || made == nullptr) return;
    auto* message = static_cast<IMessage*>(made);
    message->setMessageID(kMidiLearnMessage);
    if (IAttributeList* attributes = message->getAttributes()) {
        attributes->setInt(kCommandKindAttribute, command.kind);
        attributes->setInt(kCommandValueAttribute, command.value);
        peer->notify(message);
    }
    message->release();
}

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
    } else if (index >= kParameterCount + 3) {
        // Hidden from automation lists: hosts only send them for the controllers they map.
        const int32 number = index - (kParameterCount + 3);
        info.id = kFirstControllerId + static_cast<ParamID>(number);
        CopyText(info.title, 128, ("MIDI CC " + std::to_string(number)).c_str());
        info.flags = ParameterInfo::kIsHidden;
    } else if (index == kParameterCount + 2) {
        info.id = kLearnedId;
        CopyText(info.title, 128, "MIDI Learned");
        info.flags = ParameterInfo::kIsHidden | ParameterInfo::kIsReadOnly;
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
        CopyText(string, 128, document->ProgramName(DiscreteIndex(value, kProgramCount - 1)));
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
        if (SameWords(text, document->ProgramName(p)) || SameWords(text, std::to_string(p + 1))) {
            value = static_cast<double>(p) / (kProgramCount - 1);
            return kResultOk;
        }
    }
    return kResultFalse;
}

tresult VST3_API EditController::setParamNormalized(ParamID id, ParamValue value) {
    const bool taken = known(id) || id == kLearnedId || isControllerId(id);
    if (!taken || std::isnan(value)) return kInvalidArgument;
    value = std::clamp(value, 0.0, 1.0);
    if (isTableId(id)) {
        // Stored and shown on the panel, as VST 2.x host automation is.
        effect->setParameter(static_cast<VstInt32>(id), static_cast<float>(value));
    } else if (id == kBypassId) {
        bypass = value;
    } else if (id == kProgramId) {
        const int32 program = DiscreteIndex(value, kProgramCount - 1);
        if (program != document->GetSelectedProgramIndex()) {
            effect->setProgram(program);
            // The effect's values are now the new program's.
            if (handler != nullptr) handler->restartComponent(kParamValuesChanged);
        }
    } else if (int cc = 0, parameter = 0; id == kLearnedId &&
                                          ReadLearnedValue(value, cc, parameter) &&
                                          parameter < kParameterCount) {
        VstToolkit::ShowLearnedBinding(*effect, cc, parameter);
    }
    return kResultOk;
}

}  // namespace

FUnknown* CreateController() {
    return static_cast<IEditController*>(new EditController());
}

}  // namespace QuellinCorvane::Vst3Plugin
