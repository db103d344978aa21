#include "launcher/LauncherConfig.h"

#include <gtest/gtest.h>

#include <string>

namespace kq {
namespace {

const Cp1251Codec kCodec;

IniDocument Doc(std::string_view content) {
  return IniDocument::Parse(AsBytes(content), kCodec);
}

TEST(LauncherConfig, MissingFileReadsAsAllDefaults) {
  const TLauncherSettings s = ReadLauncherSettings(Doc(""));
  EXPECT_EQ(s.Caption, u"ZA Vidudido Revo");
  EXPECT_FALSE(s.SkinMenu);
  EXPECT_EQ(s.Skin, u"FM (internal)");
  EXPECT_EQ(s.LoginServerIP, u"127.0.0.1");
  EXPECT_EQ(s.LoginServerPort, 10001);
  EXPECT_EQ(s.ClientLanguage, 7);
  EXPECT_EQ(s.LauncherDir, u"");
}

TEST(LauncherConfig, ReadsEveryKeyWhateverTheNamesCase) {
  const TLauncherSettings s = ReadLauncherSettings(
      Doc("[gui]\r\ncaption = \"\xCC\xEE\xE9 \xEA\xEB\xE8\xE5\xED\xF2\"\r\nSKINMENU=1\r\n"
          "skin=Beijing Opera\r\n[LOGINSERVER]\r\nip=10.0.0.5\r\nport=2106\r\n"
          "[Client]\r\nLanguage=1\r\n"));
  EXPECT_EQ(s.Caption, u"\u041C\u043E\u0439 \u043A\u043B\u0438\u0435\u043D\u0442");
  EXPECT_TRUE(s.SkinMenu);
  EXPECT_EQ(s.Skin, u"Beijing Opera");
  EXPECT_EQ(s.LoginServerIP, u"10.0.0.5");
  EXPECT_EQ(s.LoginServerPort, 2106);
  EXPECT_EQ(s.ClientLanguage, 1);
  EXPECT_EQ(s.LauncherDir, u"");
}

TEST(LauncherConfig, PresentEmptyTextIsNotTheDefault) {
  const TLauncherSettings s = ReadLauncherSettings(Doc("[GUI]\r\nCaption=\r\nSkin=\"\"\r\n"));
  EXPECT_EQ(s.Caption, u"");
  EXPECT_EQ(s.Skin, u"");
  EXPECT_EQ(s.LoginServerIP, u"127.0.0.1");
}

TEST(LauncherConfig, NumbersFallBackToTheirDefaultsAndAreNarrowed) {
  const struct {
    std::string_view value;
    std::int32_t port;
    std::uint8_t language;
    bool skin_menu;
  } cases[] = {
      {"0x2711", 10001, 0x11, true},
      {"abc", 10001, 7, false},
      {"", 10001, 7, false},
      {"263", 263, 7, true},
      {"1", 1, 1, true},
      {"-5", -5, 251, true},
      {"0", 0, 0, false},
      {"yes", 10001, 7, false},
      {"True", 10001, 7, false},
      {"0xFFFFFFFF", -1, 255, true},
      {"70000", 70000, 0x70, true},
  };
  for (const auto& c : cases) {
    const std::string v(c.value);
    const TLauncherSettings s =
        ReadLauncherSettings(Doc("[GUI]\r\nSkinMenu=" + v + "\r\n[LoginServer]\r\nPort=" + v +
                                 "\r\n[Client]\r\nLanguage=" + v + "\r\n"));
    EXPECT_EQ(s.LoginServerPort, c.port) << v;
    EXPECT_EQ(s.ClientLanguage, c.language) << v;
    EXPECT_EQ(s.SkinMenu, c.skin_menu) << v;
  }
}

TEST(LauncherConfig, DirectoryOfKeepsTheTrailingSeparator) {
  const struct {
    std::u16string_view path, dir;
  } cases[] = {
      {u"C:\\Games\\Rizura\\KQMiniLauncher.exe", u"C:\\Games\\Rizura\\"},
      {u"/home/player/rizura/KQMiniLauncher.exe", u"/home/player/rizura/"},
      {u"C:\\Games/Rizura\\sub/KQMiniLauncher.exe", u"C:\\Games/Rizura\\sub/"},
      {u"\\\\server\\share\\KQ.exe", u"\\\\server\\share\\"},
      {u"C:\\", u"C:\\"},
      {u"KQMiniLauncher.exe", u""},
      {u"C:KQMiniLauncher.exe", u""},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DirectoryOf(c.path), c.dir) << std::string(c.path.begin(), c.path.end());
  }
}

TEST(LauncherConfig, StoringTheSkinTouchesOnlyItsLine) {
  const std::string before =
      "; KQMiniLauncher\r\n\r\n[LoginServer]\r\n  IP = 10.0.0.5 \r\nPort=0x2711\r\n\r\n"
      "[gui]\r\n\tCaption\t=\t'Rizura'\r\nsKiN  =  \"Old Skin\"   ; picked in the menu\r\n"
      "Extra=kept\r\n[Client]\r\nLanguage=263";
  const std::string after =
      "; KQMiniLauncher\r\n\r\n[LoginServer]\r\n  IP = 10.0.0.5 \r\nPort=0x2711\r\n\r\n"
      "[gui]\r\n\tCaption\t=\t'Rizura'\r\nsKiN  =  New Skin\r\n"
      "Extra=kept\r\n[Client]\r\nLanguage=263";
  IniDocument ini = Doc(before);
  StoreSkinName(ini, u"New Skin");
  EXPECT_EQ(AsChars(ini.Serialize()), after);
  EXPECT_EQ(ReadLauncherSettings(Doc(after)).Skin, u"New Skin");
}

TEST(LauncherConfig, StoringTheSkinCreatesTheFileWithOnlyThatKey) {
  IniDocument ini = Doc("");
  StoreSkinName(ini, ReadLauncherSettings(ini).Skin);
  EXPECT_EQ(AsChars(ini.Serialize()), "[GUI]\r\nSkin=FM (internal)\r\n");
}

}  // namespace
}  // namespace kq
