// A control that edits one parameter's normalised value. It never talks to the model: it
// posts value changed, hover, leave and right clicked to its parent (the view), each with the
// parameter index and the control. On hover it takes the keyboard focus so the wheel reaches
// it, and hands the focus back when the mouse leaves.
#pragma once

#include "WindowsToolkit/ResourceImage.h"
#include "WindowsToolkit/Window.h"

namespace WindowsToolkit {

class ParameterControl : public Window {
public:
    ParameterControl(const ResourceImage* viewBackground, int parameter, float resetValue)
        : background(viewBackground), parameterIndex(parameter), defaultValue(resetValue) {}

    virtual float GetValue() = 0;
    // notify posts value changed; a host or program update passes false.
    virtual void SetValue(float value, bool notify) = 0;
    virtual int GetFrame() = 0;
    virtual void SetFrame(int index, bool notify) = 0;
    virtual int GetMaximumFrame() = 0;
    virtual int Reserved() { return 0; }
    virtual void ResetToDefault() { SetValue(defaultValue, true); }

    int GetParameterIndex() const { return parameterIndex; }
    float GetDefaultValue() const { return defaultValue; }

    int OnCreate(CREATESTRUCTA* create) override;
    int OnEraseBackground(WPARAM) override { return 1; }
    int OnLeftButtonUp(WPARAM keys, POINT point) override;
    int OnRightButtonDown(WPARAM keys, POINT point) override;
    int OnMouseHover(WPARAM keys, POINT point) override;
    int OnMouseLeave() override;

protected:
    void Post(UINT message);
    void PostValueChanged();
    // The left button went down: the control holds the mouse until it comes up, and the
    // changes in between are one gesture.
    void BeginDrag();
    // Asks for the next hover and leave notifications.
    void TrackMouse() { TrackMouseEvent(&trackMouse); }
    bool HasCapture() const { return GetCapture() == hwnd; }
    void Repaint() { InvalidateRect(hwnd, nullptr, TRUE); }

    const ResourceImage* background;  // the view's; not owned
    int parameterIndex;
    float defaultValue;
    bool mouseOutside = false;  // while set, the wheel is not taken
    HWND previousFocus = nullptr;
    TRACKMOUSEEVENT trackMouse{};
};

// A parameter control drawn from a strip of frames over the view's background.
class GraphicsParameterControl : public ParameterControl {
public:
    GraphicsParameterControl(const ResourceImage* viewBackground, int parameter, float resetValue,
                             const ImageStrip* frames)
        : ParameterControl(viewBackground, parameter, resetValue), strip(frames) {}

    virtual void Draw(Gdiplus::GpGraphics* graphics) = 0;
    int OnPaint() override;

protected:
    // Gives a new control its window at x in the control row, one frame in size, and its first
    // value without reporting it. False when no window came of it; the control is gone then.
    static bool Place(GraphicsParameterControl* control, const char* className, int x,
                      float initialValue, HWND parent, HINSTANCE module);

    const ImageStrip* strip;  // the view's; not owned
};

}  // namespace WindowsToolkit
