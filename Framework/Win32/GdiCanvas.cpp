// The drawing surface over a Win32 device context.
#include "Framework/Win32/GdiCanvas.h"

#include <algorithm>

#include "Framework/Win32/Win32Types.h"

namespace skx {

static_assert(sizeof(TPoint) == sizeof(POINT) && alignof(TPoint) == alignof(POINT),
              "points go to PolyPolyline as they are");
static_assert(sizeof(int) == sizeof(DWORD), "stroke counts go to PolyPolyline as they are");

LOGFONTW ToLogFont(const TFont& font) {
  LOGFONTW log{};
  log.lfHeight = font.Height;
  log.lfWeight = font.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.Style.Contains(fsItalic);
  log.lfUnderline = font.Style.Contains(fsUnderline);
  log.lfStrikeOut = font.Style.Contains(fsStrikeOut);
  log.lfCharSet = DEFAULT_CHARSET;
  log.lfOutPrecision = OUT_DEFAULT_PRECIS;
  log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  log.lfQuality = DEFAULT_QUALITY;
  log.lfPitchAndFamily = DEFAULT_PITCH;
  font.Name.copy(log.lfFaceName, std::min<size_t>(font.Name.size(), LF_FACESIZE - 1));
  return log;
}

TGdiCanvas::TGdiCanvas(HDC dc)
    : FDC(dc),
      FOriginalPen(::GetCurrentObject(dc, OBJ_PEN)),
      FOriginalBrush(::GetCurrentObject(dc, OBJ_BRUSH)),
      FOriginalFont(::GetCurrentObject(dc, OBJ_FONT)) {}

TGdiCanvas::~TGdiCanvas() {
  ::SelectObject(FDC, FOriginalPen);
  ::SelectObject(FDC, FOriginalBrush);
  ::SelectObject(FDC, FOriginalFont);
}

void TGdiCanvas::SetPenColor(TColor color) {
  if (color != FPenColor) FPen.Reset();
  FPenColor = color;
}

void TGdiCanvas::SetPenWidth(int width) {
  if (width != FPenWidth) FPen.Reset();
  FPenWidth = width;
}

void TGdiCanvas::SetPenGeometric(bool geometric) {
  if (geometric != FPenGeometric) FPen.Reset();
  FPenGeometric = geometric;
}

void TGdiCanvas::SetBrushColor(TColor color) {
  if (color != FBrushColor) FBrush.Reset();
  FBrushColor = color;
}

void TGdiCanvas::SetFont(const TFont& font) {
  TFont old = FFont;
  FFont = font;
  if (old.Name != font.Name || old.Height != font.Height || old.Style != font.Style)
    FFontHandle.Reset();
}

void TGdiCanvas::SetFontName(const String& name) {
  TFont font = FFont;
  font.Name = name;
  SetFont(font);
}

void TGdiCanvas::SetFontSize(int points) {
  TFont font = FFont;
  font.SetSize(points);
  SetFont(font);
}

void TGdiCanvas::SetFontColor(TColor color) { FFont.Color = color; }

void TGdiCanvas::SetFontStyle(TFontStyles style) {
  if (style != FFont.Style) FFontHandle.Reset();
  FFont.Style = style;
}

void TGdiCanvas::SetTransparentText(bool transparent) { FTransparentText = transparent; }

// An object is deleted only after the DC has let it go, so each one is first replaced in the
// DC by the DC's own and then rebuilt.
void TGdiCanvas::RequirePen() {
  if (FPen) return;
  ::SelectObject(FDC, FOriginalPen);
  COLORREF color = ColorToCOLORREF(FPenColor);
  if (FPenGeometric) {
    LOGBRUSH brush{BS_SOLID, color, 0};
    FPen = TGdiObject<HPEN>(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                           static_cast<DWORD>(FPenWidth), &brush, 0, nullptr));
  } else {
    FPen = TGdiObject<HPEN>(::CreatePen(PS_SOLID, std::max(FPenWidth, 0), color));
  }
  ::SelectObject(FDC, FPen.Get());
}

void TGdiCanvas::RequireBrush() {
  if (FBrush) return;
  ::SelectObject(FDC, FOriginalBrush);
  FBrush = TGdiObject<HBRUSH>(::CreateSolidBrush(ColorToCOLORREF(FBrushColor)));
  ::SelectObject(FDC, FBrush.Get());
}

void TGdiCanvas::RequireText() {
  if (!FFontHandle) {
    ::SelectObject(FDC, FOriginalFont);
    LOGFONTW log = ToLogFont(FFont);
    FFontHandle = TGdiObject<HFONT>(::CreateFontIndirectW(&log));
    ::SelectObject(FDC, FFontHandle.Get());
  }
  ::SetTextColor(FDC, ColorToCOLORREF(FFont.Color));
  ::SetBkColor(FDC, ColorToCOLORREF(FBrushColor));
  ::SetBkMode(FDC, FTransparentText ? TRANSPARENT : OPAQUE);
}

void TGdiCanvas::FillRect(const TRect& rect) {
  RequireBrush();
  RECT r = ToRECT(rect);
  ::FillRect(FDC, &r, FBrush.Get());
}

void TGdiCanvas::Rectangle(const TRect& rect) {
  RequirePen();
  RequireBrush();
  ::Rectangle(FDC, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void TGdiCanvas::MoveTo(int x, int y) { ::MoveToEx(FDC, x, y, nullptr); }

void TGdiCanvas::LineTo(int x, int y) {
  RequirePen();
  ::LineTo(FDC, x, y);
}

void TGdiCanvas::PolyPolyline(const TPoint* points, const int* counts, int lineCount) {
  if (lineCount <= 0) return;
  RequirePen();
  ::PolyPolyline(FDC, reinterpret_cast<const POINT*>(points), reinterpret_cast<const DWORD*>(counts),
                 static_cast<DWORD>(lineCount));
}

void TGdiCanvas::TextRect(const TRect& rect, int x, int y, const String& text) {
  RequireText();
  RECT r = ToRECT(rect);
  UINT options = ETO_CLIPPED | (FTransparentText ? 0 : ETO_OPAQUE);
  ::ExtTextOutW(FDC, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

int TGdiCanvas::DrawTextInRect(const String& text, TRect& rect, unsigned flags) {
  RequireText();
  RECT r = ToRECT(rect);
  int height = ::DrawTextW(FDC, text.c_str(), static_cast<int>(text.size()), &r, flags);
  if (flags & dtCalcRect) rect = ToTRect(r);
  return height;
}

SIZE TGdiCanvas::TextExtent(const String& text) {
  RequireText();
  SIZE size{};
  ::GetTextExtentPoint32W(FDC, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

int TGdiCanvas::TextWidth(const String& text) { return TextExtent(text).cx; }

int TGdiCanvas::TextHeight(const String& text) { return TextExtent(text).cy; }

// The dotted frame inverts what it covers, the way the system draws focus.
void TGdiCanvas::DrawFocusRect(const TRect& rect) {
  ::SetTextColor(FDC, RGB(0, 0, 0));
  ::SetBkColor(FDC, RGB(255, 255, 255));
  RECT r = ToRECT(rect);
  ::DrawFocusRect(FDC, &r);
}

bool TGdiCanvas::RectVisible(const TRect& rect) {
  RECT r = ToRECT(rect);
  return ::RectVisible(FDC, &r) != FALSE;
}

void TGdiCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  TMemoryDC source(FDC);
  TSelectObject selected(source.Get(), reinterpret_cast<HGDIOBJ>(bitmap.Handle()));
  ::BitBlt(FDC, x, y, bitmap.Width(), bitmap.Height(), source.Get(), 0, 0, SRCCOPY);
}

}  // namespace skx
