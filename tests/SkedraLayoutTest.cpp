// The schedule grid's construction, loading, recalculation and navigation.
#include <limits>
#include <vector>

#include "SkedraComp/PointControl.h"
#include "SkedraTestSupport.h"

namespace skx::test {
namespace {

using SkedraLayoutTest = SkedraTest;
INSTANTIATE_TEST_SUITE_P(Locales, SkedraLayoutTest, ::testing::ValuesIn(LocaleCases), LocaleName);

std::vector<String> Headings(const TSkedra& grid) {
  std::vector<String> headings;
  for (int col = 2; col < grid.ColCount(); ++col) headings.push_back(grid.CellText(col, 0));
  return headings;
}

TEST_P(SkedraLayoutTest, NewGridKeepsBaseGeometryUntilTheFirstViewKind) {
  TSkedra& grid = MakeGrid();
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.CellText(2, 0), L"");
  EXPECT_EQ(grid.Color(), 12632256u);
  EXPECT_EQ(grid.ActiveDate(), Day(12));
  EXPECT_EQ(grid.SkedraType(), skDaily);
  EXPECT_EQ(grid.Settings().WeekStart, dwMon);
  EXPECT_EQ(grid.Settings().WeekEnd, dwFri);
  EXPECT_EQ(grid.Settings().DayStart, EncodeTime(8, 0, 0, 0));
  EXPECT_EQ(grid.Settings().DayEnd, EncodeTime(17, 30, 0, 0));
  EXPECT_EQ(grid.Settings().TimeScale, 15);
  EXPECT_FALSE(grid.StoreCellSizes());
  EXPECT_EQ(grid.PopupMenu(), nullptr);
  EXPECT_EQ(grid.PrevButton(), nullptr);
  EXPECT_EQ(grid.TaskItems().Count(), 0);
  EXPECT_EQ(grid.ControlStyle(),
            TControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                           csDoubleClicks, csReplicatable}));
  const TWindowRecord* window = FRecorder.WindowOf(grid);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->Params.Style & wsClipChildren);
  EXPECT_TRUE(window->Params.Style & wsChild);
}

TEST_P(SkedraLayoutTest, DailyViewShowsTodayWithQuarterHourRows) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  EXPECT_EQ(grid.ColCount(), 3);
  EXPECT_EQ(grid.RowCount(), 97);
  EXPECT_EQ(grid.FixedCols(), 2);
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.DefaultRowHeight(), 16);
  EXPECT_EQ(grid.DefaultColWidth(), 25);
  EXPECT_EQ(grid.Options(), TGridOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                          goRangeSelect, goDrawFocusSelected}));
  EXPECT_EQ(grid.CellText(2, 0), GetParam().Heading);
  const wchar_t* expected[][2] = {{L"0", L":00"}, {L"0", L":15"}, {L"0", L":30"}, {L"0", L":45"},
                                  {L"1", L":00"}};
  for (int row = 1; row <= 5; ++row) {
    EXPECT_EQ(grid.CellText(0, row), expected[row - 1][0]) << row;
    EXPECT_EQ(grid.CellText(1, row), expected[row - 1][1]) << row;
  }
  EXPECT_EQ(grid.CellText(0, 96), L"23");
  EXPECT_EQ(grid.CellText(1, 96), L":45");
  EXPECT_EQ(grid.CellText(0, 0), L"");
  EXPECT_EQ(grid.ColWidths(0), 25);
  EXPECT_EQ(grid.ColWidths(2), grid.ClientWidth() - 25 - 25 - 3);
  EXPECT_EQ(grid.TopVisibleRow(), 1);
}

TEST_P(SkedraLayoutTest, WeeklyViewOnThursdayShowsMondayToFridayAndDailyKeepsMonday) {
  TSkedra& grid = MakeWeeklyGrid();
  EXPECT_EQ(grid.ActiveDate(), Day(9));
  EXPECT_EQ(grid.ColCount(), 7);
  EXPECT_EQ(Headings(grid), (std::vector<String>{Date(9) + L" Mon", Date(10) + L" Tue",
                                                 Date(11) + L" Wed", Date(12) + L" Thu",
                                                 Date(13) + L" Fri"}));
  grid.SetSkedraType(skDaily);
  EXPECT_EQ(grid.ActiveDate(), Day(9));
  EXPECT_EQ(Headings(grid), std::vector<String>{Date(9) + L" Mon"});
}

TEST_P(SkedraLayoutTest, WeeklyActiveDateMovesToTheWeeksStartDay) {
  TSkedra& grid = MakeWeeklyGrid();
  grid.SetActiveDate(Day(15));  // a Sunday
  EXPECT_EQ(grid.ActiveDate(), Day(9));

  TSkedraSettings settings = grid.Settings();
  settings.WeekStart = dwWed;
  settings.WeekEnd = dwFri;
  grid.SetSettings(settings);
  grid.SetActiveDate(Day(9) + 0.25);  // a Monday, later than the week's start day
  EXPECT_EQ(grid.ActiveDate(), Day(11) + 0.25);
  EXPECT_EQ(Headings(grid), (std::vector<String>{Date(11) + L" Wed", Date(12) + L" Thu",
                                                 Date(13) + L" Fri"}));
}

TEST_P(SkedraLayoutTest, WeekRangesOfOneDayAndAcrossSunday) {
  TSkedra& grid = MakeWeeklyGrid();
  TSkedraSettings settings = grid.Settings();
  settings.WeekStart = dwWed;
  settings.WeekEnd = dwWed;
  grid.SetSettings(settings);
  EXPECT_EQ(grid.ColCount(), 3);
  EXPECT_EQ(Headings(grid), std::vector<String>{Date(11) + L" Wed"});

  settings.WeekStart = dwSat;
  settings.WeekEnd = dwMon;
  grid.SetSettings(settings);
  EXPECT_EQ(Headings(grid), (std::vector<String>{Date(14) + L" Sat", Date(15) + L" Sun",
                                                 Date(16) + L" Mon"}));

  settings.WeekStart = dwTue;
  settings.WeekEnd = dwMon;
  grid.SetSettings(settings);
  EXPECT_EQ(grid.ColCount(), 9);
}

TEST_P(SkedraLayoutTest, ButtonsMoveByOneDayOrOneWeekWithoutAligning) {
  TSkedra& grid = MakeGrid();
  grid.Loaded();
  grid.SetSkedraType(skDaily);
  grid.NextButton()->Click();
  EXPECT_EQ(grid.ActiveDate(), Day(13));
  EXPECT_EQ(grid.CellText(2, 0), Date(13) + L" Fri");
  grid.PrevButton()->Click();
  grid.PrevButton()->Click();
  EXPECT_EQ(grid.ActiveDate(), Day(11));

  grid.SetSkedraType(skWeekly);
  TSkedraSettings settings = grid.Settings();
  settings.WeekStart = dwWed;
  grid.SetSettings(settings);
  ASSERT_EQ(grid.ActiveDate(), Day(11));
  grid.NextButton()->Click();
  EXPECT_EQ(grid.ActiveDate(), Day(18));
  EXPECT_EQ(grid.CellText(2, 0), Date(18) + L" Wed");
  grid.PrevButton()->Click();
  grid.PrevButton()->Click();
  EXPECT_EQ(grid.ActiveDate(), Day(4));
}

TEST_P(SkedraLayoutTest, TimeScalesSetRowsAndLabels) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  TSkedraSettings settings = grid.Settings();

  settings.TimeScale = 60;
  grid.SetSettings(settings);
  EXPECT_EQ(grid.RowCount(), 25);
  for (int row = 1; row < 25; ++row) {
    EXPECT_EQ(grid.CellText(0, row), std::to_wstring(row - 1));
    EXPECT_EQ(grid.CellText(1, row), L":00");
  }

  settings.TimeScale = 30;
  grid.SetSettings(settings);
  EXPECT_EQ(grid.RowCount(), 49);
  EXPECT_EQ(grid.CellText(1, 48), L":30");
  EXPECT_EQ(grid.CellText(1, 50), L"");

  settings.TimeScale = 5;
  grid.SetSettings(settings);
  EXPECT_EQ(grid.RowCount(), 289);
  EXPECT_EQ(grid.CellText(1, 1), L":00");
  EXPECT_EQ(grid.CellText(1, 2), L":5");
  EXPECT_EQ(grid.CellText(1, 3), L":10");
  EXPECT_EQ(grid.CellText(0, 288), L"23");
  EXPECT_EQ(grid.CellText(1, 288), L":55");
}

TEST_P(SkedraLayoutTest, ScaleThatDoesNotDivideAnHourLabelsEachRowWithItsOwnStart) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  TSkedraSettings settings = grid.Settings();
  settings.TimeScale = 45;
  grid.SetSettings(settings);
  EXPECT_EQ(grid.RowCount(), 33);
  EXPECT_EQ(grid.CellText(0, 2), L"0");
  EXPECT_EQ(grid.CellText(1, 2), L":45");
  EXPECT_EQ(grid.CellText(0, 3), L"1");
  EXPECT_EQ(grid.CellText(1, 3), L":30");
  EXPECT_EQ(grid.CellText(0, 32), L"23");
  EXPECT_EQ(grid.CellText(1, 32), L":15");
  for (int row = 1; row < grid.RowCount(); ++row)
    EXPECT_EQ(grid.DateTimeToCell(Day(12) + grid.RowTime(row)).Row, row) << row;
}

TEST_P(SkedraLayoutTest, UnevenWidthLeavesTheRemainderAtTheRight) {
  TSkedra& grid = MakeWeeklyGrid();
  int available = grid.ClientWidth() - 50 - 7;
  ASSERT_NE(available % 5, 0);
  for (int col = 2; col < 7; ++col) EXPECT_EQ(grid.ColWidths(col), available / 5) << col;
  EXPECT_EQ(grid.GridWidth(), 50 + 7 + 5 * (available / 5));
  EXPECT_LT(grid.GridWidth(), grid.ClientWidth());

  grid.SetBounds(0, 0, 604, 300);
  EXPECT_EQ(grid.ColWidths(2), (600 - 57) / 5);
}

TEST_P(SkedraLayoutTest, ResizeNeedsAWindowAndNeverHappensAtDesignTime) {
  TSkedra& grid = MakeGrid(false);
  grid.SetSkedraType(skDaily);
  int width = grid.ColWidths(2);
  grid.SetBounds(0, 0, 600, 300);
  EXPECT_EQ(grid.ColWidths(2), width);

  TSkedra& designed = MakeGrid();
  designed.SetDesigning(true);
  designed.SetSkedraType(skDaily);
  EXPECT_EQ(designed.ColWidths(2), 25);
}

TEST_P(SkedraLayoutTest, NarrowClientGivesDayColumnsNoWidth) {
  TSkedra& grid = MakeWeeklyGrid();
  grid.SetBounds(0, 0, 40, 300);
  for (int col = 2; col < grid.ColCount(); ++col) EXPECT_EQ(grid.ColWidths(col), 0);
  grid.SetSkedraType(skDaily);
  EXPECT_EQ(grid.ColWidths(2), 0);
}

TEST_P(SkedraLayoutTest, LineWidthsBeyondThirtyTwoBitsFailTheResizeWithIntegerOverflow) {
  TSkedra& grid = MakeWeeklyGrid();
  grid.SetGridLineWidth(std::numeric_limits<int>::max());
  EXPECT_THROW(grid.SetBounds(0, 0, 500, 300), EIntOverflow);
}

TEST_P(SkedraLayoutTest, UpdateEventComesFirstForEveryTriggerEvenWithoutChange) {
  TSkedra& grid = MakeGrid();
  grid.Loaded();
  std::vector<TUpdateSkedraMode> modes;
  int colCountSeen = 0;
  grid.OnUpdateSkedra = [&](TComponent* Sender, TUpdateSkedraMode Mode) {
    EXPECT_EQ(Sender, &grid);
    if (modes.empty()) colCountSeen = grid.ColCount();
    modes.push_back(Mode);
  };
  grid.SetSkedraType(skDaily);
  grid.SetSkedraType(skDaily);
  grid.SetActiveDate(grid.ActiveDate());
  grid.SetSettings(grid.Settings());
  grid.SetBounds(0, 0, 500, 300);
  grid.NextButton()->Click();
  grid.PrevButton()->Click();
  EXPECT_EQ(colCountSeen, 5);
  EXPECT_EQ(modes, (std::vector<TUpdateSkedraMode>{umLayout, umLayout, umRefresh, umRefresh,
                                                   umResize, umNext, umPrevious}));

  MakeGrid(false).OnUpdateSkedra = [&](TComponent*, TUpdateSkedraMode Mode) {
    modes.push_back(Mode);
  };
  modes.clear();
  FGrid->SetBounds(0, 0, 500, 300);
  EXPECT_TRUE(modes.empty());
}

TEST_P(SkedraLayoutTest, UnknownViewKindIsStoredWithoutLayout) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  int events = 0;
  grid.OnUpdateSkedra = [&](TComponent*, TUpdateSkedraMode) { ++events; };
  grid.SetSkedraType(static_cast<TSkedraType>(2));
  EXPECT_EQ(grid.SkedraType(), 2);
  EXPECT_EQ(events, 1);
  EXPECT_EQ(grid.ColCount(), 3);
  grid.SetActiveDate(Day(15));
  EXPECT_EQ(grid.ActiveDate(), Day(15));
  EXPECT_EQ(grid.CellText(2, 0), GetParam().Heading);
}

TEST_P(SkedraLayoutTest, InvalidSettingsFailAndChangeNothing) {
  TSkedra& grid = MakeWeeklyGrid();
  TSkedraSettings settings = grid.Settings();
  settings.DayStart = EncodeTime(7, 0, 0, 0);
  settings.TimeScale = 0;
  try {
    grid.SetSettings(settings);
    FAIL() << "no failure";
  } catch (const EDivByZero& error) {
    EXPECT_EQ(error.Message(), L"Division by zero");
  }
  settings.TimeScale = 30;
  settings.WeekStart = static_cast<TDayOfWeek>(7);
  EXPECT_THROW(grid.SetSettings(settings), ERangeError);
  settings.WeekStart = dwMon;
  settings.WeekEnd = static_cast<TDayOfWeek>(200);
  try {
    grid.SetSettings(settings);
    FAIL() << "no failure";
  } catch (const ERangeError& error) {
    EXPECT_EQ(error.Message(), L"Range check error");
  }
  EXPECT_EQ(grid.Settings().TimeScale, 15);
  EXPECT_EQ(grid.Settings().DayStart, EncodeTime(8, 0, 0, 0));
  EXPECT_EQ(grid.RowCount(), 97);
  EXPECT_EQ(grid.ColCount(), 7);
}

TEST_P(SkedraLayoutTest, SettingsRepaintTheWholeControl) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  FRecorder.ClearInvalidations();
  grid.SetSettings(grid.Settings());
  EXPECT_GT(FRecorder.WindowOf(grid)->FullInvalidations, 0);
}

TEST_P(SkedraLayoutTest, LoadedBuildsMenuAndButtonsOnceAndOnlyAtRunTime) {
  TSkedra& grid = MakeGrid();
  grid.Loaded();
  ASSERT_NE(grid.PopupMenu(), nullptr);
  ASSERT_NE(grid.PrevButton(), nullptr);
  ASSERT_NE(grid.NextButton(), nullptr);
  EXPECT_EQ(grid.PrevButton()->GlyphName(), L"PREVBUTTON");
  EXPECT_EQ(grid.NextButton()->GlyphName(), L"NEXTBUTTON");
  EXPECT_EQ(grid.PrevButton()->Parent(), &grid);
  const TWindowRecord* prev = FRecorder.WindowOf(*grid.PrevButton());
  const TWindowRecord* next = FRecorder.WindowOf(*grid.NextButton());
  ASSERT_NE(prev, nullptr);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(prev->ParentId, FRecorder.WindowOf(grid)->Id);
  EXPECT_EQ(prev->Bounds, Bounds(0, 0, 13, 13));
  EXPECT_EQ(next->Bounds, Bounds(grid.ClientWidth() - 13, 0, 13, 13));

  TPopupMenu* menu = grid.PopupMenu();
  TSpeedButton* prevButton = grid.PrevButton();
  int components = grid.ComponentCount();
  grid.Loaded();
  EXPECT_EQ(grid.PopupMenu(), menu);
  EXPECT_EQ(grid.PrevButton(), prevButton);
  EXPECT_EQ(grid.ComponentCount(), components);

  grid.SetBounds(0, 0, 500, 300);
  EXPECT_EQ(FRecorder.WindowOf(*grid.NextButton())->Bounds.Left, grid.ClientWidth() - 13);

  TSkedra& designed = MakeGrid();
  designed.SetDesigning(true);
  designed.Loaded();
  EXPECT_EQ(designed.PopupMenu(), nullptr);
  EXPECT_EQ(designed.NextButton(), nullptr);
}

// The container keeps the window's handle, so a new frame changes the window in place.
TEST_P(SkedraLayoutTest, BorderAndCtl3DChangeTheFrameOfTheSameWindowAndLayOutAgain) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skWeekly);
  grid.Loaded();
  const TWindowRecord* window = FRecorder.WindowOf(grid);
  int windows = static_cast<int>(FRecorder.Windows.size());
  int edged = grid.ClientWidth();
  int edgedColumn = grid.ColWidths(2);

  grid.SetBorderStyle(bsNone);
  EXPECT_EQ(FRecorder.WindowOf(grid), window);
  EXPECT_FALSE(window->Params.ExStyle & wsExClientEdge);
  EXPECT_EQ(grid.ClientWidth(), edged + 4);
  EXPECT_GT(grid.ColWidths(2), edgedColumn);
  EXPECT_EQ(FRecorder.WindowOf(*grid.NextButton())->Bounds.Left, grid.ClientWidth() - 13);

  grid.SetCtl3D(false);
  grid.SetBorderStyle(bsSingle);
  EXPECT_TRUE(window->Params.Style & wsBorder);
  EXPECT_EQ(grid.ClientWidth(), edged + 2);
  grid.SetCtl3D(true);
  EXPECT_FALSE(window->Params.Style & wsBorder);
  EXPECT_TRUE(window->Params.ExStyle & wsExClientEdge);
  EXPECT_EQ(grid.ClientWidth(), edged);
  EXPECT_EQ(grid.ColWidths(2), edgedColumn);
  EXPECT_EQ(static_cast<int>(FRecorder.Windows.size()), windows);
}

TEST_P(SkedraLayoutTest, LoadedBuildsItsOwnMenuInsteadOfTakingOverAnother) {
  TComponent form(nullptr);
  auto* other = new TPopupMenu(&form);
  NewMenuItem(*other, L"Other", 5, {});
  TSkedra& grid = MakeGrid();
  grid.SetPopupMenu(other);
  grid.Loaded();
  ASSERT_NE(grid.PopupMenu(), other);
  EXPECT_EQ(grid.PopupMenu()->Owner(), &grid);
  EXPECT_FALSE(other->OnPopup);
  grid.ContextPopup(10, 10);
  ASSERT_EQ(other->Count(), 1);
  EXPECT_EQ(other->Items(0)->Caption(), L"Other");
  FGrid.reset();
}

TEST_P(SkedraLayoutTest, MenuOffersOneNewTaskItemEveryTime) {
  TSkedra& grid = MakeGrid();
  grid.Loaded();
  grid.SetSkedraType(skDaily);
  grid.ContextPopup(10, 10);
  grid.ContextPopup(10, 10);
  ASSERT_EQ(FRecorder.Popups.size(), 2u);
  EXPECT_EQ(FRecorder.Popups[1].Captions, std::vector<String>{L"New task..."});
  EXPECT_EQ(grid.PopupMenu()->Items(0)->Tag(), 1);
}

TEST_P(SkedraLayoutTest, NewTaskFromTheMenuSpansTheSelectedCells) {
  TSkedra& grid = MakeWeeklyGrid();
  grid.Loaded();
  std::vector<TTaskObject*> appended;
  grid.OnCreateTask = [](TComponent*) { return std::make_unique<TTaskObject>(7); };
  grid.OnAppendTask = [&](TComponent*, TTaskObject* Task) { appended.push_back(Task); };
  FRecorder.ChooseItem = [](TPopupMenu&) { return 0; };
  grid.SetSelection(TCellRect{3, 37, 4, 40});
  grid.ContextPopup(100, 100);
  ASSERT_EQ(grid.TaskItems().Count(), 1);
  TTaskObject& task = *grid.TaskItems().Items(0).Task();
  EXPECT_EQ(appended, std::vector<TTaskObject*>{&task});
  EXPECT_EQ(task.FID, 7);
  EXPECT_DOUBLE_EQ(task.FStartDateTime, Day(10) + EncodeTime(9, 0, 0, 0));
  EXPECT_DOUBLE_EQ(task.FFinishDateTime, Day(11) + EncodeTime(9, 45, 0, 0));
}

TEST_P(SkedraLayoutTest, NewTaskWithoutCreateHandlerFailsAndAddsNothing) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  try {
    grid.CreateTask();
    FAIL() << "no failure";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), L"The event \"OnCreateTask\" is not determined");
  }
  grid.Loaded();
  FRecorder.ChooseItem = [](TPopupMenu&) { return 0; };
  EXPECT_THROW(grid.ContextPopup(100, 100), Exception);
  EXPECT_EQ(grid.TaskItems().Count(), 0);
}

TEST_P(SkedraLayoutTest, ChangesOfTheShownRangeFreeTheMarkers) {
  TSkedra& grid = MakeGrid();
  grid.SetSkedraType(skDaily);
  auto task = std::make_unique<TTaskObject>(1);
  task->FStartDateTime = Day(12) + EncodeTime(9, 0, 0, 0);
  task->FFinishDateTime = task->FStartDateTime;
  grid.TaskItems().Add(std::move(task));
  grid.SetBounds(0, 0, 500, 300);
  ASSERT_EQ(grid.TaskItems().Items(0).Points().size(), 1u);
  TWeakRef<TPointControl> marker(grid.TaskItems().Items(0).Points()[0]);
  grid.SetActiveDate(Day(13));
  EXPECT_TRUE(marker.Expired());
  EXPECT_TRUE(grid.TaskItems().Items(0).Points().empty());
  EXPECT_EQ(grid.ControlCount(), 0);
}

}  // namespace
}  // namespace skx::test
