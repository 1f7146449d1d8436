// The small push button with a glyph that sits on other controls.
#include "Framework/Core/Buttons.h"

namespace skx {

TSpeedButton::TSpeedButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csCaptureMouse, csDoubleClicks,
                   csOpaque});
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetGlyphName(const String& name) {
  FGlyphName = name;
  Invalidate();
}

void TSpeedButton::Click() {
  TNotifyEvent handler = OnClick;
  if (handler) handler(this);
}

}  // namespace skx
