// The DLL's entry routine: it keeps the module instance handle and reports success.
#include "effect/x86/Module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) QuellinCorvaneX86::setModuleInstance(instance);
    return TRUE;
}
