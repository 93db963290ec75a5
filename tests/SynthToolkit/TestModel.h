// A five-parameter model for framework tests: linear parameters that record what reaches
// them, and a process that records the spans it is handed.
#pragma once

#include <vector>

#include "SynthToolkit/Model.h"
#include "SynthToolkit/Parameters/FloatDisplay.h"
#include "SynthToolkit/Parameters/Labels.h"
#include "SynthToolkit/Parameters/LinearTransform.h"
#include "SynthToolkit/Parameters/Parameter.h"
#include "SynthToolkit/Parameters/ParameterGroupBase.h"
#include "SynthToolkit/ServiceDispatcher.h"

namespace TestSupport {

struct Sink {
    void take(float v) { received.push_back(v); }
    std::vector<float> received;
};

template <int Programs>
class SinkGroup : public SynthToolkit::Parameters::ParameterGroupBase<Sink, Programs> {
public:
    using Linear = SynthToolkit::Parameters::Parameter<
        Sink, Programs, SynthToolkit::Parameters::LinearTransform,
        SynthToolkit::Parameters::FloatDisplay, SynthToolkit::Parameters::NullLabel>;
    SinkGroup(const char* shortName, int count)
        : SynthToolkit::Parameters::ParameterGroupBase<Sink, Programs>(shortName, "Sinks") {
        const char* names[] = {"P0", "P1", "P2", "P3", "P4", "P5", "P6", "P7"};
        for (int i = 0; i < count; ++i)
            this->addParameter(new Linear(names[i], names[i], 0.1f * (i + 1), &Sink::take));
    }
};

// Two groups, three and two parameters, so global indices cross a group boundary.
class TestModel : public SynthToolkit::Model {
public:
    explicit TestModel(SynthToolkit::ServiceDispatcher& services)
        : Model("Quellin Corvane", "Quellin Sound Design", "Quellin Corvane", 2000, 32,
                services.messageProvider()),
          first("A", 3),
          second("B", 2) {
        addGroup(&first);
        addGroup(&second);
        first.addObserver(&sink);
        second.addObserver(&sink);
    }

    int inputCount() const override { return 2; }
    int outputCount() const override { return 2; }
    void process(float** inputs, float** outputs, int frames) override {
        spans.push_back(frames);
        // Marks each frame with its span number, so misplaced pointers show.
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < frames; ++i)
                outputs[c][i] = inputs[c][i] + static_cast<float>(spans.size());
    }

    SinkGroup<32> first;
    SinkGroup<32> second;
    Sink sink;
    std::vector<int> spans;
};

}  // namespace TestSupport
