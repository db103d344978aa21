// What the game settings dialog shows and writes, apart from its windows: each showing loads
// a SettingsView from N4Engine.ini, the controls show it, and OK writes it back.
#pragma once

#include "common/Error.h"
#include "common/IniDocument.h"
#include "settings/EngineSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kq {

// The dialog's controls and its current screen mode, named after them.
struct SettingsView {
  // The selected choice of each radio group; -1 selects none.
  std::int32_t RgTextures = 0;
  std::int32_t RgDynLight = 0;
  std::int32_t RgGlow = 0;
  std::int32_t RgShadows = 0;
  bool CbMusic = false;
  bool CbEff = false;
  bool CbMouseAcc = false;
  bool CbTextureDet = false;
  bool CbFullScr = false;       // "Игра в окне": checked when bFullScreen is clear
  std::u16string CbGamma;       // the text field, as read
  std::u16string CbResolution;  // the text field: the mode's text, or the picked entry's
  // The current screen mode: what OK writes, whatever the text field shows.
  std::int32_t ScreenXSize = 0;
  std::int32_t ScreenYSize = 0;
  std::int32_t RenderBits = 0;

  bool operator==(const SettingsView&) const = default;
};

// FormShow: every control from the file. A level below -1 shows as -1 (no choice), one at
// or above the group's number of choices as its last choice.
SettingsView LoadSettingsView(const IniDocument& ini);

// btnOkClick: every key, in the file's order, BboShasi right after DynamicLight. A refused
// write throws out of the writer and ends the saving there: the keys before it stay written,
// the rest are not written.
void SaveSettingsView(const SettingsView& view, EngineSettingsWriter& file);

// The error box's text when OK's writing was refused: the error and a full stop.
std::u16string WriteRefusedBoxText(const Error& error);

struct ResolutionEntry {
  std::u16string_view text;
  std::int32_t width;
  std::int32_t height;
  std::int32_t depth;
};

// CbResolution's list. Entry 25 holds the Cyrillic х (U+0445) as its first separator, and
// is shown as it stands; a pick takes the mode from the row, never from the text.
inline constexpr ResolutionEntry kResolutionTable[] = {
    {u"800x600x16", 800, 600, 16},
    {u"960x600x16", 960, 600, 16},
    {u"1024x768x16", 1024, 768, 16},
    {u"1088x612x16", 1088, 612, 16},
    {u"1152x854x16", 1152, 854, 16},
    {u"1280x720x16", 1280, 720, 16},
    {u"1280x768x16", 1280, 768, 16},
    {u"1280x800x16", 1280, 800, 16},
    {u"1280x960x16", 1280, 960, 16},
    {u"1220x1024x16", 1220, 1024, 16},
    {u"832x634x16", 832, 634, 16},
    {u"800x600x32", 800, 600, 32},
    {u"960x600x32", 960, 600, 32},
    {u"1024x768x32", 1024, 768, 32},
    {u"1088x612x32", 1088, 612, 32},
    {u"1152x854x32", 1152, 854, 32},
    {u"1280x720x32", 1280, 720, 32},
    {u"1280x768x32", 1280, 768, 32},
    {u"1280x800x32", 1280, 800, 32},
    {u"1280x960x32", 1280, 960, 32},
    {u"1220x1024x32", 1220, 1024, 32},
    {u"1440x900x32", 1440, 900, 32},
    {u"1680x1050x32", 1680, 1050, 32},
    {u"832x634x32", 832, 634, 32},
    {u"1800x900x32", 1800, 900, 32},
    {u"1920х1080x32", 1920, 1080, 32},
};

// CbResolutionSelect: entry `index` replaces the whole mode, and the text field shows the
// entry's text; an index outside the list (-1: nothing picked) changes nothing.
void PickResolution(SettingsView& view, int index);

// "1024x768x32": width, height and depth in decimal, joined by the Latin x.
std::u16string ScreenModeText(std::int32_t width, std::int32_t height, std::int32_t depth);

}  // namespace kq
