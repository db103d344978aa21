// The look seam: every form and control asks its form's look how to draw itself: the window
// styles it is made with, its fonts, text and background colours, list items in their
// states, focus marks and bevels. The framework's own drawing is DefaultLook; a skin's
// painter is another Look, set on a form with Form::SetLook.
#pragma once

#include "resources/FormValues.h"
#include "win/Win.h"

#include <functional>
#include <memory>
#include <string_view>

namespace kq::ui {

// What is being drawn.
enum class Part {
  kForm,
  kLabel,
  kLink,  // a web label
  kEdit,
  kButton,
  kCheckBox,
  kRadioGroup,
  kRadioButton,  // one choice of a radio group
  kListBox,
  kComboBox,
  kComboField,  // the text field inside a combo box
  kComboList,   // the dropped-down list of a combo box
  kGroupBox,
  kPanel,
};

struct PartState {
  bool hot = false;  // under the mouse
  bool pressed = false;
  bool selected = false;
  bool focused = false;
  bool disabled = false;
};

// The layout's fonts of a part: its own, and the one it shows under the mouse, if any.
struct PartFonts {
  const forms::FontSpec* normal = nullptr;
  const forms::FontSpec* hover = nullptr;
};

// One question to the look: which part, in which state, with what the layout gave it.
struct PartInfo {
  Part part = Part::kForm;
  PartState state;
  PartFonts fonts;
  HBRUSH background = nullptr;  // the form's background (its Color)
  HWND window = nullptr;        // the part's window: brushes are aligned to the form
  int dpi = 96;                 // the form's: a look's own sizes are stored at 96
};

enum class CheckState { kUnchecked, kChecked, kMixed };

// A part whose whole face a look paints itself: push buttons, check boxes, radio buttons,
// group boxes.
struct FaceInfo {
  PartInfo info;
  RECT rect{};  // the window's client rectangle
  std::wstring_view text;
  HFONT font = nullptr;
  CheckState check = CheckState::kUnchecked;
  bool isDefault = false;  // the push button Enter presses
  RECT inner{};            // a part inside the face: a combo box's drop button
  bool innerPressed = false;
};

// A window's vertical scroll bar, for a look that draws it: its pieces in the DC's
// coordinates and the state of each.
struct ScrollBarFace {
  PartInfo info;  // of the window the bar belongs to
  RECT bar{};
  RECT up{}, down{}, track{};
  RECT thumb{};  // empty: none (nothing to scroll, or no room)
  PartState upState, downState, thumbState;
};

class Look;

// Draws the vertical scroll bar of one window and answers the mouse on it, for a look that
// draws scroll bars; made by that look for each window. It keeps no look: the window's
// current one comes with every message.
class ScrollBarHook {
 public:
  virtual ~ScrollBarHook() = default;
  // The window's look and look question, asked anew each time (the skin may change while
  // the mouse holds the bar).
  struct Source {
    std::function<const Look&()> look;
    std::function<PartInfo()> info;
  };
  using Next = std::function<LRESULT(UINT, WPARAM, LPARAM)>;
  // A message of the window: answered here, or passed on to `next`.
  virtual LRESULT Handle(HWND hwnd, const Source& source, UINT msg, WPARAM wp, LPARAM lp,
                         const Next& next) = 0;
};

enum class Bevel { kNone, kRaised, kLowered };
struct Bevels {
  Bevel outer = Bevel::kRaised;
  Bevel inner = Bevel::kNone;
};

class Look {
 public:
  virtual ~Look() = default;

  // The window styles a part is made with, starting from the framework's own.
  virtual void Styles(Part part, DWORD& style, DWORD& exStyle) const = 0;
  // The font a part shows in its state.
  virtual const forms::FontSpec& Font(const PartInfo& info) const = 0;
  // WM_CTLCOLOR* of a part: sets the text colour and mode on the DC and gives the
  // background brush; null leaves the part to the system's colours.
  virtual HBRUSH Colors(const PartInfo& info, HDC dc) const = 0;
  // Fills the background of a part (a form, a container) on WM_ERASEBKGND.
  virtual void EraseBackground(const PartInfo& info, HDC dc, const RECT& rect) const = 0;
  // Sets the text and background colours of an owner-drawn list item in its state.
  virtual void ItemColors(const PartInfo& info, HDC dc) const = 0;
  // The focus mark of an owner-drawn list item.
  virtual void DrawItemFocus(const PartInfo& info, HDC dc, const RECT& rect) const = 0;
  // The width of a part's bevels; its children are placed inside them.
  virtual int BevelWidth(const Bevels& bevels) const = 0;
  // Draws a part's bevels along the edge of the rectangle (WM_PAINT of a panel).
  virtual void DrawBevels(const PartInfo& info, HDC dc, const RECT& rect,
                          const Bevels& bevels) const = 0;

  // Whether the look paints the part's whole face (DrawFace) instead of the system.
  virtual bool PaintsFace(Part /*part*/) const { return false; }
  // Paints a face into a buffer the size of the window's client area.
  virtual void DrawFace(const FaceInfo& /*face*/, HDC /*dc*/) const {}
  // Paints the frame of a part with a client edge (edits, lists, combo boxes) on
  // WM_NCPAINT; false leaves it to the system.
  virtual bool DrawFrame(const PartInfo& /*info*/, HDC /*dc*/, const RECT& /*windowRect*/) const {
    return false;
  }
  // Whether the look draws the vertical scroll bar of a part's window instead of the system.
  virtual bool PaintsScrollBar(Part /*part*/) const { return false; }
  // Paints the whole bar into a buffer of the window's DC.
  virtual void DrawScrollBar(const ScrollBarFace& /*face*/, HDC /*dc*/) const {}
  // The hook of one window's bar, for a look that paints scroll bars.
  virtual std::unique_ptr<ScrollBarHook> MakeScrollBarHook() const { return nullptr; }
};

}  // namespace kq::ui
