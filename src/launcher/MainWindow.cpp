#include "launcher/MainWindow.h"

#include "common/Error.h"
#include "win/ProfileFile.h"
#include "win/SystemText.h"

namespace kq {

const forms::ComponentClass TfrmMain::kClass{u"TfrmMain", &win::kFormClass};

std::vector<win::HandlerSlot> TfrmMain::Handlers() {
  using win::NotifyHandler;
  return {
      {u"FormCreate", NotifyHandler([this](auto&) { FormCreate(); })},
      {u"FormClose", NotifyHandler([this](auto&) { FormClose(); })},
      {u"btnStartClick", NotifyHandler([this](auto&) { btnStartClick(); })},
      {u"btnSettingsClick", NotifyHandler([this](auto&) { btnSettingsClick(); })},
      {u"lbWorldsDblClick", NotifyHandler([this](auto&) { lbWorldsDblClick(); })},
      {u"lbWorldsDrawItem",
       win::DrawItemHandler(
           [this](win::Control& c, const win::DrawItemArgs& a) { lbWorldsDrawItem(c, a); })},
  };
}

std::u16string TfrmMain::ConfigPath() const {
  return DirectoryOf(win::ExecutablePath()) + std::u16string(kLauncherConfigFileName);
}

void TfrmMain::FormCreate() {
  // The placeholder items of the stored layout are never shown.
  Get<win::ListBox>(u"lbWorlds").Clear();
  const win::ProfileFile config(ConfigPath(), codec_);
  settings_ = ReadLauncherSettings(config.Document());
  ::SetWindowTextW(Hwnd(), win::W(settings_.Caption));
  // The configuration and the game's files are looked for beside the executable, never in
  // the working folder.
  settings_.LauncherDir = DirectoryOf(win::ExecutablePath());
}

void TfrmMain::FormClose() {
  try {
    win::ProfileFile config(ConfigPath(), codec_);
    // The skin chosen during the run is selected again at the next start.
    config.Update([&](IniDocument& doc) { StoreSkinName(doc, settings_.Skin); });
  } catch (const Error& e) {
    // The player still gets the window closed; the failure is only reported.
    win::ShowErrorBox(e.Message());
  }
}

void TfrmMain::OnDestroy() {
  ::PostQuitMessage(0);
}

}  // namespace kq
