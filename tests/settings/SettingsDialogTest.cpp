// The settings dialog of the running launcher, built hidden from its compressed layout.
#include "../win/RunningLauncher.h"
#include "../win/TestFolder.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

using win::test::RunningLauncher;
using win::test::TestFolder;

TEST(SettingsDialog, ComesUpFromItsCompressedLayout) {
  TestFolder game(L"game");
  RunningLauncher launcher(game.Path(), game.Path().c_str());
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);
  HWND dialog = launcher.WaitForWindow(L"TfmSettings");
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(::IsWindowVisible(dialog));
  RECT client;
  ::GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 350);
  EXPECT_EQ(client.bottom, 366);
  const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

  struct Row {
    const wchar_t* name;
    const wchar_t* parent;
    RECT rect;  // in the parent's client area; right 0 for the auto-sized label
    const wchar_t* text;
  };
  const Row rows[] = {
      {L"ch", L"fmSettings", {0, 0, 350, 329}, L""},
      {L"GroupBox1", L"ch", {1, 1, 349, 47}, L"Разрешение экрана"},
      {L"CbResolution", L"GroupBox1", {9, 18, 154, 39}, L""},
      {L"CbFullScr", L"GroupBox1", {170, 20, 330, 37}, L"Игра в окне"},
      {L"RgTextures", L"ch", {1, 47, 349, 92}, L"Качество текстур"},
      {L"RgDynLight", L"ch", {1, 92, 349, 137}, L"Динамическое освещение"},
      {L"RgGlow", L"ch", {1, 137, 349, 182}, L"Эффекты свечения"},
      {L"RgShadows", L"ch", {1, 182, 349, 227}, L"Тени"},
      {L"GbSound", L"ch", {1, 227, 349, 272}, L"Звук"},
      {L"CbMusic", L"GbSound", {9, 17, 106, 34}, L"Музыка"},
      {L"CbEff", L"GbSound", {134, 17, 231, 34}, L"Эффекты"},
      {L"CbMouseAcc", L"ch", {10, 278, 145, 295}, L"Ускорение курсора"},
      {L"CbTextureDet", L"ch", {10, 301, 145, 318}, L"Детализация текстур"},
      {L"Label1", L"ch", {180, 278, 0, 0}, L"Гамма:"},
      {L"CbGamma", L"ch", {180, 297, 243, 318}, L""},
      {L"Panel1", L"fmSettings", {0, 329, 350, 366}, L""},
      {L"btnCancel", L"Panel1", {256, 6, 331, 31}, L"Отмена"},
      {L"btnOk", L"Panel1", {168, 6, 243, 31}, L"OK"},
  };
  for (const Row& row : rows) {
    HWND h = ui::FindNamed(dialog, row.name);
    ASSERT_NE(h, nullptr) << row.name;
    EXPECT_EQ(::GetParent(h), ui::FindNamed(dialog, row.parent)) << row.name;
    const RECT r = ui::RectInParent(h);
    EXPECT_EQ(r.left, row.rect.left) << row.name;
    EXPECT_EQ(r.top, row.rect.top) << row.name;
    if (row.rect.right) {
      EXPECT_EQ(r.right, row.rect.right) << row.name;
      EXPECT_EQ(r.bottom, row.rect.bottom) << row.name;
    }
    EXPECT_EQ(ui::Text(h), row.text) << row.name;
  }

  // The radio groups' choices are windows of their own, named after the group.
  struct Group {
    const wchar_t* name;
    int choices;
    const wchar_t* last;
  };
  for (const Group& g : {Group{L"RgTextures", 4, L"Наивысшее"}, Group{L"RgDynLight", 4, L"Высокое"},
                         Group{L"RgGlow", 3, L"Высокое"}, Group{L"RgShadows", 4, L"Высокое"}}) {
    const std::wstring name = g.name;
    HWND last = ui::FindNamed(dialog, name + L"[" + std::to_wstring(g.choices - 1) + L"]");
    ASSERT_NE(last, nullptr) << g.name;
    EXPECT_EQ(ui::Text(last), g.last) << g.name;
    EXPECT_EQ(ui::FindNamed(dialog, name + L"[" + std::to_wstring(g.choices) + L"]"), nullptr)
        << g.name;
  }
  const auto resolutions = ui::Items(ui::FindNamed(dialog, L"CbResolution"));
  ASSERT_EQ(resolutions.size(), 26u);
  EXPECT_EQ(resolutions[25],
            L"1920\x0445"
            L"1080x32");
  EXPECT_EQ(ui::Items(ui::FindNamed(dialog, L"CbGamma")),
            (std::vector<std::wstring>{L"0.8", L"1.0", L"1.2", L"1.4", L"1.6", L"1.8"}));

  // Shown for the picture only; the dialog's own showing belongs to the main window.
  ::ShowWindow(dialog, SW_SHOW);
  ::SetForegroundWindow(dialog);
  ::Sleep(300);
  const std::wstring shot = win::test::ArtifactsFolder() + L"settings-dialog.bmp";
  ASSERT_TRUE(ui::SaveScreenshot(dialog, shot));
  EXPECT_GT(win::test::DistinctColours(shot), 8);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
}

}  // namespace
}  // namespace kq
