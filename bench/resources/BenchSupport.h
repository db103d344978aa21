// What the portable benchmarks share: their statistics, and where the build put the inputs
// they read (the compiled layouts and the internal skin packages of this build tree).
#pragma once

#include "common/Bytes.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace kq::bench {

// Minimum and maximum over the repetitions beside Google Benchmark's mean, median and
// standard deviation: the ratio table shows the spread. For ->Apply(WithSpread).
inline void WithSpread(benchmark::internal::Benchmark* b) {
  b->ComputeStatistics("min",
                          [](const std::vector<double>& v) {
                            return *std::min_element(v.begin(), v.end());
                          })
      ->ComputeStatistics("max", [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end());
      });
}

// A whole file; empty when it cannot be read.
inline Bytes FileBytes(const std::filesystem::path& file) {
  std::ifstream f(file, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline std::filesystem::path FormsDir() {
  return KQ_FORMS_DIR;
}
inline std::filesystem::path SkinPackagesDir() {
  return KQ_SKIN_PACKAGES_DIR;
}

}  // namespace kq::bench
