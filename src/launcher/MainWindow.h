// The launcher's main window frmMain, built from its layout resource TFRMMAIN.
#pragma once

#include "launcher/LauncherConfig.h"
#include "resources/Forms.h"

namespace kq {

class TfrmMain final : public win::Form {
 public:
  static const forms::ComponentClass kClass;

  explicit TfrmMain(const AnsiCodec& codec) : codec_(codec) {}
  const forms::ComponentClass& ClassInfo() const override { return kClass; }

  // Creates the window and its controls from the layout (running FormCreate) without
  // showing it. Throws kq::Error when the layout cannot be read.
  void Create() { CreateForm(); }

  // The launcher configuration as FormCreate read it; unchanged afterwards.
  const TLauncherSettings& Settings() const { return settings_; }

 protected:
  std::vector<win::HandlerSlot> Handlers() override;
  void OnDestroy() override;

 private:
  void FormCreate();
  void FormClose();
  // Slots the layout binds; their behaviour belongs to the session, world selection and
  // settings work and is filled in there.
  void btnStartClick() {}
  void btnSettingsClick() {}
  void lbWorldsDblClick() {}
  void lbWorldsDrawItem(win::Control&, const win::DrawItemArgs&) {}

  std::u16string ConfigPath() const;

  const AnsiCodec& codec_;
  TLauncherSettings settings_;
};

}  // namespace kq
