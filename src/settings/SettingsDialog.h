// The game settings dialog fmSettings, built from its layout resource TFMSETTINGS: created
// hidden at start-up, shown modally from the main window.
#pragma once

#include "resources/Forms.h"

namespace kq {

class TfmSettings final : public win::Form {
 public:
  static const forms::ComponentClass kClass;

  const forms::ComponentClass& ClassInfo() const override { return kClass; }

  // Creates the dialog hidden, owned by the main window; closing it hides it, as it lives
  // until the program ends. Throws kq::Error when the layout cannot be read.
  void Create(HWND owner) { CreateForm({.owner = owner}); }

 protected:
  std::vector<win::HandlerSlot> Handlers() override;

 private:
  // Slots the layout binds; loading and saving the game's settings fill them in.
  void FormShow() {}
  void CbResolutionSelect() {}
  void CbResolutionKeyPress(wchar_t&) {}
  void CbGammaKeyPress(wchar_t&) {}
  void btnOkClick() {}
  void btnCancelClick() {}
};

}  // namespace kq
