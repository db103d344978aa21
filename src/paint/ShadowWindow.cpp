#include "paint/ShadowWindow.h"

#include "paint/Pixels.h"

#include "ui/Form.h"

namespace kq::paint {
namespace {

constexpr wchar_t kShadowClass[] = L"KQShadow";

// The shadow draws nothing itself (UpdateLayeredWindow gives it its pixels), and neither the
// mouse nor activation ever stops at it.
LRESULT CALLBACK ShadowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    default:
      return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
}

bool RegisterShadowClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ShadowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kShadowClass;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

Box BoxOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

ShadowWindow::ShadowWindow(ui::Form& form, std::shared_ptr<const ShadowImages> images)
    : form_(form), images_(std::move(images)) {
  if (!form_.Hwnd() || !RegisterShadowClass()) return;
  // Not owned by the form: an owned window always lies above its owner.
  window_.Reset(::CreateWindowExW(
      WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kShadowClass, L"",
      WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  kind_ = ::GetActiveWindow() == form_.Hwnd() ? ShadowKind::kActive : ShadowKind::kInactive;
  Follow();
}

ShadowWindow::~ShadowWindow() = default;

void ShadowWindow::Follow() {
  Place(form_.Hwnd() && ::IsWindowVisible(form_.Hwnd()));
}

void ShadowWindow::Place(bool formVisible) {
  HWND form = form_.Hwnd();
  if (!window_ || !form) return;
  const bool shown = formVisible && images_ && images_->Of(kind_) && !::IsIconic(form) &&
                     !(::GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_LAYERED);
  RECT r;
  if (!shown || !::GetWindowRect(form, &r)) {
    if (::IsWindowVisible(window_.Get())) ::ShowWindow(window_.Get(), SW_HIDE);
    return;
  }
  const Box formBox = BoxOf(r);
  const Box bounds = ShadowBounds(formBox, SlicingOf(kind_), form_.Dpi());
  const Drawn now{formBox.Width(), formBox.Height(), form_.Dpi(), kind_};
  if (drawn_ != now) {
    drawn_.reset();
    if (!Draw(bounds, formBox.Width(), formBox.Height())) {
      ::ShowWindow(window_.Get(), SW_HIDE);
      return;
    }
    drawn_ = now;
  }
  // Shown first, then put below the form, so that showing cannot raise it past the form.
  constexpr UINT kKeep = SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (!::IsWindowVisible(window_.Get()))
    ::SetWindowPos(window_.Get(), nullptr, 0, 0, 0, 0,
                   kKeep | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  ::SetWindowPos(window_.Get(), form, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                 kKeep);
}

bool ShadowWindow::Draw(const Box& bounds, int formWidth, int formHeight) {
  const SkinBitmap* image = images_->Of(kind_);
  void* bits = nullptr;
  // A new section is all clear; the pieces copy the image's premultiplied pixels onto it.
  const win::GdiObject canvas = TopDownDib(bounds.Width(), bounds.Height(), &bits);
  if (!canvas) return false;
  const MemoryDc target(canvas.Get());
  const MemoryDc source(image->bitmap.Get());
  if (!target.Get() || !source.Get()) return false;
  BLENDFUNCTION copy{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  for (const Piece& p : ShadowPieces(SlicingOf(kind_), form_.Dpi(), formWidth, formHeight)) {
    ::AlphaBlend(target.Get(), p.target.left, p.target.top, p.target.Width(), p.target.Height(),
                 source.Get(), p.source.left, p.source.top, p.source.Width(), p.source.Height(),
                 copy);
  }
  POINT at{bounds.left, bounds.top};
  SIZE size{bounds.Width(), bounds.Height()};
  POINT origin{0, 0};
  return ::UpdateLayeredWindow(window_.Get(), nullptr, &at, &size, target.Get(), &origin, 0, &copy,
                               ULW_ALPHA) != FALSE;
}

bool ShadowWindow::FilterMessage(ui::Form& form, UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
  switch (msg) {
    case WM_WINDOWPOSCHANGED: {
      // Showing and hiding come here with the flag that says so.
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      const bool visible = (pos->flags & SWP_HIDEWINDOW) ? false
                           : (pos->flags & SWP_SHOWWINDOW)
                               ? true
                               : ::IsWindowVisible(form.Hwnd()) != FALSE;
      Place(visible);
      break;
    }
    case WM_ACTIVATE:
      kind_ = LOWORD(wp) == WA_INACTIVE ? ShadowKind::kInactive : ShadowKind::kActive;
      Follow();
      break;
    case WM_STYLECHANGED:
      if (wp == static_cast<WPARAM>(GWL_EXSTYLE)) Follow();
      break;
    case WM_DESTROY:
      window_.Reset();
      break;
    default:
      break;
  }
  return false;
}

}  // namespace kq::paint
