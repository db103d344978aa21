// The login sequence in the Windows build, under Wine, against the native reference login
// server that scripts/with-loginserver.sh started with winsession-server.conf; its port
// comes in KQ_LOGIN_SERVER_PORT.
#include "session/LoginSequence.h"

#include "SessionTestSupport.h"
#include "session/WinSessionShim.h"
#include "win/SystemText.h"
#include "win/TestFolder.h"
#include "win/Win.h"

#include "../win/FreePort.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kq {
namespace {

using test::MessageRecord;
using test::StatusLineRecord;

const StatusLineRecord kConnecting{u"connecting to 127.0.0.1", kStatusBlack};
const StatusLineRecord kConnected{u"connected", kStatusGreen};

std::int32_t ServerPort() {
  const char* port = std::getenv("KQ_LOGIN_SERVER_PORT");
  return port ? std::atoi(port) : 0;
}

using win::test::FreePort;

class LoginSequenceWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sockets_.Started());
    ASSERT_NE(ServerPort(), 0) << "run through scripts/with-loginserver.sh";
    win::test::WriteFileBytes(folder_ / L"KQ_Online.bin", "client");
    settings_.LoginServerIP = u"127.0.0.1";
    settings_.LoginServerPort = ServerPort();
    settings_.LauncherDir = win::U16(folder_.Path());
    session_.SetHost(&host_);
  }

  win::SocketLibrary sockets_;
  win::test::TestFolder folder_{L"kq-session"};
  TSessionSettings settings_;
  win::WinSessionShim shim_;
  win::WinSessionDesktop files_;
  test::RecordingDesktop desktop_{files_};
  win::SystemAnsiCodec codec_;
  test::RecordingHost host_;
  TLoginSession session_{settings_, TSessionServices{shim_, desktop_, codec_}};
};

TEST_F(LoginSequenceWinTest, ALoginListsTheWorld) {
  const struct {
    std::u16string login, password;
    std::u16string details;
    std::uint32_t account;
  } cases[] = {
      {u"player", u"secret", u"Login details :    Result = $00 AccountID = $1234 Premium = $01",
       0x1234},
      // Sent in the system's code page, 1251 under the tests' Wine.
      {u"Игрок", u"пароль", u"Login details :    Result = $00 AccountID = $ABC Premium = $00",
       0xABC},
  };
  for (const auto& c : cases) {
    test::RecordingHost host;
    session_.SetHost(&host);
    session_.Login = c.login;
    session_.Password = c.password;
    RunLoginSequence(session_);
    EXPECT_EQ(host.Endings(), 1);
    EXPECT_EQ(host.Outcome(), std::nullopt);
    ASSERT_NE(host.Worlds(), nullptr);
    EXPECT_EQ(*host.Worlds(), (TWorldList{{true, u"Ризура", 0, 0}}));
    EXPECT_EQ(host.Lines(),
              (std::vector<StatusLineRecord>{kConnecting, kConnected, {c.details, kStatusBlack}}));
    EXPECT_EQ(session_.AccountID(), c.account);
    EXPECT_EQ(session_.Stage(), TSessionStage::WorldList);
    EXPECT_TRUE(session_.HasSocket());
    ASSERT_NE(session_.Listener(), nullptr);
    EXPECT_TRUE(session_.Listener()->IsListen.load());
  }
  session_.SetHost(nullptr);
  session_.CloseLink();
  EXPECT_FALSE(session_.HasSocket());
}

TEST_F(LoginSequenceWinTest, ARefusedLoginClosesTheLink) {
  session_.Login = u"refused";
  session_.Password = u"secret";
  RunLoginSequence(session_);
  EXPECT_EQ(host_.Endings(), 1);
  EXPECT_EQ(host_.Outcome(), 1539u);
  EXPECT_EQ(host_.Lines(),
            (std::vector<StatusLineRecord>{
                kConnecting,
                kConnected,
                {u"Login details :    Result = $06 AccountID = $00 Premium = $00", kStatusBlack}}));
  EXPECT_FALSE(session_.HasSocket());
  EXPECT_EQ(session_.Listener(), nullptr);
}

TEST_F(LoginSequenceWinTest, NoServerAtTheAddress) {
  const struct {
    std::u16string ip;
    std::int32_t port;
  } cases[] = {{u"127.0.0.1", FreePort()}, {u"localhost", ServerPort()}};
  for (const auto& c : cases) {
    test::RecordingHost host;
    session_.SetHost(&host);
    settings_.LoginServerIP = c.ip;
    settings_.LoginServerPort = c.port;
    session_.Login = u"player";
    session_.Password = u"secret";
    RunLoginSequence(session_);
    EXPECT_EQ(host.Outcome(), outcome::kNoLink);
    EXPECT_EQ(host.Lines(), (std::vector<StatusLineRecord>{{u"connecting to " + c.ip, kStatusBlack},
                                                           {u"not connected", kStatusRed}}));
    EXPECT_FALSE(session_.HasSocket());
  }
}

TEST_F(LoginSequenceWinTest, AMissingClientFileShowsTheWarning) {
  ::DeleteFileW((folder_ / L"KQ_Online.bin").c_str());
  RunLoginSequence(session_);
  EXPECT_EQ(host_.Outcome(), outcome::kClientMissing);
  EXPECT_TRUE(host_.Lines().empty());
  EXPECT_EQ(desktop_.Messages(),
            (std::vector<MessageRecord>{{u"Файл DO Rizura.bin не найден в каталоге с лаунчером!",
                                         u"Warning", SessionDesktop::Icon::Warning}}));
}

}  // namespace
}  // namespace kq
