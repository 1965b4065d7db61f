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

// Ticks from `armed` until `until` and returns the first instant the alarm is not waiting.
std::optional<local_millis> first_firing(const alarm_time& alarm, local_millis armed, local_millis until,
                                         local_millis step = 100) {
    std::optional<local_millis> previous;
    for (local_millis t = armed; t <= until; previous = t, t += step)
        if (check_alarm(text_at(t), alarm, t, previous) != alarm_verdict::wait)
            return t;
    return std::nullopt;
}

utc_seconds utc(int y, unsigned m, unsigned d, int hour, int minute) {
    using namespace std::chrono;
    return sys_days{year{y} / month{m} / d}.time_since_epoch().count() * 86'400LL + hour * 3600 + minute * 60;
}

} // namespace

TEST(AlarmCheck, FourTestsOnOneReading) {
    alarm_time alarm{"7", "05", "PM"};
    EXPECT_TRUE(alarm_tests_hold("7:05:00 PM", alarm));
    for (const char* other : {"7:05:01 PM", "7:05:00 AM", "8:05:00 PM", "7:06:00 PM"})
        EXPECT_FALSE(alarm_tests_hold(other, alarm)) << other;
    EXPECT_TRUE(alarm_tests_hold("7:05:00 PM", {"7", "5", "PM"}));  // minutes compare as numbers
    EXPECT_TRUE(alarm_tests_hold("7:00:30 AM", {"7", "00", "AM"})); // minute 00 holds "00" itself
    EXPECT_FALSE(alarm_tests_hold("7:05:00 PM", {"", "05", "PM"}));
    EXPECT_FALSE(alarm_tests_hold("7:05:00 PM", {"7", "05", ""}));
}

TEST(AlarmCheck, TickingFiresAtTheFirstTickThatMayAndArmingLateWaitsForTheNextDay) {
    alarm_time alarm{"7", "05", "PM"};
    EXPECT_EQ(first_firing(alarm, at(19, 4, 50), at(19, 6, 0)), at(19, 5, 0));
    EXPECT_EQ(first_firing({"7", "00", "AM"}, at(7, 0, 30), at(7, 1, 0)), at(7, 0, 30));
    EXPECT_EQ(first_firing(alarm, at(19, 5, 20), at(19, 5, 30, 0, some_day + day), 1000),
              at(19, 5, 0, 0, some_day + day));
    for (int hour = 0; hour < 24; ++hour)
        for (int minute = 1; minute < 60; minute += 7) {
            std::string text = text_at(at(hour, minute, 0));
            alarm_time every{text.substr(0, text.find(':')), text.substr(text.find(':') + 1, 2),
                             text.substr(text.size() - 2)};
            EXPECT_EQ(first_firing(every, at(hour, minute, 0) - 3000, at(hour, minute, 0) + 60'000),
                      at(hour, minute, 0))
                << text;
        }
}

TEST(AlarmCheck, ASkippedSecondFiresUpToAnHourLateAndIsMissedAfter) {
    struct late_case {
        std::optional<local_millis> previous;
        local_millis now;
        alarm_verdict verdict;
    } cases[] = {
        // clang-format off
        {at(19, 4, 59, 900), at(19, 5, 2, 300), alarm_verdict::fire}, // the message loop stalled
        {std::nullopt, at(19, 5, 2, 300), alarm_verdict::wait},        // nothing of this arming to catch up
        {at(19, 5, 2, 900), at(19, 5, 3), alarm_verdict::wait},        // the second was seen or armed after
        {at(19, 4, 50), at(19, 25, 0), alarm_verdict::fire},           // the clock moved 20 minutes on
        {at(19, 4, 50), at(20, 5, 0), alarm_verdict::fire},
        {at(19, 4, 50), at(20, 5, 0, 1), alarm_verdict::missed},
        {at(19, 4, 50), at(22, 5, 10), alarm_verdict::missed},
        {at(19, 30, 0), at(19, 4, 30), alarm_verdict::wait}, // the clock moved back
        {at(19, 6, 0, 0, some_day - day), at(19, 6, 0), alarm_verdict::fire}, // a day asleep
        // clang-format on
    };
    for (const late_case& c : cases)
        EXPECT_EQ(check_alarm(text_at(c.now), {"7", "05", "PM"}, c.now, c.previous), c.verdict)
            << text_at(c.now);
    // The alarm before midnight, caught up after it.
    EXPECT_EQ(check_alarm("12:10:00 AM", {"11", "59", "PM"}, at(0, 10, 0, 0, some_day + day), at(23, 58, 50)),
              alarm_verdict::fire);
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
        {"passed today", {"7", "05", "AM"}, utc(2026, 3, 1, 10, 0), utc_zone, utc(2026, 3, 2, 7, 5)},
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
