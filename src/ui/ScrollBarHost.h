// A window with a vertical scroll bar that its look may draw: the look's hook gets the
// window's messages while the look paints scroll bars; otherwise they go to the system.
#pragma once

#include "ui/Look.h"

#include <memory>

namespace kq::ui {

class ScrollBarHost {
 public:
  explicit ScrollBarHost(ScrollBarHook::Source source) : source_(std::move(source)) {}

  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, const ScrollBarHook::Next& next);

 private:
  ScrollBarHook::Source source_;
  std::unique_ptr<ScrollBarHook> hook_;
  int depth_ = 0;  // messages of the window inside the hook: it stays while they run
};

}  // namespace kq::ui
