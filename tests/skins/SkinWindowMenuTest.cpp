// The skin menu built into a real window menu, in this process.
#include "skins/SkinWindowMenu.h"

#include "common/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace kq::skins {
namespace {

// Nothing on disk, no boxes: the menu only lists and names skins.
class QuietEnvironment final : public SkinEnvironment {
 public:
  bool FileExists(const std::u16string&) override { return false; }
  bool DirectoryExists(const std::u16string&) override { return false; }
  std::optional<Bytes> ReadFile(const std::u16string&, std::uint64_t) override { return {}; }
  std::optional<std::vector<SkinDirectoryEntry>> ListDirectory(const std::u16string&) override {
    return {};
  }
  void ShowErrorBox(const std::u16string&) override {}
  void ShowMessage(const std::u16string&) override {}
  void ShowWarning(const std::u16string&) override {}
  void ApplySkinToAllWindows(const SkinApplyOptions&) override {}
  void RemoveSkinFromAllWindows() override {}
};

std::u16string SkinName(int i) {
  const std::string n =
      "Skin " + std::string(i < 10 ? "0" : "") + std::to_string(i) + " (internal)";
  return {n.begin(), n.end()};
}

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  ::GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

UINT ItemType(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  ::GetMenuItemInfoW(menu, position, TRUE, &info);
  return info.fType | info.fState;
}

TEST(SkinWindowMenu, PutsTheSkinsAtTheTopOfTheWindowMenuAndSetsTheChosenOne) {
  QuietEnvironment env;
  const Cp1251Codec codec;
  TsSkinSelection skins(env, codec);
  std::vector<TsStoredSkin> catalogue;
  for (int i = 44; i >= 0; --i) catalogue.push_back({.Name = SkinName(i)});
  skins.SetInternalSkins(TsStoredSkins(std::move(catalogue)));
  skins.SetActive(false);  // names change without loading
  skins.SetSkinName(SkinName(7));

  HMENU windowMenu = ::CreatePopupMenu();
  ::AppendMenuW(windowMenu, MF_STRING, SC_CLOSE, L"Close");
  SkinWindowMenu menu;
  menu.MakeSkinMenu = true;
  for (int opening = 0; opening < 2; ++opening) {  // rebuilt, never doubled
    menu.Rebuild(windowMenu, skins);
    ASSERT_EQ(::GetMenuItemCount(windowMenu), 3);
    EXPECT_EQ(ItemText(windowMenu, 0), L"Available skins");
    EXPECT_TRUE(ItemType(windowMenu, 1) & MFT_SEPARATOR);
    EXPECT_EQ(ItemText(windowMenu, 2), L"Close");
  }
  HMENU submenu = ::GetSubMenu(windowMenu, 0);
  ASSERT_EQ(::GetMenuItemCount(submenu), 45);
  for (UINT i = 0; i < 45; ++i) {
    const std::u16string name = SkinName(static_cast<int>(i));  // listed sorted
    EXPECT_EQ(ItemText(submenu, i), std::wstring(name.begin(), name.end()));
    const UINT type = ItemType(submenu, i);
    EXPECT_TRUE(type & MFT_RADIOCHECK) << i;
    EXPECT_EQ((type & MFS_CHECKED) != 0, i == 7) << i;
    EXPECT_EQ((type & MFT_MENUBARBREAK) != 0, i == 20 || i == 40) << i;
  }

  // The system keeps the low four bits of a window-menu command for itself.
  EXPECT_TRUE(
      menu.Choose(SkinWindowMenu::kFirstCommand + 30 * SkinWindowMenu::kCommandStep + 2, skins));
  EXPECT_EQ(skins.SkinName(), SkinName(30));
  EXPECT_FALSE(menu.Choose(SC_CLOSE, skins));
  EXPECT_FALSE(
      menu.Choose(SkinWindowMenu::kFirstCommand + 45 * SkinWindowMenu::kCommandStep, skins));
  EXPECT_EQ(skins.SkinName(), SkinName(30));

  // Switched off, the next opening takes the entry out; nothing is chosen through it.
  menu.MakeSkinMenu = false;
  menu.Rebuild(windowMenu, skins);
  EXPECT_EQ(::GetMenuItemCount(windowMenu), 1);
  EXPECT_FALSE(menu.Choose(SkinWindowMenu::kFirstCommand, skins));
  ::DestroyMenu(windowMenu);
}

}  // namespace
}  // namespace kq::skins
