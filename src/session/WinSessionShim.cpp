#include "session/WinSessionShim.h"

#include "win/Files.h"
#include "win/Handles.h"
#include "win/MessageBox.h"
#include "win/Threads.h"
#include "win/Win.h"

#include <atomic>
#include <string>

namespace kq::win {
namespace {

class WinSocket final : public ShimSocket {
 public:
  explicit WinSocket(SOCKET s) : socket_(s) {}

  bool Connect(std::uint32_t address, std::uint16_t port) override {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = ::htons(port);
    return ::connect(socket_.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
  }
  void Send(ByteView bytes) override {
    ::send(socket_.Get(), reinterpret_cast<const char*>(bytes.data()),
           static_cast<int>(bytes.size()), 0);
  }
  // A shutdown does not wake a blocked recv here, and closing the handle under it could let
  // a new link reuse the handle before the receive thread is done with it. So the wait for
  // data goes in short slices, and a shutdown is noticed between them.
  std::ptrdiff_t Receive(std::span<std::uint8_t> buffer) override {
    while (!shutDown_.load()) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(socket_.Get(), &readable);
      timeval slice{0, kReceiveSliceMs * 1000};
      const int ready = ::select(0, &readable, nullptr, nullptr, &slice);
      if (ready < 0) return -1;
      if (ready > 0) {
        return ::recv(socket_.Get(), reinterpret_cast<char*>(buffer.data()),
                      static_cast<int>(buffer.size()), 0);
      }
    }
    return -1;
  }
  void Shutdown() override {
    shutDown_.store(true);
    ::shutdown(socket_.Get(), 2 /* both directions */);
  }

 private:
  static constexpr long kReceiveSliceMs = 200;
  Socket socket_;
  std::atomic<bool> shutDown_{false};
};

class Win32Thread final : public ShimThread {
 public:
  explicit Win32Thread(KernelHandle h) : thread_(std::move(h)) {}
  void Join() override {
    if (thread_) ::WaitForSingleObject(thread_.Get(), INFINITE);
  }

 private:
  KernelHandle thread_;
};

class EventSignal final : public WakeSignal {
 public:
  EventSignal() : event_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  void Raise() override { ::SetEvent(event_.Get()); }
  HANDLE Handle() const { return event_.Get(); }

 private:
  KernelHandle event_;  // auto-reset: a wake-up waits for the next waiter
};

// Set while this thread's queue holds a quit request that a wait has put back: it must not
// wake the waits that follow, or they would spin until the message loop takes it.
thread_local bool quitPending = false;

}  // namespace

SocketLibrary::SocketLibrary() {
  WSADATA data{};
  started_ = ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

SocketLibrary::~SocketLibrary() {
  if (started_) ::WSACleanup();
}

bool WinSessionShim::StartSockets() {
  WSADATA data{};
  return ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

std::shared_ptr<ShimSocket> WinSessionShim::CreateSocket() {
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return nullptr;
  return std::make_shared<WinSocket>(s);
}

std::optional<std::uint32_t> WinSessionShim::ParseAddress(std::string_view text) {
  const std::string z(text);
  const unsigned long address = ::inet_addr(z.c_str());
  // A name, or the broadcast address, which is no server either.
  if (address == INADDR_NONE) return std::nullopt;
  return static_cast<std::uint32_t>(address);
}

std::unique_ptr<ShimThread> WinSessionShim::StartThread(std::function<void()> body) {
  KernelHandle thread = win::StartThread(std::move(body));
  if (!thread) return nullptr;
  return std::make_unique<Win32Thread>(std::move(thread));
}

std::uint32_t WinSessionShim::TickCount() {
  return ::GetTickCount();
}

void WinSessionShim::Sleep(std::uint32_t ms) {
  ::Sleep(ms);
}

std::unique_ptr<WakeSignal> WinSessionShim::CreateWakeSignal() {
  return std::make_unique<EventSignal>();
}

void WinSessionShim::DispatchMessages() {
  quitPending = DispatchPendingMessages();
}

void WinSessionShim::WaitForWake(WakeSignal& signal, std::uint32_t ms) {
  const HANDLE event = static_cast<EventSignal&>(signal).Handle();
  if (quitPending) {
    ::WaitForSingleObject(event, ms);
    return;
  }
  // Input already in the queue counts too, not only what arrives from now on.
  ::MsgWaitForMultipleObjectsEx(1, &event, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

bool WinSessionDesktop::FileExists(const std::u16string& path) {
  return win::FileExists(path);
}

void WinSessionDesktop::ShowMessage(std::u16string_view text, std::u16string_view caption,
                                    Icon icon) {
  ShowMessageBox(icon == Icon::Warning ? MessageKind::kWarning : MessageKind::kPlain, text,
                 caption);
}

}  // namespace kq::win
