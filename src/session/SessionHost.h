// How the login session reports to the window that runs it, and the codes it reports with.
#pragma once

#include "session/Packets.h"
#include "session/StatusSink.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kq {

using TWorldList = std::vector<TKQWorldRecord>;

// How a login sequence ended early. The low byte is the kind; a refused login carries the
// server's result code in the bits above it (RefusedOutcome).
namespace outcome {
inline constexpr std::uint32_t kClientMissing = 0;
inline constexpr std::uint32_t kNoHelloReply = 1;
inline constexpr std::uint32_t kNoLoginResult = 2;
inline constexpr std::uint32_t kRefused = 3;
inline constexpr std::uint32_t kNoWorldList = 4;
inline constexpr std::uint32_t kNoLink = 5;
}  // namespace outcome

inline constexpr std::uint32_t RefusedOutcome(std::uint8_t resultCode) {
  return std::uint32_t{resultCode} * 256 + outcome::kRefused;
}

// Implemented by the window. Every call may come from a thread other than the window's:
// StatusLine from the worker or the receive thread, the other two from the worker.
class TSessionHost : public StatusSink {
 public:
  // The session's own list; the host only reads it and may keep it.
  virtual void WorldListReady(std::shared_ptr<const TWorldList> worlds) = 0;
  virtual void SequenceEnded(std::uint32_t outcomeCode) = 0;
};

}  // namespace kq
