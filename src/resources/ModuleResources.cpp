#include "resources/ModuleResources.h"

namespace kq::win {

std::optional<ByteView> ModuleResources::FindRcData(std::u16string_view name) const {
  const std::wstring z = Wide(name);
  HRSRC found = ::FindResourceW(module_, z.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return std::nullopt;
  // A loaded module's resources stay mapped for the life of the module: no copy, nothing
  // to free.
  HGLOBAL loaded = ::LoadResource(module_, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) return std::nullopt;
  return ByteView(static_cast<const std::uint8_t*>(data), ::SizeofResource(module_, found));
}

}  // namespace kq::win
