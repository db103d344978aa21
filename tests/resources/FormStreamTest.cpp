#include "resources/FormStream.h"

#include "FormWriter.h"
#include "common/Error.h"

#include "../support/TrickleStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace kq::forms {
namespace {

Bytes DataFile(const char* name) {
  std::ifstream f(std::string(KQ_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(f) << name;
  return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

using test::TrickleStream;

std::u16string ErrorOf(ByteView data, const FormReadOptions& options = {}) {
  MemoryInputStream in(data);
  try {
    ReadFormStream(in, options);
  } catch (const Error& e) {
    return e.Message();
  }
  return u"(no error)";
}

// The golden stream holds every value type, a collection with and without item indexes,
// nested lists, and children with each prefix flag; its dump was written by hand.
TEST(FormStream, ReadsTheGoldenStreamWhateverTheBlockSizes) {
  const Bytes golden = DataFile("every-value.form.bin");
  const Bytes expected = DataFile("every-value.dump.txt");
  for (std::size_t step : {1u, 3u, 1000u}) {
    for (std::size_t block : {1u, 5u, 65536u}) {
      TrickleStream source(golden, step);
      BufferedInput in(source, block);
      EXPECT_EQ(DumpComponent(ReadFormStream(in)), AsChars(expected)) << step << " " << block;
      EXPECT_EQ(in.Position(), golden.size());
    }
  }
}

TEST(FormStream, StopsRightBehindTheFormAndFindsNamesWhateverTheCase) {
  Bytes data = DataFile("every-value.form.bin");
  const std::size_t formSize = data.size();
  data.push_back('X');
  MemoryInputStream source(data);
  BufferedInput in(source, 7);
  const Component root = ReadFormStream(in);
  EXPECT_EQ(in.Position(), formSize);
  std::uint8_t next = 0;
  ASSERT_EQ(in.Read(&next, 1), 1u);
  EXPECT_EQ(next, 'X');

  ASSERT_NE(root.Find(u"lEFT"), nullptr);
  EXPECT_EQ(root.Find(u"lEFT")->integer, -5);
  ASSERT_NE(root.Find(u"font.style"), nullptr);
  EXPECT_EQ(root.Find(u"font.style")->set,
            (std::vector<std::u16string>{u"fsBold", u"fsUnderline"}));
  ASSERT_NE(root.FindChild(u"BUTTON1"), nullptr);
  EXPECT_EQ(root.FindChild(u"BUTTON1")->Find(u"caption")->text, u"OK");
  EXPECT_EQ(root.FindChild(u"Nobody"), nullptr);
}

TEST(FormStream, EveryTruncationIsAnInvalidStream) {
  const Bytes golden = DataFile("every-value.form.bin");
  for (std::size_t len = 0; len < golden.size(); ++len) {
    EXPECT_EQ(ErrorOf(ByteView(golden).first(len)), u"Invalid stream format") << len;
  }
}

// Small streams built around one fault each.
Bytes Form(std::string_view body) {
  Bytes b(AsBytes(kFormSignature).begin(), AsBytes(kFormSignature).end());
  b.insert(b.end(), body.begin(), body.end());
  return b;
}
std::string S(std::string_view s) {
  return std::string(1, static_cast<char>(s.size())) + std::string(s);
}
std::string Obj(std::string_view props, std::string_view children = "") {
  return S("TForm") + S("F") + std::string(props) + std::string("\0", 1) + std::string(children) +
         std::string("\0", 1);
}
using namespace std::string_literals;

TEST(FormStream, RejectsMalformedStreams) {
  struct Case {
    const char* what;
    Bytes data;
  };
  const Case cases[] = {
      {"wrong signature",
       [] {
         Bytes b = Form(Obj(""));
         b[3] = '1';
         return b;
       }()},
      {"type byte past the table", Form(Obj(S("P") + "\x16"s))},
      {"null as a value", Form(Obj(S("P") + "\x00"s))},
      {"unknown prefix flag", Form("\xF8"s + Obj(""))},
      {"child position not an integer", Form("\xF2\x06\x01x"s + Obj(""))},
      {"empty class name", Form("\x00"s + S("F") + "\x00\x00"s)},
      {"name not UTF-8", Form(S("TForm") + S("\xC3\x28") + "\x00\x00"s)},
      {"UTF-8 value not UTF-8", Form(Obj(S("P") + "\x14\x02\x00\x00\x00\xED\xA0"s))},
      {"collection item without its list", Form(Obj(S("P") + "\x0E\x02\x01\x06\x01x\x00\x00"s))},
      {"collection index of another type",
       Form(Obj(S("P") + "\x0E\x13" + std::string(8, '\0') + "\x01\x00\x00"s))},
      {"long string longer than the input", Form(Obj(S("P") + "\x0C\xFF\xFF\xFF\xFF"
                                                              "abc"s))},
      {"wide string longer than the input", Form(Obj(S("P") + "\x12\xFF\xFF\xFF\x7F" + "a\0"s))},
      {"binary longer than the input", Form(Obj(S("P") + "\x0A\x00\x00\x00\x80"
                                                         "xyz"s))},
      {"unterminated list", Form(Obj(S("P") + "\x01\x02\x01"s))},
      {"unterminated set", Form(Obj(S("P") + "\x0B"s + S("fsBold")))},
      {"missing end of children", Form(S("TForm") + S("F") + "\x00"s)},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.data), u"Invalid stream format") << c.what;
}

TEST(FormStream, NestingIsBoundedAndHonestDepthsPass) {
  std::string lists;
  for (int i = 0; i < 10; ++i) lists += "\x01";
  lists += std::string(10, '\0');
  const Bytes nested = Form(Obj(S("P") + lists));
  EXPECT_EQ(ErrorOf(nested, {.maxDepth = 10}), u"Invalid stream format");  // root + 10 lists
  EXPECT_EQ(ErrorOf(nested, {.maxDepth = 11}), u"(no error)");

  std::string deep;  // a million nested lists must fail cleanly, not overflow the stack
  deep.append(1000000, '\x01');
  EXPECT_EQ(ErrorOf(Form(Obj(S("P") + deep))), u"Invalid stream format");
}

TEST(FormStream, ShortAndLongStringsUseTheGivenCodePage) {
  class Latin1 final : public AnsiCodec {
   public:
    std::string ToAnsi(std::u16string_view) const override { return {}; }
    std::u16string FromAnsi(std::string_view b) const override {
      std::u16string s;
      for (char c : b) s.push_back(static_cast<unsigned char>(c));
      return s;
    }
  } latin1;
  const Bytes data = Form(Obj(S("P") + "\x06\x01\xE9"s + S("Q") + "\x0C\x01\x00\x00\x00\xE9"s));
  MemoryInputStream in(data);
  const Component c = ReadFormStream(in, {.codec = &latin1});
  EXPECT_EQ(c.Find(u"P")->text, u"\u00E9");
  EXPECT_EQ(c.Find(u"Q")->text, u"\u00E9");
  MemoryInputStream again(data);
  EXPECT_EQ(ReadFormStream(again).Find(u"P")->text, u"\u0439");  // й in Windows-1251
}

}  // namespace
}  // namespace kq::forms
