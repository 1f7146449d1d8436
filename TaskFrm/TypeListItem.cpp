// One item of the task dialog's type list.
#include "TaskFrm/TypeListItem.h"

#include "Bitmaps/Bitmaps.h"
#include "RxObjects/RxTaskObject.h"

namespace skx {

namespace {
constexpr TTaskBitmap TypeIcons[] = {tbTask, tbHandshak, tbEvent};
constexpr int IconGap = 2;
}  // namespace

void DrawTypeListItem(TCanvas& Canvas, int Index, const TRect& Rect, const String& Caption,
                      bool Focused) {
  Canvas.FillRect(Rect);
  TRect text = Rect;
  if (Index >= 0 && Index <= ttEvent) {
    const TBitmap& icon = TaskBitmap(TypeIcons[Index]);
    Canvas.Draw(Rect.Left, Rect.Top, icon);
    text.Left += icon.Width() + IconGap;
  }
  text.Top += 1;
  text.Bottom -= 1;
  DrawTextLine(Canvas, text, Caption);
  if (Focused) Canvas.DrawFocusRect(Rect);
}

}  // namespace skx
