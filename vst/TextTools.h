// Text helpers of the base layer.
#pragma once

#include <cstddef>

#include "vst/VstInterface.h"

namespace VstText {

// The fixed-field rule: copies at most fieldLength - 1 characters of text into field and always
// terminates it. A null text gives an empty field; a null field or zero length writes nothing.
void CopyField(char* field, const char* text, std::size_t fieldLength);

template <std::size_t N>
void CopyField(char (&field)[N], const char* text) {
    CopyField(field, text, N);
}

// CopyField that also zero-fills the rest of the field, for fields stored byte for byte.
void ReplaceField(char* field, const char* text, std::size_t fieldLength);

template <std::size_t N>
void ReplaceField(char (&field)[N], const char* text) {
    ReplaceField(field, text, N);
}

// The number formatters below copy at most maxLen characters and then write a terminator at
// text[maxLen], so text must hold maxLen + 1 bytes. A null text or negative maxLen writes nothing.

// Eight characters counting sign, point and digits: integer digits from the lowest upward
// (at least one), then truncated fraction digits. "Huge!" above 99999999 or below -9999999,
// and for NaN.
void FloatToString(float value, char* text, VstInt32 maxLen);
// "Huge!" from 100000000 on; otherwise an optional "-" and the digits.
void IntToString(VstInt32 value, char* text, VstInt32 maxLen);
// "-oo" for 0 or less, else FloatToString of 20 log10(value).
void DecibelToString(float value, char* text, VstInt32 maxLen);

}  // namespace VstText
