// Byte buffers and a bounds-checked reader/writer for little-endian binary data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline ByteView AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}
inline std::string_view AsChars(ByteView b) {
  return {reinterpret_cast<const char*>(b.data()), b.size()};
}

// Reads little-endian values from a byte view. A read past the end returns zero and puts
// the reader into a failed state that sticks; it never touches memory beyond the view.
class ByteReader {
 public:
  explicit ByteReader(ByteView data) : data_(data) {}

  std::uint8_t U8() { return static_cast<std::uint8_t>(Take(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Take(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Take(4)); }
  // The next n bytes, or an empty view (and the failed state) when fewer remain.
  ByteView Span(std::size_t n) {
    if (!Ensure(n)) return {};
    ByteView s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }
  void Skip(std::size_t n) { Span(n); }
  // Moves to an absolute offset; an offset past the end fails.
  void Seek(std::size_t offset) {
    if (offset > data_.size()) failed_ = true;
    else pos_ = offset;
  }

  bool Ok() const { return !failed_; }
  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return data_.size() - pos_; }

 private:
  bool Ensure(std::size_t n) {
    if (failed_ || n > data_.size() - pos_) {
      failed_ = true;
      return false;
    }
    return true;
  }
  std::uint64_t Take(std::size_t n) {
    if (!Ensure(n)) return 0;
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v |= std::uint64_t{data_[pos_ + i]} << (8 * i);
    pos_ += n;
    return v;
  }

  ByteView data_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

// Appends little-endian values to a byte buffer.
class ByteWriter {
 public:
  explicit ByteWriter(Bytes& out) : out_(out) {}
  void U8(std::uint8_t v) { out_.push_back(v); }
  void U16(std::uint16_t v) { Put(v, 2); }
  void U32(std::uint32_t v) { Put(v, 4); }
  void Append(ByteView b) { out_.insert(out_.end(), b.begin(), b.end()); }

 private:
  void Put(std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  Bytes& out_;
};

}  // namespace kq
