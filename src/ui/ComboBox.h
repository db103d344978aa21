// TComboBox: a text field with a drop-down list; characters typed into the field pass the
// OnKeyPress handler first.
#pragma once

#include "ui/Control.h"

#include <optional>

namespace kq::ui {

class ComboBox final : public Control {
 public:
  struct CreateArgs {
    bool dropDownList = false;  // csDropDownList: no text field of its own
    std::optional<int> height;  // of the closed box
    std::vector<std::u16string> items;
    std::optional<int> itemIndex;
    std::optional<std::u16string> text;
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c);

  using Control::Control;
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  void ReadArgs() override { args_ = ArgsOf(*this); }
  WindowSpec Spec() const override;
  Part LookPart() const override { return Part::kComboBox; }
  void AfterCreate() override;
  std::span<const EventSpec> Events() const override {
    static constexpr EventSpec kEvents[] = {{u"OnChange", HandlerKind::kNotify},
                                            {u"OnSelect", HandlerKind::kNotify},
                                            {u"OnKeyPress", HandlerKind::kKeyPress}};
    return kEvents;
  }

 private:
  static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  CreateArgs args_;
};

}  // namespace kq::ui
