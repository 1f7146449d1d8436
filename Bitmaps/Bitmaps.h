// The task icons, loaded once for the whole process and shared by every grid, marker and dialog.
#pragma once

#include "Framework/Core/Graphics.h"

namespace skx {

enum TTaskBitmap {
  tbTask,
  tbHandshak,
  tbEvent,
  tbHome,
  tbRemind,
  tbPrivate,
  tbLow,
  tbNormal,
  tbHigh,
  TaskBitmapCount
};

// The resource name of each icon: "BMP_TASK", "BMP_HANDSHAK", ...
extern const wchar_t* const TaskBitmapNames[TaskBitmapCount];

// Loads and frees bitmaps from the library's own resources; the platform supplies it.
class TBitmapLoader {
 public:
  virtual ~TBitmapLoader() = default;
  // An empty bitmap when the resource cannot be loaded.
  virtual TBitmap Load(const wchar_t* name) = 0;
  // Called once for every bitmap with a handle that Load gave.
  virtual void Release(const TBitmap& bitmap) = 0;
};

// Loads every icon when the library is loaded; the loader must stay alive until FreeTaskBitmaps,
// which releases them through it when the library is unloaded. Loading again frees the old set.
void LoadTaskBitmaps(TBitmapLoader& loader);
void FreeTaskBitmaps();

// Empty (0 x 0) while not loaded or when its resource was missing.
const TBitmap& TaskBitmap(TTaskBitmap which);

}  // namespace skx
