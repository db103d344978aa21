// The game start against the stand-in client, which reports what it was started with.
#include "session/GameStart.h"

#include "../win/TestFolder.h"
#include "common/Utf8.h"
#include "common/Paths.h"
#include "session/Ticket.h"
#include "session/TicketFile.h"
#include "win/Handles.h"
#include "win/SystemText.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

namespace kq::win {
namespace {

using test::ReadFileBytes;
using test::TestFolder;
using test::WriteFileBytes;

std::wstring BuiltClient() {
  return Wide(DirectoryOf(ExecutablePath())) + L"KQ_Online.bin";
}

class RecordingSink final : public StatusSink {
 public:
  void StatusLine(const std::u16string& text, std::uint32_t colour) override {
    lines.push_back({text, colour});
  }
  std::vector<std::pair<std::u16string, std::uint32_t>> lines;
};

TicketFields Fields() {
  TicketFields f;
  f.Server = {0x0100007F, 10100, 0xA1, 0xB2, 0xC3, 0xD4};
  f.Login = "player";
  f.AccountID = 4660;
  f.Premium = 1;
  f.ClientLanguage = 7;
  return f;
}

// A launcher folder with the stand-in client and, when asked, the ticket.
void LayOutGame(const std::wstring& folder, bool withTicket) {
  ASSERT_TRUE(::CopyFileW(BuiltClient().c_str(), (folder + L"KQ_Online.bin").c_str(), FALSE));
  if (!withTicket) return;
  ASSERT_TRUE(::CreateDirectoryW((folder + L"System").c_str(), nullptr));
  ASSERT_TRUE(WriteTicketFile(TicketPath(U16(folder)), EncodeTicket(Fields())));
}

// "Name: value" lines of the client's report; a name the report lacks reads "<none>".
class ClientReport {
 public:
  explicit ClientReport(const std::wstring& folder) {
    const std::string bytes = ReadFileBytes(folder + L"KQ_Online.report.txt");
    const std::wstring text = Wide(Utf8ToUtf16(AsBytes(bytes)));
    std::size_t at = 0;
    while (at < text.size()) {
      std::size_t end = text.find(L"\r\n", at);
      if (end == std::wstring::npos) end = text.size();
      const std::wstring line = text.substr(at, end - at);
      const std::size_t colon = line.find(L": ");
      if (colon != std::wstring::npos) {
        fields_[std::string(line.begin(), line.begin() + colon)] = line.substr(colon + 2);
      }
      at = end + 2;
    }
  }
  std::wstring operator[](const std::string& name) const {
    const auto it = fields_.find(name);
    return it == fields_.end() ? L"<none>" : it->second;
  }

 private:
  std::map<std::string, std::wstring> fields_;
};

struct Started {
  bool result = false;
  DWORD suspendCount = 0xFFFFFFFF;  // of the new thread, while StartGameClient holds it
  KernelHandle process;

  // The client's exit code, or -1 when it did not end in time.
  long WaitForExit() const {
    if (!process || ::WaitForSingleObject(process.Get(), 20000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    return static_cast<long>(code);
  }
};

// Runs StartGameClient from the given working folder, looking at the new process while it
// is held.
Started Start(const std::wstring& clientPath, GameStartOptions options,
              const std::wstring& workingFolder) {
  Started s;
  options.BeforeResume = [&s](const PROCESS_INFORMATION& pi) {
    // Suspending once more returns the count the thread had.
    s.suspendCount = ::SuspendThread(pi.hThread);
    ::ResumeThread(pi.hThread);
    HANDLE dup = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), pi.hProcess, ::GetCurrentProcess(), &dup, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    s.process.Reset(dup);
  };
  wchar_t old[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, old);
  EXPECT_TRUE(::SetCurrentDirectoryW(workingFolder.c_str()));
  s.result = StartGameClient(U16(clientPath), options);
  ::SetCurrentDirectoryW(old);
  return s;
}

GameStartOptions FixedClock(RecordingSink& sink) {
  GameStartOptions o;
  o.Status = &sink;
  o.TimeFormat = LongTimeFormat();
  o.Now = [] { return TimeOfDay{9, 5, 7}; };
  o.ShowMessage = [](const std::u16string& text) {
    ADD_FAILURE() << "unexpected message " << Utf16ToUtf8String(text);
  };
  return o;
}

bool IsCommandLineOf(const std::wstring& commandLine, const std::wstring& path) {
  // Windows passes the command line as given; Wine puts quotes around a path with blanks.
  return commandLine == path || commandLine == L"\"" + path + L"\"";
}

TEST(GameStart, ClientStartsSuspendedThenRunsInTheLauncherFolder) {
  enum class From { kGameFolder, kOtherFolder };
  const struct {
    const char* name;
    const wchar_t* gameName;  // the game folder inside a parent folder
    From from;
  } cases[] = {
      {"started from the game folder", L"game", From::kGameFolder},
      {"started from another folder", L"game", From::kOtherFolder},
      {"a folder path with blanks", L"DO Rizura game", From::kOtherFolder},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder parent(L"start");
    TestFolder elsewhere(L"elsewhere");
    const std::wstring game = parent / (std::wstring(c.gameName) + L"\\");
    ASSERT_TRUE(::CreateDirectoryW(game.c_str(), nullptr));
    LayOutGame(game, true);
    // A program where an unquoted path with blanks would be tried first.
    ASSERT_TRUE(::CopyFileW(BuiltClient().c_str(), (parent / L"DO.exe").c_str(), FALSE));

    RecordingSink sink;
    const std::wstring client = game + L"KQ_Online.bin";
    const Started s =
        Start(client, FixedClock(sink), c.from == From::kGameFolder ? game : elsewhere.Path());
    ASSERT_TRUE(s.result);
    EXPECT_EQ(s.suspendCount, 1u);
    EXPECT_EQ(s.WaitForExit(), 0);
    EXPECT_TRUE(sink.lines.empty());

    const ClientReport report(game);
    EXPECT_TRUE(IsCommandLineOf(report["CommandLine"], client)) << report["CommandLine"];
    EXPECT_EQ(report["CurrentFolder"] + L"\\", game);
    EXPECT_EQ(report["Title"], L"DO Rizura (9:05:07)");
    EXPECT_EQ(report["Login"], L"player");
    EXPECT_EQ(report["AccountID"], L"00001234 (4660)");
    EXPECT_EQ(report["Key4"], L"000000D4");
    EXPECT_EQ(report["Check"], L"ok");
    EXPECT_EQ(ReadFileBytes(parent / L"KQ_Online.report.txt"), "") << "the wrong program ran";
  }
}

// What the system makes of the local time in the user's long time format.
std::wstring SystemTimeText(const SYSTEMTIME& st) {
  wchar_t text[64] = {};
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, 64);
  return text;
}

TEST(GameStart, TitleCarriesTheLocalTimeInTheUsersFormatWithoutDate) {
  TestFolder game(L"clock");
  LayOutGame(game.Path(), true);
  RecordingSink sink;
  GameStartOptions options;
  options.Status = &sink;
  SYSTEMTIME before{}, after{};
  ::GetLocalTime(&before);
  const Started s = Start(game / L"KQ_Online.bin", options, game.Path());
  ::GetLocalTime(&after);
  ASSERT_TRUE(s.result);
  EXPECT_EQ(s.WaitForExit(), 0);

  const std::wstring title = ClientReport(game.Path())["Title"];
  // The second may tick during the start.
  EXPECT_TRUE(title == L"DO Rizura (" + SystemTimeText(before) + L")" ||
              title == L"DO Rizura (" + SystemTimeText(after) + L")")
      << title;
  // The tests run under the Russian locale: 24-hour, ':'; no date.
  EXPECT_TRUE(std::regex_match(title, std::wregex(LR"(DO Rizura \(\d{1,2}:\d\d:\d\d\))"))) << title;
}

TEST(GameStart, ClientReportsAMissingTicket) {
  TestFolder game(L"noticket");
  LayOutGame(game.Path(), false);
  RecordingSink sink;
  const Started s = Start(game / L"KQ_Online.bin", FixedClock(sink), game.Path());
  ASSERT_TRUE(s.result);
  EXPECT_EQ(s.WaitForExit(), 1);
  EXPECT_EQ(ClientReport(game.Path())["TicketSize"], L"missing");
}

TEST(GameStart, FailureGivesTheRedLine) {
  const struct {
    const char* name;
    const char* content;  // of KQ_Online.bin; nullptr: no such file
    bool message;         // the missing-file message comes first
  } cases[] = {
      {"missing client file", nullptr, true},
      {"not a program", "this is not a program", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder game;
    const std::wstring client = game / L"KQ_Online.bin";
    if (c.content) WriteFileBytes(client, c.content);
    RecordingSink sink;
    GameStartOptions options = FixedClock(sink);
    std::vector<std::u16string> messages;
    options.ShowMessage = [&](const std::u16string& text) {
      // Shown before the start is attempted.
      EXPECT_TRUE(sink.lines.empty());
      messages.push_back(text);
    };
    const Started s = Start(client, options, game.Path());
    EXPECT_FALSE(s.result);
    EXPECT_FALSE(s.process) << "nothing may have been started";
    EXPECT_EQ(messages, c.message ? std::vector<std::u16string>{std::u16string(kMissingClientText)}
                                  : std::vector<std::u16string>{});
    ASSERT_EQ(sink.lines.size(), 1u);
    EXPECT_EQ(sink.lines[0].first, u"Cant Start:1 " + U16(client));
    EXPECT_EQ(sink.lines[0].second, kStatusRed);
  }
}

}  // namespace
}  // namespace kq::win
