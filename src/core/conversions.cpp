#include "conversions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tocsinet {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest decimal-number prefix of `text` (which starts at a non-blank).
std::size_t number_prefix_length(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && is_digit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        std::size_t fraction = 0;
        while (j < text.size() && is_digit(text[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        std::size_t exponent = 0;
        while (j < text.size() && is_digit(text[j])) {
            ++j;
            ++exponent;
        }
        if (exponent > 0)
            i = j;
    }
    return i;
}

std::string_view skip_blanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i]))
        ++i;
    return text.substr(i);
}

double parse_prefix(std::string_view text, std::size_t length) {
    std::string copy(text.substr(0, length));
    double value = std::strtod(copy.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

} // namespace

double leading_number(std::string_view text) {
    text = skip_blanks(text);
    return parse_prefix(text, number_prefix_length(text));
}

std::optional<double> whole_number(std::string_view text) {
    text = skip_blanks(text);
    std::size_t length = number_prefix_length(text);
    if (length == 0)
        return std::nullopt;
    if (!skip_blanks(text.substr(length)).empty())
        return std::nullopt;
    std::string copy(text.substr(0, length));
    double value = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

long long round_half_even(double value) {
    constexpr double limit = 9.0e18;
    if (value >= limit)
        return static_cast<long long>(limit);
    if (value <= -limit)
        return -static_cast<long long>(limit);
    double floor_value = std::floor(value);
    double difference = value - floor_value;
    long long result = static_cast<long long>(floor_value);
    if (difference > 0.5 || (difference == 0.5 && (result % 2 != 0)))
        ++result;
    return result;
}

bool flag_is_on(std::string_view text) { return leading_number(text) == 1.0; }

std::optional<std::int16_t> to_int16(std::string_view text) {
    auto value = whole_number(text);
    if (!value)
        return std::nullopt;
    long long rounded = round_half_even(*value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

int volume_from_text(std::string_view text, int current) {
    auto value = whole_number(text);
    if (!value)
        return current;
    long long rounded = round_half_even(*value);
    if (rounded < 0)
        return 0;
    if (rounded > 100)
        return 100;
    return static_cast<int>(rounded);
}

std::string next_counter_text(std::string_view stored) {
    auto value = whole_number(stored);
    if (!value)
        return "1";
    long long count = round_half_even(*value);
    constexpr long long lowest = std::numeric_limits<std::int16_t>::min();
    constexpr long long highest = std::numeric_limits<std::int16_t>::max();
    if (count < lowest)
        count = lowest;
    if (count < highest)
        ++count;
    else
        count = highest;
    return std::to_string(count);
}

std::string single_to_text(float value) {
    if (!std::isfinite(value))
        return "0";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(value));
    std::string text = buffer;
    return text == "-0" ? "0" : text;
}

int player_volume(int percent) { return static_cast<int>(round_half_even(percent * 2.5)); }

output_change output_for_alarm(float level, bool muted, int percent) {
    percent = std::min(percent, 100);
    if (percent <= 0)
        return {};
    // A level read back from the device carries float noise (30 % may read 0.29999998), so it is
    // compared in the slider's whole percent.
    bool below = std::lround(level * 100.0f) < percent;
    return {muted, below ? std::optional<float>(static_cast<float>(percent) / 100.0f) : std::nullopt};
}

bool code_page_reports_stand_ins(unsigned code_page) {
    switch (code_page) {
    case 42:    // Symbol
    case 50220: // ISO-2022 Japanese, Korean and Chinese
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:
    case 54936: // GB18030
    case 65000: // UTF-7
    case 65001: // UTF-8
        return false;
    default:
        return code_page < 57002 || code_page > 57011; // ISCII
    }
}

} // namespace tocsinet
