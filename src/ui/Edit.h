// TEdit: a one-line text field; typed characters pass the OnKeyPress handler first. Its cue
// text is its own (EM_SETCUEBANNER and EM_GETCUEBANNER are answered here): the system's edit
// has one only from the common controls 6, a library of about 3 MB of memory under Wine
// that the program has no other use for.
#pragma once

#include "ui/Control.h"

#include <optional>

namespace kq::ui {

class Edit final : public Control {
 public:
  struct CreateArgs {
    wchar_t passwordChar = 0;            // shown for every character when set
    std::optional<std::u16string> hint;  // shown while empty, also while focused
    std::optional<int> maxLength;
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c);

  using Control::Control;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  // Its cue text, which is all a player sees of what the edit is for.
  std::u16string AccessibleName() const override {
    return args_.hint ? *args_.hint : Control::AccessibleName();
  }

 protected:
  void ReadArgs() override { args_ = ArgsOf(*this); }
  WindowSpec Spec() const override;
  Part LookPart() const override { return Part::kEdit; }
  void AfterCreate() override;
  std::span<const EventSpec> Events() const override {
    static constexpr EventSpec kEvents[] = {{u"OnChange", HandlerKind::kNotify},
                                            {u"OnKeyPress", HandlerKind::kKeyPress}};
    return kEvents;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool ShowsCue() const;
  void PaintCue(HDC dc) const;

  CreateArgs args_;
  std::wstring cue_;
  bool cueWhenFocused_ = false;
};

}  // namespace kq::ui
