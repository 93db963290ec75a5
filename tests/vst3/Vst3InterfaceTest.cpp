// IDs and result codes against the published values, byte by byte. The layouts are pinned by the
// header's own static_asserts, checked wherever it compiles.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "tests/support/ProductFacts.h"
#include "vst3/Vst3Interface.h"

namespace {

using Bytes = std::array<unsigned char, 16>;
using Vst3::UidOrder;

Bytes bytesOf(const Vst3::Uid& uid) {
    Bytes bytes;
    std::memcpy(bytes.data(), uid.bytes, bytes.size());
    return bytes;
}

struct UidCase {
    const char* name;
    Vst3::Uid native;  // the header's constant for this platform
    Vst3::Uid plain;   // the same ID built in each order
    Vst3::Uid com;
    Bytes expectedPlain;
    Bytes expectedCom;
};

UidCase interfaceCase(const char* name, const Vst3::Uid& native, std::uint32_t l1, std::uint32_t l2,
                      std::uint32_t l3, std::uint32_t l4, Bytes plain, Bytes com) {
    return {name,
            native,
            Vst3::makeUid(l1, l2, l3, l4, UidOrder::Plain),
            Vst3::makeUid(l1, l2, l3, l4, UidOrder::Com),
            plain,
            com};
}

UidCase replacementCase(const char* name, Vst3::Vst2ReplacementClass which, Bytes plain,
                        Bytes com) {
    using TestSupport::Product::kEffectName;
    using TestSupport::Product::kUniqueId;
    return {name,
            Vst3::vst2ReplacementUid(kUniqueId, kEffectName, which),
            Vst3::vst2ReplacementUid(kUniqueId, kEffectName, which, UidOrder::Plain),
            Vst3::vst2ReplacementUid(kUniqueId, kEffectName, which, UidOrder::Com),
            plain,
            com};
}

TEST(Vst3Uid, MatchesThePublishedBytesInBothOrders) {
    // Expected bytes written out by hand from the published words: plain is the words
    // big-endian; COM swaps l1 end for end and each 16-bit half of l2 (GUID Data1-Data3).
    // The replacement IDs follow the rule for class IDs of VST3 plug-ins replacing VST 2.x ones:
    // 'V','S','T' (or 'E' for the controller), unique ID 0x00514356, "quellin c".
    const UidCase cases[] = {
        interfaceCase("FUnknown", Vst3::FUnknown::iid, 0x00000000, 0x00000000, 0xC0000000,
                      0x00000046, {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46},
                      {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46}),
        interfaceCase("IComponent", Vst3::IComponent::iid, 0xE831FF31, 0xF2D54301, 0x928EBBEE,
                      0x25697802,
                      {0xE8, 0x31, 0xFF, 0x31, 0xF2, 0xD5, 0x43, 0x01, 0x92, 0x8E, 0xBB, 0xEE, 0x25,
                       0x69, 0x78, 0x02},
                      {0x31, 0xFF, 0x31, 0xE8, 0xD5, 0xF2, 0x01, 0x43, 0x92, 0x8E, 0xBB, 0xEE, 0x25,
                       0x69, 0x78, 0x02}),
        interfaceCase("IAudioProcessor", Vst3::IAudioProcessor::iid, 0x42043F99, 0xB7DA453C,
                      0xA569E79D, 0x9AAEC33D,
                      {0x42, 0x04, 0x3F, 0x99, 0xB7, 0xDA, 0x45, 0x3C, 0xA5, 0x69, 0xE7, 0x9D, 0x9A,
                       0xAE, 0xC3, 0x3D},
                      {0x99, 0x3F, 0x04, 0x42, 0xDA, 0xB7, 0x3C, 0x45, 0xA5, 0x69, 0xE7, 0x9D, 0x9A,
                       0xAE, 0xC3, 0x3D}),
        interfaceCase("IEditController", Vst3::IEditController::iid, 0xDCD7BBE3, 0x7742448D,
                      0xA874AACC, 0x979C759E,
                      {0xDC, 0xD7, 0xBB, 0xE3, 0x77, 0x42, 0x44, 0x8D, 0xA8, 0x74, 0xAA, 0xCC, 0x97,
                       0x9C, 0x75, 0x9E},
                      {0xE3, 0xBB, 0xD7, 0xDC, 0x42, 0x77, 0x8D, 0x44, 0xA8, 0x74, 0xAA, 0xCC, 0x97,
                       0x9C, 0x75, 0x9E}),
        replacementCase(
            "replacement processor", Vst3::Vst2ReplacementClass::Processor,
            {'V', 'S', 'T', 0x00, 0x51, 0x43, 0x56, 'q', 'u', 'e', 'l', 'l', 'i', 'n', ' ', 'c'},
            {0x00, 'T', 'S', 'V', 0x43, 0x51, 'q', 0x56, 'u', 'e', 'l', 'l', 'i', 'n', ' ', 'c'}),
        replacementCase(
            "replacement controller", Vst3::Vst2ReplacementClass::Controller,
            {'V', 'S', 'E', 0x00, 0x51, 0x43, 0x56, 'q', 'u', 'e', 'l', 'l', 'i', 'n', ' ', 'c'},
            {0x00, 'E', 'S', 'V', 0x43, 0x51, 'q', 0x56, 'u', 'e', 'l', 'l', 'i', 'n', ' ', 'c'}),
    };
    for (const UidCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bytesOf(c.plain), c.expectedPlain);
        EXPECT_EQ(bytesOf(c.com), c.expectedCom);
        const Bytes& native =
            Vst3::kNativeUidOrder == UidOrder::Com ? c.expectedCom : c.expectedPlain;
        EXPECT_EQ(bytesOf(c.native), native);
        EXPECT_TRUE(Vst3::uidEquals(c.native.bytes, c.native));
        EXPECT_FALSE(Vst3::uidEquals(c.native.bytes, Vst3::IPluginBase::iid));
    }
#if defined(_WIN32)
    EXPECT_EQ(Vst3::kNativeUidOrder, UidOrder::Com);
#else
    EXPECT_EQ(Vst3::kNativeUidOrder, UidOrder::Plain);
#endif
}

TEST(Vst3Result, CodesHaveThePlatformsPublishedValues) {
    struct Code {
        const char* name;
        Vst3::tresult value;
        std::uint32_t expected;
    };
    const Code codes[] = {
#if defined(_WIN32)
        {"kNoInterface", Vst3::kNoInterface, 0x80004002},
        {"kResultOk", Vst3::kResultOk, 0},
        {"kResultTrue", Vst3::kResultTrue, 0},
        {"kResultFalse", Vst3::kResultFalse, 1},
        {"kInvalidArgument", Vst3::kInvalidArgument, 0x80070057},
        {"kNotImplemented", Vst3::kNotImplemented, 0x80004001},
        {"kInternalError", Vst3::kInternalError, 0x80004005},
        {"kNotInitialized", Vst3::kNotInitialized, 0x8000FFFF},
        {"kOutOfMemory", Vst3::kOutOfMemory, 0x8007000E},
#else
        {"kNoInterface", Vst3::kNoInterface, 0xFFFFFFFF},
        {"kResultOk", Vst3::kResultOk, 0},
        {"kResultTrue", Vst3::kResultTrue, 0},
        {"kResultFalse", Vst3::kResultFalse, 1},
        {"kInvalidArgument", Vst3::kInvalidArgument, 2},
        {"kNotImplemented", Vst3::kNotImplemented, 3},
        {"kInternalError", Vst3::kInternalError, 4},
        {"kNotInitialized", Vst3::kNotInitialized, 5},
        {"kOutOfMemory", Vst3::kOutOfMemory, 6},
#endif
    };
    for (const Code& code : codes) {
        EXPECT_EQ(static_cast<std::uint32_t>(code.value), code.expected) << code.name;
    }
}

}  // namespace
