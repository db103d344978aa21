#include "paint/Pixels.h"

namespace kq::paint {

win::GdiObject TopDownDib(int width, int height, void** bits, HDC dc) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  *bits = nullptr;
  win::GdiObject dib(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0));
  if (!*bits) dib.Reset();
  return dib;
}

}  // namespace kq::paint
