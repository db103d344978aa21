#include "ui/Events.h"

#include "common/Error.h"
#include "resources/FormValues.h"

#include <algorithm>

namespace kq::ui {
namespace {

constexpr HandlerKind KindOfType(const NotifyHandler*) {
  return HandlerKind::kNotify;
}
constexpr HandlerKind KindOfType(const DrawItemHandler*) {
  return HandlerKind::kDrawItem;
}
constexpr HandlerKind KindOfType(const KeyPressHandler*) {
  return HandlerKind::kKeyPress;
}

}  // namespace

HandlerKind KindOf(const Handler& handler) {
  return std::visit([](const auto& h) { return KindOfType(&h); }, handler);
}

void EventBindings::Bind(const forms::StoredComponent& component, std::span<const EventSpec> known,
                         std::span<const HandlerSlot> offered) {
  for (const forms::FormProperty& p : component.Properties()) {
    if (p.name.size() < 3 || p.name.compare(0, 2, u"On") != 0) continue;
    const auto event = std::find_if(known.begin(), known.end(), [&](const EventSpec& e) {
      return forms::SameName(e.name, p.name);
    });
    if (event == known.end())
      throw Error(u"Event " + p.name + u" is not one of " + component.StoredClassName());
    const auto slot = std::find_if(offered.begin(), offered.end(), [&](const HandlerSlot& s) {
      return forms::SameName(s.name, p.value.text);
    });
    if (slot == offered.end() || KindOf(slot->handler) != event->kind) {
      throw Error(u"Handler " + p.value.text + u" for " + component.Name() + u"." + p.name +
                  u" not found");
    }
    bound_.emplace(std::u16string(event->name), slot->handler);
  }
}

}  // namespace kq::ui
