// The VST 2.x binary interface: records, opcodes and constants, written from the published
// layout facts. Everything here is plain data shared with the host, so every layout is pinned
// with static_asserts for Windows x64, Windows x86 and Linux x86-64.
//
// Opcode comments read "index / value / ptr / opt -> result"; a dash marks an unused argument.
// A number in brackets is the size of the text buffer behind ptr, terminator included.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

using VstInt16 = std::int16_t;
using VstInt32 = std::int32_t;
using VstIntPtr = std::intptr_t;

struct AEffect;

extern "C" {
using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                    VstInt32 index, VstIntPtr value, void* ptr,
                                                    float opt);
using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                      VstInt32 index, VstIntPtr value, void* ptr,
                                                      float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs,
                                                    double** outputs, VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index,
                                                   float parameter);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);
using VstPluginMainProc = AEffect*(VSTCALLBACK*)(audioMasterCallback host);
}

// Four-character codes put the first character in the most significant byte.
constexpr VstInt32 FourCharCode(char a, char b, char c, char d) {
    return static_cast<VstInt32>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                 static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr VstInt32 kEffectMagic = FourCharCode('V', 's', 't', 'P');      // 0x56737450
constexpr VstInt32 kEffectIdentify = FourCharCode('N', 'v', 'E', 'f');   // effIdentify answer
constexpr VstInt32 kDefaultUniqueId = FourCharCode('N', 'o', 'E', 'f');  // before setUniqueID
constexpr VstInt32 kVstVersion = 2400;

// Fixed text field lengths in bytes, terminator included.
enum : VstInt32 {
    kVstMaxProgNameLen = 24,
    kVstMaxParamStrLen = 8,
    kVstMaxVendorStrLen = 64,
    kVstMaxProductStrLen = 64,
    kVstMaxEffectNameLen = 32,
    kVstMaxNameLen = 64,
    kVstMaxLabelLen = 64,
    kVstMaxShortLabelLen = 8,
    kVstMaxCategLabelLen = 24,
    kVstMaxFileNameLen = 100,
};

extern "C" {

struct AEffect {
    VstInt32 magic;  // kEffectMagic
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;  // deprecated accumulating process
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;    // effFlags*
    VstIntPtr resvd1;  // the host's; the plug-in writes 0
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;  // deprecated
    VstInt32 offQualities;   // deprecated
    float ioRatio;           // deprecated
    void* object;            // the plug-in's own object
    void* user;              // written 0, never read
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

struct ERect {
    VstInt16 top, left, bottom, right;
};

struct VstEvent {
    VstInt32 type;      // kVst*Type; dispatch on this alone
    VstInt32 byteSize;  // not to be relied on when reading
    VstInt32 deltaFrames;
    VstInt32 flags;
    char data[16];
};

struct VstEvents {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2];  // really numEvents entries
};

struct VstMidiEvent {
    VstInt32 type;  // kVstMidiType
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;  // kVstMidiEventIsRealtime
    VstInt32 noteLength;
    VstInt32 noteOffset;
    char midiData[4];  // status and up to two data bytes; read as unsigned
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

struct VstMidiSysexEvent {
    VstInt32 type;  // kVstSysExType
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 dumpBytes;
    VstIntPtr resvd1;
    char* sysexDump;
    VstIntPtr resvd2;
};

struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;           // kVstNanosValid
    double ppqPos;                // kVstPpqPosValid
    double tempo;                 // kVstTempoValid
    double barStartPos;           // kVstBarsValid
    double cycleStartPos;         // kVstCyclePosValid
    double cycleEndPos;           // kVstCyclePosValid
    VstInt32 timeSigNumerator;    // kVstTimeSigValid
    VstInt32 timeSigDenominator;  // kVstTimeSigValid
    VstInt32 smpteOffset;
    VstInt32 smpteFrameRate;
    VstInt32 samplesToNextClock;
    VstInt32 flags;  // kVst* time flags
};

struct VstKeyCode {
    VstInt32 character;
    unsigned char virt;      // VKEY_*
    unsigned char modifier;  // MODIFIER_* bits
};

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[kVstMaxNameLen];
    VstInt32 type;  // kSpeaker*
    char future[28];
};

struct VstSpeakerArrangement {
    VstInt32 type;  // kSpeakerArr*
    VstInt32 numChannels;
    VstSpeakerProperties speakers[8];  // really numChannels entries
};

struct VstPinProperties {
    char label[kVstMaxLabelLen];
    VstInt32 flags;
    VstInt32 arrangementType;
    char shortLabel[kVstMaxShortLabelLen];
    char future[48];
};

struct VstParameterProperties {
    float stepFloat;
    float smallStepFloat;
    float largeStepFloat;
    char label[kVstMaxLabelLen];
    VstInt32 flags;
    VstInt32 minInteger;
    VstInt32 maxInteger;
    VstInt32 stepInteger;
    VstInt32 largeStepInteger;
    char shortLabel[kVstMaxShortLabelLen];
    VstInt16 displayIndex;
    VstInt16 category;
    VstInt16 numParametersInCategory;
    VstInt16 reserved;
    char categoryLabel[kVstMaxCategLabelLen];
    char future[16];
};

struct VstPatchChunkInfo {
    VstInt32 version;  // 1
    VstInt32 pluginUniqueID;
    VstInt32 pluginVersion;
    VstInt32 numElements;  // parameters for a program, programs for a bank
    char future[48];
};

}  // extern "C"

// Host -> plug-in opcodes (AEffect::dispatcher).
enum AEffectOpcodes : VstInt32 {
    effOpen = 0,               // - / - / - / - -> 0
    effClose = 1,              // - / - / - / - -> 1; the instance is gone afterwards
    effSetProgram = 2,         // - / program / - / -
    effGetProgram = 3,         // - / - / - / - -> program
    effSetProgramName = 4,     // - / - / char[24] in / -
    effGetProgramName = 5,     // - / - / char[24] out / -
    effGetParamLabel = 6,      // parameter / - / char[8] out / -
    effGetParamDisplay = 7,    // parameter / - / char[8] out / -
    effGetParamName = 8,       // parameter / - / char[8] out / -
    effGetVu = 9,              // deprecated
    effSetSampleRate = 10,     // - / - / - / rate
    effSetBlockSize = 11,      // - / maximum frames / - / -
    effMainsChanged = 12,      // - / 0 suspend, else resume / - / -
    effEditGetRect = 13,       // - / - / ERect** out / - -> 1 when set
    effEditOpen = 14,          // - / - / parent window / - -> 1 when open
    effEditClose = 15,         // - / - / - / -
    effEditDraw = 16,          // deprecated
    effEditMouse = 17,         // deprecated
    effEditKey = 18,           // deprecated
    effEditIdle = 19,          // - / - / - / -
    effEditTop = 20,           // deprecated
    effEditSleep = 21,         // deprecated
    effIdentify = 22,          // deprecated; -> 'NvEf'
    effGetChunk = 23,          // 0 bank, else program / - / void** out / - -> byte count
    effSetChunk = 24,          // 0 bank, else program / byte count / data / - -> 1 on success
    effProcessEvents = 25,     // - / - / VstEvents* / -
    effCanBeAutomated = 26,    // parameter / - / - / - -> 1 yes
    effString2Parameter = 27,  // parameter / - / text / - -> 1 when taken
    effGetNumProgramCategories = 28,    // deprecated
    effGetProgramNameIndexed = 29,      // program / category / char[24] out / - -> 1 when named
    effCopyProgram = 30,                // deprecated
    effConnectInput = 31,               // deprecated
    effConnectOutput = 32,              // deprecated
    effGetInputProperties = 33,         // input / - / VstPinProperties* out / - -> 1 when filled
    effGetOutputProperties = 34,        // output / - / VstPinProperties* out / - -> 1 when filled
    effGetPlugCategory = 35,            // - / - / - / - -> kPlugCateg*
    effGetCurrentPosition = 36,         // deprecated
    effGetDestinationBuffer = 37,       // deprecated
    effOfflineNotify = 38,              // start / count / VstAudioFile* / -
    effOfflinePrepare = 39,             // - / count / VstOfflineTask* / -
    effOfflineRun = 40,                 // - / count / VstOfflineTask* / -
    effProcessVarIo = 41,               // - / - / VstVariableIo* / -
    effSetSpeakerArrangement = 42,      // - / input arrangement* / output arrangement* / -
    effSetBlockSizeAndSampleRate = 43,  // deprecated
    effSetBypass = 44,                  // - / 1 bypass / - / - -> 1 when supported
    effGetEffectName = 45,              // - / - / char[32] out / - -> 1 when named
    effGetErrorText = 46,               // deprecated
    effGetVendorString = 47,            // - / - / char[64] out / - -> 1 when named
    effGetProductString = 48,           // - / - / char[64] out / - -> 1 when named
    effGetVendorVersion = 49,           // - / - / - / - -> version
    effVendorSpecific = 50,             // free / free / free / free -> free
    effCanDo = 51,                      // - / - / text / - -> 1 yes, 0 don't know, -1 no
    effGetTailSize = 52,                // - / - / - / - -> samples; 0 default, 1 none
    effIdle = 53,                       // deprecated
    effGetIcon = 54,                    // deprecated
    effSetViewPosition = 55,            // deprecated
    effGetParameterProperties = 56,     // parameter / - / VstParameterProperties* out / -
    effKeysRequired = 57,               // deprecated
    effGetVstVersion = 58,              // - / - / - / - -> 2400
    effEditKeyDown = 59,                // character / VKEY_* / - / modifiers -> 1 when used
    effEditKeyUp = 60,                  // character / VKEY_* / - / modifiers -> 1 when used
    effSetEditKnobMode = 61,            // - / 0 circular, 1 relative, 2 linear / - / -
    effGetMidiProgramName = 62,         // channel / - / MidiProgramName* / - -> count
    effGetCurrentMidiProgram = 63,      // channel / - / MidiProgramName* / - -> program or -1
    effGetMidiProgramCategory = 64,     // channel / - / MidiProgramCategory* / - -> count
    effHasMidiProgramsChanged = 65,     // channel / - / - / - -> 1 when changed
    effGetMidiKeyName = 66,             // channel / - / MidiKeyName* / - -> 1 when named
    effBeginSetProgram = 67,            // - / - / - / -
    effEndSetProgram = 68,              // - / - / - / -
    effGetSpeakerArrangement = 69,      // - / input arrangement** / output arrangement** / -
    effShellGetNextPlugin = 70,         // - / - / char[64] out / - -> next unique ID
    effStartProcess = 71,               // - / - / - / -
    effStopProcess = 72,                // - / - / - / -
    effSetTotalSampleToProcess = 73,    // - / frames / - / - -> frames
    effSetPanLaw = 74,                  // - / kLinearPanLaw, kEqualPowerPanLaw / - / gain
    effBeginLoadBank = 75,              // - / - / VstPatchChunkInfo* / - -> -1 refuse, 1 accept
    effBeginLoadProgram = 76,           // - / - / VstPatchChunkInfo* / - -> -1 refuse, 1 accept
    effSetProcessPrecision = 77,        // - / kVstProcessPrecision* / - / -
    effGetNumMidiInputChannels = 78,    // - / - / - / - -> channels
    effGetNumMidiOutputChannels = 79,   // - / - / - / - -> channels
};

// Plug-in -> host opcodes (audioMasterCallback).
enum AudioMasterOpcodes : VstInt32 {
    audioMasterAutomate = 0,       // parameter / - / - / value
    audioMasterVersion = 1,        // - / - / - / - -> host VST version, 0 for none
    audioMasterCurrentId = 2,      // - / - / - / - -> unique ID of the shell's current plug-in
    audioMasterIdle = 3,           // - / - / - / -
    audioMasterPinConnected = 4,   // deprecated; pin / 0 input, 1 output / - / - -> 0 connected
    audioMasterWantMidi = 6,       // deprecated; - / 1 / - / -
    audioMasterGetTime = 7,        // - / kVst*Valid mask / - / - -> VstTimeInfo* or 0
    audioMasterProcessEvents = 8,  // - / - / VstEvents* / -
    audioMasterSetTime = 9,        // deprecated
    audioMasterTempoAt = 10,       // deprecated; - / sample position / - / - -> tempo * 10000
    audioMasterGetNumAutomatableParameters = 11,  // deprecated
    audioMasterGetParameterQuantization = 12,     // deprecated
    audioMasterIOChanged = 13,                    // - / - / - / - -> 1 when taken
    audioMasterNeedIdle = 14,                     // deprecated
    audioMasterSizeWindow = 15,                   // width / height / - / - -> 1 when taken
    audioMasterGetSampleRate = 16,                // - / - / - / - -> rate
    audioMasterGetBlockSize = 17,                 // - / - / - / - -> frames
    audioMasterGetInputLatency = 18,
    audioMasterGetOutputLatency = 19,
    audioMasterGetPreviousPlug = 20,          // deprecated
    audioMasterGetNextPlug = 21,              // deprecated
    audioMasterWillReplaceOrAccumulate = 22,  // deprecated
    audioMasterGetCurrentProcessLevel = 23,   // -> kVstProcessLevel*
    audioMasterGetAutomationState = 24,       // -> kVstAutomation*
    audioMasterOfflineStart = 25,
    audioMasterOfflineRead = 26,
    audioMasterOfflineWrite = 27,
    audioMasterOfflineGetCurrentPass = 28,
    audioMasterOfflineGetCurrentMetaPass = 29,
    audioMasterSetOutputSampleRate = 30,          // deprecated
    audioMasterGetOutputSpeakerArrangement = 31,  // deprecated
    audioMasterGetVendorString = 32,              // - / - / char[64] out / -
    audioMasterGetProductString = 33,             // - / - / char[64] out / -
    audioMasterGetVendorVersion = 34,
    audioMasterVendorSpecific = 35,
    audioMasterSetIcon = 36,  // deprecated
    audioMasterCanDo = 37,    // - / - / text / - -> 1 yes, 0 don't know, -1 no
    audioMasterGetLanguage = 38,
    audioMasterOpenWindow = 39,   // deprecated
    audioMasterCloseWindow = 40,  // deprecated
    audioMasterGetDirectory = 41,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,  // parameter / - / - / -
    audioMasterEndEdit = 44,    // parameter / - / - / -
    audioMasterOpenFileSelector = 45,
    audioMasterCloseFileSelector = 46,
    audioMasterEditFile = 47,                    // deprecated
    audioMasterGetChunkFile = 48,                // deprecated
    audioMasterGetInputSpeakerArrangement = 49,  // deprecated
};

enum VstAEffectFlags : VstInt32 {
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,  // deprecated
    effFlagsHasVu = 1 << 2,    // deprecated
    effFlagsCanMono = 1 << 3,  // deprecated
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsExtIsAsync = 1 << 10,    // deprecated
    effFlagsExtHasBuffer = 1 << 11,  // deprecated
    effFlagsCanDoubleReplacing = 1 << 12,
};

enum VstTimeInfoFlags : VstInt32 {
    kVstTransportChanged = 1 << 0,
    kVstTransportPlaying = 1 << 1,
    kVstTransportCycleActive = 1 << 2,
    kVstTransportRecording = 1 << 3,
    kVstAutomationWriting = 1 << 6,
    kVstAutomationReading = 1 << 7,
    kVstNanosValid = 1 << 8,
    kVstPpqPosValid = 1 << 9,
    kVstTempoValid = 1 << 10,
    kVstBarsValid = 1 << 11,
    kVstCyclePosValid = 1 << 12,
    kVstTimeSigValid = 1 << 13,
    kVstSmpteValid = 1 << 14,
    kVstClockValid = 1 << 15,
};

enum VstEventTypes : VstInt32 {
    kVstMidiType = 1,
    kVstAudioType = 2,      // deprecated
    kVstVideoType = 3,      // deprecated
    kVstParameterType = 4,  // deprecated
    kVstTriggerType = 5,    // deprecated
    kVstSysExType = 6,
};

enum VstMidiEventFlags : VstInt32 { kVstMidiEventIsRealtime = 1 };

enum VstPlugCategory : VstInt32 {
    kPlugCategUnknown = 0,
    kPlugCategEffect,
    kPlugCategSynth,
    kPlugCategAnalysis,
    kPlugCategMastering,
    kPlugCategSpacializer,
    kPlugCategRoomFx,
    kPlugSurroundFx,
    kPlugCategRestoration,
    kPlugCategOfflineProcess,
    kPlugCategShell,
    kPlugCategGenerator,
    kPlugCategMaxCount,
};

enum VstPinPropertiesFlags : VstInt32 {
    kVstPinIsActive = 1,
    kVstPinIsStereo = 2,
    kVstPinUseSpeaker = 4,
};

enum VstParameterFlags : VstInt32 {
    kVstParameterIsSwitch = 1 << 0,
    kVstParameterUsesIntegerMinMax = 1 << 1,
    kVstParameterUsesFloatStep = 1 << 2,
    kVstParameterUsesIntStep = 1 << 3,
    kVstParameterSupportsDisplayIndex = 1 << 4,
    kVstParameterSupportsDisplayCategory = 1 << 5,
    kVstParameterCanRamp = 1 << 6,
};

enum VstProcessPrecision : VstInt32 { kVstProcessPrecision32 = 0, kVstProcessPrecision64 = 1 };
enum VstPanLawType : VstInt32 { kLinearPanLaw = 0, kEqualPowerPanLaw = 1 };

enum VstProcessLevels : VstInt32 {
    kVstProcessLevelUnknown = 0,
    kVstProcessLevelUser,
    kVstProcessLevelRealtime,
    kVstProcessLevelPrefetch,
    kVstProcessLevelOffline,
};

enum VstAutomationStates : VstInt32 {
    kVstAutomationUnsupported = 0,
    kVstAutomationOff,
    kVstAutomationRead,
    kVstAutomationWrite,
    kVstAutomationReadWrite,
};

enum VstHostLanguage : VstInt32 {
    kVstLangEnglish = 1,
    kVstLangGerman,
    kVstLangFrench,
    kVstLangItalian,
    kVstLangSpanish,
    kVstLangJapanese,
};

enum VstModifierKey : unsigned char {
    MODIFIER_SHIFT = 1,
    MODIFIER_ALTERNATE = 2,
    MODIFIER_COMMAND = 4,
    MODIFIER_CONTROL = 8,
};

enum VstVirtualKey : unsigned char {
    VKEY_BACK = 1,
    VKEY_TAB,
    VKEY_CLEAR,
    VKEY_RETURN,
    VKEY_PAUSE,
    VKEY_ESCAPE,
    VKEY_SPACE,
    VKEY_NEXT,
    VKEY_END,
    VKEY_HOME,
    VKEY_LEFT,
    VKEY_UP,
    VKEY_RIGHT,
    VKEY_DOWN,
    VKEY_PAGEUP,
    VKEY_PAGEDOWN,
    VKEY_SELECT,
    VKEY_PRINT,
    VKEY_ENTER,
    VKEY_SNAPSHOT,
    VKEY_INSERT,
    VKEY_DELETE,
    VKEY_HELP,
    VKEY_NUMPAD0,
    VKEY_NUMPAD1,
    VKEY_NUMPAD2,
    VKEY_NUMPAD3,
    VKEY_NUMPAD4,
    VKEY_NUMPAD5,
    VKEY_NUMPAD6,
    VKEY_NUMPAD7,
    VKEY_NUMPAD8,
    VKEY_NUMPAD9,
    VKEY_MULTIPLY,
    VKEY_ADD,
    VKEY_SEPARATOR,
    VKEY_SUBTRACT,
    VKEY_DECIMAL,
    VKEY_DIVIDE,
    VKEY_F1,
    VKEY_F2,
    VKEY_F3,
    VKEY_F4,
    VKEY_F5,
    VKEY_F6,
    VKEY_F7,
    VKEY_F8,
    VKEY_F9,
    VKEY_F10,
    VKEY_F11,
    VKEY_F12,
    VKEY_NUMLOCK,
    VKEY_SCROLL,
    VKEY_SHIFT,
    VKEY_CONTROL,
    VKEY_ALT,
    VKEY_EQUALS,
};

enum VstSpeakerArrangementType : VstInt32 {
    kSpeakerArrUserDefined = -2,
    kSpeakerArrEmpty = -1,
    kSpeakerArrMono = 0,
    kSpeakerArrStereo,
    kSpeakerArrStereoSurround,
    kSpeakerArrStereoCenter,
    kSpeakerArrStereoSide,
    kSpeakerArrStereoCLfe,
    kSpeakerArr30Cine,
    kSpeakerArr30Music,
    kSpeakerArr31Cine,
    kSpeakerArr31Music,
    kSpeakerArr40Cine,
    kSpeakerArr40Music,
    kSpeakerArr41Cine,
    kSpeakerArr41Music,
    kSpeakerArr50,
    kSpeakerArr51,
    kSpeakerArr60Cine,
    kSpeakerArr60Music,
    kSpeakerArr61Cine,
    kSpeakerArr61Music,
    kSpeakerArr70Cine,
    kSpeakerArr70Music,
    kSpeakerArr71Cine,
    kSpeakerArr71Music,
    kSpeakerArr80Cine,
    kSpeakerArr80Music,
    kSpeakerArr81Cine,
    kSpeakerArr81Music,
    kSpeakerArr102,
};

enum VstSpeakerType : VstInt32 {
    kSpeakerUndefined = 0x7FFFFFFF,
    kSpeakerM = 0,
    kSpeakerL,
    kSpeakerR,
    kSpeakerC,
    kSpeakerLfe,
    kSpeakerLs,
    kSpeakerRs,
    kSpeakerLc,
    kSpeakerRc,
    kSpeakerS,
    kSpeakerCs = kSpeakerS,
    kSpeakerSl,
    kSpeakerSr,
    kSpeakerTm,
    kSpeakerTfl,
    kSpeakerTfc,
    kSpeakerTfr,
    kSpeakerTrl,
    kSpeakerTrc,
    kSpeakerTrr,
    kSpeakerLfe2,
};

// The layout is fixed by the host side of the interface: fail the build if padding moves.
#define VST_EXPECT_SIZE(type, wide, narrow) \
    static_assert(sizeof(type) == (sizeof(void*) == 8 ? (wide) : (narrow)), #type " size")
#define VST_EXPECT_OFFSET(type, field, wide, narrow)                                 \
    static_assert(offsetof(type, field) == (sizeof(void*) == 8 ? (wide) : (narrow)), \
                  #type "::" #field " offset")

static_assert(sizeof(void*) == 8 || sizeof(void*) == 4, "32- or 64-bit targets only");
VST_EXPECT_SIZE(AEffect, 192, 144);
VST_EXPECT_OFFSET(AEffect, dispatcher, 8, 4);
VST_EXPECT_OFFSET(AEffect, numPrograms, 40, 20);
VST_EXPECT_OFFSET(AEffect, flags, 56, 36);
VST_EXPECT_OFFSET(AEffect, resvd1, 64, 40);
VST_EXPECT_OFFSET(AEffect, initialDelay, 80, 48);
VST_EXPECT_OFFSET(AEffect, ioRatio, 92, 60);
VST_EXPECT_OFFSET(AEffect, object, 96, 64);
VST_EXPECT_OFFSET(AEffect, uniqueID, 112, 72);
VST_EXPECT_OFFSET(AEffect, processReplacing, 120, 80);
VST_EXPECT_OFFSET(AEffect, processDoubleReplacing, 128, 84);
VST_EXPECT_OFFSET(AEffect, future, 136, 88);
VST_EXPECT_SIZE(VstEvent, 32, 32);
VST_EXPECT_SIZE(VstMidiEvent, 32, 32);
VST_EXPECT_OFFSET(VstMidiEvent, midiData, 24, 24);
VST_EXPECT_OFFSET(VstMidiEvent, detune, 28, 28);
VST_EXPECT_SIZE(VstMidiSysexEvent, 48, 32);
VST_EXPECT_OFFSET(VstMidiSysexEvent, sysexDump, 32, 24);
VST_EXPECT_SIZE(VstEvents, 32, 16);
VST_EXPECT_OFFSET(VstEvents, events, 16, 8);
VST_EXPECT_SIZE(VstTimeInfo, 88, 88);
VST_EXPECT_OFFSET(VstTimeInfo, timeSigNumerator, 64, 64);
VST_EXPECT_OFFSET(VstTimeInfo, samplesToNextClock, 80, 80);
VST_EXPECT_OFFSET(VstTimeInfo, flags, 84, 84);
VST_EXPECT_SIZE(ERect, 8, 8);
VST_EXPECT_SIZE(VstKeyCode, 8, 8);
VST_EXPECT_OFFSET(VstKeyCode, modifier, 5, 5);
VST_EXPECT_SIZE(VstSpeakerProperties, 112, 112);
VST_EXPECT_OFFSET(VstSpeakerProperties, type, 80, 80);
VST_EXPECT_SIZE(VstSpeakerArrangement, 904, 904);
VST_EXPECT_SIZE(VstPinProperties, 128, 128);
VST_EXPECT_SIZE(VstParameterProperties, 152, 152);
VST_EXPECT_OFFSET(VstParameterProperties, shortLabel, 96, 96);
VST_EXPECT_OFFSET(VstParameterProperties, categoryLabel, 112, 112);
VST_EXPECT_SIZE(VstPatchChunkInfo, 64, 64);

#undef VST_EXPECT_SIZE
#undef VST_EXPECT_OFFSET
