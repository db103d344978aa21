#include "settings/EngineSettingsFile.h"

#include "common/Paths.h"
#include "win/SystemText.h"

namespace kq {

std::u16string EngineSettingsFilePath() {
  return DirectoryOf(win::ExecutablePath()) + std::u16string(kEngineSettingsFileName);
}

}  // namespace kq
