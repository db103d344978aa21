// The base of the kinds that hold other controls (group box, panel): passes its children's
// notifications back to them and fills its background, or lets the look paint its whole face
// (a group box's frame and caption).
#pragma once

#include "ui/Control.h"

namespace kq::ui {

class Container : public Control {
 public:
  using Control::Control;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintFace(HDC dc);
};

}  // namespace kq::ui
