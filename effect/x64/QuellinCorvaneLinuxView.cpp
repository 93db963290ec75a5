#include "effect/x64/QuellinCorvaneLinuxView.h"

#include "LinuxToolkit/Desktop.h"
#include "VstToolkit/Model.h"
#include "effect/x64/About.h"
#include "effect/x64/EmbeddedImages.h"

namespace QuellinCorvane {
namespace {

enum AboutButton : unsigned { kOk = 1, kCancel = 2, kVisitWebsite = 1014 };

// The Windows box's dialog units at its font's 1.5 × 1.625 pixels.
constexpr int kAboutWidth = 303;
constexpr int kAboutHeight = 296;

}  // namespace

QuellinCorvaneLinuxView::QuellinCorvaneLinuxView(LinuxToolkit::Connection& display,
                                                 VstToolkit::Controller* owner,
                                                 VstToolkit::Model* state)
    : LinuxView(display, owner, state),
      knobStrip(&knobImage, Layout::kKnobFrames, true),
      switchStrip(&switchImage, Layout::kSwitchPositions, true) {
    namespace Images = EmbeddedImages;
    backgroundImage.LoadPng(Images::kBackground, Images::kBackgroundSize);
    knobImage.LoadPng(Images::kKnobStrip, Images::kKnobStripSize);
    switchImage.LoadPng(Images::kSwitchStrip, Images::kSwitchStripSize);
    aboutImage.LoadBmp(Images::kAbout, Images::kAboutSize);
}

QuellinCorvaneLinuxView::~QuellinCorvaneLinuxView() {
    // Child windows go before the panel's own.
    statusLine.reset();
    controls.clear();
}

std::unique_ptr<QuellinCorvaneLinuxView> QuellinCorvaneLinuxView::Create(
    LinuxToolkit::Connection& display, VstToolkit::Model* model, VstToolkit::Controller* controller,
    xcb_window_t parent) {
    std::unique_ptr<QuellinCorvaneLinuxView> view(
        new QuellinCorvaneLinuxView(display, controller, model));
    if (!view->CreateChild(parent, 0, 0, view->backgroundImage.Width(),
                           view->backgroundImage.Height(), kClassName))
        return nullptr;
    for (const Layout::ControlPlacement& placement : Layout::kControls) {
        const float defaultValue = model->GetParameterDefault(placement.parameter);
        std::unique_ptr<LinuxToolkit::ParameterControl> control;
        const LinuxToolkit::ImageStrip* strip =
            placement.knob ? &view->knobStrip : &view->switchStrip;
        if (placement.knob)
            control = std::make_unique<LinuxToolkit::Knob>(
                display, *view, &view->backgroundImage, strip, placement.parameter, defaultValue);
        else
            control = std::make_unique<LinuxToolkit::Multiswitch>(
                display, *view, &view->backgroundImage, strip, placement.parameter, defaultValue);
        if (!control->CreateChild(view->Id(), placement.x, Layout::kControlRow, strip->FrameWidth(),
                                  strip->FrameHeight(),
                                  placement.knob ? kKnobClassName : kSwitchClassName))
            continue;
        control->SetValue(model->GetParameterValue(placement.parameter), false);
        view->AddParameterControl(control.get());
        view->controls.push_back(std::move(control));
    }
    auto status = std::make_unique<LinuxToolkit::StatusLine>(display, &view->backgroundImage);
    const EditorCommon::Rect& area = Layout::kStatusLine;
    if (status->CreateChild(view->Id(), area.left, area.top, area.Width(), area.Height(),
                            kStatusClassName))
        view->statusLine = std::move(status);
    return view;
}

void QuellinCorvaneLinuxView::SetStatusText(const char* text) {
    if (statusLine != nullptr) statusLine->SetText(text);
}

void QuellinCorvaneLinuxView::ShowAbout() {
    const std::vector<LinuxToolkit::Box::ButtonPlace> buttons = {
        {kOk, "OK", 46, 249, 75, 23}, {kVisitWebsite, "Visit Website", 175, 249, 75, 23}};
    auto about =
        std::make_unique<LinuxToolkit::Box>(connection, window, kAboutCaption, kAboutWidth,
                                            kAboutHeight, &aboutImage, "", buttons, kOk, kCancel);
    about->SetStaysOpen(kVisitWebsite);
    OpenBox(std::move(about), nullptr, [](unsigned) { LinuxToolkit::OpenAddress(kWebsite); });
}

void QuellinCorvaneLinuxView::Draw(cairo_t* cr) {
    backgroundImage.DrawPart(cr, 0, 0, backgroundImage.Width(), backgroundImage.Height(), 0, 0);
}

}  // namespace QuellinCorvane
