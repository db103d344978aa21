// The RCDATA resources of a loaded module, read in place.
#pragma once

#include "resources/FormLoader.h"
#include "win/Win.h"

namespace kq::win {

class ModuleResources final : public forms::ResourceModule {
 public:
  // A null module means the program's own.
  explicit ModuleResources(HMODULE module = nullptr)
      : module_(module ? module : ::GetModuleHandleW(nullptr)) {}
  // The system matches resource names without regard to case.
  std::optional<ByteView> FindRcData(std::u16string_view name) const override;

 private:
  HMODULE module_;
};

}  // namespace kq::win
