// What the notification-area icon says and how its notifications are read back.
#pragma once

#include <string>
#include <string_view>

namespace tocsinet {

inline constexpr std::size_t tray_tip_capacity = 64; // the first record form's tip field, NUL included

// The last piece of the path after "\" (the whole text when it has none).
std::wstring alarm_file_name(std::wstring_view alarm_file);

// "Tocsinet: Inactive", or the three lines of an armed alarm.
std::wstring tray_tooltip(bool armed, std::wstring_view hour, std::wstring_view minute,
                          std::wstring_view ampm, std::wstring_view file_name);

// The tip as the record holds it: at most 63 UTF-16 units, cut before a character that would not
// fit whole (the two halves of a surrogate pair stay together).
std::wstring fit_tray_tip(std::wstring_view tip);

enum class tray_press { none = 0, left = 1, right = 2 };

// The icon's callback message carries the mouse message number in the low word of its lParam.
tray_press tray_mouse_message(long long lparam);

} // namespace tocsinet
