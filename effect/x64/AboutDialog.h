// The modal About box: a picture, "OK", and "Visit Website", which opens the maker's site and
// leaves the box open. OK, Escape and the close box end it.
#pragma once

#include "WindowsToolkit/Win32.h"

namespace QuellinCorvane {

constexpr const char* kWebsite = "https://quellin.example/";

void ShowAboutDialog(HWND owner);
INT_PTR CALLBACK AboutDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace QuellinCorvane
