// Owners of the GDI objects that the Windows layer creates, and a count of those alive.
#pragma once

#include <windows.h>

namespace skx {

// Pens, brushes, fonts, bitmaps, regions and memory DCs made by this layer and not yet deleted.
// Tests read it, since Wine's GetGuiResources always answers 0.
int LiveGdiObjects();

// Counts a freshly created object (null is not counted) and hands it back.
template <typename Handle>
Handle CountGdiObject(Handle handle);
// Deletes an object that CountGdiObject counted.
void DeleteGdiObject(HGDIOBJ handle);

// Owns one counted GDI object (pen, brush, font, bitmap or region).
template <typename Handle>
class TGdiObject {
 public:
  TGdiObject() = default;
  explicit TGdiObject(Handle handle) : FHandle(CountGdiObject(handle)) {}
  ~TGdiObject() { Reset(); }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  TGdiObject(TGdiObject&& other) noexcept : FHandle(other.FHandle) { other.FHandle = nullptr; }
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = other.FHandle;
      other.FHandle = nullptr;
    }
    return *this;
  }

  Handle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  void Reset() {
    if (FHandle) DeleteGdiObject(FHandle);
    FHandle = nullptr;
  }

 private:
  Handle FHandle = nullptr;
};

// A counted memory DC compatible with another DC; the objects selected into it must be
// selected out again before it goes.
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC compatibleWith);
  ~TMemoryDC();
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return FDC; }

 private:
  HDC FDC;
};

// Selects an object into a DC for its lifetime and puts the previous one back afterwards.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ object) : FDC(dc), FOld(::SelectObject(dc, object)) {}
  ~TSelectObject() { ::SelectObject(FDC, FOld); }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

}  // namespace skx
