#include "time_text.h"

#include <tuple>

#include <gtest/gtest.h>

using namespace tocsinet;

// An ordinary afternoon is checked where the program preselects the time.
TEST(TimeText, TwelveHourFormAndItsParts) {
    EXPECT_EQ(twelve_hour_text({0, 0, 0}), "12:00:00 AM");
    EXPECT_EQ(twelve_hour_text({12, 30, 59}), "12:30:59 PM");
    const std::tuple<const char*, const char*, const char*> parts[] = {
        {"7:05:09 PM", "minute", "05"}, {"7:05:09 PM", "Hour", ""}, {"7:05:09 PM", "second", ""},
        {"19:05:09", "ampm", ""},       {"", "minute", ""},         {"7", "minute", ""}};
    for (auto [text, part, expected] : parts)
        EXPECT_EQ(time_text_part(text, part), expected) << text << " / " << part;
}
