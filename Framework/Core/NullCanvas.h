// A canvas that draws nowhere and sees everything as visible: for timing the painting code alone.
#pragma once

#include "Framework/Core/Graphics.h"

namespace skx {

class TNullCanvas : public TCanvas {
 public:
  void SetPenColor(TColor) override {}
  void SetPenWidth(int) override {}
  void SetPenGeometric(bool) override {}
  void SetBrushColor(TColor) override {}
  void SetFont(const TFont&) override {}
  void SetFontName(const String&) override {}
  void SetFontSize(int) override {}
  void SetFontColor(TColor) override {}
  void SetFontStyle(TFontStyles) override {}
  void SetTransparentText(bool) override {}
  void FillRect(const TRect&) override {}
  void Rectangle(const TRect&) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void PolyPolyline(const TPoint*, const int*, int) override {}
  void TextRect(const TRect&, int, int, const String&) override {}
  int DrawTextInRect(const String&, TRect&, unsigned) override { return 0; }
  int TextWidth(const String&) override { return 0; }
  int TextHeight(const String&) override { return 0; }
  void DrawFocusRect(const TRect&) override {}
  bool RectVisible(const TRect&) override { return true; }
  void Draw(int, int, const TBitmap&) override {}
  void StretchDraw(const TRect&, const TBitmap&) override {}
  void DrawTransparent(const TRect&, const TBitmap&) override {}
  TBitmap NamedBitmap(const String&) override { return TBitmap(); }
  void DrawBevel(const TRect&, TBevel) override {}
  void BeginArea(const TRect&) override {}
  void EndArea() override {}
};

}  // namespace skx
