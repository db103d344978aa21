// TCheckBox: a check box with its caption.
#pragma once

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

 protected:
  void ReadArgs() override { args_ = ArgsOf(*this); }
  WindowSpec Spec() const override { return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX}; }
  Part LookPart() const override { return Part::kCheckBox; }
  void AfterCreate() override { SetChecked(args_.checked); }

 private:
  CreateArgs args_;
};

}  // namespace kq::ui
