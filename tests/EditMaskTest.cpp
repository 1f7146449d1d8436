// The time fields' mask: what it shows, how texts fit in, typing and leaving the field.
#include <gtest/gtest.h>

#include "TaskFrm/EditMask.h"
#include "TaskFrm/TaskFormValues.h"

namespace skx {
namespace {

TEST(EditMaskTest, EmptyFieldShowsBlanksAndKeepsItsColons) {
  TEditMask mask(TimeEditMask);
  EXPECT_EQ(mask.Length(), 8u);
  EXPECT_EQ(mask.Text(), L"  :  :  ");
  EXPECT_EQ(mask.EditText(), L" _:__:__") << "an empty leading optional digit shows as a blank";
  EXPECT_TRUE(mask.CanLeave());
}

TEST(EditMaskTest, FitsTextsFieldByField) {
  TEditMask mask(TimeEditMask);
  mask.SetText(L"9:30:00");
  EXPECT_EQ(mask.Text(), L" 9:30:00");
  EXPECT_EQ(mask.EditText(), L" 9:30:00");
  mask.SetText(L"23:05:07");
  EXPECT_EQ(mask.Text(), L"23:05:07");
  mask.SetText(L"7:5");
  EXPECT_EQ(mask.EditText(), L" 7:5_:__") << "short minutes are aligned left, the rest stays empty";
  mask.SetText(L"ab:12:x9");
  EXPECT_EQ(mask.Text(), L"  :12: 9");
  EXPECT_FALSE(mask.Modified());
}

TEST(EditMaskTest, TypingFillsDigitsAndSkipsTheColons) {
  TEditMask mask(TimeEditMask);
  size_t caret = 0;
  for (wchar_t c : String(L"101500")) ASSERT_TRUE(mask.TypeChar(caret, c));
  EXPECT_EQ(mask.Text(), L"10:15:00");
  EXPECT_EQ(caret, 8u);
  EXPECT_FALSE(mask.TypeChar(caret, L'1')) << "no position left";

  caret = 2;  // on a colon: the digit goes to the next position
  ASSERT_TRUE(mask.TypeChar(caret, L'4'));
  EXPECT_EQ(mask.Text(), L"10:45:00");
  EXPECT_EQ(caret, 4u);
  EXPECT_FALSE(mask.TypeChar(caret, L'x'));
  EXPECT_FALSE(mask.TypeChar(caret, L' ')) << "a required position takes no blank";
  caret = 0;
  EXPECT_TRUE(mask.TypeChar(caret, L' ')) << "an optional one does";
  EXPECT_EQ(mask.Text(), L" 0:45:00");
  EXPECT_TRUE(mask.Modified());
}

TEST(EditMaskTest, DeletingEmptiesPositionsButNeverColons) {
  TEditMask mask(TimeEditMask);
  mask.SetText(L"12:34:56");
  EXPECT_EQ(mask.Backspace(3), 1u) << "backspace after a colon empties the digit before it";
  EXPECT_EQ(mask.Text(), L"1 :34:56");
  mask.Clear(2, 7);
  EXPECT_EQ(mask.Text(), L"1 :  : 6");
  EXPECT_EQ(mask.Backspace(0), 0u);
}

TEST(EditMaskTest, LeavingNeedsEveryRequiredDigitOnceChanged) {
  TEditMask mask(TimeEditMask);
  mask.SetText(L"  :  :  ");
  EXPECT_TRUE(mask.CanLeave()) << "an untouched empty field may be left";
  size_t caret = 0;
  mask.TypeChar(caret, L' ');
  mask.TypeChar(caret, L'9');
  EXPECT_FALSE(mask.CanLeave());
  for (wchar_t c : String(L"300")) mask.TypeChar(caret, c);
  EXPECT_EQ(mask.Text(), L" 9:30:0 ");
  EXPECT_FALSE(mask.CanLeave());
  mask.TypeChar(caret, L'0');
  EXPECT_TRUE(mask.CanLeave()) << "the optional hour digit may stay empty";
  mask.SetText(L"9:30:00");
  mask.Clear(0, 8);
  mask.Undo();
  EXPECT_EQ(mask.Text(), L" 9:30:00") << "escape returns to the loaded text";
  EXPECT_TRUE(mask.CanLeave());
}

}  // namespace
}  // namespace skx
