// A form: a top-level window built from the layouts of its class chain, with a child window
// per control. The framework's base form class is the root ancestor of every chain.
#pragma once

#include "common/Error.h"
#include "resources/FormLoader.h"
#include "resources/FormValues.h"
#include "ui/Control.h"
#include "ui/Events.h"
#include "ui/Gdi.h"
#include "ui/Look.h"
#include "ui/MessageFilter.h"
#include "win/Handles.h"
#include "win/Window.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kq::ui {

// The framework's base form class: the root ancestor of every form's class chain.
extern const forms::ComponentClass kFormClass;

// Runs keyboard navigation (Tab, arrow keys, mnemonics) for the framework's forms; true
// when the message was handled and must not be dispatched.
bool PreTranslateFormMessage(MSG& msg);

class Form;

// Dresses every form as it is made (the skin painter, while a skin is in force): called once
// a form's window and controls exist, before its OnCreate.
class FormDecorator {
 public:
  virtual ~FormDecorator() = default;
  virtual void Decorate(Form& form) = 0;
};
// Null takes the decorator away; forms made from then on stay plain.
void SetFormDecorator(FormDecorator* decorator);

// Modal results, as buttons store them (ModalResult = 1).
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

class Form : public forms::StoredComponent, public win::Window {
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
  // Shows the form as the program was asked to show its first window (wWinMain's showCmd).
  void ShowAs(int showCommand);
  void Hide();
  // Closes the form as its close box does: OnClose runs, then the form hides or, when it
  // ends the program, goes.
  void Close();
  // Shows the form with its owner disabled until a button or the close box sets the result.
  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

  // How the form and its controls are drawn: the framework's DefaultLook unless a look was
  // set (null puts the default back); setting one repaints the form.
  const Look& GetLook() const;
  // Which controls the look draws; the others keep the framework's own look. None: all.
  using LookFilter = std::function<bool(const Control&)>;
  void SetLook(const Look* look, LookFilter controls = {});
  // The look a control of this form is drawn with.
  const Look& LookFor(const Control& control) const;
  // Every control of the form, at any depth, in layout order.
  void ForEachControl(const std::function<void(Control&)>& visit) const;
  // The forms that exist, in the order they were made.
  static const std::vector<Form*>& All();
  // The brush of the layout's Color, on which the form's controls are drawn.
  HBRUSH Background() const { return backgroundBrush_; }

  // Filters see the form's messages in the order they were added, before the form. A filter
  // lives as long as the form (a component of it).
  void AddFilter(MessageFilter* filter) { filters_.push_back(filter); }
  // A filter the form owns from now on, until RemoveFilter or the form's end.
  void AdoptFilter(std::unique_ptr<MessageFilter> filter);
  // Takes a filter out; an adopted one is destroyed.
  void RemoveFilter(MessageFilter* filter);
  // The first filter of that type, or null.
  template <class T>
  T* FindFilter() const {
    for (MessageFilter* f : filters_) {
      if (auto* t = dynamic_cast<T*>(f)) return t;
    }
    return nullptr;
  }

  // The first component of the form of that type, at any depth, or null.
  template <class T>
  T* FindComponent() const;

  const std::vector<HandlerSlot>& OfferedHandlers() const { return handlers_; }
  // A layout's font at the form's DPI.
  HFONT FontFor(const forms::FontSpec& spec);
  // The form's dots per inch; layouts are stored at 96.
  int Dpi() const { return dpi_; }
  // A length of the stored layout at the form's DPI.
  int Scaled(int length) const { return ::MulDiv(length, dpi_, 96); }
  UINT NextControlId() { return nextId_++; }
  bool Dying() const { return dying_; }
  // Someone (the world-entry fade) owns the window's opacity from now on: no effect of the
  // form's filters touches it any more.
  void TakeOpacity() { opacityTaken_ = true; }
  bool OpacityTaken() const { return opacityTaken_; }
  void ReportException(const std::exception& e) noexcept { OnException(e); }

 protected:
  // The handlers this form offers to its layout, by name.
  virtual std::vector<HandlerSlot> Handlers() { return {}; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool FilterMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  // Enter pressed while the focus is on a control that is not a push button; true when the
  // form did something with it.
  virtual bool OnEnterKey(HWND /*focus*/) { return false; }
  void OnClose() override;
  // The form was hidden: closed, or hidden by its owner's code; not when it went with its
  // minimised owner.
  virtual void OnHidden() {}

 private:
  // Every show and hide of the form: the filters may do it their way.
  void SetShown(int showCommand);
  forms::StoredComponent* FindComponentIf(
      const std::function<bool(const forms::StoredComponent&)>& match) const;
  std::unique_ptr<forms::StoredComponent> CreateChild(std::u16string_view className) override;
  void Fire(std::u16string_view event);
  void PlaceAtPosition();
  // The form moved to a monitor of another DPI: every control at the new scale.
  void ChangeDpi(int dpi, const RECT& suggested);

  std::vector<HandlerSlot> handlers_;
  EventBindings events_;
  forms::FontSpec fontSpec_;
  FontCache fonts_;
  win::GdiObject background_;
  HBRUSH backgroundBrush_ = ::GetSysColorBrush(COLOR_BTNFACE);
  const Look* look_ = nullptr;
  LookFilter lookFilter_;
  std::vector<MessageFilter*> filters_;
  std::vector<std::unique_ptr<MessageFilter>> ownFilters_;
  UINT nextId_ = 100;  // clear of IDOK and IDCANCEL
  int dpi_ = 96;
  int modalResult_ = 0;
  bool modal_ = false;
  bool hiddenWithOwner_ = false;  // hidden because its owner was minimised
  bool followingOwner_ = false;   // the system hides or shows it with its owner now
  bool dying_ = false;
  bool opacityTaken_ = false;
};

template <class T>
T* Form::FindComponent() const {
  return static_cast<T*>(FindComponentIf(
      [](const forms::StoredComponent& c) { return dynamic_cast<const T*>(&c) != nullptr; }));
}

template <class T>
T& Form::Get(std::u16string_view name) const {
  auto* c = dynamic_cast<T*>(FindControl(name));
  if (!c) throw Error(u"Control " + std::u16string(name) + u" not found");
  return *c;
}

}  // namespace kq::ui
