// The grid's saved state: read into a copy of the values, checked, then applied.
#include "SkedraComp/SkedraState.h"

#include "SkedraComp/Skedra.h"

namespace skx {

namespace {

struct TSkedraValues {
  std::int32_t SkedraType;
  std::int32_t BorderStyle;
  std::int32_t Color;
  std::int32_t ParentColor;
  std::int32_t Ctl3D;
  std::int32_t ParentCtl3D;
  std::int32_t Cursor;
  std::int32_t DragCursor;
  std::int32_t DragMode;
  std::int32_t Enabled;
  std::int32_t Visible;
  String FontName;
  std::int32_t FontHeight;
  std::int32_t FontStyle;
  std::int32_t FontColor;
};

// One table for writing and reading, so that both always agree on names.
struct TIntField {
  const wchar_t* Name;
  std::int32_t TSkedraValues::*Field;
  std::int32_t Min;
  std::int32_t Max;
};

constexpr std::int32_t IntMin = INT32_MIN;
constexpr std::int32_t IntMax = INT32_MAX;

const TIntField IntFields[] = {
    {L"SkedraType", &TSkedraValues::SkedraType, skDaily, skWeekly},
    {L"BorderStyle", &TSkedraValues::BorderStyle, bsNone, bsSingle},
    {L"Color", &TSkedraValues::Color, IntMin, IntMax},
    {L"ParentColor", &TSkedraValues::ParentColor, 0, 1},
    {L"Ctl3D", &TSkedraValues::Ctl3D, 0, 1},
    {L"ParentCtl3D", &TSkedraValues::ParentCtl3D, 0, 1},
    {L"Cursor", &TSkedraValues::Cursor, INT16_MIN, INT16_MAX},
    {L"DragCursor", &TSkedraValues::DragCursor, INT16_MIN, INT16_MAX},
    {L"DragMode", &TSkedraValues::DragMode, 0, 1},
    {L"Enabled", &TSkedraValues::Enabled, 0, 1},
    {L"Visible", &TSkedraValues::Visible, 0, 1},
    {L"FontHeight", &TSkedraValues::FontHeight, -4096, 4096},
    {L"FontStyle", &TSkedraValues::FontStyle, 0, 15},
    {L"FontColor", &TSkedraValues::FontColor, IntMin, IntMax},
};
const wchar_t* const FontNameField = L"FontName";
constexpr std::size_t MaxFontName = 31;  // the platform's face names are at most 31 characters

std::int32_t FontStyleBits(TFontStyles style) {
  std::int32_t bits = 0;
  for (TFontStyle s : {fsBold, fsItalic, fsUnderline, fsStrikeOut}) {
    if (style.Contains(s)) bits |= 1 << s;
  }
  return bits;
}

TFontStyles FontStyleOf(std::int32_t bits) {
  TFontStyles style;
  for (TFontStyle s : {fsBold, fsItalic, fsUnderline, fsStrikeOut}) {
    if (bits & (1 << s)) style.Include(s);
  }
  return style;
}

TSkedraValues ValuesOf(const TWinControl& control, std::int32_t skedraType, std::int32_t borderStyle) {
  const TFont& font = control.Font();
  return {skedraType,
          borderStyle,
          static_cast<std::int32_t>(control.Color()),
          control.ParentColor(),
          control.Ctl3D(),
          control.ParentCtl3D(),
          control.Cursor(),
          control.DragCursor(),
          control.DragMode(),
          control.Enabled(),
          control.Visible(),
          font.Name,
          font.Height,
          FontStyleBits(font.Style),
          static_cast<std::int32_t>(font.Color)};
}

void WriteValues(const TSkedraValues& values, TPropertyStore& store) {
  for (const TIntField& field : IntFields) store.SetInt(field.Name, values.*field.Field);
  store.SetText(FontNameField, values.FontName);
}

void ReadValues(TSkedraValues& values, const TPropertyStore& store) {
  for (const TIntField& field : IntFields) {
    std::int32_t value = 0;
    if (!store.GetInt(field.Name, value)) continue;
    if (value < field.Min || value > field.Max) {
      throw EReadError(FormatText(L"Invalid property value for %s", field.Name));
    }
    values.*field.Field = value;
  }
  String name;
  if (store.GetText(FontNameField, name)) {
    if (name.empty() || name.size() > MaxFontName) throw EReadError(L"Invalid property value for FontName");
    values.FontName = name;
  }
}

void ApplyValues(TWinControl& control, const TSkedraValues& values) {
  control.SetColor(static_cast<TColor>(values.Color));
  control.SetParentColor(values.ParentColor != 0);
  control.SetCtl3D(values.Ctl3D != 0);
  control.SetParentCtl3D(values.ParentCtl3D != 0);
  control.SetCursor(values.Cursor);
  control.SetDragCursor(values.DragCursor);
  control.SetDragMode(values.DragMode);
  control.SetEnabled(values.Enabled != 0);
  control.SetVisible(values.Visible != 0);
  TFont font = control.Font();
  font.Name = values.FontName;
  font.Height = values.FontHeight;
  font.Style = FontStyleOf(values.FontStyle);
  font.Color = static_cast<TColor>(values.FontColor);
  control.SetFont(font);
}

}  // namespace

void WriteSkedraState(const TSkedra& grid, TPropertyStore& store) {
  WriteValues(ValuesOf(grid, grid.SkedraType(), grid.BorderStyle()), store);
}

void ReadSkedraState(TSkedra& grid, const TPropertyStore& store) {
  TSkedraValues values = ValuesOf(grid, grid.SkedraType(), grid.BorderStyle());
  ReadValues(values, store);
  ApplyValues(grid, values);
  grid.SetBorderStyle(static_cast<TBorderStyle>(values.BorderStyle));
  grid.SetSkedraType(static_cast<TSkedraType>(values.SkedraType));
}

void WriteSkedraControlState(const TWinControl& control, TPropertyStore& store) {
  WriteSkedraState(dynamic_cast<const TSkedra&>(control), store);
}

void ReadSkedraControlState(TWinControl& control, const TPropertyStore& store) {
  ReadSkedraState(dynamic_cast<TSkedra&>(control), store);
}

}  // namespace skx
