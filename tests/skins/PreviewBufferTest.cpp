#include "skins/PreviewBuffer.h"

#include "TestText.h"
#include "common/Error.h"

#include <gtest/gtest.h>

#include <string>

namespace kq {
namespace {

using test::B;
using test::U8;

const Cp1251Codec kCodec;

// A buffer of the full size laid out by hand: the magic, then each field's bytes as given
// (not terminated unless the bytes say so).
Bytes Layout(std::string_view name, std::string_view dir, std::string_view text,
             std::uint32_t magic = kPreviewMagic) {
  Bytes b(kPreviewBufferSize, 0);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(magic >> (8 * i));
  const auto put = [&b](PreviewField f, std::string_view s) {
    std::copy(s.begin(), s.end(), b.begin() + static_cast<std::ptrdiff_t>(f.offset));
  };
  put(kPreviewName, name);
  put(kPreviewDirectory, dir);
  put(kPreviewOptionText, text);
  return b;
}

struct Parsed {
  std::string name, dir, text;
  bool operator==(const Parsed&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Parsed& p) {
  return o << "{" << p.name << " | " << p.dir << " | " << p.text.size() << " bytes of text}";
}

std::optional<Parsed> Parse(ByteView data) {
  auto p = ParsePreviewBuffer(data, kCodec);
  if (!p) return std::nullopt;
  return Parsed{U8(p->name), U8(p->directory),
                U8(p->optionText)};
}

const std::string kFullName(128, 'n');
const std::string kFullDir(512, 'd');
const std::string kFullText(30001, 't');

// Each text ends at its first zero byte or at its field's end, never running into the next
// field; the ANSI page is Windows-1251 here.
TEST(PreviewBuffer, TextsEndAtTheirZeroOrTheirFieldsEnd) {
  const struct {
    const char* what;
    Bytes data;
    Parsed want;
  } cases[] = {
      {"terminated", Layout(std::string("Dark\0junk", 9), "C:\\Skins\0x", "[FORM]\r\n"),
       {"Dark", "C:\\Skins", "[FORM]\r\n"}},
      {"every field full", Layout(kFullName, kFullDir, kFullText),
       {kFullName, kFullDir, kFullText}},
      {"empty texts", Layout("", "", ""), {"", "", ""}},
      {"Cyrillic", Layout("\xD2\xB8\xEC\xED\xFB\xE9", "C:\\\xD1\xEA\xE8\xED\xFB", "[\xCF]"),
       {"Тёмный", "C:\\Скины", "[П]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Parse(c.data), c.want);
  }
}

// A message shorter than the layout: what was sent is read, the rest reads as zeros, and a
// byte after the end (here 'X') is never read. Shorter than the magic, or another magic: no
// preview.
TEST(PreviewBuffer, ShortDataReadsAsZeroPaddedAndBadMagicIsNoPreview) {
  std::string full(kPreviewBufferSize + 1, 'X');
  const Bytes laid = Layout(kFullName, kFullDir, kFullText);
  std::copy(laid.begin(), laid.end(), full.begin());
  const struct {
    std::size_t size;
    std::optional<Parsed> want;
  } cases[] = {
      {0, std::nullopt},
      {3, std::nullopt},
      {4, Parsed{"", "", ""}},
      {5, Parsed{"n", "", ""}},
      {131, Parsed{kFullName.substr(0, 127), "", ""}},
      {132, Parsed{kFullName, "", ""}},
      {133, Parsed{kFullName, "d", ""}},
      {644, Parsed{kFullName, kFullDir, ""}},
      {645, Parsed{kFullName, kFullDir, "t"}},
      {kPreviewBufferSize - 1, Parsed{kFullName, kFullDir, kFullText.substr(1)}},
      {kPreviewBufferSize, Parsed{kFullName, kFullDir, kFullText}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    EXPECT_EQ(Parse(ByteView(AsBytes(full)).first(c.size)), c.want);
  }

  const struct {
    const char* what;
    std::uint32_t magic;
  } wrong[] = {{"zero", 0}, {"big-endian", 0x00A40000}, {"one off", 0xA401}, {"high bits", 0x1A400}};
  for (const auto& w : wrong) {
    SCOPED_TRACE(w.what);
    EXPECT_EQ(Parse(Layout("Dark", "C:\\", "", w.magic)), std::nullopt);
  }
}

// What the tool writes the launcher reads back; each text keeps a terminating zero in its
// field, and a text that does not fit, or holds a zero, is refused with the field's name.
TEST(PreviewBuffer, WriterRoundTripsAndRefusesWhatDoesNotFit) {
  const Bytes buffer = BuildPreviewBuffer(u"Тёмный", u"C:\\Скины", B("[FORM]\r\nCOLOR=#1E1E1E\r\n"),
                                          kCodec);
  ASSERT_EQ(buffer.size(), kPreviewBufferSize);
  EXPECT_EQ(Parse(buffer), (Parsed{"Тёмный", "C:\\Скины", "[FORM]\r\nCOLOR=#1E1E1E\r\n"}));
  EXPECT_EQ(buffer, Layout("\xD2\xB8\xEC\xED\xFB\xE9", "C:\\\xD1\xEA\xE8\xED\xFB",
                           "[FORM]\r\nCOLOR=#1E1E1E\r\n"));

  // The longest texts that fit, then one byte more.
  const std::u16string name127(127, u'n'), dir511(511, u'd');
  const std::string text30000(30000, 't');
  EXPECT_EQ(Parse(BuildPreviewBuffer(name127, dir511, B(text30000), kCodec)),
            (Parsed{std::string(127, 'n'), std::string(511, 'd'), text30000}));
  const struct {
    const char* what;
    std::u16string name, dir;
    std::string text;
    const char* error;
  } refused[] = {
      {"name", name127 + u'n', u"C:\\", "", "The skin name is too long for a preview (127 bytes at most)"},
      {"directory", u"N", dir511 + u'd', "", "The skin directory is too long for a preview (511 bytes at most)"},
      {"text", u"N", u"C:\\", text30000 + 't', "The option file is too long for a preview (30000 bytes at most)"},
      {"zero in text", u"N", u"C:\\", std::string("[FORM]\0", 7), "The option file holds a zero byte"},
      {"zero in name", std::u16string(u"a\0b", 3), u"C:\\", "", "The skin name holds a zero byte"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.what);
    try {
      BuildPreviewBuffer(r.name, r.dir, B(r.text), kCodec);
      ADD_FAILURE() << "not refused";
    } catch (const Error& e) {
      EXPECT_EQ(U8(e.Message()), r.error);
    }
  }
}

// An ANSI option file goes byte for byte, even bytes the code page has no character for; a
// UTF-8 or UTF-16 file with its byte-order mark arrives in the ANSI page.
TEST(PreviewBuffer, OptionFilesGoInTheAnsiCodePage) {
  const struct {
    const char* what;
    std::string file;
    std::string sent;
  } cases[] = {
      {"ANSI", "[\xCF]\x98\x81", "[\xCF]\x98\x81"},
      {"UTF-8", "\xEF\xBB\xBF[\xD0\x9F]", "[\xCF]"},
      {"UTF-16", std::string("\xFF\xFE[\0\x1F\x04]\0", 8), "[\xCF]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BuildPreviewBuffer(u"N", u"D", B(c.file), kCodec), Layout("N", "D", c.sent));
  }
}

// The application window's rules for taking a copy-data message, then the one buffer it
// holds until the posted message shows it.
TEST(PreviewReceiver, TakesOnlyAnUnhandledTaggedMessageWithTheMagic) {
  const Bytes good = Layout("Dark", "C:\\Skins", "[FORM]\r\n");
  const Bytes wrongMagic = Layout("Dark", "C:\\Skins", "", 0xA401);
  const struct {
    const char* what;
    std::intptr_t result;
    std::uintptr_t tag;
    const std::uint8_t* data;
    std::size_t size;
    bool taken;
  } cases[] = {
      {"good", 0, 7, good.data(), good.size(), true},
      {"already handled", 1, 7, good.data(), good.size(), false},
      {"tag 6", 0, 6, good.data(), good.size(), false},
      {"tag with high bits", 0, 0x10007, good.data(), good.size(), false},
      {"no data", 0, 7, nullptr, good.size(), false},
      {"wrong magic", 0, 7, wrongMagic.data(), wrongMagic.size(), false},
      {"shorter than the magic", 0, 7, good.data(), 3, false},
      {"only the magic", 0, 7, good.data(), 4, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PreviewReceiver receiver;
    EXPECT_EQ(receiver.Offer(c.result, c.tag, c.data, c.size), c.taken);
    EXPECT_EQ(receiver.Pending(), c.taken);
    EXPECT_EQ(receiver.Take(kCodec).has_value(), c.taken);
    EXPECT_FALSE(receiver.Pending());
  }

  // While one is pending a second is refused and the first is the one shown; then the next
  // is taken again.
  PreviewReceiver receiver;
  ASSERT_TRUE(receiver.Offer(0, 7, good.data(), good.size()));
  const Bytes other = Layout("Light", "D:\\", "");
  EXPECT_FALSE(receiver.Offer(0, 7, other.data(), other.size()));
  auto shown = receiver.Take(kCodec);
  ASSERT_TRUE(shown);
  EXPECT_EQ(U8(shown->name), "Dark");
  EXPECT_EQ(receiver.Take(kCodec), std::nullopt);
  EXPECT_TRUE(receiver.Offer(0, 7, other.data(), other.size()));
}

// The receiver copies no more than was sent, nor more than the buffer holds: bytes past the
// sent size ('X') never reach the preview, and a longer message is cut to the layout.
TEST(PreviewReceiver, CopiesAtMostWhatWasSent) {
  std::string data(kPreviewBufferSize + 8, 'X');
  const Bytes laid = Layout("Dark", "C:\\Skins", kFullText);
  std::copy(laid.begin(), laid.end(), data.begin());
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
  const struct {
    std::size_t size;
    Parsed want;
  } cases[] = {
      {137, {"Dark", "C:\\Sk", ""}},
      {700, {"Dark", "C:\\Skins", std::string(56, 't')}},
      {data.size(), {"Dark", "C:\\Skins", kFullText}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    PreviewReceiver receiver;
    ASSERT_TRUE(receiver.Offer(0, 7, bytes, c.size));
    auto p = receiver.Take(kCodec);
    ASSERT_TRUE(p);
    EXPECT_EQ((Parsed{U8(p->name), U8(p->directory), U8(p->optionText)}), c.want);
  }
}

}  // namespace
}  // namespace kq
