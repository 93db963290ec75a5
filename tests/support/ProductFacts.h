// What both builds of the product promise a host, kept once for every suite that checks it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace TestSupport::Product {

constexpr std::int32_t kUniqueId = 0x00514356;  // 'QCV'
constexpr const char* kEffectName = "Quellin Corvane";
constexpr const char* kProductName = "Quellin Corvane";
constexpr const char* kVendor = "Quellin Sound Design";
constexpr int kPrograms = 32;
constexpr int kParameters = 5;

// A program chunk; a bank chunk is a header and the 32 programs. The x64 build appends its
// MIDI binding section to the bank, 5 bytes when no controller is bound.
constexpr std::size_t kProgramChunkSize = 208;
constexpr std::size_t kBankChunkSize = 1572;
constexpr std::size_t kBindingsOffset = kBankChunkSize;
constexpr std::size_t kX64BankChunkSize = 1577;

// canDo strings a host asks about: the ones both builds accept, the ones only the x64 build
// accepts (it sends the MIDI of learned controllers on), and one neither does.
constexpr const char* kReceiveCanDos[] = {"receiveVstEvents", "receiveVstMidiEvent",
                                          "receiveVstTimeInfo"};
constexpr const char* kSendCanDos[] = {"sendVstEvents", "sendVstMidiEvent"};
constexpr const char* kRefusedCanDo = "bypass";

}  // namespace TestSupport::Product
