// Number rules for the texts kept in the settings file and shown in the lists.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tocsinet {

// After leading blanks, the longest prefix that forms a decimal number; 0 when there is none.
double leading_number(std::string_view text);

// The whole text (blanks around it allowed) as a decimal number, or nothing.
std::optional<double> whole_number(std::string_view text);

// Halves go to the even neighbour, as the settings' integer conversions do.
long long round_half_even(double value);

// A flag is on when its text, read as a number, equals 1; empty is off.
bool flag_is_on(std::string_view text);

// The text as a 16-bit signed integer; nothing when it is not a number or out of range.
std::optional<std::int16_t> to_int16(std::string_view text);

// The stored "VOLUME": a usable number is rounded and clamped into 0..100,
// anything else leaves the slider at `current`.
int volume_from_text(std::string_view text, int current);

// The counter update: empty or not a number starts at "1"; the count stops at 32767
// rather than leave the 16-bit range.
std::string next_counter_text(std::string_view stored);

// A single-precision value as decimal text: at most 7 significant digits, no leading blank,
// no decimal point for whole numbers (1200 -> "1200").
std::string single_to_text(float value);

// Whether a code page's conversion from UTF-16 takes the flag against best-fit stand-ins and
// reports the default character. UTF-8, UTF-7, GB18030, the ISO-2022 and ISCII pages and Symbol
// refuse both: only a round trip tells whether a text came through exactly there.
bool code_page_reports_stand_ins(unsigned code_page);

// The player's volume scale is 0..255; the slider's percentage times 2.5.
int player_volume(int percent);

// What the alarm changes on the computer's sound output: it is unmuted, and its level (0..1) is
// raised to the slider's percentage, never lowered. Neither: nothing to change.
struct output_change {
    bool unmute = false;
    std::optional<float> raise_to;
    bool operator==(const output_change&) const = default;
};
// An alarm at 0 % leaves the output as it is, muted or not.
output_change output_for_alarm(float level, bool muted, int percent);

} // namespace tocsinet
