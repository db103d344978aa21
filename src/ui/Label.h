// TLabel: a static text, auto-sized to its text unless the layout says otherwise.
#pragma once

#include "ui/Control.h"

namespace kq::ui {

class Label : public Control {
 public:
  struct CreateArgs {
    bool wordWrap = false;  // one line, cut at the edge, unless the layout asks for wrapping
    bool autoSize = true;   // keeps its left and top and takes the size of its text
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c);

  using Control::Control;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  void ReadArgs() override { args_ = ArgsOf(*this); }
  WindowSpec Spec() const override;
  Part LookPart() const override { return Part::kLabel; }
  void AfterCreate() override;
  std::span<const EventSpec> Events() const override {
    static constexpr EventSpec kEvents[] = {{u"OnClick", HandlerKind::kNotify},
                                            {u"OnDblClick", HandlerKind::kNotify}};
    return kEvents;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void FitText();
  CreateArgs args_;
};

}  // namespace kq::ui
