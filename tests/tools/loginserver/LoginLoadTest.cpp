#include "LoginLoad.h"
#include "LoginServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace kq::loginload {
namespace {

using loginserver::LoginServer;
using loginserver::ServerConfig;

ServerConfig Config(std::vector<std::string> flags = {}) {
  ServerConfig config;
  flags.insert(flags.begin(), {"--account", "Игрок:пароль:0:7:1"});
  EXPECT_EQ(loginserver::ParseArgs(flags, config), std::nullopt);
  return config;
}

LoadOptions Options(std::uint16_t port, int count) {
  LoadOptions options;
  options.Port = port;
  options.Count = count;
  options.Login = "Игрок";
  options.Password = "пароль";
  options.SelectWorld = true;
  options.TimeoutMs = 5000;
  return options;
}

TEST(LoginLoad, EveryLoginOfAConcurrentRunSucceedsAgainstTheReferenceServer) {
  LoginServer server(Config());
  ASSERT_EQ(server.Start(), std::nullopt);
  const LoadOptions options = Options(server.Port(), 20);
  const LoadReport report = RunLoad(options);

  EXPECT_EQ(report.Started, 20);
  EXPECT_EQ(report.Succeeded, 20);
  EXPECT_TRUE(report.Failures.empty()) << FormatReport(options, report);
  for (const StepFigures& step : report.Steps) {
    EXPECT_EQ(step.Samples, 20u);
    EXPECT_LE(step.P50, step.P99);
    EXPECT_LE(step.P99, step.Max);
  }
  EXPECT_GT(report.LoginsPerSecond(), 0);
  // Each login on its own connection, with its four requests.
  EXPECT_EQ(server.ConnectionsAccepted(), 20);
  const auto received = server.Received();
  EXPECT_EQ(received.size(), 80u);
  EXPECT_TRUE(std::all_of(received.begin(), received.end(), [](const auto& r) {
    return r.Kind != loginserver::Request::Login || r.KeysUsed == loginserver::KeyPair::Designated;
  }));

  const std::string text = FormatReport(options, report);
  EXPECT_NE(text.find("20 logins, 20 at a time: 20 ok, 0 failed"), std::string::npos) << text;
  EXPECT_NE(text.find("select world"), std::string::npos);
  EXPECT_EQ(text.find("failures"), std::string::npos);
}

TEST(LoginLoad, RunsTheLoginsAFewAtATimeAndStopsAtTheWorldListUnlessAskedFurther) {
  LoginServer server(Config());
  ASSERT_EQ(server.Start(), std::nullopt);
  LoadOptions options = Options(server.Port(), 9);
  options.Concurrency = 2;
  options.SelectWorld = false;
  const LoadReport report = RunLoad(options);

  EXPECT_EQ(report.Succeeded, 9);
  EXPECT_EQ(report.Steps[static_cast<std::size_t>(Step::WorldList)].Samples, 9u);
  EXPECT_EQ(report.Steps[static_cast<std::size_t>(Step::SelectWorld)].Samples, 0u);
  EXPECT_EQ(server.ConnectionsAccepted(), 9);
  EXPECT_EQ(server.Received().size(), 27u);
  const std::string text = FormatReport(options, report);
  EXPECT_NE(text.find("9 logins, 2 at a time"), std::string::npos) << text;
  EXPECT_EQ(text.find("select world"), std::string::npos) << text;
}

// What a misbehaving server costs each login: the step that fails and how, or no failure
// where the launcher copes.
struct FaultCase {
  std::vector<std::string> ServerFlags;
  std::optional<Step> FailsAt;
  FailureKind Kind = FailureKind::Timeout;
};

TEST(LoginLoad, CountsEachFailureOfAMisbehavingServerUnderItsKind) {
  const FaultCase cases[] = {
      {{"--fault", "hello=silent"}, Step::Hello, FailureKind::Timeout},
      {{"--fault", "login=delay:2000"}, Step::Login, FailureKind::Timeout},
      {{"--fault", "hello=close"}, Step::Hello, FailureKind::Closed},
      {{"--fault", "select=close"}, Step::SelectWorld, FailureKind::Closed},
      {{"--fault", "login=short"}, Step::Login, FailureKind::ShortFrame},
      {{"--fault", "worlds=short"}, Step::WorldList, FailureKind::ShortFrame},
      {{"--fault", "worlds=unknown"}, Step::WorldList, FailureKind::UnknownFrame},
      {{"--fault", "select=reversed"}, Step::SelectWorld, FailureKind::UnknownFrame},
      // A server that expects the keys of another address text reads a login it does not
      // know.
      {{"--key-pair", "other"}, Step::Login, FailureKind::Rejected},
      // Cut, joined and slow responses are still responses.
      {{"--fault", "hello=split", "--fault", "login=join", "--fault", "worlds=delay:50", "--fault",
        "select=join"},
       std::nullopt},
  };
  for (const FaultCase& c : cases) {
    std::string name;
    for (const std::string& flag : c.ServerFlags) name += flag + " ";
    SCOPED_TRACE(name);
    LoginServer server(Config(c.ServerFlags));
    ASSERT_EQ(server.Start(), std::nullopt);
    LoadOptions options = Options(server.Port(), 4);
    options.TimeoutMs = 400;
    const LoadReport report = RunLoad(options);

    if (!c.FailsAt) {
      EXPECT_EQ(report.Succeeded, 4);
      EXPECT_TRUE(report.Failures.empty()) << FormatReport(options, report);
      continue;
    }
    EXPECT_EQ(report.Succeeded, 0);
    ASSERT_EQ(report.Failures.size(), 4u) << FormatReport(options, report);
    EXPECT_EQ(report.FailuresOf(c.Kind), 4);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(report.Failures[i].LoginIndex, i);
      EXPECT_EQ(report.Failures[i].At, *c.FailsAt);
    }
    // The steps before the failing one completed for every login, the failing one for none.
    const auto failing = static_cast<std::size_t>(*c.FailsAt);
    for (std::size_t s = 0; s < kStepCount; ++s) {
      EXPECT_EQ(report.Steps[s].Samples, s < failing ? 4u : 0u) << StepName(Step(s));
    }
    const std::string text = FormatReport(options, report);
    const std::string line = "login 3: " + std::string(StepName(*c.FailsAt)) + ": " +
                             std::string(FailureKindName(c.Kind)) + " (";
    EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_NE(text.find("failures: " + std::string(FailureKindName(c.Kind)) + " 4\n"),
              std::string::npos)
        << text;
  }
}

TEST(LoginLoad, AWrongPasswordAndARefusingResultCodeAreRejections) {
  LoginServer server(Config({"--account", "blocked:x:40"}));
  ASSERT_EQ(server.Start(), std::nullopt);
  for (const auto& [login, password, code] :
       {std::tuple{"Игрок", "wrong", "6"}, std::tuple{"blocked", "x", "40"}}) {
    LoadOptions options = Options(server.Port(), 3);
    options.Login = login;
    options.Password = password;
    const LoadReport report = RunLoad(options);
    ASSERT_EQ(report.FailuresOf(FailureKind::Rejected), 3) << FormatReport(options, report);
    EXPECT_EQ(report.Failures[0].At, Step::Login);
    EXPECT_EQ(report.Failures[0].Detail, std::string("result code ") + code);
  }
}

TEST(LoginLoad, ConnectionsToAPortWithoutAServerAreRefused) {
  // A port that was free a moment ago and has no listener.
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof at;
  ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
  ASSERT_EQ(::getsockname(probe, reinterpret_cast<sockaddr*>(&at), &size), 0);
  ::close(probe);

  const LoadOptions options = Options(ntohs(at.sin_port), 5);
  const LoadReport report = RunLoad(options);
  EXPECT_EQ(report.Succeeded, 0);
  EXPECT_EQ(report.FailuresOf(FailureKind::Refused), 5) << FormatReport(options, report);
  EXPECT_EQ(report.Steps[static_cast<std::size_t>(Step::Connect)].Samples, 0u);
}

TEST(LoginLoadFigures, AreNearestRankPercentilesWhateverTheOrder) {
  std::vector<std::uint64_t> hundred(100);
  std::iota(hundred.begin(), hundred.end(), 1);
  std::shuffle(hundred.begin(), hundred.end(), std::mt19937(7));
  const StepFigures f = Summarise(hundred);
  EXPECT_EQ(f.Samples, 100u);
  EXPECT_EQ(f.P50, 50u);
  EXPECT_EQ(f.P99, 99u);
  EXPECT_EQ(f.Max, 100u);

  // One slow login in a thousand stays out of p99 but shows as the maximum.
  std::vector<std::uint64_t> thousand(1000, 10);
  thousand[123] = 5000;
  const StepFigures g = Summarise(thousand);
  EXPECT_EQ(g.P99, 10u);
  EXPECT_EQ(g.Max, 5000u);

  const StepFigures one = Summarise({42});
  EXPECT_EQ(one.P50, 42u);
  EXPECT_EQ(one.P99, 42u);
  EXPECT_EQ(Summarise({}).Samples, 0u);
}

TEST(LoginLoadArgs, TakesTheOperatorsFlagsAndRejectsBadValues) {
  LoadOptions options;
  const std::vector<std::string> good = {"--address",      "10.0.0.5", "--port",        "7777",
                                         "--count",        "1000",     "--concurrency", "50",
                                         "--login",        "Игрок",    "--password",    "p w",
                                         "--select-world", "yes",      "--timeout",     "250"};
  ASSERT_EQ(ParseArgs(good, options), std::nullopt);
  EXPECT_EQ(options.Address, "10.0.0.5");
  EXPECT_EQ(options.Port, 7777);
  EXPECT_EQ(options.Count, 1000);
  EXPECT_EQ(options.Concurrency, 50);
  EXPECT_EQ(options.Login, "Игрок");
  EXPECT_EQ(options.Password, "p w");
  EXPECT_TRUE(options.SelectWorld);
  EXPECT_EQ(options.TimeoutMs, 250u);

  const std::vector<std::vector<std::string>> bad = {{"--address", "server.example"},
                                                     {"--port", "0"},
                                                     {"--port", "70000"},
                                                     {"--count", "0"},
                                                     {"--count", "12x"},
                                                     {"--concurrency", "-1"},
                                                     {"--select-world", "maybe"},
                                                     {"--timeout", "0"},
                                                     {"--login"},
                                                     {"--verbose", "1"}};
  for (const auto& args : bad) {
    LoadOptions o;
    EXPECT_NE(ParseArgs(args, o), std::nullopt) << args[0];
  }
}

}  // namespace
}  // namespace kq::loginload
