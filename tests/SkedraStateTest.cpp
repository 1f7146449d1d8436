// The grid's saved state: what it holds, what loading it changes, and values it refuses.
#include <gtest/gtest.h>

#include "Framework/Core/DateTime.h"
#include "SkedraComp/Skedra.h"
#include "SkedraComp/SkedraState.h"

namespace skx::test {
namespace {

class SkedraStateTest : public ::testing::Test {
 protected:
  TFixedClock FClock{EncodeDate(1998, 3, 12)};
  TSkedra FSource{nullptr, FClock};
  TSkedra FTarget{nullptr, FClock};
};

TEST_F(SkedraStateTest, RoundTripCarriesViewKindAndControlProperties) {
  FSource.SetSkedraType(skWeekly);
  FSource.SetBorderStyle(bsNone);
  FSource.SetColor(0x00112233);
  FSource.SetCtl3D(false);
  FSource.SetParentCtl3D(false);
  FSource.SetCursor(-21);
  FSource.SetDragMode(1);
  FSource.SetEnabled(false);
  TFont font = FSource.Font();
  font.Name = L"Tahoma";
  font.SetSize(12);
  font.Style = TFontStyles{fsBold, fsItalic};
  FSource.SetFont(font);

  TPropertyStore store;
  WriteSkedraState(FSource, store);
  ReadSkedraState(FTarget, TPropertyStore::Decode(store.Encode()));

  EXPECT_EQ(FTarget.SkedraType(), skWeekly);
  EXPECT_EQ(FTarget.BorderStyle(), bsNone);
  EXPECT_EQ(FTarget.Color(), 0x00112233u);
  EXPECT_FALSE(FTarget.ParentColor());
  EXPECT_FALSE(FTarget.Ctl3D());
  EXPECT_EQ(FTarget.Cursor(), -21);
  EXPECT_EQ(FTarget.DragMode(), 1);
  EXPECT_FALSE(FTarget.Enabled());
  EXPECT_EQ(FTarget.Font(), font);
  EXPECT_EQ(FTarget.ColCount(), 2 + 5);  // the weekly layout ran: two label columns, Monday to Friday
}

TEST_F(SkedraStateTest, SettingsShownDateAndTasksAreNotSaved) {
  TPropertyStore store;
  WriteSkedraState(FSource, store);
  for (const auto& entry : store.Entries()) {
    EXPECT_NE(entry.first, L"ActiveDate");
    EXPECT_NE(entry.first, L"TimeScale");
    EXPECT_NE(entry.first, L"WeekStart");
  }
}

TEST_F(SkedraStateTest, AnOutOfRangeValueChangesNothing) {
  TPropertyStore store;
  WriteSkedraState(FSource, store);
  store.SetInt(L"Color", 0x00445566);
  store.SetInt(L"SkedraType", 2);
  EXPECT_THROW(ReadSkedraState(FTarget, store), EReadError);
  EXPECT_EQ(FTarget.Color(), clSilver);
  EXPECT_EQ(FTarget.SkedraType(), skDaily);

  store.SetInt(L"SkedraType", 0);
  store.SetText(L"FontName", L"");
  EXPECT_THROW(ReadSkedraState(FTarget, store), EReadError);
  store.SetText(L"FontName", L"Arial");
  store.SetInt(L"BorderStyle", -1);
  EXPECT_THROW(ReadSkedraState(FTarget, store), EReadError);
  EXPECT_EQ(FTarget.Color(), clSilver);
}

TEST_F(SkedraStateTest, MissingValuesKeepTheGridsOwn) {
  TPropertyStore store;
  store.SetInt(L"SkedraType", skWeekly);
  ReadSkedraState(FTarget, store);
  EXPECT_EQ(FTarget.SkedraType(), skWeekly);
  EXPECT_EQ(FTarget.Color(), clSilver);
  EXPECT_TRUE(FTarget.Enabled());
}

}  // namespace
}  // namespace skx::test
