// Bitmaps from the module's own resources, loaded once per process.
#include "Framework/Win32/ResourceBitmaps.h"

#include <map>

#include "Bitmaps/Bitmaps.h"
#include "Framework/Win32/GdiObjects.h"
#include "Framework/Win32/Module.h"

namespace skx {

namespace {

HBITMAP LoadFromModule(const wchar_t* name) { return ::LoadBitmapW(ThisModule(), name); }

// A missing resource is remembered as a null handle, so it is looked for only once.
std::map<String, TGdiObject<HBITMAP>>& Cache() {
  static std::map<String, TGdiObject<HBITMAP>> cache;
  return cache;
}

}  // namespace

HBITMAP ResourceBitmap(const String& name) {
  auto found = Cache().find(name);
  if (found == Cache().end())
    found = Cache().emplace(name, TGdiObject<HBITMAP>(LoadFromModule(name.c_str()))).first;
  return found->second.Get();
}

void FreeResourceBitmaps() { Cache().clear(); }

namespace {

class TResourceBitmapLoader : public TBitmapLoader {
 public:
  TBitmap Load(const wchar_t* name) override {
    HBITMAP handle = CountGdiObject(LoadFromModule(name));
    BITMAP info{};
    if (handle) ::GetObjectW(handle, sizeof(info), &info);
    return TBitmap(reinterpret_cast<std::uintptr_t>(handle), info.bmWidth, info.bmHeight);
  }
  void Release(const TBitmap& bitmap) override {
    DeleteGdiObject(reinterpret_cast<HGDIOBJ>(bitmap.Handle()));
  }
};

}  // namespace

void LoadSharedTaskBitmaps() {
  static TResourceBitmapLoader loader;
  LoadTaskBitmaps(loader);
}

}  // namespace skx
