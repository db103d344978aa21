#include "win/SystemText.h"

#include "win/Win.h"

#include "common/IniDocument.h"
#include "common/Paths.h"

#include <gtest/gtest.h>

namespace kq::win {
namespace {

// The tests run Wine under the Russian locale, the players' code page.
TEST(SystemAnsiCodec, ConvertsThroughCodePage1251) {
  ASSERT_EQ(::GetACP(), 1251u);
  const SystemAnsiCodec codec;
  EXPECT_EQ(codec.ToAnsi(u"Логин a"), "\xCB\xEE\xE3\xE8\xED a");
  EXPECT_EQ(codec.FromAnsi("\xCF\xE0\xF0\xEE\xEB\xFC"), u"Пароль");
  // A character the code page lacks becomes its replacement byte.
  EXPECT_EQ(codec.ToAnsi(u"a\u4E2Db"), "a?b");
  EXPECT_EQ(codec.ToAnsi(u""), "");
}

// The portable table and the system agree on every byte.
TEST(SystemAnsiCodec, AgreesWithThePortableTable) {
  const SystemAnsiCodec system;
  const Cp1251Codec table;
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(system.FromAnsi(byte), table.FromAnsi(byte)) << "byte " << b;
  }
}

TEST(ExecutablePath, NamesThisProgramWhateverTheWorkingFolder) {
  wchar_t old[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, old);
  ASSERT_TRUE(::SetCurrentDirectoryW(L"C:\\"));
  const std::u16string path = ExecutablePath();
  ::SetCurrentDirectoryW(old);
  EXPECT_TRUE(path.ends_with(u"\\kq_wintests.exe")) << std::string(path.begin(), path.end());
  EXPECT_TRUE(DirectoryOf(path).ends_with(u"\\"));
}

}  // namespace
}  // namespace kq::win
