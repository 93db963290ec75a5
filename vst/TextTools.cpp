#include "vst/TextTools.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace VstText {
namespace {

constexpr int kNumberBudget = 8;  // characters a number may take, sign and point included

void CopyLimited(char* text, const char* source, VstInt32 maxLen) {
    if (text == nullptr || maxLen < 0) return;
    const std::size_t count = std::min(std::strlen(source), static_cast<std::size_t>(maxLen));
    std::memcpy(text, source, count);
    text[count] = '\0';
    text[maxLen] = '\0';
}

}  // namespace

void CopyField(char* field, const char* text, std::size_t fieldLength) {
    if (field == nullptr || fieldLength == 0) return;
    std::size_t count = 0;
    if (text != nullptr) {
        while (count + 1 < fieldLength && text[count] != '\0') ++count;
        std::memcpy(field, text, count);
    }
    field[count] = '\0';
}

void ReplaceField(char* field, const char* text, std::size_t fieldLength) {
    if (field == nullptr) return;
    std::memset(field, 0, fieldLength);
    CopyField(field, text, fieldLength);
}

void FloatToString(float value, char* text, VstInt32 maxLen) {
    double v = value;
    const bool negative = v < 0.0;
    if (std::isnan(v) || v > 99999999.0 || v < -9999999.0) {
        CopyLimited(text, "Huge!", maxLen);
        return;
    }
    if (negative) v = -v;

    // Integer digits are produced lowest first into the tail of the scratch buffer.
    char digits[kNumberBudget + 1];
    int used = (negative ? 1 : 0) + 1;  // the sign and the point
    int start = kNumberBudget;
    double integer = std::floor(v);
    do {
        digits[--start] = static_cast<char>('0' + static_cast<int>(std::fmod(integer, 10.0)));
        integer = std::floor(integer / 10.0);
        ++used;
    } while (integer >= 1.0 && used < kNumberBudget);

    char out[kNumberBudget * 2 + 2];
    int length = 0;
    if (negative) out[length++] = '-';
    for (int i = start; i < kNumberBudget; ++i) out[length++] = digits[i];
    out[length++] = '.';
    double fraction = v - std::floor(v);
    for (; used < kNumberBudget; ++used) {
        fraction *= 10.0;
        const double digit = std::floor(fraction);
        out[length++] = static_cast<char>('0' + static_cast<int>(digit));
        fraction -= digit;
    }
    out[length] = '\0';
    CopyLimited(text, out, maxLen);
}

void IntToString(VstInt32 value, char* text, VstInt32 maxLen) {
    if (value >= 100000000) {
        CopyLimited(text, "Huge!", maxLen);
        return;
    }
    char out[16];
    int length = 0;
    long long magnitude = value;
    if (magnitude < 0) {
        out[length++] = '-';
        magnitude = -magnitude;
    }
    char reversed[12];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    while (count > 0) out[length++] = reversed[--count];
    out[length] = '\0';
    CopyLimited(text, out, maxLen);
}

void DecibelToString(float value, char* text, VstInt32 maxLen) {
    if (value <= 0.0f) {
        CopyLimited(text, "-oo", maxLen);
        return;
    }
    FloatToString(static_cast<float>(20.0 * std::log10(value)), text, maxLen);
}

}  // namespace VstText
