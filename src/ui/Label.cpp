#include "ui/Label.h"

#include <algorithm>

namespace kq::ui {

Label::CreateArgs Label::ArgsOf(const forms::StoredComponent& c) {
  CreateArgs args;
  args.wordWrap = forms::BoolOf(c.Find(u"WordWrap")).value_or(args.wordWrap);
  args.autoSize = forms::BoolOf(c.Find(u"AutoSize")).value_or(args.autoSize);
  return args;
}

bool Label::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && (HIWORD(wp) == STN_CLICKED || HIWORD(wp) == STN_DBLCLK)) {
    Fire(HIWORD(wp) == STN_CLICKED ? u"OnClick" : u"OnDblClick");
    return true;
  }
  return Control::OnReflected(msg, wp, lp, result);
}

Control::WindowSpec Label::Spec() const {
  return {L"STATIC",
          static_cast<DWORD>((args_.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) | SS_NOPREFIX)};
}

// An auto-sized label takes the size of its text from the start.
void Label::AfterCreate() {
  if (args_.autoSize) FitText();
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = DefaultProc(msg, wp, lp);
  if (msg == WM_SETTEXT && args_.autoSize) FitText();
  return r;
}

void Label::FitText() {
  const std::u16string text = Text();
  HDC dc = ::GetDC(Hwnd());
  HGDIOBJ old = ::SelectObject(dc, font_);
  RECT r{0, 0, 0, 0};
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  if (!text.empty()) {
    ::DrawTextW(dc, win::W(text), static_cast<int>(text.size()), &r,
                DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(Hwnd(), dc);
  ::SetWindowPos(Hwnd(), nullptr, 0, 0, std::max<int>(r.right, 3),
                 std::max<int>(r.bottom, tm.tmHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(::GetParent(Hwnd()), nullptr, TRUE);
}

}  // namespace kq::ui
