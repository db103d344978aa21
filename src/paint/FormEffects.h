// A skinned form's effects: the translucency while it is dragged by its caption, the
// animated minimise, the animated disappearance when the program ends, and the old look
// fading into the new at a skin change. Each is a message filter's work on the form, and each
// can be switched off by its setting.
#pragma once

#include "paint/Animation.h"
#include "paint/Ghost.h"
#include "ui/MessageFilter.h"

namespace kq::paint {

struct FormEffectSettings {
  TacAnimEffects anim;
  bool extendedBorders = false;  // the manager's: the skin-change transition needs them
  // The form's permissions, from its skin provider.
  bool allowBlendOnMoving = true;
  bool allowAnimation = true;
};

class FormEffects final : public ui::MessageFilter {
 public:
  explicit FormEffects(ui::Form& form, const Clock& clock = SystemClock())
      : form_(form), clock_(clock) {}
  ~FormEffects() override;

  void SetSettings(const FormEffectSettings& settings) { settings_ = settings; }
  const FormEffectSettings& Settings() const { return settings_; }

  // Keeps the form's look as it is now, to fade out over the new skin; false when the
  // settings want no transition or the form is not on screen.
  bool StartTransition();
  // Whether the caption-drag translucency is on now.
  bool Blending() const { return blending_; }

  bool FilterMessage(ui::Form& form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void BeforeClose(ui::Form& form) override;

 private:
  // The drag by the caption, from the press to the release: the window fades while the
  // system moves it, and is opaque again once the button is up.
  LRESULT DragTranslucent(WPARAM wp, LPARAM lp);
  void BlendStep();
  void EndBlend();
  bool Animates(const TacFormAnimation& a) const;

  ui::Form& form_;
  const Clock& clock_;
  FormEffectSettings settings_;
  bool blending_ = false;
  bool wasLayered_ = false;
  std::uint32_t blendStart_ = 0;
};

}  // namespace kq::paint
