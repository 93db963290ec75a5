// The x86 editor's one-line text display: the parameter last hovered or changed ("%s: %s %s":
// name, display text, unit). As a model observer it is told about changes on whatever thread
// made them; it then only writes its text and invalidates, and draws on the window's thread.
#pragma once

#include "SynthToolkit/Gui/CustomControl.h"
#include "SynthToolkit/IModelObserver.h"

namespace SynthToolkit {

class Model;

namespace Gui {

class StatusControl : public CustomControl, public IModelObserver {
public:
    static constexpr int kTextBytes = 512;

    // Registers with the model as an observer; the destructor leaves it.
    StatusControl(HWND parentDialog, int id, Gdiplus::GpBitmap* background, Model* model,
                  int fontHeight, const char* fontFace, COLORREF textColour);
    ~StatusControl() override;

    void show(int index);
    void clear();
    const char* text() const { return shown; }

    void parameterChanged(int index) override { show(index); }
    void modelChanged() override {}
    void drawForeground(Gdiplus::GpGraphics* graphics) override;

private:
    Model* model;  // not owned
    int fontHeight;
    const char* fontFace;
    COLORREF textColour;
    char shown[kTextBytes] = {};
};

}  // namespace Gui
}  // namespace SynthToolkit
