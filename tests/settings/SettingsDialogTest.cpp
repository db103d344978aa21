// The settings dialog of the running launcher, built hidden from its compressed layout.
#include "../win/RunningLauncher.h"
#include "../win/TestFolder.h"
#include "UiAutomation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <ostream>

namespace kq {
namespace {

using win::test::ReadFileBytes;
using win::test::RunningLauncher;
using win::test::TestFolder;
using win::test::WriteFileBytes;

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

// What the dialog's controls show, read from outside as a player sees them.
struct Shown {
  int textures, dynLight, glow, shadows;  // the checked choice, -1 for none
  bool music, eff, mouseAcc, textureDet, windowed;
  std::wstring gamma, resolution;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
  auto narrow = [](const std::wstring& w) {
    std::string out;
    for (wchar_t c : w) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
  };
  *os << "{" << s.textures << "," << s.dynLight << "," << s.glow << "," << s.shadows << " | "
      << s.music << s.eff << s.mouseAcc << s.textureDet << s.windowed << " | " << narrow(s.gamma)
      << " | " << narrow(s.resolution) << "}";
}

bool WaitUntil(const std::function<bool()>& done, int ms = 10000) {
  for (int waited = 0; !done(); waited += 20) {
    if (waited >= ms) return false;
    ::Sleep(20);
  }
  return true;
}

// The launcher in a fresh game folder, with the game's N4Engine.ini as given (none when
// null), its main window up.
class SettingsRun {
 public:
  explicit SettingsRun(const char* engineIni) : game_(L"game") {
    if (engineIni) WriteFileBytes(IniPath(), engineIni);
    launcher_.emplace(game_.Path(), game_.Path().c_str());
    main_ = launcher_->WaitForWindow(L"TfrmMain", true);
    dialog_ = launcher_->WaitForWindow(L"TfmSettings");
  }
  ~SettingsRun() {
    ::SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    if (main_) ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(launcher_->WaitForExit(), 0);
  }

  bool Started() const { return main_ && dialog_; }
  HWND Main() const { return main_; }
  HWND Dialog() const { return dialog_; }
  HWND Named(const wchar_t* name) const { return ui::FindNamed(dialog_, name); }
  std::wstring IniPath() const { return game_ / L"N4Engine.ini"; }
  std::string Ini() const { return ReadFileBytes(IniPath()); }
  const RunningLauncher& Launcher() const { return *launcher_; }

  // The player presses Settings on the main window.
  bool Open() const {
    ui::Click(ui::FindNamed(main_, L"btnSettings"));
    return WaitUntil([&] { return ::IsWindowVisible(dialog_) != 0; });
  }
  bool WaitClosed() const {
    return WaitUntil([&] { return !::IsWindowVisible(dialog_) && ui::Enabled(main_); });
  }
  bool PressOk() const {
    ui::Click(Named(L"btnOk"));
    return WaitClosed();
  }

  // Messages posted to the dialog's thread before this are handled once it returns: a
  // check box toggled by a posted message shows the queue got that far.
  void Settle() const {
    HWND box = Named(L"CbTextureDet");
    const auto before = ::SendMessageW(box, BM_GETCHECK, 0, 0);
    ::PostMessageW(box, BM_SETCHECK, before == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(box, BM_GETCHECK, 0, 0) != before; }));
    ::PostMessageW(box, BM_SETCHECK, before, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == before; }));
  }

  Shown Controls() const {
    auto choice = [&](const wchar_t* group) {
      for (int i = 0;; ++i) {
        HWND b = Named((std::wstring(group) + L"[" + std::to_wstring(i) + L"]").c_str());
        if (!b) return -1;
        if (::SendMessageW(b, BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
      }
    };
    auto checked = [&](const wchar_t* box) {
      return ::SendMessageW(Named(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    return {choice(L"RgTextures"),
            choice(L"RgDynLight"),
            choice(L"RgGlow"),
            choice(L"RgShadows"),
            checked(L"CbMusic"),
            checked(L"CbEff"),
            checked(L"CbMouseAcc"),
            checked(L"CbTextureDet"),
            checked(L"CbFullScr"),
            ui::Text(Named(L"CbGamma")),
            ui::Text(Named(L"CbResolution"))};
  }

 private:
  TestFolder game_;
  std::optional<RunningLauncher> launcher_;
  HWND main_ = nullptr;
  HWND dialog_ = nullptr;
};

const Shown kDefaults{0, 0, 0, 0, true, true, true, true, true, L"1.2", L"800x600x16"};

TEST(SettingsDialog, WithoutAFileShowsTheDefaultsModallyAndOkCreatesIt) {
  SettingsRun run(nullptr);
  ASSERT_TRUE(run.Started());
  ASSERT_TRUE(run.Open());
  EXPECT_EQ(run.Controls(), kDefaults);

  // Modal over the main window and centred on it.
  EXPECT_EQ(::GetWindow(run.Dialog(), GW_OWNER), run.Main());
  EXPECT_FALSE(ui::Enabled(run.Main()));
  RECT d{}, m{};
  ::GetWindowRect(run.Dialog(), &d);
  ::GetWindowRect(run.Main(), &m);
  EXPECT_LE(std::abs((d.left + d.right) - (m.left + m.right)), 2);
  EXPECT_LE(std::abs((d.top + d.bottom) - (m.top + m.bottom)), 2);

  ::SetForegroundWindow(run.Dialog());
  ::Sleep(300);  // let the dialog finish painting
  const std::wstring shot = win::test::ArtifactsFolder() + L"settings-dialog-shown.bmp";
  ASSERT_TRUE(ui::SaveScreenshot(run.Dialog(), shot));
  EXPECT_GT(win::test::DistinctColours(shot), 8);

  // Enter and Escape press no button: neither button is a default or cancel button.
  HWND edit = ::FindWindowExW(run.Named(L"CbResolution"), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  for (HWND target : {run.Dialog(), edit}) {
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
      ::PostMessageW(target, WM_KEYDOWN, key, 1);
      ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    }
  }
  run.Settle();
  EXPECT_TRUE(::IsWindowVisible(run.Dialog()));
  EXPECT_EQ(run.Ini(), "");

  ASSERT_TRUE(run.PressOk());
  // RenderState first, as its key is written first; each section's keys in write order.
  EXPECT_EQ(run.Ini(),
            "[RenderState]\r\nTextureDetail=0\r\nDynamicLight=0\r\nBboShasi=0\r\nShadowDetail=0\r\n"
            "bMouseAccelation=TRUE\r\nbDetailTexture=TRUE\r\nbFullScreen=FALSE\r\nGamma=1.2\r\n"
            "ScreenXSize=800\r\nScreenYSize=600\r\nRenderBits=16\r\n[Sound]\r\nMusic=TRUE\r\n"
            "Sound=TRUE\r\n");
}

// Showing loads every control from the file; OK without changes writes each value in its
// normal form and leaves every other byte of the file where it was.
TEST(SettingsDialog, OkWithoutChangesNormalisesAndKeepsTheRestByteForByte) {
  const struct {
    const char* name;
    const char* before;
    Shown shown;
    const char* after;
  } cases[] = {
      {"out-of-range levels, lower-case true, hexadecimal size",
       "[RenderState]\r\nTextureDetail=7\r\nDynamicLight=-5\r\nBboShasi=2\r\nShadowDetail=-1\r\n"
       "bMouseAccelation=FALSE\r\nbDetailTexture=True\r\nbFullScreen=TRUE\r\nGamma=1.5\r\n"
       "ScreenXSize=0x400\r\nScreenYSize=768\r\nRenderBits=32\r\n[Sound]\r\nMusic=true\r\n"
       "Sound=TRUE\r\n",
       {3, -1, 2, -1, false, true, false, false, false, L"1.5", L"1024x768x32"},
       "[RenderState]\r\nTextureDetail=3\r\nDynamicLight=-1\r\nBboShasi=2\r\nShadowDetail=-1\r\n"
       "bMouseAccelation=FALSE\r\nbDetailTexture=FALSE\r\nbFullScreen=TRUE\r\nGamma=1.5\r\n"
       "ScreenXSize=1024\r\nScreenYSize=768\r\nRenderBits=32\r\n[Sound]\r\nMusic=FALSE\r\n"
       "Sound=TRUE\r\n"},
      {"a mode not in the list, with other sections, comments and unknown keys",
       "; game settings\r\n[Camera]\r\nDistance = 35\r\n\r\n[RenderState]\r\n"
       "; the launcher's keys\r\nFarClip   =  12000.0\r\nScreenXSize = 1366\r\n"
       "ScreenYSize=\"768\"\r\nRenderBits=32\r\nTextureDetail=1\r\n\r\n[Sound]\r\nVolume=80\r\n"
       "Music=FALSE\r\n[Net]\r\nTimeout=5\r\n",
       {1, 0, 0, 0, false, true, true, true, true, L"1.2", L"1366x768x32"},
       "; game settings\r\n[Camera]\r\nDistance = 35\r\n\r\n[RenderState]\r\n"
       "; the launcher's keys\r\nFarClip   =  12000.0\r\nScreenXSize = 1366\r\n"
       "ScreenYSize=768\r\nRenderBits=32\r\nTextureDetail=1\r\nDynamicLight=0\r\nBboShasi=0\r\n"
       "ShadowDetail=0\r\nbMouseAccelation=TRUE\r\nbDetailTexture=TRUE\r\nbFullScreen=FALSE\r\n"
       "Gamma=1.2\r\n\r\n[Sound]\r\nVolume=80\r\nMusic=FALSE\r\nSound=TRUE\r\n[Net]\r\n"
       "Timeout=5\r\n"},
      {"section and key names in other letter case",
       "[renderstate]\r\ntexturedetail = 2\r\ngamma=1.6\r\nSCREENXSIZE=1280\r\n"
       "screenysize=720\r\nRENDERBITS=32\r\nbfullscreen=TRUE\r\n[SOUND]\r\nmusic=FALSE\r\n"
       "SOUND=FALSE\r\n",
       {2, 0, 0, 0, false, false, true, true, false, L"1.6", L"1280x720x32"},
       "[renderstate]\r\ntexturedetail = 2\r\ngamma=1.6\r\nSCREENXSIZE=1280\r\n"
       "screenysize=720\r\nRENDERBITS=32\r\nbfullscreen=TRUE\r\nDynamicLight=0\r\nBboShasi=0\r\n"
       "ShadowDetail=0\r\nbMouseAccelation=TRUE\r\nbDetailTexture=TRUE\r\n[SOUND]\r\n"
       "music=FALSE\r\nSOUND=FALSE\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsRun run(c.before);
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.Open());
    EXPECT_EQ(run.Controls(), c.shown);
    ASSERT_TRUE(run.PressOk());
    EXPECT_EQ(run.Ini(), c.after);
  }
}

TEST(SettingsDialog, PickingAnEntrySetsTheModeFromItsRowAndShowsItsText) {
  const struct {
    int entry;
    const wchar_t* text;
    const char* mode;  // as written
  } picks[] = {
      {25,
       L"1920\x0445"
       L"1080x32",
       "ScreenXSize=1920\r\nScreenYSize=1080\r\nRenderBits=32\r\n"},
      {9, L"1220x1024x16", "ScreenXSize=1220\r\nScreenYSize=1024\r\nRenderBits=16\r\n"},
      {0, L"800x600x16", "ScreenXSize=800\r\nScreenYSize=600\r\nRenderBits=16\r\n"},
  };
  SettingsRun run("[RenderState]\r\nScreenXSize=1366\r\nScreenYSize=768\r\nRenderBits=32\r\n");
  ASSERT_TRUE(run.Started());
  for (const auto& p : picks) {
    SCOPED_TRACE(p.entry);
    ASSERT_TRUE(run.Open());
    ASSERT_TRUE(ui::SelectEntry(run.Named(L"CbResolution"), p.entry));
    EXPECT_EQ(ui::Text(run.Named(L"CbResolution")), p.text);
    ASSERT_TRUE(run.PressOk());
    EXPECT_NE(run.Ini().find(p.mode), std::string::npos) << run.Ini();
  }
  // A pick before Cancel is forgotten: the next showing shows the file's mode, and picking
  // that same entry again sets its mode.
  ASSERT_TRUE(run.Open());
  ASSERT_TRUE(ui::SelectEntry(run.Named(L"CbResolution"), 25));
  ui::Click(run.Named(L"btnCancel"));
  ASSERT_TRUE(run.WaitClosed());
  ASSERT_TRUE(run.Open());
  EXPECT_EQ(ui::Text(run.Named(L"CbResolution")), L"800x600x16");
  ASSERT_TRUE(ui::SelectEntry(run.Named(L"CbResolution"), 25));
  ASSERT_TRUE(run.PressOk());
  EXPECT_NE(run.Ini().find("ScreenXSize=1920\r\nScreenYSize=1080\r\nRenderBits=32\r\n"),
            std::string::npos)
      << run.Ini();
}

TEST(SettingsDialog, TypingIntoEitherComboBoxChangesNothing) {
  SettingsRun run("[RenderState]\r\nGamma=1.4\r\nScreenXSize=1024\r\nScreenYSize=768\r\n");
  ASSERT_TRUE(run.Started());
  ASSERT_TRUE(run.Open());
  for (const wchar_t* name : {L"CbResolution", L"CbGamma"}) {
    SCOPED_TRACE(name);
    HWND combo = run.Named(name);
    HWND edit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    const std::wstring before = ui::Text(combo);
    // With the whole text selected, any character that got through would replace it.
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t ch : {L'7', L'a', L'Z', L'\b'}) ::PostMessageW(edit, WM_CHAR, ch, 1);
    run.Settle();
    EXPECT_EQ(ui::Text(combo), before);
  }
  ASSERT_TRUE(run.PressOk());
  EXPECT_EQ(
      run.Ini(),
      "[RenderState]\r\nGamma=1.4\r\nScreenXSize=1024\r\nScreenYSize=768\r\nTextureDetail=0\r\n"
      "DynamicLight=0\r\nBboShasi=0\r\nShadowDetail=0\r\nbMouseAccelation=TRUE\r\n"
      "bDetailTexture=TRUE\r\nbFullScreen=FALSE\r\nRenderBits=16\r\n[Sound]\r\nMusic=TRUE\r\n"
      "Sound=TRUE\r\n");
}

// Every way of closing but OK writes nothing; the next showing shows the file again, not
// what was left in the controls.
TEST(SettingsDialog, CancelCloseBoxAndAltF4WriteNothing) {
  const char* kFile =
      "; keep me\r\n[RenderState]\r\nTextureDetail = 2\r\nbFullScreen=TRUE\r\nGamma=1.8\r\n"
      "ScreenXSize=1280\r\nScreenYSize=800\r\nRenderBits=32\r\n\r\n[Sound]\r\nMusic=FALSE\r\n";
  const Shown kFromFile{2, 0, 0, 0, false, true, true, true, false, L"1.8", L"1280x800x32"};
  const struct {
    const char* name;
    std::function<void(const SettingsRun&)> close;
  } ways[] = {
      {"Cancel", [](const SettingsRun& r) { ui::Click(r.Named(L"btnCancel")); }},
      {"close box",
       [](const SettingsRun& r) { ::PostMessageW(r.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Alt+F4",
       [](const SettingsRun& r) {
         ::PostMessageW(r.Dialog(), WM_SYSKEYDOWN, VK_F4, 1 | (0x3E << 16) | (1 << 29));
       }},
  };
  SettingsRun run(kFile);
  ASSERT_TRUE(run.Started());
  for (const auto& w : ways) {
    SCOPED_TRACE(w.name);
    ASSERT_TRUE(run.Open());
    EXPECT_EQ(run.Controls(), kFromFile);
    // Change a little of everything.
    ui::Click(run.Named(L"CbMusic"));
    ui::Click(run.Named(L"CbFullScr"));
    ui::Click(run.Named(L"RgShadows[3]"));
    ASSERT_TRUE(ui::SelectEntry(run.Named(L"CbResolution"), 13));
    ASSERT_TRUE(ui::SelectEntry(run.Named(L"CbGamma"), 0));
    run.Settle();
    EXPECT_NE(run.Controls(), kFromFile);
    w.close(run);
    ASSERT_TRUE(run.WaitClosed());
    EXPECT_EQ(run.Ini(), kFile);
  }
  ASSERT_TRUE(run.Open());
  EXPECT_EQ(run.Controls(), kFromFile);
}

// Minimised with the main window, the system hides the dialog with its owner, and shows it
// again on restoring: the dialog is still open, modal, with the player's changes, and OK
// writes them.
TEST(SettingsDialog, HiddenWithTheMainWindowItStaysOpenWithItsChanges) {
  const char* kFile = "[Sound]\r\nMusic=TRUE\r\n";
  SettingsRun run(kFile);
  ASSERT_TRUE(run.Started());
  ASSERT_TRUE(run.Open());
  ui::Click(run.Named(L"CbMusic"));
  ASSERT_TRUE(ui::SelectEntry(run.Named(L"CbGamma"), 0));
  run.Settle();
  const Shown changed = run.Controls();

  // What an owned window is sent when its owner is minimised, then restored.
  ::SendMessageW(run.Dialog(), WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
  EXPECT_FALSE(::IsWindowVisible(run.Dialog()));
  ::SendMessageW(run.Dialog(), WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(run.Dialog()) != 0; }));
  run.Settle();
  EXPECT_FALSE(ui::Enabled(run.Main())) << "the dialog is no longer modal";
  EXPECT_EQ(run.Controls(), changed);

  ASSERT_TRUE(run.PressOk());
  const std::string ini = run.Ini();
  EXPECT_NE(ini.find("Music=FALSE"), std::string::npos) << ini;
  std::string gamma;  // digits and a point
  for (wchar_t c : changed.gamma) gamma += static_cast<char>(c);
  EXPECT_NE(ini.find("Gamma=" + gamma + "\r\n"), std::string::npos) << ini;
}

// A refused write: the error box names the full path, with a full stop; after it the dialog
// closes and the file is as it was.
TEST(SettingsDialog, ARefusedWriteShowsTheErrorBoxAndClosesTheDialog) {
  const char* kFile = "[RenderState]\r\nTextureDetail=1\r\n";
  SettingsRun run(kFile);
  ASSERT_TRUE(run.Started());
  ASSERT_TRUE(::SetFileAttributesW(run.IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(run.Open());
  ui::Click(run.Named(L"CbMusic"));
  ui::Click(run.Named(L"btnOk"));
  HWND box = run.Launcher().WaitForWindow(L"#32770", true);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ui::Text(box), L"Error");
  EXPECT_EQ(::GetWindow(box, GW_OWNER), run.Dialog());
  std::vector<std::wstring> texts;
  for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    texts.push_back(ui::Text(c));
  }
  const std::wstring expected = L"Unable to write to " + run.IniPath() + L".";
  EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end())
      << "the box does not say \"Unable to write to <full path>.\"";
  // The dialog waits for the box.
  EXPECT_TRUE(::IsWindowVisible(run.Dialog()));
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(run.WaitClosed());
  EXPECT_EQ(run.Ini(), kFile);
}

}  // namespace
}  // namespace kq
