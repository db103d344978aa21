#include "launcher/MainWindow.h"

#include "common/Error.h"
#include "launcher/SessionDisplay.h"
#include "session/LoginSequence.h"
#include "session/TicketFile.h"
#include "settings/SettingsDialog.h"
#include "skins/SkinProvider.h"
#include "skins/SkinService.h"
#include "ui/ListBox.h"
#include "win/MessageBox.h"
#include "win/ProfileFile.h"
#include "win/SystemText.h"
#include "win/Threads.h"

#include <cstdlib>

namespace kq {
namespace {

constexpr std::u16string_view kBlankInputText = u"Не введен логин или пароль!";
constexpr std::u16string_view kClosedWorldText = u"Сервер временно недоступен.";
constexpr std::u16string_view kGoodbyeText = u"Приятной игры.";
constexpr DWORD kPauseBeforeFadeMs = 1000;
constexpr DWORD kFadeStepMs = 10;

// The bound of the session's waits. KQ_LOGIN_WAIT_MS (undocumented for players) shortens
// it, so that tests of a silent server need not wait 12 s per case.
std::uint32_t WaitBoundMs() {
  wchar_t value[16] = {};
  const DWORD n = ::GetEnvironmentVariableW(L"KQ_LOGIN_WAIT_MS", value, 16);
  if (n > 0 && n < 16) {
    const long ms = std::wcstol(value, nullptr, 10);
    if (ms > 0) return static_cast<std::uint32_t>(ms);
  }
  return 12000;
}

}  // namespace

struct TfrmMain::Session {
  TLauncherSettings settings;
  TSessionSettings server;  // what the login session reads of the settings
  win::SystemAnsiCodec codec;
  win::WinSessionShim shim;
  win::WinSessionDesktop desktop;
  TMainSessionHost host;
  std::unique_ptr<TLoginSession> login;  // made once the settings are read; goes first
};

// --- TMainSessionHost ---

void TMainSessionHost::StatusLine(const std::u16string& text, std::uint32_t colour) {
  // The session never puts the password into a status line. The line goes out in the ANSI
  // code page: debug viewers read an ANSI buffer (Windows converts wide text for them in
  // the same way), and Wine hands only the ANSI call on to viewers and to its debugstr trace.
  char prefix[32];
  ::wsprintfA(prefix, "KQMiniLauncher [%06X] ", static_cast<unsigned>(colour));
  ::OutputDebugStringA((prefix + win::SystemAnsiCodec().ToAnsi(text) + "\n").c_str());
}

void TMainSessionHost::WorldListReady(std::shared_ptr<const TWorldList> worlds) {
  Post({std::move(worlds), 0});
}

void TMainSessionHost::SequenceEnded(std::uint32_t outcomeCode) {
  Post({nullptr, outcomeCode});
}

void TMainSessionHost::Post(Notice notice) {
  // A window that is gone takes no more reports (and a null window would make it a message
  // to the calling thread).
  HWND hwnd = hwnd_.load();
  if (!hwnd) return;
  auto owned = std::make_unique<Notice>(std::move(notice));
  if (::PostMessageW(hwnd, kMessage, 0, reinterpret_cast<LPARAM>(owned.get()))) owned.release();
}

// --- TfrmMain ---

const forms::ComponentClass TfrmMain::kClass{u"TfrmMain", &ui::kFormClass};

TfrmMain::TfrmMain(const AnsiCodec& codec) : codec_(codec), session_(std::make_shared<Session>()) {}

TfrmMain::~TfrmMain() = default;

const TLauncherSettings& TfrmMain::Settings() const {
  return session_->settings;
}

std::vector<ui::HandlerSlot> TfrmMain::Handlers() {
  using ui::NotifyHandler;
  return {
      {u"FormCreate", NotifyHandler([this](auto&) { FormCreate(); })},
      {u"FormClose", NotifyHandler([this](auto&) { FormClose(); })},
      {u"btnStartClick", NotifyHandler([this](auto&) { btnStartClick(); })},
      {u"btnSettingsClick", NotifyHandler([this](auto&) { btnSettingsClick(); })},
      {u"lbWorldsDblClick", NotifyHandler([this](auto&) { lbWorldsDblClick(); })},
      {u"lbWorldsDrawItem", ui::DrawItemHandler([this](ui::Control& c, const ui::DrawItemArgs& a) {
         lbWorldsDrawItem(c, a);
       })},
  };
}

std::u16string TfrmMain::ConfigPath() const {
  return DirectoryOf(win::ExecutablePath()) + std::u16string(kLauncherConfigFileName);
}

void TfrmMain::FormCreate() {
  // The placeholder items of the stored layout are never shown.
  Get<ui::ListBox>(u"lbWorlds").Clear();
  TLauncherSettings& settings = session_->settings;
  const win::ProfileFile config(ConfigPath(), codec_);
  settings = ReadLauncherSettings(config.Document());
  ::SetWindowTextW(Hwnd(), win::W(settings.Caption));
  // The configuration and the game's files are looked for beside the executable, never in
  // the working folder.
  settings.LauncherDir = DirectoryOf(win::ExecutablePath());
  // The configured skin is loaded and shown; what is in force afterwards (a fallback, or
  // the earlier skin when this one fails) is what the window stores when it closes.
  skins::SkinService().SetSkinName(settings.Skin);
  // The window's skin provider keeps the skin menu.
  if (auto* provider = FindComponent<skins::TsSkinProvider>())
    provider->SetSkinMenu(settings.SkinMenu);

  session_->host.SetWindow(Hwnd());
  TSessionOptions options;
  options.WaitBoundMs = WaitBoundMs();
  options.WriteTicket = SessionTicketWriter(win::WriteTicketFile);
  session_->server = SessionSettingsOf(settings);
  session_->login = std::make_unique<TLoginSession>(
      session_->server, TSessionServices{session_->shim, session_->desktop, session_->codec},
      std::move(options));
  // The time format of the client's title is the locale's at start-up.
  gameStart_.Status = &session_->host;
  worldEntry_.Beep = [] { ::MessageBeep(0); };
  worldEntry_.StartGame = [this](const std::u16string& path) {
    win::StartGameClient(path, gameStart_);
  };
}

void TfrmMain::FormClose() {
  try {
    win::ProfileFile config(ConfigPath(), codec_);
    // The skin chosen during the run is selected again at the next start.
    const std::u16string skin = skins::SkinService().SkinName();
    config.Update([&](IniDocument& doc) { StoreSkinName(doc, skin); });
  } catch (const Error& e) {
    // The player still gets the window closed; the failure is only reported.
    win::ShowErrorBox(e.Message());
  }
}

void TfrmMain::ShowWarning(const std::u16string& text) {
  win::ShowMessageBox(win::MessageKind::kWarning, text, u"Warning");
}

void TfrmMain::btnStartClick() {
  auto& start = Get<ui::Control>(u"btnStart");
  // Start is disabled while a login runs; a click queued before that, or one during a world
  // entry, must not begin another.
  if (!start.Enabled() || enteringWorld_) return;
  Get<ui::Control>(u"lblError").SetText(u"");
  auto& login = Get<ui::Control>(u"edtLogin");
  const std::u16string loginText = login.Text();
  const std::u16string password = Get<ui::Control>(u"edtPass").Text();
  if (IsBlankInput(loginText) || IsBlankInput(password)) {
    ShowWarning(std::u16string(kBlankInputText));
    login.SetFocus();
    return;
  }
  TLoginSession& session = *session_->login;
  // As typed: blanks around the login or password are sent too.
  session.Login = loginText;
  session.Password = password;
  start.SetEnabled(false);
  Get<ui::ListBox>(u"lbWorlds").Clear();
  session.SetHost(&session_->host);
  session.AutoStart = true;
  // Never joined: the handle goes at once, the thread reports through the host. The worker
  // holds the session too: it lives on while the sequence runs, also when the window has
  // gone meanwhile.
  const win::KernelHandle worker =
      win::StartThread([session = session_] { RunLoginSequence(*session->login); });
  if (!worker) session_->host.SequenceEnded(outcome::kNoLink);
}

LRESULT TfrmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == TMainSessionHost::kMessage) {
    const std::unique_ptr<TMainSessionHost::Notice> notice(
        reinterpret_cast<TMainSessionHost::Notice*>(lp));
    OnNotice(*notice);
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

bool TfrmMain::OnEnterKey(HWND focus) {
  // Enter on a world enters it, as a double-click does. Enter presses neither button.
  if (focus == Get<ui::Control>(u"lbWorlds").Hwnd()) {
    lbWorldsDblClick();
    return true;
  }
  return false;
}

void TfrmMain::OnNotice(const TMainSessionHost::Notice& notice) {
  auto& list = Get<ui::ListBox>(u"lbWorlds");
  if (notice.worlds) {
    worlds_ = notice.worlds;
    list.Clear();
    for (const TKQWorldRecord& world : *worlds_) list.Add(WorldItemText(world));
    // Start stays disabled: the link is kept for the world entry.
    return;
  }
  const OutcomeDisplay display = DisplayOfOutcome(notice.outcome);
  for (const StatusLineText& line : display.lines) {
    session_->host.StatusLine(line.text, line.colour);
  }
  if (!display.errorText.empty()) Get<ui::Control>(u"lblError").SetText(display.errorText);
  Get<ui::Control>(u"btnStart").SetEnabled(true);
}

HFONT TfrmMain::WorldFont(HDC dc, bool bold, bool struckOut) {
  win::GdiObject& font = bold ? boldFont_ : struckFont_;
  if (!font) {
    LOGFONTW lf{};
    ::GetObjectW(::GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
    lf.lfWeight = bold ? FW_BOLD : lf.lfWeight;
    lf.lfStrikeOut = struckOut ? TRUE : FALSE;
    font.Reset(::CreateFontIndirectW(&lf));
  }
  return static_cast<HFONT>(font.Get());
}

void TfrmMain::lbWorldsDrawItem(ui::Control& list, const ui::DrawItemArgs& item) {
  const std::u16string text = static_cast<ui::ListBox&>(list).Item(item.index);
  // The canvas comes with the background of the item's state (selected or not); only the
  // text colour and style show the world's state.
  if (worlds_ && item.index >= 0 && static_cast<std::size_t>(item.index) < worlds_->size()) {
    const WorldItemLook look = LookOfWorld((*worlds_)[static_cast<std::size_t>(item.index)]);
    ::SelectObject(item.dc, WorldFont(item.dc, look.bold, look.struckOut));
    ::SetTextColor(item.dc, look.colour);
  }
  ::ExtTextOutW(item.dc, item.rect.left, item.rect.top, ETO_OPAQUE, &item.rect, win::W(text),
                static_cast<UINT>(text.size()), nullptr);
}

void TfrmMain::lbWorldsDblClick() {
  // The world entry dispatches messages while it waits: a second double-click lands here.
  if (enteringWorld_ || !worlds_) return;
  auto& list = Get<ui::ListBox>(u"lbWorlds");
  const int index = list.ItemIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= worlds_->size()) return;
  if (!(*worlds_)[static_cast<std::size_t>(index)].WorldOpen) {
    ShowWarning(std::u16string(kClosedWorldText));
    return;
  }
  enteringWorld_ = true;
  EnterWorld(*session_->login, static_cast<std::uint16_t>(index), worldEntry_);
  // The player closed the window while the entry waited: nothing is left to fade.
  if (Dying() || !::IsWindow(Hwnd())) return;
  list.Clear();
  Get<ui::Control>(u"lblError").SetText(std::u16string(kGoodbyeText));
  win::DispatchPendingMessages();
  FadeOutAndClose();
}

void TfrmMain::FadeOutAndClose() {
  HWND hwnd = Hwnd();
  TakeOpacity();
  ::Sleep(kPauseBeforeFadeMs);
  ::SetWindowLongW(hwnd, GWL_EXSTYLE, ::GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  for (int alpha = 255; alpha >= 0; --alpha) {
    ::SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
    ::Sleep(kFadeStepMs);
  }
  Close();
}

void TfrmMain::btnSettingsClick() {
  // How the dialog was closed does not matter here.
  if (TfmSettings* fmSettings = TfmSettings::Instance()) fmSettings->ShowModal();
}

void TfrmMain::OnDestroy() {
  session_->host.SetWindow(nullptr);
  ::PostQuitMessage(0);
}

}  // namespace kq
