// KQUiDriver against the running launcher, as the demo and end-to-end scripts use it.
#include "../win/RunningLauncher.h"
#include "../win/TestFolder.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

using win::test::RunningLauncher;
using win::test::TestFolder;

struct Outcome {
  long code = -1;
  std::wstring out;  // decoded from UTF-8, line ends as written
};

// Runs the driver with its standard output on a pipe.
Outcome Drive(const std::wstring& args) {
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &sa, 0)) return {};
  win::KernelHandle reader(readEnd);
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  const std::wstring exe = win::test::BuiltProgramsFolder() + L"KQUiDriver.exe";
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  PROCESS_INFORMATION pi{};
  const BOOL started = ::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &si, &pi);
  ::CloseHandle(writeEnd);
  if (!started) return {};
  win::KernelHandle process(pi.hProcess);
  ::CloseHandle(pi.hThread);
  std::string utf8;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got) utf8.append(buf, got);
  Outcome o;
  if (::WaitForSingleObject(process.Get(), 15000) != WAIT_OBJECT_0) return o;
  DWORD code = 0;
  ::GetExitCodeProcess(process.Get(), &code);
  o.code = static_cast<long>(code);
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  o.out.resize(static_cast<std::size_t>(n));
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), o.out.data(), n);
  std::erase(o.out, L'\r');
  return o;
}

TEST(UiDriver, FindsReadsTypesClicksAndPicksByName) {
  TestFolder game(L"game");
  RunningLauncher launcher(game.Path(), game.Path().c_str());
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);
  HWND dialog = launcher.WaitForWindow(L"TfmSettings");
  ASSERT_NE(dialog, nullptr);

  struct Step {
    const wchar_t* args;
    long code;
    const wchar_t* out;
  };
  const Step steps[] = {
      {L"wait TfrmMain 5", 0, L""},
      {L"text TfrmMain", 0, L"ZA Vidudido Revo\n"},
      {L"text TfrmMain btnStart", 0, L"Запуск\n"},
      {L"settext TfrmMain edtLogin \"игрок 1\"", 0, L""},
      {L"text TfrmMain edtLogin", 0, L"игрок 1\n"},
      {L"enabled TfrmMain btnSettings", 0, L"1\n"},
      {L"rect TfrmMain btnSettings", 0, L"128 70 107 29\n"},
      {L"items TfrmMain lbWorlds", 0, L""},
      {L"dblclick TfrmMain lbWorlds 0", 1, L""},  // the list is empty
      {L"items TfmSettings CbGamma", 0, L"0.8\n1.0\n1.2\n1.4\n1.6\n1.8\n"},
      {L"select TfmSettings CbGamma 2", 0, L""},
      {L"text TfmSettings CbGamma", 0, L"1.2\n"},
      {L"select TfmSettings CbGamma 6", 1, L""},
      {L"click TfmSettings CbMusic", 0, L""},
      {L"text TfrmMain edtNobody", 1, L""},
      {L"text TNoSuchWindow", 1, L""},
      {L"frobnicate TfrmMain btnStart", 2, L""},
  };
  for (const Step& s : steps) {
    const Outcome o = Drive(s.args);
    EXPECT_EQ(o.code, s.code) << s.args;
    EXPECT_EQ(o.out, s.out) << s.args;
  }
  // The posted click reached the check box.
  HWND music = ui::FindNamed(dialog, L"CbMusic");
  for (int i = 0; i < 40 && ::SendMessageW(music, BM_GETCHECK, 0, 0) != BST_CHECKED; ++i)
    ::Sleep(50);
  EXPECT_EQ(::SendMessageW(music, BM_GETCHECK, 0, 0), BST_CHECKED);

  EXPECT_EQ(Drive(L"close TfrmMain").code, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
}

}  // namespace
}  // namespace kq
