// Resource identifiers shared by the resource scripts and the code.
#pragma once

// x64 build
#define IDR_KNOB_STRIP 113
#define IDR_SWITCH_STRIP 114
#define IDR_BACKGROUND 115
#define IDB_ABOUT 112
#define IDC_VISIT_WEBSITE 1014

// x86 build
#define IDD_EDITOR_PANEL 101
#define IDD_ABOUT_BOX 102
#define IDC_OUTPUT_SWITCH 1011
#define IDC_SLOPE_SWITCH 1012
#define IDC_CUTOFF_KNOB 1009
#define IDC_SPREAD_KNOB 1007
#define IDC_BASS_AMP_KNOB 1008
#define IDC_STATUS_LINE 1015
