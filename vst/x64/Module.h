// The DLL's module handle and its attach and detach work (Windows only).
#pragma once

#include "EditorCommon/Win32/Win32.h"

HINSTANCE ModuleHandle();
// Registers the editor's four window classes; FALSE at the first that fails.
BOOL ProcessAttach(HINSTANCE module);
void ProcessDetach();
