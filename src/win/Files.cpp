#include "win/Files.h"

#include "win/Handles.h"

#include <algorithm>

namespace kq::win {

std::optional<Bytes> ReadWholeFile(const std::u16string& path) {
  FileHandle f(::CreateFileW(W(path), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(f.Get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
  Bytes data(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < data.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(data.size() - done);
    if (!::ReadFile(f.Get(), data.data() + done, want, &got, nullptr)) return std::nullopt;
    if (got == 0) break;  // the file shrank meanwhile
    done += got;
  }
  data.resize(done);
  return data;
}

bool FileExists(const std::u16string& path) {
  const DWORD attrs = ::GetFileAttributesW(W(path));
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// True when this process may write the existing file now: the read-only attribute counts
// (running as an administrator, the permission bits alone stop nothing), and so does
// another program holding it without write sharing.
bool ExistingFileWritable(const std::u16string& path) {
  const DWORD attrs = ::GetFileAttributesW(W(path));
  if (attrs == INVALID_FILE_ATTRIBUTES) return true;  // not there: it will be created
  if (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
  FileHandle probe(::CreateFileW(W(path), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(probe);
}

std::u16string FolderOf(const std::u16string& path) {
  const auto cut = path.find_last_of(u"\\/");
  return cut == std::u16string::npos ? u"." : path.substr(0, cut + 1);
}

bool WriteAll(HANDLE f, ByteView content) {
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD wrote = 0;
    // One call moves at most a DWORD's worth; an x64 build's size_t can hold more.
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 30));
    if (!::WriteFile(f, content.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return ::FlushFileBuffers(f) != 0;
}

// Overwrites the existing file through a handle of its own and reads it back: used only
// where the rename is refused because another program holds the file open while sharing it
// for writing (the game client keeps its settings file open so). Not atomic, but the
// content was already written in full beside it, so a full disk cannot cut it short here.
bool WriteInPlace(const std::u16string& path, ByteView content) {
  FileHandle f(::CreateFileW(W(path), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f || !WriteAll(f.Get(), content) || !::SetEndOfFile(f.Get())) return false;
  const auto back = ReadWholeFile(path);
  return back && back->size() == content.size() &&
         std::equal(back->begin(), back->end(), content.begin());
}

}  // namespace

bool ReplaceFileAtomically(const std::u16string& path, ByteView content) {
  if (!ExistingFileWritable(path)) return false;

  wchar_t temp[MAX_PATH + 1] = {};
  if (!::GetTempFileNameW(W(FolderOf(path)), L"kq", 0, temp)) return false;
  bool written = false;
  {
    FileHandle f(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    written = f && WriteAll(f.Get(), content);
  }
  if (!written) {
    ::DeleteFileW(temp);
    return false;
  }
  if (::MoveFileExW(temp, W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  const DWORD refused = ::GetLastError();
  ::DeleteFileW(temp);
  // A holder that denies writing was turned away above; one that shares writing but not
  // deletion blocks only the rename.
  return (refused == ERROR_SHARING_VIOLATION || refused == ERROR_ACCESS_DENIED) &&
         WriteInPlace(path, content);
}

}  // namespace kq::win
