#include "ServerConfig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kq::loginserver {
namespace {

std::optional<std::string> Parse(std::vector<std::string> args, ServerConfig& config) {
  return ParseArgs(args, config);
}

TEST(ServerConfig, FlagsSetTheirValues) {
  ServerConfig c;
  ASSERT_EQ(Parse({"--port",
                   "10001",
                   "--port-file",
                   "/tmp/p",
                   "--account",
                   "player:secret",
                   "--account",
                   "Игрок:пароль:40:0x1234:1",
                   "--unknown-result",
                   "7",
                   "--key-bases",
                   "0x10,32",
                   "--key-pair",
                   "other",
                   "--world-name",
                   "Мир",
                   "--world-open",
                   "0",
                   "--world-result",
                   "2",
                   "--world-server",
                   "10.0.0.9:7777",
                   "--world-keys",
                   "1,2,3,0xFFFFFFFF",
                   "--log"},
                  c),
            std::nullopt);
  EXPECT_EQ(c.Port, 10001);
  EXPECT_EQ(c.PortFile, "/tmp/p");
  ASSERT_EQ(c.Accounts.size(), 2u);
  EXPECT_EQ(c.Accounts[0].Login, "player");
  EXPECT_EQ(c.Accounts[0].Password, "secret");
  EXPECT_EQ(c.Accounts[0].Result, 0);
  EXPECT_EQ(c.Accounts[0].AccountID, 1u);  // the defaults
  EXPECT_EQ(c.Accounts[0].Premium, 0u);
  EXPECT_EQ(c.Accounts[1].Login, "Игрок");
  EXPECT_EQ(c.Accounts[1].Result, 40);
  EXPECT_EQ(c.Accounts[1].AccountID, 0x1234u);
  EXPECT_EQ(c.Accounts[1].Premium, 1u);
  EXPECT_EQ(c.UnknownLoginResult, 7);
  EXPECT_EQ(c.AddBase, 0x10);
  EXPECT_EQ(c.XorBase, 32);
  EXPECT_EQ(c.Keys, KeyPair::Other);
  EXPECT_EQ(c.WorldName, "Мир");
  EXPECT_FALSE(c.WorldOpen);
  EXPECT_EQ(c.WorldResult, 2);
  EXPECT_EQ(c.WorldServerAddress, (std::array<std::uint8_t, 4>{10, 0, 0, 9}));
  EXPECT_EQ(c.WorldServerPort, 7777);
  EXPECT_EQ(c.WorldServerKeys, (std::array<std::uint32_t, 4>{1, 2, 3, 0xFFFFFFFF}));
  EXPECT_TRUE(c.LogHex);
}

TEST(ServerConfig, FaultsAddUpPerRequest) {
  ServerConfig c;
  ASSERT_EQ(
      Parse({"--fault", "login=delay:300,split", "--fault", "login=short", "--fault",
             "worlds=silent,unknown,reversed", "--fault", "hello=close", "--fault", "select=join"},
            c),
      std::nullopt);
  EXPECT_EQ(c.Faults[0], (Fault{.Close = true}));
  EXPECT_EQ(c.Faults[1], (Fault{.DelayMs = 300, .Short = true, .Split = true}));
  EXPECT_EQ(c.Faults[2], (Fault{.Unknown = true, .Reversed = true, .Silent = true}));
  EXPECT_EQ(c.Faults[3], (Fault{.Join = true}));
}

TEST(ServerConfig, RefusesMistakes) {
  const std::vector<std::vector<std::string>> cases = {
      {"--port"},
      {"--port", "65536"},
      {"--port", "-1"},
      {"--port", "12x"},
      {"--account", "nopassword"},
      {"--account", ":secret"},
      {"--account", "a:b:256"},
      {"--account", "a:b:0:1:2:3"},
      {"--key-bases", "1"},
      {"--key-bases", "1,300"},
      {"--key-pair", "both"},
      {"--world-open", "yes"},
      {"--world-server", "localhost:7000"},
      {"--world-server", "10.0.0.1"},
      {"--world-server", "10.0.0.256:1"},
      {"--world-keys", "1,2,3"},
      {"--fault", "login"},
      {"--fault", "logout=silent"},
      {"--fault", "login=loud"},
      {"--fault", "login=delay:soon"},
      {"--config", "/nonexistent/kq-server.conf"},
      {"--frobnicate", "1"},
  };
  for (const auto& args : cases) {
    ServerConfig c;
    EXPECT_NE(Parse(args, c), std::nullopt) << args[0] << " " << (args.size() > 1 ? args[1] : "");
  }
}

TEST(ServerConfig, AConfigFileHoldsTheSameFlags) {
  EXPECT_EQ(ConfigFileArgs("# a comment\r\n\r\nport 10001\r\n  account = player:secret \n"
                           "world-name Мир Ризуры\nlog\n"),
            (std::vector<std::string>{"--port", "10001", "--account", "player:secret",
                                      "--world-name", "Мир Ризуры", "--log"}));

  const auto path = std::filesystem::temp_directory_path() /
                    ("kq-server-" + std::to_string(::getpid()) + ".conf");
  std::ofstream(path) << "port 4000\naccount a:b:6\nfault hello=silent\n";
  ServerConfig c;
  // Flags after the file still apply on top of it.
  EXPECT_EQ(Parse({"--config", path.string(), "--port", "5000"}, c), std::nullopt);
  std::filesystem::remove(path);
  EXPECT_EQ(c.Port, 5000);
  ASSERT_EQ(c.Accounts.size(), 1u);
  EXPECT_EQ(c.Accounts[0].Result, 6);
  EXPECT_TRUE(c.Faults[0].Silent);

  // A mistake in the file names the file.
  std::ofstream(path) << "port many\n";
  const auto error = Parse({"--config", path.string()}, c);
  std::filesystem::remove(path);
  ASSERT_NE(error, std::nullopt);
  EXPECT_NE(error->find(path.string()), std::string::npos);
}

}  // namespace
}  // namespace kq::loginserver
