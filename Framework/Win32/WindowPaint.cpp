// Painting of a peer window: the control paints into a memory bitmap that is then copied to the
// screen, so that nothing flickers.
#include "Framework/Win32/GdiCanvas.h"
#include "Framework/Win32/GdiObjects.h"
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
    {
      TGdiCanvas canvas(buffer.Get());
      Control()->PaintWindow(canvas, ToTRect(client));
    }
    const RECT& rect = paint.PaintRect();
    ::BitBlt(paint.Get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
             buffer.Get(), rect.left, rect.top, SRCCOPY);
  }
}

}  // namespace skx
