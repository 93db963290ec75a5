// The effect's editor panel: the background picture, three knobs, two switches and the status
// line, with the view menu over the product logo.
#pragma once

#include "VstToolkit/Windows/View.h"
#include "WindowsToolkit/ResourceImage.h"
#include "WindowsToolkit/StatusControl.h"
#include "effect/x64/QuellinCorvaneLayout.h"

namespace QuellinCorvane {

class QuellinCorvaneView : public VstToolkit::View {
public:
    static constexpr const char* kClassName = "QuellinCorvaneWindowClass";
    static constexpr VstInt16 kWidth = Layout::kWidth;
    static constexpr VstInt16 kHeight = Layout::kHeight;

    // The view in parent at (0, 0) with its controls; null when its window cannot be made.
    static QuellinCorvaneView* Create(VstToolkit::Model* model, VstToolkit::Controller* controller,
                                      HWND parent, HINSTANCE module);

    void SetStatusText(const char* text) override;
    void GetMenuRect(RECT* rect) override;
    void ShowAbout() override;
    int OnPaint() override;

    WindowsToolkit::StatusControl* GetStatusControl() const { return statusControl; }

private:
    QuellinCorvaneView(VstToolkit::Controller* owner, VstToolkit::Model* state, HINSTANCE module);

    WindowsToolkit::ResourceImage backgroundImage;
    WindowsToolkit::ResourceImage knobImage;
    WindowsToolkit::ImageStrip knobStrip;
    WindowsToolkit::ResourceImage switchImage;
    WindowsToolkit::ImageStrip switchStrip;
    WindowsToolkit::StatusControl* statusControl = nullptr;  // a child window; not owned
};

}  // namespace QuellinCorvane
