// The drawing surface over a Win32 device context.
#pragma once

#include <windows.h>

#include "Framework/Core/Graphics.h"
#include "Framework/Win32/GdiObjects.h"

namespace skx {

// The platform's description of a framework font.
LOGFONTW ToLogFont(const TFont& font);

// Draws on a DC that it borrows: the pen, brush and font it makes are selected as drawing needs
// them and deleted when replaced; the DC gets its own objects back when the canvas goes.
class TGdiCanvas : public TCanvas {
 public:
  explicit TGdiCanvas(HDC dc);
  ~TGdiCanvas() override;
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  HDC Handle() const { return FDC; }

  void SetPenColor(TColor color) override;
  void SetPenWidth(int width) override;
  void SetPenGeometric(bool geometric) override;
  void SetBrushColor(TColor color) override;
  void SetFont(const TFont& font) override;
  void SetFontName(const String& name) override;
  void SetFontSize(int points) override;
  void SetFontColor(TColor color) override;
  void SetFontStyle(TFontStyles style) override;
  void SetTransparentText(bool transparent) override;

  void FillRect(const TRect& rect) override;
  void Rectangle(const TRect& rect) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void PolyPolyline(const TPoint* points, const int* counts, int lineCount) override;
  void TextRect(const TRect& rect, int x, int y, const String& text) override;
  int DrawTextInRect(const String& text, TRect& rect, unsigned flags) override;
  int TextWidth(const String& text) override;
  int TextHeight(const String& text) override;
  void DrawFocusRect(const TRect& rect) override;
  bool RectVisible(const TRect& rect) override;
  void Draw(int x, int y, const TBitmap& bitmap) override;

 private:
  void RequirePen();
  void RequireBrush();
  // Font, text colour and text background as text output needs them.
  void RequireText();
  SIZE TextExtent(const String& text);

  HDC FDC;
  HGDIOBJ FOriginalPen;
  HGDIOBJ FOriginalBrush;
  HGDIOBJ FOriginalFont;

  TColor FPenColor = clBlack;
  int FPenWidth = 1;
  bool FPenGeometric = false;
  TColor FBrushColor = clWhite;
  TFont FFont;
  bool FTransparentText = false;

  TGdiObject<HPEN> FPen;
  TGdiObject<HBRUSH> FBrush;
  TGdiObject<HFONT> FFontHandle;
};

}  // namespace skx
