#include "session/GameStart.h"

#include "common/Paths.h"
#include "win/Files.h"
#include "win/Handles.h"
#include "win/MessageBox.h"

namespace kq::win {

void ShowPlainMessage(const std::u16string& text) {
  ShowMessageBox(MessageKind::kPlain, text, u"DO Rizura");
}

bool StartGameClient(const std::u16string& clientPath, const GameStartOptions& options) {
  // The start is attempted all the same: it fails and reports its own line.
  if (!FileExists(clientPath)) options.ShowMessage(std::u16string(kMissingClientText));

  std::wstring title = Wide(GameClientTitle(options.TimeFormat, options.Now()));
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.lpTitle = title.data();

  const std::u16string folder = DirectoryOf(clientPath);
  std::wstring commandLine = Wide(clientPath);
  PROCESS_INFORMATION pi{};
  // The program is named as well as given as the command line: an unquoted command line
  // with blanks alone would make the system try "C:\Games\DO" and the like first and start
  // whatever program it found there.
  const BOOL created =
      ::CreateProcessW(W(clientPath), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                       nullptr, folder.empty() ? nullptr : W(folder), &si, &pi);
  if (!created) {
    if (options.Status) options.Status->StatusLine(u"Cant Start:1 " + clientPath, kStatusRed);
    return false;
  }
  const KernelHandle process(pi.hProcess);
  const KernelHandle thread(pi.hThread);
  if (options.BeforeResume) options.BeforeResume(pi);
  ::ResumeThread(thread.Get());
  return true;
}

}  // namespace kq::win
