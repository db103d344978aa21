// libFuzzer target: the login server's responses as the launcher cuts them out of its
// receives. The input gives a run of well-formed frames and the points where the receives
// are cut: the frames handed on must be exactly the frames sent, in order, wherever the cuts
// fall. The same input, read as a raw stream, must give only frames whose length field is
// their size, never more bytes than were fed.
#include "session/FrameAssembler.h"

#include <cstdlib>
#include <vector>

namespace {

using kq::Bytes;
using kq::ByteView;
using kq::FrameAssembler;

std::vector<Bytes> FeedInCuts(ByteView stream, ByteView cuts, std::size_t* pending) {
  FrameAssembler assembler;
  std::vector<Bytes> out;
  const auto take = [&out](ByteView frame) { out.emplace_back(frame.begin(), frame.end()); };
  std::size_t at = 0, c = 0;
  while (at < stream.size()) {
    // Each cut byte is a receive size from 1 to 256; no cut bytes means one receive.
    const std::size_t size = c < cuts.size() ? std::size_t{cuts[c++]} + 1 : stream.size() - at;
    const std::size_t n = std::min(size, stream.size() - at);
    assembler.Feed(stream.subspan(at, n), take);
    at += n;
  }
  *pending = assembler.Pending();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte splits the input: frame material, then cut sizes.
  const std::size_t split = std::min<std::size_t>(size - 1, std::size_t{data[0]} * 4);
  const ByteView material(data + 1, split);
  const ByteView cuts(data + 1 + split, size - 1 - split);

  // Well-formed frames: a byte gives the body's size (0..63), the body follows.
  std::vector<Bytes> sent;
  Bytes stream;
  for (std::size_t i = 0; i < material.size();) {
    const std::size_t body = material[i++] % 64;
    Bytes frame{0, 0};
    for (std::size_t k = 0; k < body + 2; ++k) frame.push_back(i < material.size() ? material[i++] : 0);
    frame[0] = static_cast<std::uint8_t>(frame.size());
    frame[1] = static_cast<std::uint8_t>(frame.size() >> 8);
    stream.insert(stream.end(), frame.begin(), frame.end());
    sent.push_back(std::move(frame));
  }
  std::size_t pending = 0;
  if (FeedInCuts(stream, cuts, &pending) != sent || pending != 0) std::abort();
  // Cut short inside the last frame: that frame is held, never handed on half.
  if (!sent.empty() && sent.back().size() > 1) {
    const ByteView shorter(stream.data(), stream.size() - 1);
    const auto got = FeedInCuts(shorter, cuts, &pending);
    if (got.size() != sent.size() - 1 || pending != sent.back().size() - 1) std::abort();
  }

  // The raw input as a stream: whatever it holds, each frame's length field is its size.
  std::size_t handed = 0;
  for (const Bytes& frame : FeedInCuts(ByteView(data, size), cuts, &pending)) {
    const std::size_t field = frame[0] | std::size_t{frame[1]} << 8;
    if (field != frame.size() || field < FrameAssembler::kMinFrame) std::abort();
    handed += frame.size();
  }
  if (handed + pending > size) std::abort();
  return 0;
}
