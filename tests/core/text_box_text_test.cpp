#include "text_box_text.h"

#include <tuple>

#include <gtest/gtest.h>

using namespace tocsinet;
using namespace std::string_literals;

// Every line break as CR LF, NULs as blanks, and a text that does not fit cut after its last
// whole line.
TEST(TextBoxText, AsTheBoxShowsIt) {
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {"a\nb\rc\r\n\r\nd", 100, "a\r\nb\r\nc\r\n\r\nd"},
        {"\n\r", 100, "\r\n\r\n"}, // LF CR is two breaks
        {"ab\0cd\0"s, 100, "ab cd "},
        {"one\ntwo\nthree", 12, "one\r\ntwo\r\n"},
        {"one\ntwo", 8, "one\r\ntwo"}, // fits exactly
        {"abcd\r\nx", 5, "abcd"},      // a break that does not fit is not half kept
        {std::string(100, 'x'), 10, std::string(10, 'x')}};
    for (const auto& [bytes, limit, shown] : cases)
        EXPECT_EQ(text_for_text_box(bytes, limit), shown) << bytes << " / " << limit;
}
