// Colours, fonts and the drawing surface that painting code writes to.
#pragma once

#include <cstdint>

#include "Framework/Core/Geometry.h"
#include "Framework/Core/Scale.h"
#include "Framework/Core/Sets.h"
#include "Framework/Core/Strings.h"

namespace skx {

// Red in the low byte, then green, then blue; a high byte of 0x80 names a system colour by
// its index in the low byte.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clGray = 0x00808080;
constexpr TColor clSilver = 0x00C0C0C0;  // 12632256
constexpr TColor clRed = 0x000000FF;
constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clActiveCaption = 0x80000002;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowFrame = 0x80000006;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnFace = 0x8000000F;

constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == 0x80000000u; }

// The red-green-blue value of a colour: a system colour is looked up by its index, any other
// value is returned as it is.
TColor ColorToRGB(TColor color);

// Answers a system colour by index; the platform sets its own, tests may set theirs. Null
// restores the built-in Windows defaults.
using TSystemColorSource = TColor (*)(int index);
void SetSystemColorSource(TSystemColorSource source);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// Heights are in pixels at 96 per inch, negative for the character height the way the platform's
// fonts take it; a canvas realises a font at its own density (TCanvas::Scale).
struct TFont {
  static constexpr int PixelsPerInch = 96;

  String Name = L"MS Sans Serif";
  int Height = -11;
  TFontStyles Style;
  TColor Color = clWindowText;

  // Rounded the way the platform's MulDiv rounds.
  int Size() const { return (-Height * 72 + PixelsPerInch / 2) / PixelsPerInch; }
  void SetSize(int points) { Height = -((points * PixelsPerInch + 36) / 72); }

  friend bool operator==(const TFont& a, const TFont& b) {
    return a.Name == b.Name && a.Height == b.Height && a.Style == b.Style && a.Color == b.Color;
  }
  friend bool operator!=(const TFont& a, const TFont& b) { return !(a == b); }
};

// Text output flags with the platform's values.
constexpr unsigned dtLeft = 0x0000;
constexpr unsigned dtCenter = 0x0001;
constexpr unsigned dtRight = 0x0002;
constexpr unsigned dtVCenter = 0x0004;
constexpr unsigned dtBottom = 0x0008;
constexpr unsigned dtWordBreak = 0x0010;
constexpr unsigned dtSingleLine = 0x0020;
constexpr unsigned dtNoClip = 0x0100;
constexpr unsigned dtCalcRect = 0x0400;
constexpr unsigned dtNoPrefix = 0x0800;
constexpr unsigned dtEndEllipsis = 0x8000;

// A picture the platform loaded. The core only holds and measures it; its handle means
// something to the platform's canvas alone. A bitmap without a handle is 0 x 0 and draws nothing.
class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(std::uintptr_t handle, int width, int height)
      : FHandle(handle), FWidth(handle ? width : 0), FHeight(handle ? height : 0) {}

  std::uintptr_t Handle() const { return FHandle; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }

 private:
  std::uintptr_t FHandle = 0;
  int FWidth = 0;
  int FHeight = 0;
};

// The one-pixel edge of a button face: raised, light above and left and dark below and right, or
// sunken, the other way round.
enum TBevel { bvRaised, bvLowered };

// One drawing surface per platform; member names avoid the platform's A/W macros. A canvas
// handed to Paint starts with a black one-pixel plain pen, a white brush, the default font and
// opaque text.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual void SetPenColor(TColor color) = 0;
  // Lines of the given width, centred on the drawn path.
  virtual void SetPenWidth(int width) = 0;
  // A plain pen (the platform's CreatePen: round ends when wide) or a geometric one: solid, flat
  // ends, mitred joins, filled with the pen colour (ExtCreatePen with PS_GEOMETRIC | PS_SOLID |
  // PS_ENDCAP_FLAT | PS_JOIN_MITER), so that wide lines end flush.
  virtual void SetPenGeometric(bool geometric) = 0;
  virtual void SetBrushColor(TColor color) = 0;
  virtual void SetFont(const TFont& font) = 0;
  virtual void SetFontName(const String& name) = 0;
  // In points, turned into a height as TFont::SetSize does.
  virtual void SetFontSize(int points) = 0;
  virtual void SetFontColor(TColor color) = 0;
  virtual void SetFontStyle(TFontStyles style) = 0;
  // Transparent text leaves the background behind the characters; opaque text fills it with the
  // brush colour.
  virtual void SetTransparentText(bool transparent) = 0;

  virtual void FillRect(const TRect& rect) = 0;
  virtual void Rectangle(const TRect& rect) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // counts[i] points of points[] form the i-th polyline, one after the other.
  virtual void PolyPolyline(const TPoint* points, const int* counts, int lineCount) = 0;
  virtual void TextRect(const TRect& rect, int x, int y, const String& text) = 0;
  // Returns the height of the drawn text; with dtCalcRect it only measures, widening rect.
  virtual int DrawTextInRect(const String& text, TRect& rect, unsigned flags) = 0;
  virtual int TextWidth(const String& text) = 0;
  virtual int TextHeight(const String& text) = 0;
  virtual void DrawFocusRect(const TRect& rect) = 0;
  // Whether any part of the rectangle lies in the clip region.
  virtual bool RectVisible(const TRect& rect) = 0;
  // The bitmap opaque, its top-left corner at (x, y), in its own size; an empty one draws nothing.
  virtual void Draw(int x, int y, const TBitmap& bitmap) = 0;
  // The bitmap opaque, stretched over the rectangle as smoothly as the platform can.
  virtual void StretchDraw(const TRect& rect, const TBitmap& bitmap) = 0;
  // The bitmap stretched over the rectangle by whole source pixels, with every pixel of the
  // colour of its lower-left pixel left out.
  virtual void DrawTransparent(const TRect& rect, const TBitmap& bitmap) = 0;
  // A picture that the platform keeps by name (a bitmap resource of the module), loaded once and
  // kept for the process; empty when there is none.
  virtual TBitmap NamedBitmap(const String& name) = 0;
  // The edge along the inside of the rectangle, in the button highlight and shadow colours.
  virtual void DrawBevel(const TRect& rect, TBevel bevel) = 0;

  // Drawing goes into the area (in the current coordinates) as onto a canvas of its own: the
  // origin at the area's top-left corner, everything outside it clipped away, and the pen, brush,
  // font and text mode of a fresh canvas. EndArea brings back the origin, clipping and drawing
  // state of before; areas nest.
  virtual void BeginArea(const TRect& area) = 0;
  virtual void EndArea() = 0;

  // The density of the surface: fonts are realised at it and painting code scales its own sizes
  // by it. The control that paints sets it; areas keep it.
  TScale Scale() const { return FScale; }
  void SetScale(TScale scale) { FScale = scale; }

 private:
  TScale FScale;
};

}  // namespace skx
