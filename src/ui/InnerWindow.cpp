#include "ui/InnerWindow.h"

#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/WindowMap.h"

#include <stdexcept>

namespace kq::ui {

InnerWindow::~InnerWindow() {
  Detach();
}

void InnerWindow::Attach(HWND hwnd) {
  if (hwnd == hwnd_) return;
  Detach();
  hwnd_ = hwnd;
  previous_ = WindowMap<InnerWindow>::Attach(hwnd_, this, Proc());
}

void InnerWindow::Detach() {
  if (!hwnd_) return;
  WindowMap<InnerWindow>::Detach(hwnd_, this, Proc());
  hwnd_ = nullptr;
}

InnerWindow* InnerWindow::FromHwnd(HWND hwnd) {
  return WindowMap<InnerWindow>::Find(hwnd).wrapper;
}

PartInfo InnerWindow::Info() const {
  PartInfo info = owner_.Info();
  info.part = part_;
  info.state.focused = hwnd_ && ::GetFocus() == hwnd_;
  info.window = hwnd_;
  return info;
}

bool InnerWindow::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  return Control::AnswerColors(owner_.GetLook(), Info(), msg, wp, result);
}

LRESULT InnerWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefaultProc(msg, wp, lp);
}

LRESULT InnerWindow::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return ::CallWindowProcW(previous_, hwnd_, msg, wp, lp);
}

WNDPROC InnerWindow::Proc() {
  return &WindowMap<InnerWindow>::Proc<&InnerWindow::Handle>;
}

LRESULT InnerWindow::Handle(InnerWindow& self, HWND, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  try {
    result = self.HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    self.owner_.OwnerForm().ReportException(e);
  } catch (...) {
    self.owner_.OwnerForm().ReportException(std::runtime_error("Unexpected error"));
  }
  if (msg == WM_NCDESTROY) self.hwnd_ = nullptr;
  return result;
}

}  // namespace kq::ui
