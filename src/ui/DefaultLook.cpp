#include "ui/DefaultLook.h"

#include "ui/Gdi.h"

namespace kq::ui {
namespace {

// The parts drawn on the form's background with the layout's text colour; the others keep
// the system's colours.
bool OnFormBackground(Part part) {
  switch (part) {
    case Part::kLabel:
    case Part::kLink:
    case Part::kCheckBox:
    case Part::kRadioGroup:
    case Part::kRadioButton:
    case Part::kGroupBox:
      return true;
    default:
      return false;
  }
}

int Width(Bevel b) {
  return b == Bevel::kNone ? 0 : 1;
}

UINT EdgeOf(Bevel b) {
  return b == Bevel::kLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
}

}  // namespace

const DefaultLook& DefaultLook::Instance() {
  static const DefaultLook look;
  return look;
}

void DefaultLook::Styles(Part part, DWORD&, DWORD& exStyle) const {
  if (part == Part::kEdit || part == Part::kListBox) exStyle |= WS_EX_CLIENTEDGE;
}

const forms::FontSpec& DefaultLook::Font(const PartInfo& info) const {
  return info.state.hot && info.fonts.hover ? *info.fonts.hover : *info.fonts.normal;
}

HBRUSH DefaultLook::Colors(const PartInfo& info, HDC dc) const {
  if (!OnFormBackground(info.part)) return nullptr;
  ::SetTextColor(dc, ToColorRef(Font(info).color));
  ::SetBkMode(dc, TRANSPARENT);
  return info.background;
}

void DefaultLook::EraseBackground(const PartInfo& info, HDC dc, const RECT& rect) const {
  ::FillRect(dc, &rect, info.background);
}

void DefaultLook::ItemColors(const PartInfo& info, HDC dc) const {
  const bool selected = info.state.selected;
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ::SetBkColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
}

void DefaultLook::DrawItemFocus(const PartInfo&, HDC dc, const RECT& rect) const {
  ::DrawFocusRect(dc, &rect);
}

int DefaultLook::BevelWidth(const Bevels& bevels) const {
  return Width(bevels.outer) + Width(bevels.inner);
}

void DefaultLook::DrawBevels(const PartInfo&, HDC dc, const RECT& rect,
                             const Bevels& bevels) const {
  // The outer bevel on the edge, the inner one inside it.
  RECT r = rect;
  if (bevels.outer != Bevel::kNone) {
    ::DrawEdge(dc, &r, EdgeOf(bevels.outer), BF_RECT);
    ::InflateRect(&r, -1, -1);
  }
  if (bevels.inner != Bevel::kNone) ::DrawEdge(dc, &r, EdgeOf(bevels.inner), BF_RECT);
}

}  // namespace kq::ui
