// A window backend without a screen: it records what would reach one, for tests.
#include "Framework/Core/HeadlessPeer.h"

#include <algorithm>

namespace skx {

const TWindowRecord* THeadlessRecorder::WindowOf(const TWinControl& control) const {
  auto* peer = dynamic_cast<const THeadlessWindowPeer*>(control.Peer());
  if (!peer || peer->Id() < 0) return nullptr;
  return &Windows.at(peer->Id());
}

std::unique_ptr<TWindowPeer> THeadlessRecorder::CreatePeer() {
  return std::make_unique<THeadlessWindowPeer>(*this, nullptr);
}

void THeadlessRecorder::ClearInvalidations() {
  for (TWindowRecord& window : Windows) {
    window.FullInvalidations = 0;
    window.InvalidRects.clear();
  }
}

// A call may post further calls, or free the windows of the others.
void THeadlessRecorder::RunPostedCalls() {
  std::vector<TPostedCall> calls;
  calls.swap(FPostedCalls);
  for (TPostedCall& posted : calls)
    if (Windows.at(posted.WindowId).Exists) posted.Call();
}

// The tick may kill its own timer or free the window.
bool THeadlessRecorder::FireTimer(int windowId, int timerId) {
  const TWindowRecord& window = Windows.at(windowId);
  auto found = window.Timers.find(timerId);
  if (!window.Exists || found == window.Timers.end()) return false;
  std::function<void()> tick = found->second.Tick;
  tick();
  return true;
}

void THeadlessRecorder::ChangeDpi(TWinControl& control, int dpi) {
  Windows.at(static_cast<std::size_t>(WindowOf(control)->Id)).PixelsPerInch = dpi;
  control.WindowDpiChanged(dpi);
}

std::unique_ptr<TWindowPeer> THeadlessWindowPeer::CreateChildPeer() {
  return std::make_unique<THeadlessWindowPeer>(FRecorder, this);
}

void THeadlessWindowPeer::CreateHandle(const TCreateParams& params, TWindowPeer*) {
  TWindowRecord record;
  record.Id = static_cast<int>(FRecorder.Windows.size());
  record.ParentId = FParent ? FParent->FId : -1;
  record.Params = params;
  record.Bounds = params.Bounds;
  record.Exists = true;
  record.Visible = (params.Style & wsVisible) != 0;
  record.PixelsPerInch = FParent && FParent->HandleExists() ? FParent->PixelsPerInch()
                                                             : FRecorder.PixelsPerInch;
  FRecorder.Windows.push_back(record);
  FId = record.Id;
}

int THeadlessWindowPeer::PixelsPerInch() const {
  return HandleExists() ? Record().PixelsPerInch : FRecorder.PixelsPerInch;
}

void THeadlessWindowPeer::DestroyHandle() {
  if (!HandleExists()) return;
  Record().Exists = false;
  Record().Timers.clear();
  if (FRecorder.FocusId == FId) FRecorder.FocusId = -1;
  if (FRecorder.CaptureId == FId) FRecorder.CaptureId = -1;
  FId = -1;
}

bool THeadlessWindowPeer::HandleExists() const { return FId >= 0; }

TRect THeadlessWindowPeer::ClientRect() const {
  const TWindowRecord& record = Record();
  int frame = FrameWidth(record.Params.Style, record.Params.ExStyle);
  return TRect{0, 0, std::max(0, record.Bounds.Width() - 2 * frame),
               std::max(0, record.Bounds.Height() - 2 * frame)};
}

TPoint THeadlessWindowPeer::ClientToScreen(TPoint point) const {
  const TWindowRecord& record = Record();
  int frame = FrameWidth(record.Params.Style, record.Params.ExStyle);
  TPoint inParent{point.X + record.Bounds.Left + frame, point.Y + record.Bounds.Top + frame};
  return FParent && FParent->HandleExists() ? FParent->ClientToScreen(inParent) : inParent;
}

void THeadlessWindowPeer::SetBounds(const TRect& bounds) { Record().Bounds = bounds; }

void THeadlessWindowPeer::SetFrameStyle(const TCreateParams& params) {
  TCreateParams& own = Record().Params;
  own.Style = (own.Style & ~wsBorder) | (params.Style & wsBorder);
  own.ExStyle = (own.ExStyle & ~wsExClientEdge) | (params.ExStyle & wsExClientEdge);
}

void THeadlessWindowPeer::SetVisible(bool visible) { Record().Visible = visible; }

void THeadlessWindowPeer::Invalidate() { ++Record().FullInvalidations; }

void THeadlessWindowPeer::InvalidateRect(const TRect& rect) {
  Record().InvalidRects.push_back(rect);
}

void THeadlessWindowPeer::SetFocus() { FRecorder.FocusId = FId; }

bool THeadlessWindowPeer::Focused() const { return FId >= 0 && FRecorder.FocusId == FId; }

void THeadlessWindowPeer::SetCapture() { FRecorder.CaptureId = FId; }

void THeadlessWindowPeer::ReleaseCapture() {
  if (FRecorder.CaptureId == FId) FRecorder.CaptureId = -1;
}

void THeadlessWindowPeer::SetCursorShape(int cursor) { FRecorder.CursorShape = cursor; }

void THeadlessWindowPeer::SetScrollBar(bool vertical, int range, int position) {
  TScrollBarRecord& bar = vertical ? Record().VertScrollBar : Record().HorzScrollBar;
  bar.Range = range;
  bar.Position = position;
}

int THeadlessWindowPeer::TrackPopupMenu(TPopupMenu& menu, TPoint screenPoint) {
  TPopupRecord popup{&menu, screenPoint, {}};
  for (int i = 0; i < menu.Count(); ++i) popup.Captions.push_back(menu.Items(i)->Caption());
  FRecorder.Popups.push_back(popup);
  return FRecorder.ChooseItem ? FRecorder.ChooseItem(menu) : -1;
}

void THeadlessWindowPeer::NotifyAccessibleEvent(TAccessibleEvent event, int element) {
  FRecorder.AccessibleEvents.push_back({FId, event, element});
}

void THeadlessWindowPeer::PostCall(std::function<void()> call) {
  if (!HandleExists()) return;
  FRecorder.FPostedCalls.push_back({FId, std::move(call)});
}

void THeadlessWindowPeer::SetTimer(int id, unsigned milliseconds, std::function<void()> tick) {
  if (HandleExists()) Record().Timers[id] = TTimerRecord{milliseconds, std::move(tick)};
}

void THeadlessWindowPeer::KillTimer(int id) {
  if (HandleExists()) Record().Timers.erase(id);
}

void RightClick(TControl& control, int x, int y) {
  TWinControl* window = dynamic_cast<TWinControl*>(&control);
  if (!window && control.Parent()) {
    TWinControl& parent = *control.Parent();
    TPoint at = control.ClientOrigin();
    TWeakRef<TWinControl> alive(&parent);
    parent.WindowMouseDown(mbRight, {}, at.X + x, at.Y + y);
    if (TWinControl* target = alive.Get(); target && target->HandleAllocated())
      target->WindowContextPopup(at.X + x, at.Y + y);
    return;
  }
  TWeakRef<TControl> alive(&control);
  control.MouseDown(mbRight, {}, x, y);
  if (TControl* target = alive.Get()) target->ContextPopup(x, y);
}

}  // namespace skx
