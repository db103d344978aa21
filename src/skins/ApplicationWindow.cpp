#include "skins/ApplicationWindow.h"

#include "skins/SkinService.h"
#include "win/SystemText.h"

namespace kq::skins {
namespace {

const win::SystemAnsiCodec& Codec() {
  static const win::SystemAnsiCodec codec;
  return codec;
}

}  // namespace

ApplicationWindow::ApplicationWindow(PreviewSink showPreview)
    : showPreview_(showPreview ? std::move(showPreview)
                               : [](SkinPreview p) { SkinService().ShowPreview(std::move(p)); }) {
  Window::RegisterClass({.name = kApplicationWindowClass, .background = nullptr});
  // Never shown: no size, and kept out of the task switcher should anything show it.
  Create({.className = kApplicationWindowClass,
          .text = kApplicationWindowTitle,
          .style = WS_POPUP,
          .exStyle = WS_EX_TOOLWINDOW,
          .x = 0,
          .y = 0,
          .width = 0,
          .height = 0});
}

bool ApplicationWindow::FilterMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    if (!data || !receiver_.Offer(result, wp, static_cast<const std::uint8_t*>(data->lpData),
                                  data->cbData)) {
      return false;
    }
    // Shown from the posted message, so that the sender is not kept waiting for the load.
    if (!::PostMessageW(Hwnd(), kPreviewPostedMessage, MAKEWPARAM(0, kPreviewPostedTag), 0)) {
      receiver_.Take(Codec());
      return false;
    }
    result = TRUE;
    return true;
  }
  if (msg == kPreviewPostedMessage && HIWORD(wp) == kPreviewPostedTag) {
    if (auto preview = receiver_.Take(Codec())) showPreview_(std::move(*preview));
    return true;
  }
  return false;
}

}  // namespace kq::skins
