#include "skins/SkinProvider.h"

#include "skins/SkinService.h"
#include "ui/Form.h"

namespace kq::skins {

TsSkinProvider::TsSkinProvider(ui::Form& form) : ui::NonVisualComponent(form) {
  form.AddFilter(this);
}

void TsSkinProvider::Register() {
  ui::RegisterComponentClass(u"TsSkinProvider", [](ui::Form& form) {
    return std::unique_ptr<forms::StoredComponent>(new TsSkinProvider(form));
  });
}

void TsSkinProvider::Loaded() {
  for (const forms::FormProperty& p : Properties()) ReadProviderSetting(settings_, p);
  menu_.MakeSkinMenu = settings_.MakeSkinMenu;
}

bool TsSkinProvider::FilterMessage(ui::Form& form, UINT msg, WPARAM wp, LPARAM lp,
                                   LRESULT& result) {
  // The skin menu is made afresh each time the window menu opens.
  if (msg == WM_INITMENUPOPUP && HIWORD(lp)) {
    menu_.Rebuild(::GetSystemMenu(form.Hwnd(), FALSE), SkinService());
  } else if (msg == WM_SYSCOMMAND && menu_.Choose(wp, SkinService())) {
    result = 0;
    return true;
  }
  return false;
}

}  // namespace kq::skins
