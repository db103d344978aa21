#include "session/LoginSession.h"

#include "session/FrameAssembler.h"

#include <cstdio>
#include <exception>

namespace kq {
namespace {

// One receive takes at most this much; the buffer is allocated once per receive thread.
constexpr std::size_t kReceiveBufferSize = 65535;
// CloseLink pauses this long after telling the receive thread to stop, so that a response
// being handled right then is finished before the link goes.
constexpr std::uint32_t kCloseGraceMs = 10;

}  // namespace

std::u16string LoginDetailsLine(std::uint8_t resultCode, std::uint32_t accountID,
                                std::uint32_t premium) {
  char line[96];
  std::snprintf(line, sizeof line,
                "Login details :    Result = $%.2X AccountID = $%.2X Premium = $%.2X",
                static_cast<unsigned>(resultCode), static_cast<unsigned>(accountID),
                static_cast<unsigned>(premium));
  return std::u16string(line, line + std::char_traits<char>::length(line));
}

TLoginSession::TLoginSession(const TSessionSettings& settings, TSessionServices services,
                             TSessionOptions options)
    : settings_(settings),
      services_(services),
      options_(std::move(options)),
      stageChanged_(services.Shim.CreateWakeSignal()),
      worldList_(std::make_shared<const TWorldList>()),
      worldServer_(std::make_shared<const WorldServerBlock>()) {}

TLoginSession::~TLoginSession() {
  CloseLink();
  // A link that was never closed (or a thread that outlived its link) must not outlive the
  // session it writes to.
  for (ReceiveThread& t : threads_) {
    t.listener->IsListen.store(false);
    t.listener->socket_->Shutdown();
    t.thread->Join();
  }
}

void TLoginSession::StatusLine(const std::u16string& text, std::uint32_t colour) const {
  if (TSessionHost* host = host_.load()) host->StatusLine(text, colour);
}

void TLoginSession::ShowLinkError() {
  services_.Desktop.ShowMessage(u"Error", u"Error", SessionDesktop::Icon::None);
}

bool TLoginSession::OpenLink() {
  SessionShim& shim = services_.Shim;
  // The program started the socket library at start-up; every link asks again.
  if (!shim.StartSockets()) {
    ShowLinkError();
    return false;
  }
  socket_ = shim.CreateSocket();
  if (!socket_) {
    ShowLinkError();
    return false;
  }
  // A dotted IPv4 literal only: a name is never looked up, so it cannot connect.
  const auto address = shim.ParseAddress(services_.Codec.ToAnsi(settings_.LoginServerIP));
  const auto port = static_cast<std::uint16_t>(settings_.LoginServerPort);  // its low 16 bits
  if (!address || !socket_->Connect(*address, port)) {
    StatusLine(u"not connected", kStatusRed);
    return false;
  }
  StatusLine(u"connected", kStatusGreen);
  return true;
}

void TLoginSession::DropSocket() {
  socket_.reset();
}

void TLoginSession::JoinEndedThreads() {
  std::erase_if(threads_, [](ReceiveThread& t) {
    if (!t.listener->ended_.load(std::memory_order_acquire)) return false;
    t.thread->Join();
    return true;
  });
}

void TLoginSession::StartListener() {
  if (!socket_) return;
  JoinEndedThreads();
  auto listener = std::shared_ptr<TListener>(new TListener(socket_));
  listener->IsListen.store(true);
  listener_ = listener;
  auto thread = services_.Shim.StartThread([this, listener] { ReceiveLoop(*listener); });
  // Without a thread nothing is ever received, and the waits run out.
  if (thread) threads_.push_back({std::move(listener), std::move(thread)});
}

void TLoginSession::ReceiveLoop(TListener& listener) {
  try {
    std::vector<std::uint8_t> buffer(kReceiveBufferSize);
    FrameAssembler frames;
    const FrameAssembler::FrameHandler dispatch = [&](ByteView frame) {
      // Taken whole under the lock that CloseLink passes through, so no response of an
      // ended link can land in the session once CloseLink has returned.
      const std::lock_guard lock(dispatchMutex_);
      if (listener.IsListen.load()) DispatchResponse(frame);
    };
    while (listener.IsListen.load()) {
      const std::ptrdiff_t got = listener.socket_->Receive(buffer);
      // The server closed the link or the receive failed: nothing more can come on it, so
      // the thread ends; CloseLink still tidies up, and a pending wait runs out.
      if (got <= 0) break;
      frames.Feed(ByteView(buffer.data(), static_cast<std::size_t>(got)), dispatch);
    }
  } catch (const std::exception&) {
    // Out of memory while decoding: this link receives nothing more.
  }
  listener.ended_.store(true, std::memory_order_release);
}

void TLoginSession::CloseLink() {
  if (!listener_ || !listener_->IsListen.load()) return;
  listener_->IsListen.store(false);
  // A response the receive thread is taking from this link is finished before we go on;
  // it starts no other.
  { const std::lock_guard lock(dispatchMutex_); }
  services_.Shim.Sleep(kCloseGraceMs);
  // Shutting down wakes the blocked receive; the handle itself is closed by whichever of
  // the session and the receive thread lets go of it last.
  listener_->socket_->Shutdown();
  socket_.reset();
  listener_.reset();
}

void TLoginSession::Send(ByteView request) const {
  if (socket_) socket_->Send(request);
}

void TLoginSession::SetStage(TSessionStage stage) {
  stage_.store(stage, std::memory_order_release);
  stageChanged_->Raise();
}

bool TLoginSession::WaitForStage(TSessionStage awaited) {
  SessionShim& shim = services_.Shim;
  const std::uint32_t bound = options_.WaitBoundMs;
  const std::uint32_t start = shim.TickCount();
  for (;;) {
    shim.DispatchMessages();
    if (Stage() == awaited) return true;
    // Unsigned 32-bit difference: right across the tick counter's wrap-around too.
    const std::uint32_t elapsed = shim.TickCount() - start;
    if (elapsed > bound) return false;
    shim.WaitForWake(*stageChanged_, bound - elapsed + 1);
  }
}

void TLoginSession::DispatchResponse(ByteView frame) {
  // Each decoder refuses a frame too short for its fields: such a response is ignored.
  switch (ResponseType(frame)) {
    case kHelloReplyType:
      if (const auto reply = DecodeHelloReply(frame)) {
        const SessionKeys keys =
            DeriveSessionKeys(reply->AddBase, reply->XorBase, settings_.LoginServerIP);
        addKey_.store(keys.AddKey, std::memory_order_relaxed);
        xorKey_.store(keys.XorKey, std::memory_order_relaxed);
        SetStage(TSessionStage::HelloReply);
      }
      break;
    case kLoginResultType:
      if (const auto result = DecodeLoginResult(frame)) {
        resultCode_.store(result->ResultCode, std::memory_order_relaxed);
        accountID_.store(result->AccountID, std::memory_order_relaxed);
        premium_.store(result->Premium, std::memory_order_relaxed);
        StatusLine(LoginDetailsLine(result->ResultCode, result->AccountID, result->Premium),
                   kStatusBlack);
        SetStage(TSessionStage::LoginResult);
      }
      break;
    case kWorldListType:
      if (auto list = DecodeWorldList(frame, services_.Codec)) {
        worldList_.store(std::make_shared<const TWorldList>(std::move(list->Worlds)));
        resultCode_.store(list->ResultCode, std::memory_order_relaxed);
        SetStage(TSessionStage::WorldList);
      }
      break;
    case kWorldServerDataType:
      if (const auto block = DecodeWorldServerData(frame)) {
        worldServer_.store(std::make_shared<const WorldServerBlock>(*block));
        if (options_.WriteTicket) options_.WriteTicket(*this);
        SetStage(TSessionStage::WorldServer);
      }
      break;
    default:
      break;  // not a response the launcher knows: the stage keeps its value
  }
}

}  // namespace kq
