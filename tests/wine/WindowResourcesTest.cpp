// What the window layer holds: no GDI object or window left behind, the fonts asked for, the
// bitmaps from the resources, and failures shown instead of thrown into the system.
#include <windows.h>

#include <gtest/gtest.h>

#include "Bitmaps/Bitmaps.h"
#include "Framework/Core/Exceptions.h"
#include "Framework/Win32/ErrorReport.h"
#include "Framework/Win32/GdiCanvas.h"
#include "Framework/Win32/GdiObjects.h"
#include "Framework/Win32/Module.h"
#include "Framework/Win32/ResourceBitmaps.h"
#include "GridHost.h"

namespace skx::test {
namespace {

TDateTime At(int hour, int minute) { return EncodeTime(hour, minute, 0, 0); }

std::wstring FaceOf(const TFont& font) {
  LOGFONTW log = ToLogFont(font);
  HFONT handle = ::CreateFontIndirectW(&log);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, handle);
  wchar_t face[LF_FACESIZE] = L"";
  ::GetTextFaceW(dc, LF_FACESIZE, face);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(handle);
  return face;
}

TEST(WindowResources, StressLeavesNoGdiObjectOrWindowBehind) {
  TGridHost host(640, 480);
  TSkedra& grid = host.Grid();
  HWND gridWindow = host.GridWindow();
  int windows = host.WindowCount();
  int objects = LiveGdiObjects();
  for (int round = 0; round < 20; ++round) {
    for (int i = 0; i < 3; ++i) {
      TRxTaskObject& task = host.AddTask(100 + i, At(8 + i, 0), At(9 + i, 30), L"Task & more");
      task.FWhere = L"Here";
      task.FRemind = i;
      task.FStatus = static_cast<TTaskStatus>(i);
    }
    EXPECT_EQ(host.WindowCount(), windows);
    ::SendMessageW(gridWindow, WM_VSCROLL, SB_PAGEDOWN, 0);
    host.ClickMarker(host.Marker(0), 5, 5);
    ::SendMessageW(gridWindow, WM_VSCROLL, SB_TOP, 0);
    ::SetWindowPos(gridWindow, nullptr, 0, 0, 500 + round * 5, 400, SWP_NOZORDER | SWP_NOMOVE);
    host.Click(TGridHost::WindowOf(*grid.NextButton()), 6, 6);
    grid.SetSkedraType(round % 2 ? skDaily : skWeekly);
    host.Click(TGridHost::WindowOf(*grid.PrevButton()), 6, 6);
    host.Pump();
    for (int i = 0; i < 3; ++i) grid.TaskItems().Delete(100 + i);
    host.Pump();
  }
  ::SetWindowPos(gridWindow, nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOMOVE);
  host.Pump();
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  EXPECT_EQ(host.WindowCount(), windows);
  EXPECT_EQ(LiveGdiObjects(), objects);
}

TEST(WindowResources, AGridFreedTakesItsWindowsAlong) {
  // A first grid fills the process's caches (the button glyphs).
  TGridHost(400, 300).Pump();
  int objects = LiveGdiObjects();
  HWND gridWindow = nullptr;
  {
    TGridHost host(400, 300);
    host.AddTask(1, At(0, 0), At(1, 0), L"One");
    gridWindow = host.GridWindow();
    EXPECT_EQ(host.WindowCount(), 3);  // grid and two buttons: the marker has no window
  }
  EXPECT_FALSE(::IsWindow(gridWindow));
  EXPECT_EQ(LiveGdiObjects(), objects);
}

TEST(WindowResources, TheCanvasDeletesWhatItMakes) {
  int objects = LiveGdiObjects();
  HDC screen = ::GetDC(nullptr);
  {
    TMemoryDC dc(screen);
    TGdiCanvas canvas(dc.Get());
    for (int width = 1; width < 5; ++width) {
      canvas.SetPenWidth(width);
      canvas.SetPenGeometric(width % 2 == 0);
      canvas.LineTo(width, 10);
      canvas.SetBrushColor(clHighlight);
      canvas.FillRect(TRect{0, 0, 1, 1});
      canvas.SetBrushColor(static_cast<TColor>(width));
      canvas.FillRect(TRect{0, 0, width, width});
      canvas.SetFontStyle(width % 2 ? TFontStyles{fsBold} : TFontStyles{fsItalic});
      TRect rect{0, 0, 50, 20};
      canvas.DrawTextInRect(L"Text", rect, dtSingleLine);
      canvas.Draw(0, 0, TaskBitmap(tbHome));
    }
    EXPECT_GT(LiveGdiObjects(), objects);
  }
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(LiveGdiObjects(), objects);
}

TEST(WindowResources, TheFontsAskedForAreTheFontsUsed) {
  TFont grid;
  EXPECT_EQ(FaceOf(grid), L"MS Sans Serif");
  grid.Style = {fsBold};
  EXPECT_EQ(FaceOf(grid), L"MS Sans Serif");
  TFont small;
  small.Name = L"Small Fonts";
  small.SetSize(7);
  EXPECT_EQ(FaceOf(small), L"Small Fonts");
}

TEST(WindowResources, BitmapsComeFromTheModulesResources) {
  for (TTaskBitmap which : {tbTask, tbHandshak, tbEvent, tbHome, tbRemind, tbPrivate}) {
    EXPECT_EQ(TaskBitmap(which).Width(), 16) << TaskBitmapNames[which];
    EXPECT_EQ(TaskBitmap(which).Height(), 16) << TaskBitmapNames[which];
  }
  for (TTaskBitmap which : {tbLow, tbNormal, tbHigh}) {
    EXPECT_EQ(TaskBitmap(which).Width(), 8) << TaskBitmapNames[which];
    EXPECT_EQ(TaskBitmap(which).Height(), 16) << TaskBitmapNames[which];
  }
  for (const wchar_t* glyph : {L"PREVBUTTON", L"NEXTBUTTON"}) {
    BITMAP info{};
    ASSERT_NE(ResourceBitmap(glyph), nullptr) << glyph;
    ::GetObjectW(ResourceBitmap(glyph), sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 10);
    EXPECT_EQ(info.bmHeight, 10);
  }
  EXPECT_EQ(ResourceBitmap(L"NO_SUCH_BITMAP"), nullptr);
}

TEST(WindowResources, ShuttingTheLayerDownFreesEveryObjectItCounted) {
  TGridHost(400, 300).Pump();
  EXPECT_NE(ResourceBitmap(L"NEXTBUTTON"), nullptr);
  ShutdownWin32Layer();
  EXPECT_EQ(LiveGdiObjects(), 0);
  EXPECT_TRUE(TaskBitmap(tbHome).Empty());
  InitializeWin32Layer();
  EXPECT_EQ(TaskBitmap(tbHome).Width(), 16);
}

TEST(WindowResources, AFailingHandlerIsShownAndTheGridGoesOn) {
  std::vector<String> shown;
  SetErrorReporter([&](const String& message) { shown.push_back(message); });
  {
    TGridHost host(400, 300);
    host.AddTask(1, At(0, 0), At(1, 0), L"One");
    host.Grid().OnSelectTask = [](TComponent*, TTaskObject*) { throw EInvalidOperation(L"Handler failed"); };
    TWeakRef<TPointControl> marker(&host.Marker(0));
    host.ClickMarker(*marker.Get(), 5, 5);
    host.ClickMarker(*marker.Get(), 5, 5);
    EXPECT_EQ(shown, (std::vector<String>{L"Handler failed", L"Handler failed"}));
    ASSERT_FALSE(marker.Expired());
    host.Grid().OnSelectTask = nullptr;
    host.ClickMarker(*marker.Get(), 5, 5);
    EXPECT_EQ(host.Grid().SelectedItem(), &host.Item(0));
  }
  SetErrorReporter(nullptr);
}

}  // namespace
}  // namespace skx::test
