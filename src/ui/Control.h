// The base of every control kind: one child window made from a stored component of a
// layout. Notifications a parent receives for a child (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*,
// WM_DRAWITEM) go back to the child's own wrapper through Reflect, and events named in the
// layout (OnClick = btnStartClick) run the form's handler of that name.
//
// A kind reads the layout properties it knows into its own CreateArgs (an options struct
// with the defaults of the kind) before its window is made, then makes the window from them.
//
// Every named control carries the window property ControlNameProperty(name), so that a
// screen reader or a UI driver in another process finds it by name and reads its text
// with WM_GETTEXT.
#pragma once

#include "resources/FormLoader.h"
#include "resources/FormValues.h"
#include "ui/Events.h"
#include "ui/Look.h"
#include "win/Win.h"

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kq::ui {

class Form;

// "KQName:<name>": the window property naming a control (also set on the form).
std::wstring ControlNameProperty(std::wstring_view name);

class Control : public forms::StoredComponent {
 public:
  explicit Control(Form& form) : form_(form) {}
  ~Control() override;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Hwnd() const { return hwnd_; }
  Form& OwnerForm() const { return form_; }
  const forms::ComponentClass& ClassInfo() const override;
  // The wrapper of a window the framework made, or null.
  static Control* FromHwnd(HWND hwnd);
  // Hands a notification a parent received to the wrapper of the child it is about; true
  // when that wrapper handled it.
  static bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  std::u16string Text() const;
  void SetText(const std::u16string& text);
  bool Enabled() const { return hwnd_ && ::IsWindowEnabled(hwnd_); }
  void SetEnabled(bool enabled) { ::EnableWindow(hwnd_, enabled); }
  void SetFocus() { ::SetFocus(hwnd_); }

  // Creates the window under the parent window, then the children's.
  void CreateHandle(HWND parent, const forms::FontSpec& parentFont);

  // A notification the parent received for this control; true when handled. The default
  // answers WM_CTLCOLOR* as the look says.
  virtual bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // What the look is asked about this control: its part, state, fonts and background.
  PartInfo Info() const;
  const Look& GetLook() const;
  // Answers a WM_CTLCOLOR* message as the look says for the part; false for other messages
  // and when the look leaves the part to the system.
  static bool AnswerColors(const Look& look, const PartInfo& info, UINT msg, WPARAM wp,
                           LRESULT& result);
  // Lets the look draw the client edge of a window that has one, after the system drew it.
  static void PaintFrame(HWND hwnd, const Look& look, const PartInfo& info);

  // The name a screen reader gives the control: the caption of a label of the form whose
  // FocusControl names it; empty leaves the system's own.
  virtual std::u16string AccessibleName() const;

  // The form's DPI changed: font, place and size again from the layout at the new scale.
  void ApplyScale();
  // Stacks the top-aligned children again (after they were scaled).
  void ArrangeOwnChildren();

  // The form's look changed (or the control was just made): a kind whose face the look may
  // paint takes it over or gives it back here.
  virtual void OnLookChanged() {}

  // A character typed into the control (or its inner text field) through the OnKeyPress
  // handler; false when the handler swallowed it.
  bool PassKey(WPARAM& key);

 protected:
  struct WindowSpec {
    const wchar_t* className = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    int extraHeight = 0;  // a combo box's window includes its drop-down list
  };
  // Reads the kind's CreateArgs from the layout; runs before Spec.
  virtual void ReadArgs() {}
  virtual WindowSpec Spec() const = 0;
  // The part the look draws for the kind.
  virtual Part LookPart() const = 0;
  virtual PartState State() const;
  virtual PartFonts Fonts() const { return {&fontSpec_}; }
  // The properties of the kind, once the window exists.
  virtual void AfterCreate() {}
  // What else of the kind follows the form's DPI (a list's item height).
  virtual void OnScaleChanged() {}
  // The inner edge: children are placed and top-aligned inside it.
  virtual int ClientInset() const { return 0; }
  // Messages of the control's own window; the default is the system's procedure.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

  // Runs the notify handler bound to the event, if any.
  void Fire(std::u16string_view event);
  // The handler of that kind bound to the event; null when none is, or the form is going.
  template <class H>
  const H* Bound(std::u16string_view event) const;
  // Events the kind knows, with the kind of handler each runs.
  virtual std::span<const EventSpec> Events() const;

  std::unique_ptr<forms::StoredComponent> CreateChild(std::u16string_view className) override;

  forms::FontSpec fontSpec_;
  HFONT font_ = nullptr;

 private:
  static LRESULT Handle(Control& self, HWND, UINT, WPARAM, LPARAM);
  static WNDPROC Proc();
  // The form's handlers belong to a derived form that is gone already: none may run.
  bool FormGoing() const;
  Form& form_;
  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;  // the window's own procedure, which messages go on to
  EventBindings events_;
};

template <class H>
const H* Control::Bound(std::u16string_view event) const {
  return FormGoing() ? nullptr : events_.Find<H>(event);
}

}  // namespace kq::ui
