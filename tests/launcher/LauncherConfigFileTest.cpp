// The launcher configuration read from real files through the system's code page.
#include "launcher/LauncherConfig.h"

#include "../win/TestFolder.h"
#include "win/ProfileFile.h"
#include "win/SystemText.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

using win::test::TestFolder;
using win::test::WriteFileBytes;

struct ConfigCase {
  const char* name;
  const char* file;  // nullptr: no file at all
  std::u16string caption;
  bool skinMenu;
  std::u16string skin;
  std::int32_t port;
  std::uint8_t language;
};

const ConfigCase kCases[] = {
    {"no file", nullptr, u"ZA Vidudido Revo", false, u"FM (internal)", 10001, 7},
    {"hex port", "[LoginServer]\r\nPort=0x2711\r\n", u"ZA Vidudido Revo", false, u"FM (internal)", 10001, 7},
    {"port abc", "[LoginServer]\r\nPort=abc\r\n", u"ZA Vidudido Revo", false, u"FM (internal)", 10001, 7},
    {"port empty", "[LoginServer]\r\nPort=\r\n", u"ZA Vidudido Revo", false, u"FM (internal)", 10001, 7},
    {"port 70000", "[LoginServer]\r\nPort=70000\r\n", u"ZA Vidudido Revo", false, u"FM (internal)", 70000, 7},
    {"language 263", "[Client]\r\nLanguage=263\r\n", u"ZA Vidudido Revo", false, u"FM (internal)", 10001, 7},
    {"language 8", "[Client]\r\nLanguage=8\r\n", u"ZA Vidudido Revo", false, u"FM (internal)", 10001, 8},
    {"skin menu 1", "[GUI]\r\nSkinMenu=1\r\n", u"ZA Vidudido Revo", true, u"FM (internal)", 10001, 7},
    {"skin menu -5", "[GUI]\r\nSkinMenu=-5\r\n", u"ZA Vidudido Revo", true, u"FM (internal)", 10001, 7},
    {"skin menu 0", "[GUI]\r\nSkinMenu=0\r\n", u"ZA Vidudido Revo", false, u"FM (internal)", 10001, 7},
    {"skin menu yes", "[GUI]\r\nSkinMenu=yes\r\n", u"ZA Vidudido Revo", false, u"FM (internal)", 10001, 7},
    {"empty caption", "[GUI]\r\nCaption=\r\n", u"", false, u"FM (internal)", 10001, 7},
    {"cyrillic caption, lower-case names", "[gui]\r\ncaption = \xC4\xEE\xEC\r\nskin=\"Blue\"\r\n",
     u"Дом", false, u"Blue", 10001, 7},
};

TEST(LauncherConfigFile, ReadsEveryKeyWithItsRulesAndDefaults) {
  const win::SystemAnsiCodec codec;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    TestFolder dir;
    const std::wstring path = dir / L"KQMiniLauncherSettings.ini";
    if (c.file) WriteFileBytes(path, c.file);
    const win::ProfileFile file(win::U16(path), codec);
    const TLauncherSettings s = ReadLauncherSettings(file.Document());
    EXPECT_EQ(s.Caption, c.caption);
    EXPECT_EQ(s.SkinMenu, c.skinMenu);
    EXPECT_EQ(s.Skin, c.skin);
    EXPECT_EQ(s.LoginServerIP, u"127.0.0.1");
    EXPECT_EQ(s.LoginServerPort, c.port);
    EXPECT_EQ(s.ClientLanguage, c.language);
  }
}

}  // namespace
}  // namespace kq
