// The registered control in a container of ours: the call sequence of real hosts, in-place
// activation in a window, keys, drawing, the saved state in three kinds of storage, teardown.
#include <windows.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "DialogScript.h"
#include "GridHost.h"
#include "SkedraXControl_TLB/SkedraXControl_TLB.h"
#include "TestContainer.h"

namespace skx::test {
namespace {

class ControlContainerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                 reinterpret_cast<void**>(&FObject)),
              S_OK);
  }
  void TearDown() override {
    if (FObject != nullptr) FObject->Release();
  }

  // Creation as a form host does it: freeze events, quick activation, new or loaded state,
  // in-place activation, the rectangle, events on.
  void Activate(IStream* state = nullptr) {
    IOleControl* control = Query<IOleControl>(FObject, IID_IOleControl);
    EXPECT_EQ(control->FreezeEvents(TRUE), S_OK);
    QACONTROL result{};
    EXPECT_EQ(QuickActivate(FObject, FSite, &FSink, result), S_OK);
    EXPECT_EQ(result.dwMiscStatus, 131473u);
    EXPECT_NE(result.dwEventCookie, 0u);
    FCookie = result.dwEventCookie;
    IPersistStreamInit* persist = Query<IPersistStreamInit>(FObject, IID_IPersistStreamInit);
    EXPECT_EQ(state ? persist->Load(state) : persist->InitNew(), S_OK);
    persist->Release();
    RECT pos{10, 10, 410, 310};
    EXPECT_EQ(FObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &FSite, 0, FSite.Frame(), &pos), S_OK);
    IOleInPlaceObject* inPlace = Query<IOleInPlaceObject>(FObject, IID_IOleInPlaceObject);
    EXPECT_EQ(inPlace->SetObjectRects(&pos, &pos), S_OK);
    EXPECT_EQ(inPlace->GetWindow(&FWindow), S_OK);
    inPlace->Release();
    EXPECT_EQ(control->FreezeEvents(FALSE), S_OK);
    control->Release();
    PumpMessages();
  }

  // Teardown as hosts do it; the control is gone and, unless the test still holds objects of
  // the library, the library may unload.
  void Teardown(bool holdsObjects = false) {
    IConnectionPointContainer* points = Query<IConnectionPointContainer>(FObject, IID_IConnectionPointContainer);
    IConnectionPoint* point = nullptr;
    EXPECT_EQ(points->FindConnectionPoint(DIID_ISkedraXEvents, &point), S_OK);
    EXPECT_EQ(point->Unadvise(FCookie), S_OK);
    point->Release();
    points->Release();
    IOleInPlaceObject* inPlace = Query<IOleInPlaceObject>(FObject, IID_IOleInPlaceObject);
    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    inPlace->Release();
    EXPECT_EQ(FObject->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(FObject->SetClientSite(nullptr), S_OK);
    EXPECT_EQ(FObject->Release(), 0u);
    FObject = nullptr;
    EXPECT_EQ(FSink.RefCount(), 1u);
    EXPECT_EQ(ControlCanUnloadNow(), holdsObjects ? S_FALSE : S_OK);
  }

  ISkedraX* Control() { return Query<ISkedraX>(FObject, IID_ISkedraX); }

  // A task made with TaskObjectX and handed to the control, shown from the next layout on,
  // which a new active date brings.
  static void AddShownTask(ISkedraX* control, double start, double finish, ::ITaskPriority priority = ::tpNormal) {
    double active = 0;
    control->get_ActiveDate(&active);
    ITaskObject* made = nullptr;
    ASSERT_EQ(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                                 reinterpret_cast<void**>(&made)),
              S_OK);
    made->put_StartDateTime(start);
    made->put_FinishDateTime(finish);
    made->put_Priority(priority);
    EXPECT_EQ(control->AddTask(made), S_OK);
    made->Release();
    EXPECT_EQ(control->put_ActiveDate(active), S_OK);
  }

  // Runs call, which shows the dialog of that title, closing the dialog with OK; answers call's
  // result, and the window that owned the dialog.
  static std::pair<HRESULT, HWND> RunDialog(const wchar_t* title, const std::function<HRESULT()>& call) {
    DWORD thread = ::GetCurrentThreadId();
    HWND owner = nullptr;
    HRESULT result = RunScripted(
        [&] {
          HWND dialog = WaitForWindow(thread, title);
          if (dialog == nullptr) return;
          owner = ::GetWindow(dialog, GW_OWNER);
          ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        },
        call);
    return {result, owner};
  }

  // The saved state of a weekly control without a border, in a stream.
  static IStream* WeeklyState() {
    IOleObject* object = nullptr;
    EXPECT_EQ(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                 reinterpret_cast<void**>(&object)),
              S_OK);
    ISkedraX* control = Query<ISkedraX>(object, IID_ISkedraX);
    control->put_SkedraType(::skWeekly);
    control->put_BorderStyle(::bsNone);
    control->Release();
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    IPersistStreamInit* persist = Query<IPersistStreamInit>(object, IID_IPersistStreamInit);
    EXPECT_EQ(persist->Save(stream, TRUE), S_OK);
    persist->Release();
    object->Release();
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
  }

  TTestSite FSite{400, 300};
  TEventSink FSink;
  IOleObject* FObject = nullptr;
  DWORD FCookie = 0;
  HWND FWindow = nullptr;
};

TEST_F(ControlContainerTest, HostSequenceActivatesInPlaceAndTearsDownToZero) {
  DWORD status = 0;
  EXPECT_EQ(FObject->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_EQ(status, 131473u);
  Activate();
  EXPECT_TRUE(::IsChild(FSite.Frame(), FWindow));
  RECT rect{};
  ::GetWindowRect(FWindow, &rect);
  EXPECT_EQ(rect.right - rect.left, 400);
  EXPECT_EQ(rect.bottom - rect.top, 300);
  EXPECT_EQ(FSite.InPlaceActivations, 1);

  ISkedraX* control = Control();
  ITaskObject* task = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                               reinterpret_cast<void**>(&task)),
            S_OK);
  EXPECT_EQ(control->AddTask(task), S_OK);
  task->Release();
  EXPECT_EQ(control->Delete(0), S_OK);
  ASSERT_EQ(FSink.Events.size(), 2u);
  EXPECT_EQ(FSink.Events[1], (TEventRecord{SkedraXEventsDispId::OnDeleteTask, 0}));
  control->Release();

  Teardown();
  EXPECT_EQ(FSite.InPlaceDeactivations, 1);
  EXPECT_FALSE(::IsWindow(FWindow));
}

// The container holds the in-place window's handle, so the frame changes on that same window.
TEST_F(ControlContainerTest, BorderStyleAndCtl3DChangeTheFrameOfTheSameWindow) {
  Activate();
  auto clientWidth = [&] {
    RECT client{};
    ::GetClientRect(FWindow, &client);
    return client.right;
  };
  auto styleHas = [&](int index, LONG_PTR bits) { return (::GetWindowLongPtrW(FWindow, index) & bits) != 0; };
  EXPECT_TRUE(styleHas(GWL_EXSTYLE, WS_EX_CLIENTEDGE));
  int edged = clientWidth();

  ISkedraX* control = Control();
  // Without a frame the window's client area starts where the picture does.
  EXPECT_EQ(control->put_BorderStyle(::bsNone), S_OK);
  EXPECT_EQ(control->put_Ctl3D(VARIANT_FALSE), S_OK);
  EXPECT_FALSE(styleHas(GWL_EXSTYLE, WS_EX_CLIENTEDGE));
  EXPECT_FALSE(styleHas(GWL_STYLE, WS_BORDER));
  EXPECT_EQ(clientWidth(), edged + 4);
  EXPECT_EQ(control->put_Ctl3D(VARIANT_FALSE), S_OK);
  EXPECT_EQ(control->put_BorderStyle(::bsSingle), S_OK);
  EXPECT_TRUE(styleHas(GWL_STYLE, WS_BORDER));
  EXPECT_EQ(clientWidth(), edged + 2);
  control->Release();

  HWND window = nullptr;
  IOleInPlaceObject* inPlace = Query<IOleInPlaceObject>(FObject, IID_IOleInPlaceObject);
  EXPECT_EQ(inPlace->GetWindow(&window), S_OK);
  inPlace->Release();
  EXPECT_EQ(window, FWindow);
  Teardown();
}

TEST_F(ControlContainerTest, AClickedMarkerIsSelectedAndClearUnselectsIt) {
  Activate();
  ISkedraX* control = Control();
  double today = 0;
  control->get_ActiveDate(&today);
  AddShownTask(control, today, today + 1.0 / 48);
  PumpMessages();
  // The marker is no window: the grid finds it under the press, 10 pixels into the day column
  // that starts at x = 50, on the first time row.
  EXPECT_EQ(::GetWindow(FWindow, GW_CHILD), nullptr);
  ::PostMessageW(FWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 22));
  ::PostMessageW(FWindow, WM_LBUTTONUP, 0, MAKELPARAM(80, 22));
  PumpMessages();
  ASSERT_EQ(FSink.Events.size(), 1u);
  EXPECT_EQ(FSink.Events[0], (TEventRecord{SkedraXEventsDispId::OnSelectTask, 0}));
  ITaskObject* selected = nullptr;
  ASSERT_EQ(control->get_SelectedTask(&selected), S_OK);
  long id = -1;
  selected->get_ID(&id);
  EXPECT_EQ(id, 0);

  FSink.Events.clear();
  EXPECT_EQ(control->Clear(), S_OK);
  std::vector<TEventRecord> expected{{SkedraXEventsDispId::OnUnselectTask, 0}};
  EXPECT_EQ(FSink.Events, expected);
  EXPECT_EQ(selected->get_ID(&id), E_UNEXPECTED);  // its task is gone
  control->Release();

  // A task object that the container still holds keeps the library loaded.
  Teardown(true);
  selected->Release();
  EXPECT_EQ(ControlCanUnloadNow(), S_OK);
}

TEST_F(ControlContainerTest, DialogsAreOwnedByTheContainerAndBracketedByEnableModeless) {
  FSink.NewId = 42;
  Activate();
  ISkedraX* control = Control();
  EXPECT_EQ(RunDialog(L"Task", [&] { return control->NewTask(); }), std::make_pair(S_OK, FSite.Frame()));
  EXPECT_EQ(FSite.Modeless, "-+");
  std::vector<TEventRecord> expected{{SkedraXEventsDispId::OnGetNewID, 42}, {SkedraXEventsDispId::OnAppendTask, 42}};
  EXPECT_EQ(FSink.Events, expected);

  EXPECT_EQ(RunDialog(L"About", [&] { return control->AboutBox(); }), std::make_pair(S_OK, FSite.Frame()));
  EXPECT_EQ(FSite.Modeless, "-+-+");
  control->Release();
  Teardown();
}

// The control activated last does not take over the dialogs of the others: each control's
// dialogs belong to its own container.
TEST_F(ControlContainerTest, EachControlsDialogsBelongToItsOwnContainer) {
  Activate();
  TTestSite otherSite(300, 200);
  IOleObject* other = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(&other)),
            S_OK);
  EXPECT_EQ(other->SetClientSite(&otherSite), S_OK);
  RECT pos{0, 0, 300, 200};
  EXPECT_EQ(other->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &otherSite, 0, otherSite.Frame(), &pos), S_OK);
  ASSERT_EQ(otherSite.InPlaceActivations, 1);

  ISkedraX* control = Control();
  EXPECT_EQ(RunDialog(L"About", [&] { return control->AboutBox(); }), std::make_pair(S_OK, FSite.Frame()));
  EXPECT_EQ(FSite.Modeless, "-+");
  EXPECT_EQ(otherSite.Modeless, "");
  control->Release();

  EXPECT_EQ(other->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(other->SetClientSite(nullptr), S_OK);
  EXPECT_EQ(other->Release(), 0u);
  Teardown();
}

TEST_F(ControlContainerTest, VerbsShowHideAndListProperties) {
  Activate();
  RECT pos{10, 10, 410, 310};
  EXPECT_EQ(FObject->DoVerb(OLEIVERB_HIDE, nullptr, &FSite, 0, FSite.Frame(), &pos), S_OK);
  EXPECT_FALSE(::IsWindowVisible(FWindow));
  EXPECT_EQ(FObject->DoVerb(OLEIVERB_SHOW, nullptr, &FSite, 0, FSite.Frame(), &pos), S_OK);
  EXPECT_TRUE(::IsWindowVisible(FWindow));
  EXPECT_EQ(FObject->DoVerb(OLEIVERB_PROPERTIES, nullptr, &FSite, 0, FSite.Frame(), &pos), S_OK);
  EXPECT_EQ(FObject->DoVerb(1, nullptr, &FSite, 0, FSite.Frame(), &pos), OLEOBJ_S_INVALIDVERB);
  IEnumOLEVERB* verbs = nullptr;
  ASSERT_EQ(FObject->EnumVerbs(&verbs), S_OK);
  OLEVERB verb{};
  ULONG fetched = 0;
  ASSERT_EQ(verbs->Next(1, &verb, &fetched), S_OK);
  EXPECT_EQ(verb.lVerb, 0);
  EXPECT_STREQ(verb.lpszVerbName, L"Properties");
  ::CoTaskMemFree(verb.lpszVerbName);
  verbs->Release();
  ISpecifyPropertyPages* pages = Query<ISpecifyPropertyPages>(FObject, IID_ISpecifyPropertyPages);
  CAUUID list{5, reinterpret_cast<GUID*>(0xdeadbeef)};
  EXPECT_EQ(pages->GetPages(&list), S_OK);
  EXPECT_EQ(list.cElems, 0u);
  EXPECT_EQ(list.pElems, nullptr);
  pages->Release();
  IProvideClassInfo2* info = Query<IProvideClassInfo2>(FObject, IID_IProvideClassInfo2);
  GUID events{};
  EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  EXPECT_TRUE(::IsEqualGUID(events, DIID_ISkedraXEvents));
  info->Release();
  Teardown();
}

TEST_F(ControlContainerTest, ANewControlHasNoButtonsAndALoadedOneHasBoth) {
  Activate();
  EXPECT_EQ(::GetWindow(FWindow, GW_CHILD), nullptr);
  Teardown();

  ASSERT_EQ(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(&FObject)),
            S_OK);
  IStream* state = WeeklyState();
  Activate(state);
  state->Release();
  int buttons = 0;
  for (HWND child = ::GetWindow(FWindow, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    ++buttons;
  }
  EXPECT_EQ(buttons, 2);
  ISkedraX* control = Control();
  ISkedraType type = ::skDaily;
  control->get_SkedraType(&type);
  EXPECT_EQ(type, ::skWeekly);
  control->Release();
  Teardown();
}

TEST_F(ControlContainerTest, UIActiveControlTakesTheNavigationKeys) {
  Activate();
  RECT pos{10, 10, 410, 310};
  EXPECT_EQ(FObject->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &FSite, 0, FSite.Frame(), &pos), S_OK);
  ASSERT_NE(FSite.ActiveObject(), nullptr);
  EXPECT_EQ(FSite.UIActivations, 1);
  EXPECT_EQ(::GetFocus(), FWindow);
  ISkedraX* control = Control();
  double before = 0;
  control->get_CurrentDate(&before);
  MSG down{FWindow, WM_KEYDOWN, VK_DOWN, 0, 0, {0, 0}};
  EXPECT_EQ(FSite.ActiveObject()->TranslateAccelerator(&down), S_OK);
  MSG letter{FWindow, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
  EXPECT_EQ(FSite.ActiveObject()->TranslateAccelerator(&letter), S_FALSE);
  MSG elsewhere{FSite.Frame(), WM_KEYDOWN, VK_DOWN, 0, 0, {0, 0}};
  EXPECT_EQ(FSite.ActiveObject()->TranslateAccelerator(&elsewhere), S_FALSE);
  control->Release();
  Teardown();
}

// Keys posted to the UI-active control's window and taken from the queue by a form host's loop:
// arrows, Delete and Tab reach the grid; a Tab past its last task goes on to the container.
class ContainerKeysTest : public ControlContainerTest {
 protected:
  void SetUp() override {
    ControlContainerTest::SetUp();
    IStream* state = InitialState();
    Activate(state);
    if (state != nullptr) state->Release();
    RECT pos{10, 10, 410, 310};
    EXPECT_EQ(FObject->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &FSite, 0, FSite.Frame(), &pos), S_OK);
    ASSERT_NE(FSite.ActiveObject(), nullptr);
    FControl = Control();
  }
  void TearDown() override {
    if (FControl != nullptr) FControl->Release();
    FControl = nullptr;
    if (FObject != nullptr) Teardown();
    ControlContainerTest::TearDown();
  }

  // The saved state the control is loaded from; none makes a new control.
  virtual IStream* InitialState() { return nullptr; }

  // The loop of a form host: each key message goes to the UI-active object first, and on only
  // when it did not take it.
  void PumpAsContainer() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      IOleInPlaceActiveObject* active = FSite.ActiveObject();
      if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && active != nullptr &&
          active->TranslateAccelerator(&msg) == S_OK)
        continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  void PressKey(WPARAM key) {
    ::PostMessageW(FWindow, WM_KEYDOWN, key, 1);
    PumpAsContainer();
  }
  // The task shown at the top of the first time row, 10 pixels into the day column, selected
  // by a click there.
  void AddSelectedTask() {
    double today = 0;
    FControl->get_ActiveDate(&today);
    AddShownTask(FControl, today, today + 1.0 / 48);
    ::PostMessageW(FWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 22));
    ::PostMessageW(FWindow, WM_LBUTTONUP, 0, MAKELPARAM(80, 22));
    PumpAsContainer();
  }
  long Count() {
    long count = -1;
    EXPECT_EQ(FControl->get_Count(&count), S_OK);
    return count;
  }

  ISkedraX* FControl = nullptr;
};

TEST_F(ContainerKeysTest, ArrowsMoveTheCurrentDayWithoutTheContainerSeeingThem) {
  EXPECT_EQ(FControl->put_SkedraType(::skWeekly), S_OK);
  double before = 0;
  FControl->get_CurrentDate(&before);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  PressKey(VK_LEFT);
  double after = 0;
  FControl->get_CurrentDate(&after);
  EXPECT_EQ(after, before + 1);
  EXPECT_TRUE(FSite.OfferedKeys.empty());
}

TEST_F(ContainerKeysTest, DeleteRemovesTheSelectedTaskWithUnselectThenDeleteOnTheSink) {
  AddSelectedTask();
  ASSERT_EQ(FSink.Events, (std::vector<TEventRecord>{{SkedraXEventsDispId::OnSelectTask, 0}}));
  FSink.Events.clear();
  PressKey(VK_DELETE);
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(FSink.Events, (std::vector<TEventRecord>{{SkedraXEventsDispId::OnUnselectTask, 0},
                                                     {SkedraXEventsDispId::OnDeleteTask, 0}}));
  // With nothing selected the key is the container's.
  PressKey(VK_DELETE);
  EXPECT_EQ(FSite.OfferedKeys, (std::vector<TOfferedKey>{{WM_KEYDOWN, VK_DELETE, 0}}));
}

TEST_F(ContainerKeysTest, TabSelectsTheTaskAndPastItGoesToTheControlSite) {
  double today = 0;
  FControl->get_ActiveDate(&today);
  AddShownTask(FControl, today, today + 1.0 / 48);
  // A form takes the Tab it is offered, to move the focus on.
  FSite.OfferedKeyAnswer = S_OK;
  PressKey(VK_TAB);
  EXPECT_EQ(FSink.Events, (std::vector<TEventRecord>{{SkedraXEventsDispId::OnSelectTask, 0}}));
  EXPECT_TRUE(FSite.OfferedKeys.empty());
  PressKey(VK_TAB);
  EXPECT_EQ(FSite.OfferedKeys, (std::vector<TOfferedKey>{{WM_KEYDOWN, VK_TAB, 0}}));

  // Shift+Tab before the first task, with the modifier the container is told.
  constexpr DWORD KeyModShift = 1;
  BYTE keys[256]{};
  ::GetKeyboardState(keys);
  const BYTE shift = keys[VK_SHIFT];
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  PressKey(VK_TAB);
  keys[VK_SHIFT] = shift;
  ::SetKeyboardState(keys);
  EXPECT_EQ(FSite.OfferedKeys.back(), (TOfferedKey{WM_KEYDOWN, VK_TAB, KeyModShift}));
  EXPECT_EQ(FSink.Events.size(), 1u);
}

// A control loaded from a saved state has the grid's menu (a new one has none).
class LoadedContainerKeysTest : public ContainerKeysTest {
 protected:
  IStream* InitialState() override { return WeeklyState(); }
};

// The container passes Shift+F10 on to the window, whose own handling of it asks for the grid's
// menu.
TEST_F(LoadedContainerKeysTest, ShiftF10StillBringsUpTheGridsMenu) {
  BYTE keys[256]{};
  ::GetKeyboardState(keys);
  const BYTE shift = keys[VK_SHIFT];
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  TMenuAnswer cancel(-1);
  ::PostMessageW(FWindow, WM_SYSKEYDOWN, VK_F10, 1);
  PumpAsContainer();
  keys[VK_SHIFT] = shift;
  ::SetKeyboardState(keys);
  ASSERT_TRUE(cancel.Answered());
  EXPECT_EQ(cancel.Items(), (std::vector<std::wstring>{L"New task..."}));
  EXPECT_EQ(FSite.OfferedKeys, (std::vector<TOfferedKey>{{WM_SYSKEYDOWN, VK_F10, 1}}));
}

// The control as a current container uses it: both event interfaces connected, the second
// one's sink answering the questions before a change, and the user's mouse and keys.
class ContainerManipulationTest : public ContainerKeysTest {
 protected:
  void SetUp() override {
    ContainerKeysTest::SetUp();
    IConnectionPointContainer* points = Query<IConnectionPointContainer>(FObject, IID_IConnectionPointContainer);
    ASSERT_EQ(points->FindConnectionPoint(DIID_ISkedraXEvents2, &FSecondPoint), S_OK);
    points->Release();
    ASSERT_EQ(FSecondPoint->Advise(&FSecondSink, &FSecondCookie), S_OK);
    FControl->get_ActiveDate(&FToday);
    // The task covers the rows of 0:00, 0:15 and 0:30: 17 pixels a row below the headings.
    AddShownTask(FControl, FToday, FToday + 1.0 / 48);
  }
  void TearDown() override {
    EXPECT_EQ(FSecondPoint->Unadvise(FSecondCookie), S_OK);
    FSecondPoint->Release();
    ContainerKeysTest::TearDown();
  }

  // A press in the middle of the task's marker, moves in steps, and the release dy lower.
  void Drag(int dy, WPARAM keyBeforeRelease = 0) {
    const int x = 80, y = 42;
    ::PostMessageW(FWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    for (int step = 1; step <= 4; ++step)
      ::PostMessageW(FWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + dy * step / 4));
    PumpAsContainer();
    if (keyBeforeRelease != 0) PressKey(keyBeforeRelease);
    ::PostMessageW(FWindow, WM_LBUTTONUP, 0, MAKELPARAM(x, y + dy));
    PumpAsContainer();
  }
  double Start() {
    ITaskObject* task = nullptr;
    EXPECT_EQ(FControl->get_Items(0, &task), S_OK);
    double start = -1;
    if (task != nullptr) task->get_StartDateTime(&start);
    if (task != nullptr) task->Release();
    return start;
  }

  TEventSink FSecondSink{DIID_ISkedraXEvents2};
  IConnectionPoint* FSecondPoint = nullptr;
  DWORD FSecondCookie = 0;
  double FToday = 0;
};

namespace Ev = SkedraXEventsDispId;

TEST_F(ContainerManipulationTest, ADragMovesTheTaskByWholeSlotsAndEachSinkHearsItsEvents) {
  Drag(34);
  EXPECT_NEAR(Start(), FToday + 30.0 / 1440, 1e-9);
  EXPECT_NEAR(FSecondSink.NewStart, FToday + 30.0 / 1440, 1e-9);
  EXPECT_NEAR(FSecondSink.NewFinish, FToday + 60.0 / 1440, 1e-9);
  EXPECT_EQ(FSink.Events, (std::vector<TEventRecord>{{Ev::OnSelectTask, 0}, {Ev::OnUpdateTask, 0}}));
  EXPECT_EQ(FSecondSink.Events, (std::vector<TEventRecord>{{Ev::OnSelectTask, 0},
                                                           {Ev::OnBeforeMoveTask, 0},
                                                           {Ev::OnTaskMoved, 0},
                                                           {Ev::OnUpdateTask, 0}}));
}

TEST_F(ContainerManipulationTest, AVetoedMoveAndAnEscapedDragChangeNothing) {
  FSecondSink.Cancel = true;
  Drag(34);
  EXPECT_EQ(Start(), FToday);
  FSecondSink.Cancel = false;
  Drag(51, VK_ESCAPE);
  EXPECT_EQ(Start(), FToday);
  EXPECT_EQ(FSink.Events, (std::vector<TEventRecord>{{Ev::OnSelectTask, 0}, {Ev::OnSelectTask, 0}}));
  EXPECT_EQ(FSecondSink.Events,
            (std::vector<TEventRecord>{{Ev::OnSelectTask, 0}, {Ev::OnBeforeMoveTask, 0}, {Ev::OnSelectTask, 0}}));
  // The container never saw the Escape that ended the drag.
  EXPECT_TRUE(FSite.OfferedKeys.empty());
}

TEST_F(ContainerManipulationTest, TheDeleteKeyAsksTheSecondSinkFirst) {
  ::PostMessageW(FWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 42));
  ::PostMessageW(FWindow, WM_LBUTTONUP, 0, MAKELPARAM(80, 42));
  PumpAsContainer();
  FSecondSink.Events.clear();
  FSink.Events.clear();
  FSecondSink.Cancel = true;
  PressKey(VK_DELETE);
  EXPECT_EQ(Count(), 1);
  EXPECT_TRUE(FSink.Events.empty());
  EXPECT_EQ(FSecondSink.Events, (std::vector<TEventRecord>{{Ev::OnBeforeDeleteTask, 0}}));
  FSecondSink.Cancel = false;
  PressKey(VK_DELETE);
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(FSink.Events, (std::vector<TEventRecord>{{Ev::OnUnselectTask, 0}, {Ev::OnDeleteTask, 0}}));
}

TEST_F(ControlContainerTest, TheFocusReachingTheWindowMakesTheControlUIActive) {
  Activate();
  EXPECT_EQ(FSite.UIActivations, 0);
  ::SetFocus(FWindow);
  EXPECT_EQ(FSite.UIActivations, 1);
  EXPECT_NE(FSite.ActiveObject(), nullptr);
  ::SetFocus(FSite.Frame());
  ::SetFocus(FWindow);
  EXPECT_EQ(FSite.UIActivations, 1);
  Teardown();
}

// A bitmap of the screen's format in a memory DC, for a container that draws the control itself.
class TPicture {
 public:
  TPicture(int width, int height)
      : FScreen(::GetDC(nullptr)),
        FDC(::CreateCompatibleDC(FScreen)),
        FBitmap(::CreateCompatibleBitmap(FScreen, width, height)),
        FOld(::SelectObject(FDC, FBitmap)) {}
  ~TPicture() {
    ::SelectObject(FDC, FOld);
    ::DeleteObject(FBitmap);
    ::DeleteDC(FDC);
    ::ReleaseDC(nullptr, FScreen);
  }
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;
  HDC DC() const { return FDC; }
  COLORREF At(int x, int y) const { return ::GetPixel(FDC, x, y); }

 private:
  HDC FScreen;
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld;
};

// The markers are the grid's to paint, so a picture of the control shows them where the window
// does: with 60-minute rows a task of 8:00 to 9:00 covers rows 9 and 10, 17 pixels each, from 10
// pixels into the day column at x = 50; drawn here 7 pixels right and 5 down.
TEST_F(ControlContainerTest, DrawPaintsTheMarkersAsTheWindowDoes) {
  Activate();
  ISkedraX* control = Control();
  EXPECT_EQ(control->put_ActiveDate(PastDay), S_OK);
  EXPECT_EQ(control->put_TimeScale(60), S_OK);
  AddShownTask(control, PastDay + 8.0 / 24, PastDay + 9.0 / 24);
  control->Release();
  IViewObject2* view = Query<IViewObject2>(FObject, IID_IViewObject2);
  TPicture picture(420, 320);
  RECTL bounds{7, 5, 407, 305};
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, picture.DC(), &bounds, nullptr, nullptr, 0),
            S_OK);
  const int left = 7 + 60;
  const int top = 5 + 9 * 17;
  const std::wstring frame = ColorText(::GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(ColorText(picture.At(left, top + 10)), frame);
  EXPECT_EQ(ColorText(picture.At(left + 40, top)), frame);
  EXPECT_EQ(ColorText(picture.At(left + 40, top + 2 * 17 - 1)), frame);
  EXPECT_EQ(ColorText(picture.At(left + 40, top + 4)), ColorText(clSilver));
  EXPECT_EQ(ColorText(picture.At(left - 3, top + 4)), ColorText(0x0080FFFF));
  view->Release();
  Teardown();
}

// How many pixels of the picture differ from the window's, the picture taken at Scale times the
// window's size (each window pixel then covers Scale x Scale pixels).
int PixelsUnlikeTheWindow(const TScreenshot& window, const TPicture& picture, int scale) {
  int unlike = 0;
  for (int y = 0; y < window.Height(); ++y) {
    for (int x = 0; x < window.Width(); ++x) {
      if (picture.At(x * scale + scale - 1, y * scale + scale - 1) != window.At(x, y)) ++unlike;
    }
  }
  return unlike;
}

// A print or a picture of the control shows the window's pixels: drawn at the window's size into
// a memory DC and into an enhanced metafile, and stretched to twice the size.
TEST_F(ControlContainerTest, DrawGivesTheWindowsPixelsIntoMemoryAndMetafilesAndStretchesThem) {
  Activate();
  ISkedraX* control = Control();
  // Without a frame the window's client area starts where the picture does.
  EXPECT_EQ(control->put_BorderStyle(::bsNone), S_OK);
  EXPECT_EQ(control->put_Ctl3D(VARIANT_FALSE), S_OK);
  EXPECT_EQ(control->put_TimeScale(60), S_OK);
  EXPECT_EQ(control->put_ActiveDate(PastDay), S_OK);
  AddShownTask(control, PastDay + 9.0 / 24, PastDay + 10.0 / 24, ::tpHigh);  // with 60-minute rows, in view
  control->Release();
  // On top of the screen, which the window's pixels are read from.
  ::SetWindowPos(FSite.Frame(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  PumpMessages();
  ::RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // The client area, beside the scroll bar that the system draws.
  const TScreenshot window = CaptureClient(FWindow);
  ASSERT_GT(window.Width(), 300);
  ASSERT_EQ(window.Height(), 300);
  // The marker is there: its frame at the top of the 9:00 row, 10 pixels into the day column.
  EXPECT_EQ(window.At(100, 10 * 17), static_cast<TColor>(::GetSysColor(COLOR_WINDOWFRAME)));
  IViewObject2* view = Query<IViewObject2>(FObject, IID_IViewObject2);
  const auto draw = [&](HDC dc, const RECTL& bounds) {
    return view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
  };

  TPicture memory(400, 300);
  EXPECT_EQ(draw(memory.DC(), RECTL{0, 0, 400, 300}), S_OK);
  EXPECT_EQ(PixelsUnlikeTheWindow(window, memory, 1), 0);

  // The metafile's frame is the 400 x 300 pixels of the screen it refers to, so that it plays
  // back pixel for pixel.
  HDC screen = ::GetDC(nullptr);
  const RECT frame{0, 0, ::MulDiv(400, 100 * ::GetDeviceCaps(screen, HORZSIZE), ::GetDeviceCaps(screen, HORZRES)),
                   ::MulDiv(300, 100 * ::GetDeviceCaps(screen, VERTSIZE), ::GetDeviceCaps(screen, VERTRES))};
  HDC recorder = ::CreateEnhMetaFileW(screen, nullptr, &frame, nullptr);
  ::ReleaseDC(nullptr, screen);
  ASSERT_NE(recorder, nullptr);
  EXPECT_EQ(draw(recorder, RECTL{0, 0, 400, 300}), S_OK);
  HENHMETAFILE metafile = ::CloseEnhMetaFile(recorder);
  TPicture played(400, 300);
  const RECT whole{0, 0, 400, 300};
  EXPECT_TRUE(::PlayEnhMetaFile(played.DC(), metafile, &whole));
  ::DeleteEnhMetaFile(metafile);
  EXPECT_EQ(PixelsUnlikeTheWindow(window, played, 1), 0);

  TPicture twice(800, 600);
  EXPECT_EQ(draw(twice.DC(), RECTL{0, 0, 800, 600}), S_OK);
  EXPECT_EQ(PixelsUnlikeTheWindow(window, twice, 2), 0);
  view->Release();
  Teardown();
}

TEST_F(ControlContainerTest, DrawPaintsTheGridIntoTheContainersDC) {
  Activate();
  ISkedraX* control = Control();
  EXPECT_EQ(control->put_TimeScale(60), S_OK);  // 8:00 is then the ninth row, in view
  control->Release();
  EXPECT_EQ(FSite.ViewChanges, 1);  // a container drawing the control itself draws it again
  IViewObject2* view = Query<IViewObject2>(FObject, IID_IViewObject2);
  TPicture picture(400, 300);
  RECTL bounds{0, 0, 400, 300};
  HDC dc = picture.DC();
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0),
            DV_E_DVASPECT);
  // Cells of the working hours are RGB 255,255,128.
  int working = 0;
  for (int y = 0; y < 300; y += 4) {
    if (picture.At(200, y) == RGB(255, 255, 128)) ++working;
  }
  EXPECT_GT(working, 10);
  view->Release();
  Teardown();
}

// Saved state

class SavedStateTest : public ControlContainerTest {
 protected:
  // Sets a weekly view and a colour on the control.
  void Change() {
    ISkedraX* control = Control();
    EXPECT_EQ(control->put_SkedraType(::skWeekly), S_OK);
    EXPECT_EQ(control->put_Color(0x00102030), S_OK);
    control->Release();
  }
  void ExpectChanged(IUnknown* object) {
    ISkedraX* control = Query<ISkedraX>(object, IID_ISkedraX);
    ISkedraType type = ::skDaily;
    control->get_SkedraType(&type);
    EXPECT_EQ(type, ::skWeekly);
    OLE_COLOR color = 0;
    control->get_Color(&color);
    EXPECT_EQ(color, 0x00102030u);
    control->Release();
  }
  IUnknown* NewControl() {
    IUnknown* object = nullptr;
    EXPECT_EQ(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                 reinterpret_cast<void**>(&object)),
              S_OK);
    return object;
  }
};

TEST_F(SavedStateTest, RoundTripThroughAStream) {
  Change();
  IStream* stream = nullptr;
  ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  IPersistStreamInit* persist = Query<IPersistStreamInit>(FObject, IID_IPersistStreamInit);
  EXPECT_EQ(persist->IsDirty(), S_OK);
  EXPECT_EQ(persist->Save(stream, TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  persist->Release();
  IUnknown* copy = NewControl();
  IPersistStreamInit* load = Query<IPersistStreamInit>(copy, IID_IPersistStreamInit);
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(load->Load(stream), S_OK);
  load->Release();
  ExpectChanged(copy);
  copy->Release();
  stream->Release();
}

TEST_F(SavedStateTest, RoundTripThroughAStorage) {
  Change();
  ILockBytes* bytes = nullptr;
  ASSERT_EQ(::CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes), S_OK);
  IStorage* storage = nullptr;
  ASSERT_EQ(::StgCreateDocfileOnILockBytes(bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage),
            S_OK);
  IPersistStorage* persist = Query<IPersistStorage>(FObject, IID_IPersistStorage);
  EXPECT_EQ(persist->Save(storage, FALSE), S_OK);
  EXPECT_EQ(persist->SaveCompleted(nullptr), S_OK);
  persist->Release();
  IUnknown* copy = NewControl();
  IPersistStorage* load = Query<IPersistStorage>(copy, IID_IPersistStorage);
  EXPECT_EQ(load->Load(storage), S_OK);
  load->Release();
  ExpectChanged(copy);
  copy->Release();
  storage->Release();
  bytes->Release();
}

TEST_F(SavedStateTest, RoundTripThroughAPropertyBag) {
  Change();
  TPropertyBag bag;
  IPersistPropertyBag* persist = Query<IPersistPropertyBag>(FObject, IID_IPersistPropertyBag);
  EXPECT_EQ(persist->Save(&bag, TRUE, TRUE), S_OK);
  persist->Release();
  EXPECT_EQ(bag.Values[L"SkedraType"].lVal, 1);
  EXPECT_EQ(bag.Values[L"Version"].lVal, 1);
  IUnknown* copy = NewControl();
  IPersistPropertyBag* load = Query<IPersistPropertyBag>(copy, IID_IPersistPropertyBag);
  EXPECT_EQ(load->Load(&bag, nullptr), S_OK);
  ExpectChanged(copy);
  bag.Values[L"SkedraType"].lVal = 5;
  EXPECT_EQ(load->Load(&bag, nullptr), E_FAIL);
  ExpectChanged(copy);
  bag.Values.erase(L"Version");
  EXPECT_EQ(load->Load(&bag, nullptr), E_FAIL);
  load->Release();
  copy->Release();
}

TEST_F(SavedStateTest, TruncatedAndForeignStreamsFailCleanly) {
  Change();
  IStream* stream = nullptr;
  ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  IPersistStreamInit* persist = Query<IPersistStreamInit>(FObject, IID_IPersistStreamInit);
  persist->Save(stream, TRUE);
  persist->Release();
  std::vector<BYTE> bytes = StreamBytes(stream);
  stream->Release();

  IUnknown* copy = NewControl();
  IPersistStreamInit* load = Query<IPersistStreamInit>(copy, IID_IPersistStreamInit);
  for (size_t size : {size_t{0}, size_t{5}, size_t{12}, bytes.size() / 2, bytes.size() - 1}) {
    IStream* cut = StreamOf(std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size)));
    EXPECT_EQ(load->Load(cut), E_FAIL) << size;
    EXPECT_EQ(LastErrorDescription(), L"Saved state is truncated") << size;
    cut->Release();
  }
  std::vector<BYTE> foreign(64, 0x41);
  IStream* other = StreamOf(foreign);
  EXPECT_EQ(load->Load(other), E_FAIL);
  EXPECT_EQ(LastErrorDescription(), L"Invalid saved state format");
  other->Release();
  load->Release();
  ISkedraX* control = Query<ISkedraX>(copy, IID_ISkedraX);
  ISkedraType type = ::skWeekly;
  control->get_SkedraType(&type);
  EXPECT_EQ(type, ::skDaily);  // nothing was taken from the bad data
  control->Release();
  copy->Release();
}

}  // namespace
}  // namespace skx::test
