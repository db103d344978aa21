// A long run, left out of the default test run: the launcher's login sequence a thousand
// times in a row on one session against the reference server, whose misbehaviour changes
// from login to login. Built for the ThreadSanitizer tree, where any race between the
// session's threads and the server's shows as a report and fails the run.
#include "LoginServer.h"
#include "common/CodePage.h"
#include "common/Utf8.h"
#include "session/LoginSequence.h"
#include "session/PosixSessionShim.h"

#include "../../session/SessionTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace kq {
namespace {

using loginserver::Fault;
using loginserver::Request;

constexpr int kLogins = 1000;
// Long enough for any answer on loopback under the sanitizer on a busy machine; a closed
// link waits it out, as the launcher does.
constexpr std::uint32_t kBoundMs = 1500;

TEST(LoginSoak, AThousandLoginsInARowWithFaultsMixedIn) {
  std::string pattern = (std::filesystem::temp_directory_path() / "kq-soak-XXXXXX").string();
  const std::filesystem::path folder = ::mkdtemp(pattern.data());
  std::ofstream(folder / "KQ_Online.bin") << "client";

  loginserver::ServerConfig config;
  config.Accounts = {{"player", "secret", 0, 0x1234, 1}};
  loginserver::LoginServer server(config);
  ASSERT_EQ(server.Start(), std::nullopt);

  TSessionSettings settings;
  settings.LoginServerIP = u"127.0.0.1";
  settings.LoginServerPort = server.Port();
  settings.LauncherDir = Utf8ToUtf16(AsBytes(folder.string() + "/"));
  PosixSessionShim shim;
  PosixSessionDesktop files;
  test::RecordingDesktop desktop(files);
  const Cp1251Codec codec;
  TLoginSession session(settings, TSessionServices{shim, desktop, codec},
                        TSessionOptions{.WaitBoundMs = kBoundMs});
  session.Login = u"player";
  session.Password = u"secret";

  // Mostly faults a login survives; one in twenty closes the link instead of answering.
  const Fault survivable[] = {
      {}, {.Split = true}, {.Join = true}, {.DelayMs = 20}, {.DelayMs = 5, .Split = true}};
  const std::uint32_t closedOutcome[] = {outcome::kNoHelloReply, outcome::kNoLoginResult,
                                         outcome::kNoWorldList};
  std::mt19937 random(17);
  int listed = 0;
  int closed = 0;
  for (int i = 0; i < kLogins; ++i) {
    const auto request = static_cast<Request>(random() % 3);
    const bool close = random() % 20 == 0;
    const Fault fault = close ? Fault{.Close = true} : survivable[random() % std::size(survivable)];
    for (Request r : {Request::Hello, Request::Login, Request::WorldList}) {
      server.SetFault(r, r == request ? fault : Fault{});
    }

    test::RecordingHost host;
    session.SetHost(&host);
    RunLoginSequence(session);
    session.SetHost(nullptr);
    ASSERT_EQ(host.Endings(), 1) << "login " << i;
    if (close) {
      ASSERT_EQ(host.Outcome(), closedOutcome[static_cast<std::size_t>(request)]) << "login " << i;
      ++closed;
    } else {
      ASSERT_EQ(host.Outcome(), std::nullopt) << "login " << i;
      ASSERT_NE(host.Worlds(), nullptr) << "login " << i;
      ++listed;
    }
  }
  EXPECT_EQ(listed + closed, kLogins);
  EXPECT_GT(closed, 0);
  EXPECT_TRUE(desktop.Messages().empty());
  EXPECT_EQ(server.ConnectionsAccepted(), kLogins);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kq
