// Drives the launcher's windows from outside, as a player would, for the demo and for
// end-to-end runs. Runs under the same Wine prefix as the launcher. WINDOW is a top-level
// window class (TfrmMain, TfmSettings); NAME a control's name in the window's layout.
//
//   KQUiDriver wait WINDOW [SECONDS]          wait until a visible window of that class exists
//   KQUiDriver text WINDOW [NAME]             print the window's or the control's text
//   KQUiDriver settext WINDOW NAME TEXT       replace a control's text
//   KQUiDriver click WINDOW NAME              press a button or check box
//   KQUiDriver dblclick WINDOW NAME INDEX     double-click an item of a list box
//   KQUiDriver select WINDOW NAME INDEX       pick an entry of a combo box
//   KQUiDriver items WINDOW NAME              print the entries of a list or combo box
//   KQUiDriver enabled WINDOW NAME            print 1 when enabled, 0 when not
//   KQUiDriver rect WINDOW NAME               print left top width height in the parent
//   KQUiDriver show WINDOW                    show a hidden window
//   KQUiDriver screenshot WINDOW FILE.bmp     save what the screen shows of the window
//   KQUiDriver close WINDOW                   ask the window to close (WM_CLOSE)
//   KQUiDriver debugview WINDOW [SECONDS]     print the debugger output of the window's
//                                             program as it comes, until that program ends
//
// Texts are printed as UTF-8. Exit code 0 on success, 1 when the window, the control or
// the item was not found (or a screenshot failed), 2 on bad usage.
#include "DebugOutput.h"
#include "UiAutomation.h"
#include "win/Handles.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

using namespace kq::ui;

void PrintLine(const std::wstring& text) {
  // UTF-8 out, so that a Linux terminal shows Russian captions as they are.
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n,
                        nullptr, nullptr);
  std::printf("%s\n", utf8.c_str());
}

int Usage() {
  std::fwprintf(stderr,
                L"usage: KQUiDriver wait|text|settext|click|dblclick|select|items|enabled|"
                L"rect|show|screenshot|close|debugview WINDOW [NAME] [ARG]\n");
  return 2;
}

// Debug output arrives in the ANSI code page; a line may hold several lines of text.
void PrintDebugLine(const std::string& ansi) {
  std::string text = ansi;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  const int n =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  PrintLine(wide);
  std::fflush(stdout);
}

int FollowDebugOutput(const wchar_t* className, int seconds) {
  // The viewer listens before the window is looked for, so nothing sent after it is lost.
  const DebugOutputViewer viewer;
  if (!viewer.Listening()) {
    std::fwprintf(stderr, L"another debug viewer holds the debugger output\n");
    return 1;
  }
  HWND window = WaitTopWindow(className, seconds * 1000);
  DWORD pid = 0;
  if (window) ::GetWindowThreadProcessId(window, &pid);
  const kq::win::KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
  if (!window || !process) {
    std::fwprintf(stderr, L"no window of class %ls\n", className);
    return 1;
  }
  std::fwprintf(stderr, L"debugview: following process %lu\n", pid);
  std::fflush(stderr);
  std::size_t printed = 0;
  bool ended = false;
  while (!ended) {
    ended = ::WaitForSingleObject(process.Get(), 100) == WAIT_OBJECT_0;
    if (ended) ::Sleep(200);  // the last lines may still be on their way
    const std::vector<std::string> lines = viewer.LinesFrom(pid);
    for (; printed < lines.size(); ++printed) PrintDebugLine(lines[printed]);
  }
  return 0;
}

int Run(int argc, wchar_t** argv) {
  if (argc < 3) return Usage();
  const std::wstring verb = argv[1];
  if (verb == L"wait") {
    const int seconds = argc > 3 ? _wtoi(argv[3]) : 20;
    if (WaitTopWindow(argv[2], seconds * 1000, 0, true)) return 0;
    std::fwprintf(stderr, L"no window of class %ls\n", argv[2]);
    return 1;
  }
  if (verb == L"debugview") return FollowDebugOutput(argv[2], argc > 3 ? _wtoi(argv[3]) : 20);
  HWND window = WaitTopWindow(argv[2], 0);
  if (!window) {
    std::fwprintf(stderr, L"no window of class %ls\n", argv[2]);
    return 1;
  }
  if (verb == L"close") return ::PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (verb == L"show") {
    ::ShowWindow(window, SW_SHOW);
    return 0;
  }
  if (verb == L"text" && argc == 3) {
    PrintLine(Text(window));
    return 0;
  }
  if (verb == L"screenshot") {
    if (argc < 4) return Usage();
    return SaveScreenshot(window, argv[3]) ? 0 : 1;
  }
  if (argc < 4) return Usage();
  HWND control = FindNamed(window, argv[3]);
  if (!control) {
    std::fwprintf(stderr, L"no control %ls in %ls\n", argv[3], argv[2]);
    return 1;
  }
  if (verb == L"text") {
    PrintLine(Text(control));
  } else if (verb == L"settext" && argc > 4) {
    SetText(control, argv[4]);
  } else if (verb == L"click") {
    Click(control);
  } else if (verb == L"dblclick" && argc > 4) {
    return DoubleClickItem(control, _wtoi(argv[4])) ? 0 : 1;
  } else if (verb == L"select" && argc > 4) {
    return SelectEntry(control, _wtoi(argv[4])) ? 0 : 1;
  } else if (verb == L"items") {
    for (const std::wstring& item : Items(control)) PrintLine(item);
  } else if (verb == L"enabled") {
    std::printf("%d\n", Enabled(control) ? 1 : 0);
  } else if (verb == L"rect") {
    const RECT r = RectInParent(control);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  } else {
    return Usage();
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int code = Run(argc, argv);
  std::fflush(stdout);
  return code;
}
