// KQSkinPreview: sends a skin folder's option file to the running launcher as a preview
// message, once or (--watch) whenever the folder changes. Messages are printed as UTF-8.
#include "PreviewCommand.h"

#include "common/Error.h"
#include "common/Utf8.h"
#include "skins/ApplicationWindow.h"
#include "skins/PreviewBuffer.h"
#include "win/Files.h"
#include "win/Handles.h"
#include "win/SystemText.h"
#include "win/Win.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace kq;
using namespace kq::skinpreview;

void Print(std::FILE* to, const std::u16string& text) {
  std::fputs((Utf16ToUtf8String(text) + "\n").c_str(), to);
  std::fflush(to);
}

struct Outcome {
  int code;
  std::u16string message;
};

std::u16string FullPath(const std::u16string& path) {
  const DWORD n = ::GetFullPathNameW(win::W(path), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD written = ::GetFullPathNameW(win::W(path), n, full.data(), nullptr);
  full.resize(written);
  return win::U16(full);
}

Outcome SendOnce(const std::u16string& folder, const std::optional<std::u16string>& name) {
  const auto split = SplitSkinFolder(folder);
  if (!split) return {kBadSkin, folder + u" is not a skin folder (it has no parent folder)"};
  const std::u16string optionFile = folder + u"\\Options.dat";
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!::GetFileAttributesExW(win::W(optionFile), GetFileExInfoStandard, &attributes) ||
      (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return {kBadSkin, u"No option file " + optionFile};
  }
  if (attributes.nFileSizeHigh != 0 || attributes.nFileSizeLow > kMaxOptionFileSize) {
    return {kBadSkin, optionFile + u" is larger than 30000 bytes, more than a preview carries"};
  }
  const auto bytes = win::ReadWholeFile(optionFile);
  if (!bytes) return {kBadSkin, u"Cannot read " + optionFile};
  const win::SystemAnsiCodec codec;
  Bytes buffer;
  try {
    buffer = BuildPreviewBuffer(name.value_or(split->name), split->directory, *bytes, codec);
  } catch (const Error& e) {
    return {kBadSkin, e.Message()};
  }

  HWND launcher = ::FindWindowW(skins::kApplicationWindowClass, skins::kApplicationWindowTitle);
  if (!launcher) return {kNoLauncher, u"No launcher is running (no KQMiniLauncher window found)"};
  COPYDATASTRUCT data{};
  data.cbData = static_cast<DWORD>(buffer.size());
  data.lpData = buffer.data();
  DWORD_PTR taken = 0;
  if (!::SendMessageTimeoutW(launcher, WM_COPYDATA, kPreviewCopyDataTag,
                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000, &taken)) {
    return {kNotTaken, u"The launcher did not answer"};
  }
  if (!taken) return {kNotTaken, u"The launcher did not take the preview (one is still being shown)"};
  return {kSent, u"Sent " + name.value_or(split->name) + u" from " + folder};
}

win::KernelHandle stopEvent;

BOOL WINAPI OnConsoleBreak(DWORD) {
  ::SetEvent(stopEvent.Get());
  return TRUE;
}

// After a change, the folder must stay quiet this long before the skin is sent: an editor
// saving writes a file in several steps.
constexpr DWORD kQuietMs = 300;

int Watch(const std::u16string& folder, const std::optional<std::u16string>& name) {
  win::ChangeNotification changes(::FindFirstChangeNotificationW(
      win::W(folder), TRUE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
          FILE_NOTIFY_CHANGE_LAST_WRITE));
  if (!changes) {
    Print(stderr, u"Cannot watch " + folder);
    return kBadSkin;
  }
  stopEvent.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ::SetConsoleCtrlHandler(&OnConsoleBreak, TRUE);
  Print(stdout, u"Watching " + folder + u"; Ctrl+C ends");
  const HANDLE waits[] = {stopEvent.Get(), changes.Get()};
  bool changed = false;
  for (;;) {
    const DWORD got = ::WaitForMultipleObjects(2, waits, FALSE, changed ? kQuietMs : INFINITE);
    if (got == WAIT_OBJECT_0) return kSent;
    if (got == WAIT_OBJECT_0 + 1) {
      changed = true;
      if (!::FindNextChangeNotification(changes.Get())) {
        Print(stderr, u"Cannot watch " + folder + u" any longer");
        return kBadSkin;
      }
    } else if (got == WAIT_TIMEOUT) {
      changed = false;
      const Outcome o = SendOnce(folder, name);
      Print(o.code == kSent ? stdout : stderr, o.message);
    } else {
      return kBadSkin;
    }
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(win::U16(argv[i]));
  const auto command = ParseCommand(arguments);
  if (!command) {
    std::fputs(kUsage, stderr);
    return kBadUsage;
  }
  const std::u16string folder = FullPath(command->folder);
  const Outcome first = SendOnce(folder, command->name);
  Print(first.code == kSent ? stdout : stderr, first.message);
  // While watching, a launcher started later or a fault fixed later is fine.
  if (!command->watch) return first.code;
  return Watch(folder, command->name);
}
