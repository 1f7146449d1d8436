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

// A flat face with a thin raised edge, sunken while held down; the glyph, drawn for 96 pixels per
// inch, is centred in its scaled size, one (scaled) pixel lower and to the right while held.
void TSpeedButton::Paint(TCanvas& canvas) {
  const bool down = ShownDown();
  const TRect client{0, 0, ClientWidth(), ClientHeight()};
  canvas.SetBrushColor(clBtnFace);
  canvas.FillRect(client);
  canvas.DrawBevel(client, down ? bvLowered : bvRaised);
  TBitmap glyph = canvas.NamedBitmap(FGlyphName);
  if (glyph.Empty()) return;
  const TScale scale = canvas.Scale();
  const int offset = down ? scale.Of(1) : 0;
  const int width = scale.Of(glyph.Width());
  const int height = scale.Of(glyph.Height());
  canvas.DrawTransparent(Bounds((client.Width() - width) / 2 + offset,
                                (client.Height() - height) / 2 + offset, width, height),
                         glyph);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    FHeld = true;
    FMouseInside = true;
    SetMouseCapture(true);
    Invalidate();
  }
  TWinControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  if (FHeld) {
    const bool inside = ClientRect().Contains(TPoint{x, y});
    if (inside != FMouseInside) Invalidate();
    FMouseInside = inside;
  }
  TWinControl::MouseMove(shift, x, y);
}

// The handlers of the release and of the click may free the button.
void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool click = button == mbLeft && ShownDown();
  if (button == mbLeft && FHeld) {
    Release();
    SetMouseCapture(false);
  }
  TWeakRef<TSpeedButton> alive(this);
  TWinControl::MouseUp(button, shift, x, y);
  if (click && alive.Get()) Click();
}

void TSpeedButton::MouseCaptureLost() {
  if (FHeld) Release();
}

void TSpeedButton::Release() {
  FHeld = false;
  Invalidate();
}

}  // namespace skx
