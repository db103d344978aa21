#include "RunningLauncher.h"

#include "UiAutomation.h"
#include "common/Paths.h"
#include "win/SystemText.h"

#include <gtest/gtest.h>

namespace kq::win::test {

std::wstring BuiltProgramsFolder() {
  return Wide(DirectoryOf(ExecutablePath()));
}

std::wstring ArtifactsFolder() {
  const std::wstring folder = BuiltProgramsFolder() + L"..\\artifacts\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

RunningLauncher::RunningLauncher(const std::wstring& gameFolder, const wchar_t* workingFolder,
                                 const std::wstring& arguments, const wchar_t* programName) {
  const std::wstring exe = gameFolder + programName;
  EXPECT_TRUE(
      ::CopyFileW((BuiltProgramsFolder() + L"KQMiniLauncher.exe").c_str(), exe.c_str(), FALSE));
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!arguments.empty()) cmd += L" " + arguments;
  PROCESS_INFORMATION pi{};
  started_ = ::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              workingFolder, &si, &pi) != 0;
  EXPECT_TRUE(started_) << "cannot start the launcher";
  if (started_) {
    process_.Reset(pi.hProcess);
    ::CloseHandle(pi.hThread);
    pid_ = pi.dwProcessId;
  }
}

RunningLauncher::~RunningLauncher() {
  if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.Get(), 99);
    ::WaitForSingleObject(process_.Get(), 5000);
  }
}

HWND RunningLauncher::WaitForWindow(const wchar_t* className, bool visibleOnly) const {
  if (!started_) return nullptr;
  return ui::WaitTopWindow(className, 15000, pid_, visibleOnly);
}

long RunningLauncher::WaitForExit() {
  if (!process_ || ::WaitForSingleObject(process_.Get(), 15000) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(process_.Get(), &code);
  return static_cast<long>(code);
}

}  // namespace kq::win::test

#include "../win/TestFolder.h"
#include "common/InflateStream.h"
#include "resources/FormStream.h"
#include "resources/ModuleResources.h"

#include <set>

namespace kq::win::test {

int DistinctColours(const std::wstring& bmpPath) {
  const std::string data = ReadFileBytes(bmpPath);
  if (data.size() < 54 || data[0] != 'B' || data[1] != 'M') return 0;
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(data[at + i]);
    return v;
  };
  std::set<std::uint32_t> colours;
  for (std::size_t i = u32(10); i + 3 <= data.size(); i += 3) {
    colours.insert(static_cast<unsigned char>(data[i]) |
                   static_cast<unsigned char>(data[i + 1]) << 8 |
                   static_cast<unsigned char>(data[i + 2]) << 16);
  }
  return static_cast<int>(colours.size());
}

namespace {

COLORREF ScreenPixel(POINT p) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(screen, p.x, p.y);
  ::ReleaseDC(nullptr, screen);
  return c;
}

}  // namespace

COLORREF ClientPixel(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(hwnd, &p);
  return ScreenPixel(p);
}

COLORREF WindowPixel(HWND hwnd, int x, int y) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  return ScreenPixel({r.left + x, r.top + y});
}

void PumpMessages(int ms) {
  const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(10);
  } while (static_cast<int>(end - ::GetTickCount()) > 0);
}

GuiObjects CountGuiObjects() {
  GuiObjects n{::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
               ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
  if (n.gdi != 0) return n;
  for (UINT_PTR h = 1; h < 0x10000; ++h) {
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(h))) ++n.gdi;
    if (::IsWindow(reinterpret_cast<HWND>(h)) || ::IsMenu(reinterpret_cast<HMENU>(h))) ++n.user;
  }
  return n;
}

TsStoredSkins LauncherCatalogue() {
  const std::wstring exe = BuiltProgramsFolder() + L"KQMiniLauncher.exe";
  LoadedModule module(::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module) return {};
  const ModuleResources resources(module.Get());
  const std::optional<ByteView> stored = resources.FindRcData(u"TFRMMAIN");
  if (!stored) return {};
  MemoryInputStream source(*stored);
  BufferedInput in(source);
  InflateStream z(in);
  const forms::Component form = forms::ReadFormStream(z);
  const forms::Component* manager = form.FindChild(u"sSkinManager1");
  return manager ? StoredSkinsOf(*manager) : TsStoredSkins{};
}

}  // namespace kq::win::test
