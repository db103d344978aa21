#include "session/TicketFile.h"

#include "../win/TestFolder.h"
#include "session/Ticket.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

namespace kq::win {
namespace {

using test::ReadFileBytes;
using test::TestFolder;
using test::WriteFileBytes;

TicketFields Fields() {
  TicketFields f;
  f.Server = {0x0100007F, 10100, 1, 2, 3, 4};
  f.Login = "player";
  f.AccountID = 77;
  f.Premium = 1;
  f.ClientLanguage = 7;
  return f;
}

std::string Expected() {
  const TicketBytes b = EncodeTicket(Fields());
  return std::string(b.begin(), b.end());
}

class NullSink final : public StatusSink {
 public:
  void StatusLine(const std::u16string&, std::uint32_t) override { ++lines; }
  int lines = 0;
};

// The whole ticket step as the session runs it, into a game folder.
bool WriteInto(const TestFolder& game) {
  NullSink sink;
  const bool ok = WriteTicket(Fields(), U16(game.Path()), sink, WriteTicketFile);
  EXPECT_EQ(sink.lines, 1);  // the server line, whatever became of the file
  return ok;
}

TEST(TicketFile, WritesExactly55BytesIntoTheSystemFolder) {
  TestFolder game(L"игра");
  ASSERT_TRUE(::CreateDirectoryW((game / L"System").c_str(), nullptr));
  EXPECT_TRUE(WriteInto(game));
  EXPECT_EQ(ReadFileBytes(game / L"System\\DefaultSet.tmp"), Expected());
}

TEST(TicketFile, TruncatesAnOlderLongerFile) {
  TestFolder game;
  ASSERT_TRUE(::CreateDirectoryW((game / L"System").c_str(), nullptr));
  WriteFileBytes(game / L"System\\DefaultSet.tmp", std::string(4096, 'o'));
  EXPECT_TRUE(WriteInto(game));
  EXPECT_EQ(ReadFileBytes(game / L"System\\DefaultSet.tmp"), Expected());
}

TEST(TicketFile, MissingSystemFolderWritesNothing) {
  TestFolder game;
  EXPECT_FALSE(WriteInto(game));
  EXPECT_EQ(::GetFileAttributesW((game / L"System").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Another program holds the old ticket open without letting others write it. (A read-only
// file is refused on Windows too, but Wine running as root writes it all the same.)
TEST(TicketFile, AFileHeldWithoutWriteSharingKeepsItsContent) {
  const struct {
    const char* name;
    DWORD heldShare;
  } cases[] = {
      {"held without sharing", 0},
      {"held by a reader that shares reading only", FILE_SHARE_READ},
  };
  for (const auto& c : cases) {
    TestFolder game;
    ASSERT_TRUE(::CreateDirectoryW((game / L"System").c_str(), nullptr));
    const std::wstring path = game / L"System\\DefaultSet.tmp";
    WriteFileBytes(path, "old ticket");
    FileHandle holder(::CreateFileW(path.c_str(), GENERIC_READ, c.heldShare, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder) << c.name;
    EXPECT_FALSE(WriteInto(game)) << c.name;
    holder.Reset();
    EXPECT_EQ(ReadFileBytes(path), "old ticket") << c.name;
  }
}

}  // namespace
}  // namespace kq::win
