#include "win/ProfileFile.h"

#include "TestFolder.h"
#include "common/Error.h"
#include "win/Handles.h"
#include "win/SystemText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <utility>

namespace kq::win {
namespace {

using test::ReadFileBytes;
using test::TestFolder;
using test::WriteFileBytes;

const SystemAnsiCodec kCodec;

TEST(ProfileFile, WriteIntoAMissingFileCreatesOnlyThatKey) {
  TestFolder dir;
  const std::wstring path = dir / L"KQMiniLauncherSettings.ini";
  ProfileFile file(U16(path), kCodec);
  EXPECT_FALSE(file.Document().Get(u"GUI", u"Skin").has_value());
  file.WriteString(u"GUI", u"Skin", u"FM (internal)");
  EXPECT_EQ(ReadFileBytes(path), "[GUI]\r\nSkin=FM (internal)\r\n");
}

TEST(ProfileFile, WriteKeepsEveryOtherLineAndWhatOthersWroteMeanwhile) {
  TestFolder dir;
  const std::wstring path = dir / L"a.ini";
  WriteFileBytes(path,
                 "; мой файл\r\n[GUI]\r\nCaption = \xCC\xEE\xE9\r\nSkin=Old\r\n\r\n[X]\r\nk=v\r\n");
  ProfileFile file(U16(path), kCodec);
  EXPECT_EQ(file.Document().Get(u"gui", u"CAPTION"), u"Мой");
  // Another program adds a line after the file was read: the write keeps it.
  WriteFileBytes(
      path,
      "; мой файл\r\n[GUI]\r\nCaption = \xCC\xEE\xE9\r\nSkin=Old\r\n\r\n[X]\r\nk=v\r\nnew=1\r\n");
  file.WriteString(u"GUI", u"Skin", u"New");
  EXPECT_EQ(
      ReadFileBytes(path),
      "; мой файл\r\n[GUI]\r\nCaption = \xCC\xEE\xE9\r\nSkin=New\r\n\r\n[X]\r\nk=v\r\nnew=1\r\n");
}

// The first bytes of a file and its size, without reading all of a large one.
std::pair<std::string, std::uint64_t> HeadAndSize(const std::wstring& path, DWORD head) {
  FileHandle f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                             nullptr));
  LARGE_INTEGER size{};
  std::string bytes(head, '\0');
  DWORD got = 0;
  if (!f || !::GetFileSizeEx(f.Get(), &size) ||
      !::ReadFile(f.Get(), bytes.data(), head, &got, nullptr)) {
    return {};
  }
  bytes.resize(got);
  return {bytes, static_cast<std::uint64_t>(size.QuadPart)};
}

// A write is refused, naming the file, and changes nothing, whether the file is read-only,
// held by another program that lets others write and rename it but not read it, or there
// but too large to read: an edited copy of an unread file would hold nothing but the key.
TEST(ProfileFile, RefusedWriteNamesTheFullPathAndChangesNothing) {
  constexpr std::string_view kContent = "[GUI]\r\nSkin=Old\r\n[LoginServer]\r\nIP=10.0.0.5\r\n";
  struct Case {
    const char* name;
    bool readOnly;
    DWORD heldSharing;        // 0: not held
    std::int64_t extendedTo;  // 0: as written; else zeros up to this size (sparse)
  } const cases[] = {
      {"read-only", true, 0, 0},
      {"held without read sharing", false, FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0},
      {"too large to read", false, 0, std::int64_t{0x80000000} + 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder dir;
    const std::wstring path = dir / L"ro.ini";
    WriteFileBytes(path, std::string(kContent));
    ProfileFile file(U16(path), kCodec);
    if (c.readOnly) {
      ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    if (c.extendedTo) {
      FileHandle f(
          ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      LARGE_INTEGER to{};
      to.QuadPart = c.extendedTo;
      ASSERT_TRUE(f && ::SetFilePointerEx(f.Get(), to, nullptr, FILE_BEGIN) &&
                  ::SetEndOfFile(f.Get()));
    }
    FileHandle holder(c.heldSharing ? ::CreateFileW(path.c_str(), GENERIC_READ, c.heldSharing,
                                                    nullptr, OPEN_EXISTING, 0, nullptr)
                                    : INVALID_HANDLE_VALUE);
    if (c.heldSharing) {
      ASSERT_TRUE(holder);
    }
    try {
      file.WriteString(u"GUI", u"Skin", u"New");
      ADD_FAILURE() << "the write was not refused";
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), u"Unable to write to " + U16(path));
    }
    holder = FileHandle();
    const auto [head, size] = HeadAndSize(path, static_cast<DWORD>(kContent.size()));
    EXPECT_EQ(head, kContent);
    EXPECT_EQ(size, c.extendedTo ? static_cast<std::uint64_t>(c.extendedTo) : kContent.size());
    if (c.readOnly) {
      EXPECT_EQ(file.Document().Get(u"GUI", u"Skin"), u"Old");
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
}

}  // namespace
}  // namespace kq::win
