// TGroupBox: a captioned frame around other controls. It has no options of its own.
#pragma once

#include "ui/Container.h"

namespace kq::ui {

class GroupBox final : public Container {
 public:
  using Container::Container;

 protected:
  WindowSpec Spec() const override { return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT}; }
  Part LookPart() const override { return Part::kGroupBox; }
};

}  // namespace kq::ui
