// The stand-in for the game client KQ_Online.bin. It reads the ticket from System\ of its
// current folder (where the real client looks for it), checks it, and writes what it was
// given into KQ_Online.report.txt beside itself: command line, current folder, start-up
// title and every ticket field. With /window, or KQ_CLIENT_WINDOW=1 in the environment it
// inherits from the launcher, it also shows the report in a small window.
//
// Exit code: 0 for a good ticket, 1 for a missing or faulty one, 2 when no report could be
// written.
#include "common/Utf8.h"
#include "common/Paths.h"
#include "session/Ticket.h"
#include "win/Files.h"
#include "win/SystemText.h"
#include "win/Win.h"
#include "win/Window.h"

#include <string>

namespace {

using kq::win::U16;
using kq::win::W;

constexpr const wchar_t* kClassName = L"TKQStandInClient";
constexpr std::u16string_view kReportName = u"KQ_Online.report.txt";

std::u16string CurrentFolder() {
  const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
  std::wstring buf(n, L'\0');
  const DWORD m = ::GetCurrentDirectoryW(n, buf.data());
  buf.resize(m < n ? m : 0);
  return U16(buf);
}

std::u16string StartupTitle() {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  ::GetStartupInfoW(&si);
  return si.lpTitle ? U16(si.lpTitle) : u"";
}

struct Report {
  std::u16string text;
  bool ticketOk = false;
};

Report MakeReport() {
  Report r;
  auto line = [&](std::u16string_view name, const std::u16string& value) {
    r.text += std::u16string(name) + u": " + value + u"\r\n";
  };
  line(u"CommandLine", U16(::GetCommandLineW()));
  line(u"CurrentFolder", CurrentFolder());
  line(u"Title", StartupTitle());

  const std::u16string ticketPath = kq::win::FullPath(std::u16string(kq::kTicketFileName));
  line(u"TicketFile", ticketPath);
  const auto bytes = kq::win::ReadWholeFile(ticketPath);
  if (!bytes) {
    line(u"TicketSize", u"missing");
    return r;
  }
  const std::string size = std::to_string(bytes->size());
  line(u"TicketSize", std::u16string(size.begin(), size.end()));
  const kq::DecodedTicket ticket = kq::DecodeTicket(*bytes);
  const kq::win::SystemAnsiCodec codec;
  for (const auto& field : kq::DescribeTicket(ticket, codec)) {
    line(std::u16string(field.Name.begin(), field.Name.end()), field.Value);
  }
  r.ticketOk = ticket.Ok();
  return r;
}

class TReportWindow final : public kq::win::Window {
 public:
  explicit TReportWindow(std::u16string text) : text_(std::move(text)) {}

  bool Create() {
    if (!RegisterClass({.name = kClassName})) return false;
    return Window::Create({.className = kClassName,
                           .text = L"KQ_Online (stand-in)",
                           .style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           .width = 560,
                           .height = 420});
  }

 private:
  bool OnCreate() override {
    RECT rc{};
    ::GetClientRect(Hwnd(), &rc);
    edit_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", W(text_),
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
        rc.right, rc.bottom, Hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                   FALSE);
    return edit_ != nullptr;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_SIZE && edit_) {
      ::MoveWindow(edit_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
  }
  void OnDestroy() override { ::PostQuitMessage(0); }

  std::u16string text_;
  HWND edit_ = nullptr;
};

bool WindowWanted(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::wstring_view(argv[i]) == L"/window") return true;
  }
  wchar_t value[8] = {};
  return ::GetEnvironmentVariableW(L"KQ_CLIENT_WINDOW", value, 8) == 1 && value[0] == L'1';
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const Report report = MakeReport();
  const std::u16string reportPath =
      kq::DirectoryOf(kq::win::ExecutablePath()) + std::u16string(kReportName);
  const bool written = kq::win::ReplaceFileAtomically(reportPath, kq::Utf16ToUtf8(report.text));

  if (WindowWanted(argc, argv)) {
    TReportWindow window(report.text);
    if (window.Create()) {
      MSG msg{};
      while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
  }
  if (!written) return 2;
  return report.ticketOk ? 0 : 1;
}
