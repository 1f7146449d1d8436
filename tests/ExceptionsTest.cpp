// Tests of the runtime failures' messages, the checked arithmetic and the text conversions.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

#include "Framework/Core/Exceptions.h"

namespace skx {
namespace {

template <typename Failure>
String MessageOf(const std::function<void()>& raise) {
  try {
    raise();
  } catch (const Failure& e) {
    return e.Message();
  }
  return L"no failure";
}

TEST(ExceptionsTest, RaiseHelpersCarryTheRuntimesMessages) {
  EXPECT_EQ(MessageOf<EIntOverflow>(RaiseIntOverflow), L"Integer overflow");
  EXPECT_EQ(MessageOf<ERangeError>(RaiseRangeError), L"Range check error");
  EXPECT_EQ(MessageOf<EDivByZero>(RaiseDivByZero), L"Division by zero");
  EXPECT_EQ(MessageOf<EConvertError>([] { RaiseInvalidDate(L"31.02.1998"); }),
            L"'31.02.1998' is not a valid date");
  EXPECT_EQ(MessageOf<EConvertError>([] { RaiseInvalidTime(L"8.00"); }),
            L"'8.00' is not a valid time");
  EXPECT_EQ(MessageOf<EConvertError>([] { RaiseInvalidInteger(L"12a"); }),
            L"'12a' is not a valid integer value");
  EXPECT_EQ(MessageOf<EListError>([] { RaiseListIndexError(-1); }),
            L"List index out of bounds (-1)");
  EXPECT_EQ(MessageOf<EListError>([] { RaiseListIndexError(5); }), L"List index out of bounds (5)");
}

TEST(ExceptionsTest, MessagesAreInsertedVerbatimAndReadAsUtf8) {
  EXPECT_EQ(MessageOf<EConvertError>([] { RaiseInvalidDate(L"%s 100%"); }),
            L"'%s 100%' is not a valid date");
  EXPECT_EQ(FormatText(L"%d%% of %d", 7), L"7% of 7");
  try {
    RaiseInvalidTime(L"\u00e9t\u00e9");
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "'\xc3\xa9t\xc3\xa9' is not a valid time");
  }
}

TEST(ExceptionsTest, CheckedEnumKeepsTheConstantsAndRaisesTheCallersErrorForAnyOther) {
  enum TThree { tOne, tTwo, tThree };
  std::vector<long> refused;
  auto refuse = [&refused](long value) {
    refused.push_back(value);
    throw ERangeError(L"refused");
  };
  EXPECT_EQ(CheckedEnum<TThree>(0, tThree, refuse), tOne);
  EXPECT_EQ(CheckedEnum<TThree>(2, tThree, refuse), tThree);
  EXPECT_THROW(CheckedEnum<TThree>(3, tThree, refuse), ERangeError);
  EXPECT_THROW(CheckedEnum<TThree>(-1, tThree, refuse), ERangeError);
  EXPECT_THROW(CheckedEnum<TThree>(LONG_MIN, tThree, refuse), ERangeError);
  EXPECT_EQ(refused, (std::vector<long>{3, -1, LONG_MIN}));
}

TEST(ExceptionsTest, CheckedArithmeticOverflowsAtThe32BitEdges) {
  EXPECT_EQ(CheckedAdd(INT_MAX - 1, 1), INT_MAX);
  EXPECT_EQ(CheckedSub(INT_MIN + 1, 1), INT_MIN);
  EXPECT_EQ(CheckedMul(-65536, 32768), INT_MIN);
  EXPECT_EQ(CheckedDiv(INT_MIN, 1), INT_MIN);
  EXPECT_EQ(CheckedDiv(-7, 2), -3);
  EXPECT_EQ(CheckedMod(-7, 2), -1);
  EXPECT_EQ(CheckedMod(INT_MIN, -1), 0);
  const std::function<void()> overflows[] = {
      [] { CheckedAdd(INT_MAX, 1); },   [] { CheckedSub(INT_MIN, 1); },
      [] { CheckedMul(65536, 32768); }, [] { CheckedMul(INT_MIN, -1); },
      [] { CheckedDiv(INT_MIN, -1); },
  };
  for (const auto& overflow : overflows)
    EXPECT_EQ(MessageOf<EIntOverflow>(overflow), L"Integer overflow");
  EXPECT_EQ(MessageOf<EDivByZero>([] { CheckedDiv(1, 0); }), L"Division by zero");
  EXPECT_EQ(MessageOf<EDivByZero>([] { CheckedMod(1, 0); }), L"Division by zero");
}

TEST(ExceptionsTest, RoundingAndTruncationInto32Bits) {
  EXPECT_EQ(CheckedRound(2.5), 2);
  EXPECT_EQ(CheckedRound(3.5), 4);
  EXPECT_EQ(CheckedRound(-2.5), -2);
  EXPECT_EQ(CheckedRound(2147483647.4), INT_MAX);
  EXPECT_EQ(CheckedRound(-2147483648.5), INT_MIN);
  EXPECT_EQ(CheckedTrunc(-2.9), -2);
  EXPECT_EQ(CheckedTrunc(2147483647.9), INT_MAX);
  EXPECT_EQ(CheckedTrunc(-2147483648.9), INT_MIN);
  const double overflows[] = {2147483647.5, -2147483648.6, 1e300, -1e300};
  for (double value : overflows) EXPECT_THROW(CheckedRound(value), EIntOverflow) << value;
  const double truncOverflows[] = {2147483648.0, -2147483649.0, 1e300};
  for (double value : truncOverflows) EXPECT_THROW(CheckedTrunc(value), EIntOverflow) << value;
}

TEST(StringsTest, Utf8RoundTripIncludingCharactersBeyondTheBasicPlane) {
  const String text = L"a\u00e9\u20ac\U0001F600";
  const std::string utf8 = "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80";
  EXPECT_EQ(ToUtf8(text), utf8);
  EXPECT_EQ(FromUtf8(utf8), text);
  EXPECT_EQ(FromUtf8(ToUtf8(L"")), L"");
}

TEST(StringsTest, MalformedUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(FromUtf8("\xc3"
                     "A"),
            L"\ufffdA");
  EXPECT_EQ(FromUtf8("x\xe2\x82"), L"x\ufffd");
  EXPECT_EQ(FromUtf8("\x80"
                     "b"),
            L"\ufffdb");
  EXPECT_EQ(FromUtf8("\xf8"
                     "c"),
            L"\ufffdc");
}

}  // namespace
}  // namespace skx
