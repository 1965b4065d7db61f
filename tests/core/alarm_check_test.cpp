#include "alarm_check.h"

#include "time_text.h"

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

// Ticks every 100 ms from `armed` until `until` and returns the first instant the alarm is due.
std::optional<local_millis> first_firing(const alarm_time& alarm, local_millis armed, local_millis until,
                                         local_millis step = 100) {
    std::optional<local_millis> previous;
    for (local_millis t = armed; t <= until; t += step) {
        if (alarm_is_due(text_at(t), alarm, t, previous))
            return t;
        previous = t;
    }
    return std::nullopt;
}

} // namespace

TEST(AlarmCheck, FourTestsOnOneReading) {
    alarm_time alarm{"7", "05", "PM"};
    EXPECT_TRUE(alarm_tests_hold("7:05:00 PM", alarm));
    EXPECT_FALSE(alarm_tests_hold("7:05:01 PM", alarm));
    EXPECT_FALSE(alarm_tests_hold("7:05:00 AM", alarm));
    EXPECT_FALSE(alarm_tests_hold("8:05:00 PM", alarm));
    EXPECT_FALSE(alarm_tests_hold("7:06:00 PM", alarm));
    EXPECT_TRUE(alarm_tests_hold("7:05:00 PM", {"7", "5", "PM"})); // minutes compare as numbers
    EXPECT_TRUE(alarm_tests_hold("7:00:30 AM", {"7", "00", "AM"})); // minute 00 holds "00" itself
    EXPECT_FALSE(alarm_tests_hold("7:05:00 PM", {"", "05", "PM"}));
    EXPECT_FALSE(alarm_tests_hold("7:05:00 PM", {"7", "05", ""}));
}

TEST(AlarmCheck, ArmedBeforeTheSecondFiresAtItsFirstTick) {
    auto fired = first_firing({"7", "05", "PM"}, at(19, 4, 50), at(19, 6, 0));
    ASSERT_TRUE(fired);
    EXPECT_EQ(*fired, at(19, 5, 0));
}

TEST(AlarmCheck, ArmedAfterTheSecondWaitsForTheNextDay) {
    alarm_time alarm{"7", "05", "PM"};
    EXPECT_FALSE(first_firing(alarm, at(19, 5, 20), at(23, 59, 59)));
    auto fired = first_firing(alarm, at(19, 5, 20), at(19, 5, 30, 0, some_day + day), 1000);
    ASSERT_TRUE(fired);
    EXPECT_EQ(*fired, at(19, 5, 0, 0, some_day + day));
}

TEST(AlarmCheck, MinuteZeroFiresAtTheNextTick) {
    auto fired = first_firing({"7", "00", "AM"}, at(7, 0, 30), at(7, 1, 0));
    ASSERT_TRUE(fired);
    EXPECT_EQ(*fired, at(7, 0, 30));
}

TEST(AlarmCheck, ALateTickStillFiresWithinTheMinute) {
    alarm_time alarm{"7", "05", "PM"};
    // The message loop stalled across second 00: the next tick comes at 7:05:02.3.
    EXPECT_TRUE(alarm_is_due("7:05:02 PM", alarm, at(19, 5, 2, 300), at(19, 4, 59, 900)));
    // Without a previous tick of this arming there is nothing to catch up.
    EXPECT_FALSE(alarm_is_due("7:05:02 PM", alarm, at(19, 5, 2, 300), std::nullopt));
    // A tick earlier in the same minute, after second 00, means the second was seen or skipped
    // by arming late; no catch-up.
    EXPECT_FALSE(alarm_is_due("7:05:03 PM", alarm, at(19, 5, 3), at(19, 5, 2, 900)));
    // A stall that leaves the alarm minute behind does not fire at the wrong minute.
    EXPECT_FALSE(alarm_is_due("7:06:01 PM", alarm, at(19, 6, 1), at(19, 4, 59)));
}

TEST(AlarmCheck, CatchUpAcrossMidnight) {
    alarm_time alarm{"12", "00", "AM"};
    local_millis before = at(23, 59, 59, 950);
    local_millis after = at(0, 0, 0, 50, some_day + day);
    EXPECT_TRUE(alarm_is_due(text_at(after), alarm, after, before));
    alarm_time noon{"12", "00", "PM"};
    EXPECT_TRUE(alarm_is_due("12:00:01 PM", noon, at(12, 0, 1, 100), at(11, 59, 59, 900)));
}

TEST(AlarmCheck, EveryMinuteOfTheDayFiresOnceWhenArmedBefore) {
    for (int hour = 0; hour < 24; ++hour) {
        for (int minute = 1; minute < 60; minute += 7) {
            int hour12 = hour % 12 == 0 ? 12 : hour % 12;
            char minute_text[3] = {static_cast<char>('0' + minute / 10), static_cast<char>('0' + minute % 10), 0};
            alarm_time alarm{std::to_string(hour12), minute_text, hour < 12 ? "AM" : "PM"};
            local_millis target = at(hour, minute, 0);
            auto fired = first_firing(alarm, target - 3000, target + 60'000);
            ASSERT_TRUE(fired) << alarm.hour << ":" << alarm.minute << " " << alarm.ampm;
            EXPECT_EQ(*fired, target);
        }
    }
}
