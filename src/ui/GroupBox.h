// TGroupBox: a captioned frame around other controls. It has no options of its own.
#pragma once

#include "ui/Container.h"

namespace kq::ui {

class GroupBox final : public Container {
 public:
  using Container::Container;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  WindowSpec Spec() const override { return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT}; }
};

}  // namespace kq::ui
