#include "lv2/Turtle.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace QuellinCorvane::Lv2 {
namespace {

const char* const kPrefixText =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pg: <http://lv2plug.in/ns/ext/port-groups#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix rsz: <http://lv2plug.in/ns/ext/resize-port#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
    "\n";

struct AudioPort {
    const char* name;
    const char* group;
    const char* channel;
};

const AudioPort kAudioPorts[4] = {
    {"Left In", "in", "left"},
    {"Right In", "in", "right"},
    {"Left Out", "out", "left"},
    {"Right Out", "out", "right"},
};

std::string uriRef(const std::string& uri) {
    return "<" + uri + ">";
}

void writeParameterPort(std::ostream& out, int parameter) {
    const ParameterRow& row = kParameterRows[parameter];
    const int index = kFirstParameterPort + parameter;
    out << "[\n        a lv2:InputPort , lv2:ControlPort ;\n"
        << "        lv2:index " << index << " ;\n"
        << "        lv2:symbol " << QuotedString(kPortSymbols[index]) << " ;\n"
        << "        lv2:name " << QuotedString(row.name) << " ;\n"
        << "        lv2:default " << Decimal(UnitsFor(row, row.defaultValue)) << " ;\n"
        << "        lv2:minimum " << Decimal(static_cast<float>(row.minimum)) << " ;\n"
        << "        lv2:maximum " << Decimal(static_cast<float>(row.maximum));
    const std::string unit = row.unit;
    if (row.kind == ParameterRow::Kind::Choice) {
        out << " ;\n        lv2:portProperty lv2:integer , lv2:enumeration ;\n"
            << "        lv2:scalePoint";
        for (int i = 0; i < kChoiceCount; ++i) {
            const std::string label = unit.empty() ? row.choices[i] : row.choices[i] + (" " + unit);
            out << (i ? " ,\n            " : " ") << "[ rdfs:label " << QuotedString(label)
                << " ; rdf:value " << Decimal(static_cast<float>(i)) << " ]";
        }
    } else if (unit == "Hz") {
        out << " ;\n        units:unit units:hz";
    } else if (unit == "dB") {
        out << " ;\n        units:unit units:db";
    }
    out << "\n    ]";
}

}  // namespace

std::string Decimal(float value) {
    if (value == 0.0f) value = 0.0f;  // no "-0.0"
    char text[64];
    for (int digits = 1; digits < 40; ++digits) {
        std::snprintf(text, sizeof text, "%.*f", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) break;
    }
    return text;
}

std::string QuotedString(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string Prefixes() {
    return kPrefixText;
}

std::string PluginTurtle() {
    const std::string uri = kPluginUri;
    std::ostringstream out;
    out << kPrefixText;
    out << uriRef(uri + "#in") << "\n    a pg:InputGroup , pg:StereoGroup ;\n"
        << "    lv2:symbol \"in\" ;\n    lv2:name \"Input\" .\n\n";
    out << uriRef(uri + "#out") << "\n    a pg:OutputGroup , pg:StereoGroup ;\n"
        << "    lv2:symbol \"out\" ;\n    lv2:name \"Output\" ;\n    pg:source "
        << uriRef(uri + "#in") << " .\n\n";
    out << uriRef(uri) << "\n    a lv2:Plugin , lv2:FilterPlugin , doap:Project ;\n"
        << "    doap:name \"Quellin Corvane\" ;\n"
        << "    doap:license <http://opensource.org/licenses/mit> ;\n"
        << "    doap:homepage <https://quellin.example/> ;\n"
        << "    doap:maintainer [\n        a foaf:Organization ;\n"
        << "        foaf:name \"Quellin Sound Design\" ;\n"
        << "        foaf:homepage <https://quellin.example/>\n    ] ;\n"
        << "    lv2:minorVersion " << kMinorVersion << " ;\n"
        << "    lv2:microVersion " << kMicroVersion << " ;\n"
        << "    lv2:requiredFeature urid:map ;\n"
        << "    lv2:optionalFeature lv2:hardRTCapable , opts:options ;\n"
        << "    lv2:extensionData state:interface ;\n"
        << "    ui:ui " << uriRef(kUiUri) << " ;\n"
        << "    pg:mainInput " << uriRef(uri + "#in") << " ;\n"
        << "    pg:mainOutput " << uriRef(uri + "#out") << " ;\n"
        << "    lv2:port ";
    for (int i = 0; i < 4; ++i) {
        const AudioPort& port = kAudioPorts[i];
        out << (i ? " , " : "") << "[\n        a lv2:AudioPort , "
            << (i < 2 ? "lv2:InputPort" : "lv2:OutputPort") << " ;\n"
            << "        lv2:index " << i << " ;\n"
            << "        lv2:symbol " << QuotedString(kPortSymbols[i]) << " ;\n"
            << "        lv2:name " << QuotedString(port.name) << " ;\n"
            << "        lv2:designation pg:" << port.channel << " ;\n"
            << "        pg:group " << uriRef(uri + "#" + port.group) << "\n    ]";
    }
    for (int p = 0; p < kParameterCount; ++p) {
        out << " , ";
        writeParameterPort(out, p);
    }
    out << " , [\n        a lv2:InputPort , lv2:ControlPort ;\n"
        << "        lv2:index " << kEnabledPort << " ;\n"
        << "        lv2:symbol " << QuotedString(kPortSymbols[kEnabledPort]) << " ;\n"
        << "        lv2:name \"Enabled\" ;\n"
        << "        lv2:designation lv2:enabled ;\n"
        << "        lv2:portProperty lv2:toggled ;\n"
        << "        lv2:default 1.0 ;\n        lv2:minimum 0.0 ;\n        lv2:maximum 1.0\n"
        << "    ] , [\n        a lv2:InputPort , atom:AtomPort ;\n"
        << "        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports midi:MidiEvent , atom:Object ;\n"
        << "        lv2:designation lv2:control ;\n"
        << "        lv2:index " << kControlPort << " ;\n"
        << "        lv2:symbol " << QuotedString(kPortSymbols[kControlPort]) << " ;\n"
        << "        lv2:name \"Control\"\n"
        << "    ] , [\n        a lv2:OutputPort , atom:AtomPort ;\n"
        << "        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports atom:Object ;\n"
        << "        lv2:designation lv2:control ;\n"
        << "        rsz:minimumSize " << kNotifyMinimumBytes << " ;\n"
        << "        lv2:index " << kNotifyPort << " ;\n"
        << "        lv2:symbol " << QuotedString(kPortSymbols[kNotifyPort]) << " ;\n"
        << "        lv2:name \"Notify\"\n    ] .\n";
    return out.str();
}

// The plug-in, and its panel: an X11 UI driven by the host's idle calls, embedded in ui:parent
// when the host gives one, told about the notify port's messages.
std::string PluginManifestEntry() {
    std::ostringstream out;
    out << uriRef(kPluginUri) << "\n    a lv2:Plugin ;\n"
        << "    lv2:binary <" << kBinaryName << "> ;\n"
        << "    rdfs:seeAlso <" << kTurtleName << "> .\n\n"
        << uriRef(kUiUri) << "\n    a ui:X11UI ;\n"
        << "    ui:binary <" << kUiBinaryName << "> ;\n"
        << "    lv2:requiredFeature urid:map ;\n"
        << "    lv2:optionalFeature ui:parent , ui:resize , ui:touch , ui:idleInterface ;\n"
        << "    lv2:extensionData ui:idleInterface ;\n"
        << "    ui:portNotification [\n        ui:plugin " << uriRef(kPluginUri) << " ;\n"
        << "        ui:portIndex " << kNotifyPort << " ;\n"
        << "        lv2:symbol " << QuotedString(kPortSymbols[kNotifyPort]) << " ;\n"
        << "        ui:protocol atom:eventTransfer\n    ] .\n";
    return out.str();
}

std::string PresetTurtle(const std::string& presetUri, const std::string& pluginUri,
                         const std::string& label, const float (&normalised)[kParameterCount]) {
    std::ostringstream out;
    out << kPrefixText << uriRef(presetUri) << "\n    a pset:Preset ;\n"
        << "    lv2:appliesTo " << uriRef(pluginUri) << " ;\n"
        << "    rdfs:label " << QuotedString(label) << " ;\n    lv2:port ";
    for (int p = 0; p < kParameterCount; ++p)
        out << (p ? " , " : "") << "[\n        lv2:symbol "
            << QuotedString(kPortSymbols[kFirstParameterPort + p]) << " ;\n        pset:value "
            << Decimal(UnitsFor(kParameterRows[p], normalised[p])) << "\n    ]";
    out << " .\n";
    return out.str();
}

std::string PresetManifestEntry(const std::string& presetUri, const std::string& pluginUri,
                                const std::string& file) {
    std::ostringstream out;
    out << "\n"
        << uriRef(presetUri) << "\n    a pset:Preset ;\n"
        << "    lv2:appliesTo " << uriRef(pluginUri) << " ;\n"
        << "    rdfs:seeAlso <" << file << "> .\n";
    return out.str();
}

}  // namespace QuellinCorvane::Lv2
