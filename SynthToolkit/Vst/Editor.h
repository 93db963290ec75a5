// The x86 build's AEffEditor: on open it has the subclass create a view inside the host's
// window, on idle it lets the view bring the controls up to date, on close it deletes the view.
// GdiplusEditor runs GDI+ from its construction to its destruction.
//
// Threads: the host's user-interface thread.
#pragma once

#include <memory>

#include "EditorCommon/Win32/GdiplusSession.h"
#include "SynthToolkit/Gui/View.h"
#include "vst/AEffEditor.h"

namespace SynthToolkit {

class Model;

namespace Vst {

class Editor : public AEffEditor {
public:
    Editor(HINSTANCE instance, AudioEffect* effect, Model* model);
    ~Editor() override;

    bool open(void* parentWindow) override;
    void close() override;
    void idle() override;

    // The open view, or null.
    Gui::View* view() const { return openView.get(); }

protected:
    virtual std::unique_ptr<Gui::View> createView(HINSTANCE instance, HWND parentWindow,
                                                  Model* model) = 0;

    HINSTANCE instance;
    Model* model;  // not owned

private:
    std::unique_ptr<Gui::View> openView;
};

class GdiplusEditor : public Editor {
public:
    GdiplusEditor(HINSTANCE instance, AudioEffect* effect, Model* model);
    ~GdiplusEditor() override;

private:
    EditorCommon::Win32::GdiplusSession gdiplus;
};

}  // namespace Vst
}  // namespace SynthToolkit
