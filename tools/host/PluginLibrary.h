// Loads a plug-in binary and finds its entry point the way a host does: "VSTPluginMain" first,
// then the older "main" export.
#pragma once

#include <string>

#include "vst/VstInterface.h"

namespace VstHost {

class PluginLibrary {
public:
    PluginLibrary() = default;
    // Unloads the binary; every AEffect made from it must be closed before this.
    ~PluginLibrary();
    PluginLibrary(PluginLibrary&& other) noexcept;
    PluginLibrary& operator=(PluginLibrary&& other) noexcept;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // False with error() set when the binary does not load or exports no entry point; a
    // library already loaded is unloaded first.
    bool load(const std::string& path);
    void unload();

    bool isLoaded() const { return handle != nullptr; }
    // Null until a load succeeds.
    VstPluginMainProc entryPoint() const { return entry; }
    // Null when the symbol is missing or nothing is loaded.
    void* symbol(const char* name) const;
    const std::string& error() const { return lastError; }
    const std::string& path() const { return loadedPath; }

private:
    void* handle = nullptr;
    VstPluginMainProc entry = nullptr;
    std::string lastError;
    std::string loadedPath;
};

}  // namespace VstHost
