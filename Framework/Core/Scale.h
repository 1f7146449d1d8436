// The factor between sizes drawn for 96 pixels per inch and those of the screen a control is on.
#pragma once

#include <cstdint>

#include "Framework/Core/Geometry.h"

namespace skx {

// Sizes in the code are written for 96 pixels per inch; a control shown at another density turns
// each one into its own pixels here, so that everything on it grows together. Rounded the way the
// platform's MulDiv rounds (halves away from zero), so that 96 leaves every size as it is.
class TScale {
 public:
  static constexpr int BaseDpi = 96;

  constexpr TScale() = default;
  // A density the platform could not tell (0, or nonsense) counts as the base one.
  explicit constexpr TScale(int dpi) : FDpi(dpi > 0 ? dpi : BaseDpi) {}

  constexpr int Dpi() const { return FDpi; }
  constexpr bool IsBase() const { return FDpi == BaseDpi; }

  constexpr int Of(int pixels) const { return static_cast<int>(Of(std::int64_t{pixels})); }
  constexpr std::int64_t Of(std::int64_t pixels) const {
    const std::int64_t product = pixels * FDpi;
    return product >= 0 ? (product + BaseDpi / 2) / BaseDpi : -((-product + BaseDpi / 2) / BaseDpi);
  }
  // Each edge where its base place scales to.
  constexpr TRect Of(const TRect& rect) const {
    return TRect{Of(rect.Left), Of(rect.Top), Of(rect.Right), Of(rect.Bottom)};
  }
  // The pixels between the scaled places of two base positions: a run of cells laid end to end
  // this way ends where the base run's end scales to, however the single sizes round.
  constexpr int Span(std::int64_t start, int length) const {
    return static_cast<int>(Of(start + length) - Of(start));
  }

  friend constexpr bool operator==(TScale a, TScale b) { return a.FDpi == b.FDpi; }
  friend constexpr bool operator!=(TScale a, TScale b) { return a.FDpi != b.FDpi; }

 private:
  int FDpi = BaseDpi;
};

}  // namespace skx
