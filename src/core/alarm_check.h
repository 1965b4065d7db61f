// Whether an armed alarm goes off at a tick, and when it next comes round.
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

// The four tests of the alarm check, on one reading of the clock: hour and minute compared
// as numbers, the designator as a substring, and "00" somewhere in the text.
bool alarm_tests_hold(std::string_view time_text, const alarm_time& alarm);

// Seconds and milliseconds since 1970-01-01 UTC.
using utc_seconds = std::int64_t;
using utc_millis = std::int64_t;

// An alarm later than this after its second 00 is a nuisance, not a help.
inline constexpr utc_millis latest_catch_up = 60 * 60'000;

// A change between standard and daylight time, as Windows describes it: the week-th (5: the
// last) weekday (0: Sunday) of the month, at a local time. Month 0: no change.
struct zone_change {
    int month = 0;
    int week = 0;
    int weekday = 0;
    int hour = 0;
    int minute = 0;
};

// UTC = local time + bias; in daylight time, + bias + daylight_bias. Daylight time starts at a
// local standard time and ends at a local daylight time.
struct zone_rule {
    int bias_minutes = 0;
    int daylight_bias_minutes = 0;
    zone_change daylight_start;
    zone_change daylight_end;
};

enum class alarm_verdict { wait, fire, missed };

// Fire when the four tests hold on the local time text, or when an instant the local clock read
// the alarm's second 00 lies after the previous tick of this arming and no later than this one
// (the machine slept, the clock moved or jumped an hour) and it is at most `latest_catch_up` late
// in real time; later than that, the alarm was missed.
alarm_verdict check_alarm(std::string_view time_text, const alarm_time& alarm, utc_millis now,
                          std::optional<utc_millis> previous_tick, const zone_rule& zone);

// The first instant after `now` at which the local clock reads the alarm's minute, second 00.
// A local time the clock skips counts as the first instant after the gap; one it passes twice
// counts at each pass still ahead.
std::optional<utc_seconds> next_alarm_instant(const alarm_time& alarm, utc_seconds now,
                                              const zone_rule& zone);

// What the program holds against sleep: nothing, the computer awake with the program running
// (modern standby pauses it otherwise), or that and the display on.
enum class awake_hold { none, system, display };

// From the wake time until a while after the alarm (`alarm_near`) the display is on. Before it an
// armed alarm keeps the computer awake on mains power only: on battery the wake timer brings it
// back. `ac_line_status` as Windows reports it: 0 on battery, 1 on mains, 255 unknown (a desktop).
awake_hold awake_hold_for(bool armed, int ac_line_status, bool alarm_near);

// Why the computer stays up, as the power settings list it: "Alarm at 7:05 AM".
std::string awake_reason(const alarm_time& alarm);

// Why the shell could not open the alarm file, from its result (32 or less).
std::string_view open_failure_reason(int shell_result);

} // namespace tocsinet
