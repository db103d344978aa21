// The real launcher program, started as a player starts it, from a folder of its own.
#include "../win/TestFolder.h"
#include "common/IniDocument.h"
#include "launcher/LauncherConfig.h"
#include "win/Handles.h"
#include "win/SystemText.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

using win::test::ReadFileBytes;
using win::test::TestFolder;
using win::test::WriteFileBytes;

std::wstring BuiltLauncher() {
  return win::Wide(DirectoryOf(win::ExecutablePath())) + L"KQMiniLauncher.exe";
}

struct FoundWindow {
  DWORD pid;
  const wchar_t* className;
  bool visible;  // wait until the window is shown, not only created
  HWND hwnd;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lp) {
  auto* want = reinterpret_cast<FoundWindow*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  ::GetClassNameW(hwnd, cls, 64);
  if (pid == want->pid && wcscmp(cls, want->className) == 0 &&
      (!want->visible || ::IsWindowVisible(hwnd))) {
    want->hwnd = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The launcher copied into a game folder and started with another working folder.
class RunningLauncher {
 public:
  RunningLauncher(const std::wstring& gameFolder, const wchar_t* workingFolder) {
    const std::wstring exe = gameFolder + L"KQMiniLauncher.exe";
    EXPECT_TRUE(::CopyFileW(BuiltLauncher().c_str(), exe.c_str(), FALSE));
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    std::wstring cmd = L"\"" + exe + L"\"";
    PROCESS_INFORMATION pi{};
    started_ = ::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                workingFolder, &si, &pi) != 0;
    EXPECT_TRUE(started_) << "cannot start the launcher";
    if (started_) {
      process_.Reset(pi.hProcess);
      ::CloseHandle(pi.hThread);
      pid_ = pi.dwProcessId;
    }
  }
  ~RunningLauncher() {
    if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.Get(), 99);
    }
  }

  // Waits for a top-level window of the given class in this process; the main window is
  // awaited until it is shown, which is after its creation has read the configuration.
  HWND WaitForWindow(const wchar_t* className, bool visible) {
    FoundWindow found{pid_, className, visible, nullptr};
    for (int i = 0; i < 300 && !found.hwnd && started_; ++i) {
      ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&found));
      if (!found.hwnd) ::Sleep(50);
    }
    return found.hwnd;
  }

  // Waits for the process to end; its exit code, or -1 when it did not end in time.
  long WaitForExit() {
    if (!process_ || ::WaitForSingleObject(process_.Get(), 15000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.Get(), &code);
    return static_cast<long>(code);
  }

 private:
  bool started_ = false;
  win::KernelHandle process_;
  DWORD pid_ = 0;
};

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[256] = {};
  ::GetWindowTextW(hwnd, buf, 256);
  return buf;
}

TEST(MainWindow, StartsWithDefaultsAndStoresTheSkinOnClose) {
  TestFolder game(L"game folder");
  RunningLauncher launcher(game.Path(), L"C:\\");
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);

  EXPECT_EQ(WindowText(main), L"ZA Vidudido Revo");
  EXPECT_TRUE(::IsWindowVisible(main));
  RECT client{};
  ::GetClientRect(main, &client);
  EXPECT_EQ(client.right, 243);
  EXPECT_EQ(client.bottom, 301);
  const LONG style = ::GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(::GetWindow(main, GW_OWNER), nullptr);

  // Centred on the desktop.
  RECT frame{};
  ::GetWindowRect(main, &frame);
  const int dx = (frame.left + frame.right) / 2 - ::GetSystemMetrics(SM_CXVIRTUALSCREEN) / 2;
  const int dy = (frame.top + frame.bottom) / 2 - ::GetSystemMetrics(SM_CYVIRTUALSCREEN) / 2;
  EXPECT_LE(std::abs(dx), 1);
  EXPECT_LE(std::abs(dy), 1);

  // The settings dialog exists from the start, hidden, owned by the main window.
  HWND settings = launcher.WaitForWindow(L"TfmSettings", false);
  ASSERT_NE(settings, nullptr);
  EXPECT_FALSE(::IsWindowVisible(settings));
  EXPECT_EQ(::GetWindow(settings, GW_OWNER), main);
  EXPECT_EQ(WindowText(settings), L" Настройки игры");

  // No file was written by starting.
  EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"), "");
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
  EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"), "[GUI]\r\nSkin=FM (internal)\r\n");
}

TEST(MainWindow, ReadsTheFileBesideItsExecutableAndKeepsItsOtherLines) {
  TestFolder game(L"game");
  TestFolder elsewhere(L"elsewhere");
  // A configuration in the working folder must not be the one read.
  WriteFileBytes(elsewhere / L"KQMiniLauncherSettings.ini", "[GUI]\r\nCaption=Wrong\r\n");
  const std::string content =
      "; launcher settings\r\n[GUI]\r\nCaption=\xCC\xEE\xE9 \xEB\xE0\xF3\xED\xF7\xE5\xF0\r\n"
      "Skin = Some Skin\r\n\r\n[LoginServer]\r\nIP=127.0.0.1\r\nPort=0x2711\r\n";
  WriteFileBytes(game / L"KQMiniLauncherSettings.ini", content);

  RunningLauncher launcher(game.Path(), elsewhere.Path().c_str());
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), L"Мой лаунчер");
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
  // The skin goes back as it was read, into its own line; every other byte stays.
  EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"), content);
  EXPECT_EQ(ReadFileBytes(elsewhere / L"KQMiniLauncherSettings.ini"), "[GUI]\r\nCaption=Wrong\r\n");
}

}  // namespace
}  // namespace kq
