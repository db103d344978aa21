// The skin manager component of a window's layout (TsSkinManager): reads its stored settings
// and catalogue into the program's skin service when the window is read.
#pragma once

#include "skins/SkinSelection.h"
#include "ui/Components.h"

#include <memory>

namespace kq::skins {

class TsSkinManager final : public ui::NonVisualComponent {
 public:
  explicit TsSkinManager(ui::Form& form);

  // Makes the class known to layouts; at start-up, before the first window.
  static void Register();

 protected:
  // The stored settings take effect in their stored order, the skin loaded but applied only
  // once all are read.
  void Loaded() override;
};

// The program's command-line arguments, without the program itself.
std::vector<std::u16string> CommandLineArguments();

// The skin engine's start-up, before any window: its components (the skin manager and the
// skin provider) become known to layouts, the window shadows' images are loaded from the
// program's resources, and the "/acver" argument (any letter case) shows the engine's
// version once.
void StartSkinEngine();

}  // namespace kq::skins
