#include "common/Utf8.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

// What the form reader accepts as UTF-8 text and what it rejects as damaged.
TEST(Utf8, ValidityAndDecoding) {
  struct Case {
    std::string utf8;
    bool valid;
    std::u16string decoded;  // replacements where the bytes are damaged
  };
  const Case cases[] = {
      {"", true, u""},
      {"Start", true, u"Start"},
      {"\xD0\x92\xD1\x8B\xD0\xB1\xD0\xBE\xD1\x80", true, u"Выбор"},
      {"\xEF\xBF\xBD", true, u"\uFFFD"},  // a real replacement character is text
      {"\xF0\x9F\x98\x80", true, u"\U0001F600"},
      {"\xC3", false, u"\uFFFD"},             // cut short
      {"\xC3\x28", false, u"\uFFFD("},        // bad continuation
      {"\xC0\xAF", false, u"\uFFFD\uFFFD"},   // overlong '/'
      {"\xE0\x80\xAF", false, u"\uFFFD"},     // overlong, three bytes
      {"\xED\xA0\x80", false, u"\uFFFD"},     // a surrogate
      {"\xF4\x90\x80\x80", false, u"\uFFFD"}, // beyond U+10FFFF
      {"ok\xFF", false, u"ok\uFFFD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidUtf8(AsBytes(c.utf8)), c.valid) << c.utf8;
    EXPECT_EQ(Utf8ToUtf16(AsBytes(c.utf8)), c.decoded) << c.utf8;
  }
}

TEST(Utf8, EncodesAndReplacesLoneSurrogates) {
  EXPECT_EQ(Utf16ToUtf8String(u"Логин \U0001F600"),
            "\xD0\x9B\xD0\xBE\xD0\xB3\xD0\xB8\xD0\xBD \xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8String(std::u16string(1, u'\xD800') + u"a"), "\xEF\xBF\xBD" "a");
  EXPECT_EQ(Utf16ToUtf8String(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace kq
