#include "skins/SkinMenu.h"

namespace kq {

std::vector<SkinMenuItem> SkinMenuItems(const std::vector<std::u16string>& names,
                                        std::u16string_view current) {
  std::vector<SkinMenuItem> items;
  items.reserve(names.size());
  bool checked = false;
  for (std::size_t i = 0; i < names.size(); ++i) {
    SkinMenuItem item;
    item.caption = names[i];
    item.name = std::u16string(kSkinMenuName);
    for (char c : std::to_string(i)) item.name.push_back(static_cast<char16_t>(c));
    item.checked = !checked && names[i] == current;
    checked = checked || item.checked;
    item.newColumn = i > 0 && i % kSkinMenuColumnLength == 0;
    items.push_back(std::move(item));
  }
  return items;
}

std::u16string SkinNameOfMenuCaption(std::u16string_view caption) {
  std::u16string name;
  for (char16_t c : caption) {
    if (c != u'&') name.push_back(c);
  }
  constexpr std::u16string_view kInternal = u"(internal)";
  const std::size_t at = name.find(kInternal);
  if (at != std::u16string::npos) name.resize(at + kInternal.size());
  return name;
}

}  // namespace kq
