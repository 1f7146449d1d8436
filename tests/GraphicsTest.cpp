// Colours resolved to red-green-blue, bitmaps without a handle, and rectangle helpers.
#include <gtest/gtest.h>

#include "Framework/Core/Graphics.h"

namespace skx {
namespace {

TColor OneSource(int index) { return static_cast<TColor>(index) * 0x10101u; }

TEST(Graphics, SystemColoursResolveThroughTheSourceAndOtherColoursStayAsTheyAre) {
  EXPECT_EQ(ColorToRGB(clHighlight), 0x006A240Au);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x00C8D0D4u);
  EXPECT_EQ(ColorToRGB(0x800000FFu), clBlack);
  EXPECT_EQ(ColorToRGB(clSilver), clSilver);
  EXPECT_EQ(ColorToRGB(0x01000005u), 0x01000005u);
  SetSystemColorSource(OneSource);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x000F0F0Fu);
  SetSystemColorSource(nullptr);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x00C8D0D4u);
}

TEST(Graphics, ABitmapWithoutAHandleMeasuresNothing) {
  TBitmap missing(0, 16, 16);
  EXPECT_EQ(missing.Width(), 0);
  EXPECT_EQ(missing.Height(), 0);
  EXPECT_TRUE(missing.Empty());
  TBitmap icon(42, 8, 16);
  EXPECT_EQ(icon.Handle(), 42u);
  EXPECT_EQ(icon.Width(), 8);
  EXPECT_FALSE(icon.Empty());
}

TEST(Graphics, RectanglesInflateBothWaysAndIntersectOnlyWhenTheyShareAPixel) {
  TRect rect{10, 10, 20, 30};
  rect.Inflate(-3, -1);
  EXPECT_EQ(rect, (TRect{13, 11, 17, 29}));
  rect.Inflate(1, 2);
  EXPECT_EQ(rect, (TRect{12, 9, 18, 31}));
  EXPECT_TRUE(rect.Intersects(TRect{17, 30, 40, 40}));
  EXPECT_FALSE(rect.Intersects(TRect{18, 9, 40, 40}));
  EXPECT_FALSE(rect.Intersects(TRect{0, 0, 12, 9}));
}

}  // namespace
}  // namespace skx
