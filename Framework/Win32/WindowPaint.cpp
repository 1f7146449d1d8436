// Painting of a peer window: the control paints into a memory bitmap that is then copied to the
// screen, so that nothing flickers.
#include "Framework/Core/Buttons.h"
#include "Framework/Win32/GdiCanvas.h"
#include "Framework/Win32/GdiObjects.h"
#include "Framework/Win32/ResourceBitmaps.h"
#include "Framework/Win32/Win32Types.h"
#include "Framework/Win32/WindowPeer.h"

namespace skx {

namespace {

class TPaintDC {
 public:
  explicit TPaintDC(HWND window) : FWindow(window), FDC(::BeginPaint(window, &FPaint)) {}
  ~TPaintDC() { ::EndPaint(FWindow, &FPaint); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return FDC; }
  const RECT& PaintRect() const { return FPaint.rcPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
  HDC FDC;
};

void FillSolid(HDC dc, const RECT& rect, TColor color) {
  TGdiObject<HBRUSH> brush(::CreateSolidBrush(ColorToCOLORREF(color)));
  ::FillRect(dc, &rect, brush.Get());
}

}  // namespace

void TWin32WindowPeer::Paint() {
  HWND window = FHandle;
  TGdiObject<HRGN> region(::CreateRectRgn(0, 0, 0, 0));
  // The region to repaint, in client coordinates; BeginPaint empties it.
  ::GetUpdateRgn(window, region.Get(), FALSE);
  TPaintDC paint(window);
  RECT client{};
  ::GetClientRect(window, &client);
  if (::IsRectEmpty(&client) || ::IsRectEmpty(&paint.PaintRect())) return;

  TMemoryDC buffer(paint.Get());
  TGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
  {
    TSelectObject selected(buffer.Get(), bitmap.Get());
    ::SelectClipRgn(buffer.Get(), region.Get());
    if (IsSpeedButton()) {
      PaintSpeedButton(buffer.Get(), client);
    } else {
      TGdiCanvas canvas(buffer.Get());
      Control()->PaintWindow(canvas, ToTRect(client));
    }
    const RECT& rect = paint.PaintRect();
    ::BitBlt(paint.Get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
             buffer.Get(), rect.left, rect.top, SRCCOPY);
  }
}

// A flat face with a thin raised edge, sunken while held down; the glyph is centred, one pixel
// lower and to the right while held, its lower-left pixel's colour left transparent.
void TWin32WindowPeer::PaintSpeedButton(HDC dc, const RECT& client) {
  bool down = FButtonDown && FMouseInside;
  FillSolid(dc, client, clBtnFace);
  RECT edge = client;
  ::DrawEdge(dc, &edge, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  HBITMAP glyph = ResourceBitmap(static_cast<TSpeedButton*>(Control())->GlyphName());
  BITMAP info{};
  if (!glyph || !::GetObjectW(glyph, sizeof(info), &info)) return;
  TMemoryDC source(dc);
  TSelectObject selected(source.Get(), glyph);
  // Drawn for 96 pixels per inch; stretched by whole source pixels, which keeps the key colour.
  const TScale scale = Control()->Scale();
  const int width = scale.Of(static_cast<int>(info.bmWidth));
  const int height = scale.Of(static_cast<int>(info.bmHeight));
  int x = (client.right - width) / 2 + (down ? 1 : 0);
  int y = (client.bottom - height) / 2 + (down ? 1 : 0);
  COLORREF transparent = ::GetPixel(source.Get(), 0, info.bmHeight - 1);
  ::GdiTransparentBlt(dc, x, y, width, height, source.Get(), 0, 0, info.bmWidth, info.bmHeight,
                      transparent);
}

}  // namespace skx
