// GDI+ for as long as the object lives: an editor holds one, so GDI+ outlasts every picture
// and control its views draw with. A failed start leaves nothing to shut down.
#pragma once

#include "EditorCommon/Win32/Win32.h"

namespace EditorCommon::Win32 {

class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        input.GdiplusVersion = 1;
        input.DebugEventCallback = nullptr;
        input.SuppressBackgroundThread = FALSE;
        input.SuppressExternalCodecs = FALSE;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) token = 0;
    }
    ~GdiplusSession() {
        if (token != 0) Gdiplus::GdiplusShutdown(token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token = 0;
};

}  // namespace EditorCommon::Win32
