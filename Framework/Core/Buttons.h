// The small push button with a glyph that sits on other controls.
#pragma once

#include "Framework/Core/Controls.h"

namespace skx {

// Pressed with the left button, it shows sunken while the mouse stays over it, and clicks when
// the button is released there.
class TSpeedButton : public TWinControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);

  // The name of the platform's bitmap drawn on the button (TCanvas::NamedBitmap).
  const String& GlyphName() const { return FGlyphName; }
  void SetGlyphName(const String& name);

  // Called when the button was pressed and released over it.
  virtual void Click();

  void Paint(TCanvas& canvas) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseCaptureLost() override;

  TNotifyEvent OnClick;

 private:
  bool ShownDown() const { return FHeld && FMouseInside; }
  // Ends the press without a click.
  void Release();

  String FGlyphName;
  // Held down by the left button, and whether the mouse is over the button meanwhile.
  bool FHeld = false;
  bool FMouseInside = false;
};

}  // namespace skx
