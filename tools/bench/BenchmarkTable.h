// Runs the registered benchmarks and then prints, per case, the frames per second of the
// plug-in next to the straightforward reference rendering and their ratio. Benchmark names
// follow "<implementation>/<case>", with the implementations "plugin" and "reference".
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace Bench {

class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const auto slash = name.find('/');
            if (slash == std::string::npos) continue;
            const auto counter = run.counters.find("items_per_second");
            if (counter == run.counters.end()) continue;
            rates[name.substr(slash + 1)][name.substr(0, slash)] = counter->second.value;
        }
    }

    void PrintTable() const {
        std::printf("\n%-28s %16s %16s %8s\n", "case", "plugin frames/s", "reference", "ratio");
        for (const auto& [name, byImplementation] : rates) {
            const auto plugin = byImplementation.find("plugin");
            const auto reference = byImplementation.find("reference");
            if (plugin == byImplementation.end() || reference == byImplementation.end()) continue;
            std::printf("%-28s %16.4g %16.4g %8.2f\n", name.c_str(), plugin->second,
                        reference->second, plugin->second / reference->second);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> rates;
};

inline int RunWithTable(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}

}  // namespace Bench
