// The hosted control as a screen reader sees it through the platform's accessibility: the tree,
// the events of the selection, the default action, and an object that outlives its control.
#include <windows.h>
#include <oleacc.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogScript.h"
#include "SkedraXControl_TLB/SkedraXControl_TLB.h"
#include "TestContainer.h"

namespace skx::test {
namespace {

VARIANT Child(long id) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

std::wstring NameOf(IAccessible* object, long id) {
  BSTR name = nullptr;
  if (object->get_accName(Child(id), &name) != S_OK) return L"<none>";
  std::wstring text(name);
  ::SysFreeString(name);
  return text;
}

long LongOf(IAccessible* object, long id, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
  VARIANT value;
  ::VariantInit(&value);
  if ((object->*get)(Child(id), &value) != S_OK || value.vt != VT_I4) return -1;
  return value.lVal;
}

// The platform's own long date and short time of 9 December 2026 at a time of day.
std::wstring SystemDay() {
  SYSTEMTIME day{2026, 12, 3, 9, 0, 0, 0, 0};
  wchar_t text[80];
  ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &day, nullptr, text, 80);
  return text;
}

std::wstring SystemTime(WORD hour, WORD minute) {
  SYSTEMTIME time{2026, 12, 3, 9, hour, minute, 0, 0};
  wchar_t text[40];
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, text, 40);
  return text;
}

struct TWinEvent {
  DWORD Event;
  LONG Child;
  std::wstring Name;  // of the object the event names, read when it arrived
};

// What an out-of-context listener heard of one window, as a screen reader hears it.
class TWinEventLog {
 public:
  explicit TWinEventLog(HWND window) : FWindow(window) {
    Current = this;
    FHook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTIONREMOVE, nullptr, &TWinEventLog::Heard,
                              ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  }
  ~TWinEventLog() {
    ::UnhookWinEvent(FHook);
    Current = nullptr;
  }
  TWinEventLog(const TWinEventLog&) = delete;
  TWinEventLog& operator=(const TWinEventLog&) = delete;

  bool Hooked() const { return FHook != nullptr; }
  // Pumps until the count of events is reached, or a few seconds passed.
  const std::vector<TWinEvent>& WaitFor(size_t count) {
    WaitUntil([&] {
      PumpMessages();
      return Events.size() >= count;
    });
    return Events;
  }
  std::vector<TWinEvent> Events;

 private:
  static void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (Current == nullptr || window != Current->FWindow || object != OBJID_CLIENT) return;
    IAccessible* source = nullptr;
    VARIANT id;
    ::VariantInit(&id);
    std::wstring name = L"<none>";
    if (::AccessibleObjectFromEvent(window, object, child, &source, &id) == S_OK) {
      name = NameOf(source, id.lVal);
      source->Release();
    }
    Current->Events.push_back({event, child, name});
  }

  static TWinEventLog* Current;
  HWND FWindow;
  HWINEVENTHOOK FHook = nullptr;
};
TWinEventLog* TWinEventLog::Current = nullptr;

class AccessibilityTest : public ::testing::Test {
 protected:
  // The daily view of Wednesday 9 December 2026 at 30 minutes a row, in place in the site's
  // frame: a stand-up at one, a review at two and a late call out of view.
  void SetUp() override {
    ASSERT_EQ(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                 reinterpret_cast<void**>(&FObject)),
              S_OK);
    QACONTROL quick{};
    ASSERT_EQ(QuickActivate(FObject, FSite, &FSink, quick), S_OK);
    RECT place{10, 10, 410, 310};
    ASSERT_EQ(FObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &FSite, 0, FSite.Frame(), &place), S_OK);
    IOleWindow* window = nullptr;
    ASSERT_EQ(FObject->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)), S_OK);
    window->GetWindow(&FWindow);
    window->Release();
    ASSERT_EQ(FObject->QueryInterface(IID_ISkedraX, reinterpret_cast<void**>(&FControl)), S_OK);
    FControl->put_TimeScale(30);
    AddTask(2.0, 2.0, L"Design review", L"Room 1.02", ::tpHigh);
    AddTask(1.0, 1.0, L"Stand-up", L"", ::tpNormal);
    AddTask(20.0, 20.5, L"Late call", L"", ::tpLow);
    FControl->put_ActiveDate(Wednesday);
    PumpMessages();
    ASSERT_EQ(::AccessibleObjectFromWindow(FWindow, OBJID_CLIENT, __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&FAccessible)),
              S_OK);
  }
  void TearDown() override {
    if (FAccessible != nullptr) FAccessible->Release();
    ReleaseControl();
  }

  void AddTask(double startHour, double finishHour, const wchar_t* description, const wchar_t* where,
               ITaskPriority priority) {
    ITaskObject* task = nullptr;
    ASSERT_EQ(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                                 reinterpret_cast<void**>(&task)),
              S_OK);
    task->put_StartDateTime(Wednesday + startHour / 24);
    task->put_FinishDateTime(Wednesday + finishHour / 24);
    BSTR text = ::SysAllocString(description);
    task->put_Description(text);
    ::SysFreeString(text);
    text = ::SysAllocString(where);
    task->put_Where(text);
    ::SysFreeString(text);
    task->put_Priority(priority);
    EXPECT_EQ(FControl->AddTask(task), S_OK);
    task->Release();
  }

  void ReleaseControl() {
    if (FControl != nullptr) FControl->Release();
    FControl = nullptr;
    if (FObject == nullptr) return;
    FObject->Close(OLECLOSE_NOSAVE);
    FObject->SetClientSite(nullptr);
    EXPECT_EQ(FObject->Release(), 0u);
    FObject = nullptr;
  }

  RECT Location(long id) {
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(FAccessible->accLocation(&left, &top, &width, &height, Child(id)), S_OK);
    return RECT{left, top, left + width, top + height};
  }

  // A press and release at a screen point, posted to the window of the grid under it.
  void ClickAt(POINT screen) {
    POINT client = screen;
    ::ScreenToClient(FWindow, &client);
    HWND target = ::ChildWindowFromPointEx(FWindow, client, CWP_SKIPINVISIBLE);
    ::MapWindowPoints(FWindow, target, &client, 1);
    ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    ::PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    PumpMessages();
  }

  static constexpr double Wednesday = 46365.0;
  static constexpr long ReviewChild = 3;
  TTestSite FSite{400, 300};
  TEventSink FSink;
  IOleObject* FObject = nullptr;
  ISkedraX* FControl = nullptr;
  HWND FWindow = nullptr;
  IAccessible* FAccessible = nullptr;
};

TEST_F(AccessibilityTest, TheGridIsATableOfTheDayTheTasksByStartAndTheTimeSlots) {
  EXPECT_EQ(LongOf(FAccessible, CHILDID_SELF, &IAccessible::get_accRole), ROLE_SYSTEM_TABLE);
  EXPECT_EQ(NameOf(FAccessible, CHILDID_SELF), L"Schedule");
  long count = 0;
  ASSERT_EQ(FAccessible->get_accChildCount(&count), S_OK);
  ASSERT_EQ(count, 1 + 3 + 48);
  std::vector<VARIANT> children(count);
  long got = 0;
  ASSERT_EQ(::AccessibleChildren(FAccessible, 0, count, children.data(), &got), S_OK);
  ASSERT_EQ(got, count);
  for (long i = 0; i < count; ++i) {
    EXPECT_EQ(children[i].vt, VT_I4);
    EXPECT_EQ(children[i].lVal, i + 1);
  }

  const std::wstring day = SystemDay();
  EXPECT_EQ(LongOf(FAccessible, 1, &IAccessible::get_accRole), ROLE_SYSTEM_COLUMNHEADER);
  EXPECT_EQ(NameOf(FAccessible, 1), day);
  EXPECT_EQ(NameOf(FAccessible, 2), L"Stand-up, " + day + L", " + SystemTime(1, 0) + L" to " + SystemTime(1, 30));
  EXPECT_EQ(NameOf(FAccessible, ReviewChild), L"Design review, " + day + L", " + SystemTime(2, 0) + L" to " +
                                                  SystemTime(2, 30) + L", Room 1.02, high priority");
  EXPECT_EQ(LongOf(FAccessible, ReviewChild, &IAccessible::get_accRole), ROLE_SYSTEM_LISTITEM);
  EXPECT_EQ(LongOf(FAccessible, ReviewChild, &IAccessible::get_accState),
            STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE);
  EXPECT_EQ(NameOf(FAccessible, 4), L"Late call, " + day + L", " + SystemTime(20, 0) + L" to " +
                                        SystemTime(21, 0) + L", low priority");
  EXPECT_EQ(LongOf(FAccessible, 4, &IAccessible::get_accState),
            STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_OFFSCREEN);
  EXPECT_EQ(NameOf(FAccessible, 5), SystemTime(0, 0) + L" to " + SystemTime(0, 30));
  EXPECT_EQ(NameOf(FAccessible, count), SystemTime(23, 30) + L" to " + SystemTime(0, 0));
  EXPECT_EQ(LongOf(FAccessible, 5, &IAccessible::get_accRole), ROLE_SYSTEM_ROW);
  EXPECT_EQ(LongOf(FAccessible, 5, &IAccessible::get_accState) & STATE_SYSTEM_READONLY, STATE_SYSTEM_READONLY);

  BSTR action = nullptr;
  ASSERT_EQ(FAccessible->get_accDefaultAction(Child(ReviewChild), &action), S_OK);
  EXPECT_STREQ(action, L"Update...");
  ::SysFreeString(action);
  EXPECT_EQ(FAccessible->get_accDefaultAction(Child(CHILDID_SELF), &action), S_FALSE);
  EXPECT_EQ(FAccessible->get_accName(Child(count + 1), &action), E_INVALIDARG);
  EXPECT_EQ(action, nullptr);

  HWND window = nullptr;
  EXPECT_EQ(::WindowFromAccessibleObject(FAccessible, &window), S_OK);
  EXPECT_EQ(window, FWindow);
  IDispatch* parent = nullptr;
  EXPECT_EQ(FAccessible->get_accParent(&parent), S_OK);
  ASSERT_NE(parent, nullptr);
  parent->Release();
}

// A press at the centre of the place the tree gives a task selects that task.
TEST_F(AccessibilityTest, ATaskIsWhereItsMarkerIsAndAPressThereSelectsAndFocusesIt) {
  RECT grid{};
  ::GetWindowRect(FWindow, &grid);
  RECT review = Location(ReviewChild);
  EXPECT_GT(review.right - review.left, 0);
  EXPECT_GT(review.bottom - review.top, 0);
  EXPECT_GE(review.left, grid.left + 50);
  EXPECT_LE(review.right, grid.right);
  POINT centre{(review.left + review.right) / 2, (review.top + review.bottom) / 2};
  VARIANT hit;
  ASSERT_EQ(FAccessible->accHitTest(centre.x, centre.y, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, ReviewChild);

  ::SetFocus(FWindow);
  PumpMessages();
  ASSERT_EQ(::GetFocus(), FWindow);
  TWinEventLog log(FWindow);
  ASSERT_TRUE(log.Hooked());
  ClickAt(centre);
  ASSERT_EQ(FSink.Events.size(), 1u);
  EXPECT_EQ(FSink.Events[0], (TEventRecord{SkedraXEventsDispId::OnSelectTask, 0}));
  const std::vector<TWinEvent>& heard = log.WaitFor(2);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].Event, static_cast<DWORD>(EVENT_OBJECT_FOCUS));
  EXPECT_EQ(heard[0].Child, ReviewChild);
  EXPECT_EQ(heard[1].Event, static_cast<DWORD>(EVENT_OBJECT_SELECTION));
  EXPECT_EQ(heard[1].Child, ReviewChild);
  EXPECT_EQ(heard[1].Name, NameOf(FAccessible, ReviewChild));
  EXPECT_EQ(LongOf(FAccessible, ReviewChild, &IAccessible::get_accState),
            STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
  VARIANT focus;
  ASSERT_EQ(FAccessible->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.lVal, ReviewChild);
  VARIANT selection;
  ASSERT_EQ(FAccessible->get_accSelection(&selection), S_OK);
  EXPECT_EQ(selection.lVal, ReviewChild);

  // A press beside the task unselects it and leaves the focus on the current cell's slot,
  // which the keys move on.
  log.Events.clear();
  ClickAt(POINT{grid.left + 10, centre.y});
  log.WaitFor(2);
  ASSERT_EQ(log.Events.size(), 2u);
  EXPECT_EQ(log.Events[0].Event, static_cast<DWORD>(EVENT_OBJECT_SELECTIONREMOVE));
  EXPECT_EQ(log.Events[0].Child, ReviewChild);
  EXPECT_EQ(FAccessible->get_accSelection(&selection), S_FALSE);
  EXPECT_EQ(selection.vt, VT_EMPTY);
  ASSERT_EQ(FAccessible->get_accFocus(&focus), S_OK);
  const long slot = focus.lVal;
  EXPECT_EQ(LongOf(FAccessible, slot, &IAccessible::get_accRole), ROLE_SYSTEM_ROW);
  EXPECT_EQ(log.Events[1].Event, static_cast<DWORD>(EVENT_OBJECT_FOCUS));
  EXPECT_EQ(log.Events[1].Child, slot);
  log.Events.clear();
  ::PostMessageW(FWindow, WM_KEYDOWN, VK_DOWN, 0);
  ASSERT_EQ(log.WaitFor(1).size(), 1u);
  EXPECT_EQ(log.Events[0].Event, static_cast<DWORD>(EVENT_OBJECT_FOCUS));
  EXPECT_EQ(log.Events[0].Child, slot + 1);
  EXPECT_EQ(log.Events[0].Name, NameOf(FAccessible, slot + 1));
  BSTR day = nullptr;
  ASSERT_EQ(FAccessible->get_accValue(Child(slot + 1), &day), S_OK);
  EXPECT_EQ(std::wstring(day), SystemDay());
  ::SysFreeString(day);

  // The control's own change: Clear frees the selected task, so the focus alone is told.
  ClickAt(centre);
  log.WaitFor(2);
  log.Events.clear();
  EXPECT_EQ(FControl->Clear(), S_OK);
  ASSERT_EQ(log.WaitFor(1).size(), 1u);
  EXPECT_EQ(log.Events[0].Event, static_cast<DWORD>(EVENT_OBJECT_FOCUS));
  ASSERT_EQ(FAccessible->get_accFocus(&focus), S_OK);
  EXPECT_EQ(log.Events[0].Child, focus.lVal);
  EXPECT_EQ(LongOf(FAccessible, focus.lVal, &IAccessible::get_accRole), ROLE_SYSTEM_ROW);
}

// The dialog comes up from the control's own message dispatch, after the caller was answered.
TEST_F(AccessibilityTest, TheDefaultActionOpensTheTaskDialogOnceTheCallHasReturned) {
  DWORD thread = ::GetCurrentThreadId();
  bool shownDuringCall = true;
  HRESULT result = RunScripted(
      [&] {
        HWND form = WaitForWindow(thread, L"Task");
        if (form != nullptr) ::PostMessageW(form, WM_COMMAND, IDOK, 0);
      },
      [&] {
        HRESULT hr = FAccessible->accDoDefaultAction(Child(ReviewChild));
        shownDuringCall = !FSink.Events.empty();
        WaitUntil([&] {
          PumpMessages();
          return !FSink.Events.empty();
        });
        return hr;
      });
  EXPECT_EQ(result, S_OK);
  EXPECT_FALSE(shownDuringCall);
  ASSERT_EQ(FSink.Events.size(), 1u);
  EXPECT_EQ(FSink.Events[0], (TEventRecord{SkedraXEventsDispId::OnUpdateTask, 0}));
  EXPECT_EQ(FAccessible->accDoDefaultAction(Child(1)), DISP_E_MEMBERNOTFOUND);
}

TEST_F(AccessibilityTest, AnObjectHeldAfterTheControlWentFailsAndKeepsTheLibraryUntilReleased) {
  ReleaseControl();
  long count = -1;
  EXPECT_EQ(FAccessible->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(count, 0);
  BSTR name = nullptr;
  EXPECT_EQ(FAccessible->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(FAccessible->accDoDefaultAction(Child(ReviewChild)), CO_E_OBJNOTCONNECTED);
  long left = 1, top = 1, width = 1, height = 1;
  EXPECT_EQ(FAccessible->accLocation(&left, &top, &width, &height, Child(CHILDID_SELF)), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(ControlCanUnloadNow(), S_FALSE);
  FAccessible->Release();
  FAccessible = nullptr;
  EXPECT_EQ(ControlCanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace skx::test
