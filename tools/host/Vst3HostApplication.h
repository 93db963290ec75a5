// The host context handed to IPluginBase::initialize: a name, and the messages a processor and
// its controller send each other through their connection points.
#pragma once

#include "tools/host/Vst3HostObjects.h"

namespace Vst3Host {

class HostApplication final : public HostObject<IHostApplication> {
public:
    tresult VST3_API getName(String128 name) override;
    // Makes an IMessage or an IAttributeList (class and interface ID the same), each with one
    // reference for the caller; anything else is kNoInterface. UI thread: it allocates.
    tresult VST3_API createInstance(TUID cid, TUID interfaceId, void** obj) override;
};

// Given to each controller: takes its edits and restart requests and acts on none of them,
// as a host without automation would.
class ComponentHandler final : public HostObject<IComponentHandler> {
public:
    tresult VST3_API beginEdit(ParamID) override { return kResultOk; }
    tresult VST3_API performEdit(ParamID, ParamValue) override { return kResultOk; }
    tresult VST3_API endEdit(ParamID) override { return kResultOk; }
    tresult VST3_API restartComponent(int32) override { return kResultOk; }
};

// The one context every instance shares; it lives for the whole process.
HostApplication& hostApplication();

}  // namespace Vst3Host
