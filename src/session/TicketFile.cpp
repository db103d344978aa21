#include "session/TicketFile.h"

#include "win/Handles.h"

namespace kq::win {

bool WriteTicketFile(const std::u16string& path, ByteView bytes) {
  // Write sharing only: a client that has the old ticket open for reading keeps us out
  // rather than reading a half-written one.
  FileHandle f(::CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return false;
  DWORD wrote = 0;
  return ::WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
         wrote == bytes.size();
}

}  // namespace kq::win
