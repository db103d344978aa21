// A ghost: a picture of a window taken while it is on screen, shown in a layered window of
// its own that plays an animation (the window shrinking away, going to the taskbar, the old
// skin fading out over the new) and then goes. The real window is free at once: a ghost
// never holds the window thread, and it lives on its own timer.
#pragma once

#include "paint/Animation.h"
#include "win/Win.h"

#include <cstdint>
#include <functional>

namespace kq::paint {

// GetTickCount, the clock the ghosts and the blend run on in the program.
const Clock& SystemClock();

struct GhostArgs {
  // The frame at a progress from 0 to 1, in screen coordinates.
  std::function<GhostFrame(double progress)> frame;
  std::uint32_t duration = 0;  // ms
  const Clock* clock = &SystemClock();
};

// Takes the window's picture now and starts the animation above it; false (and nothing
// shown) when the window is not on screen or the picture cannot be taken.
bool StartGhost(HWND window, GhostArgs args);
// The ghosts still playing.
int GhostCount();
// Plays the ghosts to their end, dispatching the thread's messages meanwhile; for the
// program's end, after its message loop has stopped. Returns within the longest remaining
// animation (and a little); a ghost still there then is taken away.
void FinishGhosts();

}  // namespace kq::paint
