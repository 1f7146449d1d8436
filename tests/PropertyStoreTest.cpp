// The saved state's binary form: round trips, and truncated, foreign or damaged data refused.
#include <gtest/gtest.h>

#include "Framework/Core/PropertyStore.h"

namespace skx::test {
namespace {

TPropertyStore Sample() {
  TPropertyStore store;
  store.SetInt(L"SkedraType", 1);
  store.SetInt(L"Color", -2147483643);
  store.SetText(L"FontName", L"Tahoma \u00e9\u4e2d");
  store.SetText(L"Empty", L"");
  return store;
}

TEST(PropertyStore, RoundTripKeepsNamesKindsValuesAndOrder) {
  TPropertyStore back = TPropertyStore::Decode(Sample().Encode());
  ASSERT_EQ(back.Entries().size(), 4u);
  EXPECT_EQ(back.Entries()[0].first, L"SkedraType");
  std::int32_t number = 0;
  ASSERT_TRUE(back.GetInt(L"Color", number));
  EXPECT_EQ(number, -2147483643);
  String text;
  ASSERT_TRUE(back.GetText(L"FontName", text));
  EXPECT_EQ(text, L"Tahoma \u00e9\u4e2d");
  ASSERT_TRUE(back.GetText(L"Empty", text));
  EXPECT_EQ(text, L"");
  EXPECT_FALSE(back.GetInt(L"Missing", number));
}

TEST(PropertyStore, SettingANameTwiceKeepsOneEntry) {
  TPropertyStore store;
  store.SetInt(L"A", 1);
  store.SetInt(L"A", 2);
  std::int32_t value = 0;
  ASSERT_TRUE(store.GetInt(L"A", value));
  EXPECT_EQ(value, 2);
  EXPECT_EQ(store.Entries().size(), 1u);
}

TEST(PropertyStore, AValueOfTheOtherKindIsAReadError) {
  String text;
  EXPECT_THROW(Sample().GetText(L"SkedraType", text), EReadError);
}

TEST(PropertyStore, EveryTruncationIsRefused) {
  std::vector<std::uint8_t> bytes = Sample().Encode();
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_THROW(TPropertyStore::Decode(cut), EReadError) << size;
  }
}

TEST(PropertyStore, ForeignOrOtherVersionOrTrailingDataIsRefused) {
  std::vector<std::uint8_t> bytes = Sample().Encode();
  auto foreign = bytes;
  foreign[0] ^= 0xFF;
  EXPECT_THROW(TPropertyStore::Decode(foreign), EReadError);
  auto version = bytes;
  version[4] = 2;
  EXPECT_THROW(TPropertyStore::Decode(version), EReadError);
  auto trailing = bytes;
  trailing.push_back(0);
  EXPECT_THROW(TPropertyStore::Decode(trailing), EReadError);
}

TEST(PropertyStore, HugeCountsAndLengthsFailWithoutAllocating) {
  TPropertyStore store;
  store.SetText(L"A", L"x");
  std::vector<std::uint8_t> bytes = store.Encode();
  auto count = bytes;
  count[12] = count[13] = count[14] = count[15] = 0xFF;  // entry count
  EXPECT_THROW(TPropertyStore::Decode(count), EReadError);
  auto length = bytes;
  length[16] = length[17] = length[18] = length[19] = 0xFF;  // name length
  EXPECT_THROW(TPropertyStore::Decode(length), EReadError);
  auto size = bytes;
  size[8] = size[9] = size[10] = size[11] = 0xFF;  // payload size in the header
  EXPECT_THROW(TPropertyStore::Decode(size), EReadError);
  auto kind = bytes;
  kind[22] = 7;  // the value kind after the one-character name
  EXPECT_THROW(TPropertyStore::Decode(kind), EReadError);
}

}  // namespace
}  // namespace skx::test
