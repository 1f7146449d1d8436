// Points, pixel rectangles and cell coordinates of the control framework.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace skx {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(TPoint a, TPoint b) { return a.X == b.X && a.Y == b.Y; }
  friend bool operator!=(TPoint a, TPoint b) { return !(a == b); }
};

// Left and top are inside the rectangle, right and bottom just outside it.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  bool Intersects(const TRect& other) const {
    return std::max(Left, other.Left) < std::min(Right, other.Right) &&
           std::max(Top, other.Top) < std::min(Bottom, other.Bottom);
  }
  // Grows each side outwards by dx or dy pixels, or shrinks it for negative values.
  void Inflate(int dx, int dy) {
    Left -= dx;
    Top -= dy;
    Right += dx;
    Bottom += dy;
  }
  friend bool operator==(const TRect& a, const TRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  }
  friend bool operator!=(const TRect& a, const TRect& b) { return !(a == b); }
};

// Positions are summed in 64 bits and kept within the pixel range when they reach a rectangle.
constexpr int ToPixel(std::int64_t position) {
  return static_cast<int>(std::clamp<std::int64_t>(position, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

constexpr TRect Bounds(int left, int top, int width, int height) {
  return TRect{left, top, left + width, top + height};
}

inline TRect UnionRect(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
               std::max(a.Bottom, b.Bottom)};
}

struct TCellCoord {
  int Col = 0;
  int Row = 0;
  friend bool operator==(TCellCoord a, TCellCoord b) { return a.Col == b.Col && a.Row == b.Row; }
  friend bool operator!=(TCellCoord a, TCellCoord b) { return !(a == b); }
};

// Cell indexes, all four bounds inclusive.
struct TCellRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  bool Contains(int col, int row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
  friend bool operator==(const TCellRect& a, const TCellRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  }
  friend bool operator!=(const TCellRect& a, const TCellRect& b) { return !(a == b); }
};

}  // namespace skx
