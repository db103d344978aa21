#include "skins/SkinWindowMenu.h"

namespace kq::skins {
namespace {

// Marks the entry this menu put into the window menu, so that it alone is taken out again.
constexpr ULONG_PTR kEntryMark = 0x534B494E;  // "SKIN"

bool IsSkinEntry(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_SUBMENU;
  return ::GetMenuItemInfoW(menu, position, TRUE, &info) && info.hSubMenu &&
         info.dwItemData == kEntryMark;
}

}  // namespace

void SkinWindowMenu::Rebuild(HMENU windowMenu, const TsSkinSelection& skins) {
  if (IsSkinEntry(windowMenu, 0)) {
    ::DeleteMenu(windowMenu, 0, MF_BYPOSITION);  // destroys the submenu with its items
    ::DeleteMenu(windowMenu, 0, MF_BYPOSITION);  // the separator after it
  }
  captions_.clear();
  if (!MakeSkinMenu) return;
  std::vector<std::u16string> names;
  skins.GetSkinNames(names, TacSkinTypes::stAllSkins);
  if (names.empty()) return;

  HMENU submenu = ::CreatePopupMenu();
  const std::vector<SkinMenuItem> items = SkinMenuItems(names, skins.SkinName());
  for (std::size_t i = 0; i < items.size(); ++i) {
    UINT flags = MF_STRING | (items[i].checked ? MF_CHECKED : MF_UNCHECKED);
    if (items[i].newColumn) flags |= MF_MENUBARBREAK;
    ::AppendMenuW(submenu, flags, kFirstCommand + static_cast<UINT>(i) * kCommandStep,
                  win::W(items[i].caption));
    MENUITEMINFOW radio{};
    radio.cbSize = sizeof radio;
    radio.fMask = MIIM_FTYPE;
    radio.fType = MFT_RADIOCHECK | (items[i].newColumn ? MFT_MENUBARBREAK : 0);
    ::SetMenuItemInfoW(submenu, static_cast<UINT>(i), TRUE, &radio);
    captions_.push_back(items[i].caption);
  }
  MENUITEMINFOW entry{};
  entry.cbSize = sizeof entry;
  entry.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_DATA;
  const std::wstring caption(kSkinMenuCaption.begin(), kSkinMenuCaption.end());
  entry.dwTypeData = const_cast<wchar_t*>(caption.c_str());
  entry.hSubMenu = submenu;
  entry.dwItemData = kEntryMark;
  ::InsertMenuItemW(windowMenu, 0, TRUE, &entry);
  ::InsertMenuW(windowMenu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

bool SkinWindowMenu::Choose(WPARAM command, TsSkinSelection& skins) const {
  const UINT id = static_cast<UINT>(command) & 0xFFF0;
  if (id < kFirstCommand) return false;
  const std::size_t index = (id - kFirstCommand) / kCommandStep;
  if (index >= captions_.size()) return false;
  skins.SetSkinName(SkinNameOfMenuCaption(captions_[index]));
  return true;
}

}  // namespace kq::skins
