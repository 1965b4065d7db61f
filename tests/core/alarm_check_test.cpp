#include "alarm_check.h"

#include "time_text.h"

#include <chrono>

#include <gtest/gtest.h>

using namespace tocsinet;

namespace {

constexpr local_millis day = 86'400'000;
constexpr local_millis some_day = 20'000 * day;

local_millis at(int hour, int minute, int second, int millis = 0, local_millis on = some_day) {
    return on + ((hour * 60LL + minute) * 60 + second) * 1000 + millis;
}

std::string text_at(local_millis t) {
    local_millis in_day = t % day;
    return twelve_hour_text({static_cast<int>(in_day / 3'600'000), static_cast<int>(in_day / 60'000 % 60),
                             static_cast<int>(in_day / 1000 % 60)});
}

utc_seconds utc(int y, unsigned m, unsigned d, int hour, int minute) {
    using namespace std::chrono;
    return sys_days{year{y} / month{m} / d}.time_since_epoch().count() * 86'400LL + hour * 3600 + minute * 60;
}

} // namespace

TEST(AlarmCheck, FiresAtItsSecondOrUpToAnHourAfterASkippedOne) {
    using enum alarm_verdict;
    const alarm_time seven_pm{"7", "05", "PM"};
    const std::optional<local_millis> armed_now; // the first tick of this arming
    struct tick_case {
        alarm_time alarm;
        std::optional<local_millis> previous;
        local_millis now;
        alarm_verdict verdict;
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
        {{"12", "30", "AM"}, armed_now, at(0, 30, 0), fire},
        {{"7", "05", ""}, armed_now, at(19, 5, 0), wait},   // no designator is not any designator
        // A second 00 after the previous tick of this arming, at most an hour ago.
        {seven_pm, at(19, 4, 59, 800), at(19, 4, 59, 900), wait},
        {seven_pm, at(19, 4, 59, 900), at(19, 5, 2, 300), fire}, // the message loop stalled
        {seven_pm, armed_now, at(19, 5, 2, 300), wait},          // armed after it: tomorrow
        {seven_pm, at(19, 5, 2, 900), at(19, 5, 3), wait},      // seen before, or armed after it
        {seven_pm, at(23, 59, 59, 900), at(0, 0, 0, 0, some_day + day), wait}, // and so past midnight
        {seven_pm, at(19, 4, 50), at(20, 5, 0), fire},           // the clock moved an hour on
        {seven_pm, at(19, 4, 50), at(20, 5, 0, 1), missed},
        {seven_pm, at(19, 30, 0), at(19, 4, 30), wait},          // the clock moved back
        {seven_pm, at(19, 6, 0, 0, some_day - day), at(19, 6, 0), fire}, // a day asleep
        {{"11", "59", "PM"}, at(23, 58, 50), at(0, 10, 0, 0, some_day + day), fire}, // across midnight
        {{"12", "05", "AM"}, at(0, 4, 50), at(0, 30, 0), fire},                       // 12 AM is 00:05
        // clang-format on
    };
    for (const tick_case& c : cases)
        EXPECT_EQ(check_alarm(text_at(c.now), c.alarm, c.now, c.previous), c.verdict)
            << c.alarm.hour << ":" << c.alarm.minute << " " << c.alarm.ampm << " at " << text_at(c.now);
}

TEST(NextAlarmInstant, TodayOrTomorrowInTheZonesRules) {
    const zone_rule utc_zone{};
    // Eastern time: daylight time from the second Sunday of March, 2:00, to the first Sunday of
    // November, 2:00; in 2026, 8 March and 1 November.
    const zone_rule eastern{300, -60, {3, 2, 0, 2, 0}, {11, 1, 0, 2, 0}};
    // Sydney: daylight time from the first Sunday of October to the first Sunday of April.
    const zone_rule sydney{-600, -60, {10, 1, 0, 2, 0}, {4, 1, 0, 3, 0}};
    struct wake_case {
        const char* what;
        alarm_time alarm;
        utc_seconds now;
        const zone_rule& zone;
        utc_seconds expected;
    } cases[] = {
        // clang-format off
        {"still ahead today", {"7", "05", "PM"}, utc(2026, 3, 1, 19, 4), utc_zone, utc(2026, 3, 1, 19, 5)},
        {"a minute already passed", {"7", "04", "PM"}, utc(2026, 3, 1, 19, 4), utc_zone, utc(2026, 3, 2, 19, 4)},
        {"summer time starts", {"7", "05", "AM"}, utc(2026, 3, 7, 17, 0), eastern, utc(2026, 3, 8, 11, 5)},
        {"a time the clock skips", {"2", "30", "AM"}, utc(2026, 3, 7, 17, 0), eastern, utc(2026, 3, 8, 7, 0)},
        {"summer time ends", {"7", "05", "AM"}, utc(2026, 10, 31, 16, 0), eastern, utc(2026, 11, 1, 12, 5)},
        {"a time seen twice", {"1", "30", "AM"}, utc(2026, 10, 31, 16, 0), eastern, utc(2026, 11, 1, 5, 30)},
        {"summer in the south", {"7", "00", "AM"}, utc(2026, 1, 10, 0, 0), sydney, utc(2026, 1, 10, 20, 0)},
        {"winter in the south", {"7", "00", "AM"}, utc(2026, 7, 10, 0, 0), sydney, utc(2026, 7, 10, 21, 0)},
        // clang-format on
    };
    for (const wake_case& c : cases)
        EXPECT_EQ(next_alarm_instant(c.alarm, c.now, c.zone), c.expected) << c.what;
    EXPECT_EQ(next_alarm_instant({"13", "05", "PM"}, 0, utc_zone), std::nullopt);
}
