#include "SkinCheck.h"

#include "SkinPacker.h"
#include "TestText.h"
#include "common/Error.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include <unistd.h>

namespace kq::skinpack {
namespace {

using kq::test::B;

namespace fs = std::filesystem;

const Cp1251Codec kCodec;

Bytes Png(int width, int height) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(width);
  png.height = static_cast<png_uint_32>(height);
  png.format = PNG_FORMAT_RGBA;
  const std::vector<png_byte> pixels(static_cast<std::size_t>(width) * height * 4, 0x80);
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&png, nullptr, &size, 0, pixels.data(), 0, nullptr));
  Bytes out(size);
  EXPECT_TRUE(png_image_write_to_memory(&png, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 24-bit bitmap whose headers say width x height, with `pixelBytes` bytes of pixels.
Bytes Bmp(std::int32_t width, std::int32_t height, std::size_t pixelBytes) {
  Bytes b(54 + pixelBytes);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(width));
  Put32(b, 22, static_cast<std::uint32_t>(height));
  b[26] = 1;   // planes
  b[28] = 24;  // bits per pixel
  return b;
}

constexpr std::size_t kRow4x24 = 12;  // 4 pixels of 3 bytes, already a multiple of 4

class SkinCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("kq-skincheck-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  // A skin folder of the files given (name: bytes).
  fs::path Folder(const std::string& name, const std::map<std::string, Bytes>& files) {
    const fs::path dir = root_ / name;
    fs::create_directories(dir);
    for (const auto& [file, bytes] : files) WriteBytes(dir / file, bytes);
    return dir;
  }

  fs::path root_;
};

// A sound skin: a PNG face of two frames, a BMP caption, and a key of a later format.
std::map<std::string, Bytes> GoodSkin() {
  return {{"Options.dat", B("[BUTTON]\r\n"
                            "IMAGE=Button.png\r\n"
                            "STATES=NORMAL,HOT\r\n"
                            "MARGINS=3,3,3,3\r\n"
                            "GLOW=1\r\n"
                            "[CAPTION]\r\n"
                            "IMAGE=caption.BMP\r\n")},
          {"Button.png", Png(20, 10)},
          {"Caption.bmp", Bmp(4, 24, kRow4x24 * 24)}};
}

TEST_F(SkinCheck, FaultsOfTheOptionFileAndTheImagesByLine) {
  const auto with = [](std::function<void(std::map<std::string, Bytes>&)> change) {
    std::map<std::string, Bytes> files = GoodSkin();
    change(files);
    return files;
  };
  const auto options = [&](std::string text) {
    return with([text](auto& f) { f["Options.dat"] = B(text); });
  };
  Bytes cutPng = Png(20, 10);
  cutPng.resize(cutPng.size() - 20);
  Bytes badDepth = Bmp(4, 24, kRow4x24 * 24);
  badDepth[28] = 7;

  const struct {
    const char* what;
    std::map<std::string, Bytes> files;
    std::string report;
  } cases[] = {
      {"a sound skin: only the warning", GoodSkin(),
       "Options.dat:5: warning: [BUTTON] GLOW is not a key of [BUTTON]; it is ignored\n"},
      {"a bad colour on a known line", options("[FORM]\r\n; the window\r\nCOLOR=#12345\r\n"),
       "Options.dat:3: [FORM] COLOR: \"#12345\" is not a colour: #RRGGBB, or a decimal number "
       "from 0 to 16777215\n"},
      {"a missing image", options("[FORM]\r\nCOLOR=0\r\n[EDIT]\r\nIMAGE=Face.png\r\n"),
       "Options.dat:4: Face.png is not in the skin\n"},
      {"a PNG too large", with([](auto& f) { f["Button.png"] = Png(2050, 1); }),
       "Options.dat:2: Button.png is 2050 x 1 pixels; an image may have at most 2048 x 2048 and "
       "4194304 pixels\n"
       "Options.dat:5: warning: [BUTTON] GLOW is not a key of [BUTTON]; it is ignored\n"},
      {"a bitmap too large, measured and not read",
       with([](auto& f) { f["Caption.bmp"] = Bmp(3000, -3000, 16); }),
       "Options.dat:5: warning: [BUTTON] GLOW is not a key of [BUTTON]; it is ignored\n"
       "Options.dat:7: caption.BMP is 3000 x 3000 pixels; an image may have at most 2048 x 2048 "
       "and 4194304 pixels\n"},
      {"not a PNG, named .png", with([](auto& f) { f["Button.png"] = B("GIF89a, not a PNG"); }),
       "Options.dat:2: Button.png is neither a PNG nor a BMP image\n"
       "Options.dat:5: warning: [BUTTON] GLOW is not a key of [BUTTON]; it is ignored\n"},
      {"a PNG cut short", with([&](auto& f) { f["Button.png"] = cutPng; }),
       "Options.dat:2: Button.png cannot be decoded: "},
      {"a bitmap cut short", with([](auto& f) { f["Caption.bmp"] = Bmp(4, 24, kRow4x24 * 23); }),
       "Options.dat:5: warning: [BUTTON] GLOW is not a key of [BUTTON]; it is ignored\n"
       "Options.dat:7: caption.BMP is cut short: its pixels need 288 bytes from offset 54, the "
       "file has 330\n"},
      {"a bitmap of an odd depth", with([&](auto& f) { f["Caption.bmp"] = badDepth; }),
       "Options.dat:5: warning: [BUTTON] GLOW is not a key of [BUTTON]; it is ignored\n"
       "Options.dat:7: caption.BMP has 7 bits per pixel\n"},
      {"frames that do not divide the image", with([](auto& f) { f["Button.png"] = Png(21, 10); }),
       "Options.dat:2: Button.png is 21 pixels wide, which is not 2 frames of equal width\n"
       "Options.dat:5: warning: [BUTTON] GLOW is not a key of [BUTTON]; it is ignored\n"},
      {"an option file over 64 KiB", options("[FORM]\r\n;" + std::string(64 * 1024, 'x') + "\r\n"),
       "Options.dat: the option file is larger than 64 KiB\n"},
  };
  for (const auto& c : cases) {
    const fs::path dir = Folder("skin", c.files);
    const std::string report = CheckSkinPath(dir, kCodec).Report();
    EXPECT_EQ(report.substr(0, c.report.size()), c.report) << c.what;
    if (c.report.ends_with('\n')) {
      EXPECT_EQ(report, c.report) << c.what;
    }

    // A package made of the same files says the same.
    std::vector<PackEntry> entries = ReadSkinFolder(dir, kCodec);
    WriteBytes(root_ / "skin.asz", BuildPackage(entries));
    EXPECT_EQ(CheckSkinPath(root_ / "skin.asz", kCodec).Report(), report) << c.what;
    fs::remove_all(dir);
  }
}

TEST_F(SkinCheck, ErrorsAndWarningsApart) {
  const CheckResult good = CheckSkinPath(Folder("good", GoodSkin()), kCodec);
  EXPECT_TRUE(good.errors.empty());
  EXPECT_EQ(good.warnings.size(), 1u);
  std::map<std::string, Bytes> files = GoodSkin();
  files.erase("Button.png");
  const CheckResult bad = CheckSkinPath(Folder("bad", files), kCodec);
  ASSERT_EQ(bad.errors.size(), 1u);
  EXPECT_EQ(bad.errors[0], (paint::Diagnostic{2, u"Button.png is not in the skin"}));
  EXPECT_THROW(CheckSkinPath(root_ / "absent", kCodec), Error);
  EXPECT_THROW(CheckSkinPath(Folder("empty", {{"Button.png", Png(2, 2)}}), kCodec), Error);
}

// The program: check's exit code and report, and pack refusing a faulty folder.
TEST_F(SkinCheck, TheToolChecksAndRefusesToPackAFaultyFolder) {
  const fs::path good = Folder("good", GoodSkin());
  std::map<std::string, Bytes> files = GoodSkin();
  files["Options.dat"] = B("[FORM]\r\nCOLOR=red\r\n");
  const fs::path bad = Folder("bad", files);
  const auto run = [&](const std::string& args) {
    const fs::path err = root_ / "stderr.txt";
    const int status =
        std::system(("'" KQ_SKINPACK "' " + args + " 2>'" + err.string() + "'").c_str());
    std::ifstream f(err);
    const std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    return std::pair{WEXITSTATUS(status), text};
  };
  const std::string q = "'";
  EXPECT_EQ(run("check " + q + good.string() + q),
            std::pair(0, std::string("Options.dat:5: warning: [BUTTON] GLOW is not a key of "
                                     "[BUTTON]; it is ignored\n")));
  EXPECT_EQ(run("check " + q + bad.string() + q),
            std::pair(1, std::string("Options.dat:2: [FORM] COLOR: \"red\" is not a colour: "
                                     "#RRGGBB, or a decimal number from 0 to 16777215\n")));

  const fs::path refused = root_ / "bad.asz";
  const auto [code, text] = run("pack " + q + bad.string() + q + " " + q + refused.string() + q);
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(text.ends_with("has faults; no package written\n")) << text;
  EXPECT_FALSE(fs::exists(refused));

  const fs::path packed = root_ / "good.asz";
  EXPECT_EQ(run("pack " + q + good.string() + q + " " + q + packed.string() + q).first, 0);
  EXPECT_EQ(run("check " + q + packed.string() + q).first, 0);
}

}  // namespace
}  // namespace kq::skinpack
