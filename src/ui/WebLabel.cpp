#include "ui/WebLabel.h"

#include "ui/Form.h"

namespace kq::ui {

WebLabel::CreateArgs WebLabel::ArgsOf(const forms::StoredComponent& c,
                                      const forms::FontSpec& font) {
  return {.url = forms::TextOf(c.Find(u"URL")),
          .hoverFont = forms::FontOf([&c](const std::u16string& n) { return c.Find(n); },
                                     u"HoverFont", font)};
}

bool WebLabel::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC) return Label::OnReflected(msg, wp, lp, result);
  HDC dc = reinterpret_cast<HDC>(wp);
  ::SetTextColor(dc, ToColorRef(hover_ ? webArgs_.hoverFont.color : fontSpec_.color));
  ::SetBkMode(dc, TRANSPARENT);
  result = reinterpret_cast<LRESULT>(ParentBackground());
  return true;
}

void WebLabel::ReadArgs() {
  Label::ReadArgs();
  webArgs_ = ArgsOf(*this, fontSpec_);
}

Control::WindowSpec WebLabel::Spec() const {
  WindowSpec spec = Label::Spec();
  spec.style |= SS_NOTIFY;
  return spec;
}

void WebLabel::AfterCreate() {
  Label::AfterCreate();
  hoverFont_ = OwnerForm().FontFor(webArgs_.hoverFont);
}

LRESULT WebLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      if (!hover_) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Hwnd(), 0};
        ::TrackMouseEvent(&tme);
        SetHover(true);
      }
      break;
    case WM_MOUSELEAVE:
      SetHover(false);
      break;
    case WM_LBUTTONDOWN:
      if (webArgs_.url)
        ::ShellExecuteW(nullptr, L"open", win::W(*webArgs_.url), nullptr, nullptr, SW_SHOWNORMAL);
      break;
    default:
      break;
  }
  return Label::HandleMessage(msg, wp, lp);
}

void WebLabel::SetHover(bool hover) {
  hover_ = hover;
  ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(hover ? hoverFont_ : font_), TRUE);
}

}  // namespace kq::ui
