// Owners of the GDI objects that the Windows layer creates, and a count of those alive.
#include "Framework/Win32/GdiObjects.h"

#include "Framework/Core/Exceptions.h"

namespace skx {

namespace {

int liveObjects = 0;

}  // namespace

int LiveGdiObjects() { return liveObjects; }

template <typename Handle>
Handle CountGdiObject(Handle handle) {
  if (handle) ++liveObjects;
  return handle;
}

template HPEN CountGdiObject(HPEN);
template HBRUSH CountGdiObject(HBRUSH);
template HFONT CountGdiObject(HFONT);
template HBITMAP CountGdiObject(HBITMAP);
template HRGN CountGdiObject(HRGN);
template HDC CountGdiObject(HDC);

void DeleteGdiObject(HGDIOBJ handle) {
  if (handle && ::DeleteObject(handle)) --liveObjects;
}

TMemoryDC::TMemoryDC(HDC compatibleWith) : FDC(CountGdiObject(::CreateCompatibleDC(compatibleWith))) {
  if (!FDC) throw EInvalidOperation(L"Out of system resources");
}

TMemoryDC::~TMemoryDC() {
  if (FDC && ::DeleteDC(FDC)) --liveObjects;
}

}  // namespace skx
