#include "platform/dpi.h"

#include <gtest/gtest.h>

namespace {

TEST(DpiTest, EveryFigureStaysAsDesignedAt96Dpi) {
  for (int units = -2000; units <= 2000; ++units) {
    ASSERT_EQ(ToPixels(units, 96), units);
    ASSERT_EQ(ToUnits(units, 96), units);
    ASSERT_EQ(PositionToPixels(units, 1024, 1024, 96), units);
  }
}

TEST(DpiTest, ScalesRoundingHalfAwayFromZero) {
  // The main window's 408 x 297 frame and the alert's distance from the corner at 150 %.
  EXPECT_EQ(ToPixels(408, 144), 612);
  EXPECT_EQ(ToPixels(297, 144), 446);
  EXPECT_EQ(ToPixels(261, 144), 392);
  EXPECT_EQ(ToPixels(-5, 144), -8);
  EXPECT_EQ(ToPixels(3, 120), 4);
  EXPECT_EQ(ToPixels(300, 192), 600);
  EXPECT_EQ(ToUnits(1024, 144), 683);
  EXPECT_EQ(ToUnits(768, 144), 512);
}

TEST(DpiTest, PositionsKeepTheirScaledDistanceFromTheNearerEdge) {
  // A 1024 x 768 screen at 144 DPI is 683 x 512 design units.
  EXPECT_EQ(PositionToPixels(683 - 261, 683, 1024, 144), 1024 - 392);
  EXPECT_EQ(PositionToPixels(512 - 240, 512, 768, 144), 768 - 360);
  EXPECT_EQ(PositionToPixels(10, 683, 1024, 144), 15);
  EXPECT_EQ(PositionToPixels(683, 683, 1024, 144), 1024);
}

}  // namespace
