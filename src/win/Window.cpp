#include "win/Window.h"

#include "common/Error.h"
#include "common/Text.h"
#include "win/MessageBox.h"

#include <stdexcept>

namespace kq::win {

bool Window::RegisterClass(const ClassArgs& args) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (::GetClassInfoExW(instance, args.name, &wc)) return true;
  wc.style = args.style;
  wc.lpfnWndProc = &Window::Proc;
  wc.hInstance = instance;
  wc.hCursor = args.cursor;
  wc.hIcon = args.icon;
  wc.hIconSm = args.smallIcon;
  wc.hbrBackground = args.background;
  wc.lpszClassName = args.name;
  return ::RegisterClassExW(&wc) != 0;
}

Window::~Window() {
  if (hwnd_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

bool Window::Create(const CreateArgs& args) {
  return ::CreateWindowExW(args.exStyle, args.className, args.text.c_str(), args.style, args.x,
                           args.y, args.width, args.height, args.parent, nullptr,
                           ::GetModuleHandleW(nullptr), this) != nullptr;
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

void Window::OnClose() {
  ::DestroyWindow(hwnd_);
}

void Window::OnException(const std::exception& e) noexcept {
  try {
    const auto* err = dynamic_cast<const Error*>(&e);
    if (err) {
      ShowErrorBox(err->Message());
    } else {
      ShowErrorBox(WidenAscii(e.what()));
    }
  } catch (...) {
  }
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefaultProc(msg, wp, lp);
  }
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);

  LRESULT result = 0;
  try {
    if (!self->FilterMessage(msg, wp, lp, result)) result = self->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    self->OnException(e);
  } catch (...) {
    self->OnException(std::runtime_error("Unexpected error"));
  }
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace kq::win
