// The launcher where Windows Sockets cannot start: an error box "WSAStartup", no window, exit
// code 1. The failure is real: a copy of the launcher under its own name is given a ws2_32
// whose WSAStartup fails (tests/launcher/NoSockets.cpp), through Wine's per-program DLL
// overrides, so no other program of the prefix is touched.
#include "../win/RunningLauncher.h"
#include "../win/TestFolder.h"
#include "UiAutomation.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

using win::test::RunningLauncher;
using win::test::TestFolder;

constexpr wchar_t kProgram[] = L"KQNoSockets.exe";

// HKCU\Software\Wine\AppDefaults\<program>\DllOverrides: ws2_32 from the program's folder.
class NativeWinsockFor {
 public:
  NativeWinsockFor() {
    const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + kProgram;
    HKEY k = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, (key + L"\\DllOverrides").c_str(), 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, &k, nullptr) == ERROR_SUCCESS) {
      static const wchar_t kNative[] = L"native";
      ok_ = ::RegSetValueExW(k, L"ws2_32", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNative),
                             sizeof kNative) == ERROR_SUCCESS;
      ::RegCloseKey(k);
    }
  }
  ~NativeWinsockFor() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER,
                     (std::wstring(L"Software\\Wine\\AppDefaults\\") + kProgram).c_str());
  }
  bool Ok() const { return ok_; }

 private:
  bool ok_ = false;
};

TEST(StartupFailure, WithoutWindowsSocketsTheLauncherSaysSoAndEndsWithCode1) {
  NativeWinsockFor overrides;
  ASSERT_TRUE(overrides.Ok());
  TestFolder game;
  ASSERT_TRUE(::CopyFileW((win::test::BuiltProgramsFolder() + L"nosockets\\ws2_32.dll").c_str(),
                          (game / L"ws2_32.dll").c_str(), FALSE));
  RunningLauncher launcher(game.Path(), game.Path().c_str(), L"", kProgram);
  EXPECT_EQ(ui::TakeMessageBox(launcher.Pid(), 15000), L"WSAStartup");
  EXPECT_EQ(launcher.WaitForExit(), 1);
  EXPECT_EQ(ui::WaitTopWindow(L"TfrmMain", 0, launcher.Pid()), nullptr);
}

}  // namespace
}  // namespace kq
