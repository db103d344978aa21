// Cuts the byte stream of a link into frames by their length field, so that a frame split
// over several receives is joined and several frames in one receive are handed on one by
// one. Used by the launcher for the server's responses and by the reference login server
// for the launcher's requests.
#pragma once

#include "common/Bytes.h"

#include <cstddef>
#include <functional>

namespace kq {

class FrameAssembler {
 public:
  // A frame carries at least its length and its two type bytes; its length field is 16-bit,
  // so an unfinished frame never holds back more than kMaxFrame - 1 bytes, whatever a
  // hostile peer writes into the field.
  static constexpr std::size_t kMinFrame = 4;
  static constexpr std::size_t kMaxFrame = 0xFFFF;

  using FrameHandler = std::function<void(ByteView frame)>;

  // Hands every frame that the received bytes complete to onFrame, in order; each view
  // covers exactly the frame's bytes and is valid only during the call. The bytes of an
  // unfinished frame are kept for the next call. A length field below kMinFrame cannot
  // start a frame: the stream is out of step, and everything received up to here is
  // dropped.
  void Feed(ByteView received, const FrameHandler& onFrame);

  // Bytes held for an unfinished frame.
  std::size_t Pending() const { return pending_.size(); }

 private:
  // Moves bytes from the front of `from` into pending_ until it holds at least `size`
  // bytes; true when it does.
  bool TopUp(ByteView& from, std::size_t size);

  Bytes pending_;
};

}  // namespace kq
