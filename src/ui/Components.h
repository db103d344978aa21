// The component registry: which class names a layout may use and what each one makes.
// The framework registers its control kinds; a subsystem adds its own components (the skin
// manager) at start-up, before the first window.
#pragma once

#include "resources/FormLoader.h"

#include <memory>
#include <string_view>

namespace kq::ui {

class Form;

using ComponentFactory = std::unique_ptr<forms::StoredComponent> (*)(Form& form);
// Makes a class name known to layouts; replaces a built-in of the same name.
void RegisterComponentClass(std::u16string_view className, ComponentFactory factory);

// A new component of a class a layout names, for the form; null when the class is unknown.
std::unique_ptr<forms::StoredComponent> CreateComponent(Form& form, std::u16string_view className);

// The registered class of a component read from a layout (its stored class name).
const forms::ComponentClass& ClassInfoOf(const forms::StoredComponent& c);

// A component without a window (the skin provider): it keeps its stored properties.
class NonVisualComponent : public forms::StoredComponent {
 public:
  explicit NonVisualComponent(Form& form) : form_(form) {}
  const forms::ComponentClass& ClassInfo() const override;
  Form& OwnerForm() const { return form_; }

 protected:
  std::unique_ptr<forms::StoredComponent> CreateChild(std::u16string_view className) override;

 private:
  Form& form_;
};

}  // namespace kq::ui
