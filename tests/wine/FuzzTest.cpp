// The registered control under abuse: every member with boundary values, random call sequences
// with hostile event handlers, stale task objects and corrupt saved state. Each call is logged to
// fuzz.log in the program's folder before it runs. SKX_FUZZ_CALLS and SKX_FUZZ_SEED set the
// length and the seed of the random run.
#include <windows.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>

#include "DialogScript.h"
#include "FuzzSupport.h"
#include "GridHost.h"
#include "SkedraXControl_TLB/SkedraXControl_TLB.h"
#include "TestContainer.h"
#include "WineTestUtil.h"

namespace skx::test {
namespace {

namespace Ev = SkedraXEventsDispId;

template <typename T>
T* Query(IUnknown* object, REFIID iid) {
  T* result = nullptr;
  object->QueryInterface(iid, reinterpret_cast<void**>(&result));
  return result;
}

ITaskObject* NewTaskObject(double start, double finish) {
  ITaskObject* task = nullptr;
  ::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                     reinterpret_cast<void**>(&task));
  if (task != nullptr) {
    task->put_StartDateTime(start);
    task->put_FinishDateTime(finish);
  }
  return task;
}

void AddTask(ISkedraX* control, double start, double finish) {
  ITaskObject* task = NewTaskObject(start, finish);
  control->AddTask(task);
  task->Release();
}

long EnvNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

// One registered control, in-place active in a test container, with a recording sink.
class FuzzTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FObject = Create();
    ASSERT_NE(FObject, nullptr);
    QACONTROL result{};
    ASSERT_EQ(QuickActivate(FObject, FSite, &FSink, result), S_OK);
    FCookie = result.dwEventCookie;
    IPersistStreamInit* persist = Query<IPersistStreamInit>(FObject, IID_IPersistStreamInit);
    persist->InitNew();
    persist->Release();
    FWindow = ActivateInPlace(FObject, FSite, RECT{10, 10, 610, 410});
    ASSERT_NE(FWindow, nullptr);
    FControl = Query<ISkedraX>(FObject, IID_ISkedraX);
    IConnectionPointContainer* points = Query<IConnectionPointContainer>(FObject, IID_IConnectionPointContainer);
    points->FindConnectionPoint(DIID_ISkedraXEvents, &FPoint);
    points->Release();
    PumpMessages();
  }
  void TearDown() override {
    if (FCookie != 0 && FPoint != nullptr) FPoint->Unadvise(FCookie);
    if (FPoint != nullptr) FPoint->Release();
    if (FControl != nullptr) FControl->Release();
    if (FObject != nullptr) CloseAndRelease(FObject);
    PumpMessages();
  }

  static IOleObject* Create() {
    IOleObject* object = nullptr;
    ::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                       reinterpret_cast<void**>(&object));
    return object;
  }

  long Count() {
    long count = -1;
    EXPECT_EQ(FControl->get_Count(&count), S_OK);
    return count;
  }

  double Today() {
    double today = 0;
    FControl->get_CurrentDate(&today);
    return static_cast<double>(static_cast<long>(today));
  }

  TTestSite FSite{600, 400};
  TEventSink FSink;
  IOleObject* FObject = nullptr;
  ISkedraX* FControl = nullptr;
  IConnectionPoint* FPoint = nullptr;
  DWORD FCookie = 0;
  HWND FWindow = nullptr;
};

TEST_F(FuzzTest, EveryMemberOfTheControlAndItsObjectsTakesBoundaryValues) {
  TCallLog log(L"fuzz-members.log");
  TDialogAnswerer answerer(::GetCurrentThreadId(), FSite.Frame());
  double today = Today();
  for (int i = 0; i < 3; ++i) AddTask(FControl, today + 0.375 + i / 24.0, today + 0.4 + i / 24.0);

  // Task objects of another control: one alive, one whose task was deleted.
  IOleObject* otherObject = Create();
  ISkedraX* other = Query<ISkedraX>(otherObject, IID_ISkedraX);
  AddTask(other, today, today + 0.1);
  AddTask(other, today, today + 0.1);
  ITaskObject* foreignTask = nullptr;
  ITaskObject* staleTask = nullptr;
  other->get_Items(0, &foreignTask);
  other->get_Items(1, &staleTask);
  other->Delete(0);
  ASSERT_NE(foreignTask, nullptr);
  ASSERT_NE(staleTask, nullptr);

  TEventSink foreign;
  IDispatch* self = Query<IDispatch>(FControl, IID_IDispatch);
  TFuzzObjects objects;
  objects.Objects = {&foreign, self, foreignTask, staleTask};
  TMemberFuzzer fuzzer(log, objects);
  fuzzer.FuzzObject(self, "SkedraX", 0);
  ITaskObject* made = NewTaskObject(today, today + 0.1);
  fuzzer.FuzzObject(made, "TaskObjectX", 0);
  fuzzer.FuzzObject(foreignTask, "ForeignTask", 1);
  fuzzer.FuzzObject(staleTask, "StaleTask", 1);
  made->Release();
  PumpMessages();
  std::printf("member fuzzing: %ld calls, %ld failures checked, %ld dialogs answered\n", fuzzer.Calls(),
              fuzzer.Checks(), answerer.Answered());

  // The control still works.
  FSink.NewId = 1;
  long before = Count();
  AddTask(FControl, today + 0.5, today + 0.6);
  EXPECT_EQ(Count(), before + 1);
  EXPECT_GE(fuzzer.Calls(), 1000);
  EXPECT_GE(fuzzer.Checks(), 500);

  self->Release();
  foreignTask->Release();
  staleTask->Release();
  other->Release();
  otherObject->Release();
}

// A random run of grid calls while the test holds task objects and the sink strikes back.
class TRandomRun {
 public:
  TRandomRun(ISkedraX* control, IOleObject* object, TEventSink& sink, unsigned seed)
      : FControl(control), FObject(object), FSink(sink), FRandom(seed), FLog(L"fuzz.log") {}
  ~TRandomRun() {
    FSink.OnEvent = nullptr;
    for (ITaskObject* task : FHeld) task->Release();
  }

  void Sequence(int steps) {
    ChooseHostileSink();
    FSink.Events.clear();
    for (int i = 0; i < steps; ++i) Step();
    PumpMessages();
  }
  long Calls() const { return FLog.Calls(); }

 private:
  int Pick(int count) { return static_cast<int>(FRandom() % static_cast<unsigned>(count)); }
  double Date() {
    const double inf = std::numeric_limits<double>::infinity();
    const double odd[] = {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -0.0, 1e308, 5e-324, -657435.0, -657434.0,
                                 2958465.0, 2958466.0, -1.25, 0.99999999};
    double today = 46000;
    FControl->get_ActiveDate(&today);
    if (Pick(8) == 0) return odd[Pick(12)];
    return today + Pick(15) - 7 + Pick(96) / 96.0;
  }
  void Log(const std::string& text) { FLog.Write(text); }

  // Each sequence picks what the sink does inside events.
  void ChooseHostileSink() {
    int mode = Pick(8);
    Log("sink mode " + std::to_string(mode));
    FSink.OnEvent = [this, mode](DISPID id) {
      if (FInEvent > 2 || id == Ev::OnGetNewID) return;
      long taskId = FSink.Events.empty() ? 0 : FSink.Events.back().TaskId;
      ++FInEvent;
      switch (mode) {
        case 1: FControl->Delete(taskId); break;
        case 2: FControl->Clear(); break;
        case 3: FControl->put_ActiveDate(Date()); break;
        case 4: FControl->put_SkedraType(Pick(2) == 0 ? ::skDaily : ::skWeekly); break;
        case 5: FControl->put_TimeScale(Pick(2) == 0 ? 5 : 60); break;
        case 6: AddTask(FControl, Date(), Date()); break;
        default: break;
      }
      --FInEvent;
    };
  }

  void Step() {
    switch (Pick(14)) {
      case 0:
      case 1: {
        double start = Date();
        double finish = Pick(3) == 0 ? Date() : start + Pick(8) / 24.0;
        Log("AddTask " + std::to_string(start) + " " + std::to_string(finish));
        AddTask(FControl, start, finish);
        break;
      }
      case 2:
        if (Pick(6) == 0) {
          Log("NewTask");
          FSink.NewId = Pick(5);
          FControl->NewTask();
        }
        break;
      case 3: {
        long id = Pick(6);
        Log("Delete " + std::to_string(id));
        FControl->Delete(id);
        break;
      }
      case 4:
        if (Pick(2) == 0) {
          Log("Clear");
          FControl->Clear();
        }
        break;
      case 5: Enumerate(); break;
      case 6: {
        double date = Date();
        Log("put_ActiveDate " + std::to_string(date));
        FControl->put_ActiveDate(date);
        break;
      }
      case 7: Settings(); break;
      case 8: Persist(); break;
      case 9:
      case 10: UseHeld(); break;
      case 11: Resize(); break;
      case 12: {
        Log("get_SelectedTask");
        ITaskObject* task = nullptr;
        if (SUCCEEDED(FControl->get_SelectedTask(&task)) && task != nullptr) Hold(task);
        break;
      }
      default: ClickMarker(); break;
    }
  }

  void Hold(ITaskObject* task) {
    if (FHeld.size() >= 16) {
      size_t drop = static_cast<size_t>(Pick(16));
      FHeld[drop]->Release();
      FHeld.erase(FHeld.begin() + static_cast<long>(drop));
    }
    FHeld.push_back(task);
  }

  void Enumerate() {
    Log("enumerate");
    long count = 0;
    FControl->get_Count(&count);
    for (long i = 0; i < count + 1; ++i) {
      ITaskObject* task = nullptr;
      if (FAILED(FControl->get_Items(i, &task)) || task == nullptr) continue;
      if (Pick(4) == 0) {
        Hold(task);
      } else {
        task->Release();
      }
    }
  }

  void Settings() {
    int which = Pick(6);
    long value = Pick(300) - 20;
    Log("setting " + std::to_string(which) + " " + std::to_string(value));
    switch (which) {
      case 0: FControl->put_TimeScale(value); break;
      case 1: FControl->put_DayStart(value / 288.0); break;
      case 2: FControl->put_DayEnd(value / 288.0); break;
      case 3: FControl->put_WeekStart(static_cast<IDayOfWeek>(value % 9)); break;
      case 4: FControl->put_WeekEnd(static_cast<IDayOfWeek>(value % 9)); break;
      default: FControl->put_SkedraType(value % 2 == 0 ? ::skDaily : ::skWeekly); break;
    }
  }

  void Persist() {
    Log("save and load");
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    IPersistStreamInit* persist = Query<IPersistStreamInit>(FObject, IID_IPersistStreamInit);
    if (SUCCEEDED(persist->Save(stream, Pick(2)))) {
      LARGE_INTEGER zero{};
      stream->Seek(zero, STREAM_SEEK_SET, nullptr);
      EXPECT_EQ(persist->Load(stream), S_OK);
    }
    persist->Release();
    stream->Release();
  }

  void UseHeld() {
    if (FHeld.empty()) return;
    ITaskObject* task = FHeld[static_cast<size_t>(Pick(static_cast<int>(FHeld.size())))];
    int which = Pick(5);
    Log("held task member " + std::to_string(which));
    long id = 0;
    BSTR text = nullptr;
    switch (which) {
      case 0: task->get_ID(&id); break;
      case 1: task->put_StartDateTime(Date()); break;
      case 2: task->put_FinishDateTime(Date()); break;
      case 3: task->get_Description(&text); break;
      default: FControl->AddTask(task); break;
    }
    ::SysFreeString(text);
  }

  void Resize() {
    int width = 50 + Pick(800);
    int height = 30 + Pick(600);
    Log("resize " + std::to_string(width) + "x" + std::to_string(height));
    IOleInPlaceObject* inPlace = Query<IOleInPlaceObject>(FObject, IID_IOleInPlaceObject);
    RECT pos{10, 10, 10 + width, 10 + height};
    inPlace->SetObjectRects(&pos, &pos);
    inPlace->Release();
    ::RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
  }

  HWND Window() {
    HWND window = nullptr;
    IOleWindow* ole = Query<IOleWindow>(FObject, IID_IOleWindow);
    ole->GetWindow(&window);
    ole->Release();
    return window;
  }

  // Real mouse messages where a task of the first hours may have its marker: the grid finds the
  // marker under the press, if any, and the selection is raised from the marker's own handler.
  void ClickMarker() {
    std::vector<POINT> points = MarkerPoints(Pick(40) / 96.0);
    Log("click marker");
    ClickAt(Window(), points[Pick(static_cast<int>(points.size()))]);
    PumpMessages();
  }

  ISkedraX* FControl;
  IOleObject* FObject;
  TEventSink& FSink;
  std::mt19937 FRandom;
  TCallLog FLog;
  std::vector<ITaskObject*> FHeld;
  int FInEvent = 0;
};

TEST_F(FuzzTest, RandomSequencesWithHostileHandlersLeaveWindowsAsTheyWere) {
  long calls = EnvNumber("SKX_FUZZ_CALLS", 800);
  unsigned seed = static_cast<unsigned>(EnvNumber("SKX_FUZZ_SEED", 1));
  std::printf("random run: seed %u, %ld calls\n", seed, calls);
  std::fflush(stdout);
  TDialogAnswerer answerer(::GetCurrentThreadId(), FSite.Frame());
  // A loaded control has its navigation buttons: load once so that the count starts with them.
  IPersistStreamInit* persist = Query<IPersistStreamInit>(FObject, IID_IPersistStreamInit);
  IStream* stream = nullptr;
  ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  persist->Save(stream, FALSE);
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(persist->Load(stream), S_OK);
  stream->Release();
  persist->Release();
  PumpMessages();
  int windowsBefore = DescendantWindows(FSite.Frame());
  int sequences = 0;
  {
    TRandomRun run(FControl, FObject, FSink, seed);
    while (run.Calls() < calls) {
      run.Sequence(25);
      ++sequences;
    }
    std::printf("random run: %d sequences, %ld calls, %ld dialogs answered\n", sequences, run.Calls(),
                answerer.Answered());
  }
  FControl->Clear();
  FControl->put_SkedraType(::skDaily);
  PumpMessages();
  int windowsAfter = DescendantWindows(FSite.Frame());
  std::printf("child windows: %d before, %d after\n", windowsBefore, windowsAfter);
  EXPECT_EQ(windowsAfter, windowsBefore);
  EXPECT_EQ(Count(), 0);
}

ISkedraX* timerControl = nullptr;

void CALLBACK EmptyTheGrid(HWND, UINT, UINT_PTR, DWORD) {
  timerControl->Delete(0);
  timerControl->Clear();
}

TEST_F(FuzzTest, HandlersThatDeleteOrClearInsideAMarkersClickAndATimerDuringTheTaskDialog) {
  double today = Today();
  for (int round = 0; round < 4; ++round) {
    AddTask(FControl, today + 0.375, today + 0.42);
    FControl->put_ActiveDate(today);  // the next layout shows the new task
    PumpMessages();
    FSink.Events.clear();
    FSink.OnEvent = [&](DISPID id) {
      if (id != Ev::OnSelectTask) return;
      if (round % 2 == 0) {
        FControl->Delete(FSink.Events.back().TaskId);
      } else {
        FControl->Clear();
      }
      FControl->put_SkedraType(round < 2 ? ::skWeekly : ::skDaily);
    };
    // Real mouse messages on the grid over each day's place for the marker: the first that finds
    // it raises the selection from the marker's own handler, which leaves none for the others.
    for (POINT at : MarkerPoints(0.375)) {
      ::SendMessageW(FWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
      ::SendMessageW(FWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 5, at.y + 5));
      ::SendMessageW(FWindow, WM_LBUTTONUP, 0, MAKELPARAM(at.x + 5, at.y + 5));
      ::SendMessageW(FWindow, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
      ::SendMessageW(FWindow, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
    PumpMessages();
    FSink.OnEvent = nullptr;
    ASSERT_FALSE(FSink.Events.empty()) << round;
    EXPECT_EQ(FSink.Events.front().Id, Ev::OnSelectTask) << round;
    EXPECT_EQ(Count(), 0) << round;
  }

  // A timer deletes and clears the tasks while the task dialog is open for a new one.
  AddTask(FControl, today + 0.375, today + 0.42);
  timerControl = FControl;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &EmptyTheGrid);
  {
    TDialogAnswerer answerer(::GetCurrentThreadId(), FSite.Frame());
    FSink.NewId = 9;
    for (int i = 0; i < 3; ++i) {
      AddTask(FControl, today + 0.5, today + 0.6);
      EXPECT_EQ(FControl->NewTask(), S_OK);
    }
  }
  ::KillTimer(nullptr, timer);
  PumpMessages();
  FControl->Clear();
  EXPECT_EQ(Count(), 0);
}

// A right click on the grid over a marker that chooses "Update..." in the marker's menu; returns
// once the menu's command has run.
void UpdateFromMarkersMenu(HWND grid, POINT marker) {
  TMenuAnswer update(0);
  ::PostMessageW(grid, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(marker.x, marker.y));
  ::PostMessageW(grid, WM_RBUTTONUP, 0, MAKELPARAM(marker.x, marker.y));
  PumpMessages();
}

bool HasEvent(const std::vector<TEventRecord>& events, DISPID id) {
  return std::any_of(events.begin(), events.end(), [id](const TEventRecord& event) { return event.Id == id; });
}

// What a timer of the test's thread does to the tasks once the task dialog is up, so that the
// change lands inside the dialog's own message loop.
struct TDialogTimer {
  ISkedraX* Control = nullptr;
  const TEventSink* Sink = nullptr;
  bool Clear = false;
  std::atomic<bool> Done{false};
  size_t EventsWhenDone = 0;
};
TDialogTimer* dialogTimer = nullptr;

void CALLBACK ChangeTasksUnderTheDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND form = ::FindWindowW(nullptr, L"Task");
  if (form == nullptr || !::IsWindowVisible(form)) return;
  ::KillTimer(nullptr, timer);
  if (dialogTimer->Clear)
    dialogTimer->Control->Clear();
  else
    dialogTimer->Control->Delete(0);
  dialogTimer->EventsWhenDone = dialogTimer->Sink->Events.size();
  dialogTimer->Done = true;
}

// The button is pressed only after the timer's change is seen, so the change surely happened
// while the dialog was open.
TEST_F(FuzzTest, ATimerThatDeletesOrClearsTasksUnderTheOpenTaskDialogEndsItCleanly) {
  const double today = Today();
  FControl->put_ActiveDate(today);
  PumpMessages();
  const int windowsBefore = DescendantWindows(FWindow);
  for (int round = 0; round < 4; ++round) {
    const bool clear = round >= 2;
    const int button = round % 2 == 0 ? IDOK : IDCANCEL;
    SCOPED_TRACE(std::string(clear ? "clear" : "delete") + (button == IDOK ? ", OK" : ", Cancel"));
    AddTask(FControl, today + 0.375, today + 0.42);  // the dialog's task
    AddTask(FControl, today + 0.5, today + 0.55);
    FControl->put_ActiveDate(today);
    PumpMessages();
    FSink.Events.clear();
    TDialogTimer state;
    state.Control = FControl;
    state.Sink = &FSink;
    state.Clear = clear;
    dialogTimer = &state;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &ChangeTasksUnderTheDialog);
    bool changedWhileOpen = false;
    bool closed = false;
    RunScripted(
        [&] {
          HWND form = WaitForWindow(::GetWindowThreadProcessId(FWindow, nullptr), L"Task");
          if (form == nullptr) return;
          changedWhileOpen = WaitUntil([&] { return state.Done.load(); }) && ::IsWindowVisible(form);
          ::PostMessageW(form, WM_COMMAND, button, 0);
          closed = WaitHidden(form);
        },
        [&] {
          UpdateFromMarkersMenu(FWindow, MarkerPoints(0.375)[0]);
          return 0;
        });
    ::KillTimer(nullptr, timer);
    PumpMessages();
    EXPECT_TRUE(changedWhileOpen);
    EXPECT_TRUE(closed);
    EXPECT_EQ(FSink.Events.size(), state.EventsWhenDone) << "an event after the task was gone";
    EXPECT_FALSE(HasEvent(FSink.Events, Ev::OnUpdateTask));
    EXPECT_EQ(HasEvent(FSink.Events, Ev::OnDeleteTask), !clear);
    EXPECT_EQ(Count(), clear ? 0 : 1);
    EXPECT_EQ(DescendantWindows(FWindow), windowsBefore);
    // The grid goes on as before.
    AddTask(FControl, today + 0.625, today + 0.65);
    EXPECT_EQ(FControl->put_ActiveDate(today + 1), S_OK);
    EXPECT_EQ(FControl->put_ActiveDate(today), S_OK);
    PumpMessages();
    EXPECT_EQ(Count(), clear ? 1 : 2);
    EXPECT_EQ(DescendantWindows(FWindow), windowsBefore);
    FControl->Clear();
    PumpMessages();
  }
}

// A task whose dates a container made undecodable after its marker was placed (a put moves no
// marker): "Update..." on that marker refuses with a message, and nothing changes.
TEST_F(FuzzTest, UpdateOnATaskWhoseDatesBecameUndecodableShowsTheErrorAndChangesNothing) {
  struct TCase {
    const char* Name;
    bool Start;
    double Value;
  };
  const TCase cases[] = {{"start NaN", true, std::numeric_limits<double>::quiet_NaN()},
                         {"finish infinite", false, std::numeric_limits<double>::infinity()},
                         {"start after year 9999", true, 3e6},
                         {"finish before year 100", false, -7e5}};
  const double today = Today();
  FControl->put_ActiveDate(today);
  PumpMessages();
  const int windowsBefore = DescendantWindows(FWindow);
  const DWORD thread = ::GetCurrentThreadId();
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.Name);
    AddTask(FControl, today + 0.375, today + 0.42);
    FControl->put_ActiveDate(today);
    PumpMessages();
    ITaskObject* held = nullptr;
    ASSERT_EQ(FControl->get_Items(0, &held), S_OK);
    EXPECT_EQ(test.Start ? held->put_StartDateTime(test.Value) : held->put_FinishDateTime(test.Value), S_OK);
    FSink.Events.clear();
    std::wstring message;
    bool taskDialogShown = false;
    RunScripted(
        [&] {
          HWND box = WaitForWindow(thread, L"Error");
          if (box == nullptr) return;
          message = MessageBoxText(box);
          HWND form = ::FindWindowW(nullptr, L"Task");
          taskDialogShown = form != nullptr && ::IsWindowVisible(form);
          ::PostMessageW(box, WM_COMMAND, IDOK, 0);
          WaitHidden(box);
        },
        [&] {
          UpdateFromMarkersMenu(FWindow, MarkerPoints(0.375)[0]);
          return 0;
        });
    PumpMessages();
    EXPECT_EQ(message, L"Range check error");
    EXPECT_FALSE(taskDialogShown);
    EXPECT_FALSE(HasEvent(FSink.Events, Ev::OnUpdateTask));
    EXPECT_EQ(Count(), 1);
    double start = 0;
    double finish = 0;
    held->get_StartDateTime(&start);
    held->get_FinishDateTime(&finish);
    const double kept = test.Start ? start : finish;
    EXPECT_TRUE(std::isnan(test.Value) ? std::isnan(kept) : kept == test.Value);
    EXPECT_EQ(test.Start ? finish : start, test.Start ? today + 0.42 : today + 0.375);
    held->Release();
    // The next placement leaves the task without a marker; the grid and its other tasks go on.
    EXPECT_EQ(FControl->put_ActiveDate(today + 1), S_OK);
    EXPECT_EQ(FControl->put_ActiveDate(today), S_OK);
    AddTask(FControl, today + 0.5, today + 0.55);
    FControl->put_ActiveDate(today);
    PumpMessages();
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(DescendantWindows(FWindow), windowsBefore);
    FControl->Clear();
    PumpMessages();
  }
}

// Invokes every member of a task object late-bound with plain arguments; each must fail with
// E_UNEXPECTED and say that the task is gone.
void ExpectEveryMemberFailsAsGone(ITaskObject* task, const char* when) {
  ITypeInfo* info = nullptr;
  ASSERT_EQ(task->GetTypeInfo(0, 0, &info), S_OK);
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  int checked = 0;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    info->GetFuncDesc(i, &func);
    if ((func->wFuncFlags & FUNCFLAG_FRESTRICTED) == 0) {
      std::vector<VARIANT> args;
      for (SHORT p = 0; p < func->cParams; ++p) {
        if ((func->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL) != 0) continue;
        VARIANT arg;
        ::VariantInit(&arg);
        arg.vt = VT_I4;
        args.push_back(arg);
      }
      bool isPut = func->invkind == INVOKE_PROPERTYPUT;
      DISPID named = DISPID_PROPERTYPUT;
      DISPPARAMS params{args.empty() ? nullptr : args.data(), isPut ? &named : nullptr, static_cast<UINT>(args.size()),
                        isPut ? 1u : 0u};
      VARIANT result;
      ::VariantInit(&result);
      EXCEPINFO excep{};
      WORD flags = isPut ? DISPATCH_PROPERTYPUT : func->invkind == INVOKE_PROPERTYGET ? DISPATCH_PROPERTYGET
                                                                                       : DISPATCH_METHOD;
      std::string member = MemberName(info, func->memid) + " after " + when;
      EXPECT_EQ(task->Invoke(func->memid, IID_NULL, 0, flags, &params, &result, &excep, nullptr), DISP_E_EXCEPTION)
          << member;
      EXPECT_EQ(excep.scode, E_UNEXPECTED) << member;
      EXPECT_EQ(result.vt, VT_EMPTY) << member;
      EXPECT_STREQ(excep.bstrDescription, L"The task of this object no longer exists") << member;
      ::SysFreeString(excep.bstrSource);
      ::SysFreeString(excep.bstrDescription);
      ::SysFreeString(excep.bstrHelpFile);
      ::VariantClear(&result);
      ++checked;
    }
    info->ReleaseFuncDesc(func);
  }
  EXPECT_GE(checked, 20);
  info->ReleaseTypeAttr(attr);
  info->Release();
}

TEST_F(FuzzTest, TaskObjectsOfGoneTasksFailEveryMemberAndKeepTheLibraryLoaded) {
  double today = Today();
  for (int i = 0; i < 3; ++i) AddTask(FControl, today + 0.4, today + 0.5);
  ITaskObject* deleted = nullptr;
  FControl->get_Items(0, &deleted);
  FControl->Delete(0);  // the first task with ID 0
  ExpectEveryMemberFailsAsGone(deleted, "Delete");
  ITaskObject* cleared = nullptr;
  FControl->get_Items(0, &cleared);
  FControl->Clear();
  ExpectEveryMemberFailsAsGone(cleared, "Clear");
  AddTask(FControl, today + 0.4, today + 0.5);
  ITaskObject* released = nullptr;
  FControl->get_Items(0, &released);
  TearDown();
  FObject = nullptr;
  FControl = nullptr;
  FPoint = nullptr;
  FCookie = 0;
  ExpectEveryMemberFailsAsGone(released, "the control's release");
  EXPECT_EQ(ControlCanUnloadNow(), S_FALSE);
  deleted->Release();
  cleared->Release();
  EXPECT_EQ(ControlCanUnloadNow(), S_FALSE);
  released->Release();
  EXPECT_EQ(ControlCanUnloadNow(), S_OK);
}

std::vector<BYTE> SavedBytes(IUnknown* object) {
  IStream* stream = nullptr;
  ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  IPersistStreamInit* persist = Query<IPersistStreamInit>(object, IID_IPersistStreamInit);
  EXPECT_EQ(persist->Save(stream, FALSE), S_OK);
  persist->Release();
  std::vector<BYTE> bytes = StreamBytes(stream);
  stream->Release();
  return bytes;
}

HRESULT LoadBytes(IUnknown* object, const std::vector<BYTE>& bytes) {
  IStream* stream = StreamOf(bytes);
  IPersistStreamInit* persist = Query<IPersistStreamInit>(object, IID_IPersistStreamInit);
  HRESULT hr = persist->Load(stream);
  persist->Release();
  stream->Release();
  return hr;
}

TEST_F(FuzzTest, CorruptSavedStateIsRefusedAndLeavesThePreviousState) {
  TCallLog log(L"fuzz-state.log");
  // The source: a weekly control with other settings; the target keeps the defaults but one.
  IOleObject* sourceObject = Create();
  ISkedraX* source = Query<ISkedraX>(sourceObject, IID_ISkedraX);
  source->put_SkedraType(::skWeekly);
  source->put_TimeScale(30);
  source->put_BorderStyle(::bsNone);
  source->put_DayStart(0.25);
  std::vector<BYTE> valid = SavedBytes(sourceObject);
  source->Release();
  sourceObject->Release();
  // The target has no window: a load costs no layout of markers, and thousands run.
  IOleObject* target = Create();
  ISkedraX* targetControl = Query<ISkedraX>(target, IID_ISkedraX);
  targetControl->put_TimeScale(20);
  targetControl->Release();
  std::vector<BYTE> previous = SavedBytes(target);

  int refused = 0;
  int loaded = 0;
  auto attempt = [&](const std::vector<BYTE>& bytes, const std::string& what) {
    log.Write(what);
    if (FAILED(LoadBytes(target, bytes))) {
      ++refused;
      EXPECT_EQ(SavedBytes(target), previous) << what;
    } else {
      ++loaded;
      ASSERT_EQ(LoadBytes(target, previous), S_OK) << what;
    }
  };
  for (size_t length = 0; length < valid.size(); ++length) {
    attempt(std::vector<BYTE>(valid.begin(), valid.begin() + static_cast<long>(length)),
            "truncated to " + std::to_string(length));
  }
  EXPECT_EQ(loaded, 0);
  for (size_t bit = 0; bit < valid.size() * 8; ++bit) {
    std::vector<BYTE> flipped = valid;
    flipped[bit / 8] ^= static_cast<BYTE>(1u << (bit % 8));
    attempt(flipped, "bit " + std::to_string(bit) + " flipped");
  }
  std::mt19937 random(7);
  for (int i = 0; i < 200; ++i) {
    std::vector<BYTE> foreign(random() % 400);
    for (BYTE& b : foreign) b = static_cast<BYTE>(random());
    if (i % 2 == 0 && foreign.size() >= 8) std::copy(valid.begin(), valid.begin() + 8, foreign.begin());
    attempt(foreign, "foreign " + std::to_string(i));
  }
  std::printf("saved state: %zu bytes, %d refused, %d loaded\n", valid.size(), refused, loaded);

  // Property bags with values of the wrong kind, out of range, or no version.
  TPropertyBag good;
  IPersistPropertyBag* bagPersist = Query<IPersistPropertyBag>(target, IID_IPersistPropertyBag);
  ASSERT_EQ(bagPersist->Save(&good, FALSE, TRUE), S_OK);
  for (const auto& entry : good.Values) {
    for (int kind = 0; kind < 5; ++kind) {
      TPropertyBag bad;
      for (const auto& copy : good.Values) ::VariantCopy(&bad.Values[copy.first], const_cast<VARIANT*>(&copy.second));
      VARIANT& value = bad.Values[entry.first];
      ::VariantClear(&value);
      static const LONG numbers[] = {-1, 0x7FFFFFFF, static_cast<LONG>(0x80000000), 256};
      if (kind < 4) {
        value.vt = VT_I4;
        value.lVal = numbers[kind];
      } else {
        value.vt = VT_BSTR;
        value.bstrVal = ::SysAllocString(L"\xD800junk");
      }
      log.Write("bag " + Narrow(entry.first) + " kind " + std::to_string(kind));
      if (FAILED(bagPersist->Load(&bad, nullptr))) {
        EXPECT_EQ(SavedBytes(target), previous) << Narrow(entry.first) << " " << kind;
      } else {
        ASSERT_EQ(LoadBytes(target, previous), S_OK);
      }
    }
  }
  bagPersist->Release();
  EXPECT_EQ(target->Release(), 0u);
}

}  // namespace
}  // namespace skx::test
