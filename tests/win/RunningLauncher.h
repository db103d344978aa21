// The real launcher program, copied into a game folder and started as a player starts it.
#pragma once

#include "skins/StoredSkins.h"
#include "win/Handles.h"

#include <string>

namespace kq::win::test {

class RunningLauncher {
 public:
  // Copies the built launcher into gameFolder (as programName) and starts it there, with
  // workingFolder as its current folder and the arguments after the program's own path.
  RunningLauncher(const std::wstring& gameFolder, const wchar_t* workingFolder,
                  const std::wstring& arguments = L"",
                  const wchar_t* programName = L"KQMiniLauncher.exe");
  ~RunningLauncher();  // ends the program if it still runs

  DWORD Pid() const { return pid_; }
  // Waits for a top-level window of the given class in this process; with visibleOnly, a
  // window counts once shown (the main window: once its controls and FormCreate are done).
  HWND WaitForWindow(const wchar_t* className, bool visibleOnly = false) const;
  // Waits for the process to end; its exit code, or -1 when it did not end in time.
  long WaitForExit();

 private:
  bool started_ = false;
  KernelHandle process_;
  DWORD pid_ = 0;
};

// The folder of the test program, where the build puts the launcher and the tools.
std::wstring BuiltProgramsFolder();
// The tree's artifacts folder (build/windows/artifacts, build/windows-x64/artifacts):
// screenshots and other output of the tests, kept after the run.
std::wstring ArtifactsFolder();

}  // namespace kq::win::test

namespace kq::win::test {

// The number of different colours in a 24-bit BMP file; 0 when it is not one. A captured
// window shows many, a blank or failed capture one or two.
int DistinctColours(const std::wstring& bmpPath);

// What the screen shows at a point of a window's client area, or of the window itself (its
// frame included).
COLORREF ClientPixel(HWND hwnd, int x, int y);
COLORREF WindowPixel(HWND hwnd, int x, int y);

// Dispatches this thread's messages for `ms` milliseconds.
void PumpMessages(int ms);

// The process's live GDI and USER objects. Wine does not count them (GetGuiResources answers
// 0, "not implemented"), but its handle tables answer for a handle's low word whatever its
// generation, so there they are counted by asking for every low word.
struct GuiObjects {
  DWORD gdi = 0;
  DWORD user = 0;
  bool operator==(const GuiObjects&) const = default;
};
GuiObjects CountGuiObjects();

// The internal skin catalogue the built launcher carries in its main window's layout.
TsStoredSkins LauncherCatalogue();

}  // namespace kq::win::test
