#include "common/CodePage.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

TEST(Cp1251Codec, ConvertsBothWays) {
  const Cp1251Codec codec;
  const struct {
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {u"Логин", "\xCB\xEE\xE3\xE8\xED"},
      {u"Ёё№", "\xA8\xB8\xB9"},
      {u"АЯаяЎў", "\xC0\xDF\xE0\xFF\xA1\xA2"},
      {u"€‚…", "\x88\x82\x85"},
      {u"Player_01 !~\t", "Player_01 !~\t"},
      {u"Мир 2", "\xCC\xE8\xF0 2"},
      {u"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(codec.ToAnsi(c.text), c.bytes);
    EXPECT_EQ(codec.FromAnsi(c.bytes), c.text);
  }
}

TEST(Cp1251Codec, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  const Cp1251Codec codec;
  const struct {
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {u"a\u4E2Db", "a?b"},  // CJK
      {u"\u00E9", "?"},      // Latin-1 letter absent from cp1251
      {u"\u0098", "?"},      // the one code point the table leaves undefined
      {u"\u0101Ж", "?\xC6"},
  };
  for (const auto& c : cases) EXPECT_EQ(codec.ToAnsi(c.text), c.bytes);
}

TEST(Cp1251Codec, UndefinedByteDecodesToItsOwnCodePoint) {
  EXPECT_EQ(Cp1251Codec().FromAnsi("\x98"), u"\u0098");
}

// Every defined high byte maps to its own character and back, so the table has no duplicates.
TEST(Cp1251Codec, HighBytesRoundTrip) {
  const Cp1251Codec codec;
  for (int b = 0x80; b <= 0xFF; ++b) {
    if (b == 0x98) continue;
    const std::string byte(1, static_cast<char>(b));
    const std::u16string text = codec.FromAnsi(byte);
    ASSERT_EQ(text.size(), 1u) << b;
    EXPECT_GE(text[0], 0x80) << b;
    EXPECT_EQ(codec.ToAnsi(text), byte) << b;
  }
}

}  // namespace
}  // namespace kq
