// skinpack: checks a skin, builds a package from a skin folder, lists a package, or unpacks
// one.
#include "SkinCheck.h"
#include "SkinPacker.h"

#include "common/CodePage.h"
#include "common/Error.h"
#include "common/Utf8.h"
#include "skins/SkinPackage.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;
using namespace kq;

constexpr const char* kUsage =
    "usage: skinpack check FOLDER|PACKAGE.asz  check a skin as the launcher loads it\n"
    "       skinpack pack FOLDER PACKAGE.asz   check, then build a package from Options.dat and\n"
    "                                          images\n"
    "       skinpack list PACKAGE.asz          list the entries of a package\n"
    "       skinpack unpack PACKAGE.asz FOLDER write the entries into a folder\n"
    "Names are stored in code page 1251.\n";

std::unique_ptr<TacSkinConvertor> Load(const fs::path& package, const AnsiCodec& codec) {
  std::unique_ptr<TacSkinConvertor> skin;
  if (!LoadPackedSkinFile(package, skin, true, codec)) {
    throw Error(u"No such file: " + package.u16string());
  }
  return skin;
}

int Run(int argc, char** argv) {
  const Cp1251Codec codec;
  const std::string verb = argc > 1 ? argv[1] : "";
  if (verb == "check" && argc == 3) {
    const skinpack::CheckResult result = skinpack::CheckSkinPath(argv[2], codec);
    std::fputs(result.Report().c_str(), stderr);
    return result.errors.empty() ? 0 : 1;
  }
  if (verb == "pack" && argc == 4) {
    const skinpack::CheckResult result = skinpack::CheckSkinPath(argv[2], codec);
    std::fputs(result.Report().c_str(), stderr);
    if (!result.errors.empty()) {
      std::fprintf(stderr, "skinpack: %s has faults; no package written\n", argv[2]);
      return 1;
    }
    skinpack::WriteBytes(argv[3], skinpack::BuildPackage(skinpack::ReadSkinFolder(argv[2], codec)));
    return 0;
  }
  if (verb == "list" && argc == 3) {
    const auto skin = Load(argv[2], codec);
    if (skin->Options) std::printf("%10zu  %s\n", skin->Options->size(), "Options.dat");
    for (const TacImageItem& item : skin->Files) {
      std::printf("%10zu  %s%s\n", item.FileStream.size(), Utf16ToUtf8String(item.FileName).c_str(),
                  item.IsBitmap ? "  (bitmap)" : "");
    }
    std::printf("%d images\n", skin->ImageCount);
    return 0;
  }
  if (verb == "unpack" && argc == 4) {
    skinpack::WriteSkinFolder(*Load(argv[2], codec), argv[3]);
    return 0;
  }
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const Error& e) {
    std::fprintf(stderr, "skinpack: %s\n", Utf16ToUtf8String(e.Message()).c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
}
