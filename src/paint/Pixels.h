// Bitmaps whose pixels this code writes, and the memory DCs that draw on them.
#pragma once

#include "win/Handles.h"
#include "win/Win.h"

namespace kq::paint {

// A top-down 32-bit DIB section of that size, all clear when new, its pixels at *bits
// (premultiplied BGRA wherever an image with alpha goes on it). Null when the system gives
// none.
win::GdiObject TopDownDib(int width, int height, void** bits, HDC dc = nullptr);

// A memory DC, deleted when it goes, with what was selected into it put back.
class MemoryDc {
 public:
  explicit MemoryDc(HGDIOBJ select) : dc_(::CreateCompatibleDC(nullptr)) {
    if (dc_) old_ = ::SelectObject(dc_, select);
  }
  ~MemoryDc() {
    if (!dc_) return;
    ::SelectObject(dc_, old_);
    ::DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace kq::paint
