// Resource identifiers shared by the resource scripts and the code.
#pragma once

// x64 build
#define IDR_KNOB_STRIP 113
#define IDR_SWITCH_STRIP 114
#define IDR_BACKGROUND 115
#define IDB_ABOUT 112
#define IDC_VISIT_WEBSITE 1014
