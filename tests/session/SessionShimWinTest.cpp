// The session's Windows services: sockets that a shutdown wakes, and stage waits that sleep
// on an event and the thread's message queue.
#include "session/WinSessionShim.h"

#include "SessionTestSupport.h"
#include "win/Handles.h"
#include "win/SystemText.h"
#include "win/Win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace kq::win {
namespace {

// A listening socket on a free port of 127.0.0.1.
struct Listener {
  Listener() : socket(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = ::inet_addr("127.0.0.1");
    int size = sizeof at;
    ::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&at), sizeof at);
    ::listen(socket.Get(), 4);
    ::getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&at), &size);
    port = ::ntohs(at.sin_port);
  }
  Socket socket;
  std::uint16_t port = 0;
};

TEST(WinSessionShim, ParsesDottedAddressesOnly) {
  SocketLibrary sockets;
  WinSessionShim shim;
  EXPECT_EQ(shim.ParseAddress("127.0.0.1"), 0x0100007Fu);
  EXPECT_EQ(shim.ParseAddress("10.20.30.40"), 0x281E140Au);
  EXPECT_EQ(shim.ParseAddress("localhost"), std::nullopt);
  EXPECT_EQ(shim.ParseAddress("255.255.255.255"), std::nullopt);
}

// A receive blocked on a link is woken by the link's shutdown, even while the peer keeps the
// connection open: that is how CloseLink ends a receive thread.
TEST(WinSessionShim, ShutdownWakesABlockedReceive) {
  SocketLibrary sockets;
  WinSessionShim shim;
  Listener server;
  const auto link = shim.CreateSocket();
  ASSERT_NE(link, nullptr);
  ASSERT_TRUE(link->Connect(0x0100007F, server.port));
  Socket peer(::accept(server.socket.Get(), nullptr, nullptr));
  ASSERT_TRUE(peer);

  const std::uint8_t hello[] = {1, 2, 3};
  ::send(peer.Get(), reinterpret_cast<const char*>(hello), 3, 0);
  std::uint8_t buffer[16];
  ASSERT_EQ(link->Receive(buffer), 3);

  std::atomic<std::ptrdiff_t> result{1};
  std::atomic<bool> returned{false};
  std::thread receiver([&] {
    result = link->Receive(buffer);
    returned = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(returned.load());
  link->Shutdown();
  const bool woke = test::Eventually([&] { return returned.load(); });
  if (!woke) peer.Reset();  // let the thread go before failing
  receiver.join();
  EXPECT_TRUE(woke);
  EXPECT_LE(result.load(), 0);
}

// Counts the sleeps of a wait; an empty queue means messages posted meanwhile.
class CountingShim final : public WinSessionShim {
 public:
  void WaitForWake(WakeSignal& signal, std::uint32_t ms) override {
    ++waits;
    WinSessionShim::WaitForWake(signal, ms);
  }
  int waits = 0;
};

// A message-only window that hands WM_USER to a callback.
class MessageWindow {
 public:
  explicit MessageWindow(std::function<void()> onUser) : onUser_(std::move(onUser)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = L"KQSessionWaitTest";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowW(L"KQSessionWaitTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            nullptr, nullptr);
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~MessageWindow() { ::DestroyWindow(hwnd_); }
  HWND Hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<MessageWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_USER && self) {
      self->onUser_();
      return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  std::function<void()> onUser_;
  HWND hwnd_ = nullptr;
};

struct WaitParts {
  explicit WaitParts(SessionShim& shim, std::uint32_t boundMs) {
    TSessionOptions options;
    options.WaitBoundMs = boundMs;
    session = std::make_unique<TLoginSession>(settings, TSessionServices{shim, desktop, codec},
                                              std::move(options));
  }
  TSessionSettings settings;
  WinSessionDesktop desktop;
  SystemAnsiCodec codec;
  std::unique_ptr<TLoginSession> session;
};

const Bytes kHelloReply = {0x06, 0x00, 0x15, 0x0D, 0x01, 0x02};

TEST(WinWaitForStage, WakesWhenTheReceiveThreadSetsTheStage) {
  CountingShim shim;
  WaitParts parts(shim, 60000);
  const auto start = std::chrono::steady_clock::now();
  std::thread receiver([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    parts.session->DispatchResponse(kHelloReply);
  });
  EXPECT_TRUE(parts.session->WaitForStage(TSessionStage::HelloReply));
  receiver.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_LT(shim.waits, 50);  // slept, did not spin
}

// A message posted to the waiting thread wakes the wait and is dispatched on that thread.
TEST(WinWaitForStage, DispatchesTheThreadsMessagesWhileItWaits) {
  CountingShim shim;
  WaitParts parts(shim, 60000);
  const DWORD waitingThread = ::GetCurrentThreadId();
  DWORD handledOn = 0;
  MessageWindow window([&] {
    handledOn = ::GetCurrentThreadId();
    parts.session->SetStage(TSessionStage::LinkOpen);
  });
  const auto start = std::chrono::steady_clock::now();
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::PostMessageW(window.Hwnd(), WM_USER, 0, 0);
  });
  EXPECT_TRUE(parts.session->WaitForStage(TSessionStage::LinkOpen));
  poster.join();
  EXPECT_EQ(handledOn, waitingThread);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

// A quit request met during a wait stays for the message loop, and the rest of the wait
// sleeps instead of turning on it.
TEST(WinWaitForStage, PutsAQuitRequestBackWithoutSpinning) {
  CountingShim shim;
  WaitParts parts(shim, 300);
  ::PostQuitMessage(7);
  EXPECT_FALSE(parts.session->WaitForStage(TSessionStage::HelloReply));
  EXPECT_LE(shim.waits, 3);
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
}  // namespace kq::win
