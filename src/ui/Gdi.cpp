#include "ui/Gdi.h"

namespace kq::ui {

COLORREF ToColorRef(const forms::FormColor& c) {
  return c.systemIndex >= 0 ? ::GetSysColor(c.systemIndex) : static_cast<COLORREF>(c.rgb);
}

HFONT FontCache::Get(const forms::FontSpec& f) {
  const std::wstring key = win::Wide(f.name) + L"|" + std::to_wstring(f.height) + L"|" +
                           std::to_wstring(f.bold) + std::to_wstring(f.italic) +
                           std::to_wstring(f.underline) + std::to_wstring(f.strikeOut);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    HFONT font =
        ::CreateFontW(f.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline,
                      f.strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, win::W(f.name));
    it = fonts_.emplace(key, win::GdiObject(font)).first;
  }
  return static_cast<HFONT>(it->second.Get());
}

}  // namespace kq::ui
