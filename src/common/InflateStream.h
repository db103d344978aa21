// Inflates one zlib stream (header, deflate data, Adler-32 trailer) from a buffered source,
// block by block as the reader asks for bytes; the inflated content is never held whole.
#pragma once

#include "common/InputStream.h"

#include <memory>
#include <string>
#include <string_view>

struct z_stream_s;

namespace kq {

// How failures read: the defaults suit the form loader; the skin package reader reports
// zlib's text for the result code and its own text for a package that ends early.
struct InflateOptions {
  // zlib's text for the result code ("data error") instead of its detailed message
  // ("invalid distance too far back").
  bool codeTexts = false;
  // Raised when the source ends before the stream does; a text that outlives the stream
  // (a constant), so that no stream copies it.
  std::u16string_view endOfSource = u"Unexpected end of compressed data";
};

class InflateStream final : public InputStream {
 public:
  // Reads compressed bytes from the source's current position. Bytes the inflater looked
  // at but did not use stay in the source, so after the end of the stream the source
  // stands right behind its trailer (the skin package reader reads the next entry there).
  explicit InflateStream(BufferedInput& source, InflateOptions options = {});
  ~InflateStream() override;
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

  // Returns 0 once the stream's end (its checked trailer) has been read. Damaged data
  // throws kq::Error with zlib's own message; a source that ends before the stream does
  // throws the options' endOfSource text.
  std::size_t Read(void* buf, std::size_t n) override;

  // True once the trailer has been read and checked.
  bool Finished() const { return finished_; }
  // Reads to the end of the stream, dropping the inflated bytes: leaves the source behind
  // the trailer without looking at the content.
  void SkipToEnd();

 private:
  BufferedInput& source_;
  InflateOptions options_;
  std::unique_ptr<z_stream_s> z_;
  bool finished_ = false;
};

}  // namespace kq
