// UTF-16 strings of the VST3 interface from and to the ASCII texts of the parameter table.
#pragma once

#include <string>

#include "vst3/Vst3Base.h"

namespace QuellinCorvane::Vst3Plugin {

// Copies an ASCII text into a field of size characters, always terminated.
inline void CopyText(Vst3::char16* field, int size, const char* text) {
    int i = 0;
    for (; text != nullptr && text[i] != '\0' && i < size - 1; ++i)
        field[i] = static_cast<Vst3::char16>(static_cast<unsigned char>(text[i]));
    field[i] = 0;
}

// Copies an ASCII text into a char field of size bytes, always terminated.
inline void CopyText(char* field, int size, const char* text) {
    int i = 0;
    for (; text != nullptr && text[i] != '\0' && i < size - 1; ++i) field[i] = text[i];
    field[i] = '\0';
}

// A host's text, at most 128 characters read; characters beyond ASCII become '?', which no
// parameter text accepts.
inline std::string ToAscii(const Vst3::char16* text) {
    std::string ascii;
    for (int i = 0; text != nullptr && i < 128 && text[i] != 0; ++i)
        ascii += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    return ascii;
}

}  // namespace QuellinCorvane::Vst3Plugin
