// Reading the internal skin packages this build made (every "ASzf" package skingen wrote
// beside the main window's layout) as the skin manager reads a catalogue item, against
// plain zlib inflating the same entries.
#include "BenchSupport.h"
#include "common/CodePage.h"
#include "skins/SkinPackage.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kq::bench {
namespace {

const std::vector<Bytes>& Packages() {
  static const std::vector<Bytes> packages = [] {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(SkinPackagesDir(), ec))
      if (entry.path().extension() == ".asz") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<Bytes> all;
    for (const auto& file : files) all.push_back(FileBytes(file));
    return all;
  }();
  return packages;
}

// The launcher's path: the catalogue item's bytes lent to a converter, every entry
// inflated into its own buffer. Returns the inflated bytes kept.
std::size_t ReadPackage(ByteView package, const AnsiCodec& codec) {
  auto conv = std::make_unique<TacSkinConvertor>();
  conv->PackedData = PackedBytes::Lent(package);
  ExtractPackedData(conv, codec);
  std::size_t kept = conv->Options ? conv->Options->size() : 0;
  for (const TacImageItem& image : conv->Files) kept += image.FileStream.size();
  benchmark::DoNotOptimize(conv->Files.data());
  return kept;
}

std::uint32_t Int32At(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);  // little-endian, as the package and this machine are
  return v;
}

// The least any reader must do: walk the entry headers and inflate each entry with zlib
// into one buffer of its size, the buffer it would hand on (not zero-filled). No checks
// beyond zlib's own. Returns the inflated bytes, 0 for a package zlib refuses.
std::size_t InflateEntries(ByteView package) {
  const std::uint8_t* p = package.data();
  const std::uint8_t* const end = package.data() + package.size();
  const auto has = [&](std::size_t n) { return static_cast<std::size_t>(end - p) >= n; };
  if (!has(8)) return 0;
  const std::uint32_t count = Int32At(p + 4);  // behind the magic
  p += 8;
  std::size_t total = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!has(4) || !has(std::size_t{8} + Int32At(p))) return 0;
    p += 4 + Int32At(p);  // the name
    const std::uint32_t size = Int32At(p);
    p += 4;
    std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[size]);
    z_stream z{};
    inflateInit(&z);
    z.next_in = const_cast<Bytef*>(p);
    z.avail_in = static_cast<uInt>(end - p);
    z.next_out = out.get();
    z.avail_out = size;
    const int rc = inflate(&z, Z_FINISH);
    p += z.total_in;
    total += z.total_out;
    inflateEnd(&z);
    benchmark::DoNotOptimize(out.get());
    if (rc != Z_STREAM_END) return 0;
  }
  return total;
}

// Both paths must see the same packages and inflate the same bytes, or the ratio compares
// different work.
bool SameWork(benchmark::State& state) {
  const std::vector<Bytes>& packages = Packages();
  if (packages.empty()) {
    state.SkipWithError("no skin packages in the build tree (build the main window's layout)");
    return false;
  }
  const Cp1251Codec codec;
  for (const Bytes& package : packages) {
    const std::size_t plain = InflateEntries(package);
    if (plain == 0 || plain != ReadPackage(package, codec)) {
      state.SkipWithError("the reader and plain zlib inflate different bytes");
      return false;
    }
  }
  return true;
}

void SetCounters(benchmark::State& state) {
  std::size_t packed = 0;
  for (const Bytes& package : Packages()) packed += package.size();
  state.counters["packages"] = static_cast<double>(Packages().size());
  state.counters["packed_KB"] = static_cast<double>(packed) / 1024;
  state.counters["per_package"] = benchmark::Counter(
      static_cast<double>(Packages().size()),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SkinPackagesRead(benchmark::State& state) {
  if (!SameWork(state)) return;
  const Cp1251Codec codec;
  for (auto _ : state)
    for (const Bytes& package : Packages()) benchmark::DoNotOptimize(ReadPackage(package, codec));
  SetCounters(state);
}
BENCHMARK(BM_SkinPackagesRead)->Unit(benchmark::kMillisecond)->Apply(WithSpread);

void BM_SkinPackagesPlainInflate(benchmark::State& state) {
  if (!SameWork(state)) return;
  for (auto _ : state)
    for (const Bytes& package : Packages()) benchmark::DoNotOptimize(InflateEntries(package));
  SetCounters(state);
}
BENCHMARK(BM_SkinPackagesPlainInflate)->Unit(benchmark::kMillisecond)->Apply(WithSpread);

}  // namespace
}  // namespace kq::bench
