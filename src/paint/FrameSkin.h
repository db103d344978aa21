// A skinned window frame: the caption with its title and minimise and close buttons, and the
// border, drawn from the skin's CAPTION, BORDER, CLOSEBUTTON and MINBUTTON sections. While
// a form wears it, the form has no system caption; the window's own behaviour stays the
// system's: dragging by the caption, the window menu (a click on the caption's left edge, a
// right-click on the caption, Alt+Space), keyboard moves, minimising and closing. The
// form's popup menus wear the skin too.
#pragma once

#include "paint/MenuSkin.h"
#include "paint/SkinLook.h"
#include "ui/MessageFilter.h"
#include "win/Handles.h"

#include <memory>

namespace kq::ui {
class Form;
}

namespace kq::paint {

// Where the parts of a skinned frame lie in a window of that size (window coordinates).
struct FrameLayout {
  int border = 0;
  int caption = 0;
  RECT captionBand{};
  RECT title{};
  RECT close{};
  RECT minimize{};  // empty when the form has no minimise box
  RECT icon{};      // the program's icon at the caption's left; empty when not shown
  RECT client{};
  int menuEdge = 0;  // the caption's left strip (the icon with it) that opens the window menu
};
struct FrameParts {
  bool minimizeBox = false;
  bool icon = false;
  int dpi = 96;  // the skin's sizes are stored at 96 DPI
};
FrameLayout LayoutFrame(const SkinModel& model, int width, int height, const FrameParts& parts);

class FrameSkin final : public ui::MessageFilter {
 public:
  explicit FrameSkin(ui::Form& form) : form_(form) {}
  ~FrameSkin() override = default;

  // Wears the skin's frame (or the new skin's), the client area keeping its size.
  void SetLook(std::shared_ptr<const SkinLook> look);
  // Gives the form its system frame back, the client area keeping its size.
  void Release();
  // The program's icon in the caption, on forms whose system frame would show one (not on
  // dialog frames).
  void SetShowIcon(bool show);

  bool FilterMessage(ui::Form& form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  FrameLayout Layout() const;
  LRESULT HitTest(POINT screen) const;
  void Paint();
  void Resize(bool frameChanged);
  void Place(int width, int height, bool frameChanged);

  ui::Form& form_;
  std::shared_ptr<const SkinLook> look_;
  LONG_PTR systemStyle_ = 0;
  bool worn_ = false;
  bool showIcon_ = false;
  bool active_ = true;
  LRESULT hot_ = HTNOWHERE;      // the caption button under the mouse
  LRESULT pressed_ = HTNOWHERE;  // the caption button the mouse went down on
  bool pressedInside_ = false;
  win::GdiObject font_;  // the title's
  MenuSkin menus_;
};

}  // namespace kq::paint
