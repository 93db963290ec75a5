#include "VstToolkit/DocumentController.h"

namespace VstToolkit {
namespace {

VstIntPtr VSTCALLBACK DocumentHostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr, void*, float opt) {
    // The framework asks for the host's version while it is being made, before user is set.
    if (opcode == audioMasterVersion) return 2400;
    auto* edits = effect != nullptr ? static_cast<DocumentEdits*>(effect->user) : nullptr;
    if (edits == nullptr) return 0;
    switch (opcode) {
        case audioMasterAutomate: return edits->OnDocumentAutomate(index, opt) ? 1 : 0;
        case audioMasterBeginEdit: return edits->OnDocumentBeginEdit(index) ? 1 : 0;
        case audioMasterEndEdit: return edits->OnDocumentEndEdit(index) ? 1 : 0;
        default: return 0;
    }
}

}  // namespace

std::unique_ptr<Controller> MakeDocumentController(Model* model, DocumentEdits& edits) {
    auto document = std::make_unique<Controller>(DocumentHostCallback, model);
    document->getAeffect()->user = &edits;
    return document;
}

void ShowLearnedBinding(Controller& document, VstInt32 controllerNumber, VstInt32 parameter) {
    Model* model = document.GetModel();
    if (parameter < 0 || parameter >= model->GetParameterCount()) return;
    model->BindLearnedController(controllerNumber, parameter);
    model->StopLearningMidi();
    document.OnModelMidiLearned(controllerNumber, parameter, 0);
    document.ShowAudioThreadChanges();
}

}  // namespace VstToolkit
