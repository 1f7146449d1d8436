// Moving and resizing a task with the mouse: the gesture from the press on a marker to the drop.
#pragma once

#include <optional>
#include <vector>

#include "Framework/Core/Geometry.h"
#include "SkedraComp/DragTimes.h"

namespace skx {

class TCanvas;
class TSkedra;
class TPointControl;
struct TTaskItem;

// One grid's drag of a task. A left press on a marker arms it: on the marker's top edge (of the
// task's first day) or bottom edge (of its last day) for a resize, elsewhere for a move. Once the
// pointer has gone a few pixels, the grid shows an outline over the cells the task would cover,
// following the cell under the pointer; the markers stay until the drop, which hands the new times
// to TTaskItems::Reschedule. Points are in the grid's client coordinates. Nothing happens while
// the grid's task dialog is up, outside the container's user mode or with AllowDragTasks off.
class TTaskDrag {
 public:
  explicit TTaskDrag(TSkedra& grid) : FGrid(grid) {}
  TTaskDrag(const TTaskDrag&) = delete;
  TTaskDrag& operator=(const TTaskDrag&) = delete;

  void Press(TPointControl& marker, TPoint at);
  void Move(TPoint at);
  // Ends the gesture at the release: true when it was a drag, whatever came of it, and false when
  // it was a click. The handlers of the drop may free the grid with this object.
  bool Release(TPoint at);
  // Ends the gesture with nothing changed and no event; true when a drag was showing.
  bool Cancel();
  // Whether the press has become a drag, past the threshold.
  bool Dragging() const { return FState && FState->Active; }
  // The entry's markers are about to be freed: a gesture on its task ends.
  void ItemReleased(const TTaskItem& item);

  // The outline of a drag under way, over the grid and its markers.
  void Paint(TCanvas& canvas) const;
  // The pointer over a marker: a sizing pointer over an edge that a press would drag, and the
  // drag's own pointer while one is under way; crDefault otherwise.
  int CursorAt(const TPointControl& marker, TPoint at) const;

 private:
  struct TState {
    // Alive while the state is: the entry's markers go before the entry, and ItemReleased ends
    // the gesture first.
    TTaskItem* Item;
    TTaskDragKind Kind;
    TPoint Press;
    TCellCoord Anchor;
    TPoint Last;
    // Past the threshold: a drag rather than a click.
    bool Active;
    TTaskTimes Target;
  };

  bool Allowed() const;
  TTaskDragKind KindAt(const TPointControl& marker, TPoint at) const;
  // Turns the press into a drag; false when focusing the grid ended it or freed the grid.
  bool Activate();
  // Where the task would go with the pointer at the point; nothing when its times went bad.
  std::optional<TTaskTimes> TargetAt(TPoint at) const;
  void ShowTarget(const TTaskTimes& target);
  // The rectangles of the cells the times cover in each shown day, as far as they are in view.
  std::vector<TRect> Outline(const TTaskTimes& times) const;
  void InvalidateOutline(const TTaskTimes& times);
  // Drops the state before anything the platform may answer synchronously (the capture's
  // release), then clears the outline and the pointer.
  void End();
  void ShowCursor(int cursor);

  TSkedra& FGrid;
  std::optional<TState> FState;
};

}  // namespace skx
