// Throughput of FindBytes beside glibc's memmem and the plain first-byte scan (Google Benchmark).
#include "bench/find_bytes_cases.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>

namespace {

using find_bytes_bench::Case;
using find_bytes_bench::Measurement;

// memmem's answer as a 1-based position.
std::int32_t Memmem(const ByteBuffer& data, const ByteBuffer& pattern) {
    const void* found = memmem(data.Data(), static_cast<std::size_t>(data.Length()), pattern.Data(),
                               static_cast<std::size_t>(pattern.Length()));
    return found
               ? static_cast<std::int32_t>(static_cast<const std::uint8_t*>(found) - data.Data()) +
                     1
               : -1;
}

std::int32_t Memchr(const ByteBuffer& data, const ByteBuffer& pattern) {
    const void* found =
        std::memchr(data.Data(), pattern.Data()[0], static_cast<std::size_t>(data.Length()));
    return found
               ? static_cast<std::int32_t>(static_cast<const std::uint8_t*>(found) - data.Data()) +
                     1
               : -1;
}

using SearchFunction = std::function<std::int32_t(const ByteBuffer&, const ByteBuffer&)>;

// Keeps the console output and collects each run's time for the summary at the end.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    struct Label {
        std::string caseName;
        int mebibytes;
        std::string search;
    };
    std::map<std::string, Label> labels;  // by benchmark name
    std::vector<Measurement> measurements;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto label = labels.find(run.run_name.function_name);
            if (run.error_occurred || run.iterations == 0 || label == labels.end()) continue;
            measurements.push_back(
                {label->second.caseName, label->second.mebibytes, label->second.search,
                 run.cpu_accumulated_time / static_cast<double>(run.iterations)});
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    for (const Case& searchCase : find_bytes_bench::Cases()) {
        std::vector<std::pair<std::string, SearchFunction>> searches = {{"FindBytes", FindBytes}};
        if (searchCase.pattern.size() == 1) {
            searches.emplace_back(
                "SSE2 scan", [](const ByteBuffer& data, const ByteBuffer& pattern) {
                    return find_bytes_bench::Sse2ByteScan(data, pattern.Data()[0]);
                });
            searches.emplace_back("memchr", Memchr);
        } else {
            searches.emplace_back("memmem", Memmem);
            searches.emplace_back("plain scan", find_bytes_bench::PlainScan);
        }
        for (const auto& [searchName, search] : searches) {
            const std::string name = std::string(searchCase.name) + "/" +
                                     std::to_string(searchCase.mebibytes) + "MiB/" + searchName;
            reporter.labels[name] = {searchCase.name, searchCase.mebibytes, searchName};
            benchmark::RegisterBenchmark(
                name.c_str(),
                [searchCase, search = search](benchmark::State& state) {
                    const ByteBuffer& data =
                        find_bytes_bench::ContentOf(searchCase.content, searchCase.mebibytes);
                    const ByteBuffer pattern = ByteBuffer::FromText(searchCase.pattern);
                    std::int32_t result = 0;
                    for (auto _ : state) {
                        result = search(data, pattern);
                        benchmark::DoNotOptimize(result);
                    }
                    if (result != searchCase.expected)
                        state.SkipWithError("unexpected search result");
                    state.counters["GB/s"] =
                        benchmark::Counter(static_cast<double>(data.Length()) / 1e9,
                                           benchmark::Counter::kIsIterationInvariantRate);
                })
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.5);
        }
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    find_bytes_bench::PrintSummary(reporter.measurements);
    benchmark::Shutdown();
    return 0;
}
