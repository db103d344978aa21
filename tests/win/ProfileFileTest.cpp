#include "win/ProfileFile.h"

#include "TestFolder.h"
#include "common/Error.h"
#include "win/SystemText.h"

#include <gtest/gtest.h>

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
  WriteFileBytes(path, "; мой файл\r\n[GUI]\r\nCaption = \xCC\xEE\xE9\r\nSkin=Old\r\n\r\n[X]\r\nk=v\r\n");
  ProfileFile file(U16(path), kCodec);
  EXPECT_EQ(file.Document().Get(u"gui", u"CAPTION"), u"Мой");
  // Another program adds a line after the file was read: the write keeps it.
  WriteFileBytes(path, "; мой файл\r\n[GUI]\r\nCaption = \xCC\xEE\xE9\r\nSkin=Old\r\n\r\n[X]\r\nk=v\r\nnew=1\r\n");
  file.WriteString(u"GUI", u"Skin", u"New");
  EXPECT_EQ(ReadFileBytes(path),
            "; мой файл\r\n[GUI]\r\nCaption = \xCC\xEE\xE9\r\nSkin=New\r\n\r\n[X]\r\nk=v\r\nnew=1\r\n");
}

TEST(ProfileFile, RefusedWriteNamesTheFullPathAndChangesNothing) {
  TestFolder dir;
  const std::wstring path = dir / L"ro.ini";
  WriteFileBytes(path, "[GUI]\r\nSkin=Old\r\n");
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  ProfileFile file(U16(path), kCodec);
  try {
    file.WriteString(u"GUI", u"Skin", u"New");
    FAIL() << "the write was not refused";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Unable to write to " + U16(path));
  }
  EXPECT_EQ(ReadFileBytes(path), "[GUI]\r\nSkin=Old\r\n");
  EXPECT_EQ(file.Document().Get(u"GUI", u"Skin"), u"Old");
}

}  // namespace
}  // namespace kq::win
