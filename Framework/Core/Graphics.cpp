// System colours resolved to red-green-blue values.
#include "Framework/Core/Graphics.h"

#include <iterator>

namespace skx {

namespace {

constexpr TColor Rgb(unsigned red, unsigned green, unsigned blue) {
  return red | (green << 8) | (blue << 16);
}

// The Windows standard scheme, by system colour index; an index beyond it reads as black, as
// the platform answers one it does not know.
constexpr TColor DefaultSystemColors[] = {
    Rgb(212, 208, 200),  // scroll bar
    Rgb(58, 110, 165),   // desktop
    Rgb(10, 36, 106),    // active caption
    Rgb(128, 128, 128),  // inactive caption
    Rgb(212, 208, 200),  // menu
    Rgb(255, 255, 255),  // window
    Rgb(0, 0, 0),        // window frame
    Rgb(0, 0, 0),        // menu text
    Rgb(0, 0, 0),        // window text
    Rgb(255, 255, 255),  // caption text
    Rgb(212, 208, 200),  // active border
    Rgb(212, 208, 200),  // inactive border
    Rgb(128, 128, 128),  // application workspace
    Rgb(10, 36, 106),    // highlight
    Rgb(255, 255, 255),  // highlight text
    Rgb(212, 208, 200),  // button face
    Rgb(128, 128, 128),  // button shadow
    Rgb(128, 128, 128),  // gray text
    Rgb(0, 0, 0),        // button text
    Rgb(212, 208, 200),  // inactive caption text
    Rgb(255, 255, 255),  // button highlight
    Rgb(64, 64, 64),     // 3-D dark shadow
    Rgb(212, 208, 200),  // 3-D light
    Rgb(0, 0, 0),        // tooltip text
    Rgb(255, 255, 225),  // tooltip background
    Rgb(180, 180, 180),  // alternate button face
    Rgb(0, 0, 255),      // hot light
    Rgb(166, 202, 240),  // gradient active caption
    Rgb(192, 192, 192),  // gradient inactive caption
    Rgb(49, 106, 197),   // menu highlight
    Rgb(236, 233, 216),  // menu bar
};

TColor DefaultSystemColor(int index) {
  return index < static_cast<int>(std::size(DefaultSystemColors)) ? DefaultSystemColors[index]
                                                                   : clBlack;
}

TSystemColorSource SystemColorSource = DefaultSystemColor;

}  // namespace

TColor ColorToRGB(TColor color) {
  return IsSystemColor(color) ? SystemColorSource(static_cast<int>(color & 0xFFu)) : color;
}

void SetSystemColorSource(TSystemColorSource source) {
  SystemColorSource = source ? source : DefaultSystemColor;
}

}  // namespace skx
