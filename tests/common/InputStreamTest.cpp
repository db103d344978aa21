#include "common/InputStream.h"

#include "common/Error.h"

#include "../support/TrickleStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>

namespace kq {
namespace {

using test::TrickleStream;

Bytes Sequence(std::size_t n) {
  Bytes b(n);
  std::iota(b.begin(), b.end(), std::uint8_t{0});
  return b;
}

TEST(BufferedInput, ReadsEveryByteOnceWhateverTheBlockAndSourceSteps) {
  const Bytes data = Sequence(1000);
  for (std::size_t block : {1u, 3u, 64u, 999u, 1000u, 4096u}) {
    for (std::size_t step : {1u, 7u, 5000u}) {
      for (std::size_t chunk : {1u, 13u, 2000u}) {
        TrickleStream source(data, step);
        BufferedInput in(source, block);
        Bytes out;
        std::uint8_t buf[2000];
        while (std::size_t k = in.Read(buf, chunk)) out.insert(out.end(), buf, buf + k);
        EXPECT_EQ(out, data) << block << " " << step << " " << chunk;
        EXPECT_EQ(in.Position(), data.size());
        EXPECT_TRUE(in.Peek().empty());
      }
    }
  }
}

TEST(BufferedInput, PeekConsumeAndUnreadKeepThePosition) {
  const Bytes data = Sequence(10);
  MemoryInputStream source(data);
  BufferedInput in(source, 4);
  ByteView v = in.Peek();
  ASSERT_EQ(v.size(), 4u);
  in.Consume(3);
  EXPECT_EQ(in.Peek().size(), 1u);  // the rest of the block, no refill yet
  EXPECT_EQ(in.Peek()[0], 3);
  in.Unread(2);  // gives back bytes 1 and 2
  EXPECT_EQ(in.Position(), 1u);
  std::uint8_t b[3];
  ASSERT_EQ(in.Read(b, 3), 3u);
  EXPECT_EQ(Bytes(b, b + 3), (Bytes{1, 2, 3}));
  EXPECT_THROW(in.Consume(5), std::logic_error);
  EXPECT_THROW(in.Unread(9), std::logic_error);
  std::uint8_t rest[16];
  EXPECT_EQ(ReadFully(in, rest, sizeof rest), 6u);
  EXPECT_EQ(rest[5], 9);
}

TEST(FileInputStream, ReadsAFileAndReportsAMissingOneByName) {
  const auto path =
      std::filesystem::temp_directory_path() / std::filesystem::path(u8"kq-input-stream-файл.bin");
  const Bytes data = Sequence(300);
  {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
  }
  EXPECT_TRUE(IsRegularFile(path));
  EXPECT_FALSE(IsRegularFile(path.parent_path()));  // a folder is not a file
  {
    FileInputStream in(path);
    Bytes out(400);
    EXPECT_EQ(ReadFully(in, out.data(), out.size()), 300u);
    out.resize(300);
    EXPECT_EQ(out, data);
  }
  std::filesystem::remove(path);
  EXPECT_FALSE(IsRegularFile(path));
  try {
    FileInputStream in(path);
    ADD_FAILURE() << "a missing file opened";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Cannot open file " + path.u16string());
  }
}

}  // namespace
}  // namespace kq
