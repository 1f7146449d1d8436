// The grid's accessible table: children in order, names in the locale, states, places, hit
// testing, the selection's events and the posted default action.
#include "SkedraComp/SkedraAccessible.h"

#include "TaskTestSupport.h"

namespace skx::test {
namespace {

class SkedraAccessibleTest : public TaskTest {
 protected:
  TSkedraAccessible& Model() { return dynamic_cast<TSkedraAccessible&>(*FGrid->Accessible()); }
  bool DayMonthYearLocale() const { return GetParam().Settings.ShortTimeFormat == L"HH:mm"; }
  String Thursday() const {
    return DayMonthYearLocale() ? L"Thursday, 12. March 1998" : L"Thursday, March 12, 1998";
  }
  String Friday() const {
    return DayMonthYearLocale() ? L"Friday, 13. March 1998" : L"Friday, March 13, 1998";
  }
  // A time as the fixture locale's short time format writes it.
  String Time(int hour, int minute) const {
    wchar_t text[16];
    if (DayMonthYearLocale()) {
      std::swprintf(text, 16, L"%02d:%02d", hour, minute);
    } else {
      std::swprintf(text, 16, L"%d:%02d %ls", hour % 12 == 0 ? 12 : hour % 12, minute,
                    hour < 12 ? L"AM" : L"PM");
    }
    return text;
  }
  std::vector<TAccessibleEventRecord> PostedEvents() {
    FRecorder.AccessibleEvents.clear();
    FRecorder.RunPostedCalls();
    return FRecorder.AccessibleEvents;
  }
  int GridWindow() { return FRecorder.WindowOf(*FGrid)->Id; }

  // The daily view of Thursday from eight on, with a high-priority review at ten and a stand-up
  // at eight.
  TLoggedTask& MakeReviewDay() {
    MakeDailyGrid();
    TLoggedTask& review = AddTask(1, At(12, 10, 0), At(12, 10, 45));
    review.FDescription = L"Design review";
    review.FWhere = L"Room 1.02";
    review.FPriority = tpHigh;
    AddTask(2, At(12, 8, 0), At(12, 8, 0)).FDescription = L"Stand-up";
    AddTask(3, At(16, 8, 0), At(16, 9, 0)).FDescription = L"Not shown";
    FGrid->SetTopLeft(FGrid->LeftVisibleCol(), FGrid->DateTimeToCell(At(12, 8, 0)).Row);
    return review;
  }
};
INSTANTIATE_TEST_SUITE_P(Locales, SkedraAccessibleTest, ::testing::ValuesIn(LocaleCases), LocaleName);

TEST_P(SkedraAccessibleTest, ChildrenAreTheDaysThenTheShownTasksByStartThenTheTimeSlots) {
  MakeReviewDay();
  TSkedraAccessible& model = Model();
  ASSERT_EQ(model.ChildCount(), 1 + 2 + 96);
  EXPECT_EQ(model.Role(0), arTable);
  EXPECT_EQ(model.Name(0), L"Schedule");
  FGrid->SetName(L"Rota");  // as a container names it
  EXPECT_EQ(model.Name(0), L"Rota");
  FGrid->SetName(L"");
  EXPECT_EQ(model.Description(0), Thursday());
  EXPECT_EQ(model.Role(1), arColumnHeader);
  EXPECT_EQ(model.Name(1), Thursday());
  EXPECT_EQ(model.Role(2), arListItem);
  EXPECT_EQ(model.Name(2), L"Stand-up, " + Thursday() + L", " + Time(8, 0) + L" to " + Time(8, 15));
  EXPECT_EQ(model.Name(3), L"Design review, " + Thursday() + L", " + Time(10, 0) + L" to " +
                               Time(11, 0) + L", Room 1.02, high priority");
  EXPECT_EQ(model.Role(4), arRow);
  EXPECT_EQ(model.Name(4), Time(0, 0) + L" to " + Time(0, 15));
  EXPECT_EQ(model.Name(99), Time(23, 45) + L" to " + Time(0, 0));
  EXPECT_EQ(model.DefaultActionName(3), L"Update...");
  EXPECT_EQ(model.DefaultActionName(1), L"");
  EXPECT_EQ(model.DefaultActionName(0), L"");
  EXPECT_EQ(model.DefaultAction(4), nullptr);
  EXPECT_THROW(model.Name(100), EListError);
}

TEST_P(SkedraAccessibleTest, ANameSaysWhereTheLastSlotEndsAndTheDayItEndsOnWhenItIsAnother) {
  MakeLoggedWeeklyGrid();
  TLoggedTask& late = AddTask(1, At(12, 23, 0), At(12, 23, 45));
  late.FPriority = tpLow;
  AddTask(2, At(12, 22, 0), At(13, 1, 0));
  TSkedraSettings settings = FGrid->Settings();
  settings.TimeScale = 30;
  FGrid->SetSettings(settings);
  TSkedraAccessible& model = Model();
  // Monday to Friday, then the two tasks of Thursday by start.
  EXPECT_EQ(model.ChildCount(), 5 + 2 + 48);
  EXPECT_EQ(model.Name(4), Thursday());
  EXPECT_EQ(model.Name(6), Thursday() + L", " + Time(22, 0) + L" to " + Friday() + L", " + Time(1, 30));
  EXPECT_EQ(model.Name(7), Thursday() + L", " + Time(23, 0) + L" to " + Friday() + L", " + Time(0, 15) +
                               L", low priority");
  EXPECT_EQ(model.Name(8), Time(0, 0) + L" to " + Time(0, 30));
}

TEST_P(SkedraAccessibleTest, StatesAndPlacesFollowTheSelectionTheFocusAndTheMarkers) {
  MakeReviewDay();
  TSkedraAccessible& model = Model();
  const TAccessibleStates item{asSelectable, asFocusable};
  EXPECT_EQ(model.State(3), item);
  EXPECT_EQ(model.Bounds(3), Marker(0).BoundsRect());
  EXPECT_EQ(model.Bounds(2), Marker(1).BoundsRect());
  EXPECT_EQ(model.Bounds(1), FGrid->CellRect(2, 0));
  EXPECT_EQ(model.Bounds(0), FGrid->ClientRect());
  EXPECT_EQ(model.SelectedChild(), 0);
  EXPECT_EQ(model.FocusedElement(), -1);

  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  EXPECT_EQ(model.State(3), item + TAccessibleStates{asSelected});
  EXPECT_EQ(model.SelectedChild(), 3);
  EXPECT_EQ(model.FocusedElement(), -1);
  FGrid->SetFocus();
  EXPECT_EQ(model.State(3), (item + TAccessibleStates{asSelected, asFocused}));
  EXPECT_EQ(model.State(0), (TAccessibleStates{asFocusable, asFocused}));
  EXPECT_EQ(model.FocusedElement(), 3);
  EXPECT_EQ(model.State(2), item);

  // The slot of the current cell is selected; slots scrolled out of view are not shown.
  const TCellRect cells = FGrid->Selection();
  const int selectedRow = 4 + cells.Top - FGrid->FixedRows();
  EXPECT_TRUE(model.State(selectedRow).Contains(asSelected));
  EXPECT_EQ(model.State(99), (TAccessibleStates{asReadOnly, asFocusable, asInvisible, asOffscreen}));
  EXPECT_TRUE(model.Bounds(99).IsEmpty());

  // A task below the rows in view has its marker's place, outside the grid's client area.
  AddTask(4, At(12, 20, 0), At(12, 20, 0));
  FGrid->TaskItems().Arrange();
  EXPECT_EQ(model.State(4), (item + TAccessibleStates{asOffscreen}));
  EXPECT_EQ(model.Bounds(4), Marker(3).BoundsRect());

  // A column too narrow for markers hides them, and the tasks with them.
  FGrid->SetBounds(0, 0, 60, 300);
  EXPECT_EQ(model.State(2), (item + TAccessibleStates{asInvisible, asOffscreen}));
  EXPECT_TRUE(model.Bounds(2).IsEmpty());
}

TEST_P(SkedraAccessibleTest, HitTestingFindsATaskBeforeTheSlotUnderItThenHeadersAndSlots) {
  MakeReviewDay();
  TSkedraAccessible& model = Model();
  TRect review = Marker(0).BoundsRect();
  EXPECT_EQ(model.ElementAt(TPoint{review.Left + 1, review.Top + 1}), 3);
  TRect heading = FGrid->CellRect(2, 0);
  EXPECT_EQ(model.ElementAt(TPoint{heading.Left + 1, heading.Top + 1}), 1);
  TRect slot = FGrid->CellRect(0, FGrid->TopVisibleRow());
  EXPECT_EQ(model.ElementAt(TPoint{slot.Left + 1, slot.Top + 1}), 4 + FGrid->TopVisibleRow() - 1);
  EXPECT_EQ(model.ElementAt(TPoint{1, 1}), 0);
}

TEST_P(SkedraAccessibleTest, SelectionEventsAreRaisedOnceTheChangingCodeHasReturned) {
  MakeReviewDay();
  FGrid->SetFocus();
  const int window = GridWindow();
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  EXPECT_TRUE(FRecorder.AccessibleEvents.empty());
  EXPECT_EQ(PostedEvents(), (std::vector<TAccessibleEventRecord>{{window, aeFocus, 3}, {window, aeSelection, 3}}));
  Marker(1).MouseDown(mbLeft, {}, 1, 1);
  EXPECT_EQ(PostedEvents(), (std::vector<TAccessibleEventRecord>{{window, aeFocus, 2}, {window, aeSelection, 2}}));
  // A press on the grid moves the focus to the time slot of the cell it makes current.
  FGrid->MouseDown(mbLeft, {}, 100, 100);
  const int slot = 4 + FGrid->CurrentRow() - FGrid->FixedRows();
  EXPECT_EQ(Model().FocusedElement(), slot);
  EXPECT_EQ(PostedEvents(),
            (std::vector<TAccessibleEventRecord>{{window, aeSelectionRemove, 2}, {window, aeFocus, slot}}));
  int key = vkDown;
  FGrid->KeyDown(key, {});
  EXPECT_EQ(PostedEvents(), (std::vector<TAccessibleEventRecord>{{window, aeFocus, slot + 1}}));
  EXPECT_TRUE(Model().State(slot + 1).Contains(asFocused));
  EXPECT_EQ(Model().Value(slot + 1), Thursday());
  EXPECT_EQ(Model().Value(slot), L"");

  // Without the focus only the selection is told. The events name the children as they are
  // once the change is complete: a deleted task is none, and the others move up.
  FRecorder.FocusId = -1;
  Marker(1).MouseDown(mbLeft, {}, 1, 1);
  EXPECT_EQ(PostedEvents(), (std::vector<TAccessibleEventRecord>{{window, aeSelection, 2}}));
  FGrid->TaskItems().Delete(2);
  EXPECT_EQ(PostedEvents(), (std::vector<TAccessibleEventRecord>{}));
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  EXPECT_EQ(PostedEvents(), (std::vector<TAccessibleEventRecord>{{window, aeSelection, 2}}));
}

TEST_P(SkedraAccessibleTest, TabMovesTheFocusAndTheSelectionEventsWithTheTask) {
  MakeReviewDay();
  FGrid->SetFocus();
  const int window = GridWindow();
  int key = vkTab;
  FGrid->KeyDown(key, {});
  // The stand-up at eight comes first.
  EXPECT_EQ(PostedEvents(), (std::vector<TAccessibleEventRecord>{{window, aeFocus, 2}, {window, aeSelection, 2}}));
  key = vkTab;
  FGrid->KeyDown(key, {});
  EXPECT_EQ(PostedEvents(), (std::vector<TAccessibleEventRecord>{{window, aeFocus, 3}, {window, aeSelection, 3}}));
}

TEST_P(SkedraAccessibleTest, EventsOfAGridFreedMeanwhileAreDropped) {
  MakeReviewDay();
  Marker(0).MouseDown(mbLeft, {}, 1, 1);
  std::function<void()> update = Model().DefaultAction(3);
  FGrid.reset();
  EXPECT_TRUE(PostedEvents().empty());
  FLog.clear();
  update();
  EXPECT_TRUE(FLog.empty());
}

TEST_P(SkedraAccessibleTest, TheDefaultActionRunsUpdateOfTheTaskItNamedWhenItRuns) {
  TLoggedTask& review = MakeReviewDay();
  FEditor.Values = [](TRxTaskObject& task) { task.FStartDateTime -= 1.0 / 24; };
  std::function<void()> update = Model().DefaultAction(3);
  ASSERT_NE(update, nullptr);
  EXPECT_TRUE(FLog.empty());
  // Another task added before it runs renumbers the children; the command keeps its task.
  AddTask(4, At(12, 7, 0), At(12, 7, 0));
  FGrid->TaskItems().Arrange();
  update();
  EXPECT_EQ(FLog, TLog({L"Edit 1", L"Update 1"}));
  EXPECT_EQ(review.FStartDateTime, At(12, 9, 0));
  ASSERT_FALSE(Item(0).Points().empty());
  EXPECT_EQ(Model().Bounds(Model().ChildOf(&Item(0))), Marker(0).BoundsRect());

  FLog.clear();
  std::function<void()> gone = Model().DefaultAction(Model().ChildOf(&Item(0)));
  FGrid->TaskItems().Delete(1);
  FLog.clear();
  gone();
  EXPECT_TRUE(FLog.empty());
}

// A container's locale writes the headings and the names in its formats while the tasks stay
// where they are; without it the user's formats come back.
TEST_P(SkedraAccessibleTest, TheContainersLocaleWritesTheHeadingsAndTheNames) {
  MakeReviewDay();
  const TRect markers[] = {BoundsOf(0), BoundsOf(1)};
  TFormatSettings container;
  container.ShortDateFormat = L"yyyy-MM-dd";
  container.DateSeparator = L'-';
  container.LongDateFormat = L"d MMMM yyyy";
  container.ShortTimeFormat = L"HH.mm";
  TAmbientProperties ambient;
  ambient.Formats = container;
  FRecorder.ClearInvalidations();
  FGrid->TakeAmbient(ambient);
  EXPECT_EQ(FGrid->CellText(2, 0), L"1998-03-12 Thu");
  EXPECT_EQ(Model().Name(1), L"12 March 1998");
  EXPECT_EQ(Model().Name(3), L"Design review, 12 March 1998, 10.00 to 11.00, Room 1.02, high priority");
  EXPECT_EQ(BoundsOf(0), markers[0]);
  EXPECT_EQ(BoundsOf(1), markers[1]);
  EXPECT_FALSE(FRecorder.WindowOf(*FGrid)->InvalidRects.empty());
  FGrid->TakeAmbient(TAmbientProperties{});
  EXPECT_EQ(FGrid->CellText(2, 0), GetParam().Heading);
  EXPECT_EQ(Model().Name(1), Thursday());
}

}  // namespace
}  // namespace skx::test
