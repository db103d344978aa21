// The game client's engine settings file N4Engine.ini: the keys the launcher touches, how
// their values are encoded, and the writer through which they go back into the file.
//
// Reading is IniDocument's: GetInt (hexadecimal after "0x", decimal with a sign, the
// default for an absent or malformed value) and GetString (the default only when absent).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kq {

inline constexpr std::u16string_view kEngineSettingsFileName = u"N4Engine.ini";

enum class EngineValueKind {
  kLevel,    // an index into the dialog's choices for the setting; -1 for none
  kInteger,  // signed 32-bit, written in plain decimal
  kFlag,     // "TRUE" or "FALSE"
  kText,     // free text, written back as it was read
};

struct EngineKey {
  std::u16string_view section;
  std::u16string_view name;
  EngineValueKind kind;
  std::int32_t number_default;       // levels and integers
  std::u16string_view text_default;  // flags (as their stored text) and text
};

inline constexpr std::u16string_view kRenderStateSection = u"RenderState";
inline constexpr std::u16string_view kSoundSection = u"Sound";

// Spelled as the game spells them, bMouseAccelation and BboShasi included.
// clang-format off
inline constexpr EngineKey kTextureDetailKey    {kRenderStateSection, u"TextureDetail",    EngineValueKind::kLevel,   0,   {}};
inline constexpr EngineKey kDynamicLightKey     {kRenderStateSection, u"DynamicLight",     EngineValueKind::kLevel,   0,   {}};
inline constexpr EngineKey kBboShasiKey         {kRenderStateSection, u"BboShasi",         EngineValueKind::kLevel,   0,   {}};
inline constexpr EngineKey kShadowDetailKey     {kRenderStateSection, u"ShadowDetail",     EngineValueKind::kLevel,   0,   {}};
inline constexpr EngineKey kMusicKey            {kSoundSection,       u"Music",            EngineValueKind::kFlag,    0,   u"TRUE"};
inline constexpr EngineKey kSoundEffectsKey     {kSoundSection,       u"Sound",            EngineValueKind::kFlag,    0,   u"TRUE"};
inline constexpr EngineKey kMouseAccelerationKey{kRenderStateSection, u"bMouseAccelation", EngineValueKind::kFlag,    0,   u"TRUE"};
inline constexpr EngineKey kDetailTextureKey    {kRenderStateSection, u"bDetailTexture",   EngineValueKind::kFlag,    0,   u"TRUE"};
inline constexpr EngineKey kFullScreenKey       {kRenderStateSection, u"bFullScreen",      EngineValueKind::kFlag,    0,   u"FALSE"};
inline constexpr EngineKey kGammaKey            {kRenderStateSection, u"Gamma",            EngineValueKind::kText,    0,   u"1.2"};
inline constexpr EngineKey kScreenXSizeKey      {kRenderStateSection, u"ScreenXSize",      EngineValueKind::kInteger, 800, {}};
inline constexpr EngineKey kScreenYSizeKey      {kRenderStateSection, u"ScreenYSize",      EngineValueKind::kInteger, 600, {}};
inline constexpr EngineKey kRenderBitsKey       {kRenderStateSection, u"RenderBits",       EngineValueKind::kInteger, 16,  {}};
// clang-format on

// Flags are stored as "TRUE" and "FALSE"; only the exact "TRUE" (case and length) is set.
constexpr std::u16string_view FlagToText(bool set) {
  return set ? u"TRUE" : u"FALSE";
}
constexpr bool TextToFlag(std::u16string_view text) {
  return text == u"TRUE";
}

// Decimal text of a value: a leading "-" for negatives, no leading zeros.
std::u16string DecimalText(std::int32_t value);

// Where the settings go back, one key at a time, each write complete before it returns.
// A write the system refuses throws kq::Error "Unable to write to <full path>" and leaves
// the file as it was before that key.
class EngineSettingsWriter {
 public:
  virtual ~EngineSettingsWriter() = default;
  virtual void WriteText(std::u16string_view section, std::u16string_view key,
                         std::u16string_view value) = 0;
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value) {
    WriteText(section, key, DecimalText(value));
  }
};

}  // namespace kq
