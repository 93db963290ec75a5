// The LV2 plug-in's panel: the x64 editor over a document of its own (a Controller and model
// never processed), joined to the plug-in through the host's ports only. Port values come in
// by port_event and go out by write_function in the ports' units; a drag is framed by touch;
// the MIDI learn menus send messages (lv2/Messages.h) on the control port, and the notify
// port's answers update the document.
//
// Every call comes on the host's user-interface thread.
#pragma once

#include <lv2/ui/ui.h>

#include <cstdint>
#include <memory>

#include "VstToolkit/DocumentController.h"
#include "effect/x64/QuellinCorvaneModel.h"
#include "lv2/Messages.h"
#include "lv2/ui/PanelWindow.h"

namespace QuellinCorvane::Lv2 {

// What the host offers the panel; only map is required.
struct PanelHost {
    LV2UI_Write_Function write = nullptr;
    LV2UI_Controller controller = nullptr;
    const LV2_URID_Map* map = nullptr;
    void* parent = nullptr;                // ui:parent, an X window; none: a window of our own
    const LV2UI_Resize* resize = nullptr;  // ui:resize
    const LV2UI_Touch* touch = nullptr;    // ui:touch
};

class Panel final : public VstToolkit::DocumentEdits, public VstToolkit::ModelObserver {
public:
    // Null without urid:map or write_function, without an X server, or when the editor cannot
    // open.
    static std::unique_ptr<Panel> Create(const PanelHost& host);
    ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The X window to embed.
    LV2UI_Widget Widget() const;
    // Parameter ports (format 0, a float in the port's units) and the notify port's messages
    // (atom:eventTransfer); anything else is ignored.
    void PortEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                   const void* buffer);
    // Handles input and paints; non-zero once the user closed the panel's own window.
    int Idle();

    // DocumentEdits: the editor's edits become port writes framed by touch.
    bool OnDocumentAutomate(VstInt32 index, float value) override;
    bool OnDocumentBeginEdit(VstInt32 index) override;
    bool OnDocumentEndEdit(VstInt32 index) override;

    // ModelObserver: the document is never processed; its MIDI learn actions are messages.
    void OnModelParameterValueChanged(VstInt32, float, VstInt32) override {}
    void OnModelMidiLearned(VstInt32, VstInt32, VstInt32) override {}
    void OnModelMidiLearnCommand(const VstToolkit::MidiLearnCommand& command) override;

private:
    explicit Panel(const PanelHost& host);
    bool Open();
    void HandleNotification(const LV2_Atom_Object& message);
    void WriteParameter(int index, float units);
    // Sends a message of type, with an Int property when key is not 0.
    void Send(LV2_URID type, LV2_URID key = 0, std::int32_t value = 0);

    PanelHost host;
    Urids urids;
    LV2_URID eventTransfer;
    QuellinCorvaneModel* document;  // owned by controller
    std::unique_ptr<VstToolkit::Controller> controller;
    PanelWindow window;  // the hints, and the window of our own without ui:parent
};

}  // namespace QuellinCorvane::Lv2
