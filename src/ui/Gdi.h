// The layout's fonts and colours in GDI terms.
#pragma once

#include "resources/FormValues.h"
#include "win/Handles.h"

#include <map>
#include <string>

namespace kq::ui {

COLORREF ToColorRef(const forms::FormColor& c);

// A form's fonts: one GDI font per distinct spec, alive as long as the form.
class FontCache {
 public:
  HFONT Get(const forms::FontSpec& spec);

 private:
  std::map<std::wstring, win::GdiObject> fonts_;
};

}  // namespace kq::ui
