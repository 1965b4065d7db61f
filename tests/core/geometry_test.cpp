#include "geometry.h"

#include <gtest/gtest.h>

using namespace tocsinet;

TEST(Twips, ConvertAtTheRealDpi) {
    EXPECT_EQ(twips_to_pixels(1200, 96), 80);
    EXPECT_EQ(twips_to_pixels(900, 96), 60);
    EXPECT_EQ(twips_to_pixels(3825, 96), 255);
    EXPECT_EQ(twips_to_pixels(3825, 144), 383);
    EXPECT_EQ(twips_to_pixels(-1200, 96), -80);
    EXPECT_DOUBLE_EQ(pixels_to_twips(80, 96), 1200);
    EXPECT_DOUBLE_EQ(twips_per_pixel(120), 12);
    EXPECT_EQ(font_height_for_points(8.25, 96), -11);
    EXPECT_EQ(font_height_for_points(6.75, 96), -9);
}

TEST(ReachablePosition, SavedPositionsThatShowStay) {
    rect_px monitor{0, 0, 1024, 768};
    rect_px work{0, 0, 1024, 740};
    rect_px window{80, 60, 345, 272};
    EXPECT_EQ(reachable_position(window, monitor, work).left, 80);
    rect_px partly_left{-80, 60, 185, 272}; // X = -1200 twips
    EXPECT_EQ(reachable_position(partly_left, monitor, work).left, -80);
}

TEST(ReachablePosition, LostWindowsComeBackIntoTheWorkArea) {
    rect_px monitor{0, 0, 1024, 768};
    rect_px work{0, 0, 1024, 740};
    rect_px far_right{5000, 60, 5265, 272};
    rect_px placed = reachable_position(far_right, monitor, work);
    EXPECT_EQ(placed.right, 1024);
    EXPECT_EQ(placed.width(), 265);
    EXPECT_EQ(placed.top, 60);
    rect_px above{100, -500, 365, -288};
    EXPECT_EQ(reachable_position(above, monitor, work).top, 0);
    rect_px below{100, 760, 365, 972};
    EXPECT_EQ(reachable_position(below, monitor, work).bottom, 740);
}
