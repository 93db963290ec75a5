#include "effect/x64/QuellinCorvaneView.h"

#include "VstToolkit/Model.h"
#include "WindowsToolkit/Knob.h"
#include "WindowsToolkit/Multiswitch.h"
#include "effect/x64/AboutDialog.h"
#include "effect/x64/QuellinCorvaneLayout.h"
#include "effect/x64/QuellinCorvaneModel.h"
#include "resources/resource.h"

namespace QuellinCorvane {
namespace {

using Layout::kControls;
using Layout::kKnobFrames;
using Layout::kSwitchPositions;
constexpr RECT kMenuArea = {Layout::kMenuArea.left, Layout::kMenuArea.top, Layout::kMenuArea.right,
                            Layout::kMenuArea.bottom};

}  // namespace

QuellinCorvaneView::QuellinCorvaneView(VstToolkit::Controller* owner, VstToolkit::Model* state,
                                       HINSTANCE module)
    : View(owner, state),
      knobStrip(&knobImage, kKnobFrames, true),
      switchStrip(&switchImage, kSwitchPositions, true) {
    backgroundImage.Load(IDR_BACKGROUND, module);
    knobImage.Load(IDR_KNOB_STRIP, module);
    switchImage.Load(IDR_SWITCH_STRIP, module);
}

QuellinCorvaneView* QuellinCorvaneView::Create(VstToolkit::Model* model,
                                               VstToolkit::Controller* controller, HWND parent,
                                               HINSTANCE module) {
    auto* view = new QuellinCorvaneView(controller, model, module);
    const int w = static_cast<int>(view->backgroundImage.Width());
    const int h = static_cast<int>(view->backgroundImage.Height());
    if (!view->CreateChild(kClassName, 0, 0, w, h, parent, module)) return nullptr;
    for (const Layout::ControlPlacement& placement : kControls) {
        const float initial = model->GetParameterValue(placement.parameter);
        const float defaultValue = model->GetParameterDefault(placement.parameter);
        WindowsToolkit::ParameterControl* control =
            placement.knob
                ? static_cast<WindowsToolkit::ParameterControl*>(WindowsToolkit::Knob::Create(
                      &view->backgroundImage, placement.parameter, defaultValue, initial,
                      &view->knobStrip, placement.x, view->hwnd, module))
                : WindowsToolkit::Multiswitch::Create(&view->backgroundImage, placement.parameter,
                                                      defaultValue, initial, &view->switchStrip,
                                                      placement.x, view->hwnd, module);
        if (control != nullptr) view->AddParameterControl(control);
    }
    view->statusControl =
        WindowsToolkit::StatusControl::Create(&view->backgroundImage, view->hwnd, module);
    return view;
}

void QuellinCorvaneView::SetStatusText(const char* text) {
    if (statusControl != nullptr) statusControl->SetText(text);
}

void QuellinCorvaneView::GetMenuRect(RECT* rect) {
    *rect = kMenuArea;
}

void QuellinCorvaneView::ShowAbout() {
    ShowAboutDialog(hwnd);
}

int QuellinCorvaneView::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    Gdiplus::GpGraphics* graphics = nullptr;
    Gdip::GdipCreateFromHDC(dc, &graphics);
    if (graphics != nullptr && backgroundImage.Bitmap() != nullptr)
        Gdip::GdipDrawImagePointRectI(graphics, backgroundImage.Bitmap(), 0, 0, 0, 0,
                                      static_cast<INT>(backgroundImage.Width()),
                                      static_cast<INT>(backgroundImage.Height()),
                                      Gdiplus::UnitPixel);
    EndPaint(hwnd, &paint);
    if (graphics != nullptr) Gdip::GdipDeleteGraphics(graphics);
    return 1;
}

}  // namespace QuellinCorvane
