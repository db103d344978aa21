// The settings-file accessor of one showing of the settings dialog: N4Engine.ini on disk.
#pragma once

#include "common/CodePage.h"
#include "common/IniDocument.h"
#include "settings/EngineSettings.h"
#include "win/ProfileFile.h"

#include <string>

namespace kq {

// The game's N4Engine.ini beside the running executable, worked out afresh on every call.
std::u16string EngineSettingsFilePath();

class EngineSettingsFile final : public EngineSettingsWriter {
 public:
  // Reads the file as it is now; it need not exist, and no handle stays open between calls,
  // so the game and other programs may use it meanwhile.
  EngineSettingsFile(std::u16string path, const AnsiCodec& codec) : file_(std::move(path), codec) {}

  // What the file held at opening or at the last write; the reads of the dialog use it.
  const IniDocument& Document() const { return file_.Document(); }
  const std::u16string& Path() const { return file_.Path(); }

  // Reads the file again, changes that one key and replaces the file atomically, so whatever
  // else is in it, written by the game meanwhile included, stays.
  void WriteText(std::u16string_view section, std::u16string_view key,
                 std::u16string_view value) override {
    file_.WriteString(section, key, value);
  }

 private:
  win::ProfileFile file_;
};

}  // namespace kq
