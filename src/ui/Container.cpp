#include "ui/Container.h"

namespace kq::ui {

LRESULT Container::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (Reflect(msg, wp, lp, result)) return result;
  if (msg == WM_ERASEBKGND) {
    RECT r;
    ::GetClientRect(Hwnd(), &r);
    GetLook().EraseBackground(Info(), reinterpret_cast<HDC>(wp), r);
    return 1;
  }
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace kq::ui
