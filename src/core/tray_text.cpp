#include "tray_text.h"

#include <algorithm>

#include "conversions.h"

namespace tocsinet {

std::wstring alarm_file_name(std::wstring_view alarm_file) {
    std::size_t slash = alarm_file.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? alarm_file : alarm_file.substr(slash + 1));
}

std::string tray_tooltip(bool armed, std::string_view hour, std::string_view minute, std::string_view ampm,
                         std::string_view file_name) {
    if (!armed)
        return "Tocsinet: Inactive";
    std::string tip = "Tocsinet: Active\r\n";
    tip += "Alarm Time: ";
    tip += hour;
    tip += ":";
    tip += minute;
    tip += " ";
    tip += ampm;
    tip += "\r\n";
    tip += "Alarm File: ";
    tip += file_name;
    return tip;
}

std::string fit_tray_tip(std::string_view tip, bool (*is_lead_byte)(char)) {
    std::size_t end = 0;
    while (end < tip.size()) {
        std::size_t next = end + (is_lead_byte && is_lead_byte(tip[end]) ? 2 : 1);
        if (next > tray_tip_capacity - 1)
            break;
        end = next;
    }
    return std::string(tip.substr(0, std::min(end, tip.size())));
}

tray_press tray_mouse_message(double x, bool scale_in_pixels, double twips_per_pixel) {
    double pixels = scale_in_pixels || twips_per_pixel <= 0 ? x : x / twips_per_pixel;
    switch (round_half_even(pixels)) {
    case 0x201: // WM_LBUTTONDOWN
        return tray_press::left;
    case 0x204: // WM_RBUTTONDOWN
        return tray_press::right;
    default:
        return tray_press::none;
    }
}

} // namespace tocsinet
