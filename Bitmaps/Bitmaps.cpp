// The process-wide task icons and their loading through the platform's loader.
#include "Bitmaps/Bitmaps.h"

namespace skx {

const wchar_t* const TaskBitmapNames[TaskBitmapCount] = {
    L"BMP_TASK", L"BMP_HANDSHAK", L"BMP_EVENT",  L"BMP_HOME", L"BMP_REMIND",
    L"BMP_PRIVATE", L"BMP_LOW",   L"BMP_NORMAL", L"BMP_HIGH"};

namespace {

TBitmap Loaded[TaskBitmapCount];
TBitmapLoader* Owner = nullptr;

}  // namespace

void LoadTaskBitmaps(TBitmapLoader& loader) {
  FreeTaskBitmaps();
  Owner = &loader;
  for (int i = 0; i < TaskBitmapCount; ++i) Loaded[i] = loader.Load(TaskBitmapNames[i]);
}

void FreeTaskBitmaps() {
  for (TBitmap& bitmap : Loaded) {
    if (Owner && bitmap.Handle()) Owner->Release(bitmap);
    bitmap = TBitmap();
  }
  Owner = nullptr;
}

const TBitmap& TaskBitmap(TTaskBitmap which) { return Loaded[which]; }

}  // namespace skx
