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
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
}

TRect TControl::ClientRect() const { return TRect{0, 0, FWidth, FHeight}; }

void TControl::SetVisible(bool visible) {
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
  if (FParent) FParent->InvalidateRect(BoundsRect());
}

void TControl::InvalidateRect(const TRect& rect) {
  if (FParent)
    FParent->InvalidateRect(TRect{rect.Left + FLeft, rect.Top + FTop, rect.Right + FLeft,
                                  rect.Bottom + FTop});
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) CallHandler(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState, int, int) {}

void TControl::MouseUp(TMouseButton, TShiftState, int, int) {}

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
  TPoint inParent{point.X + FLeft, point.Y + FTop};
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
  FControls.push_back(control);
  auto* winControl = dynamic_cast<TWinControl*>(control);
  if (!winControl) return;
  winControl->SetPeer(FPeer ? FPeer->CreateChildPeer() : nullptr);
  if (HandleAllocated()) winControl->HandleNeeded();
}

void TWinControl::RemoveControl(TControl* control) {
  EraseFrom(FControls, control);
  Invalidate();
  if (auto* winControl = dynamic_cast<TWinControl*>(control)) winControl->SetPeer(nullptr);
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
  // A control that replaces its style bits leaves out the visible one; it is shown all the same.
  if (Visible() && !(params.Style & wsVisible)) FPeer->SetVisible(true);
  for (TControl* control : FControls)
    if (auto* winControl = dynamic_cast<TWinControl*>(control)) winControl->HandleNeeded();
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
  if (HandleAllocated()) FPeer->Invalidate();
}

void TWinControl::InvalidateRect(const TRect& rect) {
  if (HandleAllocated() && !rect.IsEmpty()) FPeer->InvalidateRect(rect);
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

void TWinControl::KeyDown(int&, TShiftState) {}

void TWinControl::Paint(TCanvas&) {}

}  // namespace skx
