// The toolbar's controls, their lists of values and how they show the control's settings.
#include "Toolbar.h"

#include <cwchar>
#include <string>

#include "Density.h"
#include "TaskText.h"

namespace demo {

namespace {

const wchar_t* const DayNames[] = {L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"};
const long Scales[] = {5, 10, 15, 20, 30, 60};

// Places the controls from left to right in rows; sizes are written for 96 pixels per inch,
// except the widths of texts, which the font measures.
class TPlacer {
 public:
  TPlacer(HWND Parent, HFONT Font, int Dpi, std::vector<HWND>& Made)
      : FParent(Parent), FFont(Font), FDpi(Dpi), FMade(Made), FLeft(Scaled(8, Dpi)) {}
  void Add(const wchar_t* ClassName, const wchar_t* Text, DWORD Style, int Width, int Id = 0) {
    AddMeasured(ClassName, Text, Style, Scaled(Width, FDpi), Id);
  }
  // A check box as wide as its text in the toolbar's font, and its box.
  void AddCheck(const wchar_t* Text, int Id) {
    AddMeasured(L"BUTTON", Text, BS_AUTOCHECKBOX | WS_TABSTOP, TextWidth(Text) + Scaled(24, FDpi), Id);
  }
  void AddNote(const wchar_t* Text) {
    AddMeasured(L"STATIC", Text, SS_LEFT | SS_NOPREFIX, TextWidth(Text) + Scaled(4, FDpi), 0);
  }
  void Gap() { FLeft += Scaled(10, FDpi); }
  void NextRow() {
    FLeft = Scaled(8, FDpi);
    FTop += Scaled(RowHeight, FDpi);
  }

 private:
  static constexpr int RowHeight = 28;

  void AddMeasured(const wchar_t* ClassName, const wchar_t* Text, DWORD Style, int Width, int Id) {
    const bool list = std::wstring(ClassName) == L"COMBOBOX";
    const int top = FTop + Scaled(list ? 6 : ClassName[0] == L'S' ? 10 : 5, FDpi);
    HWND control = ::CreateWindowExW(0, ClassName, Text, WS_CHILD | WS_VISIBLE | Style, FLeft, top, Width,
                                     Scaled(list ? 300 : 24, FDpi), FParent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
    FMade.push_back(control);
    FLeft += Width + Scaled(4, FDpi);
  }

  int TextWidth(const wchar_t* Text) const {
    HDC dc = ::GetDC(FParent);
    HGDIOBJ old = ::SelectObject(dc, FFont);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, Text, static_cast<int>(std::wstring(Text).size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(FParent, dc);
    return size.cx;
  }

  HWND FParent;
  HFONT FFont;
  int FDpi;
  std::vector<HWND>& FMade;
  int FLeft;
  int FTop = 0;
};

void AddItem(HWND List, const std::wstring& Text, long Value) {
  LRESULT index = ::SendMessageW(List, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text.c_str()));
  ::SendMessageW(List, CB_SETITEMDATA, static_cast<WPARAM>(index), Value);
}

void FillTimes(HWND List) {
  for (long minutes = 0; minutes < 24 * 60; minutes += 30) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%ld:%02ld", minutes / 60, minutes % 60);
    AddItem(List, text, minutes);
  }
}

bool SelectValue(HWND List, long Value) {
  const LRESULT count = ::SendMessageW(List, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    if (::SendMessageW(List, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == Value) {
      ::SendMessageW(List, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return true;
    }
  ::SendMessageW(List, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  return false;
}

}  // namespace

TToolbar::TToolbar(HWND Parent, HFONT Font, int Dpi) : FParent(Parent), FHeight(Scaled(62, Dpi)) {
  constexpr DWORD Radio = BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_TABSTOP;
  constexpr DWORD List = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
  constexpr DWORD Label = SS_RIGHT;
  TPlacer place(Parent, Font, Dpi, FItems);
  place.Add(L"BUTTON", L"Daily", Radio | WS_GROUP, 60, cmDaily);
  place.Add(L"BUTTON", L"Weekly", Radio, 60, cmWeekly);
  place.Add(L"BUTTON", L"Today", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 56, cmToday);
  place.Gap();
  place.Add(L"STATIC", L"Week", Label, 36);
  place.Add(L"COMBOBOX", L"", List, 58, cmWeekStart);
  place.Add(L"STATIC", L"to", Label, 14);
  place.Add(L"COMBOBOX", L"", List, 58, cmWeekEnd);
  place.Gap();
  place.Add(L"STATIC", L"Hours", Label, 36);
  place.Add(L"COMBOBOX", L"", List, 62, cmDayStart);
  place.Add(L"STATIC", L"to", Label, 14);
  place.Add(L"COMBOBOX", L"", List, 62, cmDayEnd);
  place.Gap();
  place.Add(L"STATIC", L"Scale", Label, 36);
  place.Add(L"COMBOBOX", L"", List, 72, cmTimeScale);
  place.Gap();
  place.Add(L"BUTTON", L"New task...", BS_PUSHBUTTON | WS_TABSTOP, 84, cmNewTask);
  place.Add(L"BUTTON", L"About...", BS_PUSHBUTTON | WS_TABSTOP, 64, cmAbout);
  place.NextRow();
  place.AddCheck(L"Drag tasks", cmDragTasks);
  place.AddCheck(L"Keep in working hours", cmKeepInHours);
  place.AddCheck(L"Ask before deleting", cmAskDelete);
  place.AddCheck(L"Now line", cmNowLine);
  place.Gap();
  place.AddNote(L"Drag a task, or its top or bottom edge; try Enter, Delete, Tab and the arrow keys.");
  ::CheckDlgButton(Parent, cmAskDelete, BST_CHECKED);

  for (long day = 0; day < 7; ++day) {
    AddItem(Item(cmWeekStart), DayNames[day], day);
    AddItem(Item(cmWeekEnd), DayNames[day], day);
  }
  FillTimes(Item(cmDayStart));
  FillTimes(Item(cmDayEnd));
  for (long scale : Scales) AddItem(Item(cmTimeScale), std::to_wstring(scale) + L" min", scale);
}

TToolbar::~TToolbar() {
  for (HWND item : FItems) ::DestroyWindow(item);
}

void TToolbar::Show(ISkedraX2& Control) const {
  ISkedraType type = skDaily;
  IDayOfWeek weekStart = dwMon, weekEnd = dwFri;
  double dayStart = 0, dayEnd = 0;
  long scale = 0;
  VARIANT_BOOL dragTasks = VARIANT_FALSE, nowLine = VARIANT_FALSE;
  Control.get_SkedraType(&type);
  Control.get_WeekStart(&weekStart);
  Control.get_WeekEnd(&weekEnd);
  Control.get_DayStart(&dayStart);
  Control.get_DayEnd(&dayEnd);
  Control.get_TimeScale(&scale);
  Control.get_AllowDragTasks(&dragTasks);
  Control.get_ShowCurrentTime(&nowLine);
  ::CheckRadioButton(FParent, cmDaily, cmWeekly, type == skWeekly ? cmWeekly : cmDaily);
  SelectValue(Item(cmWeekStart), weekStart);
  SelectValue(Item(cmWeekEnd), weekEnd);
  SelectValue(Item(cmDayStart), Minutes(dayStart));
  SelectValue(Item(cmDayEnd), Minutes(dayEnd));
  SelectValue(Item(cmTimeScale), scale);
  ::CheckDlgButton(FParent, cmDragTasks, dragTasks ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(FParent, cmNowLine, nowLine ? BST_CHECKED : BST_UNCHECKED);
}

long TToolbar::Chosen(TCommand List) const {
  HWND list = Item(List);
  const LRESULT index = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<long>(::SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

bool TToolbar::Choose(TCommand List, long Value) const {
  if (!SelectValue(Item(List), Value)) return false;
  ::SendMessageW(FParent, WM_COMMAND, MAKEWPARAM(List, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(List)));
  return true;
}

bool TToolbar::Checked(TCommand Box) const { return ::IsDlgButtonChecked(FParent, Box) == BST_CHECKED; }

void TToolbar::Click(TCommand Button) const { ::SendMessageW(Item(Button), BM_CLICK, 0, 0); }

}  // namespace demo
