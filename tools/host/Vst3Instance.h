// One VST3 effect as a host drives it: the processor and its controller made from a module's
// factory, initialized with the host context, connected, and played block by block.
#pragma once

#include <string>

#include "tools/host/Vst3HostApplication.h"
#include "tools/host/Vst3Module.h"

namespace Vst3Host {

class Instance {
public:
    // Creates the class's component, its controller (the component's own when it has no
    // separate one), initializes both, connects their connection points and hands the
    // component's state to the controller. ok() is false, with error() set, on any failure.
    Instance(IPluginFactory* factory, const Uid& processorClass);
    Instance(const Module& module, const Uid& processorClass)
        : Instance(module.factory(), processorClass) {}
    // Stops processing and terminates both sides.
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    bool ok() const { return processor != nullptr && controller != nullptr; }
    const std::string& error() const { return lastError; }

    // Stereo buses, the setup, then active and processing; false when the plug-in refuses one.
    bool start(double sampleRate, int32 maxBlock);
    void stop();

    // One block, 32-bit, one stereo bus each way (null channel arrays pass as they are). The
    // output changes land in outputChanges(), emptied first. Audio thread: allocates nothing.
    tresult process(float** in, float** out, int32 frames, IParameterChanges* changes);
    ParameterChanges& outputChanges() { return output; }

    // The component's state; empty when it gives none.
    Bytes state();
    // To the component, and on success to the controller as well, as hosts load a project.
    tresult setState(const Bytes& bytes);

    IComponent* component = nullptr;
    IAudioProcessor* processor = nullptr;
    IEditController* controller = nullptr;
    bool connected = false;

private:
    void connect();
    IConnectionPoint* componentPoint = nullptr;
    IConnectionPoint* controllerPoint = nullptr;
    bool controllerIsComponent = false;
    bool active = false;
    ComponentHandler handler;
    ParameterChanges output;
    std::string lastError;
};

}  // namespace Vst3Host
