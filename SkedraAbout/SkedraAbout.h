// The control's about box.
#pragma once

#include <windows.h>

#include "Framework/Win32/ModalDialog.h"

namespace skx {

enum TSkedraXAboutControl { idCtlImage = 100, idNameLbl, idCopyrightLbl, idOkBtn = IDOK };

extern const wchar_t* const AboutCopyrightText;

class TSkedraXAbout : public TModalDialog {
 public:
  // The picture is loaded from the resources of that module.
  explicit TSkedraXAbout(HINSTANCE Resources);
  ~TSkedraXAbout() override;

 protected:
  INT_PTR Message(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) override;
  HWND FirstFocus() override { return ::GetDlgItem(Handle(), idOkBtn); }

 private:
  HFONT FFont = nullptr;
  HFONT FNameFont = nullptr;
  HBITMAP FPicture = nullptr;
};

// Shows the about box modally, with the pictures of the library's own resources.
void ShowAbout();

}  // namespace skx
