#include "SkinPacker.h"

#include "TestText.h"
#include "common/Error.h"
#include "skins/SkinPackage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include <unistd.h>

namespace kq::skinpack {
namespace {

using kq::test::B;

namespace fs = std::filesystem;

const Cp1251Codec kCodec;

class SkinPacker : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("kq-skinpack-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(root_ / "skin");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Put(const fs::path& name, std::string_view content) {
    WriteBytes(root_ / "skin" / name, AsBytes(content));
  }
  Bytes Get(const fs::path& path) {
    Bytes out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    for (int c; (c = std::fgetc(f)) != EOF;) out.push_back(static_cast<std::uint8_t>(c));
    std::fclose(f);
    return out;
  }
  fs::path root_;
};

TEST_F(SkinPacker, FolderToPackageAndBack) {
  Put("options.DAT", "[MAIN]\r\nVersion=9\r\n");
  Put("Master.bmp", "BM master");
  Put("Bkgnd.jpg", "jpeg");
  Put(fs::path(u"Кнопка.PNG"), "png");
  fs::create_directories(root_ / "skin" / "sub");  // folders are not entries

  const std::vector<PackEntry> entries = ReadSkinFolder(root_ / "skin", kCodec);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "Options.dat");  // first, under its own name
  EXPECT_EQ(entries[1].name, "Bkgnd.jpg");
  EXPECT_EQ(entries[2].name, "Master.bmp");
  EXPECT_EQ(entries[3].name, "\xCA\xED\xEE\xEF\xEA\xE0.PNG");

  const Bytes package = BuildPackage(entries);
  EXPECT_TRUE(std::equal(kSkinPackageMagic.begin(), kSkinPackageMagic.end(), package.begin()));
  // Every stream carries the header 78 9C: the first one starts behind magic, count, name
  // length, "Options.dat" and its size.
  EXPECT_EQ(package[4 + 4 + 4 + 11 + 4], 0x78);
  EXPECT_EQ(package[4 + 4 + 4 + 11 + 4 + 1], 0x9C);
  for (const PackEntry& e : entries) {
    const Bytes stream = CompressEntry(e.data);
    EXPECT_EQ(stream[0], 0x78);
    EXPECT_EQ(stream[1], 0x9C);
  }

  auto skin = std::make_unique<TacSkinConvertor>();
  skin->PackedData = PackedBytes::Lent(package);
  ExtractPackedData(skin, kCodec);
  ASSERT_TRUE(skin->Options);
  EXPECT_EQ(*skin->Options, B("[MAIN]\r\nVersion=9\r\n"));
  ASSERT_EQ(skin->Files.size(), 3u);
  EXPECT_EQ(skin->Files[2].FileName, u"Кнопка.PNG");

  WriteSkinFolder(*skin, root_ / "out");
  EXPECT_EQ(Get(root_ / "out" / "Options.dat"), B("[MAIN]\r\nVersion=9\r\n"));
  EXPECT_EQ(Get(root_ / "out" / "Master.bmp"), B("BM master"));
  EXPECT_EQ(Get(root_ / "out" / fs::path(u"Кнопка.PNG")), B("png"));
}

TEST_F(SkinPacker, FoldersThatMakeNoPackage) {
  const struct {
    const char* what;
    std::vector<std::pair<fs::path, std::string_view>> files;
  } cases[] = {
      {"no option file", {{"Master.bmp", "BM"}}},
      {"two option files", {{"Options.dat", "a"}, {"OPTIONS.DAT", "b"}}},
      {"an empty file", {{"Options.dat", "a"}, {"Empty.bmp", ""}}},
      {"a name outside code page 1251", {{"Options.dat", "a"}, {fs::path(u"日本.bmp"), "x"}}},
  };
  for (const auto& c : cases) {
    fs::remove_all(root_ / "skin");
    fs::create_directories(root_ / "skin");
    for (const auto& [name, content] : c.files) Put(name, content);
    EXPECT_THROW(BuildPackage(ReadSkinFolder(root_ / "skin", kCodec)), Error) << c.what;
  }
}

// Unpacking writes only inside the target folder, whatever names a package carries.
TEST_F(SkinPacker, UnpackRefusesNamesWithADirectoryPart) {
  for (const char16_t* name :
       {u"../evil.bmp", u"sub/x.bmp", u"sub\\x.bmp", u"C:x.bmp", u"..", u""}) {
    TacSkinConvertor skin;
    skin.Files.push_back({u"fine.bmp", true, B("ok")});
    skin.Files.push_back({name, true, B("evil")});
    EXPECT_THROW(WriteSkinFolder(skin, root_ / "out" / "in"), Error);
    EXPECT_FALSE(fs::exists(root_ / "out")) << "nothing is written when one name is unsafe";
  }
}

}  // namespace
}  // namespace kq::skinpack
