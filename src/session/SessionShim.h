// What the login session needs from the system, kept thin: TCP sockets, threads, a
// millisecond tick, and a sleep that ends early when the session has news or the calling
// thread has window messages. The native build binds it to POSIX (PosixSessionShim), the
// Windows build to Windows Sockets 1.1 and CreateThread (win/SessionShim.h); tests derive
// from either to steer the clock or fail a call on purpose.
#pragma once

#include "common/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kq {

// One TCP socket. Closed when the last owner lets go: the session and its receive thread
// both hold it, so the handle cannot be reused for a new link while the old thread may
// still receive on it.
class ShimSocket {
 public:
  virtual ~ShimSocket() = default;
  // Blocking connect to an IPv4 address (network byte order) and port.
  virtual bool Connect(std::uint32_t address, std::uint16_t port) = 0;
  // One send call; the result is not examined by the session.
  virtual void Send(ByteView bytes) = 0;
  // Blocks until data arrive: the number of bytes, 0 when the peer closed the connection,
  // negative when the receive failed (also after Shutdown).
  virtual std::ptrdiff_t Receive(std::span<std::uint8_t> buffer) = 0;
  // Ends the connection both ways and wakes a blocked Receive; the handle stays valid.
  virtual void Shutdown() = 0;
};

// A started thread; Join waits for its end. Dropping a thread that was not joined leaves it
// running on its own.
class ShimThread {
 public:
  virtual ~ShimThread() = default;
  virtual void Join() = 0;
};

// A wake-up that is remembered until a waiter takes it (an auto-reset event).
class WakeSignal {
 public:
  virtual ~WakeSignal() = default;
  virtual void Raise() = 0;
};

class SessionShim {
 public:
  virtual ~SessionShim() = default;

  // Windows Sockets 1.1 on Windows; nothing to start elsewhere.
  virtual bool StartSockets() = 0;
  // An AF_INET stream socket, or null when none could be made.
  virtual std::shared_ptr<ShimSocket> CreateSocket() = 0;
  // A dotted IPv4 literal (inet_addr's forms) in network byte order; never a name lookup.
  virtual std::optional<std::uint32_t> ParseAddress(std::string_view text) = 0;

  // Null when the thread could not be started.
  virtual std::unique_ptr<ShimThread> StartThread(std::function<void()> body) = 0;

  // Milliseconds from an arbitrary origin, wrapping at 2^32 like GetTickCount.
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t ms) = 0;
  virtual std::unique_ptr<WakeSignal> CreateWakeSignal() = 0;
  // Dispatches the calling thread's pending window messages (none outside Windows).
  virtual void DispatchMessages() = 0;
  // Sleeps until the signal is raised (or was raised since the last wait), a window message
  // arrives for the calling thread, or ms milliseconds pass.
  virtual void WaitForWake(WakeSignal& signal, std::uint32_t ms) = 0;
};

// The session's two dealings with the desktop: the client file check and modal boxes.
class SessionDesktop {
 public:
  enum class Icon { None, Warning };
  virtual ~SessionDesktop() = default;
  virtual bool FileExists(const std::u16string& path) = 0;
  // A modal box with no owner window and one OK button; returns when it is closed.
  virtual void ShowMessage(std::u16string_view text, std::u16string_view caption, Icon icon) = 0;
};

}  // namespace kq
