// The concrete task's drawing, edit operations and caption tables.
#include "RxObjects/RxTaskObject.h"

#include "Bitmaps/Bitmaps.h"

namespace skx {

const wchar_t* const TaskTypeNames[3] = {L"Task", L"Meeting", L"Event"};
const wchar_t* const TaskStatusNames[3] = {L"Active", L"Complete", L"Suspend"};
const wchar_t* const TaskPriorityNames[3] = {L"Low", L"Normal", L"High"};

namespace {

constexpr int TextStripHeight = 16;
constexpr int TextGap = 2;
constexpr int TextPoints = 7;

constexpr TTaskBitmap TypeBitmaps[] = {tbTask, tbHandshak, tbEvent};
constexpr TTaskBitmap PriorityBitmaps[] = {tbLow, tbNormal, tbHigh};

// A missing bitmap is 0 x 0: it draws nothing and takes no room. The icons are drawn for 96
// pixels per inch and stretched to the canvas's density.
void DrawIcon(TCanvas& canvas, TTaskBitmap which, int& x, int top) {
  const TBitmap& bitmap = TaskBitmap(which);
  const int width = canvas.Scale().Of(bitmap.Width());
  if (!bitmap.Empty()) canvas.StretchDraw(Bounds(x, top, width, canvas.Scale().Of(bitmap.Height())), bitmap);
  x += width;
}
}  // namespace

void DrawTextLine(TCanvas& Canvas, const TRect& Rect, const String& Text) {
  TRect rect = Rect;
  Canvas.DrawTextInRect(Text, rect, dtSingleLine);
}

// Type, priority and status may hold any byte that automation stored; unknown ones draw no
// icon and leave the font style alone.
void TRxTaskObject::Draw(TCanvas& Canvas, const TRect& Rect) {
  const TScale scale = Canvas.Scale();
  const int textStripHeight = scale.Of(TextStripHeight);
  int x = Rect.Left;
  int iconTop = Rect.Bottom - scale.Of(TaskBitmap(tbHome).Height());
  if (FTaskType <= ttEvent) DrawIcon(Canvas, TypeBitmaps[FTaskType], x, iconTop);
  if (!FWhere.empty()) DrawIcon(Canvas, tbHome, x, iconTop);
  if (FRemind > 0) DrawIcon(Canvas, tbRemind, x, iconTop);
  if (FIsPrivate) DrawIcon(Canvas, tbPrivate, x, iconTop);
  if (FPriority <= tpHigh) DrawIcon(Canvas, PriorityBitmaps[FPriority], x, iconTop);
  Canvas.SetTransparentText(true);
  TRect text = Rect;
  if (Rect.Height() > textStripHeight) {
    text.Top = iconTop - textStripHeight;
    text.Bottom = iconTop;
  } else {
    text.Left = x + scale.Of(TextGap);
    text.Top = iconTop;
  }
  Canvas.SetFontName(L"Small Fonts");
  Canvas.SetFontSize(TextPoints);
  switch (FStatus) {
    case tsActive: Canvas.SetFontStyle({}); break;
    case tsCompleted: Canvas.SetFontStyle({fsStrikeOut}); break;
    case tsSuspend: Canvas.SetFontStyle({fsItalic}); break;
  }
  DrawTextLine(Canvas, text, FDescription);
}
bool TRxTaskObject::EditAppend() { return FEditor != nullptr && FEditor->EditTask(*this); }
bool TRxTaskObject::EditUpdate() { return EditAppend(); }
bool TRxTaskObject::ConfirmDelete() { return true; }

String TRxTaskObject::AccessibleSubject() const { return FDescription; }

// A normal priority is what most tasks have, and saying it on each of them would be noise.
String TRxTaskObject::AccessibleDetails() const {
  String details = FWhere;
  const wchar_t* priority = FPriority == tpHigh ? L"high priority" : FPriority == tpLow ? L"low priority" : nullptr;
  if (priority) details += (details.empty() ? L"" : L", ") + String(priority);
  return details;
}

}  // namespace skx
