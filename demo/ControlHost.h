// The control on a window of the demo, hosted by the platform's ATL container (atl.dll), with
// the demo's sink connected to its events (ISkedraXEvents2).
#pragma once

#include "SkedraXControl.h"

namespace demo {

class TControlHost {
 public:
  // Creates the host window as a child of Parent and the control in it, from a saved state so
  // that the control is loaded (its navigation buttons and menu exist); a null Sink connects
  // none. Throws a text on failure.
  TControlHost(HWND Parent, IDispatch* Sink);
  ~TControlHost();
  TControlHost(const TControlHost&) = delete;
  TControlHost& operator=(const TControlHost&) = delete;

  HWND Window() const { return FWindow; }
  // The control's own window inside the host window.
  HWND ControlWindow() const { return ::GetWindow(FWindow, GW_CHILD); }
  ISkedraX2& Control() const { return *FControl; }

 private:
  void Close();

  // Stays loaded for the program's life: its window class serves every host window.
  HMODULE FAtl = nullptr;
  HWND FWindow = nullptr;
  IUnknown* FContainer = nullptr;
  ISkedraX2* FControl = nullptr;
  IConnectionPoint* FEvents = nullptr;
  DWORD FCookie = 0;
};

}  // namespace demo
