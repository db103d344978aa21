// A form's message filters: components of a form (the skin provider, a shadow, an animation)
// that see the form's window messages before the form does and may answer them: the
// non-client messages, WM_ENTERSIZEMOVE/WM_EXITSIZEMOVE, WM_SYSCOMMAND (SC_MINIMIZE),
// WM_WINDOWPOSCHANGED, activation. Every show and hide of a form passes them too, so that one
// may animate it.
#pragma once

#include "win/Win.h"

namespace kq::ui {

class Form;

class MessageFilter {
 public:
  virtual ~MessageFilter() = default;
  // A message of the form's window; true when the filter answered it (result set), so that
  // neither later filters, the form nor the system handle it.
  virtual bool FilterMessage(Form& form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
  // The form is about to be shown or hidden (an SW_* command); true when the filter did it
  // itself.
  virtual bool FilterShow(Form&, int /*showCommand*/) { return false; }
  // The form is about to go for good (its window destroyed as the program ends), still on
  // screen as the player last saw it.
  virtual void BeforeClose(Form&) {}
};

}  // namespace kq::ui
