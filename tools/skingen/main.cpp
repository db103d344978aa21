// skingen: makes the internal skins from the skin catalogue source.
//
//   skingen CATALOGUE -o FOLDER
//   skingen example FOLDER
//
// The first writes one package "<name>.asz" per catalogue line and then InternalSkins.inc,
// the fragment the main window's layout includes; the second writes the skin authors'
// example skin as a folder (a commented Options.dat and its images). Errors go to stderr as
// "file:line: message"; the exit code is 1 and the fragment is left as it was.
#include "SkinGenerator.h"

#include "common/Error.h"
#include "common/Utf8.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
  const bool example = argc == 3 && std::string_view(argv[1]) == "example";
  std::filesystem::path catalogue, out;
  for (int i = 1; i < argc && !example; ++i) {
    const std::string a = argv[i];
    if (a == "-o" && i + 1 < argc) {
      out = argv[++i];
    } else if (!a.empty() && a[0] != '-' && catalogue.empty()) {
      catalogue = a;
    } else {
      catalogue.clear();
      break;
    }
  }
  if (!example && (catalogue.empty() || out.empty())) {
    std::cerr << "usage: skingen CATALOGUE -o FOLDER\n       skingen example FOLDER\n";
    return 2;
  }
  try {
    if (example) {
      kq::skingen::WriteExampleSkin(argv[2]);
    } else {
      kq::skingen::GenerateCatalogue(catalogue, out);
    }
    return 0;
  } catch (const kq::Error& e) {
    std::cerr << "skingen: " << kq::Utf16ToUtf8String(e.Message()) << "\n";
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
  }
  return 1;
}
