// The grid base: geometry, cell texts, selection by mouse and keyboard, and scrolling.
#include <gtest/gtest.h>

#include <limits>

#include "Framework/Core/Exceptions.h"
#include "Framework/Core/StringGrid.h"
#include "Framework/Core/HeadlessPeer.h"

namespace skx {
namespace {

// A 5 by 5 grid with a 200 by 100 client area: cells 64 by 24 with one-pixel lines, so
// columns start at 0, 65, 130, 195 and rows at 0, 25, 50, 75.
class GridTest : public ::testing::Test {
 protected:
  GridTest() {
    FGrid.SetBounds(0, 0, 204, 104);
    FGrid.SetPeer(FRecorder.CreatePeer());
    FGrid.HandleNeeded();
    FGrid.OnTopLeftChanged = [this](TComponent*) { ++FScrolls; };
  }

  void Click(int col, int row, TShiftState shift = {}) {
    TRect cell = FGrid.CellRect(col, row);
    FGrid.MouseDown(mbLeft, shift, cell.Left + 1, cell.Top + 1);
    FGrid.MouseUp(mbLeft, shift, cell.Left + 1, cell.Top + 1);
  }

  void Key(int key, TShiftState shift = {}) { FGrid.KeyDown(key, shift); }

  THeadlessRecorder FRecorder;
  TStringGrid FGrid{nullptr};
  int FScrolls = 0;
};

void ExpectGridError(const std::function<void()>& action, const wchar_t* message) {
  try {
    action();
    ADD_FAILURE() << "no failure";
  } catch (const EInvalidGridOperation& error) {
    EXPECT_EQ(error.Message(), message);
  }
}

TEST_F(GridTest, StartsAsFiveByFiveWithOneHeadingRowAndColumn) {
  EXPECT_EQ(FGrid.ColCount(), 5);
  EXPECT_EQ(FGrid.RowCount(), 5);
  EXPECT_EQ(FGrid.FixedCols(), 1);
  EXPECT_EQ(FGrid.FixedRows(), 1);
  EXPECT_EQ(FGrid.DefaultColWidth(), 64);
  EXPECT_EQ(FGrid.DefaultRowHeight(), 24);
  EXPECT_EQ(FGrid.GridLineWidth(), 1);
  EXPECT_EQ(FGrid.Options(), TGridOptions({goFixedVertLine, goFixedHorzLine, goVertLine,
                                           goHorzLine, goRangeSelect}));
  EXPECT_EQ(FGrid.FixedColor(), clBtnFace);
  EXPECT_EQ(FGrid.ClientWidth(), 200);
  EXPECT_EQ(FGrid.Selection(), (TCellRect{1, 1, 1, 1}));
  const TWindowRecord* window = FRecorder.WindowOf(FGrid);
  EXPECT_TRUE(window->Params.Style & wsVScroll);
  EXPECT_TRUE(window->Params.ExStyle & wsExClientEdge);
}

TEST_F(GridTest, FixedCountsMustStayBelowTheCounts) {
  ExpectGridError([&] { FGrid.SetFixedCols(5); },
                  L"Fixed column count must be less than column count");
  ExpectGridError([&] { FGrid.SetFixedRows(5); }, L"Fixed row count must be less than row count");
  FGrid.SetColCount(3);
  FGrid.SetFixedCols(2);
  EXPECT_EQ(FGrid.CurrentCol(), 2);
  EXPECT_EQ(FGrid.LeftVisibleCol(), 2);
  FGrid.SetColCount(1);
  EXPECT_EQ(FGrid.FixedCols(), 0);
}

TEST_F(GridTest, IndividualSizesFallBackToAndAreDiscardedByTheDefault) {
  FGrid.SetColWidths(2, 30);
  FGrid.SetRowHeights(4, -3);
  EXPECT_EQ(FGrid.ColWidths(2), 30);
  EXPECT_EQ(FGrid.ColWidths(3), 64);
  EXPECT_EQ(FGrid.ColWidths(9), 64);
  EXPECT_EQ(FGrid.RowHeights(4), -3);
  FGrid.SetDefaultColWidth(40);
  FGrid.SetDefaultRowHeight(20);
  EXPECT_EQ(FGrid.ColWidths(2), 40);
  EXPECT_EQ(FGrid.RowHeights(4), 20);
  ExpectGridError([&] { FGrid.SetColWidths(5, 10); }, L"Grid index out of range");
  ExpectGridError([&] { FGrid.SetColWidths(-1, 10); }, L"Grid index out of range");
  ExpectGridError([&] { FGrid.SetRowHeights(5, 10); }, L"Grid index out of range");
}

TEST_F(GridTest, ExtremeSizesAndScrollPositionsStayWithinThePixelRange) {
  const int huge = std::numeric_limits<int>::max();
  FGrid.SetColWidths(2, huge);
  EXPECT_EQ(FGrid.GridWidth(), 200);
  EXPECT_EQ(FGrid.CellRect(2, 1), (TRect{130, 25, huge, 49}));
  EXPECT_EQ(FGrid.MouseToCell(199, 30), (TCellCoord{2, 1}));
  FGrid.Scroll(false, scPosition, huge);
  EXPECT_EQ(FGrid.LeftVisibleCol(), 3);
  FGrid.Scroll(true, scPosition, huge);
  EXPECT_EQ(FGrid.TopVisibleRow(), 2);

  FGrid.SetDefaultRowHeight(-huge);
  FGrid.SetGridLineWidth(huge);
  FGrid.FocusCell(4, 4, true);
  EXPECT_EQ(FGrid.MouseToCell(5, 5).Col, 0);
  EXPECT_EQ(FGrid.GridWidth(), 200);
}

TEST_F(GridTest, CellTextsReadEmptyUntilWrittenAndGoWithRemovedCells) {
  EXPECT_EQ(FGrid.CellText(3, 3), L"");
  FGrid.SetCellText(3, 3, L"x");
  FGrid.SetCellText(1, 1, L"y");
  EXPECT_EQ(FGrid.CellText(3, 3), L"x");
  FGrid.SetColCount(3);
  FGrid.SetColCount(5);
  EXPECT_EQ(FGrid.CellText(3, 3), L"");
  EXPECT_EQ(FGrid.CellText(1, 1), L"y");
}

TEST_F(GridTest, PixelsAndCellsConvertBothWaysAndFollowTheScroll) {
  EXPECT_EQ(FGrid.CellRect(1, 1), (TRect{65, 25, 129, 49}));
  EXPECT_EQ(FGrid.MouseToCell(65, 25), (TCellCoord{1, 1}));
  EXPECT_EQ(FGrid.MouseToCell(64, 24), (TCellCoord{0, 0}));
  EXPECT_EQ(FGrid.MouseToCell(199, 99), (TCellCoord{3, 3}));
  EXPECT_EQ(FGrid.MouseToCell(-1, 200), (TCellCoord{-1, -1}));
  FGrid.SetTopLeft(2, 2);
  EXPECT_TRUE(FGrid.CellRect(1, 1).IsEmpty());
  EXPECT_EQ(FGrid.CellRect(0, 2), (TRect{0, 25, 64, 49}));
  EXPECT_EQ(FGrid.CellRect(2, 2), (TRect{65, 25, 129, 49}));
  EXPECT_EQ(FGrid.MouseToCell(70, 30), (TCellCoord{2, 2}));
}

TEST_F(GridTest, GridExtentStopsAtTheClientArea) {
  EXPECT_EQ(FGrid.GridWidth(), 200);
  FGrid.SetColCount(2);
  EXPECT_EQ(FGrid.GridWidth(), 130);
  FGrid.SetRowCount(2);
  EXPECT_EQ(FGrid.GridHeight(), 50);
}

// The painting draws from the axes: their cell in full view and their end must agree with the
// scrolling, also where the line after the last cell falls just outside the client area.
TEST_F(GridTest, AxesMapTheCellsInViewToPixels) {
  TGridAxis cols = FGrid.ColAxis();
  EXPECT_EQ(cols.LineWidth, 1);
  EXPECT_EQ(cols.FixedEnd, 65);
  EXPECT_EQ(cols.FirstCell, 1);
  EXPECT_EQ(cols.LastFullCell, 2);
  EXPECT_EQ(cols.GridEnd, 200);
  EXPECT_EQ(cols.CellExtent(1), 64);
  const TGridAxis rows = FGrid.RowAxis();
  EXPECT_EQ(rows.FixedEnd, 25);
  EXPECT_EQ(rows.LastFullCell, 3);
  EXPECT_EQ(rows.GridEnd, 100);
  EXPECT_EQ(FGrid.VisibleRowCount(), rows.LastFullCell - rows.FirstCell + 1);

  FGrid.SetColCount(3);
  FGrid.SetBounds(0, 0, 198, 104);
  cols = FGrid.ColAxis();
  EXPECT_EQ(cols.Extent, 194);
  EXPECT_EQ(cols.LastFullCell, 2);
  EXPECT_EQ(cols.GridEnd, 195);
  EXPECT_EQ(FGrid.GridWidth(), 194);

  FGrid.SetOptions({goHorzLine});
  FGrid.SetColCount(5);
  FGrid.SetTopLeft(2, 1);
  cols = FGrid.ColAxis();
  EXPECT_EQ(cols.LineWidth, 0);
  EXPECT_EQ(cols.FixedEnd, 64);
  EXPECT_EQ(cols.FirstCell, 2);
  EXPECT_EQ(cols.LastFullCell, 3);
  EXPECT_EQ(cols.GridEnd, 194);
}

TEST_F(GridTest, LeftPressSelectsAndShiftOrDragExtendsTheRange) {
  Click(2, 2);
  EXPECT_EQ(FGrid.Selection(), (TCellRect{2, 2, 2, 2}));
  EXPECT_EQ(FRecorder.FocusId, FRecorder.WindowOf(FGrid)->Id);
  Click(1, 1, {ssShift});
  EXPECT_EQ(FGrid.Selection(), (TCellRect{1, 1, 2, 2}));
  EXPECT_EQ(FGrid.CurrentCol(), 1);

  TRect from = FGrid.CellRect(3, 1);
  FGrid.MouseDown(mbLeft, {}, from.Left, from.Top);
  EXPECT_EQ(FRecorder.CaptureId, FRecorder.WindowOf(FGrid)->Id);
  // The partly visible column was scrolled into view by the press.
  EXPECT_EQ(FGrid.LeftVisibleCol(), 2);
  TRect to = FGrid.CellRect(2, 3);
  FGrid.MouseMove({ssLeft}, to.Left, to.Top);
  FGrid.MouseUp(mbLeft, {}, to.Left, to.Top);
  EXPECT_EQ(FGrid.Selection(), (TCellRect{2, 1, 3, 3}));
  EXPECT_EQ(FRecorder.CaptureId, -1);
  FGrid.MouseMove({}, to.Right, to.Bottom);
  EXPECT_EQ(FGrid.Selection(), (TCellRect{2, 1, 3, 3}));
}

TEST_F(GridTest, OtherButtonsAndFixedCellsLeaveTheSelection) {
  Click(2, 2);
  TRect cell = FGrid.CellRect(3, 3);
  FGrid.MouseDown(mbRight, {}, cell.Left, cell.Top);
  Click(0, 3);
  Click(3, 0);
  EXPECT_EQ(FGrid.Selection(), (TCellRect{2, 2, 2, 2}));
}

TEST_F(GridTest, WithoutRangeSelectShiftMovesTheWholeSelection) {
  FGrid.SetOptions({goVertLine, goHorzLine});
  Click(2, 2);
  Click(3, 3, {ssShift});
  EXPECT_EQ(FGrid.Selection(), (TCellRect{3, 3, 3, 3}));
  Key(vkUp, {ssShift});
  EXPECT_EQ(FGrid.Selection(), (TCellRect{3, 2, 3, 2}));
}

TEST_F(GridTest, KeysMoveTheCurrentCellAndNeverIntoTheHeadings) {
  Key(vkUp);
  Key(vkLeft);
  EXPECT_EQ(FGrid.Selection(), (TCellRect{1, 1, 1, 1}));
  Key(vkDown);
  Key(vkRight, {ssShift});
  EXPECT_EQ(FGrid.Selection(), (TCellRect{1, 2, 2, 2}));
  Key(vkEnd);
  EXPECT_EQ(FGrid.CurrentCol(), 4);
  EXPECT_EQ(FGrid.LeftVisibleCol(), 3);
  Key(vkHome);
  EXPECT_EQ(FGrid.CurrentCol(), 1);
  EXPECT_EQ(FGrid.LeftVisibleCol(), 1);
  Key(vkEnd, {ssCtrl});
  EXPECT_EQ(FGrid.CurrentRow(), 4);
  EXPECT_EQ(FGrid.TopVisibleRow(), 2);
  Key(vkHome, {ssCtrl});
  EXPECT_EQ(FGrid.CurrentRow(), 1);
  EXPECT_EQ(FGrid.TopVisibleRow(), 1);
}

TEST_F(GridTest, AKeyboardMenuComesUpBelowTheCurrentCellWhileItIsInView) {
  Click(1, 2);
  EXPECT_EQ(FGrid.KeyboardPopupPoint(), (TPoint{65, 74}));
  FGrid.SetTopLeft(3, 1);
  EXPECT_EQ(FGrid.LeftVisibleCol(), 3);
  EXPECT_EQ(FGrid.KeyboardPopupPoint(), (TPoint{0, 0}));
}

TEST_F(GridTest, PageKeysMoveByTheRowsInView) {
  FGrid.SetRowCount(20);
  ASSERT_EQ(FGrid.VisibleRowCount(), 3);
  Key(vkNext);
  EXPECT_EQ(FGrid.CurrentRow(), 4);
  EXPECT_EQ(FGrid.TopVisibleRow(), 2);
  Key(vkNext, {ssShift});
  EXPECT_EQ(FGrid.Selection(), (TCellRect{1, 4, 1, 7}));
  Key(vkPrior);
  Key(vkPrior);
  EXPECT_EQ(FGrid.CurrentRow(), 1);
  EXPECT_EQ(FGrid.TopVisibleRow(), 1);
}

TEST_F(GridTest, ScrollingClampsAndReportsEveryRealMove) {
  FGrid.SetRowCount(20);
  FGrid.SetTopLeft(1, 100);
  EXPECT_EQ(FGrid.TopVisibleRow(), 17);
  EXPECT_EQ(FScrolls, 1);
  FGrid.SetTopLeft(1, 17);
  EXPECT_EQ(FScrolls, 1);
  EXPECT_EQ(FRecorder.WindowOf(FGrid)->VertScrollBar.Range, 16);
  EXPECT_EQ(FRecorder.WindowOf(FGrid)->VertScrollBar.Position, 16);
  FGrid.Scroll(true, scLineUp, 0);
  EXPECT_EQ(FGrid.TopVisibleRow(), 16);
  FGrid.Scroll(true, scPageUp, 0);
  EXPECT_EQ(FGrid.TopVisibleRow(), 13);
  FGrid.Scroll(true, scPosition, 4);
  EXPECT_EQ(FGrid.TopVisibleRow(), 5);
  FGrid.Scroll(true, scTop, 0);
  EXPECT_EQ(FGrid.TopVisibleRow(), 1);
  FGrid.Scroll(false, scLineDown, 0);
  EXPECT_EQ(FGrid.LeftVisibleCol(), 2);
  EXPECT_EQ(FScrolls, 6);
}

TEST_F(GridTest, TheDraggedThumbMovesTheViewOnlyWithThumbTracking) {
  FGrid.SetRowCount(20);
  TWinControl& window = FGrid;
  window.Scroll(true, scTrack, 4);
  EXPECT_EQ(FGrid.TopVisibleRow(), 1);
  window.Scroll(true, scPosition, 4);
  EXPECT_EQ(FGrid.TopVisibleRow(), 5);
  TGridOptions options = FGrid.Options();
  FGrid.SetOptions(options.Include(goThumbTracking));
  window.Scroll(true, scTrack, 7);
  EXPECT_EQ(FGrid.TopVisibleRow(), 8);
}

TEST_F(GridTest, ShrinkingKeepsCurrentCellAndViewInside) {
  FGrid.SetRowCount(20);
  FGrid.FocusCell(3, 19, true);
  FGrid.SetRowCount(10);
  EXPECT_EQ(FGrid.CurrentRow(), 9);
  EXPECT_EQ(FGrid.TopVisibleRow(), 7);
  EXPECT_EQ(FScrolls, 1);
}

TEST_F(GridTest, SelectionChangesRepaintTheCellsConcerned) {
  FRecorder.ClearInvalidations();
  Click(2, 2);
  const TWindowRecord* window = FRecorder.WindowOf(FGrid);
  ASSERT_EQ(window->InvalidRects.size(), 2u);
  EXPECT_EQ(window->InvalidRects[0], FGrid.CellRect(1, 1));
  EXPECT_EQ(window->InvalidRects[1], FGrid.CellRect(2, 2));
}

TEST_F(GridTest, OnlyATextThatChangesRepaintsItsCell) {
  FGrid.SetCellText(2, 2, L"9:00");
  FRecorder.ClearInvalidations();
  FGrid.SetCellText(2, 2, L"9:00");
  const TWindowRecord* window = FRecorder.WindowOf(FGrid);
  EXPECT_TRUE(window->InvalidRects.empty());
  FGrid.SetCellText(2, 2, L"9:15");
  ASSERT_EQ(window->InvalidRects.size(), 1u);
  EXPECT_EQ(window->InvalidRects[0], FGrid.CellRect(2, 2));
  EXPECT_EQ(FGrid.CellText(2, 2), L"9:15");
}

}  // namespace
}  // namespace skx
