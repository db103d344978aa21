// The skin provider component of a window's layout (TsSkinProvider): the window's own part
// of the skin engine. It sees the window's messages as a filter of its form; it keeps the
// skin menu in the window menu.
#pragma once

#include "skins/SkinSettings.h"
#include "skins/SkinWindowMenu.h"
#include "ui/Components.h"
#include "ui/MessageFilter.h"

namespace kq::skins {

class TsSkinProvider final : public ui::NonVisualComponent, public ui::MessageFilter {
 public:
  explicit TsSkinProvider(ui::Form& form);

  // Makes the class known to layouts; at start-up, before the first window.
  static void Register();

  // The skin menu in the window menu, offering the skin service's skins.
  void SetSkinMenu(bool on) { settings_.MakeSkinMenu = menu_.MakeSkinMenu = on; }
  const TsProviderSettings& Settings() const { return settings_; }

  bool FilterMessage(ui::Form& form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  void Loaded() override;

 private:
  TsProviderSettings settings_;
  SkinWindowMenu menu_;
};

}  // namespace kq::skins
