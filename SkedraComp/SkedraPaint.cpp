// The schedule grid's own painting: cells by working hours and selection, time labels and day
// headings, grid lines, focus marks, the current time's line and the area beyond the cells.
#include "SkedraComp/SkedraPaint.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "SkedraComp/Skedra.h"

namespace skx {

namespace {

constexpr TColor WorkingHoursColor = 0x0080FFFF;
constexpr TColor OffHoursColor = 0x0032C0C0;
constexpr int CurrentTimeLineWidth = 2;
constexpr int ClockTimerId = 1;
constexpr unsigned ClockInterval = 60000;

// Every segment is a polyline of two points.
constexpr auto SegmentCounts = [] {
  std::array<int, TStrokeBuffer::MaxSegments> counts{};
  for (int& count : counts) count = 2;
  return counts;
}();

}  // namespace

TStrokeBuffer::TStrokeBuffer(int segments) : FCapacity(std::clamp(segments, 1, MaxSegments)) {}

void TStrokeBuffer::Add(TCanvas& canvas, TPoint from, TPoint to) {
  if (FCount == FCapacity) Flush(canvas);
  FPoints[2 * FCount] = from;
  FPoints[2 * FCount + 1] = to;
  ++FCount;
}

void TStrokeBuffer::Flush(TCanvas& canvas) {
  if (FCount > 0) canvas.PolyPolyline(FPoints, SegmentCounts.data(), FCount);
  FCount = 0;
}

TPaintInfo TSkedra::ComputePaintInfo() const {
  TPaintInfo info;
  info.Horz = ColAxis();
  info.Vert = RowAxis();
  info.Selection = Selection();
  info.Focused = Focused();
  return info;
}

void TSkedra::Paint(TCanvas& canvas) {
  TCanvasScope scope(*this, canvas);
  TPaintInfo info = ComputePaintInfo();
  const TGridAxis& horz = info.Horz;
  const TGridAxis& vert = info.Vert;
  PaintCellRange(info, 0, 0, TRect{0, 0, horz.FixedEnd, vert.FixedEnd}, FixedColor(), {dsFixed});
  PaintCellRange(info, LeftVisibleCol(), 0, TRect{horz.FixedEnd, 0, horz.GridEnd, vert.FixedEnd},
                 FixedColor(), {dsFixed});
  PaintCellRange(info, 0, TopVisibleRow(), TRect{0, vert.FixedEnd, horz.FixedEnd, vert.GridEnd},
                 FixedColor(), {dsFixed});
  PaintCellRange(info, LeftVisibleCol(), TopVisibleRow(),
                 TRect{horz.FixedEnd, vert.FixedEnd, horz.GridEnd, vert.GridEnd}, Color(), {});
  if (horz.LineWidth > 0 || vert.LineWidth > 0) PaintLines(info);
  // Over the cells and their lines, under the markers, which stay readable.
  const TRect now = CurrentTimeRect();
  if (!now.IsEmpty() && canvas.RectVisible(now)) {
    canvas.SetBrushColor(clRed);
    canvas.FillRect(now);
  }
  canvas.SetBrushColor(Color());
  if (horz.GridEnd < horz.Extent)
    canvas.FillRect(TRect{horz.GridEnd, 0, horz.Extent, vert.GridEnd});
  if (vert.GridEnd < vert.Extent) canvas.FillRect(TRect{0, vert.GridEnd, horz.Extent, vert.Extent});
}

// The line lies in the row of the shown time's slot, as far down as the time is into the slot.
// Its day must be the column's shown day and its slot the row's shown time: inside a batch the view
// may not show the settings yet, and no line is drawn then.
TRect TSkedra::CurrentTimeRect() const {
  const TDateTime shown = HandleAllocated() ? FShownTime : FClock.Now();
  if (!FShowCurrentTime || !IsDecodable(shown)) return TRect{};
  const TDayTime now = SplitDayTime(shown);
  const int slot = FSettings.TimeScale * 60000;
  const int row = FixedRows() + now.MSec / slot;
  const int col = FixedCols() + now.Day - SplitDayTime(FActiveDate).Day;
  TDateTime day = 0;
  TDateTime slotStart = 0;
  if (row >= RowCount() || col < FixedCols() || col >= ColCount() || !TryColumnDate(col, day) ||
      SplitDayTime(day).Day != now.Day || !TryRowTime(row, slotStart) ||
      SplitDayTime(slotStart).MSec != now.MSec - now.MSec % slot)
    return TRect{};
  const TRect cell = CellRect(col, row);
  if (cell.IsEmpty()) return TRect{};
  const int y = cell.Top + static_cast<int>(std::int64_t{cell.Height()} * (now.MSec % slot) / slot);
  if (y >= ClientHeight()) return TRect{};
  return TRect{cell.Left, y, cell.Right,
               std::min(y + Scale().Of(CurrentTimeLineWidth), ClientHeight())};
}

void TSkedra::SetShowCurrentTime(bool value) {
  if (value == FShowCurrentTime) return;
  InvalidateRect(CurrentTimeRect());
  FShowCurrentTime = value;
  FShownTime = FClock.Now();
  InvalidateRect(CurrentTimeRect());
  UpdateClockTimer();
}

void TSkedra::ShowTimeNow() {
  InvalidateRect(CurrentTimeRect());
  FShownTime = FClock.Now();
  InvalidateRect(CurrentTimeRect());
}

// The tick holds the grid weakly, though the timer goes with the window before the grid does.
void TSkedra::UpdateClockTimer() {
  if (!HandleAllocated()) return;
  if (!FShowCurrentTime) {
    Peer()->KillTimer(ClockTimerId);
    return;
  }
  TWeakRef<TSkedra> grid(this);
  Peer()->SetTimer(ClockTimerId, ClockInterval, [grid] {
    if (TSkedra* live = grid.Get()) live->ShowTimeNow();
  });
}

void TSkedra::PaintCellRange(const TPaintInfo& info, int firstCol, int firstRow,
                             const TRect& area, TColor color, TGridDrawState baseState) {
  std::int64_t top = area.Top;
  for (int row = firstRow; top < area.Bottom && row < RowCount(); ++row) {
    std::int64_t bottom = top + RowHeights(row);
    std::int64_t left = area.Left;
    for (int col = firstCol; left < area.Right && col < ColCount(); ++col) {
      std::int64_t right = left + ColWidths(col);
      TRect rect{ToPixel(left), ToPixel(top), ToPixel(right), ToPixel(bottom)};
      if (Canvas()->RectVisible(rect)) PaintCell(info, col, row, rect, color, baseState);
      left = right + info.Horz.LineWidth;
    }
    top = bottom + info.Vert.LineWidth;
  }
}

void TSkedra::PaintCell(const TPaintInfo& info, int ACol, int ARow, const TRect& ARect,
                        TColor color, TGridDrawState baseState) {
  TCanvas& canvas = *Canvas();
  TGridDrawState state = baseState;
  bool focused = info.Focused && ACol == CurrentCol() && ARow == CurrentRow();
  bool selected = info.Selection.Contains(ACol, ARow);
  if (focused) state.Include(dsFocused);
  if (selected) state.Include(dsSelected);
  if (DefaultDrawing()) {
    canvas.SetFont(Font());
    if (selected && (!focused || Options().Contains(goDrawFocusSelected))) {
      canvas.SetBrushColor(clHighlight);
      canvas.SetFontColor(clHighlightText);
    } else {
      canvas.SetBrushColor(color);
    }
    canvas.FillRect(ARect);
  }
  DrawCell(ACol, ARow, ARect, state);
  if (DefaultDrawing() && focused) canvas.DrawFocusRect(ARect);
}

void TSkedra::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (DefaultDrawing() && Canvas()) PaintCellBody(*Canvas(), ACol, ARow, AState, ARect);
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

// A row without a time (any row before the grid's first layout) is painted as off hours rather
// than failing every paint of the window.
void TSkedra::PaintCellBody(TCanvas& canvas, int ACol, int ARow, TGridDrawState AState,
                            const TRect& ARect) {
  if (!AState.Contains(dsFixed)) {
    canvas.SetFontColor(Font().Color);
    TDateTime time = 0;
    if (AState.Contains(dsSelected)) {
      canvas.SetBrushColor(clHighlight);
      canvas.SetFontColor(clHighlightText);
    } else if (TryRowTime(ARow, time) && FSettings.DayStart <= time && time <= FSettings.DayEnd) {
      canvas.SetBrushColor(WorkingHoursColor);
    } else {
      canvas.SetBrushColor(OffHoursColor);
    }
    canvas.FillRect(ARect);
  }
  // An hour shows, bold, only on the first row of its hour as the grid orders its rows.
  String text;
  if (ACol != 0) {
    text = CellText(ACol, ARow);
  } else if (ARow == 0 || CellText(0, ARow) != CellText(0, ARow - 1)) {
    canvas.SetFontStyle({fsBold});
    text = CellText(0, ARow);
  }
  TRect textRect = ARect;
  textRect.Inflate(-canvas.Scale().Of(3), -canvas.Scale().Of(1));
  canvas.DrawTextInRect(text, textRect, dtSingleLine);
}

void TSkedra::PaintLines(const TPaintInfo& info) {
  const TGridAxis& horz = info.Horz;
  const TGridAxis& vert = info.Vert;
  TColor lineColor = ColorToRGB(Color()) == clSilver ? clGray : clSilver;
  TStrokeBuffer strokes(std::max(horz.LastFullCell - LeftVisibleCol() + FixedCols(),
                                 vert.LastFullCell - TopVisibleRow() + FixedRows()) +
                        3);
  TGridOptions options = Options();
  // The minute column takes the day columns' vertical option; the hour column, the fixed row
  // and the corner get no lines, only the gaps between their cells.
  const int minuteColumn[4] = {ToPixel(std::int64_t{horz.FixedEnd} - ColWidths(1)), vert.FixedEnd,
                               horz.FixedEnd, vert.GridEnd};
  PaintGridLines(info, strokes, options.Contains(goFixedHorzLine), options.Contains(goVertLine), 0,
                 TopVisibleRow(), minuteColumn, clBlack, FixedColor());
  const int dayCells[4] = {horz.FixedEnd, vert.FixedEnd, horz.GridEnd, vert.GridEnd};
  PaintGridLines(info, strokes, options.Contains(goHorzLine), options.Contains(goVertLine),
                 LeftVisibleCol(), TopVisibleRow(), dayCells, lineColor, Color());
}

// The set drawn later lies over the other where they cross: the horizontal lines when their
// option is on, else the vertical ones.
void TSkedra::PaintGridLines(const TPaintInfo& info, TStrokeBuffer& strokes, bool horzOn,
                             bool vertOn, int firstCol, int firstRow, const int (&bounds)[4],
                             TColor onColor, TColor offColor) {
  if (bounds[0] == bounds[2] || bounds[1] == bounds[3]) return;
  TColor horzColor = horzOn ? onColor : offColor;
  TColor vertColor = vertOn ? onColor : offColor;
  if (horzOn) {
    PaintAxisLines(info.Horz, strokes, firstCol, 0, bounds, vertColor);
    PaintAxisLines(info.Vert, strokes, firstRow, 1, bounds, horzColor);
  } else {
    PaintAxisLines(info.Vert, strokes, firstRow, 1, bounds, horzColor);
    PaintAxisLines(info.Horz, strokes, firstCol, 0, bounds, vertColor);
  }
}

// Each line is centred on the gap after its cell. There is no line after the last cell, which
// also ends the loop for cells too small to advance the position.
void TSkedra::PaintAxisLines(const TGridAxis& axis, TStrokeBuffer& strokes, int cell,
                             int major, const int (&bounds)[4], TColor color) {
  if (axis.LineWidth == 0) return;
  TCanvas& canvas = *Canvas();
  int width = GridLineWidth();
  canvas.SetPenWidth(width);
  canvas.SetPenColor(color);
  canvas.SetPenGeometric(width >= 2);
  int minor = major ^ 1;
  int start = bounds[minor];
  int stop = bounds[2 + minor];
  std::int64_t limit = std::int64_t{bounds[2 + major]} + axis.LineWidth;
  std::int64_t position = std::int64_t{bounds[major]} + (axis.LineWidth >> 1) + axis.CellExtent(cell);
  while (true) {
    int at = ToPixel(position);
    if (major == 0)
      strokes.Add(canvas, TPoint{at, start}, TPoint{at, stop});
    else
      strokes.Add(canvas, TPoint{start, at}, TPoint{stop, at});
    if (++cell >= axis.CellCount) break;
    position += std::int64_t{axis.CellExtent(cell)} + axis.LineWidth;
    if (position > limit) break;
  }
  strokes.Flush(canvas);
}

}  // namespace skx
