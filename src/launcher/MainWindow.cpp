#include "launcher/MainWindow.h"

#include "common/Error.h"
#include "win/ProfileFile.h"
#include "win/SystemText.h"

namespace kq {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The window's font: Tahoma with an 11-pixel character height.
HFONT CreateWindowFont() {
  return ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
}

}  // namespace

bool TfrmMain::Create() {
  if (!RegisterClass({.name = kClassName})) return false;
  RECT r{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&r, kStyle, FALSE, 0);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  // Centred on the desktop, which may span several monitors.
  const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + (::GetSystemMetrics(SM_CXVIRTUALSCREEN) - w) / 2;
  const int y = ::GetSystemMetrics(SM_YVIRTUALSCREEN) + (::GetSystemMetrics(SM_CYVIRTUALSCREEN) - h) / 2;
  return Window::Create({.className = kClassName, .style = kStyle, .x = x, .y = y, .width = w, .height = h});
}

std::u16string TfrmMain::ConfigPath() const {
  return DirectoryOf(win::ExecutablePath()) + std::u16string(kLauncherConfigFileName);
}

void TfrmMain::FormCreate() {
  font_.Reset(CreateWindowFont());
  ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

  const win::ProfileFile config(ConfigPath(), codec_);
  settings_ = ReadLauncherSettings(config.Document());
  ::SetWindowTextW(Hwnd(), win::W(settings_.Caption));
  // The configuration and the game's files are looked for beside the executable, never in
  // the working folder.
  settings_.LauncherDir = DirectoryOf(win::ExecutablePath());
}

void TfrmMain::FormClose() {
  win::ProfileFile config(ConfigPath(), codec_);
  // The skin chosen during the run is selected again at the next start.
  config.Update([&](IniDocument& doc) { StoreSkinName(doc, settings_.Skin); });
}

void TfrmMain::OnClose() {
  try {
    FormClose();
  } catch (const Error& e) {
    // The player still gets the window closed; the failure is only reported.
    win::ShowErrorBox(e.Message());
  }
  Window::OnClose();
}

void TfrmMain::OnDestroy() { ::PostQuitMessage(0); }

}  // namespace kq
