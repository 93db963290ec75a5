// The VST3 interfaces an effect implements and the host objects it is handed: component and
// processor, parameters and events, controller, units and programs, messages, editor view and
// the Linux run loop. Written from the published interface facts; vst3/README.md names the
// source of each. Every record that crosses the boundary has its size and offsets pinned.
#pragma once

#include <cstddef>
#include <type_traits>

#include "vst3/Vst3Base.h"

namespace Vst3 {

// The interface level these declarations match, for PClassInfo2::sdkVersion.
constexpr const char* kVstVersionString = "VST 3.7.13";

// PClassInfo::category of the two classes an effect registers.
constexpr const char* kVstAudioEffectClass = "Audio Module Class";
constexpr const char* kVstComponentControllerClass = "Component Controller Class";

// PClassInfo2::subCategories: one of these, or several joined by '|'.
namespace PlugType {
constexpr const char* kFx = "Fx";
constexpr const char* kFxAnalyzer = "Fx|Analyzer";
constexpr const char* kFxDelay = "Fx|Delay";
constexpr const char* kFxDistortion = "Fx|Distortion";
constexpr const char* kFxDynamics = "Fx|Dynamics";
constexpr const char* kFxEQ = "Fx|EQ";
constexpr const char* kFxFilter = "Fx|Filter";
constexpr const char* kFxModulation = "Fx|Modulation";
constexpr const char* kFxReverb = "Fx|Reverb";
constexpr const char* kFxSpatial = "Fx|Spatial";
constexpr const char* kFxTools = "Fx|Tools";
constexpr const char* kInstrument = "Instrument";
constexpr const char* kMono = "Mono";
constexpr const char* kStereo = "Stereo";
constexpr const char* kSurround = "Surround";
}  // namespace PlugType

// ---------------------------------------------------------------------------------------------
// Plain types

using MediaType = int32;     // MediaTypes
using BusDirection = int32;  // BusDirections
using BusType = int32;       // BusTypes
using IoMode = int32;        // IoModes
using UnitID = int32;
using ProgramListID = int32;
using ParamID = uint32;     // 0 to 0x7FFFFFFF; the rest is the host's
using ParamValue = double;  // normalised, 0 to 1
using CtrlNumber = int16;   // ControllerNumbers
using TQuarterNotes = double;
using TSamples = int64;
using Sample32 = float;
using Sample64 = double;
using SampleRate = double;
using SpeakerArrangement = uint64;  // one bit per Speaker
using Speaker = uint64;

constexpr ParamID kNoParamId = 0xFFFFFFFF;
constexpr ParamID kMaxParamId = 0x7FFFFFFF;

constexpr Speaker kSpeakerL = 1 << 0;
constexpr Speaker kSpeakerR = 1 << 1;
constexpr Speaker kSpeakerM = 1 << 19;

namespace SpeakerArr {
constexpr SpeakerArrangement kEmpty = 0;
constexpr SpeakerArrangement kMono = kSpeakerM;
constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;
}  // namespace SpeakerArr

enum MediaTypes : int32 { kAudio = 0, kEvent, kNumMediaTypes };
enum BusDirections : int32 { kInput = 0, kOutput };
enum BusTypes : int32 { kMain = 0, kAux };  // main buses come before aux (side-chain) ones
enum IoModes : int32 { kSimple = 0, kAdvanced, kOfflineProcessing };
enum ProcessModes : int32 { kRealtime = 0, kPrefetch, kOffline };
enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 = 1 };

// PClassInfo2::classFlags of an audio module class.
enum ComponentFlags : uint32 { kDistributable = 1 << 0, kSimpleModeSupported = 1 << 1 };

// IAudioProcessor::getTailSamples: no tail, a count of samples, or this.
constexpr uint32 kNoTail = 0;
constexpr uint32 kInfiniteTail = 0xFFFFFFFF;

// IComponentHandler::restartComponent flags.
enum RestartFlags : int32 {
    kReloadComponent = 1 << 0,
    kIoChanged = 1 << 1,
    kParamValuesChanged = 1 << 2,       // hosts re-read every value (after a program change)
    kLatencyChanged = 1 << 3,           // hosts deactivate, ask getLatencySamples, reactivate
    kParamTitlesChanged = 1 << 4,       // titles, units, defaults, step counts or flags
    kMidiCCAssignmentChanged = 1 << 5,  // hosts ask IMidiMapping again (after MIDI learn)
    kNoteExpressionChanged = 1 << 6,
    kIoTitlesChanged = 1 << 7,
    kPrefetchableSupportChanged = 1 << 8,
    kRoutingInfoChanged = 1 << 9,
    kKeyswitchChanged = 1 << 10,
    kParamIDMappingChanged = 1 << 11,
};

// IEditController2::setKnobMode.
using KnobMode = int32;
enum KnobModes : KnobMode { kCircularMode = 0, kRelativCircularMode, kLinearMode };

// IMidiMapping takes MIDI controller numbers 0-127 as they are, and these beyond them.
enum ControllerNumbers : int32 {
    kCtrlModWheel = 1,
    kCtrlVolume = 7,
    kAfterTouch = 128,  // channel pressure
    kPitchBend = 129,
    kCountCtrlNumber = 130,
    // Only in LegacyMIDICCOutEvent::controlNumber:
    kCtrlProgramChange = 130,
    kCtrlPolyPressure = 131,
    kCtrlQuarterFrame = 132,
};

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;
constexpr int32 kAllProgramInvalid = -1;  // IUnitHandler::notifyProgramListChange: every program

namespace ViewType {
constexpr FIDString kEditor = "editor";  // the only view IEditController::createView is asked for
}

// The parent handed to IPlugView::attached is of one of these kinds.
constexpr FIDString kPlatformTypeHWND = "HWND";                          // a Windows HWND
constexpr FIDString kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";  // an XEmbed window ID

struct IParameterChanges;
struct IEventList;
struct IComponentHandler;
struct IPlugView;
struct IPlugFrame;

// ---------------------------------------------------------------------------------------------
// Records

struct BusInfo {
    enum BusFlags : uint32 {
        kDefaultActive = 1 << 0,  // hosts should activate the bus after instantiation
        kIsControlVoltage = 1 << 1,
    };

    MediaType mediaType;
    BusDirection direction;
    int32 channelCount;  // MIDI channels for an event bus
    String128 name;
    BusType busType;
    uint32 flags;  // BusFlags
};
static_assert(sizeof(BusInfo) == 276);
static_assert(offsetof(BusInfo, direction) == 4);
static_assert(offsetof(BusInfo, channelCount) == 8);
static_assert(offsetof(BusInfo, name) == 12);
static_assert(offsetof(BusInfo, busType) == 268);
static_assert(offsetof(BusInfo, flags) == 272);

struct RoutingInfo {
    MediaType mediaType;
    int32 busIndex;
    int32 channel;  // -1: all of them
};
static_assert(sizeof(RoutingInfo) == 12);
static_assert(offsetof(RoutingInfo, busIndex) == 4);
static_assert(offsetof(RoutingInfo, channel) == 8);

struct ProcessSetup {
    int32 processMode;         // ProcessModes
    int32 symbolicSampleSize;  // SymbolicSampleSizes
    int32 maxSamplesPerBlock;
    SampleRate sampleRate;
};
static_assert(sizeof(ProcessSetup) == 24);
static_assert(offsetof(ProcessSetup, symbolicSampleSize) == 4);
static_assert(offsetof(ProcessSetup, maxSamplesPerBlock) == 8);
static_assert(offsetof(ProcessSetup, sampleRate) == 16);

struct AudioBusBuffers {
    int32 numChannels;    // 0 when the host only flushes parameters
    uint64 silenceFlags;  // bit n: channel n is all zeros (the buffer is still valid)
    union {
        Sample32** channelBuffers32;  // ProcessData::symbolicSampleSize picks the member
        Sample64** channelBuffers64;
    };
};
static_assert(sizeof(AudioBusBuffers) == 24);
static_assert(offsetof(AudioBusBuffers, silenceFlags) == 8);
static_assert(offsetof(AudioBusBuffers, channelBuffers32) == 16);
static_assert(offsetof(AudioBusBuffers, channelBuffers64) == 16);

struct FrameRate {
    enum FrameRateFlags : uint32 { kPullDownRate = 1 << 0, kDropRate = 1 << 1 };

    uint32 framesPerSecond;
    uint32 flags;  // FrameRateFlags
};
static_assert(sizeof(FrameRate) == 8);

struct Chord {
    uint8 keyNote;
    uint8 rootNote;   // lowest note
    int16 chordMask;  // bit n: the interval of n + 1 semitones above the key note
};
static_assert(sizeof(Chord) == 4);
static_assert(offsetof(Chord, chordMask) == 2);

// Transport and musical time; only what state flags as valid is meaningful, and only what
// IProcessContextRequirements asked for is guaranteed to be filled in.
struct ProcessContext {
    enum StatesAndFlags : uint32 {
        kPlaying = 1 << 1,
        kCycleActive = 1 << 2,
        kRecording = 1 << 3,
        kSystemTimeValid = 1 << 8,
        kProjectTimeMusicValid = 1 << 9,
        kTempoValid = 1 << 10,
        kBarPositionValid = 1 << 11,
        kCycleValid = 1 << 12,
        kTimeSigValid = 1 << 13,
        kSmpteValid = 1 << 14,
        kClockValid = 1 << 15,
        kContTimeValid = 1 << 17,
        kChordValid = 1 << 18,
    };

    uint32 state;                   // StatesAndFlags
    double sampleRate;              // always valid
    TSamples projectTimeSamples;    // always valid
    int64 systemTime;               // nanoseconds
    TSamples continousTimeSamples;  // sic: the published spelling
    TQuarterNotes projectTimeMusic;
    TQuarterNotes barPositionMusic;
    TQuarterNotes cycleStartMusic;
    TQuarterNotes cycleEndMusic;
    double tempo;  // beats per minute
    int32 timeSigNumerator;
    int32 timeSigDenominator;
    Chord chord;
    int32 smpteOffsetSubframes;  // 1/80 of a frame
    FrameRate frameRate;
    int32 samplesToNextClock;  // MIDI clock, 24 per quarter note
};
static_assert(sizeof(ProcessContext) == 112);
static_assert(offsetof(ProcessContext, sampleRate) == 8);
static_assert(offsetof(ProcessContext, projectTimeSamples) == 16);
static_assert(offsetof(ProcessContext, systemTime) == 24);
static_assert(offsetof(ProcessContext, continousTimeSamples) == 32);
static_assert(offsetof(ProcessContext, projectTimeMusic) == 40);
static_assert(offsetof(ProcessContext, barPositionMusic) == 48);
static_assert(offsetof(ProcessContext, cycleStartMusic) == 56);
static_assert(offsetof(ProcessContext, cycleEndMusic) == 64);
static_assert(offsetof(ProcessContext, tempo) == 72);
static_assert(offsetof(ProcessContext, timeSigNumerator) == 80);
static_assert(offsetof(ProcessContext, timeSigDenominator) == 84);
static_assert(offsetof(ProcessContext, chord) == 88);
static_assert(offsetof(ProcessContext, smpteOffsetSubframes) == 92);
static_assert(offsetof(ProcessContext, frameRate) == 96);
static_assert(offsetof(ProcessContext, samplesToNextClock) == 104);

// Event payloads. Pitches are MIDI note numbers; a noteId of -1 means none.

struct NoteOnEvent {
    int16 channel;
    int16 pitch;
    float tuning;    // cents
    float velocity;  // 0 to 1
    int32 length;    // samples, optional: a note-off follows regardless
    int32 noteId;
};
static_assert(sizeof(NoteOnEvent) == 20);
static_assert(offsetof(NoteOnEvent, pitch) == 2);
static_assert(offsetof(NoteOnEvent, tuning) == 4);
static_assert(offsetof(NoteOnEvent, velocity) == 8);
static_assert(offsetof(NoteOnEvent, length) == 12);
static_assert(offsetof(NoteOnEvent, noteId) == 16);

struct NoteOffEvent {
    int16 channel;
    int16 pitch;
    float velocity;
    int32 noteId;
    float tuning;
};
static_assert(sizeof(NoteOffEvent) == 16);
static_assert(offsetof(NoteOffEvent, velocity) == 4);
static_assert(offsetof(NoteOffEvent, noteId) == 8);
static_assert(offsetof(NoteOffEvent, tuning) == 12);

struct DataEvent {
    enum DataTypes : uint32 { kMidiSysEx = 0 };

    uint32 size;  // bytes
    uint32 type;  // DataTypes
    const uint8* bytes;
};
static_assert(sizeof(DataEvent) == 16);
static_assert(offsetof(DataEvent, type) == 4);
static_assert(offsetof(DataEvent, bytes) == 8);

struct PolyPressureEvent {
    int16 channel;
    int16 pitch;
    float pressure;
    int32 noteId;
};
static_assert(sizeof(PolyPressureEvent) == 12);
static_assert(offsetof(PolyPressureEvent, pressure) == 4);
static_assert(offsetof(PolyPressureEvent, noteId) == 8);

struct NoteExpressionValueEvent {
    uint32 typeId;
    int32 noteId;
    double value;
};
static_assert(sizeof(NoteExpressionValueEvent) == 16);
static_assert(offsetof(NoteExpressionValueEvent, value) == 8);

struct NoteExpressionTextEvent {
    uint32 typeId;
    int32 noteId;
    uint32 textLen;  // characters, without the terminator
    const TChar* text;
};
static_assert(sizeof(NoteExpressionTextEvent) == 24);
static_assert(offsetof(NoteExpressionTextEvent, textLen) == 8);
static_assert(offsetof(NoteExpressionTextEvent, text) == 16);

struct ChordEvent {
    int16 root;
    int16 bassNote;
    int16 mask;
    uint16 textLen;
    const TChar* text;
};
static_assert(sizeof(ChordEvent) == 16);
static_assert(offsetof(ChordEvent, textLen) == 6);
static_assert(offsetof(ChordEvent, text) == 8);

struct ScaleEvent {
    int16 root;
    int16 mask;
    uint16 textLen;
    const TChar* text;
};
static_assert(sizeof(ScaleEvent) == 16);
static_assert(offsetof(ScaleEvent, textLen) == 4);
static_assert(offsetof(ScaleEvent, text) == 8);

// A MIDI controller message a plug-in sends on an event output bus; incoming controllers reach
// it as parameter changes instead, through IMidiMapping.
struct LegacyMIDICCOutEvent {
    uint8 controlNumber;  // 0-127, or kAfterTouch, kPitchBend, kCtrlProgramChange, ...
    int8 channel;         // 0-15
    int8 value;           // 0-127
    int8 value2;          // pitch bend's MSB, poly pressure's pressure
};
static_assert(sizeof(LegacyMIDICCOutEvent) == 4);
static_assert(offsetof(LegacyMIDICCOutEvent, value2) == 3);

struct Event {
    enum EventFlags : uint16 {
        kIsLive = 1 << 0,  // played live rather than from the project
        kUserReserved1 = 1 << 14,
        kUserReserved2 = 1 << 15,
    };
    enum EventTypes : uint16 {
        kNoteOnEvent = 0,
        kNoteOffEvent = 1,
        kDataEvent = 2,
        kPolyPressureEvent = 3,
        kNoteExpressionValueEvent = 4,
        kNoteExpressionTextEvent = 5,
        kChordEvent = 6,
        kScaleEvent = 7,
        kLegacyMIDICCOutEvent = 65535,
    };

    int32 busIndex;
    int32 sampleOffset;  // from the start of the block
    TQuarterNotes ppqPosition;
    uint16 flags;  // EventFlags
    uint16 type;   // EventTypes picks the member below
    union {
        NoteOnEvent noteOn;
        NoteOffEvent noteOff;
        DataEvent data;
        PolyPressureEvent polyPressure;
        NoteExpressionValueEvent noteExpressionValue;
        NoteExpressionTextEvent noteExpressionText;
        ChordEvent chord;
        ScaleEvent scale;
        LegacyMIDICCOutEvent midiCCOut;
    };
};
static_assert(sizeof(Event) == 48);
static_assert(offsetof(Event, sampleOffset) == 4);
static_assert(offsetof(Event, ppqPosition) == 8);
static_assert(offsetof(Event, flags) == 16);
static_assert(offsetof(Event, type) == 18);
static_assert(offsetof(Event, noteOn) == 24);
static_assert(offsetof(Event, noteOff) == 24);
static_assert(offsetof(Event, data) == 24);
static_assert(offsetof(Event, midiCCOut) == 24);

struct ProcessData {
    int32 processMode;         // ProcessModes
    int32 symbolicSampleSize;  // SymbolicSampleSizes
    int32 numSamples;
    int32 numInputs;  // audio buses, all of them whether active or not
    int32 numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;  // optional
    IEventList* inputEvents;                    // optional
    IEventList* outputEvents;                   // optional
    ProcessContext* processContext;             // optional
};
static_assert(sizeof(ProcessData) == 80);
static_assert(offsetof(ProcessData, symbolicSampleSize) == 4);
static_assert(offsetof(ProcessData, numSamples) == 8);
static_assert(offsetof(ProcessData, numInputs) == 12);
static_assert(offsetof(ProcessData, numOutputs) == 16);
static_assert(offsetof(ProcessData, inputs) == 24);
static_assert(offsetof(ProcessData, outputs) == 32);
static_assert(offsetof(ProcessData, inputParameterChanges) == 40);
static_assert(offsetof(ProcessData, outputParameterChanges) == 48);
static_assert(offsetof(ProcessData, inputEvents) == 56);
static_assert(offsetof(ProcessData, outputEvents) == 64);
static_assert(offsetof(ProcessData, processContext) == 72);

struct ParameterInfo {
    enum ParameterFlags : int32 {
        kNoFlags = 0,
        kCanAutomate = 1 << 0,
        kIsReadOnly = 1 << 1,  // excludes kCanAutomate
        kIsWrapAround = 1 << 2,
        kIsList = 1 << 3,  // shown as a list of its step texts
        kIsHidden = 1 << 4,
        kIsProgramChange = 1 << 15,  // unitId tells which unit's program it selects
        kIsBypass = 1 << 16,         // at most one; effects should have it
    };

    ParamID id;  // fixed for good: automation and MIDI mappings refer to it
    String128 title;
    String128 shortTitle;
    String128 units;
    int32 stepCount;  // 0 continuous, 1 toggle, else (discrete values - 1)
    ParamValue defaultNormalizedValue;
    UnitID unitId;
    int32 flags;  // ParameterFlags
};
static_assert(sizeof(ParameterInfo) == 792);
static_assert(offsetof(ParameterInfo, title) == 4);
static_assert(offsetof(ParameterInfo, shortTitle) == 260);
static_assert(offsetof(ParameterInfo, units) == 516);
static_assert(offsetof(ParameterInfo, stepCount) == 772);
static_assert(offsetof(ParameterInfo, defaultNormalizedValue) == 776);
static_assert(offsetof(ParameterInfo, unitId) == 784);
static_assert(offsetof(ParameterInfo, flags) == 788);

struct UnitInfo {
    UnitID id;
    UnitID parentUnitId;  // kNoParentUnitId for the root
    String128 name;
    ProgramListID programListId;  // kNoProgramListId: no programs
};
static_assert(sizeof(UnitInfo) == 268);
static_assert(offsetof(UnitInfo, parentUnitId) == 4);
static_assert(offsetof(UnitInfo, name) == 8);
static_assert(offsetof(UnitInfo, programListId) == 264);

struct ProgramListInfo {
    ProgramListID id;
    String128 name;
    int32 programCount;
};
static_assert(sizeof(ProgramListInfo) == 264);
static_assert(offsetof(ProgramListInfo, name) == 4);
static_assert(offsetof(ProgramListInfo, programCount) == 260);

struct ViewRect {
    int32 left;
    int32 top;
    int32 right;
    int32 bottom;
};
static_assert(sizeof(ViewRect) == 16);
static_assert(offsetof(ViewRect, top) == 4);
static_assert(offsetof(ViewRect, right) == 8);
static_assert(offsetof(ViewRect, bottom) == 12);

// ---------------------------------------------------------------------------------------------
// Processor side

struct IComponent : IPluginBase {
    static constexpr Uid iid = makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);

    virtual tresult VST3_API getControllerClassId(TUID classId) = 0;
    virtual tresult VST3_API setIoMode(IoMode mode) = 0;
    virtual int32 VST3_API getBusCount(MediaType type, BusDirection dir) = 0;
    virtual tresult VST3_API getBusInfo(MediaType type, BusDirection dir, int32 index,
                                        BusInfo& bus) = 0;
    virtual tresult VST3_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
    virtual tresult VST3_API activateBus(MediaType type, BusDirection dir, int32 index,
                                         TBool state) = 0;
    virtual tresult VST3_API setActive(TBool state) = 0;
    virtual tresult VST3_API setState(IBStream* state) = 0;
    virtual tresult VST3_API getState(IBStream* state) = 0;

protected:
    ~IComponent() = default;
};

struct IAudioProcessor : FUnknown {
    static constexpr Uid iid = makeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

    // kResultTrue when taken as asked; otherwise kResultFalse with the nearest arrangement the
    // plug-in switched to.
    virtual tresult VST3_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                SpeakerArrangement* outputs, int32 numOuts) = 0;
    virtual tresult VST3_API getBusArrangement(BusDirection dir, int32 index,
                                               SpeakerArrangement& arr) = 0;
    virtual tresult VST3_API canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 VST3_API getLatencySamples() = 0;
    virtual tresult VST3_API setupProcessing(ProcessSetup& setup) = 0;  // while inactive
    virtual tresult VST3_API setProcessing(TBool state) = 0;  // UI or audio thread: no allocation
    virtual tresult VST3_API process(ProcessData& data) = 0;
    virtual uint32 VST3_API getTailSamples() = 0;  // kNoTail, samples, or kInfiniteTail

protected:
    ~IAudioProcessor() = default;
};

// Hosts fill ProcessContext reliably only with the fields asked for here, once before activation.
struct IProcessContextRequirements : FUnknown {
    static constexpr Uid iid = makeUid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);

    enum Flags : uint32 {
        kNeedSystemTime = 1 << 0,
        kNeedContinousTimeSamples = 1 << 1,
        kNeedProjectTimeMusic = 1 << 2,
        kNeedBarPositionMusic = 1 << 3,
        kNeedCycleMusic = 1 << 4,
        kNeedSamplesToNextClock = 1 << 5,
        kNeedTempo = 1 << 6,
        kNeedTimeSignature = 1 << 7,
        kNeedChord = 1 << 8,
        kNeedFrameRate = 1 << 9,
        kNeedTransportState = 1 << 10,
    };

    virtual uint32 VST3_API getProcessContextRequirements() = 0;

protected:
    ~IProcessContextRequirements() = default;
};

// One parameter's changes in a block: points of a piecewise-linear curve.
struct IParamValueQueue : FUnknown {
    static constexpr Uid iid = makeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);

    virtual ParamID VST3_API getParameterId() = 0;
    virtual int32 VST3_API getPointCount() = 0;
    virtual tresult VST3_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
    virtual tresult VST3_API addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;

protected:
    ~IParamValueQueue() = default;
};

struct IParameterChanges : FUnknown {
    static constexpr Uid iid = makeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);

    virtual int32 VST3_API getParameterCount() = 0;
    virtual IParamValueQueue* VST3_API getParameterData(int32 index) = 0;
    virtual IParamValueQueue* VST3_API addParameterData(const ParamID& id, int32& index) = 0;

protected:
    ~IParameterChanges() = default;
};

struct IEventList : FUnknown {
    static constexpr Uid iid = makeUid(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);

    virtual int32 VST3_API getEventCount() = 0;
    virtual tresult VST3_API getEvent(int32 index, Event& e) = 0;
    virtual tresult VST3_API addEvent(Event& e) = 0;

protected:
    ~IEventList() = default;
};

// Asked of the component: program data by program list and index.
struct IProgramListData : FUnknown {
    static constexpr Uid iid = makeUid(0x8683B01F, 0x7B354F70, 0xA2651DEC, 0x353AF4FF);

    virtual tresult VST3_API programDataSupported(ProgramListID listId) = 0;
    virtual tresult VST3_API getProgramData(ProgramListID listId, int32 programIndex,
                                            IBStream* data) = 0;
    virtual tresult VST3_API setProgramData(ProgramListID listId, int32 programIndex,
                                            IBStream* data) = 0;

protected:
    ~IProgramListData() = default;
};

// ---------------------------------------------------------------------------------------------
// Messages between processor and controller, which hosts may run apart

struct IAttributeList : FUnknown {
    static constexpr Uid iid = makeUid(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);

    using AttrID = const char*;

    virtual tresult VST3_API setInt(AttrID id, int64 value) = 0;
    virtual tresult VST3_API getInt(AttrID id, int64& value) = 0;
    virtual tresult VST3_API setFloat(AttrID id, double value) = 0;
    virtual tresult VST3_API getFloat(AttrID id, double& value) = 0;
    virtual tresult VST3_API setString(AttrID id, const TChar* string) = 0;  // terminated
    // sizeInBytes, not characters.
    virtual tresult VST3_API getString(AttrID id, TChar* string, uint32 sizeInBytes) = 0;
    virtual tresult VST3_API setBinary(AttrID id, const void* data, uint32 sizeInBytes) = 0;
    virtual tresult VST3_API getBinary(AttrID id, const void*& data, uint32& sizeInBytes) = 0;

protected:
    ~IAttributeList() = default;
};

// Made by IHostApplication::createInstance with IMessage::iid as both class and interface ID.
struct IMessage : FUnknown {
    static constexpr Uid iid = makeUid(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);

    virtual FIDString VST3_API getMessageID() = 0;
    virtual void VST3_API setMessageID(FIDString id) = 0;
    virtual IAttributeList* VST3_API getAttributes() = 0;

protected:
    ~IMessage() = default;
};

// Implemented by both component and controller; hosts may connect them through a proxy.
struct IConnectionPoint : FUnknown {
    static constexpr Uid iid = makeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);

    virtual tresult VST3_API connect(IConnectionPoint* other) = 0;
    virtual tresult VST3_API disconnect(IConnectionPoint* other) = 0;
    virtual tresult VST3_API notify(IMessage* message) = 0;

protected:
    ~IConnectionPoint() = default;
};

// ---------------------------------------------------------------------------------------------
// Controller side

// The host's, handed to IEditController::setComponentHandler; UI thread only.
struct IComponentHandler : FUnknown {
    static constexpr Uid iid = makeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);

    virtual tresult VST3_API beginEdit(ParamID id) = 0;
    virtual tresult VST3_API performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult VST3_API endEdit(ParamID id) = 0;
    virtual tresult VST3_API restartComponent(int32 flags) = 0;  // RestartFlags

protected:
    ~IComponentHandler() = default;
};

// Optional, asked of the component handler.
struct IComponentHandler2 : FUnknown {
    static constexpr Uid iid = makeUid(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);

    virtual tresult VST3_API setDirty(TBool state) = 0;
    virtual tresult VST3_API requestOpenEditor(FIDString name = ViewType::kEditor) = 0;
    virtual tresult VST3_API startGroupEdit() = 0;
    virtual tresult VST3_API finishGroupEdit() = 0;

protected:
    ~IComponentHandler2() = default;
};

// Optional, asked of the component handler: tells the host program lists changed.
struct IUnitHandler : FUnknown {
    static constexpr Uid iid = makeUid(0x4B5147F8, 0x4654486B, 0x8DAB30BA, 0x163A3C56);

    virtual tresult VST3_API notifyUnitSelection(UnitID unitId) = 0;
    virtual tresult VST3_API notifyProgramListChange(ProgramListID listId, int32 programIndex) = 0;

protected:
    ~IUnitHandler() = default;
};

struct IEditController : IPluginBase {
    static constexpr Uid iid = makeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);

    virtual tresult VST3_API setComponentState(IBStream* state) = 0;  // what IComponent saved
    virtual tresult VST3_API setState(IBStream* state) = 0;
    virtual tresult VST3_API getState(IBStream* state) = 0;
    virtual int32 VST3_API getParameterCount() = 0;
    virtual tresult VST3_API getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
    virtual tresult VST3_API getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                   String128 string) = 0;
    virtual tresult VST3_API getParamValueByString(ParamID id, TChar* string,
                                                   ParamValue& valueNormalized) = 0;
    virtual ParamValue VST3_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue VST3_API plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue VST3_API getParamNormalized(ParamID id) = 0;
    // Updates the controller and its view only; never echoed back through the handler.
    virtual tresult VST3_API setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult VST3_API setComponentHandler(IComponentHandler* handler) = 0;
    virtual IPlugView* VST3_API createView(FIDString name) = 0;  // ViewType::kEditor

protected:
    ~IEditController() = default;
};

struct IEditController2 : FUnknown {
    static constexpr Uid iid = makeUid(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);

    virtual tresult VST3_API setKnobMode(KnobMode mode) = 0;
    virtual tresult VST3_API openHelp(TBool onlyCheck) = 0;
    virtual tresult VST3_API openAboutBox(TBool onlyCheck) = 0;

protected:
    ~IEditController2() = default;
};

// Hosts turn incoming MIDI controllers into changes of the parameter named here.
struct IMidiMapping : FUnknown {
    static constexpr Uid iid = makeUid(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);

    // kResultTrue with id set when the controller is mapped, else kResultFalse.
    virtual tresult VST3_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                         CtrlNumber midiControllerNumber,
                                                         ParamID& id) = 0;

protected:
    ~IMidiMapping() = default;
};

// Live controller input for MIDI learn; after remapping, restartComponent with
// kMidiCCAssignmentChanged.
struct IMidiLearn : FUnknown {
    static constexpr Uid iid = makeUid(0x6B2449CC, 0x419740B5, 0xAB3C79DA, 0xC5FE5C86);

    virtual tresult VST3_API onLiveMIDIControllerInput(int32 busIndex, int16 channel,
                                                       CtrlNumber midiCC) = 0;

protected:
    ~IMidiLearn() = default;
};

struct IUnitInfo : FUnknown {
    static constexpr Uid iid = makeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);

    virtual int32 VST3_API getUnitCount() = 0;  // at least the root unit
    virtual tresult VST3_API getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
    virtual int32 VST3_API getProgramListCount() = 0;
    virtual tresult VST3_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
    virtual tresult VST3_API getProgramName(ProgramListID listId, int32 programIndex,
                                            String128 name) = 0;
    virtual tresult VST3_API getProgramInfo(ProgramListID listId, int32 programIndex,
                                            CString attributeId, String128 attributeValue) = 0;
    virtual tresult VST3_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
    virtual tresult VST3_API getProgramPitchName(ProgramListID listId, int32 programIndex,
                                                 int16 midiPitch, String128 name) = 0;
    virtual UnitID VST3_API getSelectedUnit() = 0;
    virtual tresult VST3_API selectUnit(UnitID unitId) = 0;
    virtual tresult VST3_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex,
                                          int32 channel, UnitID& unitId) = 0;
    // programIndex < 0: listOrUnitId is a unit.
    virtual tresult VST3_API setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                                IBStream* data) = 0;

protected:
    ~IUnitInfo() = default;
};

// The host's, among the interfaces of initialize()'s context.
struct IHostApplication : FUnknown {
    static constexpr Uid iid = makeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);

    virtual tresult VST3_API getName(String128 name) = 0;
    virtual tresult VST3_API createInstance(TUID cid, TUID interfaceId, void** obj) = 0;

protected:
    ~IHostApplication() = default;
};

// ---------------------------------------------------------------------------------------------
// Editor

struct IPlugView : FUnknown {
    static constexpr Uid iid = makeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

    virtual tresult VST3_API isPlatformTypeSupported(FIDString type) = 0;
    virtual tresult VST3_API attached(void* parent, FIDString type) = 0;
    virtual tresult VST3_API removed() = 0;
    virtual tresult VST3_API onWheel(float distance) = 0;
    // kResultTrue only for keys really handled, or the host's shortcuts stop working.
    virtual tresult VST3_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult VST3_API onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult VST3_API getSize(ViewRect* size) = 0;
    virtual tresult VST3_API onSize(ViewRect* newSize) = 0;  // the only time to resize
    virtual tresult VST3_API onFocus(TBool state) = 0;
    virtual tresult VST3_API setFrame(IPlugFrame* frame) = 0;
    virtual tresult VST3_API canResize() = 0;
    virtual tresult VST3_API checkSizeConstraint(ViewRect* rect) = 0;

protected:
    ~IPlugView() = default;
};

// The host's window around the view. On Linux it also answers IRunLoop.
struct IPlugFrame : FUnknown {
    static constexpr Uid iid = makeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);

    // The host calls IPlugView::onSize from within when the size changes.
    virtual tresult VST3_API resizeView(IPlugView* view, ViewRect* newSize) = 0;

protected:
    ~IPlugFrame() = default;
};

// Optional, asked of the view: the host's UI scale on Windows and Linux.
struct IPlugViewContentScaleSupport : FUnknown {
    static constexpr Uid iid = makeUid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);

    using ScaleFactor = float;

    virtual tresult VST3_API setContentScaleFactor(ScaleFactor factor) = 0;

protected:
    ~IPlugViewContentScaleSupport() = default;
};

// Linux has no process-wide event loop: the host's, found by asking IPlugFrame for IRunLoop,
// runs the editor's timers and file-descriptor callbacks on the UI thread.

using TimerInterval = uint64;  // milliseconds
using FileDescriptor = int;

struct IEventHandler : FUnknown {
    static constexpr Uid iid = makeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);

    virtual void VST3_API onFDIsSet(FileDescriptor fd) = 0;

protected:
    ~IEventHandler() = default;
};

struct ITimerHandler : FUnknown {
    static constexpr Uid iid = makeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

    virtual void VST3_API onTimer() = 0;

protected:
    ~ITimerHandler() = default;
};

struct IRunLoop : FUnknown {
    static constexpr Uid iid = makeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

    virtual tresult VST3_API registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
    virtual tresult VST3_API unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult VST3_API registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
    virtual tresult VST3_API unregisterTimer(ITimerHandler* handler) = 0;

protected:
    ~IRunLoop() = default;
};

// ---------------------------------------------------------------------------------------------

namespace Detail {
template <typename... Interfaces>
constexpr bool onlyVtablePointers() {
    return ((sizeof(Interfaces) == sizeof(void*) && std::is_abstract_v<Interfaces> &&
             !std::has_virtual_destructor_v<Interfaces>)&&...);
}
}  // namespace Detail

static_assert(
    Detail::onlyVtablePointers<
        FUnknown, IPluginBase, IPluginFactory, IPluginFactory2, IPluginFactory3, IBStream,
        ISizeableStream, IComponent, IAudioProcessor, IProcessContextRequirements, IParamValueQueue,
        IParameterChanges, IEventList, IProgramListData, IAttributeList, IMessage, IConnectionPoint,
        IComponentHandler, IComponentHandler2, IUnitHandler, IEditController, IEditController2,
        IMidiMapping, IMidiLearn, IUnitInfo, IHostApplication, IPlugView, IPlugFrame,
        IPlugViewContentScaleSupport, IEventHandler, ITimerHandler, IRunLoop>(),
    "an interface is a bare vtable pointer, without a virtual destructor");

}  // namespace Vst3
