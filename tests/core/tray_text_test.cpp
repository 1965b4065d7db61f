#include "tray_text.h"

#include <gtest/gtest.h>

using namespace tocsinet;

// A double-byte code page as 932 has it: lead bytes 0x81-0x9F and 0xE0-0xFC.
bool lead_932(char byte) {
    auto b = static_cast<unsigned char>(byte);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The tooltip's texts themselves are checked where the program shows them.
TEST(TrayTooltip, CutToSixtyThreeBytesAtACharacterBoundaryAfterTheFileName) {
    EXPECT_EQ(alarm_file_name(L"C:\\Music\\"), L"");
    EXPECT_EQ(alarm_file_name(L"C:\\\u8868\\\u8868.mp3"), L"\u8868.mp3"); // 0x95 0x5C in code page 932
    std::string kanji = std::string(62, 'a') + "\x91\x81";
    EXPECT_EQ(fit_tray_tip(kanji, lead_932), std::string(62, 'a'));
    EXPECT_EQ(fit_tray_tip(std::string(61, 'a') + "\x91\x81", lead_932).size(), 63u);
    EXPECT_EQ(fit_tray_tip(kanji).size(), 63u); // single-byte: every byte is a character
}

// The presses at 96 dpi are checked on the program's own icon.
TEST(TrayMouseMessage, PressesInTwipsAndPixels) {
    EXPECT_EQ(tray_mouse_message(516, true, 15), tray_press::right);
    EXPECT_EQ(tray_mouse_message(6156, false, 12), tray_press::left); // 120 dpi
    for (int message : {0x200, 0x202, 0x203, 0x205, 0x206})
        EXPECT_EQ(tray_mouse_message(message * 15.0, false, 15), tray_press::none) << message;
}
