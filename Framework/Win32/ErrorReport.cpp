// What the entry points from the platform do with a failure: show it and go on.
#include "Framework/Win32/ErrorReport.h"

#include <exception>
#include <new>

#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

String CurrentMessage() {
  try {
    throw;
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return L"Out of memory";
  } catch (const std::exception& e) {
    return FromUtf8(e.what());
  } catch (...) {
    return L"Unknown error";
  }
}

}  // namespace

void ReportCurrentException(HWND owner) noexcept {
  try {
    const String message = CurrentMessage();
    ::MessageBoxW(owner, message.c_str(), L"Error", MB_OK | MB_ICONERROR);
  } catch (...) {
  }
}

}  // namespace skx
