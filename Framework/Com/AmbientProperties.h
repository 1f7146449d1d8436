// The container's ambient properties, asked of its client site's IDispatch.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "Framework/Core/Controls.h"

namespace skx {

// What the site answers of BackColor, ForeColor, Font, DisplayName, LocaleID and UserMode; what it does not answer stays
// unset (the control then keeps its own), and a site without IDispatch answers nothing. Font
// takes the site's face, size and style into a copy of Current, and with it the density of the
// container's window (PixelsPerInch).
TAmbientProperties ReadAmbientProperties(IOleClientSite* site, const TFont& current);

// The ambient DISPIDs that ReadAmbientProperties reads, and DISPID_UNKNOWN (several changed).
bool IsReadAmbient(DISPID id);

}  // namespace skx
