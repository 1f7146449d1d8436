// The error trap around every COM interface member: no exception ever reaches the caller.
#pragma once

#include <windows.h>

#include <new>
#include <string>
#include <utility>

#include "Framework/Core/Exceptions.h"

namespace skx {

// Turns what a member throws into its result, with the thread's error information naming the
// object (source, its ProgID) and the interface (iid; IID_NULL where none is told). A failure
// gives E_UNEXPECTED, or the failure's own COM result. The 32-bit MinGW runtime unwinds with DWARF
// tables that cannot cross a system DLL frame, so an exception leaving a COM method would end the
// host process.
class TErrorTrap {
 public:
  TErrorTrap(std::wstring source, REFIID iid) : FSource(std::move(source)), FIid(iid) {}

  template <typename TBody>
  HRESULT operator()(TBody&& body) const noexcept {
    try {
      body();
      return S_OK;
    } catch (const EOleError& e) {
      return Fail(e.Message(), e.Code() < 0 ? e.Code() : E_UNEXPECTED);
    } catch (const Exception& e) {
      return Fail(e.Message(), E_UNEXPECTED);
    } catch (const std::bad_alloc&) {
      return Fail(L"Out of memory", E_OUTOFMEMORY);
    } catch (const std::exception& e) {
      return Fail(FromUtf8(e.what()), E_UNEXPECTED);
    } catch (...) {
      return Fail(L"Unexpected failure", E_UNEXPECTED);
    }
  }

  // A getter: E_POINTER without a place for the value; else the value is emptied first, so that a
  // failure leaves it empty, and set to what get answers.
  template <typename TValue, typename TGet>
  HRESULT operator()(TValue* value, TGet&& get) const noexcept {
    if (value == nullptr) return E_POINTER;
    *value = TValue{};
    return (*this)([&] { *value = static_cast<TValue>(get()); });
  }

 private:
  // Sets the thread's error information and returns the result.
  HRESULT Fail(const String& message, HRESULT result) const noexcept;

  std::wstring FSource;
  IID FIid;
};

}  // namespace skx
