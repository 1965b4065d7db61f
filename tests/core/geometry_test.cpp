#include "geometry.h"

#include <limits>
#include <tuple>

#include "conversions.h"

#include <gtest/gtest.h>

using namespace tocsinet;

// Twips and points at 96 and 144 DPI are checked where the windows are laid out at both.
TEST(MainWindowPlace, ShownAsStartedWhereItWasSavedAndWithinReach) {
    rect_px monitor{0, 0, 1024, 768}, work{0, 0, 1024, 740};
    EXPECT_EQ(reachable_position(window_at_twips(-1200, 900, 265, 212, 96), monitor, work).left, -80);
    rect_px far_right = reachable_position({5000, 60, 5265, 272}, monitor, work);
    EXPECT_TRUE(far_right.right == 1024 && far_right.top == 60);
    EXPECT_EQ(reachable_position({100, 760, 365, 972}, monitor, work).bottom, 740);
    // Any stored number, however large, or none at all, puts the whole window in the work area.
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (double twips : {3.2e10, -3.2e10, 3.4e38, inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        rect_px placed = reachable_position(window_at_twips(twips, twips, 265, 212, 96), monitor, work);
        EXPECT_TRUE(placed.left >= 0 && placed.right <= 1024 && placed.top >= 0 && placed.bottom <= 740)
            << twips;
        EXPECT_EQ(placed.width(), 265) << twips;
    }
    // Saved and restored at the system's DPI, a window comes back where it was on either of two
    // monitors of 96 and 144 DPI: 1920 by 1080 pixels at 100 % and, right of it and higher, at 150 %.
    const rect_px primary{0, 0, 1920, 1080}, second{1920, -300, 4800, 1320};
    // clang-format off
    const std::tuple<int, int, int, rect_px> places[] = {
        {96, 2400, -250, second}, {96, 4535, 1100, second}, {144, 2401, -299, second}, {144, -1, 1000, primary}};
    // clang-format on
    for (auto [dpi, left, top, on] : places) {
        auto saved = [&](int pixels) { return leading_number(position_text(pixels, dpi)); };
        rect_px placed = reachable_position(window_at_twips(saved(left), saved(top), 265, 212, dpi), on, on);
        EXPECT_TRUE(placed.left == left && placed.top == top) << dpi << ": " << left << ", " << top;
    }
    // Minimised ones minimised, none of those that take no focus taking it.
    for (auto [requested, shown] :
         {std::pair{2, 2}, {6, 6}, {7, 7}, {11, 7}, {4, 4}, {8, 4}, {0, 1}, {3, 1}, {10, 1}})
        EXPECT_EQ(first_show_command(requested), shown) << requested;
    constexpr int low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    rect_px extreme = reachable_position({low, low, high, high}, monitor, work);
    EXPECT_EQ(extreme.left, 0);
}
