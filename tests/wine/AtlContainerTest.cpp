// The control in the platform's own ATL container: in-place activation, painting on screen,
// and a saved state that brings the navigation buttons and the grid's menu.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include "GridHost.h"
#include "SkedraXControl_TLB/SkedraXControl_TLB.h"
#include "TestContainer.h"

namespace skx::test {
namespace {

using TAtlAxWinInit = BOOL(WINAPI*)();
using TAtlAxCreateControl = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**);
using TAtlAxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

void PumpFor(DWORD milliseconds) {
  DWORD end = ::GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
}

int ChildCount(HWND window) {
  int count = 0;
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) ++count;
  return count;
}

class AtlContainerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FAtl = ::LoadLibraryW(L"atl.dll");
    ASSERT_NE(FAtl, nullptr);
    auto init = reinterpret_cast<TAtlAxWinInit>(reinterpret_cast<void*>(::GetProcAddress(FAtl, "AtlAxWinInit")));
    FCreateControl = reinterpret_cast<TAtlAxCreateControl>(
        reinterpret_cast<void*>(::GetProcAddress(FAtl, "AtlAxCreateControl")));
    FGetControl =
        reinterpret_cast<TAtlAxGetControl>(reinterpret_cast<void*>(::GetProcAddress(FAtl, "AtlAxGetControl")));
    ASSERT_TRUE(init != nullptr && FCreateControl != nullptr && FGetControl != nullptr);
    init();  // a second call answers FALSE: the window class is registered already
  }
  void TearDown() override {
    if (FWindow != nullptr) ::DestroyWindow(FWindow);
    PumpFor(50);
  }

  // A child of the shared frame at the screen's top-left corner, so that a screenshot sees it.
  HWND NewHostWindow(const wchar_t* className, const wchar_t* text, int width, int height) {
    FWindow = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                                ContainerFrame(width, height), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    return FWindow;
  }
  // The control's own window inside the ATL host window.
  HWND GridWindow() const { return ::GetWindow(FWindow, GW_CHILD); }

  HMODULE FAtl = nullptr;
  TAtlAxCreateControl FCreateControl = nullptr;
  TAtlAxGetControl FGetControl = nullptr;
  HWND FWindow = nullptr;
};

TEST_F(AtlContainerTest, WindowClassHostActivatesInPlaceAndPaints) {
  ASSERT_NE(NewHostWindow(L"AtlAxWin", L"SkedraXControl.SkedraX", 400, 700), nullptr);
  PumpFor(300);
  HWND grid = GridWindow();
  ASSERT_NE(grid, nullptr);
  RECT rect{};
  ::GetClientRect(grid, &rect);
  EXPECT_GT(rect.right, 300);
  EXPECT_GT(rect.bottom, 600);
  EXPECT_EQ(ChildCount(grid), 0);  // made new: no buttons
  IUnknown* object = nullptr;
  ASSERT_EQ(FGetControl(FWindow, &object), S_OK);
  ISkedraX* control = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_ISkedraX, reinterpret_cast<void**>(&control)), S_OK);
  EXPECT_EQ(control->put_ActiveDate(PastDay), S_OK);
  control->Release();
  object->Release();
  PumpFor(100);

  // 8:00 is row 33 of 15-minute rows, 17 pixels each with its line; the day column starts at 50.
  TScreenshot shot = CaptureClient(grid);
  EXPECT_EQ(ColorText(shot.At(200, 33 * 17 + 8)), ColorText(0x0080FFFF));
  shot.Save(L"atl-container.bmp");
}

// A host that knows nothing of the control's events still lets the user drag a task: real mouse
// messages through the ATL window move it by whole slots, and Escape mid-drag keeps it.
TEST_F(AtlContainerTest, TheUserDragsATaskInTheHostsWindow) {
  ASSERT_NE(NewHostWindow(L"AtlAxWin", L"SkedraXControl.SkedraX", 400, 300), nullptr);
  PumpFor(300);
  HWND grid = GridWindow();
  ASSERT_NE(grid, nullptr);
  IUnknown* object = nullptr;
  ASSERT_EQ(FGetControl(FWindow, &object), S_OK);
  ISkedraX2* control = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_ISkedraX2, reinterpret_cast<void**>(&control)), S_OK);
  object->Release();
  EXPECT_EQ(control->put_ActiveDate(PastDay), S_OK);
  ITaskObject* task = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_TaskObjectX, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskObject,
                               reinterpret_cast<void**>(&task)),
            S_OK);
  task->put_StartDateTime(PastDay);
  task->put_FinishDateTime(PastDay + 1.0 / 48);
  EXPECT_EQ(control->AddTask(task), S_OK);
  EXPECT_EQ(control->Refresh(), S_OK);
  PumpFor(50);

  auto drag = [&](int dy, bool escape) {
    ::PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 42));
    for (int step = 1; step <= 4; ++step)
      ::PostMessageW(grid, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 42 + dy * step / 4));
    if (escape) ::PostMessageW(grid, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessageW(grid, WM_LBUTTONUP, 0, MAKELPARAM(80, 42 + dy));
    PumpFor(100);
  };
  double start = 0;
  drag(51, true);
  task->get_StartDateTime(&start);
  EXPECT_EQ(start, PastDay);
  drag(51, false);
  task->get_StartDateTime(&start);
  EXPECT_NEAR(start, PastDay + 45.0 / 1440, 1e-9);
  task->Release();
  control->Release();
}

TEST_F(AtlContainerTest, LoadedStateBringsButtonsAndMenu) {
  IUnknown* object = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_SkedraX, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
            S_OK);
  IPersistStreamInit* persist = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)), S_OK);
  IStream* stream = nullptr;
  ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  EXPECT_EQ(persist->Save(stream, TRUE), S_OK);
  persist->Release();
  object->Release();
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);

  ASSERT_NE(NewHostWindow(L"AtlAxWin", L"", 400, 300), nullptr);
  IUnknown* container = nullptr;
  EXPECT_EQ(FCreateControl(L"SkedraXControl.SkedraX", FWindow, stream, &container), S_OK);
  stream->Release();
  PumpFor(300);
  HWND grid = GridWindow();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(ChildCount(grid), 2);

  TMenuAnswer cancel(-1);
  LPARAM at = MAKELPARAM(100, 100);
  ::PostMessageW(grid, WM_RBUTTONDOWN, MK_RBUTTON, at);
  ::PostMessageW(grid, WM_RBUTTONUP, 0, at);
  PumpFor(300);
  ASSERT_TRUE(cancel.Answered());
  EXPECT_EQ(cancel.Items(), (std::vector<std::wstring>{L"New task..."}));
  if (container != nullptr) container->Release();
}

}  // namespace
}  // namespace skx::test
