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
}

void SkinPainter::Decorate(ui::Form& form) {
  if (look_) Dress(form);
}

void SkinPainter::Apply(std::shared_ptr<const SkinModel> model,
                        std::shared_ptr<const SkinImages> images, ui::Form::LookFilter controls) {
  controls_ = std::move(controls);
  // The new look is on every form before the old one goes.
  auto previous = std::move(look_);
  look_ = std::make_shared<SkinLook>(std::move(model), std::move(images));
  for (ui::Form* form : ui::Form::All()) {
    if (!form->Hwnd()) continue;
    const Freeze freeze(form->Hwnd());
    Dress(*form);
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
    form->SetLook(nullptr);
  }
  look_.reset();
  controls_ = {};
}

}  // namespace kq::paint
