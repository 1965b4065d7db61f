// The 12-hour time-of-day text the alarm lists and the alarm check rely on.
#pragma once

#include <string>
#include <string_view>

namespace tocsinet {

struct clock_time {
    int hour = 0; // 0..23
    int minute = 0;
    int second = 0;
};

// "7:05:09 PM": hour without leading zero, two-digit minute and second, a blank, AM or PM.
// Built here rather than taken from the locale, whose format may be 24-hour or lack the blank.
std::string twelve_hour_text(clock_time time);

// The "hour", "minute" or "ampm" part of such a text; any other part name (letter case
// included) gives "".
std::string time_text_part(std::string_view time_text, std::string_view part);

} // namespace tocsinet
