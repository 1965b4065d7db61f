#include "time_text.h"

#include <gtest/gtest.h>

using namespace tocsinet;

TEST(TimeText, TwelveHourFormWhatever24HourClockSays) {
    EXPECT_EQ(twelve_hour_text({19, 5, 9}), "7:05:09 PM");
    EXPECT_EQ(twelve_hour_text({0, 0, 0}), "12:00:00 AM");
    EXPECT_EQ(twelve_hour_text({12, 30, 59}), "12:30:59 PM");
    EXPECT_EQ(twelve_hour_text({11, 59, 1}), "11:59:01 AM");
    EXPECT_EQ(twelve_hour_text({7, 0, 0}), "7:00:00 AM");
}

TEST(TimeText, PartsAreTheListForms) {
    EXPECT_EQ(time_text_part("7:05:09 PM", "hour"), "7");
    EXPECT_EQ(time_text_part("7:05:09 PM", "minute"), "05");
    EXPECT_EQ(time_text_part("7:05:09 PM", "ampm"), "PM");
    EXPECT_EQ(time_text_part("12:00:00 AM", "hour"), "12");
}

TEST(TimeText, OtherPartNamesGiveNothing) {
    EXPECT_EQ(time_text_part("7:05:09 PM", "Hour"), "");
    EXPECT_EQ(time_text_part("7:05:09 PM", "AMPM"), "");
    EXPECT_EQ(time_text_part("7:05:09 PM", "second"), "");
    EXPECT_EQ(time_text_part("7:05:09 PM", ""), "");
}

TEST(TimeText, TextsWithoutBlankOrColonDoNotCrash) {
    EXPECT_EQ(time_text_part("19:05:09", "hour"), "19");
    EXPECT_EQ(time_text_part("19:05:09", "ampm"), "");
    EXPECT_EQ(time_text_part("", "minute"), "");
    EXPECT_EQ(time_text_part("7", "minute"), "");
}
