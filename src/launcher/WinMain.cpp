// The program's entry: module start-up, the two windows in their order, the message loop,
// shutdown.
#include "launcher/MainWindow.h"
#include "settings/SettingsDialog.h"
#include "win/SessionShim.h"
#include "win/SystemText.h"
#include "win/Win.h"

namespace {

int RunMessageLoop() {
  MSG msg{};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCmd) {
  // Windows Sockets 1.1 for the life of the program.
  const kq::win::SocketLibrary sockets;
  if (!sockets.Started()) {
    ::MessageBoxW(nullptr, L"WSAStartup", L"Error", MB_OK | MB_ICONERROR);
    return 1;
  }

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);

  static const kq::win::SystemAnsiCodec codec;
  // Both windows live until the program ends; the main window is the first one and
  // owns the taskbar button.
  kq::TfrmMain frmMain(codec);
  if (!frmMain.Create()) return 1;
  kq::TfmSettings fmSettings;
  if (!fmSettings.Create(frmMain.Hwnd())) return 1;

  ::ShowWindow(frmMain.Hwnd(), showCmd);
  ::UpdateWindow(frmMain.Hwnd());
  return RunMessageLoop();
}
