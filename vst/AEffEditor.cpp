#include "vst/AEffEditor.h"

bool AEffEditor::getRect(ERect** rect) {
    if (rect != nullptr) *rect = nullptr;
    return false;
}

bool AEffEditor::open(void* parentWindow) {
    systemWindow = parentWindow;
    return false;
}

bool AEffEditor::onKeyDown(VstKeyCode&) {
    return false;
}
bool AEffEditor::onKeyUp(VstKeyCode&) {
    return false;
}
bool AEffEditor::onWheel(float) {
    return false;
}
bool AEffEditor::setKnobMode(VstInt32) {
    return false;
}
