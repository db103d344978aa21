#include "paint/SkinPainter.h"

#include "paint/DialogSkin.h"
#include "paint/FrameSkin.h"
#include "win/MessageBox.h"

namespace kq::paint {
namespace {

// Holds a form's drawing while it changes, then repaints it whole in one go.
class Freeze {
 public:
  explicit Freeze(HWND hwnd) : hwnd_(::IsWindowVisible(hwnd) ? hwnd : nullptr) {
    if (hwnd_) ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  }
  ~Freeze() {
    if (!hwnd_) return;
    ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(hwnd_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  Freeze(const Freeze&) = delete;
  Freeze& operator=(const Freeze&) = delete;

 private:
  HWND hwnd_;
};

}  // namespace

SkinPainter& SkinPainter::Instance() {
  static SkinPainter painter;
  return painter;
}

void SkinPainter::Dress(ui::Form& form) {
  if (!form.Hwnd()) return;
  form.SetLook(look_.get(), controls_);
  FrameSkin* frame = form.FindFilter<FrameSkin>();
  if (!frame) {
    auto owned = std::make_unique<FrameSkin>(form);
    frame = owned.get();
    form.AdoptFilter(std::move(owned));
  }
  frame->SetLook(look_);
  DressShadow(form);
}

void SkinPainter::DressShadow(ui::Form& form) {
  const bool wanted = shadows_ && shadowImages_ && shadowImages_->Any() && shadows_(form).Wanted();
  ShadowWindow* shadow = form.FindFilter<ShadowWindow>();
  if (wanted && !shadow) {
    form.AdoptFilter(std::make_unique<ShadowWindow>(form, shadowImages_));
  } else if (!wanted && shadow) {
    form.RemoveFilter(shadow);
  }
}

void SkinPainter::Decorate(ui::Form& form) {
  if (look_) Dress(form);
}

void SkinPainter::Apply(std::shared_ptr<const SkinModel> model,
                        std::shared_ptr<const SkinImages> images, ui::Form::LookFilter controls,
                        ShadowPolicy shadows) {
  controls_ = std::move(controls);
  shadows_ = std::move(shadows);
  // The new look is on every form before the old one goes.
  auto previous = std::move(look_);
  look_ = std::make_shared<SkinLook>(std::move(model), std::move(images));
  for (ui::Form* form : ui::Form::All()) {
    if (!form->Hwnd()) continue;
    {
      const Freeze freeze(form->Hwnd());
      Dress(*form);
    }
    // A frozen form counts as hidden: its shadow takes its place once the form is back.
    if (ShadowWindow* shadow = form->FindFilter<ShadowWindow>()) shadow->Follow();
  }
  ui::SetFormDecorator(this);
  win::SetMessageBoxDresser(&DressMessageBox);
}

void SkinPainter::Remove() {
  ui::SetFormDecorator(nullptr);
  win::SetMessageBoxDresser(nullptr);
  for (ui::Form* form : ui::Form::All()) {
    if (!form->Hwnd()) continue;
    const Freeze freeze(form->Hwnd());
    if (FrameSkin* frame = form->FindFilter<FrameSkin>()) {
      frame->Release();
      form->RemoveFilter(frame);
    }
    if (ShadowWindow* shadow = form->FindFilter<ShadowWindow>()) form->RemoveFilter(shadow);
    form->SetLook(nullptr);
  }
  look_.reset();
  controls_ = {};
  shadows_ = {};
}

}  // namespace kq::paint
