#include "common/InputStream.h"

#include "common/Error.h"
#include "common/Utf8.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include <sys/stat.h>

namespace kq {

std::size_t ReadFully(InputStream& in, void* buf, std::size_t n) {
  auto* out = static_cast<std::uint8_t*>(buf);
  std::size_t got = 0;
  while (got < n) {
    const std::size_t k = in.Read(out + got, n - got);
    if (k == 0) break;
    got += k;
  }
  return got;
}

std::size_t MemoryInputStream::Read(void* buf, std::size_t n) {
  const std::size_t k = std::min(n, data_.size() - pos_);
  if (k) std::memcpy(buf, data_.data() + pos_, k);
  pos_ += k;
  return k;
}

// Paths are tested and named through their native form only: std::filesystem's own
// status and text conversions would link its implementation, the C++ streams and every
// locale facet into each program, about 700 KB of code the launcher never runs.
bool IsRegularFile(const std::filesystem::path& path) {
#ifdef _WIN32
  struct _stat64 st {};
  return ::_wstat64(path.c_str(), &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
#else
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

namespace {

std::u16string NameOf(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::wstring& name = path.native();
  return std::u16string(name.begin(), name.end());
#else
  return Utf8ToUtf16(AsBytes(path.native()));
#endif
}

}  // namespace

FileInputStream::FileInputStream(const std::filesystem::path& path) {
#ifdef _WIN32
  file_ = ::_wfopen(path.c_str(), L"rb");
#else
  file_ = std::fopen(path.c_str(), "rb");
#endif
  if (!file_) {
    throw Error(u"Cannot open file " + NameOf(path));
  }
}

FileInputStream::~FileInputStream() {
  std::fclose(file_);
}

std::size_t FileInputStream::Read(void* buf, std::size_t n) {
  const std::size_t k = std::fread(buf, 1, n, file_);
  if (k < n && std::ferror(file_)) throw Error(u"Cannot read file");
  return k;
}

BufferedInput::BufferedInput(InputStream& source, std::size_t blockSize)
    : source_(&source), block_(std::max<std::size_t>(blockSize, 1)), data_(block_.data()) {}

BufferedInput::BufferedInput(ByteView memory) : data_(memory.data()), end_(memory.size()) {}

ByteView BufferedInput::Peek() {
  if (begin_ == end_ && source_) {
    begin_ = 0;
    end_ = source_->Read(block_.data(), block_.size());
  }
  return ByteView(data_ + begin_, end_ - begin_);
}

void BufferedInput::Consume(std::size_t n) {
  if (n > end_ - begin_) throw std::logic_error("BufferedInput::Consume past the buffer");
  begin_ += n;
  consumed_ += n;
}

void BufferedInput::Unread(std::size_t n) {
  if (n > begin_) throw std::logic_error("BufferedInput::Unread past the block");
  begin_ -= n;
  consumed_ -= n;
}

std::size_t BufferedInput::Read(void* buf, std::size_t n) {
  auto* out = static_cast<std::uint8_t*>(buf);
  std::size_t got = 0;
  while (got < n) {
    // A large read that finds the buffer empty goes straight to the source.
    if (begin_ == end_ && source_ && n - got >= block_.size()) {
      const std::size_t k = source_->Read(out + got, n - got);
      if (k == 0) break;
      got += k;
      consumed_ += k;
      continue;
    }
    const ByteView avail = Peek();
    if (avail.empty()) break;
    const std::size_t k = std::min(avail.size(), n - got);
    std::memcpy(out + got, avail.data(), k);
    Consume(k);
    got += k;
  }
  return got;
}

}  // namespace kq
