// The world entry against the reference login server, after a real login on the same
// session: what goes over the wire, the ticket the receive thread writes, and each branch of
// the entry's end.
#include "session/WorldEntry.h"

#include "LoginServer.h"
#include "SessionTestSupport.h"
#include "common/CodePage.h"
#include "common/Error.h"
#include "common/Utf8.h"
#include "session/LoginSequence.h"
#include "session/PosixSessionShim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kq {
namespace {

using loginserver::Fault;
using loginserver::Request;
using test::StatusLineRecord;

const Cp1251Codec kCodec;
constexpr std::uint32_t kShortBoundMs = 700;

// A game folder with or without its System folder; removed with everything in it.
class GameFolder {
 public:
  explicit GameFolder(bool withSystem) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kq-world-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    std::ofstream(path_ / "KQ_Online.bin") << "client";
    if (withSystem) std::filesystem::create_directory(path_ / "System");
  }
  ~GameFolder() { std::filesystem::remove_all(path_); }
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  std::u16string LauncherDir() const { return Utf8ToUtf16(AsBytes(path_.string() + "/")); }
  std::filesystem::path Ticket() const { return path_ / "System" / "DefaultSet.tmp"; }

 private:
  std::filesystem::path path_;
};

// The ticket path the session hands over ends in "System\DefaultSet.tmp"; here it is written
// as a POSIX path, so that a missing folder fails as it does on Windows.
bool WriteFileHere(const std::u16string& path, ByteView bytes) {
  std::string p = Utf16ToUtf8String(path);
  std::replace(p.begin(), p.end(), '\\', '/');
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Entry {
  std::vector<StatusLineRecord> lines;  // from the world entry on
  std::vector<std::u16string> started;
  int beeps = 0;
};

class WorldEntryTest : public ::testing::Test {
 protected:
  void StartServer(loginserver::ServerConfig config) {
    session_.reset();
    server_ = std::make_unique<loginserver::LoginServer>(std::move(config));
    ASSERT_EQ(server_->Start(), std::nullopt);
    settings_.LoginServerPort = server_->Port();
  }

  static loginserver::ServerConfig Server() {
    loginserver::ServerConfig config;
    config.Accounts = {{"player", "secret", 0, 0x1234, 1}, {"Игрок", "пароль", 0, 0xABC, 0}};
    config.WorldName = "Ризура";
    config.WorldServerAddress = {10, 1, 2, 3};
    config.WorldServerPort = 80;
    config.WorldServerKeys = {0xA1B2C3D4, 0x01020304, 0xFFFFFFFF, 0};
    return config;
  }

  // Logs in on a new session, then enters world `index`.
  Entry LogInAndEnter(std::uint16_t index, bool autoStart, std::u16string login = u"player",
                      std::u16string password = u"secret") {
    TSessionOptions options;
    options.WaitBoundMs = boundMs_;
    options.WriteTicket = SessionTicketWriter(WriteFileHere);
    session_ = std::make_unique<TLoginSession>(settings_, TSessionServices{shim_, desktop_, kCodec},
                                               std::move(options));
    session_->SetHost(&host_);
    session_->Login = std::move(login);
    session_->Password = std::move(password);
    session_->AutoStart = autoStart;
    RunLoginSequence(*session_);
    EXPECT_NE(host_.Worlds(), nullptr);
    const std::size_t before = host_.Lines().size();

    Entry entry;
    const WorldEntryOptions world{
        [&] { ++entry.beeps; }, [&](const std::u16string& path) { entry.started.push_back(path); }};
    EnterWorld(*session_, index, world);
    session_->SetHost(nullptr);
    const auto lines = host_.Lines();
    entry.lines.assign(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end());
    return entry;
  }

  void ExpectLinkClosed() {
    EXPECT_FALSE(session_->HasSocket());
    EXPECT_TRUE(test::Eventually([&] { return server_->ConnectionsOpen() == 0; }));
  }

  void SetUp() override {
    settings_.LoginServerIP = u"127.0.0.1";
    settings_.LauncherDir = folder_.LauncherDir();
    settings_.ClientLanguage = 7;
    StartServer(Server());
  }

  std::uint32_t boundMs_ = 60000;
  GameFolder folder_{true};
  TSessionSettings settings_;
  PosixSessionShim shim_;
  PosixSessionDesktop files_;
  test::RecordingDesktop desktop_{files_};
  test::RecordingHost host_;
  std::unique_ptr<loginserver::LoginServer> server_;
  std::unique_ptr<TLoginSession> session_;
};

const StatusLineRecord kServerLine{
    u"ServIP:0302010A\nServPort:0050\nKey1:A1B2C3D4\nKey2:01020304\nKey3:FFFFFFFF\nKey4:00000000\n",
    kStatusBlack};

TEST_F(WorldEntryTest, AnEntryWritesTheTicketThenStartsTheClientOrTellsThePlayer) {
  const struct {
    std::u16string login, password;
    bool autoStart;
    std::string ticketLogin;
    std::uint32_t account, premium;
  } cases[] = {
      {u"player", u"secret", true, "player", 0x1234, 1},
      // The login goes into the ticket in the system's code page.
      {u"Игрок", u"пароль", true, "\xC8\xE3\xF0\xEE\xEA", 0xABC, 0},
      {u"player", u"secret", false, "player", 0x1234, 1},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(folder_.Ticket());
    const Entry e = LogInAndEnter(0, c.autoStart, c.login, c.password);
    const std::u16string dir = settings_.LauncherDir;
    if (c.autoStart) {
      EXPECT_EQ(e.lines, (std::vector<StatusLineRecord>{kServerLine,
                                                        {u"Start game: " + dir, kStatusBlack}}));
      EXPECT_EQ(e.started, std::vector<std::u16string>{dir + u"KQ_Online.bin"});
    } else {
      EXPECT_EQ(e.lines, (std::vector<StatusLineRecord>{
                             kServerLine, {u"Now you can run bin manual", kStatusGreen}}));
      EXPECT_TRUE(e.started.empty());
    }
    EXPECT_EQ(e.beeps, 1);
    ExpectLinkClosed();
    EXPECT_EQ(server_->Received().back().Frame, BuildSelectWorld(0));

    TicketFields expected;
    expected.Server = {0x0302010A, 80, 0xA1B2C3D4, 0x01020304, 0xFFFFFFFF, 0};
    expected.Login = c.ticketLogin;
    expected.AccountID = c.account;
    expected.Premium = c.premium;
    expected.ClientLanguage = 7;
    const std::string ticket = ReadFile(folder_.Ticket());
    const TicketBytes bytes = EncodeTicket(expected);
    EXPECT_EQ(ticket, std::string(bytes.begin(), bytes.end()));
  }
}

// Anything but a clean answer ends without a game start: a world list that came with a
// refusal, and a wait for the world server data that runs out (the ticket on disk is then
// an older one).
TEST_F(WorldEntryTest, NoStartWithoutAFreshTicket) {
  const std::u16string refusal = u"Ошибка подключения к серверу : 28 [" +
                                 std::u16string(u"Ваша учётная запись заблокирована.") + u"]";
  EXPECT_EQ(WorldEntryErrorLine(40), refusal);
  EXPECT_EQ(WorldEntryErrorLine(0xAB), u"Ошибка подключения к серверу : AB []");

  const struct {
    const char* name;
    std::uint8_t worldResult;
    bool silent;
    bool autoStart;
    std::vector<StatusLineRecord> lines;
    bool ticket;
  } cases[] = {
      {"refused", 40, false, true, {kServerLine, {refusal, kStatusRed}}, true},
      {"no answer", 0, true, true, {{std::u16string(kNoWorldServerText), kStatusRed}}, false},
      {"no answer, manual",
       0,
       true,
       false,
       {{std::u16string(kNoWorldServerText), kStatusRed}},
       false},
      {"refused, no answer", 40, true, true, {{refusal, kStatusRed}}, false},
  };
  boundMs_ = kShortBoundMs;
  for (const auto& c : cases) {
    std::filesystem::remove(folder_.Ticket());
    auto config = Server();
    config.WorldResult = c.worldResult;
    if (c.silent) config.Faults[static_cast<std::size_t>(Request::SelectWorld)] = {.Silent = true};
    StartServer(config);
    const Entry e = LogInAndEnter(0, c.autoStart);
    EXPECT_EQ(e.lines, c.lines) << c.name;
    EXPECT_TRUE(e.started.empty()) << c.name;
    EXPECT_EQ(e.beeps, 1) << c.name;
    EXPECT_EQ(std::filesystem::exists(folder_.Ticket()), c.ticket) << c.name;
    ExpectLinkClosed();
  }
}

TEST_F(WorldEntryTest, WithoutASystemFolderNoTicketIsWrittenAndTheEntryGoesOn) {
  GameFolder bare(false);
  settings_.LauncherDir = bare.LauncherDir();
  const Entry e = LogInAndEnter(0, true);
  EXPECT_EQ(e.lines, (std::vector<StatusLineRecord>{
                         kServerLine, {u"Start game: " + settings_.LauncherDir, kStatusBlack}}));
  EXPECT_EQ(e.started.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(bare.Ticket().parent_path()));
  ExpectLinkClosed();
}

TEST_F(WorldEntryTest, AnIndexOutsideTheListSendsNothing) {
  TSessionOptions options;
  session_ = std::make_unique<TLoginSession>(settings_, TSessionServices{shim_, desktop_, kCodec},
                                             std::move(options));
  session_->Login = u"player";
  session_->Password = u"secret";
  RunLoginSequence(*session_);
  const std::size_t before = server_->Received().size();
  for (std::uint16_t index : {1, 65535}) {
    try {
      EnterWorld(*session_, index, {});
      ADD_FAILURE() << "no error for " << index;
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(),
                u"List index out of bounds (" + Utf8ToUtf16(AsBytes(std::to_string(index))) + u")");
    }
  }
  EXPECT_EQ(server_->Received().size(), before);
  EXPECT_TRUE(session_->HasSocket());  // the link stays for a valid choice
}

}  // namespace
}  // namespace kq
