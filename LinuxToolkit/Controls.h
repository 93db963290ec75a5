// The panel's controls as X windows: Knob and Multiswitch edit one parameter each and report
// to their listener (the view) as the Windows controls report to theirs; StatusLine shows one
// line of text. Each paints the part of the view's background under it, then itself.
#pragma once

#include <string>
#include <vector>

#include "LinuxToolkit/Image.h"
#include "LinuxToolkit/Widget.h"

namespace LinuxToolkit {

class ParameterControl;

// What a control reports; the listener reads the control's value when told.
class ControlListener {
public:
    virtual ~ControlListener() = default;
    virtual void OnControlValueChanged(ParameterControl& control) = 0;
    virtual void OnControlHover(ParameterControl& control) = 0;
    virtual void OnControlLeave(ParameterControl& control) = 0;
    virtual void OnControlRightClicked(ParameterControl& control) = 0;
    // The left button went down on the control and came up again: the changes in between are
    // one gesture of the user's.
    virtual void OnControlGestureBegan(ParameterControl&) {}
    virtual void OnControlGestureEnded(ParameterControl&) {}
};

class ParameterControl : public Widget {
public:
    ParameterControl(Connection& display, ControlListener& owner, const Image* viewBackground,
                     const ImageStrip* frames, int parameter, float resetValue)
        : Widget(display),
          listener(owner),
          background(viewBackground),
          strip(frames),
          parameterIndex(parameter),
          defaultValue(resetValue) {}

    int GetParameterIndex() const { return parameterIndex; }
    virtual float GetValue() const = 0;
    // notify reports the change to the listener; host and program updates pass false.
    virtual void SetValue(float value, bool notify) = 0;
    virtual int GetFrame() const = 0;
    void ResetToDefault() { SetValue(defaultValue, true); }

    void Draw(cairo_t* cr) override;
    void OnButtonPress(int button, int px, int py, Keys keys) override;
    void OnButtonRelease(int button, int px, int py) override;
    void OnMotion(int px, int py, bool leftDown, Keys keys) override;
    void OnEnter() override;
    void OnLeave() override;

protected:
    virtual void OnLeftDown(int px, int py, Keys keys) = 0;
    virtual void OnLeftUp() = 0;
    virtual void OnPointerMove(int px, int py, bool leftDown, Keys keys) = 0;
    virtual void OnWheel(bool up, Keys keys) = 0;
    void Changed() {
        Invalidate();
        listener.OnControlValueChanged(*this);
    }

    ControlListener& listener;
    const Image* background;  // the view's; not owned
    const ImageStrip* strip;  // the view's; not owned
    int parameterIndex;
    float defaultValue;
    bool mouseOutside = false;  // while set, the wheel is not taken
    // Hover is reported on the first move after entering, as a resting pointer only counts
    // once it has moved: a menu closing over a control shows no hover.
    bool hoverPending = false;
    bool inGesture = false;  // between the left button's press and its release
};

class Knob : public ParameterControl {
public:
    using ParameterControl::ParameterControl;
    float GetValue() const override { return position * 0.01f; }
    void SetValue(float value, bool notify) override;
    int GetFrame() const override { return frame; }

private:
    void OnLeftDown(int px, int py, Keys keys) override;
    void OnLeftUp() override { dragging = false; }
    void OnPointerMove(int px, int py, bool leftDown, Keys keys) override;
    void OnWheel(bool up, Keys keys) override;
    void Step(float delta);

    float position = 0.0f;
    int frame = 0;
    int lastY = 0;
    bool dragging = false;
};

class Multiswitch : public ParameterControl {
public:
    Multiswitch(Connection& display, ControlListener& owner, const Image* viewBackground,
                const ImageStrip* frames, int parameter, float resetValue);
    float GetValue() const override;
    void SetValue(float value, bool notify) override;
    int GetFrame() const override { return selected; }

private:
    void OnLeftDown(int px, int py, Keys keys) override;
    void OnLeftUp() override { dragging = false; }
    void OnPointerMove(int px, int py, bool leftDown, Keys keys) override;
    void OnWheel(bool up, Keys keys) override;
    void Select(int position);

    std::vector<EditorCommon::Rect> slices;
    int selected = 0;
    bool dragging = false;
};

class StatusLine : public Widget {
public:
    StatusLine(Connection& display, const Image* viewBackground)
        : Widget(display), background(viewBackground) {}
    // The text also goes into the window's WM_NAME, where tools can read it.
    void SetText(const char* newText);
    const std::string& GetText() const { return text; }
    void Draw(cairo_t* cr) override;

private:
    const Image* background;  // the view's; not owned
    std::string text;
};

}  // namespace LinuxToolkit
