#include "settings/SettingsDialog.h"

namespace kq {

const forms::ComponentClass TfmSettings::kClass{u"TfmSettings", &win::kFormClass};

std::vector<win::HandlerSlot> TfmSettings::Handlers() {
  using win::KeyPressHandler;
  using win::NotifyHandler;
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

}  // namespace kq
