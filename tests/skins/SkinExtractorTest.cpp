#include "skins/SkinExtractor.h"

#include "../win/TestFolder.h"
#include "common/Error.h"
#include "win/Win.h"

#include <gtest/gtest.h>

#include <vector>

namespace kq::skins {
namespace {

using win::test::ReadFileBytes;
using win::test::TestFolder;
using win::test::WriteFileBytes;

// Package bytes are copied as held, checked or not: zeros and high bytes included.
const std::string kFm("ASzf\x01\0\0\0\x0B\0\0\0Options.dat\xFF\x00\x9C", 26);
const std::string kAir("ASzf\0\0\0\0", 8);
const std::string kCyr("ASzf\0\0\0\0\x01", 9);

std::vector<NamedPackage> Catalogue() {
  return {{u"Air (internal)", AsBytes(kAir)},
          {u"FM (internal)", AsBytes(kFm)},
          {u"Осень (internal)", AsBytes(kCyr)}};
}

std::u16string U(const std::wstring& s) {
  return win::U16(s);
}

struct Boxes {
  std::vector<std::u16string> texts;
  ExtractOptions Options() {
    return {.errorBox = [this](const std::u16string& t) { texts.push_back(t); }};
  }
};

bool IsDirectory(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(SkinExtractor, ExtractByIndexWritesWhereTheDestinationSays) {
  TestFolder dir(L"kq-extract");
  const std::wstring d = dir.Path();  // ends in "\"
  const std::wstring base = d.substr(0, d.size() - 1);
  ASSERT_TRUE(::CreateDirectoryW((d + L"a").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW((d + L"old").c_str(), nullptr));
  WriteFileBytes(d + L"old\\FM (internal) extracted.asz", "an older, longer extraction");

  const struct {
    const char* what;
    std::wstring dest;
    std::wstring file;   // written, or empty
    std::u16string box;  // shown, or empty
  } cases[] = {
      {"ends in \\", d, d + L"FM (internal) extracted.asz", u""},
      {"no separator", base, d + L"FM (internal) extracted.asz", u""},
      {"final / turned, folder created", base + L"\\new/", d + L"new\\FM (internal) extracted.asz",
       u""},
      {"inner / kept", base + L"\\a/b", d + L"a\\b\\FM (internal) extracted.asz", u""},
      {"existing file replaced", d + L"old", d + L"old\\FM (internal) extracted.asz", u""},
      {"two missing levels", base + L"\\x\\y", L"",
       u"Directory " + U(d) + u"x\\y\\ creation error."},
      {"two missing levels, only the final / turned", base + L"\\p/q/", L"",
       u"Directory " + U(d) + u"p/q\\ creation error."},
      {"empty", L"", L"", u"Directory  creation error."},
  };
  for (const auto& c : cases) {
    Boxes boxes;
    const bool written = ExtractByIndex(Catalogue(), 1, U(c.dest), boxes.Options());
    EXPECT_EQ(written, !c.file.empty()) << c.what;
    if (!c.file.empty()) {
      EXPECT_EQ(ReadFileBytes(c.file), kFm) << c.what;
    }
    EXPECT_EQ(boxes.texts,
              c.box.empty() ? std::vector<std::u16string>{} : std::vector<std::u16string>{c.box})
        << c.what;
  }
  EXPECT_FALSE(IsDirectory(d + L"x")) << "a failed creation leaves nothing behind";
  EXPECT_FALSE(IsDirectory(d + L"p"));
}

// A one-letter destination is a drive's root: the test folder's own drive, which under Wine
// is the prefix's drive C: inside the build tree.
TEST(SkinExtractor, OneLetterDestinationIsTheDrivesRoot) {
  TestFolder dir(L"kq-extract");
  const std::wstring letter = dir.Path().substr(0, 1);
  const std::wstring file = letter + L":\\FM (internal) extracted.asz";
  ASSERT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES)
      << "a file from elsewhere is in the way";
  Boxes boxes;
  EXPECT_TRUE(ExtractByIndex(Catalogue(), 1, U(letter), boxes.Options()));
  EXPECT_EQ(ReadFileBytes(file), kFm);
  ::DeleteFileW(file.c_str());

  ExtractInternalSkin(Catalogue(), u"FM (internal)", U(letter), boxes.Options());
  EXPECT_EQ(ReadFileBytes(file), kFm);
  ::DeleteFileW(file.c_str());
  EXPECT_TRUE(boxes.texts.empty());
}

TEST(SkinExtractor, ExtractInternalSkinMatchesTheNameExactly) {
  TestFolder dir(L"kq-extract");
  const std::wstring d = dir.Path();
  const struct {
    const char* what;
    std::u16string name;
    std::wstring dest;
    std::wstring file;  // written, or empty
    std::u16string box;
  } cases[] = {
      {"exact name", u"FM (internal)", d, d + L"FM (internal) extracted.asz", u""},
      {"Cyrillic name", u"Осень (internal)", d, d + L"Осень (internal) extracted.asz", u""},
      {"destination ending in /", u"Air (internal)", d.substr(0, d.size() - 1) + L"/",
       d + L"Air (internal) extracted.asz", u""},
      {"name in lower case", u"fm (internal)", d, L"", u"Skin does not exists."},
      {"name differing in one letter's case", u"FM (Internal)", d, L"", u"Skin does not exists."},
      {"name without its suffix", u"FM", d, L"", u"Skin does not exists."},
      {"destination missing", u"FM (internal)", d + L"missing", L"", u"Directory does not exists."},
  };
  for (const auto& c : cases) {
    Boxes boxes;
    ExtractInternalSkin(Catalogue(), c.name, U(c.dest), boxes.Options());
    EXPECT_EQ(boxes.texts,
              c.box.empty() ? std::vector<std::u16string>{} : std::vector<std::u16string>{c.box})
        << c.what;
    if (!c.file.empty()) {
      const std::string expected = c.name == u"Air (internal)"  ? kAir
                                   : c.name == u"FM (internal)" ? kFm
                                                                : kCyr;
      EXPECT_EQ(ReadFileBytes(c.file), expected) << c.what;
      ::DeleteFileW(c.file.c_str());
    }
  }
  EXPECT_FALSE(IsDirectory(d + L"missing")) << "ExtractInternalSkin creates no folder";
  WIN32_FIND_DATAW fd{};
  HANDLE find = ::FindFirstFileW((d + L"*.asz").c_str(), &fd);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "only the expected files were written";
  if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
}

TEST(SkinExtractor, RefusedWriteIsShown) {
  TestFolder dir(L"kq-extract");
  const std::wstring file = dir / L"FM (internal) extracted.asz";
  WriteFileBytes(file, "keep");
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  Boxes boxes;
  EXPECT_FALSE(ExtractByIndex(Catalogue(), 1, U(dir.Path()), boxes.Options()));
  EXPECT_EQ(boxes.texts, std::vector<std::u16string>{WriteRefused(U(file)).Message()});
  EXPECT_EQ(ReadFileBytes(file), "keep");
}

}  // namespace
}  // namespace kq::skins
