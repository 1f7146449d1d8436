// A schedule grid in a window of its own, with real input and screenshots, for the
// Windows-side tests of the window layer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Framework/Core/DateTime.h"
#include "RxObjects/RxTaskObject.h"
#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"

namespace skx::test {

// Pixels of a captured area, top row first; each pixel as red, green and blue in one TColor.
class TScreenshot {
 public:
  TScreenshot(int width, int height, std::vector<std::uint32_t> pixels)
      : FWidth(width), FHeight(height), FPixels(std::move(pixels)) {}
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TColor At(int x, int y) const;
  // A 24-bit .bmp file.
  void Save(const std::wstring& path) const;

 private:
  int FWidth;
  int FHeight;
  std::vector<std::uint32_t> FPixels;
};

// Copies a window's client area from the screen, child windows included.
TScreenshot CaptureClient(HWND window);

std::wstring ColorText(TColor color);

// What a control whose pictures are compared pixel for pixel shows instead of today, across which
// the line of the current time would stand wherever the clock says: Monday 1 January 2001.
constexpr double PastDay = 36892.0;

// The grid fills a popup frame window at the screen's top-left corner; it has its menu and its
// navigation buttons and shows the daily view of Monday 7 December 2026.
class TGridHost {
 public:
  TGridHost(int width, int height);
  ~TGridHost();
  TGridHost(const TGridHost&) = delete;
  TGridHost& operator=(const TGridHost&) = delete;

  TSkedra& Grid() { return *FGrid; }
  HWND Frame() const { return FFrame; }
  HWND GridWindow() const;
  static HWND WindowOf(const TWinControl& control);

  // A task of the shown active date's day, from one time of day to another; markers are placed.
  TRxTaskObject& AddTask(int id, TDateTime start, TDateTime finish, const String& description);
  TTaskItem& Item(int index) { return Grid().TaskItems().Items(index); }
  TPointControl& Marker(int item, int index = 0) { return *Item(item).Points().at(index); }
  // The marker's bounds in the grid's client coordinates, as the grid paints and hit-tests it.
  RECT MarkerRect(int item, int index = 0);
  // A press and release on the grid at client coordinates of the marker.
  void ClickMarker(const TPointControl& marker, int x, int y, bool right = false);

  // Dispatches what is waiting and paints every window that needs it.
  void Pump();
  // Paints every window again, after task fields changed (which repaints nothing by itself).
  void Repaint();
  // A press and release at client coordinates of the window, posted and dispatched.
  void Click(HWND window, int x, int y, bool right = false);
  int WindowCount() const;

 private:
  HWND FFrame = nullptr;
  TFixedClock FClock;
  std::unique_ptr<TSkedra> FGrid;
};

// Answers the next popup menu from a timer: reads its item texts ("-" for a separator), then
// chooses the item at `choose` (counting separators), or cancels it when `choose` is -1.
class TMenuAnswer {
 public:
  explicit TMenuAnswer(int choose);
  ~TMenuAnswer();
  TMenuAnswer(const TMenuAnswer&) = delete;
  TMenuAnswer& operator=(const TMenuAnswer&) = delete;
  const std::vector<std::wstring>& Items() const;
  bool Answered() const;
  // The screen position of the menu's top-left corner.
  POINT At() const;
};

}  // namespace skx::test
