#include "ui/Edit.h"

namespace kq::ui {

Edit::CreateArgs Edit::ArgsOf(const forms::StoredComponent& c) {
  CreateArgs args;
  const std::u16string pass = forms::TextOf(c.Find(u"PasswordChar")).value_or(u"");
  if (pass.size() == 1) args.passwordChar = static_cast<wchar_t>(pass[0]);
  args.hint = forms::TextOf(c.Find(u"TextHint"));
  if (auto max = forms::IntegerOf(c.Find(u"MaxLength"))) args.maxLength = static_cast<int>(*max);
  return args;
}

bool Edit::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
    Fire(u"OnChange");
    return true;
  }
  return Control::OnReflected(msg, wp, lp, result);
}

Control::WindowSpec Edit::Spec() const {
  DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
  if (args_.passwordChar) style |= ES_PASSWORD;
  return {L"EDIT", style};
}

void Edit::AfterCreate() {
  if (args_.passwordChar) ::SendMessageW(Hwnd(), EM_SETPASSWORDCHAR, args_.passwordChar, 0);
  if (args_.hint)
    ::SendMessageW(Hwnd(), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(win::W(*args_.hint)));
  if (args_.maxLength) ::SendMessageW(Hwnd(), EM_LIMITTEXT, *args_.maxLength, 0);
}

LRESULT Edit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR && !PassKey(wp)) return 0;
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace kq::ui
