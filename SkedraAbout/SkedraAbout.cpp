// The control's about box.
#include "SkedraAbout/SkedraAbout.h"

#include <commctrl.h>

#include "Framework/Win32/ResourceBitmaps.h"

namespace skx {

const wchar_t* const AboutCopyrightText =
    L"Version 1.0\r\nCopyright \u00A9 2026 the SkedraXControl authors. All rights reserved.";

namespace {

// The name's own font: bold, 13 pixels high; the rest of the box has the form's default font.
TFont NameFont() {
  TFont font;
  font.Height = -13;
  font.Style = TFontStyles{fsBold};
  return font;
}

}  // namespace

TSkedraXAbout::TSkedraXAbout() : FFont(MakeFont(TFont())), FNameFont(MakeFont(NameFont())) {
  CreateForm(L"About", 225, 149);
  HWND form = Handle();
  ::SendMessageW(form, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
  HWND image = CreateControl(form, WC_STATICW, String(), SS_BITMAP | SS_CENTERIMAGE, 0,
                             Bounds(8, 8, 25, 25), idCtlImage, FFont.Get());
  ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(ResourceBitmap(L"ABOUTBITMAP")));
  ::SetWindowPos(image, nullptr, 8, 8, 25, 25, SWP_NOZORDER | SWP_NOACTIVATE);
  CreateControl(form, WC_STATICW, L"Skedra ActiveX Control", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0,
                Bounds(40, 12, 163, 16), idNameLbl, FNameFont.Get());
  CreateControl(form, WC_STATICW, AboutCopyrightText, SS_LEFT | SS_NOPREFIX, 0,
                Bounds(40, 48, 173, 57), idCopyrightLbl, FFont.Get());
  CreateControl(form, WC_BUTTONW, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, Bounds(140, 120, 75, 23),
                idOkBtn, FFont.Get());
}

TSkedraXAbout::~TSkedraXAbout() { DestroyHandle(); }

INT_PTR TSkedraXAbout::Message(HWND, UINT Msg, WPARAM WParam, LPARAM LParam) {
  // The one button is the default and the cancel button: Escape closes with OK as Enter does.
  if (Msg == WM_COMMAND && LOWORD(WParam) == IDCANCEL) {
    TryClose(mrOk);
    return TRUE;
  }
  if (Msg == WM_CTLCOLORSTATIC &&
      ::GetDlgCtrlID(reinterpret_cast<HWND>(LParam)) == idNameLbl) {
    HDC dc = reinterpret_cast<HDC>(WParam);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
  }
  return FALSE;
}

void ShowAbout(TModalHost* Host) {
  TSkedraXAbout about;
  about.ShowModal(Host);
}

}  // namespace skx
