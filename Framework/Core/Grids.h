// The grid base: a windowed table of cells with fixed headings, scrolling and range selection.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Framework/Core/Controls.h"

namespace skx {

enum TGridOption {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateFlag { dsSelected, dsFocused, dsFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;

enum TBorderStyle { bsNone, bsSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

using TDrawCellEvent = std::function<void(TComponent* Sender, int ACol, int ARow,
                                          const TRect& Rect, TGridDrawState State)>;

class TCustomGrid;

// How one axis of a grid maps its cells to pixels of the client area as the grid shows them
// now: the columns along x (Horz) or the rows along y.
struct TGridAxis {
  const TCustomGrid* Grid = nullptr;
  bool Horz = true;
  int LineWidth = 0;  // the line after each cell; 0 when the axis shows no lines
  int FixedCount = 0;
  int FirstCell = 0;  // the first scrolling cell in view
  int CellCount = 0;
  int Extent = 0;    // the client width or height
  int FixedEnd = 0;  // where the scrolling cells begin
  // Just past the line after the last cell, or the extent once a cell reaches beyond it.
  int GridEnd = 0;
  int LastFullCell = 0;  // the last scrolling cell in full view

  int CellExtent(int index) const;
};

class TCustomGrid : public TWinControl {
 public:
  explicit TCustomGrid(TComponent* AOwner);

  int ColCount() const { return FColCount; }
  void SetColCount(int value);
  int RowCount() const { return FRowCount; }
  void SetRowCount(int value);
  // Must stay below the count: "Fixed column count must be less than column count".
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int value);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int value);

  // Setting a default discards every individual width or height.
  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int value);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int value);
  // Reading gives the default where none was set; writing past the count fails with
  // "Grid index out of range".
  int ColWidths(int index) const;
  void SetColWidths(int index, int value);
  int RowHeights(int index) const;
  // Where a row begins, in client pixels, wherever it lies below the scrolled-off ones (past the
  // client area too); -1 for a scrolled-off row.
  std::int64_t RowTop(int row) const { return CellStart(false, row); }
  void SetRowHeights(int index, int value);
  // Whether a saved state holds the individual widths and heights.
  bool StoreCellSizes() const { return FStoreCellSizes; }
  void SetStoreCellSizes(bool value) { FStoreCellSizes = value; }

  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int value);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor value);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);

  // The current cell is never a fixed one; the selection spans it and the anchor.
  int CurrentCol() const { return FCurrent.Col; }
  int CurrentRow() const { return FCurrent.Row; }
  TCellRect Selection() const;
  // The anchor goes to the top-left corner, the current cell to the bottom-right one.
  void SetSelection(const TCellRect& value);
  // Makes the cell current, clamped to the scrolling cells, and scrolls it into view.
  void FocusCell(int col, int row, bool moveAnchor);

  int LeftVisibleCol() const { return FTopLeft.Col; }
  int TopVisibleRow() const { return FTopLeft.Row; }
  // Scrolls so that the cell is the first scrolling one in view, as far as the grid allows.
  void SetTopLeft(int col, int row);
  int VisibleColCount() const;
  int VisibleRowCount() const;
  // The pixel extent of the cells drawn, at most the client size.
  int GridWidth() const;
  int GridHeight() const;
  TGridAxis ColAxis() const { return Axis(true); }
  TGridAxis RowAxis() const { return Axis(false); }

  // (-1, -1) parts where the point lies beyond the cells.
  TCellCoord MouseToCell(int x, int y) const;
  // Whether the cell is one of those that scroll and can be current (not fixed, not beyond).
  bool IsScrollingCell(TCellCoord cell) const {
    return cell.Col >= FFixedCols && cell.Row >= FFixedRows;
  }
  // The cell's pixel rectangle; empty when the cell is scrolled out of view.
  TRect CellRect(int col, int row) const;

  void CreateParams(TCreateParams& params) const override;
  // Below the current cell while it is in view: the menu's commands act on the selection.
  TPoint KeyboardPopupPoint() const override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // The arrows, page and home keys move the current cell; with Shift they extend the selection.
  void KeyDown(int& key, TShiftState shift) override;
  bool WantsKey(int key, TShiftState shift) const override;
  // The thumb being dragged moves the view only with goThumbTracking.
  void Scroll(bool vertical, TScrollCode code, int position) override;

  // The canvas being painted on, for DrawCell and OnDrawCell; null outside painting.
  TCanvas* Canvas() const { return FCanvas; }

  TDrawCellEvent OnDrawCell;
  TNotifyEvent OnTopLeftChanged;

 protected:
  // Makes the canvas the grid's Canvas for as long as a paint runs.
  class TCanvasScope {
   public:
    TCanvasScope(TCustomGrid& grid, TCanvas& canvas) : FGrid(grid), FSaved(grid.FCanvas) {
      grid.FCanvas = &canvas;
    }
    ~TCanvasScope() { FGrid.FCanvas = FSaved; }
    TCanvasScope(const TCanvasScope&) = delete;
    TCanvasScope& operator=(const TCanvasScope&) = delete;

   private:
    TCustomGrid& FGrid;
    TCanvas* FSaved;
  };

  // Called after every scroll of the view, not after the clamping that a smaller grid forces.
  virtual void TopLeftChanged();
  // Called after the current cell moved to another cell.
  virtual void CurrentCellMoved() {}
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  virtual void SizeChanged(int oldColCount, int oldRowCount);
  void FrameChanged() override;
  // Scrolls as little as needed to bring the cell into view.
  void ScrollIntoView(TCellCoord cell);
  // Ends a selection by dragging the mouse, as the release of its button does.
  void EndMouseSelect();

 private:
  int CellExtent(bool horz, int index) const { return horz ? ColWidths(index) : RowHeights(index); }
  int AxisLineWidth(bool horz) const;
  // A cell's extent with the line that follows it.
  std::int64_t Pitch(bool horz, int index) const {
    return std::int64_t{CellExtent(horz, index)} + AxisLineWidth(horz);
  }
  int AxisCount(bool horz) const { return horz ? FColCount : FRowCount; }
  int AxisFixed(bool horz) const { return horz ? FFixedCols : FFixedRows; }
  int AxisFirst(bool horz) const { return horz ? FTopLeft.Col : FTopLeft.Row; }
  int AxisClientExtent(bool horz) const { return horz ? ClientWidth() : ClientHeight(); }
  // Pixel positions are summed in 64 bits: any width or height is accepted, however large.
  std::int64_t FixedExtent(bool horz) const;
  TGridAxis Axis(bool horz) const;
  int VisibleCount(bool horz) const;
  int GridEnd(bool horz) const;
  // The largest first scrolling cell that still fills the client area.
  int MaxFirst(bool horz) const;
  // The first scrolling cell that shows the given cell in full as the last one in view.
  int FirstShowing(bool horz, int index) const;
  std::int64_t CellStart(bool horz, int index) const;
  int CellAt(bool horz, int position) const;

  void ChangeSize(int colCount, int rowCount);
  void MoveCurrent(TCellCoord cell, bool moveAnchor);
  TCellCoord ClampedTopLeft(int col, int row) const;
  void MoveTopLeft(int col, int row);
  // The cell that a navigation key moves the current cell to; false for any other key.
  bool NavigationTarget(int key, TShiftState shift, TCellCoord& cell) const;
  // After a change of sizes or counts: the view is clamped silently, then redrawn.
  void GeometryChanged();
  void UpdateScrollBars();
  void InvalidateCells(const TCellRect& cells);

  int FColCount = 5;
  int FRowCount = 5;
  int FFixedCols = 1;
  int FFixedRows = 1;
  int FDefaultColWidth = 64;
  int FDefaultRowHeight = 24;
  std::vector<int> FColWidths;
  std::vector<int> FRowHeights;
  bool FStoreCellSizes = true;
  int FGridLineWidth = 1;
  TGridOptions FOptions;
  TColor FFixedColor = clBtnFace;
  bool FDefaultDrawing = true;
  TBorderStyle FBorderStyle = bsSingle;
  TScrollStyle FScrollBars = ssBoth;
  TCellCoord FCurrent{1, 1};
  TCellCoord FAnchor{1, 1};
  TCellCoord FTopLeft{1, 1};
  bool FSelecting = false;
  TCanvas* FCanvas = nullptr;
};

inline int TGridAxis::CellExtent(int index) const {
  return Horz ? Grid->ColWidths(index) : Grid->RowHeights(index);
}

}  // namespace skx
