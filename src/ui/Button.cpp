#include "ui/Button.h"

#include "ui/Form.h"

namespace kq::ui {

Button::CreateArgs Button::ArgsOf(const forms::StoredComponent& c) {
  CreateArgs args;
  if (auto r = forms::IntegerOf(c.Find(u"ModalResult"))) args.modalResult = static_cast<int>(*r);
  return args;
}

bool Button::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    // The result is set before the handler runs; the modal loop ends once it returned.
    if (args_.modalResult) OwnerForm().SetModalResult(*args_.modalResult);
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

LRESULT Button::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (face_.Handle(Hwnd(), msg, wp, lp, result)) return result;
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace kq::ui
