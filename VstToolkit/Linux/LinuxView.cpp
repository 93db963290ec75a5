#include "VstToolkit/Linux/LinuxView.h"

#include "VstToolkit/Controller.h"
#include "VstToolkit/Gui/EditorMenus.h"
#include "vst/platform/Trace.h"

using Platform::Trace;

namespace VstToolkit {
namespace {

enum BoxButtonId : unsigned { kOk = 1, kCancel = 2 };

}  // namespace

LinuxView::~LinuxView() {
    // Menus and boxes are top-level windows and go before the panel.
    menu.reset();
    box.reset();
}

void LinuxView::AddParameterControl(LinuxToolkit::ParameterControl* control) {
    controls[control->GetParameterIndex()] = control;
}

void LinuxView::UpdateParameterControl(VstInt32 index, float value) {
    const auto found = controls.find(index);
    if (found != controls.end()) found->second->SetValue(value, false);
}

void LinuxView::UpdateStatusText(int index) {
    if (index < 0 || index >= model->GetParameterCount()) return;
    Gui::FormatStatusText(*model, index, statusBuffer, sizeof(statusBuffer));
    SetStatusText(statusBuffer);
}

void LinuxView::OnParameterControlValueChanged(int index, float) {
    UpdateStatusText(index);
}

void LinuxView::OnControlValueChanged(LinuxToolkit::ParameterControl& control) {
    const int index = control.GetParameterIndex();
    controller->OnViewParameterValueChanged(index, control.GetValue());
    OnParameterControlValueChanged(index, control.GetValue());
}

void LinuxView::OnControlGestureBegan(LinuxToolkit::ParameterControl& control) {
    controller->OnViewGestureBegan(control.GetParameterIndex());
}

void LinuxView::OnControlGestureEnded(LinuxToolkit::ParameterControl& control) {
    controller->OnViewGestureEnded(control.GetParameterIndex());
}

void LinuxView::OnControlHover(LinuxToolkit::ParameterControl& control) {
    Trace("View::OnParameterControlMouseHover\r\n");
    UpdateStatusText(control.GetParameterIndex());
}

void LinuxView::OnControlLeave(LinuxToolkit::ParameterControl&) {
    Trace("View::OnParameterControlMouseLeave\r\n");
    SetStatusText(model->IsLearningMidi() ? Gui::kLearningText : "");
}

void LinuxView::OnControlRightClicked(LinuxToolkit::ParameterControl& control) {
    Trace("View::OnParameterControlRightClicked\r\n");
    // At the control's top-left corner, as on Windows.
    int rootX = 0, rootY = 0;
    connection.RootPosition(control.Id(), &rootX, &rootY);
    const int parameter = control.GetParameterIndex();
    OpenMenu(MenuKind::kControl, parameter, Gui::ControlMenuItems(*model, parameter), rootX, rootY);
}

void LinuxView::OnButtonPress(int button, int px, int py, LinuxToolkit::Keys) {
    if (button != LinuxToolkit::kLeft || !GetMenuRect().Contains(px, py)) return;
    int rootX = 0, rootY = 0;
    connection.RootPosition(window, &rootX, &rootY);
    OpenMenu(MenuKind::kView, -1, Gui::ViewMenuItems(*model), rootX + px, rootY + py);
}

void LinuxView::OpenMenu(MenuKind kind, int parameter, std::vector<EditorCommon::MenuItem> items,
                         int rootX, int rootY) {
    menu.reset();  // a menu still open counts as dismissed
    menuKind = kind;
    menuParameter = parameter;
    menu = std::make_unique<LinuxToolkit::PopupMenu>(connection, std::move(items), rootX, rootY);
}

void LinuxView::OnViewMenuChosen(unsigned chosen) {
    switch (chosen) {
        case Gui::kAbout: ShowAbout(); break;
        case Gui::kCancelMidiLearn: SetStatusText(Gui::CancelMidiLearn(*model)); break;
        case Gui::kClearAllMidiLearn: {
            const std::vector<LinuxToolkit::Box::ButtonPlace> buttons = {
                {kOk, "OK", 96, 80, 75, 23}, {kCancel, "Cancel", 189, 80, 75, 23}};
            OpenBox(std::make_unique<LinuxToolkit::Box>(connection, window, Gui::kClearAllCaption,
                                                        360, 120, nullptr, Gui::kClearAllQuestion,
                                                        buttons, kOk, kCancel),
                    [this](unsigned answer) {
                        if (answer == kOk) SetStatusText(Gui::ClearAllMidiLearn(*model));
                    });
            break;
        }
        default: break;  // dismissed
    }
}

void LinuxView::OpenBox(std::unique_ptr<LinuxToolkit::Box> newBox, BoxAnswer answer,
                        BoxAnswer action) {
    box = std::move(newBox);
    boxAnswer = std::move(answer);
    boxAction = std::move(action);
}

void LinuxView::AfterEvents() {
    if (menu != nullptr && menu->Done()) {
        const unsigned chosen = menu->Chosen();
        menu.reset();
        if (menuKind == MenuKind::kControl)
            SetStatusText(Gui::ApplyControlMenu(*model, menuParameter, chosen));
        else
            OnViewMenuChosen(chosen);
    }
    if (box == nullptr) return;
    if (const unsigned action = box->TakeAction(); action != 0 && boxAction) boxAction(action);
    if (box->Done()) {
        const unsigned result = box->Result();
        const BoxAnswer answer = std::move(boxAnswer);
        box.reset();
        if (answer) answer(result);
    }
}

}  // namespace VstToolkit
