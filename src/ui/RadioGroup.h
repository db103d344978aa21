// TRadioGroup: a captioned frame of radio buttons, one per item, in columns.
#pragma once

#include "ui/ButtonFace.h"
#include "ui/Container.h"
#include "ui/InnerWindow.h"

#include <memory>

namespace kq::ui {

class RadioGroup final : public Container {
 public:
  struct CreateArgs {
    std::vector<std::u16string> items;
    int columns = 1;
    int itemIndex = -1;  // none selected
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c);

  using Container::Container;
  int ItemIndex() const;
  void SetItemIndex(int index);  // -1 selects none
  int Count() const { return static_cast<int>(buttons_.size()); }
  HWND Button(int index) const { return buttons_.at(index)->Hwnd(); }
  void OnLookChanged() override;

 protected:
  void ReadArgs() override { args_ = ArgsOf(*this); }
  WindowSpec Spec() const override { return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT}; }
  Part LookPart() const override { return Part::kRadioGroup; }
  void AfterCreate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Arrange();
  CreateArgs args_;
  // One choice: a radio button whose face the look may paint.
  class Choice final : public InnerWindow {
   public:
    explicit Choice(RadioGroup& owner) : InnerWindow(owner, Part::kRadioButton) {}
    ButtonFace& Face() { return face_; }
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

   private:
    ButtonFace face_;
  };
  std::vector<std::unique_ptr<Choice>> buttons_;
};

}  // namespace kq::ui
