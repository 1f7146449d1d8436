// The drawing surface over a Win32 device context.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "Framework/Core/Graphics.h"
#include "Framework/Win32/GdiObjects.h"

namespace skx {

// The platform's description of a framework font, realised at the scale's density.
LOGFONTW ToLogFont(const TFont& font, TScale scale = TScale());

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
  void StretchDraw(const TRect& rect, const TBitmap& bitmap) override;
  void DrawTransparent(const TRect& rect, const TBitmap& bitmap) override;
  TBitmap NamedBitmap(const String& name) override;
  void DrawBevel(const TRect& rect, TBevel bevel) override;
  void BeginArea(const TRect& area) override;
  void EndArea() override;

 private:
  // What drawing state a canvas keeps; a fresh canvas holds the defaults.
  struct TDrawingState {
    TColor PenColor = clBlack;
    int PenWidth = 1;
    bool PenGeometric = false;
    TColor BrushColor = clWhite;
    TFont Font;
    bool TransparentText = false;
  };
  // What an area replaced: the clip region (null for none), the area's corner and the state.
  struct TSavedArea {
    TGdiObject<HRGN> Clip;
    TPoint Corner;
    TDrawingState State;
  };
  void SetDrawingState(const TDrawingState& state);

  void RequirePen();
  void RequireBrush();
  // Font, text colour and text background as text output needs them.
  void RequireText();
  SIZE TextExtent(const String& text);
  void DropFont();
  // Selects the bitmap, for the selection's life, into FBitmapSource, the DC bitmaps are copied
  // from.
  TSelectObject SelectSource(const TBitmap& bitmap);

  HDC FDC;
  std::vector<TSavedArea> FAreas;
  HGDIOBJ FOriginalPen;
  HGDIOBJ FOriginalBrush;
  HGDIOBJ FOriginalFont;

  TDrawingState FState;

  TGdiObject<HPEN> FPen;
  TGdiObject<HBRUSH> FBrush;
  TGdiObject<HFONT> FFontHandle;
  TFont FFontHandleFace;
  // The font replaced last, kept for a change back: each marker of a grid switches from the
  // default font to the one its task draws with.
  TGdiObject<HFONT> FSpareFont;
  TFont FSpareFontFace;
  // The source of bitmaps drawn, made at the first one.
  std::unique_ptr<TMemoryDC> FBitmapSource;
};

}  // namespace skx
