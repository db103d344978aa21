#include "ui/Container.h"

#include "ui/ButtonFace.h"

namespace kq::ui {

LRESULT Container::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (Reflect(msg, wp, lp, result)) return result;
  const bool painted = GetLook().PaintsFace(LookPart());
  if (painted && msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    PaintFace(dc);
    ::EndPaint(Hwnd(), &ps);
    return 0;
  }
  if (painted && msg == WM_PRINTCLIENT) {
    PaintFace(reinterpret_cast<HDC>(wp));
    return 0;
  }
  if (painted && (msg == WM_SETTEXT || msg == WM_ENABLE)) {
    // The system draws a group box straight away on these; the look draws over it.
    const LRESULT r = Control::HandleMessage(msg, wp, lp);
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    return r;
  }
  if (msg == WM_ERASEBKGND) {
    if (painted) return 1;  // the face covers it all
    RECT r;
    ::GetClientRect(Hwnd(), &r);
    GetLook().EraseBackground(Info(), reinterpret_cast<HDC>(wp), r);
    return 1;
  }
  return Control::HandleMessage(msg, wp, lp);
}

void Container::PaintFace(HDC dc) {
  RECT r;
  ::GetClientRect(Hwnd(), &r);
  wchar_t text[256];
  const int n = ::GetWindowTextW(Hwnd(), text, 256);
  PaintBuffer buffer(dc, r);
  GetLook().DrawFace({.info = Info(),
                      .rect = r,
                      .text = std::wstring_view(text, n > 0 ? static_cast<std::size_t>(n) : 0),
                      .font = font_},
                     buffer.Dc());
}

}  // namespace kq::ui
