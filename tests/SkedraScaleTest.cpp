// The grid at screen densities other than 96 pixels per inch: rows, markers, fonts and buttons
// grow together, a window's density change lays the grid out again, and 96 changes nothing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Framework/Core/RecordingCanvas.h"
#include "Framework/Core/Scale.h"
#include "TaskTestSupport.h"

namespace skx::test {
namespace {

TEST(ScaleTest, RoundsHalvesAwayFromZeroAsTheSystemsMulDiv) {
  const TScale half(144);
  EXPECT_EQ(half.Of(1), 2);
  EXPECT_EQ(half.Of(3), 5);
  EXPECT_EQ(half.Of(-11), -17);
  EXPECT_EQ(half.Of(0), 0);
  EXPECT_EQ(TScale(120).Of(5), 6);
  EXPECT_EQ(TScale(192).Of(-9), -18);
  EXPECT_EQ(half.Of(std::int64_t{3000000000}), std::int64_t{4500000000});
}

TEST(ScaleTest, AnUnknownDensityIsTheBaseOneAndTheBaseChangesNothing) {
  EXPECT_TRUE(TScale(0).IsBase());
  EXPECT_TRUE(TScale(-144).IsBase());
  EXPECT_EQ(TScale(), TScale(96));
  for (int pixels : {-13, -1, 0, 1, 16, 25, 1000}) EXPECT_EQ(TScale().Of(pixels), pixels);
}

// Cells laid end to end by their spans end where the whole run scales to, however each rounds.
TEST(ScaleTest, SpansOfARunAddUpToTheScaledRun) {
  for (int dpi : {120, 144, 168, 192}) {
    const TScale scale(dpi);
    std::int64_t sum = 0;
    for (int cell = 0; cell < 97; ++cell) sum += scale.Span(std::int64_t{cell} * 17, 17);
    EXPECT_EQ(sum, scale.Of(std::int64_t{97} * 17)) << dpi;
  }
}

// The same daily grid and task made at each density, the window's client area scaled too.
class SkedraScaleTest : public TaskTest {
 protected:
  struct TLayout {
    TScale Scale;
    int EightTop = 0;
    TRect Marker;
    int HeadingTextHeight = 0;
    int TaskTextHeight = 0;
    TRect NextButton;
  };

  TSkedra& MakeGridAt(int dpi) {
    FRecorder.PixelsPerInch = dpi;
    TSkedra& grid = MakeGrid();
    grid.Loaded();
    grid.SetSkedraType(skDaily);
    FitClient(grid);
    return grid;
  }

  // A client area of 700 x 1800 base pixels, whatever frame the window has.
  static void FitClient(TSkedra& grid) {
    const TScale scale = grid.Scale();
    grid.SetBounds(0, 0, scale.Of(700) + grid.Width() - grid.ClientWidth(),
                   scale.Of(1800) + grid.Height() - grid.ClientHeight());
  }

  TLayout Measure(TSkedra& grid) {
    if (grid.TaskItems().Count() == 0) {
      auto task = std::make_unique<TRxTaskObject>(1);
      task->FStartDateTime = At(12, 8, 0);
      task->FFinishDateTime = At(12, 9, 30);
      grid.TaskItems().Add(std::move(task));
    }
    grid.TaskItems().Arrange();
    TLayout layout;
    layout.Scale = grid.Scale();
    layout.EightTop = grid.CellRect(2, grid.DateTimeToCell(At(12, 8, 0)).Row).Top;
    layout.Marker = Marker(0).BoundsRect();
    layout.NextButton = grid.NextButton()->BoundsRect();
    TRecordingCanvas canvas;
    grid.PaintWindow(canvas, grid.ClientRect());
    for (const TCanvasCall& call : canvas.Of(coDrawText)) {
      const int height = std::abs(canvas.Scale().Of(call.State.Font.Height));
      if (call.Text == Date(12) + L" Thu") layout.HeadingTextHeight = height;
      if (call.State.Font.Name == L"Small Fonts") layout.TaskTextHeight = height;
    }
    return layout;
  }

  // Whether a length of the scaled grid is the base one times the scale, within a pixel.
  static void ExpectScaled(int base, int scaled, TScale scale, const char* what) {
    const double expected = base * scale.Dpi() / 96.0;
    EXPECT_LE(std::abs(scaled - expected), 1.0) << what << " at " << scale.Dpi() << ": " << scaled
                                                << " for " << base;
  }

  static void ExpectScaled(const TLayout& base, const TLayout& scaled) {
    const TScale scale = scaled.Scale;
    ExpectScaled(base.EightTop, scaled.EightTop, scale, "8:00 row's top");
    ExpectScaled(base.Marker.Left, scaled.Marker.Left, scale, "marker's left");
    ExpectScaled(base.Marker.Top, scaled.Marker.Top, scale, "marker's top");
    ExpectScaled(base.Marker.Right, scaled.Marker.Right, scale, "marker's right");
    ExpectScaled(base.Marker.Bottom, scaled.Marker.Bottom, scale, "marker's bottom");
    ExpectScaled(base.HeadingTextHeight, scaled.HeadingTextHeight, scale, "heading's text");
    ExpectScaled(base.TaskTextHeight, scaled.TaskTextHeight, scale, "task's text");
    ExpectScaled(base.NextButton.Width(), scaled.NextButton.Width(), scale, "button's width");
  }

  // The marker's rectangle must match the rows' cells exactly, whatever the rounding.
  void ExpectMarkerOnItsRows(TSkedra& grid) {
    const TRect first = grid.CellRect(2, grid.DateTimeToCell(At(12, 8, 0)).Row);
    const TRect last = grid.CellRect(2, grid.DateTimeToCell(At(12, 9, 30)).Row);
    EXPECT_EQ(Marker(0).Top(), first.Top);
    EXPECT_EQ(Marker(0).BoundsRect().Bottom, last.Bottom + grid.GridLineWidth());
  }
};
INSTANTIATE_TEST_SUITE_P(Locales, SkedraScaleTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(SkedraScaleTest, AtTheBaseDensityEverySizeIsTheFixedPixelCount) {
  TSkedra& grid = MakeGridAt(96);
  EXPECT_EQ(grid.Scale(), TScale());
  EXPECT_EQ(grid.GridLineWidth(), 1);
  for (int row = 0; row < grid.RowCount(); ++row) ASSERT_EQ(grid.RowHeights(row), 16) << row;
  EXPECT_EQ(grid.ColWidths(0), 25);
  EXPECT_EQ(grid.ColWidths(1), 25);
  const TLayout layout = Measure(grid);
  EXPECT_EQ(layout.EightTop, 33 * 17);
  EXPECT_EQ(layout.Marker, (TRect{50 + 10, 33 * 17, 700 - 3, 40 * 17}));
  EXPECT_EQ(layout.HeadingTextHeight, 11);
  EXPECT_EQ(layout.TaskTextHeight, 9);
  EXPECT_EQ(layout.NextButton, (TRect{700 - 13, 0, 700, 13}));
  EXPECT_EQ(grid.PrevButton()->BoundsRect(), (TRect{0, 0, 13, 13}));
}

TEST_P(SkedraScaleTest, RowsMarkersTextAndButtonsGrowByOneAndAHalfAndByTwo) {
  MakeGridAt(96);
  const TLayout base = Measure(*FGrid);
  for (int dpi : {144, 192}) {
    TSkedra& grid = MakeGridAt(dpi);
    const TLayout scaled = Measure(grid);
    EXPECT_EQ(scaled.Scale, TScale(dpi));
    ExpectScaled(base, scaled);
    ExpectMarkerOnItsRows(grid);
  }
}

// At 1.5 the rows alternate between two heights so that each edge keeps its scaled place, and a
// scrolled view keeps its markers on their rows.
TEST_P(SkedraScaleTest, AtOneAndAHalfScrolledMarkersStayOnTheirRows) {
  TSkedra& grid = MakeGridAt(144);
  grid.SetBounds(0, 0, grid.Width(), 400);
  Measure(grid);
  for (int top : {29, 30, 31, 32, 33}) {
    grid.SetTopLeft(2, top);
    grid.TaskItems().Arrange();
    ExpectMarkerOnItsRows(grid);
  }
}

TEST_P(SkedraScaleTest, AWindowsDensityChangeLaysTheGridOutAsIfMadeThere) {
  MakeGridAt(192);
  const TLayout made = Measure(*FGrid);
  TSkedra& grid = MakeGridAt(96);
  Measure(grid);
  FRecorder.ClearInvalidations();
  FRecorder.ChangeDpi(grid, 192);
  FitClient(grid);
  const TLayout changed = Measure(grid);
  EXPECT_EQ(changed.EightTop, made.EightTop);
  EXPECT_EQ(changed.Marker, made.Marker);
  EXPECT_EQ(changed.HeadingTextHeight, made.HeadingTextHeight);
  EXPECT_EQ(changed.NextButton, made.NextButton);
  EXPECT_GT(FRecorder.WindowOf(grid)->FullInvalidations, 0);
}

// A handler of the recalculation that a density change brings may free the grid.
TEST_P(SkedraScaleTest, AnUpdateHandlerThatFreesTheGridOnADensityChangeEndsIt) {
  TSkedra& grid = MakeGridAt(96);
  grid.OnUpdateSkedra = [this](TComponent*, TUpdateSkedraMode) { FGrid.reset(); };
  FRecorder.ChangeDpi(grid, 144);
  EXPECT_EQ(FGrid, nullptr);
}

// The container's density counts until the grid has a window; the window's then wins.
TEST_P(SkedraScaleTest, TheContainersDensityCountsOnlyUntilTheWindowIsMade) {
  TSkedra& grid = MakeGrid(false);
  grid.Loaded();
  grid.SetSkedraType(skDaily);
  TAmbientProperties ambient;
  ambient.PixelsPerInch = 144;
  grid.TakeAmbient(ambient);
  EXPECT_EQ(grid.Scale(), TScale(144));
  EXPECT_EQ(grid.GridLineWidth(), 2);
  EXPECT_EQ(grid.PrevButton()->Width(), 20);
  FRecorder.PixelsPerInch = 192;
  grid.SetPeer(FRecorder.CreatePeer());
  grid.HandleNeeded();
  EXPECT_EQ(grid.Scale(), TScale(192));
  EXPECT_EQ(grid.RowHeights(1), 32);
  ambient.PixelsPerInch = 120;
  grid.TakeAmbient(ambient);
  EXPECT_EQ(grid.Scale(), TScale(192));
}

// Child windows and windowless markers take the density of the grid that holds them.
TEST_P(SkedraScaleTest, ChildrenFollowTheGridsDensityAndMarkerFramesGrowWithIt) {
  TSkedra& grid = MakeGridAt(192);
  Measure(grid);
  EXPECT_EQ(grid.NextButton()->Scale(), TScale(192));
  EXPECT_EQ(Marker(0).Scale(), TScale(192));
  EXPECT_EQ(Marker(0).ClientOrigin().X - Marker(0).Left(), 2);
  EXPECT_EQ(Marker(0).ClientWidth(), Marker(0).Width() - 4);
}

TEST_P(SkedraScaleTest, TheCurrentTimeLineThickensWithTheDensity) {
  FClock.Set(At(12, 10, 0));
  TSkedra& grid = MakeGridAt(192);
  TRecordingCanvas canvas;
  grid.PaintWindow(canvas, grid.ClientRect());
  bool line = false;
  for (const TCanvasCall& call : canvas.Of(coFillRect))
    if (call.State.BrushColor == clRed) line = call.Rect.Height() == 4;
  EXPECT_TRUE(line);
}

}  // namespace
}  // namespace skx::test
