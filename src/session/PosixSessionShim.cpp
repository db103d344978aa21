#include "session/PosixSessionShim.h"

#include "common/Utf8.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>

namespace kq {
namespace {

class PosixSocket final : public ShimSocket {
 public:
  explicit PosixSocket(int fd) : fd_(fd) {}
  ~PosixSocket() override { ::close(fd_); }

  bool Connect(std::uint32_t address, std::uint16_t port) override {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = htons(port);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return true;
    if (errno != EINTR) return false;
    // Interrupted, the connection goes on being made (a second connect would only say
    // EALREADY): wait until it is decided and read how.
    pollfd wait{fd_, POLLOUT, 0};
    int ready;
    do ready = ::poll(&wait, 1, -1);
    while (ready < 0 && errno == EINTR);
    int error = 0;
    socklen_t size = sizeof error;
    return ready == 1 && ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
  }
  void Send(ByteView bytes) override { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  std::ptrdiff_t Receive(std::span<std::uint8_t> buffer) override {
    ssize_t got;
    do got = ::recv(fd_, buffer.data(), buffer.size(), 0);
    while (got < 0 && errno == EINTR);
    return got;
  }
  void Shutdown() override { ::shutdown(fd_, SHUT_RDWR); }

 private:
  const int fd_;
};

class StdThread final : public ShimThread {
 public:
  explicit StdThread(std::function<void()> body) : thread_(std::move(body)) {}
  ~StdThread() override {
    if (thread_.joinable()) thread_.detach();
  }
  void Join() override {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

class ConditionSignal final : public WakeSignal {
 public:
  void Raise() override {
    {
      const std::lock_guard lock(mutex_);
      raised_ = true;
    }
    changed_.notify_all();
  }
  void Wait(std::uint32_t ms) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return raised_; });
    raised_ = false;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool raised_ = false;
};

// File names and messages are UTF-8 here.
std::string ToUtf8(std::u16string_view text) {
  return Utf16ToUtf8String(text);
}

}  // namespace

std::shared_ptr<ShimSocket> PosixSessionShim::CreateSocket() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  return std::make_shared<PosixSocket>(fd);
}

std::optional<std::uint32_t> PosixSessionShim::ParseAddress(std::string_view text) {
  const std::string z(text);
  const in_addr_t address = ::inet_addr(z.c_str());
  // A name, or the broadcast address, which is no server either.
  if (address == INADDR_NONE) return std::nullopt;
  return address;
}

std::unique_ptr<ShimThread> PosixSessionShim::StartThread(std::function<void()> body) {
  try {
    return std::make_unique<StdThread>(std::move(body));
  } catch (const std::system_error&) {
    return nullptr;
  }
}

std::uint32_t PosixSessionShim::TickCount() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000 +
                                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000);
}

void PosixSessionShim::Sleep(std::uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::unique_ptr<WakeSignal> PosixSessionShim::CreateWakeSignal() {
  return std::make_unique<ConditionSignal>();
}

void PosixSessionShim::WaitForWake(WakeSignal& signal, std::uint32_t ms) {
  static_cast<ConditionSignal&>(signal).Wait(ms);
}

bool PosixSessionDesktop::FileExists(const std::u16string& path) {
  struct stat st {};
  return ::stat(ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void PosixSessionDesktop::ShowMessage(std::u16string_view text, std::u16string_view caption, Icon) {
  std::fprintf(stderr, "%s: %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
}

}  // namespace kq
