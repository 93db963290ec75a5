#include "tools/qc-host/Session.h"

#include "tools/qc-host/ParameterValue.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace QcHost {
namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

std::string lower(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

Session::~Session() {
    if (host.isOpen()) {
        suspend();
        host.close();
    }
}

bool Session::open(const std::string& path, std::string& error) {
    library = std::make_shared<VstHost::PluginLibrary>();
    // dlopen searches the library path for a bare file name; a plug-in named on the command
    // line means the file in the current folder.
    std::string where = path;
    if (where.find('/') == std::string::npos && where.find('\\') == std::string::npos)
        where = "./" + where;
    if (!library->load(where)) {
        error = path + ": cannot load the plug-in: " + library->error();
        return false;
    }
    return openAnother(*this, error);
}

bool Session::openAnother(const Session& loaded, std::string& error) {
    library = loaded.library;
    if (!host.open(*library)) {
        error = library->path() + ": " + host.error();
        return false;
    }
    host.dispatch(effOpen);
    return true;
}

void Session::prepare(double rate, int blockSize) {
    if (resumed) suspend();
    host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    host.dispatch(effSetBlockSize, 0, blockSize);
    host.dispatch(effMainsChanged, 0, 1);
    host.dispatch(effStartProcess);
    resumed = true;
}

void Session::suspend() {
    if (!resumed) return;
    host.dispatch(effStopProcess);
    host.dispatch(effMainsChanged, 0, 0);
    resumed = false;
}

std::string Session::text(VstInt32 opcode, VstInt32 index, std::size_t length) {
    // Twice the field's size: plug-ins that overrun their field still read back sensibly,
    // and the guard bytes keep the overrun away from anything else.
    return host.getString(opcode, index, length * 2).text;
}

std::string Session::paramName(int index) {
    return text(effGetParamName, index, kVstMaxParamStrLen);
}
std::string Session::paramLongName(int index) {
    VstParameterProperties properties{};
    if (host.dispatch(effGetParameterProperties, index, 0, &properties) != 1) return "";
    properties.label[sizeof properties.label - 1] = '\0';
    return properties.label;
}
std::string Session::paramLabel(int index) {
    return text(effGetParamLabel, index, kVstMaxParamStrLen);
}
std::string Session::paramDisplay(int index) {
    return text(effGetParamDisplay, index, kVstMaxParamStrLen);
}
std::string Session::programName() {
    return text(effGetProgramName, 0, kVstMaxProgNameLen);
}

int Session::findParameter(const std::string& name, std::string& error) {
    std::vector<std::string> shortNames, longNames;
    for (int i = 0; i < effect()->numParams; ++i) {
        shortNames.push_back(paramName(i));
        longNames.push_back(paramLongName(i));
    }
    return matchParameter(name, shortNames, longNames, error);
}

int matchParameter(const std::string& name, const std::vector<std::string>& shortNames,
                   const std::vector<std::string>& longNames, std::string& error) {
    const int count = static_cast<int>(shortNames.size());
    char* end = nullptr;
    const long index = std::strtol(name.c_str(), &end, 10);
    if (!name.empty() && *end == '\0') {
        if (index >= 0 && index < count) return static_cast<int>(index);
        error = "parameter index " + name + " out of range (the plug-in has " +
                std::to_string(count) + " parameters)";
        return -1;
    }
    for (int i = 0; i < count; ++i)
        if (shortNames[i] == name) return i;
    for (const auto* names : {&shortNames, &longNames})
        for (int i = 0; i < count; ++i)
            if (!(*names)[i].empty() && lower((*names)[i]) == lower(name)) return i;
    std::vector<int> prefixed;
    for (int i = 0; i < count; ++i)
        for (const auto* names : {&shortNames, &longNames})
            if (!name.empty() && lower((*names)[i]).compare(0, name.size(), lower(name)) == 0 &&
                std::find(prefixed.begin(), prefixed.end(), i) == prefixed.end())
                prefixed.push_back(i);
    auto list = [&](const std::vector<int>& which) {
        std::string text;
        for (int i : which) {
            text += (text.empty() ? "" : ", ") + shortNames[i];
            if (!longNames[i].empty()) text += " (" + longNames[i] + ")";
        }
        return text;
    };
    if (prefixed.size() == 1) return prefixed.front();
    if (prefixed.size() > 1) {
        error = "'" + name + "' could be any of " + list(prefixed) + "; give more of the name";
        return -1;
    }
    std::vector<int> all(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) all[static_cast<std::size_t>(i)] = i;
    const bool anyLong = std::any_of(longNames.begin(), longNames.end(),
                                     [](const std::string& n) { return !n.empty(); });
    error = "no parameter named '" + name + "' (the plug-in's parameters: " + list(all) +
            (anyLong ? "" : "; it gives no long names") + ")";
    return -1;
}

bool Session::apply(const std::vector<Setting>& settings, std::string& error) {
    for (const auto& s : settings) {
        switch (s.kind) {
            case Setting::Kind::Set: {
                const int index = findParameter(s.target, error);
                if (index < 0) return false;
                float value = static_cast<float>(s.value);
                if (!s.text.empty() && !normalisedValue(*this, index, s.text, value, error))
                    return false;
                host.setParameter(index, value);
                break;
            }
            case Setting::Kind::Program:
                if (s.value < 0 || s.value >= effect()->numPrograms) {
                    error = "program " + std::to_string(static_cast<long>(s.value)) +
                            " out of range (the plug-in has " +
                            std::to_string(effect()->numPrograms) + " programs)";
                    return false;
                }
                host.dispatch(effSetProgram, 0, static_cast<VstIntPtr>(s.value));
                break;
            case Setting::Kind::Preset:
                if (!loadPreset(s.target, error)) return false;
                break;
            case Setting::Kind::Name: {
                char name[kVstMaxProgNameLen] = {};
                std::strncpy(name, s.target.c_str(), sizeof name - 1);
                host.dispatch(effSetProgramName, 0, 0, name);
                break;
            }
        }
    }
    return true;
}

bool Session::loadPreset(const std::string& path, std::string& error) {
    FxFile file;
    if (!readFxFile(path, file, error)) return false;
    if (!loadPreset(file, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

void Session::loadParamsProgram(const FxProgram& program) {
    host.dispatch(effBeginSetProgram);
    const std::size_t count =
        std::min(program.params.size(), static_cast<std::size_t>(effect()->numParams));
    for (std::size_t i = 0; i < count; ++i)
        host.setParameter(static_cast<VstInt32>(i), program.params[i]);
    host.dispatch(effEndSetProgram);
    char name[kVstMaxProgNameLen] = {};
    std::strncpy(name, program.name.c_str(), sizeof name - 1);
    host.dispatch(effSetProgramName, 0, 0, name);
}

bool Session::loadPreset(const FxFile& file, std::string& error) {
    AEffect* e = effect();
    if (file.fxID != e->uniqueID) {
        error = "the preset belongs to another plug-in (ID " + formatId(file.fxID) +
                "; this plug-in is " + formatId(e->uniqueID) + ")";
        return false;
    }
    if (file.isChunk() && !(e->flags & effFlagsProgramChunks)) {
        error = "the preset holds a chunk, and this plug-in does not take chunks";
        return false;
    }
    VstPatchChunkInfo info{};
    info.version = 1;
    info.pluginUniqueID = file.fxID;
    info.pluginVersion = file.fxVersion;
    switch (file.kind) {
        case FxKind::ProgramChunk: {
            info.numElements = e->numParams;
            if (host.dispatch(effBeginLoadProgram, 0, 0, &info) == -1) {
                error = "the plug-in refuses this program (version " +
                        std::to_string(file.fxVersion) + ")";
                return false;
            }
            auto chunk = file.chunk;
            if (host.dispatch(effSetChunk, 1, static_cast<VstIntPtr>(chunk.size()), chunk.data()) ==
                0) {
                error = "the plug-in rejected the program chunk (" + std::to_string(chunk.size()) +
                        " bytes)";
                return false;
            }
            char name[kVstMaxProgNameLen] = {};
            std::strncpy(name, file.program.name.c_str(), sizeof name - 1);
            host.dispatch(effSetProgramName, 0, 0, name);
            return true;
        }
        case FxKind::BankChunk: {
            info.numElements = e->numPrograms;
            if (host.dispatch(effBeginLoadBank, 0, 0, &info) == -1) {
                error = "the plug-in refuses this bank (version " + std::to_string(file.fxVersion) +
                        ")";
                return false;
            }
            auto chunk = file.chunk;
            if (host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data()) ==
                0) {
                error = "the plug-in rejected the bank chunk (" + std::to_string(chunk.size()) +
                        " bytes)";
                return false;
            }
            if (file.version >= 2 && file.currentProgram >= 0 &&
                file.currentProgram < e->numPrograms)
                host.dispatch(effSetProgram, 0, file.currentProgram);
            return true;
        }
        case FxKind::ProgramParams: loadParamsProgram(file.program); return true;
        case FxKind::BankParams: {
            const auto count =
                std::min(file.programs.size(), static_cast<std::size_t>(e->numPrograms));
            for (std::size_t p = 0; p < count; ++p) {
                host.dispatch(effSetProgram, 0, static_cast<VstIntPtr>(p));
                loadParamsProgram(file.programs[p]);
            }
            const bool current = file.version >= 2 && file.currentProgram >= 0 &&
                                 file.currentProgram < e->numPrograms;
            host.dispatch(effSetProgram, 0, current ? file.currentProgram : 0);
            return true;
        }
    }
    return true;
}

FxFile Session::makePreset(bool bank) {
    AEffect* e = effect();
    FxFile file;
    file.fxID = e->uniqueID;
    file.fxVersion = e->version;
    file.numParams = e->numParams;
    file.numPrograms = e->numPrograms;
    file.currentProgram = static_cast<std::int32_t>(host.dispatch(effGetProgram));
    const bool chunks = (e->flags & effFlagsProgramChunks) != 0;
    auto readProgram = [&] {
        FxProgram program;
        program.name = programName();
        for (int i = 0; i < e->numParams; ++i) program.params.push_back(host.getParameter(i));
        return program;
    };
    if (chunks) {
        void* data = nullptr;
        const VstIntPtr size = host.dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
        if (size > 0 && data)
            file.chunk.assign(static_cast<unsigned char*>(data),
                              static_cast<unsigned char*>(data) + size);
    }
    if (bank) {
        file.version = 2;
        file.kind = chunks ? FxKind::BankChunk : FxKind::BankParams;
        if (!chunks) {
            for (int p = 0; p < e->numPrograms; ++p) {
                host.dispatch(effSetProgram, 0, p);
                file.programs.push_back(readProgram());
            }
            host.dispatch(effSetProgram, 0, file.currentProgram);
        }
    } else {
        file.version = 1;
        file.kind = chunks ? FxKind::ProgramChunk : FxKind::ProgramParams;
        file.program = readProgram();
        if (chunks) file.program.params.clear();
    }
    return file;
}

bool Session::savePreset(const std::string& path, std::string& error) {
    const FxFile file = makePreset(endsWith(path, ".fxb"));
    if (file.isChunk() && file.chunk.empty()) {
        error = "the plug-in keeps chunks but gave none to save";
        return false;
    }
    return writeFxFile(path, file, error);
}

}  // namespace QcHost
