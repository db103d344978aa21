// The program's message boxes in the skin in force: background, texts and buttons (their
// caption and frame stay the system's).
#pragma once

namespace kq::paint {

// A message box's window, just made (before its controls): paints it with the painter's
// look for as long as it lives.
void DressMessageBox(void* box);

}  // namespace kq::paint
