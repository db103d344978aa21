#include "ui/ButtonFace.h"

namespace kq::ui {
namespace {

constexpr DWORD kTypeMask = 0x0F;  // BS_TYPEMASK

bool IsCheckKind(DWORD kind) {
  switch (kind) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

bool IsRadioKind(DWORD kind) {
  return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

void SetKind(HWND hwnd, DWORD kind) {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(kTypeMask)) | kind);
}

}  // namespace

PaintBuffer::PaintBuffer(HDC target, const RECT& rect) : target_(target), rect_(rect) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  dc_ = ::CreateCompatibleDC(target);
  bitmap_ = dc_ ? ::CreateCompatibleBitmap(target, w, h) : nullptr;
  if (!bitmap_) {
    if (dc_) ::DeleteDC(dc_);
    dc_ = nullptr;
    return;
  }
  old_ = ::SelectObject(dc_, bitmap_);
  ::SetWindowOrgEx(dc_, rect.left, rect.top, nullptr);
}

PaintBuffer::~PaintBuffer() {
  if (!dc_) return;
  ::SetWindowOrgEx(dc_, 0, 0, nullptr);
  ::BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top,
           dc_, 0, 0, SRCCOPY);
  ::SelectObject(dc_, old_);
  ::DeleteObject(bitmap_);
  ::DeleteDC(dc_);
}

LRESULT ButtonFace::Check(HWND hwnd) const {
  return painted_ ? check_ : ::SendMessageW(hwnd, BM_GETCHECK, 0, 0);
}

void ButtonFace::Adopt(HWND hwnd, bool painted) {
  if (!hwnd || painted == painted_) return;
  if (painted) {
    kind_ = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)) & kTypeMask;
    check_ = ::SendMessageW(hwnd, BM_GETCHECK, 0, 0);
    painted_ = true;
    SetKind(hwnd, BS_OWNERDRAW);
  } else {
    painted_ = false;
    SetKind(hwnd, kind_);
    if (IsCheckKind(kind_)) ::SendMessageW(hwnd, BM_SETCHECK, check_, 0);
  }
  ::InvalidateRect(hwnd, nullptr, TRUE);
}

bool ButtonFace::Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!painted_) return false;
  switch (msg) {
    case BM_GETCHECK:
      result = IsCheckKind(kind_) ? check_ : BST_UNCHECKED;
      return true;
    case BM_SETCHECK:
      if (IsCheckKind(kind_) && check_ != static_cast<LRESULT>(wp)) {
        check_ = static_cast<LRESULT>(wp);
        ::InvalidateRect(hwnd, nullptr, FALSE);
      }
      result = 0;
      return true;
    case BM_SETSTYLE: {
      // The dialog manager moves the default mark between push buttons; the window stays
      // owner-drawn.
      const DWORD kind = static_cast<DWORD>(wp) & kTypeMask;
      if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) kind_ = kind;
      if (LOWORD(lp)) ::InvalidateRect(hwnd, nullptr, FALSE);
      result = 0;
      return true;
    }
    case WM_GETDLGCODE:
      if (kind_ == BS_DEFPUSHBUTTON) {
        result = DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      } else if (kind_ == BS_PUSHBUTTON) {
        result = DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      } else {
        result = DLGC_BUTTON | (IsRadioKind(kind_) ? DLGC_RADIOBUTTON : 0);
      }
      return true;
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        ::TrackMouseEvent(&track);
        ::InvalidateRect(hwnd, nullptr, FALSE);
      }
      return false;
    case WM_MOUSELEAVE:
      hot_ = false;
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return false;
    default:
      return false;
  }
}

void ButtonFace::Draw(const Look& look, PartInfo info, const DRAWITEMSTRUCT& item) const {
  const UINT s = item.itemState;
  info.state.hot = hot_;
  info.state.pressed = (s & ODS_SELECTED) != 0;
  info.state.focused = (s & ODS_FOCUS) != 0;
  info.state.disabled = (s & ODS_DISABLED) != 0;
  info.window = item.hwndItem;
  wchar_t text[256];
  const int n = ::GetWindowTextW(item.hwndItem, text, 256);
  FaceInfo face{.info = info,
                .rect = item.rcItem,
                .text = std::wstring_view(text, n > 0 ? static_cast<std::size_t>(n) : 0),
                .font = reinterpret_cast<HFONT>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)),
                .check = check_ == BST_CHECKED         ? CheckState::kChecked
                         : check_ == BST_INDETERMINATE ? CheckState::kMixed
                                                       : CheckState::kUnchecked,
                .isDefault = kind_ == BS_DEFPUSHBUTTON};
  PaintBuffer buffer(item.hDC, item.rcItem);
  look.DrawFace(face, buffer.Dc());
}

}  // namespace kq::ui
