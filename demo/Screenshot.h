// Screenshots for the demo's self-test: what the screen shows inside a rectangle, as a BMP file.
#pragma once

#include <windows.h>

#include <string>

namespace demo {

// Copies the rectangle from the screen DC, child windows included (PrintWindow under Wine misses
// them), and writes it as a 24-bit bitmap file. False when a step fails.
bool SaveScreenRect(const RECT& Rect, const std::wstring& Path);

}  // namespace demo
