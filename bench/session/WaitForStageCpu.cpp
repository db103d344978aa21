// Measures one WaitForStage that runs into its bound (no server answers): its wall time, the
// processor time of the waiting thread and of the whole process, and, for comparison, the
// same time spent the old way, polling the tick count without a pause.
//
// Usage: KQWaitCpu [BOUND_MS [PORT]]
//   BOUND_MS  the wait's bound (12000)
//   PORT      with a port, the wait is for a hello reply on a link to 127.0.0.1:PORT, with
//             its receive thread running: start a server that stays silent, for example
//             KQLoginServer --port PORT --fault hello=silent
#include "common/CodePage.h"
#include "session/LoginSession.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include "session/WinSessionShim.h"
#include "win/Win.h"
#else
#include "session/PosixSessionShim.h"

#include <ctime>
#endif

namespace {

#ifdef _WIN32
using SystemShim = kq::win::WinSessionShim;
using SystemDesktop = kq::win::WinSessionDesktop;

double Ms(FILETIME kernel, FILETIME user) {
  const auto ticks = [](FILETIME t) {
    return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 |
                               t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 10000.0;  // 100-ns units
}

double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  return Ms(kernel, user);
}

double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  return Ms(kernel, user);
}
#else
using SystemShim = kq::PosixSessionShim;
using SystemDesktop = kq::PosixSessionDesktop;

double CpuMs(clockid_t clock) {
  timespec t{};
  ::clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}
double ThreadCpuMs() {
  return CpuMs(CLOCK_THREAD_CPUTIME_ID);
}
double ProcessCpuMs() {
  return CpuMs(CLOCK_PROCESS_CPUTIME_ID);
}
#endif

struct Sample {
  std::uint32_t tick;
  double thread;
  double process;
};

Sample Now(kq::SessionShim& shim) {
  return {shim.TickCount(), ThreadCpuMs(), ProcessCpuMs()};
}

void Report(const char* what, const Sample& from, const Sample& to) {
  const std::uint32_t wall = to.tick - from.tick;
  const auto share = [wall](double ms) { return wall ? 100.0 * ms / wall : 0.0; };
  std::printf(
      "%s\n  wall %u ms; waiting thread %.3f ms (%.4f %% of one processor); "
      "process %.3f ms (%.4f %%)\n",
      what, static_cast<unsigned>(wall), to.thread - from.thread, share(to.thread - from.thread),
      to.process - from.process, share(to.process - from.process));
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t bound = argc > 1 ? static_cast<std::uint32_t>(std::atol(argv[1])) : 12000;
  const int port = argc > 2 ? std::atoi(argv[2]) : 0;

#ifdef _WIN32
  const kq::win::SocketLibrary sockets;
#endif
  SystemShim shim;
  SystemDesktop desktop;
  const kq::Cp1251Codec codec;
  kq::TSessionSettings settings;
  settings.LoginServerIP = u"127.0.0.1";
  settings.LoginServerPort = port;
  kq::TSessionOptions options;
  options.WaitBoundMs = bound;
  kq::TLoginSession session(settings, kq::TSessionServices{shim, desktop, codec}, options);
  if (port) {
    if (!session.OpenLink()) {
      std::fprintf(stderr, "no server at 127.0.0.1:%d\n", port);
      return 2;
    }
    session.StartListener();
    session.SetStage(kq::TSessionStage::LinkOpen);
    session.Send(kq::BuildHello());
  }

  Sample start = Now(shim);
  const bool reached = session.WaitForStage(kq::TSessionStage::HelloReply);
  Report(port ? "WaitForStage into its bound, link open and its receive thread waiting:"
              : "WaitForStage into its bound:",
         start, Now(shim));
  if (reached) return 1;

  // The old wait: dispatch, look, look at the clock, again, with no pause.
  start = Now(shim);
  while (shim.TickCount() - start.tick <= bound) {
    shim.DispatchMessages();
    if (session.Stage() == kq::TSessionStage::HelloReply) return 1;
  }
  Report("polling without a pause, for comparison:", start, Now(shim));
  return 0;
}
