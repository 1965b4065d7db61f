#include "conversions.h"
#include "listening_rules.h"

#include <tuple>
#include <utility>

#include <gtest/gtest.h>

using namespace tocsinet;

TEST(Conversions, LeadingNumberFlagsAndSingleAsText) {
    const std::pair<const char*, double> numbers[] = {
        {"1200", 1200}, {"-1200", -1200}, {"12abc", 12}, {"abc", 0}, {"  37.5 twips", 37.5},
        {"1e3", 1000},  {"1e", 1},        {".5", 0.5},   {"-", 0},   {"1e99999", 0}};
    for (auto [text, value] : numbers)
        EXPECT_EQ(leading_number(text), value) << text;
    for (const char* on : {"1", "1.0", " 1"})
        EXPECT_TRUE(flag_is_on(on)) << on;
    for (const char* off : {"0", "", "2", "yes", "-1"})
        EXPECT_FALSE(flag_is_on(off)) << off;
    // The conversion flags of the exact narrowing: the ISCII range's edges (the code pages the
    // Windows tests narrow in stand for the rest).
    for (auto [code_page, reports] : {std::pair{57001u, true}, {57011u, false}, {57012u, true}})
        EXPECT_EQ(code_page_reports_stand_ins(code_page), reports) << code_page;
    // A single as text: at most seven digits, no point for whole numbers.
    const std::pair<float, const char*> singles[] = {
        {-0.0f, "0"}, {-1200.0f, "-1200"}, {1234.5f, "1234.5"}, {0.33333334f, "0.3333333"}};
    for (auto [value, text] : singles)
        EXPECT_EQ(single_to_text(value), text) << value;
}

TEST(Conversions, HalvesRoundToEvenAndWhatTheAlarmSetsAndHears) {
    const std::pair<double, long long> values[] = {{2.5, 2},    {7.5, 8},    {-2.5, -2},
                                                   {2.4999, 2}, {2.5001, 3}, {1e300, 9000000000000000000LL}};
    for (auto [value, rounded] : values)
        EXPECT_EQ(round_half_even(value), rounded) << value;
    const std::pair<int, int> volumes[] = {{1, 2}, {3, 8}, {50, 125}, {100, 250}};
    for (auto [percent, player] : volumes)
        EXPECT_EQ(player_volume(percent), player) << percent;
    // Muted, below, above and 0 %; float noise and whole percents at the edge.
    const std::tuple<float, bool, int, output_change> outputs[] = {
        {0.8f, true, 50, {true, std::nullopt}}, {0.2f, true, 50, {true, 0.5f}},
        {0.2f, false, 50, {false, 0.5f}},       {0.8f, false, 50, {false, std::nullopt}},
        {0.0f, true, 0, {false, std::nullopt}}, {0.29999998f, false, 30, {false, std::nullopt}},
        {0.29f, false, 30, {false, 0.3f}},      {0.5f, false, 150, {false, 1.0f}}};
    for (auto [level, muted, percent, change] : outputs)
        EXPECT_TRUE(output_for_alarm(level, muted, percent) == change)
            << level << ' ' << muted << ' ' << percent;

    // What the alarm hears after the open: a reading, and the seconds since.
    using enum listening_verdict;
    const std::optional<float> no_meter;
    const std::tuple<int, std::optional<float>, double, listening_verdict> hearings[] = {
        {50, 0.2f, 3, heard},         {50, 0.001f, 29.9, heard}, {50, 0.0009f, 29.9, keep_listening},
        {50, 0.0f, 30, silent},       {50, 0.3f, 30, heard},     {0, 0.0f, 30, not_judged},
        {50, no_meter, 0, not_judged}};
    for (auto [percent, peak, seconds, verdict] : hearings)
        EXPECT_EQ(judge_listening(percent, peak, seconds), verdict)
            << percent << ' ' << peak.value_or(-1) << ' ' << seconds;
    // Which sessions count as the player's, and what is set on them.
    using enum session_before;
    const std::tuple<audio_session, int, bool> sessions[] = {
        {{.before = absent}, 50, true},
        {{.before = inactive, .active_now = true}, 50, true},
        {{.before = inactive}, 50, false},
        {{.before = active, .active_now = true}, 50, false},
        {{.ours = true}, 50, false},
        {{.system_sounds = true}, 50, false},
        {{.player = true, .before = active}, 50, true},
        {{.before = absent}, 0, false}};
    for (auto [session, percent, chosen] : sessions)
        EXPECT_EQ(alarm_session(session, percent), chosen)
            << session.ours << session.system_sounds << session.player << int(session.before)
            << session.active_now;
    EXPECT_TRUE(session_for_alarm(0.1f, true, false) == (output_change{true, 1.0f}));
    EXPECT_TRUE(session_for_alarm(0.1f, true, true) == (output_change{true, {}}))
        << "the player's level is its own";
    EXPECT_TRUE(session_for_alarm(1.0f, false, false) == output_change{});
}

TEST(Conversions, SixteenBitNumbersVolumeAndCounter) {
    const std::pair<const char*, int> int16s[] = {
        {"05", 5}, {" 12 ", 12}, {"32767", 32767}, {"-32768", -32768}};
    for (auto [text, value] : int16s)
        EXPECT_EQ(to_int16(text), value) << text;
    for (const char* text : {"32768", "", "12abc"})
        EXPECT_FALSE(to_int16(text)) << text;
    // The slider stands at 50 before.
    const std::pair<const char*, int> volumes[] = {
        {"80", 80},   {"150", 100}, {"-3", 0}, {"80.5", 80},
        {"loud", 50}, {"80%", 50},  {"", 50},  {"99999999999999999999", 100}};
    for (auto [text, volume] : volumes)
        EXPECT_EQ(volume_from_text(text, 50), volume) << text;
    const std::pair<const char*, const char*> counters[] = {
        {"", "1"},          {"41", "42"},         {"32766", "32767"}, {"32767", "32767"},
        {"99999", "32767"}, {"-40000", "-32767"}, {"many", "1"},      {"12abc", "1"}};
    for (auto [stored, next] : counters)
        EXPECT_EQ(next_counter_text(stored), next) << stored;
}
