#include "TestFolder.h"

#include "win/Handles.h"

#include <gtest/gtest.h>

namespace kq::win::test {
namespace {

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd{};
  HANDLE find = ::FindFirstFileW((dir + L"*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = dir + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + L"\\");
      } else {
        ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(full.c_str());
      }
    } while (::FindNextFileW(find, &fd));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(dir.c_str());
}

}  // namespace

TestFolder::TestFolder(const std::wstring& hint) {
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH, temp);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(temp) + hint + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) {
      ADD_FAILURE() << "cannot create a test folder";
      break;
    }
  }
}

TestFolder::~TestFolder() { RemoveTree(path_); }

void WriteFileBytes(const std::wstring& path, std::string_view bytes) {
  FileHandle f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(f) << "cannot create a fixture file";
  DWORD wrote = 0;
  ASSERT_TRUE(::WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr));
  ASSERT_EQ(wrote, bytes.size());
}

std::string ReadFileBytes(const std::wstring& path) {
  FileHandle f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return {};
  std::string out;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(f.Get(), buf, sizeof(buf), &got, nullptr) && got > 0) out.append(buf, got);
  return out;
}

}  // namespace kq::win::test
