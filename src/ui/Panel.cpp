#include "ui/Panel.h"

#include "common/Error.h"

namespace kq::ui {
namespace {

constexpr wchar_t kPanelClass[] = L"KQPanel";

bool RegisterPanelClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (::GetClassInfoExW(instance, kPanelClass, &wc)) return true;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &::DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPanelClass;
  return ::RegisterClassExW(&wc) != 0;
}

Bevel BevelOf(const forms::FormValue* v, Bevel fallback) {
  const auto text = forms::TextOf(v);
  if (!text) return fallback;
  if (forms::SameName(*text, u"bvNone")) return Bevel::kNone;
  return forms::SameName(*text, u"bvLowered") ? Bevel::kLowered : Bevel::kRaised;
}

}  // namespace

Panel::CreateArgs Panel::ArgsOf(const forms::StoredComponent& c) {
  CreateArgs args;
  args.bevels.outer = BevelOf(c.Find(u"BevelOuter"), args.bevels.outer);
  args.bevels.inner = BevelOf(c.Find(u"BevelInner"), args.bevels.inner);
  return args;
}

void Panel::ReadArgs() {
  if (!RegisterPanelClass()) throw Error(u"Cannot register the panel class");
  args_ = ArgsOf(*this);
}

Control::WindowSpec Panel::Spec() const {
  return {kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
}

int Panel::ClientInset() const {
  return GetLook().BevelWidth(args_.bevels);
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Hwnd(), &ps);
    RECT r;
    ::GetClientRect(Hwnd(), &r);
    GetLook().DrawBevels(Info(), dc, r, args_.bevels);
    ::EndPaint(Hwnd(), &ps);
    return 0;
  }
  return Container::HandleMessage(msg, wp, lp);
}

}  // namespace kq::ui
