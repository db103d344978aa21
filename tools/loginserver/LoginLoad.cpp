#include "LoginLoad.h"

#include "common/CodePage.h"
#include "common/Utf8.h"
#include "session/FrameAssembler.h"
#include "session/Packets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <latch>
#include <mutex>
#include <thread>

namespace kq::loginload {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::array<std::string_view, kStepCount> kStepNames = {"connect", "hello", "login",
                                                                 "world list", "select world"};
constexpr std::array<std::string_view, 6> kKindNames = {"refused",     "timeout",       "closed",
                                                        "short frame", "unknown frame", "rejected"};

// What every login sends: the same for all of them, worked out once.
struct Script {
  std::uint32_t Address = 0;  // network byte order
  std::uint16_t Port = 0;
  std::u16string AddressText;
  std::string AnsiLogin;
  std::string AnsiPassword;
  bool SelectWorld = false;
  int TimeoutMs = 0;
};

// One failed step, before the login's number is added.
struct StepError {
  FailureKind Kind;
  std::string Detail;
};

std::string TypeText(std::uint16_t type) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", type);
  return text;
}

// The response types the steps await, in the order of the steps after connect.
constexpr std::array<std::uint16_t, kStepCount> kAwaitedType = {
    0, kHelloReplyType, kLoginResultType, kWorldListType, kWorldServerDataType};

// One login's connection: frames read with a deadline per response.
class Link {
 public:
  ~Link() {
    if (fd_ >= 0) ::close(fd_);
  }

  std::optional<StepError> Connect(const Script& script) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
      return StepError{FailureKind::Refused, std::string("socket: ") + std::strerror(errno)};
    const int yes = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = script.Address;
    to.sin_port = htons(script.Port);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return {};
    if (errno != EINPROGRESS) {
      return StepError{FailureKind::Refused, std::strerror(errno)};
    }
    pollfd p{fd_, POLLOUT, 0};
    const int ready = ::poll(&p, 1, script.TimeoutMs);
    if (ready == 0) return StepError{FailureKind::Timeout, "no connection"};
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size);
    if (ready < 0 || error != 0) {
      return StepError{FailureKind::Refused, std::strerror(ready < 0 ? errno : error)};
    }
    return {};
  }

  std::optional<StepError> Send(ByteView bytes) {
    while (!bytes.empty()) {
      const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent < 0 && errno == EINTR) continue;
      if (sent < 0 && errno == EAGAIN) {
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, 100);
        continue;
      }
      if (sent <= 0)
        return StepError{FailureKind::Closed, std::string("send: ") + std::strerror(errno)};
      bytes = bytes.subspan(static_cast<std::size_t>(sent));
    }
    return {};
  }

  // The next frame of the awaited type. Repeats of the responses to earlier steps are
  // passed over, as the launcher passes them; any other type fails the step.
  std::optional<StepError> Await(Step step, int timeoutMs, Bytes& frame) {
    const std::uint16_t awaited = kAwaitedType[static_cast<std::size_t>(step)];
    const auto earlier = [&](std::uint16_t type) {
      return std::find(kAwaitedType.begin() + 1, kAwaitedType.begin() + static_cast<int>(step),
                       type) != kAwaitedType.begin() + static_cast<int>(step);
    };
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      while (!frames_.empty()) {
        frame = std::move(frames_.front());
        frames_.pop_front();
        const std::uint16_t type = ResponseType(frame);
        if (type == awaited) return {};
        if (!earlier(type)) return StepError{FailureKind::UnknownFrame, "type " + TypeText(type)};
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      pollfd p{fd_, POLLIN, 0};
      const int ready = left.count() > 0 ? ::poll(&p, 1, static_cast<int>(left.count())) : 0;
      if (ready < 0 && errno == EINTR) continue;
      if (ready == 0) {
        return StepError{FailureKind::Timeout,
                         assembler_.Pending() ? "part of a frame, then nothing" : "no response"};
      }
      std::uint8_t buffer[4096];
      const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (got <= 0) {
        std::string detail = got == 0 ? "by the server" : std::strerror(errno);
        if (assembler_.Pending()) detail += ", in the middle of a frame";
        return StepError{FailureKind::Closed, detail};
      }
      assembler_.Feed(ByteView(buffer, static_cast<std::size_t>(got)),
                      [&](ByteView f) { frames_.emplace_back(f.begin(), f.end()); });
    }
  }

 private:
  int fd_ = -1;
  FrameAssembler assembler_;
  std::deque<Bytes> frames_;
};

StepError TooShort(std::size_t size) {
  return {FailureKind::ShortFrame, std::to_string(size) + " bytes"};
}

// One login, step by step: the time of each step that completed goes into micros.
std::optional<std::pair<Step, StepError>> RunLogin(
    const Script& script, std::array<std::optional<std::uint64_t>, kStepCount>& micros) {
  Link link;
  Step step = Step::Connect;
  Clock::time_point start = Clock::now();
  const auto done = [&] {
    const Clock::time_point now = Clock::now();
    micros[static_cast<std::size_t>(step)] =
        std::chrono::duration_cast<std::chrono::microseconds>(now - start).count();
    start = now;
  };
  std::optional<StepError> error = link.Connect(script);
  // Sends the request of the current step and takes its response.
  Bytes frame;
  const auto exchange = [&](Step next, const Bytes& request) {
    step = next;
    start = Clock::now();
    error = link.Send(request);
    if (!error) error = link.Await(step, script.TimeoutMs, frame);
    return !error;
  };
  if (error) return std::pair{step, *error};
  done();

  if (!exchange(Step::Hello, BuildHello())) return std::pair{step, *error};
  const auto hello = DecodeHelloReply(frame);
  if (!hello) return std::pair{step, TooShort(frame.size())};
  const SessionKeys keys = DeriveSessionKeys(hello->AddBase, hello->XorBase, script.AddressText);
  done();

  if (!exchange(Step::Login, BuildLoginRequest(script.AnsiLogin, script.AnsiPassword, keys.AddKey,
                                               keys.XorKey))) {
    return std::pair{step, *error};
  }
  const auto result = DecodeLoginResult(frame);
  if (!result) return std::pair{step, TooShort(frame.size())};
  if (result->ResultCode != 0) {
    return std::pair{step, StepError{FailureKind::Rejected,
                                     "result code " + std::to_string(result->ResultCode)}};
  }
  done();

  if (!exchange(Step::WorldList, BuildWorldListRequest(0))) return std::pair{step, *error};
  if (!DecodeWorldList(frame, Cp1251Codec())) return std::pair{step, TooShort(frame.size())};
  done();

  if (!script.SelectWorld) return std::nullopt;
  if (!exchange(Step::SelectWorld, BuildSelectWorld(0))) return std::pair{step, *error};
  if (!DecodeWorldServerData(frame)) return std::pair{step, TooShort(frame.size())};
  done();
  return std::nullopt;
}

std::string Ansi(const std::string& utf8) {
  return Cp1251Codec().ToAnsi(Utf8ToUtf16(AsBytes(utf8)));
}

std::string Millis(std::uint64_t micros) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(micros) / 1000.0);
  return text;
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::string_view StepName(Step step) {
  return kStepNames[static_cast<std::size_t>(step)];
}

std::string_view FailureKindName(FailureKind kind) {
  return kKindNames[static_cast<std::size_t>(kind)];
}

StepFigures Summarise(std::vector<std::uint64_t> micros) {
  if (micros.empty()) return {};
  std::sort(micros.begin(), micros.end());
  // Nearest rank: the smallest value with at least p% of the samples at or below it.
  const auto rank = [&](std::size_t percent) {
    const std::size_t n = (micros.size() * percent + 99) / 100;
    return micros[std::max<std::size_t>(n, 1) - 1];
  };
  return {micros.size(), rank(50), rank(99), micros.back()};
}

int LoadReport::FailuresOf(FailureKind kind) const {
  return static_cast<int>(std::count_if(Failures.begin(), Failures.end(),
                                        [&](const Failure& f) { return f.Kind == kind; }));
}

LoadReport RunLoad(const LoadOptions& options) {
  Script script;
  script.AddressText = Utf8ToUtf16(AsBytes(options.Address));
  in_addr address{};
  script.Address = ::inet_pton(AF_INET, options.Address.c_str(), &address) == 1
                       ? address.s_addr
                       : htonl(INADDR_NONE);
  script.Port = options.Port;
  script.AnsiLogin = Ansi(options.Login);
  script.AnsiPassword = Ansi(options.Password);
  script.SelectWorld = options.SelectWorld;
  script.TimeoutMs = static_cast<int>(options.TimeoutMs);

  const int count = std::max(options.Count, 0);
  int workers = options.Concurrency > 0 ? std::min(options.Concurrency, count) : count;

  std::mutex mutex;  // guards the two below
  std::array<std::vector<std::uint64_t>, kStepCount> micros;
  LoadReport report;
  report.Started = count;

  std::atomic<int> next{0};
  // Every worker is ready before the first login starts, so that they run at once.
  std::latch ready(workers + 1);
  const auto work = [&] {
    ready.arrive_and_wait();
    for (int index = next++; index < count; index = next++) {
      std::array<std::optional<std::uint64_t>, kStepCount> times;
      const auto failure = RunLogin(script, times);
      const std::lock_guard lock(mutex);
      for (std::size_t s = 0; s < kStepCount; ++s) {
        if (times[s]) micros[s].push_back(*times[s]);
      }
      if (failure) {
        report.Failures.push_back(
            {index, failure->first, failure->second.Kind, std::move(failure->second.Detail)});
      } else {
        ++report.Succeeded;
      }
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(workers));
  for (int i = 0; i < workers; ++i) threads.emplace_back(work);
  ready.arrive_and_wait();
  const Clock::time_point start = Clock::now();
  for (std::thread& t : threads) t.join();
  report.WallSeconds = std::chrono::duration<double>(Clock::now() - start).count();

  for (std::size_t s = 0; s < kStepCount; ++s) report.Steps[s] = Summarise(std::move(micros[s]));
  std::sort(report.Failures.begin(), report.Failures.end(),
            [](const Failure& a, const Failure& b) { return a.LoginIndex < b.LoginIndex; });
  return report;
}

std::string FormatReport(const LoadOptions& options, const LoadReport& report) {
  const int workers =
      options.Concurrency > 0 ? std::min(options.Concurrency, report.Started) : report.Started;
  char line[256];
  std::string out;
  std::snprintf(line, sizeof line,
                "%s:%u: %d logins, %d at a time: %d ok, %zu failed in %.3f s (%.1f logins/s)\n",
                options.Address.c_str(), options.Port, report.Started, workers, report.Succeeded,
                report.Failures.size(), report.WallSeconds, report.LoginsPerSecond());
  out += line;
  out += "step          samples   p50 ms   p99 ms   max ms\n";
  for (std::size_t s = 0; s < kStepCount; ++s) {
    const StepFigures& f = report.Steps[s];
    if (s == static_cast<std::size_t>(Step::SelectWorld) && !options.SelectWorld) continue;
    std::snprintf(line, sizeof line, "%-12s %8zu %8s %8s %8s\n", kStepNames[s].data(), f.Samples,
                  Millis(f.P50).c_str(), Millis(f.P99).c_str(), Millis(f.Max).c_str());
    out += line;
  }
  if (report.Failures.empty()) return out;
  out += "failures:";
  for (std::size_t k = 0; k < kKindNames.size(); ++k) {
    const int n = report.FailuresOf(static_cast<FailureKind>(k));
    if (n == 0) continue;
    std::snprintf(line, sizeof line, " %s %d", kKindNames[k].data(), n);
    out += line;
  }
  out += '\n';
  for (const Failure& f : report.Failures) {
    std::snprintf(line, sizeof line, "login %d: %s: %s (", f.LoginIndex, StepName(f.At).data(),
                  FailureKindName(f.Kind).data());
    out += line;
    out += f.Detail;
    out += ")\n";
  }
  return out;
}

std::optional<std::string> ParseArgs(std::span<const std::string> args, LoadOptions& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& flag = args[i];
    if (flag == "--help") {
      options.Help = true;
      continue;
    }
    if (i + 1 >= args.size()) return flag + " needs a value";
    const std::string& value = args[++i];
    const auto bad = [&] { return "bad value for " + flag + ": " + value; };
    if (flag == "--address") {
      in_addr parsed{};
      if (::inet_pton(AF_INET, value.c_str(), &parsed) != 1) return bad();
      options.Address = value;
    } else if (flag == "--port") {
      const auto port = ParseNumber<std::uint16_t>(value);
      if (!port || *port == 0) return bad();
      options.Port = *port;
    } else if (flag == "--count" || flag == "--concurrency") {
      const auto n = ParseNumber<int>(value);
      if (!n || *n < (flag == "--count" ? 1 : 0)) return bad();
      (flag == "--count" ? options.Count : options.Concurrency) = *n;
    } else if (flag == "--login") {
      options.Login = value;
    } else if (flag == "--password") {
      options.Password = value;
    } else if (flag == "--select-world") {
      if (value != "yes" && value != "no") return bad();
      options.SelectWorld = value == "yes";
    } else if (flag == "--timeout") {
      const auto ms = ParseNumber<std::uint32_t>(value);
      if (!ms || *ms == 0 || *ms > 600000) return bad();
      options.TimeoutMs = *ms;
    } else {
      return "unknown flag " + flag;
    }
  }
  return std::nullopt;
}

const char kUsage[] =
    "KQLoginLoad: runs many scripted logins against a login server at once and reports\n"
    "throughput, latency per step and every failure.\n"
    "  --address IP         the server's IPv4 address, as typed in the launcher's settings\n"
    "                       (127.0.0.1)\n"
    "  --port N             its port (10001)\n"
    "  --count N            logins in all (100)\n"
    "  --concurrency N      logins at a time; 0 runs all at once (0)\n"
    "  --login TEXT         the account's login (UTF-8)\n"
    "  --password TEXT      its password\n"
    "  --select-world yes|no  also select the first world (no)\n"
    "  --timeout MS         for the connection and for each response (5000)\n"
    "Exit code: 0 when every login succeeded, 1 when any failed, 2 for a bad flag.\n";

}  // namespace kq::loginload
