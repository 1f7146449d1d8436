// The grid base: a windowed table of cells with fixed headings, scrolling and range selection.
#include "Framework/Core/Grids.h"

#include <algorithm>

#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

[[noreturn]] void RaiseGridError(const wchar_t* message) { throw EInvalidGridOperation(message); }

void CheckGridIndex(int index, int count) {
  if (index < 0 || index >= count) RaiseGridError(L"Grid index out of range");
}

// Individual sizes are kept only once one was set; an empty list means all are the default.
int SizeAt(const std::vector<int>& sizes, int index, int defaultSize) {
  return index >= 0 && index < static_cast<int>(sizes.size()) ? sizes[index] : defaultSize;
}

void SetSizeAt(std::vector<int>& sizes, int index, int count, int defaultSize, int value) {
  CheckGridIndex(index, count);
  if (sizes.empty()) sizes.assign(count, defaultSize);
  sizes[index] = value;
}

void ResizeSizes(std::vector<int>& sizes, int count, int defaultSize) {
  if (!sizes.empty()) sizes.resize(count, defaultSize);
}

}  // namespace

TCustomGrid::TCustomGrid(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle({csCaptureMouse, csOpaque, csDoubleClicks});
  FOptions = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 320, 120);
}

void TCustomGrid::SetColCount(int value) {
  value = std::max(value, 1);
  if (value <= FFixedCols) FFixedCols = value - 1;
  ChangeSize(value, FRowCount);
}

void TCustomGrid::SetRowCount(int value) {
  value = std::max(value, 1);
  if (value <= FFixedRows) FFixedRows = value - 1;
  ChangeSize(FColCount, value);
}

void TCustomGrid::ChangeSize(int colCount, int rowCount) {
  int oldColCount = FColCount;
  int oldRowCount = FRowCount;
  FColCount = colCount;
  FRowCount = rowCount;
  ResizeSizes(FColWidths, FColCount, FDefaultColWidth);
  ResizeSizes(FRowHeights, FRowCount, FDefaultRowHeight);
  FCurrent = {std::min(FCurrent.Col, FColCount - 1), std::min(FCurrent.Row, FRowCount - 1)};
  FAnchor = {std::min(FAnchor.Col, FColCount - 1), std::min(FAnchor.Row, FRowCount - 1)};
  SizeChanged(oldColCount, oldRowCount);
  GeometryChanged();
}

void TCustomGrid::SetFixedCols(int value) {
  if (value < 0) RaiseGridError(L"Grid index out of range");
  if (value >= FColCount) RaiseGridError(L"Fixed column count must be less than column count");
  FFixedCols = value;
  FCurrent.Col = std::max(FCurrent.Col, value);
  FAnchor.Col = std::max(FAnchor.Col, value);
  GeometryChanged();
}

void TCustomGrid::SetFixedRows(int value) {
  if (value < 0) RaiseGridError(L"Grid index out of range");
  if (value >= FRowCount) RaiseGridError(L"Fixed row count must be less than row count");
  FFixedRows = value;
  FCurrent.Row = std::max(FCurrent.Row, value);
  FAnchor.Row = std::max(FAnchor.Row, value);
  GeometryChanged();
}

void TCustomGrid::SetDefaultColWidth(int value) {
  FDefaultColWidth = value;
  FColWidths.clear();
  GeometryChanged();
}

void TCustomGrid::SetDefaultRowHeight(int value) {
  FDefaultRowHeight = value;
  FRowHeights.clear();
  GeometryChanged();
}

int TCustomGrid::ColWidths(int index) const { return SizeAt(FColWidths, index, FDefaultColWidth); }

void TCustomGrid::SetColWidths(int index, int value) {
  SetSizeAt(FColWidths, index, FColCount, FDefaultColWidth, value);
  GeometryChanged();
}

int TCustomGrid::RowHeights(int index) const {
  return SizeAt(FRowHeights, index, FDefaultRowHeight);
}

void TCustomGrid::SetRowHeights(int index, int value) {
  SetSizeAt(FRowHeights, index, FRowCount, FDefaultRowHeight, value);
  GeometryChanged();
}

void TCustomGrid::SetGridLineWidth(int value) {
  FGridLineWidth = value;
  GeometryChanged();
}

void TCustomGrid::SetOptions(TGridOptions value) {
  FOptions = value;
  if (!FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  GeometryChanged();
}

void TCustomGrid::SetFixedColor(TColor value) {
  FFixedColor = value;
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool value) {
  FDefaultDrawing = value;
  Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  UpdateFrame();
}

void TCustomGrid::FrameChanged() { GeometryChanged(); }

void TCustomGrid::SetScrollBars(TScrollStyle value) {
  FScrollBars = value;
  UpdateScrollBars();
}

TCellRect TCustomGrid::Selection() const {
  return TCellRect{std::min(FCurrent.Col, FAnchor.Col), std::min(FCurrent.Row, FAnchor.Row),
                   std::max(FCurrent.Col, FAnchor.Col), std::max(FCurrent.Row, FAnchor.Row)};
}

void TCustomGrid::SetSelection(const TCellRect& value) {
  MoveCurrent(TCellCoord{value.Left, value.Top}, true);
  MoveCurrent(TCellCoord{value.Right, value.Bottom}, false);
  ScrollIntoView(FCurrent);
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
  MoveCurrent(TCellCoord{col, row}, moveAnchor);
  ScrollIntoView(FCurrent);
}

void TCustomGrid::MoveCurrent(TCellCoord cell, bool moveAnchor) {
  TCellRect oldSelection = Selection();
  TCellCoord oldCurrent = FCurrent;
  FCurrent = {std::clamp(cell.Col, FFixedCols, FColCount - 1),
              std::clamp(cell.Row, FFixedRows, FRowCount - 1)};
  if (moveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  InvalidateCells(oldSelection);
  InvalidateCells(Selection());
  if (FCurrent != oldCurrent) CurrentCellMoved();
}

void TCustomGrid::InvalidateCells(const TCellRect& cells) {
  TRect area;
  for (int col = cells.Left; col <= cells.Right; ++col)
    for (int row = cells.Top; row <= cells.Bottom; ++row)
      area = UnionRect(area, CellRect(col, row));
  if (!area.IsEmpty()) InvalidateRect(area);
}

void TCustomGrid::SetTopLeft(int col, int row) { MoveTopLeft(col, row); }

TCellCoord TCustomGrid::ClampedTopLeft(int col, int row) const {
  return TCellCoord{std::clamp(col, FFixedCols, std::max(FFixedCols, MaxFirst(true))),
                    std::clamp(row, FFixedRows, std::max(FFixedRows, MaxFirst(false)))};
}

void TCustomGrid::MoveTopLeft(int col, int row) {
  TCellCoord topLeft = ClampedTopLeft(col, row);
  if (topLeft == FTopLeft) return;
  FTopLeft = topLeft;
  UpdateScrollBars();
  Invalidate();
  TopLeftChanged();
}

void TCustomGrid::ScrollIntoView(TCellCoord cell) {
  int col = FTopLeft.Col;
  int row = FTopLeft.Row;
  if (cell.Col < col) col = cell.Col;
  else if (cell.Col > ColAxis().LastFullCell) col = FirstShowing(true, cell.Col);
  if (cell.Row < row) row = cell.Row;
  else if (cell.Row > RowAxis().LastFullCell) row = FirstShowing(false, cell.Row);
  MoveTopLeft(col, row);
}

void TCustomGrid::GeometryChanged() {
  FTopLeft = ClampedTopLeft(FTopLeft.Col, FTopLeft.Row);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  bool horz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  bool vert = FScrollBars == ssVertical || FScrollBars == ssBoth;
  Peer()->SetScrollBar(false, horz ? MaxFirst(true) - FFixedCols : 0, FTopLeft.Col - FFixedCols);
  Peer()->SetScrollBar(true, vert ? MaxFirst(false) - FFixedRows : 0, FTopLeft.Row - FFixedRows);
}

int TCustomGrid::AxisLineWidth(bool horz) const {
  bool lines = horz ? FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine)
                    : FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine);
  return lines ? FGridLineWidth : 0;
}

std::int64_t TCustomGrid::FixedExtent(bool horz) const {
  std::int64_t extent = 0;
  for (int i = 0; i < AxisFixed(horz); ++i) extent += Pitch(horz, i);
  return extent;
}

// A cell is in full view while the line after it ends no further than one line past the client
// area: the last line may fall outside.
TGridAxis TCustomGrid::Axis(bool horz) const {
  TGridAxis axis;
  axis.Grid = this;
  axis.Horz = horz;
  axis.LineWidth = AxisLineWidth(horz);
  axis.FixedCount = AxisFixed(horz);
  axis.FirstCell = AxisFirst(horz);
  axis.CellCount = AxisCount(horz);
  axis.Extent = AxisClientExtent(horz);
  const std::int64_t fixedEnd = FixedExtent(horz);
  axis.FixedEnd = ToPixel(fixedEnd);
  const std::int64_t limit = std::int64_t{axis.Extent} + axis.LineWidth;
  std::int64_t position = fixedEnd;
  axis.LastFullCell = axis.FirstCell;
  for (int i = axis.FirstCell; i < axis.CellCount; ++i) {
    position += Pitch(horz, i);
    if (position > limit) {
      position = axis.Extent;
      break;
    }
    axis.LastFullCell = i;
  }
  axis.GridEnd = ToPixel(position);
  return axis;
}

int TCustomGrid::VisibleCount(bool horz) const {
  return Axis(horz).LastFullCell - AxisFirst(horz) + 1;
}

int TCustomGrid::VisibleColCount() const { return VisibleCount(true); }

int TCustomGrid::VisibleRowCount() const { return VisibleCount(false); }

int TCustomGrid::GridEnd(bool horz) const {
  const TGridAxis axis = Axis(horz);
  return std::min(axis.GridEnd, axis.Extent);
}

int TCustomGrid::GridWidth() const { return GridEnd(true); }

int TCustomGrid::GridHeight() const { return GridEnd(false); }

int TCustomGrid::MaxFirst(bool horz) const { return FirstShowing(horz, AxisCount(horz) - 1); }

int TCustomGrid::FirstShowing(bool horz, int index) const {
  int lineWidth = AxisLineWidth(horz);
  std::int64_t room = AxisClientExtent(horz) - FixedExtent(horz) + lineWidth;
  int first = index;
  std::int64_t used = Pitch(horz, index);
  while (first - 1 >= AxisFixed(horz) && used + Pitch(horz, first - 1) <= room) {
    --first;
    used += Pitch(horz, first);
  }
  return first;
}

std::int64_t TCustomGrid::CellStart(bool horz, int index) const {
  std::int64_t position = 0;
  int from = 0;
  if (index >= AxisFixed(horz)) {
    if (index < AxisFirst(horz)) return -1;
    // Cells all of the default size need no sum: each marker's placement asks for two rows.
    if ((horz ? FColWidths : FRowHeights).empty())
      return (std::int64_t{index} - AxisFirst(horz) + AxisFixed(horz)) * Pitch(horz, 0);
    position = FixedExtent(horz);
    from = AxisFirst(horz);
  }
  for (int i = from; i < index; ++i) position += Pitch(horz, i);
  return position;
}

int TCustomGrid::CellAt(bool horz, int position) const {
  if (position < 0 || position >= AxisClientExtent(horz)) return -1;
  std::int64_t end = 0;
  for (int i = 0; i < AxisFixed(horz); ++i) {
    end += Pitch(horz, i);
    if (position < end) return i;
  }
  for (int i = AxisFirst(horz); i < AxisCount(horz); ++i) {
    end += Pitch(horz, i);
    if (position < end) return i;
  }
  return -1;
}

TCellCoord TCustomGrid::MouseToCell(int x, int y) const {
  return TCellCoord{CellAt(true, x), CellAt(false, y)};
}

TRect TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount) return TRect{};
  std::int64_t left = CellStart(true, col);
  std::int64_t top = CellStart(false, row);
  if (left < 0 || top < 0 || left >= ClientWidth() || top >= ClientHeight()) return TRect{};
  return TRect{static_cast<int>(left), static_cast<int>(top), ToPixel(left + ColWidths(col)),
               ToPixel(top + RowHeights(row))};
}

TPoint TCustomGrid::KeyboardPopupPoint() const {
  TRect cell = CellRect(FCurrent.Col, FCurrent.Row);
  return cell.IsEmpty() ? TControl::KeyboardPopupPoint() : TPoint{cell.Left, cell.Bottom};
}

void TCustomGrid::CreateParams(TCreateParams& params) const {
  TWinControl::CreateParams(params);
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= wsVScroll;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= wsHScroll;
  if (FBorderStyle == bsSingle) {
    if (Ctl3D())
      params.ExStyle |= wsExClientEdge;
    else
      params.Style |= wsBorder;
  }
}

void TCustomGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  GeometryChanged();
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!IsDesigning() && CanFocus()) SetFocus();
  if (button == mbLeft) {
    TCellCoord cell = MouseToCell(x, y);
    if (IsScrollingCell(cell)) {
      bool extend = shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
      FocusCell(cell.Col, cell.Row, !extend);
      FSelecting = FOptions.Contains(goRangeSelect);
      if (FSelecting) SetMouseCapture(true);
    }
  }
  TWinControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
  if (FSelecting) {
    TCellCoord cell = MouseToCell(x, y);
    if (IsScrollingCell(cell)) FocusCell(cell.Col, cell.Row, false);
  }
  TWinControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  EndMouseSelect();
  TWinControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::EndMouseSelect() {
  if (!FSelecting) return;
  FSelecting = false;
  SetMouseCapture(false);
}

bool TCustomGrid::NavigationTarget(int key, TShiftState shift, TCellCoord& cell) const {
  cell = FCurrent;
  bool ctrl = shift.Contains(ssCtrl);
  switch (key) {
    case vkUp: --cell.Row; break;
    case vkDown: ++cell.Row; break;
    case vkLeft: --cell.Col; break;
    case vkRight: ++cell.Col; break;
    case vkPrior: cell.Row -= VisibleRowCount(); break;
    case vkNext: cell.Row += VisibleRowCount(); break;
    case vkHome:
      if (ctrl)
        cell.Row = FFixedRows;
      else
        cell.Col = FFixedCols;
      break;
    case vkEnd:
      if (ctrl)
        cell.Row = FRowCount - 1;
      else
        cell.Col = FColCount - 1;
      break;
    default: return false;
  }
  return true;
}

void TCustomGrid::KeyDown(int& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  TCellCoord cell;
  if (!NavigationTarget(key, shift, cell)) return;
  bool extend = shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
  FocusCell(cell.Col, cell.Row, !extend);
  key = 0;
}

bool TCustomGrid::WantsKey(int key, TShiftState shift) const {
  TCellCoord cell;
  return NavigationTarget(key, shift, cell);
}

void TCustomGrid::Scroll(bool vertical, TScrollCode code, int position) {
  if (code == scTrack && !FOptions.Contains(goThumbTracking)) return;
  // Wide enough for any position the platform passes; the view clamps it afterwards.
  std::int64_t first = AxisFirst(!vertical);
  int fixed = AxisFixed(!vertical);
  switch (code) {
    case scLineUp: --first; break;
    case scLineDown: ++first; break;
    case scPageUp: first -= VisibleCount(!vertical); break;
    case scPageDown: first += VisibleCount(!vertical); break;
    case scPosition:
    case scTrack: first = std::int64_t{fixed} + position; break;
    case scTop: first = fixed; break;
    case scBottom: first = MaxFirst(!vertical); break;
  }
  int index = static_cast<int>(std::clamp<std::int64_t>(first, fixed, AxisCount(!vertical) - 1));
  if (vertical)
    MoveTopLeft(FTopLeft.Col, index);
  else
    MoveTopLeft(index, FTopLeft.Row);
}

void TCustomGrid::TopLeftChanged() {
  if (OnTopLeftChanged) CallHandler(OnTopLeftChanged, this);
}

void TCustomGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TCustomGrid::SizeChanged(int, int) {}

}  // namespace skx
