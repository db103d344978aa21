// The framework's own look: the system's controls with the layout's fonts and colours.
#pragma once

#include "ui/Look.h"

namespace kq::ui {

class DefaultLook final : public Look {
 public:
  static const DefaultLook& Instance();

  void Styles(Part part, DWORD& style, DWORD& exStyle) const override;
  const forms::FontSpec& Font(const PartInfo& info) const override;
  HBRUSH Colors(const PartInfo& info, HDC dc) const override;
  void EraseBackground(const PartInfo& info, HDC dc, const RECT& rect) const override;
  void ItemColors(const PartInfo& info, HDC dc) const override;
  void DrawItemFocus(const PartInfo& info, HDC dc, const RECT& rect) const override;
  int BevelWidth(const Bevels& bevels) const override;
  void DrawBevels(const PartInfo& info, HDC dc, const RECT& rect,
                  const Bevels& bevels) const override;
};

}  // namespace kq::ui
