// A whole world entry in the Windows build, under Wine, against the native reference login
// server (scripts/with-loginserver.sh, winsession-server.conf): the ticket written by the
// receive thread through the Windows file writer, then the stand-in client started from a
// game folder whose path has a blank, as the launcher binds it.
#include "session/WorldEntry.h"

#include "SessionTestSupport.h"
#include "common/Utf8.h"
#include "common/Paths.h"
#include "session/GameStart.h"
#include "session/LoginSequence.h"
#include "session/TicketFile.h"
#include "win/Handles.h"
#include "session/WinSessionShim.h"
#include "win/SystemText.h"
#include "win/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kq {
namespace {

using test::StatusLineRecord;
using win::test::ReadFileBytes;

TEST(WorldEntryWin, EntersTheWorldWritesTheTicketAndStartsTheClient) {
  win::SocketLibrary sockets;
  ASSERT_TRUE(sockets.Started());
  const char* port = std::getenv("KQ_LOGIN_SERVER_PORT");
  ASSERT_NE(port, nullptr) << "run through scripts/with-loginserver.sh";

  win::test::TestFolder game(L"game folder");
  const std::wstring built = win::Wide(DirectoryOf(win::ExecutablePath())) + L"KQ_Online.bin";
  ASSERT_TRUE(::CopyFileW(built.c_str(), (game / L"KQ_Online.bin").c_str(), FALSE));
  ASSERT_TRUE(::CreateDirectoryW((game / L"System").c_str(), nullptr));

  TSessionSettings settings;
  settings.LoginServerIP = u"127.0.0.1";
  settings.LoginServerPort = std::atoi(port);
  settings.LauncherDir = win::U16(game.Path());
  settings.ClientLanguage = 3;
  win::WinSessionShim shim;
  win::WinSessionDesktop files;
  test::RecordingDesktop desktop(files);
  win::SystemAnsiCodec codec;
  test::RecordingHost host;
  TSessionOptions options;
  options.WriteTicket = SessionTicketWriter(win::WriteTicketFile);
  TLoginSession session(settings, TSessionServices{shim, desktop, codec}, std::move(options));
  session.SetHost(&host);
  session.Login = u"player";
  session.Password = u"secret";
  session.AutoStart = true;
  RunLoginSequence(session);
  ASSERT_NE(host.Worlds(), nullptr);

  win::GameStartOptions start;
  start.Status = &host;
  win::KernelHandle client;
  start.BeforeResume = [&](const PROCESS_INFORMATION& pi) {
    HANDLE dup = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), pi.hProcess, ::GetCurrentProcess(), &dup, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    client.Reset(dup);
  };
  int beeps = 0;
  const std::size_t before = host.Lines().size();
  EnterWorld(
      session, 0,
      {[&] { ++beeps; }, [&](const std::u16string& path) { win::StartGameClient(path, start); }});
  session.SetHost(nullptr);

  const auto lines = host.Lines();
  ASSERT_EQ(lines.size(), before + 2);
  EXPECT_EQ(lines[before].text.substr(0, 16), u"ServIP:0100007F\n");
  EXPECT_EQ(lines[before + 1],
            (StatusLineRecord{u"Start game: " + settings.LauncherDir, kStatusBlack}));
  EXPECT_EQ(beeps, 1);
  EXPECT_FALSE(session.HasSocket());

  const std::string ticket = ReadFileBytes(game / L"System\\DefaultSet.tmp");
  const DecodedTicket decoded = DecodeTicket(AsBytes(ticket));
  EXPECT_TRUE(decoded.Ok());
  EXPECT_EQ(decoded.Fields.Login, "player");
  EXPECT_EQ(decoded.Fields.AccountID, 0x1234u);
  EXPECT_EQ(decoded.Fields.Premium, 1u);
  EXPECT_EQ(decoded.Fields.ClientLanguage, 3);

  // The client checked the ticket (exit code 0) and reported from the game folder.
  ASSERT_TRUE(client);
  ASSERT_EQ(::WaitForSingleObject(client.Get(), 20000), WAIT_OBJECT_0);
  DWORD code = 99;
  ::GetExitCodeProcess(client.Get(), &code);
  EXPECT_EQ(code, 0u);
  const std::string report = ReadFileBytes(game / L"KQ_Online.report.txt");
  EXPECT_NE(report.find("Login: player"), std::string::npos) << report;
  EXPECT_NE(report.find("Check: ok"), std::string::npos) << report;
  EXPECT_NE(report.find(Utf16ToUtf8String(u"CurrentFolder: " +
                                          win::U16(game.Path().substr(0, game.Path().size() - 1)))),
            std::string::npos)
      << report;
}

}  // namespace
}  // namespace kq
