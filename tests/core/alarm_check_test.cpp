#include "alarm_check.h"

#include "time_text.h"

#include <chrono>
#include <tuple>

#include <gtest/gtest.h>

using namespace tocsinet;

namespace {

constexpr utc_millis day = 86'400'000;
constexpr utc_millis some_day = 20'000 * day;
constexpr utc_millis one_hour = 3'600'000;

utc_millis at(int hour, int minute, int second, int millis = 0, utc_millis on = some_day) {
    return on + ((hour * 60LL + minute) * 60 + second) * 1000 + millis;
}

std::string text_at(utc_millis t) {
    utc_millis in_day = t % day;
    return twelve_hour_text({static_cast<int>(in_day / 3'600'000), static_cast<int>(in_day / 60'000 % 60),
                             static_cast<int>(in_day / 1000 % 60)});
}

utc_seconds utc(int y, unsigned m, unsigned d, int hour, int minute) {
    using namespace std::chrono;
    return sys_days{year{y} / month{m} / d}.time_since_epoch().count() * 86'400LL + hour * 3600 + minute * 60;
}

// Eastern time: daylight time from the second Sunday of March, 2:00, to the first Sunday of
// November, 2:00; in 2026, 8 March and 1 November; in 2027, 14 March and 7 November.
const zone_rule eastern{300, -60, {3, 2, 0, 2, 0}, {11, 1, 0, 2, 0}};

// A zone whose daylight time runs an hour behind standard time (UTC+10, UTC+9 in daylight time):
// the clocks go back at its start, the third Tuesday of December at 11:15, and forward at its end,
// the first Sunday of July at 12:45; in 2013, 17 December and 7 July.
const zone_rule behind{-600, 60, {12, 3, 2, 11, 15}, {7, 1, 0, 12, 45}};

} // namespace

TEST(AlarmCheck, FiresAtItsSecondOrUpToAnHourAfterASkippedOne) {
    using enum alarm_verdict;
    const alarm_time seven_pm{"7", "05", "PM"};
    const std::optional<utc_millis> armed_now; // the first tick of this arming
    auto new_york = [](unsigned month, unsigned d, int hour, int minute, int second = 0, int millis = 0) {
        return (utc(2027, month, d, hour, minute) + second) * 1000 + millis;
    };
    struct tick_case {
        alarm_time alarm;
        std::optional<utc_millis> previous;
        utc_millis now;
        alarm_verdict verdict;
        zone_rule zone{};
        utc_millis local_offset = 0; // the wall clock against UTC
    } cases[] = {
        // clang-format off
        // The four tests on one reading: hour and minute as numbers, the designator, "00" anywhere.
        {seven_pm, armed_now, at(19, 5, 0), fire},
        {seven_pm, armed_now, at(19, 5, 1), wait},
        {seven_pm, armed_now, at(7, 5, 0), wait},
        {seven_pm, armed_now, at(20, 5, 0), wait},
        {seven_pm, armed_now, at(19, 6, 0), wait},
        {{"7", "5", "PM"}, armed_now, at(19, 5, 0), fire},
        {{"7", "00", "AM"}, armed_now, at(7, 0, 30), fire}, // minute 00 holds "00" itself
        {{"7", "05", ""}, armed_now, at(19, 5, 0), wait},   // no designator is not any designator
        // A second 00 after the previous tick of this arming, at most an hour ago.
        {seven_pm, at(19, 4, 59, 800), at(19, 4, 59, 900), wait},
        {seven_pm, at(19, 4, 59, 900), at(19, 5, 2, 300), fire}, // the message loop stalled
        {seven_pm, armed_now, at(19, 5, 2, 300), wait},          // armed after it: tomorrow
        {seven_pm, at(19, 5, 2, 900), at(19, 5, 3), wait},      // seen before, or armed after it
        {seven_pm, at(23, 59, 59, 900), at(0, 0, 0, 0, some_day + day), wait}, // and so past midnight
        {seven_pm, at(19, 4, 50), at(20, 5, 0), fire},           // the clock moved an hour on
        {seven_pm, at(19, 4, 50), at(20, 5, 0, 1), missed},
        {{"11", "59", "PM"}, at(23, 58, 50), at(0, 10, 0, 0, some_day + day), fire}, // across midnight
        {{"12", "05", "AM"}, at(0, 4, 50), at(0, 30, 0), fire},                       // 12 AM is 00:05
        // Lateness in real time on the nights the clocks change (UTC times, New York).
        {{"2", "00", "AM"}, new_york(3, 14, 6, 59, 59, 900), new_york(3, 14, 7, 0), fire, eastern, -4 * one_hour},
        {{"1", "45", "AM"}, new_york(3, 14, 6, 40), new_york(3, 14, 7, 40), fire, eastern, -4 * one_hour},  // 55 min
        {{"1", "45", "AM"}, new_york(3, 14, 6, 40), new_york(3, 14, 7, 50), missed, eastern, -4 * one_hour}, // 65 min
        {{"1", "30", "AM"}, new_york(11, 7, 5, 20), new_york(11, 7, 6, 15), fire, eastern, -5 * one_hour}, // first pass
        {{"12", "45", "AM"}, new_york(11, 7, 4, 40), new_york(11, 7, 6, 40), missed, eastern, -5 * one_hour}, // 115 min
        // Where daylight time runs behind, the clocks skip 12:45 to 1:45 PM at its end and pass
        // 10:15 to 11:15 AM twice at its start.
        {{"1", "07", "PM"}, utc(2013, 7, 7, 3, 40) * 1000, utc(2013, 7, 7, 3, 45) * 1000, fire, behind, 10 * one_hour},
        {{"1", "07", "PM"}, utc(2013, 7, 7, 3, 40) * 1000, utc(2013, 7, 7, 4, 46) * 1000, missed, behind, 10 * one_hour},
        {{"10", "30", "AM"}, utc(2013, 12, 17, 0, 20) * 1000, utc(2013, 12, 17, 1, 15) * 1000, fire, behind, 9 * one_hour},
        // clang-format on
    };
    for (const tick_case& c : cases) {
        std::string text = text_at(c.now + c.local_offset);
        EXPECT_EQ(check_alarm(text, c.alarm, c.now, c.previous, c.zone), c.verdict)
            << c.alarm.hour << ":" << c.alarm.minute << " " << c.alarm.ampm << " at " << text;
    }
}

TEST(NextAlarmInstant, TodayOrTomorrowInTheZonesRules) {
    const zone_rule utc_zone{};
    // Sydney: daylight time from the first Sunday of October to the first Sunday of April.
    const zone_rule sydney{-600, -60, {10, 1, 0, 2, 0}, {4, 1, 0, 3, 0}};
    // What, the alarm, now, the zone, the instant expected.
    const std::tuple<const char*, alarm_time, utc_seconds, zone_rule, utc_seconds> cases[] = {
        // clang-format off
        {"still ahead today", {"7", "05", "PM"}, utc(2026, 3, 1, 19, 4), utc_zone, utc(2026, 3, 1, 19, 5)},
        {"a minute already passed", {"7", "04", "PM"}, utc(2026, 3, 1, 19, 4), utc_zone, utc(2026, 3, 2, 19, 4)},
        {"summer time starts", {"7", "05", "AM"}, utc(2026, 3, 7, 17, 0), eastern, utc(2026, 3, 8, 11, 5)},
        {"a time the clock skips", {"2", "30", "AM"}, utc(2026, 3, 7, 17, 0), eastern, utc(2026, 3, 8, 7, 0)},
        {"summer time ends", {"7", "05", "AM"}, utc(2026, 10, 31, 16, 0), eastern, utc(2026, 11, 1, 12, 5)},
        {"a time seen twice", {"1", "30", "AM"}, utc(2026, 10, 31, 16, 0), eastern, utc(2026, 11, 1, 5, 30)},
        {"its first pass over", {"1", "30", "AM"}, utc(2027, 11, 7, 5, 45), eastern, utc(2027, 11, 7, 6, 30)},
        {"summer in the south", {"7", "00", "AM"}, utc(2026, 1, 10, 0, 0), sydney, utc(2026, 1, 10, 20, 0)},
        {"winter in the south", {"7", "00", "AM"}, utc(2026, 7, 10, 0, 0), sydney, utc(2026, 7, 10, 21, 0)},
        {"skipped where daylight time runs behind", {"1", "07", "PM"}, utc(2013, 7, 6, 12, 0), behind, utc(2013, 7, 7, 3, 45)},
        {"seen twice where it runs behind", {"10", "30", "AM"}, utc(2013, 12, 16, 12, 0), behind, utc(2013, 12, 17, 0, 30)},
        // clang-format on
    };
    for (const auto& [what, alarm, now, zone, expected] : cases)
        EXPECT_EQ(next_alarm_instant(alarm, now, zone), expected) << what;
    EXPECT_EQ(next_alarm_instant({"13", "05", "PM"}, 0, utc_zone), std::nullopt);
}

TEST(AwakeHold, TheDisplayNearTheAlarmTheSystemWhileArmedOnMainsPower) {
    using enum awake_hold;
    constexpr int battery = 0, mains = 1, unknown = 255;
    // Armed, the power line, the alarm near, the hold.
    const std::tuple<bool, int, bool, awake_hold> cases[] = {
        {true, mains, false, system}, {true, unknown, false, system}, {true, battery, false, none},
        {false, mains, false, none},  {true, battery, true, display}, {false, battery, true, display}};
    for (auto [armed, line, near, hold] : cases)
        EXPECT_EQ(awake_hold_for(armed, line, near), hold) << armed << " " << line << " " << near;
    EXPECT_EQ(awake_reason({"7", "05", "AM"}), "Alarm at 7:05 AM");
}
