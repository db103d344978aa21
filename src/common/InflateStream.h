// Inflates one zlib stream (header, deflate data, Adler-32 trailer) from a buffered source,
// block by block as the reader asks for bytes; the inflated content is never held whole.
#pragma once

#include "common/InputStream.h"

#include <memory>

struct z_stream_s;

namespace kq {

class InflateStream final : public InputStream {
 public:
  // Reads compressed bytes from the source's current position. Bytes the inflater looked
  // at but did not use stay in the source, so after the end of the stream the source
  // stands right behind its trailer (the skin package reader reads the next entry there).
  explicit InflateStream(BufferedInput& source);
  ~InflateStream() override;
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

  // Returns 0 once the stream's end (its checked trailer) has been read. Damaged data
  // throws kq::Error with zlib's own message; a source that ends before the stream does
  // throws "Unexpected end of compressed data".
  std::size_t Read(void* buf, std::size_t n) override;

  // True once the trailer has been read and checked.
  bool Finished() const { return finished_; }
  // Reads to the end of the stream, dropping the inflated bytes: leaves the source behind
  // the trailer without looking at the content.
  void SkipToEnd();

 private:
  BufferedInput& source_;
  std::unique_ptr<z_stream_s> z_;
  bool finished_ = false;
};

}  // namespace kq
