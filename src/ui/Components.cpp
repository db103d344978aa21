#include "ui/Components.h"

#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/ListBox.h"
#include "ui/Panel.h"
#include "ui/RadioGroup.h"
#include "ui/WebLabel.h"

#include <vector>

namespace kq::ui {
namespace {

struct ClassEntry {
  forms::ComponentClass info;
  ComponentFactory factory;
};

template <class T>
std::unique_ptr<forms::StoredComponent> Make(Form& f) {
  return std::make_unique<T>(f);
}

std::vector<ClassEntry>& ClassTable() {
  static std::vector<ClassEntry> table = {
      {{u"TLabel", &forms::kComponentClass}, &Make<Label>},
      {{u"TsWebLabel", &forms::kComponentClass}, &Make<WebLabel>},
      {{u"TEdit", &forms::kComponentClass}, &Make<Edit>},
      {{u"TButton", &forms::kComponentClass}, &Make<Button>},
      {{u"TCheckBox", &forms::kComponentClass}, &Make<CheckBox>},
      {{u"TListBox", &forms::kComponentClass}, &Make<ListBox>},
      {{u"TComboBox", &forms::kComponentClass}, &Make<ComboBox>},
      {{u"TGroupBox", &forms::kComponentClass}, &Make<GroupBox>},
      {{u"TRadioGroup", &forms::kComponentClass}, &Make<RadioGroup>},
      {{u"TPanel", &forms::kComponentClass}, &Make<Panel>},
      {{u"TsSkinManager", &forms::kComponentClass}, &Make<NonVisualComponent>},
      {{u"TsSkinProvider", &forms::kComponentClass}, &Make<NonVisualComponent>},
  };
  return table;
}

const ClassEntry* FindClassEntry(std::u16string_view name) {
  for (const ClassEntry& e : ClassTable()) {
    if (forms::SameName(e.info.name, name)) return &e;
  }
  return nullptr;
}

}  // namespace

void RegisterComponentClass(std::u16string_view className, ComponentFactory factory) {
  auto& table = ClassTable();
  for (ClassEntry& e : table) {
    if (forms::SameName(e.info.name, className)) {
      e.factory = factory;
      return;
    }
  }
  // The names live as long as the table: keep them in storage that never moves.
  static std::vector<std::unique_ptr<std::u16string>> names;
  names.push_back(std::make_unique<std::u16string>(className));
  table.push_back({{*names.back(), &forms::kComponentClass}, factory});
}

std::unique_ptr<forms::StoredComponent> CreateComponent(Form& form, std::u16string_view name) {
  const ClassEntry* e = FindClassEntry(name);
  return e ? e->factory(form) : nullptr;
}

const forms::ComponentClass& ClassInfoOf(const forms::StoredComponent& c) {
  const ClassEntry* e = FindClassEntry(c.StoredClassName());
  return e ? e->info : forms::kComponentClass;
}

const forms::ComponentClass& NonVisualComponent::ClassInfo() const {
  return ClassInfoOf(*this);
}

std::unique_ptr<forms::StoredComponent> NonVisualComponent::CreateChild(
    std::u16string_view className) {
  return CreateComponent(form_, className);
}

}  // namespace kq::ui
