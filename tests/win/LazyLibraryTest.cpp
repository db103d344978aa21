#include "win/LazyLibrary.h"

#include <gtest/gtest.h>

namespace kq::win {
namespace {

// Nothing is loaded before the first ask; a library or function that is not there gives
// nullptr instead of failing the program; a found function is the library's own.
TEST(LazyLibraryTest, LoadsAtTheFirstAskAndFindsOnlyWhatIsThere) {
  LazyLibrary version(L"version.dll");
  EXPECT_FALSE(version.Loaded());
  auto* size = version.Proc<decltype(::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
  ASSERT_NE(size, nullptr);
  EXPECT_TRUE(version.Loaded());
  DWORD handle = 0;
  EXPECT_GT(size(L"version.dll", &handle), 0u);
  EXPECT_EQ(version.Proc<void()>("NoSuchFunction"), nullptr);

  LazyLibrary missing(L"kq-no-such-library.dll");
  EXPECT_EQ(missing.Proc<void()>("Anything"), nullptr);
  EXPECT_FALSE(missing.Loaded());
}

// The program's on-demand libraries are all there to be found.
TEST(LazyLibraryTest, TheProgramsLibrariesAreFound) {
  for (LazyLibrary* library : {&ShellLibrary(), &AccessibilityLibrary(), &AutomationLibrary()})
    EXPECT_NE(library->Proc<void()>("DllGetClassObject"), nullptr);
}

}  // namespace
}  // namespace kq::win
