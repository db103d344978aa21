// A settings (INI) file on disk, read and edited through the line-preserving IniDocument.
#pragma once

#include "common/CodePage.h"
#include "common/IniDocument.h"

#include <functional>
#include <string>

namespace kq::win {

class ProfileFile {
 public:
  // Reads the file now; a missing or unreadable file reads as empty.
  ProfileFile(std::u16string path, const AnsiCodec& codec);

  const IniDocument& Document() const { return doc_; }
  const std::u16string& Path() const { return path_; }

  // Writes one key at once. The file is read again first, so that what others wrote since
  // is kept, and then replaced atomically; a missing file is created. A refused write throws
  // kq::Error "Unable to write to <full path>" and leaves the file as it was; so does a file
  // that is there but cannot be read.
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  // The same for any edit of the document.
  void Update(const std::function<void(IniDocument&)>& edit);

 private:
  // False when the file is there but could not be read (the document is then empty).
  bool Load();

  std::u16string path_;
  const AnsiCodec& codec_;
  IniDocument doc_;
};

}  // namespace kq::win
