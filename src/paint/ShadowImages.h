// The window shadows' two images ("acSHDA" for the active window, "acSHDI" for the inactive
// one), PNG resources of the program decoded once at start-up. A kind whose image is
// missing, cannot be decoded or is not of its slicing's size has no shadow; nothing here
// fails the start.
#pragma once

#include "common/Bytes.h"
#include "paint/ShadowGeometry.h"
#include "paint/SkinImages.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace kq::paint {

inline constexpr std::u16string_view kActiveShadowResource = u"acSHDA";
inline constexpr std::u16string_view kInactiveShadowResource = u"acSHDI";

class ShadowImages {
 public:
  // A PNG resource's bytes by name; none when there is no such resource.
  using Source = std::function<std::optional<ByteView>(std::u16string_view name)>;

  static std::shared_ptr<const ShadowImages> Load(const Source& source);

  // Null when that kind has no shadow.
  const SkinBitmap* Of(ShadowKind kind) const;
  bool Any() const { return active_ || inactive_; }

 private:
  std::optional<SkinBitmap> active_;
  std::optional<SkinBitmap> inactive_;
};

// The resources of type PNG of a module (null: the program's own).
ShadowImages::Source ModulePngResources(HMODULE module = nullptr);

}  // namespace kq::paint
