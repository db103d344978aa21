#include "paint/SkinModel.h"

#include <algorithm>
#include <map>
#include <set>

namespace kq::paint {
namespace {

template <class E>
constexpr std::size_t At(E e) {
  return static_cast<std::size_t>(e);
}

constexpr Color Rgb(unsigned r, unsigned g, unsigned b) {
  return r | g << 8 | b << 16;
}
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kMaxColor = 0xFFFFFF;

// Half-way between two colours, channel by channel.
Color Mix(Color a, Color b) {
  Color out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const Color x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    out |= ((x + y + 1) / 2) << shift;
  }
  return out;
}

constexpr std::array<std::u16string_view, kSectionCount> kSectionNames = {
    u"FORM",        u"CAPTION",   u"BORDER",   u"CLOSEBUTTON", u"MINBUTTON", u"BUTTON", u"EDIT",
    u"LISTBOX",     u"SELECTION", u"CHECKBOX", u"RADIOBUTTON", u"GROUPBOX",  u"PANEL",  u"COMBOBOX",
    u"COMBOBUTTON", u"COMBOLIST", u"LABEL",    u"WEBLABEL",    u"SCROLLBAR", u"MENU"};
constexpr std::array<std::u16string_view, kStateCount> kStateNames = {
    u"NORMAL", u"HOT", u"PRESSED", u"FOCUSED", u"DISABLED", u"INACTIVE"};
constexpr std::array<std::u16string_view, kCheckCount> kCheckNames = {u"UNCHECKED", u"CHECKED",
                                                                      u"MIXED"};
// The state a state without a value of its own takes its value from; NORMAL is the root.
constexpr std::array<State, kStateCount> kFallback = {
    State::kNormal, State::kNormal, State::kHot, State::kNormal, State::kNormal, State::kNormal};

enum class ColorKey : std::uint8_t { kColor, kFont, kBorder };
constexpr std::size_t kColorKeyCount = 3;
constexpr std::array<std::u16string_view, kColorKeyCount> kColorKeyNames = {u"COLOR", u"FONTCOLOR",
                                                                            u"BORDERCOLOR"};

// The colour each key sets in a state.
constexpr std::array<Color StateColors::*, kColorKeyCount> kFields = {
    &StateColors::color, &StateColors::fontColor, &StateColors::borderColor};
Color& Field(StateColors& c, ColorKey key) {
  return c.*kFields[At(key)];
}
Color Field(const StateColors& c, ColorKey key) {
  return c.*kFields[At(key)];
}

// Where a colour that a section leaves out comes from.
struct Source {
  enum Kind : std::uint8_t { kConstant, kSection, kHalfway, kHalfwayToWhite } kind;
  Color constant = 0;
  SectionId section = SectionId::kForm;
};
constexpr Source Constant(Color c) {
  return {Source::kConstant, c};
}
constexpr Source From(SectionId s) {
  return {Source::kSection, 0, s};
}
constexpr Source kHalfway{Source::kHalfway};         // between the section's background and text
constexpr Source kToWhite{Source::kHalfwayToWhite};  // between the background and white

struct SizeKey {
  std::u16string_view name;  // empty: the section has none
  int min = 0, max = 0, fallback = 0;
};

struct SectionRule {
  SectionId id;
  std::array<Source, kColorKeyCount> colors;  // COLOR, FONTCOLOR, BORDERCOLOR
  // The section whose images, glyph and radius it takes when it names none.
  std::optional<SectionId> facesFrom;
  SizeKey size;
  bool checkGlyphs = false;  // GLYPHSTATES names check states
  bool captionText = false;  // ALIGN and BOLD
  bool shadow = false;       // SHADOWCOLOR
};

using S = SectionId;
constexpr std::array<Source, kColorKeyCount> Like(SectionId s) {
  return {From(s), From(s), From(s)};
}
constexpr std::array<Source, kColorKeyCount> kFormColors = {From(S::kForm), From(S::kForm),
                                                            kHalfway};

// The defaults of the authors' README, section by section.
constexpr std::array<SectionRule, kSectionCount> kRules = {{
    {S::kForm, {Constant(Rgb(0xF0, 0xF0, 0xF0)), Constant(kBlack), kHalfway}},
    {S::kCaption, kFormColors, {}, {u"HEIGHT", 16, 64, 24}, false, true},
    {S::kBorder, Like(S::kCaption), {}, {u"WIDTH", 1, 16, 4}},
    {S::kCloseButton, Like(S::kCaption), {}, {u"SIZE", 12, 48, 18}},
    {S::kMinButton, Like(S::kCaption), {}, {u"SIZE", 12, 48, 18}},
    {S::kButton, kFormColors},
    {S::kEdit, {Constant(kWhite), Constant(kBlack), kHalfway}},
    {S::kListBox, Like(S::kEdit), S::kEdit},
    {S::kSelection, {Constant(Rgb(0x33, 0x66, 0xCC)), Constant(kWhite), kHalfway}},
    {S::kCheckBox, kFormColors, {}, {u"SIZE", 9, 32, 13}, true},
    {S::kRadioButton, kFormColors, {}, {u"SIZE", 9, 32, 13}, true},
    {S::kGroupBox, kFormColors},
    {S::kPanel, {From(S::kForm), From(S::kForm), kToWhite}, {}, {}, false, false, true},
    {S::kComboBox, Like(S::kEdit), S::kEdit},
    {S::kComboButton, Like(S::kButton), S::kButton},
    {S::kComboList, Like(S::kListBox), S::kListBox},
    {S::kLabel, kFormColors},
    {S::kWebLabel, Like(S::kLabel)},
    {S::kScrollBar, {From(S::kForm), From(S::kButton), From(S::kButton)}, S::kButton},
    {S::kMenu, Like(S::kEdit)},
}};

// A state's default taken from another section, ahead of the state fallbacks.
struct StateDefault {
  SectionId section;
  ColorKey key;
  State state;
  SectionId from;
  ColorKey fromKey;
};
constexpr StateDefault kStateDefaults[] = {
    {S::kWebLabel, ColorKey::kFont, State::kHot, S::kSelection, ColorKey::kColor},
    {S::kMenu, ColorKey::kColor, State::kHot, S::kSelection, ColorKey::kColor},
    {S::kMenu, ColorKey::kFont, State::kHot, S::kSelection, ColorKey::kFont},
};

// Sections are resolved in order, so every section a default names comes earlier.
constexpr bool RulesInOrder() {
  for (std::size_t i = 0; i < kSectionCount; ++i) {
    const SectionRule& r = kRules[i];
    if (At(r.id) != i) return false;
    for (const Source& s : r.colors) {
      if (s.kind == Source::kSection && At(s.section) >= i) return false;
    }
    if (r.facesFrom && At(*r.facesFrom) >= i) return false;
  }
  for (const StateDefault& d : kStateDefaults) {
    if (At(d.from) >= At(d.section)) return false;
  }
  return true;
}
static_assert(RulesInOrder());

std::u16string Number(long long n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

// A value as quoted in a message, cut when long.
std::u16string Quoted(std::u16string_view value) {
  constexpr std::size_t kShown = 40;
  if (value.size() > kShown) return u"\"" + std::u16string(value.substr(0, kShown)) + u"...\"";
  return u"\"" + std::u16string(value) + u"\"";
}

template <std::size_t N>
std::optional<std::size_t> Find(const std::array<std::u16string_view, N>& names,
                                std::u16string_view name) {
  const auto it = std::ranges::find(names, name);
  if (it == names.end()) return std::nullopt;
  return static_cast<std::size_t>(it - names.begin());
}

template <std::size_t N>
std::u16string NameList(const std::array<std::u16string_view, N>& names) {
  std::u16string out;
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) out += i + 1 == N ? u" or " : u", ";
    out += names[i];
  }
  return out;
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

// Decimal digits only, read up to a bound: nullopt for anything else or a value above `max`.
std::optional<long long> Digits(std::u16string_view text, long long max) {
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > max) return std::nullopt;
  }
  return value;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

std::optional<Color> ParseColor(std::u16string_view text) {
  if (text.size() == 7 && text.front() == u'#') {
    Color rgb = 0;
    for (char16_t c : text.substr(1)) {
      const int d = HexDigit(c);
      if (d < 0) return std::nullopt;
      rgb = rgb << 4 | static_cast<Color>(d);
    }
    return Rgb(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
  }
  const auto n = Digits(text, kMaxColor);
  if (!n) return std::nullopt;
  return static_cast<Color>(*n);
}

std::optional<int> ParseInt(std::u16string_view text, int min, int max) {
  const auto n = Digits(text, max);
  if (!n || *n < min) return std::nullopt;
  return static_cast<int>(*n);
}

std::vector<std::u16string_view> SplitList(std::u16string_view text) {
  std::vector<std::u16string_view> parts;
  for (;;) {
    const std::size_t comma = text.find(u',');
    parts.push_back(Trim(text.substr(0, comma)));
    if (comma == std::u16string_view::npos) return parts;
    text.remove_prefix(comma + 1);
  }
}

std::optional<Margins> ParseMargins(std::u16string_view text) {
  const auto parts = SplitList(text);
  if (parts.size() != 4) return std::nullopt;
  std::array<int, 4> m{};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto n = ParseInt(parts[i], 0, kMaxMargin);
    if (!n) return std::nullopt;
    m[i] = *n;
  }
  return Margins{m[0], m[1], m[2], m[3]};
}

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view end) {
  if (text.size() < end.size()) return false;
  return std::ranges::equal(text.substr(text.size() - end.size()), end, [](char16_t a, char16_t b) {
    return (a >= u'a' && a <= u'z' ? a - 0x20 : a) == b;
  });
}

// A file of the skin's own folder: no folder part, nothing a file name cannot hold.
bool IsImageFileName(std::u16string_view name) {
  constexpr std::size_t kMaxName = 128;
  if (name.size() > kMaxName || name.find(u"..") != std::u16string_view::npos) return false;
  for (char16_t c : name) {
    if (c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) {
      return false;
    }
  }
  return (EndsWithIgnoringCase(name, u".PNG") || EndsWithIgnoringCase(name, u".BMP")) &&
         name.size() > 4;
}

// Which frame of an image each check state and state is, before the fallbacks; -1 none.
struct FrameList {
  int frames = 1;
  std::array<std::int8_t, kCheckCount * kStateCount> frameOf{};
};

FrameList SingleFrame() {
  FrameList list;
  list.frameOf.fill(-1);
  list.frameOf[At(State::kNormal)] = 0;
  return list;
}

// STATES or GLYPHSTATES: state names, or in check sections check states with an optional
// ".STATE". The text of the fault when the list is not one.
std::variant<FrameList, std::u16string> ParseFrameList(std::u16string_view text, bool checks) {
  const auto names = SplitList(text);
  if (names.size() > static_cast<std::size_t>(kMaxFrames)) {
    return u"names " + Number(static_cast<long long>(names.size())) + u" frames, more than " +
           Number(kMaxFrames);
  }
  FrameList list;
  list.frames = static_cast<int>(names.size());
  list.frameOf.fill(-1);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::u16string_view name = names[i];
    std::size_t check = At(Check::kUnchecked);
    std::u16string_view stateName = name;
    if (checks) {
      const std::size_t dot = name.find(u'.');
      const auto c = Find(kCheckNames, name.substr(0, dot));
      if (!c) {
        return u"names " + Quoted(name) + u", which is not a check state: " +
               NameList(kCheckNames) + u", each with an optional .STATE";
      }
      check = *c;
      stateName = dot == std::u16string_view::npos ? kStateNames[0] : name.substr(dot + 1);
    }
    const auto state = Find(kStateNames, stateName);
    if (!state)
      return u"names " + Quoted(name) + u", which is not a state: " + NameList(kStateNames);
    std::int8_t& slot = list.frameOf[check * kStateCount + *state];
    if (slot >= 0) return u"names " + Quoted(name) + u" twice";
    slot = static_cast<std::int8_t>(i);
  }
  if (list.frameOf[At(State::kNormal)] < 0) {
    return checks ? u"names no UNCHECKED frame" : u"names no NORMAL frame";
  }
  return list;
}

// Every check state and state's frame after the fallbacks: the state's fallbacks within its
// check state, then the same within UNCHECKED, which always ends at a frame.
std::array<std::int8_t, kCheckCount * kStateCount> ResolveFrames(const FrameList& list) {
  const auto within = [&](std::size_t check, State s) -> std::int8_t {
    for (;;) {
      const std::int8_t f = list.frameOf[check * kStateCount + At(s)];
      if (f >= 0 || s == State::kNormal) return f;
      s = kFallback[At(s)];
    }
  };
  std::array<std::int8_t, kCheckCount * kStateCount> out{};
  for (std::size_t c = 0; c < kCheckCount; ++c) {
    for (std::size_t s = 0; s < kStateCount; ++s) {
      const std::int8_t f = within(c, static_cast<State>(s));
      out[c * kStateCount + s] = f >= 0 ? f : within(At(Check::kUnchecked), static_cast<State>(s));
    }
  }
  return out;
}

template <class T>
struct Given {
  std::optional<T> value;
  int line = 0;  // 0: the key is absent
};

// What one section of the option file gives, before defaults.
struct SectionRead {
  bool declared = false;
  std::array<std::array<std::optional<Color>, kStateCount>, kColorKeyCount> colors;
  std::optional<Color> shadow;
  Given<std::u16string> image, glyph;
  Given<FrameList> states, glyphStates;
  Given<Margins> margins;
  Given<DrawMode> mode;
  std::optional<int> radius, size;
  std::optional<Align> align;
  std::optional<bool> bold;
};

constexpr std::u16string_view kColorRule =
    u"is not a colour: #RRGGBB, or a decimal number from 0 to 16777215";
constexpr std::array<std::u16string_view, 3> kModeNames = {u"NINE", u"TILE", u"STRETCH"};
constexpr std::array<std::u16string_view, 3> kAlignNames = {u"LEFT", u"CENTER", u"RIGHT"};

template <class E>
auto Enum(const std::array<std::u16string_view, 3>& names) {
  return [&names](std::u16string_view v) -> std::optional<E> {
    const auto i = Find(names, v);
    if (!i) return std::nullopt;
    return static_cast<E>(*i);
  };
}
auto Bounded(int min, int max) {
  return [min, max](std::u16string_view v) { return ParseInt(v, min, max); };
}

class Reader {
 public:
  explicit Reader(ModelResult& result) : result_(result) {}

  void Section(const SkinIni::Section& section, const SectionRule& rule, SectionRead& read) {
    read.declared = true;
    std::map<std::u16string, int, std::less<>> seen;  // the keys read, by their line
    for (const SkinIni::Key& key : section.keys) {
      const std::u16string where = u"[" + section.name + u"] " + key.name;
      const auto [it, added] = seen.try_emplace(Canonical(key.name), key.line);
      if (!added) {
        Warn(key.line,
             where + u" is given again; the value of line " + Number(it->second) + u" is used");
        continue;
      }
      if (!Key(key, rule, read, where)) {
        Warn(key.line, where + u" is not a key of [" + section.name + u"]; it is ignored");
      }
    }
    WarnUnused(read.states.line, read.image.line, section.name, u"STATES", u"IMAGE");
    WarnUnused(read.margins.line, read.image.line, section.name, u"MARGINS", u"IMAGE");
    WarnUnused(read.mode.line, read.image.line, section.name, u"MODE", u"IMAGE");
    WarnUnused(read.glyphStates.line, read.glyph.line, section.name, u"GLYPHSTATES", u"GLYPH");
  }

  void Warn(int line, std::u16string text) { result_.warnings.push_back({line, std::move(text)}); }

 private:
  // The key as the slot it fills: a colour key without a state is its NORMAL value.
  static std::u16string Canonical(std::u16string_view name) {
    if (Find(kColorKeyNames, name)) return std::u16string(name) + u".NORMAL";
    return std::u16string(name);
  }

  void Fail(int line, const std::u16string& where, std::u16string_view value,
            std::u16string_view rule) {
    result_.errors.push_back({line, where + u": " + Quoted(value) + u" " + std::u16string(rule)});
  }

  template <class T, class Parse>
  void Store(const SkinIni::Key& key, const std::u16string& where, std::optional<T>& slot,
             Parse parse, std::u16string_view rule) {
    if (auto v = parse(key.value)) {
      slot = std::move(*v);
    } else {
      Fail(key.line, where, key.value, rule);
    }
  }

  // False when the section has no such key.
  bool Key(const SkinIni::Key& key, const SectionRule& rule, SectionRead& read,
           const std::u16string& where) {
    const std::u16string_view name = key.name;
    const std::size_t dot = name.find(u'.');
    const std::u16string_view base = name.substr(0, dot);
    if (const auto colorKey = Find(kColorKeyNames, base)) {
      std::size_t state = At(State::kNormal);
      if (dot != std::u16string_view::npos) {
        const auto s = Find(kStateNames, name.substr(dot + 1));
        if (!s) return false;
        state = *s;
      }
      Store(key, where, read.colors[*colorKey][state], ParseColor, kColorRule);
      return true;
    }
    if (dot != std::u16string_view::npos) return false;

    if (name == u"IMAGE" || name == u"GLYPH") {
      Given<std::u16string>& file = name == u"IMAGE" ? read.image : read.glyph;
      file.line = key.line;
      Store(
          key, where, file.value,
          [](std::u16string_view v) {
            return IsImageFileName(v) ? std::optional(std::u16string(v)) : std::nullopt;
          },
          u"is not an image file of the skin's folder: a .png or .bmp name without a folder "
          u"part or \"..\"");
    } else if (name == u"STATES" || name == u"GLYPHSTATES") {
      const bool glyph = name == u"GLYPHSTATES";
      Given<FrameList>& list = glyph ? read.glyphStates : read.states;
      list.line = key.line;
      auto parsed = ParseFrameList(key.value, glyph && rule.checkGlyphs);
      if (auto* fault = std::get_if<std::u16string>(&parsed)) {
        Fail(key.line, where, key.value, *fault);
      } else {
        list.value = std::get<FrameList>(parsed);
      }
    } else if (name == u"MARGINS") {
      read.margins.line = key.line;
      Store(key, where, read.margins.value, ParseMargins,
            u"is not four margins left,top,right,bottom from 0 to " + Number(kMaxMargin));
    } else if (name == u"MODE") {
      read.mode.line = key.line;
      Store(key, where, read.mode.value, Enum<DrawMode>(kModeNames),
            u"is none of NINE, TILE, STRETCH");
    } else if (name == u"RADIUS") {
      Store(key, where, read.radius, Bounded(0, 16), u"is not a whole number from 0 to 16");
    } else if (!rule.size.name.empty() && name == rule.size.name) {
      Store(
          key, where, read.size, Bounded(rule.size.min, rule.size.max),
          u"is not a whole number from " + Number(rule.size.min) + u" to " + Number(rule.size.max));
    } else if (rule.captionText && name == u"ALIGN") {
      Store(key, where, read.align, Enum<Align>(kAlignNames), u"is none of LEFT, CENTER, RIGHT");
    } else if (rule.captionText && name == u"BOLD") {
      Store(
          key, where, read.bold,
          [](std::u16string_view v) {
            const auto n = ParseInt(v, 0, 1);
            return n ? std::optional(*n == 1) : std::nullopt;
          },
          u"is neither 0 nor 1");
    } else if (rule.shadow && name == u"SHADOWCOLOR") {
      Store(key, where, read.shadow, ParseColor, kColorRule);
    } else {
      return false;
    }
    return true;
  }

  void WarnUnused(int line, int ownerLine, const std::u16string& section, std::u16string_view key,
                  std::u16string_view owner) {
    if (line == 0 || ownerLine != 0) return;
    Warn(line, u"[" + section + u"] " + std::u16string(key) + u" without " + std::u16string(owner) +
                   u" in this section is ignored");
  }

  ModelResult& result_;
};

void CheckGlobalInfo(const SkinIni::Section& section, Reader& reader) {
  constexpr std::array<std::u16string_view, 3> kKeys = {u"VERSION", u"AUTHOR", u"DESCRIPTION"};
  for (const SkinIni::Key& key : section.keys) {
    if (!Find(kKeys, key.name)) {
      reader.Warn(key.line, u"[" + section.name + u"] " + key.name +
                                u" is not a key of [GLOBALINFO]; it is ignored");
    }
  }
}

// A section's colours: the state's own value (or its default from another section), else its
// fallback in the section when the section gives one along the way, else the default.
void ResolveColors(const SectionRule& rule, const SectionRead& read, const SkinModel& model,
                   SectionLook& look) {
  std::array<std::array<std::optional<Color>, kStateCount>, kColorKeyCount> own = read.colors;
  for (const StateDefault& d : kStateDefaults) {
    auto& slot = own[At(d.key)][At(d.state)];
    if (d.section == rule.id && !slot) {
      slot = Field(model[d.from].In(State::kNormal), d.fromKey);
    }
  }
  const auto ownAlong = [&](std::size_t key, State s) {
    for (;;) {
      if (own[key][At(s)]) return true;
      if (s == State::kNormal) return false;
      s = kFallback[At(s)];
    }
  };
  const auto value = [&](ColorKey key, State s) -> Color { return Field(look.states[At(s)], key); };
  const auto disabledText = [&] {
    return Mix(value(ColorKey::kFont, State::kNormal), value(ColorKey::kColor, State::kDisabled));
  };
  for (std::size_t k = 0; k < kColorKeyCount; ++k) {
    const auto key = static_cast<ColorKey>(k);
    for (std::size_t s = 0; s < kStateCount; ++s) {
      const auto state = static_cast<State>(s);
      const bool disabledFont = key == ColorKey::kFont && state == State::kDisabled;
      Color& out = Field(look.states[s], key);
      if (own[k][s]) {
        out = *own[k][s];
      } else if (state != State::kNormal && ownAlong(k, kFallback[s])) {
        out = disabledFont ? disabledText() : value(key, kFallback[s]);
      } else {
        const Source& src = rule.colors[k];
        switch (src.kind) {
          case Source::kConstant:
            out = disabledFont ? disabledText() : src.constant;
            break;
          case Source::kSection:
            out = Field(model[src.section].In(state), key);
            break;
          case Source::kHalfway:
            out = Mix(value(ColorKey::kColor, state), value(ColorKey::kFont, state));
            break;
          case Source::kHalfwayToWhite:
            out = Mix(value(ColorKey::kColor, state), kWhite);
            break;
        }
      }
    }
  }
  look.shadowColor = read.shadow.value_or(Mix(look.In(State::kNormal).color, kBlack));
}

void ResolveFaces(const SectionRule& rule, const SectionRead& read, const SkinModel& model,
                  SectionLook& look) {
  const SectionLook* source = rule.facesFrom ? &model[*rule.facesFrom] : nullptr;
  if (read.image.value) {
    const FrameList list = read.states.value.value_or(SingleFrame());
    look.image = {.file = *read.image.value,
                  .frames = list.frames,
                  .margins = read.margins.value.value_or(Margins{}),
                  .mode = read.mode.value.value_or(DrawMode::kNineSlice),
                  .line = read.image.line};
    const auto frames = ResolveFrames(list);
    std::copy_n(frames.begin(), kStateCount, look.imageFrame.begin());
  } else if (source) {
    look.image = source->image;
    look.imageFrame = source->imageFrame;
  } else {
    look.imageFrame.fill(-1);
  }
  if (read.glyph.value) {
    const FrameList list = read.glyphStates.value.value_or(SingleFrame());
    look.glyph = {.file = *read.glyph.value, .frames = list.frames, .line = read.glyph.line};
    look.glyphFrame = ResolveFrames(list);
  } else if (source) {
    look.glyph = source->glyph;
    look.glyphFrame = source->glyphFrame;
  } else {
    look.glyphFrame.fill(-1);
  }
  look.radius = read.radius.value_or(source ? source->radius : 0);
}

}  // namespace

std::u16string_view SectionName(SectionId id) {
  return kSectionNames[At(id)];
}

std::optional<SectionId> FindSection(std::u16string_view name) {
  const auto i = Find(kSectionNames, name);
  if (!i) return std::nullopt;
  return static_cast<SectionId>(*i);
}

std::vector<std::u16string> SkinModel::ImageFiles() const {
  std::vector<std::u16string> files;
  for (const SectionLook& look : sections) {
    for (const ImageSpec* spec : {&look.image, &look.glyph}) {
      if (spec->Present() && std::ranges::find(files, spec->file) == files.end()) {
        files.push_back(spec->file);
      }
    }
  }
  return files;
}

ModelResult BuildSkinModel(const SkinIni& ini) {
  ModelResult result;
  Reader reader(result);
  std::array<SectionRead, kSectionCount> reads;
  for (const SkinIni::Section& section : ini.Sections()) {
    if (const auto id = FindSection(section.name)) {
      reader.Section(section, kRules[At(*id)], reads[At(*id)]);
    } else if (section.name == u"GLOBALINFO") {
      CheckGlobalInfo(section, reader);
    } else {
      reader.Warn(section.line,
                  u"[" + section.name + u"] is not a section of a skin; it is ignored");
    }
  }

  SkinModel& model = result.model;
  for (std::size_t i = 0; i < kSectionCount; ++i) {
    const SectionRule& rule = kRules[i];
    const SectionRead& read = reads[i];
    SectionLook& look = model.sections[i];
    look.declared = read.declared;
    ResolveColors(rule, read, model, look);
    ResolveFaces(rule, read, model, look);
    look.size = read.size.value_or(rule.size.fallback);
    look.align = read.align.value_or(Align::kLeft);
    look.bold = read.bold.value_or(false);
  }

  const auto byLine = [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; };
  std::ranges::stable_sort(result.errors, byLine);
  std::ranges::stable_sort(result.warnings, byLine);
  return result;
}

std::optional<std::u16string> CheckImageSize(const ImageSpec& spec, int width, int height) {
  const std::u16string size = Number(width) + u" x " + Number(height) + u" pixels";
  if (width < 1 || height < 1) return spec.file + u" is empty (" + size + u")";
  if (width > kMaxImageSide || height > kMaxImageSide ||
      std::int64_t{width} * height > kMaxImagePixels) {
    return spec.file + u" is " + size + u"; an image may have at most " + Number(kMaxImageSide) +
           u" x " + Number(kMaxImageSide) + u" and " + Number(kMaxImagePixels) + u" pixels";
  }
  const int frames = std::max(spec.frames, 1);
  if (width % frames != 0) {
    return spec.file + u" is " + Number(width) + u" pixels wide, which is not " + Number(frames) +
           u" frames of equal width";
  }
  const int frameWidth = width / frames;
  const Margins& m = spec.margins;
  if (m.left + m.right >= frameWidth || m.top + m.bottom >= height) {
    return spec.file + u": MARGINS " + Number(m.left) + u"," + Number(m.top) + u"," +
           Number(m.right) + u"," + Number(m.bottom) + u" leave nothing to stretch in a frame of " +
           Number(frameWidth) + u" x " + Number(height) + u" pixels";
  }
  return std::nullopt;
}

std::vector<Diagnostic> CheckImages(const SkinModel& model, const ImageProbe& probe) {
  std::map<std::u16string, std::variant<ImageSize, std::u16string>> probed;
  std::set<std::pair<int, std::u16string>> reported;  // one message per line and text
  std::vector<Diagnostic> faults;
  for (const SectionLook& look : model.sections) {
    for (const ImageSpec* spec : {&look.image, &look.glyph}) {
      if (!spec->Present()) continue;
      auto it = probed.find(spec->file);
      if (it == probed.end()) it = probed.emplace(spec->file, probe(spec->file)).first;
      std::optional<std::u16string> fault;
      if (const auto* why = std::get_if<std::u16string>(&it->second)) {
        fault = *why;
      } else {
        const ImageSize& size = std::get<ImageSize>(it->second);
        fault = CheckImageSize(*spec, size.width, size.height);
      }
      if (fault && reported.emplace(spec->line, *fault).second) {
        faults.push_back({spec->line, std::move(*fault)});
      }
    }
  }
  std::ranges::stable_sort(
      faults, [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
  return faults;
}

}  // namespace kq::paint
