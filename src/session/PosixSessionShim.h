// The session's system services on POSIX: BSD sockets, std::thread, the monotonic clock and
// a condition variable. The native build runs the session on it against the reference
// login server.
#pragma once

#include "session/SessionShim.h"

namespace kq {

class PosixSessionShim : public SessionShim {
 public:
  bool StartSockets() override { return true; }
  std::shared_ptr<ShimSocket> CreateSocket() override;
  std::optional<std::uint32_t> ParseAddress(std::string_view text) override;
  std::unique_ptr<ShimThread> StartThread(std::function<void()> body) override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t ms) override;
  std::unique_ptr<WakeSignal> CreateWakeSignal() override;
  void DispatchMessages() override {}  // no window messages here
  void WaitForWake(WakeSignal& signal, std::uint32_t ms) override;
};

// File checks on the file system; message boxes become lines on standard error.
class PosixSessionDesktop : public SessionDesktop {
 public:
  bool FileExists(const std::u16string& path) override;
  void ShowMessage(std::u16string_view text, std::u16string_view caption, Icon icon) override;
};

}  // namespace kq
