#include "ui/InnerWindow.h"

#include "ui/Control.h"
#include "ui/Form.h"

#include <stdexcept>

namespace kq::ui {
namespace {

constexpr wchar_t kInnerProp[] = L"KQ.Inner";

}  // namespace

InnerWindow::~InnerWindow() {
  Detach();
}

void InnerWindow::Attach(HWND hwnd) {
  if (hwnd == hwnd_) return;
  Detach();
  hwnd_ = hwnd;
  ::SetPropW(hwnd_, kInnerProp, this);
  ::SetWindowSubclass(hwnd_, &InnerWindow::SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void InnerWindow::Detach() {
  if (!hwnd_) return;
  ::RemoveWindowSubclass(hwnd_, &InnerWindow::SubclassProc, 0);
  ::RemovePropW(hwnd_, kInnerProp);
  hwnd_ = nullptr;
}

InnerWindow* InnerWindow::FromHwnd(HWND hwnd) {
  return static_cast<InnerWindow*>(::GetPropW(hwnd, kInnerProp));
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
  return ::DefSubclassProc(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK InnerWindow::SubclassProc(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR ref) {
  auto* self = reinterpret_cast<InnerWindow*>(ref);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    self->owner_.OwnerForm().ReportException(e);
  } catch (...) {
    self->owner_.OwnerForm().ReportException(std::runtime_error("Unexpected error"));
  }
  if (msg == WM_NCDESTROY) self->Detach();
  return result;
}

}  // namespace kq::ui
