#include "paint/ShadowImages.h"

#include "common/Error.h"
#include "win/Win.h"

namespace kq::paint {
namespace {

std::optional<SkinBitmap> Decode(const ShadowImages::Source& source, std::u16string_view name,
                                 ShadowKind kind) {
  const std::optional<ByteView> bytes = source(name);
  if (!bytes) return std::nullopt;
  try {
    SkinBitmap bitmap = DecodeImage(*bytes, std::u16string(name));
    // Cut by other numbers than it was drawn by, it would show seams: no shadow instead.
    const ShadowSlicing& slicing = SlicingOf(kind);
    if (bitmap.width != slicing.Width() || bitmap.height != slicing.Height()) return std::nullopt;
    return bitmap;
  } catch (const Error&) {
    return std::nullopt;
  }
}

}  // namespace

std::shared_ptr<const ShadowImages> ShadowImages::Load(const Source& source) {
  auto images = std::make_shared<ShadowImages>();
  images->active_ = Decode(source, kActiveShadowResource, ShadowKind::kActive);
  images->inactive_ = Decode(source, kInactiveShadowResource, ShadowKind::kInactive);
  return images;
}

const SkinBitmap* ShadowImages::Of(ShadowKind kind) const {
  const std::optional<SkinBitmap>& image = kind == ShadowKind::kActive ? active_ : inactive_;
  return image ? &*image : nullptr;
}

ShadowImages::Source ModulePngResources(HMODULE module) {
  if (!module) module = ::GetModuleHandleW(nullptr);
  return [module](std::u16string_view name) -> std::optional<ByteView> {
    HRSRC found = ::FindResourceW(module, win::W(std::u16string(name)), L"PNG");
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return std::nullopt;
    return ByteView(static_cast<const std::uint8_t*>(data), ::SizeofResource(module, found));
  };
}

}  // namespace kq::paint
