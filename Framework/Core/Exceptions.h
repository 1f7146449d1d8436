// The failures of the system: exceptions that carry their message text.
#pragma once

#include <exception>
#include <string>

#include "Strings.h"

namespace skx {

class Exception : public std::exception {
 public:
  explicit Exception(String message);
  const String& Message() const { return FMessage; }
  const char* what() const noexcept override { return FUtf8.c_str(); }

 private:
  String FMessage;
  std::string FUtf8;
};

// The runtime's failure kinds; each raise helper below produces the runtime's exact message.
class EIntOverflow : public Exception { using Exception::Exception; };
class ERangeError : public Exception { using Exception::Exception; };
class EDivByZero : public Exception { using Exception::Exception; };
class EConvertError : public Exception { using Exception::Exception; };
class EListError : public Exception { using Exception::Exception; };
class EInvalidGridOperation : public Exception { using Exception::Exception; };
class EInvalidCast : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
// The window system refused a window ("Error creating window"), as when a process has used up
// its window handles.
class EOutOfResources : public Exception { using Exception::Exception; };

// A failure that carries its own COM result (a negative HRESULT), raised by the COM layer.
class EOleError : public Exception {
 public:
  EOleError(String message, long code) : Exception(std::move(message)), FCode(code) {}
  long Code() const { return FCode; }

 private:
  long FCode;
};

[[noreturn]] void RaiseIntOverflow();
[[noreturn]] void RaiseRangeError();
[[noreturn]] void RaiseDivByZero();
[[noreturn]] void RaiseInvalidDate(const String& text);
[[noreturn]] void RaiseInvalidTime(const String& text);
[[noreturn]] void RaiseInvalidInteger(const String& text);
[[noreturn]] void RaiseListIndexError(int index);
[[noreturn]] void RaiseInvalidCast();

// A number from outside (a container, a saved state) that must be one of an enumeration's
// constants, 0 to max: values beyond them would reach layout, painting and window code unchecked.
// Any other value is handed to raise, which throws the caller's own error.
template <typename TEnum, typename TRaise>
TEnum CheckedEnum(long value, long max, TRaise&& raise) {
  if (value < 0 || value > max) raise(value);
  return static_cast<TEnum>(value);
}

// Checked 32-bit arithmetic as the runtime does it with overflow checking on.
int CheckedAdd(int a, int b);
int CheckedSub(int a, int b);
int CheckedMul(int a, int b);
int CheckedDiv(int a, int b);
int CheckedMod(int a, int b);
int CheckedRound(double value);  // round half to even into 32 bits, or Integer overflow
int CheckedTrunc(double value);  // truncation into 32 bits, or Integer overflow

}  // namespace skx
