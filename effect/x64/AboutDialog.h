// The modal About box: a picture, "OK", and "Visit Website", which opens the maker's site and
// leaves the box open. OK, Escape and the close box end it.
#pragma once

#include "EditorCommon/Win32/Win32.h"
#include "effect/x64/About.h"

namespace QuellinCorvane {

void ShowAboutDialog(HWND owner);
INT_PTR CALLBACK AboutDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace QuellinCorvane
