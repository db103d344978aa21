#include "ui/ComboBox.h"

#include "ui/ButtonFace.h"
#include "ui/Form.h"

#include <algorithm>
#include <string>
#include <utility>

namespace kq::ui {

ComboBox::CreateArgs ComboBox::ArgsOf(const forms::StoredComponent& c) {
  CreateArgs args;
  args.dropDownList =
      forms::SameName(forms::TextOf(c.Find(u"Style")).value_or(u""), u"csDropDownList");
  if (auto h = forms::IntegerOf(c.Find(u"Height"))) args.height = static_cast<int>(*h);
  args.items = forms::StringsOf(c.Find(u"Items.Strings"));
  if (auto i = forms::IntegerOf(c.Find(u"ItemIndex"))) args.itemIndex = static_cast<int>(*i);
  args.text = forms::TextOf(c.Find(u"Text"));
  return args;
}

Control::WindowSpec ComboBox::Spec() const {
  return {L"COMBOBOX",
          static_cast<DWORD>(WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
                             (args_.dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN)),
          0,
          // Room for the dropped-down list below the text field.
          200};
}

void ComboBox::OnScaleChanged() {
  // The closed box is as high as the layout says: the field plus its 3-pixel frame.
  if (args_.height) {
    ::SendMessageW(Hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                   OwnerForm().Scaled(*args_.height) - 6);
  }
}

void ComboBox::AfterCreate() {
  OnScaleChanged();
  for (const auto& item : args_.items) {
    ::SendMessageW(Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::W(item)));
  }
  if (args_.itemIndex) SetItemIndex(*args_.itemIndex);
  if (args_.text) SetText(*args_.text);
  AttachInnerWindows();
}

void ComboBox::AttachInnerWindows() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetComboBoxInfo(Hwnd(), &info)) return;
  if (info.hwndItem && info.hwndItem != Hwnd()) field_.Attach(info.hwndItem);
  if (info.hwndList) list_.Attach(info.hwndList);
}

LRESULT ComboBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (!GetLook().PaintsFace(Part::kComboBox)) return Control::HandleMessage(msg, wp, lp);
  if (msg == WM_ERASEBKGND) return 1;  // the face covers it
  if (msg != WM_PAINT) return Control::HandleMessage(msg, wp, lp);
  // The look paints the box's frame and drop button; the text field paints itself.
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(Hwnd(), &ps);
  FaceInfo face{.info = Info(), .font = font_};
  ::GetClientRect(Hwnd(), &face.rect);
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof combo;
  if (::GetComboBoxInfo(Hwnd(), &combo)) {
    face.inner = combo.rcButton;
    face.innerPressed = (combo.stateButton & STATE_SYSTEM_PRESSED) != 0;
  }
  {
    PaintBuffer buffer(dc, face.rect);
    GetLook().DrawFace(face, buffer.Dc());
  }
  ::EndPaint(Hwnd(), &ps);
  return 0;
}

int ComboBox::ItemIndex() const {
  return static_cast<int>(::SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
  ::SendMessageW(Hwnd(), CB_SETCURSEL, index, 0);
}

ComboBox::ComboBox(Form& form) : Control(form), field_(*this), list_(*this) {}

bool ComboBox::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_COMMAND) return Control::OnReflected(msg, wp, lp, result);
  if (HIWORD(wp) == CBN_DROPDOWN)
    AttachInnerWindows();
  else if (HIWORD(wp) == CBN_SELCHANGE)
    Fire(u"OnSelect");
  else if (HIWORD(wp) == CBN_EDITCHANGE)
    Fire(u"OnChange");
  return true;
}

LRESULT ComboBox::TextField::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR && !Owner().PassKey(wp)) return 0;
  return InnerWindow::HandleMessage(msg, wp, lp);
}

ComboBox::DroppedList::DroppedList(ComboBox& owner)
    : InnerWindow(owner, Part::kComboList),
      scroll_({[this]() -> const Look& { return Owner().GetLook(); }, [this] { return Info(); }}) {}

bool ComboBox::DroppedList::Shown::operator==(const Shown& o) const {
  return top == o.top && count == o.count && selected == o.selected && caret == o.caret &&
         ::EqualRect(&client, &o.client);
}

ComboBox::DroppedList::Shown ComboBox::DroppedList::Current() const {
  Shown s;
  s.top = static_cast<int>(::SendMessageW(Hwnd(), LB_GETTOPINDEX, 0, 0));
  s.count = static_cast<int>(::SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0));
  s.selected = static_cast<int>(::SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0));
  s.caret = static_cast<int>(::SendMessageW(Hwnd(), LB_GETCARETINDEX, 0, 0));
  ::GetClientRect(Hwnd(), &s.client);
  return s;
}

LRESULT ComboBox::DroppedList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return scroll_.Handle(Hwnd(), msg, wp, lp,
                        [this](UINT m, WPARAM w, LPARAM l) { return Items(m, w, l); });
}

LRESULT ComboBox::DroppedList::Items(UINT msg, WPARAM wp, LPARAM lp) {
  if (!Owner().GetLook().PaintsFace(Part::kComboList)) return DefaultProc(msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the items cover it
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(Hwnd(), &ps);
      redraw_.Quiet([&] { PaintItems(dc); });
      ::EndPaint(Hwnd(), &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      redraw_.Quiet([&] { PaintItems(reinterpret_cast<HDC>(wp)); });
      return 0;
    default:
      break;
  }
  const LRESULT result = DefaultProc(msg, wp, lp);
  if (redraw_.Busy() || msg == WM_NCDESTROY || !::IsWindowVisible(Hwnd())) return result;
  // These draw the items they touch at once, even when nothing else changes.
  const bool drawn = msg == WM_SETFOCUS || msg == WM_KILLFOCUS || msg == LB_SETCURSEL ||
                     msg == LB_SETCARETINDEX || msg == WM_KEYDOWN || msg == WM_LBUTTONDOWN ||
                     msg == WM_LBUTTONUP;
  redraw_.Check([this] { return Current(); },
                [this](const Shown&) {
                  HDC dc = ::GetDC(Hwnd());
                  PaintItems(dc);
                  ::ReleaseDC(Hwnd(), dc);
                },
                drawn);
  return result;
}

void ComboBox::DroppedList::PaintItems(HDC target) {
  const Shown shown = Current();
  redraw_.Drawn(shown);
  const RECT& client = shown.client;
  PaintBuffer buffer(target, client);
  HDC dc = buffer.Dc();
  const Look& look = Owner().GetLook();
  const PartInfo info = Info();
  HBRUSH back = look.Colors(info, dc);
  ::FillRect(dc, &client, back ? back : ::GetSysColorBrush(COLOR_WINDOW));
  const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
  const HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
  const int height = static_cast<int>(::SendMessageW(Hwnd(), LB_GETITEMHEIGHT, 0, 0));
  // The selection as a list box's: the look's item colours, the text a little in.
  for (int i = std::max(shown.top, 0), y = client.top;
       height > 0 && i < shown.count && y < client.bottom; ++i, y += height) {
    const RECT r{client.left, y, client.right, y + height};
    PartInfo item = info;
    item.state.selected = i == shown.selected;
    look.ItemColors(item, dc);
    const auto n = ::SendMessageW(Hwnd(), LB_GETTEXTLEN, i, 0);
    std::wstring text(n > 0 ? static_cast<std::size_t>(n) + 1 : 1, L'\0');
    if (n > 0) ::SendMessageW(Hwnd(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    ::ExtTextOutW(dc, r.left + 2, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
  }
  if (oldFont) ::SelectObject(dc, oldFont);
}

}  // namespace kq::ui
