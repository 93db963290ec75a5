// The framework's editor window on Linux: the same job as View on Windows over X windows. It
// holds the parameter controls, tells the Controller what the user changed, keeps the status
// line on the parameter under the mouse and offers the MIDI learn menus. The effect derives its
// own view, creates the controls and fills in the hooks.
//
// Threads: the host's user-interface thread only, the Controller's calls included (see
// ViewInterface); the audio thread never reaches the view. Updates only store and mark windows;
// the editor's idle paints them.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "EditorCommon/ControlMath.h"
#include "EditorCommon/MenuItem.h"
#include "LinuxToolkit/Controls.h"
#include "LinuxToolkit/Popup.h"
#include "VstToolkit/ViewInterface.h"

namespace VstToolkit {

class Controller;
class Model;

class LinuxView : public LinuxToolkit::Widget,
                  public ViewInterface,
                  public LinuxToolkit::ControlListener {
public:
    LinuxView(LinuxToolkit::Connection& display, Controller* owner, Model* state)
        : Widget(display), controller(owner), model(state) {}
    ~LinuxView() override;

    // The area that opens the view menu; empty by default.
    virtual EditorCommon::Rect GetMenuRect() const { return {}; }
    virtual void ShowAbout() {}
    virtual void OnParameterControlValueChanged(int index, float value);

    // A second control for an index replaces the first.
    void AddParameterControl(LinuxToolkit::ParameterControl* control);
    void UpdateParameterControl(VstInt32 index, float value) override;
    void SetStatusText(const char*) override {}
    void UpdateStatusText(int index);

    // Acts on menus and boxes that finished while the last events were handled.
    void AfterEvents();

    void Draw(cairo_t*) override {}
    void OnButtonPress(int button, int px, int py, LinuxToolkit::Keys keys) override;
    void OnControlValueChanged(LinuxToolkit::ParameterControl& control) override;
    void OnControlHover(LinuxToolkit::ParameterControl& control) override;
    void OnControlLeave(LinuxToolkit::ParameterControl& control) override;
    void OnControlRightClicked(LinuxToolkit::ParameterControl& control) override;
    void OnControlGestureBegan(LinuxToolkit::ParameterControl& control) override;
    void OnControlGestureEnded(LinuxToolkit::ParameterControl& control) override;

protected:
    using BoxAnswer = std::function<void(unsigned)>;
    // One box at a time: a new one replaces the open one. answer gets the closing button;
    // action the buttons that leave the box open.
    void OpenBox(std::unique_ptr<LinuxToolkit::Box> newBox, BoxAnswer answer,
                 BoxAnswer action = nullptr);

    Controller* controller;  // not owned
    Model* model;            // not owned

private:
    enum class MenuKind { kControl, kView };
    void OpenMenu(MenuKind kind, int parameter, std::vector<EditorCommon::MenuItem> items,
                  int rootX, int rootY);
    void OnViewMenuChosen(unsigned chosen);

    std::map<int, LinuxToolkit::ParameterControl*> controls;  // owned by the derived view
    char statusBuffer[256] = {};
    std::unique_ptr<LinuxToolkit::PopupMenu> menu;
    MenuKind menuKind = MenuKind::kControl;
    int menuParameter = -1;
    std::unique_ptr<LinuxToolkit::Box> box;
    BoxAnswer boxAnswer;
    BoxAnswer boxAction;
};

}  // namespace VstToolkit
