// The link to the login server and the state that lives with it: the connection, its
// receive thread, the responses decoded into the session, and the stage that senders wait
// on.
#pragma once

#include "common/CodePage.h"
#include "session/Packets.h"
#include "session/SessionHost.h"
#include "session/SessionShim.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kq {

// How far the exchange has come. 3 is never used; the stage never goes back to None.
enum class TSessionStage : std::uint8_t {
  None = 0,
  LinkOpen = 1,     // set by the login sequence before the hello goes out
  HelloReply = 2,   // keys set
  LoginResult = 4,  // result code, account and premium stored
  WorldList = 5,    // world list stored
  WorldServer = 6,  // world server data stored and the ticket written
};

// The receive thread of one link.
class TListener {
 public:
  // The receive loop runs while this is set; CloseLink clears it.
  std::atomic<bool> IsListen{false};

 private:
  friend class TLoginSession;
  explicit TListener(std::shared_ptr<ShimSocket> socket) : socket_(std::move(socket)) {}

  // The link it was started for: it never receives from any other socket.
  const std::shared_ptr<ShimSocket> socket_;
  std::atomic<bool> ended_{false};
};

// What the session needs of the launcher's settings: the server and the game folder.
struct TSessionSettings {
  std::u16string LoginServerIP;  // dotted IPv4 text
  std::int32_t LoginServerPort = 0;
  std::uint8_t ClientLanguage = 0;
  std::u16string LauncherDir;  // the executable's folder, with its trailing separator
};

struct TSessionServices {
  SessionShim& Shim;
  SessionDesktop& Desktop;
  const AnsiCodec& Codec;
};

class TLoginSession;

// Runs on the receive thread once the world server data are stored and before the stage
// moves on: writes the ticket file and reports its status line.
using TicketWriter = std::function<void(TLoginSession&)>;

struct TSessionOptions {
  // How long WaitForStage waits for the server.
  std::uint32_t WaitBoundMs = 12000;
  TicketWriter WriteTicket;
};

class TLoginSession {
 public:
  // The settings are read, never written, and must outlive the session.
  TLoginSession(const TSessionSettings& settings, TSessionServices services,
                TSessionOptions options = {});
  // Closes the link and waits for every receive thread this session started.
  ~TLoginSession();
  TLoginSession(const TLoginSession&) = delete;
  TLoginSession& operator=(const TLoginSession&) = delete;

  // Set by the host before each login sequence and left alone while one runs.
  std::u16string Login;
  std::u16string Password;
  bool AutoStart = false;
  void SetHost(TSessionHost* host) { host_.store(host); }
  TSessionHost* Host() const { return host_.load(); }

  // Connects to the configured login server; reports "connected" or "not connected". On
  // false the caller drops the socket (DropSocket).
  bool OpenLink();
  // Starts the receive thread of the open link.
  void StartListener();
  // Ends the link and lets its receive thread run out; does nothing without a running
  // receive thread. Does not wait for the thread.
  void CloseLink();
  // Releases a socket that never got a receive thread (after a failed OpenLink).
  void DropSocket();
  bool HasSocket() const { return socket_ != nullptr; }
  std::shared_ptr<const TListener> Listener() const { return listener_; }

  // One send call on the link's socket; the result is not examined. Nothing without a link.
  void Send(ByteView request) const;

  // True once Stage equals the awaited value, false when the wait bound passed first.
  // Dispatches the calling thread's window messages meanwhile and sleeps between them.
  bool WaitForStage(TSessionStage awaited);

  // Decodes one response into the session; runs on the receive thread. Every value is
  // stored before the stage moves, so a thread that has seen the stage may read them.
  void DispatchResponse(ByteView frame);

  TSessionStage Stage() const { return stage_.load(std::memory_order_acquire); }
  // The sequence marks a fresh link with LinkOpen; the receive thread moves it on.
  void SetStage(TSessionStage stage);

  std::uint8_t AddKey() const { return addKey_.load(std::memory_order_relaxed); }
  std::uint8_t XorKey() const { return xorKey_.load(std::memory_order_relaxed); }
  std::uint8_t ResultCode() const { return resultCode_.load(std::memory_order_relaxed); }
  std::uint32_t AccountID() const { return accountID_.load(std::memory_order_relaxed); }
  std::uint32_t Premium() const { return premium_.load(std::memory_order_relaxed); }
  // The list of the latest world list response (empty before one). A later response
  // replaces it; a list already handed out stays valid.
  std::shared_ptr<const TWorldList> WorldList() const { return worldList_.load(); }
  // The latest world server data, all zero before any arrived.
  WorldServerBlock WorldServerData() const { return *worldServer_.load(); }

  // Reports to the host, if one is set; Status() does the same for code that takes a sink
  // (the ticket writer).
  void StatusLine(const std::u16string& text, std::uint32_t colour) const;
  StatusSink& Status() { return status_; }

  const TSessionSettings& Settings() const { return settings_; }
  const TSessionServices& Services() const { return services_; }

 private:
  struct ReceiveThread {
    std::shared_ptr<TListener> listener;
    std::unique_ptr<ShimThread> thread;
  };
  class HostStatus final : public StatusSink {
   public:
    explicit HostStatus(const TLoginSession& session) : session_(session) {}
    void StatusLine(const std::u16string& text, std::uint32_t colour) override {
      session_.StatusLine(text, colour);
    }

   private:
    const TLoginSession& session_;
  };

  void ReceiveLoop(TListener& listener);
  void JoinEndedThreads();
  void ShowLinkError();

  const TSessionSettings& settings_;
  const TSessionServices services_;
  const TSessionOptions options_;
  const std::unique_ptr<WakeSignal> stageChanged_;
  HostStatus status_{*this};

  // Written by the thread that runs the sequence or the world entry, one at a time.
  std::shared_ptr<ShimSocket> socket_;
  std::shared_ptr<TListener> listener_;
  std::vector<ReceiveThread> threads_;
  // Held by a receive thread while it takes one response into the session.
  std::mutex dispatchMutex_;

  std::atomic<TSessionHost*> host_{nullptr};
  // The receive thread stores the values relaxed and then the stage with release.
  std::atomic<TSessionStage> stage_{TSessionStage::None};
  std::atomic<std::uint8_t> addKey_{0};
  std::atomic<std::uint8_t> xorKey_{0};
  std::atomic<std::uint8_t> resultCode_{0};
  std::atomic<std::uint32_t> accountID_{0};
  std::atomic<std::uint32_t> premium_{0};
  std::atomic<std::shared_ptr<const TWorldList>> worldList_;
  std::atomic<std::shared_ptr<const WorldServerBlock>> worldServer_;
};

// "Login details :    Result = $.. AccountID = $.. Premium = $..": upper-case hexadecimal,
// at least two digits, unsigned.
std::u16string LoginDetailsLine(std::uint8_t resultCode, std::uint32_t accountID,
                                std::uint32_t premium);

}  // namespace kq
