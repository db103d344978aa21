// Byte sources read front to back: memory, files, and a buffered source that keeps what a
// reader looked at but did not take, so that the next reader starts exactly there.
#pragma once

#include "common/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace kq {

class InputStream {
 public:
  virtual ~InputStream() = default;
  // Copies up to n bytes into buf and returns how many; 0 only at the end of the input.
  // A failure to read throws kq::Error.
  virtual std::size_t Read(void* buf, std::size_t n) = 0;
};

// Reads until n bytes have come or the input ended; returns how many came.
std::size_t ReadFully(InputStream& in, void* buf, std::size_t n);

// A view of bytes owned elsewhere (a loaded resource, a test buffer); nothing is copied.
class MemoryInputStream final : public InputStream {
 public:
  explicit MemoryInputStream(ByteView data) : data_(data) {}
  std::size_t Read(void* buf, std::size_t n) override;
  std::size_t Position() const { return pos_; }

 private:
  ByteView data_;
  std::size_t pos_ = 0;
};

// True when the path names an existing file, not a folder.
bool IsRegularFile(const std::filesystem::path& path);

// A file opened for reading, closed with the stream.
class FileInputStream final : public InputStream {
 public:
  // Throws kq::Error when the file cannot be opened.
  explicit FileInputStream(const std::filesystem::path& path);
  ~FileInputStream() override;
  FileInputStream(const FileInputStream&) = delete;
  FileInputStream& operator=(const FileInputStream&) = delete;
  std::size_t Read(void* buf, std::size_t n) override;

 private:
  std::FILE* file_ = nullptr;
};

// Reads its source in blocks and lets a consumer look at the buffered bytes before taking
// them. Bytes looked at but not consumed stay for the next read, so consumers that stop in
// the middle of a block (the inflater at the end of one zlib stream) leave the position
// exactly behind what they used.
class BufferedInput final : public InputStream {
 public:
  static constexpr std::size_t kDefaultBlock = 64 * 1024;
  explicit BufferedInput(InputStream& source, std::size_t blockSize = kDefaultBlock);
  // Bytes already in memory (a loaded resource) are offered as they are: no block, no copy.
  explicit BufferedInput(ByteView memory);

  // The buffered bytes not yet consumed, refilled from the source when none are left;
  // empty only at the end of the source.
  ByteView Peek();
  // Takes n of the bytes Peek returned.
  void Consume(std::size_t n);
  // Gives back the last n consumed bytes that are still in the buffer (at most what the
  // current block holds before the position; anything, for memory).
  void Unread(std::size_t n);

  std::size_t Read(void* buf, std::size_t n) override;
  // Bytes consumed since the start.
  std::uint64_t Position() const { return consumed_; }

 private:
  InputStream* source_ = nullptr;  // null when reading from memory
  Bytes block_;
  const std::uint8_t* data_ = nullptr;  // block_, or the memory
  std::size_t begin_ = 0;               // next unconsumed byte of data_
  std::size_t end_ = 0;                 // end of the valid bytes of data_
  std::uint64_t consumed_ = 0;
};

}  // namespace kq
