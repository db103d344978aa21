#include "skins/ThirdPartyList.h"

#include "resources/FormValues.h"

#include <algorithm>

namespace kq {
namespace {

using K = ThirdPartyKind;
constexpr std::array<ThirdPartyKindInfo, kThirdPartyKindCount> kKinds = {{
    {K::kEdit, u"Edit", u"ThirdEdits"},
    {K::kButton, u"Button", u"ThirdButtons"},
    {K::kBitBtn, u"BitBtn", u"ThirdBitBtns"},
    {K::kCheckBox, u"CheckBox", u"ThirdCheckBoxes"},
    {K::kComboBox, u"ComboBox", u"ThirdComboBoxes"},
    {K::kGrid, u"Grid", u"ThirdGrids"},
    {K::kGroupBox, u"GroupBox", u"ThirdGroupBoxes"},
    {K::kListView, u"ListView", u"ThirdListViews"},
    {K::kPanel, u"Panel", u"ThirdPanels"},
    {K::kTreeView, u"TreeView", u"ThirdTreeViews"},
    {K::kWWEdit, u"wwEdit", u"ThirdWWEdits"},
    {K::kGridEh, u"GridEh", u"ThirdGridEh"},
    {K::kVirtualTree, u"VirtualTree", u"ThirdVirtualTrees"},
    {K::kPageControl, u"PageControl", u"ThirdPageControl"},
    {K::kTabControl, u"TabControl", u"ThirdTabControl"},
    {K::kToolBar, u"ToolBar", u"ThirdToolBar"},
    {K::kStatusBar, u"StatusBar", u"ThirdStatusBar"},
    {K::kSpeedButton, u"SpeedButton", u"ThirdSpeedButton"},
    {K::kScrollControl, u"ScrollControl", u"ThirdScrollControl"},
    {K::kUpDown, u"UpDownBtn", u"ThirdUpDown"},
    {K::kScrollBar, u"ScrollBar", u"ThirdScrollBar"},
    {K::kStaticText, u"StaticText", u"ThirdStaticText"},
    {K::kNativePaint, u"NativePaint", u"ThirdNativePaint"},
}};

constexpr bool KindsInOrder() {
  for (std::size_t i = 0; i < kThirdPartyKindCount; ++i) {
    if (static_cast<std::size_t>(kKinds[i].kind) != i) return false;
  }
  return true;
}
static_assert(KindsInOrder());

constexpr std::u16string_view kPrefix = u"ThirdParty.";
constexpr std::u16string_view kSuffix = u".Strings";

}  // namespace

const std::array<ThirdPartyKindInfo, kThirdPartyKindCount>& ThirdPartyKinds() {
  return kKinds;
}

void ThirdPartyList::FillDefaults() {
  for (const ThirdPartyKindInfo& info : kKinds) {
    auto& list = lists_[static_cast<std::size_t>(info.kind)];
    if (list.empty()) list = {info.kind == K::kButton ? u"TButton" : u" "};
  }
}

std::optional<ThirdPartyKind> ThirdPartyList::KindOf(std::u16string_view className) const {
  for (const ThirdPartyKindInfo& info : kKinds) {
    if (std::ranges::find(Classes(info.kind), className) != Classes(info.kind).end()) {
      return info.kind;
    }
  }
  return std::nullopt;
}

SkinDecision ThirdPartyList::Decide(ControlNature nature, std::u16string_view className,
                                    std::int64_t tag) const {
  if (nature == ControlNature::kForm) return {true, std::nullopt};
  if ((tag & kNoSkinTag) != 0) return {};
  switch (nature) {
    case ControlNature::kLabel:
    case ControlNature::kFrame:
      return {true, std::nullopt};
    case ControlNature::kGraphic:
      if (KindOf(className) == K::kSpeedButton) return {true, K::kSpeedButton};
      return {};
    default: {
      const auto kind = KindOf(className);
      return {kind.has_value(), kind};
    }
  }
}

bool ReadThirdPartyProperty(ThirdPartyList& lists, const forms::FormProperty& property) {
  const std::u16string_view name = property.name;
  if (name.size() <= kPrefix.size() + kSuffix.size() ||
      !forms::SameName(name.substr(0, kPrefix.size()), kPrefix) ||
      !forms::SameName(name.substr(name.size() - kSuffix.size()), kSuffix)) {
    return false;
  }
  const std::u16string_view inner =
      name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
  for (const ThirdPartyKindInfo& info : kKinds) {
    if (forms::SameName(inner, info.property)) {
      lists.SetClasses(info.kind, forms::StringsOf(&property.value));
      return true;
    }
  }
  return false;
}

}  // namespace kq
