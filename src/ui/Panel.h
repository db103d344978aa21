// TPanel: a plain container with an outer and an inner bevel.
#pragma once

#include "ui/Container.h"

namespace kq::ui {

enum class Bevel { kNone, kRaised, kLowered };

class Panel final : public Container {
 public:
  struct CreateArgs {
    Bevel outer = Bevel::kRaised;
    Bevel inner = Bevel::kNone;
  };
  static CreateArgs ArgsOf(const forms::StoredComponent& c);

  using Container::Container;

 protected:
  void ReadArgs() override;
  WindowSpec Spec() const override;
  int ClientInset() const override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  CreateArgs args_;
};

}  // namespace kq::ui
