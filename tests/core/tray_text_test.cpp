#include "tray_text.h"

#include <gtest/gtest.h>

using namespace tocsinet;

TEST(TrayTooltip, TextsAndTheFileNameAsTheLastPiece) {
    EXPECT_EQ(tray_tooltip(false, "7", "05", "AM", "C:\\Music\\wake.mp3"), "Tocsinet: Inactive");
    EXPECT_EQ(tray_tooltip(true, "7", "05", "AM", "C:\\Music\\wake.mp3"),
              "Tocsinet: Active\r\nAlarm Time: 7:05 AM\r\nAlarm File: wake.mp3");
    EXPECT_EQ(alarm_file_name("wake.mp3"), "wake.mp3");
    EXPECT_EQ(alarm_file_name("C:\\Music\\"), "");
}

// A double-byte code page as 932 has it: lead bytes 0x81-0x9F and 0xE0-0xFC.
bool lead_932(char byte) {
    auto b = static_cast<unsigned char>(byte);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

TEST(TrayTooltip, CutToSixtyThreeBytesAtACharacterBoundary) {
    std::string full(63, 'a'), longer(70, 'a');
    EXPECT_EQ(fit_tray_tip(full), full);
    EXPECT_EQ(fit_tray_tip(longer), full);
    std::string kanji = std::string(62, 'a') + "\x91\x81";
    EXPECT_EQ(fit_tray_tip(kanji, lead_932), std::string(62, 'a'));
    EXPECT_EQ(fit_tray_tip(std::string(61, 'a') + "\x91\x81", lead_932).size(), 63u);
    EXPECT_EQ(fit_tray_tip(kanji).size(), 63u); // single-byte: every byte is a character
}

TEST(TrayMouseMessage, PressesInTwipsAndPixels) {
    EXPECT_EQ(tray_mouse_message(7695, false, 15), tray_press::left);  // 513 at 96 dpi
    EXPECT_EQ(tray_mouse_message(7740, false, 15), tray_press::right); // 516
    EXPECT_EQ(tray_mouse_message(516, true, 15), tray_press::right);
    EXPECT_EQ(tray_mouse_message(6156, false, 12), tray_press::left); // 120 dpi
    for (int message : {0x200, 0x202, 0x203, 0x205, 0x206})
        EXPECT_EQ(tray_mouse_message(message * 15.0, false, 15), tray_press::none) << message;
}
