// The real launcher program, started as a player starts it, from a folder of its own.
#include "../win/RunningLauncher.h"
#include "../win/TestFolder.h"
#include "common/IniDocument.h"
#include "common/InflateStream.h"
#include "common/SkinIni.h"
#include "paint/SkinModel.h"
#include "resources/ModuleResources.h"
#include "skins/SkinPackage.h"
#include "skins/StoredSkins.h"
#include "launcher/LauncherConfig.h"
#include "win/Handles.h"
#include "UiAutomation.h"
#include "win/SystemText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace kq {
namespace {

using win::test::LauncherCatalogue;
using win::test::ReadFileBytes;
using win::test::RunningLauncher;
using win::test::TestFolder;
using win::test::WriteFileBytes;

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[256] = {};
  ::GetWindowTextW(hwnd, buf, 256);
  return buf;
}

TEST(MainWindow, StartsWithDefaultsAndStoresTheSkinOnClose) {
  TestFolder game(L"game folder");
  RunningLauncher launcher(game.Path(), L"C:\\");
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);

  EXPECT_EQ(WindowText(main), L"ZA Vidudido Revo");
  EXPECT_TRUE(::IsWindowVisible(main));
  RECT client{};
  ::GetClientRect(main, &client);
  EXPECT_EQ(client.right, 243);
  EXPECT_EQ(client.bottom, 301);
  const LONG style = ::GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(::GetWindow(main, GW_OWNER), nullptr);

  // Centred on the desktop.
  RECT frame{};
  ::GetWindowRect(main, &frame);
  const int dx = (frame.left + frame.right) / 2 - ::GetSystemMetrics(SM_CXVIRTUALSCREEN) / 2;
  const int dy = (frame.top + frame.bottom) / 2 - ::GetSystemMetrics(SM_CYVIRTUALSCREEN) / 2;
  EXPECT_LE(std::abs(dx), 1);
  EXPECT_LE(std::abs(dy), 1);

  // The settings dialog exists from the start, hidden, owned by the main window.
  HWND settings = launcher.WaitForWindow(L"TfmSettings");
  ASSERT_NE(settings, nullptr);
  EXPECT_FALSE(::IsWindowVisible(settings));
  EXPECT_EQ(::GetWindow(settings, GW_OWNER), main);
  EXPECT_EQ(WindowText(settings), L" Настройки игры");

  // No file was written by starting.
  EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"), "");
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
  EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"), "[GUI]\r\nSkin=FM (internal)\r\n");
}

// The skinned window's effects play on their own: a close while one runs (the minimise, or
// the disappearance itself after a skin change's transition) still stores the skin and ends
// the program with 0, no message lost.
TEST(MainWindow, ACloseDuringAnEffectStillStoresTheSkinAndEndsWithZero) {
  const struct {
    const char* name;
    UINT before;
    WPARAM command;
  } cases[] = {
      {"plain close, the window shrinks away", 0, 0},
      {"close while minimising", WM_SYSCOMMAND, SC_MINIMIZE},
      {"close in the middle of a caption drag", WM_NCLBUTTONDOWN, HTCAPTION},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder game(L"game folder");
    WriteFileBytes(game / L"KQMiniLauncherSettings.ini", "[GUI]\r\nSkin=Air (internal)\r\n");
    RunningLauncher launcher(game.Path(), L"C:\\");
    HWND main = launcher.WaitForWindow(L"TfrmMain", true);
    ASSERT_NE(main, nullptr);
    RECT w;
    ::GetWindowRect(main, &w);
    if (c.before) ::PostMessageW(main, c.before, c.command, MAKELPARAM(w.left + 60, w.top + 10));
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"),
              "[GUI]\r\nSkin=Air (internal)\r\n");
  }
}

TEST(MainWindow, ReadsTheFileBesideItsExecutableAndKeepsItsOtherLines) {
  TestFolder game(L"game");
  TestFolder elsewhere(L"elsewhere");
  // A configuration in the working folder must not be the one read.
  WriteFileBytes(elsewhere / L"KQMiniLauncherSettings.ini", "[GUI]\r\nCaption=Wrong\r\n");
  const std::string content =
      "; launcher settings\r\n[GUI]\r\nCaption=\xCC\xEE\xE9 \xEB\xE0\xF3\xED\xF7\xE5\xF0\r\n"
      "Skin = Some Skin\r\n\r\n[LoginServer]\r\nIP=127.0.0.1\r\nPort=0x2711\r\n";
  WriteFileBytes(game / L"KQMiniLauncherSettings.ini", content);

  RunningLauncher launcher(game.Path(), elsewhere.Path().c_str());
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), L"Мой лаунчер");
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
  // No skin has that name: the first internal one is in force and goes into the skin's own
  // line; every other byte stays.
  std::string stored = content;
  stored.replace(stored.find("Some Skin"), 9, "Air (internal)");
  EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"), stored);
  EXPECT_EQ(ReadFileBytes(elsewhere / L"KQMiniLauncherSettings.ini"), "[GUI]\r\nCaption=Wrong\r\n");
}

// Every control of the stored layout, as another program sees it: found by name, at its
// place, with its text; the list's placeholder items are gone before the window shows.
TEST(MainWindow, ComesUpFromItsCompressedLayout) {
  TestFolder game(L"game");
  RunningLauncher launcher(game.Path(), game.Path().c_str());
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);
  struct Row {
    const wchar_t* name;
    RECT rect;  // in the window's client area; right and bottom 0 for auto-sized labels
    const wchar_t* text;
  };
  const Row rows[] = {
      {L"lblSelectServer", {74, 110, 0, 0}, L"Выбор сервера"},
      {L"sWebLabel1", {161, 280, 0, 0}, L"DO Rizura"},
      {L"lblError", {8, 261, 11, 0}, L""},
      {L"edtLogin", {8, 8, 235, 32}, L""},
      {L"btnStart", {8, 70, 115, 99}, L"Запуск"},
      {L"edtPass", {8, 39, 235, 63}, L""},
      {L"btnSettings", {128, 70, 235, 99}, L"Настройки"},
      {L"lbWorlds", {8, 132, 235, 255}, L""},
  };
  for (const Row& row : rows) {
    HWND h = ui::FindNamed(main, row.name);
    ASSERT_NE(h, nullptr) << row.name;
    EXPECT_EQ(::GetParent(h), main) << row.name;
    const RECT r = ui::RectInParent(h);
    EXPECT_EQ(r.left, row.rect.left) << row.name;
    EXPECT_EQ(r.top, row.rect.top) << row.name;
    if (row.rect.right) {
      EXPECT_EQ(r.right, row.rect.right) << row.name;
    }
    if (row.rect.bottom) {
      EXPECT_EQ(r.bottom, row.rect.bottom) << row.name;
    }
    EXPECT_EQ(ui::Text(h), row.text) << row.name;
    EXPECT_TRUE(ui::Enabled(h)) << row.name;
  }
  HWND list = ui::FindNamed(main, L"lbWorlds");
  EXPECT_TRUE(ui::Items(list).empty());
  EXPECT_TRUE(::GetWindowLongW(list, GWL_STYLE) & LBS_OWNERDRAWFIXED);
  EXPECT_EQ(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 20);
  EXPECT_EQ(::SendMessageW(ui::FindNamed(main, L"edtPass"), EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(::SendMessageW(ui::FindNamed(main, L"edtLogin"), EM_GETPASSWORDCHAR, 0, 0), 0);

  // Neither button is the default one: a button's own code says so.
  for (const wchar_t* b : {L"btnStart", L"btnSettings"}) {
    EXPECT_FALSE(::SendMessageW(ui::FindNamed(main, b), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
        << b;
  }

  const std::wstring shot = win::test::ArtifactsFolder() + L"main-window.bmp";
  ::SetForegroundWindow(main);
  ::Sleep(300);  // let the window finish painting
  ASSERT_TRUE(ui::SaveScreenshot(main, shot));
  EXPECT_GT(win::test::DistinctColours(shot), 8);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
}

// The built program's own resource carries the internal skin catalogue: read from the
// executable's image as the form loader reads it, without starting the program.
// The internal skin catalogue as the built launcher stores it in its main window's layout.
TEST(MainWindow, ResourceHoldsTheInternalSkinCatalogue) {
  const TsStoredSkins skins = LauncherCatalogue();
  ASSERT_EQ(skins.Count(), 74u);
  EXPECT_EQ(skins[0].Name, u"Air (internal)");
  EXPECT_EQ(skins.IndexOf(u"FM (internal)"), 17);
  EXPECT_EQ(skins[73].Name, u"Zest (internal)");
  // A package unpacks here as well: the option file and its images.
  auto skin = std::make_unique<TacSkinConvertor>();
  skin->PackedData = PackedBytes::Lent(skins[17].PackedData);
  ExtractPackedData(skin, Cp1251Codec());
  skin->PackedData = {};
  ASSERT_TRUE(skin->Options.has_value());
  EXPECT_NE(std::string(AsChars(*skin->Options)).find("[GLOBALINFO]\r\nVERSION="),
            std::string::npos);
  // Every image the option file names is in the package.
  std::set<std::string> images;
  for (const TacImageItem& item : skin->Images())
    images.insert(std::string(item.FileName.begin(), item.FileName.end()));
  EXPECT_FALSE(images.empty());
  const std::string options(AsChars(*skin->Options));
  for (const char* key : {"\r\nIMAGE=", "\r\nGLYPH="}) {
    for (std::size_t at = options.find(key); at != std::string::npos;
         at = options.find(key, at + 1)) {
      const std::size_t start = at + std::strlen(key);
      const std::string file = options.substr(start, options.find('\r', start) - start);
      EXPECT_TRUE(images.contains(file)) << file;
    }
  }
}

// The skin in force when the window closes is the one stored: the configured one when it is
// found, the first internal skin when nothing has the name, the layout's own skin when the
// configured one fails to load (after the error box). The layout's skin directory c:\Skins
// belongs to the whole prefix: the test's packages have names of their own and go again.
TEST(MainWindow, StoresTheSkinInForceWhenItCloses) {
  const TsStoredSkins catalogue = LauncherCatalogue();
  ASSERT_EQ(catalogue.Count(), 74u);
  const bool madeDirectory = ::CreateDirectoryW(L"C:\\Skins", nullptr) != 0;
  const std::wstring good = L"C:\\Skins\\KQ Test Good.asz";
  const std::wstring bad = L"C:\\Skins\\KQ Test Bad.asz";
  const std::wstring cut = L"C:\\Skins\\KQ Test Cut.asz";
  const std::string package(AsChars(catalogue[17].PackedData));
  WriteFileBytes(good, package);
  WriteFileBytes(bad, "not a skin package at all");
  WriteFileBytes(cut, package.substr(0, 10));

  const struct {
    const char* configured;
    const char* stored;
    const wchar_t* box;
  } cases[] = {
      {"FM (internal)", "FM (internal)", L""},
      {"Zest (internal)", "Zest (internal)", L""},
      {"Nope", "Air (internal)", L""},
      {"fm (internal)", "Air (internal)", L""},  // names of internal skins are exact
      {"KQ Test Good.asz", "KQ Test Good", L""},
      {"KQ Test Good", "KQ Test Good", L""},
      {"KQ Test Bad", "iOS4 (internal)", L"Loaded data is not a packed skin file"},
      {"KQ Test Cut", "iOS4 (internal)",
       L"Stream read error: the package is too short for its entry count"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.configured);
    TestFolder game(L"game");
    WriteFileBytes(game / L"KQMiniLauncherSettings.ini",
                   std::string("[GUI]\r\nSkin=") + c.configured + "\r\n");
    RunningLauncher launcher(game.Path(), game.Path().c_str());
    if (*c.box) {
      EXPECT_EQ(ui::TakeMessageBox(launcher.Pid()), c.box);
    }
    HWND main = launcher.WaitForWindow(L"TfrmMain", true);
    ASSERT_NE(main, nullptr);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"),
              std::string("[GUI]\r\nSkin=") + c.stored + "\r\n");
  }
  ::DeleteFileW(good.c_str());
  ::DeleteFileW(bad.c_str());
  ::DeleteFileW(cut.c_str());
  if (madeDirectory) ::RemoveDirectoryW(L"C:\\Skins");
}

// The skin menu of the window menu, as the player uses it: opening the window menu builds it
// (the 74 internal skins sorted, "Zest (internal)" last), choosing an item sets that skin,
// which is stored at close. Without SkinMenu=1 there is no such item to choose.
TEST(MainWindow, TheSkinMenuSetsTheSkin) {
  const struct {
    const char* skinMenu;
    const char* stored;
  } cases[] = {{"1", "Zest (internal)"}, {"0", "FM (internal)"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.skinMenu);
    TestFolder game(L"game");
    const std::string config = std::string("[GUI]\r\nSkinMenu=") + c.skinMenu + "\r\nSkin=";
    WriteFileBytes(game / L"KQMiniLauncherSettings.ini", config + "FM (internal)\r\n");
    RunningLauncher launcher(game.Path(), game.Path().c_str());
    HWND main = launcher.WaitForWindow(L"TfrmMain", true);
    ASSERT_NE(main, nullptr);
    ::SendMessageW(main, WM_INITMENUPOPUP, 0, MAKELPARAM(0, TRUE));
    ::SendMessageW(main, WM_SYSCOMMAND, 0x1000 + 73 * 0x10, 0);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher.WaitForExit(), 0);
    EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"), config + c.stored + "\r\n");
  }
}

// Every internal skin, chosen in turn from the skin menu of one running launcher, loads
// without an error box and repaints the main window at once, each unlike the one before;
// the settings dialog takes the skin too. The captures stay in the artifacts folder.
TEST(MainWindow, EveryInternalSkinPaintsLive) {
  TestFolder game(L"game");
  WriteFileBytes(game / L"KQMiniLauncherSettings.ini",
                 "[GUI]\r\nSkinMenu=1\r\nSkin=FM (internal)\r\n");
  RunningLauncher launcher(game.Path(), game.Path().c_str());
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);
  HWND settings = launcher.WaitForWindow(L"TfmSettings");
  ASSERT_NE(settings, nullptr);
  ::SetForegroundWindow(main);
  std::set<COLORREF> captions;
  COLORREF previous = CLR_INVALID;
  constexpr int kSkins = 74;
  for (int i = 0; i < kSkins; ++i) {
    SCOPED_TRACE(i);
    ::SendMessageW(main, WM_INITMENUPOPUP, 0, MAKELPARAM(0, TRUE));
    DWORD_PTR answer = 0;
    // A skin that fails shows its error box, and the choice does not return meanwhile.
    ASSERT_TRUE(::SendMessageTimeoutW(main, WM_SYSCOMMAND, 0x1000 + i * 0x10, 0, SMTO_NORMAL,
                                      10000, &answer))
        << ui::TakeMessageBox(launcher.Pid(), 0);
    EXPECT_EQ(ui::WaitTopWindow(L"#32770", 0, launcher.Pid(), true), nullptr);
    const COLORREF caption = win::test::WindowPixel(main, 6, 8);
    EXPECT_NE(caption, previous);
    previous = caption;
    captions.insert(caption);
    const std::wstring shot =
        win::test::ArtifactsFolder() + L"skin-" + std::to_wstring(i) + L".bmp";
    ASSERT_TRUE(ui::SaveScreenshot(main, shot));
    EXPECT_GT(win::test::DistinctColours(shot), 8);
    if (i % 25 == 0) {
      // The settings dialog, modal, in the same skin: shown, taken, closed.
      ui::Click(ui::FindNamed(main, L"btnSettings"));
      ASSERT_NE(ui::WaitTopWindow(L"TfmSettings", 10000, launcher.Pid(), true), nullptr);
      ::Sleep(300);
      const std::wstring dialog =
          win::test::ArtifactsFolder() + L"skin-" + std::to_wstring(i) + L"-settings.bmp";
      ASSERT_TRUE(ui::SaveScreenshot(settings, dialog));
      EXPECT_GT(win::test::DistinctColours(dialog), 8);
      ::PostMessageW(settings, WM_CLOSE, 0, 0);
      for (int wait = 0; wait < 100 && ::IsWindowVisible(settings); ++wait) ::Sleep(50);
      EXPECT_FALSE(::IsWindowVisible(settings));
    }
  }
  // Different skins look different.
  EXPECT_GE(captions.size(), 50u);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
}

// "/acver" in any letter case shows the skin engine's version once, before the main window
// is made; the program then starts as usual.
TEST(MainWindow, TheVersionSwitchShowsTheSkinEngineVersionFirst) {
  TestFolder game(L"game");
  RunningLauncher launcher(game.Path(), game.Path().c_str(), L"-x /ACVER");
  HWND box = ui::WaitTopWindow(L"#32770", 15000, launcher.Pid(), true);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ui::WaitTopWindow(L"TfrmMain", 0, launcher.Pid()), nullptr);
  EXPECT_EQ(ui::TakeMessageBox(launcher.Pid()), L"Skin engine v9.19");
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ui::WaitTopWindow(L"#32770", 300, launcher.Pid(), true), nullptr);  // only once
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
}

// The model of an internal skin, from the launcher's catalogue.
paint::SkinModel InternalSkinModel(const TsStoredSkins& catalogue, std::u16string_view name) {
  const int index = catalogue.IndexOf(name);
  EXPECT_GE(index, 0);
  if (index < 0) return {};
  auto skin = std::make_unique<TacSkinConvertor>();
  skin->PackedData = PackedBytes::Lent(catalogue[static_cast<std::size_t>(index)].PackedData);
  ExtractPackedData(skin, Cp1251Codec());
  if (!skin->Options) return {};
  std::u16string text;
  for (unsigned char c : std::string(AsChars(*skin->Options))) text += static_cast<char16_t>(c);
  return paint::BuildSkinModel(SkinIni::Parse(text)).model;
}

// Colours down the middle of another process's window's vertical scroll bar (its scroll
// information stays in that process): the bar is the system's width right of the client
// area.
std::vector<COLORREF> ScrollBarColumn(HWND hwnd) {
  RECT client;
  ::GetClientRect(hwnd, &client);
  POINT corner{client.right, client.bottom};
  ::ClientToScreen(hwnd, &corner);
  RECT window;
  ::GetWindowRect(hwnd, &window);
  const int x = corner.x + ::GetSystemMetrics(SM_CXVSCROLL) / 2 - window.left;
  std::vector<COLORREF> column;
  for (int y = corner.y - client.bottom; y < corner.y; ++y)
    column.push_back(win::test::WindowPixel(hwnd, x, y - window.top));
  return column;
}

// The visible dropped-down list of a process's combo box.
HWND DroppedList(DWORD pid) {
  for (HWND w = ::FindWindowExW(nullptr, nullptr, L"ComboLBox", nullptr); w;
       w = ::FindWindowExW(nullptr, w, L"ComboLBox", nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    if (owner == pid && ::IsWindowVisible(w)) return w;
  }
  return nullptr;
}

// In a dark and a light internal skin the world list, holding more than it shows, has the
// skin's scroll bar and none of the system's grey; in the settings dialog a dropped-down
// list shows its items in the skin's list colour and the selected one in its selection
// colour.
// The captures stay in the artifacts folder.
TEST(MainWindow, ScrollBarsAndDroppedListsWearTheSkin) {
  const TsStoredSkins catalogue = LauncherCatalogue();
  const struct {
    const char* name;
    const char16_t* skin;
    const wchar_t* shot;
  } cases[] = {{"Black Box (internal)", u"Black Box (internal)", L"scroll-dark"},
               {"Air (internal)", u"Air (internal)", L"scroll-light"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const paint::SkinModel model = InternalSkinModel(catalogue, c.skin);
    const COLORREF track = model[paint::SectionId::kScrollBar].In(paint::State::kNormal).color;
    const COLORREF selection =
        model[paint::SectionId::kSelection].In(paint::State::kNormal).color;
    TestFolder game(L"game");
    WriteFileBytes(game / L"KQMiniLauncherSettings.ini",
                   std::string("[GUI]\r\nSkin=") + c.name + "\r\n");
    RunningLauncher launcher(game.Path(), game.Path().c_str());
    HWND main = launcher.WaitForWindow(L"TfrmMain", true);
    ASSERT_NE(main, nullptr);
    ::SetForegroundWindow(main);
    HWND list = ui::FindNamed(main, L"lbWorlds");
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 24; ++i) {
      const std::wstring name = L"World " + std::to_wstring(i + 1);
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    ::SendMessageW(list, LB_SETCURSEL, 9, 0);
    ::SendMessageW(list, LB_SETTOPINDEX, 6, 0);
    ::Sleep(400);
    const std::vector<COLORREF> column = ScrollBarColumn(list);
    ASSERT_FALSE(column.empty());
    EXPECT_NE(std::find(column.begin(), column.end(), track), column.end());
    EXPECT_EQ(std::find(column.begin(), column.end(), ::GetSysColor(COLOR_SCROLLBAR)),
              column.end());
    ASSERT_TRUE(ui::SaveScreenshot(main, win::test::ArtifactsFolder() + c.shot + L"-main.bmp"));

    ui::Click(ui::FindNamed(main, L"btnSettings"));
    HWND settings = ui::WaitTopWindow(L"TfmSettings", 10000, launcher.Pid(), true);
    ASSERT_NE(settings, nullptr);
    HWND combo = ui::FindNamed(settings, L"CbResolution");
    ASSERT_NE(combo, nullptr);
    ASSERT_GT(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 12);
    ::SendMessageW(combo, CB_SETCURSEL, 10, 0);
    ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ::Sleep(500);
    HWND dropped = DroppedList(launcher.Pid());
    ASSERT_NE(dropped, nullptr);
    const auto top = ::SendMessageW(dropped, LB_GETTOPINDEX, 0, 0);
    const auto height = ::SendMessageW(dropped, LB_GETITEMHEIGHT, 0, 0);
    RECT client;
    ::GetClientRect(dropped, &client);
    EXPECT_EQ(win::test::ClientPixel(dropped, client.right - 4,
                                     static_cast<int>((10 - top) * height + height / 2)),
              selection);
    EXPECT_EQ(win::test::ClientPixel(dropped, client.right - 4,
                                     static_cast<int>((11 - top) * height + height / 2)),
              model[paint::SectionId::kComboList].In(paint::State::kNormal).color);
    ASSERT_TRUE(ui::SaveScreenshot(::GetDesktopWindow(),
                                   win::test::ArtifactsFolder() + c.shot + L"-settings.bmp"));
    ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    ::PostMessageW(settings, WM_CLOSE, 0, 0);
    for (int wait = 0; wait < 100 && ::IsWindowVisible(settings); ++wait) ::Sleep(50);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher.WaitForExit(), 0);
  }
}

}  // namespace
}  // namespace kq
