// The task dialog on real Windows controls, driven from a second thread.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "DialogScript.h"
#include "GridHost.h"
#include "Bitmaps/Bitmaps.h"
#include "TaskFrm/Win32/TaskForm.h"
#include "WineTestUtil.h"

namespace skx::test {
namespace {

class TaskFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FTask.FStartDateTime = March5 + EncodeTime(9, 0, 0, 0);
    FTask.FFinishDateTime = March5 + EncodeTime(9, 45, 0, 0);
    FTask.FDescription = L"Planning";
    FTask.FWhere = L"Room 1";
    FTask.FNotes = L"agenda";
  }

  // Shows the dialog on the task while the script drives it; answers EditTask's result.
  bool Edit(const std::function<void()>& script) {
    TTaskFormEditor editor(nullptr);
    return RunScripted(script, [&] { return editor.EditTask(FTask); });
  }

  HWND WaitForForm() {
    FForm = WaitForWindow(FThread, L"Task");
    if (FForm != nullptr) {
      FGeneral = ::GetWindow(::GetDlgItem(FForm, idPageControl), GW_HWNDNEXT);
    }
    return FForm;
  }
  HWND Item(int id) const {
    HWND found = ::GetDlgItem(FGeneral, id);
    return found != nullptr ? found : ::GetDlgItem(FForm, id);
  }
  // The message box the form shows, its text; the box is closed.
  std::wstring AnswerMessage() {
    HWND box = WaitForOwned(FThread, FForm);
    if (box == nullptr) return L"<no message box>";
    std::wstring text = MessageBoxText(box);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !::IsWindow(box); });
    return text;
  }
  void Close(int result) {
    ::PostMessageW(FForm, WM_COMMAND, result, 0);
    Settle();
  }
  // The end of every script: a dialog still open (a test that failed) is ended with its
  // message boxes, so that the test's thread leaves its modal loop.
  void EnsureClosed() {
    if (WaitHidden(FForm)) return;
    FUnexpected = AnswerMessage();
    ::PostThreadMessageW(FThread, WM_QUIT, 0, 0);
  }
  void TearDown() override {
    EXPECT_EQ(FUnexpected, L"") << "the dialog did not close";
    MSG quit;
    ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }

  static constexpr TDateTime March5 = 45356;  // 5 March 2024
  DWORD FThread = ::GetCurrentThreadId();
  TRxTaskObject FTask{3};
  HWND FForm = nullptr;
  HWND FGeneral = nullptr;
  std::wstring FUnexpected;
};

void SetPickerDate(HWND picker, WORD year, WORD month, WORD day) {
  SYSTEMTIME date{};
  date.wYear = year;
  date.wMonth = month;
  date.wDay = day;
  ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
}

TEST_F(TaskFormTest, ANewTaskConfirmedWithTypedValuesStoresThemAll) {
  TRxTaskObject fresh(4);
  fresh.FStartDateTime = March5 + EncodeTime(9, 0, 0, 0);
  fresh.FFinishDateTime = March5 + EncodeTime(9, 45, 0, 0);
  std::wstring shownStart, shownDate;
  std::optional<TScreenshot> screenshot;
  bool focusOnDescription = false, intervalHiddenAtFirst = false, intervalShownWhenTicked = false;
  std::wstring intervalWhenTicked;
  TTaskFormEditor editor(nullptr);
  const bool confirmed = RunScripted(
      [&] {
        if (WaitForForm() == nullptr) return;
        shownStart = TextOf(Item(idStartTimeEdit));
        focusOnDescription = FocusOf(FThread) == Item(idDescEdit);
        intervalHiddenAtFirst = !::IsWindowVisible(Item(idEveryEdit));
        ::SendMessageW(Item(idStartTimeEdit), EM_SETSEL, 0, -1);
        TypeChars(Item(idStartTimeEdit), L"083000");
        SetPickerDate(Item(idEndDateEdit), 2024, 3, 6);
        ::SendMessageW(Item(idEndTimeEdit), EM_SETSEL, 0, -1);
        TypeChars(Item(idEndTimeEdit), L"170000");
        TypeChars(Item(idDescEdit), L"Review");
        TypeChars(Item(idWhereEdit), L"Room 4");
        ::SendMessageW(Item(idTypeCbx), CB_SETCURSEL, ttContact, 0);
        ::SendMessageW(Item(idStatusCbx), CB_SETCURSEL, tsSuspend, 0);
        ::SendMessageW(Item(idPriorityCbx), CB_SETCURSEL, tpHigh, 0);
        ::SendMessageW(Item(idReminderChk), BM_CLICK, 0, 0);
        intervalShownWhenTicked = ::IsWindowVisible(Item(idEveryEdit)) != FALSE &&
                                  ::IsWindowVisible(Item(idEveryLabel)) != FALSE;
        intervalWhenTicked = TextOf(Item(idEveryEdit));
        ::SetWindowTextW(Item(idEveryEdit), L"30");
        ::SendMessageW(Item(idPrivateChk), BM_CLICK, 0, 0);
        HWND notes = ::GetDlgItem(::GetWindow(FGeneral, GW_HWNDNEXT), idNotesMemo);
        ::SetWindowTextW(notes, L"first\r\nsecond");
        Settle();
        screenshot = CaptureClient(FForm);
        PostKey(Item(idDescEdit), VK_RETURN);
        EnsureClosed();
      },
      [&] { return editor.EditTask(fresh); });

  ASSERT_TRUE(screenshot.has_value());
  screenshot->Save(ProgramFolder() + L"\\task-dialog.bmp");
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(shownStart, L" 9:00:00");
  EXPECT_TRUE(focusOnDescription);
  EXPECT_TRUE(intervalHiddenAtFirst) << "a task without reminder opens unticked";
  EXPECT_TRUE(intervalShownWhenTicked);
  EXPECT_EQ(intervalWhenTicked, L"15");
  EXPECT_EQ(fresh.FStartDateTime, March5 + EncodeTime(8, 30, 0, 0));
  EXPECT_EQ(fresh.FFinishDateTime, March5 + 1 + EncodeTime(17, 0, 0, 0));
  EXPECT_EQ(fresh.FDescription, L"Review");
  EXPECT_EQ(fresh.FWhere, L"Room 4");
  EXPECT_EQ(fresh.FNotes, L"first\r\nsecond");
  EXPECT_EQ(fresh.FRemind, 30);
  EXPECT_TRUE(fresh.FIsPrivate);
  EXPECT_EQ(fresh.FTaskType, ttContact);
  EXPECT_EQ(fresh.FStatus, tsSuspend);
  EXPECT_EQ(fresh.FPriority, tpHigh);
  EXPECT_EQ(fresh.FID, 4);
}

TEST_F(TaskFormTest, CancelLeavesTheTaskUnchanged) {
  FTask.FRemind = 30;
  bool tickedWithThirty = false;
  const bool confirmed = Edit([&] {
    if (WaitForForm() == nullptr) return;
    tickedWithThirty = ::SendMessageW(Item(idReminderChk), BM_GETCHECK, 0, 0) == BST_CHECKED &&
                       TextOf(Item(idEveryEdit)) == L"30";
    ::SetWindowTextW(Item(idDescEdit), L"changed");
    ::SendMessageW(Item(idReminderChk), BM_CLICK, 0, 0);
    ::SendMessageW(Item(idLocationClearBtn), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(Item(idLocationClearBtn), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostKey(Item(idDescEdit), VK_ESCAPE);
    EnsureClosed();
  });
  EXPECT_FALSE(confirmed);
  EXPECT_TRUE(tickedWithThirty);
  EXPECT_EQ(FTask.FDescription, L"Planning");
  EXPECT_EQ(FTask.FWhere, L"Room 1");
  EXPECT_EQ(FTask.FRemind, 30);
}

// A timer of the dialog's own thread frees the task while the dialog is open; its storage is
// then filled with a pattern that a store into the freed task would disturb.
struct TFreedTask {
  alignas(TRxTaskObject) unsigned char Storage[sizeof(TRxTaskObject)];
  TRxTaskObject* Task = nullptr;
  std::atomic<bool> Freed{false};
};
TFreedTask* freedTask = nullptr;

void CALLBACK FreeTaskWhileTheDialogIsUp(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND form = ::FindWindowW(nullptr, L"Task");
  if (form == nullptr || !::IsWindowVisible(form)) return;
  ::KillTimer(nullptr, timer);
  freedTask->Task->~TRxTaskObject();
  std::memset(freedTask->Storage, 0xA5, sizeof(freedTask->Storage));
  freedTask->Freed = true;
}

TEST_F(TaskFormTest, ATaskFreedWhileItsDialogIsOpenIsNotWritten) {
  for (const int button : {IDOK, IDCANCEL}) {
    TFreedTask freed;
    freed.Task = new (freed.Storage) TRxTaskObject(5);
    freed.Task->FStartDateTime = March5 + EncodeTime(9, 0, 0, 0);
    freed.Task->FFinishDateTime = March5 + EncodeTime(9, 45, 0, 0);
    freedTask = &freed;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &FreeTaskWhileTheDialogIsUp);
    bool freedWhileOpen = false;
    TTaskFormEditor editor(nullptr);
    const bool confirmed = RunScripted(
        [&] {
          if (WaitForForm() == nullptr) return;
          freedWhileOpen = WaitUntil([&] { return freed.Freed.load(); }) && ::IsWindowVisible(FForm);
          ::SetWindowTextW(Item(idDescEdit), L"changed");
          Close(button);
          EnsureClosed();
        },
        [&] { return editor.EditTask(*freed.Task); });
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(freedWhileOpen) << button;
    EXPECT_FALSE(confirmed) << button;
    const std::vector<unsigned char> pattern(sizeof(freed.Storage), 0xA5);
    EXPECT_TRUE(std::equal(pattern.begin(), pattern.end(), freed.Storage)) << button;
  }
}

TEST_F(TaskFormTest, UntickingTheReminderStoresNone) {
  FTask.FRemind = 30;
  EXPECT_TRUE(Edit([&] {
    if (WaitForForm() == nullptr) return;
    ::SendMessageW(Item(idReminderChk), BM_CLICK, 0, 0);
    Close(IDOK);
    EnsureClosed();
  }));
  EXPECT_EQ(FTask.FRemind, 0);
}

TEST_F(TaskFormTest, AnIntervalOutOfRangeBecomesTheNearerBoundWhenLeft) {
  std::wstring clamped;
  EXPECT_TRUE(Edit([&] {
    if (WaitForForm() == nullptr) return;
    ::SendMessageW(Item(idReminderChk), BM_CLICK, 0, 0);
    ::PostMessageW(FForm, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(idEveryEdit)), TRUE);
    Settle();
    ::SetWindowTextW(Item(idEveryEdit), L"75");
    ::PostMessageW(FForm, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(idDescEdit)), TRUE);
    WaitUntil([&] { return TextOf(Item(idEveryEdit)) != L"75"; });
    clamped = TextOf(Item(idEveryEdit));
    Close(IDOK);
    EnsureClosed();
  }));
  EXPECT_EQ(clamped, L"59");
  EXPECT_EQ(FTask.FRemind, 59);
}

TEST_F(TaskFormTest, TabOrderFollowsTheForm) {
  FTask.FRemind = 10;
  std::vector<int> order;
  EXPECT_FALSE(Edit([&] {
    if (WaitForForm() == nullptr) return;
    HWND control = ::GetDlgItem(FForm, idPageControl);
    for (int i = 0; i < 16; ++i) {
      order.push_back(::GetDlgCtrlID(control));
      control = ::GetNextDlgTabItem(FForm, control, FALSE);
    }
    Close(IDCANCEL);
    EnsureClosed();
  }));
  const std::vector<int> expected = {
      idPageControl, idStartTimeEdit, idStartDateEdit, idEndTimeEdit, idEndDateEdit,
      idDescEdit,    idWhereEdit,     idTypeCbx,       idStatusCbx,   idPriorityCbx,
      idReminderChk, idEveryEdit,     idPrivateChk,    idOKBtn,       idCancelBtn,
      idPageControl};
  EXPECT_EQ(order, expected);
}

TEST_F(TaskFormTest, PagesAnswerTheirAccessKeysAndLabelsDoNot) {
  bool notesShown = false, generalBack = false, focusStayed = false, whenFocusesStart = false;
  EXPECT_FALSE(Edit([&] {
    if (WaitForForm() == nullptr) return;
    HWND notes = ::GetWindow(FGeneral, GW_HWNDNEXT);
    ::PostMessageW(Item(idDescEdit), WM_SYSCHAR, L'n', 1 << 29);
    notesShown = WaitUntil([&] { return ::IsWindowVisible(notes) && !::IsWindowVisible(FGeneral); });
    ::PostMessageW(FocusOf(FThread), WM_SYSCHAR, L'g', 1 << 29);
    generalBack = WaitUntil([&] { return ::IsWindowVisible(FGeneral) != FALSE; });
    ::PostMessageW(FForm, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(idDescEdit)), TRUE);
    Settle();
    ::PostMessageW(Item(idDescEdit), WM_SYSCHAR, L'h', 1 << 29);
    Settle();
    focusStayed = FocusOf(FThread) == Item(idDescEdit);
    ::PostMessageW(Item(idDescEdit), WM_SYSCHAR, L'w', 1 << 29);
    whenFocusesStart = WaitUntil([&] { return FocusOf(FThread) == Item(idStartTimeEdit); });
    Close(IDCANCEL);
    EnsureClosed();
  }));
  EXPECT_TRUE(notesShown);
  EXPECT_TRUE(generalBack);
  EXPECT_TRUE(focusStayed) << "W&here names no control";
  EXPECT_TRUE(whenFocusesStart) << "the group box's key leads into the box";
}

TEST_F(TaskFormTest, StartAfterFinishShowsTheMessageAndKeepsTheDialogOpen) {
  FTask.FStartDateTime = March5 + EncodeTime(10, 15, 0, 0);
  FTask.FFinishDateTime = March5 + EncodeTime(10, 0, 0, 0);
  std::wstring message;
  bool openAfterMessage = false;
  const bool confirmed = Edit([&] {
    if (WaitForForm() == nullptr) return;
    ::SetWindowTextW(Item(idDescEdit), L"changed");
    Close(IDOK);
    message = AnswerMessage();
    openAfterMessage = ::IsWindowVisible(FForm) != FALSE && TextOf(Item(idDescEdit)) == L"changed";
    Close(IDCANCEL);
    EnsureClosed();
  });
  EXPECT_FALSE(confirmed);
  EXPECT_EQ(message, L"The time of start exceeds time of end.");
  EXPECT_TRUE(openAfterMessage) << "the user's input stays";
  EXPECT_EQ(FTask.FDescription, L"Planning");
}

TEST_F(TaskFormTest, AnInvalidTimeKeepsTheDialogOpenEvenForCancel) {
  std::wstring message;
  bool openAfterMessage = false;
  const bool confirmed = Edit([&] {
    if (WaitForForm() == nullptr) return;
    ::SetWindowTextW(Item(idEndTimeEdit), L"25:00:00");
    Close(IDCANCEL);
    message = AnswerMessage();
    openAfterMessage = ::IsWindowVisible(FForm) != FALSE;
    ::SetWindowTextW(Item(idEndTimeEdit), L"11:00:00");
    Close(IDCANCEL);
    EnsureClosed();
  });
  EXPECT_FALSE(confirmed);
  EXPECT_EQ(message, L"'25:00:00' is not a valid time");
  EXPECT_TRUE(openAfterMessage);
}

TEST_F(TaskFormTest, AnIntervalThatIsNoNumberKeepsTheDialogOpenOnOK) {
  std::wstring message;
  const bool confirmed = Edit([&] {
    if (WaitForForm() == nullptr) return;
    ::SendMessageW(Item(idReminderChk), BM_CLICK, 0, 0);
    ::SetWindowTextW(Item(idEveryEdit), L"-");
    ::SetWindowTextW(Item(idDescEdit), L"changed");
    Close(IDOK);
    message = AnswerMessage();
    Close(IDCANCEL);
    EnsureClosed();
  });
  EXPECT_FALSE(confirmed);
  EXPECT_EQ(message, L"'-' is not a valid integer value");
  EXPECT_EQ(FTask.FDescription, L"Planning") << "nothing is stored halfway";
  EXPECT_EQ(FTask.FRemind, 0);
}

TEST_F(TaskFormTest, TheClearButtonEmptiesThePlaceOnlyAndTakesNoFocus) {
  bool focusStayed = false;
  EXPECT_TRUE(Edit([&] {
    if (WaitForForm() == nullptr) return;
    ::SendMessageW(Item(idLocationClearBtn), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(Item(idLocationClearBtn), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    focusStayed = FocusOf(FThread) == Item(idDescEdit);
    Close(IDOK);
    EnsureClosed();
  }));
  EXPECT_TRUE(focusStayed);
  EXPECT_EQ(FTask.FWhere, L"");
  EXPECT_EQ(FTask.FDescription, L"Planning");
  EXPECT_EQ(FTask.FNotes, L"agenda");
  EXPECT_EQ(FTask.FStartDateTime, March5 + EncodeTime(9, 0, 0, 0));
}

TEST_F(TaskFormTest, ATimeFieldLeftIncompleteTakesTheFocusBack) {
  std::wstring message, restored;
  bool focusBack = false;
  EXPECT_FALSE(Edit([&] {
    if (WaitForForm() == nullptr) return;
    HWND start = Item(idStartTimeEdit);
    ::PostMessageW(FForm, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(start), TRUE);
    Settle();
    ::SendMessageW(start, EM_SETSEL, 0, -1);
    TypeChars(start, L"1");
    ::PostMessageW(FForm, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(idDescEdit)), TRUE);
    message = AnswerMessage();
    focusBack = WaitUntil([&] { return FocusOf(FThread) == start; });
    PostKey(start, VK_ESCAPE);
    restored = TextOf(start);
    Close(IDCANCEL);
    EnsureClosed();
  }));
  EXPECT_EQ(message, L"Invalid input value.  Use escape key to abandon changes");
  EXPECT_TRUE(focusBack);
  EXPECT_EQ(restored, L" 9:00:00") << "escape abandons the change";
}

TEST_F(TaskFormTest, TheTypeListShowsItsThreeIcons) {
  std::optional<TScreenshot> list;
  EXPECT_FALSE(Edit([&] {
    if (WaitForForm() == nullptr) return;
    HWND types = Item(idTypeCbx);
    ::SendMessageW(types, CB_SETCURSEL, 0, 0);
    ::SendMessageW(types, CB_SHOWDROPDOWN, TRUE, 0);
    Settle();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ::GetComboBoxInfo(types, &info);
    list = CaptureClient(info.hwndList);
    ::SendMessageW(types, CB_SHOWDROPDOWN, FALSE, 0);
    Close(IDCANCEL);
    EnsureClosed();
  }));
  ASSERT_TRUE(list.has_value());
  list->Save(ProgramFolder() + L"\\task-type-list.bmp");
  ASSERT_EQ(list->Height(), 3 * 16) << "three items of 16 pixels are shown";
  HDC icons = ::CreateCompatibleDC(nullptr);
  for (int item = 0; item < 3; ++item) {
    const TBitmap& bitmap = TaskBitmap(static_cast<TTaskBitmap>(tbTask + item));
    ASSERT_FALSE(bitmap.Empty()) << "icon " << item;
    HGDIOBJ old = ::SelectObject(icons, reinterpret_cast<HBITMAP>(bitmap.Handle()));
    // The icon sits at the item's top-left corner, drawn as it is.
    int differing = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
      for (int x = 0; x < bitmap.Width(); ++x) {
        if (list->At(x, item * 16 + y) != ::GetPixel(icons, x, y)) ++differing;
      }
    }
    ::SelectObject(icons, old);
    EXPECT_EQ(differing, 0) << "icon of item " << item;
  }
  ::DeleteDC(icons);
}

}  // namespace
}  // namespace skx::test
