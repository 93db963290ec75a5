// The framework's AEffEditor on Linux: the host hands effEditOpen its X window; the editor
// opens its own connection to the X server, creates the effect's view as a child of that
// window and closes the connection again on effEditClose, which frees every X resource it made.
//
// Events are handled on effEditIdle, on the host's user-interface thread, like every other
// call the editor gets: all X and drawing work stays on that one thread and nothing blocks.
// Hosts that show plug-in editors send effEditIdle continuously while one is open.
//
// ViewType provides
//   static std::unique_ptr<ViewType> Create(LinuxToolkit::Connection&, Model*, Controller*,
//                                           xcb_window_t parent).
#pragma once

#include <cstdint>
#include <memory>

#include "LinuxToolkit/Connection.h"
#include "VstToolkit/Controller.h"
#include "vst/AEffEditor.h"

namespace VstToolkit {

template <typename ViewType>
class LinuxEditor : public AEffEditor {
public:
    LinuxEditor(Controller* owner, Model* state)
        : AEffEditor(owner), controller(owner), model(state) {}
    ~LinuxEditor() override { close(); }

    bool getRect(ERect** rectangle) override {
        if (rectangle == nullptr) return false;
        *rectangle = &rect;
        return true;
    }

    // False without an X server (or when the view cannot be made); audio goes on regardless.
    bool open(void* parentWindow) override {
        if (view != nullptr) close();
        systemWindow = parentWindow;
        auto display = std::make_unique<LinuxToolkit::Connection>();
        if (!display->IsOpen()) return false;
        const auto parent =
            static_cast<xcb_window_t>(reinterpret_cast<std::uintptr_t>(parentWindow));
        view = ViewType::Create(*display, model, controller, parent);
        if (view == nullptr) return false;
        connection = std::move(display);
        controller->SetView(view.get());
        controller->PushParametersToView();
        rect = {static_cast<VstInt16>(view->Y()), static_cast<VstInt16>(view->X()),
                static_cast<VstInt16>(view->Height()), static_cast<VstInt16>(view->Width())};
        connection->PaintDirty();
        connection->Flush();
        return true;
    }

    void close() override {
        systemWindow = nullptr;
        if (view == nullptr) return;
        controller->SetView(nullptr);
        view.reset();
        connection.reset();  // disconnecting frees whatever the server still holds for us
    }

    void idle() override {
        // What learned MIDI controllers changed on the audio thread, then the user's input.
        controller->ShowAudioThreadChanges();
        if (view == nullptr) return;
        while (connection->DispatchPending() > 0) view->AfterEvents();
        connection->PaintDirty();
        connection->Flush();
    }

    ViewType* GetView() const { return view.get(); }
    // The X connection's descriptor while open, -1 otherwise: a host without idle calls (VST3)
    // watches it and calls idle when input arrives.
    int ConnectionDescriptor() const {
        return connection != nullptr ? connection->FileDescriptor() : -1;
    }

private:
    Controller* controller;  // not owned
    Model* model;            // not owned
    std::unique_ptr<LinuxToolkit::Connection> connection;
    std::unique_ptr<ViewType> view;  // destroyed before its connection
    // The background's size, so a host asking before the first opening gets the right answer.
    ERect rect = {0, 0, ViewType::kHeight, ViewType::kWidth};
};

}  // namespace VstToolkit
