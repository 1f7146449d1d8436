// Component ownership, the control tree and the window seam between a control and its platform.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "Framework/Core/Accessibility.h"
#include "Framework/Core/FormatSettings.h"
#include "Framework/Core/Geometry.h"
#include "Framework/Core/Graphics.h"
#include "Framework/Core/Sets.h"
#include "Framework/Core/Strings.h"
#include "Framework/Core/WeakRef.h"

namespace skx {

class TComponent;
class TControl;
class TWinControl;
class TPopupMenu;
class TMenuItem;

using TNotifyEvent = std::function<void(TComponent* Sender)>;

// Calls an event's handler through a copy, since the handler may free the object that holds the
// event, and with it the handler that is running.
template <typename Handler, typename... Args>
auto CallHandler(const Handler& handler, Args&&... args) {
  Handler running = handler;
  return running(std::forward<Args>(args)...);
}

enum TComponentStateFlag { csDesigning, csDestroying };
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

// Weakly referable, so that code which raises an event can tell afterwards whether the handler
// freed the component it was working on.
class TComponent : public TWeakTarget {
 public:
  explicit TComponent(TComponent* AOwner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(index); }

  const String& Name() const { return FName; }
  void SetName(const String& name) { FName = name; }
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  TComponentState ComponentState() const { return FComponentState; }
  bool IsDesigning() const { return FComponentState.Contains(csDesigning); }
  bool IsDestroying() const { return FComponentState.Contains(csDestroying); }
  // Applies to the owned components too, as a designer switches a whole form.
  void SetDesigning(bool designing);
  // Marks this component and everything it owns as being destroyed; owners do it before they
  // free what they own, so that owned components raise no events on the way out.
  void MarkDestroying();

  // Called after a saved state was read into the component.
  virtual void Loaded();

 protected:
  // Told about components joining or leaving this owner.
  virtual void Notification(TComponent* AComponent, TOperation operation);

 private:
  TComponent* FOwner;
  std::vector<TComponent*> FComponents;
  String FName;
  int FTag = 0;
  TComponentState FComponentState;
};

enum TControlStyleFlag {
  csAcceptsControls,
  csCaptureMouse,
  csClickEvents,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csReplicatable,
  csFramed
};
using TControlStyle = TSet<TControlStyleFlag>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftFlag>;

// Virtual key codes with the platform's values.
constexpr int vkTab = 0x09;
constexpr int vkReturn = 0x0D;
constexpr int vkEscape = 0x1B;
constexpr int vkPrior = 0x21;
constexpr int vkNext = 0x22;
constexpr int vkEnd = 0x23;
constexpr int vkHome = 0x24;
constexpr int vkLeft = 0x25;
constexpr int vkUp = 0x26;
constexpr int vkRight = 0x27;
constexpr int vkDown = 0x28;
constexpr int vkDelete = 0x2E;

// Mouse pointer shapes by the numbers the Cursor property takes. crDefault leaves the pointer to
// the platform (the window class's, or what the parent window sets); the platform shows the
// others with its own pointers of those shapes.
constexpr int crDefault = 0;
constexpr int crNone = -1;
constexpr int crArrow = -2;
constexpr int crCross = -3;
constexpr int crIBeam = -4;
constexpr int crSizeNESW = -6;
constexpr int crSizeNS = -7;
constexpr int crSizeNWSE = -8;
constexpr int crSizeWE = -9;
constexpr int crUpArrow = -10;
constexpr int crHourGlass = -11;
constexpr int crNo = -18;
constexpr int crAppStart = -19;
constexpr int crHelp = -20;
constexpr int crHandPoint = -21;
constexpr int crSizeAll = -22;

// Window styles with the platform's values (named apart from its macros, which a platform
// source sees as well).
constexpr std::uint32_t wsBorder = 0x00800000;
constexpr std::uint32_t wsChild = 0x40000000;
constexpr std::uint32_t wsClipChildren = 0x02000000;
constexpr std::uint32_t wsClipSiblings = 0x04000000;
constexpr std::uint32_t wsDisabled = 0x08000000;
constexpr std::uint32_t wsHScroll = 0x00100000;
constexpr std::uint32_t wsTabStop = 0x00010000;
constexpr std::uint32_t wsVisible = 0x10000000;
constexpr std::uint32_t wsVScroll = 0x00200000;
constexpr std::uint32_t wsExClientEdge = 0x00000200;
constexpr std::uint32_t wsExControlParent = 0x00010000;

struct TCreateParams {
  String Caption;
  std::uint32_t Style = 0;
  std::uint32_t ExStyle = 0;
  TRect Bounds;
};

// Pixels taken from each side of a window by its frame.
int FrameWidth(std::uint32_t style, std::uint32_t exStyle);

// scTrack is a position while the thumb is being dragged, scPosition where it was dropped.
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom };

// The platform's side of one control's window. The Win32 layer gives one to the top control,
// tests give a headless one; child controls get theirs from their parent's peer. Member names
// avoid the platform's A/W macros.
class TWindowPeer {
 public:
  virtual ~TWindowPeer() = default;

  virtual std::unique_ptr<TWindowPeer> CreateChildPeer() = 0;
  // parent is the peer whose window holds this one, or null for a top window.
  virtual void CreateHandle(const TCreateParams& params, TWindowPeer* parent) = 0;
  virtual void DestroyHandle() = 0;
  virtual bool HandleExists() const = 0;
  virtual TRect ClientRect() const = 0;
  virtual TPoint ClientToScreen(TPoint point) const = 0;
  virtual void SetBounds(const TRect& bounds) = 0;
  // Gives the window the frame (border and edge) that params ask for; the window and its handle
  // stay, since whoever holds the handle keeps using it.
  virtual void SetFrameStyle(const TCreateParams& params) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void Invalidate() = 0;
  virtual void InvalidateRect(const TRect& rect) = 0;
  virtual void SetFocus() = 0;
  virtual bool Focused() const = 0;
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  // Shows the pointer shape now, while the window holds the mouse capture (the platform asks the
  // control, through TWinControl::WindowCursorAt, only when the mouse moves uncaptured).
  virtual void SetCursorShape(int cursor) = 0;
  // position and range in cells; a range of 0 hides the bar.
  virtual void SetScrollBar(bool vertical, int range, int position) = 0;
  // Shows the menu at screen coordinates and returns the index of the item chosen, or -1. The
  // menu may be freed while it is shown (a timer or a container's call may free its owner), so
  // the menu is not touched once the user has chosen.
  virtual int TrackPopupMenu(TPopupMenu& menu, TPoint screenPoint) = 0;
  // Tells assistive technology that an element of the control's accessible model changed.
  virtual void NotifyAccessibleEvent(TAccessibleEvent event, int element) = 0;
  // Runs the call from the window's own message dispatch, after the caller has returned; a
  // call still waiting when the window goes is dropped.
  virtual void PostCall(std::function<void()> call) = 0;
  // Calls tick every interval from the window's message dispatch until the timer is killed,
  // replaced by one of the same id or the window goes; without a window there is no timer.
  virtual void SetTimer(int id, unsigned milliseconds, std::function<void()> tick) = 0;
  virtual void KillTimer(int id) = 0;
  // The density of the screen that the window is on (or of the main screen without a window).
  virtual int PixelsPerInch() const = 0;

  // The control that the window's input and painting go to; TWinControl::SetPeer tells it.
  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* control) { FControl = control; }

 private:
  TWinControl* FControl = nullptr;
};

// A control without a window of its own is a windowless control: its parent's window paints it
// (Paint, in the control's client coordinates) and hit-tests it for the mouse. csFramed gives it a
// one-pixel frame in the window-frame colour around its client area, as a thin window border
// does, and csOpaque has its client area filled with its Color before it paints.
class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  void SetParent(TWinControl* parent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
  virtual TRect ClientRect() const;
  // Where a windowless control's client area starts in its parent's client coordinates: inside
  // its frame when it has one.
  TPoint ClientOrigin() const;
  // What the control's sizes for 96 pixels per inch become: that of the control without a parent
  // control that holds it, set from its window or its container.
  TScale Scale() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled) { FEnabled = enabled; }

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle style) { FControlStyle = style; }

  TColor Color() const { return FColor; }
  virtual void SetColor(TColor color);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  const TFont& Font() const { return FFont; }
  virtual void SetFont(const TFont& font);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  bool Ctl3D() const { return FCtl3D; }
  virtual void SetCtl3D(bool value) { FCtl3D = value; }
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool value) { FParentCtl3D = value; }
  int Cursor() const { return FCursor; }
  void SetCursor(int value) { FCursor = value; }
  int DragCursor() const { return FDragCursor; }
  void SetDragCursor(int value) { FDragCursor = value; }
  int DragMode() const { return FDragMode; }
  void SetDragMode(int value) { FDragMode = value; }

  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu) { FPopupMenu = menu; }

  // A hidden windowless control invalidates nothing.
  virtual void Invalidate();
  virtual void InvalidateRect(const TRect& rect);
  virtual void Paint(TCanvas& canvas);

  // What a control is given for mouse input, in client coordinates; windowed controls get it
  // through their window's routing (TWinControl::WindowMouseDown and the others).
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // The pointer shape the control wants at a point of its client area; crDefault leaves it to the
  // window that holds the control.
  virtual int CursorAt(int x, int y) const;
  // The context menu request after a right click: pops up PopupMenu, if any, at (x, y), unless
  // the control's container is not in user mode.
  void ContextPopup(int x, int y);
  // Whether the container of the control without a parent that holds this one runs its form
  // (true), or has it designed (false). Apart from the component's own design state
  // (IsDesigning), which lays out and loads differently, this only keeps menus and dialogs shut.
  bool InUserMode() const;
  // Where a context menu asked for from the keyboard comes up, in client coordinates.
  virtual TPoint KeyboardPopupPoint() const { return TPoint{0, 0}; }
  virtual TPoint ClientToScreen(TPoint point) const;

  std::function<void(TComponent* Sender, TMouseButton, TShiftState, int x, int y)> OnMouseDown;

 protected:
  void Notification(TComponent* AComponent, TOperation operation) override;

 private:
  friend class TWinControl;
  // The parent's colour and font reach children that follow them.
  void ParentChanged();

  TWinControl* FParent = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  TControlStyle FControlStyle;
  TColor FColor = clWindow;
  bool FParentColor = true;
  TFont FFont;
  bool FParentFont = true;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  int FCursor = 0;
  int FDragCursor = -12;
  int FDragMode = 0;
  TScale FScale;
  TPopupMenu* FPopupMenu = nullptr;
  // Where the control stands in its parent's list.
  std::list<TControl*>::iterator FSlot;
};

// What a container tells the control without a parent control: its colours and font, which the
// control takes where it follows its parent's (ParentColor, ParentFont), the name it knows the
// control by, which becomes the control's Name, and whether it runs the form (user mode) or has
// it designed, where no menu or dialog of the control's opens. The formats of the container's
// locale replace the user's in the control's dates and times.
struct TAmbientProperties {
  std::optional<TColor> BackColor;
  std::optional<TColor> ForeColor;  // the colour of the font
  std::optional<TFont> Font;
  std::optional<String> DisplayName;
  std::optional<TFormatSettings> Formats;
  bool UserMode = true;
  // The density the container shows its font at; the control takes it until it has a window.
  std::optional<int> PixelsPerInch;
};

class TWinControl : public TControl {
 public:
  friend class TInvalidationBatch;

  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  // The visible, enabled windowless child at the point (client coordinates), or null. Children
  // stack as the platform stacks child windows: an earlier one lies over a later one.
  TControl* ControlAtPos(TPoint point) const;

  // The platform (or a test) gives the control its peer; children ask their parent's peer.
  void SetPeer(std::unique_ptr<TWindowPeer> peer);
  TWindowPeer* Peer() const { return FPeer.get(); }
  bool HandleAllocated() const { return FPeer && FPeer->HandleExists(); }
  // Creates the window, and those of the child controls, if a peer is at hand.
  void HandleNeeded();
  void DestroyHandle();

  virtual void CreateParams(TCreateParams& params) const;
  TRect ClientRect() const override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetVisible(bool visible) override;
  void SetColor(TColor color) override;
  void SetFont(const TFont& font) override;
  void SetCtl3D(bool value) override;
  void Invalidate() override;
  void InvalidateRect(const TRect& rect) override;
  TPoint ClientToScreen(TPoint point) const override;

  // For a control without a parent control; children follow as they follow any change of their
  // parent's colour and font.
  void TakeAmbient(const TAmbientProperties& ambient);
  bool UserMode() const { return FUserMode; }
  // What the platform calls when the window's density changed (moved to another screen, the
  // system's setting changed); the control without a parent control takes it, and its children
  // with it.
  void WindowDpiChanged(int dpi);
  // The formats of the container's locale, or else the user's.
  const TFormatSettings& FormatSettings() const { return FFormats ? *FFormats : GetFormatSettings(); }

  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value) { FTabStop = value; }
  bool CanFocus() const;
  bool Focused() const { return HandleAllocated() && FPeer->Focused(); }
  void SetFocus();
  void SetMouseCapture(bool capture);

  // What the platform calls for mouse input on the window, in client coordinates. A press goes
  // to the windowless child under it, or else to this control; the moves and the release that
  // follow a press go where the press went (nowhere once that control is gone), other moves to
  // whatever control is under the mouse. Nothing of this control is touched after the target
  // was called, since its handlers may free both.
  void WindowMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void WindowMouseMove(TShiftState shift, int x, int y);
  void WindowMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // A context menu asked for with the mouse at (x, y): the menu of the windowless child that the
  // right press before it went to, or of the one there if none did, or else this control's.
  // False when that control has no menu; a child that the press freed shows none.
  bool WindowContextPopup(int x, int y);
  // The pointer shape at a point of the client area: what the control that the press went to
  // (while the button is held) or the windowless child under the point wants, or else this
  // control's own.
  int WindowCursorAt(int x, int y);
  // The platform took the mouse capture away (a menu, a dialog, another window): a gesture that
  // holds the capture ends here.
  virtual void MouseCaptureLost() {}
  // What the platform calls when the user works a scroll bar of the window; position counts
  // cells, for scPosition and scTrack.
  virtual void Scroll(bool, TScrollCode, int) {}

  // What the platform calls for key presses; a control that acted on the key sets it to 0.
  virtual void KeyDown(int& key, TShiftState shift);
  // What the platform calls for a typed character; a control that took it sets it to 0.
  virtual void KeyPress(wchar_t& key);
  // Whether KeyDown would act on the key now. A dialog or a container that would take the key
  // for itself (to move the focus on, to press its default button) leaves it to the control then.
  virtual bool WantsKey(int key, TShiftState shift) const;
  // The one painting of the window, for the screen and for any other device alike: the area
  // erased with Color, then Paint, then the windowless children over it, each clipped to its
  // bounds and on a canvas as fresh as a window's.
  void PaintWindow(TCanvas& canvas, const TRect& area);
  // What assistive technology is shown of the control; null leaves it to the platform's default.
  virtual TAccessibleModel* Accessible() { return nullptr; }
  // Passes the event to the window, if there is one.
  void NotifyAccessibleEvent(TAccessibleEvent event, int element);

 protected:
  // Gives an existing window the frame that CreateParams asks for now, then tells FrameChanged.
  void UpdateFrame();
  // The frame, and with it the client area, may have changed.
  virtual void FrameChanged() {}
  // HandleNeeded made the window, and those of the child controls.
  virtual void HandleCreated() {}
  // Scale() changed: whatever was sized from it is sized again; a repaint follows.
  virtual void ScaleChanged() {}
  // The container's locale changed the formats of FormatSettings.
  virtual void FormatSettingsChanged() {}
  // Painted last, over the windowless children, in the window's client coordinates.
  virtual void PaintOverControls(TCanvas&) {}

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void SetScale(TScale scale);
  TControl* MouseTarget(int x, int y);
  void PaintControls(TCanvas& canvas);

  // A list, so that a child leaves it at once wherever it stands: a grid frees thousands of
  // markers in the order it made them.
  std::list<TControl*> FControls;
  // The control that the last press went to, while the button is held.
  TWeakRef<TControl> FPressed;
  bool FPressHeld = false;
  // The windowless child that the last right press went to, until the menu request it brings.
  TWeakRef<TControl> FRightPressed;
  bool FRightPressOnChild = false;
  std::unique_ptr<TWindowPeer> FPeer;
  bool FTabStop = false;
  bool FUserMode = true;
  std::optional<TFormatSettings> FFormats;
  // While batches are open, what was invalidated: the whole window, or the bounding rectangle.
  int FInvalidationBatches = 0;
  bool FPendingFullInvalidation = false;
  TRect FPendingInvalidRect;
};

// While it lives, the invalidations of the control and of its windowless children reach the
// window as one, the bounding rectangle of all of them, when it ends: a grid that frees or moves
// thousands of markers asks its window once. Batches nest.
class TInvalidationBatch {
 public:
  explicit TInvalidationBatch(TWinControl& control);
  ~TInvalidationBatch();
  TInvalidationBatch(const TInvalidationBatch&) = delete;
  TInvalidationBatch& operator=(const TInvalidationBatch&) = delete;

 private:
  TWinControl& FControl;
};

}  // namespace skx
