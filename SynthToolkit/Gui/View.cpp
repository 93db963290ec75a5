#include "SynthToolkit/Gui/View.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "SynthToolkit/Gui/AppMessages.h"
#include "SynthToolkit/Model.h"

namespace SynthToolkit {
namespace Gui {
namespace {

constexpr int kAllParameters = -1;

// To the nearest integer, halves away from zero.
int rounded(double value) {
    return static_cast<int>(std::lround(value));
}

View* viewOf(HWND dialog) {
    return reinterpret_cast<View*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

}  // namespace

View::View(HINSTANCE moduleInstance, Model* observed) : instance(moduleInstance), model(observed) {
    pending.reserve(static_cast<std::size_t>(model->parameterCount()) + 1);
    model->addObserver(this);
}

View::~View() {
    model->removeObserver(this);
}

void View::parameterChanged(int index) {
    Platform::ScopedLock hold(queueLock);
    pending.erase(std::remove(pending.begin(), pending.end(), index), pending.end());
    pending.push_back(index);
}

void View::modelChanged() {
    Platform::ScopedLock hold(queueLock);
    pending.clear();
    pending.push_back(kAllParameters);
}

void View::bindControl(int id, ControlKind kind, int index) {
    parameterById[id] = index;
    kindById[id] = kind;
    idByParameter[index] = id;
}

int View::parameterOf(int id) const {
    const auto found = parameterById.find(id);
    return found != parameterById.end() ? found->second : -1;
}

void View::postValue(int index) {
    if (idByParameter.count(index) == 0) return;
    PostMessageA(window(), WM_APP_SET_VALUE, static_cast<WPARAM>(index),
                 static_cast<LPARAM>(floatBits(model->parameterValue(index))));
}

void View::processPendingUpdates() {
    Platform::ScopedLock hold(queueLock);
    for (const int index : pending) {
        if (index == kAllParameters) {
            for (int i = 0; i < model->parameterCount(); ++i) postValue(i);
        } else {
            postValue(index);
        }
    }
    pending.clear();
}

void View::syncAllControls() {
    for (const auto& binding : idByParameter) postValue(binding.first);
}

void View::show() {
    ShowWindow(window(), SW_SHOWNORMAL);
    UpdateWindow(window());
}

float View::readControl(int id, ControlKind kind) const {
    HWND control = GetDlgItem(const_cast<View*>(this)->window(), id);
    switch (kind) {
        case kCheckBox:
            return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1.0f : 0.0f;
        case kComboBox: {
            const LRESULT items = SendMessageA(control, CB_GETCOUNT, 0, 0);
            const LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
            return items > 1 && selected >= 0
                       ? static_cast<float>(selected) / static_cast<float>(items - 1)
                       : 0.0f;
        }
        case kHorizontalTrackBar:
        case kVerticalTrackBar: {
            const LRESULT maximum = SendMessageA(control, TBM_GETRANGEMAX, 0, 0);
            const LRESULT position = SendMessageA(control, TBM_GETPOS, 0, 0);
            if (maximum <= 0) return 0.0f;
            const LRESULT fromBottom = kind == kVerticalTrackBar ? maximum - position : position;
            return static_cast<float>(fromBottom) / static_cast<float>(maximum);
        }
        default: return 0.0f;
    }
}

void View::changeFromControl(int id, float value) {
    const int index = parameterOf(id);
    if (index < 0) return;
    model->setParameterValue(index, value);
    // Everybody but this view: the control already shows the value.
    model->notifyParameterChanged(this, index);
}

INT_PTR View::command(int id, HWND, int code) {
    const auto kind = kindById.find(id);
    if (kind == kindById.end()) return 0;
    if (kind->second == kCheckBox || (kind->second == kComboBox && code == CBN_SELCHANGE)) {
        changeFromControl(id, readControl(id, kind->second));
        return 1;
    }
    return 0;
}

INT_PTR View::horizontalScroll(HWND control, int code, int) {
    const int id = GetDlgCtrlID(control);
    const auto kind = kindById.find(id);
    if (kind == kindById.end() || kind->second != kHorizontalTrackBar || code < 0 || code > 7)
        return 0;
    changeFromControl(id, readControl(id, kHorizontalTrackBar));
    return 1;
}

INT_PTR View::verticalScroll(HWND control, int code, int) {
    const int id = GetDlgCtrlID(control);
    const auto kind = kindById.find(id);
    if (kind == kindById.end() || kind->second != kVerticalTrackBar || code < 0 || code > 7)
        return 0;
    changeFromControl(id, readControl(id, kVerticalTrackBar));
    return 1;
}

void View::setControlValue(int index, float value) {
    const auto id = idByParameter.find(index);
    if (id == idByParameter.end()) return;
    HWND control = GetDlgItem(window(), id->second);
    switch (kindById[id->second]) {
        case kCheckBox:
            SendMessageA(control, BM_SETCHECK, value >= 0.5f ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case kComboBox: {
            const LRESULT items = SendMessageA(control, CB_GETCOUNT, 0, 0);
            if (items > 0)
                SendMessageA(control, CB_SETCURSEL,
                             static_cast<WPARAM>(rounded(static_cast<double>(items - 1) * value)),
                             0);
            break;
        }
        case kHorizontalTrackBar: {
            const LRESULT maximum = SendMessageA(control, TBM_GETRANGEMAX, 0, 0);
            SendMessageA(control, TBM_SETPOS, TRUE, rounded(static_cast<double>(maximum) * value));
            break;
        }
        case kVerticalTrackBar: {
            const LRESULT maximum = SendMessageA(control, TBM_GETRANGEMAX, 0, 0);
            SendMessageA(control, TBM_SETPOS, TRUE,
                         rounded(static_cast<double>(maximum) * (1.0 - value)));
            break;
        }
        case kCustomControl:
            PostMessageA(control, WM_APP_SET_VALUE, static_cast<WPARAM>(floatBits(value)), 0);
            break;
    }
}

void View::controlValueChanged(int id, float value) {
    changeFromControl(id, value);
}

void View::controlReset(int id) {
    const int index = parameterOf(id);
    if (index < 0) return;
    model->resetParameter(index);
    // This view too: the control follows through the pending-update queue.
    model->notifyParameterChanged(nullptr, index);
}

INT_PTR CALLBACK View::dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        if (View* view = reinterpret_cast<View*>(lParam)) view->initDialog();
        return 1;
    }
    View* view = viewOf(dialog);
    if (view == nullptr) return 0;
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
        case WM_DESTROY:
            view->destroyed();
            SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paintStruct;
            HDC dc = BeginPaint(dialog, &paintStruct);
            const INT_PTR result = view->paint(dc);
            EndPaint(dialog, &paintStruct);
            return result;
        }
        case WM_COMMAND:
            return view->command(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        case WM_DRAWITEM: return view->drawItem(wParam, lParam);
        case WM_HSCROLL:
            return view->horizontalScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam),
                                          HIWORD(wParam));
        case WM_VSCROLL:
            return view->verticalScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam),
                                        HIWORD(wParam));
        case WM_NOTIFY: return view->notify(lParam);
        case WM_CHAR: return view->character(wParam, x, y);
        case WM_KEYUP: return view->keyUp(wParam, x, y);
        case WM_LBUTTONDOWN: return view->leftButtonDown(wParam, x, y);
        case WM_RBUTTONDOWN: return view->rightButtonDown(wParam, x, y);
        case WM_LBUTTONUP: return view->leftButtonUp(wParam, x, y);
        case WM_RBUTTONUP: return view->rightButtonUp(wParam, x, y);
        case WM_CTLCOLORDLG: return view->dialogColour(reinterpret_cast<HDC>(wParam));
        case WM_CTLCOLORSTATIC:
            return view->staticColour(reinterpret_cast<HDC>(wParam),
                                      reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORBTN:
            return view->buttonColour(reinterpret_cast<HDC>(wParam),
                                      reinterpret_cast<HWND>(lParam));
        case WM_APP_SET_VALUE:
            view->setControlValue(static_cast<int>(wParam),
                                  floatFromBits(static_cast<std::uintptr_t>(lParam)));
            return 1;
        case WM_APP_VALUE_CHANGED:
            view->controlValueChanged(static_cast<int>(wParam),
                                      floatFromBits(static_cast<std::uintptr_t>(lParam)));
            return 1;
        case WM_APP_RESET_VALUE: view->controlReset(static_cast<int>(wParam)); return 1;
        case WM_APP_HOVER: view->controlHover(static_cast<int>(wParam)); return 1;
        case WM_APP_LEAVE: view->controlLeave(static_cast<int>(wParam)); return 1;
        default: return view->otherMessage(dialog, message, wParam, lParam);
    }
}

INT_PTR GdiplusView::paint(HDC dc) {
    Gdiplus::GpGraphics* graphics = nullptr;
    Gdip::GdipCreateFromHDC(dc, &graphics);
    if (graphics == nullptr) return 1;
    if (background != nullptr) drawUnscaled(graphics, background, 0, 0);
    Gdip::GdipDeleteGraphics(graphics);
    return 1;
}

}  // namespace Gui
}  // namespace SynthToolkit
