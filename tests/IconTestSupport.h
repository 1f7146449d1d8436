// Task icons for tests: a fake loader with the resources' sizes, loaded for the life of a test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "Bitmaps/Bitmaps.h"

namespace skx::test {

// Icons as the resources hold them: the gauges 8 x 16, the rest 16 x 16, and the handle of each
// one more than its place in the name table. Missing names load as nothing.
class TFakeLoader : public TBitmapLoader {
 public:
  TBitmap Load(const wchar_t* name) override {
    String text = name;
    if (std::find(Missing.begin(), Missing.end(), text) != Missing.end()) return TBitmap();
    auto found = std::find_if(std::begin(TaskBitmapNames), std::end(TaskBitmapNames),
                              [&](const wchar_t* known) { return text == known; });
    int index = static_cast<int>(found - std::begin(TaskBitmapNames));
    bool gauge = index >= tbLow;
    return TBitmap(static_cast<std::uintptr_t>(index + 1), gauge ? 8 : 16, 16);
  }
  void Release(const TBitmap& bitmap) override { Released.push_back(bitmap.Handle()); }

  std::vector<String> Missing;
  std::vector<std::uintptr_t> Released;
};

// The fake icons for the life of a test.
struct TLoadedIcons {
  TLoadedIcons() { LoadTaskBitmaps(Loader); }
  ~TLoadedIcons() { FreeTaskBitmaps(); }
  TLoadedIcons(const TLoadedIcons&) = delete;
  TLoadedIcons& operator=(const TLoadedIcons&) = delete;

  void Reload() {
    FreeTaskBitmaps();
    LoadTaskBitmaps(Loader);
  }

  TFakeLoader Loader;
};

}  // namespace skx::test
