#include "ticket/TicketTool.h"

#include "session/Ticket.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kq::tools {
namespace {

namespace fs = std::filesystem;

class TicketTool : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("kq-ticket-" + std::to_string(::getpid()) + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const char* name) const { return (dir_ / name).string(); }

  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return RunTicketTool(args, out_, err_);
  }

  static Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::ostringstream out_, err_;
  fs::path dir_;
};

TEST_F(TicketTool, EncodesWithTheProductsLayoutAndDecodesItBack) {
  const std::string file = Path("DefaultSet.tmp");
  ASSERT_EQ(Run({"encode",  file,         "--ip",       "127.0.0.1", "--port",    "10100",
                 "--login", "Пилот",      "--account",  "0x1234",    "--premium", "1",
                 "--key1",  "0x11111111", "--key2",     "572662306", "--key3",    "0x33333333",
                 "--key4",  "0x44444444", "--language", "7"}),
            0)
      << err_.str();

  TicketFields expected;
  expected.Server = {0x0100007F, 10100, 0x11111111, 0x22222222, 0x33333333, 0x44444444};
  expected.Login = "\xCF\xE8\xEB\xEE\xF2";
  expected.AccountID = 0x1234;
  expected.Premium = 1;
  expected.ClientLanguage = 7;
  const TicketBytes bytes = EncodeTicket(expected);
  EXPECT_EQ(ReadBytes(file), Bytes(bytes.begin(), bytes.end()));

  ASSERT_EQ(Run({"decode", file}), 0) << err_.str();
  const std::string text = out_.str();
  for (const char* line :
       {"ServIP: 0100007F (127.0.0.1)\n", "ServPort: 2774 (10100)\n", "Login: Пилот\n",
        "AccountID: 00001234 (4660)\n", "Key2: 22222222\n", "Premium: 1\n", "Offset39: 0000\n",
        "Offset49: 00000000\n", "ClientLanguage: 0007 (7)\n", "Check: ok\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " missing in\n" << text;
  }
}

TEST_F(TicketTool, EncodeOverwritesALongerFileAndTakesDefaults) {
  const std::string file = Path("t.bin");
  std::ofstream(file, std::ios::binary) << std::string(300, 'x');
  ASSERT_EQ(Run({"encode", file, "--ip", "0x0A000001"}), 0) << err_.str();
  TicketFields expected;
  expected.Server.ServIP = 0x0A000001;
  const TicketBytes bytes = EncodeTicket(expected);
  EXPECT_EQ(ReadBytes(file), Bytes(bytes.begin(), bytes.end()));
}

TEST_F(TicketTool, DecodeReportsAFaultyTicketWithExitCode1) {
  const std::string file = Path("short.bin");
  const TicketBytes bytes = EncodeTicket({});
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), kTicketSize - 1);
  EXPECT_EQ(Run({"decode", file}), 1);
  EXPECT_NE(out_.str().find("Check: size is 54 bytes, not 55\n"), std::string::npos) << out_.str();
}

TEST_F(TicketTool, RefusesWrongUse) {
  const std::string file = Path("never.bin");
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{}, "usage:"},
      {{"print", file}, "usage:"},
      {{"decode", Path("missing.bin")}, "cannot read"},
      {{"encode", file, "--port", "65536"}, "--port takes a number from 0 to 65535"},
      {{"encode", file, "--premium", "2"}, "--premium takes a number from 0 to 1"},
      {{"encode", file, "--language", "256"}, "--language takes a number from 0 to 255"},
      {{"encode", file, "--account", "12x"}, "--account takes a number"},
      {{"encode", file, "--key1", "0x100000000"}, "--key1 takes a number"},
      {{"encode", file, "--ip", "1.2.3"}, "--ip takes a dotted address"},
      {{"encode", file, "--ip", "1.2.3.256"}, "--ip takes a dotted address"},
      {{"encode", file, "--ip", "1.2.3.4.5"}, "--ip takes a dotted address"},
      {{"encode", file, "--login", "中文"}, "code page 1251 lacks"},
      {{"encode", file, "--color", "1"}, "unknown option --color"},
      {{"encode", file, "--port"}, "--port needs a value"},
      {{"encode", Path("no/such/folder/t.bin")}, "cannot write"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << c.message;
    EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
  }
  EXPECT_FALSE(fs::exists(file));  // nothing half-done is left behind
}

}  // namespace
}  // namespace kq::tools
