// A form's soft shadow: a layered, click-through window that never takes the focus, kept
// just below its form in z-order and drawn from the active or the inactive shadow image,
// nine-sliced to the form's size. It follows the form as a message filter of it: moves,
// resizes, the form's z-order, hiding and minimising (the shadow hides), showing and
// restoring, activation (the image changes) and the form's end. While the form is layered
// (a fade owns its opacity) the shadow stays hidden: an opaque shadow around a form that
// is fading would be left standing alone.
#pragma once

#include "paint/ShadowImages.h"
#include "ui/MessageFilter.h"
#include "win/Handles.h"

#include <memory>
#include <optional>

namespace kq::ui {
class Form;
}

namespace kq::paint {

// Whether a form gets a shadow while a skin is in force.
struct ShadowOptions {
  bool extendedBorders = false;  // the skin manager's: shadows at all
  bool allowExtBorders = true;   // the form's own permission
  bool Wanted() const { return extendedBorders && allowExtBorders; }
};

class ShadowWindow final : public ui::MessageFilter {
 public:
  ShadowWindow(ui::Form& form, std::shared_ptr<const ShadowImages> images);
  ~ShadowWindow() override;
  ShadowWindow(const ShadowWindow&) = delete;
  ShadowWindow& operator=(const ShadowWindow&) = delete;

  bool FilterMessage(ui::Form& form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  // Puts the shadow where the form's state says: placed around it and shown, or hidden.
  void Follow();

  // Null once the form's window is gone.
  HWND Hwnd() const { return window_.Get(); }
  // The image the shadow wears (or would wear, while hidden).
  ShadowKind Kind() const { return kind_; }

 private:
  void Place(bool formVisible);
  // Draws the image into the window at that place and size; false when the system refused.
  bool Draw(const Box& bounds, int formWidth, int formHeight);

  ui::Form& form_;
  std::shared_ptr<const ShadowImages> images_;
  win::OwnedWindow window_;
  ShadowKind kind_ = ShadowKind::kInactive;
  // What the window holds now, so that a move alone does not draw again.
  struct Drawn {
    int width, height, dpi;
    ShadowKind kind;
    bool operator==(const Drawn&) const = default;
  };
  std::optional<Drawn> drawn_;
};

}  // namespace kq::paint
