#include "session/LoginSession.h"

#include "LoginServer.h"
#include "SessionTestSupport.h"
#include "session/PosixSessionShim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kq {
namespace {

using test::RecordingDesktop;
using test::RecordingHost;
using test::StatusLineRecord;

const Cp1251Codec kCodec;

// One session with recording host and desktop, on the given shim.
struct SessionParts {
  explicit SessionParts(SessionShim& shim, TSessionOptions options = {},
                        std::u16string ip = u"127.0.0.1", std::int32_t port = 0) {
    settings.LoginServerIP = std::move(ip);
    settings.LoginServerPort = port;
    session = std::make_unique<TLoginSession>(settings, TSessionServices{shim, desktop, kCodec},
                                              std::move(options));
    session->SetHost(&host);
  }
  TSessionSettings settings;
  RecordingHost host;
  PosixSessionDesktop files;
  RecordingDesktop desktop{files};
  std::unique_ptr<TLoginSession> session;
};

Bytes Response(std::uint8_t code, std::initializer_list<std::uint8_t> payload,
               std::size_t size = 0) {
  Bytes f = BuildFrame(code, Bytes(payload));
  if (size > f.size()) f.resize(size, 0);
  return f;
}

Bytes HelloReply(std::uint8_t addBase, std::uint8_t xorBase) {
  return Response(0x0D, {addBase, xorBase});
}

Bytes LoginResult(std::uint8_t code, std::uint32_t account, std::uint32_t premium) {
  Bytes payload;
  ByteWriter w(payload);
  w.U8(code);
  w.U32(account);
  w.U32(premium);
  return BuildFrame(0x04, payload);
}

Bytes WorldList(std::uint8_t result, std::uint8_t open, std::string_view ansiName) {
  Bytes payload(57, 0);
  payload[0] = result;
  payload[4] = open;
  std::copy(ansiName.begin(), ansiName.end(), payload.begin() + 6);
  return BuildFrame(0x06, payload);
}

Bytes WorldServerData() {
  Bytes payload;
  for (int i = 0; i < 23; ++i) payload.push_back(static_cast<std::uint8_t>(0xA0 + i));
  return BuildFrame(0x08, payload);
}

// ---------------------------------------------------------------------------------------
// DispatchResponse

TEST(DispatchResponse, HelloReplySetsTheKeysForTheConfiguredAddressText) {
  PosixSessionShim shim;
  const struct {
    std::u16string ip;
    std::uint8_t addKey, xorKey;
  } cases[] = {
      {u"127.0.0.1", 0x10 + 0x3A, 0x20 + 0x5E},
      // The same host written otherwise is not the designated text.
      {u"127.0.0.01", 0x10 + 0xC5, 0x20 + 0xA7},
      {u"10.0.0.5", 0x10 + 0xC5, 0x20 + 0xA7},
  };
  for (const auto& c : cases) {
    SessionParts parts(shim, {}, c.ip);
    parts.session->DispatchResponse(HelloReply(0x10, 0x20));
    EXPECT_EQ(parts.session->AddKey(), c.addKey);
    EXPECT_EQ(parts.session->XorKey(), c.xorKey);
    EXPECT_EQ(parts.session->Stage(), TSessionStage::HelloReply);
  }
  // The key sums wrap at 256.
  SessionParts parts(shim);
  parts.session->DispatchResponse(HelloReply(0xF0, 0xA2));
  EXPECT_EQ(parts.session->AddKey(), 0x2A);
  EXPECT_EQ(parts.session->XorKey(), 0x00);
}

TEST(DispatchResponse, LoginResultStoresTheFieldsAndReportsTheDetailsLine) {
  PosixSessionShim shim;
  const struct {
    std::uint8_t code;
    std::uint32_t account, premiumField, premium;
    std::u16string line;
  } cases[] = {
      {0, 4660, 1, 1, u"Login details :    Result = $00 AccountID = $1234 Premium = $01"},
      {6, 0, 0, 0, u"Login details :    Result = $06 AccountID = $00 Premium = $00"},
      // Only exactly 1 is premium.
      {0, 7, 2, 0, u"Login details :    Result = $00 AccountID = $07 Premium = $00"},
      // The account number is unsigned, all eight digits.
      {255, 2147483648u, 1, 1,
       u"Login details :    Result = $FF AccountID = $80000000 Premium = $01"},
      {0xAB, 0xFFFFFFFFu, 0x100, 0,
       u"Login details :    Result = $AB AccountID = $FFFFFFFF Premium = $00"},
  };
  for (const auto& c : cases) {
    SessionParts parts(shim);
    parts.session->DispatchResponse(LoginResult(c.code, c.account, c.premiumField));
    EXPECT_EQ(parts.session->ResultCode(), c.code);
    EXPECT_EQ(parts.session->AccountID(), c.account);
    EXPECT_EQ(parts.session->Premium(), c.premium);
    EXPECT_EQ(parts.session->Stage(), TSessionStage::LoginResult);
    EXPECT_EQ(parts.host.Lines(), (std::vector<StatusLineRecord>{{c.line, kStatusBlack}}));
  }
}

TEST(DispatchResponse, ASecondWorldListReplacesTheFirstWhichStaysValid) {
  PosixSessionShim shim;
  SessionParts parts(shim);
  TLoginSession& s = *parts.session;
  EXPECT_TRUE(s.WorldList()->empty());

  // "Ризура" in code page 1251.
  s.DispatchResponse(WorldList(0, 7, "\xD0\xE8\xE7\xF3\xF0\xE0"));
  const auto first = s.WorldList();
  EXPECT_EQ(*first, (TWorldList{{true, u"Ризура", 0, 0}}));
  EXPECT_EQ(s.ResultCode(), 0);
  EXPECT_EQ(s.Stage(), TSessionStage::WorldList);

  s.SetStage(TSessionStage::WorldServer);
  s.DispatchResponse(WorldList(40, 0, "Closed"));
  EXPECT_EQ(*s.WorldList(), (TWorldList{{false, u"Closed", 0, 0}}));
  EXPECT_EQ(s.ResultCode(), 40);
  EXPECT_EQ(s.Stage(), TSessionStage::WorldList);
  EXPECT_EQ(*first, (TWorldList{{true, u"Ризура", 0, 0}}));
}

// The ticket writer runs with the data stored and before the stage moves on.
TEST(DispatchResponse, WorldServerDataCallsTheTicketWriterBeforeTheStageMoves) {
  PosixSessionShim shim;
  std::vector<std::pair<TSessionStage, WorldServerBlock>> seen;
  TSessionOptions options;
  options.WriteTicket = [&](TLoginSession& s) {
    seen.emplace_back(s.Stage(), s.WorldServerData());
  };
  SessionParts parts(shim, std::move(options));
  TLoginSession& s = *parts.session;
  EXPECT_EQ(s.WorldServerData(), WorldServerBlock{});
  s.SetStage(TSessionStage::WorldList);

  s.DispatchResponse(WorldServerData());
  WorldServerBlock want;
  for (int i = 0; i < 23; ++i) want[i] = static_cast<std::uint8_t>(0xA0 + i);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].first, TSessionStage::WorldList);
  EXPECT_EQ(seen[0].second, want);
  EXPECT_EQ(s.WorldServerData(), want);
  EXPECT_EQ(s.Stage(), TSessionStage::WorldServer);
}

// Responses of other types, and responses too short for their fields, change nothing. Each
// frame sits in a buffer of exactly its size, so AddressSanitizer catches a read past it.
TEST(DispatchResponse, IgnoresOtherTypesAndShortResponses) {
  PosixSessionShim shim;
  int tickets = 0;
  TSessionOptions options;
  options.WriteTicket = [&](TLoginSession&) { ++tickets; };
  SessionParts parts(shim, std::move(options));
  TLoginSession& s = *parts.session;
  s.DispatchResponse(HelloReply(1, 2));
  s.DispatchResponse(LoginResult(0, 99, 1));
  s.DispatchResponse(WorldList(0, 1, "World"));
  s.SetStage(TSessionStage::LinkOpen);
  const auto list = s.WorldList();
  const auto keep = [&] {
    EXPECT_EQ(s.Stage(), TSessionStage::LinkOpen);
    EXPECT_EQ(s.AddKey(), 1 + 0x3A);
    EXPECT_EQ(s.ResultCode(), 0);
    EXPECT_EQ(s.AccountID(), 99u);
    EXPECT_EQ(s.WorldList(), list);
    EXPECT_EQ(tickets, 0);
    EXPECT_EQ(parts.host.Lines().size(), 1u);
  };

  const std::vector<Bytes> others = {
      Response(0x05, {0, 0, 0, 0}),                              // a request's type
      Bytes{0x0D, 0x00, 0x04, 0x15, 9, 9, 9, 9, 9, 9, 9, 9, 9},  // login result reversed
      Bytes{0x06, 0x00, 0x0D, 0x15, 9, 9},                       // hello reply reversed
      Response(0x0E, {9, 9}),
      Bytes{0x06, 0x00, 0x16, 0x0D, 9, 9},  // another class
  };
  for (const Bytes& frame : others) {
    s.DispatchResponse(frame);
    keep();
  }
  for (const Bytes& whole :
       {HelloReply(0x40, 0x50), LoginResult(5, 1, 1), WorldList(3, 1, "Late"), WorldServerData()}) {
    for (std::size_t size = 0; size < whole.size(); ++size) {
      s.DispatchResponse(Bytes(whole.begin(), whole.begin() + size));
      keep();
    }
  }
}

// A response longer than its fields is taken; its extra bytes are not read.
TEST(DispatchResponse, TakesAResponseLongerThanItsFields) {
  PosixSessionShim shim;
  SessionParts parts(shim);
  parts.session->DispatchResponse(Response(0x04, {9, 1, 0, 0, 0, 1, 0, 0, 0}, 300));
  EXPECT_EQ(parts.session->Stage(), TSessionStage::LoginResult);
  EXPECT_EQ(parts.session->ResultCode(), 9);
  EXPECT_EQ(parts.session->AccountID(), 1u);
  EXPECT_EQ(parts.session->Premium(), 1u);
}

// ---------------------------------------------------------------------------------------
// WaitForStage on a clock that moves only when the session sleeps

// Each sleep advances the clock by the time asked for, or by at most `wakeEvery` (a wake-up
// for a window message), or up to the moment the stage is due; the stage change runs on the
// waiting thread at that moment.
class SteppedClockShim final : public PosixSessionShim {
 public:
  explicit SteppedClockShim(std::uint32_t origin) : origin_(origin), now_(origin) {}

  std::uint32_t TickCount() override { return now_; }
  void DispatchMessages() override { ++dispatches; }
  void WaitForWake(WakeSignal&, std::uint32_t ms) override {
    ++waits;
    asked.push_back(ms);
    std::uint32_t step = wakeEvery ? std::min(ms, wakeEvery) : ms;
    const std::uint32_t elapsed = now_ - origin_;
    if (stageAt && !fired && elapsed + step >= *stageAt) {
      step = *stageAt - elapsed;
      fired = true;
      now_ += step;
      onStage();
      return;
    }
    now_ += step;
  }
  std::uint32_t Elapsed() const { return now_ - origin_; }

  std::optional<std::uint32_t> stageAt;
  std::uint32_t wakeEvery = 0;
  std::function<void()> onStage;
  bool fired = false;
  int waits = 0;
  int dispatches = 0;
  std::vector<std::uint32_t> asked;

 private:
  const std::uint32_t origin_;
  std::uint32_t now_;
};

TEST(WaitForStage, KeepsItsBoundInUnsignedTicks) {
  constexpr std::uint32_t kBeforeWrap = 0xFFFFFFFFu - 4999;  // 5000 ms before the wrap
  const struct {
    const char* name;
    std::uint32_t origin;
    std::uint32_t bound;
    std::optional<std::uint32_t> stageAt;
    std::uint32_t wakeEvery;
    bool reached;
    std::uint32_t elapsed;
    int waits;
  } cases[] = {
      {"stage at 11999 ms", 1000, 12000, 11999, 0, true, 11999, 1},
      {"stage at exactly the bound", 1000, 12000, 12000, 0, true, 12000, 1},
      {"no stage: false once more than the bound has passed", 1000, 12000, {}, 0, false, 12001, 1},
      {"across the wrap-around", kBeforeWrap, 12000, {}, 0, false, 12001, 1},
      {"stage after the wrap-around", kBeforeWrap, 12000, 11999, 0, true, 11999, 1},
      {"woken every second, no stage", 1000, 12000, {}, 1000, false, 12001, 13},
      {"woken every second, stage at 4500", kBeforeWrap, 12000, 4500, 1000, true, 4500, 5},
      {"a shortened bound", 1000, 300, {}, 0, false, 301, 1},
  };
  for (const auto& c : cases) {
    SteppedClockShim clock(c.origin);
    clock.stageAt = c.stageAt;
    clock.wakeEvery = c.wakeEvery;
    TSessionOptions options;
    options.WaitBoundMs = c.bound;
    SessionParts parts(clock, std::move(options));
    clock.onStage = [&] { parts.session->DispatchResponse(HelloReply(1, 2)); };
    EXPECT_EQ(parts.session->WaitForStage(TSessionStage::HelloReply), c.reached) << c.name;
    EXPECT_EQ(clock.Elapsed(), c.elapsed) << c.name;
    EXPECT_EQ(clock.waits, c.waits) << c.name;
    // Messages are dispatched before every look at the stage.
    EXPECT_EQ(clock.dispatches, c.waits + 1) << c.name;
    // Every sleep asks for no more than what is left of the bound, plus one tick.
    std::uint32_t slept = 0;
    for (std::uint32_t ms : clock.asked) {
      EXPECT_EQ(ms, c.bound - slept + 1) << c.name;
      slept += c.wakeEvery ? std::min(ms, c.wakeEvery) : ms;
    }
  }
}

TEST(WaitForStage, ReturnsAtOnceWhenTheStageIsThere) {
  SteppedClockShim clock(5);
  SessionParts parts(clock);
  parts.session->SetStage(TSessionStage::LinkOpen);
  EXPECT_TRUE(parts.session->WaitForStage(TSessionStage::LinkOpen));
  EXPECT_EQ(clock.waits, 0);
  // Stage 2 is not "at least 1": the stage must equal the awaited value.
  parts.session->DispatchResponse(HelloReply(1, 2));
  EXPECT_FALSE(parts.session->WaitForStage(TSessionStage::LinkOpen));
}

// On the real clock the receive thread's stage change ends the sleep, long before the bound.
TEST(WaitForStage, WakesWhenAnotherThreadSetsTheStage) {
  PosixSessionShim shim;
  TSessionOptions options;
  options.WaitBoundMs = 60000;
  SessionParts parts(shim, std::move(options));
  const auto start = std::chrono::steady_clock::now();
  std::thread receiver([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    parts.session->DispatchResponse(LoginResult(0, 1, 0));
  });
  EXPECT_TRUE(parts.session->WaitForStage(TSessionStage::LoginResult));
  receiver.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_EQ(parts.session->AccountID(), 1u);
}

// ---------------------------------------------------------------------------------------
// OpenLink, StartListener, CloseLink

// Records what OpenLink asks of the system, and fails where told to.
class ScriptedShim final : public PosixSessionShim {
 public:
  struct Connection {
    std::uint32_t address;
    std::uint16_t port;
  };
  class RecordingSocket final : public ShimSocket {
   public:
    explicit RecordingSocket(ScriptedShim& shim) : shim_(shim) {}
    bool Connect(std::uint32_t address, std::uint16_t port) override {
      shim_.connections.push_back({address, port});
      return false;
    }
    void Send(ByteView) override {}
    std::ptrdiff_t Receive(std::span<std::uint8_t>) override { return -1; }
    void Shutdown() override {}

   private:
    ScriptedShim& shim_;
  };

  bool StartSockets() override { return startSockets; }
  std::shared_ptr<ShimSocket> CreateSocket() override {
    if (!createSocket) return nullptr;
    return std::make_shared<RecordingSocket>(*this);
  }

  bool startSockets = true;
  bool createSocket = true;
  std::vector<Connection> connections;
};

TEST(OpenLink, ReportsEachWayOfFailing) {
  const std::vector<StatusLineRecord> notConnected = {{u"not connected", kStatusRed}};
  const std::vector<test::MessageRecord> errorBox = {
      {u"Error", u"Error", SessionDesktop::Icon::None}};
  const struct {
    const char* name;
    bool startSockets, createSocket;
    std::u16string ip;
    std::int32_t port;
    std::vector<StatusLineRecord> lines;
    std::vector<test::MessageRecord> boxes;
    std::vector<std::uint16_t> ports;  // the connection attempts
  } cases[] = {
      {"the socket library does not start", false, true, u"127.0.0.1", 10001, {}, errorBox, {}},
      {"no socket", true, false, u"127.0.0.1", 10001, {}, errorBox, {}},
      {"refused", true, true, u"127.0.0.1", 10001, notConnected, {}, {10001}},
      {"a port beyond 16 bits keeps its low 16 bits",
       true,
       true,
       u"127.0.0.1",
       70000,
       notConnected,
       {},
       {4464}},
      {"a host name is not looked up", true, true, u"localhost", 10001, notConnected, {}, {}},
      {"nor is an empty address", true, true, u"", 10001, notConnected, {}, {}},
  };
  for (const auto& c : cases) {
    ScriptedShim shim;
    shim.startSockets = c.startSockets;
    shim.createSocket = c.createSocket;
    SessionParts parts(shim, {}, c.ip, c.port);
    EXPECT_FALSE(parts.session->OpenLink()) << c.name;
    EXPECT_EQ(parts.host.Lines(), c.lines) << c.name;
    EXPECT_EQ(parts.desktop.Messages(), c.boxes) << c.name;
    std::vector<std::uint16_t> ports;
    for (const auto& attempt : shim.connections) {
      ports.push_back(attempt.port);
      EXPECT_EQ(attempt.address, 0x0100007Fu) << c.name;  // 127.0.0.1 in network order
    }
    EXPECT_EQ(ports, c.ports) << c.name;
  }
}

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loginserver::ServerConfig config;
    config.Accounts.push_back({"player", "secret", 0, 5, 0});
    server_ = std::make_unique<loginserver::LoginServer>(config);
    ASSERT_EQ(server_->Start(), std::nullopt);
  }
  std::unique_ptr<SessionParts> Parts(std::uint32_t boundMs = 60000) {
    TSessionOptions options;
    options.WaitBoundMs = boundMs;
    return std::make_unique<SessionParts>(shim_, std::move(options), u"127.0.0.1", server_->Port());
  }

  PosixSessionShim shim_;
  std::unique_ptr<loginserver::LoginServer> server_;
};

TEST_F(LinkTest, CloseLinkWithoutAReceiveThreadLeavesTheSocketAlone) {
  auto parts = Parts();
  TLoginSession& s = *parts->session;
  s.CloseLink();  // nothing open at all
  ASSERT_TRUE(s.OpenLink());
  EXPECT_EQ(parts->host.Lines(), (std::vector<StatusLineRecord>{{u"connected", kStatusGreen}}));
  ASSERT_TRUE(test::Eventually([&] { return server_->ConnectionsOpen() == 1; }));
  s.CloseLink();
  EXPECT_TRUE(s.HasSocket());
  EXPECT_EQ(server_->ConnectionsOpen(), 1);
  s.DropSocket();
  EXPECT_FALSE(s.HasSocket());
  EXPECT_TRUE(test::Eventually([&] { return server_->ConnectionsOpen() == 0; }));
}

TEST_F(LinkTest, CloseLinkEndsTheLinkAndItsReceiveThread) {
  auto parts = Parts();
  TLoginSession& s = *parts->session;
  ASSERT_TRUE(s.OpenLink());
  s.StartListener();
  const auto listener = s.Listener();
  ASSERT_NE(listener, nullptr);
  EXPECT_TRUE(listener->IsListen.load());

  s.SetStage(TSessionStage::LinkOpen);
  s.Send(BuildHello());
  ASSERT_TRUE(s.WaitForStage(TSessionStage::HelloReply));

  s.CloseLink();
  EXPECT_FALSE(listener->IsListen.load());
  EXPECT_FALSE(s.HasSocket());
  EXPECT_EQ(s.Listener(), nullptr);
  EXPECT_TRUE(test::Eventually([&] { return server_->ConnectionsOpen() == 0; }));
  // The values stay after the link is gone, and a second close does nothing.
  s.CloseLink();
  EXPECT_EQ(s.Stage(), TSessionStage::HelloReply);
  EXPECT_EQ(s.AddKey(), 0x21 + 0x3A);
}

// The server drops the connection instead of answering: nothing is dispatched, the wait runs
// out, and CloseLink still closes the link.
TEST_F(LinkTest, AConnectionClosedByTheServerEndsInTheTimeout) {
  server_->SetFault(loginserver::Request::Hello, {.Close = true});
  auto parts = Parts(300);
  TLoginSession& s = *parts->session;
  ASSERT_TRUE(s.OpenLink());
  s.StartListener();
  s.SetStage(TSessionStage::LinkOpen);
  s.Send(BuildHello());
  EXPECT_FALSE(s.WaitForStage(TSessionStage::HelloReply));
  EXPECT_EQ(s.Stage(), TSessionStage::LinkOpen);
  const auto listener = s.Listener();
  ASSERT_NE(listener, nullptr);
  s.CloseLink();
  EXPECT_FALSE(listener->IsListen.load());
  EXPECT_FALSE(s.HasSocket());
}

// Holds the receive thread inside the login result's dispatch (its details line comes before
// the stage moves) until the test lets it go.
class GatedHost final : public TSessionHost {
 public:
  void StatusLine(const std::u16string& text, std::uint32_t) override {
    if (text.rfind(u"Login details", 0) != 0) return;
    std::unique_lock lock(mutex_);
    inside_ = true;
    changed_.notify_all();
    changed_.wait(lock, [&] { return open_; });
  }
  void WorldListReady(std::shared_ptr<const TWorldList>) override {}
  void SequenceEnded(std::uint32_t) override {}

  void WaitUntilInside() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return inside_; });
  }
  void Open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool inside_ = false;
  bool open_ = false;
};

// A response still being taken when the link closes is finished before CloseLink returns:
// it can never move the stage of the link that comes next.
TEST_F(LinkTest, AResponseTakenWhileTheLinkClosesLandsBeforeCloseLinkReturns) {
  auto parts = Parts();
  TLoginSession& s = *parts->session;
  GatedHost gate;
  s.SetHost(&gate);
  ASSERT_TRUE(s.OpenLink());
  s.StartListener();
  s.SetStage(TSessionStage::LinkOpen);
  s.Send(BuildHello());
  ASSERT_TRUE(s.WaitForStage(TSessionStage::HelloReply));
  s.Send(BuildLoginRequest("player", "secret", s.AddKey(), s.XorKey()));
  gate.WaitUntilInside();

  // Let the receive thread go well after the close's own pause would have ended.
  std::thread opener([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    gate.Open();
  });
  s.CloseLink();
  EXPECT_EQ(s.Stage(), TSessionStage::LoginResult);
  s.SetStage(TSessionStage::LinkOpen);  // as the next link's sequence does
  opener.join();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(s.Stage(), TSessionStage::LinkOpen);
}

// A session that goes away with its link open takes its receive thread with it.
TEST_F(LinkTest, TheSessionEndsItsReceiveThreads) {
  auto parts = Parts();
  ASSERT_TRUE(parts->session->OpenLink());
  parts->session->StartListener();
  parts.reset();
  EXPECT_TRUE(test::Eventually([&] { return server_->ConnectionsOpen() == 0; }));
}

}  // namespace
}  // namespace kq
