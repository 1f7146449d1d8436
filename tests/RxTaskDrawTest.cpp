// Task drawing: the shared icons, their order and places, the description's rectangle, font
// and text, on a bare rectangle and inside a marker.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "Bitmaps/Bitmaps.h"
#include "Framework/Core/RecordingCanvas.h"
#include "RxObjects/RxTaskObject.h"
#include "IconTestSupport.h"
#include "TaskTestSupport.h"

namespace skx::test {
namespace {

// The icons drawn, each as its resource name and where it went.
String IconsOf(const TRecordingCanvas& canvas) {
  String icons;
  for (const TCanvasCall& call : canvas.Of(coDraw)) {
    if (!icons.empty()) icons += L" ";
    icons += String(TaskBitmapNames[call.Bitmap - 1]) + L"@" + std::to_wstring(call.Point.X) +
             L"," + std::to_wstring(call.Point.Y);
  }
  return icons;
}

TCanvasCall TextCall(const TRecordingCanvas& canvas) {
  std::vector<TCanvasCall> texts = canvas.Of(coDrawText);
  EXPECT_EQ(texts.size(), 1u);
  return texts.empty() ? TCanvasCall() : texts.back();
}

class RxTaskDrawTest : public ::testing::Test {
 protected:
  TRecordingCanvas& Draw(const TRect& rect) {
    FCanvas = TRecordingCanvas();
    FTask.Draw(FCanvas, rect);
    return FCanvas;
  }

  TLoadedIcons FIcons;
  TFakeLoader& FLoader = FIcons.Loader;
  TRxTaskObject FTask{1};
  TRecordingCanvas FCanvas;
};

TEST_F(RxTaskDrawTest, IconsFollowTypePlaceReminderPrivacyPriorityAlongTheBottom) {
  Draw(TRect{3, 0, 288, 66});
  EXPECT_EQ(IconsOf(FCanvas), L"BMP_TASK@3,50 BMP_NORMAL@19,50");
  FTask.FTaskType = ttContact;
  FTask.FWhere = L"Office";
  FTask.FRemind = 15;
  FTask.FIsPrivate = true;
  FTask.FPriority = tpHigh;
  Draw(TRect{0, 0, 100, 40});
  EXPECT_EQ(IconsOf(FCanvas), L"BMP_HANDSHAK@0,24 BMP_HOME@16,24 BMP_REMIND@32,24 "
                              L"BMP_PRIVATE@48,24 BMP_HIGH@64,24");
  FTask.FTaskType = ttEvent;
  FTask.FPriority = tpLow;
  FTask.FRemind = -5;
  Draw(TRect{0, 0, 100, 40});
  EXPECT_EQ(IconsOf(FCanvas), L"BMP_EVENT@0,24 BMP_HOME@16,24 BMP_PRIVATE@32,24 BMP_LOW@48,24");
  // Values beyond the enumerations draw no type icon and no gauge.
  FTask.FTaskType = static_cast<TTaskType>(3);
  FTask.FPriority = static_cast<TTaskPriority>(200);
  Draw(TRect{0, 0, 100, 40});
  EXPECT_EQ(IconsOf(FCanvas), L"BMP_HOME@0,24 BMP_PRIVATE@16,24");
}

TEST_F(RxTaskDrawTest, DescriptionTakesTheStripAboveTheIconsOrFollowsThemOnALowRectangle) {
  FTask.FDescription = L"Review";
  TCanvasCall text = (Draw(TRect{3, 0, 288, 66}), TextCall(FCanvas));
  EXPECT_EQ(text.Rect, (TRect{3, 34, 288, 50}));
  EXPECT_EQ(text.Text, L"Review");
  EXPECT_TRUE(text.State.TransparentText);
  EXPECT_EQ(text.State.Font.Name, L"Small Fonts");
  EXPECT_EQ(text.State.Font.Size(), 7);
  EXPECT_EQ(text.State.Font.Style, TFontStyles{});
  // 17 pixels high is still taller than the icons; 16 is not.
  EXPECT_EQ((Draw(TRect{3, 0, 288, 17}), TextCall(FCanvas)).Rect, (TRect{3, -15, 288, 1}));
  EXPECT_EQ((Draw(TRect{3, 0, 288, 16}), TextCall(FCanvas)).Rect, (TRect{3 + 24 + 2, 0, 288, 16}));
  // A one-slot marker's rectangle is 15 high: icons cut at the top, text after all 72 pixels.
  FTask.FTaskType = ttContact;
  FTask.FWhere = L"Office";
  FTask.FRemind = 1;
  FTask.FIsPrivate = true;
  Draw(TRect{3, 0, 288, 15});
  EXPECT_EQ(FCanvas.Of(coDraw).front().Point, (TPoint{3, -1}));
  EXPECT_EQ(TextCall(FCanvas).Rect, (TRect{3 + 72 + 2, -1, 288, 15}));
}

TEST_F(RxTaskDrawTest, StatusSetsTheStyleAndAnUnknownStatusLeavesTheCanvasStyle) {
  FCanvas.SetFontStyle({fsBold});
  FTask.FStatus = tsCompleted;
  EXPECT_EQ((Draw(TRect{0, 0, 50, 40}), TextCall(FCanvas)).State.Font.Style, TFontStyles{fsStrikeOut});
  FTask.FStatus = tsSuspend;
  EXPECT_EQ((Draw(TRect{0, 0, 50, 40}), TextCall(FCanvas)).State.Font.Style, TFontStyles{fsItalic});
  FTask.FStatus = static_cast<TTaskStatus>(9);
  FCanvas = TRecordingCanvas();
  FCanvas.SetFontStyle({fsBold, fsUnderline});
  FCanvas.SetFontColor(clRed);
  FTask.Draw(FCanvas, TRect{0, 0, 50, 40});
  EXPECT_EQ(TextCall(FCanvas).State.Font.Style, (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(TextCall(FCanvas).State.Font.Color, clRed);
}

TEST_F(RxTaskDrawTest, AmpersandsReachTheCanvasUnchangedForItsMnemonicHandling) {
  FTask.FDescription = L"Tom && Jerry &Co";
  TCanvasCall text = (Draw(TRect{0, 0, 50, 40}), TextCall(FCanvas));
  EXPECT_EQ(text.Text, L"Tom && Jerry &Co");
  EXPECT_EQ(text.Flags, dtSingleLine);
  TRecordingCanvas canvas;
  DrawTextLine(canvas, TRect{1, 2, 3, 4}, L"&a");
  EXPECT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(TextCall(canvas).Rect, (TRect{1, 2, 3, 4}));
}

TEST_F(RxTaskDrawTest, AMissingIconIsEmptyDrawsNothingAndTakesNoRoom) {
  FLoader.Missing = {L"BMP_TASK", L"BMP_HOME"};
  FIcons.Reload();
  EXPECT_EQ(TaskBitmap(tbTask).Width(), 0);
  EXPECT_EQ(TaskBitmap(tbHome).Height(), 0);
  EXPECT_EQ(TaskBitmap(tbLow).Width(), 8);
  FTask.FWhere = L"Office";
  FTask.FIsPrivate = true;
  FTask.FDescription = L"x";
  Draw(TRect{3, 0, 288, 16});
  // Without the house the icon row sits on the bottom edge.
  EXPECT_EQ(IconsOf(FCanvas), L"BMP_PRIVATE@3,16 BMP_NORMAL@19,16");
  EXPECT_EQ(TextCall(FCanvas).Rect, (TRect{3 + 24 + 2, 16, 288, 16}));
}

// At twice the density the icons are stretched to twice their size, and the strip above them, the
// gap after them and the text's font grow with them.
TEST_F(RxTaskDrawTest, AtTwiceTheDensityIconsStripGapAndFontDoubleAlongTheBottom) {
  FCanvas = TRecordingCanvas();
  FCanvas.SetScale(TScale(192));
  FTask.Draw(FCanvas, TRect{0, 0, 200, 100});
  std::vector<TCanvasCall> icons = FCanvas.Of(coDraw);
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].Rect, (TRect{0, 68, 32, 100}));
  EXPECT_EQ(icons[1].Rect, (TRect{32, 68, 48, 100}));
  EXPECT_EQ(TextCall(FCanvas).Rect, (TRect{0, 36, 200, 68}));
  EXPECT_EQ(FCanvas.TextHeight(L"x"), 2 * 9);

  FCanvas = TRecordingCanvas();
  FCanvas.SetScale(TScale(192));
  FTask.Draw(FCanvas, TRect{0, 0, 200, 30});
  EXPECT_EQ(TextCall(FCanvas).Rect, (TRect{52, -2, 200, 30}));
}

TEST_F(RxTaskDrawTest, IconsAreReleasedOnceThroughTheirLoaderAndReadEmptyAfterwards) {
  FLoader.Missing = {L"BMP_EVENT"};
  FIcons.Reload();
  FLoader.Released.clear();
  FreeTaskBitmaps();
  std::sort(FLoader.Released.begin(), FLoader.Released.end());
  EXPECT_EQ(FLoader.Released, std::vector<std::uintptr_t>({1, 2, 4, 5, 6, 7, 8, 9}));
  for (int i = 0; i < TaskBitmapCount; ++i)
    EXPECT_TRUE(TaskBitmap(static_cast<TTaskBitmap>(i)).Empty()) << i;
  FreeTaskBitmaps();
  EXPECT_EQ(FLoader.Released.size(), 8u);
  Draw(TRect{3, 0, 288, 66});
  EXPECT_TRUE(FCanvas.Of(coDraw).empty());
}

// The marker hands the task its client area from 3 pixels in, selected or not.
using RxTaskMarkerTest = TaskTest;
INSTANTIATE_TEST_SUITE_P(Locales, RxTaskMarkerTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(RxTaskMarkerTest, TallAndOneSlotMarkersPlaceIconsAndTextFromTheirBottom) {
  TLoadedIcons icons;
  TSkedra& grid = MakeDailyGrid();
  for (int id : {1, 2}) {
    auto task = std::make_unique<TRxTaskObject>(id);
    task->FStartDateTime = At(12, id == 1 ? 9 : 14, 0);
    task->FFinishDateTime = At(12, id == 1 ? 9 : 14, id == 1 ? 45 : 0);
    grid.TaskItems().Add(std::move(task));
  }
  grid.TaskItems().Arrange();
  ASSERT_EQ(BoundsOf(0).Width(), 290);
  ASSERT_EQ(BoundsOf(0).Height(), 68);
  TRecordingCanvas tall;
  Marker(0).Paint(tall);
  EXPECT_EQ(IconsOf(tall), L"BMP_TASK@3,50 BMP_NORMAL@19,50");
  EXPECT_EQ(TextCall(tall).Rect, (TRect{3, 34, 288, 50}));
  ASSERT_EQ(BoundsOf(1).Height(), 17);
  TRecordingCanvas low;
  Marker(1).Paint(low);
  EXPECT_EQ(IconsOf(low), L"BMP_TASK@3,-1 BMP_NORMAL@19,-1");
  EXPECT_EQ(TextCall(low).Rect, (TRect{29, -1, 288, 15}));
}

}  // namespace
}  // namespace skx::test
