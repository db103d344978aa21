// The login session's system services on Windows: Windows Sockets 1.1, CreateThread,
// GetTickCount, and a wait that wakes on the session's event or on window messages.
#pragma once

#include "session/SessionShim.h"

namespace kq::win {

// Windows Sockets 1.1 for as long as it lives.
class SocketLibrary {
 public:
  SocketLibrary();
  ~SocketLibrary();
  SocketLibrary(const SocketLibrary&) = delete;
  SocketLibrary& operator=(const SocketLibrary&) = delete;
  bool Started() const { return started_; }

 private:
  bool started_ = false;
};

class WinSessionShim : public SessionShim {
 public:
  // Asks for Windows Sockets 1.1 again; the program started it once at start-up and
  // releases it at its end.
  bool StartSockets() override;
  std::shared_ptr<ShimSocket> CreateSocket() override;
  std::optional<std::uint32_t> ParseAddress(std::string_view text) override;
  std::unique_ptr<ShimThread> StartThread(std::function<void()> body) override;
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t ms) override;
  std::unique_ptr<WakeSignal> CreateWakeSignal() override;
  // Dispatches everything pending; a quit request is put back for the message loop that
  // owns it and ends the dispatching.
  void DispatchMessages() override;
  void WaitForWake(WakeSignal& signal, std::uint32_t ms) override;
};

class WinSessionDesktop : public SessionDesktop {
 public:
  bool FileExists(const std::u16string& path) override;
  void ShowMessage(std::u16string_view text, std::u16string_view caption, Icon icon) override;
};

}  // namespace kq::win
