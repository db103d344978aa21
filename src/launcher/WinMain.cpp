// The program's entry: module start-up, the two windows in their order, the message loop,
// shutdown.
#include "common/Error.h"
#include "launcher/MainWindow.h"
#include "paint/Ghost.h"
#include "resources/FormLoader.h"
#include "resources/ModuleResources.h"
#include "settings/SettingsDialog.h"
#include "skins/ApplicationWindow.h"
#include "skins/SkinManager.h"
#include "win/MessageBox.h"
#include "session/WinSessionShim.h"
#include "win/SystemText.h"
#include "win/Win.h"

namespace {

// Runs until the program's quit, or until the main window is gone: a nested loop of the
// system's (Wine's caption-drag loop, for one) may take the quit message for itself when the
// window is closed inside it, and then only the window's end says the program is over.
int RunMessageLoop(HWND main) {
  MSG msg{};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!kq::ui::PreTranslateFormMessage(msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (!::IsWindow(main)) return 0;
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCmd) {
  // The skin engine first: layouts name its components.
  kq::skins::StartSkinEngine();
  // The hidden window other programs find the launcher by (a skin editor's preview).
  kq::skins::ApplicationWindow application;

  // The window layouts are stored compressed: the framework is given the reader that
  // takes plain and zlib-compressed form resources, before the first window.
  static const kq::win::ModuleResources programResources;
  kq::forms::SetProgramModule(&programResources);
  kq::forms::SetFormResourceInitializer(&kq::forms::InitFormFromResources);

  // Windows Sockets 1.1 for the life of the program.
  const kq::win::SocketLibrary sockets;
  if (!sockets.Started()) {
    kq::win::ShowErrorBox(u"WSAStartup");
    return 1;
  }

  static const kq::win::SystemAnsiCodec codec;
  // Both windows live until the program ends; the main window is the first one and
  // owns the taskbar button.
  kq::TfrmMain frmMain(codec);
  kq::TfmSettings fmSettings;
  try {
    frmMain.Create();
    fmSettings.Create(frmMain.Hwnd());
  } catch (const kq::Error& e) {
    // A layout that cannot be read stops the program before its windows appear.
    kq::win::ShowErrorBox(e.Message());
    return 1;
  }

  frmMain.ShowAs(showCmd);
  ::UpdateWindow(frmMain.Hwnd());
  const int exitCode = RunMessageLoop(frmMain.Hwnd());
  // The main window's disappearance plays to its end before the program goes.
  kq::paint::FinishGhosts();
  return exitCode;
}
