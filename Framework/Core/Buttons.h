// The small push button with a glyph that sits on other controls.
#pragma once

#include "Framework/Core/Controls.h"

namespace skx {

class TSpeedButton : public TWinControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);

  // The name of the bitmap resource the platform draws on the button.
  const String& GlyphName() const { return FGlyphName; }
  void SetGlyphName(const String& name);

  // What the platform calls when the button was pressed and released over it.
  virtual void Click();

  TNotifyEvent OnClick;

 private:
  String FGlyphName;
};

}  // namespace skx
