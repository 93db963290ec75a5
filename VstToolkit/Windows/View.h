// The framework's editor window: it holds the parameter controls, routes their posted
// notifications to the Controller, keeps the status line showing the parameter under the
// mouse, and offers the MIDI learn menus. An effect derives its own view and fills the hooks.
//
// Threads: the user-interface thread only, the Controller's calls included (see ViewInterface);
// the audio thread never reaches the view.
#pragma once

#include <map>
#include <vector>

#include "VstToolkit/ViewInterface.h"
#include "WindowsToolkit/ParameterControl.h"
#include "WindowsToolkit/Window.h"

namespace VstToolkit {

class Controller;
class Model;

class View : public WindowsToolkit::Window, public ViewInterface {
public:
    View(Controller* owner, Model* state) : controller(owner), model(state) {}

    // The default posts the text to the parent window.
    void SetStatusText(const char* text) override;
    // The area that opens the view menu; empty by default.
    virtual void GetMenuRect(RECT* rect);
    virtual void ShowAbout() {}
    virtual void OnParameterControlValueChanged(int index, float value);

    int OnLeftButtonDown(WPARAM keys, POINT point) override;
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A second control for an index replaces the first.
    void AddParameterControl(WindowsToolkit::ParameterControl* control);
    void UpdateParameterControl(VstInt32 index, float value) override;
    void UpdateStatusText(int index);
    const char* GetStatusBuffer() const { return statusBuffer; }

protected:
    Controller* controller;  // not owned
    Model* model;            // not owned

private:
    void OnParameterControlRightClicked(WindowsToolkit::ParameterControl* control);
    void ShowViewMenu(POINT point);
    // TrackPopupMenu at a screen position, answering the chosen identifier or 0.
    UINT RunMenu(HMENU menu, POINT screen);

    std::map<int, WindowsToolkit::ParameterControl*> controls;  // children; not owned
    std::vector<View*> subViews;
    char statusBuffer[256] = {};
};

}  // namespace VstToolkit
