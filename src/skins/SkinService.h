// The program's one skin service: the choice of the skin in force for every window, with the
// system's files, message boxes and windows. Every form reaches it; the skin manager of a
// layout reads its stored settings into it.
#pragma once

#include "paint/ShadowWindow.h"
#include "skins/SkinSelection.h"
#include "skins/ThirdPartyList.h"
#include "ui/Control.h"
#include "win/SystemText.h"

namespace kq::skins {

// The system's side of the skin choice.
class WinSkinEnvironment final : public SkinEnvironment {
 public:
  bool FileExists(const std::u16string& path) override;
  bool DirectoryExists(const std::u16string& path) override;
  std::optional<Bytes> ReadFile(const std::u16string& path, std::uint64_t maxSize) override;
  std::optional<std::vector<SkinDirectoryEntry>> ListDirectory(const std::u16string& dir) override;
  void ShowErrorBox(const std::u16string& text) override;
  void ShowMessage(const std::u16string& text) override;
  void ShowWarning(const std::u16string& text) override;
  // Decodes the skin's images (a package's entries, a folder's files) for the painter.
  void PrepareSkin(TacLoadedSkin& skin) override;
  void ApplySkinToAllWindows(const SkinApplyOptions& options) override;
  void RemoveSkinFromAllWindows() override;
};

// Whether the skin paints a control, as the class lists say (its class name, its Tag).
bool SkinsControl(const ThirdPartyList& lists, const ui::Control& control);

// Whether a form casts a shadow while a skin is in force: with the manager's extended borders,
// where the form allows them.
paint::ShadowOptions ShadowOptionsFor(const ui::Form& form);

// Made on first use, before the first window; lives until the program ends.
TsSkinSelection& SkinService();

}  // namespace kq::skins
