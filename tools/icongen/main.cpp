// icongen: writes the launcher's icon. Usage: icongen OUT.ico [PREVIEW.png]
// The preview is the 256-pixel image on its own, to look at.
#include "IconGen.h"
#include "PngWriter.h"

#include <cstdio>

int main(int argc, char** argv) {
  using namespace kq::icongen;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: icongen OUT.ico [PREVIEW.png]\n");
    return 2;
  }
  std::vector<Image> images;
  for (int size : kIconSizes) images.push_back(DrawIcon(size));
  const auto ico = BuildIco(images);
  if (!ico || !kq::png::WriteFile(argv[1], *ico)) {
    std::fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
    return 1;
  }
  if (argc == 3) {
    const auto png = EncodePng(images.back());
    if (!png || !kq::png::WriteFile(argv[2], *png)) {
      std::fprintf(stderr, "icongen: cannot write %s\n", argv[2]);
      return 1;
    }
  }
  return 0;
}
