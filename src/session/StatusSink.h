// Where the session's status lines go: text and a colour in the window system's encoding
// (red in the low byte, then green, then blue).
#pragma once

#include <cstdint>
#include <string>

namespace kq {

inline constexpr std::uint32_t kStatusBlack = 0;
inline constexpr std::uint32_t kStatusRed = 255;
inline constexpr std::uint32_t kStatusGreen = 32768;
inline constexpr std::uint32_t kStatusYellow = 65535;

// The receive thread reports through it too, so an implementation must accept calls from
// any thread.
class StatusSink {
 public:
  virtual ~StatusSink() = default;
  virtual void StatusLine(const std::u16string& text, std::uint32_t colour) = 0;
};

}  // namespace kq
