// shadowgen: writes the window shadows' images. Usage: shadowgen ACTIVE.png INACTIVE.png
#include "PngWriter.h"
#include "ShadowArt.h"

#include <cstdio>

int main(int argc, char** argv) {
  using namespace kq;
  if (argc != 3) {
    std::fprintf(stderr, "usage: shadowgen ACTIVE.png INACTIVE.png\n");
    return 2;
  }
  const paint::ShadowKind kinds[] = {paint::ShadowKind::kActive, paint::ShadowKind::kInactive};
  for (int i = 0; i < 2; ++i) {
    const auto png = shadowgen::EncodePng(shadowgen::DrawShadow(kinds[i]));
    if (!png || !kq::png::WriteFile(argv[i + 1], *png)) {
      std::fprintf(stderr, "shadowgen: cannot write %s\n", argv[i + 1]);
      return 1;
    }
  }
  return 0;
}
