// The schedule grid's painting: cell colours, labels, focus marks, grid lines and the fill
// beyond the cells, as recorded on a canvas.
#include <algorithm>

#include "Framework/Core/RecordingCanvas.h"
#include "SkedraComp/SkedraPaint.h"
#include "SkedraTestSupport.h"

namespace skx::test {
namespace {

constexpr TColor Yellow = 0x0080FFFF;
constexpr TColor Olive = 0x0032C0C0;

// Rows of the default layout: one per quarter hour after the heading row.
constexpr int RowAt(int hour, int minute) { return 1 + (hour * 60 + minute) / 15; }

class SkedraPaintTest : public SkedraTest {
 protected:
  TSkedra& MakeDaily(int height = 300) {
    TSkedra& grid = MakeGrid();
    grid.SetBounds(0, 0, 400, height);
    grid.SetSkedraType(skDaily);
    return grid;
  }

  // All rows of the day in view.
  TSkedra& MakeTallDaily() { return MakeDaily(RowAt(24, 0) * 17 + 20); }

  TRecordingCanvas& Paint(TSkedra& grid) {
    FCanvas = TRecordingCanvas();
    grid.Paint(FCanvas);
    return FCanvas;
  }

  std::vector<TCanvasCall> FillsOf(const TRect& rect) const {
    std::vector<TCanvasCall> fills;
    for (const TCanvasCall& call : FCanvas.Of(coFillRect))
      if (call.Rect == rect) fills.push_back(call);
    return fills;
  }

  // The brush the cell ends up filled with; 0xFFFFFFFF when it was not filled.
  TColor CellColor(int col, int row) const {
    std::vector<TCanvasCall> fills = FillsOf(FGrid->CellRect(col, row));
    return fills.empty() ? 0xFFFFFFFFu : fills.back().State.BrushColor;
  }

  // The text drawn into the cell, which lies 3 pixels in from the sides and 1 from top and bottom.
  const TCanvasCall* TextOf(int col, int row) const {
    TRect rect = FGrid->CellRect(col, row);
    rect.Inflate(-3, -1);
    for (const TCanvasCall& call : FCanvas.Calls)
      if (call.Op == coDrawText && call.Rect == rect) return &call;
    return nullptr;
  }

  std::vector<TCanvasCall> Lines() const { return FCanvas.Of(coPolyPolyline); }

  TRecordingCanvas FCanvas;
};

INSTANTIATE_TEST_SUITE_P(Locales, SkedraPaintTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(SkedraPaintTest, DayCellsAreYellowFromDayStartToDayEndInclusiveAndOliveAround) {
  TSkedra& grid = MakeTallDaily();
  grid.SetSelection(TCellRect{2, RowAt(3, 0), 2, RowAt(3, 0)});
  Paint(grid);
  EXPECT_EQ(CellColor(2, RowAt(7, 45)), Olive);
  EXPECT_EQ(CellColor(2, RowAt(8, 0)), Yellow);
  EXPECT_EQ(CellColor(2, RowAt(12, 0)), Yellow);
  EXPECT_EQ(CellColor(2, RowAt(17, 30)), Yellow);
  EXPECT_EQ(CellColor(2, RowAt(17, 45)), Olive);
  // Fixed cells keep the one fill in the fixed colour, with the grid's font colour.
  std::vector<TCanvasCall> fills = FillsOf(grid.CellRect(1, RowAt(8, 0)));
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].State.BrushColor, clBtnFace);
  ASSERT_NE(TextOf(2, RowAt(8, 0)), nullptr);
  EXPECT_EQ(TextOf(2, RowAt(8, 0))->State.Font.Color, grid.Font().Color);
  EXPECT_FALSE(TextOf(2, RowAt(8, 0))->State.TransparentText);
  // The labels keep their colon under a locale that separates times otherwise.
  TFormatSettings dotted = GetParam().Settings;
  dotted.TimeSeparator = L'.';
  dotted.LongTimeFormat = L"HH.mm.ss";
  SetFormatSettings(dotted);
  Paint(grid);
  EXPECT_EQ(CellColor(2, RowAt(8, 0)), Yellow);
}

TEST_P(SkedraPaintTest, SelectedCellsAreHighlightedInAndOutOfWorkingHours) {
  TSkedra& grid = MakeTallDaily();
  grid.SetSelection(TCellRect{2, RowAt(7, 30), 2, RowAt(8, 15)});
  Paint(grid);
  for (int row = RowAt(7, 30); row <= RowAt(8, 15); ++row) {
    EXPECT_EQ(CellColor(2, row), clHighlight) << row;
    EXPECT_EQ(TextOf(2, row)->State.Font.Color, clHighlightText) << row;
  }
  EXPECT_EQ(CellColor(2, RowAt(8, 30)), Yellow);
  EXPECT_EQ(TextOf(2, RowAt(8, 30))->State.Font.Color, grid.Font().Color);
  // Without the keyboard focus no cell is focused.
  EXPECT_TRUE(FCanvas.Of(coDrawFocusRect).empty());
}

// Gives the tests the cell drawing with a state of their choosing.
class TCellProbe : public TSkedra {
 public:
  using TSkedra::TSkedra;
  void DrawCellOn(TCanvas& canvas, int col, int row, TGridDrawState state) {
    TCanvasScope scope(*this, canvas);
    DrawCell(col, row, CellRect(col, row), state);
  }
};

TEST_P(SkedraPaintTest, TheFocusedCellGetsAFocusRectangleAndFocusAloneKeepsTheCellsColour) {
  TSkedra& grid = MakeTallDaily();
  grid.SetSelection(TCellRect{2, RowAt(9, 0), 2, RowAt(9, 0)});
  grid.SetFocus();
  Paint(grid);
  TRect cell = grid.CellRect(2, RowAt(9, 0));
  std::vector<TCanvasCall> focus = FCanvas.Of(coDrawFocusRect);
  ASSERT_EQ(focus.size(), 1u);
  EXPECT_EQ(focus[0].Rect, cell);
  EXPECT_EQ(CellColor(2, RowAt(9, 0)), clHighlight);
  EXPECT_EQ(FCanvas.Calls.back().Op, coFillRect);  // the fill beyond comes last, after the focus

  TCellProbe probe(nullptr, FClock);
  probe.SetBounds(0, 0, 400, 300);
  probe.SetSkedraType(skDaily);
  TRecordingCanvas canvas;
  probe.DrawCellOn(canvas, 2, RowAt(9, 0), {dsFocused});
  ASSERT_EQ(canvas.Of(coFillRect).size(), 1u);
  EXPECT_EQ(canvas.Of(coFillRect)[0].State.BrushColor, Yellow);
}

TEST_P(SkedraPaintTest, HourShowsBoldOnlyOnTheFirstRowOfItsHourInTheGridsOrder) {
  TSkedra& grid = MakeTallDaily();
  Paint(grid);
  EXPECT_EQ(TextOf(0, RowAt(8, 0))->Text, L"8");
  EXPECT_EQ(TextOf(0, RowAt(8, 0))->State.Font.Style, TFontStyles{fsBold});
  for (int minute : {15, 30, 45}) EXPECT_EQ(TextOf(0, RowAt(8, minute))->Text, L"") << minute;
  EXPECT_EQ(TextOf(0, RowAt(0, 0))->Text, L"0");
  EXPECT_EQ(TextOf(1, RowAt(8, 0))->Text, L":00");
  EXPECT_EQ(TextOf(1, RowAt(8, 15))->Text, L":15");
  EXPECT_EQ(TextOf(1, RowAt(8, 15))->State.Font.Style, TFontStyles{});
  const TCanvasCall* heading = TextOf(2, 0);
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->Text, GetParam().Heading);
  EXPECT_EQ(heading->Flags, dtSingleLine);
  EXPECT_EQ(heading->State.Font.Style, TFontStyles{});
  EXPECT_EQ(TextOf(0, 0)->State.Font.Style, TFontStyles{fsBold});

  MakeDaily();
  FGrid->SetTopLeft(2, RowAt(8, 15));
  Paint(*FGrid);
  EXPECT_EQ(TextOf(0, RowAt(8, 15))->Text, L"");
  EXPECT_EQ(TextOf(1, RowAt(8, 15))->Text, L":15");
  EXPECT_EQ(TextOf(0, RowAt(9, 0))->Text, L"9");
}

TEST_P(SkedraPaintTest, MinuteColumnLinesAreBlackAndDayLinesGrayOnSilver) {
  TSkedra& grid = MakeDaily();
  Paint(grid);
  // Minute column: its vertical line first, then its row lines over it (their option is on).
  std::vector<TCanvasCall> lines = Lines();
  ASSERT_EQ(lines.size(), 4u);
  int fixedEnd = 25 + 1 + 25 + 1;
  int firstRowLine = 17 + 16;
  EXPECT_EQ(lines[0].Points.front(), (TPoint{fixedEnd, 17}));
  EXPECT_EQ(lines[0].Points.back(), (TPoint{fixedEnd, grid.ClientHeight()}));
  EXPECT_EQ(lines[0].Counts.size(), 1u);
  EXPECT_EQ(lines[1].Points[0], (TPoint{fixedEnd - 25, firstRowLine}));
  EXPECT_EQ(lines[1].Points[1], (TPoint{fixedEnd, firstRowLine}));
  for (int i : {0, 1}) {
    EXPECT_EQ(lines[i].State.Pen.Color, clBlack);
    EXPECT_EQ(lines[i].State.Pen.Width, 1);
    EXPECT_FALSE(lines[i].State.Pen.Geometric);
  }
  // Day cells: one line after the day column at the client's right edge, and the row lines.
  EXPECT_EQ(lines[2].Points, std::vector<TPoint>({{grid.ClientWidth() - 1, 17},
                                                  {grid.ClientWidth() - 1, grid.ClientHeight()}}));
  EXPECT_EQ(lines[3].Points[0], (TPoint{fixedEnd, firstRowLine}));
  EXPECT_EQ(lines[3].Points[1], (TPoint{grid.ClientWidth(), firstRowLine}));
  EXPECT_EQ(lines[3].Counts.size(), lines[1].Counts.size());
  for (int i : {2, 3}) EXPECT_EQ(lines[i].State.Pen.Color, clGray);
}

TColor SilverButtonFace(int index) { return index == 15 ? clSilver : clBlack; }

TEST_P(SkedraPaintTest, DayLinesAreSilverUnlessTheResolvedColourIsSilver) {
  TSkedra& grid = MakeDaily();
  grid.SetColor(clBtnFace);
  Paint(grid);
  EXPECT_EQ(Lines().back().State.Pen.Color, clSilver);
  SetSystemColorSource(SilverButtonFace);
  Paint(grid);
  SetSystemColorSource(nullptr);
  EXPECT_EQ(Lines().back().State.Pen.Color, clGray);
  grid.SetColor(clWhite);
  Paint(grid);
  EXPECT_EQ(Lines().back().State.Pen.Color, clSilver);
  // The fill beyond the cells takes the grid's colour as it is.
  EXPECT_EQ(FCanvas.Calls.back().State.BrushColor, clWhite);
}

TEST_P(SkedraPaintTest, DayHorizontalOptionOffDrawsThoseLinesInTheGridColourKeepingTheGaps) {
  TSkedra& grid = MakeDaily();
  TGridOptions options = grid.Options();
  grid.SetOptions(options.Exclude(goHorzLine));
  Paint(grid);
  std::vector<TCanvasCall> lines = Lines();
  ASSERT_EQ(lines.size(), 4u);
  // The day cells' horizontal lines now come first, in Color; the vertical line stays gray.
  EXPECT_EQ(lines[2].Points[0].Y, lines[2].Points[1].Y);
  EXPECT_EQ(lines[2].State.Pen.Color, clSilver);
  EXPECT_EQ(lines[3].State.Pen.Color, clGray);
  EXPECT_EQ(lines[1].State.Pen.Color, clBlack);
  EXPECT_EQ(grid.CellRect(2, 2).Top, grid.CellRect(2, 1).Bottom + 1);
}

TEST_P(SkedraPaintTest, WithoutAnyLineOptionNoLineIsDrawnAndCellsTouch) {
  TSkedra& grid = MakeDaily();
  grid.SetOptions({goRangeSelect, goDrawFocusSelected});
  Paint(grid);
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(CellColor(2, 2), Olive);
  EXPECT_EQ(grid.CellRect(2, 2).Top, grid.CellRect(2, 1).Bottom);
  EXPECT_EQ(grid.CellRect(2, 2).Left, grid.CellRect(1, 2).Right);
}

TEST_P(SkedraPaintTest, WithoutDefaultDrawingOnlyLinesFillAndTheCellEventRemain) {
  TSkedra& grid = MakeTallDaily();
  grid.SetFocus();
  grid.SetDefaultDrawing(false);
  grid.SetShowCurrentTime(false);  // its line is a fill of its own
  int cells = 0;
  grid.OnDrawCell = [&](TComponent* Sender, int, int, const TRect&, TGridDrawState) {
    EXPECT_EQ(Sender, &grid);
    ++cells;
  };
  Paint(grid);
  EXPECT_EQ(cells, 3 * grid.RowCount());
  EXPECT_TRUE(FCanvas.Of(coDrawText).empty());
  EXPECT_TRUE(FCanvas.Of(coDrawFocusRect).empty());
  EXPECT_EQ(Lines().size(), 4u);
  std::vector<TCanvasCall> fills = FCanvas.Of(coFillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].Rect, (TRect{0, grid.RowCount() * 17, grid.ClientWidth(), grid.ClientHeight()}));
}

TEST_P(SkedraPaintTest, WideLinesUseAFlatEndedPenCentredOnTheGap) {
  TSkedra& grid = MakeDaily();
  grid.SetGridLineWidth(2);
  Paint(grid);
  std::vector<TCanvasCall> lines = Lines();
  ASSERT_EQ(lines.size(), 4u);
  for (const TCanvasCall& line : lines) {
    EXPECT_EQ(line.State.Pen.Width, 2);
    EXPECT_TRUE(line.State.Pen.Geometric);
  }
  int fixedEnd = 25 + 2 + 25 + 2;
  EXPECT_EQ(lines[0].Points[0].X, fixedEnd - 25 + 1 + 25);
  EXPECT_EQ(lines[1].Points[0].Y, 18 + 1 + 16);
  EXPECT_EQ(lines[1].Points[2].Y, 18 + 1 + 16 + 18);
  EXPECT_EQ(grid.CellRect(2, 2).Top, 18 + 18);
}

TEST_P(SkedraPaintTest, AllRowsOfAOneMinuteScaleDrawInOneCallOnATallWindow) {
  TSkedra& grid = MakeGrid();
  grid.SetBounds(0, 0, 400, 1441 * 17 + 20);
  grid.SetSkedraType(skDaily);
  TSkedraSettings settings = grid.Settings();
  settings.TimeScale = 1;
  grid.SetSettings(settings);
  ASSERT_EQ(grid.RowCount(), 1441);
  Paint(grid);
  std::vector<TCanvasCall> lines = Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1].Counts.size(), 1440u);
  EXPECT_EQ(lines[3].Counts.size(), 1440u);
  EXPECT_EQ(lines[3].Points.back().Y, 1441 * 17 - 1);
  EXPECT_EQ(TextOf(0, 1 + 23 * 60)->Text, L"23");
  EXPECT_EQ(TextOf(0, 1440)->Text, L"");
  EXPECT_EQ(TextOf(1, 1440)->Text, L":59");
}

TEST_P(SkedraPaintTest, RowsWithoutHeightGetOneLineEachAndNoneAfterTheLastRow) {
  TSkedra& grid = MakeDaily();
  grid.SetDefaultRowHeight(0);
  Paint(grid);
  std::vector<TCanvasCall> lines = Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3].Counts.size(), static_cast<size_t>(grid.RowCount() - 1));
  EXPECT_EQ(lines[3].Points.back().Y, grid.RowCount() - 1);
}

TEST(StrokeBufferTest, AFullBufferIsDrawnAndEmptiedInsteadOfOverrun) {
  TRecordingCanvas canvas;
  TStrokeBuffer strokes(2);
  for (int i = 0; i < 5; ++i) strokes.Add(canvas, TPoint{i, 0}, TPoint{i, 9});
  strokes.Flush(canvas);
  strokes.Flush(canvas);
  std::vector<TCanvasCall> calls = canvas.Of(coPolyPolyline);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].Counts, std::vector<int>({2, 2}));
  EXPECT_EQ(calls[2].Points, std::vector<TPoint>({{4, 0}, {4, 9}}));
  EXPECT_EQ(TStrokeBuffer(0).Capacity(), 1);
  EXPECT_EQ(TStrokeBuffer(1 << 30).Capacity(), TStrokeBuffer::MaxSegments);
}

TEST_P(SkedraPaintTest, ScalesThatDoNotDivideTheDayPaintInsideTheClientArea) {
  for (int scale : {7, 255}) {
    TSkedra& grid = MakeDaily();
    TSkedraSettings settings = grid.Settings();
    settings.TimeScale = static_cast<std::uint8_t>(scale);
    grid.SetSettings(settings);
    Paint(grid);
    TRect client = grid.ClientRect();
    for (const TCanvasCall& call : FCanvas.Calls) {
      if (call.Op != coFillRect || call.Rect.Top >= client.Bottom) continue;
      EXPECT_TRUE(call.Rect.Left >= 0 && call.Rect.Right <= client.Right) << scale;
    }
    int lastRow = grid.RowCount() - 1;
    if (scale == 255) {
      EXPECT_EQ(TextOf(0, lastRow)->Text, L"17");
      EXPECT_EQ(CellColor(2, lastRow), Yellow);
      EXPECT_EQ(FCanvas.Calls.back().Rect, (TRect{0, 6 * 17, client.Right, client.Bottom}));
    } else {
      EXPECT_EQ(CellColor(2, 14), Olive);  // 1:31
    }
  }
}

TEST_P(SkedraPaintTest, RowsWithoutTimeLabelsPaintAsOffHoursBeforeTheFirstLayout) {
  TSkedra& grid = MakeGrid();
  grid.SetSelection(TCellRect{3, 3, 3, 3});
  EXPECT_NO_THROW(Paint(grid));
  EXPECT_EQ(CellColor(2, 2), Olive);
  EXPECT_EQ(CellColor(3, 3), clHighlight);
}

TEST_P(SkedraPaintTest, OnlyCellsTouchingTheClipRegionAreDrawn) {
  TSkedra& grid = MakeDaily();
  TRect cell = grid.CellRect(2, 5);
  TRecordingCanvas canvas;
  canvas.ClipRect = cell;
  grid.Paint(canvas);
  std::vector<TCanvasCall> texts = canvas.Of(coDrawText);
  ASSERT_EQ(texts.size(), 1u);
  TRect inner = cell;
  inner.Inflate(-3, -1);
  EXPECT_EQ(texts[0].Rect, inner);
}

}  // namespace
}  // namespace skx::test
