// What the in-process painting tests share: a form of the test program's resources
// (TfmPaintTest), small flat skins, running the message loop a while, and the process's live
// GDI and USER objects.
#pragma once

#include "paint/SkinImages.h"
#include "paint/SkinModel.h"
#include "resources/ModuleResources.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace kq::paint::test {

inline const forms::ComponentClass kPaintClass{u"TfmPaintTest", &ui::kFormClass};

class PaintForm final : public ui::Form {
 public:
  const forms::ComponentClass& ClassInfo() const override { return kPaintClass; }
};

struct Skin {
  std::shared_ptr<const SkinModel> model;
  std::shared_ptr<const SkinImages> images;
};

// A skin of colours only, from its option text.
inline Skin FlatSkin(std::u16string_view text) {
  const ModelResult built = BuildSkinModel(SkinIni::Parse(text));
  EXPECT_TRUE(built.errors.empty()) << (built.errors.empty() ? "" : "a model error");
  auto model = std::make_shared<const SkinModel>(built.model);
  std::shared_ptr<const SkinImages> images =
      SkinImages::Load(*model, [](const std::u16string&) { return std::optional<Bytes>(); });
  return {model, images};
}

inline void Pump(int ms = 150) {
  const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(10);
  } while (static_cast<int>(end - ::GetTickCount()) > 0);
}

// The process's live GDI and USER objects. Wine does not count them (GetGuiResources answers
// 0, "not implemented"), but its handle tables answer for a handle's low word whatever its
// generation, so there they are counted by asking for every low word.
struct GuiObjects {
  DWORD gdi = 0;
  DWORD user = 0;
  bool operator==(const GuiObjects&) const = default;
};
inline GuiObjects CountGuiObjects() {
  GuiObjects n{::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
               ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
  if (n.gdi != 0) return n;
  for (UINT_PTR h = 1; h < 0x10000; ++h) {
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(h))) ++n.gdi;
    if (::IsWindow(reinterpret_cast<HWND>(h)) || ::IsMenu(reinterpret_cast<HMENU>(h))) ++n.user;
  }
  return n;
}

// Forms read from this test program's resources while a test runs.
class PaintedFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::SetProgramModule(&module_);
    forms::SetFormResourceInitializer(&forms::InitFormFromResources);
  }
  void TearDown() override {
    forms::SetFormResourceInitializer(nullptr);
    forms::SetProgramModule(nullptr);
  }
  win::ModuleResources module_;
};

}  // namespace kq::paint::test
