#include "settings/EngineSettings.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace kq {
namespace {

TEST(EngineSettings, OnlyTheExactTrueIsASetFlag) {
  const struct {
    std::u16string_view text;
    bool set;
  } cases[] = {
      {u"TRUE", true},   {u"FALSE", false}, {u"true", false},  {u"True", false},
      {u"TRUE ", false}, {u" TRUE", false}, {u"TRUEX", false}, {u"TRU", false},
      {u"1", false},     {u"yes", false},   {u"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToFlag(c.text), c.set) << std::string(c.text.begin(), c.text.end());
  }
  EXPECT_EQ(FlagToText(true), u"TRUE");
  EXPECT_EQ(FlagToText(false), u"FALSE");
}

struct Recorder final : EngineSettingsWriter {
  void WriteText(std::u16string_view section, std::u16string_view key,
                 std::u16string_view value) override {
    writes.push_back(std::u16string(section) + u"/" + std::u16string(key) + u"=" +
                     std::u16string(value));
  }
  std::vector<std::u16string> writes;
};

TEST(EngineSettings, IntegersAreWrittenInPlainDecimal) {
  const struct {
    std::int32_t value;
    std::u16string_view text;
  } cases[] = {
      {0, u"0"},
      {7, u"7"},
      {1024, u"1024"},
      {-1, u"-1"},
      {-40, u"-40"},
      {INT_MAX, u"2147483647"},
      {INT_MIN, u"-2147483648"},
  };
  for (const auto& c : cases) {
    Recorder r;
    r.WriteInteger(u"RenderState", u"ScreenXSize", c.value);
    ASSERT_EQ(r.writes.size(), 1u);
    EXPECT_EQ(r.writes[0], u"RenderState/ScreenXSize=" + std::u16string(c.text)) << c.value;
  }
}

}  // namespace
}  // namespace kq
