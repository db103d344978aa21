// libFuzzer target: a stored form resource as the launcher reads it. Plain streams go to
// the form reader directly, everything else through the inflater first. Any input must
// either read or fail with kq::Error, without crashing, leaking, reading out of bounds or
// allocating from a length the input does not back (scripts/fuzz.sh limits malloc), and
// the outcome must not depend on where the buffer refills fall.
#include "common/Error.h"
#include "common/InflateStream.h"
#include "resources/FormStream.h"

#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

struct Outcome {
  std::optional<kq::forms::Component> tree;
  std::u16string error;
};

Outcome Read(const std::uint8_t* data, std::size_t size, std::size_t block) {
  using namespace kq;
  MemoryInputStream source(ByteView(data, size));
  BufferedInput in(source, block);
  Outcome o;
  try {
    if (size >= 4 && std::memcmp(data, forms::kFormSignature.data(), 4) == 0) {
      o.tree = forms::ReadFormStream(in);
    } else {
      InflateStream z(in);
      o.tree = forms::ReadFormStream(z);
    }
  } catch (const Error& e) {
    o.error = e.Message();
  }
  return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A small block puts refills inside every kind of value; a large one hardly any.
  const Outcome small = Read(data, size, 13);
  const Outcome large = Read(data, size, 1 << 16);
  if (small.error != large.error || small.tree.has_value() != large.tree.has_value() ||
      (small.tree && !(*small.tree == *large.tree))) {
    std::abort();
  }
  return 0;
}
