#include "tools/host/PluginLibrary.h"

#include <utility>

#include "tools/host/SharedLibrary.h"

namespace VstHost {

PluginLibrary::~PluginLibrary() {
    unload();
}

PluginLibrary::PluginLibrary(PluginLibrary&& other) noexcept
    : handle(std::exchange(other.handle, nullptr)),
      entry(std::exchange(other.entry, nullptr)),
      lastError(std::move(other.lastError)),
      loadedPath(std::move(other.loadedPath)) {}

PluginLibrary& PluginLibrary::operator=(PluginLibrary&& other) noexcept {
    if (this != &other) {
        unload();
        handle = std::exchange(other.handle, nullptr);
        entry = std::exchange(other.entry, nullptr);
        lastError = std::move(other.lastError);
        loadedPath = std::move(other.loadedPath);
    }
    return *this;
}

bool PluginLibrary::load(const std::string& path) {
    unload();
    lastError.clear();
    std::string systemError;
    void* opened = openLibrary(path, systemError);
    if (opened == nullptr) {
        lastError = "cannot load '" + path + "': " + systemError;
        return false;
    }
    void* found = findSymbol(opened, "VSTPluginMain");
    if (found == nullptr) found = findSymbol(opened, "main");
    if (found == nullptr) {
        closeLibrary(opened);
        lastError = "'" + path + "' exports neither VSTPluginMain nor main";
        return false;
    }
    handle = opened;
    // Object and function pointers share a representation on every platform a plug-in runs on.
    entry = reinterpret_cast<VstPluginMainProc>(found);
    loadedPath = path;
    return true;
}

void PluginLibrary::unload() {
    if (handle != nullptr) closeLibrary(handle);
    handle = nullptr;
    entry = nullptr;
    loadedPath.clear();
}

void* PluginLibrary::symbol(const char* name) const {
    return handle != nullptr && name != nullptr ? findSymbol(handle, name) : nullptr;
}

}  // namespace VstHost
