#include "common/CommandLine.h"

namespace kq {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::size_t i = 0;
  // The program's name: no escapes, quotes only around it.
  if (i < line.size() && line[i] == u'"') {
    const std::size_t close = line.find(u'"', 1);
    i = close == std::u16string_view::npos ? line.size() : close + 1;
  }
  while (i < line.size() && !IsBlank(line[i])) ++i;

  std::vector<std::u16string> arguments;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) return arguments;
    std::u16string arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      if (line[i] == u'\\') {
        std::size_t n = 0;
        while (i < line.size() && line[i] == u'\\') ++n, ++i;
        if (i < line.size() && line[i] == u'"') {
          arg.append(n / 2, u'\\');
          if (n % 2 == 1) {
            arg += u'"';
            ++i;
          }
        } else {
          arg.append(n, u'\\');
        }
      } else if (line[i] == u'"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          arg += u'"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += line[i++];
      }
    }
    arguments.push_back(std::move(arg));
  }
}

}  // namespace kq
