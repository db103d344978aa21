// TPanel: a plain container with an outer and an inner bevel.
#pragma once

#include "ui/Container.h"

namespace kq::ui {

class Panel final : public Container {
 public:
  struct CreateArgs {
    Bevels bevels;  // BevelOuter, BevelInner
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c);

  using Container::Container;

 protected:
  void ReadArgs() override;
  WindowSpec Spec() const override;
  Part LookPart() const override { return Part::kPanel; }
  int ClientInset() const override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  CreateArgs args_;
};

}  // namespace kq::ui
