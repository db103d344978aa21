#include "session/LoginSequence.h"

#include "LoginServer.h"
#include "SessionTestSupport.h"
#include "common/CodePage.h"
#include "common/Utf8.h"
#include "session/PosixSessionShim.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kq {
namespace {

using loginserver::Fault;
using loginserver::KeyPair;
using loginserver::Request;
using test::MessageRecord;
using test::StatusLineRecord;

const Cp1251Codec kCodec;

// A fresh folder for one test, removed with everything in it.
class GameFolder {
 public:
  explicit GameFolder(bool withClient = true) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kq-session-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    if (withClient) std::ofstream(path_ / "KQ_Online.bin") << "client";
  }
  ~GameFolder() { std::filesystem::remove_all(path_); }
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  // With its trailing separator, as LauncherDir holds it.
  std::u16string LauncherDir() const { return Utf8ToUtf16(AsBytes(path_.string() + "/")); }

 private:
  std::filesystem::path path_;
};

// Long enough for any answer on loopback, also under the sanitizers on a busy machine;
// short enough that a test of a missing answer takes a moment only.
constexpr std::uint32_t kShortBoundMs = 700;

const StatusLineRecord kConnecting{u"connecting to 127.0.0.1", kStatusBlack};
const StatusLineRecord kConnected{u"connected", kStatusGreen};
const StatusLineRecord kNotConnected{u"not connected", kStatusRed};
const StatusLineRecord kPlayerDetails{
    u"Login details :    Result = $00 AccountID = $1234 Premium = $01", kStatusBlack};
const TWorldList kWorld = {{true, u"Ризура", 0, 0}};

loginserver::ServerConfig DefaultServer() {
  loginserver::ServerConfig config;
  config.Accounts = {
      {"player", "secret", 0, 0x1234, 1},
      {"blocked", "secret", 40, 0x99, 0},
      {"refused6", "secret", 6, 0, 0},
      {"refused255", "secret", 255, 0, 0},
      {"Игрок", "пароль", 0, 0x0ABC, 0},
      {"abcdefghijklm", "secret", 0, 1, 0},  // the first 13 bytes of a longer login
  };
  config.WorldName = "Ризура";
  return config;
}

struct RunResult {
  std::optional<std::uint32_t> outcome;  // none when the world list came
  std::shared_ptr<const TWorldList> worlds;
  std::vector<StatusLineRecord> lines;
  std::vector<MessageRecord> boxes;
};

class LoginSequenceTest : public ::testing::Test {
 protected:
  // Starts (or restarts) the server and points the settings at it.
  void StartServer(loginserver::ServerConfig config = DefaultServer()) {
    session_.reset();
    server_ = std::make_unique<loginserver::LoginServer>(std::move(config));
    ASSERT_EQ(server_->Start(), std::nullopt);
    settings_.LoginServerPort = server_->Port();
  }

  // One login on this test's session, on the test's thread as on a worker thread. Checks
  // that it ended with exactly one report to the host.
  RunResult Run(std::u16string login, std::u16string password = u"secret") {
    if (!session_) {
      TSessionOptions options;
      options.WaitBoundMs = boundMs_;
      session_ = std::make_unique<TLoginSession>(
          settings_, TSessionServices{shim_, desktop_, kCodec}, std::move(options));
    }
    test::RecordingHost host;
    session_->Login = std::move(login);
    session_->Password = std::move(password);
    session_->SetHost(&host);
    const std::size_t boxesBefore = desktop_.Messages().size();
    RunLoginSequence(*session_);
    // The receive thread of a kept link must not report to a host that is gone.
    session_->SetHost(nullptr);
    EXPECT_EQ(host.Endings(), 1);
    const auto boxes = desktop_.Messages();
    return {host.Outcome(), host.Worlds(), host.Lines(),
            std::vector<MessageRecord>(boxes.begin() + boxesBefore, boxes.end())};
  }

  void ExpectWorldListed(const RunResult& r, const std::string& what) {
    EXPECT_EQ(r.outcome, std::nullopt) << what;
    ASSERT_NE(r.worlds, nullptr) << what;
    EXPECT_EQ(*r.worlds, kWorld) << what;
    EXPECT_EQ(r.lines, (std::vector<StatusLineRecord>{kConnecting, kConnected, kPlayerDetails}))
        << what;
    EXPECT_TRUE(r.boxes.empty()) << what;
    EXPECT_EQ(session_->Stage(), TSessionStage::WorldList) << what;
    EXPECT_EQ(session_->AccountID(), 0x1234u) << what;
    EXPECT_EQ(session_->Premium(), 1u) << what;
    EXPECT_TRUE(session_->HasSocket()) << what;
  }

  // The link of a failed login is closed before the outcome is reported.
  void ExpectLinkClosed() {
    EXPECT_FALSE(session_->HasSocket());
    EXPECT_EQ(session_->Listener(), nullptr);
    EXPECT_TRUE(test::Eventually([&] { return server_->ConnectionsOpen() == 0; }));
  }

  void SetUp() override {
    settings_.LoginServerIP = u"127.0.0.1";
    settings_.LauncherDir = folder_.LauncherDir();
    StartServer();
  }

  std::uint32_t boundMs_ = 60000;
  GameFolder folder_;
  TSessionSettings settings_;
  PosixSessionShim shim_;
  PosixSessionDesktop files_;
  test::RecordingDesktop desktop_{files_};
  std::unique_ptr<loginserver::LoginServer> server_;
  std::unique_ptr<TLoginSession> session_;
};

TEST_F(LoginSequenceTest, ASuccessfulLoginListsTheWorldAndKeepsTheLink) {
  const RunResult r = Run(u"player");
  ExpectWorldListed(r, "player");
  EXPECT_EQ(server_->ConnectionsOpen(), 1);
  EXPECT_EQ(session_->Listener()->IsListen.load(), true);

  // What went over the wire: hello, the login with the designated keys, the world list
  // request for 0.
  const auto received = server_->Received();
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[0].Frame, BuildHello());
  EXPECT_EQ(received[1].Frame.size(), 31u);
  EXPECT_EQ(received[1].Login, "player");
  EXPECT_EQ(received[1].Password, "secret");
  EXPECT_EQ(received[1].KeysUsed, KeyPair::Designated);
  EXPECT_EQ(received[2].Frame, BuildWorldListRequest(0));
}

TEST_F(LoginSequenceTest, RefusedLoginsEndWithTheResultCode) {
  const struct {
    std::u16string login, password;
    std::uint32_t outcome;
    std::u16string details;
  } cases[] = {
      {u"refused6", u"secret", 1539,
       u"Login details :    Result = $06 AccountID = $00 Premium = $00"},
      {u"refused255", u"secret", 65283,
       u"Login details :    Result = $FF AccountID = $00 Premium = $00"},
      {u"blocked", u"secret", 40 * 256 + 3,
       u"Login details :    Result = $28 AccountID = $99 Premium = $00"},
      // The server's answer for a wrong password.
      {u"player", u"wrong", 1539, u"Login details :    Result = $06 AccountID = $00 Premium = $00"},
  };
  for (const auto& c : cases) {
    const RunResult r = Run(c.login, c.password);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.lines,
              (std::vector<StatusLineRecord>{kConnecting, kConnected, {c.details, kStatusBlack}}));
    ExpectLinkClosed();
  }
}

TEST_F(LoginSequenceTest, AWorldListWithANonzeroResultStillListsTheWorld) {
  auto config = DefaultServer();
  config.WorldResult = 40;
  config.WorldOpen = false;
  StartServer(config);
  const RunResult r = Run(u"player");
  EXPECT_EQ(r.outcome, std::nullopt);
  ASSERT_NE(r.worlds, nullptr);
  EXPECT_EQ(*r.worlds, (TWorldList{{false, u"Ризура", 0, 0}}));
  EXPECT_EQ(session_->ResultCode(), 40);
}

TEST_F(LoginSequenceTest, AMissingClientFileStopsBeforeAnyConnection) {
  GameFolder empty(/*withClient=*/false);
  settings_.LauncherDir = empty.LauncherDir();
  const RunResult r = Run(u"player");
  EXPECT_EQ(r.outcome, outcome::kClientMissing);
  EXPECT_TRUE(r.lines.empty());
  EXPECT_EQ(r.boxes,
            (std::vector<MessageRecord>{{u"Файл DO Rizura.bin не найден в каталоге с лаунчером!",
                                         u"Warning", SessionDesktop::Icon::Warning}}));
  EXPECT_EQ(server_->ConnectionsAccepted(), 0);
}

TEST_F(LoginSequenceTest, NoServerToConnectTo) {
  const int port = server_->Port();
  server_->Stop();  // nothing listens there any more
  const struct {
    const char* name;
    std::u16string ip;
    std::int32_t port;
  } cases[] = {
      {"refused", u"127.0.0.1", port},
      {"a host name", u"localhost", port},
  };
  for (const auto& c : cases) {
    settings_.LoginServerIP = c.ip;
    settings_.LoginServerPort = c.port;
    const RunResult r = Run(u"player");
    EXPECT_EQ(r.outcome, outcome::kNoLink) << c.name;
    EXPECT_EQ(r.lines, (std::vector<StatusLineRecord>{{u"connecting to " + c.ip, kStatusBlack},
                                                      kNotConnected}))
        << c.name;
    EXPECT_TRUE(r.boxes.empty()) << c.name;
    EXPECT_FALSE(session_->HasSocket()) << c.name;
  }
}

TEST_F(LoginSequenceTest, AHostNameIsNeverLookedUp) {
  settings_.LoginServerIP = u"localhost";  // would reach the server if it were resolved
  const RunResult r = Run(u"player");
  EXPECT_EQ(r.outcome, outcome::kNoLink);
  EXPECT_EQ(r.lines.back(), kNotConnected);
  EXPECT_EQ(server_->ConnectionsAccepted(), 0);
}

TEST_F(LoginSequenceTest, APortBeyond16BitsConnectsToItsLow16Bits) {
  settings_.LoginServerPort = 65536 + server_->Port();
  ExpectWorldListed(Run(u"player"), "port + 65536");
}

class FailingSocketsShim final : public PosixSessionShim {
 public:
  explicit FailingSocketsShim(bool startFails) : startFails_(startFails) {}
  bool StartSockets() override { return !startFails_; }
  std::shared_ptr<ShimSocket> CreateSocket() override { return nullptr; }

 private:
  const bool startFails_;
};

TEST_F(LoginSequenceTest, NoSocketShowsTheErrorBox) {
  for (bool startFails : {true, false}) {
    FailingSocketsShim shim(startFails);
    test::RecordingHost host;
    TLoginSession session(settings_, TSessionServices{shim, desktop_, kCodec});
    session.SetHost(&host);
    RunLoginSequence(session);
    EXPECT_EQ(host.Outcome(), outcome::kNoLink);
    EXPECT_EQ(host.Endings(), 1);
    EXPECT_EQ(host.Lines(), std::vector<StatusLineRecord>{kConnecting});
    EXPECT_EQ(desktop_.Messages().back(),
              (MessageRecord{u"Error", u"Error", SessionDesktop::Icon::None}));
  }
  EXPECT_EQ(desktop_.Messages().size(), 2u);
  EXPECT_EQ(server_->ConnectionsAccepted(), 0);
}

// Each missing answer ends in its own outcome once the (shortened) bound has passed; a
// server that drops the connection instead of answering, or answers too late, counts as
// missing too, and so does an answer that is only a decoy the launcher must ignore.
TEST_F(LoginSequenceTest, MissingAnswersEndInTheirTimeouts) {
  boundMs_ = kShortBoundMs;
  const std::vector<StatusLineRecord> upToConnected = {kConnecting, kConnected};
  const std::vector<StatusLineRecord> upToDetails = {kConnecting, kConnected, kPlayerDetails};
  const struct {
    const char* name;
    Request request;
    Fault fault;
    std::uint32_t outcome;
    std::vector<StatusLineRecord> lines;
  } cases[] = {
      {"no hello reply", Request::Hello, {.Silent = true}, 1, upToConnected},
      {"no login result", Request::Login, {.Silent = true}, 2, upToConnected},
      {"no world list", Request::WorldList, {.Silent = true}, 4, upToDetails},
      {"closed at the hello", Request::Hello, {.Close = true}, 1, upToConnected},
      {"closed at the login", Request::Login, {.Close = true}, 2, upToConnected},
      {"closed at the world list", Request::WorldList, {.Close = true}, 4, upToDetails},
      {"login result too late", Request::Login, {.DelayMs = kShortBoundMs + 800}, 2, upToConnected},
      {"only a short hello reply",
       Request::Hello,
       {.Short = true, .Silent = true},
       1,
       upToConnected},
      {"only a short login result",
       Request::Login,
       {.Short = true, .Silent = true},
       2,
       upToConnected},
      {"only a short world list",
       Request::WorldList,
       {.Short = true, .Silent = true},
       4,
       upToDetails},
      {"only a reversed login result",
       Request::Login,
       {.Reversed = true, .Silent = true},
       2,
       upToConnected},
      {"only an unknown frame",
       Request::WorldList,
       {.Unknown = true, .Silent = true},
       4,
       upToDetails},
  };
  for (const auto& c : cases) {
    auto config = DefaultServer();
    config.Faults[static_cast<std::size_t>(c.request)] = c.fault;
    StartServer(config);
    const RunResult r = Run(u"player");
    EXPECT_EQ(r.outcome, c.outcome) << c.name;
    EXPECT_EQ(r.lines, c.lines) << c.name;
    EXPECT_EQ(r.worlds, nullptr) << c.name;
    ExpectLinkClosed();
  }
}

// Responses split over two sends, repeated in one send with the previous one, delayed
// within the bound, or preceded by decoys (a copy cut one byte short, a frame of an unknown
// type, one with its type bytes swapped; all carrying 0xEE where a value would be): the
// launcher still gets exactly the real values.
TEST_F(LoginSequenceTest, FaultyButCompleteAnswersStillLogIn) {
  const struct {
    const char* name;
    Fault fault;
  } faults[] = {
      {"split", {.Split = true}},
      {"joined", {.Join = true}},
      {"delayed", {.DelayMs = 100}},
      {"after a short copy", {.Short = true}},
      {"after an unknown frame", {.Unknown = true}},
      {"after a reversed copy", {.Reversed = true}},
      {"after all decoys, split",
       {.Short = true, .Unknown = true, .Reversed = true, .Split = true}},
  };
  for (const auto& f : faults) {
    for (Request request : {Request::Hello, Request::Login, Request::WorldList}) {
      auto config = DefaultServer();
      config.Faults[static_cast<std::size_t>(request)] = f.fault;
      StartServer(config);
      const std::string what =
          std::string(f.name) + " " + std::string(loginserver::RequestName(request));
      const RunResult r = Run(u"player");
      if (f.fault.Join && request == Request::WorldList) {
        // The login result came again with the world list: both were handled.
        EXPECT_EQ(r.lines, (std::vector<StatusLineRecord>{kConnecting, kConnected, kPlayerDetails,
                                                          kPlayerDetails}))
            << what;
        EXPECT_EQ(r.outcome, std::nullopt) << what;
        continue;
      }
      ExpectWorldListed(r, what);
    }
  }
}

TEST_F(LoginSequenceTest, SendsTheLoginInTheCodePageCutTo13Bytes) {
  const struct {
    std::u16string login, password;
    std::string sentLogin, sentPassword;
    std::uint32_t account;
  } cases[] = {
      {u"Игрок", u"пароль", "\xC8\xE3\xF0\xEE\xEA", "\xEF\xE0\xF0\xEE\xEB\xFC", 0x0ABC},
      {u"abcdefghijklmnopqrst", u"secret", "abcdefghijklm", "secret", 1},
  };
  for (const auto& c : cases) {
    StartServer();
    const RunResult r = Run(c.login, c.password);
    EXPECT_EQ(r.outcome, std::nullopt);
    EXPECT_EQ(session_->AccountID(), c.account);
    const auto received = server_->Received();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[1].Login, c.sentLogin);
    EXPECT_EQ(received[1].Password, c.sentPassword);
  }
}

// The keys depend on the address text: the designated text gives one pair of constants,
// the same address written otherwise the other pair.
TEST_F(LoginSequenceTest, TheAddressTextChoosesTheKeyConstants) {
  const struct {
    std::u16string ip;
    KeyPair serverExpects;
    std::optional<std::uint32_t> outcome;
    KeyPair used;
  } cases[] = {
      {u"127.0.0.1", KeyPair::Auto, std::nullopt, KeyPair::Designated},
      {u"127.000.000.001", KeyPair::Auto, std::nullopt, KeyPair::Other},
      {u"127.000.000.001", KeyPair::Other, std::nullopt, KeyPair::Other},
      // A server that expects the other pair cannot read the login.
      {u"127.000.000.001", KeyPair::Designated, 1539, KeyPair::Designated},
  };
  for (const auto& c : cases) {
    auto config = DefaultServer();
    config.Keys = c.serverExpects;
    StartServer(config);
    settings_.LoginServerIP = c.ip;
    const RunResult r = Run(u"player");
    EXPECT_EQ(r.outcome, c.outcome);
    const auto received = server_->Received();
    ASSERT_EQ(received.size(), c.outcome ? 2u : 3u);
    EXPECT_EQ(received[1].KeysUsed, c.used);
  }
}

// After a failure the next Start opens a fresh link, with the stage back at 1; after a
// success the old link is closed first.
TEST_F(LoginSequenceTest, EachLoginOpensAFreshLink) {
  boundMs_ = kShortBoundMs;
  EXPECT_EQ(Run(u"refused6").outcome, 1539u);
  EXPECT_EQ(session_->Stage(), TSessionStage::LoginResult);

  server_->SetFault(Request::Hello, {.Silent = true});
  EXPECT_EQ(Run(u"player").outcome, outcome::kNoHelloReply);
  EXPECT_EQ(session_->Stage(), TSessionStage::LinkOpen);
  EXPECT_EQ(server_->ConnectionsAccepted(), 2);

  server_->SetFault(Request::Hello, {});
  ExpectWorldListed(Run(u"player"), "third");
  ExpectWorldListed(Run(u"player"), "fourth");
  EXPECT_EQ(server_->ConnectionsAccepted(), 4);
  // The third login's link was closed when the fourth began.
  EXPECT_TRUE(test::Eventually([&] { return server_->ConnectionsOpen() == 1; }));
}

}  // namespace
}  // namespace kq
