// TComboBox: a text field with a drop-down list; characters typed into the field pass the
// OnKeyPress handler first.
#pragma once

#include "ui/Control.h"
#include "ui/InnerWindow.h"
#include "ui/RedrawCheck.h"
#include "ui/ScrollBarHost.h"

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

  explicit ComboBox(Form& form);
  // The inner windows: the text field (none for csDropDownList) and the drop-down list.
  const InnerWindow& Field() const { return field_; }
  const InnerWindow& List() const { return list_; }
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  void ReadArgs() override { args_ = ArgsOf(*this); }
  WindowSpec Spec() const override;
  Part LookPart() const override { return Part::kComboBox; }
  void AfterCreate() override;
  void OnScaleChanged() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  std::span<const EventSpec> Events() const override {
    static constexpr EventSpec kEvents[] = {{u"OnChange", HandlerKind::kNotify},
                                            {u"OnSelect", HandlerKind::kNotify},
                                            {u"OnKeyPress", HandlerKind::kKeyPress}};
    return kEvents;
  }

 private:
  // Characters typed into the text field pass the key-press handler first.
  class TextField final : public InnerWindow {
   public:
    explicit TextField(ComboBox& owner) : InnerWindow(owner, Part::kComboField) {}

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  };
  // The dropped-down list. A look that paints it draws its background, items and selection
  // as a list box's, and its scroll bar; the system keeps its keyboard and mouse.
  class DroppedList final : public InnerWindow {
   public:
    explicit DroppedList(ComboBox& owner);

   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

   private:
    // What the items show; the system draws an item straight away when the selection
    // moves, so the look's items are drawn again whenever this changed.
    struct Shown {
      int top = -1, count = 0, selected = -1, caret = -1;
      RECT client{};
      bool operator==(const Shown& o) const;
    };
    Shown Current() const;
    LRESULT Items(UINT msg, WPARAM wp, LPARAM lp);
    void PaintItems(HDC dc);

    ScrollBarHost scroll_;
    RedrawCheck<Shown> redraw_;
  };
  // Finds the inner windows; the list may come only when it first drops down.
  void AttachInnerWindows();

  CreateArgs args_;
  TextField field_;
  DroppedList list_;
};

}  // namespace kq::ui
