#include "ui/GroupBox.h"

namespace kq::ui {

bool GroupBox::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN)
    return Container::OnReflected(msg, wp, lp, result);
  result = ColorStatic(reinterpret_cast<HDC>(wp));
  return true;
}

}  // namespace kq::ui
