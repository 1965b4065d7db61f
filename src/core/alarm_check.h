// Whether an armed alarm goes off at a tick.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tocsinet {

// The alarm as the three lists show it.
struct alarm_time {
    std::string hour;   // "1".."12"
    std::string minute; // "00".."59"
    std::string ampm;   // "AM" or "PM"
};

// Local wall-clock time in milliseconds from any fixed origin at a midnight.
using local_millis = std::int64_t;

// The four tests of the alarm check, on one reading of the clock: hour and minute compared
// as numbers, the designator as a substring, and "00" somewhere in the text.
bool alarm_tests_hold(std::string_view time_text, const alarm_time& alarm);

// The hour, minute and AM/PM tests alone.
bool alarm_minute_matches(std::string_view time_text, const alarm_time& alarm);

// The alarm fires when the four tests hold, or when a late tick skipped its second 00: the
// alarm's second lies after the previous tick of this arming and no later than this one, and
// the hour, minute and AM/PM tests still hold.
bool alarm_is_due(std::string_view time_text, const alarm_time& alarm, local_millis now,
                  std::optional<local_millis> previous_tick);

} // namespace tocsinet
