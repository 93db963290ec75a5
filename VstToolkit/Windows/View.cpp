#include "VstToolkit/Windows/View.h"

#include "VstToolkit/Controller.h"
#include "VstToolkit/Gui/EditorMenus.h"
#include "WindowsToolkit/RegisteredMessages.h"
#include "vst/platform/Trace.h"

using Platform::Trace;
using WindowsToolkit::Messages;
using WindowsToolkit::ParameterControl;

namespace VstToolkit {
namespace {
using Gui::kLearningText;

HMENU MakeMenu(const std::vector<Gui::MenuItem>& items) {
    HMENU menu = CreatePopupMenu();
    for (const Gui::MenuItem& item : items)
        AppendMenuA(menu, MF_STRING, item.id, item.text.c_str());
    return menu;
}
}  // namespace

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
    if (index < 0 || index >= model->GetParameterCount()) return;
    Gui::FormatStatusText(*model, index, statusBuffer, sizeof(statusBuffer));
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
        SetStatusText(model->IsLearningMidi() ? kLearningText : "");
    } else if (message == messages.gestureBegan) {
        controller->OnViewGestureBegan(static_cast<int>(static_cast<INT_PTR>(wParam)));
    } else if (message == messages.gestureEnded) {
        controller->OnViewGestureEnded(static_cast<int>(static_cast<INT_PTR>(wParam)));
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
    const UINT chosen = RunMenu(MakeMenu(Gui::ControlMenuItems(*model, parameter)), corner);
    SetStatusText(Gui::ApplyControlMenu(*model, parameter, chosen));
}

void View::ShowViewMenu(POINT point) {
    POINT screen = point;
    ClientToScreen(hwnd, &screen);
    switch (RunMenu(MakeMenu(Gui::ViewMenuItems(*model)), screen)) {
        case Gui::kAbout: ShowAbout(); break;
        case Gui::kCancelMidiLearn: SetStatusText(Gui::CancelMidiLearn(*model)); break;
        case Gui::kClearAllMidiLearn:
            if (MessageBoxA(hwnd, Gui::kClearAllQuestion, Gui::kClearAllCaption,
                            MB_OKCANCEL | MB_ICONWARNING) == IDOK)
                SetStatusText(Gui::ClearAllMidiLearn(*model));
            break;
        default: break;
    }
}

}  // namespace VstToolkit
