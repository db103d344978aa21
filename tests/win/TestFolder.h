// A fresh folder under the temporary folder for one test, removed with everything in it.
#pragma once

#include "common/Bytes.h"
#include "win/Win.h"

#include <string>

namespace kq::win::test {

class TestFolder {
 public:
  explicit TestFolder(const std::wstring& hint = L"kq");
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder, ending in a backslash.
  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }

 private:
  std::wstring path_;
};

void WriteFileBytes(const std::wstring& path, std::string_view bytes);
std::string ReadFileBytes(const std::wstring& path);  // "" when missing

}  // namespace kq::win::test
