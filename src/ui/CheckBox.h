// TCheckBox: a check box with its caption.
#pragma once

#include "ui/ButtonFace.h"
#include "ui/Control.h"

namespace kq::ui {

class CheckBox final : public Control {
 public:
  struct CreateArgs {
    bool checked = false;
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c);

  using Control::Control;
  bool Checked() const;
  void SetChecked(bool checked);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnLookChanged() override { face_.Adopt(Hwnd(), GetLook().PaintsFace(Part::kCheckBox)); }

 protected:
  void ReadArgs() override { args_ = ArgsOf(*this); }
  WindowSpec Spec() const override { return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX}; }
  Part LookPart() const override { return Part::kCheckBox; }
  void AfterCreate() override { SetChecked(args_.checked); }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  CreateArgs args_;
  ButtonFace face_;
};

}  // namespace kq::ui
