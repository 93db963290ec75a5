#include "VstToolkit/View.h"

#include <cstdio>

#include "VstToolkit/Controller.h"
#include "WindowsToolkit/RegisteredMessages.h"
#include "vst/platform/Trace.h"

using Platform::Trace;
using WindowsToolkit::Messages;
using WindowsToolkit::ParameterControl;

namespace VstToolkit {
namespace {
constexpr const char* kLearning = "Learning...";
}

void View::SetStatusText(const char* text) {
    PostMessageA(GetParent(hwnd), Messages().statusTextChanged, 0, reinterpret_cast<LPARAM>(text));
}

void View::GetMenuRect(RECT* rect) {
    SetRectEmpty(rect);
}

void View::OnParameterControlValueChanged(int index, float) {
    UpdateStatusText(index);
}

void View::AddParameterControl(ParameterControl* control) {
    controls[control->GetParameterIndex()] = control;
}

void View::UpdateParameterControl(VstInt32 index, float value) {
    const auto found = controls.find(index);
    if (found != controls.end()) found->second->SetValue(value, false);
    for (View* sub : subViews) sub->UpdateParameterControl(index, value);
}

void View::UpdateStatusText(int index) {
    Trace("View::UpdateStatusText\r\n");
    if (index < 0 || index >= model->GetParameterCount()) return;
    std::snprintf(statusBuffer, sizeof(statusBuffer), "%s: %s %s",
                  model->GetParameterLongName(index), model->GetParameterDisplay(index).text,
                  model->GetParameterLabel(index));
    SetStatusText(statusBuffer);
}

int View::OnLeftButtonDown(WPARAM, POINT point) {
    RECT menuArea;
    GetMenuRect(&menuArea);
    if (!PtInRect(&menuArea, point)) return 0;
    ShowViewMenu(point);
    return 1;
}

LRESULT View::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto& messages = Messages();
    auto* control = reinterpret_cast<ParameterControl*>(lParam);
    if (message == messages.valueChanged) {
        const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        controller->OnViewParameterValueChanged(index, control->GetValue());
        OnParameterControlValueChanged(index, control->GetValue());
    } else if (message == messages.hover) {
        Trace("View::OnParameterControlMouseHover\r\n");
        UpdateStatusText(control->GetParameterIndex());
    } else if (message == messages.leave) {
        Trace("View::OnParameterControlMouseLeave\r\n");
        SetStatusText(model->IsLearningMidi() ? kLearning : "");
    } else if (message == messages.rightClicked) {
        OnParameterControlRightClicked(control);
    } else if (message == messages.statusTextChanged) {
        SetStatusText(reinterpret_cast<const char*>(lParam));
    } else {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return 0;
}

UINT View::RunMenu(HMENU menu, POINT screen) {
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD, screen.x, screen.y, 0, hwnd, nullptr));
    DestroyMenu(menu);
    return chosen;
}

void View::OnParameterControlRightClicked(ParameterControl* control) {
    Trace("View::OnParameterControlRightClicked\r\n");
    POINT corner = {0, 0};
    ClientToScreen(control->GetHwnd(), &corner);
    const int parameter = control->GetParameterIndex();
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kMidiLearn, "MIDI Learn");
    const VstInt32 bound = model->ParameterToController(parameter);
    if (bound < Model::kControllerCount) {
        char item[128];
        std::snprintf(item, sizeof(item), "Forget CC: %d", static_cast<int>(bound));
        AppendMenuA(menu, MF_STRING, kForgetController, item);
    }
    switch (RunMenu(menu, corner)) {
        case 0:
            model->StopLearningMidi();
            SetStatusText("");
            break;
        case kMidiLearn:
            model->StartLearningMidi(parameter);
            SetStatusText(kLearning);
            break;
        case kForgetController: {
            const VstInt32 forgotten = model->ParameterToController(parameter);
            model->StopLearningMidi();
            model->UnregisterMidiControllerMapping(forgotten);
            SetStatusText("");
            break;
        }
        default: break;
    }
}

void View::ShowViewMenu(POINT point) {
    POINT screen = point;
    ClientToScreen(hwnd, &screen);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kAbout, "About");
    if (model->IsLearningMidi())
        AppendMenuA(menu, MF_STRING, kCancelMidiLearn, "Cancel MIDI Learn");
    AppendMenuA(menu, MF_STRING, kClearAllMidiLearn, "Clear All MIDI Learn");
    switch (RunMenu(menu, screen)) {
        case kAbout: ShowAbout(); break;
        case kCancelMidiLearn:
            model->StopLearningMidi();
            SetStatusText("");
            break;
        case kClearAllMidiLearn:
            if (MessageBoxA(hwnd,
                            "This will erase all MIDI Learn data for this bank. Are you sure you "
                            "want to do this?",
                            "Warning!", MB_OKCANCEL | MB_ICONWARNING) == IDOK) {
                model->ClearMidiControllerMap();
                model->StopLearningMidi();
                SetStatusText("");
            }
            break;
        default: break;
    }
}

}  // namespace VstToolkit
