#include "effect/x64/AboutDialog.h"

#include <shellapi.h>

#include "resources/resource.h"

namespace QuellinCorvane {

void ShowAboutDialog(HWND owner) {
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    DialogBoxParamA(module, "AboutDialog", owner, AboutDialogProcedure, 0);
}

INT_PTR CALLBACK AboutDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK: EndDialog(dialog, IDOK); return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        case IDC_VISIT_WEBSITE:
            ShellExecuteA(dialog, "open", kWebsite, nullptr, nullptr, SW_SHOWNORMAL);
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace QuellinCorvane
