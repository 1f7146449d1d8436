// Runtime failures with the runtime's messages, and checked integer arithmetic.
#include "Exceptions.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace skx {

Exception::Exception(String message) : FMessage(std::move(message)), FUtf8(ToUtf8(FMessage)) {}

void RaiseIntOverflow() { throw EIntOverflow(L"Integer overflow"); }
void RaiseRangeError() { throw ERangeError(L"Range check error"); }
void RaiseDivByZero() { throw EDivByZero(L"Division by zero"); }
void RaiseInvalidDate(const String& text) {
  throw EConvertError(FormatText(L"'%s' is not a valid date", text));
}
void RaiseInvalidTime(const String& text) {
  throw EConvertError(FormatText(L"'%s' is not a valid time", text));
}
void RaiseInvalidInteger(const String& text) {
  throw EConvertError(FormatText(L"'%s' is not a valid integer value", text));
}
void RaiseListIndexError(int index) {
  throw EListError(FormatText(L"List index out of bounds (%d)", index));
}
void RaiseInvalidCast() { throw EInvalidCast(L"Invalid class typecast"); }

namespace {

int Narrow(std::int64_t value) {
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    RaiseIntOverflow();
  }
  return static_cast<int>(value);
}

}  // namespace

int CheckedAdd(int a, int b) { return Narrow(std::int64_t{a} + b); }
int CheckedSub(int a, int b) { return Narrow(std::int64_t{a} - b); }
int CheckedMul(int a, int b) { return Narrow(std::int64_t{a} * b); }

int CheckedDiv(int a, int b) {
  if (b == 0) RaiseDivByZero();
  return Narrow(std::int64_t{a} / b);
}

int CheckedMod(int a, int b) {
  if (b == 0) RaiseDivByZero();
  return static_cast<int>(std::int64_t{a} % b);
}

int CheckedRound(double value) {
  if (!std::isfinite(value) || value >= 2147483647.5 || value < -2147483648.5) RaiseIntOverflow();
  return Narrow(static_cast<std::int64_t>(std::nearbyint(value)));
}

int CheckedTrunc(double value) {
  if (!std::isfinite(value) || value >= 2147483648.0 || value <= -2147483649.0) RaiseIntOverflow();
  return Narrow(static_cast<std::int64_t>(std::trunc(value)));
}

}  // namespace skx
