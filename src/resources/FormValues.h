// What the framework makes of stored property values: integers, texts, flags, colours,
// fonts. Portable, so that the rules are tested natively.
#pragma once

#include "resources/FormStream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq::forms {

std::optional<std::int64_t> IntegerOf(const FormValue* v);
std::optional<std::u16string> TextOf(const FormValue* v);  // strings and identifiers
std::optional<bool> BoolOf(const FormValue* v);
bool SetHas(const FormValue* v, std::u16string_view element);
// The strings of a list value (Items.Strings); empty when absent.
std::vector<std::u16string> StringsOf(const FormValue* v);

// A colour in the window system's encoding (red in the low byte), or a system colour.
struct FormColor {
  std::uint32_t rgb = 0;
  int systemIndex = -1;  // COLOR_* index when >= 0
  bool operator==(const FormColor&) const = default;
};
// Named colours (clNavy, clBtnFace, ...) and integers; the framework's encoding of system
// colours (0xFF000000 | index) is understood too.
std::optional<FormColor> ColorOf(const FormValue* v);

struct FontSpec {
  std::u16string name = u"Tahoma";
  int height = -11;       // negative: character height in pixels
  FormColor color{0, 8};  // clWindowText
  bool bold = false, italic = false, underline = false, strikeOut = false;
  bool operator==(const FontSpec&) const = default;
};
// The font under `prefix` ("Font", "HoverFont") of a stored component, on top of the font
// it inherits: every Font.* property the component does not set comes from its parent.
template <class Find>
FontSpec FontOf(const Find& find, std::u16string_view prefix, FontSpec inherited);

// True when the component sets any property under the prefix.
template <class Props>
bool HasPrefix(const Props& properties, std::u16string_view prefix) {
  for (const auto& p : properties) {
    if (p.name.size() > prefix.size() && p.name[prefix.size()] == u'.' &&
        SameName(std::u16string_view(p.name).substr(0, prefix.size()), prefix)) {
      return true;
    }
  }
  return false;
}

template <class Find>
FontSpec FontOf(const Find& find, std::u16string_view prefix, FontSpec f) {
  const std::u16string p(prefix);
  if (auto name = TextOf(find(p + u".Name"))) f.name = *name;
  if (auto height = IntegerOf(find(p + u".Height"))) f.height = static_cast<int>(*height);
  if (auto color = ColorOf(find(p + u".Color"))) f.color = *color;
  if (const FormValue* style = find(p + u".Style")) {
    f.bold = SetHas(style, u"fsBold");
    f.italic = SetHas(style, u"fsItalic");
    f.underline = SetHas(style, u"fsUnderline");
    f.strikeOut = SetHas(style, u"fsStrikeOut");
  }
  return f;
}

// Delphi-style radio group layout: buttons fill columns top to bottom, the rows share the
// height below the caption line.
struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Box&) const = default;
};
std::vector<Box> RadioButtonBoxes(int count, int columns, int width, int height, int textHeight);

}  // namespace kq::forms
