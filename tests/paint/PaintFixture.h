// What the painter's tests share: a form of the test program's resources and small flat
// skins built from option text.
#pragma once

#include "../win/RunningLauncher.h"
#include "paint/SkinImages.h"
#include "paint/SkinPainter.h"
#include "resources/ModuleResources.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace kq::paint {

inline const forms::ComponentClass kPaintClass{u"TfmPaintTest", &ui::kFormClass};

class PaintForm final : public ui::Form {
 public:
  const forms::ComponentClass& ClassInfo() const override { return kPaintClass; }
};

struct Skin {
  std::shared_ptr<const SkinModel> model;
  std::shared_ptr<const SkinImages> images;
};

inline Skin FlatSkin(std::u16string_view text) {
  const ModelResult built = BuildSkinModel(SkinIni::Parse(text));
  EXPECT_TRUE(built.errors.empty()) << (built.errors.empty() ? "" : "a model error");
  auto model = std::make_shared<const SkinModel>(built.model);
  std::shared_ptr<const SkinImages> images =
      SkinImages::Load(*model, [](const std::u16string&) { return std::optional<Bytes>(); });
  return {model, images};
}

inline void Pump(int ms = 150) {
  win::test::PumpMessages(ms);
}

using win::test::CountGuiObjects;
using win::test::GuiObjects;

class PaintFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::SetProgramModule(&module_);
    forms::SetFormResourceInitializer(&forms::InitFormFromResources);
  }
  void TearDown() override {
    SkinPainter::Instance().Remove();
    forms::SetFormResourceInitializer(nullptr);
    forms::SetProgramModule(nullptr);
  }
  win::ModuleResources module_;
};

}  // namespace kq::paint
