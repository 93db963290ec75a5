// The smallest effect built on the base layer, loaded by the end-to-end host tests. The
// constants here are the handshake between the plug-in and those tests; the effect class
// itself stays inside the plug-in binary.
#pragma once

#include "vst/VstInterface.h"

namespace MinimalEffect {

constexpr VstInt32 kUniqueId = FourCharCode('Q', 'M', 'i', 'n');
constexpr VstInt32 kNumInputs = 2;
constexpr VstInt32 kNumOutputs = 2;
constexpr VstInt32 kNumParams = 2;
constexpr VstInt32 kNumPrograms = 4;
constexpr VstInt32 kVendorVersion = 1000;

enum Parameter : VstInt32 { kGain = 0, kWidth = 1 };

// Longer than every field it is asked into, so truncation always shows.
constexpr const char* kWidthName = "StereoWidthAmount";
constexpr const char* kLongProgramName = "A program name far longer than its field";
constexpr const char* kEffectName = "MinimalEffect";
constexpr const char* kVendor = "Quellin Corvane";
constexpr const char* kProduct =
    "MinimalEffect, the smallest effect on the base layer, made for the host tests";

// audioMasterVendorSpecific index values the instance announces itself with, from its
// constructor and its destructor, so a test sees instances come and go.
constexpr VstInt32 kAnnounceCreated = FourCharCode('Q', 'N', 'e', 'w');
constexpr VstInt32 kAnnounceDestroyed = FourCharCode('Q', 'D', 'e', 'l');

// effVendorSpecific index values the instance answers.
// value = parameter, opt = new value: calls setParameterAutomated; answers 1.
constexpr VstInt32 kHookAutomate = FourCharCode('Q', 'A', 'u', 't');
// Answers how many MIDI events the last effProcessEvents block held.
constexpr VstInt32 kHookEventCount = FourCharCode('Q', 'E', 'v', 'N');
// value = position in the last block, ptr = ReceivedEvent*: fills it and answers 1, or 0
// when there is no such event.
constexpr VstInt32 kHookEventAt = FourCharCode('Q', 'E', 'v', 'A');

constexpr VstInt32 kMaxRecordedEvents = 256;

extern "C" {
struct ReceivedEvent {
    VstInt32 deltaFrames;
    unsigned char midi[3];
};
}

}  // namespace MinimalEffect
