// The base of the VST3 binary interface: unique IDs, result codes, the reference-counted root
// interface, the class factory, streams and the module entry points. Written from the published
// interface facts; vst3/README.md names the source of each. Every record that crosses the
// boundary has its size and offsets pinned with static_asserts.
#pragma once

#include <cstddef>
#include <cstdint>

// Methods use the COM calling convention, which only differs from the default on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define VST3_API __stdcall
#else
#define VST3_API
#endif

#if defined(_WIN32)
#define VST3_EXPORT __declspec(dllexport)
#else
#define VST3_EXPORT __attribute__((visibility("default")))
#endif

// Windows x64 packs to 16 and Linux x86-64 packs naturally, which come to the same layouts; the
// 32-bit Windows ones (packing 8, some events 4, 4-byte pointers) are not pinned, so that target
// is refused until they are.
static_assert(sizeof(void*) == 8, "VST3 layouts are pinned for the 64-bit targets only");

namespace Vst3 {

using int8 = std::int8_t;
using uint8 = std::uint8_t;
using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;

using TBool = uint8;
using char16 = char16_t;  // UTF-16 on every platform, unlike wchar_t
using TChar = char16;
using String128 = TChar[128];
using FIDString = const char*;  // ASCII identifiers: class categories, message and view names
using CString = const char*;

// ---------------------------------------------------------------------------------------------
// Unique IDs

using TUID = char[16];

// A TUID as a value, so that IDs can come out of constexpr functions and live in constants.
struct Uid {
    TUID bytes;
};
static_assert(sizeof(Uid) == 16);

// How the four 32-bit words an ID is published as are laid out in its 16 bytes.
enum class UidOrder {
    Com,    // Windows: bytes 0-7 are a GUID's Data1 (l1) and Data2, Data3 (l2's halves), each
            // little-endian; bytes 8-15 are l3 and l4 big-endian
    Plain,  // elsewhere: the four words big-endian, in order
};

#if defined(_WIN32)
constexpr UidOrder kNativeUidOrder = UidOrder::Com;
#else
constexpr UidOrder kNativeUidOrder = UidOrder::Plain;
#endif

namespace Detail {
constexpr char byteOf(uint32 word, int shift) {
    return static_cast<char>((word >> shift) & 0xFFu);
}
}  // namespace Detail

constexpr Uid makeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4,
                      UidOrder order = kNativeUidOrder) {
    Uid uid{};
    const uint32 words[4] = {l1, l2, l3, l4};
    for (int i = 0; i < 16; ++i) uid.bytes[i] = Detail::byteOf(words[i / 4], 24 - 8 * (i % 4));
    if (order == UidOrder::Com) {
        const int shifts[8] = {0, 8, 16, 24, 16, 24, 0, 8};
        for (int i = 0; i < 8; ++i) uid.bytes[i] = Detail::byteOf(words[i / 4], shifts[i]);
    }
    return uid;
}

// IDs arrive as bare 16-byte arrays; they are compared byte for byte.
constexpr bool uidEquals(const char* tuid, const Uid& uid) {
    for (int i = 0; i < 16; ++i) {
        if (tuid[i] != uid.bytes[i]) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Result codes: HRESULTs on Windows, where hosts read them as such; small numbers elsewhere.

using tresult = int32;

#if defined(_WIN32)
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);      // E_NOINTERFACE
constexpr tresult kResultOk = 0;                                         // S_OK
constexpr tresult kResultFalse = 1;                                      // S_FALSE
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);  // E_INVALIDARG
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);   // E_NOTIMPL
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);    // E_FAIL
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);   // E_UNEXPECTED
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);      // E_OUTOFMEMORY
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kResultOk = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif
constexpr tresult kResultTrue = kResultOk;

// ---------------------------------------------------------------------------------------------
// Interfaces are abstract structs holding nothing but the vtable pointer, one base each, methods
// in the published order. Their destructors are protected and non-virtual: an object dies by
// release(), never by delete through an interface, and a virtual destructor would add vtable
// slots the binary interface does not have.

struct FUnknown {
    static constexpr Uid iid = makeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

    // Sets *obj and adds a reference on kResultOk; sets it to null with kNoInterface.
    virtual tresult VST3_API queryInterface(const TUID interfaceId, void** obj) = 0;
    virtual uint32 VST3_API addRef() = 0;   // the new count; objects start at 1
    virtual uint32 VST3_API release() = 0;  // the new count; the object is gone at 0

protected:
    ~FUnknown() = default;
};

struct IPluginBase : FUnknown {
    static constexpr Uid iid = makeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);

    // context is the host's (IHostApplication among others); on failure the host releases the
    // object without terminate().
    virtual tresult VST3_API initialize(FUnknown* context) = 0;
    virtual tresult VST3_API terminate() = 0;  // drop every host reference here

protected:
    ~IPluginBase() = default;
};

// ---------------------------------------------------------------------------------------------
// Class factory

struct PFactoryInfo {
    enum FactoryFlags : int32 {
        kNoFlags = 0,
        kClassesDiscardable = 1 << 0,  // hosts must not cache the class list
        kLicenseCheck = 1 << 1,
        kComponentNonDiscardable = 1 << 3,  // never unloaded before the process ends
        kUnicode = 1 << 4,                  // every string is UTF-16 (the VST3 default)
    };
    enum : int32 { kURLSize = 256, kEmailSize = 128, kNameSize = 64 };

    char vendor[kNameSize];
    char url[kURLSize];
    char email[kEmailSize];
    int32 flags;  // FactoryFlags
};
static_assert(sizeof(PFactoryInfo) == 452);
static_assert(offsetof(PFactoryInfo, url) == 64);
static_assert(offsetof(PFactoryInfo, email) == 320);
static_assert(offsetof(PFactoryInfo, flags) == 448);

struct PClassInfo {
    enum ClassCardinality : int32 { kManyInstances = 0x7FFFFFFF };
    enum : int32 { kCategorySize = 32, kNameSize = 64 };

    TUID cid;
    int32 cardinality;             // kManyInstances
    char category[kCategorySize];  // kVstAudioEffectClass, kVstComponentControllerClass
    char name[kNameSize];
};
static_assert(sizeof(PClassInfo) == 116);
static_assert(offsetof(PClassInfo, cardinality) == 16);
static_assert(offsetof(PClassInfo, category) == 20);
static_assert(offsetof(PClassInfo, name) == 52);

struct PClassInfo2 {
    enum : int32 { kVendorSize = 64, kVersionSize = 64, kSubCategoriesSize = 128 };

    TUID cid;
    int32 cardinality;
    char category[PClassInfo::kCategorySize];
    char name[PClassInfo::kNameSize];
    uint32 classFlags;                       // ComponentFlags for audio module classes
    char subCategories[kSubCategoriesSize];  // PlugType values joined by '|'
    char vendor[kVendorSize];
    char version[kVersionSize];     // "1.0.0.512": major.minor.sub.build
    char sdkVersion[kVersionSize];  // kVstVersionString
};
static_assert(sizeof(PClassInfo2) == 440);
static_assert(offsetof(PClassInfo2, cardinality) == 16);
static_assert(offsetof(PClassInfo2, category) == 20);
static_assert(offsetof(PClassInfo2, name) == 52);
static_assert(offsetof(PClassInfo2, classFlags) == 116);
static_assert(offsetof(PClassInfo2, subCategories) == 120);
static_assert(offsetof(PClassInfo2, vendor) == 248);
static_assert(offsetof(PClassInfo2, version) == 312);
static_assert(offsetof(PClassInfo2, sdkVersion) == 376);

// PClassInfo2 with the user-visible texts in UTF-16.
struct PClassInfoW {
    enum : int32 { kVendorSize = 64, kVersionSize = 64, kSubCategoriesSize = 128 };

    TUID cid;
    int32 cardinality;
    char category[PClassInfo::kCategorySize];
    char16 name[PClassInfo::kNameSize];
    uint32 classFlags;
    char subCategories[kSubCategoriesSize];
    char16 vendor[kVendorSize];
    char16 version[kVersionSize];
    char16 sdkVersion[kVersionSize];
};
static_assert(sizeof(PClassInfoW) == 696);
static_assert(offsetof(PClassInfoW, cardinality) == 16);
static_assert(offsetof(PClassInfoW, category) == 20);
static_assert(offsetof(PClassInfoW, name) == 52);
static_assert(offsetof(PClassInfoW, classFlags) == 180);
static_assert(offsetof(PClassInfoW, subCategories) == 184);
static_assert(offsetof(PClassInfoW, vendor) == 312);
static_assert(offsetof(PClassInfoW, version) == 440);
static_assert(offsetof(PClassInfoW, sdkVersion) == 568);

struct IPluginFactory : FUnknown {
    static constexpr Uid iid = makeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);

    virtual tresult VST3_API getFactoryInfo(PFactoryInfo* info) = 0;
    virtual int32 VST3_API countClasses() = 0;
    virtual tresult VST3_API getClassInfo(int32 index, PClassInfo* info) = 0;
    // cid and interfaceId point at 16-byte IDs.
    virtual tresult VST3_API createInstance(FIDString cid, FIDString interfaceId, void** obj) = 0;

protected:
    ~IPluginFactory() = default;
};

struct IPluginFactory2 : IPluginFactory {
    static constexpr Uid iid = makeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);

    virtual tresult VST3_API getClassInfo2(int32 index, PClassInfo2* info) = 0;

protected:
    ~IPluginFactory2() = default;
};

struct IPluginFactory3 : IPluginFactory2 {
    static constexpr Uid iid = makeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);

    virtual tresult VST3_API getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
    virtual tresult VST3_API setHostContext(FUnknown* context) = 0;

protected:
    ~IPluginFactory3() = default;
};

// ---------------------------------------------------------------------------------------------
// Streams: states and presets come and go through these, the host's objects.

struct IBStream : FUnknown {
    static constexpr Uid iid = makeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);

    enum IStreamSeekMode : int32 { kIBSeekSet = 0, kIBSeekCur, kIBSeekEnd };

    virtual tresult VST3_API read(void* buffer, int32 numBytes, int32* numBytesRead = nullptr) = 0;
    virtual tresult VST3_API write(void* buffer, int32 numBytes,
                                   int32* numBytesWritten = nullptr) = 0;
    virtual tresult VST3_API seek(int64 pos, int32 mode, int64* result = nullptr) = 0;
    virtual tresult VST3_API tell(int64* pos) = 0;

protected:
    ~IBStream() = default;
};

// Asked of an IBStream whose size is known (files, memory).
struct ISizeableStream : FUnknown {
    static constexpr Uid iid = makeUid(0x04F9549E, 0xE02F4E6E, 0x87E86A87, 0x47F4E17F);

    virtual tresult VST3_API getStreamSize(int64& size) = 0;
    virtual tresult VST3_API setStreamSize(int64 size) = 0;

protected:
    ~ISizeableStream() = default;
};

// ---------------------------------------------------------------------------------------------
// The class IDs under which a VST3 build stands in for its VST 2.x predecessor in hosts' saved
// projects: the 16 bytes 'V','S','T' (processor) or 'V','S','E' (controller), the VST 2.x unique
// ID big-endian, and the first nine characters of the lower-cased effect name, zero-padded. The
// published rule writes them as 32 hex digits parsed as the four words of an ID, so Windows gets
// them in its usual COM order.

enum class Vst2ReplacementClass { Processor, Controller };

namespace Detail {
constexpr uint32 bigEndianWord(const unsigned char* b) {
    return (static_cast<uint32>(b[0]) << 24) | (static_cast<uint32>(b[1]) << 16) |
           (static_cast<uint32>(b[2]) << 8) | static_cast<uint32>(b[3]);
}
}  // namespace Detail

constexpr Uid vst2ReplacementUid(int32 vst2UniqueId, const char* effectName,
                                 Vst2ReplacementClass which = Vst2ReplacementClass::Processor,
                                 UidOrder order = kNativeUidOrder) {
    unsigned char b[16] = {'V', 'S', 'T'};
    if (which == Vst2ReplacementClass::Controller) b[2] = 'E';
    const auto id = static_cast<uint32>(vst2UniqueId);
    for (int i = 0; i < 4; ++i) b[3 + i] = static_cast<unsigned char>(id >> (24 - 8 * i));
    for (int i = 0; i < 9 && effectName[i] != '\0'; ++i) {
        const char c = effectName[i];
        b[7 + i] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return makeUid(Detail::bigEndianWord(b), Detail::bigEndianWord(b + 4),
                   Detail::bigEndianWord(b + 8), Detail::bigEndianWord(b + 12), order);
}

// ---------------------------------------------------------------------------------------------
// Module entry points, looked up by these names. The host calls the platform's init export once
// after loading and its exit export before unloading (each may come more than once: count
// them), then GetPluginFactory, and releases the factory it gets when done.

constexpr const char* kGetPluginFactoryName = "GetPluginFactory";
#if defined(_WIN32)
constexpr const char* kModuleInitName = "InitDll";
constexpr const char* kModuleExitName = "ExitDll";
#else
constexpr const char* kModuleInitName = "ModuleEntry";
constexpr const char* kModuleExitName = "ModuleExit";
#endif

}  // namespace Vst3

extern "C" {
using Vst3GetPluginFactoryProc = Vst3::IPluginFactory*(VST3_API*)();

VST3_EXPORT Vst3::IPluginFactory* VST3_API GetPluginFactory();
#if defined(_WIN32)
// Published without the interface calling convention; having no arguments, they are called
// alike either way.
VST3_EXPORT bool InitDll();
VST3_EXPORT bool ExitDll();
#else
VST3_EXPORT bool ModuleEntry(void* sharedLibraryHandle);  // the handle dlopen() returned
VST3_EXPORT bool ModuleExit();
#endif
}
