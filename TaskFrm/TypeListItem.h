// One item of the task dialog's type list: the type's icon, its caption, the focus mark.
#pragma once

#include "Framework/Core/Graphics.h"

namespace skx {

// Draws with the brush and font colours the list set up for the item (its own, or the highlight
// colours when the item is selected). The item is filled first, so that no highlight stays
// beside the caption of an item that lost it.
void DrawTypeListItem(TCanvas& Canvas, int Index, const TRect& Rect, const String& Caption,
                      bool Focused);

}  // namespace skx
