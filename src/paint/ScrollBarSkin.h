// The vertical scroll bar of a list while its look draws it. The system keeps the bar: its
// place in the frame, and the range the list sets as it scrolls. The look draws it, and this
// answers the mouse on it (arrows and track with auto-repeat, the thumb dragged) by sending
// the list the scroll messages the system's bar would; the list scrolls by keyboard and
// wheel as before. The system would draw its own bar whenever the range changes or the
// mouse moves over it: its place is cut from the frame's painting, and after every message
// that changed what the bar shows the look's bar is drawn again, before anything reaches the
// screen. The skin's look makes one for each list whose bar it draws.
#pragma once

#include "paint/ScrollGeometry.h"
#include "ui/Look.h"
#include "ui/RedrawCheck.h"
#include "win/Win.h"

namespace kq::paint {

class ScrollBarSkin final : public ui::ScrollBarHook {
 public:
  // A message of the window: handled here, or passed to `next` and the bar drawn again if
  // it changed.
  LRESULT Handle(HWND hwnd, const Source& source, UINT msg, WPARAM wp, LPARAM lp,
                 const Next& next) override;

 private:
  // What the bar shows; drawn again when it differs from what was drawn.
  struct Shown {
    bool visible = false;
    RECT bar{};
    ScrollRange range;
    bool enabled = false;
    ScrollPart hot = ScrollPart::kNone, pressed = ScrollPart::kNone;
    bool operator==(const Shown&) const;
  };
  Shown Current(HWND hwnd) const;
  ScrollBarLayout Layout(const Shown& shown) const;
  void Paint(HWND hwnd, const Shown& shown);
  void PaintIfChanged(HWND hwnd);
  // The piece under a point of the screen.
  ScrollPart PartAt(HWND hwnd, POINT screen) const;
  void SetHot(HWND hwnd, ScrollPart hot);
  // A button pressed on the bar: scrolls and repeats, or drags the thumb, until released.
  void Track(HWND hwnd, POINT screen);
  LRESULT PaintFrame(HWND hwnd, WPARAM region, LPARAM lp, const Next& next);

  // Whether the window's look still draws the bar (a skin may go while the bar is held).
  bool Painted() const;

  const Source* source_ = nullptr;  // of the message being handled
  ScrollPart hot_ = ScrollPart::kNone;
  ScrollPart pressed_ = ScrollPart::kNone;
  int dragPos_ = -1;  // the dragged thumb's position; -1 when no thumb is dragged
  ui::RedrawCheck<Shown> redraw_;
};

}  // namespace kq::paint
