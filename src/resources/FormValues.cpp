#include "resources/FormValues.h"

#include <algorithm>
#include <array>

namespace kq::forms {
namespace {

struct NamedColor {
  std::u16string_view name;
  FormColor color;
};

// System colours carry their COLOR_* index.
constexpr std::array<NamedColor, 28> kColors{{
    {u"clBlack", {0x000000}},      {u"clMaroon", {0x000080}},  {u"clGreen", {0x008000}},
    {u"clOlive", {0x008080}},      {u"clNavy", {0x800000}},    {u"clPurple", {0x800080}},
    {u"clTeal", {0x808000}},       {u"clGray", {0x808080}},    {u"clSilver", {0xC0C0C0}},
    {u"clRed", {0x0000FF}},        {u"clLime", {0x00FF00}},    {u"clYellow", {0x00FFFF}},
    {u"clBlue", {0xFF0000}},       {u"clFuchsia", {0xFF00FF}}, {u"clAqua", {0xFFFF00}},
    {u"clWhite", {0xFFFFFF}},      {u"clScrollBar", {0, 0}},   {u"clBackground", {0, 1}},
    {u"clWindow", {0, 5}},         {u"clWindowFrame", {0, 6}}, {u"clMenuText", {0, 7}},
    {u"clWindowText", {0, 8}},     {u"clCaptionText", {0, 9}}, {u"clHighlight", {0, 13}},
    {u"clHighlightText", {0, 14}}, {u"clBtnFace", {0, 15}},    {u"clGrayText", {0, 17}},
    {u"clBtnText", {0, 18}},
}};

}  // namespace

std::optional<std::int64_t> IntegerOf(const FormValue* v) {
  if (!v || !v->IsInteger()) return std::nullopt;
  return v->integer;
}

std::optional<std::u16string> TextOf(const FormValue* v) {
  if (!v || !(v->IsText() || v->type == ValueType::Ident)) return std::nullopt;
  return v->text;
}

std::optional<bool> BoolOf(const FormValue* v) {
  if (!v || !v->IsBoolean()) return std::nullopt;
  return v->type == ValueType::True;
}

bool SetHas(const FormValue* v, std::u16string_view element) {
  if (!v || v->type != ValueType::Set) return false;
  return std::any_of(v->set.begin(), v->set.end(),
                     [&](const std::u16string& e) { return SameName(e, element); });
}

std::vector<std::u16string> StringsOf(const FormValue* v) {
  std::vector<std::u16string> out;
  if (!v || v->type != ValueType::List) return out;
  for (const FormValue& item : v->list) {
    if (item.IsText()) out.push_back(item.text);
  }
  return out;
}

std::optional<FormColor> ColorOf(const FormValue* v) {
  if (!v) return std::nullopt;
  if (v->type == ValueType::Ident) {
    for (const NamedColor& c : kColors) {
      if (SameName(c.name, v->text)) return c.color;
    }
    return std::nullopt;
  }
  if (!v->IsInteger()) return std::nullopt;
  const auto bits = static_cast<std::uint32_t>(v->integer);
  if ((bits & 0xFF000000u) == 0xFF000000u) return FormColor{0, static_cast<int>(bits & 0xFF)};
  return FormColor{bits & 0xFFFFFFu};
}

std::vector<Box> RadioButtonBoxes(int count, int columns, int width, int height, int textHeight) {
  std::vector<Box> boxes;
  if (count <= 0) return boxes;
  columns = std::max(columns, 1);
  const int perColumn = (count + columns - 1) / columns;
  const int buttonWidth = (width - 10) / columns;
  const int space = height - textHeight - 5;
  const int buttonHeight = space / perColumn;
  const int topMargin = textHeight + 1 + (space % perColumn) / 2;
  for (int i = 0; i < count; ++i) {
    boxes.push_back({8 + buttonWidth * (i / perColumn), topMargin + (i % perColumn) * buttonHeight,
                     buttonWidth, buttonHeight});
  }
  return boxes;
}

}  // namespace kq::forms
