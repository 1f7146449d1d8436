// The grid that keeps a text for each cell.
#include "Framework/Core/StringGrid.h"

namespace skx {

String TStringGrid::CellText(int col, int row) const {
  auto found = FCells.find({col, row});
  return found == FCells.end() ? String() : found->second;
}

// The grid writes all its labels again at every navigation; a text that stays needs no repaint.
void TStringGrid::SetCellText(int col, int row, const String& text) {
  String& cell = FCells[{col, row}];
  if (cell == text) return;
  cell = text;
  InvalidateRect(CellRect(col, row));
}

void TStringGrid::SizeChanged(int, int) {
  for (auto cell = FCells.begin(); cell != FCells.end();) {
    if (cell->first.first >= ColCount() || cell->first.second >= RowCount())
      cell = FCells.erase(cell);
    else
      ++cell;
  }
}

}  // namespace skx
