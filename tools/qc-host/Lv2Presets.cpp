#include "tools/qc-host/Lv2Presets.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

#include "lv2/Turtle.h"
#include "tools/qc-host/ParameterValue.h"

namespace QcHost {
namespace {

namespace Lv2 = QuellinCorvane::Lv2;

struct Preset {
    std::string label;
    float normalised[QuellinCorvane::kParameterCount];
};

Preset currentProgram(Session& session) {
    Preset preset{session.programName(), {}};
    for (int i = 0; i < QuellinCorvane::kParameterCount; ++i)
        preset.normalised[i] = session.vst().getParameter(i);
    return preset;
}

// Every program the file holds, as the plug-in reads it.
bool readPresets(Session& session, const std::string& path, std::vector<Preset>& presets,
                 std::string& error) {
    FxFile file;
    if (!readFxFile(path, file, error) || !session.loadPreset(file, error)) {
        error = path + ": " + error;
        return false;
    }
    if (!file.isBank()) {
        presets.push_back(currentProgram(session));
        return true;
    }
    const VstInt32 current = static_cast<VstInt32>(session.vst().dispatch(effGetProgram));
    for (VstInt32 p = 0; p < session.effect()->numPrograms; ++p) {
        session.vst().dispatch(effSetProgram, 0, p);
        presets.push_back(currentProgram(session));
    }
    session.vst().dispatch(effSetProgram, 0, current);
    return true;
}

bool writeText(const std::filesystem::path& path, const std::string& text, std::string& error) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) error = "cannot write " + path.string();
    return static_cast<bool>(out);
}

}  // namespace

std::string presetSlug(const std::string& label) {
    std::string slug;
    for (unsigned char c : label) {
        if (std::isalnum(c))
            slug += static_cast<char>(std::tolower(c));
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    return slug.empty() ? "preset" : slug;
}

bool writeLv2Presets(Session& session, const std::vector<std::string>& files,
                     const std::string& bundle, const Lv2PresetOptions& options,
                     std::string& error) {
    if (session.effect()->numParams != QuellinCorvane::kParameterCount ||
        knownScale(session, 0) == nullptr) {
        error = "only Quellin Corvane's presets have LV2 ports to go to";
        return false;
    }
    std::vector<Preset> presets;
    for (const std::string& path : files)
        if (!readPresets(session, path, presets, error)) return false;
    std::error_code failure;
    std::filesystem::create_directories(bundle, failure);
    if (failure) {
        error = "cannot create " + bundle + ": " + failure.message();
        return false;
    }
    std::string manifest = Lv2::Prefixes();
    std::set<std::string> taken;
    for (const Preset& preset : presets) {
        // Two programs of one name get -2, -3, ... in the order they come.
        std::string name = presetSlug(preset.label);
        for (int n = 2; !taken.insert(name).second; ++n)
            name = presetSlug(preset.label) + "-" + std::to_string(n);
        const std::string uri = options.prefix + name, file = name + ".ttl";
        manifest += Lv2::PresetManifestEntry(uri, options.pluginUri, file);
        const std::string text =
            Lv2::PresetTurtle(uri, options.pluginUri, preset.label, preset.normalised);
        if (!writeText(std::filesystem::path(bundle) / file, text, error)) return false;
    }
    return writeText(std::filesystem::path(bundle) / "manifest.ttl", manifest, error);
}

}  // namespace QcHost
