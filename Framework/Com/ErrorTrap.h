// The error trap around every automation member: no exception ever reaches the caller.
#pragma once

#include <windows.h>

#include <new>

#include "Framework/Core/Exceptions.h"

namespace skx {

// Sets the thread's error information and returns the failure's result.
HRESULT SetComError(const String& message, const std::wstring& source, REFIID iid, HRESULT result);

// Runs body; a failure becomes E_UNEXPECTED (or the failure's own COM result) with error info.
// The 32-bit MinGW runtime unwinds with DWARF tables that cannot cross a system DLL frame, so an
// exception leaving a COM method would end the host process.
template <typename TBody>
HRESULT ComTrap(const std::wstring& source, REFIID iid, TBody&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (const EOleError& e) {
    return SetComError(e.Message(), source, iid, e.Code() < 0 ? e.Code() : E_UNEXPECTED);
  } catch (const Exception& e) {
    return SetComError(e.Message(), source, iid, E_UNEXPECTED);
  } catch (const std::bad_alloc&) {
    return SetComError(L"Out of memory", source, iid, E_OUTOFMEMORY);
  } catch (const std::exception& e) {
    return SetComError(FromUtf8(e.what()), source, iid, E_UNEXPECTED);
  } catch (...) {
    return SetComError(L"Unexpected failure", source, iid, E_UNEXPECTED);
  }
}

}  // namespace skx
