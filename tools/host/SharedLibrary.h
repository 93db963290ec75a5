// The platform's shared-library calls, shared by the VST 2.x and VST3 loaders.
#pragma once

#include <string>

namespace VstHost {

// Null with error set when the binary does not load.
void* openLibrary(const std::string& path, std::string& error);
void closeLibrary(void* handle);
// Null when the symbol is missing.
void* findSymbol(void* handle, const char* name);

}  // namespace VstHost
