// TListBox: a list of texts, owner-drawn through OnDrawItem when its Style says so.
#pragma once

#include "ui/Control.h"

#include <optional>

namespace kq::ui {

class ListBox final : public Control {
 public:
  struct CreateArgs {
    bool ownerDraw = false;  // lbOwnerDrawFixed
    std::optional<int> itemHeight;
    std::vector<std::u16string> items;
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c);

  using Control::Control;
  void Clear();
  int Add(const std::u16string& item);
  int Count() const;
  int ItemIndex() const;
  std::u16string Item(int index) const;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  void ReadArgs() override { args_ = ArgsOf(*this); }
  WindowSpec Spec() const override;
  void AfterCreate() override;
  std::vector<std::pair<std::u16string_view, std::size_t>> Events() const override {
    return {{u"OnClick", 0}, {u"OnDblClick", 0}, {u"OnDrawItem", 1}};
  }

 private:
  void DrawItem(const DRAWITEMSTRUCT& dis);
  CreateArgs args_;
};

}  // namespace kq::ui
