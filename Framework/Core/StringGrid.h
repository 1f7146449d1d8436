// The grid that keeps a text for each cell.
#pragma once

#include <map>
#include <utility>

#include "Framework/Core/Grids.h"

namespace skx {

class TStringGrid : public TCustomGrid {
 public:
  explicit TStringGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

  // A cell never written reads as an empty text.
  String CellText(int col, int row) const;
  void SetCellText(int col, int row, const String& text);

 protected:
  void SizeChanged(int oldColCount, int oldRowCount) override;

 private:
  std::map<std::pair<int, int>, String> FCells;
};

}  // namespace skx
