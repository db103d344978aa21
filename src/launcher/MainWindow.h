// The launcher's main window frmMain, built from its layout resource TFRMMAIN: login and
// password, Start, the world list, and the session's reports carried to the window thread.
#pragma once

#include "launcher/LauncherConfig.h"
#include "ui/Form.h"
#include "session/GameStart.h"
#include "session/LoginSession.h"
#include "session/WorldEntry.h"
#include "session/WinSessionShim.h"

#include <atomic>
#include <memory>

namespace kq {

// The window's TSessionHost: each report is posted to the window, so the controls change on
// the window thread, in the order the session made the reports. Status lines go to the
// debugger output right away, from whatever thread makes them.
class TMainSessionHost final : public TSessionHost {
 public:
  // The message that carries a report; its LPARAM owns a Notice.
  static constexpr UINT kMessage = WM_APP + 1;
  struct Notice {
    std::shared_ptr<const TWorldList> worlds;  // set for WorldListReady
    std::uint32_t outcome = 0;                 // for SequenceEnded
  };

  void SetWindow(HWND hwnd) { hwnd_ = hwnd; }
  void StatusLine(const std::u16string& text, std::uint32_t colour) override;
  void WorldListReady(std::shared_ptr<const TWorldList> worlds) override;
  void SequenceEnded(std::uint32_t outcomeCode) override;

 private:
  void Post(Notice notice);
  std::atomic<HWND> hwnd_{nullptr};
};

class TfrmMain final : public ui::Form {
 public:
  static const forms::ComponentClass kClass;

  explicit TfrmMain(const AnsiCodec& codec);
  ~TfrmMain() override;
  const forms::ComponentClass& ClassInfo() const override { return kClass; }

  // Creates the window and its controls from the layout (running FormCreate) without
  // showing it. Throws kq::Error when the layout cannot be read.
  void Create() { CreateForm(); }

  // The launcher configuration as FormCreate read it; unchanged afterwards.
  const TLauncherSettings& Settings() const;

  // What a login worker may still use after the window is gone: the worker holds it too,
  // so closing the window never waits for a login and never pulls the session from under it.
  struct Session;

 protected:
  std::vector<ui::HandlerSlot> Handlers() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnEnterKey(HWND focus) override;
  void OnDestroy() override;

 private:
  void FormCreate();
  void FormClose();
  void btnStartClick();
  void btnSettingsClick();
  void lbWorldsDblClick();
  void lbWorldsDrawItem(ui::Control&, const ui::DrawItemArgs&);

  void OnNotice(const TMainSessionHost::Notice& notice);
  void ShowWarning(const std::u16string& text);
  void FadeOutAndClose();
  HFONT WorldFont(HDC dc, bool bold, bool struckOut);
  std::u16string ConfigPath() const;

  const AnsiCodec& codec_;
  std::shared_ptr<Session> session_;
  // The list the window shows; null until a world list arrived.
  std::shared_ptr<const TWorldList> worlds_;
  bool enteringWorld_ = false;
  win::GameStartOptions gameStart_;
  WorldEntryOptions worldEntry_;
  win::GdiObject boldFont_;
  win::GdiObject struckFont_;
};

}  // namespace kq
