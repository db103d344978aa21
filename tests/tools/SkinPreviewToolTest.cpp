// KQSkinPreview's command line and its reading of a skin folder's path.
#include "skinpreview/PreviewCommand.h"

#include "TestText.h"

#include <gtest/gtest.h>

#include <vector>

namespace kq::skinpreview {
namespace {

using test::U8;

TEST(SkinPreviewTool, CommandLine) {
  const struct {
    std::vector<std::u16string> args;
    bool ok;
    std::string folder, name;
    bool watch;
  } cases[] = {
      {{u"Dark"}, true, "Dark", "", false},
      {{u"--watch", u"C:\\Skins\\Тёмный"}, true, "C:\\Skins\\Тёмный", "", true},
      {{u"Dark", u"--name", u"Other", u"--watch"}, true, "Dark", "Other", true},
      {{}, false, "", "", false},
      {{u"--watch"}, false, "", "", false},
      {{u"Dark", u"Light"}, false, "", "", false},
      {{u"Dark", u"--name"}, false, "", "", false},
      {{u"Dark", u"--name", u""}, false, "", "", false},
      {{u"Dark", u"--name", u"A", u"--name", u"B"}, false, "", "", false},
      {{u"Dark", u"--watch", u"--watch"}, false, "", "", false},
      {{u"Dark", u"--wait"}, false, "", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args.size()) +
                 (c.args.empty() ? "" : " " + U8(c.args.back())));
    const auto got = ParseCommand(c.args);
    ASSERT_EQ(got.has_value(), c.ok);
    if (!got) continue;
    EXPECT_EQ(U8(got->folder), c.folder);
    EXPECT_EQ(got->name ? U8(*got->name) : "", c.name);
    EXPECT_EQ(got->watch, c.watch);
  }
}

TEST(SkinPreviewTool, FolderGivesNameAndDirectory) {
  const struct {
    std::u16string path;
    std::optional<std::pair<std::string, std::string>> want;
  } cases[] = {
      {u"C:\\Skins\\Dark", {{"Dark", "C:\\Skins"}}},
      {u"C:\\Skins\\Dark\\\\", {{"Dark", "C:\\Skins"}}},
      {u"Z:/home/author/Тёмный/", {{"Тёмный", "Z:/home/author"}}},
      {u"C:\\Dark", {{"Dark", "C:\\"}}},
      {u"\\\\server\\share\\Dark", {{"Dark", "\\\\server\\share"}}},
      {u"C:\\", std::nullopt},
      {u"Dark", std::nullopt},
      {u"\\Dark", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(U8(c.path));
    const auto got = SplitSkinFolder(c.path);
    ASSERT_EQ(got.has_value(), c.want.has_value());
    if (!got) continue;
    EXPECT_EQ(U8(got->name), c.want->first);
    EXPECT_EQ(U8(got->directory), c.want->second);
  }
}

}  // namespace
}  // namespace kq::skinpreview
