// What a layout's events (OnClick = btnStartClick) run: the handlers a form offers by name,
// of three kinds, and the one way a component binds its events to them.
#pragma once

#include "resources/FormLoader.h"
#include "win/Win.h"

#include <functional>
#include <map>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace kq::ui {

class Control;

struct DrawItemArgs {
  int index = -1;
  RECT rect{};
  UINT state = 0;    // ODS_* flags
  HDC dc = nullptr;  // with the list's font and the item's colours selected
};
// The sender is the control, or the form for the form's own events.
using NotifyHandler = std::function<void(forms::StoredComponent& sender)>;
using DrawItemHandler = std::function<void(Control& sender, const DrawItemArgs& item)>;
// The handler may change the character; setting it to 0 swallows it.
using KeyPressHandler = std::function<void(Control& sender, wchar_t& key)>;
using Handler = std::variant<NotifyHandler, DrawItemHandler, KeyPressHandler>;

enum class HandlerKind { kNotify, kDrawItem, kKeyPress };
HandlerKind KindOf(const Handler& handler);

struct HandlerSlot {
  std::u16string name;
  Handler handler;
};

// An event a component kind knows, and the kind of handler it runs.
struct EventSpec {
  std::u16string_view name;
  HandlerKind kind;
};

// The events of one component, bound to the handlers its form offers.
class EventBindings {
 public:
  // Binds every On* property of the component to the offered handler it names. Throws
  // kq::Error for an event the component does not know ("Event OnFoo is not one of
  // TButton") and for a handler that is not offered or of another kind ("Handler x for
  // btnGo.OnClick not found").
  void Bind(const forms::StoredComponent& component, std::span<const EventSpec> known,
            std::span<const HandlerSlot> offered);

  // The handler bound to the event, or null.
  template <class H>
  const H* Find(std::u16string_view event) const {
    auto it = bound_.find(event);
    return it == bound_.end() ? nullptr : std::get_if<H>(&it->second);
  }

 private:
  std::map<std::u16string, Handler, std::less<>> bound_;
};

}  // namespace kq::ui
