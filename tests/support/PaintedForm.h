// What the in-process painting tests share: a form of the test program's resources
// (TfmPaintTest), small flat skins, and running the message loop a while.
#pragma once

#include "../win/RunningLauncher.h"
#include "ProgramForms.h"
#include "paint/SkinImages.h"
#include "paint/SkinModel.h"
#include "paint/SkinPainter.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <functional>
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
  win::test::PumpMessages(ms);
}

using win::test::CountGuiObjects;
using win::test::GuiObjects;

// Runs a round of skin switching once (what the system makes once for a process, its window
// menu, the bitmaps of its marks, is not the painter's), then a hundred rounds, and expects
// the process's GDI and USER object counts where the first round left them.
inline void ExpectSwitchingLeavesNoObjects(const std::function<void(int)>& round) {
  round(0);
  SkinPainter::Instance().Remove();
  Pump();
  const GuiObjects before = CountGuiObjects();
  ASSERT_GT(before.gdi, 0u);
  for (int i = 0; i < 100; ++i) round(i);
  SkinPainter::Instance().Remove();
  Pump();
  EXPECT_EQ(CountGuiObjects(), before);
}

// Forms read from this test program's resources while a test runs.
class PaintedFormTest : public kq::test::ProgramFormsTest {};

}  // namespace kq::paint::test
