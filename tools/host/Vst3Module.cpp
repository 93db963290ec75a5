#include "tools/host/Vst3Module.h"

#include <cctype>
#include <cstring>
#include <filesystem>

#include "tools/host/SharedLibrary.h"

namespace Vst3Host {

namespace {

#if defined(_WIN32)
constexpr const char* kArchitecture = "x86_64-win";
constexpr const char* kBinaryExtension = ".vst3";
using EntryProc = bool(VST3_API*)();
bool callEntry(void* entry, void*) {
    return reinterpret_cast<EntryProc>(entry)();
}
#else
constexpr const char* kArchitecture = "x86_64-linux";
constexpr const char* kBinaryExtension = ".so";
using EntryProc = bool (*)(void*);
bool callEntry(void* entry, void* handle) {
    return reinterpret_cast<EntryProc>(entry)(handle);
}
#endif
using ExitProc = bool(VST3_API*)();

// Fixed-size record fields need not be terminated.
template <std::size_t N>
std::string field(const char (&text)[N]) {
    return std::string(text, strnlen(text, N));
}

}  // namespace

bool isVst3Path(const std::string& path) {
    std::string lower;
    for (char c : path) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!lower.empty() && (lower.back() == '/' || lower.back() == '\\')) lower.pop_back();
    return (lower.size() > 5 && lower.compare(lower.size() - 5, 5, ".vst3") == 0) ||
           lower.find(".vst3/contents/") != std::string::npos ||
           lower.find(".vst3\\contents\\") != std::string::npos;
}

Module::~Module() {
    unload();
}

std::string Module::binaryPath(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) return path;
    std::filesystem::path bundle = std::filesystem::path(path).lexically_normal();
    if (!bundle.has_filename()) bundle = bundle.parent_path();  // a trailing separator
    const std::string name = bundle.stem().string() + kBinaryExtension;
    return (bundle / "Contents" / kArchitecture / name).string();
}

bool Module::load(const std::string& path) {
    unload();
    lastError.clear();
    const std::string binary = binaryPath(path);
    std::string systemError;
    handle = VstHost::openLibrary(binary, systemError);
    if (handle == nullptr) {
        lastError = "cannot load '" + binary + "': " + systemError;
        return false;
    }
    const char* missing = nullptr;
    for (const char* name : {kModuleInitName, kModuleExitName, kGetPluginFactoryName}) {
        if (symbol(name) == nullptr) missing = name;
    }
    if (missing != nullptr) {
        lastError = "'" + binary + "' does not export " + missing;
    } else if (!(entered = enter())) {
        lastError = "'" + binary + "': " + kModuleInitName + " failed";
    } else {
        const auto get = reinterpret_cast<Vst3GetPluginFactoryProc>(symbol(kGetPluginFactoryName));
        pluginFactory = get();
        if (pluginFactory == nullptr) lastError = "'" + binary + "' has no factory";
    }
    if (lastError.empty()) return true;
    unload();
    return false;
}

void Module::unload() {
    if (pluginFactory != nullptr) pluginFactory->release();
    pluginFactory = nullptr;
    if (entered) exit();
    entered = false;
    if (handle != nullptr) VstHost::closeLibrary(handle);
    handle = nullptr;
}

std::vector<ClassInfo> Module::classes() const {
    std::vector<ClassInfo> list;
    if (pluginFactory == nullptr) return list;
    IPluginFactory2* factory2 = query<IPluginFactory2>(pluginFactory);
    for (int32 i = 0; i < pluginFactory->countClasses(); ++i) {
        ClassInfo info;
        PClassInfo2 full{};
        PClassInfo basic{};
        if (factory2 != nullptr && factory2->getClassInfo2(i, &full) == kResultOk) {
            std::memcpy(info.id.bytes, full.cid, sizeof(TUID));
            info.category = field(full.category);
            info.name = field(full.name);
            info.vendor = field(full.vendor);
            info.version = field(full.version);
            info.subCategories = field(full.subCategories);
        } else if (pluginFactory->getClassInfo(i, &basic) == kResultOk) {
            std::memcpy(info.id.bytes, basic.cid, sizeof(TUID));
            info.category = field(basic.category);
            info.name = field(basic.name);
        } else {
            continue;
        }
        list.push_back(info);
    }
    if (factory2 != nullptr) factory2->release();
    return list;
}

bool Module::findClass(ClassInfo& info, const char* category) const {
    for (const ClassInfo& c : classes()) {
        if (c.category == category) {
            info = c;
            return true;
        }
    }
    return false;
}

PFactoryInfo Module::factoryInfo() const {
    PFactoryInfo info{};
    if (pluginFactory != nullptr) pluginFactory->getFactoryInfo(&info);
    return info;
}

void* Module::symbol(const char* name) const {
    return handle != nullptr && name != nullptr ? VstHost::findSymbol(handle, name) : nullptr;
}

bool Module::enter() const {
    void* entry = symbol(kModuleInitName);
    return entry != nullptr && callEntry(entry, handle);
}

bool Module::exit() const {
    void* entry = symbol(kModuleExitName);
    return entry != nullptr && reinterpret_cast<ExitProc>(entry)();
}

}  // namespace Vst3Host
