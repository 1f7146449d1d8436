// The geometry of one paint of the schedule grid and the buffer its grid lines are drawn from.
#pragma once

#include "Framework/Core/Geometry.h"
#include "Framework/Core/Graphics.h"
#include "Framework/Core/Grids.h"

namespace skx {

struct TPaintInfo {
  TGridAxis Horz;
  TGridAxis Vert;
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
