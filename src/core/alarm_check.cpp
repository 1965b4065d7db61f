#include "alarm_check.h"

#include "conversions.h"
#include "time_text.h"

namespace tocsinet {
namespace {

constexpr local_millis millis_per_day = 86'400'000;

// The start of the alarm's second 00 on the day of `now`, when the lists hold a usable time.
std::optional<local_millis> alarm_instant_on_day_of(const alarm_time& alarm, local_millis now) {
    auto hour = to_int16(alarm.hour);
    auto minute = to_int16(alarm.minute);
    if (!hour || !minute || *hour < 1 || *hour > 12 || *minute < 0 || *minute > 59)
        return std::nullopt;
    int hour24 = *hour % 12;
    if (alarm.ampm == "PM")
        hour24 += 12;
    else if (alarm.ampm != "AM")
        return std::nullopt;
    local_millis day_start = now - ((now % millis_per_day) + millis_per_day) % millis_per_day;
    return day_start + (hour24 * 3600LL + *minute * 60LL) * 1000;
}

} // namespace

bool alarm_minute_matches(std::string_view time_text, const alarm_time& alarm) {
    auto hour = to_int16(alarm.hour);
    if (!hour || leading_number(time_text_part(time_text, "hour")) != *hour)
        return false;
    auto minute = to_int16(alarm.minute);
    if (!minute || leading_number(time_text_part(time_text, "minute")) != *minute)
        return false;
    return !alarm.ampm.empty() && time_text.find(alarm.ampm) != std::string_view::npos;
}

bool alarm_tests_hold(std::string_view time_text, const alarm_time& alarm) {
    return alarm_minute_matches(time_text, alarm) && time_text.find("00") != std::string_view::npos;
}

bool alarm_is_due(std::string_view time_text, const alarm_time& alarm, local_millis now,
                  std::optional<local_millis> previous_tick) {
    if (alarm_tests_hold(time_text, alarm))
        return true;
    if (!previous_tick || !alarm_minute_matches(time_text, alarm))
        return false;
    auto instant = alarm_instant_on_day_of(alarm, now);
    return instant && *previous_tick < *instant && *instant <= now;
}

} // namespace tocsinet
