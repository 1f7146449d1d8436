// A canvas that records every drawing call with its arguments and the pen, brush and font in
// force, for tests of painting code. Calls inside an area keep the area's coordinates; the area
// itself is recorded in the coordinates of the surface.
#pragma once

#include <climits>
#include <cstdint>
#include <map>
#include <vector>

#include "Framework/Core/Graphics.h"

namespace skx {

enum TCanvasOp {
  coPenColor,
  coPenWidth,
  coPenGeometric,
  coBrushColor,
  coFont,
  coFontName,
  coFontSize,
  coFontColor,
  coFontStyle,
  coTransparentText,
  coFillRect,
  coRectangle,
  coMoveTo,
  coLineTo,
  coPolyPolyline,
  coTextRect,
  coDrawText,
  coDrawFocusRect,
  coDraw,
  coDrawTransparent,
  coDrawBevel,
  coBeginArea,
  coEndArea
};

struct TPenState {
  TColor Color = clBlack;
  int Width = 1;
  bool Geometric = false;
};

// What a fresh canvas holds; the font size is kept as the height TFont gives it.
struct TCanvasState {
  TPenState Pen;
  TColor BrushColor = clWhite;
  TFont Font;
  bool TransparentText = false;
};

struct TCanvasCall {
  TCanvasOp Op = coPenColor;
  // The state once the call was made.
  TCanvasState State;
  TRect Rect;                      // fills, frames, text and areas
  TPoint Point;                    // pen moves, bitmaps, the origin of TextRect's text
  String Text;                     // text output
  unsigned Flags = 0;              // DrawTextInRect
  std::uintptr_t Bitmap = 0;       // the handle Draw and DrawTransparent were given
  TBevel Bevel = bvRaised;         // DrawBevel
  std::vector<TPoint> Points;      // PolyPolyline: all points, then
  std::vector<int> Counts;         // the number of points of each line
};

class TRecordingCanvas : public TCanvas {
 public:
  // Rectangles that touch it are visible; by default everything is.
  TRect ClipRect{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
  TCanvasState State;
  std::vector<TCanvasCall> Calls;
  // What NamedBitmap answers; an empty bitmap for any other name.
  std::map<String, TBitmap> NamedBitmaps;

  // The calls of one kind, in order.
  std::vector<TCanvasCall> Of(TCanvasOp op) const;

  void SetPenColor(TColor color) override { Change(State.Pen.Color, color, coPenColor); }
  void SetPenWidth(int width) override { Change(State.Pen.Width, width, coPenWidth); }
  void SetPenGeometric(bool geometric) override {
    Change(State.Pen.Geometric, geometric, coPenGeometric);
  }
  void SetBrushColor(TColor color) override { Change(State.BrushColor, color, coBrushColor); }
  void SetFont(const TFont& font) override { Change(State.Font, font, coFont); }
  void SetFontName(const String& name) override { Change(State.Font.Name, name, coFontName); }
  void SetFontSize(int points) override;
  void SetFontColor(TColor color) override { Change(State.Font.Color, color, coFontColor); }
  void SetFontStyle(TFontStyles style) override { Change(State.Font.Style, style, coFontStyle); }
  void SetTransparentText(bool transparent) override {
    Change(State.TransparentText, transparent, coTransparentText);
  }
  void FillRect(const TRect& rect) override;
  void Rectangle(const TRect& rect) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void PolyPolyline(const TPoint* points, const int* counts, int lineCount) override;
  void TextRect(const TRect& rect, int x, int y, const String& text) override;
  // Measures nothing: answers 0 and leaves rect as it is.
  int DrawTextInRect(const String& text, TRect& rect, unsigned flags) override;
  int TextWidth(const String&) override { return 0; }
  // The character height of the font in force, as the canvas's density realises it.
  int TextHeight(const String&) override;
  void DrawFocusRect(const TRect& rect) override;
  bool RectVisible(const TRect& rect) override { return rect.Intersects(ClipRect); }
  // Each records the rectangle the bitmap covers.
  void Draw(int x, int y, const TBitmap& bitmap) override {
    RecordBitmap(coDraw, Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
  }
  void StretchDraw(const TRect& rect, const TBitmap& bitmap) override { RecordBitmap(coDraw, rect, bitmap); }
  void DrawTransparent(const TRect& rect, const TBitmap& bitmap) override {
    RecordBitmap(coDrawTransparent, rect, bitmap);
  }
  TBitmap NamedBitmap(const String& name) override;
  void DrawBevel(const TRect& rect, TBevel bevel) override;
  void BeginArea(const TRect& area) override;
  void EndArea() override;

 private:
  struct TSavedArea {
    TPoint Origin;
    TRect ClipRect;
    TCanvasState State;
  };
  // Where the current coordinates have their origin on the surface.
  TPoint FOrigin;
  std::vector<TSavedArea> FAreas;

  TCanvasCall& Record(TCanvasOp op);
  void RecordBitmap(TCanvasOp op, const TRect& rect, const TBitmap& bitmap);
  template <typename T>
  void Change(T& field, const T& value, TCanvasOp op) {
    field = value;
    Record(op);
  }
};

}  // namespace skx
