#include "common/CommandLine.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

struct SplitCase {
  const char16_t* line;
  std::vector<std::u16string> arguments;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, GivesTheShellsArguments) {
  EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitCommandLineTest,
    ::testing::Values(
        SplitCase{u"", {}}, SplitCase{u"KQMiniLauncher.exe", {}},
        SplitCase{u"KQMiniLauncher.exe   ", {}},
        SplitCase{u"KQMiniLauncher.exe /acver", {u"/acver"}},
        SplitCase{u"KQMiniLauncher.exe\t/ACVER  /test ", {u"/ACVER", u"/test"}},
        // The name: quotes around it, blanks inside, and no escapes.
        SplitCase{u"\"C:\\Games\\DO Rizura\\KQMiniLauncher.exe\" /acver", {u"/acver"}},
        SplitCase{u"C:\\a\\\"b c\" d", {u"c d"}}, SplitCase{u"\"unclosed name /acver", {}},
        // Quotes group blanks and are dropped.
        SplitCase{u"p \"a b\" c", {u"a b", u"c"}}, SplitCase{u"p a\"b c\"d", {u"ab cd"}},
        SplitCase{u"p \"\"", {u""}}, SplitCase{u"p \"open to the end", {u"open to the end"}},
        // Backslashes are literal, except before a quote.
        SplitCase{u"p C:\\Skins\\ x", {u"C:\\Skins\\", u"x"}},
        SplitCase{u"p a\\\\\"b c\"", {u"a\\b c"}}, SplitCase{u"p a\\\"b", {u"a\"b"}},
        SplitCase{u"p a\\\\\\\"b", {u"a\\\"b"}},
        // Inside quotes, two quotes are one literal quote.
        SplitCase{u"p \"say \"\"hi\"\"\"", {u"say \"hi\""}}));

}  // namespace
}  // namespace kq
