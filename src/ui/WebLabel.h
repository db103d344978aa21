// TsWebLabel: a label that opens its web address on a left press, with a hover font.
#pragma once

#include "ui/Label.h"

#include <optional>

namespace kq::ui {

class WebLabel final : public Label {
 public:
  struct CreateArgs {
    std::optional<std::u16string> url;
    forms::FontSpec hoverFont;  // HoverFont.*, on top of the label's own font
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c, const forms::FontSpec& font);

  using Label::Label;

 protected:
  void ReadArgs() override;
  WindowSpec Spec() const override;
  Part LookPart() const override { return Part::kLink; }
  PartState State() const override;
  PartFonts Fonts() const override { return {&fontSpec_, &webArgs_.hoverFont}; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void SetHover(bool hover);
  CreateArgs webArgs_;
  bool hover_ = false;
};

}  // namespace kq::ui
