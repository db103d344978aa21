#include "ui/ScrollBarHost.h"

namespace kq::ui {

LRESULT ScrollBarHost::Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                              const ScrollBarHook::Next& next) {
  const Look& look = source_.look();
  if (!look.PaintsScrollBar(source_.info().part)) {
    if (depth_ == 0) hook_.reset();
    return next(msg, wp, lp);
  }
  if (!hook_) hook_ = look.MakeScrollBarHook();
  if (!hook_) return next(msg, wp, lp);
  ScrollBarHook& hook = *hook_;
  ++depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  return hook.Handle(hwnd, source_, msg, wp, lp, next);
}

}  // namespace kq::ui
