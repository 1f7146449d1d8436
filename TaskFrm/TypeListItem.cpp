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
  const TScale scale = Canvas.Scale();
  if (Index >= 0 && Index <= ttEvent) {
    const TBitmap& icon = TaskBitmap(TypeIcons[Index]);
    const TRect iconRect = Bounds(Rect.Left, Rect.Top, scale.Of(icon.Width()), scale.Of(icon.Height()));
    Canvas.StretchDraw(iconRect, icon);
    text.Left += iconRect.Width() + scale.Of(IconGap);
  }
  text.Top += scale.Of(1);
  text.Bottom -= scale.Of(1);
  DrawTextLine(Canvas, text, Caption);
  if (Focused) Canvas.DrawFocusRect(Rect);
}

}  // namespace skx
