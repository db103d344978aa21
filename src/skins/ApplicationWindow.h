// The program's application window: hidden, top-level, of class "TApplication" and titled
// "KQMiniLauncher", living as long as the program, so that other programs can find the
// launcher. It takes the skin preview message and shows the skin it carries.
#pragma once

#include "skins/PreviewBuffer.h"
#include "win/Window.h"

#include <functional>

namespace kq::skins {

inline constexpr wchar_t kApplicationWindowClass[] = L"TApplication";
inline constexpr wchar_t kApplicationWindowTitle[] = L"KQMiniLauncher";

class ApplicationWindow final : public win::Window {
 public:
  using PreviewSink = std::function<void(SkinPreview)>;
  // Made at once; a preview goes to `showPreview`, by default the program's skin service.
  explicit ApplicationWindow(PreviewSink showPreview = {});

 protected:
  bool FilterMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  // Other programs may ask it to close; it stays for the program's life.
  void OnClose() override {}

 private:
  PreviewSink showPreview_;
  PreviewReceiver receiver_;
};

}  // namespace kq::skins
