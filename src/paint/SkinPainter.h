// The program's skin painter: while a skin is in force, every form (those that exist and
// those made later) wears its look and its frame; taking the skin away gives every form
// the framework's own look and the system's frame back.
#pragma once

#include "paint/FormEffects.h"
#include "paint/ShadowWindow.h"
#include "paint/SkinLook.h"
#include "ui/Form.h"

#include <functional>
#include <memory>

namespace kq::paint {

class SkinPainter final : public ui::FormDecorator {
 public:
  static SkinPainter& Instance();

  // How each form is dressed, beyond the skin itself.
  struct Dressing {
    // Of the forms' controls those the filter takes (all without one); the others keep the
    // framework's own look.
    ui::Form::LookFilter controls;
    // A form's effects and what of the skin it wears (its skin provider's say).
    struct FormSettings {
      FormEffectSettings effects;
      bool drawClientArea = true;
      bool drawNonClientArea = true;
      bool showAppIcon = true;  // in the skinned caption
      ShadowOptions shadow;     // none unless asked for
    };
    std::function<FormSettings(const ui::Form&)> settingsFor;
  };
  // Paints every form with the skin from now on, repainting those on screen at once.
  void Apply(std::shared_ptr<const SkinModel> model, std::shared_ptr<const SkinImages> images,
             Dressing dressing = {});
  // Keeps every form's look as it is now, to fade out over the skin about to come, where the
  // form's settings want that transition.
  void CaptureForTransition();
  // The shadow images, loaded at start-up; none (or none of a kind) means no shadows (of
  // that kind). Takes effect at the next Apply.
  void SetShadowImages(std::shared_ptr<const ShadowImages> images) {
    shadowImages_ = std::move(images);
  }
  // Every form back to the framework's own look and the system's frame.
  void Remove();
  const SkinLook* Look() const { return look_.get(); }

  void Decorate(ui::Form& form) override;

 private:
  void Dress(ui::Form& form);
  void DressShadow(ui::Form& form, const ShadowOptions& options);
  std::shared_ptr<const SkinLook> look_;
  Dressing dressing_;
  std::shared_ptr<const ShadowImages> shadowImages_;
};

}  // namespace kq::paint
