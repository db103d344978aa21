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
    Fire(u"OnClick");
    return true;
  }
  return Control::OnReflected(msg, wp, lp, result);
}

}  // namespace kq::ui
