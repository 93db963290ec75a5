// A VST3 module as a host loads it: the bundle's binary for this platform, its init export
// called once, its factory and the classes the factory lists.
#pragma once

#include <string>
#include <vector>

#include "tools/host/Vst3HostObjects.h"

namespace Vst3Host {

// A .vst3 bundle folder, the Windows module file, or a binary inside a bundle, by its name.
bool isVst3Path(const std::string& path);

struct ClassInfo {
    Uid id{};
    std::string category;  // kVstAudioEffectClass, kVstComponentControllerClass, ...
    std::string name;
    std::string vendor;  // from the factory-2 record when there is one
    std::string version;
    std::string subCategories;  // "Fx", "Instrument|Synth", ...
};

class Module {
public:
    Module() = default;
    // Releases the factory, calls the exit export and unloads; every instance made from the
    // module must be gone before this.
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // path: a .vst3 bundle folder or the binary itself. False with error() set when it does
    // not load, lacks an export, refuses to start, or has no factory.
    bool load(const std::string& path);
    void unload();

    // The binary inside a bundle folder for this platform (Contents/x86_64-linux/NAME.so, or
    // Contents/x86_64-win/NAME.vst3); any other path as given.
    static std::string binaryPath(const std::string& path);

    IPluginFactory* factory() const { return pluginFactory; }
    std::vector<ClassInfo> classes() const;
    // The first class of the category (the effect's processor by default); false when none.
    bool findClass(ClassInfo& info, const char* category = kVstAudioEffectClass) const;
    PFactoryInfo factoryInfo() const;
    void* symbol(const char* name) const;
    // The module's own init and exit exports, called again (they count calls).
    bool enter() const;
    bool exit() const;
    const std::string& error() const { return lastError; }

private:
    void* handle = nullptr;
    IPluginFactory* pluginFactory = nullptr;
    bool entered = false;
    std::string lastError;
};

}  // namespace Vst3Host
