#include "common/InflateStream.h"

#include "common/Error.h"

#include "../support/TrickleStream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <random>

namespace kq {
namespace {

Bytes Deflate(ByteView data, int level = 9) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level),
            Z_OK);
  out.resize(size);
  return out;
}

// Text that compresses, with enough variety to give several deflate blocks.
Bytes Sample(std::size_t n, unsigned seed = 1) {
  std::mt19937 rng(seed);
  const char* words[] = {"object ", "Caption ", "= ", "'Start' ", "end\n", "TestServer1 "};
  Bytes b;
  while (b.size() < n) {
    const char* w = words[rng() % 6];
    b.insert(b.end(), w, w + std::char_traits<char>::length(w));
    if (rng() % 5 == 0) b.push_back(static_cast<std::uint8_t>(rng()));
  }
  b.resize(n);
  return b;
}

using test::TrickleStream;

Bytes ReadAll(InputStream& in, std::size_t chunk) {
  Bytes out;
  Bytes buf(chunk);
  while (std::size_t k = in.Read(buf.data(), buf.size()))
    out.insert(out.end(), buf.begin(), buf.begin() + k);
  return out;
}

TEST(InflateStream, InflatesWhateverTheBlockAndReadSizes) {
  const Bytes plain = Sample(200000);
  const Bytes packed = Deflate(plain);
  for (std::size_t block : {1u, 5u, 4096u, 65536u, 1u << 20}) {
    for (std::size_t chunk : {1u, 100u, 70000u}) {
      if (block == 1 && chunk == 1) continue;  // same path as below, only slower
      MemoryInputStream source(packed);
      BufferedInput buffered(source, block);
      InflateStream z(buffered);
      EXPECT_EQ(ReadAll(z, chunk), plain) << block << " " << chunk;
      EXPECT_TRUE(z.Finished());
      EXPECT_EQ(buffered.Position(), packed.size());
    }
  }
}

// Two streams back to back with a marker behind each: after each stream the source must
// stand exactly behind the trailer, wherever the refills fell (inside the header, the
// data, the four trailer bytes, or right at its end).
TEST(InflateStream, StopsExactlyBehindTheTrailerWhereverTheRefillsFall) {
  const Bytes first = Sample(300, 2);
  const Bytes second = Sample(500, 3);
  const Bytes a = Deflate(first);
  const Bytes b = Deflate(second, 1);
  Bytes joined = a;
  joined.push_back(0xA5);
  joined.insert(joined.end(), b.begin(), b.end());
  joined.push_back(0x5A);
  for (std::size_t block = 1; block <= joined.size() + 1; ++block) {
    for (std::size_t step : {block, std::size_t{3}}) {
      TrickleStream source(joined, step);
      BufferedInput in(source, block);
      {
        InflateStream z(in);
        ASSERT_EQ(ReadAll(z, 64), first) << block;
      }
      ASSERT_EQ(in.Position(), a.size()) << block;
      std::uint8_t marker = 0;
      ASSERT_EQ(in.Read(&marker, 1), 1u);
      EXPECT_EQ(marker, 0xA5);
      {
        InflateStream z(in);
        z.SkipToEnd();
        EXPECT_TRUE(z.Finished());
      }
      ASSERT_EQ(in.Read(&marker, 1), 1u) << block;
      EXPECT_EQ(marker, 0x5A);
      EXPECT_EQ(in.Read(&marker, 1), 0u);
    }
  }
}

TEST(InflateStream, ReadsBytesInMemoryInPlaceAndStopsBehindTheTrailer) {
  const Bytes plain = Sample(70000);
  Bytes joined = Deflate(plain);
  const std::size_t end = joined.size();
  joined.push_back(0x42);
  BufferedInput in{ByteView(joined)};
  {
    InflateStream z(in);
    EXPECT_EQ(ReadAll(z, 4096), plain);
  }
  EXPECT_EQ(in.Position(), end);
  ASSERT_EQ(in.Peek().size(), 1u);
  EXPECT_EQ(in.Peek().data(), joined.data() + end);  // a view of the memory, not a copy
  in.Unread(end);
  EXPECT_EQ(in.Position(), 0u);
}

TEST(InflateStream, TakesCompressedBytesOnlyAsTheReaderAsks) {
  Bytes plain(4 << 20);
  std::mt19937 rng(7);
  for (auto& c : plain) c = static_cast<std::uint8_t>(rng() % 16);  // compresses about 2:1
  const Bytes packed = Deflate(plain);
  TrickleStream source(packed, 1 << 30);
  BufferedInput in(source, 16384);
  InflateStream z(in);
  std::uint8_t buf[1000];
  ASSERT_EQ(ReadFully(z, buf, sizeof buf), sizeof buf);
  EXPECT_LE(source.taken(), 2u * 16384);  // a block or two, not the whole input
  EXPECT_TRUE(std::equal(buf, buf + sizeof buf, plain.begin()));
}

TEST(InflateStream, DamagedDataFailsWithZlibsMessage) {
  const Bytes plain = Sample(5000);
  const Bytes good = Deflate(plain);
  struct Case {
    const char* what;
    std::size_t offset;  // from the start, or from the end when negative below
    bool fromEnd;
    std::uint8_t xorMask;
    const char16_t* message;
  };
  const Case cases[] = {
      {"header method", 0, false, 0x01, u"incorrect header check"},
      {"header flags", 1, false, 0x01, u"incorrect header check"},
      {"preset dictionary flag", 1, false, 0x20, u"incorrect header check"},
      {"trailer", 1, true, 0x01, u"incorrect data check"},
      {"first trailer byte", 4, true, 0x80, u"incorrect data check"},
  };
  for (const Case& c : cases) {
    Bytes bad = good;
    bad[c.fromEnd ? bad.size() - c.offset : c.offset] ^= c.xorMask;
    MemoryInputStream source(bad);
    BufferedInput in(source, 64);
    InflateStream z(in);
    try {
      ReadAll(z, 512);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
  // A stored block whose length and its complement disagree.
  Bytes bad = Deflate(Sample(5000), 0);
  bad[4] ^= 0xFF;
  MemoryInputStream source(bad);
  BufferedInput in(source);
  InflateStream z(in);
  try {
    ReadAll(z, 512);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"invalid stored block lengths");
  }
}

TEST(InflateStream, EveryTruncationFails) {
  const Bytes good = Deflate(Sample(3000));
  for (std::size_t len = 0; len < good.size(); ++len) {
    MemoryInputStream source(ByteView(good).first(len));
    BufferedInput in(source, 32);
    InflateStream z(in);
    try {
      ReadAll(z, 256);
      ADD_FAILURE() << "truncated at " << len << " read without error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), u"Unexpected end of compressed data") << len;
    }
  }
}

// The end of a stream whose last bits, already taken with the source's final bytes, make a
// match reaching back before the data (found by fuzzing the skin package reader). Whether
// the whole rest arrived in one refill or byte by byte, the reader sees the same error.
TEST(InflateStream, FailsAlikeWhenTheSourceEndsWithOutputPending) {
  const Bytes damaged = {0x78, 0x9C, 0x73, 0xF2, 0x65, 0x60, 0x64, 0x62, 0x66, 0x61, 0x65, 0x63,
                         0xE7, 0xE0, 0xE4, 0xE2, 0xE6, 0xE1, 0xE5, 0xE3, 0x17, 0x10, 0x14, 0x12,
                         0x16, 0x11, 0x15, 0x13, 0x97, 0x90, 0x94, 0x92, 0x96, 0x91, 0x95, 0x93,
                         0x57, 0x50, 0x54, 0x52, 0x56, 0x51, 0x55, 0x53, 0xD7, 0xD0, 0xD4, 0xD2,
                         0xD6, 0xD1, 0xD5, 0xD3, 0x37, 0x30, 0x34, 0x32, 0x36, 0x31, 0x35, 0x33,
                         0xB7, 0xB0, 0xB4, 0xB2, 0xB6, 0xB1, 0xB5, 0xB3, 0x07, 0x05, 0x68};
  for (std::size_t block = 1; block <= damaged.size() + 1; ++block) {
    MemoryInputStream source(damaged);
    BufferedInput in(source, block);
    InflateStream z(in);
    Bytes head(66);  // "BM" and the bytes 0 to 63, intact
    ASSERT_EQ(ReadFully(z, head.data(), head.size()), head.size()) << block;
    EXPECT_EQ(head[2], 0);
    EXPECT_EQ(head[65], 63);
    try {
      ReadAll(z, 512);
      ADD_FAILURE() << block << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), u"invalid distance too far back") << block;
    }
  }
}

// The skin package reader wants zlib's text for the result code and its own text for a
// source that ends early; the defaults above stay for everyone else.
TEST(InflateStream, FailureTextsFollowTheOptions) {
  const Bytes good = Deflate(Sample(3000));
  Bytes badHeader = good;
  badHeader[1] ^= 0x01;
  Bytes badTrailer = good;
  badTrailer.back() ^= 0x01;
  const Bytes cut(good.begin(), good.end() - 2);
  const InflateOptions skin{.codeTexts = true, .endOfSource = u"Stream read error"};
  const struct {
    const char* what;
    const Bytes& data;
    std::u16string_view message;
  } cases[] = {
      {"header", badHeader, u"data error"},
      {"trailer", badTrailer, u"data error"},
      {"cut", cut, u"Stream read error"},
  };
  for (const auto& c : cases) {
    MemoryInputStream source(c.data);
    BufferedInput in(source, 100);
    InflateStream z(in, skin);
    try {
      ReadAll(z, 512);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
}

}  // namespace
}  // namespace kq
