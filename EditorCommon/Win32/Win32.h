// The Windows and GDI+ headers as both builds' editors use them: no min/max macros, and the
// flat GDI+ API under a short name.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// GDI+ needs the full Windows headers first.
#include <gdiplus.h>

namespace Gdip = Gdiplus::DllExports;
