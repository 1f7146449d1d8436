// Component ownership and the control tree.
#include "Framework/Core/Controls.h"

#include <algorithm>

#include "Framework/Core/Exceptions.h"
#include "Framework/Core/Menus.h"

namespace skx {

namespace {

template <typename T>
void EraseFrom(std::vector<T*>& list, T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

bool IsWindowless(const TControl* control) { return dynamic_cast<const TWinControl*>(control) == nullptr; }

// The frame of a framed windowless control; a window's frame is its platform's.
int FrameInset(const TControl& control) {
  return control.ControlStyle().Contains(csFramed) ? control.Scale().Of(1) : 0;
}

// A point of a window's client area in the client coordinates of the window's control or of one
// of its windowless children.
TPoint ClientPointOf(const TControl& target, const TWinControl& window, int x, int y) {
  if (&target == &window) return TPoint{x, y};
  TPoint origin = target.ClientOrigin();
  return TPoint{x - origin.X, y - origin.Y};
}

// Brings the canvas back out of a child's area however the child's painting ends.
class TCanvasArea {
 public:
  TCanvasArea(TCanvas& canvas, const TRect& area) : FCanvas(canvas) { FCanvas.BeginArea(area); }
  ~TCanvasArea() { FCanvas.EndArea(); }
  TCanvasArea(const TCanvasArea&) = delete;
  TCanvasArea& operator=(const TCanvasArea&) = delete;

 private:
  TCanvas& FCanvas;
};

// The frame of a thin window border: width pixels inside each edge of bounds.
void PaintFrame(TCanvas& canvas, const TRect& bounds, int width) {
  canvas.SetBrushColor(clWindowFrame);
  canvas.FillRect(TRect{bounds.Left, bounds.Top, bounds.Right, bounds.Top + width});
  canvas.FillRect(TRect{bounds.Left, bounds.Bottom - width, bounds.Right, bounds.Bottom});
  canvas.FillRect(TRect{bounds.Left, bounds.Top + width, bounds.Left + width, bounds.Bottom - width});
  canvas.FillRect(TRect{bounds.Right - width, bounds.Top + width, bounds.Right, bounds.Bottom - width});
}

// Every pixel sum made later starts from the right and bottom edges, so they must exist as
// 32-bit values: "Integer overflow" otherwise, before anything changes.
void CheckBounds(int left, int top, int width, int height) {
  CheckedAdd(left, width);
  CheckedAdd(top, height);
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
  if (FOwner) {
    FOwner->FComponents.push_back(this);
    if (FOwner->IsDesigning()) FComponentState.Include(csDesigning);
    FOwner->Notification(this, opInsert);
  }
}

TComponent::~TComponent() {
  MarkDestroying();
  // Last in, first out, as the owned components were built on one another.
  while (!FComponents.empty()) delete FComponents.back();
  if (FOwner) {
    EraseFrom(FOwner->FComponents, this);
    FOwner->Notification(this, opRemove);
  }
}

void TComponent::SetDesigning(bool designing) {
  if (designing)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  for (TComponent* component : FComponents) component->SetDesigning(designing);
}

void TComponent::MarkDestroying() {
  if (IsDestroying()) return;
  FComponentState.Include(csDestroying);
  for (TComponent* component : FComponents) component->MarkDestroying();
}

void TComponent::Loaded() {}

void TComponent::Notification(TComponent*, TOperation) {}

int FrameWidth(std::uint32_t style, std::uint32_t exStyle) {
  return ((style & wsBorder) ? 1 : 0) + ((exStyle & wsExClientEdge) ? 2 : 0);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  FControlStyle = {csCaptureMouse, csClickEvents,
                   csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) FParent->RemoveControl(this);
  FParent = parent;
  if (FParent) FParent->InsertControl(this);
  ParentChanged();
}

void TControl::ParentChanged() {
  if (!FParent) return;
  if (FParentColor) FColor = FParent->Color();
  if (FParentFont) FFont = FParent->Font();
  Invalidate();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  CheckBounds(ALeft, ATop, AWidth, AHeight);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
}

TRect TControl::ClientRect() const {
  int frame = FrameInset(*this);
  return TRect{0, 0, std::max(0, FWidth - 2 * frame), std::max(0, FHeight - 2 * frame)};
}

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  if (FParent) FParent->InvalidateRect(BoundsRect());
}

void TControl::SetColor(TColor color) {
  FColor = color;
  FParentColor = false;
  Invalidate();
}

void TControl::SetParentColor(bool value) {
  FParentColor = value;
  if (value) ParentChanged();
}

void TControl::SetFont(const TFont& font) {
  FFont = font;
  FParentFont = false;
  Invalidate();
}

void TControl::SetParentFont(bool value) {
  FParentFont = value;
  if (value) ParentChanged();
}

void TControl::Invalidate() {
  if (FParent && FVisible) FParent->InvalidateRect(BoundsRect());
}

void TControl::InvalidateRect(const TRect& rect) {
  TPoint origin = ClientOrigin();
  if (FParent && FVisible)
    FParent->InvalidateRect(TRect{rect.Left + origin.X, rect.Top + origin.Y, rect.Right + origin.X,
                                  rect.Bottom + origin.Y});
}

TScale TControl::Scale() const {
  const TControl* top = this;
  while (top->FParent) top = top->FParent;
  return top->FScale;
}

TPoint TControl::ClientOrigin() const {
  int frame = FrameInset(*this);
  return TPoint{FLeft + frame, FTop + frame};
}

void TControl::Paint(TCanvas&) {}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) CallHandler(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState, int, int) {}

void TControl::MouseUp(TMouseButton, TShiftState, int, int) {}

int TControl::CursorAt(int, int) const { return FCursor; }

void TControl::ContextPopup(int x, int y) {
  if (!FPopupMenu || !InUserMode()) return;
  FPopupMenu->SetPopupComponent(this);
  TPoint screen = ClientToScreen(TPoint{x, y});
  FPopupMenu->Popup(screen.X, screen.Y);
}

bool TControl::InUserMode() const {
  const TControl* control = this;
  while (control->FParent != nullptr) control = control->FParent;
  const auto* root = dynamic_cast<const TWinControl*>(control);
  return root == nullptr || root->UserMode();
}

TPoint TControl::ClientToScreen(TPoint point) const {
  TPoint origin = ClientOrigin();
  TPoint inParent{point.X + origin.X, point.Y + origin.Y};
  return FParent ? FParent->ClientToScreen(inParent) : inParent;
}

void TControl::Notification(TComponent* AComponent, TOperation operation) {
  TComponent::Notification(AComponent, operation);
  if (operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  MarkDestroying();
  // A window's child controls do not outlive it, whoever owns them.
  while (!FControls.empty()) delete FControls.back();
  DestroyHandle();
}

void TWinControl::InsertControl(TControl* control) {
  control->FSlot = FControls.insert(FControls.end(), control);
  auto* winControl = dynamic_cast<TWinControl*>(control);
  if (!winControl) return;
  winControl->SetPeer(FPeer ? FPeer->CreateChildPeer() : nullptr);
  if (HandleAllocated()) winControl->HandleNeeded();
}

void TWinControl::RemoveControl(TControl* control) {
  FControls.erase(control->FSlot);
  auto* winControl = dynamic_cast<TWinControl*>(control);
  if (!winControl) {
    control->Invalidate();
    return;
  }
  Invalidate();
  winControl->SetPeer(nullptr);
}

TControl* TWinControl::ControlAtPos(TPoint point) const {
  for (TControl* control : FControls)
    if (control->Visible() && control->Enabled() && IsWindowless(control) &&
        control->BoundsRect().Contains(point))
      return control;
  return nullptr;
}

TControl* TWinControl::MouseTarget(int x, int y) {
  TControl* child = ControlAtPos(TPoint{x, y});
  return child ? child : this;
}

// The target's coordinates are its client's: a framed child's start inside its frame.
void TWinControl::WindowMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TControl* target = MouseTarget(x, y);
  FPressed = TWeakRef<TControl>(target);
  FPressHeld = true;
  if (button == mbRight) {
    FRightPressOnChild = target != this;
    FRightPressed = TWeakRef<TControl>(FRightPressOnChild ? target : nullptr);
  }
  TPoint at = ClientPointOf(*target, *this, x, y);
  target->MouseDown(button, shift, at.X, at.Y);
}

void TWinControl::WindowMouseMove(TShiftState shift, int x, int y) {
  TControl* target = FPressHeld ? FPressed.Get() : MouseTarget(x, y);
  if (!target) return;
  TPoint at = ClientPointOf(*target, *this, x, y);
  target->MouseMove(shift, at.X, at.Y);
}

void TWinControl::WindowMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TControl* target = FPressHeld ? FPressed.Get() : MouseTarget(x, y);
  FPressHeld = false;
  FPressed = TWeakRef<TControl>();
  if (!target) return;
  TPoint at = ClientPointOf(*target, *this, x, y);
  target->MouseUp(button, shift, at.X, at.Y);
}

bool TWinControl::WindowContextPopup(int x, int y) {
  TControl* target = FRightPressOnChild ? FRightPressed.Get() : MouseTarget(x, y);
  bool pressedChildGone = FRightPressOnChild && !target;
  FRightPressOnChild = false;
  FRightPressed = TWeakRef<TControl>();
  if (pressedChildGone) return true;
  if (!target->PopupMenu()) return false;
  TPoint at = ClientPointOf(*target, *this, x, y);
  target->ContextPopup(at.X, at.Y);
  return true;
}

int TWinControl::WindowCursorAt(int x, int y) {
  TControl* target = FPressHeld ? FPressed.Get() : MouseTarget(x, y);
  if (target && target != this) {
    TPoint at = ClientPointOf(*target, *this, x, y);
    int cursor = target->CursorAt(at.X, at.Y);
    if (cursor != crDefault) return cursor;
  }
  return CursorAt(x, y);
}

void TWinControl::PaintWindow(TCanvas& canvas, const TRect& area) {
  canvas.SetScale(Scale());
  canvas.SetBrushColor(Color());
  canvas.FillRect(area);
  Paint(canvas);
  PaintControls(canvas);
  PaintOverControls(canvas);
}

// Last to first, so that an earlier child lies over a later one where they overlap.
void TWinControl::PaintControls(TCanvas& canvas) {
  for (auto control = FControls.rbegin(); control != FControls.rend(); ++control) {
    TControl& child = **control;
    TRect bounds = child.BoundsRect();
    if (!child.Visible() || !IsWindowless(&child) || bounds.IsEmpty() || !canvas.RectVisible(bounds))
      continue;
    TRect client = bounds;
    if (const int frame = FrameInset(child); frame > 0) {
      PaintFrame(canvas, bounds, frame);
      client.Inflate(-frame, -frame);
      if (client.IsEmpty()) continue;
    }
    TCanvasArea area(canvas, client);
    if (child.ControlStyle().Contains(csOpaque)) {
      canvas.SetBrushColor(child.Color());
      canvas.FillRect(TRect{0, 0, client.Width(), client.Height()});
    }
    child.Paint(canvas);
  }
}

void TWinControl::SetPeer(std::unique_ptr<TWindowPeer> peer) {
  DestroyHandle();
  // Child peers refer to this one, so they are replaced with it.
  FPeer = std::move(peer);
  if (FPeer) FPeer->SetControl(this);
  for (TControl* control : FControls)
    if (auto* winControl = dynamic_cast<TWinControl*>(control))
      winControl->SetPeer(FPeer ? FPeer->CreateChildPeer() : nullptr);
}

void TWinControl::HandleNeeded() {
  if (!FPeer || FPeer->HandleExists()) return;
  TCreateParams params;
  CreateParams(params);
  FPeer->CreateHandle(params, FParent ? FParent->Peer() : nullptr);
  if (!FParent) {
    TWeakRef<TWinControl> alive(this);
    SetScale(TScale(FPeer->PixelsPerInch()));
    if (alive.Expired()) return;
  }
  // A control that replaces its style bits leaves out the visible one; it is shown all the same.
  if (Visible() && !(params.Style & wsVisible)) FPeer->SetVisible(true);
  for (TControl* control : FControls)
    if (auto* winControl = dynamic_cast<TWinControl*>(control)) winControl->HandleNeeded();
  HandleCreated();
}

void TWinControl::WindowDpiChanged(int dpi) {
  if (!FParent) SetScale(TScale(dpi));
}

// What ScaleChanged runs may free the control: it comes last.
void TWinControl::SetScale(TScale scale) {
  if (scale == FScale) return;
  FScale = scale;
  Invalidate();
  ScaleChanged();
}

void TWinControl::DestroyHandle() {
  if (!HandleAllocated()) return;
  for (TControl* control : FControls)
    if (auto* winControl = dynamic_cast<TWinControl*>(control)) winControl->DestroyHandle();
  FPeer->DestroyHandle();
}

void TWinControl::CreateParams(TCreateParams& params) const {
  params.Caption = ControlStyle().Contains(csSetCaption) ? Name() : String();
  params.Style = wsChild | wsClipSiblings;
  params.ExStyle = 0;
  if (ControlStyle().Contains(csAcceptsControls)) {
    params.Style |= wsClipChildren;
    params.ExStyle |= wsExControlParent;
  }
  if (Visible()) params.Style |= wsVisible;
  if (!Enabled()) params.Style |= wsDisabled;
  if (FTabStop) params.Style |= wsTabStop;
  params.Bounds = BoundsRect();
}

TRect TWinControl::ClientRect() const {
  if (HandleAllocated()) return FPeer->ClientRect();
  TCreateParams params;
  CreateParams(params);
  int frame = FrameWidth(params.Style, params.ExStyle);
  return TRect{0, 0, std::max(0, Width() - 2 * frame), std::max(0, Height() - 2 * frame)};
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  CheckBounds(ALeft, ATop, AWidth, AHeight);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (HandleAllocated()) FPeer->SetBounds(BoundsRect());
}

void TWinControl::SetVisible(bool visible) {
  FVisible = visible;
  if (HandleAllocated()) FPeer->SetVisible(visible);
}

void TWinControl::SetColor(TColor color) {
  TControl::SetColor(color);
  for (TControl* control : FControls) control->ParentChanged();
}

void TWinControl::SetFont(const TFont& font) {
  TControl::SetFont(font);
  for (TControl* control : FControls) control->ParentChanged();
}

void TWinControl::TakeAmbient(const TAmbientProperties& ambient) {
  FUserMode = ambient.UserMode;
  if (Parent() != nullptr) return;
  // Once there is a window, its own density is the one that counts.
  if (ambient.PixelsPerInch && !HandleAllocated()) {
    TWeakRef<TWinControl> alive(this);
    SetScale(TScale(*ambient.PixelsPerInch));
    if (alive.Expired()) return;
  }
  if (ambient.Formats != FFormats) {
    FFormats = ambient.Formats;
    FormatSettingsChanged();
  }
  if (ambient.DisplayName) SetName(*ambient.DisplayName);
  const TColor color = ParentColor() && ambient.BackColor ? *ambient.BackColor : Color();
  TFont font = ParentFont() && ambient.Font ? *ambient.Font : Font();
  if (ParentFont() && ambient.ForeColor) font.Color = *ambient.ForeColor;
  if (color == Color() && font == Font()) return;
  // Taken as the parent's would be: the control goes on following the container.
  const bool parentColor = ParentColor();
  const bool parentFont = ParentFont();
  SetColor(color);
  SetFont(font);
  SetParentColor(parentColor);
  SetParentFont(parentFont);
}

void TWinControl::SetCtl3D(bool value) {
  if (value == Ctl3D()) return;
  TControl::SetCtl3D(value);
  UpdateFrame();
}

void TWinControl::UpdateFrame() {
  if (HandleAllocated()) {
    TCreateParams params;
    CreateParams(params);
    FPeer->SetFrameStyle(params);
  }
  FrameChanged();
}

void TWinControl::Invalidate() {
  if (FInvalidationBatches > 0)
    FPendingFullInvalidation = true;
  else if (HandleAllocated())
    FPeer->Invalidate();
}

void TWinControl::InvalidateRect(const TRect& rect) {
  if (rect.IsEmpty()) return;
  if (FInvalidationBatches == 0) {
    if (HandleAllocated()) FPeer->InvalidateRect(rect);
    return;
  }
  TRect& pending = FPendingInvalidRect;
  pending = pending.IsEmpty() ? rect
                              : TRect{std::min(pending.Left, rect.Left), std::min(pending.Top, rect.Top),
                                      std::max(pending.Right, rect.Right),
                                      std::max(pending.Bottom, rect.Bottom)};
}

TInvalidationBatch::TInvalidationBatch(TWinControl& control) : FControl(control) {
  ++FControl.FInvalidationBatches;
}

TInvalidationBatch::~TInvalidationBatch() {
  if (--FControl.FInvalidationBatches > 0) return;
  bool full = FControl.FPendingFullInvalidation;
  TRect rect = FControl.FPendingInvalidRect;
  FControl.FPendingFullInvalidation = false;
  FControl.FPendingInvalidRect = TRect{};
  if (full)
    FControl.Invalidate();
  else
    FControl.InvalidateRect(rect);
}

TPoint TWinControl::ClientToScreen(TPoint point) const {
  return HandleAllocated() ? FPeer->ClientToScreen(point) : TControl::ClientToScreen(point);
}

bool TWinControl::CanFocus() const {
  for (const TWinControl* control = this; control; control = control->Parent())
    if (!control->Visible() || !control->Enabled()) return false;
  return HandleAllocated();
}

void TWinControl::SetFocus() {
  if (CanFocus()) FPeer->SetFocus();
}

void TWinControl::SetMouseCapture(bool capture) {
  if (!HandleAllocated()) return;
  if (capture)
    FPeer->SetCapture();
  else
    FPeer->ReleaseCapture();
}

void TWinControl::NotifyAccessibleEvent(TAccessibleEvent event, int element) {
  if (HandleAllocated()) FPeer->NotifyAccessibleEvent(event, element);
}

void TWinControl::KeyDown(int&, TShiftState) {}

void TWinControl::KeyPress(wchar_t&) {}

bool TWinControl::WantsKey(int, TShiftState) const { return false; }

}  // namespace skx
