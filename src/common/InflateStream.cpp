#include "common/InflateStream.h"

#include "common/Error.h"
#include "common/Text.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <utility>

namespace kq {
namespace {

[[noreturn]] void ThrowZlib(const z_stream& z, int code, bool codeText) {
  if (code == Z_MEM_ERROR) throw std::bad_alloc();
  // zlib's own text where it has one ("incorrect header check", "invalid distance too
  // far back", "incorrect data check"), else, or when asked, the text of its result code.
  throw Error(WidenAscii(z.msg && !codeText ? z.msg : zError(code)));
}

}  // namespace

InflateStream::InflateStream(BufferedInput& source, InflateOptions options)
    : source_(source), options_(std::move(options)), z_(new z_stream{}) {
  const int rc = inflateInit(z_.get());
  if (rc != Z_OK) {
    const z_stream copy = *z_;
    z_.reset();
    ThrowZlib(copy, rc, options_.codeTexts);
  }
}

InflateStream::~InflateStream() {
  if (z_) inflateEnd(z_.get());
}

std::size_t InflateStream::Read(void* buf, std::size_t n) {
  auto* out = static_cast<std::uint8_t*>(buf);
  std::size_t got = 0;
  while (got < n && !finished_) {
    // Even with the source at its end zlib is asked once more: bits it already took can
    // still hold output, or an error, which must not depend on where the refills fell.
    const ByteView in = source_.Peek();
    // zlib counts in 32-bit units; a larger request is served over several rounds.
    constexpr std::size_t kMax = std::numeric_limits<uInt>::max();
    z_->next_in = const_cast<Bytef*>(in.data());
    z_->avail_in = static_cast<uInt>(std::min(in.size(), kMax));
    z_->next_out = out + got;
    z_->avail_out = static_cast<uInt>(std::min(n - got, kMax));
    const uInt inBefore = z_->avail_in;
    const uInt outBefore = z_->avail_out;
    const int rc = inflate(z_.get(), Z_NO_FLUSH);
    // What zlib did not use stays in the source: after the stream's end that is the first
    // byte behind the trailer.
    source_.Consume(inBefore - z_->avail_in);
    got += outBefore - z_->avail_out;
    z_->next_in = nullptr;
    z_->avail_in = 0;
    if (rc == Z_STREAM_END) {
      finished_ = true;
    } else if (rc == Z_BUF_ERROR && in.empty()) {
      throw Error(std::u16string(options_.endOfSource));
    } else if (rc == Z_NEED_DICT && !options_.codeTexts) {
      throw Error(u"Compressed data needs a preset dictionary");
    } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
      ThrowZlib(*z_, rc, options_.codeTexts);
    }
  }
  return got;
}

void InflateStream::SkipToEnd() {
  std::uint8_t scratch[4096];
  while (Read(scratch, sizeof scratch) != 0) {
  }
}

}  // namespace kq
