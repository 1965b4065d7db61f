#include "geometry.h"

#include <algorithm>

namespace tocsinet {

rect_px keep_inside(rect_px window, rect_px work_area) {
    int width = window.width();
    int height = window.height();
    int left = window.left;
    int top = window.top;
    if (left + width > work_area.right)
        left = work_area.right - width;
    if (top + height > work_area.bottom)
        top = work_area.bottom - height;
    if (left < work_area.left)
        left = work_area.left;
    if (top < work_area.top)
        top = work_area.top;
    return {left, top, left + width, top + height};
}

rect_px reachable_position(rect_px window, rect_px monitor, rect_px work_area) {
    constexpr int grab_width = 48;
    constexpr int grab_height = 24;
    int visible_width = std::min(window.right, monitor.right) - std::max(window.left, monitor.left);
    int visible_height = std::min(window.bottom, monitor.bottom) - std::max(window.top, monitor.top);
    bool title_on_screen = window.top >= monitor.top && window.top < monitor.bottom;
    if (title_on_screen && visible_width >= std::min(grab_width, window.width()) &&
        visible_height >= std::min(grab_height, window.height()))
        return window;
    return keep_inside(window, work_area);
}

} // namespace tocsinet
