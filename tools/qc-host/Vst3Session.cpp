#include "tools/qc-host/Vst3Session.h"

#include <cmath>
#include <fstream>
#include <iterator>

#include "tools/qc-host/Cli.h"

namespace QcHost {

using namespace Vst3;
using Vst3Host::narrow;

namespace {

bool readBytes(const std::string& path, Vst3Host::Bytes& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

bool Vst3Session::open(const std::string& path, std::string& error) {
    if (!module.load(path)) {
        error = path + ": cannot load the plug-in: " + module.error();
        return false;
    }
    if (!module.findClass(effect)) {
        error = path + ": the module has no audio effect class";
        return false;
    }
    instance = std::make_unique<Vst3Host::Instance>(module, effect.id);
    if (!instance->ok()) {
        error = path + ": " + instance->error();
        return false;
    }
    for (int32 i = 0; i < instance->controller->getParameterCount(); ++i) {
        ParameterInfo info{};
        if (instance->controller->getParameterInfo(i, info) == kResultOk &&
            (info.flags & ParameterInfo::kIsHidden) == 0)
            params.push_back(info);
    }
    return prepare(48000.0, 512, error);
}

bool Vst3Session::prepare(double rate, int blockSize, std::string& error) {
    if (instance->start(rate, blockSize)) return true;
    error = instance->error();
    return false;
}

int Vst3Session::findParameter(const std::string& text, std::string& error) {
    std::vector<std::string> shortNames, longNames;
    for (const ParameterInfo& info : params) {
        shortNames.push_back(narrow(info.shortTitle));
        longNames.push_back(narrow(info.title));
    }
    return matchParameter(text, shortNames, longNames, error);
}

bool Vst3Session::change(ParamID id, ParamValue value, std::string& error) {
    // A block without audio carries the change, as hosts flush parameters while stopped.
    changes.clear();
    changes.add(id, 0, value);
    if (instance->process(nullptr, nullptr, 0, &changes) != kResultOk) {
        error = "the processor refuses a block of parameter changes";
        return false;
    }
    instance->controller->setParamNormalized(id, value);
    return true;
}

void Vst3Session::updateController() {
    Vst3Host::MemoryStream stream(instance->state());
    instance->controller->setComponentState(&stream);
}

bool Vst3Session::apply(const std::vector<Setting>& settings, std::string& error) {
    for (const Setting& s : settings) {
        if (s.kind == Setting::Kind::Set) {
            const int index = findParameter(s.target, error);
            if (index < 0) return false;
            const ParameterInfo& info = params[static_cast<std::size_t>(index)];
            double value = s.value;
            String128 text{};
            Vst3Host::widen(trim(s.text), text);
            if (!s.text.empty() && !parseNumber(trim(s.text), 0.0, 1.0, value) &&
                instance->controller->getParamValueByString(info.id, text, value) != kResultOk) {
                error = narrow(info.shortTitle) + " takes " + describeAccepted(info) +
                        ", or a normalised value from 0 to 1; got '" + s.text + "'";
                return false;
            }
            if (!change(info.id, value, error)) return false;
        } else if (s.kind == Setting::Kind::Program) {
            const ParameterInfo* program = nullptr;
            for (const ParameterInfo& info : params)
                if (info.flags & ParameterInfo::kIsProgramChange) program = &info;
            if (program == nullptr || s.value > program->stepCount) {
                error = "program " + std::to_string(static_cast<long>(s.value)) +
                        " out of range (the plug-in has " +
                        std::to_string(program == nullptr ? 0 : program->stepCount + 1) +
                        " programs)";
                return false;
            }
            if (!change(program->id, s.value / program->stepCount, error)) return false;
            updateController();
        } else if (s.kind == Setting::Kind::Preset) {
            Vst3Host::Bytes bytes;
            if (!readBytes(s.target, bytes)) {
                error = s.target + ": cannot open for reading";
                return false;
            }
            if (instance->setState(bytes) != kResultOk) {
                error = s.target + ": the plug-in does not take it as its state";
                return false;
            }
        } else {
            error = "--name: a VST3 host cannot rename a plug-in's programs";
            return false;
        }
    }
    return true;
}

std::string Vst3Session::display(const ParameterInfo& info) {
    String128 text{};
    IEditController* controller = instance->controller;
    controller->getParamStringByValue(info.id, controller->getParamNormalized(info.id), text);
    const std::string units = narrow(info.units);
    return narrow(text) + (units.empty() ? "" : " " + units);
}

std::string Vst3Session::describeAccepted(const ParameterInfo& info) {
    IEditController* controller = instance->controller;
    auto textOf = [&](ParamValue value) {
        String128 text{};
        controller->getParamStringByValue(info.id, value, text);
        return narrow(text);
    };
    const std::string units = narrow(info.units);
    if (info.flags & ParameterInfo::kIsProgramChange)
        return "--program 0 to " + std::to_string(info.stepCount);
    if (info.stepCount == 0)
        return textOf(0.0) + " to " + textOf(1.0) + (units.empty() ? "" : " " + units);
    std::string list;
    for (int32 step = 0; step <= info.stepCount; ++step)
        list += (step == 0 ? "" : ", ") + textOf(static_cast<double>(step) / info.stepCount);
    return list;
}

std::vector<std::string> Vst3Session::programNames() {
    std::vector<std::string> names;
    IUnitInfo* units = Vst3Host::query<IUnitInfo>(instance->controller);
    ProgramListInfo list{};
    if (units != nullptr && units->getProgramListCount() > 0 &&
        units->getProgramListInfo(0, list) == kResultOk) {
        for (int32 p = 0; p < list.programCount; ++p) {
            String128 name{};
            units->getProgramName(list.id, p, name);
            names.push_back(narrow(name));
        }
    }
    if (units != nullptr) units->release();
    return names;
}

int Vst3Session::currentProgram() {
    for (const ParameterInfo& info : params) {
        if ((info.flags & ParameterInfo::kIsProgramChange) && info.stepCount > 0)
            return static_cast<int>(
                std::lround(instance->controller->getParamNormalized(info.id) * info.stepCount));
    }
    return 0;
}

bool Vst3Session::render(const Audio& input, Audio& output, int blockSize,
                         const std::vector<TimedEvent>& events, const Progress& progress,
                         std::string& error) {
    IMidiMapping* mapping = Vst3Host::query<IMidiMapping>(instance->controller);
    const auto process = [&](std::vector<float*>& ins, std::vector<float*>& outs, int frames,
                             const std::vector<VstMidiEvent>& block) {
        changes.clear();
        for (const VstMidiEvent& e : block) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(e.midiData);
            ParamID id = 0;
            if (mapping != nullptr &&
                mapping->getMidiControllerAssignment(0, static_cast<int16>(bytes[0] & 0x0F),
                                                     bytes[1], id) == kResultTrue)
                changes.add(id, e.deltaFrames, bytes[2] / 127.0);
        }
        return instance->process(ins.data(), outs.data(), frames, &changes) == kResultOk;
    };
    const bool done =
        renderBlocks(input, output, 2, 2, blockSize, events, progress, process, error);
    if (mapping != nullptr) mapping->release();
    return done;
}

}  // namespace QcHost
