#include "win/Files.h"

#include "TestFolder.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

namespace kq::win {
namespace {

using test::ReadFileBytes;
using test::TestFolder;
using test::WriteFileBytes;

int CountFiles(const std::wstring& dir) {
  WIN32_FIND_DATAW fd{};
  HANDLE find = ::FindFirstFileW((dir + L"*").c_str(), &fd);
  int n = 0;
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
  } while (::FindNextFileW(find, &fd));
  ::FindClose(find);
  return n;
}

std::u16string U(const std::wstring& s) { return U16(s); }

TEST(Files, ReadWholeFileAndMissingFile) {
  TestFolder dir;
  WriteFileBytes(dir / L"a.bin", std::string("x\0y\r\n", 5));
  const auto got = ReadWholeFile(U(dir / L"a.bin"));
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(*got, (Bytes{'x', 0, 'y', '\r', '\n'}));
  EXPECT_FALSE(ReadWholeFile(U(dir / L"missing.bin")).has_value());
  EXPECT_TRUE(FileExists(U(dir / L"a.bin")));
  EXPECT_FALSE(FileExists(U(dir.Path())));
}

TEST(Files, ReplaceCreatesAndReplacesLeavingNoTemporaryFile) {
  TestFolder dir;
  const std::wstring path = dir / L"Настройки.ini";
  ASSERT_TRUE(ReplaceFileAtomically(U(path), AsBytes("first")));
  EXPECT_EQ(ReadFileBytes(path), "first");
  ASSERT_TRUE(ReplaceFileAtomically(U(path), AsBytes("second, longer")));
  EXPECT_EQ(ReadFileBytes(path), "second, longer");
  ASSERT_TRUE(ReplaceFileAtomically(U(path), AsBytes("")));
  EXPECT_EQ(ReadFileBytes(path), "");
  EXPECT_EQ(CountFiles(dir.Path()), 1);
}

TEST(Files, ReplaceIsRefusedForAReadOnlyFile) {
  TestFolder dir;
  const std::wstring path = dir / L"ro.ini";
  WriteFileBytes(path, "keep me");
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(ReplaceFileAtomically(U(path), AsBytes("lost")));
  EXPECT_EQ(ReadFileBytes(path), "keep me");
  EXPECT_EQ(CountFiles(dir.Path()), 1);
}

TEST(Files, ReplaceIsRefusedWhileAnotherHolderDeniesWriting) {
  TestFolder dir;
  const std::wstring path = dir / L"held.ini";
  WriteFileBytes(path, "keep me");
  {
    FileHandle holder(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(ReplaceFileAtomically(U(path), AsBytes("lost")));
    EXPECT_EQ(CountFiles(dir.Path()), 1);
  }
  EXPECT_EQ(ReadFileBytes(path), "keep me");
  EXPECT_TRUE(ReplaceFileAtomically(U(path), AsBytes("now")));
  EXPECT_EQ(ReadFileBytes(path), "now");
}

// The game client may keep its settings file open while the launcher runs, sharing it for
// writing but not for deletion, so the rename over it is refused: the launcher writes in place.
TEST(Files, ReplaceWritesInPlaceWhileAHolderSharesWriting) {
  TestFolder dir;
  const std::wstring path = dir / L"N4Engine.ini";
  WriteFileBytes(path, "old content, longer than the new one");
  {
    FileHandle holder(::CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_TRUE(ReplaceFileAtomically(U(path), AsBytes("new")));
    EXPECT_EQ(CountFiles(dir.Path()), 1);  // no temporary file left beside it
    // The holder reads the new content through its own handle.
    char buf[64] = {};
    DWORD got = 0;
    ASSERT_TRUE(::ReadFile(holder.Get(), buf, sizeof buf, &got, nullptr));
    EXPECT_EQ(std::string(buf, got), "new");
  }
  EXPECT_EQ(ReadFileBytes(path), "new");
}

TEST(Files, ReplaceIsRefusedInAMissingFolder) {
  TestFolder dir;
  EXPECT_FALSE(ReplaceFileAtomically(U(dir / L"no\\such.ini"), AsBytes("x")));
}

}  // namespace
}  // namespace kq::win
