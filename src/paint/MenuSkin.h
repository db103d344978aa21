// Popup menus of a skinned form drawn with the skin's MENU section: the window menu and its
// "Available skins" submenu. Each time a popup opens its items become owner-drawn, their
// texts and kinds kept here; taking the skin away gives every item its text back.
#pragma once

#include "paint/SkinLook.h"
#include "win/Handles.h"

#include <map>
#include <memory>
#include <string>

namespace kq::paint {

class MenuSkin {
 public:
  MenuSkin() = default;
  ~MenuSkin() { Undress(); }
  MenuSkin(const MenuSkin&) = delete;
  MenuSkin& operator=(const MenuSkin&) = delete;

  void SetLook(std::shared_ptr<const SkinLook> look);
  // WM_INITMENUPOPUP: the popup's items become the skin's.
  void Dress(HMENU menu);
  // Gives every item dressed so far its own text and kind back.
  void Undress();
  // WM_MEASUREITEM and WM_DRAWITEM of a menu item; false for anything else.
  bool Measure(HWND hwnd, MEASUREITEMSTRUCT& item) const;
  bool Draw(const DRAWITEMSTRUCT& item) const;

 private:
  struct Item {
    HMENU menu = nullptr;
    std::wstring text;
    UINT type = 0;  // the kind it had: MFT_SEPARATOR, MFT_RADIOCHECK, MFT_MENUBARBREAK...
    bool submenu = false;
    bool ownData = false;  // its item data is this painter's key, not the program's
  };
  const Item* Find(ULONG_PTR key) const;

  std::shared_ptr<const SkinLook> look_;
  std::map<ULONG_PTR, Item> items_;  // by the item's data
  ULONG_PTR nextKey_ = 0x4B510000;   // keys of the items that had no data of their own
  win::GdiObject background_;
};

}  // namespace kq::paint
