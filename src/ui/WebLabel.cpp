#include "ui/WebLabel.h"

#include "ui/Form.h"
#include "win/LazyLibrary.h"

namespace kq::ui {

WebLabel::CreateArgs WebLabel::ArgsOf(const forms::StoredComponent& c,
                                      const forms::FontSpec& font) {
  return {.url = forms::TextOf(c.Find(u"URL")),
          .hoverFont = forms::FontOf([&c](const std::u16string& n) { return c.Find(n); },
                                     u"HoverFont", font)};
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

PartState WebLabel::State() const {
  PartState state = Label::State();
  state.hot = hover_;
  return state;
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
      if (webArgs_.url) {
        // The shell is loaded for the first link opened, not at every start.
        if (auto* open = win::ShellLibrary().Proc<decltype(::ShellExecuteW)>("ShellExecuteW")) {
          open(nullptr, L"open", win::W(*webArgs_.url), nullptr, nullptr, SW_SHOWNORMAL);
        }
      }
      break;
    default:
      break;
  }
  return Label::HandleMessage(msg, wp, lp);
}

void WebLabel::SetHover(bool hover) {
  hover_ = hover;
  HFONT font = OwnerForm().FontFor(GetLook().Font(Info()));
  ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace kq::ui
