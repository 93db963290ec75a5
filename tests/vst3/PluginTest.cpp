// The VST3 bundle as a host sees it: its binary loaded, entered through GetPluginFactory, and
// compared against the VST 2.x plug-in of the same build, bit for bit.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/CountingAllocator.h"
#include "tests/support/ProductFacts.h"
#include "tests/support/Signal.h"
#include "tools/host/Host.h"
#include "tools/host/Vst3Instance.h"
#include "tools/qc-host/FxFile.h"
#include "vst3/Vst3Interface.h"

namespace {

using namespace Vst3;
using Bytes = std::vector<unsigned char>;

constexpr int32 kUniqueId = 0x00514356;
constexpr ParamID kBypassId = 100;
constexpr ParamID kProgramId = 101;
constexpr int32 kBlock = 512;
constexpr double kRate = 48000.0;
constexpr float kControllerStep = 0x1.020408p-7f;  // a MIDI controller step, as the model has it
const Uid kProcessor = vst2ReplacementUid(kUniqueId, "Quellin Corvane");
const Uid kController =
    vst2ReplacementUid(kUniqueId, "Quellin Corvane", Vst2ReplacementClass::Controller);

using Changes = Vst3Host::ParameterChanges;
using Vst3Host::MemoryStream;
using Vst3Host::query;

std::string ascii(const char16* text) {
    return Vst3Host::narrow(text);
}

// The bundle stays loaded for the whole run, as hosts keep it.
Vst3Host::Module& module() {
    static Vst3Host::Module loaded;
    static const bool once = loaded.load(QC_VST3_PATH);
    (void)once;
    return loaded;
}

// One processor and its controller, set up as a host does before playing.
struct Vst3Effect : Vst3Host::Instance {
    Vst3Effect() : Instance(module(), kProcessor) { start(kRate, kBlock); }
};

VstHost::PluginLibrary& vst2Library() {
    static VstHost::PluginLibrary library = [] {
        VstHost::PluginLibrary l;
        l.load(QC_CORVANE_X64_PATH);
        return l;
    }();
    return library;
}

struct Vst2Effect {
    Vst2Effect() {
        EXPECT_TRUE(host.open(vst2Library())) << host.error();
        host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
        host.dispatch(effSetBlockSize, 0, kBlock);
        host.dispatch(effMainsChanged, 0, 1);
    }
    Bytes chunk(bool program = false) {
        void* data = nullptr;
        const VstIntPtr size = host.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
        if (size <= 0 || data == nullptr) return {};
        return {static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size};
    }
    VstIntPtr setChunk(Bytes bytes) {
        return host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
    }
    VstHost::Host host;
};

// Stereo noise and its output, one block at a time.
struct Signal {
    explicit Signal(int32 blocks) {
        TestSupport::makeTestSignal(left, right, static_cast<std::size_t>(blocks) * kBlock);
        outL.assign(left.size(), 0.0f);
        outR.assign(right.size(), 0.0f);
    }
    float* in[2];
    float* out[2];
    void at(int32 block) {
        const std::size_t start = static_cast<std::size_t>(block) * kBlock;
        in[0] = left.data() + start;
        in[1] = right.data() + start;
        out[0] = outL.data() + start;
        out[1] = outR.data() + start;
    }
    std::vector<float> left, right, outL, outR;
};

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST(Vst3Module, ExportsTheEntryPointsAndDescribesBothClasses) {
    ASSERT_NE(module().factory(), nullptr) << QC_VST3_PATH;
    for (const char* name : {kGetPluginFactoryName, kModuleInitName, kModuleExitName})
        EXPECT_NE(module().symbol(name), nullptr) << name;
    EXPECT_EQ(module().symbol("VSTPluginMain"), nullptr);
    // Entries and exits count; an exit without an entry is refused.
    EXPECT_TRUE(module().enter());
    EXPECT_TRUE(module().exit());
    EXPECT_TRUE(module().exit());
    EXPECT_FALSE(module().exit());
    EXPECT_TRUE(module().enter());
    IPluginFactory* factory = module().factory();
    PFactoryInfo info{};
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Quellin Sound Design");
    EXPECT_STREQ(info.url, "https://quellin.example/");
    EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);
    IPluginFactory2* factory2 = query<IPluginFactory2>(factory);
    IPluginFactory3* factory3 = query<IPluginFactory3>(factory);
    ASSERT_NE(factory2, nullptr);
    ASSERT_NE(factory3, nullptr);
    ASSERT_EQ(factory->countClasses(), 2);
    const struct {
        const Uid* uid;
        const char* category;
        const char* subCategories;
    } classes[] = {{&kProcessor, kVstAudioEffectClass, "Fx"},
                   {&kController, kVstComponentControllerClass, ""}};
    for (int32 i = 0; i < 2; ++i) {
        PClassInfo2 c{};
        ASSERT_EQ(factory2->getClassInfo2(i, &c), kResultOk);
        EXPECT_TRUE(uidEquals(c.cid, *classes[i].uid)) << i;
        EXPECT_STREQ(c.category, classes[i].category);
        EXPECT_STREQ(c.subCategories, classes[i].subCategories);
        EXPECT_STREQ(c.name, "Quellin Corvane");
        EXPECT_STREQ(c.vendor, "Quellin Sound Design");
        EXPECT_STREQ(c.version, "1.0.0");
        EXPECT_STREQ(c.sdkVersion, kVstVersionString);
        EXPECT_EQ(c.cardinality, PClassInfo::kManyInstances);
        PClassInfoW w{};
        ASSERT_EQ(factory3->getClassInfoUnicode(i, &w), kResultOk);
        EXPECT_EQ(ascii(w.name), "Quellin Corvane");
    }
    PClassInfo c{};
    EXPECT_EQ(factory->getClassInfo(2, &c), kInvalidArgument);
    void* obj = &c;
    const Uid other = vst2ReplacementUid(kUniqueId + 1, "Quellin Corvane");
    EXPECT_EQ(factory->createInstance(other.bytes, IComponent::iid.bytes, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
    factory2->release();
    factory3->release();
}

TEST(Vst3Processor, TakesOnlyStereoAnd32BitSamples) {
    Vst3Effect effect;
    ASSERT_NE(effect.processor, nullptr);
    EXPECT_TRUE(effect.connected);
    SpeakerArrangement stereo = SpeakerArr::kStereo, mono = SpeakerArr::kMono;
    SpeakerArrangement two[] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    const struct {
        SpeakerArrangement* in;
        int32 ins;
        SpeakerArrangement* out;
        int32 outs;
        tresult expected;
    } cases[] = {{&stereo, 1, &stereo, 1, kResultTrue},  {&mono, 1, &stereo, 1, kResultFalse},
                 {&stereo, 1, &mono, 1, kResultFalse},   {two, 2, &stereo, 1, kResultFalse},
                 {nullptr, 0, nullptr, 0, kResultFalse}, {nullptr, 1, &stereo, 1, kResultFalse}};
    for (const auto& c : cases)
        EXPECT_EQ(effect.processor->setBusArrangements(c.in, c.ins, c.out, c.outs), c.expected);
    SpeakerArrangement arrangement = 0;
    ASSERT_EQ(effect.processor->getBusArrangement(kOutput, 0, arrangement), kResultOk);
    EXPECT_EQ(arrangement, SpeakerArr::kStereo);
    EXPECT_EQ(effect.processor->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(effect.processor->canProcessSampleSize(kSample64), kResultFalse);
    EXPECT_EQ(effect.processor->getLatencySamples(), 0u);
    EXPECT_EQ(effect.processor->getTailSamples(), kNoTail);
    EXPECT_EQ(effect.component->getBusCount(kAudio, kInput), 1);
    // One event input, so hosts route MIDI for the controllers MIDI learn binds.
    EXPECT_EQ(effect.component->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(effect.component->getBusCount(kEvent, kOutput), 0);
    BusInfo events{};
    ASSERT_EQ(effect.component->getBusInfo(kEvent, kInput, 0, events), kResultOk);
    EXPECT_EQ(events.channelCount, 16);
    EXPECT_EQ(events.mediaType, kEvent);
    EXPECT_EQ(effect.component->activateBus(kEvent, kInput, 0, 1), kResultOk);
    EXPECT_EQ(effect.component->getBusInfo(kEvent, kInput, 1, events), kInvalidArgument);
    TUID id{};
    ASSERT_EQ(effect.component->getControllerClassId(id), kResultOk);
    EXPECT_TRUE(uidEquals(id, kController));
}

// The bank both plug-ins start from: the values in program 0, and a controller bound to each
// parameter a case changes in the middle of a block.
Bytes bankWith(const std::vector<float>& values, int controller, int parameter) {
    Vst2Effect source;
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
        source.host.setParameter(i, values[i]);
    Bytes bank = source.chunk();
    if (controller >= 0) {
        // The bindings close the bank, one per parameter: 1 and the controller, or 0.
        std::size_t at = bank.size() - 5;
        Bytes bindings;
        for (int i = 0; i < 5; ++i) {
            if (i == parameter) {
                bindings.push_back(1);
                bindings.push_back(static_cast<unsigned char>(controller));
            } else {
                bindings.push_back(0);
            }
        }
        bank.resize(at);
        bank.insert(bank.end(), bindings.begin(), bindings.end());
    }
    return bank;
}

struct RenderCase {
    const char* name;
    std::vector<float> values;
    int parameter;  // changed in the middle of a block, -1 for none
    int controllerValue;
    int32 block, offset;
};

TEST(Vst3Processor, RendersBitForBitWhatTheVst2PluginRenders) {
    const RenderCase cases[] = {
        {"defaults", {}, -1, 0, 0, 0},
        {"both, steep", {1.0f, 0.3f, 1.0f, 0.8f, 0.9f}, -1, 0, 0, 0},
        {"low, cutoff moves", {0.4f, 0.1f, 0.5f, 0.2f, 0.6f}, 1, 100, 1, 37},
        {"high, slope moves", {0.6f, 0.5f, 0.0f, 0.5f, 0.5f}, 2, 127, 2, 511},
        {"both, mode moves at the start", {0.9f, 0.2f, 0.3f, 0.0f, 0.1f}, 0, 40, 1, 0},
    };
    for (const RenderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int controller = c.parameter >= 0 ? 20 + c.parameter : -1;
        const Bytes bank = bankWith(c.values, controller, c.parameter);
        Vst2Effect vst2;
        ASSERT_EQ(vst2.setChunk(bank), 1);
        Vst3Effect vst3;
        ASSERT_EQ(vst3.setState(bank), kResultOk);
        constexpr int32 kBlocks = 4;
        Signal a(kBlocks), b(kBlocks);
        for (int32 k = 0; k < kBlocks; ++k) {
            a.at(k);
            b.at(k);
            Changes changes;
            if (k == c.block && c.parameter >= 0) {
                vst2.host.sendEvents(
                    {VstHost::makeControlChange(c.offset, 0, controller, c.controllerValue)});
                changes.add(static_cast<ParamID>(c.parameter), c.offset,
                            static_cast<float>(c.controllerValue) * kControllerStep);
            }
            ASSERT_TRUE(vst2.host.processReplacing({a.in[0], a.in[1]}, {a.out[0], a.out[1]}, kBlock,
                                                   kBlock));
            ASSERT_EQ(vst3.process(b.in, b.out, kBlock, &changes), kResultOk);
        }
        EXPECT_TRUE(sameBits(a.outL, b.outL));
        EXPECT_TRUE(sameBits(a.outR, b.outR));
        if (!c.values.empty()) {
            EXPECT_FALSE(sameBits(a.outL, a.left)) << "the effect did something";
        }
    }
}

TEST(Vst3Processor, ProcessesInPlaceAndFlushesChangesWithoutAudio) {
    Vst3Effect apart, inPlace, flushed;
    Signal a(2), b(2), c(2);
    Changes first;
    first.add(0, 0, 1.0);
    first.add(1, 0, 0.2);
    Changes none;
    ASSERT_EQ(flushed.process(nullptr, nullptr, 0, &first), kResultOk);
    for (int32 k = 0; k < 2; ++k) {
        a.at(k);
        b.at(k);
        c.at(k);
        apart.process(a.in, a.out, kBlock, k == 0 ? &first : &none);
        std::memcpy(b.out[0], b.in[0], sizeof(float) * kBlock);
        std::memcpy(b.out[1], b.in[1], sizeof(float) * kBlock);
        inPlace.process(b.out, b.out, kBlock, k == 0 ? &first : &none);
        flushed.process(c.in, c.out, kBlock, &none);
    }
    EXPECT_TRUE(sameBits(a.outL, b.outL));
    EXPECT_TRUE(sameBits(a.outR, b.outR));
    EXPECT_TRUE(sameBits(a.outL, c.outL));
    EXPECT_FALSE(sameBits(a.outL, a.left));
}

TEST(Vst3Processor, BypassFadesToTheInputAndBackToTheEffect) {
    Vst3Effect bypassed, reference;
    constexpr int32 kFade = 240;  // 5 ms at 48 kHz
    constexpr int32 kBlocks = 6;
    Signal a(kBlocks), b(kBlocks);
    Changes setup;
    setup.add(0, 0, 1.0);
    Changes on, off, none;
    on.add(kBypassId, 0, 1.0);
    off.add(kBypassId, 0, 0.0);
    for (int32 k = 0; k < kBlocks; ++k) {
        a.at(k);
        b.at(k);
        Changes* changes = k == 0 ? &setup : k == 1 ? &on : k == 3 ? &off : &none;
        ASSERT_EQ(bypassed.process(a.in, a.out, kBlock, changes), kResultOk);
        ASSERT_EQ(reference.process(b.in, b.out, kBlock, k == 0 ? &setup : &none), kResultOk);
    }
    auto frames = [](const std::vector<float>& v, int32 from, int32 to) {
        return std::vector<float>(v.begin() + from, v.begin() + to);
    };
    // Processed, fading, then the input bit for bit until bypass ends.
    EXPECT_TRUE(sameBits(frames(a.outL, 0, kBlock), frames(b.outL, 0, kBlock)));
    EXPECT_FALSE(sameBits(frames(a.outL, kBlock, kBlock + kFade - 1),
                          frames(a.left, kBlock, kBlock + kFade - 1)));
    EXPECT_TRUE(sameBits(frames(a.outL, kBlock + kFade, 3 * kBlock),
                         frames(a.left, kBlock + kFade, 3 * kBlock)));
    EXPECT_TRUE(sameBits(frames(a.outR, kBlock + kFade, 3 * kBlock),
                         frames(a.right, kBlock + kFade, 3 * kBlock)));
    // Back: the effect kept running underneath, so after the fade it is the reference again.
    EXPECT_FALSE(sameBits(frames(a.outL, 3 * kBlock, 3 * kBlock + kFade - 1),
                          frames(b.outL, 3 * kBlock, 3 * kBlock + kFade - 1)));
    EXPECT_TRUE(sameBits(frames(a.outL, 3 * kBlock + kFade, kBlocks * kBlock),
                         frames(b.outL, 3 * kBlock + kFade, kBlocks * kBlock)));
}

TEST(Vst3Processor, ProcessingAllocatesNothing) {
    ASSERT_TRUE(TestSupport::countingAllocatorActive());
    const long beforeCreation = TestSupport::allocationCount();
    Vst3Effect effect;
    // A Windows DLL has its own static runtime, whose allocations this counter cannot see.
    if (TestSupport::allocationCount() == beforeCreation)
        GTEST_SKIP() << "the module's allocations are not visible here";
    Signal signal(8);
    Changes changes;
    for (ParamID id = 0; id < 5; ++id) {
        changes.add(id, 100, 0.7);
        changes.add(id, 3, 0.2);
    }
    changes.add(kBypassId, 0, 1.0);
    changes.add(kProgramId, 0, 0.5);
    Changes none;
    signal.at(0);
    effect.process(signal.in, signal.out, kBlock, &none);  // the first block may set up
    const long before = TestSupport::allocationCount();
    for (int32 k = 1; k < 8; ++k) {
        signal.at(k);
        effect.process(signal.in, signal.out, kBlock, k % 2 == 0 ? &changes : &none);
        effect.process(nullptr, nullptr, 0, &changes);
    }
    EXPECT_EQ(TestSupport::allocationCount(), before);
}

// Two blocks of noise through a new instance: the first block brings changes.
std::vector<float> renderLeft(const std::function<void(Vst3Effect&, Changes&)>& prepare) {
    Vst3Effect effect;
    Changes changes;
    changes.add(0, 0, 1.0);
    changes.add(1, 0, 0.3);
    prepare(effect, changes);
    Changes none;
    Signal signal(2);
    for (int32 k = 0; k < 2; ++k) {
        signal.at(k);
        EXPECT_EQ(effect.process(signal.in, signal.out, kBlock, k == 0 ? &changes : &none),
                  kResultOk);
    }
    return signal.outL;
}

TEST(Vst3Processor, BadInputChangesNothingOrTheNearestValidThing) {
    const std::vector<float> reference = renderLeft([](Vst3Effect&, Changes&) {});
    const struct {
        const char* name;
        std::function<void(Vst3Effect&, Changes&)> prepare;
    } cases[] = {
        {"rates of 0 and NaN",
         [](Vst3Effect& e, Changes&) {
             for (double rate : {0.0, std::nan(""), -kRate}) {
                 ProcessSetup setup{kRealtime, kSample32, kBlock, rate};
                 EXPECT_EQ(e.processor->setupProcessing(setup), kResultOk);
             }
         }},
        {"unknown IDs and NaN values",
         [](Vst3Effect&, Changes& c) {
             for (ParamID id : {5u, 99u, 102u, kMaxParamId, kNoParamId}) c.add(id, 10, 0.9);
             c.add(1, 20, std::nan(""));
         }},
        {"values beyond 0..1 as the nearest end",
         [](Vst3Effect& e, Changes&) {
             Changes beyond;
             beyond.add(0, 0, 7.0);
             beyond.add(1, 0, 0.3);
             beyond.add(3, 0, -2.0);
             e.process(nullptr, nullptr, 0, &beyond);
         }},
        {"a 64-bit block and one without changes or buses",
         [](Vst3Effect& e, Changes&) {
             ProcessData data{};
             data.symbolicSampleSize = kSample64;
             data.numSamples = kBlock;
             EXPECT_EQ(e.processor->process(data), kInvalidArgument);
             data.symbolicSampleSize = kSample32;
             EXPECT_EQ(e.processor->process(data), kResultOk);
             EXPECT_EQ(e.component->setState(nullptr), kResultFalse);
             EXPECT_EQ(e.component->getState(nullptr), kResultFalse);
         }},
    };
    for (const auto& c : cases) EXPECT_TRUE(sameBits(renderLeft(c.prepare), reference)) << c.name;

    // Mono buses, which the processor refuses to be set up with, come out silent.
    Vst3Effect effect;
    std::vector<float> in(kBlock, 0.5f), out(kBlock, 0.5f);
    float* inChannels[] = {in.data()};
    float* outChannels[] = {out.data()};
    AudioBusBuffers inBus{1, 0, {inChannels}};
    AudioBusBuffers outBus{1, 0, {outChannels}};
    ProcessData data{};
    data.symbolicSampleSize = kSample32;
    data.numSamples = kBlock;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    EXPECT_EQ(effect.processor->process(data), kResultOk);
    EXPECT_EQ(out, std::vector<float>(kBlock, 0.0f));
    // So do stereo buses with a missing channel.
    std::fill(out.begin(), out.end(), 0.5f);
    float* halfIn[] = {in.data(), nullptr};
    float* halfOut[] = {out.data(), nullptr};
    inBus = {2, 0, {halfIn}};
    outBus = {2, 0, {halfOut}};
    EXPECT_EQ(effect.processor->process(data), kResultOk);
    EXPECT_EQ(out, std::vector<float>(kBlock, 0.0f));
}

// A VST 2.x instance with edited programs: values, names, a selected program.
Bytes editedVst2Bank(Vst2Effect& vst2) {
    for (int p : {0, 3, 31}) {
        vst2.host.dispatch(effSetProgram, 0, p);
        std::string name = "Edited " + std::to_string(p);
        vst2.host.dispatch(effSetProgramName, 0, 0, name.data());
        for (int i = 0; i < 5; ++i) vst2.host.setParameter(i, 0.1f * static_cast<float>(i + p % 5));
    }
    vst2.host.dispatch(effSetProgram, 0, 3);
    return vst2.chunk();
}

TEST(Vst3State, MovesBetweenBothPluginsAndRoundTrips) {
    Vst2Effect vst2;
    const Bytes bank = editedVst2Bank(vst2);
    Vst3Effect vst3;
    ASSERT_EQ(vst3.setState(bank), kResultOk);
    // A bank does not say which program is selected; the state does.
    Changes select;
    select.add(kProgramId, 0, 3.0 / 31.0);
    ASSERT_EQ(vst3.process(nullptr, nullptr, 0, &select), kResultOk);
    const Bytes state = vst3.state();
    ASSERT_GE(state.size(), bank.size());
    EXPECT_EQ(Bytes(state.begin(), state.begin() + static_cast<long>(bank.size())), bank);
    // The VST 2.x plug-in reads the state as a bank, and a new VST3 instance as it was.
    Vst2Effect back;
    ASSERT_EQ(back.setChunk(state), 1);
    EXPECT_EQ(back.chunk(), bank);
    Vst3Effect again;
    ASSERT_EQ(again.setState(state), kResultOk);
    EXPECT_EQ(again.state(), state);
    ASSERT_EQ(again.controller->setComponentState(nullptr), kResultFalse);
    MemoryStream stream(state);
    ASSERT_EQ(again.controller->setComponentState(&stream), kResultOk);
    EXPECT_DOUBLE_EQ(again.controller->getParamNormalized(kProgramId), 3.0 / 31.0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(static_cast<float>(again.controller->getParamNormalized(i)),
                        vst2.host.getParameter(i))
            << i;
    }
}

TEST(Vst3State, AcceptsPresetContainersAndRefusesWhatIsNotItsOwn) {
    Vst2Effect vst2;
    const Bytes bank = editedVst2Bank(vst2);
    const Bytes program = vst2.chunk(true);
    QcHost::FxFile fxb;
    fxb.kind = QcHost::FxKind::BankChunk;
    fxb.version = 2;
    fxb.fxID = kUniqueId;
    fxb.numPrograms = 32;
    fxb.currentProgram = 31;
    fxb.chunk = bank;
    QcHost::FxFile fxp;
    fxp.kind = QcHost::FxKind::ProgramChunk;
    fxp.fxID = kUniqueId;
    fxp.chunk = program;
    fxp.program.name = "Edited 3";
    QcHost::FxFile foreignFxb = fxb;
    foreignFxb.fxID = kUniqueId + 1;
    Bytes foreignName = bank;
    foreignName[0] = 'X';
    QcHost::FxFile shortFxb = fxb;
    shortFxb.chunk.resize(700);
    // 700 bytes of the bank and a trailer selecting program 5 after them.
    const unsigned char trailer[] = {'Q', 'C', 'p', 'g', 1, 0, 0, 0, 5, 0, 0, 0};
    Bytes shortState(bank.begin(), bank.begin() + 700 + sizeof(trailer));
    std::copy(trailer, trailer + sizeof(trailer), shortState.begin() + 700);
    // The bank and its selection record, the record cut short.
    Bytes cutRecord = bank;
    cutRecord.insert(cutRecord.end(), trailer, trailer + sizeof(trailer) - 1);
    // As the 32-bit build writes banks: its version, and no bindings after the programs.
    Bytes withoutBindings(bank.begin(), bank.end() - 5);
    withoutBindings[160] = 0xD0;  // 2000, little-endian
    withoutBindings[161] = 0x07;
    Bytes truncatedFxb = QcHost::encodeFx(fxb);
    truncatedFxb.resize(truncatedFxb.size() - 1);

    const struct {
        const char* name;
        Bytes bytes;
        bool accepted;
        int selected;  // -1: unchanged
    } cases[] = {
        {"bank chunk", bank, true, -1},
        {"program chunk", program, true, -1},
        {"bank without bindings", withoutBindings, true, -1},
        {"FXB", QcHost::encodeFx(fxb), true, 31},
        {"FXP", QcHost::encodeFx(fxp), true, -1},
        {"empty", {}, false, -1},
        {"header only", Bytes(bank.begin(), bank.begin() + 164), false, -1},
        {"bank cut short", Bytes(bank.begin(), bank.end() - 1), false, -1},
        {"bank cut in a program", Bytes(bank.begin(), bank.begin() + 700), false, -1},
        {"another effect's chunk", foreignName, false, -1},
        {"another plug-in's FXB", QcHost::encodeFx(foreignFxb), false, -1},
        {"FXB cut short", truncatedFxb, false, -1},
        {"FXB of a bank cut short", QcHost::encodeFx(shortFxb), false, -1},
        {"state of a bank cut short", shortState, false, -1},
        {"state with its selection record cut short", cutRecord, false, -1},
        {"noise", Bytes(400, 0xA5), false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Vst3Effect vst3;
        vst3.controller->setParamNormalized(kProgramId, 5.0 / 31.0);
        Changes select;
        select.add(kProgramId, 0, 5.0 / 31.0);
        vst3.process(nullptr, nullptr, 0, &select);
        const Bytes before = vst3.state();
        EXPECT_EQ(vst3.setState(c.bytes), c.accepted ? kResultOk : kResultFalse);
        MemoryStream stream(c.bytes);
        EXPECT_EQ(vst3.controller->setComponentState(&stream),
                  c.accepted ? kResultOk : kResultFalse);
        if (!c.accepted) {
            EXPECT_EQ(vst3.state(), before) << "nothing changed";
            continue;
        }
        const Bytes after = vst3.state();
        const int selected = after[after.size() - 4];
        EXPECT_EQ(selected, c.selected >= 0 ? c.selected : 5);
        EXPECT_DOUBLE_EQ(vst3.controller->getParamNormalized(kProgramId), selected / 31.0);
        if (std::string(c.name) == "program chunk" || std::string(c.name) == "FXP") {
            for (int i = 0; i < 5; ++i)
                EXPECT_FLOAT_EQ(static_cast<float>(vst3.controller->getParamNormalized(i)),
                                vst2.host.getParameter(i));
        } else {
            EXPECT_EQ(Bytes(after.begin(), after.begin() + static_cast<long>(bank.size())), bank);
        }
    }
}

// The host's two threads at once: states loaded and saved on one while the other processes
// with automation and program changes. Run under ThreadSanitizer in its tree.
TEST(Vst3Threads, StatesMoveWhileTheAudioThreadProcesses) {
    Vst2Effect vst2;
    const Bytes bank = editedVst2Bank(vst2);
    Vst3Effect effect;
    std::atomic<bool> stop{false};
    std::atomic<bool> finite{true};
    std::thread audio([&] {
        Signal signal(1);
        signal.at(0);
        Changes changes, none;
        changes.add(1, 100, 0.4);
        changes.add(3, 200, 0.9);
        changes.add(kProgramId, 0, 0.5);
        for (int k = 0; !stop.load(); ++k) {
            effect.process(signal.in, signal.out, kBlock, k % 2 == 0 ? &changes : &none);
            for (float sample : signal.outL)
                if (!std::isfinite(sample)) finite = false;
        }
    });
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(effect.setState(i % 2 == 0 ? bank : effect.state()), kResultOk);
    }
    stop = true;
    audio.join();
    EXPECT_TRUE(finite.load());
    const Bytes state = effect.state();
    EXPECT_EQ(Bytes(state.begin(), state.begin() + 164), Bytes(bank.begin(), bank.begin() + 164));
}

TEST(Vst3Controller, DescribesTheParametersAsTheVst2PluginShowsThem) {
    Vst3Effect vst3;
    Vst2Effect vst2;
    IEditController* controller = vst3.controller;
    // The seven visible ones, then the hidden learned report and one per MIDI controller.
    ASSERT_EQ(controller->getParameterCount(), 7 + 1 + 128);
    const struct {
        ParamID id;
        const char* title;
        int32 stepCount;
        int32 flags;
    } infos[] = {
        {0, "Output", 3, ParameterInfo::kCanAutomate | ParameterInfo::kIsList},
        {1, "Cutoff Freq.", 0, ParameterInfo::kCanAutomate},
        {2, "Filter Slope", 3, ParameterInfo::kCanAutomate | ParameterInfo::kIsList},
        {3, "Stereo Spread", 0, ParameterInfo::kCanAutomate},
        {4, "Bass Amp", 0, ParameterInfo::kCanAutomate},
        {kBypassId, "Bypass", 1, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass},
        {kProgramId, "Program", 31, ParameterInfo::kIsProgramChange | ParameterInfo::kIsList},
    };
    for (int32 i = 0; i < 7; ++i) {
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        EXPECT_EQ(info.id, infos[i].id);
        EXPECT_EQ(ascii(info.title), infos[i].title);
        EXPECT_EQ(info.stepCount, infos[i].stepCount) << i;
        EXPECT_EQ(info.flags, infos[i].flags) << i;
        if (i < 5) {
            VstHost::FieldText name = vst2.host.getString(effGetParamName, i, 64);
            EXPECT_EQ(ascii(info.shortTitle), name.text) << i;
            EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, vst2.host.getParameter(i)) << i;
        }
    }
    ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(7, info), kResultOk);
    EXPECT_EQ(info.id, 102u);
    EXPECT_EQ(info.flags, ParameterInfo::kIsHidden | ParameterInfo::kIsReadOnly);
    for (int32 cc : {0, 127}) {
        ASSERT_EQ(controller->getParameterInfo(8 + cc, info), kResultOk);
        EXPECT_EQ(info.id, 1000u + cc);
        EXPECT_EQ(info.flags, ParameterInfo::kIsHidden) << "never listed for automation";
    }
    EXPECT_EQ(controller->getParameterInfo(136, info), kInvalidArgument);
    EXPECT_EQ(controller->getParameterInfo(-1, info), kInvalidArgument);

    // Texts: the VST 2.x display for every value, and each text read back to the same display.
    for (int i = 0; i < 5; ++i) {
        for (float v : {0.0f, 0.1f, 0.25f, 1.0f / 3.0f, 0.5f, 0.77f, 0.999f, 1.0f}) {
            vst2.host.setParameter(i, v);
            const std::string shown = vst2.host.getString(effGetParamDisplay, i, 64).text;
            String128 text{};
            ASSERT_EQ(controller->getParamStringByValue(i, v, text), kResultOk);
            EXPECT_EQ(ascii(text), shown) << i << " " << v;
            ParamValue back = -1.0;
            ASSERT_EQ(controller->getParamValueByString(i, text, back), kResultOk) << shown;
            String128 again{};
            controller->getParamStringByValue(i, back, again);
            EXPECT_EQ(ascii(again), shown) << i << " " << v;
        }
    }
    String128 text{};
    char16 nonsense[] = u"loud";
    ParamValue value = 0.0;
    EXPECT_EQ(controller->getParamValueByString(1, nonsense, value), kResultFalse);
    EXPECT_EQ(controller->getParamStringByValue(5, 0.5, text), kInvalidArgument);
    EXPECT_EQ(controller->getParamStringByValue(kBypassId, 1.0, text), kResultOk);
    EXPECT_EQ(ascii(text), "On");
    EXPECT_EQ(controller->normalizedParamToPlain(0, 1.0), 3.0);
    EXPECT_EQ(controller->normalizedParamToPlain(0, 0.5), 2.0);
    EXPECT_EQ(controller->normalizedParamToPlain(1, 0.25), 0.25);
    EXPECT_EQ(controller->plainParamToNormalized(kProgramId, 31.0), 1.0);
    EXPECT_EQ(controller->setParamNormalized(1, std::nan("")), kInvalidArgument);
    EXPECT_EQ(controller->setParamNormalized(77, 0.5), kInvalidArgument);

    // A NaN in a state is the bottom of the range, as the effect reads it.
    Bytes bank = vst2.chunk();
    const float nan = std::nanf("");
    std::memcpy(&bank[164 + 24 + 4], &nan, sizeof(nan));  // program 0, the cutoff
    MemoryStream stream(bank);
    ASSERT_EQ(controller->setComponentState(&stream), kResultOk);
    EXPECT_EQ(controller->getParamNormalized(1), 0.0);
}

TEST(Vst3Controller, ListsTheProgramsAndTheirControllersFromTheState) {
    Vst2Effect vst2;
    const Bytes bank = bankWith({0.5f}, 74, 1);
    ASSERT_EQ(vst2.setChunk(bank), 1);
    editedVst2Bank(vst2);
    Vst3Effect vst3;
    IUnitInfo* units = query<IUnitInfo>(vst3.controller);
    IMidiMapping* mapping = query<IMidiMapping>(vst3.controller);
    ASSERT_NE(units, nullptr);
    ASSERT_NE(mapping, nullptr);
    MemoryStream stream(vst2.chunk());
    ASSERT_EQ(vst3.controller->setComponentState(&stream), kResultOk);
    ASSERT_EQ(units->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(list.programCount, 32);
    UnitInfo unit{};
    ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.programListId, list.id);
    for (int p = 0; p < 32; ++p) {
        String128 name{};
        ASSERT_EQ(units->getProgramName(list.id, p, name), kResultOk);
        vst2.host.dispatch(effSetProgram, 0, p);
        EXPECT_EQ(ascii(name), vst2.host.getString(effGetProgramName, 0, 64).text) << p;
    }
    String128 name{};
    EXPECT_EQ(units->getProgramName(list.id, 32, name), kInvalidArgument);
    // Every controller on every channel goes to the processor, bound (74) or not, which plays
    // the bindings the state holds.
    ParamID id = 0;
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, 74, id), kResultTrue);
    EXPECT_EQ(id, 1074u);
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 15, 75, id), kResultTrue);
    EXPECT_EQ(id, 1075u);
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, 128, id), kResultFalse);
    EXPECT_EQ(mapping->getMidiControllerAssignment(1, 0, 7, id), kResultFalse);
    EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, 300, id), kResultFalse);
    units->release();
    mapping->release();
}

// What the build contract suite promises VST 2.x hosts, kept by the VST3 module in its own
// terms: one row per promise, each on new instances of both formats.
TEST(Vst3Contract, KeepsWhatTheVst2PluginPromisesHosts) {
    namespace Product = TestSupport::Product;
    const struct {
        const char* promise;
        std::function<void(Vst3Effect&, Vst2Effect&)> check;
    } rows[] = {
        {"identity and buses",
         [](Vst3Effect& vst3, Vst2Effect&) {
             Vst3Host::ClassInfo effect;
             ASSERT_TRUE(module().findClass(effect));
             EXPECT_EQ(effect.name, Product::kEffectName);
             EXPECT_EQ(effect.vendor, Product::kVendor);
             EXPECT_STREQ(module().factoryInfo().vendor, Product::kVendor);
             EXPECT_TRUE(uidEquals(effect.id.bytes,
                                   vst2ReplacementUid(Product::kUniqueId, Product::kEffectName)));
             for (BusDirection direction : {kInput, kOutput}) {
                 BusInfo bus{};
                 ASSERT_EQ(vst3.component->getBusInfo(kAudio, direction, 0, bus), kResultOk);
                 EXPECT_EQ(bus.channelCount, 2);
                 EXPECT_EQ(bus.busType, kMain);
             }
         }},
        {"parameter names, units and texts",
         [](Vst3Effect& vst3, Vst2Effect& vst2) {
             for (int32 i = 0; i < Product::kParameters; ++i) {
                 ParameterInfo info{};
                 ASSERT_EQ(vst3.controller->getParameterInfo(i, info), kResultOk);
                 EXPECT_EQ(ascii(info.units), vst2.host.getString(effGetParamLabel, i, 64).text);
                 String128 text{};
                 vst3.controller->getParamStringByValue(i, info.defaultNormalizedValue, text);
                 EXPECT_EQ(ascii(text), vst2.host.getString(effGetParamDisplay, i, 64).text);
             }
             const struct {
                 ParamID id;
                 ParamValue value;
                 const char* text;
             } probes[] = {
                 {1, 1.0, "10000.0"}, {3, 0.999, "99"}, {4, 0.0, "-10.00"}, {2, 1.0, "-24"}};
             for (const auto& probe : probes) {
                 String128 text{};
                 vst3.controller->getParamStringByValue(probe.id, probe.value, text);
                 EXPECT_EQ(ascii(text), probe.text) << probe.id;
             }
         }},
        {"program names through the state",
         [](Vst3Effect& vst3, Vst2Effect& vst2) {
             char name[] = "Tight Low End";
             vst2.host.dispatch(effSetProgram, 0, 17);
             vst2.host.dispatch(effSetProgramName, 0, 0, name);
             ASSERT_EQ(vst3.setState(vst2.chunk()), kResultOk);
             IUnitInfo* units = query<IUnitInfo>(vst3.controller);
             ASSERT_NE(units, nullptr);
             ProgramListInfo list{};
             ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
             EXPECT_EQ(list.programCount, Product::kPrograms);
             for (int32 p : {0, 17, 31}) {
                 String128 text{};
                 ASSERT_EQ(units->getProgramName(list.id, p, text), kResultOk);
                 EXPECT_EQ(ascii(text), p == 17 ? name : "Blank");
             }
             units->release();
         }},
        {"chunks both ways, another product's refused",
         [](Vst3Effect& vst3, Vst2Effect& vst2) {
             vst2.host.setParameter(0, 0.6f);
             const Bytes bank = vst2.chunk(), before = vst3.state();
             for (std::size_t at : {5, 40}) {  // the effect's name, the vendor
                 Bytes foreign = bank;
                 foreign[at] = '#';
                 EXPECT_EQ(vst3.setState(foreign), kResultFalse) << at;
                 EXPECT_EQ(vst3.state(), before);
             }
             ASSERT_EQ(vst3.setState(bank), kResultOk);
             Vst2Effect back;
             ASSERT_EQ(back.setChunk(vst3.state()), 1);
             EXPECT_EQ(back.host.getParameter(0), 0.6f);
         }},
        {"hostile rates and values make no NaN audio",
         [](Vst3Effect& vst3, Vst2Effect&) {
             const double inf = std::numeric_limits<double>::infinity();
             vst3.start(inf, kBlock);  // taken or refused, processing goes on
             Changes hostile;
             const ParamValue values[] = {inf, std::nan(""), -inf, 12.0, std::nan("")};
             for (ParamID id = 0; id < 5; ++id)
                 hostile.add(id, 7 * static_cast<int32>(id), values[id]);
             Changes none;
             Signal signal(4);
             for (int32 k = 0; k < 4; ++k) {
                 signal.at(k);
                 vst3.process(signal.in, signal.out, kBlock, k == 1 ? &hostile : &none);
             }
             for (std::size_t i = 0; i < signal.outL.size(); ++i)
                 ASSERT_TRUE(std::isfinite(signal.outL[i]) && std::isfinite(signal.outR[i])) << i;
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.promise);
        Vst3Effect vst3;
        Vst2Effect vst2;
        row.check(vst3, vst2);
    }
}

}  // namespace
