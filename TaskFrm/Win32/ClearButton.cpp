// The button that empties a field.
#include "TaskFrm/Win32/ClearButton.h"

#include <commctrl.h>
#include <windowsx.h>


namespace skx {

namespace {

constexpr int GlyphSize = 16;

// A black cross two pixels wide in the glyph's 16 by 16 square.
void DrawCross(HDC dc, int left, int top) {
  HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
  for (int offset = 0; offset < 2; ++offset) {
    ::MoveToEx(dc, left + 4 + offset, top + 4, nullptr);
    ::LineTo(dc, left + 12 + offset, top + 12);
    ::MoveToEx(dc, left + 11 + offset, top + 4, nullptr);
    ::LineTo(dc, left + 3 + offset, top + 12);
  }
  ::SelectObject(dc, oldPen);
}

}  // namespace

TClearButton::TClearButton(HWND Static) : FWindow(Static) {
  TSubclass<TClearButton>::Attach(FWindow, this);
}

TClearButton::~TClearButton() { TSubclass<TClearButton>::Detach(FWindow); }

bool TClearButton::Over(LPARAM Point) const {
  RECT client;
  ::GetClientRect(FWindow, &client);
  const POINT p{GET_X_LPARAM(Point), GET_Y_LPARAM(Point)};
  return ::PtInRect(&client, p) != FALSE;
}

void TClearButton::SetPressed(bool Pressed) {
  if (Pressed == FPressed) return;
  FPressed = Pressed;
  ::InvalidateRect(FWindow, nullptr, FALSE);
}

void TClearButton::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(FWindow, &paint);
  RECT client;
  ::GetClientRect(FWindow, &client);
  ::DrawFrameControl(dc, &client, DFC_BUTTON, DFCS_BUTTONPUSH | (FPressed ? DFCS_PUSHED : 0));
  const int shift = FPressed ? 1 : 0;
  DrawCross(dc, (client.right - GlyphSize) / 2 + shift, (client.bottom - GlyphSize) / 2 + shift);
  ::EndPaint(FWindow, &paint);
}

LRESULT TClearButton::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ::SetCapture(FWindow);
      FTracking = true;
      SetPressed(true);
      return 0;
    case WM_MOUSEMOVE:
      if (FTracking) SetPressed(Over(LParam));
      return 0;
    case WM_LBUTTONUP:
      if (FTracking) {
        const bool clicked = Over(LParam);
        ::ReleaseCapture();
        if (clicked) {
          ::SendMessageW(::GetParent(FWindow), WM_COMMAND,
                         MAKEWPARAM(::GetDlgCtrlID(FWindow), BN_CLICKED),
                         reinterpret_cast<LPARAM>(FWindow));
        }
      }
      return 0;
    case WM_CAPTURECHANGED:
      FTracking = false;
      SetPressed(false);
      return 0;
  }
  return ::DefSubclassProc(FWindow, Msg, WParam, LParam);
}

}  // namespace skx
