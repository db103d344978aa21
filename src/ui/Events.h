// What a layout's events (OnClick = btnStartClick) run: the handlers a form offers by name.
#pragma once

#include "resources/FormLoader.h"
#include "win/Win.h"

#include <functional>
#include <string>
#include <variant>

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

struct HandlerSlot {
  std::u16string name;
  Handler handler;
};

}  // namespace kq::ui
