#include "alarm_check.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <vector>

#include "conversions.h"
#include "time_text.h"

namespace tocsinet {
namespace {

constexpr utc_seconds seconds_per_day = 86'400;

// Minutes after midnight of the alarm, when the lists hold a usable time.
std::optional<int> alarm_minute_of_day(const alarm_time& alarm) {
    auto hour = to_int16(alarm.hour);
    auto minute = to_int16(alarm.minute);
    if (!hour || !minute || *hour < 1 || *hour > 12 || *minute < 0 || *minute > 59)
        return std::nullopt;
    int hour24 = *hour % 12;
    if (alarm.ampm == "PM")
        hour24 += 12;
    else if (alarm.ampm != "AM")
        return std::nullopt;
    return hour24 * 60 + *minute;
}

utc_seconds day_start(utc_seconds t) {
    return t - ((t % seconds_per_day) + seconds_per_day) % seconds_per_day;
}

int year_of(utc_seconds t) {
    using namespace std::chrono;
    return static_cast<int>(year_month_day{floor<days>(sys_seconds{seconds{t}})}.year());
}

// The instant of a change in `year`, with the bias in force before it.
utc_seconds change_instant(int year, const zone_change& change, int bias_before) {
    using namespace std::chrono;
    year_month month = std::chrono::year{year} / change.month;
    weekday day_of_week{static_cast<unsigned>(change.weekday)};
    sys_days day = change.week >= 5 ? sys_days{month / weekday_last{day_of_week}}
                                    : sys_days{month / day_of_week[static_cast<unsigned>(change.week)]};
    return day.time_since_epoch().count() * seconds_per_day + change.hour * 3600 + change.minute * 60 +
           bias_before * 60;
}

bool has_daylight_time(const zone_rule& zone) {
    return zone.daylight_start.month != 0 && zone.daylight_end.month != 0;
}

bool daylight_at(utc_seconds t, const zone_rule& zone) {
    if (!has_daylight_time(zone))
        return false;
    int year = year_of(t - zone.bias_minutes * 60);
    utc_seconds start = change_instant(year, zone.daylight_start, zone.bias_minutes);
    utc_seconds end = change_instant(year, zone.daylight_end, zone.bias_minutes + zone.daylight_bias_minutes);
    // South of the equator daylight time spans the turn of the year.
    return start < end ? start <= t && t < end : t >= start || t < end;
}

utc_seconds utc_to_local(utc_seconds t, const zone_rule& zone) {
    return t - (zone.bias_minutes + (daylight_at(t, zone) ? zone.daylight_bias_minutes : 0)) * 60;
}

// The change that moves the clocks forward: the start of daylight time, or its end where daylight
// time runs behind standard time (a positive daylight bias).
utc_seconds forward_change(int year, const zone_rule& zone) {
    if (zone.daylight_bias_minutes > 0)
        return change_instant(year, zone.daylight_end, zone.bias_minutes + zone.daylight_bias_minutes);
    return change_instant(year, zone.daylight_start, zone.bias_minutes);
}

// When the local clock reads `local`: once, twice in the hour the clocks go back, or, for a
// time the clocks skip, not at all; that counts as the first instant after the gap.
std::vector<utc_seconds> readings_of(utc_seconds local, const zone_rule& zone) {
    utc_seconds as_standard = local + zone.bias_minutes * 60;
    utc_seconds as_daylight = as_standard + zone.daylight_bias_minutes * 60;
    std::vector<utc_seconds> readings;
    if (!daylight_at(as_standard, zone))
        readings.push_back(as_standard);
    if (daylight_at(as_daylight, zone))
        readings.push_back(as_daylight);
    if (readings.empty())
        readings.push_back(forward_change(year_of(local), zone));
    return readings;
}

// Every instant the local clock reads the minute, second 00, from yesterday to tomorrow around
// `now`, in order.
std::vector<utc_seconds> readings_around(int minute_of_day, utc_seconds now, const zone_rule& zone) {
    utc_seconds local_midnight = day_start(utc_to_local(now, zone));
    std::vector<utc_seconds> readings;
    for (int day = -1; day <= 1; ++day) {
        std::vector<utc_seconds> on_day =
            readings_of(local_midnight + day * seconds_per_day + minute_of_day * 60, zone);
        readings.insert(readings.end(), on_day.begin(), on_day.end());
    }
    std::sort(readings.begin(), readings.end());
    return readings;
}

utc_seconds floor_seconds(utc_millis t) {
    return t / 1000 - (t % 1000 < 0 ? 1 : 0);
}

} // namespace

bool alarm_tests_hold(std::string_view time_text, const alarm_time& alarm) {
    auto hour = to_int16(alarm.hour);
    if (!hour || leading_number(time_text_part(time_text, "hour")) != *hour)
        return false;
    auto minute = to_int16(alarm.minute);
    if (!minute || leading_number(time_text_part(time_text, "minute")) != *minute)
        return false;
    return !alarm.ampm.empty() && time_text.find(alarm.ampm) != std::string_view::npos &&
           time_text.find("00") != std::string_view::npos;
}

alarm_verdict check_alarm(std::string_view time_text, const alarm_time& alarm, utc_millis now,
                          std::optional<utc_millis> previous_tick, const zone_rule& zone) {
    if (alarm_tests_hold(time_text, alarm))
        return alarm_verdict::fire;
    auto minute_of_day = alarm_minute_of_day(alarm);
    if (!previous_tick || !minute_of_day)
        return alarm_verdict::wait;
    // The latest reading up to now: lateness in real time, whatever the wall clock did meanwhile.
    std::vector<utc_seconds> readings = readings_around(*minute_of_day, floor_seconds(now), zone);
    auto after_now = std::upper_bound(readings.begin(), readings.end(), floor_seconds(now));
    if (after_now == readings.begin())
        return alarm_verdict::wait;
    utc_millis instant = *std::prev(after_now) * 1000;
    if (instant <= *previous_tick)
        return alarm_verdict::wait;
    return now - instant <= latest_catch_up ? alarm_verdict::fire : alarm_verdict::missed;
}

std::optional<utc_seconds> next_alarm_instant(const alarm_time& alarm, utc_seconds now,
                                              const zone_rule& zone) {
    auto minute_of_day = alarm_minute_of_day(alarm);
    if (!minute_of_day)
        return std::nullopt;
    std::vector<utc_seconds> readings = readings_around(*minute_of_day, now, zone);
    auto ahead = std::upper_bound(readings.begin(), readings.end(), now);
    return ahead == readings.end() ? std::nullopt : std::optional(*ahead);
}

awake_hold awake_hold_for(bool armed, int ac_line_status, bool alarm_near) {
    constexpr int on_battery = 0;
    if (alarm_near)
        return awake_hold::display;
    return armed && ac_line_status != on_battery ? awake_hold::system : awake_hold::none;
}

std::string awake_reason(const alarm_time& alarm) {
    return "Alarm at " + alarm.hour + ":" + alarm.minute + " " + alarm.ampm;
}

std::string_view open_failure_reason(int shell_result) {
    switch (shell_result) {
    case 2: // SE_ERR_FNF
    case 3: // SE_ERR_PNF
        return "it was not found";
    case 5:  // SE_ERR_ACCESSDENIED
    case 32: // SE_ERR_DLLNOTFOUND
        return "it could not be read";
    case 27: // SE_ERR_ASSOCINCOMPLETE
    case 31: // SE_ERR_NOASSOC
        return "no program is registered for its type";
    default:
        return "Windows could not open it";
    }
}

} // namespace tocsinet
