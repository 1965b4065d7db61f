// Window geometry is designed in twips (1440 per inch) and shown in pixels.
#pragma once

#include <cmath>
#include <string>

namespace tocsinet {

inline constexpr int twips_per_inch = 1440;

// Far beyond any screen, yet sums of two such numbers still fit an int.
inline constexpr int farthest_pixel = 1 << 29;

// Any number, however large (or not a number at all), gives a pixel count within
// +-farthest_pixel, so the sums made with it cannot overflow.
inline int twips_to_pixels(double twips, int dpi) {
    double pixels = twips * dpi / twips_per_inch;
    if (std::isnan(pixels))
        return 0;
    pixels = std::fmin(std::fmax(pixels, -farthest_pixel), farthest_pixel);
    return static_cast<int>(std::lround(pixels));
}

inline double pixels_to_twips(int pixels, int dpi) { return static_cast<double>(pixels) * twips_per_inch / dpi; }

inline double twips_per_pixel(int dpi) { return static_cast<double>(twips_per_inch) / dpi; }

// A point size as a font height in pixels (negative: character height, as LOGFONT takes it).
inline int font_height_for_points(double points, int dpi) {
    return -static_cast<int>(std::lround(points * dpi / 72.0));
}

struct rect_px {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// A window of this size at a saved position in twips.
rect_px window_at_twips(double left_twips, double top_twips, int width, int height, int dpi);

// An edge of the window as the settings file keeps it, in twips. Saved and restored at one DPI
// for the whole desktop (the system's), so a window on a monitor of another scale comes back there.
std::string position_text(int pixels, int system_dpi);

// How the main window first shows for the show command it was started with (ShowWindow's
// numbers): every minimised one minimised, and one that takes no focus (as "Run: Minimized" at
// logon) without taking it; anything else normal, as a hidden start could never be reached.
int first_show_command(int requested);

// Moves a window rectangle into a work area.
rect_px keep_inside(rect_px window, rect_px work_area);

// A saved position stays as it is while enough of the window shows on the nearest monitor to
// grab it; otherwise (a monitor removed, a hand-edited file) the window moves into that
// monitor's work area, so the user can always reach it.
rect_px reachable_position(rect_px window, rect_px monitor, rect_px work_area);

} // namespace tocsinet
