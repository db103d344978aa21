// The load tool's measuring and reporting: many scripted logins against a login server at
// once, each as the launcher does it (hello, login, world list, optionally select world),
// timed step by step, every failure kept with its kind. The KQLoginLoad program is a thin
// shell around it; the tests run it in-process.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kq::loginload {

enum class Step { Connect, Hello, Login, WorldList, SelectWorld };
inline constexpr std::size_t kStepCount = 5;
std::string_view StepName(Step step);

enum class FailureKind {
  Refused,       // the connection was refused or could not be made
  Timeout,       // no complete response within the time
  Closed,        // the server closed the connection before the response was complete
  ShortFrame,    // the awaited type, too short for its fields
  UnknownFrame,  // a frame of a type that answers nothing this login asked
  Rejected,      // the login result carried a non-zero result code
};
std::string_view FailureKindName(FailureKind kind);

struct LoadOptions {
  // The address text, as an operator types it into the launcher's settings: the keys the
  // launcher scrambles with depend on it.
  std::string Address = "127.0.0.1";
  std::uint16_t Port = 10001;
  int Count = 100;      // logins in all
  int Concurrency = 0;  // logins at a time; 0 runs all at once
  std::string Login;    // UTF-8, sent in code page 1251 like the launcher does
  std::string Password;
  bool SelectWorld = false;
  std::uint32_t TimeoutMs = 5000;  // for the connection and for each response
  bool Help = false;
};

struct Failure {
  int LoginIndex = 0;  // from 0, in the order the logins were started
  Step At = Step::Connect;
  FailureKind Kind = FailureKind::Refused;
  std::string Detail;
};

// Latencies of one step over the logins that completed it, in microseconds.
struct StepFigures {
  std::size_t Samples = 0;
  std::uint64_t P50 = 0;
  std::uint64_t P99 = 0;
  std::uint64_t Max = 0;
};
// Nearest-rank percentiles; all zero for no samples.
StepFigures Summarise(std::vector<std::uint64_t> micros);

struct LoadReport {
  int Started = 0;
  int Succeeded = 0;
  double WallSeconds = 0;
  std::array<StepFigures, kStepCount> Steps{};
  std::vector<Failure> Failures;  // sorted by login

  double LoginsPerSecond() const { return WallSeconds > 0 ? Succeeded / WallSeconds : 0; }
  int FailuresOf(FailureKind kind) const;
};

// Runs the logins; returns only when every one has ended.
LoadReport RunLoad(const LoadOptions& options);

// The report as the program prints it: the totals, a line per step, a count per failure
// kind, then every failure.
std::string FormatReport(const LoadOptions& options, const LoadReport& report);

// Applies the flags in order; on a mistake returns its description.
std::optional<std::string> ParseArgs(std::span<const std::string> args, LoadOptions& options);

extern const char kUsage[];

}  // namespace kq::loginload
