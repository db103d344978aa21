#include "paint/ScrollBarSkin.h"

#include "paint/Geometry.h"
#include "ui/ButtonFace.h"

namespace kq::paint {
namespace {

using ui::PartState;

constexpr UINT_PTR kRepeatTimer = 0x4B51;  // ours on the list's window
constexpr UINT kFirstRepeat = 400;         // ms, as a held key waits before it repeats
constexpr UINT kNextRepeat = 50;
constexpr int kMinThumb = 12;  // at 96 DPI: room for a thumb image's corners

RECT ToRect(const Box& b) {
  return {b.left, b.top, b.right, b.bottom};
}

PartState PieceState(State s) {
  return {
      .hot = s == State::kHot, .pressed = s == State::kPressed, .disabled = s == State::kDisabled};
}

int ScrollCode(ScrollPart part) {
  switch (part) {
    case ScrollPart::kUpArrow:
      return SB_LINEUP;
    case ScrollPart::kDownArrow:
      return SB_LINEDOWN;
    case ScrollPart::kPageUp:
      return SB_PAGEUP;
    case ScrollPart::kPageDown:
      return SB_PAGEDOWN;
    default:
      return -1;
  }
}

void Scroll(HWND hwnd, int code, int pos = 0) {
  ::SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(code, pos), 0);
}

// The window's top left on the screen: the bar's pieces are in window coordinates.
POINT WindowOrigin(HWND hwnd) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  return {r.left, r.top};
}

}  // namespace

bool ScrollBarSkin::Shown::operator==(const Shown& o) const {
  return visible == o.visible && ::EqualRect(&bar, &o.bar) && range.min == o.range.min &&
         range.max == o.range.max && range.page == o.range.page && range.pos == o.range.pos &&
         enabled == o.enabled && hot == o.hot && pressed == o.pressed;
}

ScrollBarSkin::Shown ScrollBarSkin::Current(HWND hwnd) const {
  Shown s;
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  if (!::GetScrollBarInfo(hwnd, OBJID_VSCROLL, &bar) ||
      (bar.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) ||
      ::IsRectEmpty(&bar.rcScrollBar)) {
    return s;
  }
  const POINT origin = WindowOrigin(hwnd);
  s.visible = true;
  s.bar = bar.rcScrollBar;
  ::OffsetRect(&s.bar, -origin.x, -origin.y);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (::GetScrollInfo(hwnd, SB_VERT, &info)) {
    s.range = {info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
  }
  if (dragPos_ >= 0) s.range.pos = dragPos_;
  s.enabled =
      ::IsWindowEnabled(hwnd) && CanScroll(s.range) && !(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  s.hot = hot_;
  s.pressed = pressed_;
  return s;
}

ScrollBarLayout ScrollBarSkin::Layout(const Shown& s) const {
  const Box bar{s.bar.left, s.bar.top, s.bar.right, s.bar.bottom};
  ScrollRange range = s.range;
  if (!s.enabled) range.max = range.min;  // a disabled bar has no thumb
  return LayoutScrollBar(bar, range, ScaleToDpi(kMinThumb, source_->info().dpi));
}

void ScrollBarSkin::Paint(HWND hwnd, const Shown& s) {
  redraw_.Drawn(s);
  if (!s.visible || !Painted()) return;
  const ScrollBarLayout l = Layout(s);
  ui::ScrollBarFace face{.info = source_->info(), .bar = s.bar};
  face.up = ToRect(l.up);
  face.down = ToRect(l.down);
  face.track = ToRect(l.track);
  face.thumb = ToRect(l.thumb);
  const auto state = [&](ScrollPart part) {
    return PieceState(ScrollPartState(part, s.hot, s.pressed, s.enabled));
  };
  face.upState = state(ScrollPart::kUpArrow);
  face.downState = state(ScrollPart::kDownArrow);
  face.thumbState = state(ScrollPart::kThumb);
  HDC dc = ::GetWindowDC(hwnd);
  if (!dc) return;
  {
    ui::PaintBuffer buffer(dc, s.bar);
    source_->look().DrawScrollBar(face, buffer.Dc());
  }
  ::ReleaseDC(hwnd, dc);
}

void ScrollBarSkin::PaintIfChanged(HWND hwnd) {
  redraw_.Check([&] { return Current(hwnd); }, [&](const Shown& now) { Paint(hwnd, now); });
}

ScrollPart ScrollBarSkin::PartAt(HWND hwnd, POINT screen) const {
  const Shown s = Current(hwnd);
  if (!s.visible) return ScrollPart::kNone;
  const POINT origin = WindowOrigin(hwnd);
  return HitScrollBar(Layout(s), screen.x - origin.x, screen.y - origin.y);
}

void ScrollBarSkin::SetHot(HWND hwnd, ScrollPart hot) {
  if (hot != ScrollPart::kNone) {
    // Told when the mouse leaves the frame, to put the piece out again.
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE | TME_NONCLIENT, hwnd, 0};
    ::TrackMouseEvent(&leave);
  }
  if (hot == hot_) return;
  hot_ = hot;
  PaintIfChanged(hwnd);
}

LRESULT ScrollBarSkin::PaintFrame(HWND hwnd, WPARAM region, LPARAM lp, const Next& next) {
  // The system paints the frame without the bar's place; the look's bar goes there.
  const Shown s = Current(hwnd);
  if (!s.visible) return next(WM_NCPAINT, region, lp);
  RECT window;
  ::GetWindowRect(hwnd, &window);
  HRGN clip = ::CreateRectRgnIndirect(&window);
  if (region > 1) ::CombineRgn(clip, clip, reinterpret_cast<HRGN>(region), RGN_AND);
  RECT bar = s.bar;
  ::OffsetRect(&bar, window.left, window.top);
  HRGN cut = ::CreateRectRgnIndirect(&bar);
  ::CombineRgn(clip, clip, cut, RGN_DIFF);
  ::DeleteObject(cut);
  const LRESULT result = next(WM_NCPAINT, reinterpret_cast<WPARAM>(clip), lp);
  ::DeleteObject(clip);
  Paint(hwnd, Current(hwnd));
  return result;
}

void ScrollBarSkin::Track(HWND hwnd, POINT screen) {
  const ScrollPart part = PartAt(hwnd, screen);
  if (part == ScrollPart::kNone) return;
  pressed_ = part;
  int grab = 0;  // where the thumb was taken, from its top
  if (part == ScrollPart::kThumb) {
    const Shown s = Current(hwnd);
    grab = screen.y - WindowOrigin(hwnd).y - Layout(s).thumb.top;
    dragPos_ = s.range.pos;
  } else {
    Scroll(hwnd, ScrollCode(part));
    ::SetTimer(hwnd, kRepeatTimer, kFirstRepeat, nullptr);
  }
  PaintIfChanged(hwnd);
  ::SetCapture(hwnd);
  while (::GetCapture() == hwnd && Painted()) {
    MSG m;
    if (!::GetMessageW(&m, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (m.message == WM_LBUTTONUP) break;
    if (m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == kRepeatTimer) {
      ::SetTimer(hwnd, kRepeatTimer, kNextRepeat, nullptr);
      // Repeats while the mouse stays on the piece: a page stops when the thumb reaches it.
      if (PartAt(hwnd, m.pt) == part) Scroll(hwnd, ScrollCode(part));
      PaintIfChanged(hwnd);
      continue;
    }
    if (m.message == WM_MOUSEMOVE) {
      if (part == ScrollPart::kThumb) {
        const Shown s = Current(hwnd);
        const int top = m.pt.y - WindowOrigin(hwnd).y - grab;
        const int pos = ThumbPosition(Layout(s), s.range, top);
        if (pos != dragPos_) {
          dragPos_ = pos;
          Scroll(hwnd, SB_THUMBTRACK, pos);
        }
      }
      hot_ = PartAt(hwnd, m.pt);
      PaintIfChanged(hwnd);
      continue;
    }
    if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) continue;  // held: none
    ::TranslateMessage(&m);
    ::DispatchMessageW(&m);
  }
  ::KillTimer(hwnd, kRepeatTimer);
  if (::GetCapture() == hwnd) ::ReleaseCapture();
  if (part == ScrollPart::kThumb) {
    const int pos = dragPos_;
    dragPos_ = -1;
    Scroll(hwnd, SB_THUMBPOSITION, pos);
  }
  Scroll(hwnd, SB_ENDSCROLL);
  pressed_ = ScrollPart::kNone;
  POINT cursor;
  ::GetCursorPos(&cursor);
  hot_ = ScrollPart::kNone;
  SetHot(hwnd, PartAt(hwnd, cursor));
  PaintIfChanged(hwnd);
}

bool ScrollBarSkin::Painted() const {
  return source_->look().PaintsScrollBar(source_->info().part);
}

LRESULT ScrollBarSkin::Handle(HWND hwnd, const Source& source, UINT msg, WPARAM wp, LPARAM lp,
                              const Next& next) {
  source_ = &source;
  const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  switch (msg) {
    case WM_NCPAINT:
      return PaintFrame(hwnd, wp, lp, next);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp != HTVSCROLL) break;
      Track(hwnd, at);
      return 0;
    case WM_NCMOUSEMOVE: {
      if (wp != HTVSCROLL) {
        SetHot(hwnd, ScrollPart::kNone);
        break;
      }
      SetHot(hwnd, PartAt(hwnd, at));
      return 0;  // the system's bar would light its piece
    }
    case WM_NCMOUSELEAVE:
      SetHot(hwnd, ScrollPart::kNone);
      return 0;  // the system's bar would put its piece out
    case WM_MOUSEMOVE: {
      // A dropped-down list holds the mouse: the bar's pieces light from here.
      POINT screen = at;
      ::ClientToScreen(hwnd, &screen);
      SetHot(hwnd, PartAt(hwnd, screen));
      break;
    }
    default:
      break;
  }
  const LRESULT result = next(msg, wp, lp);
  if (msg == WM_NCDESTROY) return result;
  // The system draws its bar on the mouse's frame messages whatever changed.
  if (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK) redraw_.Forget();
  PaintIfChanged(hwnd);
  return result;
}

}  // namespace kq::paint
