// The figures every measurement program prints the same way: per pair of measurements
// (the thing measured, then what it is compared with), the count, the median, minimum and
// maximum of each, and the ratio of the medians. Rows are Markdown table rows, so that
// scripts/bench.sh can gather the rows of all its programs into one table.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace kq::bench {

struct Spread {
  double median = 0;
  double min = 0;
  double max = 0;
};

// The median of an even count is the mean of the two middle values.
inline Spread SpreadOf(std::vector<double> values) {
  Spread s;
  if (values.empty()) return s;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  s.min = values.front();
  s.max = values.back();
  return s;
}

inline const char* RatioTableHeader() {
  return "| pair (measured / compared with) | N | median | min | max | ratio of medians |\n"
         "|---|---|---|---|---|---|\n";
}

// Three significant figures at least, without an exponent.
inline std::string Figure(double v) {
  char text[32];
  const int decimals = v >= 100 ? 0 : v >= 10 ? 1 : v >= 1 ? 2 : 3;
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

// One row; `unit` follows the figures ("ms", "MB"). N is the count of each side.
inline std::string RatioTableRow(const std::string& pair, std::size_t n, const Spread& measured,
                                 const Spread& compared, const std::string& unit) {
  const auto both = [&](double a, double b) { return Figure(a) + " / " + Figure(b) + " " + unit; };
  char ratio[32];
  std::snprintf(ratio, sizeof ratio, "%.2fx",
                compared.median > 0 ? measured.median / compared.median : 0.0);
  return "| " + pair + " | " + std::to_string(n) + " | " + both(measured.median, compared.median) +
         " | " + both(measured.min, compared.min) + " | " + both(measured.max, compared.max) +
         " | " + ratio + " |\n";
}

}  // namespace kq::bench
