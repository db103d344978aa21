// The skin menu's rules: the "Available skins" entry that the main window's window menu
// begins with, one radio item per skin, new columns every 20 items; and the skin name a
// chosen item stands for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kq {

inline constexpr std::u16string_view kSkinMenuCaption = u"Available skins";
inline constexpr std::u16string_view kSkinMenuName = u"SkinSelectItem";
inline constexpr std::size_t kSkinMenuColumnLength = 20;

struct SkinMenuItem {
  std::u16string caption;
  std::u16string name;  // "SkinSelectItem" and the item's index
  bool checked = false;
  bool newColumn = false;  // starts a new column of the submenu
  bool operator==(const SkinMenuItem&) const = default;
};

// The items for the listed names, in list order: the first whose caption equals the skin in
// force exactly is checked.
std::vector<SkinMenuItem> SkinMenuItems(const std::vector<std::u16string>& names,
                                        std::u16string_view current);

// What choosing an item assigns: its caption without "&", cut right after "(internal)".
std::u16string SkinNameOfMenuCaption(std::u16string_view caption);

}  // namespace kq
