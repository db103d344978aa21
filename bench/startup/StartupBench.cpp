// Start-up time and peak memory of one program against another (the launcher against an
// empty-window program), measured from outside as a player sees them: each run starts the
// program, waits for its first painted top-level window, reads its peak working set, and
// ends it with TerminateProcess, so that the program writes nothing (no settings file).
// The two programs run alternately, N times each, every pair in the other order than the
// pair before, after one warm-up run of each (Wine's desktop, the files in the page cache).
// Each is started in its own folder. Prints every run, then the ratio table's rows.
//
// Usage: KQStartupBench [--runs N] MEASURED.exe COMPARED.exe   (under Wine; not a test)
#include "../common/RatioTable.h"
#include "win/Handles.h"
#include "win/Win.h"

#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

using kq::win::UniqueHandle;
using Handle = UniqueHandle<kq::win::KernelHandleTraits>;

constexpr DWORD kTimeoutMs = 60000;

struct Sample {
  double ms = 0;
  double peakMB = 0;
  std::string window;  // the main window's title and class, for the output
};

struct Program {
  std::wstring path;  // absolute
  std::wstring folder;
  std::string name;  // the file name, for the output
  std::vector<Sample> samples;
};

std::optional<Program> Resolve(const wchar_t* given) {
  wchar_t full[MAX_PATH];
  wchar_t* file = nullptr;
  const DWORD n = GetFullPathNameW(given, MAX_PATH, full, &file);
  if (n == 0 || n >= MAX_PATH || !file || GetFileAttributesW(full) == INVALID_FILE_ATTRIBUTES)
    return std::nullopt;
  Program p;
  p.path = full;
  p.folder.assign(full, file);
  for (const wchar_t* c = file; *c; ++c) p.name += *c < 128 ? static_cast<char>(*c) : '?';
  return p;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND w, LPARAM param) {
  auto& s = *reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s.processId || !IsWindowVisible(w) || GetWindow(w, GW_OWNER)) return TRUE;
  s.found = w;
  return FALSE;
}

// The process's visible top-level window that no other window owns: its main window (the
// hidden windows a program makes at start, and dialogs it owns, do not count).
HWND VisibleMainWindow(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

std::string Narrow(const wchar_t* text) {
  char out[256];
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return n > 0 ? out : "";
}

// "TITLE" (class CLASS): which window the measurement stopped at.
std::string Describe(HWND window) {
  wchar_t title[128] = L"";
  wchar_t cls[128] = L"";
  GetWindowTextW(window, title, 128);
  GetClassNameW(window, cls, 128);
  return "\"" + Narrow(title) + "\" (class " + Narrow(cls) + ")";
}

// One start, measured up to the first painted main window. The moment is the one where
// the window is visible, WaitForInputIdle says the program's thread waits for input, and
// the window has nothing left to paint. A window shown before the message loop gets its
// WM_PAINT from that loop: the system hands it out only when no other message is queued,
// and the thread is idle only once the queue is empty, so idle with the window visible
// means painted. The update region is looked at too, for a program that idles once before
// it shows its window (WaitForInputIdle then answers at once).
std::optional<Sample> RunOnce(const Program& program) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + program.path + L"\"";
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program.path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      program.folder.c_str(), &si, &pi)) {
    std::fprintf(stderr, "%s: cannot start it (error %lu)\n", program.name.c_str(),
                 GetLastError());
    return std::nullopt;
  }
  const Handle process(pi.hProcess);
  const Handle thread(pi.hThread);
  std::optional<Sample> sample;
  for (;;) {
    const HWND window = VisibleMainWindow(pi.dwProcessId);
    if (window && WaitForInputIdle(process.Get(), 0) == 0 &&
        !GetUpdateRect(window, nullptr, FALSE)) {
      LARGE_INTEGER painted;
      QueryPerformanceCounter(&painted);
      sample = Sample{Milliseconds(start, painted), 0, Describe(window)};
      break;
    }
    // Doubles as a 1 ms pause between looks.
    if (WaitForSingleObject(process.Get(), 1) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "%s: ended before it showed a window\n", program.name.c_str());
      return std::nullopt;
    }
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (Milliseconds(start, now) > kTimeoutMs) {
      std::fprintf(stderr, "%s: no painted window within %lu ms\n", program.name.c_str(),
                   kTimeoutMs);
      break;
    }
  }
  // Under Wine the peak working set of another process is its VmHWM (the peak resident
  // set) from /proc.
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (sample && GetProcessMemoryInfo(process.Get(), &counters, sizeof counters)) {
    sample->peakMB = static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);

  } else if (sample) {
    std::fprintf(stderr, "%s: no memory counters (error %lu)\n", program.name.c_str(),
                 GetLastError());
    sample.reset();
  }
  TerminateProcess(process.Get(), 1);
  WaitForSingleObject(process.Get(), kTimeoutMs);
  return sample;
}

std::vector<double> Field(const std::vector<Sample>& samples, double Sample::*field) {
  std::vector<double> values;
  for (const Sample& s : samples) values.push_back(s.*field);
  return values;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 15;
  int at = 1;
  if (at + 1 < argc && std::wcscmp(argv[at], L"--runs") == 0) {
    runs = _wtoi(argv[at + 1]);
    at += 2;
  }
  if (argc - at != 2 || runs < 1) {
    std::fprintf(stderr, "usage: KQStartupBench [--runs N] MEASURED.exe COMPARED.exe\n");
    return 2;
  }
  std::optional<Program> measured = Resolve(argv[at]);
  std::optional<Program> compared = Resolve(argv[at + 1]);
  if (!measured || !compared) {
    std::fprintf(stderr, "KQStartupBench: no such program: %ls\n", argv[measured ? at + 1 : at]);
    return 2;
  }
  // Warm-up, not counted.
  for (const Program* p : {&*measured, &*compared}) {
    const std::optional<Sample> s = RunOnce(*p);
    if (!s) return 1;
    std::printf("warm-up: %s stopped at %s\n", p->name.c_str(), s->window.c_str());
  }
  for (int i = 0; i < runs; ++i) {
    Program* order[2] = {&*measured, &*compared};
    if (i % 2) std::swap(order[0], order[1]);
    for (Program* p : order) {
      const std::optional<Sample> s = RunOnce(*p);
      if (!s) return 1;
      p->samples.push_back(*s);
    }
    const Sample& m = measured->samples.back();
    const Sample& c = compared->samples.back();
    std::printf("run %2d (%s first): %s %.1f ms %.1f MB, %s %.1f ms %.1f MB\n", i + 1,
                order[0]->name.c_str(), measured->name.c_str(), m.ms, m.peakMB,
                compared->name.c_str(), c.ms, c.peakMB);
  }
  using kq::bench::RatioTableRow;
  using kq::bench::SpreadOf;
  const std::string pair = measured->name + " vs " + compared->name;
  std::printf("\n%s%s%s", kq::bench::RatioTableHeader(),
              RatioTableRow("start to the first painted main window, " + pair, runs,
                            SpreadOf(Field(measured->samples, &Sample::ms)),
                            SpreadOf(Field(compared->samples, &Sample::ms)), "ms")
                  .c_str(),
              RatioTableRow("peak resident memory (PeakWorkingSetSize) at that moment, " + pair,
                            runs, SpreadOf(Field(measured->samples, &Sample::peakMB)),
                            SpreadOf(Field(compared->samples, &Sample::peakMB)), "MB")
                  .c_str());
  return 0;
}
