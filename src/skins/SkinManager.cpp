#include "skins/SkinManager.h"

#include "common/CommandLine.h"
#include "paint/ShadowImages.h"
#include "paint/SkinPainter.h"
#include "resources/FormValues.h"
#include "skins/SkinProvider.h"
#include "skins/SkinService.h"
#include "skins/ThirdPartyList.h"
#include "win/MessageBox.h"
#include "win/Win.h"

namespace kq::skins {

std::vector<std::u16string> CommandLineArguments() {
  return SplitCommandLine(win::U16(::GetCommandLineW()));
}

void StartSkinEngine() {
  TsSkinManager::Register();
  TsSkinProvider::Register();
  paint::SkinPainter::Instance().SetShadowImages(
      paint::ShadowImages::Load(paint::ModulePngResources()));
  if (HasSwitch(CommandLineArguments(), u"/acver")) {
    const std::u16string text = u"Skin engine v" + std::u16string(kSkinEngineVersion);
    win::ShowMessageBox(win::MessageKind::kPlain, text, u"KQMiniLauncher");
  }
}

TsSkinManager::TsSkinManager(ui::Form& form) : ui::NonVisualComponent(form) {}

void TsSkinManager::Register() {
  ui::RegisterComponentClass(u"TsSkinManager", [](ui::Form& form) {
    return std::unique_ptr<forms::StoredComponent>(new TsSkinManager(form));
  });
}

void TsSkinManager::Loaded() {
  TsSkinSelection& selection = SkinService();
  selection.BeginLoading();
  for (const forms::FormProperty& p : Properties()) {
    if (ReadThirdPartyProperty(selection.ThirdParty, p)) continue;
    if (ReadManagerEffect(selection.Effects, p)) continue;
    if (forms::SameName(p.name, u"Active")) {
      if (auto on = forms::BoolOf(&p.value)) selection.SetActive(*on);
    } else if (forms::SameName(p.name, kInternalSkinsProperty)) {
      // The catalogue moves to the skin service; the layout keeps no second copy of it.
      selection.SetInternalSkins(ReadStoredSkins(TakeValue(p.name)));
    } else if (forms::SameName(p.name, u"SkinDirectory")) {
      if (auto dir = forms::TextOf(&p.value)) selection.SetSkinDirectory(*dir);
    } else if (forms::SameName(p.name, u"SkinName")) {
      if (auto name = forms::TextOf(&p.value)) selection.SetSkinName(*name);
    }
  }
  selection.ThirdParty.FillDefaults();
  selection.EndLoading();
}

}  // namespace kq::skins
