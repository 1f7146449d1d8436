// A window backend without a screen: it records what would reach one, for tests.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "Framework/Core/Controls.h"
#include "Framework/Core/Menus.h"

namespace skx {

struct TScrollBarRecord {
  int Range = 0;
  int Position = 0;
};

struct TTimerRecord {
  unsigned Interval = 0;
  std::function<void()> Tick;
};

struct TWindowRecord {
  int Id = 0;
  int ParentId = -1;  // -1 for a top window
  TCreateParams Params;
  TRect Bounds;
  bool Exists = false;
  bool Visible = false;
  int FullInvalidations = 0;
  std::vector<TRect> InvalidRects;
  TScrollBarRecord HorzScrollBar;
  TScrollBarRecord VertScrollBar;
  // The window's timers by id; they go with the window.
  std::map<int, TTimerRecord> Timers;
  int PixelsPerInch = 96;
};

struct TAccessibleEventRecord {
  int WindowId;
  TAccessibleEvent Event;
  int Element;
  friend bool operator==(const TAccessibleEventRecord& a, const TAccessibleEventRecord& b) {
    return a.WindowId == b.WindowId && a.Event == b.Event && a.Element == b.Element;
  }
};

struct TPopupRecord {
  TPopupMenu* Menu = nullptr;
  TPoint At;
  std::vector<String> Captions;
};

class THeadlessRecorder {
 public:
  // Every window ever created, destroyed ones included, in order of creation; records stay
  // where they are, so pointers to them remain valid.
  std::deque<TWindowRecord> Windows;
  int FocusId = -1;
  int CaptureId = -1;
  // The pointer shape that a window was last told to show.
  int CursorShape = crDefault;
  std::vector<TPopupRecord> Popups;
  std::vector<TAccessibleEventRecord> AccessibleEvents;
  // Answers the index of the item a shown menu returns (-1 for none); none is chosen when it is
  // empty.
  std::function<int(TPopupMenu& menu)> ChooseItem;
  // The density of the screen: that of a window made from now on, a child taking its parent's.
  int PixelsPerInch = 96;

  // The record of a control's window; null when the control has no headless window.
  const TWindowRecord* WindowOf(const TWinControl& control) const;
  // A new top peer that records here.
  std::unique_ptr<TWindowPeer> CreatePeer();
  void ClearInvalidations();
  // Runs the calls posted so far to windows that still exist, as their message dispatch would.
  void RunPostedCalls();
  // One tick of a timer of the window, as its message dispatch would run it; false when the
  // window has no such timer.
  bool FireTimer(int windowId, int timerId);
  // The control's window moved to a screen of another density, and is told so as the platform
  // would tell it.
  void ChangeDpi(TWinControl& control, int dpi);

 private:
  friend class THeadlessWindowPeer;
  struct TPostedCall {
    int WindowId;
    std::function<void()> Call;
  };
  std::vector<TPostedCall> FPostedCalls;
};

// What the platform delivers for a right click: the press, then, as a message of its own, the
// context-menu request, which reaches the control only while its window still exists. A
// windowless control is clicked through its parent's window at that point, whichever control the
// window finds there.
void RightClick(TControl& control, int x, int y);

class THeadlessWindowPeer : public TWindowPeer {
 public:
  THeadlessWindowPeer(THeadlessRecorder& recorder, THeadlessWindowPeer* parent)
      : FRecorder(recorder), FParent(parent) {}

  int Id() const { return FId; }

  std::unique_ptr<TWindowPeer> CreateChildPeer() override;
  void CreateHandle(const TCreateParams& params, TWindowPeer* parent) override;
  void DestroyHandle() override;
  bool HandleExists() const override;
  TRect ClientRect() const override;
  TPoint ClientToScreen(TPoint point) const override;
  void SetBounds(const TRect& bounds) override;
  void SetFrameStyle(const TCreateParams& params) override;
  void SetVisible(bool visible) override;
  void Invalidate() override;
  void InvalidateRect(const TRect& rect) override;
  void SetFocus() override;
  bool Focused() const override;
  void SetCapture() override;
  void ReleaseCapture() override;
  void SetCursorShape(int cursor) override;
  void SetScrollBar(bool vertical, int range, int position) override;
  int TrackPopupMenu(TPopupMenu& menu, TPoint screenPoint) override;
  void NotifyAccessibleEvent(TAccessibleEvent event, int element) override;
  void PostCall(std::function<void()> call) override;
  void SetTimer(int id, unsigned milliseconds, std::function<void()> tick) override;
  void KillTimer(int id) override;
  int PixelsPerInch() const override;

 private:
  TWindowRecord& Record() const { return FRecorder.Windows.at(FId); }

  THeadlessRecorder& FRecorder;
  THeadlessWindowPeer* FParent;
  int FId = -1;
};

}  // namespace skx
