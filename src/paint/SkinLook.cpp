#include "paint/SkinLook.h"

#include "paint/Geometry.h"
#include "paint/Pixels.h"
#include "paint/ScrollBarSkin.h"
#include "ui/ButtonFace.h"
#include "ui/Control.h"
#include "ui/DefaultLook.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace kq::paint {
namespace {

using ui::Part;

constexpr std::size_t Index(SectionId id, State s) {
  return static_cast<std::size_t>(id) * kStateCount + static_cast<std::size_t>(s);
}

Box ToBox(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// Filling a rectangle with a tile takes a blend for each copy: a skin's 1x1 texture over a
// window's frame would take one for each pixel, and the window would freeze. A tile that
// needs more copies than this is first laid out, as whole tiles, into a block of at least
// kTileBlockSide pixels a side, and the block is tiled instead.
constexpr std::int64_t kMaxTileCopies = 256;
constexpr int kTileBlockSide = 128;

// The block: the tile blended once onto clear pixels (which gives its premultiplied
// pixels as they are), then copied across and down. Null when there is no memory for it.
win::GdiObject TileBlock(HDC image, const Box& tile, int stepX, int stepY, Box& block) {
  const int width = stepX * ((kTileBlockSide + stepX - 1) / stepX);
  const int height = stepY * ((kTileBlockSide + stepY - 1) / stepY);
  void* bits = nullptr;
  win::GdiObject dib = TopDownDib(width, height, &bits);
  if (!dib) return dib;
  {
    const MemoryDc dc(dib.Get());
    if (!dc.Get()) return {};
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(dc.Get(), 0, 0, stepX, stepY, image, tile.left, tile.top, tile.Width(),
                 tile.Height(), blend);
    ::GdiFlush();
  }
  auto* px = static_cast<std::uint32_t*>(bits);
  const auto w = static_cast<std::size_t>(width);
  for (std::size_t y = 0; y < static_cast<std::size_t>(stepY); ++y) {
    for (std::size_t x = static_cast<std::size_t>(stepX); x < w; ++x) {
      px[y * w + x] = px[y * w + x - static_cast<std::size_t>(stepX)];
    }
  }
  for (std::size_t y = static_cast<std::size_t>(stepY); y < static_cast<std::size_t>(height); ++y) {
    std::memcpy(px + y * w, px + (y - static_cast<std::size_t>(stepY)) * w, w * 4);
  }
  block = {0, 0, width, height};
  return dib;
}

void Fill(HDC dc, const RECT& r, Color color) {
  const win::GdiObject brush(::CreateSolidBrush(color));
  ::FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
}

// A one-pixel outline, with corners rounded by radius.
void Flat(HDC dc, const RECT& r, const StateColors& c, int radius) {
  if (radius <= 0) {
    Fill(dc, r, c.borderColor);
    RECT inner = r;
    ::InflateRect(&inner, -1, -1);
    if (inner.right > inner.left && inner.bottom > inner.top) Fill(dc, inner, c.color);
    return;
  }
  const win::GdiObject brush(::CreateSolidBrush(c.color));
  const win::GdiObject pen(::CreatePen(PS_SOLID, 1, c.borderColor));
  const HGDIOBJ oldBrush = ::SelectObject(dc, brush.Get());
  const HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
  ::RoundRect(dc, r.left, r.top, r.right, r.bottom, radius * 2, radius * 2);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
}

void Line(HDC dc, Color color, int width, std::initializer_list<POINT> points) {
  const win::GdiObject pen(::CreatePen(PS_SOLID, width, color));
  const HGDIOBJ old = ::SelectObject(dc, pen.Get());
  ::Polyline(dc, points.begin(), static_cast<int>(points.size()));
  ::SelectObject(dc, old);
}

void Text(HDC dc, HFONT font, std::wstring_view text, RECT r, Color color, UINT format) {
  const HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font)
                                              : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, color);
  ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, format);
  ::SelectObject(dc, old);
}

// The control a window belongs to, if the framework made it.
Part PartOfWindow(HWND hwnd, bool& known) {
  if (const ui::Control* c = ui::Control::FromHwnd(hwnd)) {
    known = true;
    return c->Info().part;
  }
  known = false;
  return Part::kForm;
}

}  // namespace

SectionId SectionOf(Part part) {
  switch (part) {
    case Part::kForm: return SectionId::kForm;
    case Part::kLabel: return SectionId::kLabel;
    case Part::kLink: return SectionId::kWebLabel;
    case Part::kEdit: return SectionId::kEdit;
    case Part::kButton: return SectionId::kButton;
    case Part::kCheckBox: return SectionId::kCheckBox;
    case Part::kRadioGroup: return SectionId::kGroupBox;
    case Part::kRadioButton: return SectionId::kRadioButton;
    case Part::kListBox: return SectionId::kListBox;
    case Part::kComboBox: return SectionId::kComboBox;
    case Part::kComboField: return SectionId::kComboBox;
    case Part::kComboList: return SectionId::kComboList;
    case Part::kGroupBox: return SectionId::kGroupBox;
    case Part::kPanel: return SectionId::kPanel;
  }
  return SectionId::kForm;
}

State StateOf(const ui::PartState& s) {
  if (s.disabled) return State::kDisabled;
  if (s.pressed) return State::kPressed;
  if (s.hot) return State::kHot;
  if (s.focused) return State::kFocused;
  return State::kNormal;
}

SkinLook::SkinLook(std::shared_ptr<const SkinModel> model, std::shared_ptr<const SkinImages> images)
    : model_(std::move(model)), images_(std::move(images)) {
  // The form's pattern: its image tiled (a brush keeps it aligned across the controls).
  const SectionLook& form = (*model_)[SectionId::kForm];
  if (form.image.Present() && images_) {
    if (const SkinBitmap* image = images_->Find(form.image.file)) {
      const Box frame = FrameBox(image->width, image->height, form.image.frames,
                                 std::max(0, form.ImageFrame(State::kNormal)));
      // The pattern is opaque: its pixels go over the form's colour first.
      HDC screen = ::GetDC(nullptr);
      HDC dst = ::CreateCompatibleDC(screen);
      HDC src = ::CreateCompatibleDC(screen);
      HBITMAP tile = ::CreateCompatibleBitmap(screen, frame.Width(), frame.Height());
      if (dst && src && tile) {
        const HGDIOBJ oldDst = ::SelectObject(dst, tile);
        const HGDIOBJ oldSrc = ::SelectObject(src, image->bitmap.Get());
        const RECT all{0, 0, frame.Width(), frame.Height()};
        Fill(dst, all, form.In(State::kNormal).color);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(dst, 0, 0, frame.Width(), frame.Height(), src, frame.left, frame.top,
                     frame.Width(), frame.Height(), blend);
        ::SelectObject(src, oldSrc);
        ::SelectObject(dst, oldDst);
        pattern_.Reset(::CreatePatternBrush(tile));
      }
      if (tile) ::DeleteObject(tile);
      if (src) ::DeleteDC(src);
      if (dst) ::DeleteDC(dst);
      ::ReleaseDC(nullptr, screen);
    }
  }
}

HBRUSH SkinLook::Brush(SectionId id, State state) const {
  if (id == SectionId::kForm && pattern_) return static_cast<HBRUSH>(pattern_.Get());
  // Made when first asked for: most sections and states never fill anything with a brush.
  win::GdiObject& brush = brushes_[Index(id, state)];
  if (!brush) brush.Reset(::CreateSolidBrush((*model_)[id].In(state).color));
  return static_cast<HBRUSH>(brush.Get());
}

void SkinLook::Styles(Part part, DWORD& style, DWORD& exStyle) const {
  // The same windows as without a skin, so that a skin can come and go on live windows.
  ui::DefaultLook::Instance().Styles(part, style, exStyle);
}

const forms::FontSpec& SkinLook::Font(const ui::PartInfo& info) const {
  return ui::DefaultLook::Instance().Font(info);
}

HBRUSH SkinLook::BrushBehind(HWND window) const {
  // Group boxes are transparent: what is behind a window is its nearest panel's or form's.
  HWND parent = window ? ::GetParent(window) : nullptr;
  while (parent) {
    bool known = false;
    const Part part = PartOfWindow(parent, known);
    if (known && part == Part::kPanel) return Brush(SectionId::kPanel, State::kNormal);
    if (!known) break;  // the form
    parent = ::GetParent(parent);
  }
  return Brush(SectionId::kForm, State::kNormal);
}

POINT SkinLook::PatternOrigin(HWND window) const {
  // The pattern starts at the form's top left.
  POINT origin{0, 0};
  if (pattern_ && window) ::MapWindowPoints(::GetAncestor(window, GA_ROOT), window, &origin, 1);
  return origin;
}

void SkinLook::FillBehind(HDC dc, HWND window, const RECT& rect) const {
  POINT old{};
  ::GetBrushOrgEx(dc, &old);
  // The DC may be a buffer whose origin is moved; the brush follows the window's origin.
  const POINT origin = PatternOrigin(window);
  POINT dcOrigin{};
  ::GetWindowOrgEx(dc, &dcOrigin);
  ::SetBrushOrgEx(dc, origin.x - dcOrigin.x, origin.y - dcOrigin.y, nullptr);
  ::FillRect(dc, &rect, BrushBehind(window));
  ::SetBrushOrgEx(dc, old.x, old.y, nullptr);
}

HBRUSH SkinLook::Colors(const ui::PartInfo& info, HDC dc) const {
  const SectionId id = SectionOf(info.part);
  const State state = StateOf(info.state);
  switch (info.part) {
    case Part::kEdit:
    case Part::kListBox:
    case Part::kComboBox:
    case Part::kComboField:
    case Part::kComboList: {
      const StateColors& c = Colors(id, info.state.disabled ? State::kDisabled : State::kNormal);
      ::SetTextColor(dc, c.fontColor);
      ::SetBkColor(dc, c.color);
      return Brush(id, info.state.disabled ? State::kDisabled : State::kNormal);
    }
    case Part::kButton:
      return nullptr;
    default: {
      ::SetTextColor(dc, Colors(id, state).fontColor);
      ::SetBkMode(dc, TRANSPARENT);
      const POINT origin = PatternOrigin(info.window);
      ::SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
      return BrushBehind(info.window);
    }
  }
}

void SkinLook::EraseBackground(const ui::PartInfo& info, HDC dc, const RECT& rect) const {
  if (info.part == Part::kForm) {
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::FillRect(dc, &rect, Brush(SectionId::kForm, State::kNormal));
  } else if (info.part == Part::kPanel) {
    ::FillRect(dc, &rect, Brush(SectionId::kPanel, State::kNormal));
  } else {
    FillBehind(dc, info.window, rect);
  }
}

void SkinLook::ItemColors(const ui::PartInfo& info, HDC dc) const {
  const StateColors& c = info.state.selected
                             ? Colors(SectionId::kSelection, State::kNormal)
                             : Colors(SectionOf(info.part),
                                      info.state.disabled ? State::kDisabled : State::kNormal);
  ::SetTextColor(dc, c.fontColor);
  ::SetBkColor(dc, c.color);
}

void SkinLook::DrawItemFocus(const ui::PartInfo&, HDC dc, const RECT& rect) const {
  ::DrawFocusRect(dc, &rect);
}

int SkinLook::BevelWidth(const ui::Bevels& bevels) const {
  return ui::DefaultLook::Instance().BevelWidth(bevels);
}

void SkinLook::DrawBevels(const ui::PartInfo&, HDC dc, const RECT& rect,
                          const ui::Bevels& bevels) const {
  const SectionLook& panel = (*model_)[SectionId::kPanel];
  const Color light = panel.In(State::kNormal).borderColor;
  const Color dark = panel.shadowColor;
  RECT r = rect;
  for (ui::Bevel b : {bevels.outer, bevels.inner}) {
    if (b == ui::Bevel::kNone) continue;
    const Color topLeft = b == ui::Bevel::kRaised ? light : dark;
    const Color bottomRight = b == ui::Bevel::kRaised ? dark : light;
    Line(dc, topLeft, 1, {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}});
    Line(dc, bottomRight, 1,
         {{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}});
    ::InflateRect(&r, -1, -1);
  }
}

bool SkinLook::PaintsFace(Part part) const {
  switch (part) {
    case Part::kButton:
    case Part::kCheckBox:
    case Part::kRadioButton:
    case Part::kGroupBox:
    case Part::kRadioGroup:
    case Part::kComboBox:
    case Part::kComboList:
      return true;
    default:
      return false;
  }
}

bool SkinLook::PaintsScrollBar(Part part) const {
  return part == Part::kListBox || part == Part::kComboList;
}

std::unique_ptr<ui::ScrollBarHook> SkinLook::MakeScrollBarHook() const {
  return std::make_unique<ScrollBarSkin>();
}

void SkinLook::DrawScrollArrow(const RECT& box, const ui::PartState& partState, bool up, int dpi,
                               HDC dc) const {
  // A face only under the mouse or pressed; the arrow itself in the text colour.
  const State state = StateOf(partState);
  if (state == State::kHot || state == State::kPressed) {
    RECT face = box;
    ::InflateRect(&face, -1, -1);
    DrawSection(dc, SectionId::kScrollBar, state, face, dpi);
  }
  const int half = ScaleToDpi(4, dpi), rise = ScaleToDpi(4, dpi) / 2 + 1;
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  const int tip = up ? cy - rise : cy + rise, base = up ? cy + rise - 1 : cy - rise + 1;
  const POINT points[] = {{cx - half, base}, {cx + half, base}, {cx, tip}};
  const Color color = Colors(SectionId::kScrollBar, state).fontColor;
  const win::GdiObject brush(::CreateSolidBrush(color));
  const win::GdiObject pen(::CreatePen(PS_SOLID, 1, color));
  const HGDIOBJ oldBrush = ::SelectObject(dc, brush.Get());
  const HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
  ::Polygon(dc, points, 3);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
}

void SkinLook::DrawScrollBar(const ui::ScrollBarFace& face, HDC dc) const {
  const int dpi = face.info.dpi;
  const State bar = face.thumbState.disabled ? State::kDisabled : State::kNormal;
  Fill(dc, face.bar, Colors(SectionId::kScrollBar, bar).color);
  if (!::IsRectEmpty(&face.thumb)) {
    // The thumb floats in the track, a little narrower than the bar.
    RECT thumb = face.thumb;
    ::InflateRect(&thumb, -ScaleToDpi(2, dpi), -1);
    const State state = StateOf(face.thumbState);
    const SectionLook& s = (*model_)[SectionId::kScrollBar];
    if (s.image.Present() && s.ImageFrame(state) >= 0) {
      DrawSection(dc, SectionId::kScrollBar, state, thumb, dpi);
    } else {
      const Color fill = s.In(state).borderColor;
      Flat(dc, thumb, {fill, fill, fill}, s.radius);
    }
  }
  DrawScrollArrow(face.up, face.upState, true, dpi, dc);
  DrawScrollArrow(face.down, face.downState, false, dpi, dc);
}

void SkinLook::DrawImage(HDC dc, const ImageSpec& spec, int frame, const RECT& rect,
                         int dpi) const {
  const SkinBitmap* image = images_ ? images_->Find(spec.file) : nullptr;
  if (!image) return;
  const MemoryDc src(image->bitmap.Get());
  if (!src.Get()) return;
  const Box source = FrameBox(image->width, image->height, spec.frames, frame);
  const Box target = ToBox(rect);
  HDC from = src.Get();
  std::vector<Piece> pieces;
  win::GdiObject block;
  std::optional<MemoryDc> blockDc;
  switch (spec.mode) {
    case DrawMode::kNineSlice:
      pieces = NineSlice(source, target, spec.margins, dpi);
      break;
    case DrawMode::kTile: {
      const int stepX = std::max(1, ScaleToDpi(source.Width(), dpi));
      const int stepY = std::max(1, ScaleToDpi(source.Height(), dpi));
      const std::int64_t copies = std::int64_t{(target.Width() + stepX - 1) / stepX} *
                                  ((target.Height() + stepY - 1) / stepY);
      Box laidOut;
      if (copies > kMaxTileCopies && !source.Empty() &&
          (block = TileBlock(from, source, stepX, stepY, laidOut))) {
        blockDc.emplace(block.Get());
        from = blockDc->Get();
        pieces = Tile(laidOut, target);  // already at the screen's scale
      } else {
        pieces = Tile(source, target, dpi);
      }
      break;
    }
    case DrawMode::kStretch:
      pieces.push_back({source, target});
      break;
  }
  if (!from) return;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  for (const Piece& p : pieces) {
    ::AlphaBlend(dc, p.target.left, p.target.top, p.target.Width(), p.target.Height(), from,
                 p.source.left, p.source.top, p.source.Width(), p.source.Height(), blend);
  }
}

void SkinLook::DrawSection(HDC dc, SectionId id, State state, const RECT& rect, int dpi) const {
  const SectionLook& s = (*model_)[id];
  const int frame = s.image.Present() ? s.ImageFrame(state) : -1;
  if (frame >= 0) {
    DrawImage(dc, s.image, frame, rect, dpi);
  } else if (id == SectionId::kCaption) {
    Fill(dc, rect, s.In(state).color);  // the frame's outline goes round the caption already
  } else {
    Flat(dc, rect, s.In(state), s.radius);
  }
}

void SkinLook::DrawGlyph(HDC dc, SectionId id, ui::CheckState check, State state,
                         const RECT& box, int dpi) const {
  const SectionLook& s = (*model_)[id];
  const Check c = static_cast<Check>(check);
  const int frame = s.glyph.Present() ? s.GlyphFrame(c, state) : -1;
  const SkinBitmap* image = frame >= 0 && images_ ? images_->Find(s.glyph.file) : nullptr;
  if (image) {
    const Box f = FrameBox(image->width, image->height, s.glyph.frames, frame);
    const int w = ScaleToDpi(f.Width(), dpi), h = ScaleToDpi(f.Height(), dpi);
    const int x = box.left + (box.right - box.left - w) / 2;
    const int y = box.top + (box.bottom - box.top - h) / 2;
    DrawImage(dc, ImageSpec{s.glyph.file, s.glyph.frames, {}, DrawMode::kStretch}, frame,
              RECT{x, y, x + w, y + h}, dpi);
    return;
  }
  // The flat symbols, in the section's text colour.
  const StateColors& colors = s.In(state);
  const int w = box.right - box.left, h = box.bottom - box.top;
  switch (id) {
    case SectionId::kCheckBox:
    case SectionId::kRadioButton: {
      const StateColors& field =
          Colors(SectionId::kEdit, state == State::kDisabled ? State::kDisabled : State::kNormal);
      StateColors boxColors{field.color, field.fontColor, colors.borderColor};
      const bool radio = id == SectionId::kRadioButton;
      Flat(dc, box, boxColors, radio ? std::min(w, h) / 2 : s.radius);
      if (check == ui::CheckState::kUnchecked) break;
      if (radio) {
        RECT dot = box;
        ::InflateRect(&dot, -w / 3, -h / 3);
        Flat(dc, dot, {field.fontColor, 0, field.fontColor}, std::min(w, h) / 2);
      } else if (check == ui::CheckState::kMixed) {
        RECT bar = box;
        ::InflateRect(&bar, -w / 4, -h / 4);
        Fill(dc, bar, field.fontColor);
      } else {
        Line(dc, field.fontColor, 2,
             {{box.left + w / 4, box.top + h / 2},
              {box.left + w * 2 / 5, box.top + h * 2 / 3},
              {box.left + w * 3 / 4, box.top + h / 4}});
      }
      break;
    }
    case SectionId::kCloseButton: {
      if (state == State::kHot || state == State::kPressed) Flat(dc, box, colors, s.radius);
      const int m = std::min(w, h) / 3;
      Line(dc, colors.fontColor, 2, {{box.left + m, box.top + m}, {box.right - m, box.bottom - m}});
      Line(dc, colors.fontColor, 2, {{box.right - m, box.top + m}, {box.left + m, box.bottom - m}});
      break;
    }
    case SectionId::kMinButton: {
      if (state == State::kHot || state == State::kPressed) Flat(dc, box, colors, s.radius);
      const int m = std::min(w, h) / 3;
      Line(dc, colors.fontColor, 2, {{box.left + m, box.bottom - m}, {box.right - m, box.bottom - m}});
      break;
    }
    case SectionId::kComboButton: {
      const int cx = box.left + w / 2, cy = box.top + h / 2;
      Line(dc, colors.fontColor, 2, {{cx - 4, cy - 2}, {cx, cy + 2}, {cx + 4, cy - 2}});
      break;
    }
    default:
      break;
  }
}

void SkinLook::DrawButtonFace(const ui::FaceInfo& face, HDC dc) const {
  // The corners show what is behind the button.
  FillBehind(dc, face.info.window, face.rect);
  State state = StateOf(face.info.state);
  DrawSection(dc, SectionId::kButton, state, face.rect, face.info.dpi);
  RECT text = face.rect;
  if (state == State::kPressed) ::OffsetRect(&text, 1, 1);
  Text(dc, face.font, face.text, text, Colors(SectionId::kButton, state).fontColor,
       DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (face.info.state.focused) {
    // The focus stays visible in every state.
    RECT focus = face.rect;
    ::InflateRect(&focus, -3, -3);
    ::SetTextColor(dc, Colors(SectionId::kButton, state).fontColor);
    ::SetBkColor(dc, Colors(SectionId::kButton, state).color);
    ::DrawFocusRect(dc, &focus);
  }
}

void SkinLook::DrawCheckFace(const ui::FaceInfo& face, HDC dc) const {
  const SectionId id =
      face.info.part == Part::kRadioButton ? SectionId::kRadioButton : SectionId::kCheckBox;
  FillBehind(dc, face.info.window, face.rect);
  const State state = StateOf(face.info.state);
  const SectionLook& s = (*model_)[id];
  const int size = ::MulDiv(s.size > 0 ? s.size : 13, face.info.dpi, 96);
  const int top = face.rect.top + (face.rect.bottom - face.rect.top - size) / 2;
  const RECT box{face.rect.left, top, face.rect.left + size, top + size};
  DrawGlyph(dc, id, face.check, state, box, face.info.dpi);
  RECT text{box.right + 4, face.rect.top, face.rect.right, face.rect.bottom};
  Text(dc, face.font, face.text, text, s.In(state).fontColor, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (face.info.state.focused) {
    RECT measure = text;
    const HGDIOBJ old = ::SelectObject(dc, face.font);
    ::DrawTextW(dc, face.text.data(), static_cast<int>(face.text.size()), &measure,
                DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    ::SelectObject(dc, old);
    const int h = measure.bottom - measure.top;
    RECT focus{text.left - 1, text.top + (text.bottom - text.top - h) / 2 - 1,
               std::min(measure.right + 1, static_cast<LONG>(face.rect.right)), 0};
    focus.bottom = focus.top + h + 2;
    ::SetTextColor(dc, s.In(state).fontColor);
    ::SetBkColor(dc, s.In(state).color);
    ::DrawFocusRect(dc, &focus);
  }
}

void SkinLook::DrawGroupFace(const ui::FaceInfo& face, HDC dc) const {
  FillBehind(dc, face.info.window, face.rect);
  const SectionLook& s = (*model_)[SectionId::kGroupBox];
  const State state = face.info.state.disabled ? State::kDisabled : State::kNormal;
  TEXTMETRICW tm{};
  const HGDIOBJ old = ::SelectObject(dc, face.font);
  ::GetTextMetricsW(dc, &tm);
  RECT caption{face.rect.left + 8, face.rect.top, face.rect.right - 8,
               face.rect.top + tm.tmHeight};
  ::DrawTextW(dc, face.text.data(), static_cast<int>(face.text.size()), &caption,
              DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
  ::SelectObject(dc, old);
  RECT frame = face.rect;
  frame.top += tm.tmHeight / 2;
  if (s.image.Present() && s.ImageFrame(state) >= 0) {
    DrawImage(dc, s.image, s.ImageFrame(state), frame, face.info.dpi);
  } else {
    StateColors c = s.In(state);
    const win::GdiObject pen(::CreatePen(PS_SOLID, 1, c.borderColor));
    const HGDIOBJ oldPen = ::SelectObject(dc, pen.Get());
    const HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, s.radius * 2,
                s.radius * 2);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
  }
  if (!face.text.empty()) {
    RECT gap = caption;
    ::InflateRect(&gap, 2, 0);
    FillBehind(dc, face.info.window, gap);
    Text(dc, face.font, face.text, caption, s.In(state).fontColor, DT_LEFT | DT_SINGLELINE);
  }
}

void SkinLook::DrawFace(const ui::FaceInfo& face, HDC dc) const {
  switch (face.info.part) {
    case Part::kButton:
      DrawButtonFace(face, dc);
      break;
    case Part::kCheckBox:
    case Part::kRadioButton:
      DrawCheckFace(face, dc);
      break;
    case Part::kGroupBox:
    case Part::kRadioGroup:
      DrawGroupFace(face, dc);
      break;
    case Part::kComboBox: {
      FillBehind(dc, face.info.window, face.rect);
      const State state = StateOf(face.info.state);
      DrawSection(dc, SectionId::kComboBox, state, face.rect, face.info.dpi);
      if (!::IsRectEmpty(&face.inner)) {
        const State button = face.info.state.disabled ? State::kDisabled
                             : face.innerPressed      ? State::kPressed
                                                      : state;
        DrawSection(dc, SectionId::kComboButton, button, face.inner, face.info.dpi);
        DrawGlyph(dc, SectionId::kComboButton, ui::CheckState::kUnchecked, button, face.inner,
                  face.info.dpi);
      }
      break;
    }
    default:
      break;
  }
}

bool SkinLook::DrawFrame(const ui::PartInfo& info, HDC dc, const RECT& windowRect) const {
  const SectionId id = SectionOf(info.part);
  const StateColors& c = Colors(id, StateOf(info.state));
  // The client edge is two pixels: the outline, then the field's own colour.
  RECT r = windowRect;
  for (Color color : {c.borderColor, Colors(id, info.state.disabled ? State::kDisabled
                                                                     : State::kNormal)
                                         .color}) {
    const win::GdiObject brush(::CreateSolidBrush(color));
    ::FrameRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
    ::InflateRect(&r, -1, -1);
  }
  return true;
}

}  // namespace kq::paint
