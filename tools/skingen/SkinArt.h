// The drawings of the internal skins: caption bars, frames, button faces, glyphs and window
// textures, each one frame of an image. Colours come in already chosen; these functions only
// decide the shapes and light.
#pragma once

#include "Canvas.h"
#include "SkinGenerator.h"

#include <cstdint>
#include <optional>

namespace kq::skingen {

// The two ends of a vertical gradient, lighter at the top, and the sheen a glossy face
// starts from above them.
struct Ramp {
  Rgb top, bottom;
  Rgb sheen = top;
};
// The ramp of a face: the background lightened above and darkened below by `strength`
// percent, the side toward the text reaching a third as far, so the text mostly gains.
Ramp FaceRamp(const ColorPair& pair, int strength);

Canvas CaptionBar(Face face, Ramp ramp, int width, int height);
// A window frame `width` pixels wide around a transparent centre: a dark outer line, the
// caption's colour inside, and a light inner line on bevels.
Canvas BorderFrame(Face face, Rgb outer, Rgb fill, int width);

struct FaceLook {
  Ramp ramp;
  Rgb border;
  std::optional<Rgb> focus;  // a ring inside the border
  bool sunken = false;       // pressed: the light at the bottom
};
Canvas ButtonFace(Face face, int radius, int width, int height, const FaceLook& look);

enum class Symbol { Close, Minimise };
enum class GlyphState { Normal, Hot, Pressed, Inactive };
struct CaptionButtonColors {
  Rgb caption;   // the caption's background under the glyph
  Rgb symbol;    // the caption's text
  Rgb inactive;  // the symbol in an inactive window
};
Canvas CaptionButton(CaptionButtons style, Symbol symbol, GlyphState state, int size, int radius,
                     const CaptionButtonColors& colors);

enum class Mark { None, Check, Mixed, Dot };
struct BoxLook {
  Rgb fill, border, mark;
  bool filled = false;  // the whole box in the mark's colour behind a mark of `fill`
};
Canvas CheckBox(int size, int radius, Mark mark, const BoxLook& look);
Canvas RadioButton(int size, Mark mark, const BoxLook& look);
// The combo box's drop arrow: a chevron, or a solid triangle on bevelled and glossy skins.
Canvas ComboArrow(Face face, int size, Rgb colour);
Canvas ScrollThumb(int radius, int width, int height, Rgb fill, Rgb border);

// A tile of the window's pattern, moving the window colour lighter and darker (the falling
// code: toward the text); the same seed gives the same tile.
Canvas WindowTexture(Texture kind, Rgb back, Rgb text, std::uint32_t seed);

}  // namespace kq::skingen
