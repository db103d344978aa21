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

// The form's filter of that kind, made the first time it is asked for.
template <class T>
T& FilterOf(ui::Form& form) {
  T* filter = form.FindFilter<T>();
  if (!filter) {
    auto owned = std::make_unique<T>(form);
    filter = owned.get();
    form.AdoptFilter(std::move(owned));
  }
  return *filter;
}

template <class T>
void DropFilter(ui::Form& form) {
  if (T* filter = form.FindFilter<T>()) form.RemoveFilter(filter);
}

}  // namespace

SkinPainter& SkinPainter::Instance() {
  static SkinPainter painter;
  return painter;
}

void SkinPainter::Dress(ui::Form& form) {
  if (!form.Hwnd()) return;
  const Dressing::FormSettings settings =
      dressing_.settingsFor ? dressing_.settingsFor(form) : Dressing::FormSettings{};
  form.SetLook(settings.drawClientArea ? look_.get() : nullptr, dressing_.controls);
  if (settings.drawNonClientArea) {
    FrameSkin& frame = FilterOf<FrameSkin>(form);
    frame.SetShowIcon(settings.showAppIcon);
    frame.SetLook(look_);
  } else if (FrameSkin* frame = form.FindFilter<FrameSkin>()) {
    frame->Release();
    form.RemoveFilter(frame);
  }
  FilterOf<FormEffects>(form).SetSettings(settings.effects);
  DressShadow(form, settings.shadow);
}

void SkinPainter::DressShadow(ui::Form& form, const ShadowOptions& options) {
  const bool wanted = shadowImages_ && shadowImages_->Any() && options.Wanted();
  ShadowWindow* shadow = form.FindFilter<ShadowWindow>();
  if (wanted && !shadow) {
    form.AdoptFilter(std::make_unique<ShadowWindow>(form, shadowImages_));
  } else if (!wanted && shadow) {
    form.RemoveFilter(shadow);
  }
}

void SkinPainter::CaptureForTransition() {
  if (!look_) return;
  for (ui::Form* form : ui::Form::All()) {
    if (FormEffects* effects = form->Hwnd() ? form->FindFilter<FormEffects>() : nullptr) {
      effects->StartTransition();
    }
  }
}

void SkinPainter::Decorate(ui::Form& form) {
  if (look_) Dress(form);
}

void SkinPainter::Apply(std::shared_ptr<const SkinModel> model,
                        std::shared_ptr<const SkinImages> images, Dressing dressing) {
  dressing_ = std::move(dressing);
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
    DropFilter<FormEffects>(*form);
    DropFilter<ShadowWindow>(*form);
    form->SetLook(nullptr);
  }
  look_.reset();
  dressing_ = {};
}

}  // namespace kq::paint
