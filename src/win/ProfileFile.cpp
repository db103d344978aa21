#include "win/ProfileFile.h"

#include "common/Error.h"
#include "win/Files.h"
#include "win/SystemText.h"

namespace kq::win {

ProfileFile::ProfileFile(std::u16string path, const AnsiCodec& codec)
    : path_(std::move(path)), codec_(codec), doc_(IniDocument::Parse({}, codec)) {
  Load();
}

bool ProfileFile::Load() {
  const auto bytes = ReadWholeFile(path_);
  doc_ = IniDocument::Parse(bytes ? ByteView(*bytes) : ByteView(), codec_);
  return bytes || !FileExists(path_);
}

void ProfileFile::WriteString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view value) {
  Update([&](IniDocument& doc) { doc.Set(section, key, value); });
}

void ProfileFile::Update(const std::function<void(IniDocument&)>& edit) {
  // A file that is there but cannot be read (another program holds it without read
  // sharing) is not replaced: the edited copy would lose every line of it.
  if (!Load()) throw WriteRefused(FullPath(path_));
  edit(doc_);
  const Bytes content = doc_.Serialize();
  if (!ReplaceFileAtomically(path_, content)) {
    Load();  // the document again shows what the file holds
    throw WriteRefused(FullPath(path_));
  }
}

}  // namespace kq::win
