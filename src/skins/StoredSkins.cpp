#include "skins/StoredSkins.h"

#include "common/Error.h"

#include <array>
#include <limits>
#include <optional>

namespace kq {

namespace {

using forms::FormValue;
using forms::ValueType;

[[noreturn]] void InvalidValue(std::u16string_view property) {
  throw Error(u"Invalid property value: " + std::u16string(property));
}

std::int32_t Int32Of(const FormValue& v, std::u16string_view property) {
  const std::optional<std::int64_t> i = forms::IntegerOf(&v);
  if (!i || *i < std::numeric_limits<std::int32_t>::min() ||
      *i > std::numeric_limits<std::int32_t>::max()) {
    InvalidValue(property);
  }
  return static_cast<std::int32_t>(*i);
}

std::u16string TextOf(const FormValue& v, std::u16string_view property) {
  if (!v.IsText()) InvalidValue(property);
  return v.text;
}

forms::FormColor ColorOf(const FormValue& v, std::u16string_view property) {
  const std::optional<forms::FormColor> c = forms::ColorOf(&v);
  if (!c) InvalidValue(property);
  return *c;
}

// The bytes are moved: the catalogue's packages are never held twice.
Bytes BinaryOf(FormValue& v, std::u16string_view property) {
  if (v.type != ValueType::Binary) InvalidValue(property);
  return std::move(v.binary);
}

// A floating-point property takes any real kind, and integers as well.
double RealOf(const FormValue& v, std::u16string_view property) {
  switch (v.type) {
    case ValueType::Extended:
    case ValueType::Double:
    case ValueType::Single:
      return v.real;
    default:
      if (v.IsInteger()) return static_cast<double>(v.integer);
      InvalidValue(property);
  }
}

// What an item may store, by name: the published properties and the package, which the
// item streams under the name Data.
struct ItemProperty {
  std::u16string_view name;
  void (*read)(TsStoredSkin& skin, FormValue& v, std::u16string_view name);
};
constexpr std::array<ItemProperty, 11> kItemProperties{{
    {u"Name", [](TsStoredSkin& s, FormValue& v, auto n) { s.Name = TextOf(v, n); }},
    {u"MasterBitmap.Data",
     [](TsStoredSkin& s, FormValue& v, auto n) { s.MasterBitmap = BinaryOf(v, n); }},
    {u"Shadow1Color",
     [](TsStoredSkin& s, FormValue& v, auto n) { s.Shadow1Color = ColorOf(v, n); }},
    {u"Shadow1Offset",
     [](TsStoredSkin& s, FormValue& v, auto n) { s.Shadow1Offset = Int32Of(v, n); }},
    {u"Shadow1Blur", [](TsStoredSkin& s, FormValue& v, auto n) { s.Shadow1Blur = Int32Of(v, n); }},
    {u"Shadow1Transparency",
     [](TsStoredSkin& s, FormValue& v, auto n) { s.Shadow1Transparency = Int32Of(v, n); }},
    {u"BorderColor", [](TsStoredSkin& s, FormValue& v, auto n) { s.BorderColor = ColorOf(v, n); }},
    {u"Version", [](TsStoredSkin& s, FormValue& v, auto n) { s.Version = RealOf(v, n); }},
    {u"Author", [](TsStoredSkin& s, FormValue& v, auto n) { s.Author = TextOf(v, n); }},
    {u"Description", [](TsStoredSkin& s, FormValue& v, auto n) { s.Description = TextOf(v, n); }},
    {u"Data", [](TsStoredSkin& s, FormValue& v, auto n) { s.PackedData = BinaryOf(v, n); }},
}};

}  // namespace

int TsStoredSkins::IndexOf(std::u16string_view skinName) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].Name == skinName) return static_cast<int>(i);
  }
  return -1;
}

TsStoredSkins ReadStoredSkins(const FormValue* internalSkins) {
  if (!internalSkins) return {};
  return ReadStoredSkins(FormValue(*internalSkins));
}

TsStoredSkins ReadStoredSkins(FormValue&& internalSkins) {
  TsStoredSkins skins;
  if (internalSkins.type != ValueType::Collection) InvalidValue(kInternalSkinsProperty);
  for (forms::CollectionItem& item : internalSkins.items) {
    TsStoredSkin skin;
    for (forms::FormProperty& p : item.properties) {
      const ItemProperty* known = nullptr;
      for (const ItemProperty& k : kItemProperties) {
        if (forms::SameName(k.name, p.name)) known = &k;
      }
      if (!known) throw Error(u"Property " + p.name + u" does not exist");
      known->read(skin, p.value, known->name);
    }
    skins.Add(std::move(skin));
  }
  return skins;
}

}  // namespace kq
