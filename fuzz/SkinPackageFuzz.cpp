// libFuzzer target for the skin package reader: any bytes must either read or fail with
// kq::Error, within the bounds, and read the same whatever the read-ahead.
#include "common/CodePage.h"
#include "common/Error.h"
#include "skins/SkinPackage.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct Outcome {
  std::u16string error;
  std::int32_t imageCount = 0;
  std::size_t files = 0;
  std::size_t bytes = 0;  // all unpacked bytes
  bool hasOptions = false;
  bool destroyed = false;
  bool operator==(const Outcome&) const = default;
};

Outcome Read(kq::ByteView package, std::size_t readAhead) {
  static const kq::Cp1251Codec codec;
  auto conv = std::make_unique<kq::TacSkinConvertor>();
  conv->PackedData = kq::PackedBytes::Lent(package);
  Outcome out;
  try {
    kq::ExtractPackedData(conv, codec, {.readAhead = readAhead});
  } catch (const kq::Error& e) {
    out.error = e.Message();
  }
  out.destroyed = !conv;
  if (conv) {
    out.imageCount = conv->ImageCount;
    out.files = conv->Files.size();
    out.hasOptions = conv->Options.has_value();
    if (conv->Options) out.bytes += conv->Options->size();
    for (const auto& f : conv->Files) out.bytes += f.FileStream.size();
    if (conv->Images().size() > conv->Files.size()) std::abort();
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kq::ByteView package(data, size);
  // The product's read-ahead, and one that puts refills everywhere.
  if (!(Read(package, kq::PackageReadOptions{}.readAhead) == Read(package, 7))) std::abort();
  return 0;
}
