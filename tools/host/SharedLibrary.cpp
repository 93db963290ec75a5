#include "tools/host/SharedLibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace VstHost {

#if defined(_WIN32)
namespace {

std::string systemErrorText(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = "error " + std::to_string(code);
    if (length > 0 && text != nullptr) {
        std::string described(text, length);
        while (!described.empty() && (described.back() == '\n' || described.back() == '\r'))
            described.pop_back();
        message += ": " + described;
    }
    if (text != nullptr) LocalFree(text);
    return message;
}

}  // namespace

void* openLibrary(const std::string& path, std::string& error) {
    // LoadLibraryA documents backslashes only, and build systems hand out forward slashes.
    std::string native = path;
    for (char& c : native)
        if (c == '/') c = '\\';
    HMODULE module = LoadLibraryA(native.c_str());
    if (module == nullptr) error = systemErrorText(GetLastError());
    return reinterpret_cast<void*>(module);
}

void closeLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}

void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
#else
void* openLibrary(const std::string& path, std::string& error) {
    // RTLD_LOCAL keeps two plug-ins built from the same base layer from sharing its symbols.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* text = dlerror();
        error = text != nullptr ? text : "dlopen failed";
    }
    return handle;
}

void closeLibrary(void* handle) {
    dlclose(handle);
}

void* findSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}
#endif

}  // namespace VstHost
