#include "session/FrameAssembler.h"

#include <algorithm>

namespace kq {
namespace {

std::size_t LengthField(ByteView bytes) {
  return static_cast<std::size_t>(bytes[0]) | static_cast<std::size_t>(bytes[1]) << 8;
}

}  // namespace

bool FrameAssembler::TopUp(ByteView& from, std::size_t size) {
  if (pending_.size() >= size) return true;
  const std::size_t take = std::min(size - pending_.size(), from.size());
  pending_.insert(pending_.end(), from.begin(), from.begin() + take);
  from = from.subspan(take);
  return pending_.size() == size;
}

void FrameAssembler::Feed(ByteView received, const FrameHandler& onFrame) {
  // First finish a frame begun in an earlier receive.
  if (!pending_.empty()) {
    if (!TopUp(received, 2)) return;
    const std::size_t length = LengthField(pending_);
    if (length < kMinFrame) {
      pending_.clear();
      return;
    }
    if (!TopUp(received, length)) return;
    const Bytes frame = std::move(pending_);
    pending_.clear();
    onFrame(frame);
  }
  // Then take whole frames straight from the received bytes; only a tail is copied.
  while (!received.empty()) {
    if (received.size() < 2) break;
    const std::size_t length = LengthField(received);
    if (length < kMinFrame) return;
    if (received.size() < length) break;
    onFrame(received.first(length));
    received = received.subspan(length);
  }
  pending_.assign(received.begin(), received.end());
}

}  // namespace kq
