// Reading a stored form from its compressed resource, against plain zlib inflation of the
// same bytes, and the reader's peak heap against the compressed and inflated sizes; for two
// forms: the main window as this build compiled it (TFRMMAIN with its internal skins, about
// 440 KB inflated), and a stress case about 11 times larger (74 skins of random bytes, about
// 5 MB inflated).
//
// Meaningful only without sanitizers: scripts/bench.sh builds and runs it that way.
#include "BenchSupport.h"
#include "FormWriter.h"
#include "common/InflateStream.h"
#include "resources/FormStream.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <new>
#include <random>

namespace {

// Heap use of this program through operator new (zlib's own 40 KB or so of state and
// window come from malloc and are not counted).
std::size_t g_live = 0;
std::size_t g_peak = 0;

}  // namespace

// Every allocation carries its size in front, for the delete that does not get it.
void* operator new(std::size_t n) {
  void* p = std::malloc(n + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = n;
  g_live += n;
  if (g_live > g_peak) g_peak = g_live;
  return static_cast<char*>(p) + 16;
}
// GCC takes the free below for one of memory from operator new; it is the malloc above.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
  if (!p) return;
  char* base = static_cast<char*>(p) - 16;
  g_live -= *reinterpret_cast<std::size_t*>(base);
  std::free(base);
}
#pragma GCC diagnostic pop
void operator delete(void* p, std::size_t) noexcept {
  operator delete(p);
}

namespace kq::forms {
namespace {

struct StoredForm {
  Bytes packed;
  std::size_t inflated = 0;
};

// A main window with 74 stored skins of about 66 KB each, as packed as skin packages are
// (they hold compressed images: zlib gains little on them).
StoredForm StressForm() {
  std::mt19937 rng(42);
  Component form;
  form.className = u"TfrmMain";
  form.name = u"frmMain";
  Component manager;
  manager.className = u"TsSkinManager";
  manager.name = u"sSkinManager1";
  FormValue skins;
  skins.type = ValueType::Collection;
  for (int i = 0; i < 74; ++i) {
    CollectionItem item;
    FormValue name;
    name.type = ValueType::String;
    name.text =
        u"Skin " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u" (internal)";
    item.properties.push_back({u"Name", name});
    FormValue data;
    data.type = ValueType::Binary;
    for (int block = 0; block < 66; ++block) {
      for (int b = 0; b < 950; ++b) data.binary.push_back(static_cast<std::uint8_t>(rng()));
      for (int b = 0; b < 74; ++b) data.binary.push_back(static_cast<std::uint8_t>(b));
    }
    item.properties.push_back({u"PackedData", data});
    skins.items.push_back(std::move(item));
  }
  manager.properties.push_back({u"InternalSkins", skins});
  form.children.push_back(std::move(manager));
  const Bytes stream = WriteFormStream(form);
  uLongf size = compressBound(static_cast<uLong>(stream.size()));
  Bytes out(size);
  compress2(out.data(), &size, stream.data(), static_cast<uLong>(stream.size()), 9);
  out.resize(size);
  return {std::move(out), stream.size()};
}

// The compiled layout, as the launcher carries it in its resources.
StoredForm MainForm() {
  StoredForm form{bench::FileBytes(bench::FormsDir() / "TFRMMAIN.formz")};
  if (form.packed.empty()) return form;
  BufferedInput in(form.packed);
  InflateStream z(in);
  std::uint8_t block[64 * 1024];
  while (const std::size_t n = z.Read(block, sizeof block)) form.inflated += n;
  return form;
}

enum class Form { Main, Stress };

const StoredForm& Stored(Form which) {
  static const StoredForm main = MainForm();
  static const StoredForm stress = StressForm();
  return which == Form::Main ? main : stress;
}

// The launcher's path: the resource read in place, the inflater, the form reader.
Component ReadStored(ByteView resource) {
  BufferedInput in(resource);
  InflateStream z(in);
  return ReadFormStream(z);
}

void BM_FormFromCompressedResource(benchmark::State& state, Form which) {
  const auto& [packed, inflated] = Stored(which);
  if (packed.empty()) return state.SkipWithError("no compiled TFRMMAIN in the build tree");
  for (auto _ : state) benchmark::DoNotOptimize(ReadStored(packed));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * inflated));

  // One more read, measured: the peak against what the finished tree keeps.
  const std::size_t before = g_live;
  g_peak = g_live;
  std::size_t kept = 0;
  std::size_t peak = 0;
  {
    const Component tree = ReadStored(packed);
    peak = g_peak - before;
    kept = g_live - before;
  }
  state.counters["compressed_KB"] = static_cast<double>(packed.size()) / 1024;
  state.counters["inflated_KB"] = static_cast<double>(inflated) / 1024;
  state.counters["peak_heap_KB"] = static_cast<double>(peak) / 1024;
  state.counters["tree_KB"] = static_cast<double>(kept) / 1024;
  state.counters["reading_overhead_KB"] = static_cast<double>(peak - kept) / 1024;
}
BENCHMARK_CAPTURE(BM_FormFromCompressedResource, TFRMMAIN, Form::Main)
    ->Unit(benchmark::kMillisecond)
    ->Apply(bench::WithSpread);
BENCHMARK_CAPTURE(BM_FormFromCompressedResource, stress, Form::Stress)
    ->Unit(benchmark::kMillisecond)
    ->Apply(bench::WithSpread);

// zlib alone, streaming the same bytes through a 64 KB buffer and dropping them.
void BM_PlainInflate(benchmark::State& state, Form which) {
  const auto& [packed, inflated] = Stored(which);
  if (packed.empty()) return state.SkipWithError("no compiled TFRMMAIN in the build tree");
  Bytes out(64 * 1024);
  for (auto _ : state) {
    z_stream z{};
    inflateInit(&z);
    z.next_in = const_cast<Bytef*>(packed.data());
    z.avail_in = static_cast<uInt>(packed.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      rc = inflate(&z, Z_NO_FLUSH);
      benchmark::DoNotOptimize(out.data());
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END) state.SkipWithError("inflate failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * inflated));
}
BENCHMARK_CAPTURE(BM_PlainInflate, TFRMMAIN, Form::Main)
    ->Unit(benchmark::kMillisecond)
    ->Apply(bench::WithSpread);
BENCHMARK_CAPTURE(BM_PlainInflate, stress, Form::Stress)
    ->Unit(benchmark::kMillisecond)
    ->Apply(bench::WithSpread);

// zlib in one call into a buffer of the whole inflated size.
void BM_PlainUncompressWhole(benchmark::State& state, Form which) {
  const auto& [packed, inflated] = Stored(which);
  Bytes out(inflated);
  for (auto _ : state) {
    uLongf size = static_cast<uLongf>(out.size());
    if (uncompress(out.data(), &size, packed.data(), static_cast<uLong>(packed.size())) != Z_OK) {
      state.SkipWithError("uncompress failed");
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * inflated));
}
BENCHMARK_CAPTURE(BM_PlainUncompressWhole, stress, Form::Stress)
    ->Unit(benchmark::kMillisecond)
    ->Apply(bench::WithSpread);

}  // namespace
}  // namespace kq::forms
