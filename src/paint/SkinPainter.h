// The program's skin painter: while a skin is in force, every form (those that exist and
// those made later) wears its look and its frame; taking the skin away gives every form
// the framework's own look and the system's frame back.
#pragma once

#include "paint/SkinLook.h"
#include "ui/Form.h"

#include <memory>

namespace kq::paint {

class SkinPainter final : public ui::FormDecorator {
 public:
  static SkinPainter& Instance();

  // Paints every form with the skin from now on, repainting those on screen at once; of
  // their controls those the filter takes (all without one), the others keep the
  // framework's own look.
  void Apply(std::shared_ptr<const SkinModel> model, std::shared_ptr<const SkinImages> images,
             ui::Form::LookFilter controls = {});
  // Every form back to the framework's own look and the system's frame.
  void Remove();
  const SkinLook* Look() const { return look_.get(); }

  void Decorate(ui::Form& form) override;

 private:
  void Dress(ui::Form& form);
  std::shared_ptr<const SkinLook> look_;
  ui::Form::LookFilter controls_;
};

}  // namespace kq::paint
