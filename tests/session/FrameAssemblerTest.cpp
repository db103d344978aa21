#include "session/FrameAssembler.h"

#include <gtest/gtest.h>

#include <random>

namespace kq {
namespace {

// A frame of the given total size: its length field, a type, and payload bytes that count
// up so that a misplaced byte shows.
Bytes Frame(std::size_t size, std::uint8_t code) {
  Bytes f(size);
  f[0] = static_cast<std::uint8_t>(size);
  f[1] = static_cast<std::uint8_t>(size >> 8);
  f[2] = 0x15;
  f[3] = code;
  for (std::size_t i = 4; i < size; ++i) f[i] = static_cast<std::uint8_t>(i * 7 + code);
  return f;
}

Bytes Concat(const std::vector<Bytes>& frames) {
  Bytes all;
  for (const Bytes& f : frames) all.insert(all.end(), f.begin(), f.end());
  return all;
}

// Feeds the stream in pieces cut at the given offsets; returns the frames handed on, each a
// copy of exactly the bytes of its view.
std::vector<Bytes> FeedInPieces(FrameAssembler& assembler, const Bytes& stream,
                                const std::vector<std::size_t>& cuts) {
  std::vector<Bytes> out;
  std::size_t from = 0;
  std::vector<std::size_t> ends = cuts;
  ends.push_back(stream.size());
  for (std::size_t to : ends) {
    // Each piece in a buffer of its own size, so that AddressSanitizer sees any read past it.
    const Bytes piece(stream.begin() + from, stream.begin() + to);
    assembler.Feed(piece, [&](ByteView f) { out.emplace_back(f.begin(), f.end()); });
    from = to;
  }
  return out;
}

const std::vector<Bytes> kFrames = {Frame(6, 0x0D), Frame(13, 0x04), Frame(61, 0x06),
                                    Frame(4, 0x7E), Frame(300, 0x08)};

TEST(FrameAssembler, HandsOnEveryFrameWhereverTheReceivesCutTheStream) {
  const Bytes stream = Concat(kFrames);
  const struct {
    const char* name;
    std::vector<std::size_t> cuts;
  } cases[] = {
      {"all frames in one receive", {}},
      {"one frame per receive", {6, 19, 80, 84}},
      {"a cut inside the length field", {1, 7, 20}},
      {"a cut right after the length field", {2, 8}},
      {"a cut inside the type", {3}},
      {"the second frame in three pieces", {10, 12, 18}},
      {"the long frame split twice", {100, 250}},
  };
  for (const auto& c : cases) {
    FrameAssembler assembler;
    EXPECT_EQ(FeedInPieces(assembler, stream, c.cuts), kFrames) << c.name;
    EXPECT_EQ(assembler.Pending(), 0u) << c.name;
  }
}

TEST(FrameAssembler, ByteByByteAndAtEveryCut) {
  const Bytes stream = Concat(kFrames);
  std::vector<std::size_t> every;
  for (std::size_t i = 1; i < stream.size(); ++i) every.push_back(i);
  FrameAssembler byteByByte;
  EXPECT_EQ(FeedInPieces(byteByByte, stream, every), kFrames);

  for (std::size_t cut = 1; cut < stream.size(); ++cut) {
    FrameAssembler assembler;
    EXPECT_EQ(FeedInPieces(assembler, stream, {cut}), kFrames) << "cut at " << cut;
  }
}

TEST(FrameAssembler, RandomCutsOfALongStream) {
  std::mt19937 random(20240501);
  std::vector<Bytes> frames;
  for (int i = 0; i < 200; ++i) {
    frames.push_back(Frame(4 + random() % 120, static_cast<std::uint8_t>(random())));
  }
  const Bytes stream = Concat(frames);
  std::vector<std::size_t> cuts;
  for (std::size_t at = random() % 50; at < stream.size(); at += 1 + random() % 97) {
    cuts.push_back(at);
  }
  FrameAssembler assembler;
  EXPECT_EQ(FeedInPieces(assembler, stream, cuts), frames);
}

TEST(FrameAssembler, KeepsAnUnfinishedFrameForTheNextReceive) {
  FrameAssembler assembler;
  const Bytes frame = Frame(13, 0x04);
  std::vector<Bytes> out;
  const auto collect = [&](ByteView f) { out.emplace_back(f.begin(), f.end()); };
  assembler.Feed(ByteView(frame).first(9), collect);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(assembler.Pending(), 9u);
  assembler.Feed(ByteView(frame).subspan(9), collect);
  EXPECT_EQ(out, std::vector<Bytes>{frame});
  EXPECT_EQ(assembler.Pending(), 0u);
}

// A length below four cannot start a frame; what was received with it is dropped, and the
// next receive starts afresh.
TEST(FrameAssembler, DropsAStreamOutOfStep) {
  const Bytes good = Frame(6, 0x0D);
  for (std::uint8_t bad = 0; bad < 4; ++bad) {
    for (bool splitHeader : {false, true}) {
      FrameAssembler assembler;
      std::vector<Bytes> out;
      const auto collect = [&](ByteView f) { out.emplace_back(f.begin(), f.end()); };
      Bytes stream = {bad, 0x00, 0x15, 0x04, 0x00};
      stream.insert(stream.end(), good.begin(), good.end());
      if (splitHeader) {
        assembler.Feed(ByteView(stream).first(1), collect);
        assembler.Feed(ByteView(stream).subspan(1), collect);
      } else {
        assembler.Feed(stream, collect);
      }
      EXPECT_TRUE(out.empty()) << "length " << int{bad};
      EXPECT_EQ(assembler.Pending(), 0u);
      assembler.Feed(good, collect);
      EXPECT_EQ(out, std::vector<Bytes>{good}) << "length " << int{bad};
    }
  }
}

// The largest length a peer can write holds back less than 64 KiB, and the frame comes out
// whole once it is complete.
TEST(FrameAssembler, TheLargestFrameHoldsBackLessThan64KiB) {
  const Bytes big = Frame(FrameAssembler::kMaxFrame, 0x06);
  FrameAssembler assembler;
  std::vector<Bytes> out;
  std::size_t most = 0;
  for (std::size_t at = 0; at < big.size(); at += 1000) {
    const std::size_t n = std::min<std::size_t>(1000, big.size() - at);
    assembler.Feed(ByteView(big).subspan(at, n),
                   [&](ByteView f) { out.emplace_back(f.begin(), f.end()); });
    most = std::max(most, assembler.Pending());
  }
  EXPECT_EQ(out, std::vector<Bytes>{big});
  EXPECT_EQ(most, FrameAssembler::kMaxFrame - 535);  // the last piece before the end
  EXPECT_LT(most, FrameAssembler::kMaxFrame);
}

}  // namespace
}  // namespace kq
