// The portable benchmarks' program: Google Benchmark's console output, N repetitions by
// default, then the table of ratios (each reading path against plain zlib on the same
// bytes) built from the medians, minima and maxima of the repetitions.
#include "../common/RatioTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct RatioPair {
  const char* measured;  // benchmark names as reported, without the aggregate suffix
  const char* compared;
  const char* label;
};

constexpr RatioPair kPairs[] = {
    {"BM_SkinPackagesRead", "BM_SkinPackagesPlainInflate",
     "reading a skin package vs plain zlib inflation of its entries (all internal packages, "
     "one pass)"},
    {"BM_FormFromCompressedResource/TFRMMAIN", "BM_PlainInflate/TFRMMAIN",
     "reading the main form (compiled TFRMMAIN) vs plain zlib inflation"},
    {"BM_FormFromCompressedResource/stress", "BM_PlainInflate/stress",
     "reading a 5 MB stress form (74 random-byte packages) vs plain zlib inflation"},
};

constexpr int kDefaultRepetitions = 15;

// Prints as the console reporter does and keeps every aggregate's CPU time, in
// milliseconds: the work is single-threaded, and on a shared machine the wall time also
// counts the time the program waits for a core.
class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Aggregate || run.error_occurred) continue;
      const double ms =
          run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
      Entry& e = entries_[run.run_name.str()];
      e.repetitions = static_cast<std::size_t>(run.repetitions);
      if (run.aggregate_name == "median") e.spread.median = ms;
      if (run.aggregate_name == "min") e.spread.min = ms;
      if (run.aggregate_name == "max") e.spread.max = ms;
      e.found |= run.aggregate_name == "median";
    }
  }

  // The rows of the pairs whose both sides ran (a --benchmark_filter may leave some out).
  void PrintTable() const {
    std::string rows;
    for (const RatioPair& pair : kPairs) {
      const auto m = entries_.find(pair.measured);
      const auto c = entries_.find(pair.compared);
      if (m == entries_.end() || c == entries_.end() || !m->second.found || !c->second.found)
        continue;
      rows += kq::bench::RatioTableRow(pair.label, m->second.repetitions, m->second.spread,
                                       c->second.spread, "ms CPU");
    }
    if (rows.empty()) {
      std::printf("\nNo ratio: each pair needs both of its benchmarks, repeated.\n");
      return;
    }
    std::printf("\n%s%s", kq::bench::RatioTableHeader(), rows.c_str());
  }

 private:
  struct Entry {
    std::size_t repetitions = 0;
    kq::bench::Spread spread;
    bool found = false;
  };
  std::map<std::string, Entry> entries_;
};

}  // namespace

int main(int argc, char** argv) {
  // N repetitions unless the caller chose; only the aggregates are shown.
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=" + std::to_string(kDefaultRepetitions);
  std::string aggregatesOnly = "--benchmark_display_aggregates_only=true";
  const auto given = [&](const char* flag) {
    for (int i = 1; i < argc; ++i)
      if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) return true;
    return false;
  };
  if (!given("--benchmark_repetitions")) args.insert(args.begin() + 1, repetitions.data());
  if (!given("--benchmark_display_aggregates_only") && !given("--benchmark_report_aggregates_only"))
    args.insert(args.begin() + 1, aggregatesOnly.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintTable();
  benchmark::Shutdown();
  return 0;
}
