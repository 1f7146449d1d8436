// The recording canvas: each call appends one record with the state after it.
#include "Framework/Core/RecordingCanvas.h"

#include <algorithm>

namespace skx {

std::vector<TCanvasCall> TRecordingCanvas::Of(TCanvasOp op) const {
  std::vector<TCanvasCall> calls;
  for (const TCanvasCall& call : Calls)
    if (call.Op == op) calls.push_back(call);
  return calls;
}

TCanvasCall& TRecordingCanvas::Record(TCanvasOp op) {
  TCanvasCall& call = Calls.emplace_back();
  call.Op = op;
  call.State = State;
  return call;
}

void TRecordingCanvas::SetFontSize(int points) {
  State.Font.SetSize(points);
  Record(coFontSize);
}

void TRecordingCanvas::FillRect(const TRect& rect) { Record(coFillRect).Rect = rect; }

void TRecordingCanvas::Rectangle(const TRect& rect) { Record(coRectangle).Rect = rect; }

void TRecordingCanvas::MoveTo(int x, int y) { Record(coMoveTo).Point = TPoint{x, y}; }

void TRecordingCanvas::LineTo(int x, int y) { Record(coLineTo).Point = TPoint{x, y}; }

void TRecordingCanvas::PolyPolyline(const TPoint* points, const int* counts, int lineCount) {
  TCanvasCall& call = Record(coPolyPolyline);
  int total = 0;
  for (int i = 0; i < lineCount; ++i) {
    call.Counts.push_back(counts[i]);
    total += counts[i];
  }
  call.Points.assign(points, points + total);
}

void TRecordingCanvas::TextRect(const TRect& rect, int x, int y, const String& text) {
  TCanvasCall& call = Record(coTextRect);
  call.Rect = rect;
  call.Point = TPoint{x, y};
  call.Text = text;
}

int TRecordingCanvas::DrawTextInRect(const String& text, TRect& rect, unsigned flags) {
  TCanvasCall& call = Record(coDrawText);
  call.Rect = rect;
  call.Text = text;
  call.Flags = flags;
  return 0;
}

void TRecordingCanvas::DrawFocusRect(const TRect& rect) { Record(coDrawFocusRect).Rect = rect; }

void TRecordingCanvas::RecordBitmap(TCanvasOp op, const TRect& rect, const TBitmap& bitmap) {
  TCanvasCall& call = Record(op);
  call.Point = TPoint{rect.Left, rect.Top};
  call.Bitmap = bitmap.Handle();
  call.Rect = rect;
}

int TRecordingCanvas::TextHeight(const String&) {
  const int height = Scale().Of(State.Font.Height);
  return height < 0 ? -height : height;
}

TBitmap TRecordingCanvas::NamedBitmap(const String& name) {
  auto found = NamedBitmaps.find(name);
  return found != NamedBitmaps.end() ? found->second : TBitmap();
}

void TRecordingCanvas::DrawBevel(const TRect& rect, TBevel bevel) {
  TCanvasCall& call = Record(coDrawBevel);
  call.Rect = rect;
  call.Bevel = bevel;
}

void TRecordingCanvas::BeginArea(const TRect& area) {
  FAreas.push_back(TSavedArea{FOrigin, ClipRect, State});
  TRect clip = ClipRect;
  if (clip.Intersects(area))
    clip = TRect{std::max(clip.Left, area.Left), std::max(clip.Top, area.Top),
                 std::min(clip.Right, area.Right), std::min(clip.Bottom, area.Bottom)};
  else
    clip = TRect{};
  ClipRect = TRect{clip.Left - area.Left, clip.Top - area.Top, clip.Right - area.Left,
                   clip.Bottom - area.Top};
  FOrigin = TPoint{FOrigin.X + area.Left, FOrigin.Y + area.Top};
  State = TCanvasState{};
  Record(coBeginArea).Rect = Bounds(FOrigin.X, FOrigin.Y, area.Width(), area.Height());
}

void TRecordingCanvas::EndArea() {
  if (FAreas.empty()) return;
  FOrigin = FAreas.back().Origin;
  ClipRect = FAreas.back().ClipRect;
  State = FAreas.back().State;
  FAreas.pop_back();
  Record(coEndArea);
}

}  // namespace skx
