// The grid's window at 96, 144 and 192 pixels per inch, each set in the prefix for a process of
// its own, and a window told of a new density (WM_DPICHANGED) laying the grid out again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "Framework/Win32/GdiCanvas.h"
#include "Framework/Win32/Win32Types.h"
#include "Framework/Win32/WindowPeer.h"
#include "GridHost.h"
#include "TaskFrm/Win32/TaskForm.h"
#include "WineTestUtil.h"

namespace skx::test {
namespace {

constexpr const wchar_t* DesktopKey = L"Control Panel\\Desktop";
constexpr const char* MeasureVariable = "SKX_DPI_MEASURE";
constexpr const wchar_t* MeasureVariableW = L"SKX_DPI_MEASURE";
constexpr UINT DpiChangedMessage = 0x02E0;
constexpr UINT DpiChangedAfterParentMessage = 0x02E3;

// What a grid measures in its window: its density, the 8:00 row's top, the marker of an 8:00 to
// 9:30 task, and the character height of the headings' font as the screen realises it; and the
// task dialog's client width and the left edge of its OK button.
struct TMeasure {
  int Dpi = 0;
  int EightTop = 0;
  RECT Marker{};
  int TextHeight = 0;
  int FormWidth = 0;
  int OkLeft = 0;
};

// The system's density is read once per process: each density needs a process of its own, and
// the setting is put back whatever happens.
class TLogPixels {
 public:
  TLogPixels() {
    DWORD size = sizeof(FSaved);
    FHadValue = ::RegGetValueW(HKEY_CURRENT_USER, DesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                               &FSaved, &size) == ERROR_SUCCESS;
  }
  ~TLogPixels() {
    if (FHadValue)
      Set(FSaved);
    else
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, DesktopKey, L"LogPixels");
  }
  TLogPixels(const TLogPixels&) = delete;
  TLogPixels& operator=(const TLogPixels&) = delete;

  static void Set(DWORD dpi) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, DesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi)),
              ERROR_SUCCESS);
  }

 private:
  DWORD FSaved = 0;
  bool FHadValue = false;
};

// Runs this program's measuring case in a new process, which writes its figures to a file.
TMeasure MeasureInChild(int dpi) {
  wchar_t program[MAX_PATH];
  ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::wstring file = ProgramFolder() + L"\\dpi-" + std::to_wstring(dpi) + L".txt";
  ::DeleteFileW(file.c_str());
  ::SetEnvironmentVariableW(MeasureVariableW, file.c_str());
  std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=DpiChild.*";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &process);
  ::SetEnvironmentVariableW(MeasureVariableW, nullptr);
  TMeasure measure;
  EXPECT_TRUE(started);
  if (!started) return measure;
  EXPECT_EQ(::WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  EXPECT_EQ(exitCode, 0u) << "the child at " << dpi << " failed";
  FILE* in = _wfopen(file.c_str(), L"r");
  EXPECT_TRUE(in != nullptr && std::fscanf(in, "%d %d %ld %ld %ld %ld %d %d %d", &measure.Dpi, &measure.EightTop,
                                           &measure.Marker.left, &measure.Marker.top, &measure.Marker.right,
                                           &measure.Marker.bottom, &measure.TextHeight, &measure.FormWidth,
                                           &measure.OkLeft) == 9)
      << "no figures from the child at " << dpi;
  if (in != nullptr) std::fclose(in);
  ::DeleteFileW(file.c_str());
  return measure;
}

TMeasure Measure(TGridHost& host) {
  TSkedra& grid = host.Grid();
  const TDateTime day = DateOf(grid.ActiveDate());
  TMeasure measure;
  measure.Dpi = grid.Scale().Dpi();
  measure.EightTop = grid.CellRect(2, grid.DateTimeToCell(day + EncodeTime(8, 0, 0, 0)).Row).Top;
  if (grid.TaskItems().Count() == 0) host.AddTask(1, EncodeTime(8, 0, 0, 0), EncodeTime(9, 30, 0, 0), L"Call");
  grid.TaskItems().Arrange();
  host.Pump();
  measure.Marker = host.MarkerRect(0);
  HDC dc = ::GetDC(host.GridWindow());
  {
    TGdiCanvas canvas(dc);
    canvas.SetScale(grid.Scale());
    canvas.SetFont(grid.Font());
    measure.TextHeight = canvas.TextHeight(L"8");
  }
  ::ReleaseDC(host.GridWindow(), dc);
  return measure;
}

// A length at a density against the same length at 96, within a pixel.
void ExpectScaled(int base, int scaled, int dpi, const char* what) {
  const double expected = base * dpi / 96.0;
  EXPECT_LE(std::abs(scaled - expected), 1.0) << what << " at " << dpi << ": " << scaled << " for " << base;
}

void ExpectScaled(const TMeasure& base, const TMeasure& scaled, bool withText) {
  ExpectScaled(base.EightTop, scaled.EightTop, scaled.Dpi, "8:00 row's top");
  ExpectScaled(base.Marker.left, scaled.Marker.left, scaled.Dpi, "marker's left");
  ExpectScaled(base.Marker.top, scaled.Marker.top, scaled.Dpi, "marker's top");
  ExpectScaled(base.Marker.right, scaled.Marker.right, scaled.Dpi, "marker's right");
  ExpectScaled(base.Marker.bottom, scaled.Marker.bottom, scaled.Dpi, "marker's bottom");
  if (!withText) return;
  ExpectScaled(base.TextHeight, scaled.TextHeight, scaled.Dpi, "text height");
  ExpectScaled(base.FormWidth, scaled.FormWidth, scaled.Dpi, "task dialog's width");
  ExpectScaled(base.OkLeft, scaled.OkLeft, scaled.Dpi, "task dialog's OK button");
}

// A grid whose client area is 580 x 980 base pixels (the frame and the scroll bar are the
// system's) in a program that declares itself aware of the system's density, as the hosts that
// show the control sharp do.
TEST(DpiChild, MeasureTheGridAtTheSystemsDensity) {
  const char* file = std::getenv(MeasureVariable);
  if (file == nullptr) GTEST_SKIP() << "run by DpiScale in a process of its own";
  ::SetProcessDPIAware();
  const TScale scale(WindowPixelsPerInch(nullptr));
  TGridHost host(scale.Of(600), scale.Of(1000));
  TSkedra& grid = host.Grid();
  grid.SetBounds(0, 0, scale.Of(580) + grid.Width() - grid.ClientWidth(),
                 scale.Of(980) + grid.Height() - grid.ClientHeight());
  host.Pump();
  TMeasure measure = Measure(host);
  {
    TTaskForm form;
    RECT client{};
    ::GetClientRect(form.Handle(), &client);
    measure.FormWidth = client.right;
    RECT ok{};
    HWND button = ::GetDlgItem(form.Handle(), idOKBtn);
    ::GetWindowRect(button, &ok);
    ::MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&ok), 2);
    measure.OkLeft = ok.left;
  }
  FILE* out = std::fopen(file, "w");
  ASSERT_NE(out, nullptr);
  std::fprintf(out, "%d %d %ld %ld %ld %ld %d %d %d\n", measure.Dpi, measure.EightTop, measure.Marker.left,
               measure.Marker.top, measure.Marker.right, measure.Marker.bottom, measure.TextHeight, measure.FormWidth,
               measure.OkLeft);
  std::fclose(out);
}

TEST(DpiScale, RowsMarkersAndTextGrowByOneAndAHalfAndByTwo) {
  std::map<int, TMeasure> measures;
  {
    TLogPixels saved;
    // 96 last: Wine rebuilds its font settings for the density a process starts with, and the
    // suites after this one find them as they were.
    for (int dpi : {144, 192, 96}) {
      TLogPixels::Set(static_cast<DWORD>(dpi));
      measures[dpi] = MeasureInChild(dpi);
    }
  }
  const TMeasure& base = measures[96];
  ASSERT_EQ(base.Dpi, 96);
  EXPECT_EQ(base.FormWidth, 477);
  EXPECT_GT(base.OkLeft, 0);
  for (int dpi : {144, 192}) {
    ASSERT_EQ(measures[dpi].Dpi, dpi);
    ExpectScaled(base, measures[dpi], true);
  }
}

class DpiChangedTest : public ::testing::Test {
 protected:
  TGridHost FHost{600, 1000};
};

// The suggested rectangle is on the screen; the grid's window is a child of the host's frame,
// which lies at the screen's top-left corner.
TEST_F(DpiChangedTest, TheGridTakesTheNewDensityAndTheSuggestedPlace) {
  const TMeasure base = Measure(FHost);
  ASSERT_EQ(base.Dpi, 96);
  // Twice the client area; the frame and the scroll bar stay the system's.
  TSkedra& grid = FHost.Grid();
  const int width = 2 * grid.ClientWidth() + grid.Width() - grid.ClientWidth();
  const int height = 2 * grid.ClientHeight() + grid.Height() - grid.ClientHeight();
  ::SetWindowPos(FHost.Frame(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  POINT origin{0, 0};
  ::ClientToScreen(FHost.Frame(), &origin);
  RECT suggested{origin.x, origin.y, origin.x + width, origin.y + height};
  ::SendMessageW(FHost.GridWindow(), DpiChangedMessage, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  FHost.Pump();
  RECT window{};
  ::GetWindowRect(FHost.GridWindow(), &window);
  EXPECT_EQ(window.right - window.left, width);
  EXPECT_EQ(window.bottom - window.top, height);
  EXPECT_EQ(grid.Width(), width);
  const TMeasure changed = Measure(FHost);
  EXPECT_EQ(changed.Dpi, 192);
  EXPECT_EQ(grid.RowHeights(1), 32);
  ExpectScaled(base, changed, false);
  EXPECT_EQ(changed.EightTop, 2 * base.EightTop);
  RECT button{};
  ::GetWindowRect(FHost.WindowOf(*grid.PrevButton()), &button);
  EXPECT_EQ(button.right - button.left, 26);
}

// A parent's density change reaches the grid's window after the parent's: the grid reads its
// window's density again, which here is the system's.
TEST_F(DpiChangedTest, AfterTheParentsChangeTheGridReadsItsWindowsDensityAgain) {
  RECT suggested{};
  ::GetWindowRect(FHost.GridWindow(), &suggested);
  ::SendMessageW(FHost.GridWindow(), DpiChangedMessage, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ASSERT_EQ(FHost.Grid().Scale().Dpi(), 144);
  ::SendMessageW(FHost.GridWindow(), DpiChangedAfterParentMessage, 0, 0);
  FHost.Pump();
  EXPECT_EQ(FHost.Grid().Scale().Dpi(), WindowPixelsPerInch(FHost.GridWindow()));
  EXPECT_EQ(FHost.Grid().RowHeights(1), TScale(WindowPixelsPerInch(FHost.GridWindow())).Of(16));
}

}  // namespace
}  // namespace skx::test
