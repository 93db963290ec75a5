#include "VstToolkit/Gui/EditorMenus.h"

#include <cstdio>

#include "VstToolkit/Model.h"
#include "vst/platform/Trace.h"

namespace VstToolkit::Gui {

std::vector<MenuItem> ControlMenuItems(Model& model, VstInt32 parameter) {
    std::vector<MenuItem> items{{kMidiLearn, "MIDI Learn"}};
    const VstInt32 bound = model.ParameterToController(parameter);
    if (bound < Model::kControllerCount) {
        char item[128];
        std::snprintf(item, sizeof(item), "Forget CC: %d", static_cast<int>(bound));
        items.push_back({kForgetController, item});
    }
    return items;
}

const char* ApplyControlMenu(Model& model, VstInt32 parameter, unsigned chosen) {
    switch (chosen) {
        case kMidiLearn:
            model.ApplyMidiLearnCommand({MidiLearnCommand::kStart, parameter});
            return kLearningText;
        case kForgetController:
            // The item exists only while a controller is bound, so this finds one.
            model.ApplyMidiLearnCommand(
                {MidiLearnCommand::kForget, model.ParameterToController(parameter)});
            return "";
        default:  // dismissed
            model.ApplyMidiLearnCommand({MidiLearnCommand::kCancel, 0});
            return "";
    }
}

std::vector<MenuItem> ViewMenuItems(Model& model) {
    std::vector<MenuItem> items{{kAbout, "About"}};
    if (model.IsLearningMidi()) items.push_back({kCancelMidiLearn, "Cancel MIDI Learn"});
    items.push_back({kClearAllMidiLearn, "Clear All MIDI Learn"});
    return items;
}

const char* CancelMidiLearn(Model& model) {
    model.ApplyMidiLearnCommand({MidiLearnCommand::kCancel, 0});
    return "";
}

const char* ClearAllMidiLearn(Model& model) {
    model.ApplyMidiLearnCommand({MidiLearnCommand::kClearAll, 0});
    return "";
}

void FormatStatusText(Model& model, int index, char* buffer, std::size_t size) {
    Platform::Trace("View::UpdateStatusText\r\n");
    if (size == 0) return;
    buffer[0] = '\0';
    if (index < 0 || index >= model.GetParameterCount()) return;
    std::snprintf(buffer, size, "%s: %s %s", model.GetParameterLongName(index),
                  model.GetParameterDisplay(index).text, model.GetParameterLabel(index));
}

}  // namespace VstToolkit::Gui
