#include "session/Ticket.h"

#include <gtest/gtest.h>

#include <string>

namespace kq {
namespace {

Bytes Ticket(const TicketFields& f) {
  const TicketBytes t = EncodeTicket(f);
  return Bytes(t.begin(), t.end());
}

Bytes Slice(const Bytes& b, std::size_t offset, std::size_t size) {
  return Bytes(b.begin() + offset, b.begin() + offset + size);
}

// A ticket as a server would hand it over, its bytes worked out by hand below.
TicketFields Reference() {
  TicketFields f;
  f.Server = {0x0100007F, 10100, 0x11111111, 0x22222222, 0x33333333, 0x44444444};
  f.Login = "player";
  f.AccountID = 0x1234;
  f.Premium = 1;
  f.ClientLanguage = 7;
  return f;
}

TEST(TicketEncoding, ReferenceTicketByteForByte) {
  const Bytes expected = {
      0xBB, 0x91, 0x2D, 0x7F,                                 // 0: ServIP 0100007F ^ 7E2D91C4
      0xF1, 0xF0,                                             // 4: ServPort 2774 ^ D785
      'p',  'l',  'a',  'y',  'e', 'r', 0, 0, 0, 0, 0, 0, 0,  // 6: login, clear
      0x6A, 0xC6, 0xB7, 0x19,                                 // 19: AccountID 00001234 ^ 19B7D45E
      0xE3, 0xB9, 0xF1, 0x75,                                 // 23: Key1 11111111 ^ 64E0A8F2
      0x25, 0x79, 0x1E, 0xF3,                                 // 27: Key2 22222222 ^ D13C5B07
      0x98, 0xD2, 0xA5, 0x1C,                                 // 31: Key3 33333333 ^ 2F96E1AB
      0x27, 0x38, 0x09, 0xCE,                                 // 35: Key4 44444444 ^ 8A4D7C63
      0x37, 0x5A,                                             // 39: 0000 ^ 5A37
      0xA9, 0x49, 0x03, 0xE7,                                 // 41: AccountID 00001234 ^ E7035B9D
      0x9C, 0x5B, 0x03, 0xE7,                                 // 45: Premium 1 ^ E7035B9D
      0x00, 0x00, 0x00, 0x00,                                 // 49: zero
      0xC4, 0xFC,                                             // 53: ClientLanguage 0007 ^ FCC3
  };
  ASSERT_EQ(expected.size(), kTicketSize);
  EXPECT_EQ(Ticket(Reference()), expected);
}

// Each masked field alone against values worked out by hand: all bits set, the top bit,
// zero (which leaves the bare mask).
TEST(TicketEncoding, MaskedFieldsAgainstKnownValues) {
  const struct {
    const char* name;
    void (*set)(TicketFields&);
    std::size_t offset;
    Bytes stored;
  } cases[] = {
      {"ServIP all ones",
       [](TicketFields& f) { f.Server.ServIP = 0xFFFFFFFF; },
       0,
       {0x3B, 0x6E, 0xD2, 0x81}},
      {"ServIP zero", [](TicketFields& f) { f.Server.ServIP = 0; }, 0, {0xC4, 0x91, 0x2D, 0x7E}},
      {"ServPort all ones", [](TicketFields& f) { f.Server.ServPort = 0xFFFF; }, 4, {0x7A, 0x28}},
      {"ServPort zero", [](TicketFields& f) { f.Server.ServPort = 0; }, 4, {0x85, 0xD7}},
      {"AccountID top bit",
       [](TicketFields& f) { f.AccountID = 0x80000000; },
       19,
       {0x5E, 0xD4, 0xB7, 0x99}},
      {"AccountID copy top bit",
       [](TicketFields& f) { f.AccountID = 0x80000000; },
       41,
       {0x9D, 0x5B, 0x03, 0x67}},
      {"Key1 zero", [](TicketFields& f) { f.Server.Key1 = 0; }, 23, {0xF2, 0xA8, 0xE0, 0x64}},
      {"Key2 zero", [](TicketFields& f) { f.Server.Key2 = 0; }, 27, {0x07, 0x5B, 0x3C, 0xD1}},
      {"Key3 zero", [](TicketFields& f) { f.Server.Key3 = 0; }, 31, {0xAB, 0xE1, 0x96, 0x2F}},
      {"Key4 zero", [](TicketFields& f) { f.Server.Key4 = 0; }, 35, {0x63, 0x7C, 0x4D, 0x8A}},
      {"Premium zero", [](TicketFields& f) { f.Premium = 0; }, 45, {0x9D, 0x5B, 0x03, 0xE7}},
      {"ClientLanguage 255 widened with a zero byte",
       [](TicketFields& f) { f.ClientLanguage = 0xFF; },
       53,
       {0x3C, 0xFC}},
      {"ClientLanguage zero", [](TicketFields& f) { f.ClientLanguage = 0; }, 53, {0xC3, 0xFC}},
  };
  for (const auto& c : cases) {
    TicketFields f = Reference();
    c.set(f);
    EXPECT_EQ(Slice(Ticket(f), c.offset, c.stored.size()), c.stored) << c.name;
  }
}

TEST(TicketEncoding, LoginFieldIsCutOrZeroFilledAndNeverScrambled) {
  const struct {
    const char* name;
    std::string login;
    std::string field;  // offsets 6 to 18
  } cases[] = {
      {"six bytes, then zeros", "player", std::string("player\0\0\0\0\0\0\0", 13)},
      {"13 bytes leave no zero byte", "abcdefghijklm", "abcdefghijklm"},
      {"a longer login gives its first 13 bytes", "abcdefghijklmnopqrst", "abcdefghijklm"},
      {"empty", "", std::string(13, '\0')},
      {"code page 1251 bytes as they are", "\xCF\xE8\xEB\xEE\xF2",
       std::string("\xCF\xE8\xEB\xEE\xF2\0\0\0\0\0\0\0\0", 13)},
  };
  for (const auto& c : cases) {
    TicketFields f = Reference();
    f.Login = c.login;
    const Bytes t = Ticket(f);
    ASSERT_EQ(t.size(), kTicketSize) << c.name;
    EXPECT_EQ(Slice(t, 6, 13), Bytes(c.field.begin(), c.field.end())) << c.name;
    // The login never moves the fields after it.
    EXPECT_EQ(Slice(t, 19, 4), (Bytes{0x6A, 0xC6, 0xB7, 0x19})) << c.name;
  }
}

TEST(TicketEncoding, Offsets49To52AreZeroWhateverTheValues) {
  TicketFields f = Reference();
  f.Server = {0xFFFFFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  f.AccountID = 0xFFFFFFFF;
  f.ClientLanguage = 0xFF;
  f.Login = std::string(20, '\xFF');
  EXPECT_EQ(Slice(Ticket(f), 49, 4), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(Slice(Ticket(TicketFields{}), 49, 4), (Bytes{0, 0, 0, 0}));
}

TEST(TicketDecoding, GivesBackWhatWasEncoded) {
  const struct {
    const char* name;
    TicketFields fields;
  } cases[] = {
      {"reference", Reference()},
      {"all zero", TicketFields{}},
      {"13-byte login and extreme values",
       {{0xFFFFFFFF, 0xFFFF, 0x80000000, 1, 0xFFFFFFFE, 0x7FFFFFFF},
        "abcdefghijklm",
        0xFFFFFFFF,
        0,
        0xFF}},
  };
  for (const auto& c : cases) {
    const DecodedTicket t = DecodeTicket(Ticket(c.fields));
    EXPECT_TRUE(t.Ok()) << c.name << ": " << (t.Problems.empty() ? "" : t.Problems[0]);
    EXPECT_EQ(t.Fields, c.fields) << c.name;
    EXPECT_EQ(t.AccountIDCopy, c.fields.AccountID) << c.name;
  }
  // What a longer login loses is lost for good.
  TicketFields f = Reference();
  f.Login = "abcdefghijklmnop";
  EXPECT_EQ(DecodeTicket(Ticket(f)).Fields.Login, "abcdefghijklm");
}

TEST(TicketDecoding, NamesWhatIsWrongWithAFaultyTicket) {
  const struct {
    const char* name;
    void (*spoil)(Bytes&);
    const char* problem;
  } cases[] = {
      {"one byte short", [](Bytes& b) { b.pop_back(); }, "size is 54 bytes"},
      {"one byte long", [](Bytes& b) { b.push_back(0); }, "size is 56 bytes"},
      {"empty file", [](Bytes& b) { b.clear(); }, "size is 0 bytes"},
      {"bytes after the login's zero", [](Bytes& b) { b[15] = 'x'; }, "login field"},
      {"AccountID copies differ", [](Bytes& b) { b[41] ^= 1; }, "AccountID copies differ"},
      {"Premium 2", [](Bytes& b) { b[45] ^= 3; }, "Premium is 2"},
      {"offset 39 unmasked", [](Bytes& b) { b[39] = b[40] = 0; }, "offset 39"},
      {"offsets 49-52 not zero", [](Bytes& b) { b[52] = 1; }, "offsets 49-52"},
      {"language high byte", [](Bytes& b) { b[54] ^= 1; }, "high byte"},
  };
  for (const auto& c : cases) {
    Bytes b = Ticket(Reference());
    c.spoil(b);
    const DecodedTicket t = DecodeTicket(b);
    ASSERT_EQ(t.Problems.size(), 1u) << c.name;
    EXPECT_NE(t.Problems[0].find(c.problem), std::string::npos) << c.name << ": " << t.Problems[0];
  }
  // A longer file still gives its first 55 bytes' fields.
  Bytes longer = Ticket(Reference());
  longer.resize(200, 0xEE);
  EXPECT_EQ(DecodeTicket(longer).Fields, Reference());
}

TEST(TicketStatusLine, SixUpperCaseZeroPaddedLines) {
  const WorldServerFields s{0x0100007F, 80, 0xABCDEF01, 0x0000000A, 0xFFFFFFFF, 0};
  EXPECT_EQ(WorldServerStatusLine(s),
            u"ServIP:0100007F\nServPort:0050\nKey1:ABCDEF01\nKey2:0000000A\nKey3:FFFFFFFF\n"
            u"Key4:00000000\n");
  EXPECT_EQ(WorldServerStatusLine({0, 0xBEEF, 0, 0, 0, 0}).substr(16, 14), u"ServPort:BEEF\n");
}

class RecordingSink final : public StatusSink {
 public:
  void StatusLine(const std::u16string& text, std::uint32_t colour) override {
    lines.push_back({text, colour});
  }
  struct Line {
    std::u16string text;
    std::uint32_t colour;
  };
  std::vector<Line> lines;
};

TEST(TicketWrite, ReportsTheServerInBlackThenWritesTheBytesToTheTicketPath) {
  RecordingSink sink;
  std::vector<std::u16string> paths;
  Bytes written;
  const bool ok = WriteTicket(Reference(), u"C:\\Games\\Rizura\\", sink,
                              [&](const std::u16string& path, ByteView bytes) {
                                // The status line goes out before the file is written.
                                EXPECT_EQ(sink.lines.size(), 1u);
                                paths.push_back(path);
                                written.assign(bytes.begin(), bytes.end());
                                return true;
                              });
  EXPECT_TRUE(ok);
  ASSERT_EQ(sink.lines.size(), 1u);
  EXPECT_EQ(sink.lines[0].text, WorldServerStatusLine(Reference().Server));
  EXPECT_EQ(sink.lines[0].colour, kStatusBlack);
  EXPECT_EQ(paths, std::vector<std::u16string>{u"C:\\Games\\Rizura\\System\\DefaultSet.tmp"});
  EXPECT_EQ(written, Ticket(Reference()));
}

TEST(TicketWrite, AFailedFileIsNotReported) {
  RecordingSink sink;
  EXPECT_FALSE(WriteTicket(Reference(), u"C:\\g\\", sink,
                           [](const std::u16string&, ByteView) { return false; }));
  EXPECT_EQ(sink.lines.size(), 1u);  // only the server line
}

TEST(TicketDescription, ReadableFieldsAndTheCheck) {
  TicketFields f = Reference();
  f.Login = "\xCF\xE8\xEB\xEE\xF2";
  const Cp1251Codec codec;
  const auto lines = DescribeTicket(DecodeTicket(Ticket(f)), codec);
  auto value = [&](std::string_view name) {
    for (const auto& l : lines) {
      if (l.Name == name) return l.Value;
    }
    return std::u16string(u"<none>");
  };
  EXPECT_EQ(value("ServIP"), u"0100007F (127.0.0.1)");
  EXPECT_EQ(value("ServPort"), u"2774 (10100)");
  EXPECT_EQ(value("Login"), u"Пилот");
  EXPECT_EQ(value("AccountID"), u"00001234 (4660)");
  EXPECT_EQ(value("Key4"), u"44444444");
  EXPECT_EQ(value("Premium"), u"1");
  EXPECT_EQ(value("ClientLanguage"), u"0007 (7)");
  EXPECT_EQ(value("Check"), u"ok");
  EXPECT_EQ(lines.size(), 14u);

  Bytes bad = Ticket(f);
  bad[41] ^= 1;
  bad[52] = 1;
  const auto badLines = DescribeTicket(DecodeTicket(bad), codec);
  EXPECT_EQ(badLines.back().Value, u"the two AccountID copies differ; offsets 49-52 are not zero");
}

}  // namespace
}  // namespace kq
