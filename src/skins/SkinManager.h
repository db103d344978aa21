// The skin manager component of a window's layout (TsSkinManager): takes its stored settings
// and catalogue when the window is read and keeps the skin in force for the whole program,
// through the skin choice with the system's files, message boxes and windows.
#pragma once

#include "ui/Components.h"
#include "skins/SkinSelection.h"
#include "win/SystemText.h"

#include <memory>

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
  void ApplySkinToAllWindows(const SkinApplyOptions& options) override;
  void RemoveSkinFromAllWindows() override;
};

class TsSkinManager final : public ui::NonVisualComponent {
 public:
  explicit TsSkinManager(ui::Form& form);

  // Makes the class known to layouts; at start-up, before the first window.
  static void Register();

  TsSkinSelection& Selection() { return selection_; }
  const std::u16string& SkinName() const { return selection_.SkinName(); }
  void SetSkinName(std::u16string name) { selection_.SetSkinName(std::move(name)); }

 protected:
  // The stored settings take effect in their stored order, the skin loaded but applied only
  // once all are read.
  void Loaded() override;

 private:
  WinSkinEnvironment env_;
  win::SystemAnsiCodec codec_;
  TsSkinSelection selection_;
};

// The program's command-line arguments, without the program itself.
std::vector<std::u16string> CommandLineArguments();

// The skin engine's start-up, before any window: its components (the skin manager and the
// skin provider) become known to layouts,
// and the "/acver" argument (any letter case) shows the engine's version once.
void StartSkinEngine();

}  // namespace kq::skins
