// A window the look draws and the system draws over outside WM_PAINT (a list draws the item
// it touches at once, a scroll bar its thumb when the range changes): what the look last
// drew, and the check after a message that draws again when what shows now differs. The
// messages that looking and drawing send the window are not checked themselves.
#pragma once

#include <utility>

namespace kq::ui {

template <class Shown>
class RedrawCheck {
 public:
  // Draws what `now()` shows through `draw(shown)` when it differs from what was drawn, or
  // whenever `force`. Does nothing inside a check or a Quiet drawing.
  template <class Now, class Draw>
  void Check(const Now& now, const Draw& draw, bool force = false) {
    if (busy_) return;
    Quiet([&] {
      const Shown shown = now();
      if (force || !(shown == drawn_)) draw(shown);
    });
  }
  // Runs `work` (a drawing) with the checks of the messages it sends held off.
  template <class Work>
  void Quiet(const Work& work) {
    const bool busy = std::exchange(busy_, true);
    work();
    busy_ = busy;
  }
  bool Busy() const { return busy_; }

  // What was drawn, given by the drawing; Forget makes the next check draw.
  void Drawn(const Shown& shown) { drawn_ = shown; }
  void Forget() { drawn_ = {}; }

 private:
  Shown drawn_{};
  bool busy_ = false;
};

}  // namespace kq::ui
