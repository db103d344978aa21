// Drives the launcher's windows from outside, as a player would, for the demo and for
// end-to-end runs. Runs under the same Wine prefix as the launcher.
//
//   KQUiDriver wait CLASS [SECONDS]   wait until a visible window of that class exists
//   KQUiDriver text CLASS             print the window's text
//   KQUiDriver close CLASS            ask the window to close (WM_CLOSE)
//
// Exit code 0 on success, 1 when the window was not found, 2 on bad usage.
#include "win/Win.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND FindVisible(const wchar_t* className) {
  HWND hwnd = ::FindWindowW(className, nullptr);
  return hwnd && ::IsWindowVisible(hwnd) ? hwnd : nullptr;
}

int Wait(const wchar_t* className, int seconds) {
  for (int i = 0; i < seconds * 20; ++i) {
    if (FindVisible(className)) return 0;
    ::Sleep(50);
  }
  std::fwprintf(stderr, L"no window of class %ls\n", className);
  return 1;
}

int Text(const wchar_t* className) {
  HWND hwnd = ::FindWindowW(className, nullptr);
  if (!hwnd) return 1;
  wchar_t buf[512] = {};
  ::GetWindowTextW(hwnd, buf, 512);
  // UTF-8 out, so that a Linux terminal shows Russian captions as they are.
  char utf8[2048] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, buf, -1, utf8, sizeof(utf8), nullptr, nullptr);
  std::printf("%s\n", utf8);
  return 0;
}

int Close(const wchar_t* className) {
  HWND hwnd = ::FindWindowW(className, nullptr);
  if (!hwnd) return 1;
  ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: KQUiDriver wait|text|close CLASS [SECONDS]\n");
    return 2;
  }
  const std::wstring verb = argv[1];
  if (verb == L"wait") return Wait(argv[2], argc > 3 ? _wtoi(argv[3]) : 20);
  if (verb == L"text") return Text(argv[2]);
  if (verb == L"close") return Close(argv[2]);
  std::fwprintf(stderr, L"unknown command %ls\n", argv[1]);
  return 2;
}
