// The launcher's main window frmMain.
#pragma once

#include "launcher/LauncherConfig.h"
#include "win/Handles.h"
#include "win/Window.h"

namespace kq {

class TfrmMain final : public win::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TfrmMain";
  static constexpr int kClientWidth = 243;
  static constexpr int kClientHeight = 301;

  explicit TfrmMain(const AnsiCodec& codec) : codec_(codec) {}

  // Creates the window (running FormCreate) without showing it.
  bool Create();

  // The launcher configuration as FormCreate read it; unchanged afterwards.
  const TLauncherSettings& Settings() const { return settings_; }

 private:
  bool OnCreate() override { FormCreate(); return true; }
  void OnClose() override;
  void OnDestroy() override;

  void FormCreate();
  void FormClose();
  std::u16string ConfigPath() const;

  const AnsiCodec& codec_;
  TLauncherSettings settings_;
  win::GdiObject font_;
};

}  // namespace kq
