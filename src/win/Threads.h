// Threads and this thread's message queue.
#pragma once

#include "win/Handles.h"

#include <functional>

namespace kq::win {

// Starts a thread that runs the body; an empty handle when it could not start.
KernelHandle StartThread(std::function<void()> body);

// Dispatches every message pending for the calling thread. A quit request is put back for
// the message loop that owns it and ends the dispatching; true when that happened.
bool DispatchPendingMessages();

}  // namespace kq::win
