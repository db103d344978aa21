// The settings-file accessor on real files: what the dialog's showing and OK do to them.
#include "settings/EngineSettingsFile.h"

#include "../win/TestFolder.h"
#include "common/Error.h"
#include "settings/SettingsModel.h"
#include "win/Handles.h"
#include "win/SystemText.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace kq {
namespace {

using win::test::ReadFileBytes;
using win::test::TestFolder;
using win::test::WriteFileBytes;

const win::SystemAnsiCodec kCodec;

int CountFiles(const std::wstring& dir) {
  WIN32_FIND_DATAW fd{};
  HANDLE find = ::FindFirstFileW((dir + L"*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
  } while (::FindNextFileW(find, &fd));
  ::FindClose(find);
  return n;
}

// The game's file with the names in other letter case, a value in another spelling and a
// comment in the players' code page.
constexpr std::string_view kMixedCaseFile =
    "; \xED\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8\r\n"
    "[renderstate]\r\n"
    "texturedetail = 9\r\n"
    "gamma=1.6\r\n"
    "SCREENXSIZE=0x400\r\n"
    "screenysize=768\r\n"
    "RENDERBITS=32\r\n"
    "FarClip   =  12000.0\r\n"
    "\r\n"
    "[Camera]\r\n"
    "Distance=35\r\n"
    "[sound]\r\n"
    "music=true\r\n";

TEST(EngineSettingsFile, ShowingAndOkOnRealFiles) {
  const struct {
    const char* name;
    std::optional<std::string_view> file;
    std::u16string_view gamma;
    std::u16string_view mode;
    std::string_view after_ok;
  } cases[] = {
      {"no file", std::nullopt, u"1.2", u"800x600x16",
       "[RenderState]\r\nTextureDetail=0\r\nDynamicLight=0\r\nBboShasi=0\r\nShadowDetail=0\r\n"
       "bMouseAccelation=TRUE\r\nbDetailTexture=TRUE\r\nbFullScreen=FALSE\r\nGamma=1.2\r\n"
       "ScreenXSize=800\r\nScreenYSize=600\r\nRenderBits=16\r\n[Sound]\r\nMusic=TRUE\r\n"
       "Sound=TRUE\r\n"},
      {"names in other letter case", kMixedCaseFile, u"1.6", u"1024x768x32",
       "; \xED\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8\r\n"
       "[renderstate]\r\n"
       "texturedetail = 3\r\n"
       "gamma=1.6\r\n"
       "SCREENXSIZE=1024\r\n"
       "screenysize=768\r\n"
       "RENDERBITS=32\r\n"
       "FarClip   =  12000.0\r\n"
       "DynamicLight=0\r\n"
       "BboShasi=0\r\n"
       "ShadowDetail=0\r\n"
       "bMouseAccelation=TRUE\r\n"
       "bDetailTexture=TRUE\r\n"
       "bFullScreen=FALSE\r\n"
       "\r\n"
       "[Camera]\r\n"
       "Distance=35\r\n"
       "[sound]\r\n"
       "music=FALSE\r\n"
       "Sound=TRUE\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder dir;
    const std::wstring path = dir / L"N4Engine.ini";
    if (c.file) WriteFileBytes(path, *c.file);

    EngineSettingsFile file(win::U16(path), kCodec);
    const SettingsView view = LoadSettingsView(file.Document());
    EXPECT_EQ(view.CbGamma, c.gamma);
    EXPECT_EQ(view.CbResolution, c.mode);
    SaveSettingsView(view, file);

    EXPECT_EQ(ReadFileBytes(path), c.after_ok);
    EXPECT_EQ(CountFiles(dir.Path()), 1) << "a temporary file was left behind";
    // No handle stays open: another program may now take the file for itself.
    win::FileHandle exclusive(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(exclusive);
  }
}

// Passes the writes on to the file and, before the write at `refuse_at`, has `refuse` make
// the system refuse it.
struct RefusalAfter final : EngineSettingsWriter {
  RefusalAfter(EngineSettingsWriter& f, std::size_t at, std::function<void()> r)
      : file(f), refuse_at(at), refuse(std::move(r)) {}
  void WriteText(std::u16string_view section, std::u16string_view key,
                 std::u16string_view value) override {
    if (count++ == refuse_at) refuse();
    file.WriteText(section, key, value);
  }
  EngineSettingsWriter& file;
  std::size_t refuse_at;
  std::function<void()> refuse;
  std::size_t count = 0;
};

constexpr std::string_view kGameFile =
    "; the game's settings\r\n"
    "[RenderState]\r\n"
    "TextureDetail=7\r\n"
    "DynamicLight=-9\r\n"
    "Gamma = 1.4\r\n"
    "FarClip   =  12000.0\r\n"
    "\r\n"
    "[Sound]\r\n"
    "Music=true\r\n";

// The game's file after the first writes of OK, the one at each index being refused.
const std::string_view kWrittenBefore[] = {
    kGameFile,
    "; the game's settings\r\n[RenderState]\r\nTextureDetail=3\r\nDynamicLight=-9\r\n"
    "Gamma = 1.4\r\nFarClip   =  12000.0\r\n\r\n[Sound]\r\nMusic=true\r\n",
    "; the game's settings\r\n[RenderState]\r\nTextureDetail=3\r\nDynamicLight=-1\r\n"
    "Gamma = 1.4\r\nFarClip   =  12000.0\r\n\r\n[Sound]\r\nMusic=true\r\n",
    "; the game's settings\r\n[RenderState]\r\nTextureDetail=3\r\nDynamicLight=-1\r\n"
    "Gamma = 1.4\r\nFarClip   =  12000.0\r\nBboShasi=0\r\n\r\n[Sound]\r\nMusic=true\r\n",
    "; the game's settings\r\n[RenderState]\r\nTextureDetail=3\r\nDynamicLight=-1\r\n"
    "Gamma = 1.4\r\nFarClip   =  12000.0\r\nBboShasi=0\r\nShadowDetail=0\r\n\r\n[Sound]\r\n"
    "Music=true\r\n",
    "; the game's settings\r\n[RenderState]\r\nTextureDetail=3\r\nDynamicLight=-1\r\n"
    "Gamma = 1.4\r\nFarClip   =  12000.0\r\nBboShasi=0\r\nShadowDetail=0\r\n\r\n[Sound]\r\n"
    "Music=FALSE\r\n",
};

TEST(EngineSettingsFile, ARefusedWriteNamesTheFullPathAndKeepsTheKeysBeforeIt) {
  enum class Refuse { kReadOnly, kHeldWithoutWriteSharing };
  const struct {
    const char* name;
    Refuse how;
    std::size_t refuse_at;
    bool relative_path;
  } cases[] = {
      {"read-only from the start", Refuse::kReadOnly, 0, false},
      {"made read-only before the fourth key", Refuse::kReadOnly, 3, false},
      {"made read-only before the sixth key, opened by a relative path", Refuse::kReadOnly, 5,
       true},
      {"held open from the start", Refuse::kHeldWithoutWriteSharing, 0, false},
      {"held open before the second key", Refuse::kHeldWithoutWriteSharing, 1, false},
      {"held open before the fifth key", Refuse::kHeldWithoutWriteSharing, 4, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder dir(L"kq настройки");
    const std::wstring path = dir / L"N4Engine.ini";
    WriteFileBytes(path, kGameFile);

    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    if (c.relative_path) {
      ASSERT_TRUE(::SetCurrentDirectoryW(dir.Path().c_str()));
    }
    EngineSettingsFile file(c.relative_path ? u"N4Engine.ini" : win::U16(path), kCodec);
    const SettingsView view = LoadSettingsView(file.Document());

    win::FileHandle holder;
    RefusalAfter writer(file, c.refuse_at, [&] {
      if (c.how == Refuse::kReadOnly) {
        ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
      } else {
        holder = win::FileHandle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
      }
    });
    try {
      SaveSettingsView(view, writer);
      ADD_FAILURE() << "the write was not refused";
    } catch (const Error& e) {
      EXPECT_EQ(WriteRefusedBoxText(e), u"Unable to write to " + win::U16(path) + u".");
    }
    if (c.relative_path) ::SetCurrentDirectoryW(previous);
    holder = {};

    EXPECT_EQ(ReadFileBytes(path), kWrittenBefore[c.refuse_at]);
    EXPECT_EQ(CountFiles(dir.Path()), 1) << "a temporary file was left behind";
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace
}  // namespace kq
