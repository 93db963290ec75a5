// The model observer behind the editor dialog. It binds dialog controls to parameters, turns
// control actions into parameter changes and keeps the controls in step with the model.
//
// Threads: model notifications arrive on any thread (the audio thread for MIDI) and only touch
// the pending-update queue, under the view's own lock. Everything that touches a window runs
// on the user-interface thread: the dialog procedure and processPendingUpdates.
#pragma once

#include <map>
#include <vector>

#include "SynthToolkit/Gui/Win32.h"
#include "SynthToolkit/IModelObserver.h"
#include "vst/platform/RecursiveLock.h"

namespace SynthToolkit {

class Model;

namespace Gui {

enum ControlKind : int {
    kCheckBox = 0,
    kComboBox = 1,
    kHorizontalTrackBar = 2,
    kVerticalTrackBar = 3,
    kCustomControl = 4,
};

class View : public IModelObserver {
public:
    // Registers with the model as an observer; the destructor leaves it.
    View(HINSTANCE instance, Model* model);
    ~View() override;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Queue the change for the next processPendingUpdates; an index is queued at most once,
    // and -1 stands for every parameter.
    void parameterChanged(int index) override;
    void modelChanged() override;

    virtual HWND window() = 0;
    virtual void initDialog() {}
    virtual INT_PTR paint(HDC) { return 0; }
    virtual INT_PTR command(int id, HWND control, int code);
    virtual INT_PTR drawItem(WPARAM, LPARAM) { return 0; }
    virtual INT_PTR horizontalScroll(HWND control, int code, int position);
    virtual INT_PTR verticalScroll(HWND control, int code, int position);
    virtual INT_PTR notify(LPARAM) { return 0; }
    virtual INT_PTR character(WPARAM, int, int) { return 0; }
    virtual INT_PTR keyUp(WPARAM, int, int) { return 0; }
    virtual INT_PTR leftButtonDown(WPARAM, int, int) { return 0; }
    virtual INT_PTR rightButtonDown(WPARAM, int, int) { return 0; }
    virtual INT_PTR leftButtonUp(WPARAM, int, int) { return 0; }
    virtual INT_PTR rightButtonUp(WPARAM, int, int) { return 0; }
    virtual INT_PTR dialogColour(HDC) { return 0; }
    virtual INT_PTR staticColour(HDC, HWND) { return 0; }
    virtual INT_PTR buttonColour(HDC, HWND) { return 0; }
    virtual void destroyed() {}
    virtual void setControlValue(int index, float value);
    virtual void controlValueChanged(int id, float value);
    virtual void controlReset(int id);
    virtual void controlHover(int) {}
    virtual void controlLeave(int) {}
    virtual INT_PTR otherMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }

    void bindControl(int id, ControlKind kind, int index);
    // Posts the value of every queued parameter to the dialog. User-interface thread.
    void processPendingUpdates();
    // Posts the current value of every bound parameter to the dialog.
    void syncAllControls();
    void show();

    // Give this to CreateDialogParam with the view as the creation parameter.
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam);

protected:
    // The bound parameter of a control id, or -1.
    int parameterOf(int id) const;
    // The value a user action left in a standard control.
    float readControl(int id, ControlKind kind) const;
    void changeFromControl(int id, float value);
    void postValue(int index);

    HINSTANCE instance;
    Model* model;  // not owned

private:
    std::map<int, int> parameterById;
    std::map<int, ControlKind> kindById;
    std::map<int, int> idByParameter;
    std::vector<int> pending;  // oldest first; never grows past parameters + 1
    Platform::RecursiveLock queueLock;
};

// A view whose dialog shows a background picture (the editor's, not owned).
class GdiplusView : public View {
public:
    GdiplusView(HINSTANCE moduleInstance, Model* observed, Gdiplus::GpBitmap* picture)
        : View(moduleInstance, observed), background(picture) {}
    INT_PTR paint(HDC dc) override;

protected:
    Gdiplus::GpBitmap* background;
};

}  // namespace Gui
}  // namespace SynthToolkit
