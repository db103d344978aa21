// The window framework: forms and controls built from the component trees of the form
// resources. A form reads its class chain's layouts, then makes a real window and a real
// child window per control; notifications a parent receives for a child (WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM) go back to the child's own wrapper, and events
// named in the layout (OnClick = btnStartClick) run the form's handler of that name.
//
// Every named control carries the window property ControlNameProperty(name), so that a
// screen reader or a UI driver in another process finds it by name and reads its text
// with WM_GETTEXT.
#pragma once

#include "common/Error.h"
#include "resources/FormLoader.h"
#include "resources/FormValues.h"
#include "win/Handles.h"
#include "win/Window.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace kq::win {

class Form;
class Control;

struct DrawItemArgs {
  int index = -1;
  RECT rect{};
  UINT state = 0;    // ODS_* flags
  HDC dc = nullptr;  // with the list's font and the item's colours selected
};
// The sender is the control, or the form for the form's own events.
using NotifyHandler = std::function<void(forms::StoredComponent& sender)>;
using DrawItemHandler = std::function<void(Control& sender, const DrawItemArgs& item)>;
// The handler may change the character; setting it to 0 swallows it.
using KeyPressHandler = std::function<void(Control& sender, wchar_t& key)>;
using Handler = std::variant<NotifyHandler, DrawItemHandler, KeyPressHandler>;

struct HandlerSlot {
  std::u16string name;
  Handler handler;
};

// "KQName:<name>": the window property naming a control (also set on the form).
std::wstring ControlNameProperty(std::wstring_view name);

// The framework's base form class: the root ancestor of every form's class chain.
extern const forms::ComponentClass kFormClass;

// Runs keyboard navigation (Tab, arrow keys, mnemonics) for the framework's forms; true
// when the message was handled and must not be dispatched.
bool PreTranslateFormMessage(MSG& msg);

// Modal results, as buttons store them (ModalResult = 1).
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

using ComponentFactory = std::unique_ptr<forms::StoredComponent> (*)(Form& form);
// Makes a class name known to layouts (a subsystem's own components); replaces a
// built-in of the same name.
void RegisterComponentClass(std::u16string_view className, ComponentFactory factory);

// A component without a window (the skin manager and provider until their subsystem
// registers its own classes): it keeps its stored properties.
class NonVisualComponent : public forms::StoredComponent {
 public:
  explicit NonVisualComponent(Form& form) : form_(form) {}
  const forms::ComponentClass& ClassInfo() const override;

 protected:
  std::unique_ptr<forms::StoredComponent> CreateChild(std::u16string_view className) override;

 private:
  Form& form_;
};

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

  std::u16string Text() const;
  void SetText(const std::u16string& text);
  bool Enabled() const { return hwnd_ && ::IsWindowEnabled(hwnd_); }
  void SetEnabled(bool enabled) { ::EnableWindow(hwnd_, enabled); }
  void SetFocus() { ::SetFocus(hwnd_); }

  // Creates the window under the parent window, then the children's.
  void CreateHandle(HWND parent, const forms::FontSpec& parentFont);

  // A notification the parent received for this control; true when handled.
  virtual bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  struct WindowSpec {
    const wchar_t* className = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    int extraHeight = 0;  // a combo box's window includes its drop-down list
  };
  virtual WindowSpec Spec() const = 0;
  // The properties of the kind, once the window exists.
  virtual void AfterCreate() {}
  // The inner edge: children are placed and top-aligned inside it.
  virtual int ClientInset() const { return 0; }
  // Messages of the control's own window; the default is the system's procedure.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

  // Runs the notify handler bound to the event, if any.
  void Fire(std::u16string_view event);
  const Handler* Bound(std::u16string_view event) const;
  // Events the kind knows, with the index of their handler type in Handler.
  virtual std::vector<std::pair<std::u16string_view, std::size_t>> Events() const {
    return {{u"OnClick", 0}};
  }
  HBRUSH ParentBackground() const;
  // Text colour and background of static-like children (labels, check boxes, radios).
  LRESULT ColorStatic(HDC dc) const;

  std::unique_ptr<forms::StoredComponent> CreateChild(std::u16string_view className) override;

  forms::FontSpec fontSpec_;
  HFONT font_ = nullptr;

 private:
  friend class Form;
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void BindEvents();

  Form& form_;
  HWND hwnd_ = nullptr;
  std::map<std::u16string, Handler, std::less<>> events_;
};

class Form : public forms::StoredComponent, public Window {
 public:
  Form();
  ~Form() override;

  struct CreateOptions {
    HWND owner = nullptr;  // a form without an owner ends the program when it closes
  };
  // Reads the layouts of the class chain, makes the window and its controls (hidden), then
  // runs OnCreate. Throws kq::Error ("Resource TfrmMain not found", "Invalid stream
  // format", zlib's message, "Class TFoo not found", ...).
  void CreateForm(const CreateOptions& options);
  void CreateForm() { CreateForm(CreateOptions{}); }

  // A control of this form by name, at any depth, whatever the case.
  Control* FindControl(std::u16string_view name) const;
  template <class T>
  T& Get(std::u16string_view name) const;

  // Applies the layout's Position and shows the form.
  void Show();
  // Shows the form with its owner disabled until a button or the close box sets the result.
  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  bool IsModal() const { return modal_; }

  const Handler* LookupHandler(std::u16string_view name) const;
  HFONT FontFor(const forms::FontSpec& spec);
  UINT NextControlId() { return nextId_++; }
  bool Dying() const { return dying_; }
  void ReportException(const std::exception& e) noexcept { OnException(e); }

 protected:
  // The handlers this form offers to its layout, by name.
  virtual std::vector<HandlerSlot> Handlers() { return {}; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnClose() override;

 private:
  std::unique_ptr<forms::StoredComponent> CreateChild(std::u16string_view className) override;
  void Fire(std::u16string_view event);
  void PlaceAtPosition();

  std::vector<HandlerSlot> handlers_;
  std::map<std::u16string, Handler, std::less<>> events_;
  forms::FontSpec fontSpec_;
  std::map<std::wstring, GdiObject> fonts_;
  GdiObject background_;
  UINT nextId_ = 100;  // clear of IDOK and IDCANCEL
  int modalResult_ = 0;
  bool modal_ = false;
  bool dying_ = false;
};

template <class T>
T& Form::Get(std::u16string_view name) const {
  auto* c = dynamic_cast<T*>(FindControl(name));
  if (!c) throw Error(u"Control " + std::u16string(name) + u" not found");
  return *c;
}

// The kinds, for handlers that need more than the common operations.
class ListBox final : public Control {
 public:
  using Control::Control;
  void Clear();
  int Add(const std::u16string& item);
  int Count() const;
  int ItemIndex() const;
  std::u16string Item(int index) const;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  WindowSpec Spec() const override;
  void AfterCreate() override;
  std::vector<std::pair<std::u16string_view, std::size_t>> Events() const override;
};

class ComboBox final : public Control {
 public:
  using Control::Control;
  int ItemIndex() const;
  void SetItemIndex(int index);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  WindowSpec Spec() const override;
  void AfterCreate() override;
  std::vector<std::pair<std::u16string_view, std::size_t>> Events() const override;

 private:
  static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
};

class CheckBox final : public Control {
 public:
  using Control::Control;
  bool Checked() const;
  void SetChecked(bool checked);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  WindowSpec Spec() const override;
  void AfterCreate() override;
};

class RadioGroup final : public Control {
 public:
  using Control::Control;
  int ItemIndex() const;
  void SetItemIndex(int index);  // -1 selects none
  int Count() const { return static_cast<int>(buttons_.size()); }
  HWND Button(int index) const { return buttons_.at(index).Get(); }

 protected:
  WindowSpec Spec() const override;
  void AfterCreate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Arrange();
  std::vector<OwnedWindow> buttons_;
};

}  // namespace kq::win
