// The framework's AEffEditor: it creates the effect's view in the host's window when the host
// opens the editor and destroys it when the host closes it. GDI+ runs from the editor's
// construction to its destruction. ViewType provides
//   static ViewType* Create(Model*, Controller*, HWND parent, HINSTANCE module).
//
// Threads: the host's user-interface thread.
#pragma once

#include "EditorCommon/Win32/GdiplusSession.h"
#include "VstToolkit/Controller.h"
#include "vst/AEffEditor.h"
#include "vst/platform/Trace.h"

namespace VstToolkit {

template <typename ViewType>
class Editor : public AEffEditor {
public:
    Editor(Controller* owner, Model* state, HINSTANCE moduleHandle)
        : AEffEditor(owner), module(moduleHandle), controller(owner), model(state) {}

    // The view goes before GDI+ does.
    ~Editor() override { close(); }

    bool getRect(ERect** rectangle) override {
        if (rectangle == nullptr) return false;
        *rectangle = &rect;
        return true;
    }

    bool open(void* parentWindow) override {
        if (view != nullptr) close();
        systemWindow = parentWindow;
        view = ViewType::Create(model, controller, static_cast<HWND>(parentWindow), module);
        if (view == nullptr) return false;
        controller->SetView(view);
        controller->PushParametersToView();
        rect = {static_cast<VstInt16>(view->GetY()), static_cast<VstInt16>(view->GetX()),
                static_cast<VstInt16>(view->GetHeight()), static_cast<VstInt16>(view->GetWidth())};
        ShowWindow(view->GetHwnd(), SW_SHOWNORMAL);
        UpdateWindow(view->GetHwnd());
        return true;
    }

    void close() override {
        systemWindow = nullptr;
        if (view == nullptr) return;
        // The window procedure deletes the view and its controls with their windows.
        DestroyWindow(view->GetHwnd());
        view = nullptr;
        controller->SetView(nullptr);
    }

    // Brings the view up to date with what learned MIDI controllers changed.
    void idle() override { controller->ShowAudioThreadChanges(); }

    ViewType* GetView() const { return view; }

private:
    HINSTANCE module;
    EditorCommon::Win32::GdiplusSession gdiplus;
    Controller* controller;  // not owned
    Model* model;            // not owned
    ViewType* view = nullptr;
    // The background's size, so a host asking before the first opening gets the right answer.
    ERect rect = {0, 0, ViewType::kHeight, ViewType::kWidth};
};

}  // namespace VstToolkit
