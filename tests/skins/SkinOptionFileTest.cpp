#include "skins/SkinOptionFile.h"

#include "TestText.h"
#include "common/Utf8.h"

#include <gtest/gtest.h>

#include <optional>

namespace kq {
namespace {

using test::U8;

const Cp1251Codec kCodec;

TEST(SkinOptionFile, TextFromTheFileBytes) {
  const struct {
    const char* what;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"ANSI code page", "[GLOBALINFO]\r\nAUTHOR=\xD2\xE5\xEC\xE0", u"[GLOBALINFO]\r\nAUTHOR=Тема"},
      {"UTF-8 with its mark", "\xEF\xBB\xBF[A]\nX=\xD0\xA2", u"[A]\nX=Т"},
      {"UTF-16LE with its mark", std::string("\xFF\xFE[\0A\0]\0\x22\x04", 10), u"[A]Т"},
      {"empty", "", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OptionFileText(AsBytes(c.bytes), kCodec), c.text) << c.what;
  }
}

TEST(SkinOptionFile, VersionUsesADotWhateverTheLocale) {
  const struct {
    std::u16string_view text;
    std::optional<double> value;
  } cases[] = {
      {u"8", 8.0},
      {u"9.01", 9.01},
      {u" 7.45\t", 7.45},
      {u"+8.5", 8.5},
      {u"-1", -1.0},
      {u"1e1", 10.0},
      {u"10.", 10.0},
      {u".5", 0.5},
      {u"9,19", std::nullopt},
      {u"", std::nullopt},
      {u"abc", std::nullopt},
      {u"8.5x", std::nullopt},
      {u"inf", std::nullopt},
      {u"nan", std::nullopt},
      {u"0x10", std::nullopt},
      {u"８", std::nullopt},  // a full-width digit is no digit
      {u"1e999", std::nullopt},
      {u"+-5", std::nullopt},
      {u"- 5", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseSkinVersion(c.text), c.value) << Utf16ToUtf8String(c.text);
  }

  const struct {
    std::u16string_view file;
    double version;
  } files[] = {
      {u"[GLOBALINFO]\r\nVERSION=9.01\r\n", 9.01},
      {u"[GLOBALINFO]\r\nVERSION = 7.44 \r\n", 7.44},
      {u"[GLOBALINFO]\r\nAUTHOR=x\r\n", 0},
      {u"[GLOBALINFO]\r\nVersion=9\r\n", 0},
      {u"[GlobalInfo]\r\nVERSION=9\r\n", 0},
      {u"[GLOBALINFO]\r\nVERSION=\r\n", 0},
      {u"[GLOBALINFO]\r\nVERSION=nine\r\n", 0},
      {u"[FORM]\r\nVERSION=9\r\n", 0},
      {u"", 0},
  };
  for (const auto& f : files) {
    EXPECT_EQ(ReadSkinVersion(SkinIni::Parse(f.file)), f.version) << Utf16ToUtf8String(f.file);
  }
}

TEST(SkinOptionFile, VersionIsReportedInItsShortestForm) {
  const struct {
    double version;
    std::u16string_view text;
  } cases[] = {{8, u"8"}, {9.01, u"9.01"}, {7.45, u"7.45"}, {0, u"0"}, {10.5, u"10.5"}};
  for (const auto& c : cases) EXPECT_EQ(FormatSkinVersion(c.version), c.text) << c.version;
}

TEST(SkinOptionFile, VersionCheck) {
  using V = VersionNotice;
  const struct {
    double version;
    std::vector<std::u16string> arguments;
    VersionNotice notice;
  } cases[] = {
      {7.44, {}, V::kNone},
      {7.44, {u"/actest"}, V::kOldVersion},
      {7.44, {u"/ACTEST"}, V::kOldVersion},
      {7.44, {u"-x", u"/AcTeSt"}, V::kOldVersion},
      {7.44, {u"actest"}, V::kNone},
      {7.44, {u"/actest2"}, V::kNone},
      {7.44, {u" /actest"}, V::kNone},
      {0, {u"/actest"}, V::kOldVersion},  // no VERSION key
      {0, {}, V::kNone},
      {7.4499, {u"/actest"}, V::kOldVersion},
      {7.45, {u"/actest"}, V::kNone},
      {8, {u"/actest"}, V::kNone},
      {9.99, {}, V::kNone},
      {9.991, {}, V::kNewVersion},
      {10, {}, V::kNewVersion},
      {10, {u"/actest"}, V::kNewVersion},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckSkinVersion(c.version, c.arguments), c.notice) << c.version;
  }
  EXPECT_EQ(CheckSkinVersion(*ParseSkinVersion(u"7.45"), {}), V::kNone);
  EXPECT_EQ(CheckSkinVersion(*ParseSkinVersion(u"9.99"), {}), V::kNone);
}

TEST(SkinOptionFile, OldVersionText) {
  EXPECT_EQ(OldSkinVersionText(u"Old (internal)"),
            u"You are using an old version of the Old (internal)\" skin. Please, update skins to "
            u"latest or contact the skin engine support for upgrading of existing skin.\r\n\r\n"
            u"This notification occurs in design-time only for your information and will not "
            u"occur in real-time.");
}

}  // namespace
}  // namespace kq
