// What the editor's two menus offer and what choosing an item does to the model, apart from
// how a platform shows a menu. A control's right-click menu: "MIDI Learn" and, when a
// controller is bound to its parameter, "Forget CC: n". The view menu over the logo: "About",
// "Cancel MIDI Learn" while learning, "Clear All MIDI Learn" (after a confirmation).
//
// Threads: the user-interface thread.
#pragma once

#include <cstddef>
#include <vector>

#include "EditorCommon/MenuItem.h"
#include "vst/VstInterface.h"

namespace VstToolkit {
class Model;
}

namespace VstToolkit::Gui {

constexpr const char* kLearningText = "Learning...";
constexpr const char* kClearAllQuestion =
    "This will erase all MIDI Learn data for this bank. Are you sure you want to do this?";
constexpr const char* kClearAllCaption = "Warning!";

using EditorCommon::MenuItem;

// Identifiers as the menus return them; 0 means the menu was dismissed.
enum ControlMenuId : unsigned { kMidiLearn = 1, kForgetController = 2 };
enum ViewMenuId : unsigned { kAbout = 1, kCancelMidiLearn = 2, kClearAllMidiLearn = 3 };

std::vector<MenuItem> ControlMenuItems(Model& model, VstInt32 parameter);
// Applies the choice; the result is the status line's new text.
const char* ApplyControlMenu(Model& model, VstInt32 parameter, unsigned chosen);

std::vector<MenuItem> ViewMenuItems(Model& model);
// Cancel MIDI Learn; the result is the status line's new text.
const char* CancelMidiLearn(Model& model);
// Clear All MIDI Learn once confirmed; the result is the status line's new text.
const char* ClearAllMidiLearn(Model& model);

// "name: display unit" of a parameter into buffer (cut to fit); empty for a bad index.
void FormatStatusText(Model& model, int index, char* buffer, std::size_t size);

}  // namespace VstToolkit::Gui
