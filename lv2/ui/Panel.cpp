#include "lv2/ui/Panel.h"

#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>

#include <new>

#include "effect/x64/ParameterTable.h"
#include "lv2/Ports.h"
#include "vst/x64/QuellinCorvaneEditor.h"

namespace QuellinCorvane::Lv2 {
namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 224;
constexpr const char* kTitle = "Quellin Corvane";

bool isParameterPort(std::uint32_t port) {
    return port >= kFirstParameterPort && port < kFirstParameterPort + kParameterCount;
}

}  // namespace

std::unique_ptr<Panel> Panel::Create(const PanelHost& host) {
    if (host.map == nullptr || host.write == nullptr) return nullptr;
    std::unique_ptr<Panel> panel(new (std::nothrow) Panel(host));
    if (panel == nullptr || !panel->Open()) return nullptr;
    return panel;
}

Panel::Panel(const PanelHost& offered)
    : host(offered),
      urids(*offered.map),
      eventTransfer(offered.map->map(offered.map->handle, LV2_ATOM__eventTransfer)),
      document(new QuellinCorvaneModel()),
      controller(VstToolkit::MakeDocumentController(document, *this)) {
    document->SetObserver(this);
    if (AEffEditor* editor = CreateEditor(controller.get(), document))
        controller->setEditor(editor);
}

Panel::~Panel() {
    // The view goes before the window it lives in.
    if (AEffEditor* editor = controller->getEditor()) editor->close();
    controller.reset();
}

bool Panel::Open() {
    AEffEditor* editor = controller->getEditor();
    if (editor == nullptr || !window.Connect()) return false;
    void* parent = host.parent;
    if (parent == nullptr) {
        const xcb_window_t own = window.MakeTopLevel(kWidth, kHeight, kTitle);
        if (own == XCB_NONE) return false;
        parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(own));
    }
    if (!editor->open(parent)) return false;
    window.FixSize(static_cast<xcb_window_t>(EditorViewWindow(editor)), kWidth, kHeight);
    if (host.resize != nullptr) host.resize->ui_resize(host.resize->handle, kWidth, kHeight);
    Send(urids.getBindings);  // for the "Forget CC" items
    return true;
}

LV2UI_Widget Panel::Widget() const {
    return reinterpret_cast<LV2UI_Widget>(
        static_cast<std::uintptr_t>(EditorViewWindow(controller->getEditor())));
}

void Panel::PortEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                      const void* buffer) {
    if (buffer == nullptr) return;
    if (format == 0 && isParameterPort(port) && size == sizeof(float)) {
        const int index = static_cast<int>(port - kFirstParameterPort);
        const float units = *static_cast<const float*>(buffer);
        controller->setParameter(index, NormalisedFromUnits(kParameterRows[index], units));
        return;
    }
    if (format != eventTransfer || port != kNotifyPort || size < sizeof(LV2_Atom)) return;
    const auto* atom = static_cast<const LV2_Atom*>(buffer);
    if (atom->type == urids.atomObject && lv2_atom_total_size(atom) <= size &&
        atom->size >= sizeof(LV2_Atom_Object_Body))
        HandleNotification(*static_cast<const LV2_Atom_Object*>(buffer));
}

void Panel::HandleNotification(const LV2_Atom_Object& message) {
    const LV2_Atom* parameterAtom = nullptr;
    const LV2_Atom* controllerAtom = nullptr;
    const LV2_Atom* valueAtom = nullptr;
    const LV2_Atom* bindingsAtom = nullptr;
    lv2_atom_object_get(&message, urids.parameterKey, &parameterAtom, urids.controllerKey,
                        &controllerAtom, urids.valueKey, &valueAtom, urids.bindingsKey,
                        &bindingsAtom, 0);
    auto intOf = [this](const LV2_Atom* atom, int& value) {
        if (atom == nullptr || atom->type != urids.atomInt || atom->size < sizeof(std::int32_t))
            return false;
        value = reinterpret_cast<const LV2_Atom_Int*>(atom)->body;
        return true;
    };
    const LV2_URID type = message.body.otype;
    int parameter = 0, controllerNumber = 0;
    const bool hasParameter =
        intOf(parameterAtom, parameter) && parameter >= 0 && parameter < kParameterCount;
    if (type == urids.learned && hasParameter && intOf(controllerAtom, controllerNumber)) {
        VstToolkit::ShowLearnedBinding(*controller, controllerNumber, parameter);
    } else if (type == urids.moved && hasParameter && valueAtom != nullptr &&
               valueAtom->type == urids.atomFloat && valueAtom->size >= sizeof(float)) {
        // The plug-in cannot write its own input port: the panel does, so the host records it.
        const float units = reinterpret_cast<const LV2_Atom_Float*>(valueAtom)->body;
        controller->setParameter(parameter, NormalisedFromUnits(kParameterRows[parameter], units));
        WriteParameter(parameter, units);
    } else if (type == urids.bindings && bindingsAtom != nullptr &&
               bindingsAtom->type == urids.atomVector) {
        const auto* vector = reinterpret_cast<const LV2_Atom_Vector*>(bindingsAtom);
        if (vector->body.child_type != urids.atomInt ||
            vector->body.child_size != sizeof(std::int32_t) ||
            vector->atom.size != sizeof vector->body + kBindingCount * sizeof(std::int32_t))
            return;
        const auto* bindings = reinterpret_cast<const std::int32_t*>(vector + 1);
        for (int c = 0; c < kBindingCount; ++c) {
            if (bindings[c] >= 0 && bindings[c] < kParameterCount)
                document->RegisterMidiControllerMapping(c, bindings[c]);
            else
                document->UnregisterMidiControllerMapping(c);
        }
    }
}

int Panel::Idle() {
    controller->getEditor()->idle();
    return window.Closed() ? 1 : 0;
}

void Panel::WriteParameter(int index, float units) {
    host.write(host.controller, kFirstParameterPort + static_cast<std::uint32_t>(index),
               sizeof units, 0, &units);
}

bool Panel::OnDocumentAutomate(VstInt32 index, float value) {
    if (index < 0 || index >= kParameterCount) return false;
    WriteParameter(index, UnitsFor(kParameterRows[index], value));
    return true;
}

bool Panel::OnDocumentBeginEdit(VstInt32 index) {
    if (host.touch == nullptr || index < 0 || index >= kParameterCount) return false;
    host.touch->touch(host.touch->handle, kFirstParameterPort + static_cast<std::uint32_t>(index),
                      true);
    return true;
}

bool Panel::OnDocumentEndEdit(VstInt32 index) {
    if (host.touch == nullptr || index < 0 || index >= kParameterCount) return false;
    host.touch->touch(host.touch->handle, kFirstParameterPort + static_cast<std::uint32_t>(index),
                      false);
    return true;
}

void Panel::OnModelMidiLearnCommand(const VstToolkit::MidiLearnCommand& command) {
    using Command = VstToolkit::MidiLearnCommand;
    switch (command.kind) {
        case Command::kStart: Send(urids.startLearning, urids.parameterKey, command.value); break;
        case Command::kCancel: Send(urids.cancelLearning); break;
        case Command::kForget: Send(urids.forget, urids.controllerKey, command.value); break;
        case Command::kClearAll: Send(urids.clearAll); break;
    }
}

void Panel::Send(LV2_URID type, LV2_URID key, std::int32_t value) {
    alignas(LV2_Atom) std::uint8_t buffer[128];
    LV2_Atom_Forge forge;
    lv2_atom_forge_init(&forge, const_cast<LV2_URID_Map*>(host.map));
    lv2_atom_forge_set_buffer(&forge, buffer, sizeof buffer);
    LV2_Atom_Forge_Frame frame;
    const auto* message =
        reinterpret_cast<const LV2_Atom*>(lv2_atom_forge_object(&forge, &frame, 0, type));
    if (key != 0) {
        lv2_atom_forge_key(&forge, key);
        lv2_atom_forge_int(&forge, value);
    }
    lv2_atom_forge_pop(&forge, &frame);
    host.write(host.controller, kControlPort, lv2_atom_total_size(message), eventTransfer, message);
}

}  // namespace QuellinCorvane::Lv2
