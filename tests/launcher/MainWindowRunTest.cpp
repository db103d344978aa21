// End-to-end runs of the real KQMiniLauncher.exe, driven as a player drives it, against the
// native reference login servers that scripts/with-loginservers.sh started from
// tests/launcher/servers (their ports in KQ_LOGIN_SERVER_PORT_<NAME>). Each run starts from a
// fresh game folder. Screenshots go to the tree's artifacts folder.
#include "../win/RunningLauncher.h"
#include "../win/TestFolder.h"
#include "DebugOutput.h"
#include "UiAutomation.h"
#include "common/Utf8.h"
#include "session/StatusSink.h"
#include "session/Ticket.h"
#include "session/WinSessionShim.h"
#include "win/SystemText.h"

#include "../win/FreePort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

namespace kq {
namespace {

using win::test::ReadFileBytes;
using win::test::RunningLauncher;
using win::test::TestFolder;
using win::test::WriteFileBytes;

constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

int ServerPort(const char* name) {
  const char* port = std::getenv((std::string("KQ_LOGIN_SERVER_PORT_") + name).c_str());
  return port ? std::atoi(port) : 0;
}

bool Eventually(const std::function<bool()>& condition, int ms = 15000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    ::Sleep(20);
  }
  return true;
}

// The text Windows keeps for the window, read without asking its (possibly busy) thread.
std::wstring StoredText(HWND hwnd) {
  wchar_t buf[256] = {};
  ::GetWindowTextW(hwnd, buf, 256);
  return buf;
}

// Pixels of exactly that colour in a 24-bit bottom-up BMP.
int CountPixels(const std::wstring& bmp, COLORREF colour) {
  const std::string d = ReadFileBytes(bmp);
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return -1;
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(d[at + i]);
    return v;
  };
  const std::uint32_t offset = u32(10), width = u32(18), height = u32(22);
  const std::size_t stride = (width * 3 + 3) & ~3u;
  int n = 0;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t at = offset + y * stride + x * 3;
      if (at + 3 > d.size()) return -1;
      const auto b = static_cast<unsigned char>(d[at]), g = static_cast<unsigned char>(d[at + 1]),
                 r = static_cast<unsigned char>(d[at + 2]);
      if (RGB(r, g, b) == colour) ++n;
    }
  }
  return n;
}

// One status line as a debug viewer receives it from the launcher: in the ANSI code page,
// marked with the program and the line's colour.
std::string DebugLine(std::uint32_t colour, std::u16string_view text) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "KQMiniLauncher [%06X] ", static_cast<unsigned>(colour));
  return prefix + win::SystemAnsiCodec().ToAnsi(text) + "\n";
}

// The yellow line that opens an outcome: its code in eight hex digits.
std::string DebugLine(std::uint32_t colour, std::uint32_t code) {
  char text[12];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(code));
  return DebugLine(colour, std::u16string(text, text + 8));
}

bool EndsWith(const std::vector<std::string>& lines, const std::vector<std::string>& tail) {
  return lines.size() >= tail.size() &&
         std::equal(tail.begin(), tail.end(), lines.end() - tail.size());
}

int Occurrences(const std::vector<std::string>& lines, const std::vector<std::string>& run) {
  int n = 0;
  for (auto at = lines.begin();
       (at = std::search(at, lines.end(), run.begin(), run.end())) != lines.end(); ++at)
    ++n;
  return n;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

// A game folder as the player has it: launcher configuration, client and System folder.
class Game {
 public:
  explicit Game(int port, bool withClient = true) {
    if (withClient) {
      EXPECT_TRUE(::CopyFileW((win::test::BuiltProgramsFolder() + L"KQ_Online.bin").c_str(),
                              (folder_ / L"KQ_Online.bin").c_str(), FALSE));
    }
    ::CreateDirectoryW((folder_ / L"System").c_str(), nullptr);
    WriteFileBytes(folder_ / L"KQMiniLauncherSettings.ini",
                   "[GUI]\r\nCaption=DO Rizura\r\n[LoginServer]\r\nIP=127.0.0.1\r\nPort=" +
                       std::to_string(port) + "\r\n[Client]\r\nLanguage=7\r\n");
  }
  const TestFolder& Folder() const { return folder_; }

  // Starts the launcher and waits for its main window.
  HWND Start() {
    launcher_ = std::make_unique<RunningLauncher>(folder_.Path(), folder_.Path().c_str());
    main_ = launcher_->WaitForWindow(L"TfrmMain", true);
    EXPECT_NE(main_, nullptr);
    return main_;
  }
  RunningLauncher& Launcher() { return *launcher_; }
  HWND Control(const wchar_t* name) const { return ui::FindNamed(main_, name); }

  void SignIn(const std::wstring& login, const std::wstring& password) {
    ui::SetText(Control(L"edtLogin"), login);
    ui::SetText(Control(L"edtPass"), password);
    ui::Click(Control(L"btnStart"));
  }
  bool WaitForWorlds() {
    return Eventually([&] { return !ui::Items(Control(L"lbWorlds")).empty(); });
  }
  bool StartEnabled() const { return ui::Enabled(Control(L"btnStart")); }

  std::wstring Screenshot(const std::wstring& name) {
    ::SetForegroundWindow(main_);
    ::InvalidateRect(main_, nullptr, TRUE);
    ::Sleep(300);  // let the window finish painting
    const std::wstring path = win::test::ArtifactsFolder() + name;
    EXPECT_TRUE(ui::SaveScreenshot(main_, path));
    return path;
  }

  void Close() {
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher_->WaitForExit(), 0);
  }

 private:
  TestFolder folder_{L"game folder"};
  std::unique_ptr<RunningLauncher> launcher_;
  HWND main_ = nullptr;
};

class MainWindowRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ServerPort("MAIN"), 0) << "run through scripts/with-loginservers.sh";
    // The launcher's waits for the silent servers end after this instead of 12 s.
    ::SetEnvironmentVariableW(L"KQ_LOGIN_WAIT_MS", L"1500");
    ASSERT_TRUE(sockets_.Started());
  }
  win::SocketLibrary sockets_;
};

TEST_F(MainWindowRun, FromStartToTheGame) {
  ui::DebugOutputViewer viewer;
  ASSERT_TRUE(viewer.Listening());
  Game game(ServerPort("MAIN"));
  HWND main = game.Start();
  ASSERT_NE(main, nullptr);
  game.Screenshot(L"run-1-ready.bmp");

  game.SignIn(L"player", L"secret");
  ASSERT_TRUE(game.WaitForWorlds());
  HWND list = game.Control(L"lbWorlds");
  EXPECT_EQ(ui::Items(list), std::vector<std::wstring>{L" Ризура"});
  EXPECT_FALSE(game.StartEnabled());
  EXPECT_EQ(ui::Text(game.Control(L"lblError")), L"");

  // Open and nobody on it: green bold, also on the selection background.
  const std::wstring shown = game.Screenshot(L"run-2-world-open.bmp");
  EXPECT_GT(CountPixels(shown, kGreen), 20);
  EXPECT_EQ(CountPixels(shown, kRed), 0);
  // Selected: the item's background turns the skin's selection colour.
  const COLORREF unselected = win::test::ClientPixel(list, 200, 10);
  ::SendMessageW(list, LB_SETCURSEL, 0, 0);
  const std::wstring selected = game.Screenshot(L"run-3-world-selected.bmp");
  EXPECT_GT(CountPixels(selected, kGreen), 20);
  const COLORREF selection = win::test::ClientPixel(list, 200, 10);
  EXPECT_NE(selection, unselected);
  EXPECT_GT(CountPixels(selected, selection), 100);

  // A double-click without a selection does nothing.
  ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(ui::Items(list).size(), 1u);
  EXPECT_EQ(ui::Text(game.Control(L"lblError")), L"");

  ASSERT_TRUE(ui::DoubleClickItem(list, 0));
  HWND label = game.Control(L"lblError");
  EXPECT_TRUE(Eventually([&] { return StoredText(label) == L"Приятной игры."; }));
  EXPECT_TRUE(
      Eventually([&] { return (::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }));
  EXPECT_EQ(game.Launcher().WaitForExit(), 0);

  const std::wstring& dir = game.Folder().Path();
  // A debug viewer follows the whole login and the world entry; the password is not there.
  const std::vector<std::string> lines{
      DebugLine(kStatusBlack, u"connecting to 127.0.0.1"),
      DebugLine(kStatusGreen, u"connected"),
      DebugLine(kStatusBlack, u"Login details :    Result = $00 AccountID = $1234 Premium = $01"),
      DebugLine(kStatusBlack,
                u"ServIP:0100007F\nServPort:1B58\nKey1:11111111\nKey2:22222222\n"
                u"Key3:33333333\nKey4:44444444\n"),
      DebugLine(kStatusBlack, u"Start game: " + win::U16(dir)),
  };
  EXPECT_TRUE(Eventually([&] { return viewer.LinesFrom(game.Launcher().Pid()) == lines; }, 3000));
  EXPECT_EQ(viewer.LinesFrom(game.Launcher().Pid()), lines);
  const DecodedTicket ticket =
      DecodeTicket(AsBytes(ReadFileBytes(dir + L"System\\DefaultSet.tmp")));
  EXPECT_TRUE(ticket.Ok());
  EXPECT_EQ(ticket.Fields.Login, "player");
  EXPECT_EQ(ticket.Fields.AccountID, 0x1234u);
  EXPECT_EQ(ticket.Fields.ClientLanguage, 7);

  std::string report;
  EXPECT_TRUE(Eventually([&] {
    report = ReadFileBytes(dir + L"KQ_Online.report.txt");
    return report.find("Check:") != std::string::npos;
  }));
  const std::string folder = Utf16ToUtf8String(win::U16(dir.substr(0, dir.size() - 1)));
  EXPECT_NE(report.find("CurrentFolder: " + folder + "\r\n"), std::string::npos) << report;
  EXPECT_NE(report.find("Title: DO Rizura ("), std::string::npos) << report;
  EXPECT_NE(report.find("Check: ok"), std::string::npos) << report;
  EXPECT_NE(ReadFileBytes(dir + L"KQMiniLauncherSettings.ini").find("[GUI]\r\n"),
            std::string::npos);
  EXPECT_NE(ReadFileBytes(dir + L"KQMiniLauncherSettings.ini").find("Skin="), std::string::npos);
}

// What the player sees of each way a login can fail; Start comes back each time, and a
// second Start gives the same answer.
TEST_F(MainWindowRun, EveryOutcomeAsThePlayerSeesIt) {
  const int freePort = win::test::FreePort();
  const struct {
    const char* name;
    int port;
    const wchar_t* login;
    bool withClient;
    const wchar_t* error;
    std::uint32_t code;      // the yellow line
    const wchar_t* redLine;  // the red line after it; empty: none
  } cases[] = {
      {"busy", ServerPort("MAIN"), L"busy", true, L"Данный аккаунт уже в игре.", 0x0503,
       L"Ошибка получения списка серверов : 05 [Данный аккаунт уже в игре.]"},
      {"wrong password", ServerPort("MAIN"), L"player", true, L"Неверный логин или пароль.", 0x0603,
       L"Ошибка получения списка серверов : 06 [Неверный логин или пароль.]"},
      {"blocked", ServerPort("MAIN"), L"blocked", true, L"Ваша учётная запись заблокирована.",
       0x2803, L"Ошибка получения списка серверов : 28 [Ваша учётная запись заблокирована.]"},
      {"code without text", ServerPort("MAIN"), L"odd", true, L"", 0x4D03,
       L"Ошибка получения списка серверов : 4D []"},
      // Sent as typed: with the blanks the server knows no such login.
      {"blanks kept", ServerPort("MAIN"), L" busy ", true, L"Неверный логин или пароль.", 0x0603,
       L"Ошибка получения списка серверов : 06 [Неверный логин или пароль.]"},
      {"no hello reply", ServerPort("SILENT_HELLO"), L"player", true,
       L"Вышел таймаут соединения с сервером.", 0x01,
       L"Вышел таймаут ожидания соединения с сервером."},
      {"no login result", ServerPort("SILENT_LOGIN"), L"player", true,
       L"Вышел таймаут ответа авторизации.", 0x02,
       L"Вышел таймаут ожидания ответа на попытку авторизоваться."},
      {"no world list", ServerPort("SILENT_WORLDS"), L"player", true,
       L"Вышел таймаут получения списка серверов.", 0x04,
       L"Вышел таймаут ожидания ответа на запрос списка игровых миров."},
      {"unreachable", freePort, L"player", true, L"Сервер не откликается на запросы.", 0x05, L""},
      {"no client file", ServerPort("MAIN"), L"player", false, L"", 0x00, L""},
  };
  ui::DebugOutputViewer viewer;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Game game(c.port, c.withClient);
    ASSERT_NE(game.Start(), nullptr);
    const std::wstring password = std::string(c.name) == "wrong password" ? L"wrong" : L"secret";
    HWND label = game.Control(L"lblError");
    for (int attempt = 0; attempt < 2; ++attempt) {
      // Start empties the label: a label without the mark and Start enabled again mean the
      // outcome has arrived.
      ui::SetText(label, L"mark");
      game.SignIn(c.login, password);
      if (!c.withClient) {
        EXPECT_EQ(ui::TakeMessageBox(game.Launcher().Pid()),
                  L"Файл DO Rizura.bin не найден в каталоге с лаунчером!");
      }
      // The label is read first: its answer comes from the window thread between two
      // messages, so Start's state read after it is never the one from before the click.
      EXPECT_TRUE(Eventually([&] {
        const bool marked = ui::Text(label) == L"mark";
        return !marked && game.StartEnabled();
      }));
      EXPECT_EQ(ui::Text(label), c.error);
      EXPECT_TRUE(ui::Items(game.Control(L"lbWorlds")).empty());
    }
    if (std::string(c.name) == "blocked") game.Screenshot(L"run-error-shown.bmp");
    game.Close();
    // The status lines reach a debug viewer: each attempt ends with the outcome's lines,
    // and the password is never among them.
    const DWORD pid = game.Launcher().Pid();
    std::vector<std::string> outcome{DebugLine(kStatusYellow, c.code)};
    if (*c.redLine) outcome.push_back(DebugLine(kStatusRed, win::U16(c.redLine)));
    EXPECT_TRUE(Eventually([&] { return EndsWith(viewer.LinesFrom(pid), outcome); }, 3000));
    const std::vector<std::string> lines = viewer.LinesFrom(pid);
    EXPECT_EQ(Occurrences(lines, outcome), 2);
    for (const std::string& line : lines) {
      EXPECT_EQ(line.find(win::SystemAnsiCodec().ToAnsi(win::U16(password))), std::string::npos)
          << line;
    }
  }
}

TEST_F(MainWindowRun, ABlankLoginOrPasswordSendsNothing) {
  // A listener of our own stands in for the server: it must see no connection.
  const SOCKET listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = ::inet_addr("127.0.0.1");
  int size = sizeof at;
  ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&at), sizeof at), 0);
  ASSERT_EQ(::listen(listener, 4), 0);
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&at), &size);

  Game game(::ntohs(at.sin_port));
  ASSERT_NE(game.Start(), nullptr);
  const struct {
    const wchar_t* login;
    const wchar_t* password;
  } cases[] = {{L"", L"secret"}, {L"  \t ", L"secret"}, {L"player", L""}, {L"player", L"   "}};
  for (const auto& c : cases) {
    ::SetFocus(nullptr);
    game.SignIn(c.login, c.password);
    EXPECT_EQ(ui::TakeMessageBox(game.Launcher().Pid()), L"Не введен логин или пароль!");
    EXPECT_TRUE(Eventually(
        [&] { return FocusOf(game.Control(L"edtLogin")) == game.Control(L"edtLogin"); }, 3000));
    EXPECT_TRUE(game.StartEnabled());
  }
  fd_set pending;
  FD_ZERO(&pending);
  FD_SET(listener, &pending);
  timeval none{0, 200000};
  EXPECT_EQ(::select(0, &pending, nullptr, nullptr, &none), 0) << "a connection came";
  ::closesocket(listener);
  game.Close();
}

TEST_F(MainWindowRun, AClosedWorldIsShownRedAndNotEntered) {
  Game game(ServerPort("CLOSED"));
  ASSERT_NE(game.Start(), nullptr);
  game.SignIn(L"player", L"secret");
  ASSERT_TRUE(game.WaitForWorlds());
  HWND list = game.Control(L"lbWorlds");
  const std::wstring shot = game.Screenshot(L"run-world-closed.bmp");
  EXPECT_GT(CountPixels(shot, kRed), 20);
  EXPECT_EQ(CountPixels(shot, kGreen), 0);

  ASSERT_TRUE(ui::DoubleClickItem(list, 0));
  EXPECT_EQ(ui::TakeMessageBox(game.Launcher().Pid()), L"Сервер временно недоступен.");
  // Enter on the world, once the list has the focus, is a double-click.
  const LPARAM item = MAKELPARAM(4, 4);
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, item);
  ::PostMessageW(list, WM_LBUTTONUP, 0, item);
  ::PostMessageW(list, WM_KEYDOWN, VK_RETURN, 1);
  ::PostMessageW(list, WM_KEYUP, VK_RETURN, 0xC0000001);
  EXPECT_EQ(ui::TakeMessageBox(game.Launcher().Pid()), L"Сервер временно недоступен.");
  EXPECT_EQ(ui::Items(list), std::vector<std::wstring>{L" Ризура"});
  EXPECT_EQ(ui::Text(game.Control(L"lblError")), L"");
  EXPECT_EQ(ReadFileBytes(game.Folder() / L"System\\DefaultSet.tmp"), "");
  game.Close();
}

TEST_F(MainWindowRun, ClosingWhileALoginWaitsEndsAtOnce) {
  ::SetEnvironmentVariableW(L"KQ_LOGIN_WAIT_MS", nullptr);  // the full 12 s
  Game game(ServerPort("SILENT_HELLO"));
  HWND main = game.Start();
  ASSERT_NE(main, nullptr);
  game.SignIn(L"player", L"secret");
  ASSERT_TRUE(Eventually([&] { return !game.StartEnabled(); }));
  ::Sleep(300);
  const auto closed = std::chrono::steady_clock::now();
  game.Close();
  EXPECT_LT(std::chrono::steady_clock::now() - closed, std::chrono::seconds(6));
}

}  // namespace
}  // namespace kq
