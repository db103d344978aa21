// The preview channel under Windows: the application window's handling of the copy-data
// message in this process, then the real launcher taking previews from this program and
// from the KQSkinPreview tool, read back from the screen.
#include "../win/RunningLauncher.h"
#include "../support/ProgramForms.h"
#include "../win/TestFolder.h"
#include "UiAutomation.h"
#include "paint/SkinPainter.h"
#include "resources/ModuleResources.h"
#include "skins/ApplicationWindow.h"
#include "skins/PreviewBuffer.h"
#include "skins/SkinService.h"
#include "ui/Form.h"
#include "win/SystemText.h"
#include "win/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace kq {
namespace {

using win::test::ArtifactsFolder;
using win::test::ClientPixel;
using win::test::PumpMessages;
using win::test::ReadFileBytes;
using win::test::RunningLauncher;
using win::test::TestFolder;
using win::test::WriteFileBytes;

const win::SystemAnsiCodec kCodec;

// The copy-data message as a sender sends it; the receiver's answer (0 when not taken or
// when it did not answer).
LRESULT SendCopyData(HWND to, WPARAM tag, const void* data, std::size_t size) {
  COPYDATASTRUCT cds{};
  cds.cbData = static_cast<DWORD>(size);
  cds.lpData = const_cast<void*>(data);
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutW(to, WM_COPYDATA, tag, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG,
                        10000, &answer);
  return static_cast<LRESULT>(answer);
}

std::string Text(std::u16string_view s) {
  return std::string(kCodec.ToAnsi(s));
}

// A flat skin of one form colour; the rest is the same in every skin of these tests.
std::string FlatSkin(const char* formColour) {
  return std::string("[GLOBALINFO]\r\nVERSION=9\r\n[FORM]\r\nCOLOR=") + formColour +
         "\r\nFONTCOLOR=#F0F0F0\r\n[CAPTION]\r\nCOLOR=#202040\r\nFONTCOLOR=#FFFFFF\r\nHEIGHT=24\r\n"
         "[BORDER]\r\nWIDTH=3\r\nCOLOR=#303030\r\nBORDERCOLOR=#606060\r\n";
}

Bytes Buffer(const std::wstring& name, const std::wstring& dir, const std::string& text) {
  return BuildPreviewBuffer(win::U16(name), win::U16(dir), AsBytes(text), kCodec);
}

// Answers (and records) every message box this process shows while it lives: a box shown
// by a preview in this process would otherwise wait for a click that never comes.
class BoxGuard {
 public:
  BoxGuard()
      : thread_(win::StartThread([this] {
          while (!stop_) {
            const std::wstring text = ui::TakeMessageBox(::GetCurrentProcessId(), 100);
            if (!text.empty()) boxes_.push_back(text);
          }
        })) {}
  ~BoxGuard() { Stop(); }
  std::vector<std::wstring> Boxes() {
    Stop();
    return boxes_;
  }

 private:
  void Stop() {
    stop_ = true;
    if (thread_) ::WaitForSingleObject(thread_.Get(), INFINITE);
  }
  std::atomic<bool> stop_{false};
  std::vector<std::wstring> boxes_;
  win::KernelHandle thread_;
};

struct Shown {
  std::string name, directory, text;
};

// The window's rules, one message at a time, with what it hands on recorded. The data in
// the short case are followed in memory by 'X' bytes, which must never reach the preview.
TEST(ApplicationWindow, TakesOnlyThePreviewMessage) {
  std::vector<Shown> shown;
  skins::ApplicationWindow window([&shown](SkinPreview p) {
    shown.push_back({Text(p.name), Text(p.directory), Text(p.optionText)});
  });
  HWND hwnd = window.Hwnd();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(::FindWindowW(L"TApplication", L"KQMiniLauncher"), hwnd);
  EXPECT_FALSE(::IsWindowVisible(hwnd));
  EXPECT_EQ(::GetParent(hwnd), nullptr);

  const Bytes good = Buffer(L"Dark", L"C:\\Skins", "[FORM]\r\n");
  Bytes wrongMagic = good;
  wrongMagic[0] = 0x01;
  std::string trailing(good.begin(), good.end());
  trailing.replace(650, std::string::npos, std::string(good.size() - 650, 'X'));
  const struct {
    const char* what;
    WPARAM tag;
    const void* data;
    std::size_t size;
    bool taken;
    std::string name, text;
  } cases[] = {
      {"good", 7, good.data(), good.size(), true, "Dark", "[FORM]\r\n"},
      {"tag 6", 6, good.data(), good.size(), false, "", ""},
      {"wrong magic", 7, wrongMagic.data(), wrongMagic.size(), false, "", ""},
      {"shorter than the magic", 7, good.data(), 3, false, "", ""},
      {"no data", 7, nullptr, good.size(), false, "", ""},
      {"short, zeros for the rest", 7, trailing.data(), 650, true, "Dark", "[FORM]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    shown.clear();
    EXPECT_EQ(SendCopyData(hwnd, c.tag, c.data, c.size), c.taken ? TRUE : FALSE);
    PumpMessages(50);
    ASSERT_EQ(shown.size(), c.taken ? 1u : 0u);
    if (!c.taken) continue;
    EXPECT_EQ(shown[0].name, c.name);
    EXPECT_EQ(shown[0].directory, "C:\\Skins");
    EXPECT_EQ(shown[0].text, c.text);
  }

  // A second preview before the first is shown is refused; the first is shown once.
  shown.clear();
  const Bytes other = Buffer(L"Light", L"D:\\", "");
  EXPECT_EQ(SendCopyData(hwnd, 7, good.data(), good.size()), TRUE);
  EXPECT_EQ(SendCopyData(hwnd, 7, other.data(), other.size()), FALSE);
  PumpMessages(50);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].name, "Dark");

  // The posted message on its own, or with another tag, shows nothing; a close request
  // leaves the window.
  shown.clear();
  ::PostMessageW(hwnd, kPreviewPostedMessage, MAKEWPARAM(0, kPreviewPostedTag), 0);
  EXPECT_EQ(SendCopyData(hwnd, 7, good.data(), good.size()), TRUE);
  ::PostMessageW(hwnd, kPreviewPostedMessage, MAKEWPARAM(0, 0x46), 0);
  ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
  PumpMessages(50);
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_TRUE(::IsWindow(hwnd));
}

const forms::ComponentClass kPreviewFormClass{u"TfmPaintTest", &ui::kFormClass};

class PreviewForm final : public ui::Form {
 public:
  const forms::ComponentClass& ClassInfo() const override { return kPreviewFormClass; }
};

// A hundred previews through the program's skin service, alternating two skins on a shown
// form, leave the process's GDI and USER object counts where they were.
using ApplicationWindowForms = kq::test::ProgramFormsTest;

TEST_F(ApplicationWindowForms, AHundredPreviewsLeakNoObjects) {
  TestFolder skins(L"preview leak");
  ::CreateDirectoryW((skins / L"Leak").c_str(), nullptr);
  WriteFileBytes(skins / L"Leak\\Options.dat", FlatSkin("#101010"));
  const Bytes previews[] = {Buffer(L"Leak", skins.Path(), FlatSkin("#2A7F3C")),
                            Buffer(L"Leak", skins.Path(), FlatSkin("#7A2E8C"))};
  {
    BoxGuard boxes;
    PreviewForm form;
    form.CreateForm();
    form.Show();
    skins::ApplicationWindow window;
    const auto preview = [&](int i) {
      ASSERT_EQ(SendCopyData(window.Hwnd(), 7, previews[i % 2].data(), previews[i % 2].size()),
                TRUE);
      PumpMessages(20);
    };
    // One round first: what the system makes once for a process is not the preview's.
    preview(0);
    preview(1);
    ASSERT_EQ(skins::SkinService().SkinName(), u"Leak");
    EXPECT_EQ(ClientPixel(form.Hwnd(), 300, 12), RGB(0x7A, 0x2E, 0x8C));
    const win::test::GuiObjects before = win::test::CountGuiObjects();
    ASSERT_GT(before.gdi, 0u);
    for (int i = 0; i < 100; ++i) preview(i);
    PumpMessages(100);
    EXPECT_EQ(win::test::CountGuiObjects(), before);
    EXPECT_TRUE(boxes.Boxes().empty());
  }
  paint::SkinPainter::Instance().Remove();
}

// The real launcher: a point of the main window's background, clear of every control.
COLORREF Background(HWND main) {
  return ClientPixel(main, 3, 115);
}

bool WaitForBackground(HWND main, COLORREF colour) {
  for (int waited = 0; waited < 5000; waited += 50) {
    if (Background(main) == colour) return true;
    ::Sleep(50);
  }
  return false;
}

// KQSkinPreview started with the arguments; ended when it still runs at the end.
class Tool {
 public:
  explicit Tool(const std::wstring& arguments) {
    const std::wstring exe = win::test::BuiltProgramsFolder() + L"KQSkinPreview.exe";
    std::wstring cmd = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                         &pi)) {
      process_.Reset(pi.hProcess);
      ::CloseHandle(pi.hThread);
    }
  }
  ~Tool() {
    if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.Get(), 99);
      ::WaitForSingleObject(process_.Get(), 5000);
    }
  }
  // Its exit code; -1 when it did not end in time, -2 when it did not start.
  long ExitCode() {
    if (!process_) return -2;
    if (::WaitForSingleObject(process_.Get(), 20000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.Get(), &code);
    return static_cast<long>(code);
  }

 private:
  win::KernelHandle process_;
};

long RunTool(const std::wstring& arguments) {
  return Tool(arguments).ExitCode();
}

// The tool sends a skin folder to the running launcher, which repaints in it at once; it
// refuses what it cannot send with its exit codes, and while watching sends the folder
// again when its option file changes. What is not a preview (tag 6, another
// magic, fewer bytes than the magic) changes nothing; a short message with the magic is
// taken with the rest zeroed: an option text sent without its zero shows whole.
TEST(SkinPreview, TheLauncherRepaintsInTheSentSkin) {
  TestFolder authors(L"skin authors");
  const std::wstring green = authors / L"Green";
  ::CreateDirectoryW(green.c_str(), nullptr);
  WriteFileBytes(green + L"\\Options.dat", FlatSkin("#2A7F3C"));
  const std::wstring empty = authors / L"Empty";
  ::CreateDirectoryW(empty.c_str(), nullptr);
  const std::wstring large = authors / L"Large";
  ::CreateDirectoryW(large.c_str(), nullptr);
  WriteFileBytes(large + L"\\Options.dat", FlatSkin("#2A7F3C") + std::string(30000, ';'));

  // No launcher yet.
  EXPECT_EQ(RunTool(L"\"" + green + L"\""), 3);

  TestFolder game(L"game");
  RunningLauncher launcher(game.Path(), game.Path().c_str());
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);
  HWND app = launcher.WaitForWindow(L"TApplication");
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(::FindWindowW(L"TApplication", L"KQMiniLauncher"), app);
  EXPECT_FALSE(::IsWindowVisible(app));
  ::SetForegroundWindow(main);

  const struct {
    const char* what;
    std::wstring arguments;
    long code;
  } refused[] = {
      {"usage", L"", 1},
      {"no option file", L"\"" + empty + L"\"", 2},
      {"option file too large", L"\"" + large + L"\"", 2},
      {"name too long", L"\"" + green + L"\" --name " + std::wstring(128, L'n'), 2},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(RunTool(r.arguments), r.code);
  }
  const std::string violet = FlatSkin("#7A2E8C");
  const Bytes good = Buffer(L"Green", authors.Path(), violet);
  Bytes wrongMagic = good;
  wrongMagic[1] = 0xA5;
  ::Sleep(500);
  const COLORREF before = Background(main);
  ASSERT_TRUE(ui::SaveScreenshot(main, ArtifactsFolder() + L"preview-before.bmp"));
  ASSERT_NE(before, RGB(0x2A, 0x7F, 0x3C));
  EXPECT_EQ(SendCopyData(app, 6, good.data(), good.size()), FALSE);
  EXPECT_EQ(SendCopyData(app, 7, wrongMagic.data(), wrongMagic.size()), FALSE);
  EXPECT_EQ(SendCopyData(app, 7, good.data(), 3), FALSE);
  ::Sleep(300);
  EXPECT_EQ(Background(main), before);
  ASSERT_TRUE(ui::SaveScreenshot(main, ArtifactsFolder() + L"preview-ignored.bmp"));

  EXPECT_EQ(RunTool(L"\"" + green + L"\""), 0);
  EXPECT_TRUE(WaitForBackground(main, RGB(0x2A, 0x7F, 0x3C)));
  ASSERT_TRUE(ui::SaveScreenshot(main, ArtifactsFolder() + L"preview-green.bmp"));

  EXPECT_EQ(SendCopyData(app, 7, good.data(), kPreviewOptionText.offset + violet.size()), TRUE);
  EXPECT_TRUE(WaitForBackground(main, RGB(0x7A, 0x2E, 0x8C)));
  EXPECT_EQ(ui::WaitTopWindow(L"#32770", 0, launcher.Pid(), true), nullptr);

  // Watching: sent at once, and again after the option file is saved.
  {
    Tool watch(L"\"" + green + L"\" --watch");
    EXPECT_TRUE(WaitForBackground(main, RGB(0x2A, 0x7F, 0x3C)));
    WriteFileBytes(green + L"\\Options.dat", FlatSkin("#1F4E9A"));
    EXPECT_TRUE(WaitForBackground(main, RGB(0x1F, 0x4E, 0x9A)));
  }

  // Closing stores the previewed skin's name as the skin in force.
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
  EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"), "[GUI]\r\nSkin=Green\r\n");
}

// After a preview, for the rest of the run, a folder of a name wins over a package of that
// name: the preview of "Duo" reads the folder (with the sent text), and choosing "Duo" from
// the skin menu later reads the folder's own option file, not the package beside it.
TEST(SkinPreview, AfterAPreviewAFolderWinsOverAPackage) {
  const TsStoredSkins catalogue = win::test::LauncherCatalogue();
  ASSERT_EQ(catalogue.Count(), 74u);
  TestFolder skins(L"skins");
  ::CreateDirectoryW((skins / L"Duo").c_str(), nullptr);
  WriteFileBytes(skins / L"Duo\\Options.dat", FlatSkin("#2A7F3C"));
  WriteFileBytes(skins / L"Duo.asz", std::string(AsChars(catalogue[17].PackedData)));

  TestFolder game(L"game");
  WriteFileBytes(game / L"KQMiniLauncherSettings.ini", "[GUI]\r\nSkinMenu=1\r\n");
  RunningLauncher launcher(game.Path(), game.Path().c_str());
  HWND main = launcher.WaitForWindow(L"TfrmMain", true);
  ASSERT_NE(main, nullptr);
  HWND app = launcher.WaitForWindow(L"TApplication");
  ASSERT_NE(app, nullptr);
  ::SetForegroundWindow(main);

  const Bytes duo = Buffer(L"Duo", skins.Path(), FlatSkin("#7A2E8C"));
  ASSERT_EQ(SendCopyData(app, 7, duo.data(), duo.size()), TRUE);
  EXPECT_TRUE(WaitForBackground(main, RGB(0x7A, 0x2E, 0x8C)));

  // The menu lists the internal skins and the directory's "Duo" twice (folder, package), in
  // the player's order: "Duo" comes after every internal name that sorts before it.
  int index = 0;
  for (const TsStoredSkin& item : catalogue.Items()) {
    if (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, win::W(item.Name), -1, L"Duo", -1) ==
        CSTR_LESS_THAN) {
      ++index;
    }
  }
  ::SendMessageW(main, WM_INITMENUPOPUP, 0, MAKELPARAM(0, TRUE));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(main, WM_SYSCOMMAND, 0x1000 + index * 0x10, 0, SMTO_NORMAL,
                                    10000, &answer))
      << ui::TakeMessageBox(launcher.Pid(), 0);
  EXPECT_TRUE(WaitForBackground(main, RGB(0x2A, 0x7F, 0x3C)));
  EXPECT_EQ(ui::WaitTopWindow(L"#32770", 0, launcher.Pid(), true), nullptr);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher.WaitForExit(), 0);
  EXPECT_EQ(ReadFileBytes(game / L"KQMiniLauncherSettings.ini"),
            "[GUI]\r\nSkinMenu=1\r\nSkin=Duo\r\n");
}

}  // namespace
}  // namespace kq
