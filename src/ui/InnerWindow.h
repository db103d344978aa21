// A window inside a control that the layout does not name (a radio group's buttons, a combo
// box's text field and drop-down list). Each is wrapped, so that the look draws it as its
// own part and its messages reach the control that owns it.
#pragma once

#include "ui/Look.h"
#include "win/Win.h"

namespace kq::ui {

class Control;

class InnerWindow {
 public:
  InnerWindow(Control& owner, Part part) : owner_(owner), part_(part) {}
  virtual ~InnerWindow();
  InnerWindow(const InnerWindow&) = delete;
  InnerWindow& operator=(const InnerWindow&) = delete;

  // Wraps the window until it goes (WM_NCDESTROY) or the wrapper does.
  void Attach(HWND hwnd);
  HWND Hwnd() const { return hwnd_; }
  Control& Owner() const { return owner_; }
  // The wrapper of an inner window, or null.
  static InnerWindow* FromHwnd(HWND hwnd);

  // The owner's look question, about this window's part and state.
  PartInfo Info() const;
  // A notification about this window that its parent received; the default answers
  // WM_CTLCOLOR* as the look says.
  virtual bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  // Messages of the window itself; the default is the window's own procedure.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT Handle(InnerWindow& self, HWND, UINT, WPARAM, LPARAM);
  static WNDPROC Proc();
  void Detach();

  Control& owner_;
  Part part_;
  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;  // the window's own procedure, which messages go on to
};

}  // namespace kq::ui
