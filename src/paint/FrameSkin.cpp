#include "paint/FrameSkin.h"

#include "ui/ButtonFace.h"
#include "ui/Form.h"

#include <algorithm>

namespace kq::paint {
namespace {

// The undocumented messages through which themed systems draw captions past WM_NCPAINT.
constexpr UINT kNcUahDrawCaption = 0x00AE;
constexpr UINT kNcUahDrawFrame = 0x00AF;
// Shows the window menu at a screen point (lParam), as the taskbar does.
constexpr UINT kPopupSystemMenu = 0x0313;
// The strip at the caption's left edge that opens the window menu, past the border.
constexpr int kMenuEdge = 6;

// A point of a mouse message, signed (screens left of or above the first are negative).
POINT PointOf(LPARAM lp) {
  return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

bool Inside(const RECT& r, POINT p) {
  return ::PtInRect(&r, p) != 0;
}

}  // namespace

FrameLayout LayoutFrame(const SkinModel& model, int width, int height, const FrameParts& parts) {
  const auto scaled = [&parts](int v) { return ::MulDiv(v, parts.dpi, 96); };
  FrameLayout f;
  f.border = scaled(std::clamp(model[SectionId::kBorder].size, 1, 16));
  f.caption = scaled(std::clamp(model[SectionId::kCaption].size, 16, 64));
  const int menuEdge = scaled(kMenuEdge);
  const int b = f.border;
  f.captionBand = {b, b, std::max(b, width - b), b + f.caption};
  f.client = {b, b + f.caption, std::max(b, width - b), std::max(b + f.caption, height - b)};
  const int size =
      std::min(scaled(std::clamp(model[SectionId::kCloseButton].size, 12, 48)), f.caption);
  const int top = b + (f.caption - size) / 2;
  int right = width - b - 3;
  f.close = {right - size, top, right, top + size};
  right = f.close.left - 2;
  if (parts.minimizeBox) {
    const int minSize =
        std::min(scaled(std::clamp(model[SectionId::kMinButton].size, 12, 48)), f.caption);
    const int minTop = b + (f.caption - minSize) / 2;
    f.minimize = {right - minSize, minTop, right, minTop + minSize};
    right = f.minimize.left - 2;
  }
  int left = b + menuEdge + 2;
  f.menuEdge = menuEdge;
  if (parts.icon) {
    const int side = std::min(scaled(16), f.caption);
    const int iconLeft = b + scaled(4);
    const int iconTop = b + (f.caption - side) / 2;
    f.icon = {iconLeft, iconTop, iconLeft + side, iconTop + side};
    f.menuEdge = std::max<int>(menuEdge, f.icon.right - b);
    left = static_cast<int>(f.icon.right) + scaled(4);
  }
  f.title = {left, b, std::max(left, right - 4), b + f.caption};
  return f;
}

FrameLayout FrameSkin::Layout() const {
  RECT w;
  ::GetWindowRect(form_.Hwnd(), &w);
  const bool dialogFrame =
      (::GetWindowLongPtrW(form_.Hwnd(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0;
  return LayoutFrame(look_->Model(), w.right - w.left, w.bottom - w.top,
                     {.minimizeBox = (systemStyle_ & WS_MINIMIZEBOX) != 0,
                      .icon = showIcon_ && (systemStyle_ & WS_SYSMENU) && !dialogFrame,
                      .dpi = form_.Dpi()});
}

void FrameSkin::SetLook(std::shared_ptr<const SkinLook> look) {
  HWND hwnd = form_.Hwnd();
  look_ = std::move(look);
  // The title's font: the form's, bold where the skin says so.
  LOGFONTW lf{};
  HFONT formFont = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
  if (!formFont || !::GetObjectW(formFont, sizeof lf, &lf))
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  if (look_->Model()[SectionId::kCaption].bold) lf.lfWeight = FW_BOLD;
  font_.Reset(::CreateFontIndirectW(&lf));
  menus_.SetLook(look_);
  if (!worn_) {
    systemStyle_ = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    worn_ = true;
    active_ = ::GetActiveWindow() == hwnd;
    // Without a system caption the system draws none over the skin's.
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, systemStyle_ & ~static_cast<LONG_PTR>(WS_CAPTION));
  }
  Resize(true);
}

void FrameSkin::SetShowIcon(bool show) {
  if (show == showIcon_) return;
  showIcon_ = show;
  Paint();
}

void FrameSkin::Release() {
  if (!worn_) return;
  HWND hwnd = form_.Hwnd();
  RECT client;
  ::GetClientRect(hwnd, &client);
  worn_ = false;
  menus_.Undress();
  // Only the caption comes back: visibility, minimised and enabled states are today's.
  const LONG_PTR style =
      ::GetWindowLongPtrW(hwnd, GWL_STYLE) | (systemStyle_ & static_cast<LONG_PTR>(WS_CAPTION));
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, style);
  RECT r = client;
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(style), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
  Place(r.right - r.left, r.bottom - r.top, true);
  font_.Reset();
  look_.reset();
}

void FrameSkin::Resize(bool frameChanged) {
  HWND hwnd = form_.Hwnd();
  if (::IsIconic(hwnd)) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  RECT client;
  ::GetClientRect(hwnd, &client);
  // Measure the frame from a window of any size, then size the window around the client.
  const FrameLayout f = LayoutFrame(look_->Model(), 100, 100, {.dpi = form_.Dpi()});
  Place(client.right + 2 * f.border, client.bottom + f.caption + 2 * f.border, frameChanged);
}

void FrameSkin::Place(int width, int height, bool frameChanged) {
  // The window keeps its top left corner; a form that is centred is centred when shown.
  ::SetWindowPos(form_.Hwnd(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (frameChanged ? SWP_FRAMECHANGED : 0));
}

LRESULT FrameSkin::HitTest(POINT screen) const {
  RECT w;
  ::GetWindowRect(form_.Hwnd(), &w);
  const POINT p{screen.x - w.left, screen.y - w.top};
  const FrameLayout f = Layout();
  if (Inside(f.client, p)) return HTCLIENT;
  if (Inside(f.close, p)) return HTCLOSE;
  if (Inside(f.minimize, p)) return HTMINBUTTON;
  if (Inside(f.captionBand, p)) {
    return p.x < f.captionBand.left + f.menuEdge && (systemStyle_ & WS_SYSMENU) ? HTSYSMENU
                                                                                : HTCAPTION;
  }
  return p.x < 0 || p.y < 0 || p.x >= w.right - w.left || p.y >= w.bottom - w.top ? HTNOWHERE
                                                                                   : HTBORDER;
}

void FrameSkin::Paint() {
  HWND hwnd = form_.Hwnd();
  if (!look_ || !::IsWindowVisible(hwnd)) return;
  HDC dc = ::GetWindowDC(hwnd);
  if (!dc) return;
  RECT w;
  ::GetWindowRect(hwnd, &w);
  const RECT all{0, 0, w.right - w.left, w.bottom - w.top};
  const FrameLayout f = Layout();
  // The client area is the form's: the frame is painted around it, never over it.
  ::ExcludeClipRect(dc, f.client.left, f.client.top, f.client.right, f.client.bottom);
  {
    ui::PaintBuffer buffer(dc, all);
    HDC b = buffer.Dc();
    const State state = active_ ? State::kNormal : State::kInactive;
    const int dpi = form_.Dpi();
    look_->DrawSection(b, SectionId::kBorder, state, all, dpi);
    look_->DrawSection(b, SectionId::kCaption, state, f.captionBand, dpi);
    const SectionLook& caption = look_->Model()[SectionId::kCaption];
    wchar_t text[256];
    const int n = ::GetWindowTextW(hwnd, text, 256);
    const HGDIOBJ old = ::SelectObject(b, font_.Get());
    ::SetBkMode(b, TRANSPARENT);
    ::SetTextColor(b, caption.In(state).fontColor);
    RECT title = f.title;
    const UINT align = caption.align == Align::kCenter  ? DT_CENTER
                       : caption.align == Align::kRight ? DT_RIGHT
                                                        : DT_LEFT;
    ::DrawTextW(b, text, std::max(n, 0), &title,
                align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SelectObject(b, old);
    if (!::IsRectEmpty(&f.icon)) {
      auto icon = reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd, GCLP_HICONSM));
      if (icon) {
        ::DrawIconEx(b, f.icon.left, f.icon.top, icon, f.icon.right - f.icon.left,
                     f.icon.bottom - f.icon.top, 0, nullptr, DI_NORMAL);
      }
    }
    const auto buttonState = [&](LRESULT id) {
      if (pressed_ == id && pressedInside_) return State::kPressed;
      if (hot_ == id && pressed_ == HTNOWHERE) return State::kHot;
      return state;
    };
    look_->DrawGlyph(b, SectionId::kCloseButton, ui::CheckState::kUnchecked,
                     buttonState(HTCLOSE), f.close, dpi);
    if (!::IsRectEmpty(&f.minimize)) {
      look_->DrawGlyph(b, SectionId::kMinButton, ui::CheckState::kUnchecked,
                       buttonState(HTMINBUTTON), f.minimize, dpi);
    }
  }
  ::ReleaseDC(hwnd, dc);
}

bool FrameSkin::FilterMessage(ui::Form& form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!worn_ || !look_) return false;
  HWND hwnd = form.Hwnd();
  switch (msg) {
    case WM_NCCALCSIZE: {
      RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0]
                   : reinterpret_cast<RECT*>(lp);
      const FrameLayout f = LayoutFrame(look_->Model(), 100, 100, {.dpi = form_.Dpi()});
      r->left += f.border;
      r->right = std::max(r->left, r->right - f.border);
      r->top += f.border + f.caption;
      r->bottom = std::max(r->top, r->bottom - f.border);
      result = 0;
      return true;
    }
    case WM_NCPAINT:
      Paint();
      result = 0;
      return true;
    case WM_NCACTIVATE:
      active_ = wp != 0;
      Paint();
      result = TRUE;
      return true;
    case kNcUahDrawCaption:
    case kNcUahDrawFrame:
      result = 0;
      return true;
    case WM_SETTEXT:
      result = ::DefWindowProcW(hwnd, msg, wp, lp);
      Paint();
      return true;
    case WM_NCHITTEST:
      result = HitTest(PointOf(lp));
      return true;
    case WM_NCMOUSEMOVE: {
      const LRESULT hot = wp == HTCLOSE || wp == HTMINBUTTON ? static_cast<LRESULT>(wp) : HTNOWHERE;
      if (hot != hot_) {
        hot_ = hot;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, hwnd, 0};
        ::TrackMouseEvent(&track);
        Paint();
      }
      return false;
    }
    case WM_NCMOUSELEAVE:
      if (hot_ != HTNOWHERE) {
        hot_ = HTNOWHERE;
        Paint();
      }
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp == HTCLOSE || wp == HTMINBUTTON) {
        pressed_ = static_cast<LRESULT>(wp);
        pressedInside_ = true;
        ::SetCapture(hwnd);
        Paint();
        result = 0;
        return true;
      }
      return false;
    case WM_MOUSEMOVE:
      if (pressed_ != HTNOWHERE) {
        POINT p = PointOf(lp);
        ::ClientToScreen(hwnd, &p);
        const bool inside = HitTest(p) == pressed_;
        if (inside != pressedInside_) {
          pressedInside_ = inside;
          Paint();
        }
        result = 0;
        return true;
      }
      return false;
    case WM_LBUTTONUP:
      if (pressed_ != HTNOWHERE) {
        const LRESULT button = pressed_;
        const bool inside = pressedInside_;
        ::ReleaseCapture();
        if (inside) {
          ::PostMessageW(hwnd, WM_SYSCOMMAND, button == HTCLOSE ? SC_CLOSE : SC_MINIMIZE, 0);
        }
        result = 0;
        return true;
      }
      return false;
    case WM_CAPTURECHANGED:
      if (pressed_ != HTNOWHERE) {
        pressed_ = HTNOWHERE;
        pressedInside_ = false;
        Paint();
      }
      return false;
    case WM_INITMENUPOPUP:
      menus_.Dress(reinterpret_cast<HMENU>(wp));
      return false;
    case WM_MEASUREITEM:
      if (wp == 0 && menus_.Measure(hwnd, *reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) {
        result = TRUE;
        return true;
      }
      return false;
    case WM_DRAWITEM:
      if (wp == 0 && menus_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) {
        result = TRUE;
        return true;
      }
      return false;
    case WM_NCRBUTTONUP:
      if (wp == HTCAPTION || wp == HTSYSMENU) {
        ::SendMessageW(hwnd, kPopupSystemMenu, 0, lp);
        result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace kq::paint
