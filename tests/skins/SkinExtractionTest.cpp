#include "skins/SkinExtraction.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

TEST(SkinExtraction, DestinationBecomesADirectoryPrefix) {
  const struct {
    std::u16string_view in, out;
  } cases[] = {
      {u"", u""},
      {u"C:\\Skins\\", u"C:\\Skins\\"},
      {u"\\", u"\\"},
      {u"C:\\Skins/", u"C:\\Skins\\"},
      {u"C:/a/b/", u"C:/a/b\\"},  // only the final separator is turned
      {u"/", u"\\"},
      {u"D", u"D:\\"},
      {u"d", u"d:\\"},
      {u"C:", u"C:\\"},
      {u"C:\\Skins", u"C:\\Skins\\"},
      {u"Skins", u"Skins\\"},
      {u"\\\\server\\share", u"\\\\server\\share\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NormaliseDestDir(c.in), c.out) << std::string(c.in.begin(), c.in.end());
  }
}

}  // namespace
}  // namespace kq
