// Program and bank chunks: a 164-byte header (effect name, vendor, product, format version),
// program records of a 24-byte name and one float per parameter, and in banks a section of
// MIDI bindings, one entry per parameter. Hosts store these bytes in projects and presets.
#include <cstring>

#include "VstToolkit/Model.h"
#include "vst/platform/Trace.h"

using Platform::Trace;

namespace VstToolkit {
namespace {

// Reads a whole text field and compares it, as a string, with the expected one.
template <std::size_t N>
bool readMatchingText(ChunkReader& reader, const char (&expected)[N]) {
    char field[N + 1] = {};
    reader.ReadBytes(field, static_cast<VstInt32>(N));
    return std::strncmp(field, expected, N) == 0;
}

}  // namespace

void Model::WriteHeader(ChunkBuffer& buffer) {
    Trace("Model::WriteHeader\r\n");
    buffer.AppendBytes(effectName, sizeof(effectName));
    buffer.AppendBytes(vendorString, sizeof(vendorString));
    buffer.AppendBytes(productString, sizeof(productString));
    buffer.AppendInt32(vendorVersion);
}

bool Model::ReadHeader(ChunkReader& reader, VstInt32& version) {
    Trace("Model::ReadHeader\r\n");
    return readMatchingText(reader, effectName) && readMatchingText(reader, vendorString) &&
           readMatchingText(reader, productString) && reader.ReadInt32(version);
}

void Model::WriteProgram(ChunkBuffer& buffer, VstInt32 program) {
    buffer.AppendBytes(programNames[program].text, kVstMaxProgNameLen);
    for (VstInt32 i = 0; i < parameterCount; ++i) buffer.AppendFloat(ProgramValue(program, i));
}

void Model::SerializeSelectedProgram(ChunkBuffer& buffer) {
    Trace("Model::SerializeSelectedProgram\r\n");
    WriteHeader(buffer);
    WriteProgram(buffer, GetSelectedProgramIndex());
}

void Model::SerializeBank(ChunkBuffer& buffer) {
    Trace("Model::SerializeBank\r\n");
    WriteHeader(buffer);
    for (VstInt32 p = 0; p < programCount; ++p) WriteProgram(buffer, p);
    for (VstInt32 i = 0; i < parameterCount; ++i) {
        const VstInt32 bound = ParameterToController(i);
        if (bound < kControllerCount) {
            buffer.AppendByte(1);
            buffer.AppendByte(static_cast<std::uint8_t>(bound));
        } else {
            buffer.AppendByte(0);
        }
    }
}

bool Model::DeserializeSelectedProgram(ChunkReader& reader) {
    Trace("Model::DeserializeSelectedProgram\r\n");
    VstInt32 version = 0;
    if (!ReadHeader(reader, version) || version > vendorVersion) return false;
    // The audio thread takes the program's values together, not one by one.
    ChangeGroup group(renderChanges);
    char* name = programNames[GetSelectedProgramIndex()].text;
    const bool wholeName = reader.ReadBytes(name, kVstMaxProgNameLen) == kVstMaxProgNameLen;
    name[kVstMaxProgNameLen - 1] = '\0';  // a stored name is always a string
    if (!wholeName) return false;
    for (VstInt32 i = 0; i < parameterCount; ++i) {
        float value;
        if (!reader.ReadFloat(value)) return false;
        SetParameterValue(i, value);
    }
    return true;
}

bool Model::DeserializeBank(ChunkReader& reader) {
    Trace("Model::DeserializeBank\r\n");
    VstInt32 version = 0;
    if (!ReadHeader(reader, version) || version > vendorVersion) return false;
    ChangeGroup group(renderChanges);
    const VstInt32 selected = GetSelectedProgramIndex();
    for (VstInt32 p = 0; p < programCount; ++p) {
        char* name = programNames[p].text;
        const bool wholeName = reader.ReadBytes(name, kVstMaxProgNameLen) == kVstMaxProgNameLen;
        name[kVstMaxProgNameLen - 1] = '\0';
        if (!wholeName) return false;
        for (VstInt32 i = 0; i < parameterCount; ++i) {
            float value;
            if (!reader.ReadFloat(value)) return false;
            const float previous = ProgramValue(p, i);
            StoreValue(p, i, value);
            if (p != selected) continue;
            renderChanges.StampParameter(i);
            OnParameterValueChanged(i, previous, value);
        }
    }
    ClearMidiControllerMap();
    for (VstInt32 i = 0; i < parameterCount; ++i) {
        std::uint8_t bound;
        if (!reader.ReadByte(bound)) return false;
        if (bound == 0) continue;
        std::uint8_t controllerNumber;
        if (!reader.ReadByte(controllerNumber)) return false;
        // Numbers beyond the map (only a hand-made chunk has them) are skipped.
        RegisterMidiControllerMapping(controllerNumber, i);
    }
    return true;
}

}  // namespace VstToolkit
