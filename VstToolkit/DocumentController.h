// The framework's Controller kept as the document of another plug-in format's front end (the
// VST3 edit controller, the LV2 panel): the editor works on it exactly as in the VST 2.x
// plug-in, the model is never processed, and the Controller's host calls come to a private
// callback that hands the editor's edits to the format.
#pragma once

#include <memory>

#include "VstToolkit/Controller.h"

namespace VstToolkit {

// What the format does with the editor's edits of a parameter (normalised values). User-interface
// thread; true when the format took the call.
class DocumentEdits {
public:
    virtual bool OnDocumentAutomate(VstInt32 index, float value) = 0;
    virtual bool OnDocumentBeginEdit(VstInt32 index) = 0;
    virtual bool OnDocumentEndEdit(VstInt32 index) = 0;

protected:
    ~DocumentEdits() = default;
};

// A Controller over model (owned by it) whose automation, beginEdit and endEdit go to edits,
// which outlives it. The AEffect's user field is taken for that.
std::unique_ptr<Controller> MakeDocumentController(Model* model, DocumentEdits& edits);

// The processing copy of the model learned a binding: the document takes it and the editor
// drops "Learning...", as the VST 2.x editor does when its own model learns.
void ShowLearnedBinding(Controller& document, VstInt32 controllerNumber, VstInt32 parameter);

}  // namespace VstToolkit
