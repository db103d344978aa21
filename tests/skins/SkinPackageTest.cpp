#include "skins/SkinPackage.h"

#include "TestText.h"
#include "SkinPacker.h"
#include "common/Error.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>

#include <unistd.h>

namespace kq {
namespace {

using test::B;

using skinpack::BuildPackage;
using skinpack::CompressEntry;
using skinpack::PackEntry;

using namespace std::literals;

const Cp1251Codec kCodec;

// Bytes that do not compress, so that the compressed size follows the content's size.
Bytes Noise(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& c : b) c = static_cast<std::uint8_t>(rng());
  return b;
}

Bytes DeflateAt(ByteView data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level),
            Z_OK);
  out.resize(size);
  return out;
}

// A package laid out by hand, for what the packer never writes: other magics and counts,
// sizes that disagree with the data, damaged streams, bytes behind the last entry.
class Hand {
 public:
  explicit Hand(std::string_view magic = "ASzf") : out_(B(magic)) {}
  Hand& Count(std::int32_t n) {
    ByteWriter(out_).U32(static_cast<std::uint32_t>(n));
    return *this;
  }
  // An entry whose stated size is the content's, plus `sizeDelta`.
  Hand& Entry(std::string_view name, ByteView content, std::int64_t sizeDelta = 0) {
    return Raw(name, static_cast<std::int32_t>(content.size() + sizeDelta), CompressEntry(content));
  }
  Hand& Raw(std::string_view name, std::int32_t size, ByteView stream) {
    ByteWriter w(out_);
    w.U32(static_cast<std::uint32_t>(name.size()));
    w.Append(AsBytes(name));
    w.U32(static_cast<std::uint32_t>(size));
    w.Append(stream);
    return *this;
  }
  Hand& Append(ByteView bytes) {
    ByteWriter(out_).Append(bytes);
    return *this;
  }
  Bytes Build() const { return out_; }

 private:
  Bytes out_;
};

std::unique_ptr<TacSkinConvertor> Lend(ByteView package) {
  auto conv = std::make_unique<TacSkinConvertor>();
  conv->PackedData = PackedBytes::Lent(package);
  return conv;
}

struct File {
  std::u16string name;
  bool bitmap;
  Bytes content;
  bool operator==(const File&) const = default;
};

std::vector<File> FilesOf(const TacSkinConvertor& c) {
  std::vector<File> out;
  for (const auto& f : c.Files) out.push_back({f.FileName, f.IsBitmap, f.FileStream});
  return out;
}

const Bytes kOptions = B("[MAIN]\r\nVersion=8.5\r\nAuthor=KQ\r\n");
const Bytes kMaster = B("BM master bitmap \x01\x02\x03 bytes");
const Bytes kPng = B("\x89PNG glow edit");

TEST(SkinPackage, ReadsEntriesNamesAndOptionFile) {
  const Bytes big = Noise(200000, 5);  // compresses to more than one 131 072-byte read-ahead
  const struct {
    const char* what;
    Bytes package;
    std::optional<Bytes> options;
    std::vector<File> files;
    std::int32_t imageCount;
  } cases[] = {
      {"packer: option file first",
       BuildPackage(std::vector<PackEntry>{
           {"Options.dat", kOptions}, {"Master.bmp", kMaster}, {"Bkgnd.jpg", B("jpeg")}}),
       kOptions,
       {{u"Master.bmp", true, kMaster}, {u"Bkgnd.jpg", false, B("jpeg")}},
       2},
      {"option file in lower case",
       Hand().Count(2).Entry("options.dat", kOptions).Entry("a.BMP", kMaster).Build(),
       kOptions,
       {{u"a.BMP", true, kMaster}},
       1},
      {"option file in capitals, last",
       Hand().Count(2).Entry("GlowEdit.png", kPng).Entry("OPTIONS.DAT", kOptions).Build(),
       kOptions,
       {{u"GlowEdit.png", false, kPng}},
       1},
      {"a name that only begins like the option file is an image",
       Hand().Count(2).Entry("Options.dat", kOptions).Entry("Options.dat.bak", B("old")).Build(),
       kOptions,
       {{u"Options.dat.bak", false, B("old")}},
       1},
      {"bitmap test on the last extension, any letter case",
       Hand()
           .Count(10)
           .Entry("a.bmp", B("1"))
           .Entry("B.BMP", B("2"))
           .Entry("c.Bmp", B("3"))
           .Entry("d.png.bmp", B("4"))
           .Entry("e.jpg", B("5"))
           .Entry("f.PNG", B("6"))
           .Entry("g.png", B("7"))
           .Entry("bmp", B("8"))
           .Entry("h.bmp.png", B("9"))
           .Entry("i.bmpx", B("10"))
           .Build(),
       std::nullopt,
       {{u"a.bmp", true, B("1")},
        {u"B.BMP", true, B("2")},
        {u"c.Bmp", true, B("3")},
        {u"d.png.bmp", true, B("4")},
        {u"e.jpg", false, B("5")},
        {u"f.PNG", false, B("6")},
        {u"g.png", false, B("7")},
        {u"bmp", false, B("8")},
        {u"h.bmp.png", false, B("9")},
        {u"i.bmpx", false, B("10")}},
       9},
      {"no entries", Hand().Count(0).Build(), std::nullopt, {}, -1},
      {"no entries, bytes behind the count ignored",
       Hand().Count(0).Append(B("ASzf junk")).Build(),
       std::nullopt,
       {},
       -1},
      {"a later option file replaces an earlier one",
       Hand()
           .Count(3)
           .Entry("Options.dat", B("first"))
           .Entry("x.bmp", kMaster)
           .Entry("options.DAT", kOptions)
           .Build(),
       kOptions,
       {{u"x.bmp", true, kMaster}},
       2},
      {"streams of other compression levels (78 01, 78 DA)",
       Hand()
           .Count(2)
           .Raw("Options.dat", static_cast<std::int32_t>(kOptions.size()), DeflateAt(kOptions, 1))
           .Raw("m.bmp", static_cast<std::int32_t>(kMaster.size()), DeflateAt(kMaster, 9))
           .Build(),
       kOptions,
       {{u"m.bmp", true, kMaster}},
       1},
      {"an entry larger than a read-ahead, then another",
       Hand()
           .Count(3)
           .Entry("Options.dat", kOptions)
           .Entry("Huge.bmp", big)
           .Entry("after.png", kPng)
           .Build(),
       kOptions,
       {{u"Huge.bmp", true, big}, {u"after.png", false, kPng}},
       2},
      {"bytes behind the last entry ignored",
       Hand().Count(1).Entry("Options.dat", kOptions).Append(B("\x05\0\0\0trail"sv)).Build(),
       kOptions,
       {},
       0},
      {"names widened from the ANSI code page",
       Hand().Count(1).Entry("\xCA\xED\xEE\xEF\xEA\xE0.bmp", kMaster).Build(),
       std::nullopt,
       {{u"Кнопка.bmp", true, kMaster}},
       0},
      {"an empty name is an image",
       Hand().Count(1).Entry("", kPng).Build(),
       std::nullopt,
       {{u"", false, kPng}},
       0},
  };
  for (const auto& c : cases) {
    auto conv = Lend(c.package);
    ExtractPackedData(conv, kCodec);
    ASSERT_TRUE(conv) << c.what;
    EXPECT_EQ(conv->Options, c.options) << c.what;
    EXPECT_EQ(FilesOf(*conv), c.files) << c.what;
    EXPECT_EQ(conv->ImageCount, c.imageCount) << c.what;
  }
}

// After each entry the reader must stand exactly behind the stream's trailer, wherever the
// read-ahead boundaries fall (in a header, a name, the deflate data or the trailer), and
// read in place.
TEST(SkinPackage, ReadsTheSameWhateverTheReadAhead) {
  const Bytes package = BuildPackage(std::vector<PackEntry>{{"Options.dat", kOptions},
                                                            {"Master.bmp", kMaster},
                                                            {"n.png", Noise(300, 1)},
                                                            {"z.jpg", B("z")}});
  for (std::size_t readAhead = 0; readAhead <= package.size() + 1; ++readAhead) {  // 0: in place
    auto conv = Lend(package);
    ExtractPackedData(conv, kCodec, {.readAhead = readAhead});
    ASSERT_EQ(conv->Files.size(), 3u) << readAhead;
    EXPECT_EQ(conv->Options, kOptions) << readAhead;
    EXPECT_EQ(conv->Files[2].FileStream, B("z")) << readAhead;
  }
}

// A stream that goes on past its stated size and is damaged behind it: the damage is what
// gets reported, wherever the refills fall.
TEST(SkinPackage, DamageBehindTheStatedSizeFailsAsDamageWhateverTheReadAhead) {
  Bytes stream = CompressEntry(B("[MAIN]\r\nVersion=9\r\nX"));
  stream.back() ^= 0x01;
  const Bytes intact = CompressEntry(B("[MAIN]\r\nVersion=9\r\nX"));
  const Bytes damaged = Hand().Count(1).Raw("Options.dat", 19, stream).Build();
  const Bytes longer = Hand().Count(1).Raw("Options.dat", 19, intact).Build();
  for (std::size_t readAhead = 0; readAhead <= damaged.size() + 1; ++readAhead) {  // 0: in place
    for (const auto& [package, message] :
         {std::pair{&damaged, std::u16string(u"data error")},
          std::pair{&longer, std::u16string(kEntryLongerThanSize)}}) {
      auto conv = Lend(*package);
      try {
        ExtractPackedData(conv, kCodec, {.readAhead = readAhead});
        ADD_FAILURE() << "no error at " << readAhead;
      } catch (const Error& e) {
        EXPECT_EQ(e.Message(), message) << readAhead;
      }
    }
  }
}

// With a read-ahead of 131 072 bytes, the first entry's trailer is made to lie across the
// first refill: two bytes before the boundary, two after. Read in place (the product's
// way), the same package gives the same entries.
TEST(SkinPackage, TrailerAcrossAReadAheadBoundary) {
  constexpr std::size_t kReadAhead = 128 * 1024;
  // The reader's blocks start behind the magic; the first stream starts at body offset
  // 4 (count) + 4 + 10 ("Master.bmp") + 4 = 22 and must end at kReadAhead + 2.
  const std::size_t streamStart = 22;
  Bytes content;
  Bytes stream;
  std::size_t n = kReadAhead - 1000;
  for (int tries = 0; tries < 50; ++tries) {
    content = Noise(n, 9);
    stream = CompressEntry(content);
    const std::size_t end = streamStart + stream.size();
    if (end == kReadAhead + 2) break;
    n += kReadAhead + 2 - end;
  }
  ASSERT_EQ(streamStart + stream.size(), kReadAhead + 2);
  const Bytes package = Hand()
                            .Count(2)
                            .Raw("Master.bmp", static_cast<std::int32_t>(content.size()), stream)
                            .Entry("Options.dat", kOptions)
                            .Build();
  for (const std::size_t readAhead : {kReadAhead, std::size_t{0}}) {
    auto conv = Lend(package);
    ExtractPackedData(conv, kCodec, {.readAhead = readAhead});
    ASSERT_EQ(conv->Files.size(), 1u) << readAhead;
    EXPECT_EQ(conv->Files[0].FileStream, content) << readAhead;
    EXPECT_EQ(conv->Options, kOptions) << readAhead;
  }
}

// The densest entry zlib writes must pass the bound on the unpacked size.
TEST(SkinPackage, HighlyCompressedEntryIsRead) {
  const Bytes zeros(4 << 20, 0);
  const Bytes package = Hand().Count(1).Raw("Fill.bmp", 4 << 20, DeflateAt(zeros, 9)).Build();
  ASSERT_LT(package.size(), 8u << 10);
  auto conv = Lend(package);
  ExtractPackedData(conv, kCodec);
  ASSERT_EQ(conv->Files.size(), 1u);
  EXPECT_EQ(conv->Files[0].FileStream, zeros);
}

// Every refusal leads with the text players and skin authors know for its condition: a
// package that ends too soon "Stream read error" (an early refusal says why after it),
// damaged data zlib's text, another magic "Loaded data is not a packed skin file". Values no
// package may carry have texts of their own (no lead).
TEST(SkinPackage, FailuresAndWhatTheyLeave) {
  constexpr std::u16string_view kShort = u"Stream read error";
  constexpr std::u16string_view kDamaged = u"data error";
  constexpr std::u16string_view kMagic = u"Loaded data is not a packed skin file";
  constexpr std::u16string_view kOwn = u"";

  const Bytes second = Noise(3000, 3);
  const Bytes good = Hand().Count(2).Entry("Options.dat", kOptions).Entry("n.bmp", second).Build();
  const std::size_t secondStream = good.size() - CompressEntry(second).size();
  const std::size_t secondEntry = secondStream - 4 - 5 - 4;  // name length, "n.bmp", size
  const auto cut = [&](std::size_t n) { return Bytes(good.begin(), good.begin() + n); };
  const auto flip = [&](std::size_t at) {
    Bytes b = good;
    b[at] ^= 0x01;
    return b;
  };
  const auto u32 = [](std::uint32_t v) {
    Bytes b;
    ByteWriter(b).U32(v);
    return b;
  };
  const struct {
    const char* what;
    Bytes package;
    std::u16string_view lead;
    std::u16string_view message;
    std::size_t entriesLeft;  // option file and images read before the failure
  } cases[] = {
      {"magic in capitals", Hand("ASZF").Count(0).Build(), kMagic, kNotAPackedSkin, 0},
      {"magic in lower case", Hand("aszf").Count(0).Build(), kMagic, kNotAPackedSkin, 0},
      {"another format", B("PK\3\4 zip archive"), kMagic, kNotAPackedSkin, 0},
      {"shorter than the magic", B("ASz"), kMagic, kNotAPackedSkin, 0},
      {"empty", Bytes{}, kMagic, kNotAPackedSkin, 0},

      {"package ends inside the count", B("ASzf\1\0"sv), kShort, kStreamReadError, 0},
      {"package cut to 10 bytes", cut(10), kShort, kTooManyEntries, 0},
      {"package ends inside the first name", cut(4 + 4 + 4 + 5), kShort, kTooManyEntries, 0},
      {"entry count 1000 for one entry", Hand().Count(1000).Entry("Options.dat", kOptions).Build(),
       kShort, kTooManyEntries, 0},
      {"largest entry count", Hand().Count(0x7FFFFFFF).Entry("Options.dat", kOptions).Build(),
       kShort, kTooManyEntries, 0},
      {"one entry more than the bytes can hold",
       Hand().Count(2).Entry("Options.dat", B("o")).Build(), kShort, kTooManyEntries, 0},
      {"package ends inside a name length", cut(secondEntry + 2), kShort, kStreamReadError, 1},
      {"package ends inside a name", cut(secondEntry + 4 + 3), kShort, kNameTooLong, 1},
      {"package ends inside a size", cut(secondStream - 2), kShort, kStreamReadError, 1},
      {"name length 64 past the end",
       Hand().Count(1).Append(u32(64)).Append(Bytes(20, 'a')).Build(), kShort, kNameTooLong, 0},
      {"largest name length",
       Hand().Count(1).Append(u32(0x7FFFFFFF)).Append(Bytes(20, 'a')).Build(), kShort, kNameTooLong,
       0},
      {"size far beyond what the rest can unpack to",
       Hand().Count(1).Raw("a.bmp", 10'000'000, CompressEntry(B("x"))).Build(), kShort,
       kEntrySizeBeyondData, 0},
      {"largest size", Hand().Count(1).Raw("a.bmp", 0x7FFFFFFF, CompressEntry(B("x"))).Build(),
       kShort, kEntrySizeBeyondData, 0},
      {"size one more than the data",
       Hand().Count(2).Entry("Options.dat", kOptions).Entry("n.bmp", second, +1).Build(), kShort,
       kStreamReadError, 1},
      {"package ends inside a stream", cut(secondStream + 100), kShort, kStreamReadError, 1},
      {"package ends inside a trailer", cut(good.size() - 2), kShort, kStreamReadError, 1},

      {"damaged header of a stream", flip(secondStream + 1), kDamaged, u"data error", 1},
      {"damaged trailer of a stream", flip(good.size() - 1), kDamaged, u"data error", 1},
      {"damaged deflate data", flip(secondStream + 200), kDamaged, u"data error", 1},

      {"negative entry count", Hand().Count(-1).Build(), kOwn, kNegativeEntryCount, 0},
      {"lowest entry count", Hand().Count(INT32_MIN).Build(), kOwn, kNegativeEntryCount, 0},
      {"negative name length",
       Hand().Count(1).Append(u32(0xFFFFFFFB)).Append(Bytes(20, 'a')).Build(), kOwn,
       kNegativeNameLength, 0},
      {"size 0", Hand().Count(1).Raw("a.bmp", 0, CompressEntry(B("x"))).Build(), kOwn,
       kEntrySizeInvalid, 0},
      {"negative size", Hand().Count(1).Raw("a.bmp", -7, CompressEntry(B("x"))).Build(), kOwn,
       kEntrySizeInvalid, 0},
      {"size one less than the data",
       Hand().Count(2).Entry("Options.dat", kOptions).Entry("n.bmp", second, -1).Build(), kOwn,
       kEntryLongerThanSize, 1},
      {"size 1 of many", Hand().Count(1).Raw("a.bmp", 1, CompressEntry(second)).Build(), kOwn,
       kEntryLongerThanSize, 0},
  };
  for (const auto& c : cases) {
    auto conv = Lend(c.package);
    try {
      ExtractPackedData(conv, kCodec);
      ADD_FAILURE() << c.what << ": no error";
      continue;
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
      if (!c.lead.empty()) {
        EXPECT_TRUE(e.Message() == c.lead ||
                    e.Message().starts_with(std::u16string(c.lead) + u": "))
            << c.what << ": " << e.what();
      }
    }
    if (c.lead == kMagic) {
      EXPECT_FALSE(conv) << c.what << ": the converter must be destroyed";
      continue;
    }
    ASSERT_TRUE(conv) << c.what;
    EXPECT_EQ(conv->Files.size() + (conv->Options ? 1 : 0), c.entriesLeft) << c.what;
  }
}

TEST(SkinPackage, UnpackedSizesAreCappedPerPackage) {
  const Bytes package = Hand()
                            .Count(3)
                            .Entry("Options.dat", Bytes(400, 'o'))
                            .Entry("a.bmp", Bytes(500, 'a'))
                            .Entry("b.bmp", Bytes(101, 'b'))
                            .Build();
  auto conv = Lend(package);
  EXPECT_NO_THROW(ExtractPackedData(conv, kCodec, {.maxUnpacked = 1001}));
  conv->Clear();
  conv->PackedData = PackedBytes::Lent(package);
  try {
    ExtractPackedData(conv, kCodec, {.maxUnpacked = 1000});
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), kUnpackedTooLarge);
  }
  EXPECT_EQ(conv->Files.size(), 1u);  // the third entry failed before it was inflated
}

// Consumers look images up among the first ImageCount files; with two option files the
// count says more than there are.
TEST(SkinPackage, ImagesNeverRunPastTheFiles) {
  const Bytes twoOptions = Hand()
                               .Count(3)
                               .Entry("Options.dat", kOptions)
                               .Entry("a.bmp", kMaster)
                               .Entry("Options.dat", kOptions)
                               .Build();
  const Bytes noOptions = Hand().Count(2).Entry("a.bmp", kMaster).Entry("b.png", kPng).Build();
  const struct {
    const Bytes& package;
    std::int32_t imageCount;
    std::size_t images;
  } cases[] = {{twoOptions, 2, 1}, {noOptions, 1, 1}};
  for (const auto& c : cases) {
    auto conv = Lend(c.package);
    ExtractPackedData(conv, kCodec);
    EXPECT_EQ(conv->ImageCount, c.imageCount);
    EXPECT_EQ(conv->Images().size(), c.images);
  }
}

class SkinPackageFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kq-skin-package-" + std::to_string(::getpid()) + "-" + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path Write(const std::string& name, ByteView bytes) {
    const auto path = dir_ / name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
  }
  std::filesystem::path dir_;
};

TEST_F(SkinPackageFile, MissingFileChangesNothing) {
  std::unique_ptr<TacSkinConvertor> none;
  EXPECT_FALSE(LoadPackedSkinFile(dir_ / "Missing.asz", none, true, kCodec));
  EXPECT_FALSE(none);

  auto kept = std::make_unique<TacSkinConvertor>();
  kept->Options = kOptions;
  kept->ImageCount = 4;
  TacSkinConvertor* const before = kept.get();
  EXPECT_FALSE(LoadPackedSkinFile(dir_ / "Missing.asz", kept, true, kCodec));
  EXPECT_FALSE(LoadPackedSkinFile(dir_, kept, true, kCodec));  // a folder is no package file
  ASSERT_EQ(kept.get(), before);
  EXPECT_EQ(kept->Options, kOptions);
  EXPECT_EQ(kept->ImageCount, 4);
}

TEST_F(SkinPackageFile, LoadsIntoANewOrAClearedConverterAndFreesThePackageOnRequest) {
  const Bytes package =
      BuildPackage(std::vector<PackEntry>{{"Options.dat", kOptions}, {"Master.bmp", kMaster}});
  const auto path = Write("Sky.asz", package);

  std::unique_ptr<TacSkinConvertor> conv;
  ASSERT_TRUE(LoadPackedSkinFile(path, conv, false, kCodec));
  ASSERT_TRUE(conv);
  EXPECT_TRUE(conv->PackedData.IsOwned());
  EXPECT_TRUE(std::ranges::equal(conv->PackedData.View(), package));

  // Reloading clears what the converter held first: the old image is not kept twice.
  TacSkinConvertor* const before = conv.get();
  ASSERT_TRUE(LoadPackedSkinFile(path, conv, true, kCodec));
  ASSERT_EQ(conv.get(), before);
  EXPECT_FALSE(conv->PackedData.HasValue());
  EXPECT_EQ(conv->Options, kOptions);
  EXPECT_EQ(FilesOf(*conv), (std::vector<File>{{u"Master.bmp", true, kMaster}}));

  conv->Clear();
  EXPECT_TRUE(conv->Files.empty());
  EXPECT_FALSE(conv->Options);
  EXPECT_FALSE(conv->PackedData.HasValue());
}

TEST_F(SkinPackageFile, BadFilesFail) {
  std::unique_ptr<TacSkinConvertor> conv;
  try {
    LoadPackedSkinFile(Write("NotASkin.asz", B("PK\3\4 zip")), conv, true, kCodec);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), kNotAPackedSkin);
  }
  EXPECT_FALSE(conv);

  const Bytes big = BuildPackage(std::vector<PackEntry>{{"Options.dat", Noise(5000, 4)}});
  try {
    LoadPackedSkinFile(Write("Big.asz", big), conv, true, kCodec, {.maxFileSize = 4096});
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), kPackedSkinFileTooLarge);
  }
}

// A lent package stays its owner's: the converter reads it and lets it go, on success and
// when a bad magic destroys the converter.
TEST(SkinPackage, LentPackageIsNeverTakenOver) {
  const Bytes package = BuildPackage(std::vector<PackEntry>{{"Options.dat", kOptions}});
  auto conv = Lend(package);
  ExtractPackedData(conv, kCodec);
  EXPECT_FALSE(conv->PackedData.IsOwned());
  EXPECT_EQ(conv->PackedData.View().data(), package.data());
  conv->Clear();
  EXPECT_FALSE(conv->PackedData.HasValue());

  const Bytes notAPackage = B("ASZF\0\0\0\0"sv);
  conv = Lend(notAPackage);
  EXPECT_THROW(ExtractPackedData(conv, kCodec), Error);
  EXPECT_FALSE(conv);
}

}  // namespace
}  // namespace kq
