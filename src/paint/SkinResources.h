// What the system made of a skin's images when the skin was loaded (decoded bitmaps), kept
// with the loaded skin so that every window is painted from the same copy.
#pragma once

namespace kq::paint {

class SkinResources {
 public:
  virtual ~SkinResources() = default;
};

}  // namespace kq::paint
