// The task dialog's type list items: icon, caption rectangle, focus mark.
#include <gtest/gtest.h>

#include "Framework/Core/RecordingCanvas.h"
#include "IconTestSupport.h"
#include "RxObjects/RxTaskObject.h"
#include "TaskFrm/TypeListItem.h"

namespace skx::test {
namespace {

TEST(TypeListItemTest, IconThenCaptionInsideTheItem) {
  TLoadedIcons icons;
  const TRect item = Bounds(1, 17, 103, 16);
  for (int index = 0; index < 3; ++index) {
    TRecordingCanvas canvas;
    canvas.SetBrushColor(clHighlight);
    DrawTypeListItem(canvas, index, item, L"Meeting", false);
    ASSERT_EQ(canvas.Of(coDraw).size(), 1u);
    EXPECT_EQ(canvas.Of(coDraw)[0].Bitmap, static_cast<std::uintptr_t>(tbTask + index + 1));
    EXPECT_EQ(canvas.Of(coDraw)[0].Point, (TPoint{1, 17}));
    ASSERT_EQ(canvas.Of(coDrawText).size(), 1u);
    const TCanvasCall text = canvas.Of(coDrawText)[0];
    EXPECT_EQ(text.Rect, (TRect{1 + 16 + 2, 18, 104, 32}));
    EXPECT_EQ(text.Flags, dtSingleLine);
    EXPECT_EQ(text.Text, L"Meeting");
    ASSERT_EQ(canvas.Of(coFillRect).size(), 1u);
    EXPECT_EQ(canvas.Of(coFillRect)[0].Rect, item);
    EXPECT_EQ(canvas.Of(coFillRect)[0].State.BrushColor, clHighlight);
    EXPECT_TRUE(canvas.Of(coDrawFocusRect).empty());
  }
}

TEST(TypeListItemTest, UnknownIndexHasNoIconAndFocusIsMarkedOnce) {
  TLoadedIcons icons;
  TRecordingCanvas canvas;
  DrawTypeListItem(canvas, 3, Bounds(0, 0, 100, 16), L"?", true);
  EXPECT_TRUE(canvas.Of(coDraw).empty());
  EXPECT_EQ(canvas.Of(coDrawText)[0].Rect, (TRect{0, 1, 100, 15}));
  ASSERT_EQ(canvas.Of(coDrawFocusRect).size(), 1u);
  EXPECT_EQ(canvas.Of(coDrawFocusRect)[0].Rect, Bounds(0, 0, 100, 16));
}

TEST(TypeListItemTest, MissingIconLeavesOnlyTheGap) {
  TLoadedIcons icons;
  icons.Loader.Missing = {L"BMP_EVENT"};
  icons.Reload();
  TRecordingCanvas canvas;
  DrawTypeListItem(canvas, ttEvent, Bounds(0, 0, 100, 16), L"Event", false);
  EXPECT_EQ(canvas.Of(coDrawText)[0].Rect.Left, 2);
}

}  // namespace
}  // namespace skx::test
