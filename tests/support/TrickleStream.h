// An input stream that hands out at most `step` bytes per read, the way a socket or a slow
// file does, so that tests can put buffer refills anywhere in the data.
#pragma once

#include "common/Bytes.h"
#include "common/InputStream.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace kq::test {

class TrickleStream final : public InputStream {
 public:
  TrickleStream(ByteView data, std::size_t step) : data_(data), step_(step) {}
  std::size_t Read(void* buf, std::size_t n) override {
    const std::size_t k = std::min({n, step_, data_.size() - pos_});
    std::copy_n(data_.data() + pos_, k, static_cast<std::uint8_t*>(buf));
    pos_ += k;
    return k;
  }
  // How many bytes readers have taken so far.
  std::size_t taken() const { return pos_; }

 private:
  ByteView data_;
  std::size_t step_;
  std::size_t pos_ = 0;
};

}  // namespace kq::test
