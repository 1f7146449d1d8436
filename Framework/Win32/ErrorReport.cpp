// What the entry points from the platform do with a failure: show it and go on.
#include "Framework/Win32/ErrorReport.h"

#include <exception>

#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

TErrorReporter& Reporter() {
  static TErrorReporter reporter;
  return reporter;
}

String CurrentMessage() {
  try {
    throw;
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return FromUtf8(e.what());
  } catch (...) {
    return L"Unknown error";
  }
}

}  // namespace

void ReportCurrentException(HWND owner) noexcept {
  // A message box runs a message loop, in which a failing paint would fail again: while one
  // message is shown, further ones are dropped.
  static bool showing = false;
  try {
    String message = CurrentMessage();
    if (showing) return;
    showing = true;
    if (Reporter())
      Reporter()(message);
    else
      ::MessageBoxW(owner, message.c_str(), L"Error", MB_OK | MB_ICONERROR);
    showing = false;
  } catch (...) {
    showing = false;
  }
}

void SetErrorReporter(TErrorReporter reporter) { Reporter() = std::move(reporter); }

}  // namespace skx
