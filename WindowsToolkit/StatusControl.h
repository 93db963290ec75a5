// The editor's one-line text display: the parameter under the mouse, "Learning...", or
// nothing. It takes no input and sends nothing.
#pragma once

#include "WindowsToolkit/ResourceImage.h"
#include "WindowsToolkit/Window.h"

namespace WindowsToolkit {

// A control that paints over the piece of the view's background under it.
class GraphicsControl : public Window {
public:
    explicit GraphicsControl(const ResourceImage* viewBackground) : background(viewBackground) {}
    virtual void Draw(Gdiplus::GpGraphics* graphics) = 0;
    int OnPaint() override;
    int OnEraseBackground(WPARAM) override { return 1; }

protected:
    const ResourceImage* background;  // the view's; not owned
};

class StatusControl : public GraphicsControl {
public:
    static constexpr const char* kClassName = "QuellinWindowsToolkitStatusControl";
    static constexpr int kTextBytes = 512;

    // The status line in its place on the panel; null when it cannot be made.
    static StatusControl* Create(const ResourceImage* viewBackground, HWND parent,
                                 HINSTANCE module);
    ~StatusControl() override;

    // Copies at most kTextBytes - 1 characters and repaints, even for the same text.
    void SetText(const char* newText);
    const char* GetText() const { return text; }
    void Draw(Gdiplus::GpGraphics* graphics) override;

private:
    explicit StatusControl(const ResourceImage* viewBackground);

    int fontHeight = 15;
    const char* fontFace = "Arial";
    COLORREF textColour = RGB(255, 255, 255);
    char text[kTextBytes] = {};
    HFONT font = nullptr;
};

}  // namespace WindowsToolkit
