// Long runs of adding, deleting, navigating, resizing and painting, and controls made and
// released many times, end with the windows, GDI objects and COM objects they started with.
// The control runs in-process so that the count of its GDI objects can be read.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "Framework/Com/ComServer.h"
#include "FuzzSupport.h"
#include "Framework/Win32/GdiObjects.h"
#include "SkedraImpl/SkedraX.h"
#include "SkedraImpl/TaskObjectX.h"
#include "TestContainer.h"
#include "WineTestUtil.h"

namespace skx::test {
namespace {

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

class ResourceStressTest : public TInProcessServerTest {
 protected:
  // An in-place active control in the site; the caller releases it with Destroy.
  TSkedraX* Activate() {
    auto* control = new TSkedraX(SkedraXFactory(), MakeTaskFormEditor);
    control->AddRef();
    IOleObject* object = nullptr;
    control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
    object->SetClientSite(&FSite);
    RECT pos{10, 10, 610, 410};
    EXPECT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &FSite, 0, FSite.Frame(), &pos), S_OK);
    object->Release();
    return control;
  }
  static void Destroy(TSkedraX* control) {
    IOleObject* object = nullptr;
    control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    object->Release();
    EXPECT_EQ(control->Release(), 0u);
    Pump();
  }
  static HWND WindowOf(TSkedraX* control) {
    IOleInPlaceObject* inPlace = nullptr;
    control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
    HWND window = nullptr;
    inPlace->GetWindow(&window);
    inPlace->Release();
    return window;
  }
  static void Resize(TSkedraX* control, int width, int height) {
    IOleInPlaceObject* inPlace = nullptr;
    control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
    RECT pos{10, 10, 10 + width, 10 + height};
    inPlace->SetObjectRects(&pos, &pos);
    inPlace->Release();
  }

  TTestSite FSite{600, 400};
};

TEST_F(ResourceStressTest, AddDeleteNavigateResizeAndPaintCyclesLeaveTheCountsAsTheyWere) {
  TSkedraX* control = Activate();
  ISkedraX* x = control;
  HWND grid = WindowOf(control);
  double today = 0;
  x->get_CurrentDate(&today);
  today = static_cast<double>(static_cast<long>(today));
  x->put_ActiveDate(today);
  Pump();
  int windowsBefore = DescendantWindows(FSite.Frame());
  int gdiBefore = LiveGdiObjects();
  // Each cycle makes and frees markers twice (navigation, and every other cycle the view), moves
  // them with the resize and paints everything; the markers are painted by the grid and take no
  // window.
  const int cycles = 2000;
  const ULONGLONG started = ::GetTickCount64();
  for (int i = 0; i < cycles; ++i) {
    ITaskObject* task = new TTaskObjectX(TaskObjectXFactory());
    task->AddRef();
    task->put_StartDateTime(today + 0.375 + (i % 5) / 24.0);
    task->put_FinishDateTime(today + 0.42 + (i % 5) / 24.0);
    x->AddTask(task);
    task->Release();
    x->put_ActiveDate(today + (i % 3 == 0 ? 1 : 0));
    if (i % 2 == 0) x->put_SkedraType(i % 4 == 0 ? ::skWeekly : ::skDaily);
    Resize(control, 300 + i % 300, 200 + i % 200);
    // The grid and every marker paint; the container's frame and the grid's scroll bars are the
    // system's to draw, and the resize has drawn them already.
    ::RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    long count = 0;
    x->get_Count(&count);
    if (count > 6) x->Delete(0);
    Pump();
  }
  const double msPerCycle = static_cast<double>(::GetTickCount64() - started) / cycles;
  int windowsPeak = DescendantWindows(FSite.Frame());
  long tasksAtPeak = 0;
  x->get_Count(&tasksAtPeak);
  EXPECT_GT(tasksAtPeak, 0);
  EXPECT_EQ(windowsPeak, windowsBefore);
  x->Clear();
  x->put_SkedraType(::skDaily);
  x->put_ActiveDate(today);
  Resize(control, 600, 400);
  Pump();
  int windowsAfter = DescendantWindows(FSite.Frame());
  int gdiAfter = LiveGdiObjects();
  std::printf("%d cycles, %.1f ms each: windows %d before, %d at the end of the run, %d after clearing; "
              "GDI objects %d before, %d after\n",
              cycles, msPerCycle, windowsBefore, windowsPeak, windowsAfter, gdiBefore, gdiAfter);
  EXPECT_EQ(windowsAfter, windowsBefore);
  EXPECT_EQ(gdiAfter, gdiBefore);
  Destroy(control);
}

TEST_F(ResourceStressTest, AThousandControlsMadeAndReleasedLeaveTheProcessAsItWas) {
  LONG objectsBefore = TComServer::Instance().ObjectCount();
  int windowsBefore = DescendantWindows(FSite.Frame());
  int gdiBefore = LiveGdiObjects();
  for (int i = 0; i < 1000; ++i) {
    if (i % 20 == 0) {
      Destroy(Activate());
    } else {
      auto* control = new TSkedraX(SkedraXFactory(), MakeTaskFormEditor);
      control->AddRef();
      EXPECT_EQ(control->Release(), 0u);
    }
  }
  Pump();
  std::printf("1000 controls: objects %ld -> %ld, windows %d -> %d, GDI objects %d -> %d\n",
              static_cast<long>(objectsBefore), static_cast<long>(TComServer::Instance().ObjectCount()),
              windowsBefore, DescendantWindows(FSite.Frame()), gdiBefore, LiveGdiObjects());
  EXPECT_EQ(TComServer::Instance().ObjectCount(), objectsBefore);
  EXPECT_EQ(DescendantWindows(FSite.Frame()), windowsBefore);
  EXPECT_EQ(LiveGdiObjects(), gdiBefore);
  EXPECT_TRUE(TComServer::Instance().CanUnload());
}

}  // namespace
}  // namespace skx::test
