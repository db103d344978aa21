#include "ui/Edit.h"

#include <algorithm>

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
    // The cue comes or goes as a whole when the text becomes empty or stops being so.
    if (!cue_.empty()) ::InvalidateRect(Hwnd(), nullptr, TRUE);
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
  if (args_.hint) {
    cue_ = win::W(*args_.hint);
    cueWhenFocused_ = true;
  }
  if (args_.maxLength) ::SendMessageW(Hwnd(), EM_LIMITTEXT, *args_.maxLength, 0);
}

bool Edit::ShowsCue() const {
  return !cue_.empty() && ::GetWindowTextLengthW(Hwnd()) == 0 &&
         (cueWhenFocused_ || ::GetFocus() != Hwnd());
}

// As the common controls draw it: the field's background in its look's colours (the
// system's for a field no look colours), the cue in grey text where the first character goes.
void Edit::PaintCue(HDC dc) const {
  RECT client;
  ::GetClientRect(Hwnd(), &client);
  HBRUSH brush = GetLook().Colors(Info(), dc);
  if (!brush) {
    const bool editable =
        ::IsWindowEnabled(Hwnd()) && !(::GetWindowLongPtrW(Hwnd(), GWL_STYLE) & ES_READONLY);
    brush = ::GetSysColorBrush(editable ? COLOR_WINDOW : COLOR_3DFACE);
  }
  ::FillRect(dc, &client, brush);
  RECT text = client;
  ::SendMessageW(Hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
  const HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
  ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, cue_.c_str(), static_cast<int>(cue_.size()), &text,
              DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_EDITCONTROL);
  if (old) ::SelectObject(dc, old);
}

LRESULT Edit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CHAR:
      if (!PassKey(wp)) return 0;
      break;
    // The text's address is only good in this thread: the system carries neither message's
    // text between processes, so one sent from elsewhere is refused, not followed.
    case EM_SETCUEBANNER:
      if (::InSendMessage()) return FALSE;
      cue_ = lp ? reinterpret_cast<const wchar_t*>(lp) : L"";
      cueWhenFocused_ = wp != 0;
      ::InvalidateRect(Hwnd(), nullptr, TRUE);
      return TRUE;
    case EM_GETCUEBANNER: {
      auto* out = reinterpret_cast<wchar_t*>(wp);
      const auto room = static_cast<std::size_t>(lp);
      if (::InSendMessage() || !out || room == 0) return FALSE;
      const std::size_t n = std::min(cue_.size(), room - 1);
      cue_.copy(out, n);
      out[n] = L'\0';
      return !cue_.empty();
    }
    case WM_PAINT:
      if (ShowsCue()) {
        PAINTSTRUCT ps;
        if (HDC dc = ::BeginPaint(Hwnd(), &ps)) {
          PaintCue(dc);
          ::EndPaint(Hwnd(), &ps);
        }
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      if (ShowsCue()) {
        PaintCue(reinterpret_cast<HDC>(wp));
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (!cue_.empty() && !cueWhenFocused_) ::InvalidateRect(Hwnd(), nullptr, TRUE);
      break;
    default:
      break;
  }
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace kq::ui
