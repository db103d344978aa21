// What Explorer shows of the built launcher: its version resource and its icon.
#include "../win/RunningLauncher.h"
#include "win/Win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kq {
namespace {

std::wstring LauncherPath() {
  return win::test::BuiltProgramsFolder() + L"KQMiniLauncher.exe";
}

std::vector<std::uint8_t> VersionBlock() {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(LauncherPath().c_str(), &ignored);
  std::vector<std::uint8_t> block(size);
  if (size == 0 || !::GetFileVersionInfoW(LauncherPath().c_str(), 0, size, block.data())) {
    block.clear();
  }
  return block;
}

TEST(ProgramInfo, TheVersionResourceNamesTheProductAndItsVersion) {
  auto block = VersionBlock();
  ASSERT_FALSE(block.empty()) << "no version resource in the launcher";
  const std::wstring version = L"" KQ_VERSION;
  const struct {
    const wchar_t* key;
    std::wstring want;
  } cases[] = {
      {L"ProductName", L"KQMiniLauncher"},
      {L"FileDescription", L"DO Rizura launcher"},
      {L"OriginalFilename", L"KQMiniLauncher.exe"},
      {L"FileVersion", version},
      {L"ProductVersion", version},
      {L"LegalCopyright", L"Copyright (C) 2026 KQMiniLauncher developers"},
  };
  for (const auto& c : cases) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + c.key;
    void* value = nullptr;
    UINT chars = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), path.c_str(), &value, &chars)) << c.key;
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), c.want) << c.key;
  }

  // The numbers Explorer's Details tab shows come from the fixed part: the same version.
  void* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", &fixed, &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
  EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
  const std::wstring numbers = std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
                               std::to_wstring(HIWORD(info->dwFileVersionLS));
  EXPECT_EQ(numbers, version);
  EXPECT_EQ(info->dwProductVersionMS, info->dwFileVersionMS);
  EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(ProgramInfo, TheIconComesInEverySizeTheShellAsksFor) {
  const HMODULE exe = ::LoadLibraryExW(LauncherPath().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr);
  // The icon group lists its images; 256 is written as 0 in the group's one-byte width.
  const HRSRC group = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));
  ASSERT_NE(group, nullptr) << "no icon group 1";
  const auto* bytes = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(exe, group)));
  const DWORD size = ::SizeofResource(exe, group);
  ASSERT_GE(size, 6u);
  const unsigned count = bytes[4] | bytes[5] << 8;
  ASSERT_EQ(size, 6u + 14u * count);
  std::vector<int> widths;
  for (unsigned i = 0; i < count; ++i)
    widths.push_back(bytes[6 + 14 * i] ? bytes[6 + 14 * i] : 256);
  EXPECT_EQ(widths, (std::vector<int>{16, 24, 32, 48, 256}));

  // And the system loads each size as an icon of that size, with an alpha channel.
  for (int want : {16, 24, 32, 48, 256}) {
    const auto icon = static_cast<HICON>(
        ::LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, want, want, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr) << want;
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info)) << want;
    BITMAP colour{};
    ::GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, want);
    EXPECT_EQ(colour.bmHeight, want);
    EXPECT_EQ(colour.bmBitsPixel, 32) << want;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
  }
  ::FreeLibrary(exe);
}

TEST(ProgramInfo, TheManifestNamesWindows7To11AndPerMonitorDpi) {
  const HMODULE exe = ::LoadLibraryExW(LauncherPath().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr);
  const HRSRC res = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(res, nullptr) << "no manifest";
  const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(exe, res))),
                             ::SizeofResource(exe, res));
  ::FreeLibrary(exe);
  for (const char* want : {
           "PerMonitorV2",
           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
       }) {
    EXPECT_NE(manifest.find(want), std::string::npos) << want;
  }
}

}  // namespace
}  // namespace kq
