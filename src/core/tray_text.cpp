#include "tray_text.h"

#include <algorithm>

namespace tocsinet {

std::wstring alarm_file_name(std::wstring_view alarm_file) {
    std::size_t slash = alarm_file.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? alarm_file : alarm_file.substr(slash + 1));
}

std::wstring tray_tooltip(bool armed, std::wstring_view hour, std::wstring_view minute,
                          std::wstring_view ampm, std::wstring_view file_name) {
    if (!armed)
        return L"Tocsinet: Inactive";
    std::wstring tip = L"Tocsinet: Active\r\n";
    tip += L"Alarm Time: ";
    tip += hour;
    tip += L":";
    tip += minute;
    tip += L" ";
    tip += ampm;
    tip += L"\r\n";
    tip += L"Alarm File: ";
    tip += file_name;
    return tip;
}

std::wstring fit_tray_tip(std::wstring_view tip) {
    std::size_t end = std::min(tip.size(), tray_tip_capacity - 1);
    auto high_surrogate = [](wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
    if (end < tip.size() && end > 0 && high_surrogate(tip[end - 1]))
        --end;
    return std::wstring(tip.substr(0, end));
}

tray_press tray_mouse_message(long long lparam) {
    switch (lparam & 0xFFFF) {
    case 0x201: // WM_LBUTTONDOWN
        return tray_press::left;
    case 0x204: // WM_RBUTTONDOWN
        return tray_press::right;
    default:
        return tray_press::none;
    }
}

} // namespace tocsinet
