#include "LoginServer.h"

#include "session/Packets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <random>
#include <thread>

namespace kq::loginserver {
namespace {

// A plain TCP client on loopback that reads with a deadline.
class Client {
 public:
  explicit Client(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(port);
    connected_ = ::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
  }
  ~Client() { ::close(fd_); }
  bool Connected() const { return connected_; }

  void Send(ByteView bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  // Reads until n bytes have come, the peer closed, or the time is up.
  Bytes Read(std::size_t n, int timeoutMs = 10000) {
    Bytes got;
    while (got.size() < n) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, timeoutMs) <= 0) break;
      std::uint8_t buffer[4096];
      const ssize_t r = ::recv(fd_, buffer, std::min(sizeof buffer, n - got.size()), 0);
      if (r <= 0) break;
      got.insert(got.end(), buffer, buffer + r);
    }
    return got;
  }
  // True when the server closed the connection within the time.
  bool ClosedByPeer(int timeoutMs = 10000) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return false;
    std::uint8_t b;
    return ::recv(fd_, &b, 1, 0) == 0;
  }

 private:
  int fd_;
  bool connected_ = false;
};

ServerConfig TestConfig() {
  ServerConfig config;
  config.Accounts = {{"player", "secret", 0, 0x01020304, 1}, {"Игрок", "пароль", 5, 7, 0}};
  config.AddBase = 0x10;
  config.XorBase = 0x20;
  config.WorldName = "Мир";
  config.WorldServerAddress = {10, 1, 2, 3};
  config.WorldServerPort = 0x1F90;
  config.WorldServerKeys = {0xA1A2A3A4, 0xB1B2B3B4, 0xC1C2C3C4, 0xD1D2D3D4};
  return config;
}

Bytes LoginRequest(std::string_view ansiLogin, std::string_view ansiPassword, KeyPair pair,
                   const ServerConfig& config) {
  const KeyConstants& k = pair == KeyPair::Other ? kOtherKeyConstants : kDesignatedKeyConstants;
  return BuildLoginRequest(ansiLogin, ansiPassword,
                           static_cast<std::uint8_t>(config.AddBase + k.Add),
                           static_cast<std::uint8_t>(config.XorBase + k.Xor));
}

TEST(LoginServerFrames, AreTheResponsesOfTheProtocol) {
  const ServerConfig config = TestConfig();
  EXPECT_EQ(HelloReplyFrame(config), (Bytes{0x06, 0x00, 0x15, 0x0D, 0x10, 0x20}));
  EXPECT_EQ(LoginResultFrame(6, 0x01020304, 1),
            (Bytes{0x0D, 0x00, 0x15, 0x04, 0x06, 0x04, 0x03, 0x02, 0x01, 0x01, 0, 0, 0}));

  const Bytes world = WorldListFrame(config);
  ASSERT_EQ(world.size(), 61u);
  EXPECT_EQ(Bytes(world.begin(), world.begin() + 13),
            (Bytes{0x3D, 0x00, 0x15, 0x06, 0x00, 0, 0, 0, 0x01, 0x00, 0xCC, 0xE8, 0xF0}));
  EXPECT_TRUE(std::all_of(world.begin() + 13, world.end(), [](std::uint8_t b) { return b == 0; }));

  EXPECT_EQ(
      WorldServerDataFrame(config),
      (Bytes{0x1B, 0x00, 0x15, 0x08, 0x00, 10,   1,    2,    3,    0x90, 0x1F, 0xA4, 0xA3, 0xA2,
             0xA1, 0xB4, 0xB3, 0xB2, 0xB1, 0xC4, 0xC3, 0xC2, 0xC1, 0xD4, 0xD3, 0xD2, 0xD1}));

  // A name of 51 bytes or more fills the field without a closing zero.
  ServerConfig longName = config;
  longName.WorldName = std::string(60, 'w');
  const Bytes full = WorldListFrame(longName);
  EXPECT_EQ(full.size(), 61u);
  EXPECT_EQ(full.back(), 'w');
}

bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

class LoginServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ServerConfig config = TestConfig();
    config.LogHex = true;
    server_ = std::make_unique<LoginServer>(config, [this](const std::string& line) {
      const std::lock_guard lock(logMutex_);
      log_.push_back(line);
    });
    ASSERT_EQ(server_->Start(), std::nullopt);
  }
  bool Logged(const std::string& line) const {
    const std::lock_guard lock(logMutex_);
    return std::find(log_.begin(), log_.end(), line) != log_.end();
  }

  mutable std::mutex logMutex_;
  std::vector<std::string> log_;
  std::unique_ptr<LoginServer> server_;
};

TEST_F(LoginServerTest, AnswersEveryRequestOfALogin) {
  const ServerConfig config = TestConfig();
  Client c(server_->Port());
  ASSERT_TRUE(c.Connected());
  c.Send(BuildHello());
  EXPECT_EQ(c.Read(6), HelloReplyFrame(config));
  c.Send(LoginRequest("player", "secret", KeyPair::Designated, config));
  EXPECT_EQ(c.Read(13), LoginResultFrame(0, 0x01020304, 1));
  c.Send(BuildWorldListRequest(0));
  EXPECT_EQ(c.Read(61), WorldListFrame(config));
  c.Send(BuildSelectWorld(0));
  EXPECT_EQ(c.Read(27), WorldServerDataFrame(config));

  const auto received = server_->Received();
  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(received[0].Kind, Request::Hello);
  EXPECT_EQ(received[1].Kind, Request::Login);
  EXPECT_EQ(received[1].Login, "player");
  EXPECT_EQ(received[2].Kind, Request::WorldList);
  EXPECT_EQ(received[3].Kind, Request::SelectWorld);
  // The hex log shows what came and went.
  EXPECT_TRUE(Logged("#1 <- 05 00 15 0C FF  (hello)"));
  EXPECT_TRUE(Logged("#1 -> 06 00 15 0D 10 20"));
  EXPECT_TRUE(Logged("#1 <- 06 00 15 07 00 00  (select)"));
}

TEST_F(LoginServerTest, ChecksLoginsUnderEitherKeyPair) {
  const ServerConfig config = TestConfig();
  const struct {
    const char* name;
    std::string login, password;
    KeyPair pair;
    Bytes result;
  } cases[] = {
      {"designated pair", "player", "secret", KeyPair::Designated,
       LoginResultFrame(0, 0x01020304, 1)},
      {"other pair", "player", "secret", KeyPair::Other, LoginResultFrame(0, 0x01020304, 1)},
      {"in the code page", "\xC8\xE3\xF0\xEE\xEA", "\xEF\xE0\xF0\xEE\xEB\xFC", KeyPair::Other,
       LoginResultFrame(5, 7, 0)},
      {"wrong password", "player", "secreT", KeyPair::Designated, LoginResultFrame(6, 0, 0)},
      {"unknown login", "nobody", "secret", KeyPair::Designated, LoginResultFrame(6, 0, 0)},
  };
  for (const auto& c : cases) {
    Client client(server_->Port());
    client.Send(LoginRequest(c.login, c.password, c.pair, config));
    EXPECT_EQ(client.Read(13), c.result) << c.name;
  }
}

TEST_F(LoginServerTest, FaultsShapeTheAnswer) {
  const ServerConfig config = TestConfig();
  const Bytes reply = HelloReplyFrame(config);
  const Bytes decoyShort = {0x05, 0x00, 0x15, 0x0D, 0xEE};
  const Bytes decoyUnknown = {0x06, 0x00, 0x15, 0x7E, 0xEE, 0xEE};
  const Bytes decoyReversed = {0x06, 0x00, 0x0D, 0x15, 0xEE, 0xEE};
  const auto then = [](Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const struct {
    const char* name;
    Fault fault;
    Bytes expected;
    std::vector<std::string> sends;  // as logged
  } cases[] = {
      {"split", {.Split = true}, reply, {"06 00 15  (first part)", "0D 10 20  (second part)"}},
      {"join",
       {.Join = true},
       then(reply, reply),
       {"06 00 15 0D 10 20 06 00 15 0D 10 20  (two responses)"}},
      {"short",
       {.Short = true},
       then(decoyShort, reply),
       {"05 00 15 0D EE  (short)", "06 00 15 0D 10 20"}},
      {"unknown",
       {.Unknown = true},
       then(decoyUnknown, reply),
       {"06 00 15 7E EE EE  (unknown type)", "06 00 15 0D 10 20"}},
      {"reversed",
       {.Reversed = true},
       then(decoyReversed, reply),
       {"06 00 0D 15 EE EE  (reversed type)", "06 00 15 0D 10 20"}},
      {"delay", {.DelayMs = 50}, reply, {"06 00 15 0D 10 20"}},
      {"decoys only",
       {.Short = true, .Unknown = true, .Silent = true},
       then(decoyShort, decoyUnknown),
       {"05 00 15 0D EE  (short)", "06 00 15 7E EE EE  (unknown type)"}},
  };
  int connection = 0;
  for (const auto& c : cases) {
    server_->SetFault(Request::Hello, c.fault);
    Client client(server_->Port());
    client.Send(BuildHello());
    EXPECT_EQ(client.Read(c.expected.size()), c.expected) << c.name;
    // Nothing more follows.
    EXPECT_TRUE(client.Read(1, 100).empty()) << c.name;
    const std::string tag = "#" + std::to_string(++connection) + " -> ";
    for (const std::string& send : c.sends)
      EXPECT_TRUE(Logged(tag + send)) << c.name << ": " << send;
  }
}

TEST_F(LoginServerTest, SilentAndClosingFaults) {
  server_->SetFault(Request::Login, {.Silent = true});
  server_->SetFault(Request::WorldList, {.Close = true});
  Client client(server_->Port());
  client.Send(LoginRequest("player", "secret", KeyPair::Designated, TestConfig()));
  EXPECT_TRUE(client.Read(1, 300).empty());
  // The connection is still served after the silence.
  client.Send(BuildHello());
  EXPECT_EQ(client.Read(6), HelloReplyFrame(TestConfig()));
  client.Send(BuildWorldListRequest(0));
  EXPECT_TRUE(client.ClosedByPeer());
}

// Bad input on one connection neither crashes the server nor stalls the others.
TEST_F(LoginServerTest, SurvivesBadInput) {
  std::mt19937 random(7);
  std::vector<Bytes> garbage = {
      {0x00, 0x00, 0x15, 0x0C, 0xFF},        // length 0
      {0x03, 0x00, 0x15},                    // shorter than a header
      {0xFF, 0xFF, 0x15, 0x03, 1, 2, 3},     // a frame that never completes
      {0x08, 0x00, 0x15, 0x03, 1, 2, 3, 4},  // a login request cut short
      {0x05, 0x00, 0x03, 0x15, 0xFF},        // reversed type
      {0x06, 0x00, 0x15, 0x99, 0, 0},        // unknown request
  };
  Bytes noise(5000);
  for (auto& b : noise) b = static_cast<std::uint8_t>(random());
  garbage.push_back(noise);
  for (const Bytes& g : garbage) {
    Client bad(server_->Port());
    bad.Send(g);
    EXPECT_TRUE(bad.Read(1, 100).empty());
  }
  Client good(server_->Port());
  good.Send(BuildHello());
  EXPECT_EQ(good.Read(6), HelloReplyFrame(TestConfig()));
}

TEST_F(LoginServerTest, ServesManyLaunchersAtOnce) {
  constexpr int kClients = 24;
  std::vector<std::thread> clients;
  std::atomic<int> served{0};
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&] {
      Client c(server_->Port());
      c.Send(BuildHello());
      if (c.Read(6) == HelloReplyFrame(TestConfig())) ++served;
    });
  }
  for (auto& t : clients) t.join();
  EXPECT_EQ(served.load(), kClients);
  EXPECT_EQ(server_->ConnectionsAccepted(), kClients);
}

// Stopping ends connections that wait on a silent answer or a long delay.
TEST_F(LoginServerTest, StopsWithConnectionsOpen) {
  server_->SetFault(Request::Hello, {.DelayMs = 600000});
  Client waiting(server_->Port());
  waiting.Send(BuildHello());
  Client idle(server_->Port());
  ASSERT_TRUE(idle.Connected());
  ASSERT_TRUE(Eventually([&] { return server_->ConnectionsOpen() == 2; }));
  server_->Stop();
  EXPECT_TRUE(waiting.ClosedByPeer());
  EXPECT_TRUE(idle.ClosedByPeer());
}

}  // namespace
}  // namespace kq::loginserver
