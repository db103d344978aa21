#include "settings/SettingsDialog.h"

#include "settings/SettingsTexts.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/RadioGroup.h"
#include "win/MessageBox.h"
#include "win/SystemText.h"

#include <iterator>

namespace kq {
namespace {

TfmSettings* g_fmSettings = nullptr;

// The controls and the SettingsView fields they show; the model knows the keys behind them.
struct RadioBinding {
  std::u16string_view control;
  std::int32_t SettingsView::*field;
};
const RadioBinding kRadios[] = {
    {kRgTextures.control, &SettingsView::RgTextures},
    {kRgDynLight.control, &SettingsView::RgDynLight},
    {kRgGlow.control, &SettingsView::RgGlow},
    {kRgShadows.control, &SettingsView::RgShadows},
};

struct CheckBinding {
  std::u16string_view control;
  bool SettingsView::*field;
};
const CheckBinding kChecks[] = {
    {u"CbMusic", &SettingsView::CbMusic},       {u"CbEff", &SettingsView::CbEff},
    {u"CbMouseAcc", &SettingsView::CbMouseAcc}, {u"CbTextureDet", &SettingsView::CbTextureDet},
    {u"CbFullScr", &SettingsView::CbFullScr},
};

struct ComboBinding {
  std::u16string_view control;
  std::u16string SettingsView::*field;
};
const ComboBinding kCombos[] = {
    {u"CbGamma", &SettingsView::CbGamma},
    {u"CbResolution", &SettingsView::CbResolution},
};

// The game's file is read and written in the system's ANSI code page, as the game does.
const AnsiCodec& FileCodec() {
  static const win::SystemAnsiCodec codec;
  return codec;
}

}  // namespace

const forms::ComponentClass TfmSettings::kClass{u"TfmSettings", &ui::kFormClass};

TfmSettings::~TfmSettings() {
  if (g_fmSettings == this) g_fmSettings = nullptr;
}

void TfmSettings::Create(HWND owner) {
  CreateForm({.owner = owner});
  g_fmSettings = this;
}

TfmSettings* TfmSettings::Instance() {
  return g_fmSettings;
}

std::vector<ui::HandlerSlot> TfmSettings::Handlers() {
  using ui::KeyPressHandler;
  using ui::NotifyHandler;
  return {
      {u"FormShow", NotifyHandler([this](auto&) { FormShow(); })},
      {u"CbResolutionSelect", NotifyHandler([this](auto&) { CbResolutionSelect(); })},
      {u"CbResolutionKeyPress",
       KeyPressHandler([this](auto&, wchar_t& k) { CbResolutionKeyPress(k); })},
      {u"CbGammaKeyPress", KeyPressHandler([this](auto&, wchar_t& k) { CbGammaKeyPress(k); })},
      {u"btnOkClick", NotifyHandler([this](auto&) { btnOkClick(); })},
      {u"btnCancelClick", NotifyHandler([this](auto&) { btnCancelClick(); })},
  };
}

// However the dialog closes (OK, Cancel, close box, system menu, Alt+F4) it hides, and the
// showing's accessor goes with it; closing without OK writes nothing.
void TfmSettings::OnHidden() {
  file_.reset();
}

void TfmSettings::FormShow() {
  // The path is worked out afresh on every showing; nothing stays open meanwhile.
  file_.emplace(EngineSettingsFilePath(), FileCodec());
  shown_ = LoadSettingsView(file_->Document());
  ShowView();
}

void TfmSettings::ShowView() {
  for (const RadioBinding& r : kRadios)
    Get<ui::RadioGroup>(r.control).SetItemIndex(shown_.*r.field);
  for (const CheckBinding& c : kChecks) Get<ui::CheckBox>(c.control).SetChecked(shown_.*c.field);
  for (const ComboBinding& c : kCombos) {
    auto& combo = Get<ui::ComboBox>(c.control);
    // A pick left from an earlier showing would make picking that entry again no change,
    // so the mode would not follow the text.
    combo.SetItemIndex(-1);
    combo.SetText(shown_.*c.field);
  }
}

SettingsView TfmSettings::ViewFromControls() const {
  SettingsView view = shown_;  // the current screen mode, as loaded or picked
  for (const RadioBinding& r : kRadios) view.*r.field = Get<ui::RadioGroup>(r.control).ItemIndex();
  for (const CheckBinding& c : kChecks) view.*c.field = Get<ui::CheckBox>(c.control).Checked();
  for (const ComboBinding& c : kCombos) view.*c.field = Get<ui::ComboBox>(c.control).Text();
  return view;
}

void TfmSettings::CbResolutionSelect() {
  auto& combo = Get<ui::ComboBox>(u"CbResolution");
  const int index = combo.ItemIndex();
  if (index < 0 || index >= std::ssize(kResolutionTable)) return;
  PickResolution(shown_, index);
  combo.SetText(shown_.CbResolution);
}

// Typed characters never reach the texts: they come from the file or from a picked entry.
// A Tab is what the single-line field ignores.
void TfmSettings::CbResolutionKeyPress(wchar_t& key) {
  key = L'\t';
}
void TfmSettings::CbGammaKeyPress(wchar_t& key) {
  key = L'\t';
}

void TfmSettings::btnOkClick() {
  if (!file_) return;
  try {
    SaveSettingsView(ViewFromControls(), *file_);
  } catch (const Error& e) {
    // The keys before the refused one stay written; the dialog closes after the box.
    win::ShowErrorBox(WriteRefusedBoxText(e));
  }
  file_.reset();
}

void TfmSettings::btnCancelClick() {
  file_.reset();
}

}  // namespace kq
