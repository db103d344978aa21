// The skin's look: every form and control drawn from a loaded skin's model and images,
// through the framework's look seam. Brushes are made once per skin and go with the look.
#pragma once

#include "paint/SkinImages.h"
#include "paint/SkinModel.h"
#include "ui/Look.h"
#include "win/Handles.h"

#include <array>
#include <memory>

namespace kq::paint {

// The section a part of the framework is drawn with.
SectionId SectionOf(ui::Part part);
// The state a part shows: disabled before pressed before hot before focused.
State StateOf(const ui::PartState& state);

class SkinLook final : public ui::Look {
 public:
  SkinLook(std::shared_ptr<const SkinModel> model, std::shared_ptr<const SkinImages> images);

  const SkinModel& Model() const { return *model_; }

  void Styles(ui::Part part, DWORD& style, DWORD& exStyle) const override;
  const forms::FontSpec& Font(const ui::PartInfo& info) const override;
  HBRUSH Colors(const ui::PartInfo& info, HDC dc) const override;
  void EraseBackground(const ui::PartInfo& info, HDC dc, const RECT& rect) const override;
  void ItemColors(const ui::PartInfo& info, HDC dc) const override;
  void DrawItemFocus(const ui::PartInfo& info, HDC dc, const RECT& rect) const override;
  int BevelWidth(const ui::Bevels& bevels) const override;
  void DrawBevels(const ui::PartInfo& info, HDC dc, const RECT& rect,
                  const ui::Bevels& bevels) const override;
  bool PaintsFace(ui::Part part) const override;
  void DrawFace(const ui::FaceInfo& face, HDC dc) const override;
  bool DrawFrame(const ui::PartInfo& info, HDC dc, const RECT& windowRect) const override;
  bool PaintsScrollBar(ui::Part part) const override;
  void DrawScrollBar(const ui::ScrollBarFace& face, HDC dc) const override;
  std::unique_ptr<ui::ScrollBarHook> MakeScrollBarHook() const override;

  // Drawing shared with the window frame's painter.
  // A section's face in a state: its image frame, else flat colour, outline and corners.
  // Images at the screen's DPI; the skin's sizes are stored at 96.
  void DrawSection(HDC dc, SectionId id, State state, const RECT& rect, int dpi = 96) const;
  // A glyph frame centred in the box; without an image, the flat symbol of the section.
  void DrawGlyph(HDC dc, SectionId id, ui::CheckState check, State state, const RECT& box,
                 int dpi = 96) const;
  // Fills what lies behind a window (its parent's background: the form's pattern or
  // colour, a panel's colour), aligned with the form.
  void FillBehind(HDC dc, HWND window, const RECT& rect) const;
  const StateColors& Colors(SectionId id, State state) const { return (*model_)[id].In(state); }

 private:
  HBRUSH Brush(SectionId id, State state) const;
  // The brush behind a window: its nearest panel's colour, else the form's background.
  HBRUSH BrushBehind(HWND window) const;
  // Where the form's pattern starts, in the window's coordinates.
  POINT PatternOrigin(HWND window) const;
  void DrawImage(HDC dc, const ImageSpec& spec, int frame, const RECT& rect, int dpi) const;
  void DrawButtonFace(const ui::FaceInfo& face, HDC dc) const;
  void DrawCheckFace(const ui::FaceInfo& face, HDC dc) const;
  void DrawGroupFace(const ui::FaceInfo& face, HDC dc) const;
  void DrawScrollArrow(const RECT& box, const ui::PartState& state, bool up, int dpi,
                       HDC dc) const;

  std::shared_ptr<const SkinModel> model_;
  std::shared_ptr<const SkinImages> images_;
  // One solid brush per section and state, made on first use, and the form's pattern.
  mutable std::array<win::GdiObject, kSectionCount * kStateCount> brushes_;
  win::GdiObject pattern_;
};

}  // namespace kq::paint
