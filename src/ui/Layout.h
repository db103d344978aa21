// Where windows go: a container's children (their windows, the top-aligned ones stacked,
// tab order) and a form's place on the screen by its layout's Position.
#pragma once

#include "resources/FormLoader.h"
#include "resources/FormValues.h"
#include "win/Win.h"

#include <memory>
#include <string_view>
#include <vector>

namespace kq::ui {

// Creates the windows of a container's children, stacks the top-aligned ones inside the
// inset and puts the children in tab order (the window order is the order Tab visits them).
void CreateChildren(const std::vector<std::unique_ptr<forms::StoredComponent>>& children,
                    HWND parent, const forms::FontSpec& font, int inset);
// Stacks the top-aligned children inside the inset, at their form's DPI.
void ArrangeChildren(const std::vector<std::unique_ptr<forms::StoredComponent>>& children,
                     HWND parent, int inset);

// Moves a top-level window to where the position (poDesktopCenter, poScreenCenter,
// poOwnerFormCenter, poMainFormCenter; anything else: where it is) puts it.
void PlaceAtPosition(HWND hwnd, std::u16string_view position);

}  // namespace kq::ui
