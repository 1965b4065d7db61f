#include "geometry.h"

#include <algorithm>
#include <cstdint>

#include "conversions.h"

namespace tocsinet {
namespace {

// The rectangle sums are done in 64 bits: a rectangle from anywhere cannot overflow them.
using wide = std::int64_t;

// A corner at the farthest pixel plus a size up to as far still fits an int.
int clamp_pixel(wide value) {
    return static_cast<int>(std::clamp<wide>(value, -2 * wide{farthest_pixel}, 2 * wide{farthest_pixel}));
}

int clamp_size(int size) { return std::clamp(size, 0, farthest_pixel); }

} // namespace

rect_px window_at_twips(double left_twips, double top_twips, int width, int height, int dpi) {
    int left = twips_to_pixels(left_twips, dpi);
    int top = twips_to_pixels(top_twips, dpi);
    return {left, top, left + clamp_size(width), top + clamp_size(height)};
}

std::string position_text(int pixels, int system_dpi) {
    return single_to_text(static_cast<float>(pixels_to_twips(pixels, system_dpi)));
}

int first_show_command(int requested) {
    constexpr int normal = 1, minimised = 2, no_activate = 4, minimise = 6, minimised_no_activate = 7;
    switch (requested) {
    case minimised:
    case minimise: // activates the next window, not this one
    case minimised_no_activate:
        return requested;
    case 11: // SW_FORCEMINIMIZE, meant for a window of another thread
        return minimised_no_activate;
    case no_activate:
    case 8: // SW_SHOWNA: a new window's current state is the normal one
        return no_activate;
    default:
        return normal;
    }
}

rect_px keep_inside(rect_px window, rect_px work_area) {
    wide width = wide{window.right} - window.left;
    wide height = wide{window.bottom} - window.top;
    wide left = window.left;
    wide top = window.top;
    if (left + width > work_area.right)
        left = work_area.right - width;
    if (top + height > work_area.bottom)
        top = work_area.bottom - height;
    left = std::max<wide>(left, work_area.left);
    top = std::max<wide>(top, work_area.top);
    return {clamp_pixel(left), clamp_pixel(top), clamp_pixel(left + width), clamp_pixel(top + height)};
}

rect_px reachable_position(rect_px window, rect_px monitor, rect_px work_area) {
    constexpr wide grab_width = 48;
    constexpr wide grab_height = 24;
    wide width = wide{window.right} - window.left;
    wide height = wide{window.bottom} - window.top;
    wide visible_width = std::min<wide>(window.right, monitor.right) - std::max<wide>(window.left, monitor.left);
    wide visible_height = std::min<wide>(window.bottom, monitor.bottom) - std::max<wide>(window.top, monitor.top);
    bool title_on_screen = window.top >= monitor.top && window.top < monitor.bottom;
    if (title_on_screen && visible_width >= std::min(grab_width, width) && visible_height >= std::min(grab_height, height))
        return window;
    return keep_inside(window, work_area);
}

} // namespace tocsinet
