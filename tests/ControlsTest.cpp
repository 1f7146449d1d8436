// Component ownership, the control tree on the headless backend, popup menus and buttons.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Framework/Core/Buttons.h"
#include "Framework/Core/Controls.h"
#include "Framework/Core/Exceptions.h"
#include "Framework/Core/HeadlessPeer.h"
#include "Framework/Core/Menus.h"
#include "Framework/Core/RecordingCanvas.h"

namespace skx {
namespace {

// Logs its destruction and whether its owner had marked it as being destroyed by then.
class TLoggedComponent : public TComponent {
 public:
  TLoggedComponent(TComponent* owner, std::vector<std::string>& log, std::string name)
      : TComponent(owner), FLog(log), FTitle(std::move(name)) {}
  ~TLoggedComponent() override { FLog.push_back(FTitle + (IsDestroying() ? "!" : "")); }

 private:
  std::vector<std::string>& FLog;
  std::string FTitle;
};

TEST(ComponentTest, OwnerFreesWhatItOwnsLastFirstAndMarksItFirst) {
  std::vector<std::string> log;
  {
    TComponent owner(nullptr);
    new TLoggedComponent(&owner, log, "a");
    auto* b = new TLoggedComponent(&owner, log, "b");
    new TLoggedComponent(b, log, "b1");
    new TLoggedComponent(&owner, log, "c");
    EXPECT_EQ(owner.ComponentCount(), 3);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"c!", "b!", "b1!", "a!"}));
}

TEST(ComponentTest, FreeingAnOwnedComponentTakesItFromItsOwner) {
  std::vector<std::string> log;
  TComponent owner(nullptr);
  owner.SetDesigning(true);
  auto* owned = new TLoggedComponent(&owner, log, "a");
  EXPECT_TRUE(owned->IsDesigning());
  delete owned;
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(log, std::vector<std::string>{"a"});
}

class ControlTreeTest : public ::testing::Test {
 protected:
  ControlTreeTest() {
    FForm.SetBounds(10, 20, 300, 200);
    FForm.SetControlStyle({csAcceptsControls});
    FForm.SetColor(clYellow);
    FForm.SetPeer(FRecorder.CreatePeer());
  }

  THeadlessRecorder FRecorder;
  TWinControl FForm{nullptr};
};

TEST_F(ControlTreeTest, WindowsAreCreatedWithTheirChildrenAndRecorded) {
  auto* button = new TSpeedButton(&FForm);
  button->SetParent(&FForm);
  button->SetBounds(5, 6, 13, 13);
  EXPECT_FALSE(button->HandleAllocated());
  FForm.HandleNeeded();
  const TWindowRecord* form = FRecorder.WindowOf(FForm);
  const TWindowRecord* child = FRecorder.WindowOf(*button);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(form->ParentId, -1);
  EXPECT_EQ(child->ParentId, form->Id);
  EXPECT_EQ(form->Params.Style, wsChild | wsClipSiblings | wsClipChildren | wsVisible);
  EXPECT_EQ(child->Bounds, Bounds(5, 6, 13, 13));

  button->SetBounds(7, 6, 13, 13);
  button->SetVisible(false);
  EXPECT_EQ(child->Bounds, Bounds(7, 6, 13, 13));
  EXPECT_FALSE(child->Visible);

  auto* late = new TWinControl(&FForm);
  late->SetParent(&FForm);
  ASSERT_NE(FRecorder.WindowOf(*late), nullptr);
  int lateId = FRecorder.WindowOf(*late)->Id;
  late->SetParent(nullptr);
  EXPECT_FALSE(FRecorder.Windows[lateId].Exists);

  FForm.DestroyHandle();
  EXPECT_FALSE(FRecorder.Windows[child->Id].Exists);
  EXPECT_FALSE(FRecorder.Windows[form->Id].Exists);
}

// Tells whether it was marked as being destroyed when its own destruction began.
class TDestroyProbe : public TWinControl {
 public:
  TDestroyProbe(TComponent* owner, int& marked) : TWinControl(owner), FMarked(marked) {}
  ~TDestroyProbe() override { FMarked = IsDestroying() ? 1 : 0; }

 private:
  int& FMarked;
};

TEST_F(ControlTreeTest, ChildrenGoWithTheirParentWhoeverOwnsThem) {
  TComponent owner(nullptr);
  int foreignMarked = -1;
  int ownMarked = -1;
  {
    TWinControl panel(nullptr);
    (new TDestroyProbe(&owner, foreignMarked))->SetParent(&panel);
    (new TDestroyProbe(&panel, ownMarked))->SetParent(&panel);
    EXPECT_EQ(owner.ComponentCount(), 1);
  }
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(foreignMarked, 0);
  EXPECT_EQ(ownMarked, 1);
}

TEST_F(ControlTreeTest, InvalidationFocusAndCaptureReachTheWindow) {
  FForm.HandleNeeded();
  TControl shape(&FForm);
  shape.SetParent(&FForm);
  shape.SetBounds(10, 10, 5, 5);
  FRecorder.ClearInvalidations();
  FForm.Invalidate();
  FForm.InvalidateRect(TRect{1, 2, 3, 4});
  FForm.InvalidateRect(TRect{});
  shape.InvalidateRect(TRect{0, 0, 2, 2});
  const TWindowRecord* form = FRecorder.WindowOf(FForm);
  EXPECT_EQ(form->FullInvalidations, 1);
  EXPECT_EQ(form->InvalidRects, (std::vector<TRect>{{1, 2, 3, 4}, {10, 10, 12, 12}}));

  FForm.SetFocus();
  EXPECT_TRUE(FForm.Focused());
  FForm.SetMouseCapture(true);
  EXPECT_EQ(FRecorder.CaptureId, form->Id);
  FForm.SetMouseCapture(false);
  EXPECT_EQ(FRecorder.CaptureId, -1);
  FForm.SetVisible(false);
  EXPECT_FALSE(FForm.CanFocus());
}

TEST_F(ControlTreeTest, BoundsWhoseEdgesPassThirtyTwoBitsFailAndChangeNothing) {
  FForm.HandleNeeded();
  TControl shape(&FForm);
  shape.SetParent(&FForm);
  shape.SetBounds(1, 2, 3, 4);
  for (TControl* control : {static_cast<TControl*>(&FForm), &shape}) {
    const TRect before = control->BoundsRect();
    EXPECT_THROW(control->SetBounds(2147483000, 0, 1000, 300), EIntOverflow);
    EXPECT_THROW(control->SetBounds(0, -2147483000, 10, -1000), EIntOverflow);
    EXPECT_EQ(control->BoundsRect(), before);
  }
  EXPECT_EQ(FRecorder.WindowOf(FForm)->Bounds, Bounds(10, 20, 300, 200));
  FForm.SetBounds(2147483000, 0, 647, 300);
  EXPECT_EQ(FForm.BoundsRect().Right, 2147483647);
}

TEST_F(ControlTreeTest, ChildrenFollowTheParentsColourAndFontUntilGivenTheirOwn) {
  TFont font;
  font.Name = L"Arial";
  font.SetSize(10);
  EXPECT_EQ(font.Height, -13);
  EXPECT_EQ(font.Size(), 10);
  TSpeedButton follower(nullptr);
  follower.SetParent(&FForm);
  TSpeedButton own(nullptr);
  own.SetColor(clRed);
  own.SetParent(&FForm);
  EXPECT_EQ(follower.Color(), clYellow);
  EXPECT_EQ(own.Color(), clRed);
  FForm.SetColor(clWhite);
  FForm.SetFont(font);
  EXPECT_EQ(follower.Color(), clWhite);
  EXPECT_EQ(follower.Font(), font);
  EXPECT_EQ(own.Color(), clRed);
  follower.SetParent(nullptr);
  own.SetParent(nullptr);
}

// A container's colours and font.
TAmbientProperties Ambient(TColor back, TColor fore, const wchar_t* face) {
  TAmbientProperties ambient;
  ambient.BackColor = back;
  ambient.ForeColor = fore;
  ambient.Font = TFont{};
  ambient.Font->Name = face;
  return ambient;
}

TEST_F(ControlTreeTest, ATopControlTakesTheContainersColourAndFontWhereItFollowsItsParent) {
  TSpeedButton child(nullptr);
  child.SetParent(&FForm);
  TAmbientProperties ambient = Ambient(clBtnFace, clGray, L"Tahoma");
  FForm.TakeAmbient(ambient);  // the form has a colour of its own
  EXPECT_EQ(FForm.Color(), clYellow);
  EXPECT_EQ(FForm.Font().Name, L"Tahoma");
  EXPECT_EQ(FForm.Font().Color, clGray);
  EXPECT_TRUE(FForm.ParentFont());
  EXPECT_EQ(child.Font(), FForm.Font());

  FForm.SetParentColor(true);
  ambient.BackColor = clWhite;
  FForm.TakeAmbient(ambient);
  EXPECT_EQ(FForm.Color(), clWhite);
  EXPECT_TRUE(FForm.ParentColor());
  EXPECT_EQ(child.Color(), clWhite);

  TFont own;
  own.Name = L"Arial";
  FForm.SetFont(own);
  ambient.Font->Name = L"Verdana";
  FForm.TakeAmbient(ambient);
  EXPECT_EQ(FForm.Font(), own);
  child.SetParent(nullptr);
}

TEST_F(ControlTreeTest, AControlWithAParentTakesNoAmbientButItsParents) {
  TWinControl inner(nullptr);
  inner.SetParent(&FForm);
  inner.TakeAmbient(Ambient(clRed, clGray, L"Tahoma"));
  EXPECT_EQ(inner.Color(), clYellow);
  EXPECT_EQ(inner.Font(), FForm.Font());
  inner.SetParent(nullptr);
}

class PopupMenuTest : public ControlTreeTest {
 protected:
  PopupMenuTest() {
    FForm.HandleNeeded();
    FMenu = new TPopupMenu(&FForm);
    FForm.SetPopupMenu(FMenu);
  }

  TMenuItem* AddItem(const String& caption, int tag) {
    auto* item = new TMenuItem(FMenu);
    item->SetCaption(caption);
    item->SetTag(tag);
    FMenu->Add(item);
    return item;
  }

  TPopupMenu* FMenu;
};

TEST_F(PopupMenuTest, OnPopupBuildsTheItemsBeforeTheMenuShows) {
  FMenu->OnPopup = [this](TComponent* Sender) {
    EXPECT_EQ(Sender, FMenu);
    FMenu->Clear();
    AddItem(L"Update...", 2);
    AddItem(L"-", 0);
  };
  AddItem(L"stale", 9);
  FForm.ContextPopup(4, 5);
  FForm.ContextPopup(4, 5);
  ASSERT_EQ(FRecorder.Popups.size(), 2u);
  EXPECT_EQ(FRecorder.Popups[1].Captions, (std::vector<String>{L"Update...", L"-"}));
  EXPECT_EQ(FRecorder.Popups[1].At, (TPoint{14, 25}));
  EXPECT_EQ(FMenu->Count(), 2);
  EXPECT_TRUE(FMenu->Items(1)->IsLine());
  EXPECT_EQ(FMenu->ComponentCount(), 2);
}

TEST_F(PopupMenuTest, ChosenItemIsClickedAndMayFreeItsOwnMenu) {
  AddItem(L"Delete", 3);
  std::vector<int> clicked;
  FMenu->Items(0)->OnClick = [&](TComponent* Sender) {
    clicked.push_back(Sender->Tag());
    delete FMenu;
  };
  FRecorder.ChooseItem = [](TPopupMenu&) { return 0; };
  FForm.ContextPopup(0, 0);
  EXPECT_EQ(clicked, std::vector<int>{3});
  EXPECT_EQ(FForm.PopupMenu(), nullptr);
  FForm.ContextPopup(0, 0);
  EXPECT_EQ(FRecorder.Popups.size(), 1u);
}

// A timer or a container's call can free the menu with its owner while the user chooses.
TEST_F(PopupMenuTest, MenuFreedWhileShownClicksNothing) {
  std::vector<int> clicked;
  AddItem(L"Delete", 3)->OnClick = [&](TComponent* Sender) { clicked.push_back(Sender->Tag()); };
  FRecorder.ChooseItem = [this](TPopupMenu&) {
    delete FMenu;
    return 0;
  };
  FForm.ContextPopup(0, 0);
  EXPECT_TRUE(clicked.empty());
  EXPECT_EQ(FForm.PopupMenu(), nullptr);
}

TEST_F(PopupMenuTest, NoMenuOpensOnAFormBeingDesigned) {
  AddItem(L"Update...", 2);
  auto* child = new TSpeedButton(&FForm);
  child->SetParent(&FForm);
  child->SetPopupMenu(FMenu);
  TAmbientProperties designing;
  designing.UserMode = false;
  FForm.TakeAmbient(designing);
  EXPECT_FALSE(child->InUserMode());
  EXPECT_FALSE(child->IsDesigning());
  FForm.ContextPopup(0, 0);
  child->ContextPopup(0, 0);
  EXPECT_TRUE(FRecorder.Popups.empty());
  FForm.TakeAmbient(TAmbientProperties{});
  child->ContextPopup(0, 0);
  EXPECT_EQ(FRecorder.Popups.size(), 1u);
}

TEST_F(PopupMenuTest, MenuWithoutAWindowRunsOnPopupButShowsNothing) {
  int popups = 0;
  TPopupMenu loose(nullptr);
  loose.OnPopup = [&](TComponent*) { ++popups; };
  loose.Popup(0, 0);
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(FRecorder.Popups.empty());
}

// A 23 by 22 button on a form, pressed and released as the platform passes the mouse to its
// window.
class SpeedButtonTest : public ::testing::Test {
 protected:
  SpeedButtonTest() {
    FForm.SetPeer(FRecorder.CreatePeer());
    FButton->SetParent(&FForm);
    FButton->SetGlyphName(L"GLYPH");
    FButton->OnClick = [this](TComponent*) { ++FClicks; };
    FForm.HandleNeeded();
  }

  int ButtonWindow() const { return FRecorder.WindowOf(*FButton)->Id; }
  // The bevel and the glyph's corner as the button paints itself now.
  std::pair<TBevel, TPoint> Painted() {
    TRecordingCanvas canvas;
    canvas.NamedBitmaps[L"GLYPH"] = TBitmap(7, 10, 9);
    FButton->PaintWindow(canvas, FButton->ClientRect());
    auto bevels = canvas.Of(coDrawBevel);
    auto glyphs = canvas.Of(coDrawTransparent);
    EXPECT_EQ(bevels.size(), 1u);
    EXPECT_EQ(glyphs.size(), 1u);
    if (bevels.empty() || glyphs.empty()) return {bvRaised, TPoint{}};
    EXPECT_EQ(bevels[0].Rect, (TRect{0, 0, 23, 22}));
    EXPECT_EQ(glyphs[0].Bitmap, 7u);
    return {bevels[0].Bevel, glyphs[0].Point};
  }

  THeadlessRecorder FRecorder;
  TWinControl FForm{nullptr};
  TSpeedButton* FButton = new TSpeedButton(&FForm);
  int FClicks = 0;
};

TEST_F(SpeedButtonTest, SinksWhileHeldOverItAndClicksWhenReleasedThere) {
  EXPECT_EQ(Painted(), std::make_pair(bvRaised, TPoint{6, 6}));
  FButton->WindowMouseDown(mbLeft, {}, 5, 5);
  EXPECT_EQ(FRecorder.CaptureId, ButtonWindow());
  EXPECT_EQ(Painted(), std::make_pair(bvLowered, TPoint{7, 7}));
  FButton->WindowMouseMove({ssLeft}, 40, 5);  // the capture brings moves from outside
  EXPECT_EQ(Painted().first, bvRaised);
  FButton->WindowMouseMove({ssLeft}, 22, 21);
  EXPECT_EQ(Painted().first, bvLowered);
  FButton->WindowMouseUp(mbLeft, {}, 22, 21);
  EXPECT_EQ(FClicks, 1);
  EXPECT_EQ(FRecorder.CaptureId, -1);
  EXPECT_EQ(Painted().first, bvRaised);
}

TEST_F(SpeedButtonTest, ReleasedAwayOrRobbedOfTheCaptureOrByAnotherButtonItDoesNotClick) {
  FButton->WindowMouseDown(mbLeft, {}, 5, 5);
  FButton->WindowMouseMove({ssLeft}, 5, 30);
  FButton->WindowMouseUp(mbLeft, {}, 5, 30);
  FButton->WindowMouseDown(mbLeft, {}, 5, 5);
  FButton->MouseCaptureLost();
  EXPECT_EQ(Painted().first, bvRaised);
  FButton->WindowMouseUp(mbLeft, {}, 5, 5);
  FButton->WindowMouseDown(mbRight, {}, 5, 5);
  EXPECT_EQ(Painted().first, bvRaised);
  FButton->WindowMouseUp(mbRight, {}, 5, 5);
  EXPECT_EQ(FClicks, 0);
}

TEST_F(SpeedButtonTest, ClickMayFreeTheButton) {
  FButton->OnClick = [this](TComponent*) {
    delete FButton;
    FButton = nullptr;
  };
  FButton->WindowMouseDown(mbLeft, {}, 5, 5);
  FButton->WindowMouseUp(mbLeft, {}, 5, 5);
  EXPECT_EQ(FButton, nullptr);
  EXPECT_EQ(FForm.ControlCount(), 0);
}

TEST_F(SpeedButtonTest, AButtonWithoutItsGlyphPaintsTheFaceAndEdgeOnly) {
  FButton->SetGlyphName(L"MISSING");
  TRecordingCanvas canvas;
  FButton->PaintWindow(canvas, FButton->ClientRect());
  auto fills = canvas.Of(coFillRect);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.back().State.BrushColor, clBtnFace);
  EXPECT_EQ(canvas.Of(coDrawBevel).size(), 1u);
  EXPECT_TRUE(canvas.Of(coDrawTransparent).empty());
}

}  // namespace
}  // namespace skx

namespace skx {
namespace {

// A windowless control that logs the mouse it is given and paints a cross of its client size.
class TLoggedShape : public TControl {
 public:
  TLoggedShape(TWinControl& parent, std::vector<std::string>& log, std::string name, TRect bounds)
      : TControl(&parent), FLog(log), FTitle(std::move(name)) {
    SetParent(&parent);
    SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  }
  void MouseDown(TMouseButton, TShiftState, int x, int y) override { Log("down", x, y); }
  void MouseMove(TShiftState, int x, int y) override { Log("move", x, y); }
  void MouseUp(TMouseButton, TShiftState, int x, int y) override { Log("up", x, y); }
  void Paint(TCanvas& canvas) override {
    FLog.push_back("paint " + FTitle);
    canvas.SetPenColor(clRed);
    canvas.MoveTo(0, 0);
    canvas.LineTo(ClientWidth(), ClientHeight());
  }

 private:
  void Log(const char* what, int x, int y) {
    FLog.push_back(FTitle + " " + what + " " + std::to_string(x) + "," + std::to_string(y));
  }
  std::vector<std::string>& FLog;
  std::string FTitle;
};

// The window's own control, logging the mouse that reaches it.
class TLoggedWindow : public TWinControl {
 public:
  explicit TLoggedWindow(std::vector<std::string>& log) : TWinControl(nullptr), FLog(log) {}
  void MouseDown(TMouseButton, TShiftState, int x, int y) override {
    FLog.push_back("window down " + std::to_string(x) + "," + std::to_string(y));
  }
  void MouseUp(TMouseButton, TShiftState, int x, int y) override {
    FLog.push_back("window up " + std::to_string(x) + "," + std::to_string(y));
  }
  void Paint(TCanvas&) override { FLog.push_back("paint window"); }

 private:
  std::vector<std::string>& FLog;
};

class WindowlessControlTest : public ::testing::Test {
 protected:
  WindowlessControlTest() {
    FWindow.SetBounds(0, 0, 200, 100);
    FWindow.SetColor(clYellow);
    FWindow.SetPeer(FRecorder.CreatePeer());
    FWindow.HandleNeeded();
  }
  TLoggedShape* Shape(const char* name, TRect bounds) {
    return new TLoggedShape(FWindow, FLog, name, bounds);
  }

  std::vector<std::string> FLog;
  THeadlessRecorder FRecorder;
  TLoggedWindow FWindow{FLog};
};

// An earlier child lies over a later one, as the platform stacks child windows; a framed child's
// coordinates start inside its frame; the release follows the press wherever the mouse went.
TEST_F(WindowlessControlTest, ThePressGoesToTheChildOnTopAndTheReleaseFollowsIt) {
  TLoggedShape* a = Shape("a", TRect{10, 10, 50, 50});
  Shape("b", TRect{30, 30, 80, 80});
  a->SetControlStyle({csFramed});
  EXPECT_EQ(FWindow.ControlAtPos(TPoint{35, 35}), a);
  FWindow.WindowMouseDown(mbLeft, {}, 35, 35);
  FWindow.WindowMouseMove({}, 150, 90);
  FWindow.WindowMouseUp(mbLeft, {}, 150, 90);
  FWindow.WindowMouseDown(mbLeft, {}, 60, 60);
  FWindow.WindowMouseUp(mbLeft, {}, 60, 60);
  FWindow.WindowMouseDown(mbLeft, {}, 5, 5);
  FWindow.WindowMouseUp(mbLeft, {}, 5, 5);
  a->SetVisible(false);
  FWindow.WindowMouseMove({}, 35, 35);
  EXPECT_EQ(FLog, (std::vector<std::string>{"a down 24,24", "a move 139,79", "a up 139,79", "b down 30,30",
                                            "b up 30,30", "window down 5,5", "window up 5,5", "b move 5,5"}));
}

TEST_F(WindowlessControlTest, AChildFreedByItsPressGetsNoReleaseAndShowsNoMenu) {
  auto* a = new TControl(&FWindow);
  a->SetParent(&FWindow);
  a->SetBounds(10, 10, 40, 40);
  auto* menu = new TPopupMenu(a);
  a->SetPopupMenu(menu);
  a->OnMouseDown = [a](TComponent*, TMouseButton, TShiftState, int, int) { delete a; };
  FWindow.WindowMouseDown(mbRight, {}, 20, 20);
  FWindow.WindowMouseUp(mbRight, {}, 20, 20);
  EXPECT_TRUE(FLog.empty());
  EXPECT_TRUE(FWindow.WindowContextPopup(20, 20));
  EXPECT_TRUE(FRecorder.Popups.empty());
  EXPECT_EQ(FWindow.ControlCount(), 0);
  // Elsewhere the window's own menu, and none without one.
  EXPECT_FALSE(FWindow.WindowContextPopup(20, 20));
  TPopupMenu own(&FWindow);
  FWindow.SetPopupMenu(&own);
  EXPECT_TRUE(FWindow.WindowContextPopup(20, 20));
  ASSERT_EQ(FRecorder.Popups.size(), 1u);
  EXPECT_EQ(FRecorder.Popups[0].Menu, &own);
}

// The window's colour, its own painting, then the children last to first: framed ones get their
// frame and, when opaque, their colour, each drawn in an area of its client rectangle; hidden
// ones and those outside the region being painted are left out.
TEST_F(WindowlessControlTest, PaintWindowPaintsTheChildrenOverTheWindowInTheirAreas) {
  TLoggedShape* a = Shape("a", TRect{10, 10, 50, 50});
  TLoggedShape* b = Shape("b", TRect{30, 30, 80, 80});
  Shape("hidden", TRect{0, 0, 10, 10})->SetVisible(false);
  Shape("outside", TRect{150, 0, 160, 10});
  a->SetControlStyle({csFramed, csOpaque});
  a->SetColor(clSilver);
  b->SetControlStyle({});
  TRecordingCanvas canvas;
  canvas.ClipRect = TRect{0, 0, 100, 100};
  FWindow.PaintWindow(canvas, TRect{0, 0, 200, 100});
  EXPECT_EQ(FLog, (std::vector<std::string>{"paint window", "paint b", "paint a"}));
  std::vector<TCanvasCall> fills = canvas.Of(coFillRect);
  ASSERT_EQ(fills.size(), 6u);
  EXPECT_EQ(fills[0].Rect, (TRect{0, 0, 200, 100}));
  EXPECT_EQ(fills[0].State.BrushColor, clYellow);
  EXPECT_EQ(fills[1].Rect, (TRect{10, 10, 50, 11}));
  EXPECT_EQ(fills[4].Rect, (TRect{49, 11, 50, 49}));
  EXPECT_EQ(fills[4].State.BrushColor, clWindowFrame);
  EXPECT_EQ(fills[5].Rect, (TRect{0, 0, 38, 38}));
  EXPECT_EQ(fills[5].State.BrushColor, clSilver);
  std::vector<TCanvasCall> areas = canvas.Of(coBeginArea);
  ASSERT_EQ(areas.size(), 2u);
  EXPECT_EQ(areas[0].Rect, (TRect{30, 30, 80, 80}));
  EXPECT_EQ(areas[1].Rect, (TRect{11, 11, 49, 49}));
  // Each child starts on a fresh canvas, whatever the one before left.
  std::vector<TCanvasCall> lines = canvas.Of(coLineTo);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].Point, (TPoint{38, 38}));
  EXPECT_EQ(canvas.Of(coEndArea).size(), 2u);
  EXPECT_EQ(canvas.State.Pen.Color, clBlack);
}

// A child's pointer where it has one of its own, else the window's; while a press is held the
// pressed child answers wherever the mouse is, and a child freed by its press leaves the window's.
TEST_F(WindowlessControlTest, ThePointerIsTheChildsUnderTheMouseOrThePressedOnesElseTheWindows) {
  TLoggedShape* a = Shape("a", TRect{10, 10, 50, 50});
  TLoggedShape* b = Shape("b", TRect{60, 10, 90, 50});
  a->SetCursor(crIBeam);
  FWindow.SetCursor(crCross);
  EXPECT_EQ(FWindow.WindowCursorAt(20, 20), crIBeam);
  EXPECT_EQ(FWindow.WindowCursorAt(70, 20), crCross);
  EXPECT_EQ(FWindow.WindowCursorAt(5, 5), crCross);
  FWindow.WindowMouseDown(mbLeft, {}, 20, 20);
  EXPECT_EQ(FWindow.WindowCursorAt(70, 20), crIBeam);
  FWindow.WindowMouseUp(mbLeft, {}, 20, 20);
  b->OnMouseDown = [b](TComponent*, TMouseButton, TShiftState, int, int) { delete b; };
  FWindow.WindowMouseDown(mbLeft, {}, 70, 20);
  EXPECT_EQ(FWindow.WindowCursorAt(20, 20), crCross);
}

// A hidden child or one that did not move asks for no repaint; a batch asks once for all.
TEST_F(WindowlessControlTest, InvalidationsOfChildrenAreSparedAndBatched) {
  TLoggedShape* a = Shape("a", TRect{10, 10, 50, 50});
  TLoggedShape* b = Shape("b", TRect{60, 10, 90, 50});
  FRecorder.ClearInvalidations();
  a->SetBounds(10, 10, 40, 40);
  b->SetVisible(false);
  b->SetBounds(0, 0, 5, 5);
  b->Invalidate();
  const TWindowRecord& window = *FRecorder.WindowOf(FWindow);
  EXPECT_EQ(window.InvalidRects, (std::vector<TRect>{{60, 10, 90, 50}}));
  FRecorder.ClearInvalidations();
  {
    TInvalidationBatch batch(FWindow);
    a->SetBounds(100, 60, 10, 10);
    b->SetVisible(true);
    EXPECT_TRUE(window.InvalidRects.empty());
  }
  EXPECT_EQ(window.InvalidRects, (std::vector<TRect>{{0, 0, 110, 70}}));
  EXPECT_EQ(window.FullInvalidations, 0);
}

}  // namespace
}  // namespace skx
