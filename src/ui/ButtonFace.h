// A system button (push button, check box, radio button) whose face a look may paint. While
// the look paints it the button is owner-drawn, and this keeps what the system kept for it:
// the check state, the dialog code of its kind, whether it is the default button; it also
// tracks the mouse for the hot state. Without such a look the button is the system's own.
#pragma once

#include "ui/Look.h"
#include "win/Win.h"

namespace kq::ui {

class ButtonFace {
 public:
  // Makes the window owner-drawn or gives it back to the system, keeping its check state.
  void Adopt(HWND hwnd, bool painted);
  bool Painted() const { return painted_; }

  // A message of the button's own window; true when answered (result set) in the button's
  // stead while it is owner-drawn.
  bool Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // WM_DRAWITEM: the look paints the face, double-buffered.
  void Draw(const Look& look, PartInfo info, const DRAWITEMSTRUCT& item) const;

  // Check boxes and radio buttons: the state kept while owner-drawn (the system's else).
  LRESULT Check(HWND hwnd) const;
  bool Hot() const { return hot_; }

 private:
  bool painted_ = false;
  DWORD kind_ = BS_PUSHBUTTON;  // the system kind while painted
  LRESULT check_ = BST_UNCHECKED;
  bool hot_ = false;
};

// A buffer the size of a rectangle of a DC: drawn into, then copied in one go.
class PaintBuffer {
 public:
  PaintBuffer(HDC target, const RECT& rect);
  ~PaintBuffer();
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;
  // Null when no buffer could be made: then drawing goes straight to the target.
  HDC Dc() const { return dc_ ? dc_ : target_; }

 private:
  HDC target_;
  RECT rect_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace kq::ui
