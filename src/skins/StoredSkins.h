// The internal skin catalogue: the skin manager's InternalSkins as the main window's layout
// stores them, one item per skin with its package.
#pragma once

#include "common/Bytes.h"
#include "resources/FormStream.h"
#include "resources/FormValues.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

struct TsStoredSkin {
  std::u16string Name;
  Bytes MasterBitmap;  // the stored bitmap data; empty in every item of this launcher
  forms::FormColor Shadow1Color;
  std::int32_t Shadow1Offset = 0;
  std::int32_t Shadow1Blur = -1;
  std::int32_t Shadow1Transparency = 0;
  forms::FormColor BorderColor{0xFF00FF};
  double Version = 0;
  std::u16string Author;
  std::u16string Description;
  // The skin package, the item's own copy of the stored Data, byte for byte.
  Bytes PackedData;
};

class TsStoredSkins {
 public:
  TsStoredSkins() = default;
  explicit TsStoredSkins(std::vector<TsStoredSkin> items) : items_(std::move(items)) {}
  std::size_t Count() const { return items_.size(); }
  const TsStoredSkin& operator[](std::size_t i) const { return items_[i]; }
  const std::vector<TsStoredSkin>& Items() const { return items_; }
  void Add(TsStoredSkin skin) { items_.push_back(std::move(skin)); }

  // The first item whose Name equals the name exactly (letter case counts), or -1.
  int IndexOf(std::u16string_view skinName) const;

 private:
  std::vector<TsStoredSkin> items_;
};

inline constexpr std::u16string_view kInternalSkinsProperty = u"InternalSkins";

// The catalogue from the stored InternalSkins value; none (nullptr) gives an empty one.
// Property names match without regard to letter case, as the framework matches them. A
// value that is not a collection, an item property of the wrong kind, or one that
// TsStoredSkin does not have throws kq::Error, as the framework's reader refuses them.
TsStoredSkins ReadStoredSkins(const forms::FormValue* internalSkins);
// The same from a value given up for it: the packages are moved, not copied.
TsStoredSkins ReadStoredSkins(forms::FormValue&& internalSkins);

// The catalogue of a stored skin manager: a forms::Component (a read form stream) or a
// forms::StoredComponent (what the form loader made).
template <class Manager>
TsStoredSkins StoredSkinsOf(const Manager& manager) {
  return ReadStoredSkins(manager.Find(kInternalSkinsProperty));
}

}  // namespace kq
