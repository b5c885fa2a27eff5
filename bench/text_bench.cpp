// The occurs-in rule against glibc memmem over the same bytes, at trust texts of 1 KB to 4 MB.
// Repetitions are interleaved at random and compared by their medians, so both sides see the
// same machine load; the table at the end gives the ratios.
#include <benchmark/benchmark.h>
#include <string.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/trust_texts.h"

namespace {

const std::vector<std::size_t> kSizes = {1 << 10, 64 << 10, 1 << 20, 4 << 20};

void OccursInRule(benchmark::State& state) {
  const Text text = MakeTrustText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(OccursIn(kAbsentName, text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Memmem(benchmark::State& state) {
  const Text text = MakeTrustText(static_cast<std::size_t>(state.range(0)));
  const std::string_view name = kAbsentName;
  for (auto _ : state) {
    benchmark::DoNotOptimize(memmem(text.data(), text.size(), name.data(), name.size()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// Keeps the console output and collects the median time per iteration of every benchmark.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") medians[run.run_name.str()] = run.GetAdjustedRealTime();
    }
  }
  std::map<std::string, double> medians;  // nanoseconds
};

}  // namespace

BENCHMARK(OccursInRule)->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20)->Arg(4 << 20);
BENCHMARK(Memmem)->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20)->Arg(4 << 20);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // One row per size: the ratio, and the cost per byte, whose flatness across sizes shows
  // linear growth.
  for (const std::size_t size : kSizes) {
    const std::string arg = "/" + std::to_string(size);
    const auto rule = reporter.medians.find("OccursInRule" + arg);
    const auto bare = reporter.medians.find("Memmem" + arg);
    if (rule == reporter.medians.end() || bare == reporter.medians.end()) continue;
    std::printf("| match %7zu KB | occurs-in %.3f ns/B | memmem %.3f ns/B | %.2fx | <= 2x |\n",
                size >> 10, rule->second / static_cast<double>(size),
                bare->second / static_cast<double>(size), rule->second / bare->second);
  }
  return 0;
}
