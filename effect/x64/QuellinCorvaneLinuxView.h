// The effect's editor panel on Linux: the same picture, controls, status line, menus and About
// box as on Windows, built from the same layout table over X windows.
#pragma once

#include <memory>

#include "LinuxToolkit/Controls.h"
#include "LinuxToolkit/Image.h"
#include "VstToolkit/Linux/LinuxView.h"
#include "effect/x64/QuellinCorvaneLayout.h"

namespace QuellinCorvane {

class QuellinCorvaneLinuxView : public VstToolkit::LinuxView {
public:
    static constexpr const char* kClassName = "QuellinCorvaneWindowClass";
    static constexpr const char* kKnobClassName = "QuellinLinuxToolkitKnob";
    static constexpr const char* kSwitchClassName = "QuellinLinuxToolkitMultiswitch";
    static constexpr const char* kStatusClassName = "QuellinLinuxToolkitStatusControl";
    static constexpr VstInt16 kWidth = Layout::kWidth;
    static constexpr VstInt16 kHeight = Layout::kHeight;

    // The view in parent at (0, 0) with its controls; null when its window cannot be made.
    static std::unique_ptr<QuellinCorvaneLinuxView> Create(LinuxToolkit::Connection& display,
                                                           VstToolkit::Model* model,
                                                           VstToolkit::Controller* controller,
                                                           xcb_window_t parent);
    ~QuellinCorvaneLinuxView() override;

    void SetStatusText(const char* text) override;
    EditorCommon::Rect GetMenuRect() const override { return Layout::kMenuArea; }
    void ShowAbout() override;
    void Draw(cairo_t* cr) override;

private:
    QuellinCorvaneLinuxView(LinuxToolkit::Connection& display, VstToolkit::Controller* owner,
                            VstToolkit::Model* state);

    LinuxToolkit::Image backgroundImage;
    LinuxToolkit::Image knobImage;
    LinuxToolkit::ImageStrip knobStrip;
    LinuxToolkit::Image switchImage;
    LinuxToolkit::ImageStrip switchStrip;
    LinuxToolkit::Image aboutImage;
    std::vector<std::unique_ptr<LinuxToolkit::ParameterControl>> controls;
    std::unique_ptr<LinuxToolkit::StatusLine> statusLine;
};

}  // namespace QuellinCorvane
