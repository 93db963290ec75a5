// Instance creation of this build: the services first, then the effect's model on them, then
// the plug-in that owns both.
#include <memory>
#include <new>

#include "SynthToolkit/ServiceDispatcher.h"
#include "SynthToolkit/Vst/VstPlugin.h"
#include "effect/x86/QuellinCorvaneModel.h"
#include "vst/PluginMain.h"

#if defined(_WIN32)
#include "effect/x86/Module.h"
#include "effect/x86/QuellinCorvaneEditor.h"
#endif

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    try {
        auto services = std::make_unique<SynthToolkit::ServiceDispatcher>();
        auto model = std::make_unique<QuellinCorvaneX86::QuellinCorvaneModel>(
            QuellinCorvaneX86::kEffectName, QuellinCorvaneX86::kVendor, QuellinCorvaneX86::kProduct,
            QuellinCorvaneX86::kVendorVersion, QuellinCorvaneX86::kProgramCount, services.get());
        auto* plugin = new SynthToolkit::Vst::VstPlugin(audioMaster, services.get(), model.get(),
                                                        QuellinCorvaneX86::kCategory,
                                                        QuellinCorvaneX86::kUniqueId);
        // The plug-in owns them from here on.
        auto* state = model.release();
        services.release();
#if defined(_WIN32)
        // Without an editor the plug-in still works; the host just sees none.
        auto* editor = new (std::nothrow) QuellinCorvaneX86::QuellinCorvaneEditor(
            QuellinCorvaneX86::moduleInstance(), plugin, state);
        if (editor != nullptr) plugin->setEditor(editor);
#else
        static_cast<void>(state);
#endif
        return plugin;
    } catch (const std::bad_alloc&) {
        // Whatever was built is freed again; the host simply gets no instance.
        return nullptr;
    }
}
