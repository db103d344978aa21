#include "session/Packets.h"

#include <gtest/gtest.h>

#include <string>

namespace kq {
namespace {

Bytes Hex(std::initializer_list<std::uint8_t> b) {
  return Bytes(b);
}

// A zero-filled response with its type bytes set where the size allows. The length field
// stays zero: responses are never judged by it.
Bytes Response(std::uint8_t high, std::uint8_t low, std::size_t size) {
  Bytes f(size, 0);
  if (size > 2) f[2] = high;
  if (size > 3) f[3] = low;
  return f;
}

// A login request from its two 13-byte fields as they should appear on the wire.
Bytes LoginFrame(std::string_view loginField, std::string_view passwordField) {
  EXPECT_EQ(loginField.size(), 13u);
  EXPECT_EQ(passwordField.size(), 13u);
  Bytes f{0x1F, 0x00, 0x15, 0x03};
  f.insert(f.end(), loginField.begin(), loginField.end());
  f.insert(f.end(), passwordField.begin(), passwordField.end());
  f.push_back(0x00);
  return f;
}

const std::string kZeros13(13, '\0');

TEST(PacketsRequestBuilders, FixedRequests) {
  const struct {
    const char* name;
    Bytes built;
    Bytes expected;
  } cases[] = {
      {"hello", BuildHello(), Hex({0x05, 0x00, 0x15, 0x0C, 0xFF})},
      {"world list 0", BuildWorldListRequest(0), Hex({0x08, 0x00, 0x15, 0x05, 0, 0, 0, 0})},
      {"world list value is little-endian", BuildWorldListRequest(0x12345678),
       Hex({0x08, 0x00, 0x15, 0x05, 0x78, 0x56, 0x34, 0x12})},
      {"select world 0", BuildSelectWorld(0), Hex({0x06, 0x00, 0x15, 0x07, 0x00, 0x00})},
      {"select world index is little-endian", BuildSelectWorld(0x0102),
       Hex({0x06, 0x00, 0x15, 0x07, 0x02, 0x01})},
      {"select world highest index", BuildSelectWorld(0xFFFF),
       Hex({0x06, 0x00, 0x15, 0x07, 0xFF, 0xFF})},
  };
  for (const auto& c : cases) EXPECT_EQ(c.built, c.expected) << c.name;
}

TEST(PacketsRequestBuilders, FrameSizeIsLittleEndianAndKeepsItsLow16Bits) {
  const struct {
    std::size_t payloadSize;
    std::uint8_t low, high;
  } cases[] = {{300, 0x30, 0x01}, {65532, 0x00, 0x00}, {65533, 0x01, 0x00}};
  for (const auto& c : cases) {
    const Bytes payload(c.payloadSize, 0xAB);
    const Bytes f = BuildFrame(0x42, payload);
    ASSERT_EQ(f.size(), c.payloadSize + 4);
    EXPECT_EQ(f[0], c.low) << c.payloadSize;
    EXPECT_EQ(f[1], c.high) << c.payloadSize;
    EXPECT_EQ(f[2], 0x15);
    EXPECT_EQ(f[3], 0x42);
    EXPECT_EQ(f.back(), 0xAB);
  }
}

// With both keys 0 the scrambling is the identity, which shows the field layout alone.
TEST(PacketsLoginRequest, FieldsAreCutOrZeroPaddedTo13Bytes) {
  const Cp1251Codec codec;
  const struct {
    const char* name;
    std::u16string login, password;
    std::string loginField, passwordField;
  } cases[] = {
      {"short texts", u"abc", u"xyz", std::string("abc\0\0\0\0\0\0\0\0\0\0", 13),
       std::string("xyz\0\0\0\0\0\0\0\0\0\0", 13)},
      {"13-byte login fills its field", u"ABCDEFGHIJKLM", u"p", "ABCDEFGHIJKLM",
       std::string("p\0\0\0\0\0\0\0\0\0\0\0\0", 13)},
      {"20-byte login is cut to 13", u"ABCDEFGHIJKLMNOPQRST", u"p", "ABCDEFGHIJKLM",
       std::string("p\0\0\0\0\0\0\0\0\0\0\0\0", 13)},
      {"20-byte password is cut to 13", u"l", u"0123456789abcdefghij",
       std::string("l\0\0\0\0\0\0\0\0\0\0\0\0", 13), "0123456789abc"},
      {"both empty", u"", u"", kZeros13, kZeros13},
      {"blanks are kept", u" a b ", u"  ", std::string(" a b \0\0\0\0\0\0\0\0", 13),
       std::string("  \0\0\0\0\0\0\0\0\0\0\0", 13)},
      {"Cyrillic login in cp1251", u"Логин", u"",
       std::string("\xCB\xEE\xE3\xE8\xED\0\0\0\0\0\0\0\0", 13), kZeros13},
      {"character outside cp1251 becomes '?'", u"a\u4E2Db", u"\u00E9",
       std::string("a?b\0\0\0\0\0\0\0\0\0\0", 13), std::string("?\0\0\0\0\0\0\0\0\0\0\0\0", 13)},
  };
  for (const auto& c : cases) {
    const Bytes built =
        BuildLoginRequest(codec.ToAnsi(c.login), codec.ToAnsi(c.password), 0x00, 0x00);
    EXPECT_EQ(built, LoginFrame(c.loginField, c.passwordField)) << c.name;
  }
}

// Keys derived from a hello reply, then a login scrambled with them; every byte by hand.
TEST(PacketsLoginRequest, WorkedExamples) {
  const Cp1251Codec codec;
  const struct {
    const char* name;
    std::uint8_t addBase, xorBase;
    std::u16string_view serverIP;
    SessionKeys keys;
    std::u16string login, password;
    std::string loginField, passwordField;
  } cases[] = {
      // AddKey 0x10+0x3A, XorKey 0x20+0x5E; 'K' 0x4B -> (0x4B+0x4A)^0x7E = 0x95^0x7E = 0xEB.
      {"designated server, ASCII",
       0x10,
       0x20,
       u"127.0.0.1",
       {0x4A, 0x7E},
       u"Kq1",
       u"pw",
       "\xEB\xC5\x05\x34\x34\x34\x34\x34\x34\x34\x34\x34\x34",
       "\xC4\xBF\x34\x34\x34\x34\x34\x34\x34\x34\x34\x34\x34"},
      // AddKey 0xF0+0xC5 = 0x1B5 -> 0xB5, XorKey 0xC0+0xA7 = 0x167 -> 0x67; the sums of the
      // Cyrillic bytes and of 'я' (0xFF) wrap too: (0xCB+0xB5) = 0x180 -> 0x80^0x67 = 0xE7.
      {"other server, Cyrillic, wrapping",
       0xF0,
       0xC0,
       u"10.0.0.5",
       {0xB5, 0x67},
       u"Логин",
       u"я",
       "\xE7\xC4\xFF\xFA\xC5\xD2\xD2\xD2\xD2\xD2\xD2\xD2\xD2",
       "\xD3\xD2\xD2\xD2\xD2\xD2\xD2\xD2\xD2\xD2\xD2\xD2\xD2"},
  };
  for (const auto& c : cases) {
    const SessionKeys keys = DeriveSessionKeys(c.addBase, c.xorBase, c.serverIP);
    EXPECT_EQ(keys.AddKey, c.keys.AddKey) << c.name;
    EXPECT_EQ(keys.XorKey, c.keys.XorKey) << c.name;
    const Bytes built = BuildLoginRequest(codec.ToAnsi(c.login), codec.ToAnsi(c.password),
                                          c.keys.AddKey, c.keys.XorKey);
    EXPECT_EQ(built, LoginFrame(c.loginField, c.passwordField)) << c.name;
  }
}

TEST(PacketsLoginRequest, EmptyPasswordFieldIsAddKeyXorXorKeyThroughout) {
  const struct {
    std::uint8_t add, xorKey, expected;
  } cases[] = {
      {0x4A, 0x7E, 0x34}, {0xB5, 0x67, 0xD2}, {0xFF, 0x00, 0xFF},
      {0x00, 0xFF, 0xFF}, {0x80, 0x80, 0x00},
  };
  for (const auto& c : cases) {
    const Bytes built = BuildLoginRequest("player", "", c.add, c.xorKey);
    ASSERT_EQ(built.size(), 31u);
    EXPECT_EQ(Bytes(built.begin() + 17, built.begin() + 30), Bytes(13, c.expected))
        << int{c.add} << " " << int{c.xorKey};
    EXPECT_EQ(built.back(), 0x00);  // the closing byte is never scrambled
  }
}

TEST(PacketsSessionKeys, DesignatedAddressOnlyWhenEqualCharacterForCharacter) {
  const SessionKeys designated{0x4A, 0x7E};  // 0x10+0x3A, 0x20+0x5E
  const SessionKeys other{0xD5, 0xC7};       // 0x10+0xC5, 0x20+0xA7
  const struct {
    std::u16string_view ip;
    SessionKeys expected;
  } cases[] = {
      {u"127.0.0.1", designated},
      {u"127.0.0.01", other},
      {u"127.000.000.001", other},
      {u"0127.0.0.1", other},
      {u" 127.0.0.1", other},
      {u"127.0.0.1 ", other},
      {std::u16string_view(u"127.0.0.1\0", 10), other},
      {u"127.0.0.2", other},
      {u"localhost", other},
      {u"", other},
  };
  for (const auto& c : cases) {
    const SessionKeys k = DeriveSessionKeys(0x10, 0x20, c.ip);
    EXPECT_EQ(k.AddKey, c.expected.AddKey) << std::string(c.ip.begin(), c.ip.end());
    EXPECT_EQ(k.XorKey, c.expected.XorKey) << std::string(c.ip.begin(), c.ip.end());
  }
}

TEST(PacketsSessionKeys, SumsWrapModulo256) {
  const struct {
    std::uint8_t addBase, xorBase;
    std::u16string_view ip;
    SessionKeys expected;
  } cases[] = {
      {0x00, 0x00, u"127.0.0.1", {0x3A, 0x5E}}, {0x00, 0x00, u"10.0.0.5", {0xC5, 0xA7}},
      {0xF0, 0xC0, u"127.0.0.1", {0x2A, 0x1E}},  // 0x12A, 0x11E
      {0xF0, 0xC0, u"10.0.0.5", {0xB5, 0x67}},   // 0x1B5, 0x167
      {0xFF, 0xFF, u"127.0.0.1", {0x39, 0x5D}},  // 0x139, 0x15D
      {0xC6, 0xA2, u"127.0.0.1", {0x00, 0x00}},  // 0x100, 0x100
  };
  for (const auto& c : cases) {
    const SessionKeys k = DeriveSessionKeys(c.addBase, c.xorBase, c.ip);
    EXPECT_EQ(k.AddKey, c.expected.AddKey) << int{c.addBase};
    EXPECT_EQ(k.XorKey, c.expected.XorKey) << int{c.xorBase};
  }
}

TEST(PacketsResponses, TypeIsByte2HighByte3Low) {
  const struct {
    Bytes frame;
    std::uint16_t expected;
  } cases[] = {
      {Hex({0x06, 0x00, 0x15, 0x0D, 0x01, 0x02}), kHelloReplyType},
      {Hex({0x0D, 0x00, 0x15, 0x04}), kLoginResultType},
      {Hex({0x0D, 0x00, 0x04, 0x15}), 0x0415},
      {Hex({0x05, 0x00, 0x15, 0x0C, 0xFF}), 0x150C},
      {Hex({0x03, 0x00, 0x15}), 0},
      {Hex({}), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ResponseType(c.frame), c.expected) << c.frame.size();
}

// Each decoder takes only frames of its own type that reach its last field.
TEST(PacketsResponses, DecodersRejectOtherTypesAndShortFrames) {
  const struct {
    const char* name;
    std::uint8_t code;
    std::size_t minSize;
    bool (*decodes)(ByteView);
  } decoders[] = {
      {"hello reply", 0x0D, 6, [](ByteView f) { return DecodeHelloReply(f).has_value(); }},
      {"login result", 0x04, 13, [](ByteView f) { return DecodeLoginResult(f).has_value(); }},
      {"world list", 0x06, 61,
       [](ByteView f) { return DecodeWorldList(f, Cp1251Codec()).has_value(); }},
      {"world server data", 0x08, 27,
       [](ByteView f) { return DecodeWorldServerData(f).has_value(); }},
  };
  for (const auto& d : decoders) {
    SCOPED_TRACE(d.name);
    EXPECT_TRUE(d.decodes(Response(0x15, d.code, d.minSize)));
    EXPECT_TRUE(d.decodes(Response(0x15, d.code, d.minSize + 40)));
    EXPECT_FALSE(d.decodes(Response(0x15, d.code, d.minSize - 1)));
    EXPECT_FALSE(d.decodes(Response(0x15, d.code, 4)));
    EXPECT_FALSE(d.decodes(Response(0x15, d.code, 3)));
    EXPECT_FALSE(d.decodes(Bytes{}));
    EXPECT_FALSE(d.decodes(Response(d.code, 0x15, 64)));  // type bytes reversed
    EXPECT_FALSE(d.decodes(Response(0x16, d.code, 64)));
    for (const auto& other : decoders) {
      if (other.code != d.code) {
        EXPECT_FALSE(d.decodes(Response(0x15, other.code, 64))) << other.name;
      }
    }
  }
}

TEST(PacketsHelloReply, ReadsTheTwoBases) {
  const auto reply = DecodeHelloReply(Hex({0x06, 0x00, 0x15, 0x0D, 0x9C, 0x27, 0xEE}));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->AddBase, 0x9C);
  EXPECT_EQ(reply->XorBase, 0x27);
}

TEST(PacketsLoginResult, ReadsCodeAccountAndPremiumOnlyWhenExactlyOne) {
  const struct {
    Bytes premiumField;
    std::uint32_t expected;
  } cases[] = {
      {Hex({0x01, 0x00, 0x00, 0x00}), 1}, {Hex({0x02, 0x00, 0x00, 0x00}), 0},
      {Hex({0x00, 0x00, 0x00, 0x00}), 0}, {Hex({0x00, 0x01, 0x00, 0x00}), 0},
      {Hex({0x01, 0x01, 0x00, 0x00}), 0}, {Hex({0x01, 0x00, 0x00, 0x01}), 0},
      {Hex({0xFF, 0xFF, 0xFF, 0xFF}), 0},
  };
  for (const auto& c : cases) {
    Bytes f = Hex({0x0D, 0x00, 0x15, 0x04, 0x07, 0x78, 0x56, 0x34, 0x12});
    f.insert(f.end(), c.premiumField.begin(), c.premiumField.end());
    const auto result = DecodeLoginResult(f);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->ResultCode, 0x07);
    EXPECT_EQ(result->AccountID, 0x12345678u);
    EXPECT_EQ(result->Premium, c.expected) << int{c.premiumField[0]} << int{c.premiumField[1]}
                                           << int{c.premiumField[2]} << int{c.premiumField[3]};
  }
}

TEST(PacketsWorldList, DecodesOneWorld) {
  const Cp1251Codec codec;
  const std::string name51 = "ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJK";
  const struct {
    const char* name;
    std::uint8_t resultCode, openFlag;
    std::string nameBytes;  // copied to offset 10; the rest of the field stays zero
    TKQWorldRecord expected;
  } cases[] = {
      {"open world", 0x00, 0x01, "Rizura", {true, u"Rizura", 0, 0}},
      {"any non-zero flag is open", 0x03, 0x80, "Rizura", {true, u"Rizura", 0, 0}},
      {"closed world", 0x00, 0x00, "Rizura", {false, u"Rizura", 0, 0}},
      {"51 bytes without a zero are taken whole",
       0x00,
       0x01,
       name51,
       {true, u"ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJK", 0, 0}},
      {"a zero at offset 15 ends the name",
       0x00,
       0x01,
       std::string("Alpha\0Beta", 10),
       {true, u"Alpha", 0, 0}},
      {"cp1251 name",
       0x00,
       0x01,
       "\xCC\xE8\xF0 \xB9"
       "1",
       {true, u"Мир №1", 0, 0}},
      {"empty name", 0x00, 0x01, "", {true, u"", 0, 0}},
  };
  for (const auto& c : cases) {
    // One byte past the name field, and the bytes that are not read, all non-zero.
    Bytes f = Response(0x15, 0x06, 62);
    f[4] = c.resultCode;
    f[5] = f[6] = f[7] = f[9] = 0xEE;
    f[8] = c.openFlag;
    std::copy(c.nameBytes.begin(), c.nameBytes.end(), f.begin() + 10);
    f[61] = 'X';
    const auto list = DecodeWorldList(f, codec);
    ASSERT_TRUE(list) << c.name;
    EXPECT_EQ(list->ResultCode, c.resultCode) << c.name;
    ASSERT_EQ(list->Worlds.size(), 1u) << c.name;
    EXPECT_EQ(list->Worlds[0], c.expected) << c.name;
  }
}

TEST(PacketsWorldServerData, KeepsTheBlockAsSentAndReadsItsFields) {
  Bytes f{0x1B, 0x00, 0x15, 0x08,
          0x5A,                    // not interpreted
          0x7F, 0x00, 0x00, 0x01,  // ServIP
          0x39, 0x30,              // ServPort 12345
          0x64, 0xE0, 0xA8, 0xF2,  // Key1
          0x44, 0x33, 0x22, 0x11,  // Key2
          0xEF, 0xBE, 0xAD, 0xDE,  // Key3
          0x01, 0x00, 0x00, 0x00,  // Key4
          0x99};                   // past the block
  const auto block = DecodeWorldServerData(f);
  ASSERT_TRUE(block);
  EXPECT_EQ(Bytes(block->begin(), block->end()), Bytes(f.begin() + 4, f.begin() + 27));

  const WorldServerFields fields = ReadWorldServerFields(*block);
  EXPECT_EQ(fields.ServIP, 0x0100007Fu);
  EXPECT_EQ(fields.ServPort, 12345);
  EXPECT_EQ(fields.Key1, 0xF2A8E064u);
  EXPECT_EQ(fields.Key2, 0x11223344u);
  EXPECT_EQ(fields.Key3, 0xDEADBEEFu);
  EXPECT_EQ(fields.Key4, 0x00000001u);
}

}  // namespace
}  // namespace kq
