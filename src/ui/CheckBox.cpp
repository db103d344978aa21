#include "ui/CheckBox.h"

namespace kq::ui {

CheckBox::CreateArgs CheckBox::ArgsOf(const forms::StoredComponent& c) {
  return {.checked = forms::BoolOf(c.Find(u"Checked")).value_or(false)};
}

bool CheckBox::Checked() const {
  return ::SendMessageW(Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
  ::SendMessageW(Hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    // An owner-drawn box checks itself as the system's automatic one does.
    if (face_.Painted()) SetChecked(!Checked());
    Fire(u"OnClick");
    return true;
  }
  if (msg == WM_DRAWITEM) {
    face_.Draw(GetLook(), Info(), *reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
  }
  return Control::OnReflected(msg, wp, lp, result);
}

LRESULT CheckBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (face_.Handle(Hwnd(), msg, wp, lp, result)) return result;
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace kq::ui
