// Colours, fonts and the drawing surface that painting code writes to.
#pragma once

#include <cstdint>

#include "Framework/Core/Geometry.h"
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
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnFace = 0x8000000F;

constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == 0x80000000u; }

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// Heights are in pixels, negative for the character height the way the platform's fonts take it.
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

// One drawing surface per platform; member names avoid the platform's A/W macros.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual void SetPenColor(TColor color) = 0;
  // Flat-ended lines of the given width, centred on the drawn path.
  virtual void SetPenWidth(int width) = 0;
  virtual void SetBrushColor(TColor color) = 0;
  virtual void SetFont(const TFont& font) = 0;
  virtual void SetFontColor(TColor color) = 0;
  virtual void SetFontStyle(TFontStyles style) = 0;
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
  virtual bool RectVisible(const TRect& rect) = 0;
};

}  // namespace skx
