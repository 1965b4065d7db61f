#include "geometry.h"

#include <limits>

#include <gtest/gtest.h>

using namespace tocsinet;

// Twips and points at 96 and 144 DPI are checked where the windows are laid out at both.
TEST(ReachablePosition, WindowsThatShowStayAndLostOnesComeBack) {
    rect_px monitor{0, 0, 1024, 768}, work{0, 0, 1024, 740};
    EXPECT_EQ(reachable_position(window_at_twips(-1200, 900, 265, 212, 96), monitor, work).left, -80);
    rect_px far_right = reachable_position({5000, 60, 5265, 272}, monitor, work);
    EXPECT_EQ(far_right.right, 1024);
    EXPECT_EQ(far_right.top, 60);
    EXPECT_EQ(reachable_position({100, 760, 365, 972}, monitor, work).bottom, 740);
    // Any stored number, however large, or none at all, puts the whole window in the work area.
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (double twips : {3.2e10, -3.2e10, 3.4e38, inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        rect_px placed = reachable_position(window_at_twips(twips, twips, 265, 212, 96), monitor, work);
        EXPECT_TRUE(placed.left >= 0 && placed.right <= 1024 && placed.top >= 0 && placed.bottom <= 740)
            << twips;
        EXPECT_EQ(placed.width(), 265) << twips;
    }
    constexpr int low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    rect_px extreme = reachable_position({low, low, high, high}, monitor, work);
    EXPECT_EQ(extreme.left, 0);
}
