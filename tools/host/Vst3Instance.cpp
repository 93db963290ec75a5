#include "tools/host/Vst3Instance.h"

namespace Vst3Host {

Instance::Instance(IPluginFactory* factory, const Uid& processorClass) {
    void* obj = nullptr;
    if (factory == nullptr ||
        factory->createInstance(processorClass.bytes, IComponent::iid.bytes, &obj) != kResultOk ||
        obj == nullptr) {
        lastError = "the factory makes no component of the class";
        return;
    }
    component = static_cast<IComponent*>(obj);
    if (component->initialize(&hostApplication()) != kResultOk) {
        lastError = "the component does not initialize";
        component->release();
        component = nullptr;
        return;
    }
    TUID controllerClass{};
    obj = nullptr;
    if (component->getControllerClassId(controllerClass) == kResultOk &&
        factory->createInstance(controllerClass, IEditController::iid.bytes, &obj) == kResultOk &&
        obj != nullptr) {
        controller = static_cast<IEditController*>(obj);
        if (controller->initialize(&hostApplication()) != kResultOk) {
            controller->release();
            controller = nullptr;
        }
    } else {
        controller = query<IEditController>(component);
        controllerIsComponent = controller != nullptr;
    }
    processor = query<IAudioProcessor>(component);
    if (controller == nullptr || processor == nullptr) {
        lastError = controller == nullptr ? "no controller" : "no audio processor";
        return;
    }
    controller->setComponentHandler(&handler);
    connect();
    const Bytes initial = state();
    MemoryStream stream(initial);
    if (!initial.empty()) controller->setComponentState(&stream);
}

void Instance::connect() {
    if (controllerIsComponent) return;
    componentPoint = query<IConnectionPoint>(component);
    controllerPoint = query<IConnectionPoint>(controller);
    connected = componentPoint != nullptr && controllerPoint != nullptr &&
                componentPoint->connect(controllerPoint) == kResultOk &&
                controllerPoint->connect(componentPoint) == kResultOk;
}

Instance::~Instance() {
    stop();
    if (connected) {
        componentPoint->disconnect(controllerPoint);
        controllerPoint->disconnect(componentPoint);
    }
    if (componentPoint != nullptr) componentPoint->release();
    if (controllerPoint != nullptr) controllerPoint->release();
    if (processor != nullptr) processor->release();
    if (controller != nullptr) {
        controller->setComponentHandler(nullptr);
        if (!controllerIsComponent) controller->terminate();
        controller->release();
    }
    if (component != nullptr) {
        component->terminate();
        component->release();
    }
}

bool Instance::start(double sampleRate, int32 maxBlock) {
    if (!ok()) return false;
    stop();
    SpeakerArrangement in = SpeakerArr::kStereo, out = SpeakerArr::kStereo;
    ProcessSetup setup{kRealtime, kSample32, maxBlock, sampleRate};
    const bool taken = processor->setBusArrangements(&in, 1, &out, 1) == kResultTrue &&
                       processor->setupProcessing(setup) == kResultOk &&
                       component->setActive(1) == kResultOk;
    active = taken;
    if (!taken) {
        lastError = "the processor refuses stereo 32-bit processing at this rate and block";
        return false;
    }
    // Plug-ins may answer kNotImplemented here and process all the same.
    processor->setProcessing(1);
    return true;
}

void Instance::stop() {
    if (!active) return;
    processor->setProcessing(0);
    component->setActive(0);
    active = false;
}

tresult Instance::process(float** in, float** out, int32 frames, IParameterChanges* changes) {
    AudioBusBuffers inBus{2, 0, {in}};
    AudioBusBuffers outBus{2, 0, {out}};
    output.clear();
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.inputParameterChanges = changes;
    data.outputParameterChanges = &output;
    return processor->process(data);
}

Bytes Instance::state() {
    MemoryStream stream;
    if (component == nullptr || component->getState(&stream) != kResultOk) return {};
    return stream.data();
}

tresult Instance::setState(const Bytes& bytes) {
    MemoryStream stream(bytes);
    const tresult result = component->setState(&stream);
    if (result == kResultOk) {
        MemoryStream again(bytes);
        controller->setComponentState(&again);
    }
    return result;
}

}  // namespace Vst3Host
