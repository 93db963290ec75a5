// The plug-in state of the framework: programs and their names, the parameter groups, the
// identity strings, the program and bank chunk formats, the observers and the one lock that
// serialises audio processing against every change of state.
//
// Threads: the host's user-interface thread (parameters, programs, chunks, the editor) and the
// audio thread (processLocked, MIDI-driven controllerChanged) both come here. The lock is
// recursive because an observer notified under it may call back into the model on the same
// thread. Reading operations (names, values, counts) take no lock.
//
// Indices are checked: a global parameter index outside 0..parameterCount()-1 or a program
// outside 0..programCount()-1 reads 0 or "" and changes nothing.
//
// Normalised values are kept inside 0..1: anything above 1 (or below 0) is stored as 1 (or 0),
// and a NaN never replaces a stored value.
#pragma once

#include <array>
#include <vector>

#include "SynthToolkit/ChunkReader.h"
#include "SynthToolkit/ChunkWriter.h"
#include "SynthToolkit/IModelObserver.h"
#include "SynthToolkit/Midi/ControllerMapper.h"
#include "SynthToolkit/Midi/IMessageProvider.h"
#include "SynthToolkit/ObserverList.h"
#include "SynthToolkit/Parameters/IParameterGroup.h"
#include "vst/platform/RecursiveLock.h"

namespace SynthToolkit {

class Model : public Midi::IControllerObserver, public Midi::ControllerMapper {
public:
    static constexpr int kEffectNameLength = 32;
    static constexpr int kVendorLength = 64;
    static constexpr int kProductLength = 64;
    static constexpr int kProgramNameLength = 24;
    // Effect name, vendor, product and version.
    static constexpr int kHeaderBytes = kEffectNameLength + kVendorLength + kProductLength + 4;

    // Registers with messageProvider (which must outlive the model) for control changes. A
    // program count below 1 is taken as 1.
    Model(const char* effectName, const char* vendor, const char* product, int vendorVersion,
          int programCount, Midi::IMessageProvider* messageProvider);
    ~Model() override;
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // A mapped controller sets its parameter to value / 127 and tells every observer. Audio
    // thread.
    void controllerChanged(int channel, int controller, int value) override;

    // Header, current program name, one float per parameter.
    virtual void writeProgram(ChunkWriter& writer);
    // False at the first field that differs or ends early; what was read before stays applied.
    virtual bool readProgram(ChunkReader& reader);
    // Header, then per program its name and one float per parameter. Anything after the last
    // program is not read.
    virtual void writeBank(ChunkWriter& writer);
    virtual bool readBank(ChunkReader& reader);
    virtual int inputCount() const = 0;
    virtual int outputCount() const = 0;
    // Called by processLocked with the lock held, at most 16384 frames, the smoothed values for
    // exactly those frames already computed.
    virtual void process(float** inputs, float** outputs, int frames) = 0;

    // Not owned; called once by the effect's model while it is built.
    void addGroup(Parameters::IParameterGroup* group);
    void addObserver(IModelObserver* observer);
    void removeObserver(IModelObserver* observer);

    int parameterCount() const;
    float parameterValue(int i) const;
    void setParameterValue(int i, float v);
    void resetParameter(int i);
    const char* parameterShortName(int i) const;
    const char* parameterLongName(int i) const;
    const char* parameterLabel(int i) const;
    const char* parameterDisplayText(int i) const;
    const char* groupShortName(int i) const;

    void selectProgram(int program);
    int programCount() const { return static_cast<int>(programNames.size()); }
    int currentProgram() const { return current; }
    const char* currentProgramName() const { return programNames[current].data(); }
    const char* programName(int program) const;
    // At most 23 characters are kept; null is ignored.
    void setCurrentProgramName(const char* text);

    const char* effectName() const { return effectNameField; }
    const char* vendorName() const { return vendorField; }
    const char* productName() const { return productField; }
    int vendorVersion() const { return version; }

    // parameterChanged(i) on every observer in order except `except` (null excludes nobody).
    void notifyParameterChanged(IModelObserver* except, int i);
    void notifyModelChanged();
    void processLocked(float** inputs, float** outputs, int frames);

    // For the plug-in, which holds it across the smoothing and processing of one span.
    Platform::RecursiveLock& lock() { return modelLock; }

private:
    using ProgramName = std::array<char, kProgramNameLength>;

    // The group holding global index i, with i turned into the index inside it; null outside.
    Parameters::IParameterGroup* groupOf(int& i) const;
    void writeHeader(ChunkWriter& writer) const;
    bool readHeader(ChunkReader& reader) const;
    // Reads a whole name field into program's name; false (name unchanged) when it is cut off.
    bool readProgramName(ChunkReader& reader, int program);
    void storeValue(int program, int i, float v);

    char effectNameField[kEffectNameLength];
    char vendorField[kVendorLength];
    char productField[kProductLength];
    int version;
    ObserverList<IModelObserver> observers;
    std::vector<Parameters::IParameterGroup*> groups;
    Midi::IMessageProvider* provider;
    std::vector<ProgramName> programNames;
    int current = 0;
    Platform::RecursiveLock modelLock;
};

}  // namespace SynthToolkit
