#include "common/IniDocument.h"

#include "TestText.h"

#include <gtest/gtest.h>

#include <string>

namespace kq {
namespace {

using test::B;

const Cp1251Codec kCodec;

// UTF-16LE bytes; a leading U+FEFF in `s` becomes the byte-order mark FF FE.
Bytes Utf16Le(std::u16string_view s) {
  Bytes out;
  for (char16_t c : s) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

IniDocument Doc(const Bytes& content) {
  return IniDocument::Parse(content, kCodec);
}

TEST(IniDocument, UntouchedDocumentSerializesToItsBytes) {
  using namespace std::string_literals;
  Bytes odd_utf16 = Utf16Le(u"\uFEFF[GUI]\r\nA=1\r\n");
  odd_utf16.push_back('B');
  const Bytes fixtures[] = {
      {},
      B("; launcher settings\r\n\r\n[GUI]\r\nCaption = \"\xCC\xEE\xE9 "
        "\xEB\xE0\xF3\xED\xF7\xE5\xF0\"\r\n"
        "  SkinMenu\t=1  \r\nstray line\r\n\r\n[LoginServer]\r\nIP=127.0.0.1\r\n"),
      B("[GUI]\nSkin=FM (internal)\n"),
      B("[GUI]\r\nA=1\nB=2\r\n\n\r\n"),
      B("[GUI]\r\nSkin=last line without an end"),
      B("\r\n\r\n\n"),
      B("[GUI]\rA=lone CR\r\n\r"),
      B("[GUI]\r\nA=x\0y\0\r\n\0"s),
      Utf16Le(u"\uFEFF; \u0442\u0435\u043C\u0430\r\n[GUI]\r\nSkin = \u0422\u0435\u043C\u0430\r\n"),
      Utf16Le(u"\uFEFF[GUI]\nA=1"),
      odd_utf16,
      B("\xEF\xBB\xBF[GUI]\r\nSkin=\xD0\xA2\xD0\xB5\xD0\xBC\xD0\xB0\r\nbad=\xFF\xC3\r\n"),
  };
  for (const Bytes& content : fixtures) {
    EXPECT_EQ(Doc(content).Serialize(), content) << AsChars(content);
  }
}

TEST(IniDocument, GetFollowsTheProfileReadingRules) {
  const IniDocument doc =
      Doc(B("top=before any section\r\n"
            "[GUI]\r\n"
            "  Caption  =  \t Hello World \t \r\n"
            "Quoted=\"  spaced  \"\r\n"
            "Single='x'\r\n"
            "Mixed=\"x'\r\n"
            "TwoPairs=\"\"inner\"\"\r\n"
            "Lone=\"\r\n"
            "Empty=\r\n"
            "Blank= \t \r\n"
            "EmptyQuotes=''\r\n"
            "Eq=a=b\r\n"
            ";Commented=yes\r\n"
            "  ; Indented=yes\r\n"
            "NoEquals\r\n"
            "Dup=first\r\n"
            "DUP=second\r\n"
            "\xCA\xED\xEE\xEF\xEA\xE0=\xF0\xF3\r\n"  // Кнопка=ру
            "\xA8\xEB\xEA\xE0=\xB8\r\n"              // Ёлка=ё
            "[gui]\r\n"
            "Extra=in a second section of the same name\r\n"
            "[ Other ]  ; trailing note\r\n"
            "top=other\r\n"
            "Key With Spaces = v\r\n"));
  const struct {
    std::u16string_view section, key;
    std::optional<std::u16string> value;
  } cases[] = {
      {u"GUI", u"Caption", u"Hello World"},
      {u"gui", u"CAPTION", u"Hello World"},
      {u" GUI\t", u" Caption ", u"Hello World"},
      {u"GUI", u"Quoted", u"  spaced  "},
      {u"GUI", u"Single", u"x"},
      {u"GUI", u"Mixed", u"\"x'"},
      {u"GUI", u"TwoPairs", u"\"inner\""},
      {u"GUI", u"Lone", u"\""},
      {u"GUI", u"Empty", u""},
      {u"GUI", u"Blank", u""},
      {u"GUI", u"EmptyQuotes", u""},
      {u"GUI", u"Eq", u"a=b"},
      {u"GUI", u"Commented", std::nullopt},
      {u"GUI", u";Commented", std::nullopt},
      {u"GUI", u"Indented", std::nullopt},
      {u"GUI", u"NoEquals", std::nullopt},
      {u"GUI", u"Dup", u"first"},
      {u"GUI", u"Extra", std::nullopt},
      {u"GUI", u"\u041A\u041D\u041E\u041F\u041A\u0410", u"\u0440\u0443"},  // КНОПКА
      {u"GUI", u"\u0451\u041B\u041A\u0410", u"\u0451"},                    // ёЛКА
      {u"GUI", u"top", std::nullopt},
      {u"", u"top", std::nullopt},
      {u"other", u"TOP", u"other"},
      {u"Other", u"key with spaces", u"v"},
      {u"Missing", u"Caption", std::nullopt},
      {u"GUI", u"Missing", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(doc.Get(c.section, c.key), c.value) << std::string(c.section.begin(), c.section.end())
                                                  << "/" << std::string(c.key.begin(), c.key.end());
  }
}

TEST(IniDocument, ValuesAreCutTo2047Characters) {
  std::string long_value;
  for (int i = 0; i < 3000; ++i) long_value.push_back(static_cast<char>('a' + i % 26));
  const IniDocument doc =
      Doc(B("[A]\r\nLong=" + long_value + "\r\nQuoted=\"" + long_value.substr(0, 2048) + "\"\r\n"));
  const std::u16string expected(long_value.begin(), long_value.begin() + 2047);
  EXPECT_EQ(doc.Get(u"A", u"Long"), expected);
  EXPECT_EQ(doc.Get(u"A", u"Quoted"), expected);
}

TEST(IniDocument, DefaultsStandOnlyForAbsentOrUnreadableValues) {
  const IniDocument doc =
      Doc(B("[A]\r\nEmpty=\r\nText=abc\r\nHex=0x2711\r\nSpaced=  -5  \r\nQuoted=\"12\"\r\n"));
  EXPECT_EQ(doc.GetString(u"A", u"Empty", u"def"), u"");
  EXPECT_EQ(doc.GetString(u"A", u"Text", u"def"), u"abc");
  EXPECT_EQ(doc.GetString(u"A", u"Absent", u"def"), u"def");

  const struct {
    std::u16string_view key;
    std::int32_t value;
  } ints[] = {{u"Empty", 42},  {u"Text", 42},   {u"Hex", 10001},
              {u"Spaced", -5}, {u"Quoted", 12}, {u"Absent", 42}};
  for (const auto& c : ints) {
    EXPECT_EQ(doc.GetInt(u"A", c.key, 42), c.value) << std::string(c.key.begin(), c.key.end());
  }
}

TEST(ParseProfileInteger, AcceptsHexPatternsAndDecimalInRange) {
  const struct {
    std::u16string_view text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {u"0", 0},
      {u"10001", 10001},
      {u"0x2711", 10001},
      {u"0X10", 16},
      {u"0xaBcD", 0xABCD},
      {u"0x7FFFFFFF", 2147483647},
      {u"0xFFFFFFFF", -1},
      {u"0x80000000", -2147483647 - 1},
      {u"0x00000000FF", 255},
      {u"0x100000000", std::nullopt},
      {u"0x", std::nullopt},
      {u"0x1G", std::nullopt},
      {u"0x-1", std::nullopt},
      {u"0x 1", std::nullopt},
      {u"x10", std::nullopt},
      {u"00x1", std::nullopt},
      {u"-0x1", std::nullopt},
      {u"-5", -5},
      {u"+7", 7},
      {u"007", 7},
      {u"-0", 0},
      {u"2147483647", 2147483647},
      {u"2147483648", std::nullopt},
      {u"-2147483648", -2147483647 - 1},
      {u"-2147483649", std::nullopt},
      {u"99999999999999999999", std::nullopt},
      {u"", std::nullopt},
      {u"-", std::nullopt},
      {u"+", std::nullopt},
      {u"abc", std::nullopt},
      {u"12abc", std::nullopt},
      {u" 5", std::nullopt},
      {u"5 ", std::nullopt},
      {u"1.5", std::nullopt},
      {u"--5", std::nullopt},
      {u"\u0665", std::nullopt},  // an Arabic-Indic digit is not a decimal digit here
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseProfileInteger(c.text), c.value) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(IniDocument, SetReplacesInPlaceOrAppendsKeepingEveryOtherLine) {
  const struct {
    const char* what;
    std::string_view before;
    std::u16string_view section, key, value;
    std::string_view after;
  } cases[] = {
      {"in place, spacing up to '=' kept", "; c\r\n[GUI]\r\n  Skin \t=  old  \r\nOther = 1\r\n",
       u"GUI", u"Skin", u"New", "; c\r\n[GUI]\r\n  Skin \t=  New\r\nOther = 1\r\n"},
      {"in place, names in other case", "[gui]\r\nSKIN=a\r\n", u"GUI", u"Skin", u"b",
       "[gui]\r\nSKIN=b\r\n"},
      {"in place, first duplicate only", "[GUI]\r\nSkin=a\r\nSkin=b\r\n", u"GUI", u"Skin", u"c",
       "[GUI]\r\nSkin=c\r\nSkin=b\r\n"},
      {"in place, value with '='", "[GUI]\r\nSkin=a=b\r\n", u"GUI", u"Skin", u"x=y",
       "[GUI]\r\nSkin=x=y\r\n"},
      {"in place, on a last line without an end", "[GUI]\nSkin=a", u"GUI", u"Skin", u"b",
       "[GUI]\nSkin=b"},
      // Only an LF (with its CR) ends a line inside the file: a lone CR is the value's own.
      {"in place, a lone CR inside the value goes with it", "[GUI]\r\nSkin=a\rb\r\nX=1\r\n",
       u"GUI", u"Skin", u"c", "[GUI]\r\nSkin=c\r\nX=1\r\n"},
      {"append after the section's last non-blank line",
       "[GUI]\r\nCaption=x\r\n; note\r\n\r\n \t\r\n[Next]\r\nA=1\r\n", u"GUI", u"Skin", u"b",
       "[GUI]\r\nCaption=x\r\n; note\r\nSkin=b\r\n\r\n \t\r\n[Next]\r\nA=1\r\n"},
      {"append under a bare header", "[GUI]\r\n\r\n[Next]\r\n", u"GUI", u"Skin", u"b",
       "[GUI]\r\nSkin=b\r\n\r\n[Next]\r\n"},
      {"append to the first of two same-named sections",
       "[GUI]\r\nA=1\r\n[Other]\r\n[gui]\r\nSkin=old\r\n", u"GUI", u"Skin", u"b",
       "[GUI]\r\nA=1\r\nSkin=b\r\n[Other]\r\n[gui]\r\nSkin=old\r\n"},
      {"commented key is not the key", "[GUI]\r\n;Skin=old\r\n", u"GUI", u"Skin", u"b",
       "[GUI]\r\n;Skin=old\r\nSkin=b\r\n"},
      {"key before any section is not the key", "Skin=old\r\n[GUI]\r\n", u"GUI", u"Skin", u"b",
       "Skin=old\r\n[GUI]\r\nSkin=b\r\n"},
      {"append to a last section without a final line end", "[GUI]\r\nA=1", u"GUI", u"Skin", u"b",
       "[GUI]\r\nA=1\r\nSkin=b\r\n"},
      {"new section at the end", "; c\r\n[Other]\r\nA=1\r\n\r\n", u"GUI", u"Skin", u"b",
       "; c\r\n[Other]\r\nA=1\r\n\r\n[GUI]\r\nSkin=b\r\n"},
      {"new section in an LF file without a final line end", "[Other]\nA=1", u"GUI", u"Skin", u"b",
       "[Other]\nA=1\n[GUI]\nSkin=b\n"},
      {"the first line end found wins", "[Other]\nA=1\r\n", u"GUI", u"Skin", u"b",
       "[Other]\nA=1\r\n[GUI]\nSkin=b\n"},
      {"a single line without an end gets CR LF", "; c", u"GUI", u"Skin", u"b",
       "; c\r\n[GUI]\r\nSkin=b\r\n"},
      // A file that ends in a CR: the CR ends its last line, now and once a line follows.
      {"append to a last section that ends in a CR", "[GUI]\nA=1\r", u"GUI", u"Skin", u"b",
       "[GUI]\nA=1\r\nSkin=b\n"},
      {"a header that ends the file with a CR", "[x]\n[GUI \r", u"GUI", u"Skin", u"b",
       "[x]\n[GUI \r\nSkin=b\n"},
      {"in place on a last line that ends in a CR", "[GUI]\nSkin=a\r", u"GUI", u"Skin", u"b",
       "[GUI]\nSkin=b\r"},
      {"a single line that ends in a CR gets CR LF", "; c\r", u"GUI", u"Skin", u"b",
       "; c\r\n[GUI]\r\nSkin=b\r\n"},
      {"empty file", "", u"GUI", u"Skin", u"FM (internal)", "[GUI]\r\nSkin=FM (internal)\r\n"},
      {"empty value", "[GUI]\r\nSkin=a\r\n", u"GUI", u"Skin", u"", "[GUI]\r\nSkin=\r\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc = Doc(B(c.before));
    doc.Set(c.section, c.key, c.value);
    const Bytes written = doc.Serialize();
    EXPECT_EQ(AsChars(written), c.after) << c.what;
    EXPECT_EQ(doc.Get(c.section, c.key), c.value) << c.what;
    EXPECT_EQ(Doc(written).Get(c.section, c.key), c.value) << c.what;
  }
}

TEST(IniDocument, SetKeepsTheFileEncoding) {
  const std::u16string_view tema = u"\u0422\u0435\u043C\u0430";  // Тема
  const struct {
    const char* what;
    Bytes before;
    std::u16string_view key, value;
    std::u16string_view value_before;  // what the key read before the write
    Bytes after;
  } cases[] = {
      {"cp1251 in place", B("[GUI]\r\nSkin=\xC0\r\n"), u"Skin", tema, u"\u0410",
       B("[GUI]\r\nSkin=\xD2\xE5\xEC\xE0\r\n")},
      {"cp1251 Cyrillic key appended",
       B("[GUI]\r\n"),
       u"\u041A\u043B\u044E\u0447",
       tema,
       {},
       B("[GUI]\r\n\xCA\xEB\xFE\xF7=\xD2\xE5\xEC\xE0\r\n")},
      {"UTF-8 with BOM in place", B("\xEF\xBB\xBF[GUI]\nSkin=\xD0\x90\n"), u"Skin", tema, u"\u0410",
       B("\xEF\xBB\xBF[GUI]\nSkin=\xD0\xA2\xD0\xB5\xD0\xBC\xD0\xB0\n")},
      {"UTF-8 beyond the BMP", B("\xEF\xBB\xBF[GUI]\r\nSkin=\xF0\x9F\x98\x80\r\n"), u"Skin",
       u"\u00E9\U0001F642", u"\U0001F600",
       B("\xEF\xBB\xBF[GUI]\r\nSkin=\xC3\xA9\xF0\x9F\x99\x82\r\n")},
      {"UTF-16LE in place", Utf16Le(u"\uFEFF[GUI]\r\n Skin = \u0410 \r\n"), u"Skin", tema,
       u"\u0410", Utf16Le(u"\uFEFF[GUI]\r\n Skin = \u0422\u0435\u043C\u0430\r\n")},
      {"UTF-16LE section appended",
       Utf16Le(u"\uFEFF[A]\nx=1"),
       u"Skin",
       tema,
       {},
       Utf16Le(u"\uFEFF[A]\nx=1\n[GUI]\nSkin=\u0422\u0435\u043C\u0430\n")},
      // The odd last byte becomes a whole unit (B 00), so the lines after it stay in step.
      {"UTF-16LE ending in an odd byte",
       Join(Utf16Le(u"\uFEFF[A]\nx=1"), {'B'}),
       u"Skin",
       tema,
       {},
       Join(Utf16Le(u"\uFEFF[A]\nx=1B"), Utf16Le(u"\n[GUI]\nSkin=\u0422\u0435\u043C\u0430\n"))},
      {"UTF-16LE BOM alone",
       Utf16Le(u"\uFEFF"),
       u"Skin",
       u"a",
       {},
       Utf16Le(u"\uFEFF[GUI]\r\nSkin=a\r\n")},
  };
  for (const auto& c : cases) {
    IniDocument doc = Doc(c.before);
    EXPECT_EQ(doc.Get(u"GUI", c.key).value_or(u""), c.value_before) << c.what;
    doc.Set(u"GUI", c.key, c.value);
    EXPECT_EQ(doc.Serialize(), c.after) << c.what;
    EXPECT_EQ(Doc(doc.Serialize()).Get(u"GUI", c.key), c.value) << c.what;
  }
}

TEST(IniDocument, TextTheFileCannotHoldReadsBackAsWritten) {
  IniDocument doc = Doc(B("[GUI]\r\n"));
  doc.Set(u"GUI", u"Skin", u"\u65E5\u672C x");  // no such characters in cp1251
  EXPECT_EQ(AsChars(doc.Serialize()), "[GUI]\r\nSkin=?? x\r\n");
  EXPECT_EQ(doc.Get(u"GUI", u"Skin"), u"?? x");

  const IniDocument utf8 =
      Doc(B("\xEF\xBB\xBF[GUI]\r\nBad=a\xFF\xE2\x82 \xC0\xAF\xED\xA0\x80\r\n"));
  EXPECT_EQ(utf8.Get(u"GUI", u"Bad"), u"a\uFFFD\uFFFD \uFFFD\uFFFD\uFFFD");
}

TEST(IniDocument, AValueStopsAtItsFirstLineBreak) {
  for (std::u16string_view value : {u"a\r\n[Evil]\r\nSkin=b", u"a\n[Evil]", u"a\rb"}) {
    IniDocument doc = Doc(B("[GUI]\r\nSkin=old\r\n"));
    doc.Set(u"GUI", u"Skin", value);
    EXPECT_EQ(AsChars(doc.Serialize()), "[GUI]\r\nSkin=a\r\n");
  }
}

}  // namespace
}  // namespace kq
