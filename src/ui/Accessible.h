// Names for screen readers. A control whose name the system cannot know (an edit shows only
// its cue text, a list is named by a label beside it) answers WM_GETOBJECT with the system's
// own accessible object for it, only its name replaced. Where the system has no such object
// (Wine), a plain one of the window's role, state, value and place answers instead.
#pragma once

#include "win/Win.h"

#include <oleacc.h>

#include <string>

namespace kq::ui {

// The accessible object of a window named so (one reference, the caller's).
IAccessible* CreateNamedAccessible(HWND hwnd, const std::u16string& name);
// The answer to WM_GETOBJECT (OBJID_CLIENT) for a window named so; 0 when the object cannot
// be handed over (Wine cannot marshal it).
LRESULT AnswerAccessibleName(HWND hwnd, WPARAM wp, const std::u16string& name);

}  // namespace kq::ui
