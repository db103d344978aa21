// The stored settings of the skin manager beyond the choice of skin (its effects, extended
// borders) and of a window's skin provider, read from a window's layout. What is not stored
// keeps the component's default.
#pragma once

#include "paint/Animation.h"
#include "resources/FormStream.h"
#include "resources/FormValues.h"

#include <string>

namespace kq {

// The skin manager's settings that the painter acts on.
struct TsManagerEffects {
  paint::TacAnimEffects AnimEffects;
  bool ExtendedBorders = false;  // shadowed window borders, and the skin-change transition
  bool operator==(const TsManagerEffects&) const = default;
};

// A skin provider's settings; a form without a provider is drawn with these defaults.
struct TsProviderSettings {
  std::u16string SkinSection;  // the section the window is drawn with; empty: "FORM"
  bool MakeSkinMenu = false;
  bool ShowAppIcon = true;  // the program's icon in the skinned caption
  forms::FontSpec AddedTitleFont;
  int TitleButtons = 0;  // extra caption buttons stored; the launcher has none
  bool AllowBlendOnMoving = true;
  bool AllowAnimation = true;
  bool AllowExtBorders = true;
  bool DrawNonClientArea = true;
  bool DrawClientArea = true;
  bool UseGlobalColor = true;
  int SnapBuffer = 10;  // pixels; screen snapping is off
  bool operator==(const TsProviderSettings&) const = default;
};

// One stored property of the manager or the provider; true when it was one of these
// settings (a value of the wrong type leaves the setting as it was).
bool ReadManagerEffect(TsManagerEffects& effects, const forms::FormProperty& property);
bool ReadProviderSetting(TsProviderSettings& settings, const forms::FormProperty& property);

}  // namespace kq
