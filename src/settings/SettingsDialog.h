// The game settings dialog fmSettings, built from its layout resource TFMSETTINGS: created
// hidden at start-up, shown modally from the main window. It only moves values between its
// controls and a SettingsView; the file work is the model's and EngineSettingsFile's.
#pragma once

#include "ui/Form.h"
#include "settings/EngineSettingsFile.h"
#include "settings/SettingsModel.h"

#include <optional>

namespace kq {

class TfmSettings final : public ui::Form {
 public:
  static const forms::ComponentClass kClass;

  TfmSettings() = default;
  ~TfmSettings() override;

  const forms::ComponentClass& ClassInfo() const override { return kClass; }

  // Creates the dialog hidden, owned by the main window; closing it hides it, as it lives
  // until the program ends. Throws kq::Error when the layout cannot be read.
  void Create(HWND owner);

  // The program's one dialog once created (fmSettings), or null.
  static TfmSettings* Instance();

 protected:
  std::vector<ui::HandlerSlot> Handlers() override;
  void OnHidden() override;

 private:
  void FormShow();
  void CbResolutionSelect();
  void CbResolutionKeyPress(wchar_t& key);
  void CbGammaKeyPress(wchar_t& key);
  void btnOkClick();
  void btnCancelClick();

  void ShowView();
  SettingsView ViewFromControls() const;

  // The accessor of one showing: opened by FormShow, released whichever way it closes.
  std::optional<EngineSettingsFile> file_;
  // What the showing loaded; its screen mode is the current one, which picks replace.
  SettingsView shown_;
};

}  // namespace kq
