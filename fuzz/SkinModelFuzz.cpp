// libFuzzer target for the skin model: any option file builds a complete model within the
// bounds, whatever its faults. Every state of every section has a frame of its image (or
// none when there is no image), every number lies within its bounds, the diagnostics name
// real lines, and the same text builds the same model again.
#include "common/CodePage.h"
#include "paint/SkinModel.h"
#include "skins/SkinOptionFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace kq::paint;

void Require(bool ok) {
  if (!ok) std::abort();
}

// The bounds of the size key of each section, in their order; {0, 0} for none.
constexpr std::pair<int, int> kSizeBounds[kSectionCount] = {
    {0, 0},  {16, 64}, {1, 16}, {12, 48}, {12, 48}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {9, 32},
    {9, 32}, {0, 0},   {0, 0},  {0, 0},   {0, 0},   {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}};

void CheckImage(const ImageSpec& spec, std::span<const std::int8_t> frames) {
  Require(spec.frames >= 1 && spec.frames <= kMaxFrames);
  for (std::int8_t f : frames) Require(spec.Present() ? f >= 0 && f < spec.frames : f == -1);
  const Margins& m = spec.margins;
  for (int v : {m.left, m.top, m.right, m.bottom}) Require(v >= 0 && v <= kMaxMargin);
  if (!spec.Present()) return;
  Require(spec.file.find_first_of(u"\\/:") == std::u16string::npos);
  Require(spec.file.find(u"..") == std::u16string::npos);
  Require(spec.line >= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const kq::Cp1251Codec codec;
  const std::u16string text = kq::OptionFileText(kq::ByteView(data, size), codec);
  const kq::SkinIni ini = kq::SkinIni::Parse(text);
  const ModelResult result = BuildSkinModel(ini);
  const SkinModel& model = result.model;

  const int lines = static_cast<int>(std::count(text.begin(), text.end(), u'\n') +
                                     std::count(text.begin(), text.end(), u'\r')) +
                    1;
  for (const auto* list : {&result.errors, &result.warnings}) {
    for (const Diagnostic& d : *list) Require(d.line >= 1 && d.line <= lines && !d.text.empty());
    Require(std::ranges::is_sorted(*list, {}, &Diagnostic::line));
  }

  const auto files = model.ImageFiles();
  for (std::size_t i = 0; i < kSectionCount; ++i) {
    const SectionLook& look = model.sections[i];
    CheckImage(look.image, look.imageFrame);
    CheckImage(look.glyph, look.glyphFrame);
    for (const ImageSpec* spec : {&look.image, &look.glyph}) {
      if (spec->Present()) Require(std::ranges::count(files, spec->file) == 1);
    }
    for (const StateColors& c : look.states) {
      Require(c.color <= 0xFFFFFF && c.fontColor <= 0xFFFFFF && c.borderColor <= 0xFFFFFF);
    }
    Require(look.shadowColor <= 0xFFFFFF);
    const auto [low, high] = kSizeBounds[i];
    Require(look.size >= low && look.size <= high);
    Require(look.radius >= 0 && look.radius <= 16);
    Require(look.declared == (ini.SectionIndex(SectionName(static_cast<SectionId>(i))) >= 0));
  }

  const ModelResult again = BuildSkinModel(ini);
  Require(again.model == model && again.errors == result.errors &&
          again.warnings == result.warnings);
  return 0;
}
