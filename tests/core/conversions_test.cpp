#include "conversions.h"

#include <gtest/gtest.h>

using namespace tocsinet;

TEST(LeadingNumber, TakesTheLongestNumberAtTheStart) {
    EXPECT_EQ(leading_number("1200"), 1200);
    EXPECT_EQ(leading_number("-1200"), -1200);
    EXPECT_EQ(leading_number("12abc"), 12);
    EXPECT_EQ(leading_number("abc"), 0);
    EXPECT_EQ(leading_number(""), 0);
    EXPECT_EQ(leading_number("  37.5 twips"), 37.5);
    EXPECT_EQ(leading_number("1e3"), 1000);
    EXPECT_EQ(leading_number("1e"), 1);
    EXPECT_EQ(leading_number(".5"), 0.5);
    EXPECT_EQ(leading_number("-"), 0);
    EXPECT_EQ(leading_number("1e99999"), 0); // overflow gives no usable number
}

TEST(FlagTest, OnOnlyWhenTheNumberIsOne) {
    EXPECT_TRUE(flag_is_on("1"));
    EXPECT_TRUE(flag_is_on("1.0"));
    EXPECT_TRUE(flag_is_on(" 1"));
    EXPECT_FALSE(flag_is_on("0"));
    EXPECT_FALSE(flag_is_on(""));
    EXPECT_FALSE(flag_is_on("2"));
    EXPECT_FALSE(flag_is_on("yes"));
    EXPECT_FALSE(flag_is_on("-1"));
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(round_half_even(2.5), 2);
    EXPECT_EQ(round_half_even(7.5), 8);
    EXPECT_EQ(round_half_even(-2.5), -2);
    EXPECT_EQ(round_half_even(2.4999), 2);
    EXPECT_EQ(round_half_even(2.5001), 3);
    EXPECT_EQ(round_half_even(1e300), 9000000000000000000LL);
}

TEST(Int16Conversion, AcceptsOnlyNumbersInRange) {
    EXPECT_EQ(to_int16("7"), 7);
    EXPECT_EQ(to_int16("05"), 5);
    EXPECT_EQ(to_int16(" 12 "), 12);
    EXPECT_EQ(to_int16("32767"), 32767);
    EXPECT_EQ(to_int16("-32768"), -32768);
    EXPECT_FALSE(to_int16("32768"));
    EXPECT_FALSE(to_int16(""));
    EXPECT_FALSE(to_int16("12abc"));
    EXPECT_FALSE(to_int16("abc"));
}

TEST(VolumeSetting, UsableNumbersAreClampedOthersKeepTheSlider) {
    EXPECT_EQ(volume_from_text("80", 50), 80);
    EXPECT_EQ(volume_from_text("0", 50), 0);
    EXPECT_EQ(volume_from_text("100", 50), 100);
    EXPECT_EQ(volume_from_text("150", 50), 100);
    EXPECT_EQ(volume_from_text("-3", 50), 0);
    EXPECT_EQ(volume_from_text("80.5", 50), 80);
    EXPECT_EQ(volume_from_text("loud", 50), 50);
    EXPECT_EQ(volume_from_text("80%", 50), 50);
    EXPECT_EQ(volume_from_text("", 50), 50);
    EXPECT_EQ(volume_from_text("99999999999999999999", 50), 100);
}

TEST(CounterUpdate, CountsUpAndNeverLeavesTheSixteenBitRange) {
    EXPECT_EQ(next_counter_text(""), "1");
    EXPECT_EQ(next_counter_text("41"), "42");
    EXPECT_EQ(next_counter_text("7"), "8");
    EXPECT_EQ(next_counter_text("0"), "1");
    EXPECT_EQ(next_counter_text("32766"), "32767");
    EXPECT_EQ(next_counter_text("32767"), "32767");
    EXPECT_EQ(next_counter_text("99999"), "32767");
    EXPECT_EQ(next_counter_text("-40000"), "-32767");
    EXPECT_EQ(next_counter_text("many"), "1");
    EXPECT_EQ(next_counter_text("12abc"), "1");
}

TEST(SingleToText, WholeNumbersWithoutPointAtMostSevenDigits) {
    EXPECT_EQ(single_to_text(1200.0f), "1200");
    EXPECT_EQ(single_to_text(0.0f), "0");
    EXPECT_EQ(single_to_text(-0.0f), "0");
    EXPECT_EQ(single_to_text(-1200.0f), "-1200");
    EXPECT_EQ(single_to_text(1234.5f), "1234.5");
    EXPECT_EQ(single_to_text(1.0f / 3.0f), "0.3333333");
}

TEST(PlayerVolume, PercentTimesTwoAndAHalfRoundedToEven) {
    EXPECT_EQ(player_volume(0), 0);
    EXPECT_EQ(player_volume(1), 2);
    EXPECT_EQ(player_volume(3), 8);
    EXPECT_EQ(player_volume(50), 125);
    EXPECT_EQ(player_volume(100), 250);
}
