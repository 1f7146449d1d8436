// The geometry of one paint of the schedule grid and the buffer its grid lines are drawn from.
#pragma once

#include "Framework/Core/Geometry.h"
#include "Framework/Core/Graphics.h"
#include "Framework/Core/Grids.h"

namespace skx {

// One axis of the grid as painted: columns along x (Horz) or rows along y (Vert), in pixels and
// cell indexes.
struct TAxisPaintInfo {
  int LineWidth = 0;     // the lines after each cell; 0 when the axis shows no lines
  int FixedEnd = 0;      // where the scrolling cells begin
  int GridEnd = 0;       // just after the last cell drawn, at most Extent
  int Extent = 0;        // the client width or height
  int LastFullCell = 0;  // the last scrolling cell in full view
  int FixedCount = 0;
  int FirstCell = 0;  // the first scrolling cell in view
  int CellCount = 0;
  const TCustomGrid* Grid = nullptr;
  bool Horz = true;

  int CellExtent(int index) const { return Horz ? Grid->ColWidths(index) : Grid->RowHeights(index); }
};

struct TPaintInfo {
  TAxisPaintInfo Horz;
  TAxisPaintInfo Vert;
  TCellRect Selection;
  // The grid's window has the keyboard focus.
  bool Focused = false;
};

// The segments of one direction of lines, drawn with one PolyPolyline call. It lives on the
// stack for one paint; a full buffer is drawn and emptied, so no number of lines can overrun it.
class TStrokeBuffer {
 public:
  // Room for every row line of the tallest layout (1440 time rows) in one call.
  static constexpr int MaxSegments = 1448;

  // Capacity is the number of segments asked for, between 1 and MaxSegments.
  explicit TStrokeBuffer(int segments);
  TStrokeBuffer(const TStrokeBuffer&) = delete;
  TStrokeBuffer& operator=(const TStrokeBuffer&) = delete;

  int Capacity() const { return FCapacity; }
  void Add(TCanvas& canvas, TPoint from, TPoint to);
  // Draws the segments added so far, if any, and empties the buffer.
  void Flush(TCanvas& canvas);

 private:
  int FCapacity;
  int FCount = 0;
  TPoint FPoints[2 * MaxSegments];
};

}  // namespace skx
