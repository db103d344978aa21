// The program's skin painter: while a skin is in force, every form (those that exist and
// those made later) wears its look and its frame; taking the skin away gives every form
// the framework's own look and the system's frame back.
#pragma once

#include "paint/ShadowWindow.h"
#include "paint/SkinLook.h"
#include "ui/Form.h"

#include <functional>
#include <memory>

namespace kq::paint {

class SkinPainter final : public ui::FormDecorator {
 public:
  static SkinPainter& Instance();

  // Which forms cast a shadow; none: no form.
  using ShadowPolicy = std::function<ShadowOptions(const ui::Form&)>;

  // Paints every form with the skin from now on, repainting those on screen at once; of
  // their controls those the filter takes (all without one), the others keep the
  // framework's own look. The forms the policy picks get a shadow, the others lose theirs.
  void Apply(std::shared_ptr<const SkinModel> model, std::shared_ptr<const SkinImages> images,
             ui::Form::LookFilter controls = {}, ShadowPolicy shadows = {});
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
  void DressShadow(ui::Form& form);
  std::shared_ptr<const SkinLook> look_;
  ui::Form::LookFilter controls_;
  ShadowPolicy shadows_;
  std::shared_ptr<const ShadowImages> shadowImages_;
};

}  // namespace kq::paint
