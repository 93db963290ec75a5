#include "effect/x86/QuellinCorvaneView.h"

#include <shellapi.h>

#include "resources/resource.h"

namespace QuellinCorvaneX86 {
namespace {

using SynthToolkit::Gui::kCustomControl;

constexpr const char* kWebsite = "https://quellin.example/";
constexpr int kKnobFrames = 91;
constexpr int kSwitchPositions = 4;

struct Placement {
    int id;
    RECT pixels;  // left, top, width, height
};

// The controls' final rectangles, in the order they are moved.
constexpr Placement kPlacements[] = {
    {IDC_OUTPUT_SWITCH, {73, 117, 15, 70}},  {IDC_SLOPE_SWITCH, {136, 117, 15, 70}},
    {IDC_CUTOFF_KNOB, {194, 117, 70, 70}},   {IDC_SPREAD_KNOB, {295, 117, 70, 70}},
    {IDC_BASS_AMP_KNOB, {396, 117, 70, 70}}, {IDC_STATUS_LINE, {320, 15, 200, 30}},
};

constexpr RECT kLogoArea = {11, 11, 289, 59};  // inclusive bounds

INT_PTR CALLBACK aboutProcedure(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(box, IDCANCEL);
        return 1;
    }
    if (message != WM_COMMAND) return 0;
    switch (LOWORD(wParam)) {
        case IDOK: EndDialog(box, IDOK); return 1;
        case IDC_VISIT_WEBSITE:
            ShellExecuteA(box, "open", kWebsite, nullptr, nullptr, SW_SHOWNORMAL);
            return 1;
        default: return 0;
    }
}

}  // namespace

QuellinCorvaneView::QuellinCorvaneView(HINSTANCE moduleInstance, HWND parentWindow,
                                       SynthToolkit::Model* state, Gdiplus::GpBitmap* picture,
                                       Gdiplus::GpBitmap* thumb, Gdiplus::GpBitmap* knob)
    : GdiplusView(moduleInstance, state, picture) {
    bindControl(IDC_OUTPUT_SWITCH, kCustomControl, 0);
    bindControl(IDC_SLOPE_SWITCH, kCustomControl, 2);
    bindControl(IDC_CUTOFF_KNOB, kCustomControl, 1);
    bindControl(IDC_SPREAD_KNOB, kCustomControl, 3);
    bindControl(IDC_BASS_AMP_KNOB, kCustomControl, 4);
    dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_EDITOR_PANEL), parentWindow,
                                dialogProcedure, reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr) return;
    using namespace SynthToolkit::Gui;
    outputSwitch =
        std::make_unique<VSwitch>(dialog, IDC_OUTPUT_SWITCH, kSwitchPositions, picture, thumb);
    slopeSwitch =
        std::make_unique<VSwitch>(dialog, IDC_SLOPE_SWITCH, kSwitchPositions, picture, thumb);
    cutoffKnob = std::make_unique<Knob>(dialog, IDC_CUTOFF_KNOB, picture, knob, kKnobFrames);
    spreadKnob = std::make_unique<Knob>(dialog, IDC_SPREAD_KNOB, picture, knob, kKnobFrames);
    bassAmpKnob = std::make_unique<Knob>(dialog, IDC_BASS_AMP_KNOB, picture, knob, kKnobFrames);
    status = std::make_unique<StatusControl>(dialog, IDC_STATUS_LINE, picture, model, 17,
                                             "Bookman Old Style", RGB(255, 255, 255));
    syncAllControls();
    for (const Placement& placement : kPlacements) {
        const RECT& r = placement.pixels;
        MoveWindow(GetDlgItem(dialog, placement.id), r.left, r.top, r.right, r.bottom, TRUE);
    }
}

QuellinCorvaneView::~QuellinCorvaneView() {
    if (dialog != nullptr) DestroyWindow(dialog);
}

INT_PTR QuellinCorvaneView::leftButtonDown(WPARAM, int x, int y) {
    if (x < kLogoArea.left || x > kLogoArea.right || y < kLogoArea.top || y > kLogoArea.bottom)
        return 0;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT_BOX), dialog, aboutProcedure, 0);
    return 1;
}

void QuellinCorvaneView::controlHover(int id) {
    const int index = parameterOf(id);
    if (status != nullptr && index >= 0) status->show(index);
}

void QuellinCorvaneView::controlLeave(int) {
    if (status != nullptr) status->clear();
}

}  // namespace QuellinCorvaneX86
