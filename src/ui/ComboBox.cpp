#include "ui/ComboBox.h"

#include "ui/ButtonFace.h"
#include "ui/Form.h"

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

ComboBox::ComboBox(Form& form) : Control(form), field_(*this), list_(*this, Part::kComboList) {}

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

}  // namespace kq::ui
