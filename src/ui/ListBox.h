// TListBox: a list of texts, owner-drawn through OnDrawItem when its Style says so.
#pragma once

#include "ui/Control.h"
#include "ui/ScrollBarHost.h"

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
  Part LookPart() const override { return Part::kListBox; }
  void AfterCreate() override;
  void OnScaleChanged() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  std::span<const EventSpec> Events() const override {
    static constexpr EventSpec kEvents[] = {{u"OnClick", HandlerKind::kNotify},
                                            {u"OnDblClick", HandlerKind::kNotify},
                                            {u"OnDrawItem", HandlerKind::kDrawItem}};
    return kEvents;
  }

 private:
  void DrawItem(const DRAWITEMSTRUCT& dis);
  CreateArgs args_;
  ScrollBarHost scroll_{{[this]() -> const Look& { return GetLook(); }, [this] { return Info(); }}};
};

}  // namespace kq::ui
