// The drawing surface over a Win32 device context.
#include "Framework/Win32/GdiCanvas.h"

#include <algorithm>

#include "Framework/Win32/ResourceBitmaps.h"
#include "Framework/Win32/Win32Types.h"

namespace skx {

static_assert(sizeof(TPoint) == sizeof(POINT) && alignof(TPoint) == alignof(POINT),
              "points go to PolyPolyline as they are");
static_assert(sizeof(int) == sizeof(DWORD), "stroke counts go to PolyPolyline as they are");

namespace {

// Bitmap faces come in a few sizes drawn for 96 pixels per inch; at another density the outline
// face of their design (an outline face only: OUT_TT_ONLY_PRECIS) grows with it.
String FaceAt(const String& name, TScale scale) {
  if (scale.IsBase()) return name;
  if (name == L"MS Sans Serif" || name == L"Small Fonts") return L"Microsoft Sans Serif";
  return name;
}

}  // namespace

LOGFONTW ToLogFont(const TFont& font, TScale scale) {
  LOGFONTW log{};
  log.lfHeight = scale.Of(font.Height);
  log.lfWeight = font.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.Style.Contains(fsItalic);
  log.lfUnderline = font.Style.Contains(fsUnderline);
  log.lfStrikeOut = font.Style.Contains(fsStrikeOut);
  log.lfCharSet = DEFAULT_CHARSET;
  log.lfOutPrecision = scale.IsBase() ? OUT_DEFAULT_PRECIS : OUT_TT_ONLY_PRECIS;
  log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  log.lfQuality = DEFAULT_QUALITY;
  log.lfPitchAndFamily = DEFAULT_PITCH;
  const String face = FaceAt(font.Name, scale);
  face.copy(log.lfFaceName, std::min<size_t>(face.size(), LF_FACESIZE - 1));
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
  if (color != FState.PenColor) FPen.Reset();
  FState.PenColor = color;
}

void TGdiCanvas::SetPenWidth(int width) {
  if (width != FState.PenWidth) FPen.Reset();
  FState.PenWidth = width;
}

void TGdiCanvas::SetPenGeometric(bool geometric) {
  if (geometric != FState.PenGeometric) FPen.Reset();
  FState.PenGeometric = geometric;
}

void TGdiCanvas::SetBrushColor(TColor color) {
  if (color != FState.BrushColor) FBrush.Reset();
  FState.BrushColor = color;
}

namespace {

bool SameFace(const TFont& a, const TFont& b) {
  return a.Name == b.Name && a.Height == b.Height && a.Style == b.Style;
}

}  // namespace

void TGdiCanvas::SetFont(const TFont& font) {
  TFont old = FState.Font;
  FState.Font = font;
  if (!SameFace(old, font)) DropFont();
}

// The font may still be selected into the DC; it is deleted only once another replaced it there.
void TGdiCanvas::DropFont() {
  if (!FFontHandle) return;
  FSpareFont = std::move(FFontHandle);
  FSpareFontFace = FFontHandleFace;
}

void TGdiCanvas::SetFontName(const String& name) {
  TFont font = FState.Font;
  font.Name = name;
  SetFont(font);
}

void TGdiCanvas::SetFontSize(int points) {
  TFont font = FState.Font;
  font.SetSize(points);
  SetFont(font);
}

void TGdiCanvas::SetFontColor(TColor color) { FState.Font.Color = color; }

void TGdiCanvas::SetFontStyle(TFontStyles style) {
  if (style != FState.Font.Style) DropFont();
  FState.Font.Style = style;
}

void TGdiCanvas::SetTransparentText(bool transparent) { FState.TransparentText = transparent; }

// An object is deleted only after the DC has let it go, so each one is first replaced in the
// DC by the DC's own and then rebuilt.
void TGdiCanvas::RequirePen() {
  if (FPen) return;
  ::SelectObject(FDC, FOriginalPen);
  COLORREF color = ColorToCOLORREF(FState.PenColor);
  if (FState.PenGeometric) {
    LOGBRUSH brush{BS_SOLID, color, 0};
    FPen = TGdiObject<HPEN>(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                           static_cast<DWORD>(FState.PenWidth), &brush, 0, nullptr));
  } else {
    FPen = TGdiObject<HPEN>(::CreatePen(PS_SOLID, std::max(FState.PenWidth, 0), color));
  }
  ::SelectObject(FDC, FPen.Get());
}

void TGdiCanvas::RequireBrush() {
  if (FBrush) return;
  ::SelectObject(FDC, FOriginalBrush);
  FBrush = TGdiObject<HBRUSH>(::CreateSolidBrush(ColorToCOLORREF(FState.BrushColor)));
  ::SelectObject(FDC, FBrush.Get());
}

void TGdiCanvas::RequireText() {
  if (!FFontHandle) {
    ::SelectObject(FDC, FOriginalFont);
    if (FSpareFont && SameFace(FSpareFontFace, FState.Font)) {
      FFontHandle = std::move(FSpareFont);
    } else {
      LOGFONTW log = ToLogFont(FState.Font, Scale());
      FFontHandle = TGdiObject<HFONT>(::CreateFontIndirectW(&log));
    }
    FFontHandleFace = FState.Font;
    ::SelectObject(FDC, FFontHandle.Get());
  }
  ::SetTextColor(FDC, ColorToCOLORREF(FState.Font.Color));
  ::SetBkColor(FDC, ColorToCOLORREF(FState.BrushColor));
  ::SetBkMode(FDC, FState.TransparentText ? TRANSPARENT : OPAQUE);
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
  UINT options = ETO_CLIPPED | (FState.TransparentText ? 0 : ETO_OPAQUE);
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

void TGdiCanvas::SetDrawingState(const TDrawingState& state) {
  SetPenColor(state.PenColor);
  SetPenWidth(state.PenWidth);
  SetPenGeometric(state.PenGeometric);
  SetBrushColor(state.BrushColor);
  SetFont(state.Font);
  SetTransparentText(state.TransparentText);
}

// Clip regions are kept in device coordinates, so the saved one goes back as it was whatever the
// origin did meanwhile.
void TGdiCanvas::BeginArea(const TRect& area) {
  TSavedArea saved{TGdiObject<HRGN>(::CreateRectRgn(0, 0, 0, 0)), TPoint{area.Left, area.Top}, FState};
  if (::GetClipRgn(FDC, saved.Clip.Get()) != 1) saved.Clip.Reset();
  FAreas.push_back(std::move(saved));
  ::IntersectClipRect(FDC, area.Left, area.Top, area.Right, area.Bottom);
  ::OffsetWindowOrgEx(FDC, -area.Left, -area.Top, nullptr);
  SetDrawingState(TDrawingState{});
}

void TGdiCanvas::EndArea() {
  if (FAreas.empty()) return;
  TSavedArea& saved = FAreas.back();
  ::OffsetWindowOrgEx(FDC, saved.Corner.X, saved.Corner.Y, nullptr);
  ::SelectClipRgn(FDC, saved.Clip.Get());
  SetDrawingState(saved.State);
  FAreas.pop_back();
}

TSelectObject TGdiCanvas::SelectSource(const TBitmap& bitmap) {
  if (!FBitmapSource) FBitmapSource = std::make_unique<TMemoryDC>(FDC);
  return TSelectObject(FBitmapSource->Get(), reinterpret_cast<HGDIOBJ>(bitmap.Handle()));
}

void TGdiCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  StretchDraw(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

// Halftone stretching averages the source pixels that fall on each target pixel; it needs the
// brush origin reset after it is chosen.
void TGdiCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap) {
  if (bitmap.Empty() || rect.IsEmpty()) return;
  TSelectObject selected = SelectSource(bitmap);
  HDC source = FBitmapSource->Get();
  if (rect.Width() == bitmap.Width() && rect.Height() == bitmap.Height()) {
    ::BitBlt(FDC, rect.Left, rect.Top, bitmap.Width(), bitmap.Height(), source, 0, 0, SRCCOPY);
    return;
  }
  const int mode = ::SetStretchBltMode(FDC, HALFTONE);
  POINT origin{};
  ::SetBrushOrgEx(FDC, 0, 0, &origin);
  ::StretchBlt(FDC, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, bitmap.Width(),
               bitmap.Height(), SRCCOPY);
  ::SetStretchBltMode(FDC, mode);
  ::SetBrushOrgEx(FDC, origin.x, origin.y, nullptr);
}

void TGdiCanvas::DrawTransparent(const TRect& rect, const TBitmap& bitmap) {
  if (bitmap.Empty() || rect.IsEmpty()) return;
  TSelectObject selected = SelectSource(bitmap);
  HDC source = FBitmapSource->Get();
  COLORREF transparent = ::GetPixel(source, 0, bitmap.Height() - 1);
  ::GdiTransparentBlt(FDC, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0,
                      bitmap.Width(), bitmap.Height(), transparent);
}

TBitmap TGdiCanvas::NamedBitmap(const String& name) {
  HBITMAP handle = ResourceBitmap(name);
  BITMAP info{};
  if (!handle || !::GetObjectW(handle, sizeof(info), &info)) return TBitmap();
  return TBitmap(reinterpret_cast<std::uintptr_t>(handle), info.bmWidth, info.bmHeight);
}

void TGdiCanvas::DrawBevel(const TRect& rect, TBevel bevel) {
  RECT edge = ToRECT(rect);
  ::DrawEdge(FDC, &edge, bevel == bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
}

}  // namespace skx
