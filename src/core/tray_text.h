// What the notification-area icon says and how its mouse notifications are read back.
#pragma once

#include <string>
#include <string_view>

namespace tocsinet {

inline constexpr std::size_t tray_tip_capacity = 64; // the 88-byte record's tip field, NUL included

// The last piece of the path after "\" (the whole text when it has none). Cut on the wide text:
// in a double-byte code page the second byte of a character can be a "\".
std::wstring alarm_file_name(std::wstring_view alarm_file);

// "Tocsinet: Inactive", or the three lines of an armed alarm.
std::string tray_tooltip(bool armed, std::string_view hour, std::string_view minute, std::string_view ampm,
                         std::string_view file_name);

// The tip as the record holds it: at most 63 bytes of ANSI text, cut before a double-byte
// character that would not fit whole; `is_lead_byte` tells the first byte of such a character.
std::string fit_tray_tip(std::string_view tip, bool (*is_lead_byte)(char) = nullptr);

enum class tray_press { none = 0, left = 1, right = 2 };

// The icon's notifications arrive as mouse moves whose x is the mouse message number,
// converted into the window's scale units (twips unless the window scales in pixels).
tray_press tray_mouse_message(double x, bool scale_in_pixels, double twips_per_pixel);

} // namespace tocsinet
