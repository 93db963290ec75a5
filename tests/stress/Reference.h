// The hammer's vocabulary (the values and names it sets, the controllers it sends) and what
// the plug-in makes of it when used from one thread: the texts, values, names and chunks that
// are legitimate to observe later, under concurrent use. Everything is asked of the plug-in;
// nothing of its formatting is re-implemented here.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "tests/stress/ChunkRules.h"
#include "tools/host/Host.h"

namespace Stress {

struct Vocabulary {
    std::vector<float> grid;         // values the user-interface thread sets
    std::vector<std::string> names;  // program names it sets
    int firstController = 20;        // controller firstController + p is bound to parameter p
};

// The values k/127 (which also cover what a controller sends) and a handful of names, one of
// them longer than a program name field.
Vocabulary defaultVocabulary();

// A bank chunk's program records end here; the rest is the binding section, when there is one.
std::size_t bankRecordsEnd(std::size_t programs, std::size_t parameters);

class Reference {
public:
    // Learns on a private instance of the library. False with error set when the plug-in does
    // not behave as the hammer needs (for instance, refuses its own chunks).
    bool learn(const VstHost::PluginLibrary& library, const Vocabulary& words, std::string& error);

    const ChunkRules& chunks() const { return rules; }
    bool displayAllowed(int parameter, const std::string& text) const;
    bool nameAllowed(const std::string& text) const { return nameTexts.count(text) != 0; }
    // Whether the plug-in keeps controller bindings in its bank; then boundBank() binds one
    // controller to every parameter.
    bool bindsControllers() const { return binds; }
    const Bytes& boundBank() const { return bank; }
    int parameterCount() const { return rules.parameterCount; }
    int programCount() const { return rules.programCount; }
    // How many distinct display texts each parameter can show, for the report.
    std::size_t displayCount(int parameter) const { return displays.at(parameter).size(); }

private:
    bool learnBank(VstHost::Host& host, const Vocabulary& words, std::string& error);
    void learnControllerValues(VstHost::Host& host, const Vocabulary& words);
    void learnNames(VstHost::Host& host, const Vocabulary& words);

    ChunkRules rules;
    std::vector<std::set<std::string>> displays;
    std::set<std::string> nameTexts;
    Bytes bank;
    bool binds = false;
};

// Reads a chunk into a copy; empty when the plug-in answers none.
Bytes readChunk(VstHost::Host& host, bool program);
// effSetChunk's answer.
VstIntPtr writeChunk(VstHost::Host& host, const Bytes& chunk, bool program);

}  // namespace Stress
