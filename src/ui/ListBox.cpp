#include "ui/ListBox.h"

#include "ui/Form.h"

namespace kq::ui {

ListBox::CreateArgs ListBox::ArgsOf(const forms::StoredComponent& c) {
  CreateArgs args;
  args.ownerDraw =
      forms::SameName(forms::TextOf(c.Find(u"Style")).value_or(u""), u"lbOwnerDrawFixed");
  if (auto h = forms::IntegerOf(c.Find(u"ItemHeight"))) args.itemHeight = static_cast<int>(*h);
  args.items = forms::StringsOf(c.Find(u"Items.Strings"));
  return args;
}

Control::WindowSpec ListBox::Spec() const {
  DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (args_.ownerDraw) style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  return {L"LISTBOX", style};
}

void ListBox::AfterCreate() {
  OnScaleChanged();
  for (const auto& item : args_.items) Add(item);
}

void ListBox::OnScaleChanged() {
  if (args_.itemHeight)
    ::SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, OwnerForm().Scaled(*args_.itemHeight));
}

LRESULT ListBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return scroll_.Handle(Hwnd(), msg, wp, lp, [this](UINT m, WPARAM w, LPARAM l) {
    return Control::HandleMessage(m, w, l);
  });
}

void ListBox::Clear() {
  ::SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
}

int ListBox::Add(const std::u16string& item) {
  return static_cast<int>(
      ::SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::W(item))));
}

int ListBox::Count() const {
  return static_cast<int>(::SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0));
}

int ListBox::ItemIndex() const {
  return static_cast<int>(::SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0));
}

std::u16string ListBox::Item(int index) const {
  const auto n = ::SendMessageW(Hwnd(), LB_GETTEXTLEN, index, 0);
  if (n < 0) return {};
  std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
  ::SendMessageW(Hwnd(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<std::size_t>(n));
  return win::U16(buf);
}

bool ListBox::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND) {
    if (HIWORD(wp) == LBN_DBLCLK)
      Fire(u"OnDblClick");
    else if (HIWORD(wp) == LBN_SELCHANGE)
      Fire(u"OnClick");
    return true;
  }
  if (msg != WM_DRAWITEM) return Control::OnReflected(msg, wp, lp, result);
  result = TRUE;
  DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
  return true;
}

void ListBox::DrawItem(const DRAWITEMSTRUCT& dis) {
  if (dis.itemID == static_cast<UINT>(-1)) return;  // an empty list with the focus
  // The canvas comes with the list's font and the normal or selection colours, as the
  // handler expects them.
  PartInfo item = Info();
  item.state.selected = dis.itemState & ODS_SELECTED;
  item.state.focused = dis.itemState & ODS_FOCUS;
  HGDIOBJ oldFont = ::SelectObject(dis.hDC, font_);
  GetLook().ItemColors(item, dis.hDC);
  const DrawItemArgs args{static_cast<int>(dis.itemID), dis.rcItem, dis.itemState, dis.hDC};
  if (const auto* h = Bound<DrawItemHandler>(u"OnDrawItem")) {
    (*h)(*this, args);
  } else {
    const std::u16string text = Item(args.index);
    ::ExtTextOutW(dis.hDC, dis.rcItem.left, dis.rcItem.top, ETO_OPAQUE, &dis.rcItem, win::W(text),
                  static_cast<UINT>(text.size()), nullptr);
  }
  if (item.state.focused) GetLook().DrawItemFocus(item, dis.hDC, dis.rcItem);
  ::SelectObject(dis.hDC, oldFont);
}

}  // namespace kq::ui
