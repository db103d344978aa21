// TButton: a push button; its ModalResult ends a modal showing of its form.
#pragma once

#include "ui/ButtonFace.h"
#include "ui/Control.h"

#include <optional>

namespace kq::ui {

class Button final : public Control {
 public:
  struct CreateArgs {
    std::optional<int> modalResult;  // set on the form before OnClick runs
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c);

  using Control::Control;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnLookChanged() override { face_.Adopt(Hwnd(), GetLook().PaintsFace(Part::kButton)); }

 protected:
  void ReadArgs() override { args_ = ArgsOf(*this); }
  WindowSpec Spec() const override { return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON}; }
  Part LookPart() const override { return Part::kButton; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  CreateArgs args_;
  ButtonFace face_;
};

}  // namespace kq::ui
