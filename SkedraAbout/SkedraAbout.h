// The control's about box.
#pragma once

#include <windows.h>

#include "Framework/Win32/ModalDialog.h"

namespace skx {

enum TSkedraXAboutControl { idCtlImage = 100, idNameLbl, idCopyrightLbl, idOkBtn = IDOK };

extern const wchar_t* const AboutCopyrightText;

class TSkedraXAbout : public TModalDialog {
 public:
  TSkedraXAbout();
  ~TSkedraXAbout() override;

 protected:
  INT_PTR Message(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) override;
  HWND FirstFocus() override { return ::GetDlgItem(Handle(), idOkBtn); }

 private:
  TGdiObject<HFONT> FFont;
  TGdiObject<HFONT> FNameFont;
};

// Shows the about box modally, owned as Host says (TModalDialog::ShowModal).
void ShowAbout(TModalHost* Host);

}  // namespace skx
