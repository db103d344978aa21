// The skin menu in a window's window menu: rebuilt each time the window menu opens, an item
// chosen there sets the skin.
#pragma once

#include "skins/SkinMenu.h"
#include "skins/SkinSelection.h"
#include "win/Win.h"

namespace kq::skins {

class SkinWindowMenu {
 public:
  // Window-menu commands carry their identifier in the upper 12 bits; ours stay clear of
  // the system's own (0xF000 and up).
  static constexpr UINT kFirstCommand = 0x1000;
  static constexpr UINT kCommandStep = 0x10;

  bool MakeSkinMenu = false;

  // For WM_INITMENUPOPUP of the window menu: drops an earlier skin entry and, when the menu
  // is on and there are skins, puts a fresh one and a separator at the top.
  void Rebuild(HMENU windowMenu, const TsSkinSelection& skins);
  // For WM_SYSCOMMAND: true when the command was one of the menu's items; that item's skin
  // is then set.
  bool Choose(WPARAM command, TsSkinSelection& skins) const;

 private:
  std::vector<std::u16string> captions_;
};

}  // namespace kq::skins
