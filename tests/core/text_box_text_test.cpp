#include "text_box_text.h"

#include <gtest/gtest.h>

#include "paths.h"

using namespace tocsinet;
using namespace std::string_literals;

TEST(TextBoxText, EveryLineBreakBecomesCrLf) {
    EXPECT_EQ(text_for_text_box("Tocsinet 1.0.0\r\nline two\r\n"), "Tocsinet 1.0.0\r\nline two\r\n");
    EXPECT_EQ(text_for_text_box("a\nb\rc\r\n\r\nd"), "a\r\nb\r\nc\r\n\r\nd");
    EXPECT_EQ(text_for_text_box("\n\n"), "\r\n\r\n");
    EXPECT_EQ(text_for_text_box("\n\r"), "\r\n\r\n"); // LF CR is two breaks, not one
    EXPECT_EQ(text_for_text_box(""), "");
}

TEST(TextBoxText, NulsShowAsBlanksSoTheRestIsNotLost) {
    EXPECT_EQ(text_for_text_box("ab\0cd\0"s), "ab cd ");
    std::string binary;
    for (int i = 0; i < 256; ++i)
        binary += static_cast<char>(i);
    std::string shown = text_for_text_box(binary);
    EXPECT_EQ(shown.find('\0'), std::string::npos);
    EXPECT_EQ(shown.size(), 256u + 2); // the LF and the CR, apart, each become CR LF
    EXPECT_EQ(static_cast<unsigned char>(shown.back()), 255u);
}

TEST(TextBoxText, ALongTextIsCutAfterItsLastWholeLine) {
    EXPECT_EQ(text_for_text_box("one\r\ntwo\r\nthree", 12), "one\r\ntwo\r\n");
    EXPECT_EQ(text_for_text_box("one\ntwo\nthree", 12), "one\r\ntwo\r\n");
    // A break that no longer fits is not half kept.
    EXPECT_EQ(text_for_text_box("abcd\r\nx", 5), "abcd");
    EXPECT_EQ(text_for_text_box("abcd\r\nx", 6), "abcd\r\n");
    // Without any line break the text is cut at the limit.
    EXPECT_EQ(text_for_text_box(std::string(100, 'x'), 10), std::string(10, 'x'));
}

TEST(TextBoxText, ATextThatFitsExactlyIsNotCut) {
    EXPECT_EQ(text_for_text_box("one\r\ntwo", 8), "one\r\ntwo");
    EXPECT_EQ(text_for_text_box("one\ntwo", 8), "one\r\ntwo");
    EXPECT_EQ(text_for_text_box("one\ntwo", 7), "one\r\n");
}

TEST(TextBoxText, NeverLongerThanTheLimit) {
    std::string lines;
    for (int i = 0; i < 20000; ++i)
        lines += "line " + std::to_string(i) + "\n";
    std::string shown = text_for_text_box(lines);
    EXPECT_LE(shown.size(), text_box_limit);
    EXPECT_GT(shown.size(), text_box_limit - 20);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.substr(shown.size() - 2), "\r\n");
    EXPECT_EQ(shown.substr(0, 14), "line 0\r\nline 1");
    EXPECT_EQ(text_for_text_box(std::string(1, '\n'), 1), ""); // no room for even one break
}

TEST(VersionPath, FormedWithoutTheDriveRootTest) {
    EXPECT_EQ(version_file_path(L"D:\\Apps"), L"D:\\Apps\\version.txt");
    EXPECT_EQ(version_file_path(L"D:\\"), L"D:\\\\version.txt");
    EXPECT_EQ(version_file_path("D:\\"), "D:\\\\version.txt");
}
